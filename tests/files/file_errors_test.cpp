// File failures through the real CFile: their causes, texts, and that a failed save keeps the
// old file.
#include <fcntl.h>
#include <sched.h>
#include <sys/file.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <gtest/gtest.h>

#include <cerrno>

#include "files/location_file.h"
#include "files/minute_table.h"
#include "platform/file.h"
#include "platform/file_exception.h"
#include "tests/support/files.h"
#include "tests/support/named_rows.h"

namespace {

using platform::CFileException;
using test_support::ReadBytes;

struct TextRow : test_support::Named {
  CFileException::Cause cause;
  const char* text;
};

class CauseTextTest : public testing::TestWithParam<TextRow> {};

TEST_P(CauseTextTest, NamesTheFileOrAnUnnamedOne) {
  EXPECT_EQ(CFileException(GetParam().cause, "/home/ute/Köln.ort").GetErrorMessage(),
            GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, CauseTextTest,
    testing::Values(
        TextRow{{"unspecified"}, CFileException::genericException,
                "Ein unbekannter Fehler ist beim Zugriff auf /home/ute/Köln.ort aufgetreten."},
        TextRow{{"not_found"}, CFileException::fileNotFound, "/home/ute/Köln.ort wurde nicht gefunden."},
        TextRow{{"bad_path"}, CFileException::badPath,
                "/home/ute/Köln.ort enthält eine ungültige Pfadangabe."},
        TextRow{{"too_many_open"}, CFileException::tooManyOpenFiles,
                "/home/ute/Köln.ort konnte nicht geöffnet werden, da zu viele Dateien geöffnet sind."},
        TextRow{{"access_denied"}, CFileException::accessDenied,
                "Zugriff auf /home/ute/Köln.ort wurde verwehrt."},
        TextRow{{"invalid_handle"}, CFileException::invalidFile,
                "Eine ungültige Dateikennung war mit /home/ute/Köln.ort verbunden."},
        TextRow{{"directory_full"}, CFileException::directoryFull,
                "/home/ute/Köln.ort konnte nicht erstellt werden, da das Verzeichnis voll ist."},
        TextRow{{"seek"}, CFileException::badSeek, "Positionierungsfehler auf /home/ute/Köln.ort."},
        TextRow{{"hardware"}, CFileException::hardIO,
                "Ein Hardware-E/A-Fehler wurde während des Zugriffs auf /home/ute/Köln.ort gemeldet."},
        TextRow{{"sharing"}, CFileException::sharingViolation,
                "Eine Zugriffsverletzung ist während des Zugriffs auf /home/ute/Köln.ort aufgetreten."},
        TextRow{{"lock"}, CFileException::lockViolation,
                "Eine Sperrverletzung ist während des Zugriffs auf /home/ute/Köln.ort aufgetreten."},
        TextRow{{"medium_full"}, CFileException::diskFull,
                "Beim Zugriff auf /home/ute/Köln.ort wurde ein voller Datenträger gemeldet."},
        TextRow{{"end_of_file"}, CFileException::endOfFile,
                "Es wurde versucht, auf eine Stelle hinter dem Ende von /home/ute/Köln.ort "
                "zuzugreifen."}),
    test_support::RowName());

TEST(CauseTextTest, WithoutANameTheFileIsUnnamed) {
  EXPECT_EQ(CFileException(CFileException::fileNotFound, "").GetErrorMessage(),
            "eine unbenannte Datei wurde nicht gefunden.");
}

// Replaces the file calls for one test.
class InjectedFailure {
 public:
  InjectedFailure() : m_saved(platform::ActiveFileCalls()) {}
  ~InjectedFailure() { platform::ActiveFileCalls() = m_saved; }

 private:
  platform::FileCalls m_saved;
};

CFileException::Cause SaveFails(const std::string& path) {
  try {
    files::SaveLocation(path, files::Place{52, 31, 12, 13, 24, 36});
  } catch (const CFileException& e) {
    EXPECT_EQ(e.m_strFileName, path);
    return e.m_cause;
  }
  return CFileException::none;
}

class SafeSaveTest : public testing::Test {
 protected:
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
  try {
    files::LoadLocation(target);
    ADD_FAILURE();
  } catch (const CFileException& e) {
    EXPECT_EQ(e.m_cause, CFileException::sharingViolation);
  }
  close(other);
  EXPECT_EQ(files::LoadLocation(target).latDegrees, 51.0f);
}

// Causes the machine cannot make on demand, from a failing call of the real CFile.
enum class Call { kOpen, kRead, kWrite, kSync, kRename };

struct InjectedRow : test_support::Named {
  Call call;
  int error;
  bool saving;
  CFileException::Cause cause;
};

class InjectedCauseTest : public SafeSaveTest, public testing::WithParamInterface<InjectedRow> {};

int g_error = 0;

TEST_P(InjectedCauseTest, ReachesItsCauseAndKeepsTheOldFile) {
  InjectedFailure scope;
  g_error = GetParam().error;
  platform::FileCalls& calls = platform::ActiveFileCalls();
  switch (GetParam().call) {
    case Call::kOpen:
      calls.open = [](const char*, int, unsigned) { return errno = g_error, -1; };
      break;
    case Call::kRead:
      calls.read = [](int, void*, size_t) -> long { return errno = g_error, -1; };
      break;
    case Call::kWrite:
      calls.write = [](int, const void*, size_t) -> long { return errno = g_error, -1; };
      break;
    case Call::kSync:
      calls.fsync = [](int) { return errno = g_error, -1; };
      break;
    case Call::kRename:
      calls.rename = [](const char*, const char*) { return errno = g_error, -1; };
      break;
  }
  CFileException::Cause cause = CFileException::none;
  try {
    if (GetParam().saving) {
      files::SaveLocation(target, files::Place{1, 2, 3, 4, 5, 6});
    } else {
      files::LoadLocation(target);
    }
  } catch (const CFileException& e) {
    cause = e.m_cause;
    EXPECT_EQ(e.m_strFileName, target);
  }
  EXPECT_EQ(cause, GetParam().cause);
  ExpectOldFileKept();
}

INSTANTIATE_TEST_SUITE_P(
    Rows, InjectedCauseTest,
    testing::Values(
        InjectedRow{{"medium_full"}, Call::kWrite, ENOSPC, true, CFileException::diskFull},
        InjectedRow{{"sync_fails"}, Call::kSync, EIO, true, CFileException::hardIO},
        InjectedRow{{"rename_across_devices"}, Call::kRename, EXDEV, true,
                    CFileException::genericException},
        InjectedRow{{"too_many_open"}, Call::kOpen, EMFILE, true, CFileException::tooManyOpenFiles},
        InjectedRow{{"invalid_handle"}, Call::kRead, EBADF, false, CFileException::invalidFile},
        InjectedRow{{"seek"}, Call::kRead, ESPIPE, false, CFileException::badSeek},
        InjectedRow{{"hardware"}, Call::kRead, EIO, false, CFileException::hardIO},
        InjectedRow{{"directory_full"}, Call::kOpen, EMLINK, true, CFileException::directoryFull},
        InjectedRow{{"lock"}, Call::kOpen, ENOLCK, true, CFileException::lockViolation},
        InjectedRow{{"read_only_medium"}, Call::kOpen, EROFS, true, CFileException::accessDenied},
        InjectedRow{{"quota"}, Call::kWrite, EDQUOT, true, CFileException::diskFull},
        InjectedRow{{"unknown"}, Call::kWrite, EPROTO, true, CFileException::genericException}),
    test_support::RowName());

TEST_F(SafeSaveTest, PathsThatNameNoFileToWrite) {
  EXPECT_EQ(SaveFails(folder.Path("fehlt/neu.ort")), CFileException::fileNotFound);
  EXPECT_EQ(SaveFails(folder.Folder()), CFileException::accessDenied);
  EXPECT_EQ(SaveFails(target + "/neu.ort"), CFileException::badPath);  // a file as folder
  EXPECT_EQ(SaveFails(folder.Path(std::string(300, 'x'))), CFileException::badPath);
  EXPECT_EQ(SaveFails(folder.Folder() + "/"), CFileException::badPath);
  ExpectOldFileKept();
}

TEST_F(SafeSaveTest, TooManyOpenFilesForReal) {
#if defined(__SANITIZE_ADDRESS__)
  // The sanitizers' runtime needs free descriptors of its own to report; the injected row
  // covers this cause in that build.
  GTEST_SKIP() << "no descriptors left for the sanitizer runtime";
#endif
  const std::string path = target;
  const int status = test_support::RunInChild([&] {
    const rlimit few{16, 16};
    if (setrlimit(RLIMIT_NOFILE, &few) != 0) return test_support::kCannotMakeCondition;
    while (open("/dev/null", O_RDONLY) >= 0) {
    }
    try {
      files::LoadLocation(path);
    } catch (const CFileException& e) {
      return e.GetErrorMessage() ==
                     path + " konnte nicht geöffnet werden, da zu viele Dateien geöffnet sind."
                 ? 0
                 : 2;
    }
    return 1;
  });
  ASSERT_NE(status, test_support::kCannotMakeCondition);
  EXPECT_EQ(status, 0);
}

// A real full medium: a small tmpfs in a mount namespace of a child process.
TEST(RealConditionsTest, AFullTmpfsKeepsTheOldFileAndNamesTheCause) {
  const int status = test_support::RunInChild([] {
    if (unshare(CLONE_NEWNS) != 0 || mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0)
      return test_support::kCannotMakeCondition;
    test_support::ScratchFolder folder;
    if (mount("tmpfs", folder.Folder().c_str(), "tmpfs", 0, "size=16k") != 0)
      return test_support::kCannotMakeCondition;
    const std::string target = folder.Path("alt.ort");
    files::SaveLocation(target, files::Place{51, 0, 0, 7, 0, 0});
    const std::string old = ReadBytes(target);
    test_support::WriteBytes(folder.Path("filler"), std::string(64 * 1024, 'x'));  // fills it
    int result = 1;
    try {
      static solar::DayTrack track;
      for (int i = 0; i < 1440; ++i) track.azimuth[i] = track.height[i] = 45.0f;
      files::ExportMinuteTable(target, track);
    } catch (const CFileException& e) {
      result = e.GetErrorMessage() ==
                       "Beim Zugriff auf " + target + " wurde ein voller Datenträger gemeldet."
                   ? 0
                   : 2;
    }
    if (ReadBytes(target) != old) result = 3;
    if (folder.Names() != std::vector<std::string>{"alt.ort", "filler"}) result = 4;
    umount(folder.Folder().c_str());
    return result;
  });
  if (status == test_support::kCannotMakeCondition) GTEST_SKIP() << "no tmpfs mount here";
  EXPECT_EQ(status, 0);
}

// A folder without write permission, seen by a user who is not root.
TEST(RealConditionsTest, AnUnwritableFolderIsDenied) {
  test_support::ScratchFolder folder;
  chmod(folder.Folder().c_str(), 0755);
  const std::string target = folder.Path("neu.ort");
  const int status = test_support::RunInChild([&] {
    if (geteuid() == 0 && setuid(65534) != 0) return test_support::kCannotMakeCondition;
    if (access(folder.Folder().c_str(), W_OK) == 0) return test_support::kCannotMakeCondition;
    try {
      files::SaveLocation(target, files::Place{51, 0, 0, 7, 0, 0});
    } catch (const CFileException& e) {
      return e.GetErrorMessage() == "Zugriff auf " + target + " wurde verwehrt." ? 0 : 2;
    }
    return 1;
  });
  if (status == test_support::kCannotMakeCondition) GTEST_SKIP() << "cannot drop to another user";
  EXPECT_EQ(status, 0);
  EXPECT_TRUE(folder.Names().empty());
}

}  // namespace
