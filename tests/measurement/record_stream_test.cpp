#include <gtest/gtest.h>

#include "measurement/record_stream.h"
#include "support/summary_files.h"
#include "support/temp_file.h"

namespace sonvera {
namespace {

TEST(RecordStream, GivesWhatPositionedReadsGiveAcrossBlocks) {
  const DeviceCatalogue catalogue = test::summaryCatalogue(1);
  const std::uint32_t records = 40000;  // more than one 1 MiB block of 42-byte records
  std::vector<test::SummaryRecord> list = test::steadyRecords(static_cast<int>(records), 1);
  for (std::uint32_t i = 0; i < records; ++i) list[i].level = 20 + i % 200;
  test::TempFile file(test::summaryFileBytes(1, list));
  MeasurementFile m;
  ASSERT_EQ(openMeasurementFile(catalogue, file.path(), m), OpenResult::Opened);
  ASSERT_EQ(m.recordCount, records);
  std::vector<std::uint8_t> expected(m.description.recordSize);
  for (const auto& [first, count] : {std::pair<std::uint32_t, std::uint32_t>{0, records}, {39990, 100}, {5, 0}}) {
    RecordStream stream(m, first, count);
    std::uint32_t seen = 0;
    for (auto record = stream.next(); !record.empty(); record = stream.next(), ++seen) {
      readRecord(m, first + seen, expected);
      ASSERT_TRUE(std::equal(record.begin(), record.end(), expected.begin())) << first + seen;
    }
    EXPECT_EQ(seen, std::min(count, records - first));
  }
}

}  // namespace
}  // namespace sonvera
