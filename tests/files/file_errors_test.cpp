// File failures through the real CFile: each cause of the table with its text and the full
// path, and a failed save keeping the old file.
#include <fcntl.h>
#include <sched.h>
#include <sys/file.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <gtest/gtest.h>

#include <cerrno>
#include <functional>
#include <map>

#include "files/location_file.h"
#include "files/minute_table.h"
#include "platform/file.h"
#include "platform/file_exception.h"
#include "tests/support/files.h"
#include "tests/support/named_rows.h"
#include "tests/support/row_file.h"

namespace {

using platform::CFileException;
using test_support::ReadBytes;

// The message of the failure the operation raises, or "" when it succeeds.
std::string FailureOf(const std::function<void()>& operation) {
  try {
    operation();
  } catch (const CFileException& e) {
    return e.GetErrorMessage();
  }
  return "";
}

// The text with %1 replaced by the path.
std::string Named(std::string text, const std::string& path) {
  return text.replace(text.find("%1"), 2, path);
}

const files::Place kPlace{52, 31, 12, 13, 24, 36};

class SafeSaveTest : public testing::Test {
 protected:
  std::string Save(const std::string& path) {
    return FailureOf([&] { files::SaveLocation(path, kPlace); });
  }
  void ExpectOldFileKept() {
    EXPECT_EQ(ReadBytes(target), old);
    EXPECT_EQ(folder.Names(), std::vector<std::string>{"alt.ort"});
  }
  test_support::ScratchFolder folder;
  std::string target = folder.Path("alt.ort");
  std::string old = (files::SaveLocation(target, files::Place{51, 0, 0, 7, 0, 0}), ReadBytes(target));
};

TEST_F(SafeSaveTest, PathsThatNameNoFileToWriteOrRead) {
  const std::string missing = folder.Path("fehlt/neu.ort"), asFolder = target + "/neu.ort";
  const std::string tooLong = folder.Path(std::string(300, 'x'));
  EXPECT_EQ(Save(missing), missing + " wurde nicht gefunden.");
  EXPECT_EQ(Save(folder.Folder()), "Zugriff auf " + folder.Folder() + " wurde verwehrt.");
  EXPECT_EQ(Save(asFolder), asFolder + " enthält eine ungültige Pfadangabe.");
  EXPECT_EQ(Save(tooLong), tooLong + " enthält eine ungültige Pfadangabe.");
  EXPECT_EQ(Save(folder.Folder() + "/"), folder.Folder() + "/ enthält eine ungültige Pfadangabe.");
  test_support::WriteBytes(folder.Path("kurz"), "zehn Bytes");
  EXPECT_EQ(FailureOf([&] { files::LoadLocation(folder.Path("kurz")); }),
            "Es wurde versucht, auf eine Stelle hinter dem Ende von eine unbenannte Datei zuzugreifen.");
  std::remove(folder.Path("kurz").c_str());
  ExpectOldFileKept();
}

TEST_F(SafeSaveTest, ALongNameIsWrittenUnderItsFullPath) {
  const std::string longName = std::string(200, 'o') + ".ort";
  EXPECT_EQ(Save(folder.Path(longName)), "");
  EXPECT_EQ(ReadBytes(folder.Path(longName)).size(), 24u);
  EXPECT_EQ(folder.Names(), (std::vector<std::string>{"alt.ort", longName}));
}

TEST_F(SafeSaveTest, AReplacedFileKeepsItsMode) {
  chmod(target.c_str(), 0640);
  EXPECT_EQ(Save(target), "");
  struct stat st{};
  ASSERT_EQ(stat(target.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 07777, 0640u);
  EXPECT_EQ(files::LoadLocation(target).latArcmin, 31.0f);
}

TEST_F(SafeSaveTest, AFileOpenElsewhereIsASharingViolation) {
  const int other = open(target.c_str(), O_RDONLY);
  ASSERT_EQ(flock(other, LOCK_EX), 0);
  EXPECT_EQ(FailureOf([&] { files::LoadLocation(target); }),
            "Eine Zugriffsverletzung ist während des Zugriffs auf " + target + " aufgetreten.");
  close(other);
  EXPECT_EQ(files::LoadLocation(target).latDegrees, 51.0f);
}

class InjectedCauseTest : public SafeSaveTest, public testing::WithParamInterface<test_support::FileRow> {};

int g_error = 0;

TEST_P(InjectedCauseTest, NamesItsCauseAndKeepsTheOldFile) {
  const std::vector<std::string>& row = GetParam().words;  // call, errno, message
  static const std::map<std::string, int> errors{
      {"ENOSPC", ENOSPC}, {"EDQUOT", EDQUOT}, {"EIO", EIO},       {"EXDEV", EXDEV},
      {"EPROTO", EPROTO}, {"EMFILE", EMFILE}, {"EBADF", EBADF},   {"ESPIPE", ESPIPE},
      {"EMLINK", EMLINK}, {"ENOLCK", ENOLCK}, {"EROFS", EROFS}};
  g_error = errors.at(row[1]);
  const platform::FileCalls saved = platform::ActiveFileCalls();
  platform::FileCalls& calls = platform::ActiveFileCalls();
  if (row[0] == "open") calls.open = [](const char*, int, unsigned) { return errno = g_error, -1; };
  if (row[0] == "read") calls.read = [](int, void*, size_t) -> long { return errno = g_error, -1; };
  if (row[0] == "write") calls.write = [](int, const void*, size_t) -> long { return errno = g_error, -1; };
  if (row[0] == "fsync") calls.fsync = [](int) { return errno = g_error, -1; };
  if (row[0] == "rename") calls.rename = [](const char*, const char*) { return errno = g_error, -1; };
  const std::string message =
      row[0] == "read" ? FailureOf([&] { files::LoadLocation(target); }) : Save(target);
  platform::ActiveFileCalls() = saved;
  EXPECT_EQ(message, Named(row[2], target));
  ExpectOldFileKept();
}

INSTANTIATE_TEST_SUITE_P(Rows, InjectedCauseTest,
                         testing::ValuesIn(test_support::ReadRows("files/injected_causes.rows")),
                         test_support::FileRowName());

// Real conditions in a child process; 0 when the message was the expected one.
int ChildSees(const std::function<std::string()>& failure, const std::string& expected) {
  return test_support::RunInChild([&] {
    const std::string message = failure();
    return message == "-" ? test_support::kCannotMakeCondition : message == expected ? 0 : 1;
  });
}

// What a save does with each kind of target: the bytes end where the user meant them, and nothing
// else is replaced or lost.
struct TargetKind : test_support::Named {
  // Makes the target in the folder and names the path to save to.
  std::function<std::string(const test_support::ScratchFolder&)> make;
  const char* failure;  // the message, %1 the path saved to; nullptr for success
  std::function<bool(const test_support::ScratchFolder&)> holds;  // checked afterwards
};

class TargetKindTest : public testing::TestWithParam<TargetKind> {};

TEST_P(TargetKindTest, SavesAsATrustedEditorDoes) {
  test_support::ScratchFolder folder;
  const std::string path = GetParam().make(folder);
  const std::string message = FailureOf([&] { files::SaveLocation(path, kPlace); });
  EXPECT_EQ(message, GetParam().failure ? Named(GetParam().failure, path) : "");
  EXPECT_TRUE(GetParam().holds(folder)) << GetParam().name;
}

const std::string kPlaceBytes = [] {
  test_support::ScratchFolder folder;
  files::SaveLocation(folder.Path("p"), kPlace);
  return ReadBytes(folder.Path("p"));
}();

INSTANTIATE_TEST_SUITE_P(
    Rows, TargetKindTest,
    testing::Values(
        TargetKind{{"symbolic_link_is_followed_and_stays"},
                   [](auto& f) {
                     test_support::WriteBytes(f.Path("real.ort"), "alt");
                     std::filesystem::create_symlink("real.ort", f.Path("link.ort"));
                     return f.Path("link.ort");
                   },
                   nullptr,
                   [](auto& f) {
                     struct stat st {};
                     return ReadBytes(f.Path("real.ort")) == kPlaceBytes && lstat(f.Path("link.ort").c_str(), &st) == 0 &&
                            S_ISLNK(st.st_mode) && f.Names().size() == 2;
                   }},
        TargetKind{{"dangling_link_creates_the_file_it_names"},
                   [](auto& f) {
                     std::filesystem::create_symlink("neu.ort", f.Path("link.ort"));
                     return f.Path("link.ort");
                   },
                   nullptr, [](auto& f) { return ReadBytes(f.Path("neu.ort")) == kPlaceBytes; }},
        TargetKind{{"link_loop_is_a_bad_path"},
                   [](auto& f) {
                     std::filesystem::create_symlink("b", f.Path("a"));
                     std::filesystem::create_symlink("a", f.Path("b"));
                     return f.Path("a");
                   },
                   "%1 enthält eine ungültige Pfadangabe.", [](auto& f) { return f.Names().size() == 2; }},
        TargetKind{{"hard_links_all_see_the_new_content"},
                   [](auto& f) {
                     test_support::WriteBytes(f.Path("eins.ort"), "alt");
                     std::filesystem::create_hard_link(f.Path("eins.ort"), f.Path("zwei.ort"));
                     return f.Path("eins.ort");
                   },
                   nullptr, [](auto& f) { return ReadBytes(f.Path("zwei.ort")) == kPlaceBytes && f.Names().size() == 2; }},
        TargetKind{{"read_only_file_is_refused"},
                   [](auto& f) {
                     test_support::WriteBytes(f.Path("fest.ort"), "alt");
                     chmod(f.Path("fest.ort").c_str(), 0444);
                     return f.Path("fest.ort");
                   },
                   "Zugriff auf %1 wurde verwehrt.", [](auto& f) { return ReadBytes(f.Path("fest.ort")) == "alt"; }},
        TargetKind{{"fifo_without_a_reader_fails_at_once"},
                   [](auto& f) {
                     mkfifo(f.Path("rohr").c_str(), 0644);
                     return f.Path("rohr");
                   },
                   "Positionierungsfehler auf %1.", [](auto& f) { return f.Names().size() == 1; }},
        TargetKind{{"character_device_is_written_not_replaced"}, [](auto&) { return std::string("/dev/null"); },
                   nullptr,
                   [](auto&) {
                     struct stat st {};
                     return stat("/dev/null", &st) == 0 && S_ISCHR(st.st_mode);
                   }},
        TargetKind{{"full_device_reports_the_full_medium"}, [](auto&) { return std::string("/dev/full"); },
                   "Beim Zugriff auf %1 wurde ein voller Datenträger gemeldet.",
                   [](auto&) {
                     struct stat st {};
                     return stat("/dev/full", &st) == 0 && S_ISCHR(st.st_mode);
                   }}),
    test_support::RowName());

TEST(OpeningTest, AFifoIsRefusedAtOnce) {
  test_support::ScratchFolder folder;
  mkfifo(folder.Path("rohr").c_str(), 0644);
  EXPECT_EQ(FailureOf([&] { files::LoadLocation(folder.Path("rohr")); }),
            "Zugriff auf " + folder.Path("rohr") + " wurde verwehrt.");
}

// A small tmpfs in a private mount namespace: the export fails and the old file stays.
TEST(RealConditionsTest, AFullTmpfsKeepsTheOldFileAndNamesTheCause) {
  test_support::ScratchFolder folder;
  const std::string target = folder.Path("alt.ort");
  const int status = ChildSees(
      [&] {
        if (unshare(CLONE_NEWNS) != 0 || mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0 ||
            mount("tmpfs", folder.Folder().c_str(), "tmpfs", 0, "size=16k") != 0) {
          return std::string("-");
        }
        files::SaveLocation(target, kPlace);
        const std::string old = ReadBytes(target);
        test_support::WriteBytes(folder.Path("filler"), std::string(64 * 1024, 'x'));  // fills it
        solar::DayTrack track;
        for (int i = 0; i < 1440; ++i) track.azimuth[i] = track.height[i] = 45.0f;
        std::string message = FailureOf([&] { files::ExportMinuteTable(target, track); });
        if (ReadBytes(target) != old) message += " (alte Datei verändert)";
        if (folder.Names() != std::vector<std::string>{"alt.ort", "filler"}) message += " (Reste)";
        umount(folder.Folder().c_str());
        return message;
      },
      "Beim Zugriff auf " + target + " wurde ein voller Datenträger gemeldet.");
  if (status == test_support::kCannotMakeCondition) GTEST_SKIP() << "no tmpfs mount here";
  EXPECT_EQ(status, 0);
}

// A folder without write permission, seen by a user who is not root.
TEST(RealConditionsTest, AnUnwritableFolderIsDenied) {
  test_support::ScratchFolder folder;
  chmod(folder.Folder().c_str(), 0755);
  const std::string target = folder.Path("neu.ort");
  const int status = ChildSees(
      [&] {
        if ((geteuid() == 0 && setuid(65534) != 0) || access(folder.Folder().c_str(), W_OK) == 0)
          return std::string("-");
        return FailureOf([&] { files::SaveLocation(target, kPlace); });
      },
      "Zugriff auf " + target + " wurde verwehrt.");
  if (status == test_support::kCannotMakeCondition) GTEST_SKIP() << "cannot drop to another user";
  EXPECT_EQ(status, 0);
  EXPECT_TRUE(folder.Names().empty());
}

}  // namespace
