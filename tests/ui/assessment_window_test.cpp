#include <gtest/gtest.h>

#include <QApplication>
#include <QChart>
#include <QChartView>
#include <QClipboard>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <filesystem>
#include <functional>
#include <memory>

#include "app/strings.h"
#include "assessment_window.h"
#include "cell_table_view.h"
#include "progress_dialog.h"
#include "ui_harness.h"

namespace sonvera::ui::test {
namespace {

namespace fs = std::filesystem;

void openStreetSample(Window& w) {
  w.dialog->start({QString::fromStdString(demoData("samples/street-noise.cfg")),
                   QString::fromStdString(demoData("samples/street-noise.bin"))});
  w.control<QListWidget>(1033)->setCurrentRow(0);
}

bool settled(AssessmentWindow* a) {
  return waitFor([&] { return !a->busy(); });
}

// The whole flow: Ctrl+L, the first result, other parameters, copies, saving.
TEST(AssessmentWindowTest, ComputesRecomputesCopiesAndSaves) {
  const fs::path dir = fs::temp_directory_path() / ("sonvera-ui-assess-" + std::to_string(::getpid()));
  fs::create_directories(dir);
  Window w;
  openStreetSample(w);
  std::size_t hourly = 0, quarterly = 0, days = 0, events = 0, fewerEvents = 0;
  QString selection, table, summary;
  QStringList seriesNames;
  bool saved = false;
  whenModal([&](QWidget* modal) {
    auto* a = qobject_cast<AssessmentWindow*>(modal);
    ASSERT_NE(a, nullptr);
    ASSERT_TRUE(settled(a));
    hourly = a->grid(0)->model()->rowCount();
    days = a->grid(1)->model()->rowCount();
    events = a->grid(2)->model()->rowCount();
    summary = a->findChild<QLabel*>(QStringLiteral("summary"))->text();
    for (QAbstractSeries* series : a->chartView()->chart()->series()) seriesNames << series->name();

    a->findChild<QComboBox*>(QStringLiteral("interval"))->setCurrentIndex(3);  // 15 min
    a->findChild<QLineEdit*>(QStringLiteral("threshold"))->setText(QStringLiteral("70"));
    a->findChild<QPushButton*>(QStringLiteral("calculate"))->click();
    ASSERT_TRUE(settled(a));
    quarterly = a->grid(0)->model()->rowCount();
    fewerEvents = a->grid(2)->model()->rowCount();

    CellTableView* grid = a->grid(0);
    grid->setFocus();
    grid->selectionModel()->select(QItemSelection(grid->model()->index(0, 0), grid->model()->index(1, 2)),
                                   QItemSelectionModel::Select);
    QTest::keyClick(grid, Qt::Key_C, Qt::ControlModifier);
    selection = QApplication::clipboard()->text();
    a->findChild<QPushButton*>(QStringLiteral("copy"))->click();
    table = QApplication::clipboard()->text();

    w.host->files = {(dir / "street.csv").string(), (dir / "street.xlsx").string()};
    a->findChild<QPushButton*>(QStringLiteral("save"))->click();
    a->findChild<QPushButton*>(QStringLiteral("save"))->click();
    saved = true;
    a->reject();
  });
  QApplication::setActiveWindow(w.dialog.get());  // shortcuts go to the active window
  QTest::keyClick(w.dialog.get(), Qt::Key_L, Qt::ControlModifier);

  ASSERT_TRUE(w.host->messages.empty()) << w.host->messages.front();
  EXPECT_EQ(hourly, 25u);  // 24 hours and the whole range
  EXPECT_EQ(days, 3u);     // the night of the 13th, the 14th, the whole range
  EXPECT_GT(events, 100u);
  EXPECT_TRUE(summary.startsWith(QString::fromUtf8("Общ,Leq,A: 85932 записей"))) << summary.toStdString();
  // The night and evening shaded, the hourly Leq, the threshold of the settings and the events.
  for (const char* name : {"Вечер", "Ночь", "Leq за 60 мин", "Порог 65 дБ", "События (Lmax)"})
    EXPECT_TRUE(seriesNames.contains(QString::fromUtf8(name))) << name;
  EXPECT_EQ(quarterly, 97u);
  EXPECT_LT(fewerEvents, events);
  // The settings file chose the decimal comma.
  EXPECT_EQ(selection, QString::fromUtf8("2026-05-14 00:00:00\t900\t0\n2026-05-14 00:15:00\t900\t0"));
  EXPECT_TRUE(table.startsWith(QString::fromUtf8("Начало\tЗаписей\tИсключено\tПокрытие, %\tLeq, дБ")));
  EXPECT_TRUE(table.contains(QString::fromUtf8("\nвесь диапазон\t85932\t468\t99,5\t")));
  EXPECT_EQ(table.count('\n'), 98);
  EXPECT_TRUE(saved);
  for (const char* name : {"street_интервалы.csv", "street_сутки.csv", "street_события.csv", "street.xlsx"})
    EXPECT_GT(fs::file_size(dir / fs::u8path(name)), 100u) << name;
  fs::remove_all(dir);
}

// "Отмена" stops the worker and keeps the result shown before; a wrong
// field says so without starting it.
TEST(AssessmentWindowTest, CancelKeepsThePreviousResultAndFieldsAreChecked) {
  Window w;
  openStreetSample(w);
  QString stopped;
  std::size_t rowsBefore = 0, rowsAfter = 0;
  bool busyAfterBadField = true;
  whenModal([&](QWidget* modal) {
    auto* a = qobject_cast<AssessmentWindow*>(modal);
    ASSERT_NE(a, nullptr);
    ASSERT_TRUE(settled(a));
    rowsBefore = a->grid(0)->model()->rowCount();
    a->findChild<QComboBox*>(QStringLiteral("interval"))->setCurrentIndex(0);  // 1 min
    a->calculate();
    EXPECT_TRUE(a->busy());
    a->progressDialog()->reject();  // "Отмена"
    ASSERT_TRUE(settled(a));
    stopped = a->findChild<QLabel*>(QStringLiteral("summary"))->text();
    rowsAfter = a->grid(0)->model()->rowCount();

    a->findChild<QLineEdit*>(QStringLiteral("gap"))->setText(QStringLiteral("пять"));
    a->findChild<QPushButton*>(QStringLiteral("calculate"))->click();
    busyAfterBadField = a->busy();
    a->reject();
  });
  QApplication::setActiveWindow(w.dialog.get());
  QTest::keyClick(w.dialog.get(), Qt::Key_L, Qt::ControlModifier);
  EXPECT_EQ(stopped, QString::fromUtf8("Остановлено; показан прежний расчёт"));
  EXPECT_EQ(rowsAfter, rowsBefore);
  EXPECT_FALSE(busyAfterBadField);
  ASSERT_EQ(w.host->messages.size(), 1u);
  EXPECT_EQ(w.host->messages[0], text(StringId::BadEventGap));
}

// The ways in: the list's menu and the button "Анализ" offer both windows.
TEST(AssessmentWindowTest, TheListsMenuAndTheAnalysisButtonOfferBoth) {
  Window w;
  openStreetSample(w);
  auto* button = w.dialog->findChild<QToolButton*>(QStringLiteral("analysis"));
  ASSERT_NE(button, nullptr);
  EXPECT_TRUE(button->isVisible());
  // Beside "Все", clear of the label before it.
  EXPECT_LT(button->geometry().right(), w.control<QPushButton>(1047)->geometry().left());
  ASSERT_EQ(button->menu()->actions().size(), 2);
  EXPECT_EQ(button->menu()->actions()[1]->text(), QString::fromUtf8("Оценка шума…"));

  QStringList captions;
  bool opened = false;
  whenModal([&](QWidget* modal) {
    auto* a = qobject_cast<AssessmentWindow*>(modal);
    opened = a != nullptr;
    if (a) settled(a);
    modal->close();
  });
  auto* list = w.control<QListWidget>(1033);
  const auto pick = std::make_shared<std::function<void()>>();
  *pick = [&, pick] {
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    if (menu == nullptr) return QTimer::singleShot(5, *pick);
    for (QAction* action : menu->actions()) captions << action->text();
    menu->setActiveAction(menu->actions().value(1));
    QTest::keyClick(menu, Qt::Key_Return);
  };
  QTimer::singleShot(0, *pick);
  emit list->customContextMenuRequested(list->rect().center());
  EXPECT_EQ(captions, (QStringList{QString::fromUtf8("График…"), QString::fromUtf8("Оценка шума…")}));
  EXPECT_TRUE(opened);
}

}  // namespace
}  // namespace sonvera::ui::test
