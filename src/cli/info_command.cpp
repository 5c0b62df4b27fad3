#include "info_command.h"

#include <CLI/CLI.hpp>
#include <nlohmann/json.hpp>
#include <ostream>

#include "app/channel_summary.h"
#include "app/main_dialog.h"
#include "cli_host.h"
#include "measurement/channel_names.h"

namespace sonvera::cli {
namespace {

// "2026-05-14T01:00:00"; null for a record without a valid time.
nlohmann::ordered_json isoTime(const RecordTime& t) {
  if (!t.valid()) return nullptr;
  return t.format("%Y-%m-%dT%H:%M:%S");
}

}  // namespace

CLI::App* addInfoCommand(CLI::App& app, InfoOptions& options) {
  auto* command = app.add_subcommand("info", "summary of a measurement file, as the window shows it");
  command->add_option("FILE", options.filePath, "measurement file (*.bin, *.dcr, *.msr)")->required();
  command->add_flag("--json", options.json, "one JSON object instead of text");
  return command;
}

int showInfo(const InfoOptions& options, std::ostream& out, std::ostream& err) {
  DeviceCatalogue catalogue;
  if (!loadCliCatalogue(options.cataloguePath, catalogue, err)) return 1;
  CliHost host(err);
  MainDialog dialog(catalogue, host);
  if (!dialog.openFile(options.filePath)) return 1;

  const MainDialogState& s = dialog.state();
  const MeasurementFile& file = dialog.file();
  const std::int32_t channelCount = file.description.channelCount;
  if (options.json) {
    nlohmann::ordered_json j;
    j["path"] = options.filePath;
    j["typeCode"] = file.values.typeCode;
    j["modelCode"] = file.values.modelCode;
    j["recordCount"] = file.recordCount;
    j["channelCount"] = channelCount;
    j["model"] = s.model;
    j["vin"] = s.vin;
    j["span"] = s.span;
    j["records"] = s.records;
    j["step"] = dialog.summary().step ? nlohmann::ordered_json(*dialog.summary().step) : nullptr;
    j["over"] = s.over;
    j["under"] = s.under;
    j["overloadSummary"] = s.overloadSummary;
    j["overloadDetails"] = s.overloadDetails;
    j["underloadSummary"] = s.underloadSummary;
    j["underloadDetails"] = s.underloadDetails;
    j["calibration"] = s.calibrationLines;
    // Typed values beside the texts, for scripts.
    const FileSummary& summary = dialog.summary();
    j["vinNumber"] = file.values.vin;
    j["stepSeconds"] = summary.stepSeconds ? nlohmann::ordered_json(*summary.stepSeconds) : nullptr;
    j["firstTime"] = isoTime(file.firstTime);
    j["lastTime"] = isoTime(file.lastTime);
    j["channels"] = nlohmann::ordered_json::array();
    for (const ChannelSummary& c : channelSummaries(catalogue, file, summary)) {
      nlohmann::ordered_json channel = {{"name", c.name}, {"unit", c.unit}};
      // null: the records carry no such flag for the channel, or none is flagged.
      const auto load = [&](const char* kind, const std::optional<ChannelLoadShare>& share) {
        channel[std::string(kind) + "Percent"] = share ? nlohmann::ordered_json(share->percent) : nullptr;
        channel[std::string(kind) + "FirstRecord"] =
            share && share->firstRecord ? nlohmann::ordered_json(*share->firstRecord) : nullptr;
      };
      load("overload", c.overload);
      load("underload", c.underload);
      j["channels"].push_back(std::move(channel));
    }
    out << j.dump(2) << "\n";
    return 0;
  }

  out << options.filePath << "\n";
  out << "  Прибор:     " << s.model << "   " << s.vin << "\n";
  out << "  Записи:     " << s.records << (s.step.empty() ? "" : ", " + s.step) << "\n";
  out << "  Время:      " << s.span << "\n";
  out << "  Перегрузка: " << (s.overloadDetails.empty() ? "нет" : s.overloadDetails) << "\n";
  out << "  Недогрузка: " << (s.underloadDetails.empty() ? "нет" : s.underloadDetails) << "\n";
  out << "  Флаги:      over " << (s.over ? "да" : "нет") << ", under " << (s.under ? "да" : "нет");
  out << "\n  Каналы:\n";
  for (std::int32_t c = 0; c < channelCount; ++c)
    out << "    " << c + 1 << ". " << channelName(catalogue, file.values, c) << " ("
        << channelUnit(catalogue, file.values, file.channels, c) << ")\n";
  out << "  Калибровочные поправки:\n";
  for (const auto& line : s.calibrationLines) out << "    " << line << "\n";
  return 0;
}

}  // namespace sonvera::cli
