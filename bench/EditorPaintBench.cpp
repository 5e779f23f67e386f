// Speed of painting a large editor full of coloured text, and of scrolling it
// by one line with the repaint that follows.
#include <benchmark/benchmark.h>
#include <wx/app.h>
#include <wx/dcclient.h>
#include <wx/dcmemory.h>
#include <wx/frame.h>
#include <wx/panel.h>
#include <wx/utils.h>

#include <string>
#include <vector>

#include "bench/BenchWx.h"
#include "bench/SourceGenerator.h"
#include "editor/ColorEditWnd.h"
#include "textmodel/SampleColorizer.h"


namespace {

// A shown frame with a 1200 x 900 editor holding the generated source,
// coloured by a loaded colorizer and scrolled to the middle.
class PaintScene {
 public:
  explicit PaintScene(int lineCount) : lines_(lineCount) {
    LoadAllSets(colorizer_);
    frame_ = new wxFrame(nullptr, wxID_ANY, "bench", wxPoint(0, 0), wxSize(1240, 940));
    wxPanel* panel = new wxPanel(frame_, wxID_ANY, wxPoint(0, 0), wxSize(1240, 940));
    frame_->Show();
    Pump();
    editor_ = new ColorEditWnd(panel, wxRect(0, 0, 1200, 900), L"Veltrane", true);
    CTextModel& model = editor_->m_textModel;
    model.colorizer = &colorizer_;
    model.lines = GenerateVornSource(lineCount);
    model.lineColours.assign(model.lines.size(), {});
    model.RecolourAll();
    editor_->UpdateScrollBars();
    Pump();
    ScrollToMiddle();
    // The X server may not have mapped the window yet; a paint before then
    // draws nothing, which would make it look fast.
    for (int wait = 0; wait < 200 && !Ready(); ++wait) {
      wxMilliSleep(10);
      Pump();
    }
  }
  // The window is mapped at its full size, and a paint into it reaches it.
  bool Ready() const {
    if (editor_->GetClientSize() != wxSize(1200, 900)) return false;
    wxClientDC dc(editor_);
    wxCoord x = 0, y = 0, w = 0, h = 0;
    dc.GetClippingBox(&x, &y, &w, &h);
    return w > 0 && h > 0;
  }
  ~PaintScene() {
    frame_->Destroy();
    Pump();
  }
  void ScrollToMiddle() {
    editor_->m_firstLine = lines_ / 2;
    editor_->SetScrollPos(wxVERTICAL, editor_->m_firstLine);
  }

  ColorEditWnd* editor_ = nullptr;
  int lines_;

 private:
  CSampleColorizer colorizer_;
  wxFrame* frame_ = nullptr;
};

void BM_PaintWindow(benchmark::State& state) {
  if (!g_benchHasWx) {
    state.SkipWithError("no display");
    return;
  }
  PaintScene scene(static_cast<int>(state.range(0)));
  if (!scene.Ready()) {
    state.SkipWithError("the window was not mapped");
    return;
  }
  for (auto _ : state) {
    wxClientDC dc(scene.editor_);
    scene.editor_->PaintTo(dc);
  }
}
BENCHMARK(BM_PaintWindow)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

// The same picture drawn into a bitmap of the window's size: the paint
// without its copy to the screen.
void BM_PaintPicture(benchmark::State& state) {
  if (!g_benchHasWx) {
    state.SkipWithError("no display");
    return;
  }
  PaintScene scene(static_cast<int>(state.range(0)));
  wxBitmap bitmap(scene.editor_->GetClientSize(), 24);
  for (auto _ : state) {
    wxMemoryDC dc(bitmap);
    scene.editor_->PaintTo(dc);
  }
}
BENCHMARK(BM_PaintPicture)->Arg(100000)->Unit(benchmark::kMillisecond);

void BM_ScrollLineDown(benchmark::State& state) {
  if (!g_benchHasWx) {
    state.SkipWithError("no display");
    return;
  }
  PaintScene scene(static_cast<int>(state.range(0)));
  int paints = 0;
  scene.editor_->Bind(wxEVT_PAINT, [&paints](wxPaintEvent& event) {
    ++paints;
    event.Skip();
  });
  for (auto _ : state) {
    wxScrollWinEvent down(wxEVT_SCROLLWIN_LINEDOWN, 0, wxVERTICAL);
    // The handler repaints the window at once, inside this call.
    scene.editor_->ProcessWindowEvent(down);
    state.PauseTiming();
    if (scene.editor_->m_firstLine > scene.lines_ - 200) scene.ScrollToMiddle();
    state.ResumeTiming();
  }
  // One paint per scroll shows that the repaint was measured.
  state.counters["paints_per_scroll"] = benchmark::Counter(paints, benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_ScrollLineDown)->Arg(100000)->Unit(benchmark::kMillisecond);

}  // namespace
