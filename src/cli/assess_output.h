#pragma once
// What `sonvera-cli assess` prints: the tables aligned for reading, or one
// JSON object with every number at full precision and null where a figure is
// empty.

#include <iosfwd>

#include "assessment/noise_assessment.h"
#include "export/cell_table.h"

namespace sonvera::cli {

// A title line, then the header and the rows, columns padded to their widest cell.
void printTable(std::ostream& out, const CellTable& table);

void printJson(std::ostream& out, const AssessmentResult& result);

}  // namespace sonvera::cli
