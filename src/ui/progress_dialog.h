#pragma once
// "Обработка": the modeless progress window of an export. Hidden until the
// first progress value; "Отмена", Esc and its close box ask its owner to
// stop the export.

#include <QDialog>

class QProgressBar;

namespace sonvera::ui {

class ProgressDialog : public QDialog {
  Q_OBJECT
 public:
  explicit ProgressDialog(QWidget* owner);

  // A percentage shows the window (centred over its owner when it was hidden)
  // and moves the bar, filled above 100; a negative value hides it.
  void showProgress(int percent);
  int position() const;

 signals:
  void cancelRequested();

 public slots:
  void reject() override;
  void accept() override {}  // Enter does nothing

 private:
  // Centres the frame of this window over the frame of `owner`, keeping its size.
  void centreOver(const QWidget& owner);
  QSize expectedFrameSize(const QWidget& owner) const;

  QProgressBar* bar_ = nullptr;
};

}  // namespace sonvera::ui
