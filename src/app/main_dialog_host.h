#pragma once
// What the main dialog logic needs from a window system (or from the command
// line, or from a test script): messages, file choice, the dialogs around it,
// the remembered folders, and delivery of export progress.

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "app/profile.h"
#include "export/cell_table.h"
#include "export/export_item.h"
#include "export/result_table.h"
#include "export/statistics_settings.h"

namespace sonvera {

class MainDialog;

class MainDialogHost {
 public:
  virtual ~MainDialogHost() = default;

  // A message box with the application's name as caption and an OK button.
  virtual void showMessage(const std::string& text) = 0;
  // A message about one file: `detail` ("path: reason") says which file and
  // why. The window shows the message alone; the command line prints both.
  virtual void showDetailedMessage(const std::string& text, const std::string& /*detail*/) { showMessage(text); }
  // The same with Yes and No; true for Yes.
  virtual bool askYesNo(const std::string& text) = 0;

  // File dialogs, starting in `folder`; nothing when cancelled.
  virtual std::optional<std::string> chooseMeasurementFile(const std::string& folder) = 0;
  virtual std::optional<std::string> chooseResultFile(const std::string& folder, const std::string& proposedName) = 0;
  virtual std::optional<std::string> chooseSettingsFile(bool forLoading, const std::string& folder) = 0;

  // The parameter selection dialog on the dialog's open file; nothing on cancel.
  virtual std::optional<ExportItem> chooseExportItem(const MainDialog& dialog,
                                                     const std::optional<ExportItem>& initial) = 0;
  // The statistics dialog; nothing on cancel.
  virtual std::optional<StatisticsSettings> editStatistics(const StatisticsSettings& current) = 0;

  // Export progress in whole percent, -1 at the end. Called on the worker's
  // thread: the host hands it over to its own thread.
  virtual void postProgress(int percent) = 0;

  virtual Profile& profile() = 0;

  // Makes the tables of a workbook result (".xlsx"); empty where this build
  // writes no workbooks.
  virtual std::function<std::unique_ptr<ResultTable>()> workbookTables() const { return {}; }
  // Writes tables as the sheets of one workbook; empty likewise.
  virtual CellWorkbookWriter cellWorkbooks() const { return {}; }
};

}  // namespace sonvera
