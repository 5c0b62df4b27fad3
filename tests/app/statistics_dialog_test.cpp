#include <gtest/gtest.h>

#include "app/number_text.h"
#include "app/statistics_dialog.h"

namespace sonvera {
namespace {

TEST(NumberField, WholeTextMustBeOneUnsignedNumber) {
  EXPECT_EQ(readUnsignedField("60"), 60u);
  EXPECT_EQ(readUnsignedField("  60"), 60u);
  EXPECT_EQ(readUnsignedField("+7"), 7u);
  EXPECT_EQ(readUnsignedField("-1"), 0xFFFFFFFFu);
  EXPECT_EQ(readUnsignedField("99999999999"), 0xFFFFFFFFu);
  // Out of range saturates before the sign is applied, also for a minus.
  EXPECT_EQ(readUnsignedField("-4294967295"), 1u);
  EXPECT_EQ(readUnsignedField("-4294967296"), 0xFFFFFFFFu);
  EXPECT_EQ(readUnsignedField("-99999999999999999999"), 0xFFFFFFFFu);
  EXPECT_EQ(readUnsignedField("0"), 0u);
  EXPECT_FALSE(readUnsignedField("60 "));
  EXPECT_FALSE(readUnsignedField(""));
  EXPECT_FALSE(readUnsignedField("abc"));
  EXPECT_FALSE(readUnsignedField("1x"));
  EXPECT_FALSE(readUnsignedField("-"));
}

TEST(NumberField, DecimalsTakeAPointOrAComma) {
  const std::pair<const char*, double> good[] = {{"65", 65}, {" 62,5 ", 62.5}, {"-3.25", -3.25}, {"0", 0}, {".5", 0.5}};
  for (const auto& [text, value] : good) EXPECT_EQ(readDecimalField(text), value) << text;
  for (const char* bad : {"", " ", "+5", "1e3", "6 5", "5x", "nan", "inf", "1,2,3", "-"})
    EXPECT_FALSE(readDecimalField(bad)) << bad;
}

StatisticsForm form(std::array<std::string, 6> percentiles, std::string threshold, bool exceedance) {
  StatisticsForm f;
  f.percentileTexts = std::move(percentiles);
  f.thresholdText = std::move(threshold);
  f.exceedance = exceedance;
  return f;
}

TEST(StatisticsDialog, PercentilesAreSortedAndDeduplicated) {
  const auto r = acceptForm(form({"90", "", "10", "10", " 50 ", ""}, "75", false));
  ASSERT_TRUE(r.settings);
  EXPECT_EQ(r.settings->percentiles, (std::array<std::int32_t, 6>{10, 50, 90, 0, 0, 0}));
  EXPECT_EQ(statisticsSummary(*r.settings), "L10, L50, L90");
  for (const char* bad : {"0", "100", "5x", "x", "5 5"})
    EXPECT_EQ(acceptForm(form({bad, "", "", "", "", ""}, "75", false)).error, StringId::BadPercentile) << bad;
}

TEST(StatisticsDialog, ThresholdIsCheckedOnlyWhenExceedanceIsOn) {
  EXPECT_EQ(acceptForm(form({}, "300", false)).settings->threshold, 300);
  EXPECT_FALSE(acceptForm(form({}, "300", true)).settings);
  EXPECT_EQ(acceptForm(form({}, "300", true)).error, StringId::BadThreshold);
  EXPECT_EQ(acceptForm(form({}, "abc", false)).settings->threshold, 75);
  EXPECT_EQ(acceptForm(form({}, "12abc", false)).settings->threshold, 12);
  EXPECT_FALSE(acceptForm(form({}, "0", true)).settings);
  EXPECT_EQ(acceptForm(form({}, " 255 ", true)).settings->threshold, 255);
}

TEST(StatisticsDialog, SummaryOrderAndOpeningTexts) {
  StatisticsSettings s;
  s.percentiles = {10, 50, 90, 0, 0, 0};
  s.minimum = 1;
  s.exceedance = 1;
  EXPECT_EQ(statisticsSummary(s), "L10, L50, L90, min, n75");
  s = {1, 1, 1, 1, 1, {0, 120, 5, 0, 0, 0}, 80};
  EXPECT_EQ(statisticsSummary(s), "L5, min, max, Leq, LE, n80");
  EXPECT_EQ(statisticsSummary(StatisticsSettings{}), "");
  const StatisticsForm f = formFor(s);
  EXPECT_EQ(f.percentileTexts, (std::array<std::string, 6>{"", "", "5", "", "", ""}));
  EXPECT_EQ(f.thresholdText, "80");
}

}  // namespace
}  // namespace sonvera
