#include "main_dialog.h"

#include <QLabel>
#include <QVBoxLayout>

#include "app/strings.h"

namespace sonvera::ui {

MainDialog::MainDialog(QWidget* parent) : QDialog(parent) {
  setObjectName("102");
  baseTitle_ = QString::fromUtf8(sonvera::baseTitle());
  setWindowTitle(baseTitle_);
  auto* layout = new QVBoxLayout(this);
  auto* rangeUnits = new QLabel(QStringLiteral("записи"), this);
  rangeUnits->setObjectName("1041");
  layout->addWidget(rangeUnits);
  resize(640, 420);
}

}  // namespace sonvera::ui
