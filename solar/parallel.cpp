#include "solar/parallel.h"

#include <sched.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <system_error>
#include <thread>
#include <vector>

#include "solar/clean_registers.h"

namespace solar {

unsigned UsableCores() {
  cpu_set_t set;
  if (sched_getaffinity(0, sizeof set, &set) == 0 && CPU_COUNT(&set) > 0) return static_cast<unsigned>(CPU_COUNT(&set));
  return std::max(1u, std::thread::hardware_concurrency());
}

bool ForEachBlock(size_t n, size_t block, unsigned threads, const std::function<void(size_t, size_t)>& work,
                  const std::function<bool()>& keepGoing) {
  block = std::max<size_t>(block, 1);
  const size_t blocks = n / block + (n % block != 0 ? 1 : 0);
  std::atomic<size_t> next{0};
  std::atomic<bool> stopped{false};
  const auto runBlocks = [&](const std::function<void()>& betweenBlocks) {
    ClearUpperRegisters();  // a new thread starts with its creator's register state
    for (size_t b = next++; b < blocks && !stopped; b = next++) {
      work(b * block, std::min(n, (b + 1) * block));
      betweenBlocks();
    }
  };

  const size_t wanted = std::min<size_t>(threads == 0 ? UsableCores() : threads, blocks);
  std::vector<std::thread> others;
  for (size_t t = 1; t < wanted; ++t) {
    try {
      others.emplace_back(runBlocks, [] {});
    } catch (const std::system_error&) {
      break;  // the threads that started, and this one, share the blocks
    }
  }
  auto lastAsked = std::chrono::steady_clock::now();
  runBlocks([&] {
    if (!keepGoing) return;
    const auto now = std::chrono::steady_clock::now();
    if (now - lastAsked < std::chrono::milliseconds(100)) return;
    lastAsked = now;
    if (!keepGoing()) stopped = true;
  });
  for (std::thread& thread : others) thread.join();
  return !stopped;
}

}  // namespace solar
