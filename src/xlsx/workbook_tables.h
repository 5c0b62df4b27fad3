#pragma once
// The tables of workbook results for a dialog's host, in every build: empty
// in one without workbooks (the Windows one), where the export says so.
// Header only, so that hosts include it whether the library is built or not.

#include <functional>
#include <memory>

#include "export/result_table.h"
#ifdef SONVERA_HAS_WORKBOOKS
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

}  // namespace sonvera
