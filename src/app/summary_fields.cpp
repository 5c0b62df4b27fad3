#include "app/summary_fields.h"

#include <algorithm>
#include <optional>

#include "measurement/channel_names.h"

namespace sonvera {
namespace {

template <typename T>
SummaryValue orNothing(const std::optional<T>& value) {
  if (!value) return nullptr;
  return SummaryValue(*value);
}

// Each channel: name, unit, and for overload and underload the share of all
// records and the first flagged record (from 1); nothing where the records
// carry no such flag (and no first record where none is flagged).
std::vector<SummaryFields> channelFields(const DeviceCatalogue& catalogue, const MeasurementFile& file,
                                         const FileSummary& summary) {
  std::vector<SummaryFields> channels;
  for (std::int32_t c = 0; c < file.description.channelCount; ++c) {
    SummaryFields channel = {{"name", channelName(catalogue, file.values, c)},
                             {"unit", channelUnit(catalogue, file.values, file.channels, c)}};
    for (const bool underload : {false, true}) {
      const std::string kind = underload ? "underload" : "overload";
      const auto load = std::find_if(summary.loads.begin(), summary.loads.end(), [&](const LoadFigures& l) {
        return l.channel == c && l.underload == underload;
      });
      const bool known = load != summary.loads.end();
      channel.push_back({kind + "Percent", known ? SummaryValue(load->percent) : nullptr});
      channel.push_back(
          {kind + "FirstRecord", known && load->count > 0 ? SummaryValue(std::int64_t{load->firstRecord}) : nullptr});
    }
    channels.push_back(std::move(channel));
  }
  return channels;
}

}  // namespace

SummaryFields summaryFields(const MainDialog& dialog, const std::string& path) {
  const MainDialogState& s = dialog.state();
  const MeasurementFile& file = dialog.file();
  const FileSummary& summary = dialog.summary();
  return {
      {"path", path},
      {"typeCode", std::int64_t{file.values.typeCode}},
      {"modelCode", std::int64_t{file.values.modelCode}},
      {"recordCount", std::int64_t{file.recordCount}},
      {"channelCount", std::int64_t{file.description.channelCount}},
      {"model", s.model},
      {"vin", s.vin},
      {"span", s.span},
      {"records", s.records},
      {"step", orNothing(summary.step)},
      {"over", s.over},
      {"under", s.under},
      {"overloadSummary", s.overloadSummary},
      {"overloadDetails", s.overloadDetails},
      {"underloadSummary", s.underloadSummary},
      {"underloadDetails", s.underloadDetails},
      {"calibration", s.calibrationLines},
      // Typed values beside the texts.
      {"vinNumber", std::int64_t{file.values.vin}},
      {"stepSeconds", orNothing(summary.stepSeconds)},
      {"firstTime", file.firstTime},
      {"lastTime", file.lastTime},
      {"channels", channelFields(dialog.catalogue(), file, summary)},
  };
}

}  // namespace sonvera
