// What a library built for newer CPUs leaves in the upper halves of the vector registers is gone
// once a computation has started, on this thread and on a worker thread. Where the CPU does not
// report that state (XGETBV with ECX=1, bit 2), the test is skipped.
#include "solar/clean_registers.h"

#include <gtest/gtest.h>

#include "solar/parallel.h"
#include "solar/sun_position.h"

#if defined(__x86_64__)
#include <cpuid.h>

namespace solar {
namespace {

bool UpperHalvesInUse() {
  unsigned low, high;
  asm volatile("xgetbv" : "=a"(low), "=d"(high) : "c"(1));
  return (low & 4) != 0;
}

__attribute__((target("avx"))) void DirtyUpperHalves() {
  asm volatile("vpcmpeqd %%ymm15, %%ymm15, %%ymm15" ::: "xmm15");
}
TEST(CleanRegistersTest, EveryComputationAndWorkerStartsClean) {
  unsigned a, b, c, d;
  if (!__builtin_cpu_supports("avx") || !__get_cpuid_count(0xd, 1, &a, &b, &c, &d) || !(a & 4)) GTEST_SKIP();
  DirtyUpperHalves();
  if (!UpperHalvesInUse()) GTEST_SKIP() << "this CPU does not report its register state";
  ComputeSunPosition(53542, 12.0f, 51.0f, 7.0f);
  EXPECT_FALSE(UpperHalvesInUse());
  bool workerClean = false;
  ForEachBlock(2, 1, 2, [&](size_t first, size_t) {
    if (first == 0) workerClean = !UpperHalvesInUse();
  });
  EXPECT_TRUE(workerClean);
}

}  // namespace
}  // namespace solar
#endif
