#pragma once

namespace solar {

// Clears the upper halves of the vector registers where the CPU has them. Library code built
// for newer CPUs (Qt's string hashing, for one) can leave them in use; until they are cleared,
// every legacy SSE instruction of this baseline x86-64 build waits on them, which on some CPUs
// makes the computations several times slower. Clearing changes no result: the same instructions
// run on the same values. Every computation clears on entry, and so does every worker thread.
#if defined(__x86_64__) || defined(__i386__)
__attribute__((target("avx"))) inline void ClearUpperRegistersWithAvx() { __builtin_ia32_vzeroupper(); }
inline void ClearUpperRegisters() {
  if (__builtin_cpu_supports("avx")) ClearUpperRegistersWithAvx();
}
#else
inline void ClearUpperRegisters() {}
#endif

}  // namespace solar
