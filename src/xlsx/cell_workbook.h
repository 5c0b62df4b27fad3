#pragma once
// Tables of typed cells as the sheets of one .xlsx workbook: numbers as
// number cells showing their decimals (the full value kept), times and dates
// as date-time cells, texts as texts, the header row frozen.

#include <span>
#include <string>

#include "export/cell_table.h"

namespace sonvera {

bool writeCellWorkbook(const std::string& path, std::span<const CellTable* const> sheets);

}  // namespace sonvera
