#pragma once
// Decoding states of files whose records hold banded value groups of a chosen
// shape, for the export list and parameter dialog tests.

#include <array>
#include <cstdint>

#include "catalogue/device_catalogue.h"
#include "support/measurement_catalogue.h"

namespace sonvera::test {

struct GroupShape {
  std::int32_t parameters = 0;
  std::int32_t bands = 0;
};

// A banded value of group 0 to 2 (narrow band index).
ParameterCode bandedCode(int group, int channel, int parameter, int band);

// A description whose layout holds every value of the shapes on `channels`
// channels. Groups are titled "Группа0".. ("Г0".. in column headers) and
// parameter i is named "P<i>".
DeviceDescription bandedDescription(int channels, const std::array<GroupShape, 3>& groups);

// A catalogue with the type and model 9 (channels named "A" to "D").
DeviceCatalogue bandedCatalogue(std::uint16_t typeCode, int channels, const std::array<GroupShape, 3>& groups);

// The state after opening a file of the type (model 9) whose record carries
// every value.
bool prepareCarried(const DeviceCatalogue& catalogue, std::uint16_t typeCode, DecodingState& state);

// Marks parameter `parameter` of `group` as carried by no channel and band.
void dropParameter(DecodingState& state, int group, int parameter);

ExtraParameterTable extraTable(const std::string& name, std::vector<std::string> parameters,
                               std::vector<std::string> bands);

}  // namespace sonvera::test
