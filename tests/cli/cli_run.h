#pragma once
// Runs sonvera-cli in the test's process and keeps what it printed.

#include <sstream>
#include <string>
#include <vector>

#include "cli_app.h"

namespace sonvera::test {

struct CliRun {
  int code = 0;
  std::string out, err;
};

// `args` without the program name.
inline CliRun runCli(std::vector<std::string> args) {
  args.insert(args.begin(), "sonvera-cli");
  std::vector<const char*> argv;
  for (const auto& a : args) argv.push_back(a.c_str());
  std::ostringstream out, err;
  const int code = cli::runCli(static_cast<int>(argv.size()), argv.data(), out, err);
  return {code, out.str(), err.str()};
}

}  // namespace sonvera::test
