#include "support/measurement_catalogue.h"

namespace sonvera::test {

DeviceDescription describe(std::vector<ParameterCode> layout, std::uint32_t recordSize) {
  DeviceDescription d;
  if (recordSize == 0)
    for (const ParameterCode c : layout) recordSize += recordValueSize(c);
  d.formats.assign(layout.size(), 0xFFFF);
  d.layout = std::move(layout);
  d.recordSize = recordSize;
  return d;
}

void addType(DeviceCatalogue& catalogue, std::uint16_t typeCode, DeviceDescription description) {
  description.typeEchoOffset = computeTypeEchoOffset(description);
  catalogue.descriptions[typeCode] = std::move(description);
}

DeviceCatalogue catalogueWithModel(std::uint16_t modelCode) {
  DeviceCatalogue catalogue;
  catalogue.units.fill(true);
  InstrumentModel model;
  model.name = "Модель";
  model.channelUnits = {"Па", "м/с2", "мВ", "EU"};
  model.channelNames = {"A", "B", "C", "D"};
  catalogue.models[modelCode] = model;
  return catalogue;
}

}  // namespace sonvera::test
