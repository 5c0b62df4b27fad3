#include <gtest/gtest.h>

#include "app/command_line.h"
#include "app/strings.h"

namespace sonvera {
namespace {

std::vector<std::u16string> split(std::u16string_view line) { return CommandLineArgs(line).argv(); }

TEST(CommandLineArgs, SplitsOnSpacesOnly) {
  EXPECT_EQ(split(u""), (std::vector<std::u16string>{u""}));
  EXPECT_EQ(split(u"a.bin"), (std::vector<std::u16string>{u"", u"a.bin"}));
  EXPECT_EQ(split(u"a   b\tc  "), (std::vector<std::u16string>{u"", u"a", u"b\tc"}));
  // A leading space yields an empty first argument.
  EXPECT_EQ(split(u" a"), (std::vector<std::u16string>{u"", u"", u"a"}));
  EXPECT_EQ(CommandLineArgs(u"x y z").argc(), 4u);
}

TEST(CommandLineArgs, QuotesGroupWordsWherePlaced) {
  EXPECT_EQ(split(u"\"C:\\My Files\\a b.bin\" x.cfg"),
            (std::vector<std::u16string>{u"", u"C:\\My Files\\a b.bin", u"x.cfg"}));
  // A quoted stretch joins its neighbours into one argument.
  EXPECT_EQ(split(u"pre\"fix  mid\"post next"), (std::vector<std::u16string>{u"", u"prefix  midpost", u"next"}));
  EXPECT_EQ(split(u"\"a b\" \"c d\""), (std::vector<std::u16string>{u"", u"a b", u"c d"}));
  // An unmatched quote stays as an ordinary character.
  EXPECT_EQ(split(u"\"a b\" \"c d"), (std::vector<std::u16string>{u"", u"a b", u"\"c", u"d"}));
  EXPECT_EQ(split(u"\"\""), (std::vector<std::u16string>{u""}));
  // The marker that stands in for quoted spaces also turns into a space.
  EXPECT_EQ(split(u"a\xFFFF" u"b"), (std::vector<std::u16string>{u"", u"a b"}));
}

TEST(SettingsFileArgument, LowerCaseExtensionAfterTheLastSeparator) {
  EXPECT_TRUE(isSettingsFileArgument("x.cfg"));
  EXPECT_TRUE(isSettingsFileArgument("x.CFG"));
  EXPECT_TRUE(isSettingsFileArgument("/home/u/my.settings.Cfg"));
  EXPECT_FALSE(isSettingsFileArgument(".cfg"));
  EXPECT_TRUE(isSettingsFileArgument("a.cfg"));
  EXPECT_FALSE(isSettingsFileArgument("dir.cfg/name"));
  EXPECT_FALSE(isSettingsFileArgument("x.cfg2"));
  EXPECT_FALSE(isSettingsFileArgument("x.bin"));
  EXPECT_FALSE(isSettingsFileArgument("cfg"));
  EXPECT_FALSE(isSettingsFileArgument(""));
}

TEST(StartupPlan, SettingsInOrderFirstMeasurementFileWins) {
  using K = StartupStep::Kind;
  const StartupPlan plan = planStartup({"a.cfg", "file.bin", "b.cfg", "other.bin", "c.CFG"});
  EXPECT_EQ(plan.steps, (std::vector<StartupStep>{{K::LoadSettings, "a.cfg"},
                                                  {K::OpenMeasurementFile, "file.bin"},
                                                  {K::LoadSettings, "b.cfg"},
                                                  {K::LoadSettings, "c.CFG"}}));
  EXPECT_FALSE(plan.askForFile);

  const StartupPlan none = planStartup({});
  EXPECT_TRUE(none.steps.empty());
  EXPECT_TRUE(none.askForFile);

  const StartupPlan onlySettings = planStartup({"a.cfg", "b.cfg"});
  EXPECT_EQ(onlySettings.steps.size(), 2u);
  EXPECT_TRUE(onlySettings.askForFile);
}

TEST(Strings, TitleAndVersion) {
  EXPECT_EQ(versionText(), "версия 1.01");
  EXPECT_EQ(baseTitle(), "Универсальный транслятор версия 1.01");
  EXPECT_STREQ(text(StringId::CatalogueNotFound), "Ошибка: файл TeleDescFile.bin не найден");
  EXPECT_STREQ(text(static_cast<StringId>(1)), "");
  // The desktop program answers --version and --help without a window; a file may still be named so.
  EXPECT_EQ(informationRequest({"--version"}), "sonvera 1.01\n");
  EXPECT_EQ(informationRequest({"-h"}).rfind("sonvera 1.01\nUsage: sonvera [SETTINGS.cfg ...]", 0), 0u);
  EXPECT_EQ(informationRequest({"--version", "a.bin"}), "");
  EXPECT_EQ(informationRequest({"./--version"}), "");
}

}  // namespace
}  // namespace sonvera
