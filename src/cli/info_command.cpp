#include "info_command.h"

#include <CLI/CLI.hpp>
#include <nlohmann/json.hpp>
#include <type_traits>
#include <variant>
#include <ostream>

#include "app/summary_fields.h"
#include "app/main_dialog.h"
#include "cli_host.h"
#include "json_fields.h"
#include "measurement/channel_names.h"

namespace sonvera::cli {

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
    const nlohmann::ordered_json j = jsonOf(summaryFields(dialog, options.filePath));
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
