#pragma once
// Every test program counts its allocations (operator new is replaced in
// allocation_counter.cpp), so a test can show that a loop allocates nothing.

#include <cstdint>

namespace sonvera::test {

// Allocations made by the program so far, on any thread.
std::int64_t allocationCount();

}  // namespace sonvera::test
