#pragma once
// The main dialog's host for the command line: messages go to standard
// error, questions get the answer given on the command line.

#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

#include "app/windowless_host.h"
#include "catalogue/device_catalogue.h"

namespace sonvera::cli {

class CliHost : public WindowlessHost {
 public:
  explicit CliHost(std::ostream& err) : err_(err) {}

  void showMessage(const std::string& text) override;
  void showDetailedMessage(const std::string& text, const std::string& detail) override;
  bool askYesNo(const std::string& text) override;
  void postProgress(int percent) override;
  // A line of the tool's own beside the program's messages (not counted as one).
  void note(const std::string& text);
  std::function<std::unique_ptr<ResultTable>()> workbookTables() const override;
  CellWorkbookWriter cellWorkbooks() const override;

  bool yes = false;             // the answer to every question
  bool showProgress = false;    // a bar on standard error
  int messageCount = 0;

 private:
  std::ostream& err_;
};

// The catalogue the command line reads: the one given, else where the program
// looks for it.
std::string cliCataloguePath(const std::string& given);
// Loads the catalogue for the command line. Prints the program's message,
// the path and why, and returns false when unusable.
bool loadCliCatalogue(const std::string& path, DeviceCatalogue& catalogue, std::ostream& err);
// True (after the message) when `written` names one of the files `reads`.
bool writesOverFileInUse(const std::vector<std::string>& reads, const std::string& written, std::ostream& err);
// The program's message about an unusable catalogue, with its path and `reason`.
void reportCatalogueFailure(const std::string& given, const std::string& reason, std::ostream& err);

}  // namespace sonvera::cli
