#pragma once
// The save dialog of the result: Qt's file dialog with the choice of the
// texts' encoding under the file type, kept in the profile.

#include <QFileDialog>

#include "app/profile.h"

class QComboBox;

namespace sonvera::ui {

class ResultFileDialog : public QFileDialog {
  Q_OBJECT
 public:
  ResultFileDialog(Profile& profile, const QString& start, QWidget* parent);

  QComboBox* encodingBox() const { return encoding_; }

 private:
  QComboBox* encoding_ = nullptr;
};

}  // namespace sonvera::ui
