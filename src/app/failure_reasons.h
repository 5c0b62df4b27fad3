#pragma once
// Why a file could not be used, in a few words: the second line the command
// line prints under the program's own message, so that a user learns which
// file failed and why. The window keeps its messages as they are.

#include <cstdint>
#include <span>
#include <string>

#include "catalogue/device_catalogue.h"
#include "measurement/measurement_file.h"
#include "platform/platform.h"

namespace sonvera {

// "нет такого файла", "это папка", "нет доступа", ...
const char* fileProblemText(platform::FileProblem problem);

// A file that could not be opened for reading, or created for writing.
std::string readFailureReason(const std::string& path);
std::string writeFailureReason(const std::string& path);

// A measurement file that did not open with `result`: the system's reason,
// or what the file is instead (empty, too short, a settings file, a type the
// catalogue lacks).
std::string measurementFailureReason(const DeviceCatalogue& catalogue, const std::string& path, OpenResult result);

// A settings file whose bytes did not decode.
std::string settingsFailureReason(std::span<const std::uint8_t> bytes);

// A catalogue that could not be loaded from `path`.
std::string catalogueFailureReason(const std::string& path);

}  // namespace sonvera
