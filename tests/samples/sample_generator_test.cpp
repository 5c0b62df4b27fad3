#include "samples/sample_generator.h"

#include <gtest/gtest.h>

#include <cmath>

#include "measurement/record_decoder.h"
#include "samples/sample_layouts.h"
#include "support/measurement_catalogue.h"
#include "support/temp_file.h"

namespace sonvera {
namespace {

DeviceCatalogue sampleCatalogue() {
  DeviceCatalogue c = test::catalogueWithModel(1);
  test::addType(c, 21, soundLevelMeterDescription());
  test::addType(c, 22, vibrationMeterDescription());
  return c;
}

double energySum(std::span<const double> levels) {
  double e = 0;
  for (double l : levels) e += std::pow(10.0, l / 10.0);
  return 10.0 * std::log10(e);
}

TEST(SampleGenerator, EveryVariantOpensWithItsTimeSpan) {
  const DeviceCatalogue catalogue = sampleCatalogue();
  for (const FileVariant variant : {FileVariant::SelfDescribing, FileVariant::PairedWord, FileVariant::Legacy}) {
    SampleOptions options;
    options.typeCode = 21;
    options.variant = variant;
    options.records = 600;
    options.stepSeconds = 60;
    options.start = RecordTime::fromParts(2024, 5, 17, 6, 0, 0);
    MeasurementFileSource source;
    ASSERT_EQ(generateSample(catalogue, options, source), SampleResult::Generated);
    const auto bytes = measurementFileBytes(source);
    EXPECT_EQ(detectVariant(std::span<const std::uint8_t, 8>(bytes.data(), 8)), variant);
    test::TempFile file(bytes);
    MeasurementFile m;
    ASSERT_EQ(openMeasurementFile(catalogue, file.path(), m), OpenResult::Opened) << static_cast<int>(variant);
    EXPECT_EQ(m.recordCount, 600u);
    EXPECT_EQ(m.values.typeCode, 21);
    EXPECT_EQ(m.values.vin, variant == FileVariant::Legacy ? 0x70001u : 0x30001u);
    EXPECT_EQ(m.firstTime.format("%Y-%m-%d %H:%M:%S"), "2024-05-17 06:00:00");
    EXPECT_EQ(m.lastTime.format("%Y-%m-%d %H:%M:%S"), "2024-05-17 15:59:00");

    std::vector<std::uint8_t> buffer(m.description.recordSize);
    int overloads = 0, markers = 0;
    for (std::uint32_t i = 0; i < m.recordCount; ++i) {
      readRecord(m, i, buffer);
      decodeIfSameType(buffer, m.channels, m.values, m.description);
      overloads += m.channels[0].overloadFlag != 0;
      markers += m.values.markerFlag != 0;
      // Third octaves and octaves add up to the broadband Leq.
      const double broadband = m.channels[0].values[2][0][0];
      if (broadband > 40 && broadband < 100) {  // no band clamped at 0 dB
        EXPECT_NEAR(energySum(m.channels[0].values[0][0]), broadband, 0.1) << i;
        EXPECT_NEAR(energySum(std::vector<double>(m.channels[0].values[1][0].begin(), m.channels[0].values[1][0].begin() + 10)),
                    broadband, 0.1) << i;
      }
    }
    EXPECT_GT(overloads, 0);
    EXPECT_GT(markers, 0);
    EXPECT_EQ(m.channels[0].statistics[0].entries[2].name, "L10");
    EXPECT_NEAR(m.values.bandFrequencies[0].back(), 20000.0, 1.0);
  }
}

TEST(SampleGenerator, SameSeedSameFileAndUnrepresentableVariants) {
  const DeviceCatalogue catalogue = sampleCatalogue();
  SampleOptions options;
  options.typeCode = 22;
  options.records = 50;
  MeasurementFileSource a, b;
  ASSERT_EQ(generateSample(catalogue, options, a), SampleResult::Generated);
  ASSERT_EQ(generateSample(catalogue, options, b), SampleResult::Generated);
  EXPECT_EQ(measurementFileBytes(a), measurementFileBytes(b));
  options.seed = 2;
  ASSERT_EQ(generateSample(catalogue, options, b), SampleResult::Generated);
  EXPECT_NE(measurementFileBytes(a), measurementFileBytes(b));

  options.typeCode = 23;
  EXPECT_EQ(generateSample(catalogue, options, b), SampleResult::UnknownType);
  DeviceCatalogue odd;
  test::addType(odd, 5, test::describe({0x01100000, 0x50040000, 0x00010000}));
  options.typeCode = 5;
  options.variant = FileVariant::PairedWord;
  EXPECT_EQ(generateSample(odd, options, b), SampleResult::NoPairedWords);
  options.variant = FileVariant::Legacy;
  EXPECT_EQ(generateSample(odd, options, b), SampleResult::NoLegacyModel);
  options.typeCode = 21;
  options.serial = 0x30001;
  EXPECT_EQ(generateSample(catalogue, options, b), SampleResult::LooksPaired);
}

}  // namespace
}  // namespace sonvera

namespace sonvera {
namespace {

TEST(SampleGenerator, VibrationChannelsAreLinearAndNamedByTheModel) {
  DeviceCatalogue catalogue;
  catalogue.units.fill(true);
  InstrumentModel model;
  model.name = "ВМ-4";
  model.channelUnits = {"м/с2", "м/с2", "м/с2", "м/с2"};
  model.channelNames = {"X", "Y", "Z", "D"};
  catalogue.models[1] = model;
  catalogue.models[2201] = model;
  DeviceDescription d = test::describe({0x201B0000, 0x201C0000, 0x50040000, 0x50070000, 0x202E0000, 0x20320000,
                                        0x500C0000, 0xB1300000, 0xB1310000, 0xB1320000, 0xB1330000});
  d.formats = {0xFFFF, 0xFFFF, 0xFFFF, 0xFFFF, 0xFFFF, 0xFFFF, 0xFFFF, 0x00CC, 0x00CC, 0x00CC, 0x00CC};
  d.defaultReference = 1e-6;
  test::addType(catalogue, 22, d);
  SampleOptions options;
  options.typeCode = 22;
  options.variant = FileVariant::PairedWord;
  options.records = 50;
  options.modelCode = 2201;
  MeasurementFileSource source;
  ASSERT_EQ(generateSample(catalogue, options, source), SampleResult::Generated);
  test::TempFile file(measurementFileBytes(source));
  MeasurementFile m;
  ASSERT_EQ(openMeasurementFile(catalogue, file.path(), m), OpenResult::Opened);
  EXPECT_EQ(m.values.modelCode, 2201);
  EXPECT_EQ(m.values.channelKinds, 0x7432);
  EXPECT_EQ(m.values.unitIndexes, 0x1111);
  EXPECT_DOUBLE_EQ(m.channels[0].sensitivity, 10e-3);
  for (std::size_t c = 0; c < 4; ++c) {
    const double v = m.channels[c].values[2][0][0];
    EXPECT_GT(v, 1e-5) << c;  // 20 dB and more against 1e-6 m/s2
    EXPECT_LT(v, 10.0) << c;  // at most 140 dB
  }
}

}  // namespace
}  // namespace sonvera
