// Speed of writing tool output into the Build list: emptying it and appending
// lines one by one with the view following the end, as a chip command does,
// up to the repaint that shows the last lines.
#include <benchmark/benchmark.h>
#include <wx/app.h>
#include <wx/frame.h>

#include <string>
#include <vector>

#include "app/OutputWnd.h"

extern bool g_benchHasWx;

namespace {

void Pump() {
  for (int i = 0; i < 5; ++i) {
    wxTheApp->ProcessPendingEvents();
    while (wxTheApp->Pending()) wxTheApp->Dispatch();
    wxYield();
  }
}

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

}  // namespace
