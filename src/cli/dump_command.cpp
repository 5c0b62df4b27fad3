#include "dump_command.h"

#include <CLI/CLI.hpp>
#include <nlohmann/json.hpp>
#include <ostream>

#include "app/failure_reasons.h"
#include "app/file_summary.h"
#include "app/strings.h"
#include "cli_host.h"
#include "catalogue/catalogue_loader.h"
#include "measurement/channel_names.h"
#include "measurement/measurement_file.h"
#include "measurement/record_decoder.h"

namespace sonvera::cli {
namespace {

using json = nlohmann::ordered_json;

json number(double v) {
  if (v == NoValue) return nullptr;
  if (v == DashValue) return "---";
  return v;
}

template <typename Table>
json table(const Table& rows) {
  json out = json::array();
  for (std::size_t p = 0; p < rows.size(); ++p) {
    json r = json::array();
    for (const auto v : rows[p]) {
      if constexpr (std::is_same_v<std::decay_t<decltype(v)>, double>)
        r.push_back(number(v));
      else
        r.push_back(v);
    }
    out.push_back(r);
  }
  return out;
}

std::string hex(std::uint32_t v) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%08X", v);
  return text;
}

json recordValuesJson(const DeviceCatalogue& catalogue, const RecordValues& v) {
  json j;
  j["typeCode"] = v.typeCode;
  j["modelCode"] = v.modelCode;
  j["modelName"] = modelName(catalogue, v.modelCode);
  j["time"] = recordTime(v).format("%Y-%m-%d %H:%M:%S");
  j["date"] = v.date;
  j["timeField"] = v.time;
  j["label"] = v.label;
  j["vin"] = v.vin;
  j["altSerial"] = v.altSerial;
  j["charTable"] = v.charTable;
  j["duration"] = v.duration;
  j["modeWord"] = v.modeWord;
  j["markerFlag"] = v.markerFlag;
  j["channelKinds"] = v.channelKinds;
  j["unitIndexes"] = v.unitIndexes;
  j["bandFrequencies"] = v.bandFrequencies;
  j["bandCountOverride"] = v.bandCountOverride;
  j["nextSequence"] = v.nextSequence;
  j["lostRecords"] = v.lostRecords;
  j["decodedCount"] = v.decodedCount;
  j["percentage"] = v.percentage;
  j["aux0006"] = v.aux0006;
  j["aux0028"] = v.aux0028;
  j["aux200E"] = v.aux200E;
  j["aux2022"] = v.aux2022;
  j["aux2030"] = v.aux2030;
  j["aux2036"] = v.aux2036;
  j["aux4010"] = v.aux4010;
  j["aux4012"] = v.aux4012;
  j["aux701D"] = v.aux701D;
  j["aux703C"] = v.aux703C;
  j["aux800F"] = v.aux800F;
  j["aux8031"] = v.aux8031;
  j["auxB034"] = v.auxB034;
  j["auxB039"] = v.auxB039;
  j["auxC03D"] = v.auxC03D;
  j["floatLists"] = v.floatLists;
  j["rawWords"] = v.rawWords;
  json names = json::object();
  for (const auto& [index, name] : v.channelNames) names[std::to_string(index)] = name;
  j["channelNames"] = names;
  json bands = json::array();
  for (const auto& group : v.bandNames) {
    json g = json::object();
    for (const auto& [index, name] : group) g[std::to_string(index)] = name;
    bands.push_back(g);
  }
  j["bandNames"] = bands;
  return j;
}

json channelJson(const DeviceCatalogue& catalogue, const MeasurementFile& file, std::size_t c) {
  const ChannelValues& ch = file.channels[c];
  json j;
  j["channel"] = c;
  j["name"] = channelName(catalogue, file.values, static_cast<std::int32_t>(c));
  j["unit"] = channelUnit(catalogue, file.values, file.channels, static_cast<std::int32_t>(c));
  j["overloadFlag"] = ch.overloadFlag;
  j["underloadFlag"] = ch.underloadFlag;
  j["correction"] = ch.correction;
  j["sensitivity"] = ch.sensitivity;
  j["reference"] = ch.reference;
  j["extraReferences"] = ch.extraReferences;
  j["sensorName"] = ch.sensorName;
  j["unitText"] = ch.unitText;
  j["channelTexts"] = ch.channelTexts;
  json groups = json::array();
  for (std::size_t g = 0; g < 3; ++g) groups.push_back({{"values", table(ch.values[g])}, {"formats", table(ch.formats[g])}});
  j["groups"] = groups;
  json other = json::object();
  for (const auto& [code, value] : ch.otherValues) other[hex(code)] = number(value);
  j["otherValues"] = other;
  json texts = json::object();
  for (const auto& [code, text] : ch.texts) texts[hex(code)] = text;
  j["texts"] = texts;
  json blocks = json::array();
  for (std::size_t b = 0; b < ch.statistics.size(); ++b) {
    json entries = json::array();
    for (std::size_t e = 0; e < ch.statistics[b].entries.size(); ++e) {
      const auto& entry = ch.statistics[b].entries[e];
      const std::uint32_t format = b < ch.percentileFormats.size() && e < ch.percentileFormats[b].size()
                                       ? ch.percentileFormats[b][e]
                                       : 0;
      entries.push_back({{"name", entry.name}, {"value", entry.value}, {"format", format}});
    }
    json histogram = json::object();
    for (std::size_t s = 0; s < ch.statistics[b].histogram.size(); ++s)
      if (ch.statistics[b].histogram[s] != kEmptyHistogramSlot)
        histogram[std::to_string(s)] = ch.statistics[b].histogram[s];
    blocks.push_back({{"percentiles", entries}, {"histogram", histogram}});
  }
  j["statistics"] = blocks;
  return j;
}

bool isScalarArray(const json& j) {
  if (!j.is_array()) return false;
  for (const auto& e : j)
    if (e.is_structured()) return false;
  return true;
}

// Plain text: one "path: value" line per scalar, arrays of scalars on one line.
void printText(const json& j, const std::string& path, std::ostream& out) {
  if (isScalarArray(j)) {
    out << path << ":";
    for (const auto& e : j) out << " " << (e.is_string() ? e.get<std::string>() : e.dump());
    out << "\n";
  } else if (j.is_array()) {
    for (std::size_t i = 0; i < j.size(); ++i) printText(j[i], path + "[" + std::to_string(i) + "]", out);
  } else if (j.is_object()) {
    for (const auto& [key, value] : j.items()) printText(value, path.empty() ? key : path + "." + key, out);
  } else {
    out << path << ": " << (j.is_string() ? j.get<std::string>() : j.dump()) << "\n";
  }
}

}  // namespace

