#include "measurement/time_line.h"

#include <gtest/gtest.h>

#include <memory>

#include "samples/measurement_writer.h"
#include "support/measurement_catalogue.h"
#include "support/temp_file.h"

namespace sonvera {
namespace {

constexpr ParameterCode kEcho = code::kTypeEcho;
constexpr ParameterCode kModel = 0x201C0000;
constexpr ParameterCode kSerial = 0x50040000;
constexpr ParameterCode kStamp = 0x50070000;  // date and time to the second
constexpr ParameterCode kLevel = 0x01100000;
constexpr std::uint16_t kType = 300;

// Echo, model and a serial in the paired-word range first, as such files begin.
DeviceDescription description() { return test::describe({kEcho, kModel, kSerial, kStamp, kLevel}); }

RecordTime at(int hour, int minute, int second, int day = 1, int month = 9, int year = 2023) {
  return RecordTime::fromParts(year, month, day, hour, minute, second);
}

// A stamp with hour 31.
constexpr std::uint32_t kNoTime = 31u << 12;

// A paired-word file whose record i carries the time times[i] and the level i.
class TimedFile {
 public:
  explicit TimedFile(const std::vector<RecordTime>& times) {
    test::addType(catalogue_, kType, description());
    MeasurementFileSource source;
    source.variant = FileVariant::PairedWord;
    for (std::size_t i = 0; i < times.size(); ++i) {
      RecordEncoder e(description());
      e.setRaw(kEcho, kType);
      e.setRaw(kModel, 77);
      e.setRaw(kSerial, 0x30000);
      const RecordTime& t = times[i];
      e.setRaw(kStamp, t.valid() ? stamp32(t) : kNoTime);
      e.setValue(kLevel, static_cast<double>(i));
      source.records.push_back(e.encode());
    }
    temp_ = std::make_unique<test::TempFile>(measurementFileBytes(source));
    opened_ = openMeasurementFile(catalogue_, temp_->path(), file);
  }
  bool opened() const { return opened_ == OpenResult::Opened; }
  double level() const { return file.channels[0].values[0][0][0]; }

  std::optional<std::uint32_t> find(const RecordTime& t, bool end) {
    return findRecordByTime(file, t, end, buffer_);
  }

  MeasurementFile file;

