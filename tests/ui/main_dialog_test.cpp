#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QListWidget>

#include "catalogue/device_catalogue.h"
#include "main_dialog.h"
#include "support/summary_files.h"
#include "support/temp_file.h"

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
  DeviceCatalogue catalogue;
  MainDialog dialog(catalogue);
  EXPECT_EQ(dialog.windowTitle(), QString::fromUtf8("Универсальный транслятор версия 1.01"));
  EXPECT_EQ(dialog.baseTitle(), dialog.windowTitle());
  auto* units = dialog.findChild<QLabel*>("1041");
  ASSERT_NE(units, nullptr);
  EXPECT_EQ(units->text(), QString::fromUtf8("записи"));
}

TEST(MainDialog, OpensTheFileOfTheCommandLine) {
  application();
  const DeviceCatalogue catalogue = test::summaryCatalogue(1);
  test::TempFile file(test::summaryFileBytes(1, test::steadyRecords(5, 10)));
  MainDialog dialog(catalogue);
  dialog.start({QString::fromStdString(file.path())});
  EXPECT_EQ(dialog.windowTitle(),
            QString::fromUtf8("Универсальный транслятор версия 1.01 (") + QString::fromStdString(file.path()) + ")");
  auto* calibration = dialog.findChild<QListWidget*>("1045");
  ASSERT_NE(calibration, nullptr);
  EXPECT_EQ(calibration->count(), 1);
  auto* summary = dialog.findChild<QLabel*>("1001");
  EXPECT_TRUE(summary->text().contains(QString::fromUtf8("5 записей")));
}

}  // namespace
}  // namespace sonvera::ui
