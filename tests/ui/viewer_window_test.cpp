#include <gtest/gtest.h>

#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QLineEdit>
#include <QMenu>
#include <QTimer>
#include <QWheelEvent>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <filesystem>
#include <fstream>

#include "grid_widget.h"
#include "record_viewer_dialog.h"
#include "ui_harness.h"

namespace sonvera::ui::test {
namespace {

namespace fs = std::filesystem;

// The point in the middle of a cell of a grid.
QPoint cellCentre(const GridWidget* grid, int column, int row) {
  const QSize cell = grid->cellSize();
  return {1 + column * cell.width() + cell.width() / 2, 1 + row * cell.height() + cell.height() / 2};
}

void clickCell(GridWidget* grid, int column, int row, Qt::KeyboardModifiers modifiers = {}) {
  QTest::mouseClick(grid, Qt::LeftButton, modifiers, cellCentre(grid, column, row));
}

CellRange selected(const GridWidget* grid) { return grid->selection().range(); }

struct Viewer {
  explicit Viewer(const std::string& sample) {
    window.dialog->start({QString::fromStdString(demoData(sample))});
    dialog = std::make_unique<RecordViewerDialog>(demoCatalogue(), window.dialog->logic().file(), nullptr);
    dialog->show();
  }
  Window window;
  std::unique_ptr<RecordViewerDialog> dialog;
};

TEST(GridWindow, SelectsWithClicksShiftAndDragging) {
  Viewer v("samples/street-noise.bin");
  GridWidget* grid = v.dialog->grids().value(1);  // the first third-octave table
  ASSERT_NE(grid, nullptr);
  QSignalSpy context(grid, &GridWidget::contextRequested);
  QTest::mouseClick(grid, Qt::RightButton, {}, cellCentre(grid, 0, 0));
  EXPECT_EQ(context.count(), 0);  // nothing selected: no context menu

  // Linear units change the level texts and come back.
  const RecordViewer& viewer = v.dialog->viewer();
  const std::string level = viewer.cellText(grid->table(), 0, 0);
  child<QCheckBox>(v.dialog->content(), 1006)->click();
  EXPECT_NE(viewer.cellText(grid->table(), 0, 0), level);
  EXPECT_NE(viewer.cellText(grid->table(), 0, 0).find('E'), std::string::npos);
  child<QCheckBox>(v.dialog->content(), 1006)->click();
  EXPECT_EQ(viewer.cellText(grid->table(), 0, 0), level);

  clickCell(grid, 2, 1);
  EXPECT_EQ(selected(grid), (CellRange{2, 1, 3, 2}));
  clickCell(grid, 2, 1);
  EXPECT_FALSE(grid->selection().hasSelection());
  clickCell(grid, 3, 0, Qt::ShiftModifier);  // no anchor: a plain click
  EXPECT_EQ(selected(grid), (CellRange{3, 0, 4, 1}));
  clickCell(grid, 1, 2, Qt::ShiftModifier);
  EXPECT_EQ(selected(grid), (CellRange{1, 0, 4, 3}));

  // With a selection the viewer's menu offers the copy.
  QString entry;
  QTimer::singleShot(50, [&] {
    if (auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget())) {
      entry = menu->actions().value(0)->text();
      menu->setActiveAction(menu->actions().value(0));
      QTest::keyClick(menu, Qt::Key_Return);
    }
  });
  QTest::mouseClick(grid, Qt::RightButton, {}, cellCentre(grid, 0, 0));
  EXPECT_EQ(context.count(), 1);
  EXPECT_EQ(entry, QString::fromUtf8("В буфер обмена"));
  EXPECT_EQ(QApplication::clipboard()->text().split('\n').size(), 3);

