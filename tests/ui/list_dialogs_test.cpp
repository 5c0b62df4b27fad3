#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

#include "ui_harness.h"

namespace sonvera::ui::test {
namespace {

// Chooses the entries at these positions of the parameter dialog's lists and presses "Да".
void chooseInParameterDialog(int group, int parameter, int band, int channel) {
  whenModal([=](QWidget* dialog) {
    child<QComboBox>(dialog, 1009)->setCurrentIndex(group);
    child<QComboBox>(dialog, 1010)->setCurrentIndex(parameter);
    child<QComboBox>(dialog, 1011)->setCurrentIndex(band);
    child<QComboBox>(dialog, 1012)->setCurrentIndex(channel);
    child<QPushButton>(dialog, 1)->click();
  });
}

void doubleClickLine(QListWidget* list, int row) {
  const QPoint at = list->visualItemRect(list->item(row)).center();
  QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
  QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
}

TEST(ExportListWindow, AddsEditsMovesAndDeletesThroughTheParameterDialog) {
  Window w;
  w.dialog->start({QString::fromStdString(demoData("samples/machine-vibration.dcr"))});

  // The dialog opened for adding shows every channel and "все каналы".
  QStringList channels;
  bool channelsEnabled = false;
  whenModal([&](QWidget* dialog) {
    auto* list = child<QComboBox>(dialog, 1012);
    for (int i = 0; i < list->count(); ++i) channels << list->itemText(i);
    channelsEnabled = list->isEnabled();
    EXPECT_EQ(dialog->windowTitle(), QString::fromUtf8("Выбор параметра"));
    child<QPushButton>(dialog, 2)->click();
  });
  w.click(1034);
  EXPECT_TRUE(channelsEnabled);
  EXPECT_EQ(channels.value(0), QString::fromUtf8("все каналы"));
  EXPECT_EQ(channels.size(), 5);
  EXPECT_TRUE(w.listLines(1033).isEmpty());

  chooseInParameterDialog(0, 0, 0, 0);
  w.click(1034);
  chooseInParameterDialog(0, 1, 0, 1);
  w.click(1034);
  ASSERT_EQ(w.listLines(1033).size(), 2);
  EXPECT_TRUE(w.listLines(1033)[0].startsWith(QString::fromUtf8("все каналы,")));
  EXPECT_EQ(w.control<QListWidget>(1033)->currentRow(), 1);

  // The same entry again: No keeps the list, Yes appends it.
  chooseInParameterDialog(0, 0, 0, 0);
  w.click(1034);
  EXPECT_EQ(w.host->questions.size(), 1u);
  EXPECT_EQ(w.listLines(1033).size(), 2);
  w.host->answers = {true};
  chooseInParameterDialog(0, 0, 0, 0);
  w.click(1034);
  const QStringList three = w.listLines(1033);
  ASSERT_EQ(three.size(), 3);
  EXPECT_EQ(three[2], three[0]);

  // Move the last line to the top, edit it, delete it.
  w.click(1043);
  w.click(1043);
  w.click(1043);
  EXPECT_EQ(w.listLines(1033), (QStringList{three[2], three[0], three[1]}));
  EXPECT_EQ(w.control<QListWidget>(1033)->currentRow(), 0);
  chooseInParameterDialog(0, 1, 0, 2);
  doubleClickLine(w.control<QListWidget>(1033), 0);
  EXPECT_NE(w.listLines(1033)[0], three[2]);
  EXPECT_EQ(w.listLines(1033)[1], three[0]);
  w.control<QListWidget>(1033)->setCurrentRow(2);
  w.click(1050);
  EXPECT_EQ(w.listLines(1033).size(), 2);
  EXPECT_EQ(w.control<QListWidget>(1033)->currentRow(), 1);
  w.click(1035);
  EXPECT_TRUE(w.listLines(1033).isEmpty());
}

TEST(ExportListWindow, AllChannelsEntryOnAOneChannelFileCanBeConfirmed) {
  Window w;
  // "Все" lists every parameter for all channels (-1), as a settings file made on a
  // four-channel file would; on the one-channel file the single channel is picked.
  w.dialog->start({QString::fromStdString(demoData("samples/street-noise.bin"))});
  w.dialog->logic().addAllExportItems();
  w.dialog->refresh();
  w.control<QListWidget>(1033)->setCurrentRow(0);
  bool disabled = false;
  whenModal([&](QWidget* dialog) {
    disabled = !child<QComboBox>(dialog, 1012)->isEnabled();
    EXPECT_EQ(child<QComboBox>(dialog, 1012)->currentIndex(), 0);
    child<QPushButton>(dialog, 1)->click();
  });
  doubleClickLine(w.control<QListWidget>(1033), 0);
  EXPECT_TRUE(disabled);
  EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

TEST(StatisticsWindow, RefusesBadValuesAndShowsTheSummary) {
  Window w;
  w.dialog->start({QString::fromStdString(demoData("samples/street-noise.bin"))});
  int step = 0;
  whenModal([&](QWidget* dialog) {
    EXPECT_EQ(dialog->windowTitle(), QString::fromUtf8("Статистика"));
    EXPECT_EQ(child<QLineEdit>(dialog, 1017)->text(), "75");
    child<QLineEdit>(dialog, 1011)->setText("90");
    child<QLineEdit>(dialog, 1019)->setText("10");
    child<QLineEdit>(dialog, 1036)->setText(" 50 ");
    child<QLineEdit>(dialog, 1017)->setText("300");
    child<QCheckBox>(dialog, 1010)->click();
    child<QCheckBox>(dialog, 1006)->click();
    child<QPushButton>(dialog, 1)->click();  // threshold refused: stays open
    step = dialog->isVisible() ? 1 : 0;
    child<QLineEdit>(dialog, 1017)->setText("65");
    child<QLineEdit>(dialog, 1012)->setText("x");
    child<QPushButton>(dialog, 1)->click();  // percentile refused
    step += dialog->isVisible() ? 1 : 0;
    child<QLineEdit>(dialog, 1012)->setText("");
    child<QPushButton>(dialog, 1)->click();
  });
  w.click(1051);
  EXPECT_EQ(step, 2);
  EXPECT_EQ(w.host->messages,
            (std::vector<std::string>{"Ошибка: неверный порог", "Ошибка: неверное значение процентили"}));
  EXPECT_EQ(w.text(1010), "L10, L50, L90, min, n65");

  // A double-click on the summary opens the dialog too; cancel changes nothing.
  whenModal([](QWidget* dialog) {
    EXPECT_EQ(child<QLineEdit>(dialog, 1011)->text(), "10");
    child<QLineEdit>(dialog, 1011)->setText("");
    child<QPushButton>(dialog, 2)->click();
  });
  QTest::mouseDClick(w.control<QLabel>(1010), Qt::LeftButton);
  EXPECT_EQ(w.text(1010), "L10, L50, L90, min, n65");
}

}  // namespace
}  // namespace sonvera::ui::test
