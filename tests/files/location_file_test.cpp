#include "files/location_file.h"

#include <gtest/gtest.h>

#include "tests/support/files.h"

namespace files {
namespace {

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

TEST_F(LocationFileTest, LongNamesAreWrittenUnderTheirFullPath) {
  const std::string longName = std::string(200, 'o') + ".ort";
  SaveLocation(folder.Path(longName), Place{51, 0, 0, 7, 0, 0});
  EXPECT_EQ(test_support::ReadBytes(folder.Path(longName)).size(), 24u);
  EXPECT_EQ(folder.Names(), std::vector<std::string>{longName});
}

}  // namespace
}  // namespace files
