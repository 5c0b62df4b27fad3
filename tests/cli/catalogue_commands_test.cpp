#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "app/strings.h"
#include "cli_run.h"
#include "support/catalogue_builder.h"
#include "support/scoped_environment.h"

namespace sonvera {
namespace {

namespace fs = std::filesystem;

using CliResult = test::CliRun;
CliResult run(std::vector<std::string> args) { return test::runCli(std::move(args)); }

class CatalogueCommands : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() / ("sonvera-cli-test-" + std::to_string(::getpid()));
    fs::create_directories(dir_);
  }
  void TearDown() override { fs::remove_all(dir_); }
  std::string path(const std::string& name) const { return (dir_ / name).string(); }
  fs::path dir_;
};

const char* const kDemo = SONVERA_SOURCE_DIR "/data/catalogue/demo.json";

TEST_F(CatalogueCommands, BuildThenDumpRoundTripsForEachVersion) {
  for (const int version : {0, 7, 11, 14, 15}) {
    SCOPED_TRACE(version);
    const std::string bin = path("cat.bin");
    ASSERT_EQ(run({"catalogue", "build", kDemo, "-o", bin, "--version", std::to_string(version)}).code, 0);
    const CliResult dumped = run({"catalogue", "dump", bin});
    ASSERT_EQ(dumped.code, 0) << dumped.err;
    std::ofstream(path("dump.json")) << dumped.out;
    ASSERT_EQ(run({"catalogue", "build", path("dump.json"), "-o", path("again.bin")}).code, 0);
    DeviceCatalogue a, b;
    ASSERT_TRUE(loadCatalogueFile(bin, kRussianLanguage, a));
    ASSERT_TRUE(loadCatalogueFile(path("again.bin"), kRussianLanguage, b));
    EXPECT_EQ(a.descriptions, b.descriptions);
    EXPECT_EQ(a.models, b.models);
    EXPECT_EQ(a.bandNames, b.bandNames);
    EXPECT_EQ(a.extraTableMap.size(), b.extraTableMap.size());
    EXPECT_EQ(a.units.texts, b.units.texts);
  }
}

TEST_F(CatalogueCommands, DumpKeepsTheChosenLanguage) {
  const std::string bin = path("cat.bin");
  ASSERT_EQ(run({"catalogue", "build", kDemo, "-o", bin}).code, 0);
  const CliResult english = run({"--catalogue", bin, "catalogue", "dump", "--language", "English"});
  ASSERT_EQ(english.code, 0);
  EXPECT_NE(english.out.find("\"language\": \"English\""), std::string::npos);
  EXPECT_EQ(english.out.find("Русский"), std::string::npos);
}

TEST_F(CatalogueCommands, UnusableCatalogueGivesTheProgramsMessage) {
  std::ofstream(path("bad.bin")) << "not a catalogue";
  const std::pair<std::string, std::string> cases[] = {{path("bad.bin"), "не каталог приборов"},
                                                       {path("missing.bin"), "нет такого файла"}};
  for (const auto& [file, reason] : cases) {
    const CliResult r = run({"catalogue", "dump", file});
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.err, std::string(text(StringId::CatalogueNotFound)) + "\n" + file + ": " + reason + "\n");
  }
  // A language the catalogue lacks: the ones it has are named.
  const std::string bin = path("cat.bin");
  ASSERT_EQ(run({"catalogue", "build", kDemo, "-o", bin}).code, 0);
  const CliResult german = run({"catalogue", "dump", bin, "--language", "Deutsch"});
  EXPECT_EQ(german.code, 1);
  EXPECT_EQ(german.err, bin + ": в каталоге нет текстов на языке «Deutsch»; в нём есть: Русский, English\n");
  // Building over the source is refused.
  const std::string source = path("source.json");
  fs::copy_file(kDemo, source);
  EXPECT_EQ(run({"catalogue", "build", source, "-o", source}).code, 1);
  EXPECT_GT(fs::file_size(source), 100u);
  const test::ScopedEnvironment catalogue("SONVERA_CATALOGUE", path("missing.bin"));
  EXPECT_EQ(run({"catalogue", "dump"}).code, 1);
}

TEST_F(CatalogueCommands, BadSourcesAndUsage) {
  std::ofstream(path("broken.json")) << "{ \"types\": [ { \"typeCode\": 1 } ] }";
  const CliResult r = run({"catalogue", "build", path("broken.json"), "-o", path("x.bin")});
  EXPECT_EQ(r.code, 1);
  EXPECT_FALSE(fs::exists(path("x.bin")));
  EXPECT_EQ(run({"catalogue", "build", kDemo, "-o", path("x.bin"), "--version", "16"}).code, 2);
  EXPECT_EQ(run({"catalogue"}).code, 2);
  EXPECT_EQ(run({"frobnicate"}).code, 2);
}

}  // namespace
}  // namespace sonvera
