#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <sstream>

#include "app/strings.h"
#include "cli_run.h"
#include "samples/measurement_writer.h"
#include "samples/sample_layouts.h"
#include "support/catalogue_builder.h"
#include "support/temp_file.h"

namespace sonvera {
namespace {

using test::CliRun;
CliRun cli(std::vector<std::string> args) { return test::runCli(std::move(args)); }

std::vector<std::uint8_t> catalogueBytes() {
  const DeviceDescription slm = soundLevelMeterDescription();
  CatalogueSource source = test::minimalSource();
  source.types.push_back(test::makeType(21, slm.layout, slm.recordSize));
  source.types.back().blockCount = 1;
  return writeCatalogue(source, 15);
}

std::vector<std::uint8_t> sampleFile(int records) {
  const DeviceDescription slm = soundLevelMeterDescription();
  MeasurementFileSource source;
  source.variant = FileVariant::PairedWord;
  for (int i = 0; i < records; ++i) {
    RecordEncoder e(slm);
    e.setRaw(code::kTypeEcho, 21);
    e.setRaw(0x201C0000, 1);
    e.setRaw(0x50040000, 0x30001);
    e.setRaw(0x50070000, stamp32(2024, 5, 17, 12, i, 0));
    e.setValue(0x01100000, 40.5 + i);  // third octave 0, parameter 0
    e.setValue(0x60160000, 10);
    e.setValue(0x00170000, 55);
    source.records.push_back(e.encode());
  }
  return measurementFileBytes(source);
}

TEST(DumpCommand, PrintsOneRecordAsJsonOrText) {
  test::TempFile catalogue(catalogueBytes());
  test::TempFile file(sampleFile(3));
  const CliRun last = cli({"--catalogue", catalogue.path(), "dump", file.path(), "--json"});
  ASSERT_EQ(last.code, 0) << last.err;
  const auto j = nlohmann::json::parse(last.out);
  EXPECT_EQ(j["record"], 3);
  EXPECT_EQ(j["recordCount"], 3);
  EXPECT_EQ(j["values"]["time"], "2024-05-17 12:02:00");
  EXPECT_EQ(j["values"]["vin"], 0x30001);
  EXPECT_EQ(j["values"]["modelName"], "Модель 1");
  ASSERT_EQ(j["channels"].size(), 1u);
  EXPECT_EQ(j["channels"][0]["groups"][0]["values"][0][0], 42.5);
  EXPECT_EQ(j["channels"][0]["groups"][0]["values"][1][0], 0.0);  // carried as zero
  EXPECT_EQ(j["channels"][0]["statistics"][0]["percentiles"][0]["name"], "L10");

  const CliRun first = cli({"--catalogue", catalogue.path(), "dump", file.path(), "--record", "1"});
  ASSERT_EQ(first.code, 0) << first.err;
  EXPECT_NE(first.out.find("values.time: 2024-05-17 12:00:00\n"), std::string::npos) << first.out;
  EXPECT_NE(first.out.find("channels[0].groups[0].values[0]: 40.5 "), std::string::npos);

  const CliRun past = cli({"--catalogue", catalogue.path(), "dump", file.path(), "--record", "4"});
  EXPECT_EQ(past.code, 1);
}

TEST(DumpCommand, Failures) {
  test::TempFile catalogue(catalogueBytes());
  test::TempFile empty({});
  test::TempFile file(sampleFile(1));
  const CliRun noCatalogue = cli({"--catalogue", "/nonexistent/TeleDescFile.bin", "dump", file.path()});
  EXPECT_EQ(noCatalogue.code, 1);
  EXPECT_EQ(noCatalogue.err,
            std::string(text(StringId::CatalogueNotFound)) + "\n/nonexistent/TeleDescFile.bin: нет такого файла\n");
  const CliRun missing = cli({"--catalogue", catalogue.path(), "dump", "/nonexistent/file.bin"});
  EXPECT_EQ(missing.code, 1);
  EXPECT_EQ(missing.err, std::string(text(StringId::CannotOpenFile)) + "\n/nonexistent/file.bin: нет такого файла\n");
  const CliRun unknown = cli({"--catalogue", catalogue.path(), "dump", empty.path()});
  EXPECT_EQ(unknown.err, std::string(text(StringId::UnknownDeviceType)) + "\n" + empty.path() + ": пустой файл (0 байт)\n");
  auto cut = sampleFile(1);
  cut.pop_back();
  test::TempFile partial(cut);
  const CliRun emptyFile = cli({"--catalogue", catalogue.path(), "dump", partial.path()});
  EXPECT_EQ(emptyFile.code, 1);
  EXPECT_EQ(emptyFile.err.substr(0, emptyFile.err.find('\n')), text(StringId::EmptyFile));
  EXPECT_NE(emptyFile.err.find(partial.path() + ": в файле нет ни одной целой записи"), std::string::npos);
}

}  // namespace
}  // namespace sonvera
