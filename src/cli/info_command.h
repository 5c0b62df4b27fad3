#pragma once
// `sonvera-cli info FILE [--json]`: the summary the main dialog shows.

#include <iosfwd>
#include <string>

namespace CLI {
class App;
}

namespace sonvera::cli {

struct InfoOptions {
  std::string filePath;
  std::string cataloguePath;
  bool json = false;
};

CLI::App* addInfoCommand(CLI::App& app, InfoOptions& options);
int showInfo(const InfoOptions& options, std::ostream& out, std::ostream& err);

}  // namespace sonvera::cli
