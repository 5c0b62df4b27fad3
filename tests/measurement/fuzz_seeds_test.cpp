// The seed corpus of the measurement fuzz target: small files of every variant
// written by the file writer. Set SONVERA_WRITE_FUZZ_SEEDS to a folder to
// (re)write them there; otherwise the test only checks that they open.

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>

#include "measurement/measurement_file.h"
#include "samples/measurement_writer.h"
#include "samples/sample_layouts.h"
#include "support/temp_file.h"

namespace sonvera {
namespace {

DeviceCatalogue seedCatalogue() {
  DeviceCatalogue c;
  c.descriptions[21] = soundLevelMeterDescription();
  c.descriptions[22] = vibrationMeterDescription();
  c.descriptions[0] = soundLevelMeterDescription();
  return c;
}

std::vector<std::uint8_t> record(const DeviceDescription& d, std::uint16_t type, std::uint16_t model,
                                 std::uint32_t serial, int index) {
  RecordEncoder e(d);
  double level = 40.0 + index;
  for (const ParameterCode c : d.layout) {
    if (code::isBanded(c)) e.setValue(c, level += 0.5);
  }
  e.setRaw(code::kTypeEcho, type);
  e.setRaw(0x201C0000, model);
  e.setRaw(0x50040000, serial);
  e.setRaw(0x502C0000, serial);
  e.setRaw(0x50070000, stamp32(2024, 5, 17, 12, index, 30));
  e.setRaw(0xC03B0000, stamp64Calendar(2024, 5, 17, 12, index, 31));
  e.setRaw(0x20250000, static_cast<std::uint64_t>(index));
  e.setValue(0x60160000, 10);
  e.setValue(0x60160001, 50);
  e.setValue(0x60160002, 90);
  e.setValue(0x00170000, 55.5);
  e.setValue(0x70201FFE, 20);
  e.setValue(0x70201FFF, 20000);
  e.setRaw(0x20360001, 12);
  e.setRaw(0x70230000, static_cast<std::uint64_t>(index));
  for (std::uint32_t k = 0; k < 8; ++k) e.setRaw(0x70240000 | k, k * 3);
  e.setText(0xF02F0200, "Цех");
  e.setText(0xF02F0710, "Датчик 1");
  e.setRaw(0x40130000, index == 1 ? 1 : 0);
  return e.encode();
}

std::vector<std::pair<std::string, std::vector<std::uint8_t>>> seeds() {
  std::vector<std::pair<std::string, std::vector<std::uint8_t>>> out;
  const DeviceDescription slm = soundLevelMeterDescription();
  const DeviceDescription vib = vibrationMeterDescription();

  MeasurementFileSource paired;
  paired.variant = FileVariant::PairedWord;
  for (int i = 0; i < 3; ++i) paired.records.push_back(record(slm, 21, 1, 0x30001, i));
  out.emplace_back("paired_slm.bin", measurementFileBytes(paired));

  MeasurementFileSource trailing = paired;
  trailing.records.push_back(record(slm, 99, 1, 0x30001, 3));
  const auto half = record(slm, 21, 1, 0x30001, 4);
  trailing.trailing.assign(half.begin(), half.begin() + 9);
  out.emplace_back("paired_trailing.bin", measurementFileBytes(trailing));

  MeasurementFileSource vibration;
  vibration.variant = FileVariant::PairedWord;
  for (int i = 0; i < 2; ++i) vibration.records.push_back(record(vib, 22, 1, 0x40000, i));
  out.emplace_back("paired_vibration.bin", measurementFileBytes(vibration));

  // Legacy: the word at offset 18 (underload flag of the sound level meter) is the model 5536.
  MeasurementFileSource legacy;
  legacy.variant = FileVariant::Legacy;
  for (int i = 0; i < 2; ++i) {
    RecordEncoder e(slm);
    e.setRaw(0x40140000, 5536);
    e.setRaw(0x50070000, stamp32(2023, 1, 2, 3, 4, i));
    legacy.records.push_back(e.encode());
  }
  out.emplace_back("legacy.bin", measurementFileBytes(legacy));

  MeasurementFileSource self;
  self.header.typeCode = 5000;
  self.header.modelCode = 1;
  self.header.vin = 42;
  self.header.recordSize = 8;
  self.header.channelNames = {"Mic", "X"};
  self.header.parameterNames = {"Leq", "Lmax"};
  self.header.bandCount = 3;
  self.header.bandNames = {{"63", "125", "250"}};
  self.header.groupNames = {"Октавы"};
  self.header.bandNameStarts = {4};
  self.header.calibration = {{0.5f, 50.0f, 2e-5f, "M1", "Па"}, {0.0f, 10.0f, 1e-6f, "A1", "m/s2"}};
  self.header.extraRecords.resize(1);
  self.header.layout = {0x00010000, 0x00020000, 0x01100001, 0x01110102};
  self.header.formats = {0, 0, 0x21, 0x22};
  DeviceDescription selfLayout;
  selfLayout.layout = self.header.layout;
  selfLayout.recordSize = 8;
  for (int i = 0; i < 2; ++i) {
    RecordEncoder e(selfLayout);
    e.setRaw(0x00010000, fatDate(2022, 12, 31));
    e.setValue(0x00020000, timeField(23, 59, 58 - 2 * i));
    e.setValue(0x01100001, 61.5);
    e.setValue(0x01110102, 45.25);
    self.records.push_back(e.encode());
  }
  out.emplace_back("self_unknown_type.bin", measurementFileBytes(self));

  MeasurementFileSource known;
  known.header.typeCode = 21;
  known.header.recordSize = slm.recordSize;
  known.header.channelNames = {"Mic"};
  known.header.bandCount = 36;
  known.header.groupNames = {"1/3", "1/1", "Общ"};
  for (int i = 0; i < 2; ++i) known.records.push_back(record(slm, 21, 1, 7, i));
  out.emplace_back("self_known_type.bin", measurementFileBytes(known));
  return out;
}

TEST(FuzzSeeds, EverySeedOpens) {
  const DeviceCatalogue catalogue = seedCatalogue();
  const char* folder = std::getenv("SONVERA_WRITE_FUZZ_SEEDS");
  for (const auto& [name, bytes] : seeds()) {
    test::TempFile file(bytes);
    MeasurementFile m;
    EXPECT_EQ(openMeasurementFile(catalogue, file.path(), m), OpenResult::Opened) << name;
    EXPECT_GE(m.recordCount, 1u) << name;
    if (folder != nullptr && *folder != '\0') {
      std::ofstream out(std::string(folder) + "/" + name, std::ios::binary);
      out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    }
  }
}

}  // namespace
}  // namespace sonvera
