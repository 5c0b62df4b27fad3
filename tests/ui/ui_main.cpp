// The window tests run inside one application object that lives on main's
// stack, so that it is gone before the program's static objects.

#include <gtest/gtest.h>

#include <QApplication>

#include "shared_resources.h"

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  // Also when the test list is read at build time, without a display.
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication application(argc, argv);
  sonvera::ui::installRussianTranslations(application);
  return RUN_ALL_TESTS();
}
