#include "cli/commands.h"

#include <QCommandLineParser>
#include <new>

#include "cli/argument_bytes.h"
#include "cli/command_work.h"
#include "cli/help_text.h"
#include "cli/input.h"
#include "cli/output.h"
#include "platform/base/file_exception.h"

namespace cli {

namespace {

// Options first, then "--" and the positional arguments, so that a negative value such as
// -33:52:0 stays an argument. Every option is checked here against the command's: an unknown
// one, a missing value or a value for a switch is a wrong entry.
QStringList Reordered(const std::vector<std::string>& arguments, const CommandSpec& command) {
  QStringList options, positional;
  bool onlyArguments = false;  // after "--"
  for (size_t i = 0; i < arguments.size(); ++i) {
    const std::string& a = arguments[i];
    if (a == "--" && !onlyArguments) {
      onlyArguments = true;
      continue;
    }
    if (onlyArguments || !(a.starts_with("--") || a == "-h")) {
      positional << ArgumentText(a);
      continue;
    }
    const std::string name = a == "-h" ? "help" : a.substr(2, a.find('=') - 2);
    const bool withValue = a.find('=') != std::string::npos;
    const auto option = std::find_if(command.options.begin(), command.options.end(),
                                     [&](const OptionSpec& o) { return name == o.name; });
    if (name != "help" && option == command.options.end()) {
      throw InputError{"unbekannte Option " + Shown("--" + name) + "."};
    }
    const bool takesValue = option != command.options.end() && option->value;
    if (withValue && !takesValue) throw InputError{"die Option " + Shown("--" + name) + " nimmt keinen Wert."};
    options << ArgumentText(a);
    if (takesValue && !withValue) {
      if (i + 1 >= arguments.size()) throw InputError{"nach " + Shown("--" + name) + " fehlt der Wert."};
      options << ArgumentText(arguments[++i]);
    }
  }
  return QStringList{"tagvaroskop-cli"} + options + QStringList{"--"} + positional;
}

// The arguments must fit one of the command's forms: with the option of a form, that form alone.
void CheckForms(const CommandSpec& command, const QCommandLineParser& parser) {
  const qsizetype given = parser.positionalArguments().size();
  bool byOption = false;
  for (const Form& form : command.forms) {
    if (!form.option || !parser.isSet(form.option)) continue;
    byOption = true;
    if (given == 0) return;
  }
  for (const Form& form : command.forms) {
    if (!byOption && !form.option && static_cast<qsizetype>(form.arguments.size()) == given) return;
  }
  throw InputError{"Erwartet: " + FormsText(command, byOption) + " (" + std::to_string(given) +
                   (given == 1 ? " Argument)." : " Argumente).")};
}

std::string Text(const QString& s) { return s.toStdString(); }

int RunCommand(const CommandSpec& command, const std::vector<std::string>& arguments, Io& io) {
  QCommandLineParser parser;
  parser.addOption(QCommandLineOption(QStringList{"h", "help"}));
  for (const OptionSpec& o : command.options) {
    parser.addOption(o.value
                         ? QCommandLineOption(QStringList{o.name}, QString(), o.value, o.byDefault ? o.byDefault : "")
                         : QCommandLineOption(QStringList{o.name}));
  }
  if (!parser.parse(Reordered(arguments, command))) throw InputError{Text(parser.errorText())};
  if (parser.isSet("help")) {
    io.out << CommandHelp(command);
    CheckWritten(io.out);
    return 0;
  }
  CheckForms(command, parser);
  const int status = command.work(parser, io);
  CheckWritten(io.out);
  return status;
}

}  // namespace

int Run(const std::vector<std::string>& arguments, std::istream& in, std::ostream& out, std::ostream& err) {
  Io io{in, out, err};
  try {
    if (!arguments.empty() && (arguments[0] == "-h" || arguments[0] == "--help" || arguments[0] == "--version")) {
      out << (arguments[0] == "--version" ? std::string("tagvaroskop-cli ") + TAGVAROSKOP_VERSION + "\n" : Overview());
      CheckWritten(out);
      return 0;
    }
  } catch (const platform::CFileException& e) {
    err << "tagvaroskop-cli: " << e.GetErrorMessage() << "\n";
    return kFileError;
  }
  if (arguments.empty()) {
    err << Overview();
    return kWrongEntry;
  }
  if (arguments.size() == 1 && (arguments[0] == "chart" || arguments[0] == "place")) {
    err << Overview(arguments[0]);
    return kWrongEntry;
  }
  for (const CommandSpec& command : CommandTable()) {
    const size_t n = command.words.size();
    if (arguments.size() < n || !std::equal(command.words.begin(), command.words.end(), arguments.begin())) continue;
    try {
      return RunCommand(command, std::vector<std::string>(arguments.begin() + n, arguments.end()), io);
    } catch (const InputError& e) {
      err << "tagvaroskop-cli: " << e.message << "\n";
      return kWrongEntry;
    } catch (const FileError& e) {
      err << "tagvaroskop-cli: " << e.message << "\n";
      return kFileError;
    } catch (const platform::CFileException& e) {
      err << "tagvaroskop-cli: " << e.GetErrorMessage() << "\n";
      return kFileError;
    } catch (const std::bad_alloc&) {
      err << "tagvaroskop-cli: Der Arbeitsspeicher reicht nicht aus.\n";
      return kFileError;
    }
  }
  std::string words;
  for (const std::string& a : arguments) words += (words.empty() ? "" : " ") + a;
  err << "tagvaroskop-cli: unbekannter Befehl " << Shown(words) << ".\n\n" << Overview();
  return kWrongEntry;
}

}  // namespace cli
