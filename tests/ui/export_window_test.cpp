#include <gtest/gtest.h>

#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <filesystem>
#include <fstream>

#include "cli/cli_run.h"
#include <QComboBox>

#include "app/profile.h"
#include "progress_dialog.h"
#include "result_file_dialog.h"
#include "ui_harness.h"

namespace sonvera::ui::test {
namespace {

namespace fs = std::filesystem;

class ExportWindow : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::create_directories(dir / "window");
    fs::create_directories(dir / "cli");
  }
  void TearDown() override { fs::remove_all(dir); }
  // Waits until the export's end has reached the window.
  bool exportEnded(Window& w) {
    return waitFor([&] { return !w.dialog->logic().exportRunning() && !w.dialog->progressDialog()->isVisible(); });
  }

  fs::path dir = fs::temp_directory_path() / ("sonvera-ui-export-" + std::to_string(::getpid()));
  const std::string sample = demoData("samples/street-noise.bin");
  const std::string settings = demoData("samples/street-noise.cfg");
};

TEST_F(ExportWindow, WritesTheSameFilesAsTheCommandLine) {
  Window w;
  w.dialog->start({QString::fromStdString(settings), QString::fromStdString(sample)});
  w.host->files = {(dir / "window" / "street.csv").string()};
  w.click(1029);
  ASSERT_TRUE(exportEnded(w));
  EXPECT_TRUE(w.host->messages.empty());
  EXPECT_EQ(w.host->fileRequests.back().substr(w.host->fileRequests.back().rfind(' ') + 1), "street-noise.csv");

  const sonvera::test::CliRun cli = sonvera::test::runCli({"--catalogue", demoData("bin/TeleDescFile.bin"), "export", sample, "-s",
                                         settings, "-o", (dir / "cli" / "street.csv").string()});
  ASSERT_EQ(cli.code, 0) << cli.err;
  const std::string csv = readAll(dir / "window" / "street.csv");
  EXPECT_GT(csv.size(), 100000u);
  EXPECT_EQ(csv, readAll(dir / "cli" / "street.csv"));
  EXPECT_EQ(readAll(dir / "window" / "street.info"), readAll(dir / "cli" / "street.info"));
}

// The save dialog keeps the encoding in the profile; the next export writes it.
TEST_F(ExportWindow, EncodingChosenInTheSaveDialogReachesTheResult) {
  Window w;
  const QString target = QString::fromStdString((dir / "window" / "u.csv").string());
  {
    ResultFileDialog dialog(w.host->profile(), target, nullptr);
    EXPECT_EQ(dialog.encodingBox()->currentIndex(), 0);  // Windows-1251 until chosen otherwise
    dialog.encodingBox()->setCurrentIndex(1);
    dialog.selectFile(target);
    QMetaObject::invokeMethod(&dialog, "accept", Qt::DirectConnection);
  }
  EXPECT_EQ(resultEncoding(w.host->profile()), TextEncoding::Utf8WithBom);
  EXPECT_EQ(ResultFileDialog(w.host->profile(), target, nullptr).encodingBox()->currentIndex(), 1);

  w.dialog->start({QString::fromStdString(settings), QString::fromStdString(sample)});
  w.host->files = {target.toStdString()};
  w.click(1029);
  ASSERT_TRUE(exportEnded(w));
  EXPECT_EQ(readAll(dir / "window" / "u.csv").substr(0, 12), "\xEF\xBB\xBFДата;");
  EXPECT_EQ(readAll(dir / "window" / "u.info").substr(0, 3), "\xEF\xBB\xBF");
}

TEST_F(ExportWindow, ShowsProgressAndCancelsWithCompleteFiles) {
  Window w;
  w.dialog->start({QString::fromStdString(sample)});
  w.click(1047);  // every value, every record: long enough to be cancelled
  w.click(1026);
  ProgressDialog* progress = w.dialog->progressDialog();
  EXPECT_FALSE(progress->isVisible());
  w.host->files = {(dir / "window" / "all.csv").string()};
  w.click(1029);
  ASSERT_TRUE(waitFor([&] { return progress->isVisible(); }));
  EXPECT_EQ(progress->windowTitle(), QString::fromUtf8("Обработка"));
  child<QPushButton>(progress, 2)->click();
  EXPECT_FALSE(progress->isVisible());
  ASSERT_TRUE(exportEnded(w));
  // Both files end with whole lines.
  const std::string csv = readAll(dir / "window" / "all.csv");
  const std::string info = readAll(dir / "window" / "all.info");
  EXPECT_TRUE(csv.ends_with("\r\n"));
  EXPECT_TRUE(info.ends_with("\r\n"));

  // A second export shows the dialog again at 0 and runs to its end.
  w.host->files = {(dir / "window" / "again.csv").string()};
  w.control<QLineEdit>(1037)->setText("100");
  w.click(1029);
  ASSERT_TRUE(exportEnded(w));
  EXPECT_TRUE(fs::exists(dir / "window" / "again.csv"));
  progress->showProgress(150);
  EXPECT_EQ(progress->position(), 100);
  progress->showProgress(-1);
  EXPECT_FALSE(progress->isVisible());
}

TEST_F(ExportWindow, ReportsAResultFileThatCannotBeCreated) {
  Window w;
  w.dialog->start({QString::fromStdString(sample)});
  w.click(1047);
  w.host->files = {(dir / "no-such-folder" / "r.csv").string()};
  w.click(1029);
  ASSERT_TRUE(exportEnded(w));
  ASSERT_EQ(w.host->messages.size(), 1u);
  EXPECT_EQ(w.host->messages[0], "Не могу открыть файл '" + (dir / "no-such-folder" / "r.csv").string() + "'");
}

}  // namespace
}  // namespace sonvera::ui::test
