// Speed of edits that touch many lines at once: deleting the whole text
// after Select All, and undoing and redoing that deletion, each with the
// repaint that follows it.
#include <benchmark/benchmark.h>
#include <wx/app.h>
#include <wx/frame.h>
#include <wx/panel.h>

#include <string>
#include <vector>

#include "bench/SourceGenerator.h"
#include "editor/ColorEditWnd.h"
#include "textmodel/SampleColorizer.h"

extern bool g_benchHasWx;

namespace {

void Pump() {
  for (int i = 0; i < 3; ++i) {
    wxTheApp->ProcessPendingEvents();
    while (wxTheApp->Pending()) wxTheApp->Dispatch();
  }
}

// A shown 1200 x 900 editor that can be refilled with a generated source.
class BulkScene {
 public:
  BulkScene() {
    LoadAllSets(colorizer_);
    frame_ = new wxFrame(nullptr, wxID_ANY, "bench", wxPoint(0, 0), wxSize(1240, 940));
    wxPanel* panel = new wxPanel(frame_, wxID_ANY, wxPoint(0, 0), wxSize(1240, 940));
    frame_->Show();
    Pump();
    editor_ = new ColorEditWnd(panel, wxRect(0, 0, 1200, 900), L"Veltrane", true);
    editor_->m_textModel.colorizer = &colorizer_;
  }
  ~BulkScene() {
    frame_->Destroy();
    Pump();
  }
  // Fresh text of `lineCount` lines, coloured, no undo history, caret at the top.
  void Load(const std::vector<std::string>& source) {
    editor_->ResetContent();
    CTextModel& model = editor_->m_textModel;
    model.lines = source;
    model.lineColours.assign(model.lines.size(), {});
    model.RecolourAll();
    editor_->UpdateScrollBars();
    Pump();
  }
  void DeleteAll() {
    editor_->SelectAll();
    wxKeyEvent del(wxEVT_KEY_DOWN);
    del.m_keyCode = WXK_DELETE;
    del.SetEventObject(editor_);
    editor_->GetEventHandler()->ProcessEvent(del);
    editor_->Update();
  }
  void Undo() {
    wxCommandEvent event;
    editor_->OnEditUndo(event);
    editor_->Update();
  }
  void Redo() {
    wxCommandEvent event;
    editor_->OnEditRedo(event);
    editor_->Update();
  }

  ColorEditWnd* editor_ = nullptr;

 private:
  CSampleColorizer colorizer_;
  wxFrame* frame_ = nullptr;
};

enum class Step { kDelete, kUndo, kRedo };

void RunBulk(benchmark::State& state, Step measured) {
  if (!g_benchHasWx) {
    state.SkipWithError("no display");
    return;
  }
  const int lineCount = static_cast<int>(state.range(0));
  const std::vector<std::string> source = GenerateVornSource(lineCount);
  BulkScene scene;
  for (auto _ : state) {
    state.PauseTiming();
    scene.Load(source);
    if (measured != Step::kDelete) scene.DeleteAll();
    if (measured == Step::kRedo) scene.Undo();
    Pump();
    state.ResumeTiming();
    switch (measured) {
      case Step::kDelete: scene.DeleteAll(); break;
      case Step::kUndo: scene.Undo(); break;
      case Step::kRedo: scene.Redo(); break;
    }
  }
  const CTextModel& model = scene.editor_->m_textModel;
  const bool emptied = model.LineCount() == 1 && model.lines[0].empty();
  if ((measured == Step::kUndo) == emptied) state.SkipWithError("the step did not happen");
  state.SetItemsProcessed(state.iterations() * state.range(0));
}

void BM_DeleteAll(benchmark::State& state) { RunBulk(state, Step::kDelete); }
void BM_UndoDeleteAll(benchmark::State& state) { RunBulk(state, Step::kUndo); }
void BM_RedoDeleteAll(benchmark::State& state) { RunBulk(state, Step::kRedo); }

BENCHMARK(BM_DeleteAll)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_UndoDeleteAll)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RedoDeleteAll)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

}  // namespace
