#include "export_command.h"

#include <CLI/CLI.hpp>
#include <algorithm>
#include <atomic>
#include <chrono>
#include <functional>
#include <mutex>
#include <optional>
#include <ostream>
#include <sstream>
#include <thread>

#include "app/failure_reasons.h"
#include "app/main_dialog.h"
#include "app/scripted_export.h"
#include "app/profile.h"
#include "app/strings.h"
#include "app/typed_time.h"
#include "base/path_text.h"
#include "base/printf_text.h"
#include "batch_progress.h"
#include "cli_host.h"
#include "dialog_options.h"
#include "export/files_in_use.h"
#include "export/result_writer.h"
#include "platform/platform.h"

namespace sonvera::cli {
namespace {

int usage(std::ostream& err, const char* message) {
  err << message << "\n";
  return 2;
}

// The host of an export: progress reaches the waiting thread; with an output
// folder the save dialog "chooses" the name it proposes there.
class ExportHost : public CliHost {
 public:
  using CliHost::CliHost;
  void postProgress(int percent) override {
    CliHost::postProgress(percent);
    if (onProgress && percent >= 0) onProgress(percent);
  }
  std::optional<std::string> chooseResultFile(const std::string& folder, const std::string& proposed) override {
    if (!outputDir) return CliHost::chooseResultFile(folder, proposed);
    std::string path = *outputDir;
    if (!path.empty() && kPathSeparators.find(path.back()) == std::string_view::npos) path += '/';
    path += proposed;
    if (claim) {
      if (const auto other = claim(path)) {
        showMessage(printfText(text(StringId::SameResultFile), path.c_str(), other->c_str()));
        return std::nullopt;
      }
    }
    return path;
  }

