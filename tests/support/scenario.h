#pragma once

#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <regex>
#include <string>
#include <vector>

#include "tests/support/files.h"
#include "tests/support/golden_image.h"
#include "tests/support/main_dialog_fixture.h"
#include "tests/support/rgb_print.h"
#include "tests/support/row_file.h"

namespace test_support {

// The controls and dialogs by the names that scenarios use: their names in res/ids.h without
// IDC_ or IDD_, and OK and CANCEL.
inline int IdOf(const std::string& name) {
  static const std::map<std::string, int> ids = [] {
    std::map<std::string, int> named{{"OK", platform::IDOK}, {"CANCEL", platform::IDCANCEL}};
    std::ifstream header(std::string(TAGVAROSKOP_SOURCE) + "/res/ids.h");
    const std::regex id(R"(inline constexpr int ID[CD]_(\w+) = (\d+);.*)");
    std::smatch m;
    for (std::string line; std::getline(header, line);)
      if (std::regex_match(line, m, id)) named.emplace(m[1], std::stoi(m[2]));
    return named;
  }();
  const auto found = ids.find(name);
  if (found == ids.end()) throw std::runtime_error("unknown control " + name);
  return found->second;
}

// The scenario files of a folder under tests/data, one test case each.
inline std::vector<FileRow> Scenarios(const std::string& folder) {
  std::vector<FileRow> files;
  for (const auto& entry : std::filesystem::directory_iterator(GoldenPath(folder)))
    if (entry.path().extension() == ".scenario") files.push_back({entry.path().stem().string(), {folder}});
  std::sort(files.begin(), files.end(), [](auto& a, auto& b) { return a.name < b.name; });
  return files;
}

// Runs a scenario against the main dialog: one step a line, a user's action or what must be
// seen then. Lines between "in DIALOG" and "end" drive that dialog while it runs modally.
// $DIR in a word is a scratch folder of the scenario's own.
class ScenarioTest : public MainDialogTest, public testing::WithParamInterface<FileRow> {
 protected:
  void Run(const std::string& file) {
    std::ifstream in(GoldenPath(file));
    ASSERT_TRUE(in) << file;
    std::vector<std::vector<std::string>> steps;
    for (std::string line; std::getline(in, line);)
      if (!line.empty() && line[0] != '#') steps.push_back(SplitWords(line));
    for (size_t i = 0; i < steps.size(); ++i) {
      if (steps[i][0] != "in") {
        Step(*window, steps[i], file + ":" + steps[i][0]);
        continue;
      }
      std::vector<std::vector<std::string>> block;
      const int dialog = IdOf(steps[i][1]);
      while (++i < steps.size() && steps[i][0] != "end") block.push_back(steps[i]);
      ui.OnModal(dialog, [this, block, file](Window& w) {
        for (const auto& step : block) Step(w, step, file + ":" + step[0]);
      });
    }
    EXPECT_EQ(checkedMessages, ui.messages.size()) << file << ": messages nobody expected";
    EXPECT_EQ(window->TakeAnnouncements(), std::vector<std::string>{}) << file << ": announcements nobody expected";
  }

 private:
  std::string Expanded(std::string word) const {
    for (size_t at; (at = word.find("$DIR")) != std::string::npos;) word.replace(at, 4, folder.Folder());
    return word;
  }

