// The test program's replacement of the global operator new and delete: plain
// malloc and free, adding each request's size to a counter while one is running
// and refusing large requests while a failure is set.
#include "tests/skin/support/AllocationCount.h"

#include <atomic>
#include <cstdlib>
#include <new>

namespace {

std::atomic<int> GCounting{0};
std::atomic<size_t> GBytes{0};
constexpr size_t NoFailure = ~size_t{0};
std::atomic<size_t> GFailFrom{NoFailure};

void* Allocate(size_t size)
{
    if (GCounting.load(std::memory_order_relaxed) > 0) GBytes.fetch_add(size, std::memory_order_relaxed);
    if (size >= GFailFrom.load(std::memory_order_relaxed)) return nullptr;
    return std::malloc(size == 0 ? 1 : size);
}

} // namespace

TAllocationCount::TAllocationCount()
{
    GBytes = 0;
    ++GCounting;
}

TAllocationCount::~TAllocationCount()
{
    --GCounting;
}

size_t TAllocationCount::Bytes() const
{
    return GBytes.load();
}

TAllocationFailure::TAllocationFailure(size_t MinBytes)
{
    GFailFrom = MinBytes;
}

TAllocationFailure::~TAllocationFailure()
{
    GFailFrom = NoFailure;
}

void* operator new(size_t size)
{
    if (void* p = Allocate(size)) return p;
    throw std::bad_alloc();
}

void* operator new[](size_t size)
{
    if (void* p = Allocate(size)) return p;
    throw std::bad_alloc();
}

void* operator new(size_t size, const std::nothrow_t&) noexcept
{
    return Allocate(size);
}

void* operator new[](size_t size, const std::nothrow_t&) noexcept
{
    return Allocate(size);
}

void operator delete(void* p) noexcept
{
    std::free(p);
}

void operator delete[](void* p) noexcept
{
    std::free(p);
}

void operator delete(void* p, size_t) noexcept
{
    std::free(p);
}

void operator delete[](void* p, size_t) noexcept
{
    std::free(p);
}

void operator delete(void* p, const std::nothrow_t&) noexcept
{
    std::free(p);
}

void operator delete[](void* p, const std::nothrow_t&) noexcept
{
    std::free(p);
}
