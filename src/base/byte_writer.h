#pragma once
// Little-endian writing of our binary formats into a growing byte buffer.

#include <cstdint>
#include <cstring>
#include <string_view>
#include <vector>

namespace sonvera {

class ByteWriter {
 public:
  void u8(std::uint8_t v) { bytes_.push_back(v); }
  void u16(std::uint16_t v) { unsignedLE(v, 2); }
  void u32(std::uint32_t v) { unsignedLE(v, 4); }
  void u64(std::uint64_t v) { unsignedLE(v, 8); }
  void f64(double d) {
    std::uint64_t bits;
    std::memcpy(&bits, &d, sizeof bits);
    u64(bits);
  }
  void f32(float f) {
    std::uint32_t bits;
    std::memcpy(&bits, &f, sizeof bits);
    u32(bits);
  }
  void units16(std::u16string_view s) {
    for (char16_t c : s) u16(static_cast<std::uint16_t>(c));
  }
  // u32 length then the code units.
  void text16(std::u16string_view s) {
    u32(static_cast<std::uint32_t>(s.size()));
    units16(s);
  }
  void bytes(const void* data, std::size_t n) {
    const auto* p = static_cast<const std::uint8_t*>(data);
    bytes_.insert(bytes_.end(), p, p + n);
  }

  std::size_t size() const { return bytes_.size(); }
  std::vector<std::uint8_t>& data() { return bytes_; }
  std::vector<std::uint8_t> take() { return std::move(bytes_); }

 private:
  void unsignedLE(std::uint64_t v, int size) {
    for (int i = 0; i < size; ++i) bytes_.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
  }
  std::vector<std::uint8_t> bytes_;
};

}  // namespace sonvera