  // Dragging with the button held, then out of the cells.
  QTest::mousePress(grid, Qt::LeftButton, {}, cellCentre(grid, 0, 0));
  QMouseEvent move(QEvent::MouseMove, cellCentre(grid, 2, 1), grid->mapToGlobal(cellCentre(grid, 2, 1)),
                   Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(grid, &move);
  EXPECT_EQ(selected(grid), (CellRange{0, 0, 3, 2}));
  QMouseEvent out(QEvent::MouseMove, QPointF(-4, 5), grid->mapToGlobal(QPointF(-4, 5)), Qt::NoButton,
                  Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(grid, &out);
  EXPECT_FALSE(grid->selection().hasSelection());
}

TEST(ViewerWindow, ChannelsUnitsAndCopies) {
  Viewer v("samples/machine-vibration.dcr");
  auto* channels = child<QComboBox>(v.dialog->content(), 1009);
  EXPECT_EQ(channels->count(), 4);
  GridWidget* grid = v.dialog->grids().value(2);  // the first spectrum table
  ASSERT_NE(grid, nullptr);
  const RecordViewer& viewer = v.dialog->viewer();
  const std::string levelX = viewer.cellText(grid->table(), 0, 0);

  v.dialog->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(v.dialog.get()));
  clickCell(grid, 0, 0);
  clickCell(grid, 1, 0, Qt::ShiftModifier);
  QTest::keyClick(grid, Qt::Key_C, Qt::ControlModifier);
  EXPECT_EQ(QApplication::clipboard()->text().toStdString(), viewer.selectionText(grid->table(), grid->selection()));
  EXPECT_EQ(QApplication::clipboard()->text().count('\t'), 1);

  channels->setCurrentIndex(2);
  EXPECT_EQ(viewer.channel(), 2);
  EXPECT_EQ(selected(grid), (CellRange{0, 0, 2, 1}));  // the selection stays
  EXPECT_NE(viewer.cellText(grid->table(), 0, 0), levelX);

  // Ctrl+Insert copies too.
  QApplication::clipboard()->clear();
  QTest::keyClick(grid, Qt::Key_Insert, Qt::ControlModifier);
  EXPECT_EQ(QApplication::clipboard()->text().count('\t'), 1);

  child<QPushButton>(v.dialog->content(), 1010)->click();
  EXPECT_EQ(QApplication::clipboard()->text().toStdString(), viewer.allTablesText());
  EXPECT_TRUE(QApplication::clipboard()->text().contains("\n\n"));
}

TEST(ViewerWindow, TheWheelScrollsTwoLinesANotchAndSidewaysWithShift) {
  Viewer v("samples/street-noise.bin");
  v.dialog->resize(400, 300);
  QScrollArea* area = v.dialog->scrollArea();
  QWidget* viewport = area->viewport();
  const QSize line = v.dialog->grids().first()->cellSize();
  const auto turn = [&](int delta, Qt::KeyboardModifiers modifiers) {
    QWheelEvent wheel(QPointF(50, 50), viewport->mapToGlobal(QPointF(50, 50)), QPoint(), QPoint(0, delta),
                      Qt::NoButton, modifiers, Qt::NoScrollPhase, false);
    QApplication::sendEvent(viewport, &wheel);
  };
  turn(-120, Qt::NoModifier);  // towards the user: down
  EXPECT_EQ(area->verticalScrollBar()->value(), 2 * line.height());
  turn(120, Qt::ShiftModifier);  // away from the user with Shift: to the right
  EXPECT_EQ(area->horizontalScrollBar()->value(), 2 * line.width());
  EXPECT_EQ(area->verticalScrollBar()->singleStep(), line.height());
}

TEST(ViewerWindow, OpensFromTheMainDialogAlsoWithoutAFile) {
  Window w;
  bool controlsShown = false;
  int tables = -1;
  whenModal([&](QWidget* modal) {
    auto* viewer = qobject_cast<RecordViewerDialog*>(modal);
    ASSERT_NE(viewer, nullptr);
    tables = static_cast<int>(viewer->grids().size());
    auto* copy = child<QPushButton>(viewer->content(), 1010);
    controlsShown = viewer->scrollArea()->viewport()->rect().contains(
        copy->geometry().translated(-viewer->scrollArea()->horizontalScrollBar()->value(), 0));
    viewer->close();
  });
  w.click(1008);
  EXPECT_EQ(tables, 0);
  EXPECT_TRUE(controlsShown);
}

TEST(ViewerWindow, ACellReadsAsTheExportWritesIt) {
  const fs::path result = fs::temp_directory_path() / ("sonvera-viewer-" + std::to_string(::getpid()) + ".csv");
  Window w;
  w.dialog->start({QString::fromStdString(demoData("samples/street-noise.bin"))});
  w.click(1047);   // group 2 first: its first line is Leq of every broadband band
  w.click(1018);   // linear units
  w.control<QLineEdit>(1036)->setText("86400");
  w.host->files = {result.string()};
  w.click(1029);
  ASSERT_TRUE(waitFor([&] { return !w.dialog->logic().exportRunning(); }));
  std::ifstream in(result, std::ios::binary);
  std::string header, line;
  std::getline(in, header);
  std::getline(in, line);
  fs::remove(result);

  // Exports always write the extended form.
  RecordViewerDialog viewer(demoCatalogue(), w.dialog->logic().file(), nullptr);
  child<QCheckBox>(viewer.content(), 1006)->click();
  child<QCheckBox>(viewer.content(), 1007)->click();
  const GridWidget* grid = viewer.grids().value(0);
  ASSERT_NE(grid, nullptr);
  const std::string expected = viewer.viewer().cellText(grid->table(), 0, 0) + ";" +
                               viewer.viewer().cellText(grid->table(), 1, 0) + ";";
  EXPECT_EQ(line.substr(0, expected.size()), expected);
}

}  // namespace
}  // namespace sonvera::ui::test
