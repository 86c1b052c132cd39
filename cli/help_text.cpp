#include "cli/help_text.h"

#include <algorithm>
#include <map>

namespace cli {

namespace {

constexpr size_t kWidth = 79;
const char* kProgram = "tagvaroskop-cli";
const char* kExitStatus = "Rückgabewert: 0 Erfolg, 1 Datei- oder Ausgabefehler, 2 falsche Eingabe.\n";

// Width of a text in characters, counting each UTF-8 sequence once.
size_t Width(const std::string& text) {
  return static_cast<size_t>(
      std::count_if(text.begin(), text.end(), [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; }));
}

// The text in lines of at most kWidth characters, the first after `head` (padded to `indent`),
// the others indented by `indent`.
std::string Wrapped(const std::string& head, const std::string& text, size_t indent) {
  const size_t pad = indent > Width(head) ? indent - Width(head) : (head.empty() ? 0 : 1);
  std::string out = head + std::string(pad, ' ');
  size_t column = Width(head) + pad;
  size_t at = 0;
  bool first = true;
  while (at < text.size()) {
    const size_t end = std::min(text.find(' ', at), text.size());
    const std::string word = text.substr(at, end - at);
    if (!first && column + 1 + Width(word) > kWidth) {
      out.append(1, '\n').append(indent, ' ');
      column = indent;
    } else if (!first) {
      out += ' ';
      ++column;
    }
    out += word;
    column += Width(word);
    first = false;
    at = end + 1;
  }
  return out + "\n";
}

std::string Joined(const std::vector<std::string>& words) {
  std::string s;
  for (const std::string& w : words) s += (s.empty() ? "" : " ") + w;
  return s;
}

std::string OptionName(const OptionSpec& o) {
  return std::string("--") + o.name + (o.value ? std::string(" <") + o.value + ">" : "");
}

std::string FormText(const Form& form, const CommandSpec& command) {
  if (form.option) {
    for (const OptionSpec& o : command.options) {
      if (std::string(o.name) == form.option) return OptionName(o);
    }
  }
  std::string s;
  for (const char* a : form.arguments) s.append(s.empty() ? "" : " ").append(a);
  return s;
}

const std::vector<std::string> kNotes{
    "Zeiten: Eine Uhrzeit, die es zweimal gibt (wenn die Uhren zurückgestellt werden), gilt beim ersten "
    "Mal; eine, die die Uhren überspringen, wird abgelehnt. Ein Tag läuft vom ersten Augenblick seines "
    "Datums bis zum ersten des nächsten, wie lang er auch ist.",
    "Kalender: position, day und days rechnen mit dem wahren Kalender; export, year und chart zeigen, "
    "was der Dialog zeigt, dessen Tageszählung 1900 und 2100 als Schaltjahre nimmt und im Januar und "
    "Februar 1900 und von März bis Dezember 2100 um einen Tag abweicht.",
    "Orte: Dezimalgrad (-33.8688), GRAD:ARCMIN:ARCSEC mit dem Vorzeichen für den ganzen Winkel "
    "(-33:52:0) oder mit N/S und E/W statt des Vorzeichens (33.8688S, 118:14:37W).",
};

}  // namespace

std::string Overview(const std::string& group) {
  std::string s = std::string("Aufruf: ") + kProgram + " " +
                  (group.empty() ? std::string("BEFEHL") : group + " UNTERBEFEHL") +
                  " [ARGUMENTE] [OPTIONEN]\n\nBefehle:\n";
  for (const CommandSpec& c : CommandTable()) {
    if (group.empty() || c.words.front() == group) s += "  " + Joined(c.words) + "\n" + Wrapped("", c.summary, 6);
  }
  if (group.empty()) {
    s += "\n";
    for (const std::string& note : kNotes) s += Wrapped("", note, 0);
  }
  return s + "\nHilfe zu einem Befehl: " + kProgram + " BEFEHL --help\nVersion: " + kProgram + " --version\n" +
         kExitStatus;
}

std::string CommandHelp(const CommandSpec& command) {
  const std::string call = std::string(kProgram) + " " + Joined(command.words) + " [OPTIONEN] ";
  std::string s;
  for (const Form& form : command.forms) {
    s += (s.empty() ? "Aufruf: " : "        ") + call + FormText(form, command) + "\n";
  }
  s += Wrapped("", command.summary, 0) + "\nOptionen:\n";
  std::vector<std::pair<std::string, std::string>> options{{"-h, --help", "Zeigt diese Hilfe an."}};
  for (const OptionSpec& o : command.options) options.emplace_back(OptionName(o), o.description);
  size_t width = 0;
  for (const auto& [name, text] : options) width = std::max(width, Width(name));
  for (const ArgumentSpec& a : command.arguments) width = std::max(width, Width(a.name));
  for (const auto& [name, text] : options) s += Wrapped("  " + name, text, width + 4);
  s += "\nArgumente:\n";
  for (const ArgumentSpec& a : command.arguments) s += Wrapped(std::string("  ") + a.name, a.description, width + 4);
  return s + "\n" + kExitStatus;
}

std::string FormsText(const CommandSpec& command, bool withOptionForms) {
  std::string s;
  for (const Form& form : command.forms) {
    if ((form.option != nullptr) != withOptionForms) continue;
    s += (s.empty() ? "" : " oder ") + FormText(form, command) + (form.option ? " ohne weitere Argumente" : "");
  }
  return s;
}

// The completion script: the command table's words fill the places marked @...@.
constexpr const char* kCompletionScript =
    R"(# bash completion for tagvaroskop-cli, made from its command table when it is built.
_tagvaroskop_cli() {
    local cur prev words cword
    _init_completion || return

    case $prev in
@VALUES@    esac

    if ((cword == 1)); then
        COMPREPLY=($(compgen -W "@COMMANDS@--help --version" -- "$cur"))
        return
    fi
    local command=${words[1]} options= files=0
    case $command in
@GROUPS@    esac
    case $command in
@CASES@    esac
    if [[ $cur == -* ]]; then
        COMPREPLY=($(compgen -W "$options" -- "$cur"))
    elif ((files)); then
        _filedir
    fi
} &&
    complete -F _tagvaroskop_cli tagvaroskop-cli
)";

