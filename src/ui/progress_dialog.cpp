#include "progress_dialog.h"

#include <QProgressBar>
#include <QWindow>

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
    if (QWidget* owner = parentWidget()) centreOver(*owner);
    show();
  }
  bar_->setValue(std::min(percent, 100));
}

void ProgressDialog::centreOver(const QWidget& owner) {
  // Frames included on both sides; right and bottom as edges, not last pixels.
  const QRect outer = owner.frameGeometry();
  const QSize frame = expectedFrameSize(owner);
  const int left = (outer.left() + outer.left() + outer.width()) / 2 - frame.width() / 2;
  const int top = (outer.top() + outer.top() + outer.height()) / 2 - frame.height() / 2;
  move(left, top);  // a window's position is that of its frame
}

QSize ProgressDialog::expectedFrameSize(const QWidget& owner) const {
  // A window learns its frame from the window system once it has been shown;
  // until then the owner's frame, drawn by the same window manager, stands in.
  // (The window is not created here: a window created after its move is placed
  // by its frame on X11 too.)
  QMargins margins = windowHandle() != nullptr ? windowHandle()->frameMargins() : QMargins();
  if (margins.isNull() && owner.windowHandle() != nullptr) margins = owner.windowHandle()->frameMargins();
  return size().grownBy(margins);
}

int ProgressDialog::position() const { return bar_->value(); }

void ProgressDialog::reject() {
  emit cancelRequested();
  QDialog::reject();
}

}  // namespace sonvera::ui
