#include "assess_command.h"

#include <CLI/CLI.hpp>
#include <ostream>
#include <sstream>

#include "app/assessment_dialog.h"
#include "app/main_dialog.h"
#include "app/scripted_export.h"
#include "app/typed_time.h"
#include "assess_output.h"
#include "cli_host.h"

namespace sonvera::cli {
namespace {

int usage(std::ostream& err, const std::string& message) {
  err << message << "\n";
  return 2;
}

// "7,19,23" as three texts, each as typed.
std::optional<std::array<std::string, 3>> threeParts(const std::string& text) {
  std::array<std::string, 3> parts;
  std::istringstream in(text);
  std::size_t n = 0;
  for (std::string part; std::getline(in, part, ',');) {
    if (n == 3) return std::nullopt;
    parts[n++] = part;
  }
  if (n != 3 || text.back() == ',') return std::nullopt;
  return parts;
}

std::optional<ExclusionChoice> exclusionOf(const std::string& text) {
  if (text == "overload") return ExclusionChoice::Overload;
  if (text == "underload") return ExclusionChoice::Underload;
  if (text == "overload,underload" || text == "underload,overload") return ExclusionChoice::Both;
  if (text == "none") return ExclusionChoice::None;
  return std::nullopt;
}

// The options into the assessment's fields; the fields are checked by the dialog.
std::optional<std::string> fillForm(const AssessOptions& o, AssessmentForm& form) {
  if (o.interval) form.interval = *intervalChoice(*o.interval);  // CLI11 allows only the lengths offered
  if (o.periods) {
    const auto parts = threeParts(*o.periods);
    if (!parts) return "--periods takes three hours: DAY,EVENING,NIGHT, e.g. 7,19,23";
    form.periodStarts = *parts;
  }
  if (o.penalties) {
    const auto parts = threeParts(*o.penalties);
    if (!parts) return "--penalties takes three levels in dB: DAY,EVENING,NIGHT, e.g. 0,5,10";
    form.penalties = *parts;
  }
  if (o.threshold) form.threshold = *o.threshold;
  if (o.gap) form.gap = *o.gap;
  if (o.minimumDuration) form.minimumDuration = *o.minimumDuration;
  if (o.exclude) {
    const auto choice = exclusionOf(*o.exclude);
    if (!choice) return "--exclude takes overload, underload, overload,underload or none";
    form.exclusion = *choice;
  }
  return std::nullopt;
}

}  // namespace

CLI::App* addAssessCommand(CLI::App& app, AssessOptions& o) {
  auto* c = app.add_subcommand("assess", "noise assessment of a level column: interval levels, Lden and Ldn, events");
  c->add_option("FILE", o.filePath, "measurement file")->required();
  c->add_option("-s,--settings", o.settingsFiles, "settings file (*.cfg) loaded before the options; repeatable");
  c->add_option("--entry", o.entry, "the export-list entry whose first column is assessed, from 1 (default 1)")
      ->check(CLI::PositiveNumber);
  addRangeOptions(*c, o.range);
  c->add_option("--interval", o.interval, "interval length in minutes: 1, 5, 10, 15, 30, 60 (default) or 1440")
      ->check(CLI::IsMember({1u, 5u, 10u, 15u, 30u, 60u, 1440u}));
  c->add_option("--periods", o.periods, "hours that start day, evening and night (default 7,19,23)");
  c->add_option("--penalties", o.penalties, "penalties of day, evening and night in dB (default 0,5,10)");
  c->add_option("--threshold", o.threshold, "event threshold in dB (default: the statistics threshold, 75)");
  c->add_option("--gap", o.gap, "loud runs closer than this many seconds are one event (default 5)");
  c->add_option("--min-duration", o.minimumDuration, "events shorter than this many seconds are dropped (default 0)");
  c->add_option("--exclude", o.exclude, "records left out: overload (default), underload, overload,underload or none");
  c->add_flag("--json", o.json, "print the result as one JSON object");
  c->add_option("-o,--output", o.resultPath,
                "RESULT.csv: RESULT_интервалы.csv, RESULT_сутки.csv, RESULT_события.csv; RESULT.xlsx: one workbook");
  return c;
}

int runAssessCommand(const AssessOptions& o, std::ostream& out, std::ostream& err) {
  DeviceCatalogue catalogue;
  if (!loadCliCatalogue(o.cataloguePath, catalogue, err)) return 1;
  CliHost host(err);
  host.showProgress = o.progress;
  MainDialog dialog(catalogue, host);
  if (!dialog.openFile(o.filePath) || !loadSettingsFiles(dialog, o.settingsFiles)) return 1;
  const bool timesTaken = applyRangeRequest(dialog, o.range);

  const std::size_t entries = dialog.state().exportListLines.size();
  if (o.entry && *o.entry > entries)
    return usage(err, "--entry " + std::to_string(*o.entry) + ": the export list has " + std::to_string(entries) +
                          (entries == 1 ? " entry" : " entries"));
  const auto job = dialog.assessmentJob(o.entry ? std::optional<std::size_t>(*o.entry - 1) : std::nullopt);
  if (!job) {
    if (!timesTaken) host.note(acceptedTimeForms(dialog.file()));
    return 1;
  }
  AssessmentDialog assessment(dialog, *job);
  if (const auto wrong = fillForm(o, assessment.form())) return usage(err, *wrong);
  const auto settings = assessment.checkedSettings();
  if (!settings) return 1;

  const InterruptGuard guard;
  AssessmentResult result = assessment.run(*settings, interrupted, [&](int percent) { host.postProgress(percent); });
  if (result.stopped) {
    err << "Остановлено: оценка не закончена, ничего не записано\n";
    return 130;
  }
  if (!assessment.takeResult(std::move(result))) return 1;

  if (!o.resultPath.empty()) {
    if (!assessment.save(o.resultPath)) return 1;
  }
  if (o.json) {
    printJson(out, assessment.result());
  } else if (o.resultPath.empty()) {
    out << assessment.summary() << "\n\n";
    printTable(out, assessment.intervals());
    out << "\n";
    printTable(out, assessment.days());
    out << "\n";
    printTable(out, assessment.events());
  } else {
    const AssessmentResult& r = assessment.result();
    std::string files;
    for (const std::string& path : AssessmentDialog::resultPaths(o.resultPath)) files += (files.empty() ? "" : ", ") + path;
    const auto count = [](std::size_t n, const char* word) {
      return std::to_string(n) + " " + word + (n == 1 ? "" : "s");
    };
    out << files << ": " << count(r.intervals.size(), "interval") << ", " << count(r.days.size(), "day") << ", "
        << count(r.events.size(), "event") << "\n";
  }
  return 0;
}

}  // namespace sonvera::cli
