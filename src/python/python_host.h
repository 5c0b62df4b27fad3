#pragma once
// The main dialog's host for the Python module: nobody sits at the window, so
// messages are collected for the exception the call raises, questions get the
// answer the call gave, and the save dialog "chooses" the result named in it.

#include <atomic>
#include <optional>
#include <string>
#include <vector>

#include "app/main_dialog_host.h"
#include "xlsx/workbook_tables.h"

namespace sonvera::python {

// What the program told the user: its own message, and "path: reason" where it names a file.
struct Refusal {
  std::string message;
  std::string detail;
  std::string path;  // the file the call was about
};

class PythonHost : public MainDialogHost {
 public:
  void showMessage(const std::string& text) override { messages.push_back({text, {}, {}}); }
  void showDetailedMessage(const std::string& text, const std::string& detail) override {
    messages.push_back({text, detail, {}});
  }
  bool askYesNo(const std::string& text) override;
  std::optional<std::string> chooseMeasurementFile(const std::string&) override { return std::nullopt; }
  std::optional<std::string> chooseResultFile(const std::string&, const std::string&) override { return resultPath; }
  std::optional<std::string> chooseSettingsFile(bool, const std::string&) override { return std::nullopt; }
  std::optional<ExportItem> chooseExportItem(const MainDialog&, const std::optional<ExportItem>&) override {
    return std::nullopt;
  }
  std::optional<StatisticsSettings> editStatistics(const StatisticsSettings&) override { return std::nullopt; }
  // Called on the export's worker thread.
  void postProgress(int percent) override {
    if (percent < 0) ended = true;
  }
  Profile& profile() override { return profile_; }
  std::function<std::unique_ptr<ResultTable>()> workbookTables() const override { return workbookTablesOfThisBuild(); }

  // The first message shown, as the exception to raise about `path`; a plain
  // "not done" when the dialog refused without a message.
  Refusal refusal(const std::string& path, const char* whatFailed) const;

  bool yes = false;                       // the answer to every question
  std::optional<std::string> resultPath;  // what the save dialog "chooses"
  std::atomic<bool> ended{false};         // the export's worker reported its end
  std::vector<Refusal> messages;

 private:
  MemoryProfile profile_;
};

}  // namespace sonvera::python
