#pragma once
// The main dialog's host where nobody sits at a window (the command line, the
// Python module, the fuzzers): no file dialog opens but the save dialog, which
// "chooses" the result named beforehand; the parameter and statistics dialogs
// are never asked for; the remembered folders live in memory; the end of an
// export shows in `ended`. Messages and questions are the face's own.

#include <atomic>
#include <optional>
#include <string>

#include "app/main_dialog_host.h"
#include "app/profile.h"

namespace sonvera {

class WindowlessHost : public MainDialogHost {
 public:
  std::optional<std::string> chooseMeasurementFile(const std::string&) override { return std::nullopt; }
  std::optional<std::string> chooseResultFile(const std::string&, const std::string&) override { return resultPath; }
  std::optional<std::string> chooseSettingsFile(bool, const std::string&) override { return std::nullopt; }
  std::optional<ExportItem> chooseExportItem(const MainDialog&, const std::optional<ExportItem>&) override {
    return std::nullopt;
  }
  std::optional<StatisticsSettings> editStatistics(const StatisticsSettings&) override { return std::nullopt; }
  // Called on the export's worker thread.
  void postProgress(int percent) override {
    if (percent < 0) {
      ended = true;
      ended.notify_all();  // for a caller blocked in ended.wait(false)
    }
  }
  Profile& profile() override { return profile_; }

  std::optional<std::string> resultPath;  // what the save dialog "chooses"
  std::atomic<bool> ended{false};         // the export's worker reported its end

 private:
  MemoryProfile profile_;
};

}  // namespace sonvera
