#include <gtest/gtest.h>

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <filesystem>
#include <functional>
#include <memory>

#include "app/strings.h"
#include "chart_window.h"
#include "measurement/time_line.h"
#include "ui_harness.h"

namespace sonvera::ui::test {
namespace {

namespace fs = std::filesystem;

// The whole flow: Ctrl+G on a chosen entry, zoom and back, save, take the range.
TEST(ChartWindowTest, OpensFromTheListZoomsSavesAndTakesTheRange) {
  const fs::path dir = fs::temp_directory_path() / ("sonvera-ui-chart-" + std::to_string(::getpid()));
  fs::create_directories(dir);
  Window w;
  w.dialog->start({QString::fromStdString(demoData("samples/street-noise.cfg")),
                   QString::fromStdString(demoData("samples/street-noise.bin"))});
  w.control<QListWidget>(1033)->setCurrentRow(0);

  AxisRange whole, zoomed, back, taken;
  std::size_t series = 0, points = 0;
  bool saved = false;
  whenModal([&](QWidget* dialog) {
    auto* chart = qobject_cast<ChartWindow*>(dialog);
    ASSERT_NE(chart, nullptr);
    ASSERT_TRUE(waitFor([&] { return chart->ready(); }));
    series = chart->data().series.size();
    points = chart->data().series.at(0).points.size();
    whole = chart->shownRange();
    chart->zoom(0.05, whole.from + whole.width() / 2);
    zoomed = chart->shownRange();
    dialog->findChild<QPushButton*>(QStringLiteral("whole"))->click();
    back = chart->shownRange();
    chart->zoom(1.0 / 24, whole.from + 8.5 / 24);  // about an hour round 08:30
    taken = chart->shownRange();
    saved = chart->saveImage(QString::fromStdString((dir / "chart.png").string())) &&
            chart->saveImage(QString::fromStdString((dir / "chart.svg").string()));
    dialog->findChild<QPushButton*>(QStringLiteral("take"))->click();
    chart->reject();
  });
  QApplication::setActiveWindow(w.dialog.get());  // shortcuts go to the active window
  QTest::keyClick(w.dialog.get(), Qt::Key_G, Qt::ControlModifier);

  ASSERT_TRUE(w.host->messages.empty()) << w.host->messages.front();
  EXPECT_EQ(series, 3u);  // the chosen entry only: broadband Leq in A, C and Z
  EXPECT_GT(points, 1000u);
  EXPECT_LE(points, 4000u);
  EXPECT_NEAR(whole.width(), 1.0, 0.001);  // a day of one-second records
  EXPECT_NEAR(zoomed.width(), whole.width() * 0.05, 1e-9);
  EXPECT_EQ(back.from, whole.from);
  EXPECT_EQ(back.to, whole.to);
  EXPECT_TRUE(saved);
  for (const char* name : {"chart.png", "chart.svg"}) EXPECT_GT(fs::file_size(dir / name), 1000u) << name;

  // The shown hour went into the range fields as times, with 1038 cleared.
  const MeasurementFile& file = w.dialog->logic().file();
  EXPECT_FALSE(w.checked(1038));
  EXPECT_EQ(w.text(1036).toStdString(), formatRangeTime(file, RecordTime::fromDayNumber(taken.from)));
  EXPECT_EQ(w.text(1037).toStdString(), formatRangeTime(file, RecordTime::fromDayNumber(taken.to)));
  fs::remove_all(dir);
}

// The list's menu without a selection: every entry's columns.
TEST(ChartWindowTest, TheListsMenuChartsAllEntries) {
  Window w;
  w.dialog->start({QString::fromStdString(demoData("samples/street-noise.cfg")),
                   QString::fromStdString(demoData("samples/street-noise.bin"))});
  auto* list = w.control<QListWidget>(1033);
  list->setCurrentRow(-1);
  std::size_t series = 0;
  whenModal([&](QWidget* dialog) {
    auto* chart = qobject_cast<ChartWindow*>(dialog);
    ASSERT_NE(chart, nullptr);
    ASSERT_TRUE(waitFor([&] { return chart->ready(); }));
    series = chart->data().series.size();
    chart->reject();
  });
  QString caption;
  const auto pickChart = std::make_shared<std::function<void()>>();
  *pickChart = [&, pickChart] {
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    if (menu == nullptr) return QTimer::singleShot(5, *pickChart);
    caption = menu->actions().value(0)->text();
    menu->setActiveAction(menu->actions().value(0));
    QTest::keyClick(menu, Qt::Key_Return);
  };
  QTimer::singleShot(0, *pickChart);
  emit list->customContextMenuRequested(list->rect().center());
  EXPECT_EQ(caption, QString::fromUtf8("График…"));
  EXPECT_GT(series, 30u);  // all the street sample's columns
}

TEST(ChartWindowTest, WithoutAFileSaysSo) {
  Window w;
  w.dialog->start({QStringLiteral("--no-such-option-file.cfg")});
  w.host->messages.clear();
  QApplication::setActiveWindow(w.dialog.get());  // shortcuts go to the active window
  QTest::keyClick(w.dialog.get(), Qt::Key_G, Qt::ControlModifier);
  ASSERT_EQ(w.host->messages.size(), 1u);
  EXPECT_EQ(w.host->messages[0], text(StringId::EmptyExportList));
}

}  // namespace
}  // namespace sonvera::ui::test
