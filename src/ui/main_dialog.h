#pragma once
// The main window of the program.

#include <QDialog>
#include <QString>

namespace sonvera::ui {

class MainDialog : public QDialog {
  Q_OBJECT
 public:
  explicit MainDialog(QWidget* parent = nullptr);

  const QString& baseTitle() const { return baseTitle_; }

 private:
  QString baseTitle_;
};

}  // namespace sonvera::ui
