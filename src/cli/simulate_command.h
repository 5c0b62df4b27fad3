#pragma once
// `sonvera-cli simulate`: writes a realistic sample measurement file for a
// type of the catalogue.

#include <cstdint>
#include <iosfwd>
#include <string>

namespace CLI {
class App;
}

namespace sonvera::cli {

struct SimulateOptions {
  std::string cataloguePath;  // empty: where the program looks for it
  int typeCode = -1;
  std::string variant = "self";  // self, paired or legacy
  std::uint32_t records = 0;
  std::uint32_t stepSeconds = 1;
  std::string start = "2024-05-17 00:00:00";
  std::uint32_t seed = 1;
  int modelCode = -1;  // -1: the catalogue's first model
  std::string outputPath;
};

CLI::App* addSimulateCommand(CLI::App& app, SimulateOptions& options);

int simulate(const SimulateOptions& options, std::ostream& out, std::ostream& err);

}  // namespace sonvera::cli
