#pragma once

#include <cstddef>
#include <functional>

namespace solar {

// The CPUs this process may run on (its affinity mask, as `taskset` sets it), at least 1.
unsigned UsableCores();

// Runs work(first, last) over [0, n) in blocks of at most `block` items, handed out in order to at
// most `threads` threads (0: UsableCores()), this one among them. Where no further thread can be
// started, the others and this one do the rest. Blocks must not share what they write.
//
// Between its blocks, and at most every 100 ms, this thread asks `keepGoing`; once it says no, no
// further block starts and the call returns false when the running ones are done.
bool ForEachBlock(size_t n, size_t block, unsigned threads, const std::function<void(size_t, size_t)>& work,
                  const std::function<bool()>& keepGoing = {});

}  // namespace solar
