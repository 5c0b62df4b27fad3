#include "app/export_options.h"

#include <cctype>

#include "app/profile.h"

namespace sonvera {
namespace {

// Splits "123unit" into the number text and the unit.
bool splitNumber(std::string_view text, std::string& number, std::string_view& unit) {
  std::size_t i = 0;
  while (i < text.size() && std::isdigit(static_cast<unsigned char>(text[i]))) ++i;
  if (i == 0) return false;
  number = std::string(text.substr(0, i));
  unit = text.substr(i);
  return true;
}

std::string lower(std::string_view text) {
  std::string s(text);
  for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return s;
}

}  // namespace

std::optional<SplitOption> parseSplit(std::string_view text) {
  SplitOption option;
  std::string_view unit;
  if (!splitNumber(text, option.count, unit)) return std::nullopt;
  const std::string u = lower(unit);
  if (u == "min") return option;
  if (u == "rec") {
    option.byRecords = true;
    return option;
  }
  return std::nullopt;
}

std::optional<DecimationOption> parseDecimation(std::string_view text) {
  DecimationOption option;
  std::string_view mode;
  if (const auto colon = text.find(':'); colon != std::string_view::npos) {
    mode = text.substr(colon + 1);
    text = text.substr(0, colon);
    const std::string m = lower(mode);
    if (m == "avg")
      option.average = true;
    else if (m == "max")
      option.maximum = true;
    else
      return std::nullopt;
  }
  std::string_view unit;
  if (!splitNumber(text, option.count, unit)) return std::nullopt;
  const std::string u = lower(unit);
  if (u == "rec")
    option.byRecords = true;
  else if (u != "sec")
    return std::nullopt;
  return option;
}

std::optional<int> parseSeparator(std::string_view text) {
  const std::string t = lower(text);
  if (t == "semicolon") return 0;
  if (t == "tab") return 1;
  if (t == "space") return 2;
  return std::nullopt;
}

std::optional<StatisticsForm> parseStatistics(std::string_view text) {
  StatisticsForm form;
  form.thresholdText = "75";
  std::size_t percentiles = 0;
  while (!text.empty()) {
    const auto comma = text.find(',');
    const std::string_view word = text.substr(0, comma);
    text = comma == std::string_view::npos ? std::string_view{} : text.substr(comma + 1);
    const std::string w = lower(word);
    if (w == "min") {
      form.minimum = true;
    } else if (w == "max") {
      form.maximum = true;
    } else if (w == "leq") {
      form.leq = true;
    } else if (w == "le") {
      form.le = true;
    } else if (!w.empty() && w[0] == 'n') {
      form.exceedance = true;
      form.thresholdText = std::string(word.substr(1));
    } else if (!w.empty() && w[0] == 'l') {
      if (percentiles == form.percentileTexts.size()) return std::nullopt;
      form.percentileTexts[percentiles++] = std::string(word.substr(1));
    } else if (!w.empty()) {
      return std::nullopt;
    }
  }
  return form;
}

std::optional<OptionFault> parseExportOptionTexts(const ExportOptionTexts& t, ExportRequest& r) {
  if (t.split && !(r.split = parseSplit(*t.split))) return OptionFault{"split", "Nmin or Nrec"};
  if (t.decimate && !(r.decimation = parseDecimation(*t.decimate)))
    return OptionFault{"decimate", "Nsec or Nrec, optionally with :avg or :max"};
  if (t.separator && !(r.separator = parseSeparator(*t.separator)))
    return OptionFault{"separator", "semicolon, tab or space"};
  if (t.stats && !(r.statistics = parseStatistics(*t.stats)))
    return OptionFault{"stats", "min, max, leq, le, nT and up to six Lp, separated by commas"};
  if (t.encoding && !(r.encoding = parseTextEncoding(*t.encoding))) return OptionFault{"encoding", "cp1251 or utf-8"};
  return std::nullopt;
}

}  // namespace sonvera
