#include <QApplication>

#include "startup.h"

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  QApplication::setOrganizationName("Calmoret");
  QApplication::setApplicationName("sonvera");
  QStringList arguments = QApplication::arguments();
  arguments.removeFirst();
  return sonvera::ui::runApplication(application, arguments);
}
