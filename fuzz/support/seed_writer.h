#pragma once
// Seeds for the fuzzers, written in code: a fixed set of inputs of several
// lengths from a deterministic generator, plus the texts given.

#include <cstdint>
#include <string>
#include <vector>

namespace sonvera::fuzz {

// Writes `count` pseudo-random inputs (and `extra`) into `folder`; the exit code.
int writeSeeds(const std::string& folder, int count, const std::vector<std::string>& extra = {});

}  // namespace sonvera::fuzz
