#include "qt_host.h"

#include <QFileDialog>
#include <QMessageBox>
#include <QMetaObject>
#include <QSettings>

#include "app/strings.h"

namespace sonvera::ui {
namespace {

QString qt(const std::string& text) { return QString::fromStdString(text); }
QString caption() { return QString::fromUtf8(kApplicationName); }

std::optional<std::string> chosen(const QString& path) {
  if (path.isEmpty()) return std::nullopt;
  return path.toStdString();
}

}  // namespace

std::string SettingsProfile::folder(const std::string& key) const {
  QSettings settings("Calmoret", "sonvera");
  return settings.value(QString("BrowseSect/") + qt(key)).toString().toStdString();
}

void SettingsProfile::setFolder(const std::string& key, const std::string& folder) {
  QSettings settings("Calmoret", "sonvera");
  settings.setValue(QString("BrowseSect/") + qt(key), qt(folder));
}

void QtHost::showMessage(const std::string& text) {
  QMessageBox::information(window_, caption(), qt(text), QMessageBox::Ok);
}

bool QtHost::askYesNo(const std::string& text) {
  return QMessageBox::question(window_, caption(), qt(text), QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
}

std::optional<std::string> QtHost::chooseMeasurementFile(const std::string& folder) {
  return chosen(QFileDialog::getOpenFileName(window_, QString(), qt(folder),
                                             "Data files (*.bin *.dcr *.msr);;All Files (*)"));
}

std::optional<std::string> QtHost::chooseResultFile(const std::string& folder, const std::string& proposedName) {
  const QString start = folder.empty() ? qt(proposedName) : qt(folder) + "/" + qt(proposedName);
  return chosen(QFileDialog::getSaveFileName(window_, QString(), start,
                                             "CSV files (*.csv);;Text files (*.txt);;All Files (*)"));
}

std::optional<std::string> QtHost::chooseSettingsFile(bool forLoading, const std::string& folder) {
  const QString filter = "Settings files (*.cfg);;All Files (*)";
  return chosen(forLoading ? QFileDialog::getOpenFileName(window_, QString(), qt(folder), filter)
                           : QFileDialog::getSaveFileName(window_, QString(), qt(folder), filter));
}

// The parameter and statistics dialogs come with the full window.
std::optional<ExportItem> QtHost::chooseExportItem(const MainDialog&, const std::optional<ExportItem>&) {
  return std::nullopt;
}

std::optional<StatisticsSettings> QtHost::editStatistics(const StatisticsSettings&) { return std::nullopt; }

void QtHost::postProgress(int percent) {
  // From the worker's thread: a queued call, so the worker never waits for us.
  QMetaObject::invokeMethod(
      window_,
      [this, percent] {
        if (onProgress) onProgress(percent);
      },
      Qt::QueuedConnection);
}

}  // namespace sonvera::ui
