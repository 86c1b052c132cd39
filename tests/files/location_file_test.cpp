#include "files/location_file.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "platform/file_exception.h"
#include "tests/support/files.h"

namespace files {
namespace {

using platform::CFileException;

std::string Bytes(std::initializer_list<int> values) {
  std::string s;
  for (int v : values) s += static_cast<char>(v);
  return s;
}

class LocationFileTest : public testing::Test {
 protected:
  test_support::ScratchFolder folder;
  std::string path = folder.Path("ort.ort");
};

TEST_F(LocationFileTest, TwentyFourRawLittleEndianBytes) {
  SaveLocation(path, Place{51, 0, 0, 7, 0, 0});
  EXPECT_EQ(test_support::ReadBytes(path),
            Bytes({0, 0, 0x4C, 0x42, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0xE0, 0x40, 0, 0, 0, 0, 0, 0, 0, 0}));
  SaveLocation(path, Place{52, 31, 12, 13, 24, 36});
  EXPECT_EQ(test_support::ReadBytes(path),
            Bytes({0, 0, 0x50, 0x42, 0, 0, 0xF8, 0x41, 0, 0, 0x40, 0x41, 0, 0, 0x50, 0x41, 0x18, 0,
                   0, 0, 0, 0, 0x10, 0x42}));
  const Place back = LoadLocation(path);
  EXPECT_EQ(back.latArcmin, 31.0f);
  EXPECT_EQ(back.lonArcmin, 24);
  EXPECT_EQ(back.lonArcsec, 36.0f);
  EXPECT_EQ(folder.Names(), std::vector<std::string>{"ort.ort"});  // no temporary file left
}

TEST_F(LocationFileTest, BytesAfterThe24thAreIgnored) {
  SaveLocation(path, Place{-33.5f, 1, 2, 300, 59, 58});
  test_support::WriteBytes(path, test_support::ReadBytes(path) + "sechs!");
  const Place p = LoadLocation(path);
  EXPECT_EQ(p.latDegrees, -33.5f);
  EXPECT_EQ(p.lonArcsec, 58.0f);
}

TEST_F(LocationFileTest, AShortFileRaisesEndOfFileWithoutAName) {
  for (const std::string& content : {std::string(), std::string(10, '\x01'), std::string(23, 'x')}) {
    test_support::WriteBytes(path, content);
    try {
      LoadLocation(path);
      ADD_FAILURE() << content.size();
    } catch (const CFileException& e) {
      EXPECT_EQ(e.m_cause, CFileException::endOfFile);
      EXPECT_EQ(e.GetErrorMessage(),
                "Es wurde versucht, auf eine Stelle hinter dem Ende von eine unbenannte Datei "
                "zuzugreifen.");
    }
  }
}

TEST_F(LocationFileTest, AnyBitPatternLoadsAsItIs) {
  std::string bytes(24, '\0');
  const float nan = std::nanf(""), inf = INFINITY;
  std::memcpy(&bytes[0], &nan, 4);
  std::memcpy(&bytes[12], &inf, 4);
  bytes[16] = '\xff', bytes[17] = '\xff', bytes[18] = '\xff', bytes[19] = '\xff';
  test_support::WriteBytes(path, bytes);
  const Place p = LoadLocation(path);
  EXPECT_TRUE(std::isnan(p.latDegrees));
  EXPECT_EQ(p.lonDegrees, inf);
  EXPECT_EQ(p.lonArcmin, -1);
}

TEST_F(LocationFileTest, AMissingFileNamesItsRealCause) {
  try {
    LoadLocation(folder.Path("fehlt.ort"));
    FAIL();
  } catch (const CFileException& e) {
    EXPECT_EQ(e.GetErrorMessage(), folder.Path("fehlt.ort") + " wurde nicht gefunden.");
  }
  try {
    LoadLocation(folder.Folder());
    FAIL();
  } catch (const CFileException& e) {
    EXPECT_EQ(e.GetErrorMessage(), "Zugriff auf " + folder.Folder() + " wurde verwehrt.");
  }
}

TEST_F(LocationFileTest, LongNamesAreWrittenUnderTheirFullPath) {
  const std::string longName = std::string(200, 'o') + ".ort";
  SaveLocation(folder.Path(longName), Place{51, 0, 0, 7, 0, 0});
  EXPECT_EQ(test_support::ReadBytes(folder.Path(longName)).size(), 24u);
  EXPECT_EQ(folder.Names(), std::vector<std::string>{longName});
}

}  // namespace
}  // namespace files
