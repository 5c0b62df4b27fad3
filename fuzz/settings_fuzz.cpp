// Decodes arbitrary bytes as a settings file; what decodes must encode again.

#include <cstdint>
#include <cstdlib>
#include <span>

#include "app/settings_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const auto contents = sonvera::decodeSettingsFile(std::span(data, size));
  if (contents && !sonvera::decodeSettingsFile(sonvera::encodeSettingsFile(*contents))) std::abort();
  return 0;
}
