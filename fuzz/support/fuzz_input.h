#pragma once
// Draws numbers and bytes from a fuzzer's input; past its end every draw is 0,
// so any input describes a case.

#include <algorithm>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace sonvera::fuzz {

class FuzzInput {
 public:
  explicit FuzzInput(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}

  std::uint8_t u8() { return pos_ < bytes_.size() ? bytes_[pos_++] : 0; }
  std::uint16_t u16() { return static_cast<std::uint16_t>(u8() | u8() << 8); }
  std::uint32_t u32() { return std::uint32_t{u16()} | std::uint32_t{u16()} << 16; }
  // A number below `bound` (bound > 0).
  std::uint32_t below(std::uint32_t bound) { return bound <= 256 ? u8() % bound : u32() % bound; }
  bool flag() { return (u8() & 1) != 0; }
  // `count` bytes at once onto the end of `out`: what the input still has,
  // then zeros.
  void appendBytes(std::vector<std::uint8_t>& out, std::size_t count) {
    const std::size_t taken = std::min(count, remaining());
    out.insert(out.end(), bytes_.begin() + static_cast<std::ptrdiff_t>(pos_),
               bytes_.begin() + static_cast<std::ptrdiff_t>(pos_ + taken));
    out.resize(out.size() + count - taken, 0);
    pos_ += taken;
  }
  // A short text of printable letters, Latin or Cyrillic.
  std::string text(std::size_t maxLength);
  std::size_t remaining() const { return bytes_.size() - pos_; }

 private:
  std::span<const std::uint8_t> bytes_;
  std::size_t pos_ = 0;
};

}  // namespace sonvera::fuzz
