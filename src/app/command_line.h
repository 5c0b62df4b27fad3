#pragma once
// The program's command line: splitting one command-line string (for platforms
// that deliver it whole) and sorting the arguments into settings files and the
// one measurement file.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace sonvera {

// A command line cut into arguments. Quotation marks group words (spaces
// between them survive, the marks are removed); only spaces separate.
class CommandLineArgs {
 public:
  // `commandLine` is the command line without the program name.
  explicit CommandLineArgs(std::u16string_view commandLine);

  std::uint32_t argc() const { return static_cast<std::uint32_t>(argv_.size()); }
  // Slot 0 is an empty entry standing for the program.
  const std::vector<std::u16string>& argv() const { return argv_; }

 private:
  std::vector<std::u16string> argv_;
};

// True when the argument names a settings file: its last "." is at position 1
// or later, after the last path separator, and the rest is ".cfg" in any case.
bool isSettingsFileArgument(std::string_view argument);

struct StartupStep {
  enum class Kind { LoadSettings, OpenMeasurementFile };
  Kind kind;
  std::string path;
  bool operator==(const StartupStep&) const = default;
};

struct StartupPlan {
  std::vector<StartupStep> steps;  // in command-line order
  // No measurement file was given: ask for one as soon as the window shows.
  bool askForFile = true;
};

// What to do with the arguments (program name excluded): settings files in
// order, the first other argument opened, later ones ignored.
StartupPlan planStartup(const std::vector<std::string>& arguments);

// The text to print instead of opening the window when the one argument is
// "--version" or "--help" (or "-h"); empty otherwise. A file by such a name
// is opened as "./--version".
std::string informationRequest(const std::vector<std::string>& arguments);

}  // namespace sonvera
