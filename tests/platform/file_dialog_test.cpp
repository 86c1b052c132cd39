#include "platform/file_dialog.h"

#include <gtest/gtest.h>

namespace {

TEST(DefaultExtensionTest, OnlyANameWithoutOneGetsIt) {
  EXPECT_EQ(platform::AddDefaultExtension("/a/b/Köln", "ort"), "/a/b/Köln.ort");
  EXPECT_EQ(platform::AddDefaultExtension("/a/b/Köln.ort", "ort"), "/a/b/Köln.ort");
  EXPECT_EQ(platform::AddDefaultExtension("/a/b.d/Köln", "txt"), "/a/b.d/Köln.txt");
  EXPECT_EQ(platform::AddDefaultExtension("/a/b/tag.dat", "txt"), "/a/b/tag.dat");
}

}  // namespace
