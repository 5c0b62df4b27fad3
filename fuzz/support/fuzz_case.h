#pragma once
// A structure-aware fuzz case: a device type described by the input (record
// layout of special, banded and raw codes, format words, counts, extra
// tables) in a catalogue, and a measurement file of any variant against it,
// held in memory.

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "catalogue/device_catalogue.h"
#include "fuzz_input.h"

namespace sonvera::fuzz {

struct FuzzCase {
  DeviceCatalogue catalogue;
  std::uint16_t typeCode = 0;
  std::vector<std::uint8_t> fileBytes;
};

FuzzCase buildCase(FuzzInput& input);

// A file in memory with a path the program can open; the bytes are replaced
// for every case, nothing touches a disk.
class MemoryFile {
 public:
  MemoryFile();
  ~MemoryFile();
  MemoryFile(const MemoryFile&) = delete;
  MemoryFile& operator=(const MemoryFile&) = delete;

  // False when the bytes could not be stored.
  bool store(std::span<const std::uint8_t> bytes);
  const std::string& path() const { return path_; }

 private:
  int fd_ = -1;
  std::string path_;
};

// A folder for result files in memory (tmpfs) when the system has one.
std::string scratchFolder(const std::string& name);

}  // namespace sonvera::fuzz
