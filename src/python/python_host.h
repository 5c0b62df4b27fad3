#pragma once
// The main dialog's host for the Python module: messages are collected for the
// exception the call raises, questions get the answer the call gave.

#include <string>
#include <vector>

#include "app/windowless_host.h"
#include "xlsx/workbook_tables.h"

namespace sonvera::python {

// What the program told the user: its own message, and "path: reason" where it names a file.
struct Refusal {
  std::string message;
  std::string detail;
  std::string path;  // the file the call was about
};

class PythonHost : public WindowlessHost {
 public:
  void showMessage(const std::string& text) override { messages.push_back({text, {}, {}}); }
  void showDetailedMessage(const std::string& text, const std::string& detail) override {
    messages.push_back({text, detail, {}});
  }
  bool askYesNo(const std::string& text) override;
  std::function<std::unique_ptr<ResultTable>()> workbookTables() const override { return workbookTablesOfThisBuild(); }
  CellWorkbookWriter cellWorkbooks() const override { return cellWorkbooksOfThisBuild(); }

  // The first message shown, as the exception to raise about `path`; a plain
  // "not done" when the dialog refused without a message.
  Refusal refusal(const std::string& path, const char* whatFailed) const;

  bool yes = false;  // the answer to every question
  std::vector<Refusal> messages;
};

}  // namespace sonvera::python
