#pragma once
// `sonvera-cli catalogue build` and `catalogue dump`.

#include <iosfwd>
#include <string>

namespace sonvera::cli {

struct BuildOptions {
  std::string sourcePath;
  std::string outputPath;
  int version = -1;  // -1: the document's own version
};

struct DumpOptions {
  std::string cataloguePath;  // empty: where the program looks for it
  std::string language;
};

int buildCatalogue(const BuildOptions& options, std::ostream& out, std::ostream& err);
int dumpCatalogue(const DumpOptions& options, std::ostream& out, std::ostream& err);

}  // namespace sonvera::cli
