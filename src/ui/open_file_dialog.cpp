#include "open_file_dialog.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "dialog_builder.h"
#include "record_viewer_dialog.h"

namespace sonvera::ui {

PreviewPaneWidget::PreviewPaneWidget(const DeviceCatalogue& catalogue, QWidget* parent)
    : QWidget(parent), pane_(catalogue) {
  setObjectName(QString::number(previewPaneTemplate().id));
  const DialogControls controls = buildDialog(this, previewPaneTemplate());
  model_ = controls.get<QLabel>(1001);
  vin_ = controls.get<QLabel>(1002);
  span_ = controls.get<QLabel>(1003);
  records_ = controls.get<QLabel>(1004);
  step_ = controls.get<QLabel>(1005);
  over_ = controls.get<QCheckBox>(1006);
  under_ = controls.get<QCheckBox>(1007);
  under_->hide();
}

int PreviewPaneWidget::showFile(const QString& path) {
  const int code = pane_.update(path.toStdString());
  model_->setText(QString::fromStdString(pane_.model));
  vin_->setText(QString::fromStdString(pane_.vin));
  span_->setText(QString::fromStdString(pane_.span));
  records_->setText(QString::fromStdString(pane_.records));
  step_->setText(QString::fromStdString(pane_.step));
  over_->setChecked(pane_.over);
  under_->setChecked(pane_.under);
  under_->setVisible(pane_.underShown);
  return code;
}

OpenFileDialog::OpenFileDialog(const DeviceCatalogue& catalogue, const QString& folder, QWidget* parent)
    : QFileDialog(parent, QString(), folder) {
  setObjectName(QStringLiteral("OpenFileDialog"));
  // Qt's own dialog, so that the preview can sit inside it on every platform.
  setOption(QFileDialog::DontUseNativeDialog);
  setOption(QFileDialog::ReadOnly);
  setFileMode(QFileDialog::ExistingFile);
  setAcceptMode(QFileDialog::AcceptOpen);
  setNameFilters({QStringLiteral("Data files (*.bin *.dcr *.msr)"), QStringLiteral("All Files (*)")});

  preview_ = new PreviewPaneWidget(catalogue, this);
  view_ = new QPushButton(QStringLiteral("Просмотр"), this);
  view_->setObjectName(QStringLiteral("1000"));
  view_->setAutoDefault(false);
  if (auto* grid = qobject_cast<QGridLayout*>(layout())) {
    const int row = grid->rowCount();
    grid->addWidget(preview_, row, 0, 1, grid->columnCount() - 1);
    grid->addWidget(view_, row, grid->columnCount() - 1, Qt::AlignTop);
  }
  // The file under the cursor, and the file whose name is typed (which
  // selects it in the list without making it current).
  connect(this, &QFileDialog::currentChanged, preview_, &PreviewPaneWidget::showFile);
  if (auto* name = findChild<QLineEdit*>(QStringLiteral("fileNameEdit")))
    connect(name, &QLineEdit::textChanged, this, [this] { preview_->showFile(selectedFiles().value(0)); });
  resize(std::max(width(), 860), std::max(height(), 520));  // room for the list's columns
  // "Просмотр": the last record of the previewed file, when the preview could read it.
  connect(view_, &QPushButton::clicked, this, [this, &catalogue] {
    if (!preview_->pane().succeeded()) return;
    RecordViewerDialog viewer(catalogue, preview_->pane().file(), this);
    viewer.exec();
  });
}

}  // namespace sonvera::ui
