// Loads arbitrary bytes as a device catalogue, for both languages paths.

#include <cstdint>
#include <span>

#include "catalogue/catalogue_loader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::span<const std::uint8_t> bytes(data, size);
  sonvera::DeviceCatalogue russian;
  sonvera::loadCatalogue(bytes, sonvera::kRussianLanguage, russian);
  sonvera::DeviceCatalogue english;
  sonvera::loadCatalogue(bytes, "English", english);
  for (const auto& [code, description] : russian.descriptions) {
    sonvera::DeviceDescription copy = description;
    sonvera::deriveCounts(copy);
    russian.extraTables(static_cast<std::uint32_t>(code));
  }
  return 0;
}
