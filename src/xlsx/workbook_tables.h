#pragma once
// The workbook writers of the build for a dialog's host: empty in one without
// workbooks (the Windows one), where the export and the assessment say so.
// Header only, so that hosts include it whether the library is built or not.

#include <functional>
#include <memory>

#include "export/cell_table.h"
#include "export/result_table.h"
#ifdef SONVERA_HAS_WORKBOOKS
#include "xlsx/cell_workbook.h"
#include "xlsx/workbook_table.h"
#endif

namespace sonvera {

inline std::function<std::unique_ptr<ResultTable>()> workbookTablesOfThisBuild() {
#ifdef SONVERA_HAS_WORKBOOKS
  return [] { return makeWorkbookTable(); };
#else
  return {};
#endif
}

inline CellWorkbookWriter cellWorkbooksOfThisBuild() {
#ifdef SONVERA_HAS_WORKBOOKS
  return writeCellWorkbook;
#else
  return {};
#endif
}

}  // namespace sonvera
