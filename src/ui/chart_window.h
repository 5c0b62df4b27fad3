#pragma once
// "График": the time history of the chosen columns over the processing range,
// prepared on a worker thread; zoom with the wheel, drag to pan, a read-out
// under the cursor, saving as PNG or SVG, and "Взять диапазон" into the main
// dialog's range fields.

#include <QChartView>
#include <QDialog>
#include <memory>

#include "chart/chart_data.h"
#include "chart/chart_view.h"
#include "export/export_runner.h"

class QLabel;
class QPushButton;
class QAbstractAxis;

namespace sonvera {
class MainDialog;
}

namespace sonvera::ui {

class ChartCanvas;

class ChartWindow : public QDialog {
  Q_OBJECT
 public:
  // Starts preparing the chart of `job` at once.
  ChartWindow(sonvera::MainDialog& dialog, const ExportJob& job, QWidget* parent);
  ~ChartWindow() override;

  bool ready() const { return ready_; }
  const ChartData& data() const { return data_; }
  AxisRange shownRange() const { return shown_; }
  void showRange(AxisRange range);
  // Zooms about `centre` (below 1 zooms in).
  void zoom(double factor, double centre);
  void pan(double delta);
  void showWholeRange();
  // Writes the chart as PNG or SVG, by the name's extension; false on failure.
  bool saveImage(const QString& path);
  // The read-out for x.
  void showReadout(double x);
  QChartView* view() const;

 signals:
  void prepared();
  void rangeTaken();

 private:
  void progressArrived(int percent);
  void build();

  sonvera::MainDialog& dialog_;
  ExportJob job_;
  ExportRunner runner_;
  ChartData data_;
  bool ready_ = false;
  AxisRange whole_, shown_;
  ChartCanvas* canvas_ = nullptr;
  QAbstractAxis* xAxis_ = nullptr;
  QLabel* readout_ = nullptr;
  QPushButton* whole_button_ = nullptr;
};

}  // namespace sonvera::ui
