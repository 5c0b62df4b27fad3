#include "qt_host.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QMessageBox>
#include <QMetaObject>
#include <QSettings>

#include "app/main_dialog.h"
#include "app/strings.h"
#include "open_file_dialog.h"
#include "parameter_dialog.h"
#include "result_file_dialog.h"
#include "statistics_dialog.h"
#include "xlsx/workbook_tables.h"

namespace sonvera::ui {
namespace {

QString qt(const std::string& text) { return QString::fromStdString(text); }

std::optional<std::string> chosen(const QString& path) {
  if (path.isEmpty()) return std::nullopt;
  return path.toStdString();
}

QString profileKey(const std::string& key) { return QStringLiteral("BrowseSect/") + qt(key); }

int messageBox(QWidget* owner, const std::string& text, QMessageBox::StandardButtons buttons) {
  QMessageBox box(QMessageBox::NoIcon, QString::fromUtf8(kApplicationName), qt(text), buttons, owner);
  return box.exec();
}

}  // namespace

std::string SettingsProfile::folder(const std::string& key) const {
  return QSettings("Calmoret", "sonvera").value(profileKey(key)).toString().toStdString();
}

void SettingsProfile::setFolder(const std::string& key, const std::string& folder) {
  QSettings("Calmoret", "sonvera").setValue(profileKey(key), qt(folder));
}

// The program's options have a section of their own beside the folders.
std::string SettingsProfile::option(const std::string& key) const {
  return QSettings("Calmoret", "sonvera").value(QStringLiteral("Options/") + qt(key)).toString().toStdString();
}

void SettingsProfile::setOption(const std::string& key, const std::string& value) {
  QSettings("Calmoret", "sonvera").setValue(QStringLiteral("Options/") + qt(key), qt(value));
}

std::function<std::unique_ptr<ResultTable>()> QtHost::workbookTables() const {
  return workbookTablesOfThisBuild();
}

CellWorkbookWriter QtHost::cellWorkbooks() const {
  return cellWorkbooksOfThisBuild();
}

QWidget* QtHost::owner() const {
  if (QWidget* modal = QApplication::activeModalWidget()) return modal;
  return window_;
}

void QtHost::showMessage(const std::string& text) { messageBox(owner(), text, QMessageBox::Ok); }

bool QtHost::askYesNo(const std::string& text) {
  return messageBox(owner(), text, QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
}

std::optional<std::string> QtHost::chooseMeasurementFile(const std::string& folder) {
  OpenFileDialog dialog(catalogue_, qt(folder), owner());
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
  return chosen(dialog.selectedFiles().first());
}

std::optional<std::string> QtHost::chooseResultFile(const std::string& folder, const std::string& proposedName) {
  const QString start = folder.empty() ? qt(proposedName) : QDir(qt(folder)).filePath(qt(proposedName));
  ResultFileDialog dialog(profile(), start, owner());
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
  return chosen(dialog.selectedFiles().first());
}

std::optional<std::string> QtHost::chooseSettingsFile(bool forLoading, const std::string& folder) {
  QFileDialog dialog(owner(), QString(), qt(folder), "Settings files (*.cfg);;All Files (*)");
  dialog.setAcceptMode(forLoading ? QFileDialog::AcceptOpen : QFileDialog::AcceptSave);
  dialog.setFileMode(forLoading ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
  // A name typed without extension is saved as .cfg, so that the command line takes it as settings.
  if (!forLoading) dialog.setDefaultSuffix(QStringLiteral("cfg"));
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
  return chosen(dialog.selectedFiles().first());
}

std::optional<ExportItem> QtHost::chooseExportItem(const MainDialog& dialog, const std::optional<ExportItem>& initial) {
  ParameterDialog selection(dialog.catalogue(), dialog.file(), initial.value_or(kNewItem), owner());
  if (selection.exec() != QDialog::Accepted) return std::nullopt;
  return selection.chosen();
}

std::optional<StatisticsSettings> QtHost::editStatistics(const StatisticsSettings& current) {
  StatisticsDialog statistics(current, [this](const std::string& text) { showMessage(text); }, owner());
  if (statistics.exec() != QDialog::Accepted) return std::nullopt;
  return statistics.chosen();
}

void QtHost::postProgress(int percent) {
  // From the worker's thread: a queued call, so the worker never waits for us;
  // dropped once the window is gone.
  QMetaObject::invokeMethod(
      window_,
      [this, percent] {
        if (onProgress) onProgress(percent);
      },
      Qt::QueuedConnection);
}

}  // namespace sonvera::ui
