#include "progress_dialog.h"

#include <QProgressBar>

#include "dialog_builder.h"

namespace sonvera::ui {

ProgressDialog::ProgressDialog(QWidget* owner) : QDialog(owner, Qt::Tool | Qt::WindowTitleHint | Qt::WindowCloseButtonHint) {
  setObjectName(QString::number(progressTemplate().id));
  const DialogControls controls = buildDialog(this, progressTemplate());
  bar_ = controls.get<QProgressBar>(1047);
  setModal(false);
}

void ProgressDialog::showProgress(int percent) {
  if (percent < 0) {
    hide();
    return;
  }
  if (!isVisible()) {
    if (QWidget* owner = parentWidget()) {
      const QRect frame = owner->frameGeometry();
      move((frame.left() + frame.right()) / 2 - width() / 2, (frame.top() + frame.bottom()) / 2 - height() / 2);
    }
    show();
  }
  bar_->setValue(std::min(percent, 100));
}

int ProgressDialog::position() const { return bar_->value(); }

void ProgressDialog::reject() {
  emit cancelRequested();
  QDialog::reject();
}

}  // namespace sonvera::ui
