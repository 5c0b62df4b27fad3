#include "app/file_summary.h"

#include "app/strings.h"
#include "base/byte_reader.h"
#include "base/printf_text.h"
#include "export/format_value.h"
#include "measurement/channel_names.h"
#include "measurement/record_decoder.h"
#include "measurement/record_stream.h"
#include "measurement/time_line.h"

namespace sonvera {
namespace {

constexpr const char* kFullTime = "%d/%m/%Y %H:%M:%S";
constexpr const char* kClockTime = "%H:%M:%S";

// Everything up to and including the first ":" and the character after it goes.
std::string withoutChannelName(const std::string& line) {
  const auto colon = line.find(':');
  if (colon == std::string::npos) return line;
  return colon + 2 <= line.size() ? line.substr(colon + 2) : std::string{};
}

std::string joined(const std::vector<std::string>& lines) {
  std::string text;
  for (const auto& line : lines) {
    if (!text.empty()) text += ", ";
    text += line;
  }
  return text;
}

}  // namespace

const char* openFailureText(OpenResult result) {
  switch (result) {
    case OpenResult::CannotOpen: return text(StringId::CannotOpenFile);
    case OpenResult::UnknownType: return text(StringId::UnknownDeviceType);
    case OpenResult::Empty: return text(StringId::EmptyFile);
    case OpenResult::Opened: break;
  }
  return "";
}

std::uint16_t recordWord(std::span<const std::uint8_t> record, std::int32_t offset) {
  if (offset < 0) return 0;
  const auto even = static_cast<std::size_t>(offset) & ~std::size_t{1};
  if (even + 1 >= record.size()) return 0;
  return loadLE16(record.data() + even);
}

std::int32_t loadFlagOffset(const DeviceDescription& description, bool underload, std::int32_t channel) {
  const ParameterCode code = (underload ? 0x4014u : 0x4013u) << 16 | static_cast<std::uint32_t>(channel);
  return codeOffset(description, code);
}

FileSummary headlineSummary(const DeviceCatalogue& catalogue, const MeasurementFile& file) {
  FileSummary s;
  s.model = modelName(catalogue, file.values.modelCode);
  s.vin = printfText("VIN: %05X", file.values.vin);
  s.records = printfText("%u записей", file.recordCount);
  if (file.recordCount > 1 && later(file.lastTime, file.firstTime)) {
    const double seconds = wholeSeconds(difference(file.lastTime, file.firstTime).days);
    s.stepSeconds = seconds / (file.recordCount - 1);
    s.step = printfText("шаг: %.1lf сек", *s.stepSeconds);
  }
  s.span = file.firstTime.format(kFullTime);
  if (file.recordCount > 1) {
    s.span += " - ";
    s.span += file.lastTime.format(firstAndLastOnOneDay(file) ? kClockTime : kFullTime);
  }
  const auto channels = std::min<std::int32_t>(file.description.channelCount, kChannelSlots);
  for (std::int32_t c = 0; c < channels; ++c)
    if (file.channels[static_cast<std::size_t>(c)].overloadFlag != 0) s.over = true;
  return s;
}

void addLoadStatistics(const DeviceCatalogue& catalogue, MeasurementFile& file, FileSummary& summary) {
  struct Watch {
    std::int32_t channel = 0;
    bool underload = false;
    std::int32_t offset = 0;
    std::uint32_t count = 0;
    std::uint32_t first = 0;
    RecordTime firstTime;
  };
  std::vector<Watch> watches;
  const DeviceDescription& d = file.description;
  for (const bool underload : {false, true})
    for (std::int32_t c = 0; c < d.channelCount; ++c) {
      const std::int32_t offset = loadFlagOffset(d, underload, c);
      if (offset >= 0 && static_cast<std::uint32_t>(offset) < d.recordSize) {
        Watch w;
        w.channel = c;
        w.underload = underload;
        w.offset = offset;
        watches.push_back(w);
      }
    }
  if (!watches.empty()) {
    RecordStream records(file, 0, file.recordCount);
    for (std::uint32_t i = 0; i < file.recordCount; ++i) {
      const std::span<const std::uint8_t> record = records.next();
      for (auto& w : watches) {
        if (recordWord(record, w.offset) == 0) continue;
        if (w.count++ == 0) {
          decodeIfSameType(record, file.channels, file.values, file.description);
          w.first = i;
          w.firstTime = recordTime(file.values);
        }
      }
    }
  }

  summary.loads.clear();
  for (const auto& w : watches)
    summary.loads.push_back({w.channel, w.underload, w.count, w.count * 100.0 / file.recordCount,
                             w.count > 0 ? w.first + 1 : 0, w.count > 0 ? w.firstTime : RecordTime{}});

  const bool oneDay = firstAndLastOnOneDay(file);
  for (const bool underload : {true, false}) {
    std::vector<std::string> shortLines, longLines;
    for (const auto& w : watches) {
      if (w.underload != underload || w.count == 0) continue;
      const std::string name = channelName(catalogue, file.values, w.channel);
      const double percent = w.count * 100.0 / file.recordCount;
      const int number = static_cast<int>(w.first + 1);
      const std::string when = w.firstTime.format(oneDay ? kClockTime : kFullTime);
      shortLines.push_back(printfText("%s: %.1lf%% с %d (%s)", name.c_str(), percent, number, when.c_str()));
      longLines.push_back(
          printfText("%s: %.1lf%% времени начиная с %d записи (%s)", name.c_str(), percent, number, when.c_str()));
      if (!underload && d.channelCount == 1) {
        shortLines.back() = withoutChannelName(shortLines.back());
        longLines.back() = withoutChannelName(longLines.back());
      }
    }
    if (underload) {
      summary.underloadSummary = joined(shortLines);
      summary.underloadDetails = joined(longLines);
      summary.under = !shortLines.empty();
    } else {
      summary.overloadSummary = joined(shortLines);
      summary.overloadDetails = joined(longLines);
    }
  }
}

std::vector<std::string> calibrationLines(const DeviceCatalogue& catalogue, const MeasurementFile& file) {
  std::vector<std::string> lines;
  const std::int32_t count = std::min<std::int32_t>(file.description.channelCount, kChannelSlots);
  for (std::int32_t c = 0; c < count; ++c) {
    const ChannelValues& ch = file.channels[static_cast<std::size_t>(c)];
    const std::string sensitivity = formatValue(ch.sensitivity, 0xC4, true, false, 1.0);
    const double reference = ch.reference > 0 ? ch.reference : file.description.defaultReference;
    const std::string referenceText = formatValue(reference, 0xC4, true, false, 1.0);
    const std::string unit = channelUnit(catalogue, file.values, file.channels, c);
    std::string line = printfText("датчик: %s, поправка: %.2lf дБ, номин. датчик: %s В/%s, опорн. уровень: %s %s",
                                  ch.sensorName.c_str(), ch.correction, sensitivity.c_str(), unit.c_str(),
                                  referenceText.c_str(), unit.c_str());
    if (ch.sensorName.empty()) {
      const auto comma = line.find(',');
      line = comma + 2 <= line.size() ? line.substr(comma + 2) : std::string{};
    }
    if (file.description.channelCount > 1) line = channelName(catalogue, file.values, c) + ": " + line;
    lines.push_back(std::move(line));
  }
  return lines;
}

}  // namespace sonvera
