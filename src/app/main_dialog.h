#pragma once
// The behaviour of the main dialog without a window system: it owns the open
// measurement file, the options, the export lists and the running export, and
// reaches the user only through its host.

#include <string>
#include <vector>

#include "app/export_list.h"
#include "app/file_summary.h"
#include "app/main_dialog_host.h"
#include "app/main_dialog_state.h"
#include "app/statistics_dialog.h"
#include "app/strings.h"
#include "catalogue/device_catalogue.h"
#include "export/export_item.h"
#include "export/export_runner.h"
#include "export/export_settings.h"
#include "export/export_worker.h"
#include "export/files_in_use.h"
#include "export/statistics_settings.h"
#include "measurement/measurement_file.h"

namespace sonvera {

class MainDialog {
 public:
  MainDialog(const DeviceCatalogue& catalogue, MainDialogHost& host);
  ~MainDialog();
  MainDialog(const MainDialog&) = delete;
  MainDialog& operator=(const MainDialog&) = delete;

  const MainDialogState& state() const { return state_; }
  MainDialogState& editableState() { return state_; }  // the window writes what the user typed
  const MeasurementFile& file() const { return file_; }
  const DeviceCatalogue& catalogue() const { return catalogue_; }
  std::uint16_t deviceType() const { return file_.values.typeCode; }
  // What the last successful open found (its step is empty when none was written).
  const FileSummary& summary() const { return summary_; }

  // Settings files and the measurement file of the command line, in order.
  // True when the window should ask for a file at once.
  bool processCommandLine(const std::vector<std::string>& arguments);
  // Files dropped onto the window: settings files and the first measurement
  // file, applied in order as on the command line.
  void dropFiles(const std::vector<std::string>& paths) { processCommandLine(paths); }

  // "Открыть файл": asks for a file and opens it.
  void openFileCommand();
  // Opens a file as the command does after the file dialog; false on failure
  // (the message has been shown and no file is open).
  bool openFile(const std::string& path);

  // The chart of the processing range: the export-list entry `entry` (all
  // entries without one). Nothing after a message when no file is open, the
  // list is empty or the range is wrong.
  std::optional<ExportJob> chartJob(std::optional<std::size_t> entry);
  // The noise assessment of the processing range: the first column of the
  // export-list entry `entry`, of the first entry without one. Nothing after
  // a message, as for the chart.
  std::optional<ExportJob> assessmentJob(std::optional<std::size_t> entry);
  // "Взять диапазон" of the chart: the shown span into 1036/1037, as times
  // with 1038 cleared (as record numbers with 1038 set when the chart is over
  // record numbers).
  void takeChartRange(double from, double to, bool times);

  // Check box 1038 has just been set (records) or cleared (times): the two
  // range fields are converted to the other form, or emptied.
  void switchRangeMode(bool inRecords);

  // Settings files: "Сохранить настройки", "Загрузить настройки", and the
  // loading of one file (also for the command line). Each reports its own errors.
  void saveSettingsCommand();
  void loadSettingsCommand();
  // False (after the message) when the file could not be applied.
  bool loadSettingsFile(const std::string& path);
  // Writes the settings to `path`; false (after the message) when it fails.
  bool saveSettingsFile(const std::string& path);

  // "Настройка" of the statistics, or a double-click on its summary.
  void openStatistics();
  const StatisticsSettings& statistics() const { return statistics_; }
  // OK of the statistics dialog on these texts and boxes: false after its
  // message (144 or 145), the settings unchanged.
  bool acceptStatistics(const StatisticsForm& form);

  // Averaging and maxima exclude each other: a click on one clears the other.
  void clickAveraging(bool checked);
  void clickMaxima(bool checked);

  // Export-list commands on the list of the current device type; they do
  // nothing while no file is open.
  void addExportItem();
  void addAllExportItems();
  void moveExportItemUp();
  void moveExportItemDown();
  void deleteExportItem();
  void clearExportList();
  void editExportItem();  // double-click on the selected line
  void selectExportLine(std::optional<std::size_t> line) { state_.exportListSelection = line; }

  const ExportLists& exportLists() const { return lists_; }