 private:
  DeviceCatalogue catalogue_;
  std::unique_ptr<test::TempFile> temp_;
  OpenResult opened_ = OpenResult::CannotOpen;
  std::vector<std::uint8_t> buffer_;
};

// What a boundary resolves to on rising times, from 1: the first (start) or
// last (end) record at t, else the last record before or first after it.
std::uint32_t expected(const std::vector<RecordTime>& times, const RecordTime& t, bool end) {
  const auto n = static_cast<std::uint32_t>(times.size());
  const auto same = [&](std::uint32_t i) { return times[i].valid() && wholeSeconds(difference(times[i], t).days) == 0; };
  if (!end) {
    for (std::uint32_t i = 0; i < n; ++i)
      if (same(i)) return i + 1;
    for (std::uint32_t i = n; i-- > 0;)
      if (later(t, times[i])) return i + 1;
  } else {
    for (std::uint32_t i = n; i-- > 0;)
      if (same(i)) return i + 1;
    for (std::uint32_t i = 0; i < n; ++i)
      if (later(times[i], t)) return i + 1;
  }
  return 0;
}

// Every whole second from the first to the last time resolves as above.
void expectEverySecond(const std::vector<RecordTime>& times) {
  TimedFile f(times);
  ASSERT_TRUE(f.opened());
  ASSERT_EQ(f.file.recordCount, times.size());
  ASSERT_EQ(f.file.lastTime.dayNumber(), times.back().dayNumber());
  const double seconds = wholeSeconds(difference(times.back(), times.front()).days);
  for (int s = 0; s <= static_cast<int>(seconds); ++s) {
    const RecordTime u = add(times.front(), s / kSecondsPerDay);
    const RecordTime t = RecordTime::fromParts(u.year(), u.month(), u.day(), u.hour(), u.minute(), u.second());
    for (const bool end : {false, true}) EXPECT_EQ(f.find(t, end), expected(times, t, end)) << s << " " << end;
  }
}

TEST(TimeLine, TenSecondStepsResolveToTheRecordsAround) {
  TimedFile f({at(10, 0, 0), at(10, 0, 10), at(10, 0, 20)});
  ASSERT_TRUE(f.opened());
  EXPECT_EQ(f.find(at(10, 0, 5), false), 1u);
  EXPECT_EQ(f.find(at(10, 0, 5), true), 2u);
  EXPECT_EQ(f.find(at(10, 0, 10), false), 2u);
  EXPECT_EQ(f.find(at(10, 0, 10), true), 2u);
  EXPECT_EQ(f.find(at(10, 0, 0), false), 1u);
  EXPECT_EQ(f.find(at(10, 0, 0), true), 1u);
  EXPECT_EQ(f.find(at(10, 0, 20), true), 3u);
  EXPECT_EQ(f.find(at(10, 0, 15), false), 2u);
  EXPECT_EQ(f.find(at(10, 0, 15), true), 3u);
  // Outside the file's span, and an invalid time.
  EXPECT_EQ(f.find(at(9, 59, 59), false), std::nullopt);
  EXPECT_EQ(f.find(at(10, 0, 21), true), std::nullopt);
  EXPECT_EQ(f.find(RecordTime{}, false), std::nullopt);
  // The state holds the last record visited: the start looked back for an
  // earlier record at the same time.
  EXPECT_EQ(f.find(at(10, 0, 20), false), 3u);
  EXPECT_EQ(f.level(), 1.0);
}

TEST(TimeLine, RepeatedSecondsAndGapsResolveAsOnARisingLine) {
  expectEverySecond({at(10, 0, 0), at(10, 0, 10), at(10, 0, 10), at(10, 0, 10), at(10, 0, 20), at(10, 0, 30)});
  expectEverySecond({at(10, 0, 0), at(10, 0, 0), at(10, 0, 0), at(10, 0, 1)});
  expectEverySecond({at(10, 0, 0), at(10, 0, 1), at(10, 0, 1)});
  // Gaps far from where the interpolation looks first.
  expectEverySecond({at(10, 0, 0), at(10, 0, 1), at(10, 0, 2), at(10, 0, 3), at(10, 2, 0), at(10, 2, 1)});
  expectEverySecond({at(10, 0, 0), at(10, 1, 40), at(10, 1, 41), at(10, 1, 42), at(10, 1, 43), at(10, 1, 44)});
  // Across midnight.
  expectEverySecond({at(23, 59, 50, 1), at(23, 59, 58, 1), at(0, 0, 3, 2), at(0, 0, 9, 2)});
  std::vector<RecordTime> steady;
  for (int i = 0; i < 300; ++i) steady.push_back(at(10, i / 60, i % 60));
  expectEverySecond(steady);
}

TEST(TimeLine, OneRecordResolvesEverythingToIt) {
  TimedFile f({at(12, 0, 0)});
  ASSERT_TRUE(f.opened());
  EXPECT_EQ(f.find(at(12, 0, 0), false), 1u);
  EXPECT_EQ(f.find(at(12, 0, 0), true), 1u);
  EXPECT_EQ(f.find(at(12, 0, 1), true), std::nullopt);
  // Two records in the same second count as one time.
  TimedFile g({at(12, 0, 0), at(12, 0, 0)});
  EXPECT_EQ(g.find(at(12, 0, 0), true), 1u);
}

TEST(TimeLine, TimeOfRecord) {
  TimedFile f({at(10, 0, 0), RecordTime{}, at(10, 0, 20)});
  ASSERT_TRUE(f.opened());
  std::vector<std::uint8_t> buffer;
  const auto third = timeOfRecord(f.file, 3, buffer);
  ASSERT_TRUE(third);
  EXPECT_EQ(third->dayNumber(), at(10, 0, 20).dayNumber());
  EXPECT_EQ(f.level(), 2.0);
  // A record without a date still answers, with an invalid time.
  const auto second = timeOfRecord(f.file, 2, buffer);
  ASSERT_TRUE(second);
  EXPECT_FALSE(second->valid());
  EXPECT_EQ(f.level(), 1.0);
  EXPECT_EQ(timeOfRecord(f.file, 0, buffer), std::nullopt);
  EXPECT_EQ(timeOfRecord(f.file, 4, buffer), std::nullopt);
  EXPECT_EQ(f.level(), 1.0);  // nothing read

  f.file.values.typeCode = 0;  // no file open
  EXPECT_EQ(timeOfRecord(f.file, 1, buffer), std::nullopt);
  EXPECT_EQ(f.find(at(10, 0, 0), false), std::nullopt);
  MeasurementFile none;
  EXPECT_EQ(timeOfRecord(none, 1, buffer), std::nullopt);
  EXPECT_EQ(findRecordByTime(none, at(10, 0, 0), true, buffer), std::nullopt);
}

TEST(TimeLine, InvalidTimesInsideTheFileEndTheWalk) {
  // A start walking back from a record without a time used to swing between
  // it and the record before for ever.
  TimedFile f({at(10, 0, 0), at(10, 0, 1), at(10, 0, 2), RecordTime{}, RecordTime{}, at(10, 0, 5)});
  ASSERT_TRUE(f.opened());
  EXPECT_EQ(f.find(at(10, 0, 3), false), 3u);
  EXPECT_EQ(f.find(at(10, 0, 3), true), 4u);
  EXPECT_EQ(f.find(at(10, 0, 4), false), 3u);
  EXPECT_EQ(f.find(at(10, 0, 5), true), 6u);
}

// Every sequence of up to five records over four time values (one invalid),
// rising or not, from every first record: the walk ends inside the file
// within two visits per record.
TEST(TimeLine, WalkAlwaysEnds) {
  const RecordTime values[4] = {RecordTime{}, at(10, 0, 0), at(10, 0, 10), at(10, 0, 20)};
  const RecordTime targets[3] = {at(10, 0, 5), at(10, 0, 10), at(10, 0, 15)};
  for (std::uint32_t count = 1; count <= 5; ++count) {
    std::uint32_t combinations = 1;
    for (std::uint32_t i = 0; i < count; ++i) combinations *= 4;
    for (std::uint32_t c = 0; c < combinations; ++c) {
      std::vector<RecordTime> times;
      for (std::uint32_t i = 0, rest = c; i < count; ++i, rest /= 4) times.push_back(values[rest % 4]);
      for (std::uint32_t probe = 0; probe <= count; ++probe)
        for (const RecordTime& t : targets)
          for (const bool end : {false, true}) {
            std::uint32_t visits = 0;
            const std::uint32_t found = walkToTime(count, probe, t, end, [&](std::uint32_t i) {
              ++visits;
              EXPECT_LT(i, count);
              return visits > 4 * count ? t : times[i < count ? i : 0];
            });
            EXPECT_LT(found, count);
            EXPECT_LE(visits, 2 * count) << c << " " << probe << " " << end;
          }
    }
  }
}

TEST(TimeLine, RangeTimeTextFollowsTheFilesDays) {
  TimedFile sameDay({at(10, 0, 0), at(23, 59, 59)});
  EXPECT_EQ(formatRangeTime(sameDay.file, at(9, 5, 7)), "09:05:07");
  TimedFile twoDays({at(23, 0, 0, 31, 8), at(1, 0, 0, 1, 9)});
  EXPECT_EQ(formatRangeTime(twoDays.file, at(9, 5, 7, 1, 9)), "09:05:07 01/09/2023");
  EXPECT_EQ(formatRangeTime(twoDays.file, RecordTime{}), "Invalid DateTime");
  // First and last times compare by their parts, which read -1 when the
  // time is unknown: two unknown times count as one day, one does not.
  TimedFile unknown({RecordTime{}, at(12, 0, 0), RecordTime{}});
  EXPECT_EQ(formatRangeTime(unknown.file, at(9, 5, 7)), "09:05:07");
  EXPECT_TRUE(parseRangeTime(unknown.file, "12:00:00"));
  EXPECT_FALSE(parseRangeTime(unknown.file, "12:00:00 01/09/2023"));
  TimedFile halfKnown({RecordTime{}, at(12, 0, 0)});
  EXPECT_EQ(formatRangeTime(halfKnown.file, at(9, 5, 7)), "09:05:07 01/09/2023");
}

TEST(TimeLine, SameDayTextsParseAsClockTimesOfThatDay) {
  TimedFile f({at(10, 0, 0), at(20, 0, 0)});
  const auto parsed = [&](std::string_view text) -> double {
    const auto t = parseRangeTime(f.file, text);
    return t ? t->dayNumber() : -1;
  };
  EXPECT_EQ(parsed("12:00:00"), at(12, 0, 0).dayNumber());
  EXPECT_EQ(parsed(" \t12:00:00  "), at(12, 0, 0).dayNumber());
  EXPECT_EQ(parsed("9:5:7"), at(9, 5, 7).dayNumber());
  EXPECT_EQ(parsed("23:59:59"), at(23, 59, 59).dayNumber());
  // Blanks and signs that a "%u" takes.
  EXPECT_EQ(parsed("12: 05:\t07"), at(12, 5, 7).dayNumber());
  EXPECT_EQ(parsed("+12:+0:-0"), at(12, 0, 0).dayNumber());
  EXPECT_EQ(parsed("00012:00:00"), at(12, 0, 0).dayNumber());
  for (const std::string_view bad :
       {"12:00:00 01/09/2023", "24:00:00", "12:60:00", "12:00:60", "-1:00:00", "12 :00:00", "12:00",
        "12:00:", "", "   ", "12:00:00x", "12:00:00.5", "a12:00:00", "12:+:00", "4294967308:00:00",
        "99999999999999999999:00:00"})
    EXPECT_EQ(parsed(bad), -1) << bad;
}

TEST(TimeLine, MultiDayTextsNeedARealDateWithinTheFilesYears) {
  TimedFile f({at(23, 0, 0, 31, 8, 2023), at(1, 0, 0, 2, 1, 2024)});
  const auto parsed = [&](std::string_view text) -> double {
    const auto t = parseRangeTime(f.file, text);
    return t ? t->dayNumber() : -1;
  };
  EXPECT_EQ(parsed("12:00:00 01/09/2023"), at(12, 0, 0, 1, 9, 2023).dayNumber());
  EXPECT_EQ(parsed(" 12:00:00 1/9/2023 "), at(12, 0, 0, 1, 9, 2023).dayNumber());
  EXPECT_EQ(parsed("12:00:00\t\t01/ 09/ 2024"), at(12, 0, 0, 1, 9, 2024).dayNumber());
  // Before the first record but in its year: parses, and then does not resolve.
  EXPECT_EQ(parsed("12:00:00 01/01/2023"), at(12, 0, 0, 1, 1, 2023).dayNumber());
  EXPECT_EQ(f.find(at(12, 0, 0, 1, 1, 2023), false), std::nullopt);
  EXPECT_EQ(parsed("12:00:00 29/02/2024"), at(12, 0, 0, 29, 2, 2024).dayNumber());
  for (const std::string_view bad :
       {"12:00:00", "24:00:00 01/09/2023", "12:00:00 31/02/2023", "12:00:00 29/02/2023",
        "12:00:00 01/09/2022", "12:00:00 01/09/2025", "12:00:00 01/09/23", "12:00:00 0/09/2023",
        "12:00:00 32/01/2024", "12:00:00 01/13/2023", "12:00:00 01/00/2023", "12:00:0001/09/2023",
        "12:00:00 01.09.2023", "12:00:00 01/09/2023 x", "12:00:00 01/09/2023/", "12:00:00 -1/09/2023"})
    EXPECT_EQ(parsed(bad), -1) << bad;
  // What is written reads back.
  const RecordTime t = at(7, 8, 9, 15, 11, 2023);
  const auto back = parseRangeTime(f.file, formatRangeTime(f.file, t));
  ASSERT_TRUE(back);
  EXPECT_EQ(back->dayNumber(), t.dayNumber());
}

}  // namespace
}  // namespace sonvera
