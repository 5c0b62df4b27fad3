#include "measurement/channel_names.h"

namespace sonvera {

const char* channelTypeName(std::uint32_t index) {
  static const char* const kNames[16] = {"Mic", "A",  "X",  "Y",  "Z",  "LF", "HF", "D",
                                         "NO",  "NO", "NO", "NO", "NO", "K1", "K2", "K3"};
  return kNames[index & 0xF];
}

std::string modelName(const DeviceCatalogue& catalogue, std::uint16_t modelCode) {
  const InstrumentModel* model = catalogue.findModel(modelCode);
  return model ? model->name : std::string{};
}

// The 4-bit field of channel c in a packed word; channels past the word's
// four fields read index 0.
namespace {
std::uint32_t packedIndex(std::uint16_t word, std::int32_t channel) {
  const int shift = 4 * channel;
  return shift < 16 ? (word >> shift) & 0xF : 0;
}
}  // namespace

std::string channelName(const DeviceCatalogue& catalogue, const RecordValues& values, std::int32_t channel) {
  const auto named = values.channelNames.find(static_cast<std::uint32_t>(channel));
  if (named != values.channelNames.end()) return named->second;
  if (channel < 0 || channel >= 8) return {};
  if (values.channelKinds != 0xFFFF) return channelTypeName(packedIndex(values.channelKinds, channel));
  const InstrumentModel* model = catalogue.findModel(values.modelCode);
  if (model != nullptr && channel < 4) return model->channelNames[static_cast<std::size_t>(channel)];
  return {};
}

std::string channelUnit(const DeviceCatalogue& catalogue, const RecordValues& values,
                        const ChannelTables& channels, std::int32_t channel) {
  if (channel < 0 || channel >= 16) return {};
  const std::string& calibrated = channels[static_cast<std::size_t>(channel)].unitText;
  if (!calibrated.empty()) return calibrated;
  if (values.unitIndexes != 0xFFFF) return catalogue.units[packedIndex(values.unitIndexes, channel)];
  const InstrumentModel* model = catalogue.findModel(values.modelCode);
  if (model != nullptr && channel < 4) return model->channelUnits[static_cast<std::size_t>(channel)];
  return {};
}

}  // namespace sonvera
