#pragma once
// A main dialog host that answers from a script and records what was shown.

#include <atomic>
#include <deque>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "app/main_dialog.h"
#include "app/main_dialog_host.h"

namespace sonvera::test {

class ScriptedHost : public MainDialogHost {
 public:
  void showMessage(const std::string& text) override { messages.push_back(text); }
  bool askYesNo(const std::string& text) override {
    questions.push_back(text);
    return next(answers, false);
  }
  std::optional<std::string> chooseMeasurementFile(const std::string& folder) override {
    folders.push_back(folder);
    return next(files, std::optional<std::string>{});
  }
  std::optional<std::string> chooseResultFile(const std::string& folder, const std::string& proposed) override {
    folders.push_back(folder);
    proposedNames.push_back(proposed);
    return next(files, std::optional<std::string>{});
  }
  std::optional<std::string> chooseSettingsFile(bool, const std::string& folder) override {
    folders.push_back(folder);
    return next(files, std::optional<std::string>{});
  }
  std::optional<ExportItem> chooseExportItem(const MainDialog&, const std::optional<ExportItem>& initial) override {
    initialItems.push_back(initial);
    return next(items, std::optional<ExportItem>{});
  }
  std::optional<StatisticsSettings> editStatistics(const StatisticsSettings&) override {
    return next(statistics, std::optional<StatisticsSettings>{});
  }
  void postProgress(int percent) override {
    progress.push_back(percent);
    if (percent < 0) exportEnded = true;
  }
  Profile& profile() override { return memory; }

  // Answers, taken in order; an empty queue gives No / cancel.
  std::deque<bool> answers;
  std::deque<std::optional<std::string>> files;
  std::deque<std::optional<ExportItem>> items;
  std::deque<std::optional<StatisticsSettings>> statistics;

  // What the dialog showed.
  std::vector<std::string> messages;
  std::vector<std::string> questions;
  std::vector<std::string> folders;
  std::vector<std::string> proposedNames;
  std::vector<std::optional<ExportItem>> initialItems;
  std::vector<int> progress;  // written by the worker's thread; read after the export is joined
  std::atomic<bool> exportEnded{false};
  MemoryProfile memory;

 private:
  template <typename T>
  static T next(std::deque<T>& queue, T fallback) {
    if (queue.empty()) return fallback;
    T value = queue.front();
    queue.pop_front();
    return value;
  }
};

// "Создать файл результата" with `result` chosen in the save dialog; waits
// for the worker's end. True when an export was started.
inline bool exportTo(MainDialog& dialog, ScriptedHost& host, const std::string& result) {
  host.files = {result};
  host.exportEnded = false;
  const bool started = dialog.startExport();
  while (started && !host.exportEnded) std::this_thread::yield();
  dialog.finishExport();
  return started;
}

}  // namespace sonvera::test
