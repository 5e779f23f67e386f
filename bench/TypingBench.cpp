// Speed of typing one character: in the middle of a line of a large source,
// and at the end of one very long line. Each key's time covers the edit, the
// recolouring it triggers, the scrolling that keeps the caret in view and the
// repaint of the window that it asks for.
#include <benchmark/benchmark.h>
#include <wx/app.h>
#include <wx/dcclient.h>
#include <wx/frame.h>
#include <wx/panel.h>

#include <chrono>
#include <string>
#include <vector>

#include "bench/BenchWx.h"
#include "bench/SourceGenerator.h"
#include "editor/ColorEditWnd.h"
#include "textmodel/SampleColorizer.h"

namespace {

// An editor of 1200 x 900 pixels in a shown frame, holding `lines`, with the
// caret at (`line`, `column`) and the line in view; types 'x' there once per
// iteration and reports the key's handling and its repaint apart.
void TimeTyping(benchmark::State& state, std::vector<std::string> lines, int line, int column) {
  CSampleColorizer colorizer;
  LoadAllSets(colorizer);
  wxFrame* frame = new wxFrame(nullptr, wxID_ANY, "bench", wxPoint(0, 0), wxSize(1240, 940));
  wxPanel* panel = new wxPanel(frame, wxID_ANY, wxPoint(0, 0), wxSize(1240, 940));
  frame->Show();
  Pump();
  auto* editor = new ColorEditWnd(panel, wxRect(0, 0, 1200, 900), L"Veltrane", true);
  CTextModel& model = editor->m_textModel;
  model.colorizer = &colorizer;
  model.lines = std::move(lines);
  model.lineColours.assign(model.lines.size(), {});
  model.RecolourAll();
  editor->UpdateScrollBars();
  editor->SetFocus();
  Pump();

  const std::string original = model.lines[line];
  editor->m_firstLine = std::max(0, line - 10);
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
    editor->EnsureCaretVisible();
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

void BM_TypeMidLine(benchmark::State& state) {
  if (!g_benchHasWx) {
    state.SkipWithError("no display");
    return;
  }
  const int lineCount = static_cast<int>(state.range(0));
  std::vector<std::string> lines = GenerateVornSource(lineCount);
  // A line near the middle of the file with text on both sides of the caret.
  int line = lineCount / 2;
  while (line + 1 < lineCount && lines[line].size() < 12) ++line;
  const int column = static_cast<int>(lines[line].size() / 2);
  TimeTyping(state, std::move(lines), line, column);
}
BENCHMARK(BM_TypeMidLine)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

// A key at the end of one line of the given length between two short ones.
void BM_TypeLongLine(benchmark::State& state) {
  if (!g_benchHasWx) {
    state.SkipWithError("no display");
    return;
  }
  const int length = static_cast<int>(state.range(0));
  std::string longLine;
  longLine.reserve(static_cast<std::size_t>(length));
  const std::string pattern = "  x := y + 1 ' note ";
  while (static_cast<int>(longLine.size()) < length) longLine += pattern;
  longLine.resize(static_cast<std::size_t>(length));
  TimeTyping(state, {"PUB main", longLine, "  return"}, 1, length);
}
BENCHMARK(BM_TypeLongLine)->Arg(100000)->Arg(1000000)->Arg(5000000)->Unit(benchmark::kMillisecond);

}  // namespace
