// The texts a user types or a shell passes: counts in edit fields, range
// times in every form, statistics and assessment fields and the command line.

#include <cstdint>
#include <string>

#include "app/assessment_form.h"
#include "app/command_line.h"
#include "app/number_text.h"
#include "app/statistics_dialog.h"
#include "app/typed_time.h"
#include "base/utf16.h"
#include "samples/sample_generator.h"
#include "samples/sample_layouts.h"
#include "measurement/time_line.h"
#include "support/fuzz_case.h"

namespace {

using namespace sonvera;

// A small file of a known type, opened once; `oneDay` files show times of day.
MeasurementFile& sampleFile(bool oneDay) {
  static fuzz::MemoryFile memories[2];
  static MeasurementFile files[2];
  static bool opened[2] = {false, false};
  static DeviceCatalogue catalogue = [] {
    DeviceCatalogue c;
    c.units.fill(true);
    c.descriptions[21] = soundLevelMeterDescription();
    c.models[1] = {"Model", {"Pa", "Pa", "Pa", "Pa"}, {"A", "B", "C", "D"}};
    return c;
  }();
  const int k = oneDay ? 0 : 1;
  if (!opened[k]) {
    SampleOptions options;
    options.typeCode = 21;
    options.records = 50;
    options.stepSeconds = oneDay ? 60 : 7200;
    options.modelCode = 1;
    MeasurementFileSource source;
    generateSample(catalogue, options, source);
    memories[k].store(measurementFileBytes(source));
    openMeasurementFile(catalogue, memories[k].path(), files[k]);
    opened[k] = true;
  }
  return files[k];
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const std::string text(reinterpret_cast<const char*>(data) + 1, size - 1);
  switch (data[0] % 4) {
    case 0: {
      readUnsignedField(text);
      const SignedScan scan = scanSignedField(trimmed(text));
      (void)scan;
      break;
    }
    case 1: {
      std::u16string line;
      for (std::size_t i = 1; i + 1 < size; i += 2) line += static_cast<char16_t>(data[i] | data[i + 1] << 8);
      const CommandLineArgs args(line);
      std::vector<std::string> plain;
      for (std::size_t i = 1; i < args.argv().size(); ++i) plain.push_back(utf16ToUtf8(args.argv()[i]));
      planStartup(plain);
      break;
    }
    case 2: {
      MeasurementFile& file = sampleFile((data[0] & 4) != 0);
      std::vector<std::uint8_t> buffer;
      // Times as users type them become the fields' own form: what of it parses
      // (the fields refuse years the file does not cover) must read back the same.
      if (const auto field = rangeFieldText(file, text))
        if (const auto t = parseRangeTime(file, *field); t && formatRangeTime(file, *t) != *field) __builtin_trap();
      typedDateTime(text);
      if (const auto t = parseRangeTime(file, text)) {
        formatRangeTime(file, *t);
        if (const auto n = findRecordByTime(file, *t, (data[0] & 8) != 0, buffer)) timeOfRecord(file, *n, buffer);
      }
      break;
    }
    default: {
      if (data[0] & 0x10) {
        // The assessment's fields, a line each.
        AssessmentForm form;
        std::string* fields[] = {&form.periodStarts[0], &form.periodStarts[1], &form.periodStarts[2], &form.penalties[0],
                                 &form.penalties[1],    &form.penalties[2],    &form.threshold,       &form.gap,
                                 &form.minimumDuration};
        std::size_t start = 0;
        for (std::string* field : fields) {
          const std::size_t end = std::min(text.find('\n', start), text.size());
          *field = start < text.size() ? text.substr(start, end - start) : std::string{};
          start = end + 1;
        }
        form.interval = data[0] >> 5;
        const auto read = readAssessmentForm(form, {}, std::nullopt);
        if (read.settings && !periodHours(read.settings->dayStart, read.settings->eveningStart, read.settings->nightStart))
          __builtin_trap();  // accepted hours always make a day
        break;
      }
      StatisticsForm form;
      std::size_t start = 0;
      for (std::size_t field = 0; field < 7; ++field) {
        const std::size_t end = std::min(text.find('\n', start), text.size());
        std::string part = start < text.size() ? text.substr(start, end - start) : std::string{};
        if (field < 6) form.percentileTexts[field] = std::move(part);
        else form.thresholdText = std::move(part);
        start = end + 1;
      }
      form.exceedance = (data[0] & 4) != 0;
      if (const auto result = acceptForm(form); result.settings) statisticsSummary(*result.settings);
      break;
    }
  }
  return 0;
}
