#pragma once
// Results as .xlsx workbooks, written by libxlsxwriter in its constant-memory
// mode (rows go to disk as they are finished, so memory stays flat however
// long the export): the columns and header texts of the text result, every
// value a number cell showing the decimals the text shows, date and time as
// date-time cells, the header row frozen, a part that outgrows a sheet going
// on in a new sheet, and the information as a sheet "Информация".

#include <cstdint>
#include <memory>

#include "export/result_table.h"

namespace sonvera {

// `rowsPerSheet` counts the header row; a sheet holds 1 048 576 rows at most.
std::unique_ptr<ResultTable> makeWorkbookTable(std::uint32_t rowsPerSheet = 1048576);

}  // namespace sonvera