  void Step(Window& w, const std::vector<std::string>& s, const std::string& where) {
    SCOPED_TRACE(where);
    const auto arg = [&](size_t k) { return k < s.size() ? Expanded(s[k]) : std::string(); };
    const auto number = [&](size_t k) { return static_cast<int>(std::stol(arg(k), nullptr, 0)); };
    const auto rgb = [&](size_t k) { return platform::Rgb{number(k), number(k + 1), number(k + 2)}; };
    const std::map<std::string, std::function<void()>> verbs{
        {"type", [&] { w.Type(IdOf(arg(1)), arg(2)); }},
        {"paste", [&] { w.Paste(IdOf(arg(1)), arg(2)); }},
        {"click", [&] { w.Click(IdOf(arg(1))); }},
        {"focus", [&] { w.MoveFocus(IdOf(arg(1))); }},
        {"enter", [&] { w.PressEnter(); }},
        {"escape", [&] { w.PressEscape(); }},
        {"close", [&] { w.CloseBox(); }},
        {"expose", [&] { w.Expose(); }},
        {"minimize", [&] { w.Minimize(); }},
        {"restore", [&] { w.Restore(); }},
        {"paint", [&] { w.DeliverPendingPaint(); }},
        {"system", [&] { w.ChooseSystemCommand(static_cast<unsigned>(number(1))); }},
        {"mouse", [&] { w.LButtonDown(number(1), number(2)); }},
        {"double", [&] { w.DoubleClick(number(1), number(2)); }},
        // key left|right|home|end [TIMES]
        {"key",
         [&] {
           for (int k = s.size() > 2 ? number(2) : 1; k > 0; --k) w.PressKey(KeyNamed(arg(1)));
         }},
        // what was said since the last check, in order
        {"announced", [&] { EXPECT_EQ(w.TakeAnnouncements(), std::vector<std::string>(s.begin() + 1, s.end())); }},
        {"answer", [&] { ui.fileAnswers.push_back(arg(1) == "cancel" ? std::nullopt : std::optional(arg(1))); }},
        {"copy", [&] { WriteBytes(arg(2), ReadBytes(GoldenPath(arg(1)))); }},
        {"text", [&] { EXPECT_EQ(w.Text(IdOf(arg(1))), arg(2)); }},
        {"describes", [&] { EXPECT_EQ(w.Description(), arg(1)); }},
        {"focused", [&] { EXPECT_EQ(w.Focus(), IdOf(arg(1))); }},
        {"selected", [&] { EXPECT_TRUE(w.WholeTextSelected()); }},
        {"ended", [&] { EXPECT_EQ(w.Ended() ? w.Result() : 0, arg(1) == "no" ? 0 : IdOf(arg(1))); }},
        {"pending", [&] { EXPECT_TRUE(w.PaintPending()); }},
        {"pixel", [&] { EXPECT_EQ(w.Client().Pixel(number(1), number(2)), rgb(3)); }},
        {"message", [&] { ExpectMessage(arg(1), arg(2)); }},
        {"runs", [&] { ExpectRuns(s); }},
        {"request", [&] { ExpectRequest(s); }},
        {"file", [&] { EXPECT_EQ(ReadBytes(arg(1)), ReadBytes(GoldenPath(arg(2)))); }},
        {"size", [&] { EXPECT_EQ(ReadBytes(arg(1)).size(), static_cast<size_t>(number(2))); }},
        {"files", [&] { EXPECT_EQ(folder.Names().size(), static_cast<size_t>(number(1))); }},
        {"image",
         [&] {
           ExpectSameImage(arg(1), w.Client().Image(),
                           {QRect(number(2), 0, 1000, 1000), QRect(0, number(3), 1000, 1000)});
         }},
    };
    const auto verb = verbs.find(s[0]);
    if (verb == verbs.end()) FAIL() << "unknown step " << s[0];
    verb->second();
  }

  void ExpectMessage(const std::string& text, const std::string& icon) {
    ASSERT_LT(checkedMessages, ui.messages.size()) << "no message: " << text;
    const platform::HeadlessBackend::ShownMessage& m = ui.messages[checkedMessages++];
    EXPECT_EQ(m.text, text);
    EXPECT_EQ(m.caption, "tagvaroskop");
    EXPECT_EQ(m.icon, icon == "stop" ? platform::MessageIcon::kStop : platform::MessageIcon::kExclamation);
  }

  static platform::Key KeyNamed(const std::string& name) {
    static const std::map<std::string, platform::Key> keys{{"left", platform::kKeyLeft},
                                                           {"right", platform::kKeyRight},
                                                           {"home", platform::kKeyHome},
                                                           {"end", platform::kKeyEnd}};
    return keys.at(name);
  }

  void ExpectRuns(const std::vector<std::string>& s) {
    std::vector<int> expected;
    for (size_t k = 1; k < s.size(); ++k) expected.push_back(IdOf(s[k]));
    EXPECT_EQ(ui.modalRuns, expected);
  }

  // request open|save EXTENSION INITIAL-NAME FLAGS: the last file dialog asked for.
  void ExpectRequest(const std::vector<std::string>& s) {
    ASSERT_FALSE(ui.fileRequests.empty());
    const platform::FileDialogRequest& r = ui.fileRequests.back();
    EXPECT_EQ(r.open ? "open" : "save", s[1]);
    EXPECT_EQ(r.defaultExtension, s[2]);
    EXPECT_EQ(r.initialName, s[3]);
    EXPECT_EQ(r.flags, std::stoul(s[4], nullptr, 0));
  }

  ScratchFolder folder;
  size_t checkedMessages = 0;
};

}  // namespace test_support
