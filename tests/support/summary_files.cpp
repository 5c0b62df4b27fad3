#include "support/summary_files.h"

#include "samples/measurement_writer.h"
#include "support/catalogue_builder.h"
#include "support/measurement_catalogue.h"

namespace sonvera::test {
namespace {

constexpr ParameterCode kStamp = 0x50070000;
constexpr ParameterCode kSerial = 0x50040000;
constexpr ParameterCode kModelCode = 0x201C0000;
constexpr ParameterCode kMarker = 0x401E0000;

ParameterCode levelCode(std::uint32_t channel) { return 0x01300000 | channel << 16; }

}  // namespace

DeviceDescription summaryLayout(int channels) {
  std::vector<ParameterCode> layout{0x201B0000, kModelCode, kSerial, kStamp, kMarker};
  for (int c = 0; c < channels; ++c) {
    const auto ch = static_cast<std::uint32_t>(c);
    layout.insert(layout.end(), {levelCode(ch), 0x40130000 | ch, 0x40140000 | ch, 0x500A0000 | ch,
                                 0x500B0000 | ch, 0x500C0000 | ch});
  }
  DeviceDescription d = describe(layout);
  for (std::size_t i = 5; i < d.formats.size(); i += 6) d.formats[i] = 0x00DF;  // levels decimate
  d.defaultReference = 2e-5;
  return d;
}

CatalogueSource summaryCatalogueSource(int channels) {
  const DeviceDescription d = summaryLayout(channels);
  TypeSource t = makeType(kSummaryType, d.layout, d.recordSize);
  t.formats = d.formats;
  t.defaultReference = d.defaultReference;
  t.titles = {{kRu, {"Терц", "Окт", "Общие"}, {"T", "O", "Общ"}}};
  t.parameterNames = {{kRu, {{0, "Leq"}}}};
  CatalogueSource s;
  s.types.push_back(t);
  s.bandNames = {"A"};
  ModelSource m = makeModel(kSummaryModel, "Модель");
  m.blocks[0].model.channelUnits = {"Па", "м/с2", "мВ", "EU"};
  s.models.push_back(m);
  return s;
}

DeviceCatalogue summaryCatalogue(int channels) {
  DeviceCatalogue catalogue;
  loadSource(summaryCatalogueSource(channels), kCatalogueLatestVersion, catalogue);
  return catalogue;
}

std::vector<std::uint8_t> summaryFileBytes(int channels, const std::vector<SummaryRecord>& records) {
  const DeviceDescription d = summaryLayout(channels);
  MeasurementFileSource source;
  source.variant = FileVariant::PairedWord;
  for (const SummaryRecord& r : records) {
    RecordEncoder e(d);
    e.setRaw(0x201B0000, kSummaryType);
    e.setRaw(kModelCode, kSummaryModel);
    e.setRaw(kSerial, 0x2ABCD);
    if (r.time.valid())
      e.setValue(kStamp, r.time.dayNumber());
    else
      e.setRaw(kStamp, 31u << 12);  // hour 31: no valid time
    e.setRaw(kMarker, r.marker);
    for (int c = 0; c < channels; ++c) {
      const auto ch = static_cast<std::uint32_t>(c);
      e.setValue(levelCode(ch), r.level + c);
      if (c < static_cast<int>(r.overload.size())) e.setRaw(0x40130000 | ch, r.overload[c]);
      if (c < static_cast<int>(r.underload.size())) e.setRaw(0x40140000 | ch, r.underload[c]);
      e.setValue(0x500A0000 | ch, 0.25 * (c + 1));
      e.setValue(0x500B0000 | ch, c == 0 ? 0.0 : 1e-3);
      e.setValue(0x500C0000 | ch, 50e-3);
    }
    source.records.push_back(e.encode());
  }
  return measurementFileBytes(source);
}

std::vector<SummaryRecord> steadyRecords(int count, int stepSeconds) {
  std::vector<SummaryRecord> records;
  for (int i = 0; i < count; ++i) {
    const int s = i * stepSeconds;
    records.push_back({RecordTime::fromParts(2023, 9, 1, 10 + s / 3600, s / 60 % 60, s % 60), {}, {}});
  }
  return records;
}

}  // namespace sonvera::test
