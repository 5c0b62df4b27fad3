// Enter in every dialog: nothing in the main dialog, the progress window and the
// viewer; in the others the template's default button, or the focused button.

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include "grid_widget.h"
#include "progress_dialog.h"
#include "record_viewer_dialog.h"
#include "ui_harness.h"

namespace sonvera::ui::test {
namespace {

const QString kStreet = QString::fromStdString(demoData("samples/street-noise.bin"));
const QString kStreetSettings = QString::fromStdString(demoData("samples/street-noise.cfg"));

// The controls of `window` itself, not of the windows it owns.
template <typename Widget>
QList<Widget*> controlsOf(const QWidget* window) {
  QList<Widget*> own;
  for (Widget* widget : window->findChildren<Widget*>())
    if (widget->window() == window) own << widget;
  return own;
}

// Everything a key could change in a window: texts, check states, list lines.
QStringList snapshot(const QWidget* window) {
  QStringList state{window->windowTitle()};
  for (const QLineEdit* edit : controlsOf<QLineEdit>(window)) state << edit->objectName() + "=" + edit->text();
  for (const QLabel* label : controlsOf<QLabel>(window)) state << label->objectName() + "=" + label->text();
  for (const QAbstractButton* button : controlsOf<QAbstractButton>(window))
    state << button->objectName() + (button->isChecked() ? "+" : "-");
  for (const QComboBox* combo : controlsOf<QComboBox>(window))
    state << combo->objectName() + "#" + QString::number(combo->currentIndex());
  for (const QListWidget* list : controlsOf<QListWidget>(window))
    for (int i = 0; i < list->count(); ++i) state << list->objectName() + ":" + list->item(i)->text();
  return state;
}

// The entries of `after` that `before` does not hold.
QStringList changes(const QStringList& before, const QStringList& after) {
  QStringList changed;
  for (const QString& entry : after)
    if (!before.contains(entry)) changed << entry;
  return changed;
}

// The visible windows other than tool tips.
QStringList visibleWindows() {
  QStringList names;
  for (const QWidget* widget : QApplication::topLevelWidgets())
    if (widget->isVisible() && widget->windowType() != Qt::ToolTip) names << widget->objectName();
  return names;
}

// Closes and names every modal dialog that opens while it lives, so that a key
// that wrongly opens one cannot hang the test.
class ModalGuard {
 public:
  ModalGuard() {
    QObject::connect(&timer_, &QTimer::timeout, [this] {
      if (QWidget* modal = QApplication::activeModalWidget()) {
        opened << modal->objectName() + " " + modal->windowTitle();
        modal->close();
      }
    });
    timer_.start(5);
  }
  QStringList opened;

 private:
  QTimer timer_;
};

void press(QWidget* control, Qt::Key key) {
  control->setFocus();
  QTest::keyClick(control, key, key == Qt::Key_Enter ? Qt::KeypadModifier : Qt::NoModifier);
  QApplication::processEvents();
}

TEST(EnterKey, DoesNothingAnywhereInTheMainDialog) {
  Window w;
  w.dialog->start({kStreetSettings, kStreet});
  w.click(1042);  // enables 1011
  w.click(1017);  // enables 1012
  w.dialog->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(w.dialog.get()));
  const QStringList before = snapshot(w.dialog.get());
  ModalGuard guard;

  std::vector<int> ids{1036, 1037, 1011, 1012, 1019,                                  // edit fields
                       1006, 1007, 1038, 1042, 1017, 1048, 1049, 1018, 1025, 1026};  // check boxes
  for (const QPushButton* button : controlsOf<QPushButton>(w.dialog.get())) ids.push_back(button->objectName().toInt());
  for (int id : ids) {
    for (Qt::Key key : {Qt::Key_Return, Qt::Key_Enter}) {
      press(w.control<QWidget>(id), key);
      EXPECT_EQ(visibleWindows(), QStringList{"102"}) << id;
      EXPECT_EQ(changes(before, snapshot(w.dialog.get())), QStringList{}) << id;
    }
  }
  EXPECT_TRUE(guard.opened.isEmpty()) << guard.opened.join(", ").toStdString();
  EXPECT_TRUE(w.host->fileRequests.empty());
  EXPECT_TRUE(w.host->messages.empty() && w.host->questions.empty());
  // Focus has been on every button: none became the default.
  for (const QPushButton* button : controlsOf<QPushButton>(w.dialog.get()))
    EXPECT_FALSE(button->isDefault() || button->autoDefault()) << button->objectName().toStdString();

