#pragma once
// "Открыть файл": the file dialog with a preview of the file under the
// cursor and the button "Просмотр" for its last record.

#include <QFileDialog>
#include <QWidget>

#include "app/preview_pane.h"

class QCheckBox;
class QLabel;
class QPushButton;

namespace sonvera::ui {

// The short summary under the file list (fields 1001 to 1007).
class PreviewPaneWidget : public QWidget {
  Q_OBJECT
 public:
  PreviewPaneWidget(const DeviceCatalogue& catalogue, QWidget* parent);

  // Shows the summary of `path`; the code of the pane's update.
  int showFile(const QString& path);
  const PreviewPane& pane() const { return pane_; }

 private:
  PreviewPane pane_;
  QLabel *model_ = nullptr, *vin_ = nullptr, *span_ = nullptr, *records_ = nullptr, *step_ = nullptr;
  QCheckBox *over_ = nullptr, *under_ = nullptr;
};

class OpenFileDialog : public QFileDialog {
  Q_OBJECT
 public:
  OpenFileDialog(const DeviceCatalogue& catalogue, const QString& folder, QWidget* parent);

  PreviewPaneWidget* preview() const { return preview_; }

 private:
  PreviewPaneWidget* preview_ = nullptr;
  QPushButton* view_ = nullptr;
};

}  // namespace sonvera::ui
