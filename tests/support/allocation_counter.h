#pragma once
// Every test program counts its allocations (operator new is replaced in
// allocation_counter.cpp), so a test can show that a loop allocates nothing.

#include <cstdint>
#include <functional>

#include <gtest/gtest.h>

namespace sonvera::test {

// Allocations made by the program so far, on any thread.
std::int64_t allocationCount();

// A pass over records 0 to `last` allocates nothing per record: run over
// 10 000 and over 200 000 records, it makes about as many allocations.
::testing::AssertionResult allocatesNothingPerRecord(const std::function<void(std::uint32_t last)>& pass);

}  // namespace sonvera::test
