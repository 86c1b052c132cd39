#pragma once

#include <ostream>
#include <string>

#include <gtest/gtest.h>

namespace test_support {

// Base of the rows of parameterised tests: the row's name prints as the parameter and names
// the test case.
struct Named {
  const char* name;
};

inline std::ostream& operator<<(std::ostream& os, const Named& row) { return os << row.name; }

struct RowName {
  template <typename Row>
  std::string operator()(const testing::TestParamInfo<Row>& info) const {
    return info.param.name;
  }
};

}  // namespace test_support
