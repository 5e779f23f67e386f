// Speed of the text model's full recolouring and section analysis on a large
// generated source, against the cost of merely copying its bytes and colours.
#include <benchmark/benchmark.h>

#include <cstring>
#include <string>
#include <vector>

#include "bench/SourceGenerator.h"
#include "textmodel/SampleColorizer.h"
#include "textmodel/TextModel.h"

namespace {

void FillModel(CTextModel& model, int lineCount) {
  std::vector<std::string> source = GenerateVornSource(lineCount);
  for (std::size_t i = 0; i < source.size(); ++i)
    model.InsertLine(source[i], static_cast<std::int32_t>(i), false);
}

// Every line's inputs change between two recolourings: a "{" comes and goes
// at the start of the first line, which moves the brace depth of every line
// below it, so each pass colours the whole text afresh.
void BM_RecolourAll(benchmark::State& state) {
  CSampleColorizer colorizer;
  LoadAllSets(colorizer);
  CTextModel model;
  model.colorizer = &colorizer;
  FillModel(model, static_cast<int>(state.range(0)));
  model.RecolourAll();
  const std::string first = model.lines[0];
  bool open = false;

  for (auto _ : state) {
    state.PauseTiming();
    open = !open;
    model.SetLine(open ? "{" + first : first, 0);
    state.ResumeTiming();
    model.RecolourAll();
    benchmark::DoNotOptimize(model.lineColours.data());
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_RecolourAll)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

// Recolouring when nothing changed since the last pass.
void BM_RecolourUnchanged(benchmark::State& state) {
  CSampleColorizer colorizer;
  LoadAllSets(colorizer);
  CTextModel model;
  model.colorizer = &colorizer;
  FillModel(model, static_cast<int>(state.range(0)));
  model.RecolourAll();

  for (auto _ : state) {
    model.RecolourAll();
    benchmark::DoNotOptimize(model.lineColours.data());
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_RecolourUnchanged)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

// Copies every line's bytes and its coloured vector once: the least any pass
// over the whole text and its colours can cost.
void BM_MemcpyFloor(benchmark::State& state) {
  CSampleColorizer colorizer;
  LoadAllSets(colorizer);
  CTextModel model;
  model.colorizer = &colorizer;
  FillModel(model, static_cast<int>(state.range(0)));
  model.RecolourAll();

  std::size_t totalBytes = 0;
  for (const std::string& line : model.lines) totalBytes += line.size();
  std::vector<char> textCopy(totalBytes);
  std::vector<COLORREF> colourCopy(totalBytes);

  for (auto _ : state) {
    char* text = textCopy.data();
    COLORREF* colours = colourCopy.data();
    const std::size_t n = model.lines.size();
    for (std::size_t i = 0; i < n; ++i) {
      const std::string& line = model.lines[i];
      const std::vector<COLORREF>& lineColours = model.lineColours[i];
      std::memcpy(text, line.data(), line.size());
      std::memcpy(colours, lineColours.data(), lineColours.size() * sizeof(COLORREF));
      text += line.size();
      colours += lineColours.size();
    }
    benchmark::DoNotOptimize(textCopy.data());
    benchmark::DoNotOptimize(colourCopy.data());
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_MemcpyFloor)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

void BM_AnalyzeSections(benchmark::State& state) {
  CTextModel model;
  FillModel(model, static_cast<int>(state.range(0)));
  model.AnalyzeSections();

  for (auto _ : state) benchmark::DoNotOptimize(model.AnalyzeSections());
  state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_AnalyzeSections)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

}  // namespace
