#include <gtest/gtest.h>

#include <filesystem>

#include <sstream>

#include "app/strings.h"
#include "cli_app.h"
#include "measurement/measurement_file.h"
#include "samples/sample_layouts.h"
#include "support/catalogue_builder.h"
#include "support/temp_file.h"

namespace sonvera {
namespace {

int runCli(std::vector<std::string> args, std::string* err = nullptr) {
  args.insert(args.begin(), "sonvera-cli");
  std::vector<const char*> argv;
  for (const auto& a : args) argv.push_back(a.c_str());
  std::ostringstream out, errors;
  const int code = cli::runCli(static_cast<int>(argv.size()), argv.data(), out, errors);
  if (err) *err = errors.str();
  return code;
}

TEST(SimulateCommand, WritesFilesThatOpen) {
  const DeviceDescription slm = soundLevelMeterDescription();
  CatalogueSource source = test::minimalSource();
  source.types.push_back(test::makeType(21, slm.layout, slm.recordSize));
  test::TempFile catalogueFile(writeCatalogue(source, 15));
  DeviceCatalogue catalogue;
  ASSERT_TRUE(loadCatalogueFile(catalogueFile.path(), kRussianLanguage, catalogue));
  // Each variant with another of the accepted forms of the start time.
  for (const auto& [variant, start] : {std::pair{"self", "2025-01-31 23:59:00"}, std::pair{"paired", "31/01/2025 23:59"},
                                       std::pair{"self", "2025-01-31T23:59:00"}, std::pair{"paired", "23:59:00 31/01/2025"}}) {
    test::TempFile out({});
    std::string err;
    ASSERT_EQ(runCli({"--catalogue", catalogueFile.path(), "simulate", "--type", "21", "--variant", variant,
                      "--records", "30", "--step", "10", "--start", start, "-o", out.path()},
                     &err),
              0)
        << err;
    MeasurementFile m;
    ASSERT_EQ(openMeasurementFile(catalogue, out.path(), m), OpenResult::Opened) << variant;
    EXPECT_EQ(m.recordCount, 30u);
    EXPECT_EQ(m.lastTime.format("%Y-%m-%d %H:%M:%S"), "2025-02-01 00:03:50");
  }
  std::string err;
  EXPECT_EQ(runCli({"--catalogue", catalogueFile.path(), "simulate", "--type", "99", "--records", "3", "-o", "/tmp/x"}, &err), 1);
  EXPECT_EQ(err, std::string(text(StringId::UnknownDeviceType)) + "\n");
  EXPECT_EQ(runCli({"--catalogue", catalogueFile.path(), "simulate", "--type", "21", "--records", "3", "--start", "2025-02-30 00:00:00", "-o", "/tmp/x"}), 2);
  EXPECT_EQ(runCli({"--catalogue", "/nonexistent", "simulate", "--type", "21", "--records", "3", "-o", "/tmp/x"}, &err), 1);
  EXPECT_EQ(err, std::string(text(StringId::CatalogueNotFound)) + "\n/nonexistent: нет такого файла\n");
  EXPECT_EQ(runCli({"--catalogue", catalogueFile.path(), "simulate", "--type", "21", "--records", "3", "--start", "23:59:00", "-o", "/tmp/x"}), 2);
  // Never over the catalogue it reads.
  const auto before = std::filesystem::file_size(catalogueFile.path());
  EXPECT_EQ(runCli({"--catalogue", catalogueFile.path(), "simulate", "--type", "21", "--records", "3", "-o", catalogueFile.path()}), 1);
  EXPECT_EQ(std::filesystem::file_size(catalogueFile.path()), before);
}

}  // namespace
}  // namespace sonvera
