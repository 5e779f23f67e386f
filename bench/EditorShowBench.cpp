// Speed of making an editor and bringing it to the screen: its fonts, the
// cell measured from them and the glyphs that leave their cells; and of a
// zoom step, which makes and measures the fonts again.
#include <benchmark/benchmark.h>
#include <wx/app.h>
#include <wx/frame.h>
#include <wx/panel.h>

#include <memory>

#include "bench/BenchWx.h"
#include "editor/ColorEditWnd.h"
#include "editor/KeyState.h"

namespace {

// A shown frame with a panel for the editors to live in.
class ShowScene {
 public:
  ShowScene() {
    frame_ = new wxFrame(nullptr, wxID_ANY, "bench", wxPoint(0, 0), wxSize(840, 640));
    panel_ = new wxPanel(frame_, wxID_ANY, wxPoint(0, 0), wxSize(820, 620));
    frame_->Show();
    Pump();
  }
  ~ShowScene() {
    frame_->Destroy();
    Pump();
  }
  wxPanel* panel_ = nullptr;

 private:
  wxFrame* frame_ = nullptr;
};

// Construction of a visible editor in a shown panel: the window reaches the
// screen (and measures its cell) before the constructor returns.
void BM_EditorCreateAndShow(benchmark::State& state) {
  if (!g_benchHasWx) {
    state.SkipWithError("no display");
    return;
  }
  ShowScene scene;
  for (auto _ : state) {
    auto editor = std::make_unique<ColorEditWnd>(scene.panel_, wxRect(2, 2, 800, 600), L"Veltrane", true);
    benchmark::DoNotOptimize(editor->m_cellWidth);
    state.PauseTiming();
    editor.reset();
    Pump();
    state.ResumeTiming();
  }
}
BENCHMARK(BM_EditorCreateAndShow)->Unit(benchmark::kMillisecond);

// One Ctrl+wheel step up and one down: both make the fonts and measure the cell.
void BM_ZoomStep(benchmark::State& state) {
  if (!g_benchHasWx) {
    state.SkipWithError("no display");
    return;
  }
  ShowScene scene;
  auto editor = std::make_unique<ColorEditWnd>(scene.panel_, wxRect(2, 2, 800, 600), L"Veltrane", true);
  Pump();
  keystate::Override(false, true);
  for (auto _ : state) {
    for (int rotation : {120, -120}) {
      wxMouseEvent wheel(wxEVT_MOUSEWHEEL);
      wheel.m_wheelRotation = rotation;
      wheel.m_wheelDelta = 120;
      editor->OnMouseWheel(wheel);
    }
    state.PauseTiming();
    Pump();
    state.ResumeTiming();
  }
  keystate::ClearOverride();
}
BENCHMARK(BM_ZoomStep)->Unit(benchmark::kMillisecond);

}  // namespace
