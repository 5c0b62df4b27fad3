#include "measurement/record_decoder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <new>

#include "base/byte_writer.h"
#include "support/allocation_counter.h"
#include "support/measurement_catalogue.h"

namespace sonvera {
namespace {

using test::DecodingState;

constexpr std::uint16_t kType = 7;

// A banded code: value type, group field, channel, parameter, band (narrow split).
constexpr ParameterCode banded(std::uint32_t type, std::uint32_t group, std::uint32_t channel,
                               std::uint32_t parameter, std::uint32_t band) {
  return type << 28 | 1u << 24 | group << 20 | channel << 16 | parameter << 8 | band;
}

struct Fixture {
  DeviceCatalogue catalogue;
  DecodingState state;

  explicit Fixture(std::vector<ParameterCode> layout, std::uint16_t type = kType,
                   std::uint32_t blockCount = 0) {
    DeviceDescription d = test::describe(std::move(layout));
    d.blockCount = blockCount;
    test::addType(catalogue, type, d);
    EXPECT_TRUE(state.prepare(catalogue, type));
  }
  std::uint16_t decode(ByteWriter& w) {
    auto bytes = w.take();
    return state.decode(bytes);
  }
};

ByteWriter words(std::initializer_list<std::uint16_t> list) {
  ByteWriter w;
  for (auto v : list) w.u16(v);
  return w;
}

TEST(RecordDecoder, PrepareSizesTablesAndPlacesFormats) {
  DeviceDescription d = test::describe({banded(0, 1, 0, 2, 5), banded(0, 2, 1, 0, 9), 0x70201000 | 3});
  d.formats = {0x1234, 0x42};  // shorter than the layout
  DeviceCatalogue catalogue;
  test::addType(catalogue, kType, d);
  DecodingState s;
  ASSERT_TRUE(s.prepare(catalogue, kType));
  EXPECT_EQ(s.description.channelCount, 2);
  EXPECT_EQ(s.description.parameterCount[0], 3);
  EXPECT_EQ(s.description.bandCount[0], 6);  // max of the banded band 5 and the frequency code 3
  EXPECT_EQ(s.description.bandCount[1], 10);
  EXPECT_EQ(s.values.bandFrequencies[0].size(), 4u);
  for (const ChannelValues& ch : s.channels) {
    ASSERT_EQ(ch.values[0].size(), 3u);
    ASSERT_EQ(ch.values[0][0].size(), 6u);
    EXPECT_EQ(ch.values[0][1][1], NoValue);
    ASSERT_EQ(ch.values[1].size(), 1u);
    EXPECT_EQ(ch.values[1][0].size(), 10u);
  }
  EXPECT_EQ(s.channels[0].formats[0][2][5], 0x1234u);
  EXPECT_EQ(s.channels[0].formats[0][0][0], 0xFFFFu);
  EXPECT_EQ(s.channels[1].formats[1][0][9], 0x42u);
}

TEST(RecordDecoder, PrepareUnknownOrEmptyTypeResetsTheState) {
  DeviceCatalogue catalogue;
  test::addType(catalogue, 9, test::describe({}));
  DecodingState s;
  s.values.vin = 5;
  s.values.channelNames[0] = "x";
  s.channels[3].correction = 1.5;
  ChannelTables::Shape shape{};
  shape[3][0] = {1, 1};
  s.channels.resetTables(shape);
  s.channels[3].values[0][0][0] = 1.0;
  s.description.channelCount = 4;
  EXPECT_FALSE(s.prepare(catalogue, 9));
  EXPECT_FALSE(s.prepare(catalogue, 10));
  EXPECT_EQ(s.values.vin, 0u);
  EXPECT_TRUE(s.values.channelNames.empty());
  EXPECT_EQ(s.channels[3].correction, 0.0);
  EXPECT_TRUE(s.channels[3].values[0].empty());
  EXPECT_EQ(s.description.channelCount, 0);
  EXPECT_EQ(s.description.perChannelLimit, 1);
}

TEST(RecordDecoder, TablesBeyondTheCellBudgetMakeTheTypeUnusable) {
  // Parameter 255 beside a band frequency at 4095: 256 x 4096 cells per group and channel.
  DeviceCatalogue catalogue;
  test::addType(catalogue, 10, test::describe({0x01100000 | 255u << 8, 0x70201FFC}));
  test::addType(catalogue, 11, test::describe({0x01100000 | 15u << 8, 0x70201FFC}));
  DecodingState s;
  EXPECT_FALSE(s.prepare(catalogue, 10));
  EXPECT_TRUE(s.channels[0].values[0].empty());
  EXPECT_TRUE(s.prepare(catalogue, 11));  // 16 x 4093 cells: a wide layout fits
  EXPECT_EQ(s.channels[0].values[0].size(), 16u);
}

TEST(RecordDecoder, TypeEchoEndsAForeignRecord) {
  Fixture f({banded(2, 1, 0, 0, 0), code::kTypeEcho, banded(2, 1, 0, 0, 1)});
  auto own = words({11, kType, 12});
  EXPECT_EQ(f.decode(own), kType);
  auto foreign = words({21, 99, 22});
  EXPECT_EQ(f.decode(foreign), 99);
  EXPECT_EQ(f.state.channels[0].values[0][0][0], 21.0);
  EXPECT_EQ(f.state.channels[0].values[0][0][1], 12.0);  // after the echo: not decoded

  Fixture noEcho({banded(2, 1, 0, 0, 0)});
  auto r = words({1});
  EXPECT_EQ(noEcho.decode(r), kType);
}

TEST(RecordDecoder, DecodeIfSameTypeLeavesForeignRecordsAlone) {
  Fixture f({banded(2, 1, 0, 0, 0), code::kTypeEcho});
  auto own = words({11, kType});
  auto bytes = own.take();
  decodeIfSameType(bytes, f.state.channels, f.state.values, f.state.description);
  auto foreign = words({55, 3}).take();
  decodeIfSameType(foreign, f.state.channels, f.state.values, f.state.description);
  EXPECT_EQ(f.state.channels[0].values[0][0][0], 11.0);
  EXPECT_EQ(f.state.values.decodedCount, 1u);

  // An odd offset tests the word at the even offset below it.
  f.state.description.typeEchoOffset = 3;
  auto odd = words({66, kType}).take();
  decodeIfSameType(odd, f.state.channels, f.state.values, f.state.description);
  EXPECT_EQ(f.state.channels[0].values[0][0][0], 66.0);
  auto oddForeign = words({kType, 3}).take();
  decodeIfSameType(oddForeign, f.state.channels, f.state.values, f.state.description);
  EXPECT_EQ(f.state.values.decodedCount, 2u);
}

TEST(RecordDecoder, BandedValueTypesAndWidths) {
  Fixture f({banded(0, 1, 0, 0, 0), banded(1, 1, 0, 0, 1), banded(5, 1, 0, 0, 2), banded(7, 1, 0, 0, 3),
             banded(11, 1, 0, 0, 4), banded(12, 1, 0, 0, 5), banded(13, 1, 0, 0, 6), banded(2, 1, 0, 0, 7),
             banded(2, 4, 2, 1, 1)});
  ByteWriter w;
  w.u16(0x1280);        // 18.5
  w.u16(0x7777);        // type 1: 0
  w.u32(0xFFFF8000);    // -0.5
  w.u32(4000000000u);
  w.f32(1.25f);
  w.f64(-3.75);         // 8 bytes
  w.u32(0x12345678);    // type 13 banded: 4 bytes, 0
  w.u16(77);
  w.u16(5);             // group field 4: other values
  f.decode(w);
  const auto& row = f.state.channels[0].values[0][0];
  EXPECT_EQ(row[0], 18.5);
  EXPECT_EQ(row[1], 0.0);
  EXPECT_EQ(row[2], -0.5);
  EXPECT_EQ(row[3], 4000000000.0);
  EXPECT_EQ(row[4], 1.25);
  EXPECT_EQ(row[5], -3.75);
  EXPECT_EQ(row[6], 0.0);
  EXPECT_EQ(row[7], 77.0);
  EXPECT_EQ(f.state.channels[2].otherValues.at(banded(2, 4, 2, 1, 1) & 0x0FFFFFFF), 5.0);
}

TEST(RecordDecoder, UnknownCodesSkipByTypeAndType13ConsumesNothing) {
  Fixture f({0xD0990000, 0x00990000, 0xC0990000, 0xF0990000, 0xA0990000, banded(2, 1, 0, 0, 0)});
  // type 13: 0 bytes, type 0: 2, type 12: 8, unknown type 15: 4, type 10: 4
  ByteWriter w;
  w.u16(1);
  w.u64(0);
  w.u32(0);
  w.u32(0);
  w.u16(42);
  f.decode(w);
  EXPECT_EQ(f.state.channels[0].values[0][0][0], 42.0);
  EXPECT_EQ(recordValueSize(0xD0990000), 0u);
  EXPECT_EQ(recordValueSize(0xD1100000), 4u);  // banded type 13
}

TEST(RecordDecoder, RawWordsFromZeroCodes) {
  Fixture f({0, 0, 0});
  auto a = words({1, 2, 3});
  f.decode(a);
  EXPECT_EQ(f.state.values.rawWords, (std::vector<std::uint16_t>{1, 2, 3}));
}

TEST(RecordDecoder, LayoutPastTheRecordDecodesWhatFits) {
  Fixture f({banded(2, 1, 0, 0, 0), 0x00010000, 0x50040000, banded(2, 1, 0, 0, 1)});
  ByteWriter w;
  w.u16(9);
  w.u16(0x5721);
  w.u16(0x1111);  // half of the serial
  auto bytes = w.take();
  f.state.decode(bytes);
  EXPECT_EQ(f.state.channels[0].values[0][0][0], 9.0);
  EXPECT_EQ(f.state.values.date, 0x5721);
  EXPECT_EQ(f.state.values.vin, 0u);
  EXPECT_EQ(f.state.channels[0].values[0][0][1], NoValue);
  EXPECT_EQ(f.state.decode({}), kType);
}

TEST(RecordDecoder, DateTimeDefaultsAndTimeWord) {
  Fixture f({0x00010000, 0x00020000});
  auto r = words({0x5721, 0x63DD});  // 12:30:58 as a two-second FAT time
  f.decode(r);
  EXPECT_EQ(f.state.values.time, 0xC7BAu);
  EXPECT_EQ(recordTime(f.state.values).second(), 58);

  Fixture none({banded(2, 1, 0, 0, 0)});
  none.state.values.date = 5;
  none.state.values.time = 5;
  auto r2 = words({1});
  none.decode(r2);
  EXPECT_EQ(none.state.values.date, 0);
  EXPECT_EQ(none.state.values.time, 0u);
  EXPECT_FALSE(recordTime(none.state.values).valid());
}

TEST(RecordDecoder, ModeWords) {
  Fixture f({0x20210000});
  const std::pair<std::uint16_t, std::uint16_t> cases[] = {{0, 2}, {1, 1}, {2, 0}, {3, 3}, {0x3FFF, 0x3FFF}, {5, 1}, {7, 0xFFFF}};
  for (auto [word, mode] : cases) {
    auto r = words({word});
    f.decode(r);
    EXPECT_EQ(f.state.values.modeWord, mode) << word;
  }
  Fixture g({0x20110000});
  auto r = words({6});
  g.decode(r);
  EXPECT_EQ(g.state.values.modeWord, 2);

  Fixture none({0x00060000});
  auto r2 = words({1});
  none.decode(r2);
  EXPECT_EQ(none.state.values.modeWord, 0x3FFF);

  // An odd second of a 32-bit stamp sets bit 15; a later mode code keeps it.
  Fixture stamp({0x50070000, 0x20110000});
  ByteWriter w;
  w.u32(0x3B);  // 2000-01-01 00:00:59
  w.u16(1);
  stamp.decode(w);
  EXPECT_EQ(stamp.state.values.modeWord, 0x8001);
  EXPECT_EQ(stamp.state.values.date, fatDate(2000, 1, 1));
  // The FAT time code clears bit 15 again.
  Fixture clear({0x50070000, 0x00020000, 0x20110000});
  ByteWriter w2;
  w2.u32(0x3B);
  w2.u16(0);
  w2.u16(2);
  clear.decode(w2);
  EXPECT_EQ(clear.state.values.modeWord, 0x0002);

  // The packed-decimal time of day: bit 15 is the parity of its seconds, even
  // of seconds the time field cannot hold.
  Fixture decimal({0x50330000, 0x20110000});
  const auto decimalMode = [&](std::uint8_t second) {
    ByteWriter d;
    const std::uint8_t bytes[4] = {0, second, 0x30, 0x12};
    d.bytes(bytes, 4);
    d.u16(1);
    decimal.decode(d);
    return decimal.state.values.modeWord;
  };
  EXPECT_EQ(decimalMode(0x59), 0x8001);
  EXPECT_EQ(decimalMode(0x58), 0x0001);
  EXPECT_EQ(decimalMode(0x64), 0x0001);
  EXPECT_EQ(decimalMode(0x7F), 0x8001);
}

TEST(RecordDecoder, SerialNumberRules) {
  // Types 141 and 143 carry a fixed serial.
  for (std::uint16_t type : {141, 143}) {
    Fixture f({0x00060000}, type);
    f.state.values.vin = 5;
    auto r = words({0});
    f.decode(r);
    EXPECT_EQ(f.state.values.vin, 0x20000u);
  }
  // Neither serial code: the previous value stays.
  Fixture keep({0x00060000});
  keep.state.values.vin = 1234;
  auto r = words({0});
  keep.decode(r);
  EXPECT_EQ(keep.state.values.vin, 1234u);
  // Only the alternative serial: it replaces the serial.
  Fixture alt({0x502C0000});
  alt.state.values.vin = 1234;
  ByteWriter w;
  w.u32(777);
  alt.decode(w);
  EXPECT_EQ(alt.state.values.vin, 777u);
  EXPECT_EQ(alt.state.values.altSerial, 777u);
  // Both: a zero serial falls back to the alternative one, a set one wins.
  Fixture both({0x50040000, 0x502C0000});
  ByteWriter w2;
  w2.u32(0);
  w2.u32(888);
  both.decode(w2);
  EXPECT_EQ(both.state.values.vin, 888u);
  ByteWriter w3;
  w3.u32(5);
  w3.u32(888);
  both.decode(w3);
  EXPECT_EQ(both.state.values.vin, 5u);
  // Alternative serial 0 alone clears the serial.
  ByteWriter w4;
  w4.u32(0);
  alt.decode(w4);
  EXPECT_EQ(alt.state.values.vin, 0u);
  // Type 141 with an alternative serial only: the fixed serial stays.
  Fixture fixedAlt({0x502C0000}, 141);
  ByteWriter w5;
  w5.u32(99);
  fixedAlt.decode(w5);
  EXPECT_EQ(fixedAlt.state.values.vin, 0x20000u);
}

TEST(RecordDecoder, SequenceCountingAndWrap) {
  Fixture f({0x20250000});
  for (std::uint16_t w : {5, 6}) {
    auto r = words({w});
    f.decode(r);
  }
  const std::uint32_t before = f.state.values.lostRecords;
  auto r = words({9});
  f.decode(r);
  EXPECT_EQ(f.state.values.lostRecords, before + 2);
  EXPECT_EQ(f.state.values.nextSequence, 10);

  Fixture wrap({0x20250000});
  wrap.state.values.nextSequence = 65535;
  for (std::uint16_t w : {65535, 0, 1}) {
    auto rr = words({w});
    wrap.decode(rr);
  }
  EXPECT_EQ(wrap.state.values.lostRecords, 0u);
  // Going back counts the distance modulo 65536.
  auto back = words({0});
  wrap.decode(back);
  EXPECT_EQ(wrap.state.values.lostRecords, 65534u);
}

TEST(RecordDecoder, PercentileNamesValuesAndFormats) {
  // 4 slots in 2 blocks: entries 0, 1 per block; channel 1 carries values.
  DeviceDescription d = test::describe({banded(0, 3, 1, 0, 0), 0x60160000, 0x60160001, 0x60160002,
                                        0x00171000, 0x00171001, 0x00171002, 0x00171003});
  d.blockCount = 2;
  d.formats = {0, 0, 0, 0, 0x11, 0x22, 0x33, 0x44};
  DeviceCatalogue catalogue;
  test::addType(catalogue, kType, d);
  DecodingState s;
  ASSERT_TRUE(s.prepare(catalogue, kType));
  const auto& stats = s.channels[1].statistics;
  ASSERT_EQ(stats.size(), 2u);
  ASSERT_EQ(stats[0].entries.size(), 2u);
  EXPECT_EQ(stats[0].histogram.size(), 1024u);
  EXPECT_EQ(stats[0].histogram[5], 0xFFFFFFFFu);
  EXPECT_EQ(s.channels[1].percentileFormats[1][1], 0x44u);
  EXPECT_EQ(s.channels[1].percentileFormats[0][1], 0x22u);
  EXPECT_EQ(s.channels[0].percentileFormats[0][0], 0u);

  ByteWriter w;
  w.u16(0);
  w.u16(6554);   // slot 0 -> L10
  w.u16(32768);  // slot 1 -> L50
  w.u16(0);      // slot 2 -> slot 0 again: L0
  w.u16(0x1480);
  w.u16(0x1500);
  w.u16(0x1600);
  w.u16(0x1700);
  auto bytes = w.take();
  s.decode(bytes);
  EXPECT_EQ(stats[0].entries[0].name, "L0");
  EXPECT_EQ(stats[1].entries[0].name, "L0");
  EXPECT_EQ(stats[0].entries[1].name, "L50");
  EXPECT_EQ(stats[1].entries[1].name, "L50");
  EXPECT_EQ(s.channels[0].statistics[0].entries[1].name, "L50");  // every channel with entries
  EXPECT_EQ(stats[0].entries[0].value, 20.5);
  EXPECT_EQ(stats[0].entries[1].value, 21.0);
  EXPECT_EQ(stats[1].entries[0].value, 22.0);
  EXPECT_EQ(stats[1].entries[1].value, 23.0);

  Fixture ten({0x60160000}, kType, 1);
  // No percentile slots beyond the name code's: one entry.
  auto r = words({6554});
  ten.decode(r);
  EXPECT_EQ(ten.state.channels[0].statistics[0].entries[0].name, "L10");
}

TEST(RecordDecoder, HistogramSlotPlacement) {
  std::vector<ParameterCode> layout{banded(0, 1, 0, 0, 0), banded(0, 1, 1, 0, 0), 0x70230000};
  for (std::uint32_t k = 0; k < 8; ++k) layout.push_back(0x70240000 | k);
  Fixture f(layout, kType, 1);
  ByteWriter w;
  w.u16(0);
  w.u16(0);
  w.u32(130);
  for (std::uint32_t k = 0; k < 8; ++k) w.u32(100 + k);
  f.decode(w);
  const auto& slots = f.state.channels[1].statistics[0].histogram;
  for (std::uint32_t i = 0; i < 1024; ++i) {
    if (i >= 16 && i < 24)
      EXPECT_EQ(slots[i], 100 + i - 16);
    else
      EXPECT_EQ(slots[i], 0xFFFFFFFFu);
  }
  for (std::uint32_t v : f.state.channels[0].statistics[0].histogram) EXPECT_EQ(v, 0xFFFFFFFFu);

  // Without a position nothing is placed; a block beyond the channel's is dropped.
  ByteWriter far;
  far.u16(0);
  far.u16(0);
  far.u32(128 * 2 * 5);
  for (std::uint32_t k = 0; k < 8; ++k) far.u32(1);
  f.decode(far);
  EXPECT_EQ(f.state.channels[0].statistics[0].histogram[0], 0xFFFFFFFFu);
}

TEST(RecordDecoder, BandFrequencyScales) {
  Fixture f({0x901F5000 | 0, 0x70201001, 0x80201002, 0x70201000, 0x901FA000, 0x90181000});
  ByteWriter w;
  w.u32(0x80000000u);  // 96000 * 2^31 / 2^32 = 48000 into group 1
  w.u32(0xFFFFFFFFu);  // counts as 0
  w.u32(1000 * 256 + 128);
  w.u32(25);
  w.u32(1);            // s = 10 folds to 4: consumed and dropped
  w.u32(0);
  f.decode(w);
  ASSERT_EQ(f.state.values.bandFrequencies[1].size(), 1u);
  EXPECT_EQ(f.state.values.bandFrequencies[1][0], 48000.0);
  EXPECT_EQ(f.state.values.bandFrequencies[0][1], 0.0);
  EXPECT_EQ(f.state.values.bandFrequencies[0][2], 1000.5);
  EXPECT_EQ(f.state.values.bandFrequencies[0][0], 25.0);

  Fixture scales({0x901F1000, 0x901F7000});
  ByteWriter w2;
  w2.u32(0x40000000u);
  w2.u32(0x40000000u);
  scales.decode(w2);
  EXPECT_EQ(scales.state.values.bandFrequencies[0][0], 1228800.0 / 4);  // the later code wins
}

TEST(RecordDecoder, EndPointAxes) {
  // Four bands in group 0; end points by whole list or by the override count.
  std::vector<ParameterCode> layout{banded(0, 1, 0, 0, 3), 0x20360001, 0x70201FFE, 0x70201FFF};
  Fixture whole(layout);
  ASSERT_EQ(whole.state.values.bandFrequencies[0].size(), 4u);
  ByteWriter w;
  w.u16(0);
  w.u16(2);
  w.u32(100);
  w.u32(400);
  whole.decode(w);
  EXPECT_EQ(whole.state.values.bandFrequencies[0], (std::vector<double>{100, 200, 300, 400}));

  layout[3] = 0x70201FFD;
  Fixture over(layout);
  const auto run = [&](std::uint16_t count) {
    ByteWriter r;
    r.u16(0);
    r.u16(count);
    r.u32(100);
    r.u32(400);
    over.decode(r);
    return over.state.values.bandFrequencies[0];
  };
  EXPECT_EQ(run(2), (std::vector<double>{100, 400, 0, 0}));
  EXPECT_EQ(run(9), (std::vector<double>{100, 200, 300, 400}));
  EXPECT_EQ(run(1), (std::vector<double>{100, 0, 0, 0}));  // one point: the first frequency
  EXPECT_EQ(run(0), (std::vector<double>{0, 0, 0, 0}));
}

TEST(RecordDecoder, CalibrationChannelRule) {
  // One channel with per-channel codes up to 9: perChannelLimit 9.
  Fixture f({banded(0, 1, 0, 0, 0), 0x500A0300, 0x500A0005, 0x500C0A02, 0x30180200, 0x500B0703,
             0x500B0904, 0x500B0A01, 0x500A0011, 0x500A0900});
  EXPECT_EQ(f.state.description.perChannelLimit, 9);
  ByteWriter w;
  w.u16(0);
  w.u32(0x00018000);  // 1.5 dB into channel 2 (k = 3)
  w.u32(0xFFFF0000);  // -1 dB into channel 5 (k = 0, c = 5)
  w.u32(0x00020000);  // k = 10 > 9: channel 2, sensitivity 100
  w.u16(0xFF80);      // -0.5 dB into channel 1
  w.u32(0x00010000);  // k = 7 <= 9: reference 10 into channel 6
  w.u32(0x00010000);  // k = 9 <= 9: channel 8
  w.u32(0x00010000);  // k = 10 > 9: slot 10 is no extra reference: dropped
  w.u32(0x00010000);  // channel 17: dropped
  w.u32(0x00030000);  // k = 9: 3 dB into channel 8
  f.decode(w);
  EXPECT_EQ(f.state.channels[8].correction, 3.0);
  EXPECT_EQ(f.state.channels[2].correction, 1.5);
  EXPECT_EQ(f.state.channels[5].correction, -1.0);
  EXPECT_DOUBLE_EQ(f.state.channels[2].sensitivity, 100.0);
  EXPECT_EQ(f.state.channels[1].correction, -0.5);
  EXPECT_DOUBLE_EQ(f.state.channels[6].reference, 10.0);
  EXPECT_DOUBLE_EQ(f.state.channels[8].reference, 10.0);
  EXPECT_EQ(f.state.channels[1].reference, 0.0);

  // Several banded channels: limit 1, so k > 1 is the channel of bits 0-7.
  Fixture multi({banded(0, 1, 1, 0, 0), 0x500B0802, 0x500B0100, 0x500A0203});
  EXPECT_EQ(multi.state.description.perChannelLimit, 1);
  ByteWriter m;
  m.u16(0);
  m.u32(0x00020000);  // k = 8: extra reference 1 of channel 2 = 100
  m.u32(0x00010000);  // k = 1: channel 0
  m.u32(0x00028000);  // k = 2 > 1: channel 3
  multi.decode(m);
  EXPECT_DOUBLE_EQ(multi.state.channels[2].extraReferences[1], 100.0);
  EXPECT_DOUBLE_EQ(multi.state.channels[0].reference, 10.0);
  EXPECT_EQ(multi.state.channels[3].correction, 2.5);
}

TEST(RecordDecoder, FlagsWordsAndResets) {
  Fixture f({0x40130001, 0x40140012, 0x401E0000, 0x202E0000, 0x20320000, 0x20190000, 0x201C0000,
             0x20360005, 0x20360002, 0x703A0000, 0x800F0000, 0x80310000, 0xB0352002, 0xB0351003,
             0xC03D0000, 0xF01A0000, 0x50080000});
  ByteWriter w;
  w.u16(3);
  w.u16(4);      // channel 18: dropped
  w.u16(1);
  w.u16(0x0521);
  w.u16(0x00A1);
  w.u16(0x0203);
  w.u16(555);
  w.u16(66);
  w.u16(77);
  w.u16(1);
  w.u16(3);      // 33.333...
  w.u32(static_cast<std::uint32_t>(-512));
  w.u32(640);
  w.f32(2.5f);
  w.u32(9);
  w.u32(1);
  w.u32(2);
  w.u16(0x105);
  w.u16(2);
  w.u16(1);      // 5 + 120 + 3600
  w.u32(42);     // duration from 0x5008: the later code wins
  f.decode(w);
  const RecordValues& v = f.state.values;
  EXPECT_EQ(f.state.channels[1].overloadFlag, 3);
  EXPECT_EQ(v.markerFlag, 1);
  EXPECT_EQ(v.channelKinds, 0x0521);
  EXPECT_EQ(v.unitIndexes, 0x00A1);
  EXPECT_EQ(v.charTable, 3);
  EXPECT_EQ(v.modelCode, 555);
  EXPECT_EQ(v.aux2036[1], 66);
  EXPECT_EQ(v.bandCountOverride[1], 77);
  EXPECT_FLOAT_EQ(v.percentage, 100.0f / 3.0f);
  EXPECT_EQ(v.aux800F, -2.0);
  EXPECT_EQ(v.aux8031, 2.5f);
  ASSERT_EQ(v.floatLists[1].size(), 3u);
  EXPECT_EQ(v.floatLists[1][2], 0x40200000u);
  EXPECT_EQ(v.floatLists[0], (std::vector<std::uint32_t>{0, 0, 0, 9}));
  EXPECT_EQ(v.auxC03D, (std::array<std::uint32_t, 2>{1, 2}));
  EXPECT_EQ(v.duration, 42);

  // The next record without these codes resets and defaults them.
  f.state.description.layout = {0x00060000};
  ByteWriter e;
  e.u16(0);
  f.decode(e);
  EXPECT_EQ(v.markerFlag, 0);
  EXPECT_EQ(v.channelKinds, 0xFFFF);
  EXPECT_EQ(v.unitIndexes, 0xFFFF);
  EXPECT_EQ(v.charTable, 1);
  EXPECT_EQ(v.duration, -1);
  EXPECT_EQ(v.aux4012, 0xFFFE);
  EXPECT_TRUE(v.floatLists[1].empty());
  EXPECT_EQ(v.bandCountOverride[1], 0);
  EXPECT_FLOAT_EQ(v.percentage, 100.0f / 3.0f);  // kept
  EXPECT_EQ(f.state.channels[1].overloadFlag, 3);  // kept

  Fixture hours({0xF01A0000});
  auto r = words({1, 1, 256});
  hours.decode(r);
  EXPECT_EQ(hours.state.values.duration, -1);
}

TEST(RecordDecoder, Texts) {
  const ParameterCode label = 0xF02F0200;   // kind 0, 3 characters
  const ParameterCode sensor = 0xF02F1313;  // kind 1, channel 3, 20 characters
  const ParameterCode third = 0xF02F0152;   // kind 5, channel 2, 2 characters
  Fixture f({label, sensor, third, 0xF0050000});
  ByteWriter w;
  w.units16(u"Шум");
  w.units16(u"ABCDEFGHIJKLMNOPQRST");
  w.units16(std::u16string_view(u"Z\0", 2));
  std::u16string wide(33, u'x');
  wide[5] = 0;
  w.units16(wide);
  f.decode(w);
  const auto& ch3 = f.state.channels[3];
  EXPECT_EQ(ch3.sensorName, "ABCDEFGHIJKLMNO");
  EXPECT_EQ(ch3.texts.at(sensor), "ABCDEFGHIJKLMNOPQRST");
  EXPECT_EQ(f.state.channels[2].channelTexts[2], "Z");
  EXPECT_EQ(f.state.channels[2].texts.at(third), "Z");
  EXPECT_EQ(f.state.channels[0].texts.at(label), "Шум");
  EXPECT_EQ(f.state.values.label, "xxxxx");  // the later label code wins

  Fixture instrument({0x20190000, 0xF0030000});
  ByteWriter i;
  i.u16(3);
  const std::uint8_t text[10] = {0x41, 0x42, 0x30, 0xF5, 0, 0, 0, 0, 0, 0};
  i.bytes(text, 10);
  instrument.decode(i);
  EXPECT_EQ(instrument.state.values.label, "ABQ0      ");
}

// A steady-state decode allocates nothing once the first record has been decoded.
// Decoding through a plan gives the state decoding without one gives, record
// after record: banded values in and out of their tables and of no group,
// raw words, percentiles, band frequencies, a record cut short, a foreign echo.
TEST(RecordDecoder, APlanDecodesAsTheLayoutDoes) {
  const std::vector<std::vector<ParameterCode>> layouts = {
      {code::kTypeEcho, banded(2, 1, 0, 0, 0), banded(0, 2, 1, 1, 3), banded(5, 3, 0, 0, 0), 0x00010000,
       0x50070000, banded(2, 1, 0, 9, 0), banded(7, 1, 2, 0, 40), banded(2, 0, 3, 0, 0), banded(11, 4, 5, 2, 1)},
      {0, 0x60160000, 0x60160001, 0x00170000, 0x00170001, 0, 0x70201FFE, 0x70201FFF, banded(12, 1, 0, 1, 1),
       0x70202000, 0x70202001, banded(10, 1, 0, 0, 1)},
      {0x201B0000, 0x40130000, 0x40140001, 0x500A0100, 0xF02F0210, banded(0, 1, 15, 0, 0)},
      // Names of slots 0 and 2 share an entry of each of two blocks: written
      // in the order the record gives them.
      {0x60160000, 0x00170001, 0x60160002, 0x00170003, 0x60160001},
  };
  for (std::size_t k = 0; k < layouts.size(); ++k) {
    SCOPED_TRACE(k);
    const std::uint32_t blocks = k == 3 ? 2 : 1;
    Fixture plain(layouts[k], kType, blocks);
    Fixture planned(layouts[k], kType, blocks);
    DecodingPlan plan(planned.state.description, planned.state.channels);
    ASSERT_TRUE(plan.fits(planned.state.channels, planned.state.description));
    const std::uint32_t size = plain.state.description.recordSize;
    for (std::uint32_t r = 0; r < 24; ++r) {
      // Neighbouring records repeat some words and change others, as names do.
      ByteWriter w;
      for (std::uint32_t i = 0; i < size / 2; ++i) w.u16(static_cast<std::uint16_t>((i % 2 ? r / 2 : r / 3) * 977 + i * 31));
      std::vector<std::uint8_t> bytes = w.take();
      if (r % 3 == 1) bytes.resize(bytes.size() / 2);  // cut short
      if (r % 4 == 3 && bytes.size() >= 2) bytes[0] = bytes[1] = 0;  // an echo of another type, where there is one
      const std::uint16_t expected = plain.state.decode(bytes);
      EXPECT_EQ(decodeRecord(bytes, planned.state.channels, planned.state.values, planned.state.description, plan),
                expected);
      ASSERT_EQ(planned.state.values, plain.state.values) << "record " << r;
      ASSERT_EQ(planned.state.channels, plain.state.channels) << "record " << r;
    }
  }
}

// A state reshaped after the plan was made (a file header's own counts) does
// not take the plan's cells: the record is decoded by the layout.
TEST(RecordDecoder, APlanForAnotherShapeIsNotUsed) {
  Fixture f({banded(2, 1, 0, 0, 0), banded(2, 1, 0, 1, 2)});
  DecodingPlan plan(f.state.description, f.state.channels);
  ChannelTables::Shape shape = f.state.channels.shape();
  shape[0][0] = {3, 4};
  f.state.channels.resetTables(shape);
  EXPECT_FALSE(plan.fits(f.state.channels, f.state.description));
  const std::vector<std::uint8_t> bytes = words({5, 6}).take();
  decodeRecord(bytes, f.state.channels, f.state.values, f.state.description, plan);
  EXPECT_EQ(f.state.channels[0].values[0][0][0], 5.0);
  EXPECT_EQ(f.state.channels[0].values[0][1][2], 6.0);
  EXPECT_FALSE(DecodingPlan().fits(f.state.channels, f.state.description));
}

TEST(RecordDecoder, SteadyStateAllocatesNothing) {
  // Texts too: their strings keep their storage from record to record.
  std::vector<ParameterCode> layout{0x00010000, 0x00020000, 0x50040000, 0x20250000, 0x40130000,
                                    0x401E0000, 0x60160000, 0x00170000, 0x70201FFE, 0x70201FFF,
                                    0xF02F1000, 0xF02F1010, 0xF0050000, 0x20190000, 0xF0030000};
  for (std::uint32_t b = 0; b < 36; ++b) layout.push_back(banded(0, 1, 0, 0, b));
  for (std::uint32_t b = 0; b < 36; ++b) layout.push_back(banded(0, 1, 0, 1, b));
  Fixture f(layout, kType, 1);
  ByteWriter w;
  for (std::size_t i = 0; i < 200; ++i) w.u16(static_cast<std::uint16_t>(i * 7));
  const auto bytes = w.take();
  f.state.decode(bytes);
  ASSERT_GT(f.state.channels[0].texts.at(0xF02F1000).size(), 15u);  // longer than a string holds without the heap
  ASSERT_GT(f.state.channels[0].texts.at(0xF02F1010).size(), 15u);
  const std::int64_t before = test::allocationCount();
  for (int i = 0; i < 10; ++i) f.state.decode(bytes);
  EXPECT_EQ(test::allocationCount() - before, 0);
}

}  // namespace
}  // namespace sonvera
