#include "export_command.h"

#include <CLI/CLI.hpp>
#include <atomic>
#include <chrono>
#include <csignal>
#include <ostream>
#include <thread>

#include "app/main_dialog.h"
#include "cli_host.h"
#include "export/result_writer.h"
#include "export_options.h"

namespace sonvera::cli {
namespace {

std::atomic<bool> interrupted{false};
std::atomic<bool> workerEnded{false};

void onInterrupt(int) { interrupted = true; }

int usage(std::ostream& err, const char* message) {
  err << message << "\n";
  return 2;
}

// The host of an export: progress reaches the waiting main thread.
class ExportHost : public CliHost {
 public:
  using CliHost::CliHost;
  void postProgress(int percent) override {
    CliHost::postProgress(percent);
    if (percent < 0) workerEnded = true;
  }
};

}  // namespace

CLI::App* addExportCommand(CLI::App& app, ExportOptions& o) {
  auto* c = app.add_subcommand("export", "write the chosen values of a measurement file as delimited text");
  c->add_option("FILE", o.filePath, "measurement file")->required();
  c->add_option("-o,--output", o.resultPath, "result file, as chosen in the save dialog (without it, only --save-settings)");
  c->add_option("-s,--settings", o.settingsFiles, "settings file (*.cfg) loaded before the options; repeatable");
  c->add_option("--from", o.from, "start of the range (record number from 1, or a time with --by-time)");
  c->add_option("--to", o.to, "end of the range");
  c->add_flag("--by-time", o.byTime, "the range is given as times in the file's form");
  c->add_flag("--all", o.all, "unload every value group, as the button \"Все\" does");
  c->add_flag("--yes", o.yes, "answer Yes to the question about more than 200 files");
  c->add_option("--separator", o.separator, "semicolon, tab or space");
  c->add_flag("--decimal-comma", o.decimalComma, "decimal comma instead of point");
  c->add_flag("--record-number", o.recordNumber, "write the record number column");
  c->add_flag("--datetime", o.dateTime, "write the date and time columns");
  c->add_flag("--linear", o.linear, "results in linear units");
  c->add_flag("--short-names", o.shortNames, "abbreviated column names");
  c->add_flag("--source-info", o.sourceInfo, "write the information file about the source");
  c->add_option("--comment", o.comment, "comment of the information file");
  c->add_option("--split", o.split, "new file every N minutes or records: Nmin or Nrec");
  c->add_option("--decimate", o.decimate, "keep every N seconds or records: Nsec or Nrec, optionally :avg or :max");
  c->add_option("--stats", o.stats, "statistics, e.g. min,max,leq,le,n75,L10,L50,L90");
  c->add_option("--save-settings", o.saveSettings, "write the resulting settings to this file (*.cfg)");
  return c;
}

int runExportCommand(const ExportOptions& o, std::ostream& out, std::ostream& err) {
  if (o.resultPath.empty() && !o.saveSettings) return usage(err, "export needs -o RESULT (or --save-settings FILE.cfg)");
  std::optional<SplitOption> split;
  std::optional<DecimationOption> decimation;
  std::optional<int> separator;
  std::optional<StatisticsForm> statistics;
  if (o.split && !(split = parseSplit(*o.split))) return usage(err, "--split takes Nmin or Nrec");
  if (o.decimate && !(decimation = parseDecimation(*o.decimate)))
    return usage(err, "--decimate takes Nsec or Nrec, optionally with :avg or :max");
  if (o.separator && !(separator = parseSeparator(*o.separator)))
    return usage(err, "--separator takes semicolon, tab or space");
  if (o.stats && !(statistics = parseStatistics(*o.stats)))
    return usage(err, "--stats takes min, max, leq, le, nT and up to six Lp, separated by commas");

  DeviceCatalogue catalogue;
  if (!loadCliCatalogue(o.cataloguePath, catalogue, err)) return 1;
  ExportHost host(err);
  host.yes = o.yes;
  host.resultPath = o.resultPath;
  host.showProgress = o.progress;
  MainDialog dialog(catalogue, host);

  if (!dialog.openFile(o.filePath)) return 1;
  for (const auto& settings : o.settingsFiles) {
    dialog.loadSettingsFile(settings);
    if (host.messageCount > 0) return 1;
  }

  MainDialogState& s = dialog.editableState();
  if (o.from) s.rangeFrom = *o.from;
  if (o.to) s.rangeTo = *o.to;
  if (o.byTime) {
    s.rangeInRecords = false;
    s.rangeUnits.clear();
    if (!o.from || !o.to) {  // the whole file, in time form
      dialog.switchRangeMode(false);
      if (o.from) s.rangeFrom = *o.from;
      if (o.to) s.rangeTo = *o.to;
    }
  }
  if (o.all) dialog.addAllExportItems();
  if (separator) s.valueSeparator = *separator;
  if (o.decimalComma) s.decimalSeparator = 1;
  if (o.recordNumber) s.recordNumber = 1;
  if (o.dateTime) s.recordTime = 1;
  if (o.linear) s.linearUnits = 1;
  if (o.shortNames) s.shortNames = 1;
  if (o.sourceInfo) s.sourceInfo = 1;
  if (o.comment) s.comment = *o.comment;
  if (split) {
    s.split = true;
    s.splitPeriod = split->count;
    s.splitByRecords = split->byRecords;
  }
  if (decimation) {
    s.decimate = true;
    s.decimationStep = decimation->count;
    s.decimateByRecords = decimation->byRecords;
    s.averaging = decimation->average;
    s.maxima = decimation->maximum;
  }
  if (statistics && !dialog.acceptStatistics(*statistics)) return 1;
  if (o.saveSettings && !dialog.saveSettingsFile(*o.saveSettings)) return 1;
  if (o.resultPath.empty()) return 0;

  workerEnded = false;
  interrupted = false;
  const auto previous = std::signal(SIGINT, onInterrupt);
  const bool started = dialog.startExport();
  while (started && !workerEnded && !interrupted) std::this_thread::sleep_for(std::chrono::milliseconds(20));
  if (interrupted) dialog.stopExport();  // as "Отмена": the files are completed
  const auto outcome = dialog.finishExport();
  std::signal(SIGINT, previous);
  if (!started) return 1;
  if (interrupted) {
    err << "Остановлено\n";
    return 130;
  }
  if (!outcome || !outcome->succeeded()) return 1;
  const ExportSettings& e = dialog.exportSettings();
  out << dataFileName(e.resultBase, e.resultExtension, e.splitEnabled, 1);
  if (outcome->dataFiles > 1) out << " ... " << dataFileName(e.resultBase, e.resultExtension, true, outcome->dataFiles);
  out << ": " << outcome->recordsHandled << " records\n";
  return 0;
}

}  // namespace sonvera::cli
