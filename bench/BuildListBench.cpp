// Speed of the panes' lists: writing tool output into the Build list
// (emptying it and appending lines one by one with the view following the
// end, as a chip command does, up to the repaint that shows the last lines),
// and filling the Section View with a large source's sections up to the
// tree's paint.
#include <benchmark/benchmark.h>
#include <wx/app.h>
#include <wx/frame.h>

#include <chrono>
#include <cstdint>
#include <list>
#include <string>
#include <vector>

#include "bench/BenchWx.h"
#include "app/ClassView.h"
#include "app/OutputWnd.h"


namespace {

// Lines of the kind an assembler prints: progress, addresses, messages.
std::vector<std::wstring> ToolOutput(int count) {
  std::vector<std::wstring> lines;
  lines.reserve(count);
  for (int i = 0; i < count; ++i) {
    switch (i % 4) {
      case 0: lines.push_back(L"Compiling section " + std::to_wstring(i) + L" of main.vorn"); break;
      case 1: lines.push_back(L"  " + std::to_wstring(i * 4) + L": long value stored at $" + std::to_wstring(i)); break;
      case 2: lines.push_back(L"warning: unused symbol touch_" + std::to_wstring(i) + L" in PUB 'Test pub'"); break;
      default: lines.push_back(L""); break;
    }
  }
  return lines;
}

void BM_AppendBuildLines(benchmark::State& state) {
  if (!g_benchHasWx) {
    state.SkipWithError("no display");
    return;
  }
  const std::vector<std::wstring> lines = ToolOutput(static_cast<int>(state.range(0)));
  auto* frame = new wxFrame(nullptr, wxID_ANY, "bench", wxPoint(0, 0), wxSize(900, 300));
  auto* output = new COutputWnd(frame);
  frame->Show();
  Pump();
  COutputList* build = output->m_wndOutputBuild;
  for (auto _ : state) {
    build->ResetContent();
    for (const std::wstring& line : lines) build->AddString(line);
    wxTheApp->ProcessPendingEvents();  // the view catches up with the end
    build->Update();                   // and repaints
  }
  state.counters["lines"] = static_cast<double>(build->GetCount());
  state.counters["first_row_in_view"] = static_cast<double>(build->GetVisibleRowsBegin());
  frame->Destroy();
  Pump();
}
BENCHMARK(BM_AppendBuildLines)->Arg(10000)->Unit(benchmark::kMillisecond);

// The sections of a large source: header lines of every kind with comments,
// on lines spread as a generated file spreads them.
void SectionsOf(int count, std::list<std::wstring>& names, std::list<std::int32_t>& lines) {
  const wchar_t* const kinds[] = {L"CON", L"OBJ", L"VAR", L"PUB", L"PRI", L"DAT"};
  for (int i = 0; i < count; ++i) {
    names.push_back(std::wstring(kinds[i % 6]) + L" section_" + std::to_wstring(i) + L" 'part " +
                    std::to_wstring(i / 6) + L" of the program");
    lines.push_back(i * 15 + 1);
  }
}

// FillClassView as a view calls it for a freshly opened file, then the
// tree's paint that shows it.
void BM_FillClassView(benchmark::State& state) {
  if (!g_benchHasWx) {
    state.SkipWithError("no display");
    return;
  }
  std::list<std::wstring> names;
  std::list<std::int32_t> lines;
  SectionsOf(static_cast<int>(state.range(0)), names, lines);
  auto* frame = new wxFrame(nullptr, wxID_ANY, "bench", wxPoint(0, 0), wxSize(300, 800));
  auto* view = new CClassView(frame);
  frame->Show();
  Pump();
  int paints = 0;
  view->m_wndSectionTree->Bind(wxEVT_PAINT, [&paints](wxPaintEvent& event) {
    ++paints;
    event.Skip();
  });
  double fillSeconds = 0, paintSeconds = 0;
  for (auto _ : state) {
    const auto start = std::chrono::steady_clock::now();
    view->FillClassView(names, lines, L"big");
    fillSeconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    const auto painting = std::chrono::steady_clock::now();
    view->m_wndSectionTree->Update();  // the paint that shows the new contents
    paintSeconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - painting).count();
  }
  state.counters["fill_ms"] = 1000.0 * fillSeconds / static_cast<double>(state.iterations());
  state.counters["paint_ms"] = 1000.0 * paintSeconds / static_cast<double>(state.iterations());
  state.counters["items"] = static_cast<double>(view->m_wndSectionTree->GetCount());
  state.counters["paints_per_fill"] = static_cast<double>(paints) / static_cast<double>(state.iterations());
  frame->Destroy();
  Pump();
}
BENCHMARK(BM_FillClassView)->Arg(6643)->Unit(benchmark::kMillisecond);

}  // namespace
