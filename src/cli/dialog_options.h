#pragma once
// What the commands that drive the main dialog share: Ctrl+C that stops the
// work instead of the program, opening the file with its settings files as
// the window does, and the processing range of --from/--to [--by-time].

#include <atomic>
#include <optional>
#include <string>
#include <vector>

namespace CLI {
class App;
}

namespace sonvera {
class MainDialog;
}

namespace sonvera::cli {

class CliHost;

// Set by Ctrl+C while an InterruptGuard lives.
extern std::atomic<bool> interrupted;

class InterruptGuard {
 public:
  InterruptGuard();
  ~InterruptGuard();
  InterruptGuard(const InterruptGuard&) = delete;
  InterruptGuard& operator=(const InterruptGuard&) = delete;

 private:
  void (*previous_)(int);
};

// Opens the file in the dialog, then loads the settings files in order;
// false once any of them has given a message.
bool openWithSettings(MainDialog& dialog, const CliHost& host, const std::string& filePath,
                      const std::vector<std::string>& settingsFiles);

struct RangeOptions {
  std::optional<std::string> from, to;
  bool byTime = false;
};
void addRangeOptions(CLI::App& command, RangeOptions& range);

// The range fields as the options give them (times in the forms users type
// them). False when a time could not stand for a time of the file; the
// dialog then refuses it and noteTimeForms says which forms it takes.
bool applyRange(const RangeOptions& range, MainDialog& dialog);
void noteTimeForms(const MainDialog& dialog, CliHost& host);

}  // namespace sonvera::cli
