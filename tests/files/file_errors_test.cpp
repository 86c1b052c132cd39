// File failures through the real CFile: each cause of the table with its text and the full
// path, and a failed save keeping the old file.
#include <fcntl.h>
#include <sched.h>
#include <sys/file.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>

#include <gtest/gtest.h>

#include <cerrno>
#include <csignal>
#include <functional>
#include <map>
#include <utility>

#include "files/location_file.h"
#include "files/minute_table.h"
#include "platform/base/file.h"
#include "platform/base/file_exception.h"
#include "tests/support/files.h"
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
std::string Named(std::string text, const std::string& path) { return text.replace(text.find("%1"), 2, path); }

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
  static const std::map<std::string, int> errors{{"ENOSPC", ENOSPC}, {"EDQUOT", EDQUOT}, {"EIO", EIO},
                                                 {"EXDEV", EXDEV},   {"EPROTO", EPROTO}, {"EMFILE", EMFILE},
                                                 {"EBADF", EBADF},   {"ESPIPE", ESPIPE}, {"EMLINK", EMLINK},
                                                 {"ENOLCK", ENOLCK}, {"EROFS", EROFS}};
  g_error = errors.at(row[1]);
  const platform::FileCalls saved = platform::ActiveFileCalls();
  platform::FileCalls& calls = platform::ActiveFileCalls();
  if (row[0] == "open") calls.open = [](const char*, int, unsigned) { return errno = g_error, -1; };
  if (row[0] == "read") calls.read = [](int, void*, size_t) -> long { return errno = g_error, -1; };
  if (row[0] == "write") calls.write = [](int, const void*, size_t) -> long { return errno = g_error, -1; };
  if (row[0] == "fsync") calls.fsync = [](int) { return errno = g_error, -1; };
  if (row[0] == "rename") calls.rename = [](const char*, const char*) { return errno = g_error, -1; };
  const std::string message = row[0] == "read" ? FailureOf([&] { files::LoadLocation(target); }) : Save(target);
  platform::ActiveFileCalls() = saved;
  EXPECT_EQ(message, Named(row[2], target));
  ExpectOldFileKept();
}

INSTANTIATE_TEST_SUITE_P(Rows, InjectedCauseTest,
                         testing::ValuesIn(test_support::ReadRows("files/injected_causes.rows")),
                         test_support::FileRowName());

// The message of a save made by another user, in a child process; "-" where this process cannot
// become that user.
std::string FailureAs(uid_t user, const std::string& path) {
  int pipeEnds[2];
  if (geteuid() != 0 || pipe(pipeEnds) != 0) return "-";
  const int status = test_support::RunInChild([&] {
    close(pipeEnds[0]);
    if (setgid(user) != 0 || setuid(user) != 0) return test_support::kCannotMakeCondition;
    const std::string message = FailureOf([&] { files::SaveLocation(path, kPlace); });
    return write(pipeEnds[1], message.data(), message.size()) == static_cast<ssize_t>(message.size()) ? 0 : 1;
  });
  close(pipeEnds[1]);
  char buffer[1024];
  const ssize_t n = read(pipeEnds[0], buffer, sizeof buffer);
  close(pipeEnds[0]);
  return status == 0 ? std::string(buffer, static_cast<size_t>(std::max<ssize_t>(n, 0))) : "-";
}

// What a save does with each kind of target (the rows of tests/data/files/save_targets.rows).
class SaveTargetTest : public testing::TestWithParam<test_support::FileRow> {};

