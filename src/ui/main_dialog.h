#pragma once
// The main window: the controls of the main dialog built from its template,
// mirroring the dialog logic's state and forwarding every click to it.

#include <QDialog>
#include <memory>

#include "app/main_dialog.h"
#include "dialog_builder.h"
#include "qt_host.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QListWidget;

namespace sonvera::ui {

class ProgressDialog;

class MainDialog : public QDialog {
  Q_OBJECT
 public:
  // `host` replaces the Qt host (tests script the file dialogs and messages).
  explicit MainDialog(const DeviceCatalogue& catalogue, std::unique_ptr<QtHost> host = nullptr,
                      QWidget* parent = nullptr);
  ~MainDialog() override;

  sonvera::MainDialog& logic() { return *logic_; }
  ProgressDialog* progressDialog() const { return progress_; }

  // Applies the command line; asks for a file at once when it names none.
  void start(const QStringList& arguments);
  // Mirrors the logic's state into the widgets.
  void refresh();

 public slots:
  void accept() override {}  // Enter leaves the dialog open

 protected:
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // Copies what the user typed and ticked into the logic's state.
  void collect();
  // Runs a command on the collected state and shows the result.
  template <typename Command>
  void run(Command command) {
    collect();
    command();
    refresh();
  }
  void connectCommands();
  void progressArrived(int percent);
  void copySelectedLine();
  // "График…" of the export list, and Ctrl+G.
  void openChart();
  // "Оценка шума…" of the export list, and Ctrl+L.
  void openAssessment();

  std::unique_ptr<QtHost> host_;
  std::unique_ptr<sonvera::MainDialog> logic_;
  DialogControls controls_;
  ProgressDialog* progress_ = nullptr;
};

}  // namespace sonvera::ui
