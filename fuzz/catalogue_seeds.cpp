// Writes catalogue seeds: one catalogue with every section at every version,
// and the same cut short at a few places.

#include <cstdio>
#include <filesystem>

#include "platform/platform.h"
#include "support/catalogue_builder.h"

int main(int argc, char** argv) {
  using namespace sonvera;
  if (argc != 2) return 2;
  std::filesystem::create_directories(argv[1]);
  CatalogueSource s = test::minimalSource();
  TypeSource t = test::makeType(21, {0x201B0000, 0x01100000, 0x01200101, 0x50070000}, 10);
  t.parameterNames.push_back({test::kRu, {{0, "Leq"}, {1, "Lmax"}}});
  t.titles.push_back({"English", {"a", "b", "c"}, {"d", "e", "f"}});
  s.types.push_back(t);
  s.bandNames = {"31.5", "63"};
  s.section4.push_back({1, 1, 2, 3, 4, {}, {}, {5}});
  s.section5.push_back({test::kRu, {{{"x", "y", "z"}, {1, 2, 3}}}});
  s.section6 = {{1, 2}};
  s.bandNameTranslations.push_back({test::kRu, {{0, "31,5"}}});
  s.extraTables.push_back({21, test::kRu, {"t", {"b"}, {"p"}, {{0x01400000}}, {{0xD7}}}});
  int written = 0;
  for (std::uint32_t version = 0; version <= 15; ++version) {
    auto bytes = writeCatalogue(s, version);
    const std::string base = std::string(argv[1]) + "/v" + std::to_string(version);
    written += platform::writeWholeFile(base + ".bin", bytes);
    bytes.resize(bytes.size() * 2 / 3);
    written += platform::writeWholeFile(base + "-cut.bin", bytes);
  }
  std::printf("%d seeds written\n", written);
  return written == 32 ? 0 : 1;
}
