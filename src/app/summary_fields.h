#pragma once
// The summary of an open file for scripts, as named fields in the order
// `sonvera-cli info --json` gives them: the texts the window shows and, beside
// them, the same as numbers and times, with each channel's name, unit,
// overload and underload. The command line writes them as JSON, the Python
// module as a dict, so both give the same keys and figures.

#include <cstdint>
#include <string>
#include <variant>
#include <vector>

#include "app/main_dialog.h"

namespace sonvera {

struct SummaryField;
using SummaryFields = std::vector<SummaryField>;
// Fields within a field (an object within the object).
struct SummaryObject {
  SummaryFields fields;
};

// nullptr where there is nothing to give (no step written, no time, no flag).
// An invalid time stands for nothing too.
struct SummaryValue : std::variant<std::nullptr_t, bool, std::int64_t, double, std::string, std::vector<std::string>,
                                   RecordTime, std::vector<SummaryFields>, SummaryObject> {
  using variant::variant;
};

struct SummaryField {
  std::string name;
  SummaryValue value;
};

// The fields of the dialog's open file; `path` as the caller named the file.
SummaryFields summaryFields(const MainDialog& dialog, const std::string& path);

}  // namespace sonvera
