// Opens arbitrary bytes as a measurement file against a catalogue of a few
// typical types and decodes every record of it.

#include <unistd.h>

#include <cstdint>
#include <string>
#include <vector>

#include "measurement/measurement_file.h"
#include "measurement/record_decoder.h"
#include "samples/sample_layouts.h"
#include "platform/platform.h"

namespace {

constexpr std::uint32_t kMaxRecords = 10000;

const sonvera::DeviceCatalogue& fuzzCatalogue() {
  static const sonvera::DeviceCatalogue catalogue = [] {
    sonvera::DeviceCatalogue c;
    c.units.fill(true);
    const auto slm = sonvera::soundLevelMeterDescription();
    const auto vib = sonvera::vibrationMeterDescription();
    c.descriptions[21] = slm;
    c.descriptions[22] = vib;
    c.descriptions[0] = slm;      // legacy files of model 5536
    c.descriptions[60100] = vib;  // legacy files of model 100
    c.models[1] = {"Model", {"Pa", "m/s2", "mV", "EU"}, {"A", "X", "Y", "Z"}};
    return c;
  }();
  return catalogue;
}

const std::string& scratchPath() {
  static const std::string path = "/tmp/sonvera_measurement_fuzz_" + std::to_string(::getpid()) + ".bin";
  return path;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string& path = scratchPath();
  if (!sonvera::platform::writeWholeFile(path, std::vector<std::uint8_t>(data, data + size))) return 0;
  sonvera::MeasurementFile file;
  if (sonvera::openMeasurementFile(fuzzCatalogue(), path, file) == sonvera::OpenResult::Opened) {
    std::vector<std::uint8_t> buffer(file.description.recordSize);
    const std::uint32_t count = file.recordCount < kMaxRecords ? file.recordCount : kMaxRecords;
    for (std::uint32_t i = 0; i < count; ++i) {
      sonvera::readRecord(file, i, buffer);
      sonvera::decodeIfSameType(buffer, file.channels, file.values, file.description);
      sonvera::recordTime(file.values).format("%d.%m.%Y %H:%M:%S");
    }
  }
  file.handle.close();
  ::unlink(path.c_str());
  return 0;
}
