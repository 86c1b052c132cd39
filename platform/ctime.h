#pragma once

#include <ctime>

namespace platform {

// A moment of the computer's clock, broken down in the local time zone on request.
class CTime {
 public:
  explicit CTime(std::time_t t = 0) : m_time(t) {}
  // Local breakdown: day of month, month 0..11, years since 1900, hour, minute, second.
  std::tm GetLocalTm() const {
    std::tm local{};
    localtime_r(&m_time, &local);
    return local;
  }

 private:
  std::time_t m_time;
};

}  // namespace platform
