#include "measurement/channel_names.h"

namespace sonvera {

const char* channelTypeName(unsigned index) {
  static const char* const kNames[16] = {"Mic", "A",  "X",  "Y",  "Z",  "LF", "HF", "D",
                                         "NO",  "NO", "NO", "NO", "NO", "K1", "K2", "K3"};
  return kNames[index & 0xF];
}

std::string modelName(const DeviceCatalogue& catalogue, std::uint16_t modelCode) {
  const InstrumentModel* model = catalogue.findModel(modelCode);
  return model ? model->name : std::string{};
}

namespace {

// The 4-bit index of channel c in a packed word; channels 4 and above read 0.
unsigned nibble(std::uint16_t word, std::int32_t c) {
  return c < 4 ? (word >> (4 * c)) & 0xF : 0;
}

}  // namespace

std::string channelName(const DeviceCatalogue& catalogue, const RecordValues& values, std::int32_t channel) {
  if (const auto it = values.channelNames.find(static_cast<std::uint32_t>(channel)); it != values.channelNames.end())
    return it->second;
  if (channel < 0 || channel >= 8) return {};
  if (values.channelKinds != 0xFFFF) return channelTypeName(nibble(values.channelKinds, channel));
  const InstrumentModel* model = catalogue.findModel(values.modelCode);
  if (model && channel < 4) return model->channelNames[static_cast<std::size_t>(channel)];
  return {};
}

std::string channelUnit(const DeviceCatalogue& catalogue, const RecordValues& values,
                        const ChannelTables& channels, std::int32_t channel) {
  if (channel < 0 || channel >= 16) return {};
  const std::string& own = channels[static_cast<std::size_t>(channel)].unitText;
  if (!own.empty()) return own;
  if (values.unitIndexes != 0xFFFF) return catalogue.units[nibble(values.unitIndexes, channel)];
  const InstrumentModel* model = catalogue.findModel(values.modelCode);
  if (model && channel < 4) return model->channelUnits[static_cast<std::size_t>(channel)];
  return {};
}

}  // namespace sonvera
