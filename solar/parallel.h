#pragma once

#include <cstddef>
#include <functional>
#include <system_error>
#include <thread>

#include "solar/clean_registers.h"

namespace solar {

// Runs work(0, n/2) on a second thread and work(n/2, n) on this one; where no second thread can
// be started, all of it here. The two halves must not share what they write.
inline void OnBothCores(size_t n, const std::function<void(size_t, size_t)>& work) {
  ClearUpperRegisters();  // a new thread starts with this thread's register state
  std::thread second;
  try {
    second = std::thread([&work, n] {
      ClearUpperRegisters();
      work(0, n / 2);
    });
  } catch (const std::system_error&) {
    return work(0, n);
  }
  work(n / 2, n);
  second.join();
}

}  // namespace solar
