#include "support/allocation_counter.h"

#include <atomic>
#include <cstdlib>
#include <new>

namespace {
std::atomic<std::int64_t> allocations{0};
}  // namespace

namespace sonvera::test {
std::int64_t allocationCount() { return allocations.load(); }

::testing::AssertionResult allocatesNothingPerRecord(const std::function<void(std::uint32_t last)>& pass) {
  const auto allocationsFor = [&](std::uint32_t last) {
    const std::int64_t before = allocationCount();
    pass(last);
    return allocationCount() - before;
  };
  const std::int64_t few = allocationsFor(9999), many = allocationsFor(199999);
  if (many < few + 50) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << few << " allocations for 10 000 records, " << many << " for 200 000";
}
}  // namespace sonvera::test

// Kept out of line, in a file of their own, so the compiler sees no mismatch
// between the malloc behind new and the free behind delete.
void* operator new(std::size_t size) {
  ++allocations;
  if (void* p = std::malloc(size == 0 ? 1 : size)) return p;
  throw std::bad_alloc();
}
void* operator new[](std::size_t size) { return operator new(size); }
void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t) noexcept { std::free(p); }
