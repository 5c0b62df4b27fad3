#pragma once
// `sonvera-cli export FILE -o RESULT [-s SETTINGS.cfg]... [options]`: the
// export of the window, driven through the same dialog logic.

#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

#include "dialog_options.h"

namespace CLI {
class App;
}

namespace sonvera::cli {

struct ExportOptions {
  std::vector<std::string> filePaths;  // one, or several with outputDir
  std::string resultPath;
  std::optional<std::string> outputDir;  // each result named as the save dialog proposes it
  unsigned jobs = 0;                     // files exported at once; 0: one per processor
  std::optional<std::string> encoding;   // "cp1251" or "utf-8"
  std::string cataloguePath;
  std::vector<std::string> settingsFiles;
  RangeOptions range;
  bool all = false;
  bool yes = false;
  std::optional<std::string> separator;
  bool decimalComma = false;
  bool recordNumber = false;
  bool dateTime = false;
  bool linear = false;
  bool shortNames = false;
  bool sourceInfo = false;
  std::optional<std::string> comment;
  std::optional<std::string> split;
  std::optional<std::string> decimate;
  std::optional<std::string> stats;
  std::optional<std::string> saveSettings;
  bool progress = false;  // a bar on standard error (set when it is a terminal)
};

CLI::App* addExportCommand(CLI::App& app, ExportOptions& options);

// 0 done, 1 after a message of the program (with several files: when any
// failed), 2 usage error, 130 stopped by Ctrl+C.
int runExportCommand(const ExportOptions& options, std::ostream& out, std::ostream& err);

}  // namespace sonvera::cli
