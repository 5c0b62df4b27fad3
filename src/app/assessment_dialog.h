#pragma once
// The behaviour of the assessment window without a window system: its
// parameter fields, the check of "Рассчитать", the result as tables and a
// chart, what a copy gives, and "Сохранить…" into text files or a workbook.
// The command line drives the same object.

#include <atomic>
#include <optional>
#include <string>
#include <vector>

#include "app/assessment_chart.h"
#include "app/assessment_form.h"
#include "app/grid_selection.h"
#include "assessment/assessment_tables.h"
#include "assessment/noise_assessment.h"

namespace sonvera {

class MainDialog;

class AssessmentDialog {
 public:
  // The job of MainDialog::assessmentJob; the form opens on the statistics' threshold.
  AssessmentDialog(MainDialog& dialog, ExportJob job);

  AssessmentForm& form() { return form_; }
  const ExportJob& job() const { return job_; }

  // "Рассчитать": the settings of the fields, or nothing after the message.
  std::optional<AssessmentSettings> checkedSettings();
  // The worker's part; reads only the job, so it may run on any thread.
  AssessmentResult run(const AssessmentSettings& settings, const std::atomic<bool>& stop,
                       const ExportProgress& progress) const;
  // The worker's result on the dialog's thread. A failed one shows its
  // message and a stopped one is dropped; both keep the result shown before.
  // True when it is shown.
  bool takeResult(AssessmentResult result);

  bool hasResult() const { return shown_; }
  const AssessmentResult& result() const { return result_; }
  const CellTable& intervals() const { return intervals_; }
  const CellTable& days() const { return days_; }
  const CellTable& events() const { return events_; }
  const CellTable& parameters() const { return parameters_; }
  AssessmentChart chart() const { return assessmentChart(result_); }
  // A line about the result: the column, the records used and left out, the events.
  std::string summary() const;

  // A cell as the grids show and copy it (the export's decimal sign).
  std::string cellText(const TableCell& cell) const;
  // The selected cells of a table, tab-separated, as the viewer copies; the
  // whole table with its headers.
  std::string selectionText(const CellTable& table, const GridSelection& selection) const;
  std::string tableText(const CellTable& table) const;

  // "Сохранить…": asks for the file and writes. True when written.
  bool saveCommand();
  // Writes the result to `path`: a workbook for ".xlsx", else three text
  // files NAME_интервалы, NAME_сутки, NAME_события with the path's extension
  // (".csv" without one). Nothing is written when any of them is a file in
  // use; false after the message.
  bool save(const std::string& path);
  // The files save(path) writes, in order.
  static std::vector<std::string> resultPaths(const std::string& path);

 private:
  MainDialog& dialog_;
  ExportJob job_;
  AssessmentForm form_;
  AssessmentResult result_;
  bool shown_ = false;
  IntervalTableView intervals_{result_};
  DayTableView days_{result_};
  EventTableView events_{result_};
  ParameterTableView parameters_{result_, {}};
};

}  // namespace sonvera