  // A file the exports of this dialog must not replace besides its own
  // (the other sources of a batch, a settings file just written).
  void addFileInUse(const std::string& path) { otherFilesInUse_.add(path); }
  void addFilesInUse(const FilesInUse& files) { otherFilesInUse_.add(files); }

  // The save dialog of result files in the remembered folder, offering the
  // open file's name; the folder chosen is remembered.
  std::optional<std::string> chooseResultPath();
  // Messages, file dialogs and the profile, for the windows the dialog opens.
  MainDialogHost& host() { return host_; }

  // Before the dialog's other windows write a file (a chart image, an
  // assessment's results): false after the message when one of `paths` is a
  // file in use or two of them are one file.
  bool mayWrite(const std::vector<std::string>& paths) { return refuseClash(filesInUse(true), paths); }

  // "Создать файл результата": checks the options in their fixed order (one
  // message per fault), resolves the range, asks for the result path and
  // starts the worker. True when an export was started.
  bool startExport();
  // The settings of the last export started.
  const ExportSettings& exportSettings() const { return exportSettings_; }

  // Runs the stop-and-join of a running export ("Отмена", a new export, a new
  // file, the end of the program).
  void stopExport() { runner_.stopAndJoin(); }
  // After the worker reported its end (progress -1): joins it and returns how
  // it went; nothing when no export was started since the last call. A failed
  // export has shown its message.
  std::optional<ExportOutcome> finishExport();
  // A progress value of -1 reached the dialog's thread. True when it ends the
  // latest export: one stopped for a new export reports its end after the new
  // one has started, and must not hide the new one's progress.
  bool exportEndArrived();
  // An export was started and its end has not been handled yet.
  bool exportRunning() const { return exportStarted_ || endsPending_ > 0; }

 private:
  bool openInMainDialog(const std::string& path);
  void fillCalibrationList();
  void resetRangeToRecords();
  void refreshExportList();
  ExportListContext exportListContext();
  void showExportList(const std::optional<ExportListView>& view);
  void refreshStatisticsSummary();
  bool refuse(StringId message);
  // Why the export list is empty when settings were loaded for other types
  // only; empty otherwise.
  std::string emptyListDetail() const;
  // The files an export reads: the measurement file, the catalogue, the
  // settings files loaded, and those added; without settings files for a
  // command that writes settings.
  FilesInUse filesInUse(bool withSettingsFiles) const;
  // False after the message when a path of `written` is a file in use or
  // another path of `written`.
  bool refuseClash(const FilesInUse& inUse, const std::vector<std::string>& written);
  // How many parts the export of `e` writes, as far as it is known before it
  // runs (the worker checks every later part as it creates it).
  unsigned plannedParts(const ExportSettings& e) const;
  // The range of 1036/1037 as records from 0; false after the message.
  bool processingRange(std::uint32_t& first, std::uint32_t& last);
  // A job over the processing range of `items` (linear units as the option
  // says), for the chart and the assessment; nothing after a message.
  std::optional<ExportJob> rangeJob(std::vector<ExportItem> items);
  // Stores the folder of a path the user chose under the profile key.
  void rememberFolder(const char* key, const std::string& path);
  std::optional<std::string> chooseSettingsPath(bool forLoading);
  // The save direction of the data exchange: radio groups without a checked
  // radio read -1, check boxes 0 or 1.
  void exchangeFromControls();

  const DeviceCatalogue& catalogue_;
  MainDialogHost& host_;
  MainDialogState state_;
  std::string baseTitle_;
  MeasurementFile file_;
  FileSummary summary_;
  std::vector<std::uint8_t> recordBuffer_;  // for the dialog thread's own reads
  std::vector<std::string> settingsFilesRead_;
  FilesInUse otherFilesInUse_;
  ExportLists lists_;
  StatisticsSettings statistics_;
  ExportSettings exportSettings_;
  ExportOutcome outcome_;  // written by the worker, read after the join
  bool exportStarted_ = false;
  int endsPending_ = 0;  // exports whose -1 has not reached the dialog's thread
  ExportRunner runner_;
};

}  // namespace sonvera
