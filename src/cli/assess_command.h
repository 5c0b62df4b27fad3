#pragma once
// `sonvera-cli assess FILE [-s CFG]... [--entry N] [--from X --to Y [--by-time]]
// [--interval MIN] [--periods D,E,N] [--penalties D,E,N] [--threshold DB]
// [--gap S] [--min-duration S] [--exclude WHAT] [--json] [-o RESULT]`: the
// noise assessment of the window, driven through the same dialog logic.

#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

#include "app/assessment_request.h"
#include "dialog_options.h"

namespace CLI {
class App;
}

namespace sonvera::cli {

struct AssessOptions {
  std::string filePath;
  std::string cataloguePath;
  AssessmentRequest request;
  bool json = false;
  std::string resultPath;
  bool progress = false;  // a bar on standard error
};

CLI::App* addAssessCommand(CLI::App& app, AssessOptions& options);

// 0 done, 1 after a message of the program, 2 usage error, 130 stopped by Ctrl+C.
int runAssessCommand(const AssessOptions& options, std::ostream& out, std::ostream& err);

}  // namespace sonvera::cli