CLI::App* addDumpCommand(CLI::App& app, RecordDumpOptions& options) {
  auto* command = app.add_subcommand("dump", "print the decoded values of one record of a measurement file");
  command->add_option("FILE", options.filePath, "measurement file")->required();
  command->add_option("--record", options.record, "record number, counted from 1 (default: the last)")
      ->check(CLI::PositiveNumber);
  command->add_flag("--json", options.json, "print JSON");
  return command;
}

int dumpRecord(const RecordDumpOptions& options, std::ostream& out, std::ostream& err) {
  DeviceCatalogue catalogue;
  if (!loadCliCatalogue(options.cataloguePath, catalogue, err)) return 1;
  MeasurementFile file;
  const OpenResult result = openMeasurementFile(catalogue, options.filePath, file);
  if (result != OpenResult::Opened) {
    err << openFailureText(result) << "\n"
        << options.filePath << ": " << measurementFailureReason(catalogue, options.filePath, result) << "\n";
    return 1;
  }
  const std::uint32_t number = options.record == 0 ? file.recordCount : options.record;
  if (number > file.recordCount) {
    err << "record " << number << " is past the last record, " << file.recordCount << "\n";
    return 1;
  }
  std::vector<std::uint8_t> buffer(file.description.recordSize);
  readRecord(file, number - 1, buffer);
  decodeIfSameType(buffer, file.channels, file.values, file.description);

  json j;
  j["file"] = options.filePath;
  j["record"] = number;
  j["recordCount"] = file.recordCount;
  j["firstTime"] = file.firstTime.format("%Y-%m-%d %H:%M:%S");
  j["lastTime"] = file.lastTime.format("%Y-%m-%d %H:%M:%S");
  j["values"] = recordValuesJson(catalogue, file.values);
  json channels = json::array();
  const std::size_t count = std::min<std::size_t>(static_cast<std::size_t>(std::max(file.description.channelCount, 0)), kChannelSlots);
  for (std::size_t c = 0; c < count; ++c) channels.push_back(channelJson(catalogue, file, c));
  j["channels"] = channels;
  if (options.json)
    out << j.dump(2, ' ', false, json::error_handler_t::replace) << "\n";
  else
    printText(j, "", out);
  return 0;
}

}  // namespace sonvera::cli