TEST_P(SaveTargetTest, SavesAsATrustedEditorDoes) {
  test_support::ScratchFolder folder;
  files::SaveLocation(folder.Path(".place"), kPlace);
  const std::string place = ReadBytes(folder.Path(".place"));
  std::filesystem::remove(folder.Path(".place"));
  const std::vector<std::string>& w = GetParam().words;
  std::string path, message;
  std::vector<int> locks;
  for (size_t i = 0; i < w.size();) {
    const std::string step = w[i], a = w.at(i + 1);
    const bool two = step == "write" || step == "symlink" || step == "hardlink" || step == "chmod" || step == "text" ||
                     step == "mode" || step == "chown" || step == "owner" || step == "folder" || step == "saveas";
    const std::string b = two ? w.at(i + 2) : "";
    i += two ? 3 : 2;
    struct stat st {};
    if (step == "write")
      test_support::WriteBytes(folder.Path(a), b);
    else if (step == "symlink")
      std::filesystem::create_symlink(a, folder.Path(b));
    else if (step == "hardlink")
      std::filesystem::create_hard_link(folder.Path(a), folder.Path(b));
    else if (step == "chmod")
      chmod(folder.Path(a).c_str(), std::stoi(b, nullptr, 8));
    else if (step == "fifo")
      mkfifo(folder.Path(a).c_str(), 0644);
    else if (step == "folder")
      mkdir(folder.Path(a).c_str(), 0700), chmod(folder.Path(a).c_str(), std::stoi(b, nullptr, 8));
    else if (step == "lock")
      locks.push_back(open(a.starts_with('/') ? a.c_str() : folder.Path(a).c_str(), O_RDONLY)),
          flock(locks.back(), LOCK_EX);
    else if (step == "chown") {
      if (lchown(folder.Path(a).c_str(), std::stoi(b), std::stoi(b)) != 0) GTEST_SKIP() << "only root gives files away";
    } else if (step == "owner")
      EXPECT_EQ(stat(folder.Path(a).c_str(), &st) == 0 ? st.st_uid : 0, std::stoul(b));
    else if (step == "save") {
      path = a.starts_with("$DIR") ? folder.Folder() + a.substr(4) : a;
      message = FailureOf([&] { files::SaveLocation(path, kPlace); });
    } else if (step == "saveas") {
      path = folder.Folder() + b.substr(4);
      chmod(folder.Folder().c_str(), 0755);  // the other user reaches into it
      message = FailureAs(static_cast<uid_t>(std::stoi(a)), path);
      if (message == "-") GTEST_SKIP() << "only root saves as another user";
    } else if (step == "saved")
      EXPECT_EQ(ReadBytes(folder.Path(a)), place) << a;
    else if (step == "text")
      EXPECT_EQ(ReadBytes(folder.Path(a)), b) << a;
    else if (step == "link")
      EXPECT_TRUE(lstat(folder.Path(a).c_str(), &st) == 0 && S_ISLNK(st.st_mode)) << a;
    else if (step == "chardev")
      EXPECT_TRUE(stat(a.c_str(), &st) == 0 && S_ISCHR(st.st_mode)) << a;
    else if (step == "files")
      EXPECT_EQ(folder.Names().size(), std::stoul(a));
    else if (step == "mode")
      EXPECT_EQ(stat(folder.Path(a).c_str(), &st) == 0 ? st.st_mode & 07777 : 0, std::stoul(b, nullptr, 8));
    else if (step == "fails")
      EXPECT_EQ(std::exchange(message, ""), Named(a, path));
    else
      FAIL() << "unknown step " << step;
  }
  EXPECT_EQ(message, "") << "a failure nobody expected";
  for (const int lock : locks) close(lock);
}

INSTANTIATE_TEST_SUITE_P(Rows, SaveTargetTest, testing::ValuesIn(test_support::ReadRows("files/save_targets.rows")),
                         test_support::FileRowName());

// A device node in a tmpfs of a private mount namespace: written, never replaced by a file.
TEST(RealConditionsTest, ADeviceNodeIsWrittenNotReplaced) {
  test_support::ScratchFolder folder;
  const int status = test_support::RunInChild([&]() -> int {
    if (unshare(CLONE_NEWNS) != 0 || mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0 ||
        mount("tmpfs", folder.Folder().c_str(), "tmpfs", 0, "size=16k") != 0 ||
        mknod(folder.Path("null").c_str(), S_IFCHR | 0666, makedev(1, 3)) != 0) {
      return test_support::kCannotMakeCondition;
    }
    const std::string message = FailureOf([&] { files::SaveLocation(folder.Path("null"), kPlace); });
    struct stat st {};
    const bool stillDevice = stat(folder.Path("null").c_str(), &st) == 0 && S_ISCHR(st.st_mode);
    const bool alone = folder.Names() == std::vector<std::string>{"null"};
    umount(folder.Folder().c_str());
    return message.empty() && stillDevice && alone ? 0 : 1;
  });
  if (status == test_support::kCannotMakeCondition) GTEST_SKIP() << "no private mount namespace here";
  EXPECT_EQ(status, 0);
}

TEST(SignalTest, AnInterruptedSaveLeavesNoTemporaryFile) {
  test_support::ScratchFolder folder;
  const int status = test_support::RunInChild([&] {
    platform::RemoveTemporaryFilesOnSignals();
    platform::CFile file(folder.Path("neu.ort"), platform::CFile::modeCreate | platform::CFile::modeWrite);
    file.Write("halb", 4);
    std::raise(SIGTERM);
    return 0;
  });
  EXPECT_EQ(status, 128 + SIGTERM);
  EXPECT_TRUE(folder.Names().empty());
}

TEST(OpeningTest, AFifoIsRefusedAtOnce) {
  test_support::ScratchFolder folder;
  mkfifo(folder.Path("rohr").c_str(), 0644);
  EXPECT_EQ(FailureOf([&] { files::LoadLocation(folder.Path("rohr")); }),
            "Zugriff auf " + folder.Path("rohr") + " wurde verwehrt.");
}

}  // namespace