  QTest::keyClick(w.control<QLineEdit>(1019), Qt::Key_Escape);
  EXPECT_FALSE(w.dialog->isVisible());
  EXPECT_EQ(w.dialog->result(), QDialog::Rejected);
}

TEST(EnterKey, NeitherCancelsTheExportNorCopiesInTheViewer) {
  Window w;
  w.dialog->start({kStreet});
  ProgressDialog* progress = w.dialog->progressDialog();
  QSignalSpy cancelled(progress, &ProgressDialog::cancelRequested);
  progress->showProgress(40);
  progress->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(progress));
  for (Qt::Key key : {Qt::Key_Return, Qt::Key_Enter}) {
    press(child<QPushButton>(progress, 2), key);
    press(progress, key);
  }
  EXPECT_TRUE(progress->isVisible());
  EXPECT_EQ(progress->position(), 40);
  EXPECT_EQ(cancelled.count(), 0);
  QTest::keyClick(progress, Qt::Key_Escape);
  EXPECT_FALSE(progress->isVisible());
  EXPECT_EQ(cancelled.count(), 1);

  RecordViewerDialog viewer(demoCatalogue(), w.dialog->logic().file(), w.dialog.get());
  viewer.show();
  viewer.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&viewer));
  QApplication::clipboard()->setText("before");
  const QStringList before = snapshot(&viewer);
  std::vector<QWidget*> targets{viewer.grids().value(0)};
  for (int id : {1009, 1006, 1007, 1010}) targets.push_back(child<QWidget>(viewer.content(), id));
  for (QWidget* target : targets)
    for (Qt::Key key : {Qt::Key_Return, Qt::Key_Enter}) press(target, key);
  EXPECT_TRUE(viewer.isVisible());
  EXPECT_EQ(changes(before, snapshot(&viewer)), QStringList{});
  EXPECT_EQ(QApplication::clipboard()->text(), "before");
  for (const QPushButton* button : viewer.findChildren<QPushButton*>())
    EXPECT_FALSE(button->isDefault()) << button->text().toStdString();
}

TEST(EnterKey, PressesOnlyTheDefaultButtonOfTheStatisticsAndParameterDialogs) {
  Window w;
  w.dialog->start({kStreet});

  // A refused percentile keeps the dialog open with its message; Enter on a check
  // box presses "Да" without ticking the box.
  bool stayedOpen = false;
  whenModal([&](QWidget* dialog) {
    child<QLineEdit>(dialog, 1011)->setText("x");
    press(child<QLineEdit>(dialog, 1011), Qt::Key_Return);
    stayedOpen = dialog->isVisible();
    child<QLineEdit>(dialog, 1011)->setText("95");
    press(child<QCheckBox>(dialog, 1007), Qt::Key_Enter);
  });
  w.click(1051);
  EXPECT_TRUE(stayedOpen);
  EXPECT_EQ(w.host->messages, std::vector<std::string>{"Ошибка: неверное значение процентили"});
  EXPECT_EQ(w.text(1010), "L95");

  // The focused "Отмена" takes Enter itself.
  whenModal([&](QWidget* dialog) {
    child<QLineEdit>(dialog, 1012)->setText("5");
    press(child<QPushButton>(dialog, 2), Qt::Key_Return);
  });
  w.click(1051);
  EXPECT_EQ(w.text(1010), "L95");

  whenModal([&](QWidget* dialog) {
    child<QComboBox>(dialog, 1010)->setCurrentIndex(1);
    press(child<QComboBox>(dialog, 1010), Qt::Key_Return);
  });
  w.click(1034);
  ASSERT_EQ(w.listLines(1033).size(), 1);
  EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

}  // namespace
}  // namespace sonvera::ui::test
