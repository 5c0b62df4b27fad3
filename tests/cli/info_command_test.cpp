#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <filesystem>
#include <sstream>

#include "app/strings.h"
#include "cli_run.h"
#include "platform/platform.h"
#include "support/catalogue_builder.h"
#include "support/scoped_environment.h"
#include "support/summary_files.h"
#include "support/temp_file.h"

namespace sonvera {
namespace {

int run(std::vector<std::string> args, std::string& out, std::string& err) {
  const test::CliRun r = test::runCli(std::move(args));
  out = r.out;
  err = r.err;
  return r.code;
}

TEST(InfoCommand, JsonSummaryOfAFile) {
  test::TempFile catalogue(writeCatalogue(test::summaryCatalogueSource(2), 15), ".catalogue");
  std::vector<test::SummaryRecord> records = test::steadyRecords(200, 1);
  for (int i = 3; i < 28; ++i) records[i].underload = {0, 1};
  test::TempFile file(test::summaryFileBytes(2, records));
  std::string out, err;
  ASSERT_EQ(run({"--catalogue", catalogue.path(), "info", file.path(), "--json"}, out, err), 0) << err;
  const auto j = nlohmann::json::parse(out);
  EXPECT_EQ(j["path"], file.path());
  EXPECT_EQ(j["typeCode"], test::kSummaryType);
  EXPECT_EQ(j["recordCount"], 200);
  EXPECT_EQ(j["channelCount"], 2);
  EXPECT_EQ(j["model"], "Модель");
  EXPECT_EQ(j["vin"], "VIN: 2ABCD");
  EXPECT_EQ(j["records"], "200 записей");
  EXPECT_EQ(j["step"], "шаг: 1.0 сек");
  EXPECT_EQ(j["over"], false);
  EXPECT_EQ(j["under"], true);
  EXPECT_EQ(j["underloadSummary"], "B: 12.5% с 4 (10:00:03)");
  EXPECT_EQ(j["calibration"].size(), 2u);
  EXPECT_EQ(j["channels"][1]["name"], "B");
  EXPECT_EQ(j["channels"][1]["unit"], "м/с2");
  // Typed values beside the texts.
  EXPECT_EQ(j["vinNumber"], 0x2ABCD);
  EXPECT_EQ(j["stepSeconds"], 1.0);
  EXPECT_EQ(j["firstTime"], "2023-09-01T10:00:00");
  EXPECT_EQ(j["lastTime"], "2023-09-01T10:03:19");
  EXPECT_EQ(j["channels"][1]["underloadPercent"], 12.5);
  EXPECT_EQ(j["channels"][1]["underloadFirstRecord"], 4);
  EXPECT_EQ(j["channels"][0]["underloadPercent"], 0.0);
  EXPECT_TRUE(j["channels"][0]["underloadFirstRecord"].is_null());

  test::TempFile single(test::summaryFileBytes(2, test::steadyRecords(1, 1)));
  ASSERT_EQ(run({"--catalogue", catalogue.path(), "info", single.path(), "--json"}, out, err), 0);
  EXPECT_TRUE(nlohmann::json::parse(out)["step"].is_null());
  ASSERT_EQ(run({"--catalogue", catalogue.path(), "info", single.path()}, out, err), 0);
  EXPECT_NE(out.find("1 записей"), std::string::npos);
}

// The program's message, then the path and why, for every kind of wrong file.
TEST(InfoCommand, FailuresNameTheFileAndTheReason) {
  test::TempFile catalogue(writeCatalogue(test::summaryCatalogueSource(1), 15), ".catalogue");
  test::TempFile empty({});
  test::TempFile shortFile({1, 2, 3});
  std::vector<std::uint8_t> noise(4000);
  for (std::size_t i = 0; i < noise.size(); ++i) noise[i] = static_cast<std::uint8_t>(i * 7919 % 251);
  test::TempFile random(noise);
  test::TempFile settings({0xA6, 0xF4, 0x21, 0x78, 2, 0, 0, 0}, ".cfg");
  const std::string folder = std::filesystem::temp_directory_path().string();
  const std::string unknown = text(StringId::UnknownDeviceType), cannotOpen = text(StringId::CannotOpenFile);
  const struct {
    std::string path, message, reason;
  } cases[] = {
      {"/nonexistent.bin", cannotOpen, "нет такого файла"},
      {folder, cannotOpen, "это папка"},
      {empty.path(), unknown, "пустой файл (0 байт)"},
      {shortFile.path(), unknown, "слишком короткий для файла измерений (3 байт)"},
      {settings.path(), unknown, "это файл настроек, а не файл измерений"},
      {random.path(), unknown, "не файл измерений: по его байтам это прибор типа"},
  };
  std::string out, err;
  for (const auto& c : cases) {
    EXPECT_EQ(run({"--catalogue", catalogue.path(), "info", c.path}, out, err), 1) << c.path;
    EXPECT_EQ(err.rfind(c.message + "\n" + c.path + ": " + c.reason, 0), 0u) << err;
  }
  EXPECT_EQ(run({"--catalogue", "/nonexistent.catalogue", "info", "x.bin"}, out, err), 1);
  EXPECT_EQ(err, std::string(text(StringId::CatalogueNotFound)) + "\n/nonexistent.catalogue: нет такого файла\n");
  {
    const test::ScopedEnvironment variable("SONVERA_CATALOGUE", "/nonexistent/from-env.bin");
    EXPECT_EQ(run({"info", "x.bin"}, out, err), 1);
    EXPECT_EQ(err, std::string(text(StringId::CatalogueNotFound)) +
                       "\n/nonexistent/from-env.bin: нет такого файла (путь из SONVERA_CATALOGUE)\n");
  }
  EXPECT_EQ(run({"info"}, out, err), 2);
}

TEST(InfoCommand, VersionOfTheTool) {
  std::string out, err;
  EXPECT_EQ(run({"--version"}, out, err), 0);
  EXPECT_EQ(out, "sonvera-cli " + versionNumber() + "\n");
  EXPECT_EQ(run({"--help"}, out, err), 0);
  EXPECT_EQ(out.rfind("Sonvera " + versionNumber() + ":", 0), 0u);
}

}  // namespace
}  // namespace sonvera
