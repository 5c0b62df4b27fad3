#pragma once
// "Просмотр последней записи": the last record of a file as tables, one
// channel at a time, scrolled as a whole.

#include <QDialog>
#include <QList>

#include "app/record_viewer.h"
#include "measurement/measurement_file.h"

class QCheckBox;
class QComboBox;
class QScrollArea;

namespace sonvera::ui {

class GridWidget;

class RecordViewerDialog : public QDialog {
  Q_OBJECT
 public:
  // Shows the decoding state of `file` (the main dialog's or the preview's).
  RecordViewerDialog(const DeviceCatalogue& catalogue, const MeasurementFile& file, QWidget* parent);

  const RecordViewer& viewer() const { return viewer_; }
  const QList<GridWidget*>& grids() const { return grids_; }
  QWidget* content() const { return content_; }
  QScrollArea* scrollArea() const { return scroll_; }

 public slots:
  void accept() override {}  // Enter does nothing

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void buildTables();
  void fitWindow();
  void showContextMenu(GridWidget* grid);

  RecordViewer viewer_;
  QScrollArea* scroll_ = nullptr;
  QWidget* content_ = nullptr;
  QComboBox* channels_ = nullptr;
  QCheckBox* linear_ = nullptr;
  QCheckBox* extended_ = nullptr;
  QList<GridWidget*> grids_;
  QSize contentSize_;
};

}  // namespace sonvera::ui
