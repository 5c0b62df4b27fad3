#include <gtest/gtest.h>

#include <QListWidget>
#include <QTest>
#include <filesystem>
#include <fstream>

#include "app/strings.h"
#include "base/printf_text.h"
#include "chart_window.h"
#include "ui_harness.h"

namespace sonvera::ui::test {
namespace {

namespace fs = std::filesystem;

// The window refuses a result that is the open measurement file, however the
// save dialog spelled it, with a message box, and writes nothing.
TEST(ExportSafetyWindow, AResultThatIsTheOpenFileIsRefused) {
  const fs::path dir = fs::temp_directory_path() / ("sonvera-ui-safety-" + std::to_string(::getpid()));
  fs::create_directories(dir);
  const fs::path source = dir / "day.bin";
  fs::copy_file(demoData("samples/street-noise.bin"), source);
  fs::create_symlink(source, dir / "link.csv");
  fs::create_hard_link(source, dir / "hard.csv");
  const std::string original = readAll(source);

  Window w;
  w.dialog->start({QString::fromStdString(demoData("samples/street-noise.cfg")), QString::fromStdString(source.string())});
  for (const fs::path& result : {source, dir / "." / "day.bin", dir / "link.csv", dir / "hard.csv"}) {
    w.host->messages.clear();
    w.host->files = {result.string()};
    w.click(1029);
    ASSERT_EQ(w.host->messages.size(), 1u) << result;
    EXPECT_EQ(w.host->messages[0], printfText(text(StringId::WouldReplaceFileInUse), result.string().c_str(),
                                              source.string().c_str()));
    EXPECT_FALSE(w.dialog->logic().exportRunning());
  }
  EXPECT_TRUE(readAll(source) == original);
  EXPECT_FALSE(fs::exists(dir / "day.info"));
  fs::remove_all(dir);
}

// The chart's image is checked the same way.
TEST(ExportSafetyWindow, AChartImageIsNeverSavedOverTheOpenFile) {
  const fs::path dir = fs::temp_directory_path() / ("sonvera-ui-safety-chart-" + std::to_string(::getpid()));
  fs::create_directories(dir);
  const fs::path source = dir / "day.png";  // a measurement file may have any name
  fs::copy_file(demoData("samples/street-noise.bin"), source);
  const std::string original = readAll(source);
  Window w;
  w.dialog->start({QString::fromStdString(demoData("samples/street-noise.cfg")), QString::fromStdString(source.string())});
  w.control<QListWidget>(1033)->setCurrentRow(0);
  bool saved = true;
  whenModal([&](QWidget* dialog) {
    auto* chart = qobject_cast<ChartWindow*>(dialog);
    ASSERT_NE(chart, nullptr);
    ASSERT_TRUE(waitFor([&] { return chart->ready(); }));
    saved = chart->saveImage(QString::fromStdString(source.string()));
    chart->reject();
  });
  QApplication::setActiveWindow(w.dialog.get());
  QTest::keyClick(w.dialog.get(), Qt::Key_G, Qt::ControlModifier);
  EXPECT_FALSE(saved);
  ASSERT_EQ(w.host->messages.size(), 1u);
  EXPECT_EQ(w.host->messages[0], printfText(text(StringId::WouldReplaceFileInUse), source.string().c_str(),
                                            source.string().c_str()));
  EXPECT_TRUE(readAll(source) == original);
  fs::remove_all(dir);
}

}  // namespace
}  // namespace sonvera::ui::test
