#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QButtonGroup>
#include <QDropEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMimeData>
#include <QTest>
#include <QToolTip>
#include <QUrl>
#include <filesystem>

#include "app/settings_file.h"
#include "platform/platform.h"
#include "ui_harness.h"

namespace sonvera::ui::test {
namespace {

namespace fs = std::filesystem;

const std::string kStreet = "samples/street-noise.bin";
const std::string kVibration = "samples/machine-vibration.dcr";

class TempDir {
 public:
  TempDir() { fs::create_directories(path_); }
  ~TempDir() { fs::remove_all(path_); }
  std::string operator/(const std::string& name) const { return (path_ / name).string(); }

 private:
  fs::path path_ = fs::temp_directory_path() / ("sonvera-ui-" + std::to_string(::getpid()));
};

TEST(MainWindow, StartsWithTheDefaultsAndEnablingRules) {
  Window w;
  EXPECT_EQ(w.dialog->windowTitle(), QString::fromUtf8("Универсальный транслятор версия 1.01"));
  EXPECT_FALSE(w.dialog->windowFlags() & Qt::WindowMaximizeButtonHint);
  EXPECT_EQ(w.dialog->minimumSize(), w.dialog->maximumSize());
  EXPECT_EQ(w.text(1041), QString::fromUtf8("записи"));
  EXPECT_EQ(w.text(1011), "60");
  EXPECT_EQ(w.text(1012), "1");
  EXPECT_EQ(w.text(1019), "");
  for (int on : {1031, 1013, 1022, 1020}) EXPECT_TRUE(w.checked(on)) << on;
  for (int off : {1038, 1042, 1017, 1015, 1016, 1018, 1025, 1026, 1048, 1049, 1006, 1007, 1032, 1014})
    EXPECT_FALSE(w.checked(off)) << off;
  const auto enabled = [&](std::initializer_list<int> ids) {
    int count = 0;
    for (int id : ids) count += w.control<QWidget>(id)->isEnabled() ? 1 : 0;
    return count;
  };
  EXPECT_EQ(enabled({1011, 1031, 1032, 1012, 1013, 1014, 1015, 1016}), 0);

  w.click(1042);
  EXPECT_EQ(enabled({1011, 1031, 1032}), 3);
  w.click(1017);
  EXPECT_EQ(enabled({1012, 1013, 1014, 1015, 1016}), 5);
  // Averaging and maxima exclude each other; a click on a checked one clears both.
  w.click(1015);
  w.click(1016);
  EXPECT_FALSE(w.checked(1015));
  EXPECT_TRUE(w.checked(1016));
  w.click(1016);
  EXPECT_FALSE(w.checked(1015) || w.checked(1016));
  w.click(1042);
  EXPECT_EQ(enabled({1011, 1031, 1032}), 0);

  // Without a file the list commands and the statistics do nothing.
  w.click(1047);
  w.click(1051);
  EXPECT_TRUE(w.listLines(1033).isEmpty());
  EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

TEST(MainWindow, EnterKeepsItOpenAndEscapeEndsIt) {
  Window w;
  w.dialog->show();
  QTest::keyClick(w.control<QLineEdit>(1019), Qt::Key_Return);
  EXPECT_TRUE(w.dialog->isVisible());
  QTest::keyClick(w.dialog.get(), Qt::Key_Escape);
  EXPECT_FALSE(w.dialog->isVisible());
  EXPECT_EQ(w.dialog->result(), QDialog::Rejected);
}

TEST(MainWindow, OpensTheCommandLineInOrderAndShowsTheSummary) {
  TempDir dir;
  Window w;
  // a.cfg with tab separator and a comment; b.cfg (after the file) with point and another comment.
  SettingsFileContents a;
  a.valueSeparator = 1;
  a.comment = "первый";
  SettingsFileContents b = a;
  b.valueSeparator = 2;
  b.comment = "второй";
  ASSERT_TRUE(platform::writeWholeFile(dir / "a.cfg", encodeSettingsFile(a)));
  ASSERT_TRUE(platform::writeWholeFile(dir / "b.CFG", encodeSettingsFile(b)));
  w.dialog->start({QString::fromStdString(dir / "a.cfg"), QString::fromStdString(demoData(kVibration)),
                   QString::fromStdString(demoData(kStreet)), QString::fromStdString(dir / "b.CFG")});
  QApplication::processEvents();
  EXPECT_TRUE(w.host->fileRequests.empty());  // a file was named: no open-file dialog
  EXPECT_TRUE(w.dialog->windowTitle().endsWith("(" + QString::fromStdString(demoData(kVibration)) + ")"));
  EXPECT_EQ(w.text(1004), QString::fromUtf8("3600 записей"));
  EXPECT_EQ(w.text(1005), QString::fromUtf8("шаг: 1.0 сек"));
  EXPECT_EQ(w.text(1019), QString::fromUtf8("второй"));
  EXPECT_TRUE(w.control<QAbstractButton>(1024)->isChecked());
  EXPECT_TRUE(w.checked(1038));
  EXPECT_EQ(w.text(1036), "1");
  EXPECT_EQ(w.text(1037), "3600");
  EXPECT_EQ(w.listLines(1045).size(), 4);
  EXPECT_TRUE(w.checked(1007));
  const QString tip = w.control<QLabel>(1040)->toolTip();
  EXPECT_EQ(tip.size(), 79);
  EXPECT_TRUE(QString::fromStdString(w.dialog->logic().state().underloadDetails).startsWith(tip));

  // Range units switch to times and back.
  w.click(1038);
  EXPECT_EQ(w.text(1041), "");
  EXPECT_EQ(w.text(1036), "08:00:00");  // a one-day file gives times of day
  w.click(1038);
  EXPECT_EQ(w.text(1037), "3600");
}

// The overload and underload details, cut to 79 characters, also while
// another window is active.
TEST(MainWindow, ShowsTheSummaryTipsWhileAnotherWindowIsActive) {
  Window w;
  w.dialog->start({QString::fromStdString(demoData(kVibration))});
  const MainDialogState& s = w.dialog->logic().state();
  ASSERT_GT(QString::fromStdString(s.underloadDetails).size(), 79);
  ASSERT_FALSE(s.overloadDetails.empty());
  QWidget other;
  other.setGeometry(w.dialog->frameGeometry().right() + 20, 10, 200, 100);
  other.show();
  other.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&other));
  // A tip needs a pointer without buttons; a double-click of QTest leaves its button pressed.
  QTest::mouseRelease(&other, Qt::LeftButton);
  ASSERT_FALSE(w.dialog->isActiveWindow());
  for (const auto& [id, details] : {std::pair{1040, s.underloadDetails}, std::pair{1039, s.overloadDetails}}) {
    const QString tip = QString::fromStdString(details).left(79);
    auto* field = w.control<QLabel>(id);
    QTest::mouseMove(field, field->rect().center());
    EXPECT_TRUE(waitFor([&] { return QToolTip::isVisible() && QToolTip::text() == tip; }, 5000))
        << id << ": " << QToolTip::text().toStdString();
  }
  QToolTip::hideText();
}

TEST(MainWindow, AsksForAFileAtOnceWhenNoneIsNamed) {
  Window w;
  w.host->files = {demoData(kStreet)};
  w.dialog->start({});
  ASSERT_TRUE(waitFor([&] { return !w.host->fileRequests.empty(); }));
  EXPECT_EQ(w.text(1004), QString::fromUtf8("86400 записей"));
  EXPECT_EQ(w.listLines(1045).size(), 1);
}

TEST(MainWindow, DroppedFilesActAsTheCommandLine) {
  TempDir dir;
  Window w;
  SettingsFileContents settings;
  settings.comment = "с диска";
  ASSERT_TRUE(platform::writeWholeFile(dir / "drop.cfg", encodeSettingsFile(settings)));
  QMimeData data;
  data.setUrls({QUrl::fromLocalFile(QString::fromStdString(demoData(kStreet))),
                QUrl::fromLocalFile(QString::fromStdString(dir / "drop.cfg"))});
  QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(w.dialog.get(), &enter);
  EXPECT_TRUE(enter.isAccepted());
  QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(w.dialog.get(), &drop);
  EXPECT_EQ(w.text(1004), QString::fromUtf8("86400 записей"));
  EXPECT_EQ(w.text(1019), QString::fromUtf8("с диска"));
  EXPECT_TRUE(drop.isAccepted());
}

TEST(MainWindow, SavesAndLoadsSettingsThroughTheFileDialogs) {
  TempDir dir;
  Window w;
  w.dialog->start({QString::fromStdString(demoData(kStreet))});
  w.click(1047);
  w.click(1042);
  w.control<QLineEdit>(1011)->setText("15");
  w.click(1032);
  w.click(1023);
  w.click(1021);
  w.click(1049);
  w.control<QLineEdit>(1019)->setText(QString::fromUtf8("Точка 7"));
  const QStringList lines = w.listLines(1033);

  w.host->files = {dir / "saved.cfg"};
  w.click(1027);
  EXPECT_EQ(w.dialog->logic().state().split, true);
  // Change everything, then load it back.
  w.click(1035);
  w.click(1042);
  w.click(1022);
  w.control<QLineEdit>(1019)->setText("");
  w.host->files = {dir / "saved.cfg"};
  w.click(1028);
  EXPECT_TRUE(w.host->messages.empty());
  EXPECT_EQ(w.listLines(1033), lines);
  EXPECT_TRUE(w.checked(1042) && w.checked(1032) && w.checked(1023) && w.checked(1021) && w.checked(1049));
  EXPECT_TRUE(w.control<QWidget>(1011)->isEnabled());
  EXPECT_EQ(w.text(1011), "15");
  EXPECT_EQ(w.text(1019), QString::fromUtf8("Точка 7"));
  // The second settings dialog starts in the folder of the first.
  EXPECT_EQ(w.host->fileRequests.back(), "load " + fs::path(dir / "x").parent_path().string() + "/");

  w.host->files = {dir / "missing.cfg"};
  w.click(1028);
  ASSERT_EQ(w.host->messages.size(), 1u);
  EXPECT_EQ(w.host->messages[0], "Не могу открыть файл '" + (dir / "missing.cfg") + "'");
}

}  // namespace
}  // namespace sonvera::ui::test
