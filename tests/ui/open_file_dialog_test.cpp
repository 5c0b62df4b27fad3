#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>

#include "open_file_dialog.h"
#include "ui_harness.h"

namespace sonvera::ui::test {
namespace {

TEST(OpenFileDialog, PreviewsTheFileUnderTheCursor) {
  OpenFileDialog dialog(demoCatalogue(), QString::fromStdString(demoData("samples")), nullptr);
  EXPECT_EQ(dialog.nameFilters().first(), "Data files (*.bin *.dcr *.msr)");
  PreviewPaneWidget* pane = dialog.preview();
  int viewed = 0;
  const auto viewerCloses = [&] {
    whenModal([&](QWidget* viewer) {
      viewed += viewer->objectName() == "133" ? 1 : 0;
      viewer->close();
    });
  };
  auto* view = child<QPushButton>(&dialog, 1000);
  ASSERT_NE(view, nullptr);
  EXPECT_EQ(view->text(), QString::fromUtf8("Просмотр"));

  // The small yard file is scanned for underload; the trailing space is ignored.
  emit dialog.currentChanged(QString::fromStdString(demoData("samples/yard-survey.msr")) + "  ");
  EXPECT_EQ(child<QLabel>(pane, 1004)->text(), QString::fromUtf8("1440 записей"));
  EXPECT_EQ(child<QLabel>(pane, 1005)->text(), QString::fromUtf8("шаг: 60.0 сек"));
  EXPECT_FALSE(child<QLabel>(pane, 1001)->text().isEmpty());
  viewerCloses();
  view->click();
  EXPECT_EQ(viewed, 1);

  // More than 1000 records: "under" stays hidden.
  emit dialog.currentChanged(QString::fromStdString(demoData("samples/machine-vibration.dcr")));
  EXPECT_EQ(child<QLabel>(pane, 1004)->text(), QString::fromUtf8("3600 записей"));
  EXPECT_TRUE(child<QCheckBox>(pane, 1007)->isHidden());

  // Nothing under the cursor: the pane is empty and "Просмотр" does nothing.
  emit dialog.currentChanged(QString());
  EXPECT_TRUE(child<QLabel>(pane, 1004)->text().isEmpty());
  view->click();  // opens nothing
  EXPECT_EQ(viewed, 1);
  EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

}  // namespace
}  // namespace sonvera::ui::test
