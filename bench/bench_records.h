#pragma once
// Records of the sound-level-meter layout shared by the benchmarks: banded
// levels, type, model, serial, marker, percentiles and octave frequencies.

#include <cstdint>

#include "samples/measurement_writer.h"

namespace sonvera::bench {

inline RecordEncoder soundLevelRecord(const DeviceDescription& d, std::uint16_t type, int i) {
  RecordEncoder e(d);
  double level = 35.0 + i % 20;
  for (const ParameterCode c : d.layout)
    if (code::isBanded(c)) e.setValue(c, level += 0.25);
  e.setRaw(code::kTypeEcho, type);
  e.setRaw(0x201C0000, 1);
  e.setRaw(0x50040000, 0x30001);
  e.setRaw(0x401E0000, i % 31 == 0);
  for (std::uint32_t k = 0; k < 6; ++k) {
    e.setValue(0x60160000 | k, 5.0 + 15 * k);
    e.setValue(0x00170000 | k, 60.0 - 3 * k);
  }
  for (std::uint32_t b = 0; b < 10; ++b) e.setValue(0x70202000 | b, 31.5 * (1 << b));
  return e;
}

}  // namespace sonvera::bench
