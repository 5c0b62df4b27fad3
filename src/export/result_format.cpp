#include "export/result_format.h"

#include <algorithm>
#include <charconv>
#include <set>

#include "base/printf_text.h"

namespace sonvera {
namespace {

constexpr bool kExtended = true;  // result files always show the extra digit

std::string_view separatorOf(const char& separator) { return {&separator, 1}; }

// A number as the options want it, followed by the separator.
void writeNumber(ResultWriter& out, const ResultFormatOptions& options, std::string text) {
  out.write(options.decimalComma ? withDecimalComma(std::move(text)) : text);
  out.write(separatorOf(options.separator));
}

std::set<std::int32_t> chosenPercentiles(const StatisticsSettings& settings) {
  std::set<std::int32_t> chosen;
  for (const std::int32_t p : settings.percentiles)
    if (isPercentile(p)) chosen.insert(p);
  return chosen;
}

void writeStatisticsHeader(ResultWriter& out, const StatisticsSettings& settings, std::string_view sep) {
  std::string line(sep);
  const auto label = [&](std::string_view text) {
    line += text;
    line += sep;
  };
  if (settings.minimum) label("Min");
  if (settings.maximum) label("Max");
  if (settings.leq) label("Leq");
  if (settings.le) label("LE");
  if (settings.exceedance) label(printfText("n%d,%%", settings.threshold));
  for (const std::int32_t p : chosenPercentiles(settings)) label(printfText("L%d", p));
  out.writeLine(line);
}

void writeStatisticsRow(ResultWriter& out, const ResultFormatOptions& options,
                        const StatisticsSettings& settings, const StatisticsColumn& column,
                        double durationSeconds) {
  const ColumnFigures figures = computeFigures(*column.statistics, settings, durationSeconds);
  const DisplayFormat format =
      column.format == display_format::kDefault ? display_format::kDefaultLevel : column.format;
  // Leq and LE are worked out as linear quantities.
  const DisplayFormat linear = format & ~display_format::kIsLevel;
  const auto value = [&](double v, DisplayFormat f) {
    writeNumber(out, options, formatValue(v, f, options.linearUnits, kExtended, column.reference));
  };
  out.write(out.encoded(column.name));
  out.write(separatorOf(options.separator));
  if (settings.minimum) value(figures.minimum, format);
  if (settings.maximum) value(figures.maximum, format);
  if (settings.leq) value(figures.rms, linear);
  if (settings.le) value(figures.exposure, linear);
  if (settings.exceedance) writeNumber(out, options, printfText("%.0lf", figures.exceedancePercent));
  for (const auto& [p, level] : figures.percentileLevels) writeNumber(out, options, printfText("%.1lf", level));
  out.endLine();
}

}  // namespace

char valueSeparator(std::int32_t index) { return index == 0 ? ';' : index == 1 ? '\t' : ' '; }

void writeDataHeader(ResultWriter& out, const ResultFormatOptions& options,
                     std::span<const std::string> columnNames) {
  const std::string_view sep = separatorOf(options.separator);
  std::string line;
  if (options.recordNumber) {
    line += "N";
    line += sep;
  }
  if (options.dateTime) {
    line += out.encoded(result_text::kDate);
    line += sep;
    line += out.encoded(result_text::kTime);
    line += sep;
  }
  for (const std::string& name : columnNames) {
    line += out.encoded(options.shortNames ? shortName(name) : name);
    line += sep;
  }
  out.writeLine(line);
}

void writeLinePrefix(ResultWriter& out, const ResultFormatOptions& options, std::uint32_t recordNumber,
                     const RecordTime& time) {
  char* at = out.room(64);
  if (options.recordNumber) {
    at = std::to_chars(at, at + 16, recordNumber).ptr;
    *at++ = options.separator;
  }
  if (options.dateTime) at += dateAndTimeTo(at, time, options.separator);
  out.commit(at);
}

void writeValueField(ResultWriter& out, const ResultFormatOptions& options, double value,
                     DisplayFormat format, double reference) {
  char* const at = out.room(kValueTextCapacity + 1);
  const std::size_t n = formatValueTo(at, value, format, options.linearUnits, kExtended, reference);
  if (options.decimalComma) std::replace(at, at + n, '.', ',');
  at[n] = options.separator;
  out.commit(at + n + 1);
}

void writeDataLine(ResultWriter& out, const ResultFormatOptions& options, std::uint32_t recordNumber,
                   const RecordTime& time, std::span<const FieldValue> values) {
  writeLinePrefix(out, options, recordNumber, time);
  for (const FieldValue& v : values) writeValueField(out, options, v.value, v.format, v.reference);
  out.endLine();
}

void writeSourceBlock(ResultWriter& out, char separator, const SourceInformation& source) {
  const std::string_view sep = separatorOf(separator);
  const std::string range = out.encoded(result_text::kRecordRange);
  out.writeLine(out.encoded(source.path));
  out.writeLine(out.encoded(source.comment));
  out.writeLine(out.encoded(source.instrumentTitle));
  out.writeLine(printfText(result_text::kVinFormat, source.vin));

  std::string line = range;
  line += sep;
  line += printfText("%u", source.firstRecordNumber);
  line += sep;
  line += printfText("%u", source.lastRecordNumber);
  line += sep;
  out.writeLine(line);

  // No separator between the label and the first date.
  line = range;
  for (const std::string& part : {dateText(source.firstTime), timeText(source.firstTime),
                                  dateText(source.lastTime), timeText(source.lastTime)}) {
    line += part;
    line += sep;
  }
  out.writeLine(line);

  for (const std::string& calibration : source.calibrationLines) out.writeLine(out.encoded(calibration));

  line.clear();
  for (const ChannelLabel& channel : source.channels) {
    line += out.encoded(channel.name);
    line += ": ";
    line += out.encoded(channel.unit);
    line += sep;
  }
  out.writeLine(line);

  if (!source.underload.empty()) out.writeLine(out.encoded(result_text::kUnderload) + ": " + out.encoded(source.underload));
  if (!source.overload.empty()) out.writeLine(out.encoded(result_text::kOverload) + ": " + out.encoded(source.overload));

  if (!source.markers.empty()) {
    out.writeLine(out.encoded(result_text::kMarkers));
    std::uint32_t ordinal = 0;
    for (const auto& [record, time] : source.markers) {
      line = printfText("%u", ++ordinal);
      line += sep;
      line += printfText("%u", record + 1);
      line += sep;
      line += dateText(time);
      line += sep;
      line += timeText(time);
      line += sep;
      out.writeLine(line);
    }
  }
  out.endLine();
}

void writeStatisticsTable(ResultWriter& out, const ResultFormatOptions& options,
                          const StatisticsSettings& settings, std::span<const StatisticsColumn> columns,
                          double durationSeconds) {
  if (anyStatisticChosen(settings)) {
    writeStatisticsHeader(out, settings, separatorOf(options.separator));
    for (const StatisticsColumn& column : columns)
      if (column.statistics && column.statistics->count > 0)
        writeStatisticsRow(out, options, settings, column, durationSeconds);
  }
  // The next data file's first value starts every column afresh.
  for (const StatisticsColumn& column : columns)
    if (column.statistics) column.statistics->reset();
}

}  // namespace sonvera