// What each kind of option value completes to, in the order the script takes them.
constexpr std::pair<Completion, const char*> kValueCompletions[] = {
    {Completion::kFormat, R"( COMPREPLY=($(compgen -W "text csv json" -- "$cur")); return ;;
)"},
    {Completion::kZone, R"(
            local zones
            zones=$(cd /usr/share/zoneinfo 2>/dev/null && find . -type f ! -path './posix/*' \
                ! -path './right/*' ! -name '*.tab' ! -name '*.zi' ! -name 'leap*' | sed 's|^\./||')
            COMPREPLY=($(compgen -W "UTC $zones" -- "$cur"))
            return ;;
)"},
    {Completion::kFile, R"( _filedir; return ;;
)"},
    {Completion::kNothing, R"( return ;;
)"},
};

std::string Filled(std::string text, const std::map<std::string, std::string>& places) {
  for (const auto& [place, value] : places) text.replace(text.find(place), place.size(), value);
  return text;
}

std::string BashCompletion() {
  std::string commands, cases, groups, values;
  std::map<std::string, std::string> subcommands;
  std::map<std::string, Completion> valued;  // the options that take a value, and what it is
  for (const CommandSpec& c : CommandTable()) {
    if (commands.find(c.words.front()) == std::string::npos) commands += c.words.front() + " ";
    if (c.words.size() > 1) subcommands[c.words.front()] += c.words[1] + " ";
    std::string options;
    for (const OptionSpec& o : c.options) {
      options += std::string("--") + o.name + " ";
      if (o.value) valued[o.name] = o.completion;
    }
    const bool files = std::any_of(c.arguments.begin(), c.arguments.end(),
                                   [](const ArgumentSpec& a) { return a.completion == Completion::kFile; });
    cases += "        \"" + Joined(c.words) + "\") options=\"" + options + "--help\"; files=" + (files ? "1" : "0") +
             " ;;\n";
  }
  for (const auto& [group, words] : subcommands) {
    groups.append("        ").append(group).append(")\n            ((cword == 2)) && { COMPREPLY=($(compgen -W \"");
    groups.append(words).append("\" -- \"$cur\")); return; }\n            command=\"").append(group);
    groups.append(" ${words[2]}\" ;;\n");
  }
  for (const auto& [completion, script] : kValueCompletions) {
    std::string names;
    for (const auto& [name, kind] : valued)
      if (kind == completion) names += (names.empty() ? "--" : " | --") + name;
    if (!names.empty()) values += "        " + names + ")" + script;
  }
  return Filled(kCompletionScript,
                {{"@VALUES@", values}, {"@COMMANDS@", commands}, {"@GROUPS@", groups}, {"@CASES@", cases}});
}

std::string ManualSections() {
  std::string s = "[BEFEHLE]\n";
  for (const CommandSpec& c : CommandTable()) {
    s += ".SS \"" + std::string(kProgram) + " " + Joined(c.words) + "\"\n.nf\n";
    std::string help = CommandHelp(c);
    for (size_t at = 0; at < help.size();) {
      const size_t end = help.find('\n', at);
      std::string line = help.substr(at, end - at);
      for (size_t b = 0; (b = line.find('\\', b)) != std::string::npos; b += 2) line.replace(b, 1, "\\e");
      if (line.starts_with('.') || line.starts_with('\'')) line.insert(0, "\\&");
      s.append(line).append("\n");
      at = end + 1;
    }
    s += ".fi\n";
  }
  return s;
}

}  // namespace cli
