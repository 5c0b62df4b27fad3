#include <gtest/gtest.h>

#include "app/typed_time.h"

namespace sonvera {
namespace {

MeasurementFile fileFrom(const RecordTime& first, const RecordTime& last) {
  MeasurementFile file;
  file.firstTime = first;
  file.lastTime = last;
  return file;
}

TEST(TypedTime, EveryFormBecomesTheRangeFieldsText) {
  const MeasurementFile oneDay =
      fileFrom(RecordTime::fromParts(2026, 5, 14, 0, 0, 0), RecordTime::fromParts(2026, 5, 14, 23, 59, 59));
  const MeasurementFile twoDays =
      fileFrom(RecordTime::fromParts(2026, 5, 14, 12, 0, 0), RecordTime::fromParts(2026, 5, 15, 12, 0, 0));
  const struct {
    const char* typed;
    std::optional<std::string> onOneDay, onTwoDays;
  } cases[] = {
      {"14/05/2026 01:00:00", "01:00:00", "01:00:00 14/05/2026"},  // as the summary shows it
      {"2026-05-14 01:00:00", "01:00:00", "01:00:00 14/05/2026"},
      {"2026-05-14T01:00:00", "01:00:00", "01:00:00 14/05/2026"},
      {" 01:00:00 14/05/2026 ", "01:00:00", "01:00:00 14/05/2026"},  // the fields' own form
      {"1:2:3", "01:02:03", std::nullopt},                           // a bare time needs a day
      {"2026-05-15 7:30", std::nullopt, "07:30:00 15/05/2026"},      // another day than the file's
      {"15/5/2026  23:59:59", std::nullopt, "23:59:59 15/05/2026"},
      {"24:00:00", std::nullopt, std::nullopt},
      {"2026-02-30 00:00:00", std::nullopt, std::nullopt},
      {"2026-13-01 00:00:00", std::nullopt, std::nullopt},
      {"2026/05/14 01:00:00", std::nullopt, std::nullopt},
      {"01:00:00.5", std::nullopt, std::nullopt},
      {"-1:00:00", std::nullopt, std::nullopt},
      {"99999:00:00", std::nullopt, std::nullopt},
      {"", std::nullopt, std::nullopt},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(rangeFieldText(oneDay, c.typed), c.onOneDay) << c.typed;
    EXPECT_EQ(rangeFieldText(twoDays, c.typed), c.onTwoDays) << c.typed;
  }
  EXPECT_NE(acceptedTimeForms(oneDay).find("ЧЧ:ММ:СС"), std::string::npos);
  EXPECT_NE(acceptedTimeForms(twoDays).find("14/05/2026 12:00:00 - 15/05/2026 12:00:00"), std::string::npos);
}

TEST(TypedTime, DateAndTimeForASample) {
  EXPECT_EQ(typedDateTime("2025-01-31T23:59:00")->format("%Y-%m-%d %H:%M:%S"), "2025-01-31 23:59:00");
  EXPECT_FALSE(typedDateTime("23:59:00"));
  EXPECT_FALSE(typedDateTime("2025-02-29 00:00:00"));
}

}  // namespace
}  // namespace sonvera
