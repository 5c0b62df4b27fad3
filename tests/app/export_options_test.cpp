#include "app/export_options.h"

#include <gtest/gtest.h>

namespace sonvera {
namespace {

TEST(ExportOptions, Parsing) {
  EXPECT_TRUE(parseSplit("60min")->count == "60");
  EXPECT_TRUE(parseSplit("100REC")->byRecords);
  EXPECT_FALSE(parseSplit("min"));
  const auto d = parseDecimation("5rec:avg");
  ASSERT_TRUE(d);
  EXPECT_TRUE(d->byRecords && d->average && !d->maximum);
  EXPECT_FALSE(parseDecimation("5sec:mean"));
  const auto s = parseStatistics("min,max,leq,le,n75,L10,L50,L90");
  ASSERT_TRUE(s);
  EXPECT_TRUE(s->minimum && s->maximum && s->leq && s->le && s->exceedance);
  EXPECT_EQ(s->thresholdText, "75");
  EXPECT_EQ(s->percentileTexts[2], "90");
  EXPECT_FALSE(parseStatistics("L1,L2,L3,L4,L5,L6,L7"));
  EXPECT_FALSE(parseStatistics("mean"));
  EXPECT_EQ(parseSeparator("tab"), 1);
}

TEST(ExportOptions, TextsIntoRequest) {
  ExportRequest request;
  EXPECT_FALSE(parseExportOptionTexts({"10rec", "60sec:max", "space", "L50", "utf-8"}, request));
  EXPECT_TRUE(request.split->byRecords && request.decimation->maximum && request.separator == 2);
  EXPECT_EQ(request.statistics->percentileTexts[0], "50");
  EXPECT_EQ(request.encoding, TextEncoding::Utf8WithBom);
  // The first faulty option is named, with what it takes.
  const auto fault = parseExportOptionTexts({"10rec", std::nullopt, "comma", std::nullopt, "koi8"}, request);
  ASSERT_TRUE(fault);
  EXPECT_STREQ(fault->option, "separator");
  EXPECT_STREQ(fault->takes, "semicolon, tab or space");
}

}  // namespace
}  // namespace sonvera
