// Bytes requested through operator new while a TAllocationCount is alive: a
// test's measure of memory use that does not depend on the machine's speed.
// TAllocationFailure makes large requests fail, as on exhausted memory.
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

// While one is alive, every request of at least MinBytes through operator new
// fails: std::bad_alloc, or null from the nothrow forms.
class TAllocationFailure {
public:
    explicit TAllocationFailure(size_t MinBytes);
    ~TAllocationFailure();
    TAllocationFailure(const TAllocationFailure&) = delete;
    TAllocationFailure& operator=(const TAllocationFailure&) = delete;
};
