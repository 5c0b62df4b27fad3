#pragma once
// The main window of the program: it owns the dialog logic and shows its state.

#include <QDialog>
#include <QString>
#include <memory>

#include "app/main_dialog.h"
#include "qt_host.h"

class QLabel;
class QListWidget;

namespace sonvera::ui {

class MainDialog : public QDialog {
  Q_OBJECT
 public:
  explicit MainDialog(const DeviceCatalogue& catalogue, QWidget* parent = nullptr);
  ~MainDialog() override;

  const QString& baseTitle() const { return baseTitle_; }
  sonvera::MainDialog& logic() { return *logic_; }

  // Applies the command line; asks for a file at once when it names none.
  void start(const QStringList& arguments);
  // "Открыть файл".
  void openFile();
  // Mirrors the logic's state into the widgets.
  void refresh();

 private:
  QString baseTitle_;
  QtHost host_;
  std::unique_ptr<sonvera::MainDialog> logic_;
  QLabel* summary_ = nullptr;
  QLabel* rangeUnits_ = nullptr;
  QListWidget* calibration_ = nullptr;
};

}  // namespace sonvera::ui
