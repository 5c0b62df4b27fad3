#pragma once
// The 32-bit code that names one value of a record: value type in bits 28-31,
// kind in bits 16-27, an index in bits 0-15 whose meaning depends on the kind.

#include <cstdint>

namespace sonvera {

using ParameterCode = std::uint32_t;

namespace code {

constexpr std::uint32_t valueType(ParameterCode c) { return c >> 28; }
constexpr std::uint32_t kind(ParameterCode c) { return (c >> 16) & 0xFFF; }
constexpr std::uint32_t upper16(ParameterCode c) { return c >> 16; }
// Bits 24-27; classes 1 and 2 are the banded per-channel values.
constexpr std::uint32_t kindClass(ParameterCode c) { return (c >> 24) & 0xF; }
constexpr bool isBanded(ParameterCode c) { return kindClass(c) == 1 || kindClass(c) == 2; }
// Bits 20-23: 1, 2, 3 name value groups 0, 1, 2.
constexpr std::uint32_t groupField(ParameterCode c) { return (c >> 20) & 0xF; }
constexpr std::uint32_t channel(ParameterCode c) { return (c >> 16) & 0xF; }
constexpr std::uint32_t parameter(ParameterCode c, std::uint32_t wideBandIndex) {
  return wideBandIndex == 0 ? (c >> 8) & 0xFF : (c >> 12) & 0xF;
}
constexpr std::uint32_t band(ParameterCode c, std::uint32_t wideBandIndex) {
  return wideBandIndex == 0 ? c & 0xFF : c & 0xFFF;
}
// Bits 8-15, the 1-based channel number of kinds 0x00A and 0x018.
constexpr std::uint32_t highByte(ParameterCode c) { return (c >> 8) & 0xFF; }

constexpr ParameterCode kTypeEcho = 0x201B0000;

// Bytes the value takes in a record, by value type (and kind for type 15).
constexpr std::uint32_t byteSize(ParameterCode c) {
  switch (valueType(c)) {
    case 0: case 1: case 2: case 3: case 4: case 6:
      return 2;
    case 12:
      return 8;
    case 15:
      switch (kind(c)) {
        case 0x003: return 10;
        case 0x005: return 66;
        case 0x02F: return 2 * highByte(c) + 2;
        default: return 6;
      }
    default:
      return 4;
  }
}

}  // namespace code
}  // namespace sonvera
