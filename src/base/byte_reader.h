#pragma once
// Bounds-checked little-endian reading of untrusted bytes. Every read either
// succeeds completely or marks the reader failed; once failed, every later
// read fails too, so parsers can check once at the end of a block.

#include <cstdint>
#include <cstring>
#include <span>
#include <string>

namespace sonvera {

// Little-endian words at a pointer the caller has checked.
inline std::uint16_t loadLE16(const std::uint8_t* p) { return static_cast<std::uint16_t>(p[0] | p[1] << 8); }
inline std::uint32_t loadLE32(const std::uint8_t* p) {
  return std::uint32_t{p[0]} | std::uint32_t{p[1]} << 8 | std::uint32_t{p[2]} << 16 | std::uint32_t{p[3]} << 24;
}

class ByteReader {
 public:
  explicit ByteReader(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}

  bool ok() const { return ok_; }
  std::size_t position() const { return pos_; }
  std::size_t remaining() const { return ok_ ? bytes_.size() - pos_ : 0; }

  std::uint16_t u16() { return static_cast<std::uint16_t>(unsignedLE(2)); }
  std::uint32_t u32() { return static_cast<std::uint32_t>(unsignedLE(4)); }
  std::uint64_t u64() { return unsignedLE(8); }
  double f64() {
    const std::uint64_t bits = u64();
    double d;
    std::memcpy(&d, &bits, sizeof d);
    return d;
  }
  float f32() {
    const std::uint32_t bits = u32();
    float f;
    std::memcpy(&f, &bits, sizeof f);
    return f;
  }

  // A count of elements of at least `minElementSize` bytes each; fails when the
  // bytes left cannot hold that many, so callers may reserve the count safely.
  std::uint32_t count(std::size_t minElementSize) {
    const std::uint32_t n = u32();
    if (ok_ && minElementSize > 0 && n > remaining() / minElementSize) ok_ = false;
    return ok_ ? n : 0;
  }

  // u32 length then that many UTF-16LE code units.
  std::u16string text16() {
    const std::uint32_t n = count(2);
    return units16(n);
  }

  // `n` UTF-16LE code units.
  std::u16string units16(std::size_t n) {
    std::u16string s;
    if (ok_ && n > (bytes_.size() - pos_) / 2) ok_ = false;
    if (!ok_) return s;
    s.resize(n);
    for (std::size_t i = 0; i < n; ++i)
      s[i] = static_cast<char16_t>(bytes_[pos_ + 2 * i] | (bytes_[pos_ + 2 * i + 1] << 8));
    pos_ += 2 * n;
    return s;
  }

  void skip(std::size_t n) {
    if (need(n)) pos_ += n;
  }

  void fail() { ok_ = false; }

 private:
  bool need(std::size_t n) {
    if (ok_ && n > bytes_.size() - pos_) ok_ = false;
    return ok_;
  }
  std::uint64_t unsignedLE(int size) {
    if (!need(static_cast<std::size_t>(size))) return 0;
    std::uint64_t v = 0;
    for (int i = size - 1; i >= 0; --i) v = (v << 8) | bytes_[pos_ + static_cast<std::size_t>(i)];
    pos_ += static_cast<std::size_t>(size);
    return v;
  }

  std::span<const std::uint8_t> bytes_;
  std::size_t pos_ = 0;
  bool ok_ = true;
};

}  // namespace sonvera
