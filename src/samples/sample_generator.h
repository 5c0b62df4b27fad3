#pragma once
// Realistic sample measurement files for any type of a catalogue: a daily
// noise pattern, band spectra whose energy adds up to the broadband level, a
// few overload and underload episodes, markers, calibration data and a
// serial number. Deterministic for a given seed.

#include <cstdint>
#include <optional>
#include <string>

#include "catalogue/device_catalogue.h"
#include "measurement/measurement_file.h"
#include "samples/measurement_writer.h"
#include "measurement/record_time.h"

namespace sonvera {

struct SampleOptions {
  std::uint16_t typeCode = 0;
  FileVariant variant = FileVariant::SelfDescribing;
  std::uint32_t records = 100;
  std::uint32_t stepSeconds = 1;
  RecordTime start = RecordTime::fromParts(2024, 5, 17, 0, 0, 0);
  std::uint32_t seed = 1;
  // Default: 0x30001, or 0x70001 for legacy files (whose word at offset 4
  // must not look like a paired-word file's).
  std::optional<std::uint32_t> serial;
  // Default: the catalogue's first model. Legacy files always name the model
  // type + 5536, as their readers expect.
  std::optional<std::uint16_t> modelCode;
};

enum class SampleResult {
  Generated,
  UnknownType,       // the catalogue has no description with a layout
  NoPairedWords,     // the layout carries no type at offset 0 and no 0x20000..0x5FFFF word at 4
  NoLegacyModel,     // the layout has no 16-bit value at offset 18 to carry the model code
  LooksPaired,       // a legacy file whose word at offset 4 would read as a paired-word file
};

// Fills `out` with the file; its records decode to the generated values.
SampleResult generateSample(const DeviceCatalogue& catalogue, const SampleOptions& options,
                            MeasurementFileSource& out);

}  // namespace sonvera
