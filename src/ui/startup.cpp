#include "startup.h"

#include <QApplication>
#include <QMessageBox>

#include "app/process_catalogue.h"
#include "app/strings.h"
#include "main_dialog.h"
#include "shared_resources.h"

namespace sonvera::ui {

int runApplication(QApplication& application, const QStringList& arguments) {
  installRussianTranslations(application);
  QApplication::setWindowIcon(applicationIcon());
  if (!loadProcessCatalogue()) {
    QMessageBox box(QMessageBox::NoIcon, QString::fromUtf8(kApplicationName),
                    QString::fromUtf8(text(StringId::CatalogueNotFound)), QMessageBox::Ok);
    box.exec();
    return 1;
  }
  MainDialog dialog(processCatalogue());
  dialog.show();
  dialog.start(arguments);
  dialog.exec();
  return 0;
}

}  // namespace sonvera::ui
