// Speed of typing one character in the middle of a line of a large source:
// the edit, the recolouring it triggers and the repaint of the window that
// it asks for.
#include <benchmark/benchmark.h>
#include <wx/app.h>
#include <wx/dcclient.h>
#include <wx/frame.h>
#include <wx/panel.h>

#include <chrono>
#include <string>

#include "bench/BenchWx.h"
#include "bench/SourceGenerator.h"
#include "editor/ColorEditWnd.h"
#include "textmodel/SampleColorizer.h"


namespace {

void BM_TypeMidLine(benchmark::State& state) {
  if (!g_benchHasWx) {
    state.SkipWithError("no display");
    return;
  }
  const int lineCount = static_cast<int>(state.range(0));

  CSampleColorizer colorizer;
  LoadAllSets(colorizer);
  wxFrame* frame = new wxFrame(nullptr, wxID_ANY, "bench", wxPoint(0, 0), wxSize(1240, 940));
  wxPanel* panel = new wxPanel(frame, wxID_ANY, wxPoint(0, 0), wxSize(1240, 940));
  frame->Show();
  Pump();
  auto* editor = new ColorEditWnd(panel, wxRect(0, 0, 1200, 900), L"Veltrane", true);
  CTextModel& model = editor->m_textModel;
  model.colorizer = &colorizer;
  model.lines = GenerateVornSource(lineCount);
  model.lineColours.assign(model.lines.size(), {});
  model.RecolourAll();
  editor->UpdateScrollBars();
  editor->SetFocus();
  Pump();

  // A line near the middle of the file with text on both sides of the caret.
  int line = lineCount / 2;
  while (line + 1 < lineCount && model.lines[line].size() < 12) ++line;
  const std::string original = model.lines[line];
  const int column = static_cast<int>(original.size() / 2);
  editor->m_firstLine = line - 10;
  editor->SetScrollPos(wxVERTICAL, editor->m_firstLine);

  wxKeyEvent typed(wxEVT_CHAR);
  typed.m_keyCode = 'x';
  typed.m_uniChar = 'x';
  typed.SetEventObject(editor);

  // The paints the keys cause, and the rows they cover.
  long paints = 0, paintedRows = 0;
  double keyTime = 0, paintTime = 0;  // milliseconds in the key's handling and in its repaint
  bool timing = false;
  editor->Bind(wxEVT_PAINT, [&](wxPaintEvent& event) {
    if (timing) {
      ++paints;
      const wxRect box = editor->GetUpdateRegion().GetBox();
      paintedRows += (box.height + editor->m_lineHeight - 1) / editor->m_lineHeight;
    }
    event.Skip();
  });

  for (auto _ : state) {
    state.PauseTiming();
    model.SetLine(original, line);
    editor->m_caretCol = editor->m_anchorCol = column;
    editor->m_caretLine = editor->m_anchorLine = line;
    ClearFrameStack(editor->m_undoStack);
    editor->Refresh();
    editor->Update();
    Pump();
    // A pixel read back waits until the display has drawn all of it, so
    // that none of this untimed paint is paid for below.
    {
      wxClientDC screen(editor);
      wxColour pixel;
      screen.GetPixel(0, 0, &pixel);
    }
    timing = true;
    state.ResumeTiming();

    // The key, then the repaint it asked for, at once.
    const auto start = std::chrono::steady_clock::now();
    editor->GetEventHandler()->ProcessEvent(typed);
    const auto typedAt = std::chrono::steady_clock::now();
    editor->Update();
    const auto paintedAt = std::chrono::steady_clock::now();
    keyTime += std::chrono::duration<double, std::milli>(typedAt - start).count();
    paintTime += std::chrono::duration<double, std::milli>(paintedAt - typedAt).count();
    state.PauseTiming();
    timing = false;
    state.ResumeTiming();
  }
  state.counters["paints_per_key"] = benchmark::Counter(static_cast<double>(paints), benchmark::Counter::kAvgIterations);
  state.counters["key_ms"] = benchmark::Counter(keyTime, benchmark::Counter::kAvgIterations);
  state.counters["paint_ms"] = benchmark::Counter(paintTime, benchmark::Counter::kAvgIterations);
  state.counters["rows_per_key"] =
      benchmark::Counter(static_cast<double>(paintedRows), benchmark::Counter::kAvgIterations);
  if (model.lines[line] != original.substr(0, column) + "x" + original.substr(column))
    state.SkipWithError("the character was not typed");

  frame->Destroy();
  Pump();
}
BENCHMARK(BM_TypeMidLine)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

}  // namespace