  std::optional<std::string> outputDir;
  // The result of another file of the run that is the same file, if any.
  std::function<std::optional<std::string>(const std::string&)> claim;
  std::function<void(int)> onProgress;            // a batch's bar
};

}  // namespace

CLI::App* addExportCommand(CLI::App& app, ExportOptions& o) {
  auto* c = app.add_subcommand("export", "write the chosen values of a measurement file as delimited text");
  c->add_option("FILE", o.filePaths, "measurement file; several with --output-dir")->required();
  c->add_option("-o,--output", o.resultPath, "result file, as chosen in the save dialog (without it, only --save-settings)");
  c->add_option("--output-dir", o.outputDir, "export every FILE into this folder, each named as the save dialog proposes");
  c->add_option("--jobs", o.jobs, "files exported at once with --output-dir (default: one per processor)")
      ->check(CLI::Range(1u, 256u));
  c->add_option("--encoding", o.encoding, "text of the results: cp1251 (default) or utf-8 (with byte-order mark)");
  c->add_option("-s,--settings", o.request.settingsFiles, "settings file (*.cfg) loaded before the options; repeatable");
  addRangeOptions(*c, o.request.range);
  c->add_flag("--all", o.request.all, "unload every value group, as the button \"Все\" does");
  c->add_flag("--yes", o.yes, "answer Yes to the question about more than 200 files");
  c->add_option("--separator", o.separator, "semicolon, tab or space");
  c->add_flag("--decimal-comma", o.request.decimalComma, "decimal comma instead of point");
  c->add_flag("--record-number", o.request.recordNumber, "write the record number column");
  c->add_flag("--datetime", o.request.dateTime, "write the date and time columns");
  c->add_flag("--linear", o.request.linear, "results in linear units");
  c->add_flag("--short-names", o.request.shortNames, "abbreviated column names");
  c->add_flag("--source-info", o.request.sourceInfo, "write the information file about the source");
  c->add_option("--comment", o.request.comment, "comment of the information file");
  c->add_option("--split", o.split, "new file every N minutes or records: Nmin or Nrec");
  c->add_option("--decimate", o.decimate, "keep every N seconds or records: Nsec or Nrec, optionally :avg or :max");
  c->add_option("--stats", o.stats, "statistics, e.g. min,max,leq,le,n75,L10,L50,L90");
  c->add_option("--save-settings", o.request.saveSettings, "write the resulting settings to this file (*.cfg)");
  return c;
}


namespace {

// How one file's export went.
struct FileRun {
  int code = 1;  // as the command's exit code
  ExportOutcome outcome;
  ExportSettings settings;
  bool started = false;
};

// "r.csv: 86400 records, 1440 lines in 2 files", or with parts
// "r_0001.csv ... r_0024.csv: ...".
std::string resultLine(const FileRun& run) {
  const ExportSettings& e = run.settings;
  const ExportOutcome& o = run.outcome;
  std::string line = dataFileName(e.resultBase, e.resultExtension, e.splitEnabled, 1);
  if (o.dataFiles > 1) line += " ... " + dataFileName(e.resultBase, e.resultExtension, true, o.dataFiles);
  const std::uint32_t files = o.dataFiles + o.informationFiles;
  line += ": " + std::to_string(o.recordsHandled) + " records, " + std::to_string(o.linesWritten) + " lines in " +
          std::to_string(files) + (files == 1 ? " file" : " files");
  return line;
}

// After Ctrl+C: where the result stops and which files end there early.
std::string stoppedText(const FileRun& run) {
  const ExportSettings& e = run.settings;
  const ExportOutcome& o = run.outcome;
  if (o.dataFiles == 0) return "до первой записи; ничего не записано";
  std::string files = dataFileName(e.resultBase, e.resultExtension, e.splitEnabled, o.dataFiles);
  if (o.informationFiles > 0) files += ", " + informationFileName(e.resultBase, e.splitEnabled, o.dataFiles);
  std::string text = "до первой записи";
  if (o.recordsHandled > 0) {
    text = "выгружены записи " + std::to_string(e.firstRecord + 1) + "-" + std::to_string(o.lastRecord + 1) + " из " +
           std::to_string(e.firstRecord + 1) + "-" + std::to_string(e.lastRecord + 1);
    if (o.lastTime.valid()) text += " (до " + o.lastTime.format("%d/%m/%Y %H:%M:%S") + ")";
  }
  return text + "; не доведены до конца диапазона: " + files;
}

// One file through the dialog, as the window would: open, settings files,
// options, statistics, then the export. `inUse`: other files the export must
// not replace (the other sources of a batch).
FileRun exportFile(const ExportOptions& o, const ExportRequest& request, const DeviceCatalogue& catalogue,
                   const std::string& filePath, ExportHost& host, const FilesInUse& inUse = {}) {
  FileRun run;
  MainDialog dialog(catalogue, host);
  dialog.addFilesInUse(inUse);
  if (!dialog.openFile(filePath)) return run;
  bool timesTaken = true;
  if (!applyExportRequest(dialog, request, host.profile(), timesTaken)) return run;
  if (request.saveSettings) host.note("Настройки записаны в " + *request.saveSettings);
  if (o.resultPath.empty() && !o.outputDir) {
    run.code = 0;
    return run;
  }

  if (interrupted) {  // Ctrl+C while the file was being opened: nothing is begun
    run.code = 130;
    return run;
  }
  const ScriptedExport exported = runScriptedExport(dialog, host.ended, [] { return interrupted.load(); });
  run.started = exported.started;
  if (!run.started && !timesTaken) host.note(acceptedTimeForms(dialog.file()));
  run.settings = dialog.exportSettings();
  if (exported.outcome) run.outcome = *exported.outcome;
  if (!run.started) return run;
  if (interrupted) {
    run.code = 130;
    return run;
  }
  run.code = exported.outcome && exported.outcome->succeeded() ? 0 : 1;
  return run;
}

// Every line of a file's messages, named by the file.
void reportFailure(std::ostream& err, const std::string& filePath, const std::string& messages) {
  std::istringstream lines(messages);
  std::string line;
  bool any = false;
  while (std::getline(lines, line)) {
    // A line naming the file already ("path: reason") is not named twice.
    if (line.rfind(filePath + ": ", 0) == 0)
      err << line << "\n";
    else
      err << filePath << ": " << line << "\n";
    any = true;
  }
  if (!any) err << filePath << ": not exported\n";
}

// The records of each file, for the bar of a batch; 0 where a file does not open.
std::vector<std::uint64_t> recordCounts(const DeviceCatalogue& catalogue, const std::vector<std::string>& paths) {
  std::vector<std::uint64_t> counts;
  counts.reserve(paths.size());
  MeasurementFile file;
  for (const std::string& path : paths)
    counts.push_back(openMeasurementFile(catalogue, path, file) == OpenResult::Opened ? file.recordCount : 0);
  return counts;
}

// Several files into one folder, `jobs` at a time; each failure is reported
// with its file and the others go on. No result may replace any source.
int exportBatch(const ExportOptions& o, const ExportRequest& request, const DeviceCatalogue& catalogue,
                std::ostream& out, std::ostream& err) {
  const std::size_t files = o.filePaths.size();
  unsigned jobs = o.jobs > 0 ? o.jobs : std::max(1u, std::thread::hardware_concurrency());
  jobs = static_cast<unsigned>(std::min<std::size_t>(jobs, files));
  std::optional<BatchProgress> bar;
  if (o.progress) {
    std::vector<std::string> names;
    for (const std::string& path : o.filePaths) {
      const auto separator = lastPathSeparator(path);
      names.push_back(separator == std::string::npos ? path : path.substr(separator + 1));
    }
    bar.emplace(std::move(names), recordCounts(catalogue, o.filePaths), stderr);
  }
  std::mutex mutex;  // guards the streams, the counts and the names taken
  WrittenFiles taken;
  FilesInUse sources;  // every source, which no result may replace
  for (const std::string& path : o.filePaths) sources.add(path);
  std::atomic<std::size_t> next{0};
  std::size_t exported = 0, failed = 0;
  std::vector<std::string> stopped;
  const auto work = [&] {
    for (std::size_t i = next++; i < files && !interrupted; i = next++) {
      const std::string& filePath = o.filePaths[i];
      std::ostringstream fileErr;
      ExportHost host(fileErr);
      host.yes = o.yes;
      host.outputDir = o.outputDir;
      host.claim = [&](const std::string& path) -> std::optional<std::string> {
        const std::lock_guard lock(mutex);
        const std::string* other = taken.claim(path);
        return other ? std::optional<std::string>(*other) : std::nullopt;
      };
      if (bar) {
        bar->started(i);
        host.onProgress = [&bar, i](int percent) { bar->progress(i, percent); };
      }
      const FileRun run = exportFile(o, request, catalogue, filePath, host, sources);
      if (bar) bar->finished(i);
      const std::lock_guard lock(mutex);
      if (bar) bar->clear();
      if (run.code == 0) {
        ++exported;
        out << "[" << exported + failed << "/" << files << "] " << resultLine(run) << "\n" << std::flush;
      } else if (run.code == 130) {
        stopped.push_back(filePath + ": " + stoppedText(run));
      } else {
        ++failed;
        reportFailure(err, filePath, fileErr.str());
      }
    }
  };
  std::vector<std::thread> threads;
  for (unsigned t = 1; t < jobs; ++t) threads.emplace_back(work);
  work();
  for (std::thread& t : threads) t.join();
  if (bar) bar->clear();
  out << exported << " exported, " << failed << " failed";
  if (interrupted) {
    out << ", " << stopped.size() << " stopped";
    const std::size_t notStarted = files - exported - failed - stopped.size();
    if (notStarted > 0) out << ", " << notStarted << " not started";
  }
  out << "\n";
  if (interrupted) {
    for (const std::string& name : stopped) err << "Остановлено: " << name << "\n";
    return 130;
  }
  return failed == 0 ? 0 : 1;
}

}  // namespace

int runExportCommand(const ExportOptions& o, std::ostream& out, std::ostream& err) {
  const bool batch = o.outputDir.has_value();
  if (o.filePaths.empty()) return usage(err, "export needs a measurement file");
  if (!batch && o.filePaths.size() > 1) return usage(err, "several files need --output-dir DIR");
  if (batch && !o.resultPath.empty()) return usage(err, "-o and --output-dir exclude each other");
  if (batch && o.request.saveSettings && o.filePaths.size() > 1) return usage(err, "--save-settings takes a single file");
  if (o.resultPath.empty() && !batch && !o.request.saveSettings)
    return usage(err, "export needs -o RESULT (or --output-dir DIR, or --save-settings FILE.cfg)");
  ExportRequest request = o.request;
  if (const auto fault = parseExportOptionTexts({o.split, o.decimate, o.separator, o.stats, o.encoding}, request)) {
    err << "--" << fault->option << " takes " << fault->takes << "\n";
    return 2;
  }

  DeviceCatalogue catalogue;
  if (!loadCliCatalogue(o.cataloguePath, catalogue, err)) return 1;
  if (batch && !platform::makeDirectories(*o.outputDir)) {
    err << printfText(text(StringId::CannotOpenFileNamed), o.outputDir->c_str()) << "\n"
        << *o.outputDir << ": " << writeFailureReason(*o.outputDir) << "\n";
    return 1;
  }

  const InterruptGuard guard;
  if (batch) return exportBatch(o, request, catalogue, out, err);
  ExportHost host(err);
  host.yes = o.yes;
  host.resultPath = o.resultPath;
  host.showProgress = o.progress;
  const FileRun run = exportFile(o, request, catalogue, o.filePaths.front(), host);
  if (run.code == 0 && run.started) out << resultLine(run) << "\n";
  if (run.code == 130) err << "Остановлено: " << stoppedText(run) << "\n";
  return run.code;
}

}  // namespace sonvera::cli
