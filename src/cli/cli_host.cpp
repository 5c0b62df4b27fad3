#include "cli_host.h"

#include <cstdio>
#include <ostream>

#include "app/strings.h"
#include "catalogue/catalogue_loader.h"

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

bool loadCliCatalogue(const std::string& path, DeviceCatalogue& catalogue, std::ostream& err) {
  if (loadCatalogueFile(path.empty() ? defaultCataloguePath() : path, kRussianLanguage, catalogue)) return true;
  err << text(StringId::CatalogueNotFound) << "\n";
  return false;
}

}  // namespace sonvera::cli
