#pragma once
// `sonvera-cli export FILE -o RESULT [-s SETTINGS.cfg]... [options]`: the
// export of the window, driven through the same dialog logic.

#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

#include "app/export_options.h"

namespace CLI {
class App;
}

namespace sonvera::cli {

struct ExportOptions {
  std::vector<std::string> filePaths;  // one, or several with outputDir
  std::string resultPath;
  std::optional<std::string> outputDir;  // each result named as the save dialog proposes it
  unsigned jobs = 0;                     // files exported at once; 0: one per processor
  std::string cataloguePath;
  bool yes = false;
  bool progress = false;  // a bar on standard error (set when it is a terminal)
  ExportRequest request;  // what the dialog is asked for each file
  // Options parsed into the request after the command line has been read.
  std::optional<std::string> encoding;  // "cp1251" or "utf-8"
  std::optional<std::string> separator;
  std::optional<std::string> split;
  std::optional<std::string> decimate;
  std::optional<std::string> stats;
};

CLI::App* addExportCommand(CLI::App& app, ExportOptions& options);

// 0 done, 1 after a message of the program (with several files: when any
// failed), 2 usage error, 130 stopped by Ctrl+C.
int runExportCommand(const ExportOptions& options, std::ostream& out, std::ostream& err);

}  // namespace sonvera::cli
