#include "support/export_files.h"

#include "samples/measurement_writer.h"
#include "support/measurement_catalogue.h"

namespace sonvera::test {
namespace {

constexpr ParameterCode kModelCode = 0x201C0000;
constexpr ParameterCode kSerial = 0x50040000;
constexpr ParameterCode kStamp = 0x50070000;
constexpr ParameterCode kMarker = 0x401E0000;
// Doubles, so that the values come back exactly.
constexpr ParameterCode kExtra = 0xC1400000;  // banded class, group field 4: an other value

ParameterCode levelCode(std::uint32_t channel) { return 0xC1300000 | channel << 16; }
ParameterCode linearCode(std::uint32_t channel) { return 0xC1300100 | channel << 16; }

DeviceDescription exportLayout(int channels) {
  std::vector<ParameterCode> layout{code::kTypeEcho, kModelCode, kSerial, kStamp, kMarker, kExtra};
  for (int c = 0; c < channels; ++c) {
    const auto ch = static_cast<std::uint32_t>(c);
    layout.push_back(levelCode(ch));
    layout.push_back(linearCode(ch));
  }
  DeviceDescription d = describe(layout);
  for (std::size_t i = 6; i < d.formats.size(); i += 2) {
    d.formats[i] = kLevelFormat;
    d.formats[i + 1] = kLinearFormat;
  }
  return d;
}

}  // namespace

DeviceCatalogue exportCatalogue(int channels) {
  DeviceCatalogue catalogue = catalogueWithModel(kExportModel);
  DeviceDescription d = exportLayout(channels);
  d.defaultReference = 2e-5;
  d.groupTitles = {"Терц", "Окт", "Общие"};
  d.groupColumnTitles = {"T", "O", "Общ"};
  d.parameterNames = {{0, "Leq"}, {1, "Lin"}};
  addType(catalogue, kExportType, d);
  catalogue.bandNames = {"Полоса"};
  ExtraParameterTable extra;
  extra.name = "Доп";
  extra.bandNames = {"x"};
  extra.parameterNames = {"Темп"};
  extra.codes = {{kExtra}};
  extra.formats = {{kExtraFormat}};
  catalogue.extraTableMap.emplace(kExportType, extra);
  return catalogue;
}

std::vector<std::uint8_t> exportFileBytes(int channels, const std::vector<ExportRecord>& records) {
  const DeviceDescription d = exportLayout(channels);
  MeasurementFileSource source;
  source.variant = FileVariant::PairedWord;
  for (const ExportRecord& r : records) {
    RecordEncoder e(d);
    e.setRaw(code::kTypeEcho, r.typeEcho);
    e.setRaw(kModelCode, kExportModel);
    e.setRaw(kSerial, kExportVin);
    e.setValue(kStamp, r.time.dayNumber());
    e.setRaw(kMarker, r.marker);
    e.setValue(kExtra, r.extra);
    for (int c = 0; c < channels; ++c) {
      const auto ch = static_cast<std::uint32_t>(c);
      e.setValue(levelCode(ch), r.level + c);
      e.setValue(linearCode(ch), r.linear * (c + 1));
    }
    source.records.push_back(e.encode());
  }
  return measurementFileBytes(source);
}

std::vector<ExportRecord> exportRecords(int count, int stepSeconds, const RecordTime& start) {
  std::vector<ExportRecord> records;
  records.reserve(static_cast<std::size_t>(count));
  for (int i = 0; i < count; ++i) {
    ExportRecord r;
    r.time = add(start, static_cast<double>(i) * stepSeconds / kSecondsPerDay);
    records.push_back(r);
  }
  return records;
}

}  // namespace sonvera::test
