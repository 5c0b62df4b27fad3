#pragma once
// The main dialog logic's host in the desktop program: Qt message boxes, file
// dialogs and the program's own dialogs, the profile in QSettings, progress
// handed to the UI thread. Tests override the file dialogs and messages.

#include <QPointer>
#include <QWidget>
#include <functional>

#include "app/main_dialog_host.h"
#include "catalogue/device_catalogue.h"

namespace sonvera::ui {

// The three remembered folders under "Calmoret"/"sonvera", section "BrowseSect".
class SettingsProfile : public Profile {
 public:
  std::string folder(const std::string& key) const override;
  void setFolder(const std::string& key, const std::string& folder) override;
  std::string option(const std::string& key) const override;
  void setOption(const std::string& key, const std::string& value) override;
};

class QtHost : public MainDialogHost {
 public:
  explicit QtHost(const DeviceCatalogue& catalogue) : catalogue_(catalogue) {}

  // The window that owns the dialogs and receives progress.
  void attach(QWidget* window) { window_ = window; }

  void showMessage(const std::string& text) override;
  bool askYesNo(const std::string& text) override;
  std::optional<std::string> chooseMeasurementFile(const std::string& folder) override;
  std::optional<std::string> chooseResultFile(const std::string& folder, const std::string& proposedName) override;
  std::optional<std::string> chooseSettingsFile(bool forLoading, const std::string& folder) override;
  std::optional<ExportItem> chooseExportItem(const MainDialog& dialog, const std::optional<ExportItem>& initial) override;
  std::optional<StatisticsSettings> editStatistics(const StatisticsSettings& current) override;
  void postProgress(int percent) override;
  Profile& profile() override { return *profile_; }
  std::function<std::unique_ptr<ResultTable>()> workbookTables() const override;
  CellWorkbookWriter cellWorkbooks() const override;

  // Called on the UI thread with every progress value the worker posted.
  std::function<void(int)> onProgress;

 protected:
  // The window a message or dialog belongs to: the open modal dialog, else the main window.
  QWidget* owner() const;
  // Tests keep the profile in memory.
  void setProfile(std::unique_ptr<Profile> profile) { profile_ = std::move(profile); }

 private:
  const DeviceCatalogue& catalogue_;
  QPointer<QWidget> window_;
  std::unique_ptr<Profile> profile_ = std::make_unique<SettingsProfile>();
};

}  // namespace sonvera::ui
