#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <sstream>

#include "app/strings.h"
#include "cli_run.h"
#include "platform/platform.h"
#include "support/catalogue_builder.h"
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

  test::TempFile single(test::summaryFileBytes(2, test::steadyRecords(1, 1)));
  ASSERT_EQ(run({"--catalogue", catalogue.path(), "info", single.path(), "--json"}, out, err), 0);
  EXPECT_TRUE(nlohmann::json::parse(out)["step"].is_null());
  ASSERT_EQ(run({"--catalogue", catalogue.path(), "info", single.path()}, out, err), 0);
  EXPECT_NE(out.find("1 записей"), std::string::npos);
}

TEST(InfoCommand, FailuresGiveTheMessageAndCodeOne) {
  test::TempFile catalogue(writeCatalogue(test::summaryCatalogueSource(1), 15), ".catalogue");
  std::string out, err;
  EXPECT_EQ(run({"--catalogue", catalogue.path(), "info", "/nonexistent.bin"}, out, err), 1);
  EXPECT_EQ(err, std::string(text(StringId::CannotOpenFile)) + "\n");
  EXPECT_EQ(run({"--catalogue", "/nonexistent.catalogue", "info", "x.bin"}, out, err), 1);
  EXPECT_EQ(err, std::string(text(StringId::CatalogueNotFound)) + "\n");
  EXPECT_EQ(run({"info"}, out, err), 2);
}

}  // namespace
}  // namespace sonvera
