#pragma once
// "Оценка шума": the parameters of the assessment, the interval, day and
// event tables as grids that copy as tab-separated text, a chart of the
// interval Leq with the evening and night shaded and the events marked, and
// "Сохранить…" to text files or a workbook. The assessment runs on a worker
// thread under the progress dialog, which "Отмена" stops.

#include <QDialog>
#include <memory>

#include "app/assessment_dialog.h"
#include "export/export_runner.h"

class QChartView;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTabWidget;

namespace sonvera {
class MainDialog;
}

namespace sonvera::ui {

class CellTableModel;
class CellTableView;
class ProgressDialog;

class AssessmentWindow : public QDialog {
  Q_OBJECT
 public:
  // Starts the assessment of `job` with the default parameters at once.
  AssessmentWindow(sonvera::MainDialog& dialog, const ExportJob& job, QWidget* parent);
  ~AssessmentWindow() override;

  AssessmentDialog& logic() { return logic_; }
  bool busy() const { return busy_; }
  ProgressDialog* progressDialog() const { return progress_; }
  CellTableView* grid(int tab) const;
  QChartView* chartView() const { return chart_; }

  // "Рассчитать": checks the fields and starts the worker.
  void calculate();
  // "Отмена" of the progress dialog.
  void cancel();

 signals:
  // The worker's result arrived (shown, or dropped after a stop or a failure).
  void finished();

 private:
  void collect();
  void showResult(AssessmentResult result);
  void drawChart();

  AssessmentDialog logic_;
  ExportRunner runner_;
  bool busy_ = false;
  ProgressDialog* progress_ = nullptr;
  QComboBox* interval_ = nullptr;
  QComboBox* exclusion_ = nullptr;
  QLineEdit* periods_[3] = {};
  QLineEdit* penalties_[3] = {};
  QLineEdit* threshold_ = nullptr;
  QLineEdit* gap_ = nullptr;
  QLineEdit* minimumDuration_ = nullptr;
  QPushButton* calculate_ = nullptr;
  QPushButton* save_ = nullptr;
  QLabel* summary_ = nullptr;
  QTabWidget* tabs_ = nullptr;
  QChartView* chart_ = nullptr;
  std::vector<CellTableModel*> models_;
  std::vector<CellTableView*> grids_;
};

}  // namespace sonvera::ui
