#pragma once
// Reading TeleDescFile.bin (versions 0 to 15) into a DeviceCatalogue, keeping
// only the text blocks of one language.

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "catalogue/device_catalogue.h"

namespace sonvera {

constexpr std::uint32_t kCatalogueMagic = 0x44545046;  // "FPTD"
constexpr std::uint32_t kCatalogueLatestVersion = 15;
constexpr std::string_view kCatalogueFileName = "TeleDescFile.bin";
// The language the program always asks for.
constexpr std::string_view kRussianLanguage = "Русский";

// Parses a whole catalogue image. True when the catalogue is usable: the bytes
// are a well-formed catalogue and at least one model has a block in `language`.
// A failed load leaves in `catalogue` what was stored before the failure.
bool loadCatalogue(std::span<const std::uint8_t> bytes, std::string_view language,
                   DeviceCatalogue& catalogue);

// Reads the file at `path` and parses it; false when it cannot be read.
bool loadCatalogueFile(const std::string& path, std::string_view language,
                       DeviceCatalogue& catalogue);

// Where a program whose files lie in `programFolder` and whose installation
// keeps its data in `dataFolder` (may be empty) looks for its catalogue:
// $SONVERA_CATALOGUE when set and not empty, else TeleDescFile.bin in
// `programFolder`, else the one in `dataFolder` when there is one there.
// Without any, the path in `programFolder` (for the message). Folders end in
// a separator.
std::string cataloguePathFor(const std::string& programFolder, const std::string& dataFolder);
// The same for the running executable and the installation's data folder.
std::string defaultCataloguePath();

}  // namespace sonvera
