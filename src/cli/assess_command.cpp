#include "assess_command.h"

#include <CLI/CLI.hpp>
#include <ostream>
#include <sstream>

#include "app/assessment_dialog.h"
#include "app/main_dialog.h"
#include "app/scripted_assessment.h"
#include "app/typed_time.h"
#include "assess_output.h"
#include "cli_host.h"

namespace sonvera::cli {
namespace {

int usage(std::ostream& err, const std::string& message) {
  err << message << "\n";
  return 2;
}

}  // namespace

CLI::App* addAssessCommand(CLI::App& app, AssessOptions& o) {
  auto* c = app.add_subcommand("assess", "noise assessment of a level column: interval levels, Lden and Ldn, events");
  c->add_option("FILE", o.filePath, "measurement file")->required();
  c->add_option("-s,--settings", o.request.settingsFiles, "settings file (*.cfg) loaded before the options; repeatable");
  c->add_option("--entry", o.request.entry, "the export-list entry whose first column is assessed, from 1 (default 1)")
      ->check(CLI::PositiveNumber);
  addRangeOptions(*c, o.request.range);
  c->add_option("--interval", o.request.interval, "interval length in minutes: 1, 5, 10, 15, 30, 60 (default) or 1440")
      ->check(CLI::IsMember({1u, 5u, 10u, 15u, 30u, 60u, 1440u}));
  c->add_option("--periods", o.request.periods, "hours that start day, evening and night (default 7,19,23)");
  c->add_option("--penalties", o.request.penalties, "penalties of day, evening and night in dB (default 0,5,10)");
  c->add_option("--threshold", o.request.threshold, "event threshold in dB (default: the statistics threshold, 75)");
  c->add_option("--gap", o.request.gap, "loud runs closer than this many seconds are one event (default 5)");
  c->add_option("--min-duration", o.request.minimumDuration, "events shorter than this many seconds are dropped (default 0)");
  c->add_option("--exclude", o.request.exclude, "records left out: overload (default), underload, overload,underload or none");
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
  if (!dialog.openFile(o.filePath)) return 1;

  std::optional<AssessmentDialog> made;
  const InterruptGuard guard;
  const AssessmentRun run =
      runScriptedAssessment(dialog, o.request, made, interrupted, [&](int percent) { host.postProgress(percent); });
  if (run.wrongParameter) return usage(err, "--" + *run.wrongParameter);
  if (run.stopped) {
    err << "Остановлено: оценка не закончена, ничего не записано\n";
    return 130;
  }
  if (!run.done) {
    if (!run.timesTaken) host.note(acceptedTimeForms(dialog.file()));
    return 1;
  }
  AssessmentDialog& assessment = *made;

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
