#pragma once
// `sonvera-cli dump FILE [--record N] [--json]`: the decoded values of one
// record of a measurement file.

#include <cstdint>
#include <iosfwd>
#include <string>

namespace CLI {
class App;
}

namespace sonvera::cli {

struct RecordDumpOptions {
  std::string filePath;
  std::string cataloguePath;  // empty: where the program looks for it
  std::uint32_t record = 0;   // counted from 1; 0: the last record
  bool json = false;
};

// Registers the subcommand on `app`, filling `options` when it is parsed.
CLI::App* addDumpCommand(CLI::App& app, RecordDumpOptions& options);

int dumpRecord(const RecordDumpOptions& options, std::ostream& out, std::ostream& err);

}  // namespace sonvera::cli
