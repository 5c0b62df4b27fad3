#include "support/banded_state.h"

#include <algorithm>
#include <string>

namespace sonvera::test {

ParameterCode bandedCode(int group, int channel, int parameter, int band) {
  return 0x41000000u | static_cast<std::uint32_t>(group + 1) << 20 | static_cast<std::uint32_t>(channel) << 16 |
         static_cast<std::uint32_t>(parameter) << 8 | static_cast<std::uint32_t>(band);
}

DeviceDescription bandedDescription(int channels, const std::array<GroupShape, 3>& groups) {
  std::vector<ParameterCode> layout;
  for (int c = 0; c < channels; ++c)
    for (int g = 0; g < 3; ++g)
      for (int p = 0; p < groups[static_cast<std::size_t>(g)].parameters; ++p)
        for (int b = 0; b < groups[static_cast<std::size_t>(g)].bands; ++b)
          layout.push_back(bandedCode(g, c, p, b));
  DeviceDescription d = describe(std::move(layout));
  for (std::size_t g = 0; g < 3; ++g) {
    d.groupTitles[g] = "Группа" + std::to_string(g);
    d.groupColumnTitles[g] = "Г" + std::to_string(g);
  }
  for (std::uint32_t i = 0; i < 16; ++i) d.parameterNames[i] = "P" + std::to_string(i);
  return d;
}

DeviceCatalogue bandedCatalogue(std::uint16_t typeCode, int channels, const std::array<GroupShape, 3>& groups) {
  DeviceCatalogue catalogue = catalogueWithModel(9);
  addType(catalogue, typeCode, bandedDescription(channels, groups));
  return catalogue;
}

bool prepareCarried(const DeviceCatalogue& catalogue, std::uint16_t typeCode, DecodingState& state) {
  if (!state.prepare(catalogue, typeCode)) return false;
  state.values.modelCode = 9;
  for (ChannelValues& channel : state.channels)
    for (ValueTable& table : channel.values) std::ranges::fill(table.cells(), 60.0);
  return true;
}

void dropParameter(DecodingState& state, int group, int parameter) {
  for (ChannelValues& channel : state.channels) {
    ValueTable& table = channel.values[static_cast<std::size_t>(group)];
    if (static_cast<std::size_t>(parameter) < table.size())
      std::ranges::fill(table[static_cast<std::size_t>(parameter)], NoValue);
  }
}

ExtraParameterTable extraTable(const std::string& name, std::vector<std::string> parameters,
                               std::vector<std::string> bands) {
  ExtraParameterTable t;
  t.name = name;
  t.codes.assign(parameters.size(), std::vector<ParameterCode>(bands.size(), 0));
  t.formats.assign(parameters.size(), std::vector<std::uint32_t>(bands.size(), 0xFFFF));
  t.parameterNames = std::move(parameters);
  t.bandNames = std::move(bands);
  return t;
}

}  // namespace sonvera::test
