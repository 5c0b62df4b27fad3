#include "app/command_line.h"

#include <algorithm>

#include "app/strings.h"
#include "base/path_text.h"

namespace sonvera {
namespace {

constexpr char16_t kQuote = u'"';
constexpr char16_t kSpace = u' ';
// Stands in for a quoted space while the line is split.
constexpr char16_t kMarker = u'\xFFFF';

}  // namespace

CommandLineArgs::CommandLineArgs(std::u16string_view commandLine) {
  std::u16string buffer(commandLine);
  argv_.emplace_back();

  for (auto open = buffer.find(kQuote); open != std::u16string::npos; open = buffer.find(kQuote)) {
    const auto close = buffer.find(kQuote, open + 1);
    if (close == std::u16string::npos) break;  // an unmatched quote stays as it is
    std::replace(buffer.begin() + static_cast<std::ptrdiff_t>(open) + 1,
                 buffer.begin() + static_cast<std::ptrdiff_t>(close), kSpace, kMarker);
    buffer.erase(close, 1);
    buffer.erase(open, 1);
  }

  std::size_t start = 0;
  for (auto space = buffer.find(kSpace, start); space != std::u16string::npos;
       space = buffer.find(kSpace, start)) {
    argv_.push_back(buffer.substr(start, space - start));
    start = buffer.find_first_not_of(kSpace, space);
    if (start == std::u16string::npos) start = buffer.size();
  }
  if (start < buffer.size()) argv_.push_back(buffer.substr(start));

  for (auto& argument : argv_) std::replace(argument.begin(), argument.end(), kMarker, kSpace);
}

bool isSettingsFileArgument(std::string_view argument) {
  std::string lower(argument);
  std::transform(lower.begin(), lower.end(), lower.begin(), [](char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
  });
  const auto dot = extensionDot(lower);
  return dot != std::string::npos && lower.substr(dot) == ".cfg";
}

StartupPlan planStartup(const std::vector<std::string>& arguments) {
  StartupPlan plan;
  for (const auto& argument : arguments) {
    if (isSettingsFileArgument(argument)) {
      plan.steps.push_back({StartupStep::Kind::LoadSettings, argument});
    } else if (plan.askForFile) {
      plan.steps.push_back({StartupStep::Kind::OpenMeasurementFile, argument});
      plan.askForFile = false;
    }
  }
  return plan;
}

std::string informationRequest(const std::vector<std::string>& arguments) {
  if (arguments.size() != 1) return {};
  const std::string version = "sonvera " + versionNumber() + "\n";
  if (arguments[0] == "--version") return version;
  if (arguments[0] != "--help" && arguments[0] != "-h") return {};
  return version +
         "Usage: sonvera [SETTINGS.cfg ...] [MEASUREMENT-FILE] [SETTINGS.cfg ...]\n"
         "Opens the measurement file (*.bin, *.dcr, *.msr) in the window after applying the settings\n"
         "files in order; without a measurement file the open-file dialog comes up at once.\n"
         "The command-line tool sonvera-cli exports without a window.\n";
}

}  // namespace sonvera
