// How fast a catalogue of realistic size loads.

#include <benchmark/benchmark.h>

#include "support/catalogue_builder.h"

namespace {

void BM_LoadCatalogue(benchmark::State& state) {
  using namespace sonvera;
  CatalogueSource source = test::minimalSource();
  for (std::uint32_t t = 0; t < 50; ++t) {
    std::vector<ParameterCode> layout;
    for (std::uint32_t b = 0; b < 400; ++b) layout.push_back(0x01100000 | (b / 36) << 8 | (b % 36));
    source.types.push_back(test::makeType(t, layout, 800));
  }
  const auto bytes = writeCatalogue(source, 15);
  for (auto _ : state) {
    DeviceCatalogue catalogue;
    benchmark::DoNotOptimize(loadCatalogue(bytes, kRussianLanguage, catalogue));
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes.size()));
}
BENCHMARK(BM_LoadCatalogue);

}  // namespace
