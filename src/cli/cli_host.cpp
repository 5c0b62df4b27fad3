#include "cli_host.h"

#include <cstdio>
#include <ostream>

#include "app/strings.h"
#include "catalogue/catalogue_loader.h"
#ifdef SONVERA_HAS_WORKBOOKS
#include "xlsx/workbook_table.h"
#endif

namespace sonvera::cli {

void CliHost::showMessage(const std::string& text) {
  err_ << text << "\n";
  ++messageCount;
}

bool CliHost::askYesNo(const std::string& text) {
  err_ << text << (yes ? " Да\n" : " Нет\n");
  return yes;
}

void CliHost::postProgress(int percent) {
  if (!showProgress) return;
  // Called on the worker's thread; standard error is ours alone meanwhile.
  if (percent < 0) {
    std::fputs("\r\033[K", stderr);
    return;
  }
  const int filled = percent / 5;
  std::fprintf(stderr, "\r[%.*s%.*s] %3d%%", filled, "####################", 20 - filled,
               "                    ", percent);
  std::fflush(stderr);
}

std::function<std::unique_ptr<ResultTable>()> CliHost::workbookTables() const {
#ifdef SONVERA_HAS_WORKBOOKS
  return [] { return makeWorkbookTable(); };
#else
  return {};
#endif
}

bool loadCliCatalogue(const std::string& path, DeviceCatalogue& catalogue, std::ostream& err) {
  if (loadCatalogueFile(path.empty() ? defaultCataloguePath() : path, kRussianLanguage, catalogue)) return true;
  err << text(StringId::CatalogueNotFound) << "\n";
  return false;
}

}  // namespace sonvera::cli
