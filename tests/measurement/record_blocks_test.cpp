#include "measurement/record_blocks.h"

#include <gtest/gtest.h>

#include "measurement/measurement_file.h"
#include "platform/platform.h"
#include "support/temp_file.h"

namespace sonvera {
namespace {

// Records read a block at a time are the records readRecord gives, also at
// the blocks' edges and past the end of a file cut short.
TEST(RecordBlocks, GiveWhatReadRecordGives) {
  constexpr std::uint32_t kSize = 7, kOffset = 5;
  std::vector<std::uint8_t> bytes(kOffset + 20 * kSize + 3);  // 20 records and 3 bytes of a 21st
  for (std::size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<std::uint8_t>(i * 37 + 11);
  const test::TempFile temp(bytes);
  platform::ReadOnlyFile file;
  ASSERT_TRUE(file.open(temp.path()));
  for (const std::size_t blockBytes : {std::size_t{1}, std::size_t{3 * kSize}, std::size_t{3 * kSize + 4}, std::size_t{1} << 16}) {
    for (const std::uint32_t first : {0u, 4u}) {
      RecordBlocks blocks(file, kOffset, kSize, 22, blockBytes);
      std::vector<std::uint8_t> expected(kSize, 0);
      for (std::uint32_t u = first; u <= 22; ++u) {
        readRecord(file, kOffset, kSize, u, expected);
        const auto got = blocks.record(u);
        ASSERT_EQ(std::vector<std::uint8_t>(got.begin(), got.end()), expected) << blockBytes << " " << first << " " << u;
      }
    }
  }
}

}  // namespace
}  // namespace sonvera
