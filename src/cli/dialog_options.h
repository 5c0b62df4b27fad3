#pragma once
// What the commands that drive the main dialog share: Ctrl+C that stops the
// work instead of the program, and the options of the processing range.

#include <atomic>

#include "app/export_options.h"

namespace CLI {
class App;
}

namespace sonvera::cli {

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

// --from, --to and --by-time.
void addRangeOptions(CLI::App& command, RangeRequest& range);

}  // namespace sonvera::cli
