#include "app/assessment_dialog.h"

#include "app/main_dialog.h"
#include "app/failure_reasons.h"
#include "base/path_text.h"
#include "base/printf_text.h"
#include "export/result_format.h"
#include "export/result_writer.h"

namespace sonvera {
namespace {

// The text files' names after the chosen base, in the order of the tables.
constexpr const char* kTextSuffixes[] = {"_интервалы", "_сутки", "_события"};

}  // namespace

AssessmentDialog::AssessmentDialog(MainDialog& dialog, ExportJob job)
    : dialog_(dialog), job_(std::move(job)), form_(assessmentFormFor(dialog.statistics())) {}

std::optional<AssessmentSettings> AssessmentDialog::checkedSettings() {
  const AssessmentFormResult read = readAssessmentForm(form_, dialog_.statistics(), dialog_.summary().stepSeconds);
  if (!read.settings) dialog_.host().showMessage(text(read.error));
  return read.settings;
}

AssessmentResult AssessmentDialog::run(const AssessmentSettings& settings, const std::atomic<bool>& stop,
                                       const ExportProgress& progress) const {
  return assessNoise(job_, settings, stop, progress);
}

bool AssessmentDialog::takeResult(AssessmentResult result) {
  switch (result.failure) {
    case AssessmentFailure::None: break;
    case AssessmentFailure::NoColumn: dialog_.host().showMessage(text(StringId::EmptyExportList)); return false;
    case AssessmentFailure::NotALevel:
      dialog_.host().showMessage(printfText(text(StringId::NotALevelColumn), result.column.c_str()));
      return false;
    case AssessmentFailure::TooManyIntervals:
      dialog_.host().showMessage(printfText(text(StringId::TooManyTableRows), unsigned(kMostTableRows)));
      return false;
  }
  if (result.stopped) return false;
  result_ = std::move(result);
  shown_ = true;
  parameters_.rebuild(result_, AssessmentSource{dialog_.file().path, dialog_.state().model});
  return true;
}

std::string AssessmentDialog::summary() const {
  if (!shown_) return {};
  const AssessmentResult& r = result_;
  std::string line = r.column + ": " + std::to_string(r.used) + " записей";
  if (r.notUsed() > 0) line += ", не учтено " + std::to_string(r.notUsed());
  if (r.excluded > 0) line += " (исключено: " + exclusionText(r.settings) + " " + std::to_string(r.excluded) + ")";
  line += ", шаг " + cellText(TableCell::of(r.stepSeconds, durationDecimals(r.stepSeconds))) + " с";
  line += ", событий " + std::to_string(r.eventCount);
  line += ", выше порога " + cellText(TableCell::of(r.secondsAbove, durationDecimals(r.stepSeconds))) + " с";
  return line;
}

std::string AssessmentDialog::cellText(const TableCell& cell) const {
  return sonvera::cellText(cell, dialog_.state().decimalSeparator == 1);
}

std::string AssessmentDialog::selectionText(const CellTable& table, const GridSelection& selection) const {
  return sonvera::selectionText(selection, [&](std::int32_t column, std::int32_t row) {
    return cellText(table.cell(static_cast<std::size_t>(row), static_cast<std::size_t>(column)));
  });
}

std::string AssessmentDialog::tableText(const CellTable& table) const {
  if (table.columnCount() == 0) return {};
  // The first column heads the rows, as the viewer's tables are copied.
  TableHeaders headers;
  headers.corner = table.header(0);
  for (std::size_t c = 1; c < table.columnCount(); ++c) headers.columns.push_back(table.header(c));
  for (std::size_t r = 0; r < table.rowCount(); ++r) headers.rows.push_back(cellText(table.cell(r, 0)));
  return sonvera::tableText(static_cast<std::int32_t>(table.columnCount() - 1), static_cast<std::int32_t>(table.rowCount()),
                            headers, [&](std::int32_t column, std::int32_t row) {
                              return cellText(table.cell(static_cast<std::size_t>(row), static_cast<std::size_t>(column) + 1));
                            });
}

std::vector<std::string> AssessmentDialog::resultPaths(const std::string& path) {
  const auto dot = extensionDot(path);
  const std::string extension = dot == std::string::npos ? std::string{} : path.substr(dot);
  if (isWorkbookExtension(extension)) return {path};
  const std::string base = dot == std::string::npos ? path : path.substr(0, dot);
  std::vector<std::string> paths;
  for (const char* suffix : kTextSuffixes) paths.push_back(base + suffix + (extension.empty() ? ".csv" : extension));
  return paths;
}

bool AssessmentDialog::saveCommand() {
  if (!shown_) return false;
  const auto path = dialog_.chooseResultPath();
  return path && save(*path);
}

bool AssessmentDialog::save(const std::string& path) {
  if (!shown_) return false;
  MainDialogHost& host = dialog_.host();
  const std::vector<std::string> paths = resultPaths(path);
  if (!dialog_.mayWrite(paths)) return false;
  const CellTable* tables[] = {&intervals_, &days_, &events_, &parameters_};
  if (paths.size() == 1) {
    const CellWorkbookWriter write = host.cellWorkbooks();
    if (!write) {
      host.showMessage(text(StringId::NoWorkbooks));
      return false;
    }
    if (!write(path, tables)) {
      host.showDetailedMessage(printfText(text(StringId::WriteFailedNamed), path.c_str()),
                               path + ": " + writeFailureReason(path));
      return false;
    }
    return true;
  }
  const MainDialogState& s = dialog_.state();
  const char separator = valueSeparator(s.valueSeparator);
  const TextEncoding encoding = resultEncoding(host.profile());
  for (std::size_t i = 0; i < paths.size(); ++i) {
    ResultWriter out;
    if (!out.create(paths[i], encoding)) {
      host.showDetailedMessage(printfText(text(StringId::CannotOpenFileNamed), paths[i].c_str()),
                               paths[i] + ": " + writeFailureReason(paths[i]));
      return false;
    }
    writeCellTable(out, *tables[i], separator, s.decimalSeparator == 1);
    if (!out.close()) {
      host.showMessage(printfText(text(StringId::WriteFailedNamed), paths[i].c_str()));
      return false;
    }
  }
  return true;
}

}  // namespace sonvera
