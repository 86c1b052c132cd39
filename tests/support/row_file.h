#pragma once

#include <fstream>
#include <ostream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tests/support/golden.h"

namespace test_support {

// A row of a table file under tests/data: one row a line, words separated by blanks, "..." for
// a word with blanks or nothing in it (\t, \n, \r, \" and \\ inside), '#' at the start of a comment line.
// The first word names the row and its test case.
struct FileRow {
  std::string name;
  std::vector<std::string> words;
};

inline std::ostream& operator<<(std::ostream& os, const FileRow& row) { return os << row.name; }

struct FileRowName {
  std::string operator()(const testing::TestParamInfo<FileRow>& info) const { return info.param.name; }
};

inline std::vector<std::string> SplitWords(const std::string& line) {
  std::vector<std::string> words;
  for (size_t i = 0; i < line.size();) {
    if (line[i] == ' ') {
      ++i;
      continue;
    }
    std::string word;
    if (line[i] != '"') {
      while (i < line.size() && line[i] != ' ') word += line[i++];
    } else {
      for (++i; i < line.size() && line[i] != '"'; ++i) {
        if (line[i] == '\\' && i + 1 < line.size())
          word += line[++i] == 't' ? '\t' : line[i] == 'n' ? '\n' : line[i] == 'r' ? '\r' : line[i];
        else
          word += line[i];
      }
      ++i;
    }
    words.push_back(word);
  }
  return words;
}

inline std::vector<FileRow> ReadRows(const std::string& name) {
  std::ifstream in(GoldenPath(name));
  if (!in) throw std::runtime_error("no table " + GoldenPath(name));
  std::vector<FileRow> rows;
  for (std::string line; std::getline(in, line);) {
    if (line.empty() || line[0] == '#') continue;
    std::vector<std::string> words = SplitWords(line);
    rows.push_back(FileRow{words.front(), std::vector<std::string>(words.begin() + 1, words.end())});
  }
  return rows;
}

}  // namespace test_support
