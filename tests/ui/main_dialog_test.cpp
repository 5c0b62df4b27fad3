#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>

#include "main_dialog.h"

namespace sonvera::ui {
namespace {

QApplication& application() {
  static int argc = 1;
  static char name[] = "ui_tests";
  static char* argv[] = {name, nullptr};
  static QApplication app(argc, argv);
  return app;
}

TEST(MainDialog, ShowsTheTitleWithTheVersion) {
  application();
  MainDialog dialog;
  EXPECT_EQ(dialog.windowTitle(), QString::fromUtf8("Универсальный транслятор версия 1.01"));
  EXPECT_EQ(dialog.baseTitle(), dialog.windowTitle());
  auto* units = dialog.findChild<QLabel*>("1041");
  ASSERT_NE(units, nullptr);
  EXPECT_EQ(units->text(), QString::fromUtf8("записи"));
}

}  // namespace
}  // namespace sonvera::ui
