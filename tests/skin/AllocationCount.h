// Bytes requested through operator new while a TAllocationCount is alive: a
// test's measure of memory use that does not depend on the machine's speed.
#pragma once

#include <cstddef>

class TAllocationCount {
public:
    TAllocationCount();
    ~TAllocationCount();
    TAllocationCount(const TAllocationCount&) = delete;
    TAllocationCount& operator=(const TAllocationCount&) = delete;

    // Sum of every size asked for since construction (frees are not subtracted).
    size_t Bytes() const;
};
