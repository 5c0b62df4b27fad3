#pragma once
// The one catalogue of the running program, loaded once at start-up.

#include <string>

#include "catalogue/device_catalogue.h"

namespace sonvera {

// Read-only after loadProcessCatalogue(); empty before it.
const DeviceCatalogue& processCatalogue();

// Loads the catalogue at `path` (default: where the program looks for it) for
// the Russian language. False when it is missing or unusable.
bool loadProcessCatalogue(const std::string& path = {});

}  // namespace sonvera
