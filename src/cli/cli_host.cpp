#include "cli_host.h"

#include <cstdio>
#include <ostream>

#include "app/failure_reasons.h"
#include "app/strings.h"
#include "base/printf_text.h"
#include "catalogue/catalogue_loader.h"
#include "export/files_in_use.h"
#include "platform/platform.h"
#include "xlsx/workbook_tables.h"

namespace sonvera::cli {

void CliHost::showMessage(const std::string& text) {
  err_ << text << "\n";
  ++messageCount;
}

void CliHost::showDetailedMessage(const std::string& text, const std::string& detail) {
  showMessage(text);
  if (!detail.empty()) err_ << detail << "\n";
}

void CliHost::note(const std::string& text) { err_ << text << "\n"; }

bool CliHost::askYesNo(const std::string& text) {
  err_ << text << (yes ? " Да\n" : " Нет\n");
  return yes;
}

void CliHost::postProgress(int percent) {
  WindowlessHost::postProgress(percent);
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
  return workbookTablesOfThisBuild();
}

CellWorkbookWriter CliHost::cellWorkbooks() const {
  return cellWorkbooksOfThisBuild();
}

std::string cliCataloguePath(const std::string& given) { return given.empty() ? defaultCataloguePath() : given; }

void reportCatalogueFailure(const std::string& given, const std::string& reason, std::ostream& err) {
  const std::string path = cliCataloguePath(given);
  err << text(StringId::CatalogueNotFound) << "\n" << path << ": " << reason;
  const auto fromEnvironment = platform::environmentVariable("SONVERA_CATALOGUE");
  if (given.empty() && fromEnvironment && !fromEnvironment->empty()) err << " (путь из SONVERA_CATALOGUE)";
  err << "\n";
}

bool writesOverFileInUse(const std::vector<std::string>& reads, const std::string& written, std::ostream& err) {
  FilesInUse inUse;
  for (const std::string& path : reads) inUse.add(path);
  const std::string* same = inUse.find(written);
  if (same == nullptr) return false;
  err << printfText(text(StringId::WouldReplaceFileInUse), written.c_str(), same->c_str()) << "\n";
  return true;
}

bool loadCliCatalogue(const std::string& path, DeviceCatalogue& catalogue, std::ostream& err) {
  const std::string used = cliCataloguePath(path);
  if (loadCatalogueFile(used, kRussianLanguage, catalogue)) return true;
  reportCatalogueFailure(path, catalogueFailureReason(used), err);
  return false;
}

}  // namespace sonvera::cli
