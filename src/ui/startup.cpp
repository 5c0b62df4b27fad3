#include "startup.h"

#include <QApplication>
#include <QMessageBox>

#include "app/process_catalogue.h"
#include "app/strings.h"
#include "main_dialog.h"

namespace sonvera::ui {

int runApplication(const QStringList& arguments) {
  if (!loadProcessCatalogue()) {
    QMessageBox::critical(nullptr, QString::fromUtf8(kApplicationName),
                          QString::fromUtf8(text(StringId::CatalogueNotFound)), QMessageBox::Ok);
    return 1;
  }
  MainDialog dialog(processCatalogue());
  dialog.show();
  dialog.start(arguments);
  dialog.exec();
  return 0;
}

}  // namespace sonvera::ui
