#include <QApplication>
#include <cstdio>

#include "app/command_line.h"
#include "platform/platform.h"
#include "startup.h"

int main(int argc, char** argv) {
  // --version and --help need no display.
  auto arguments8 = sonvera::platform::commandLineArguments(argc, argv);
  if (!arguments8.empty()) arguments8.erase(arguments8.begin());
  if (const std::string information = sonvera::informationRequest(arguments8); !information.empty()) {
    std::fputs(information.c_str(), stdout);
    return 0;
  }
  QApplication application(argc, argv);
  QApplication::setOrganizationName("Calmoret");
  QApplication::setApplicationName("sonvera");
  QStringList arguments = QApplication::arguments();
  arguments.removeFirst();
  return sonvera::ui::runApplication(application, arguments);
}
