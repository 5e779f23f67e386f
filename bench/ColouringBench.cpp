// Colouring one typical code line with a loaded sample colorizer.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "bench/SourceGenerator.h"
#include "textmodel/SampleColorizer.h"
#include "textmodel/SectionShades.h"

namespace {

void BM_ColorLine(benchmark::State& state) {
  CSampleColorizer colorizer;
  LoadAllSets(colorizer);
  const std::string line =
      "    repeat while count < 16 and waitcnt(cnt + 80_000) := lookup(idx : \"tick\", 2) "
      "' next {x}";
  std::vector<COLORREF> colours(line.size());
  for (auto _ : state) {
    colorizer.ColorLine(line, colours, kPubOddShade, 0);
    benchmark::DoNotOptimize(colours.data());
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * line.size()));
}
BENCHMARK(BM_ColorLine);

}  // namespace
