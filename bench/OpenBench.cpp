// Speed of opening a large source: from the open command (the doc manager
// creating the document from its file) to the end of its view's first paint,
// and the resident memory the open document takes beyond the empty
// application, per byte of text.
#include <benchmark/benchmark.h>
#include <wx/app.h>
#include <wx/docview.h>
#include <wx/filename.h>
#include <wx/utils.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <functional>
#include <string>
#include <unistd.h>

#include "bench/BenchWx.h"
#include "app/MainFrame.h"
#include "app/QuillmarkDoc.h"
#include "app/QuillmarkView.h"
#include "app/Vorn2EditView.h"
#include "bench/SourceGenerator.h"


namespace {

// Sits in front of an editor's event handlers for as long as it lives and
// calls `done` after each paint the editor has carried out.
class PaintWatcher : public wxEvtHandler {
 public:
  PaintWatcher(ColorEditWnd* editor, std::function<void()> done) : editor_(editor), done_(std::move(done)) {
    Bind(wxEVT_PAINT, &PaintWatcher::OnPaint, this);
    editor_->PushEventHandler(this);
  }
  ~PaintWatcher() override { editor_->RemoveEventHandler(this); }

 private:
  void OnPaint(wxPaintEvent& event) {
    editor_->OnPaint(event);
    done_();
  }
  ColorEditWnd* editor_;
  std::function<void()> done_;
};

// Resident bytes of the process.
long ResidentBytes() {
  long pages = 0, resident = 0;
  std::FILE* f = std::fopen("/proc/self/statm", "r");
  if (!f) return 0;
  if (std::fscanf(f, "%ld %ld", &pages, &resident) != 2) resident = 0;
  std::fclose(f);
  return resident * sysconf(_SC_PAGESIZE);
}

// The application as it stands empty: a doc manager with both templates and
// a shown main frame. One for the whole run.
class OpenScene {
 public:
  OpenScene() {
    manager_ = new wxDocManager();
    new wxDocTemplate(manager_, "Quillmark", "*.vorn", "", "vorn", "Quillmark", "Quillmark",
                      wxCLASSINFO(CQuillmarkDoc), wxCLASSINFO(CQuillmarkView));
    new wxDocTemplate(manager_, "Vorn2Edit", "*.vorn2", "", "vorn2", "Vorn2Edit", "Vorn2Edit",
                      wxCLASSINFO(CVorn2EditDoc), wxCLASSINFO(CVorn2EditView));
    frame_ = new CMainFrame(manager_, nullptr, wxID_ANY, "Quillmark", wxPoint(0, 0), wxSize(1240, 940));
    wxTheApp->SetTopWindow(frame_);
    frame_->Show();
    Pump();
  }

  // A file of `lines` generated lines; returns its size in bytes.
  long WriteSource(int lines) {
    if (lines == lines_) return bytes_;
    path_ = wxFileName::CreateTempFileName("qmopen") + ".vorn";
    std::ofstream out(path_.ToStdString(), std::ios::binary);
    for (const std::string& line : GenerateVornSource(lines)) out << line << '\n';
    out.close();
    lines_ = lines;
    bytes_ = static_cast<long>(wxFileName::GetSize(path_).GetValue());
    return bytes_;
  }

  // Opens the file and waits for the end of its view's first paint; the
  // time from the open command to that point, or a negative time when no
  // paint came.
  double OpenAndPaint(wxDocument*& doc) {
    painted_ = false;
    const auto start = std::chrono::steady_clock::now();
    doc = manager_->CreateDocument(path_, wxDOC_SILENT);
    if (!doc) return -1;
    auto* view = dynamic_cast<CSourceView*>(doc->GetFirstView());
    if (!view || !view->m_pEditor) return -1;
    ColorEditWnd* editor = view->m_pEditor;
    // A handler pushed in front of the editor's own receives its paint
    // first: it paints through the editor's handler and notes when that has
    // finished.
    PaintWatcher watcher(editor, [this] {
      if (!painted_) {
        painted_ = true;
        paintedAt_ = std::chrono::steady_clock::now();
      }
    });
    const auto deadline = start + std::chrono::seconds(10);
    // Outside a running main loop, wxYield runs one of its own.
    while (!painted_ && std::chrono::steady_clock::now() < deadline) wxYield();
    if (!painted_) return -1;
    return std::chrono::duration<double>(paintedAt_ - start).count();
  }

  void Close(wxDocument* doc) {
    if (!doc) return;
    doc->Modify(false);
    doc->DeleteAllViews();
    Pump();
  }

  ~OpenScene() {
    if (!path_.empty()) wxRemoveFile(path_);
  }

  wxDocManager* manager_ = nullptr;
  CMainFrame* frame_ = nullptr;

 private:
  wxString path_;
  int lines_ = 0;
  long bytes_ = 0;
  bool painted_ = false;
  std::chrono::steady_clock::time_point paintedAt_;
};

OpenScene& Scene() {
  static OpenScene* scene = new OpenScene();
  return *scene;
}

// Resident memory of one open document beyond the empty application, in
// bytes per byte of its text. Runs once, before the timing below has warmed
// the heap.
void BM_OpenResidentMemory(benchmark::State& state) {
  if (!g_benchHasWx) {
    state.SkipWithError("no display");
    return;
  }
  OpenScene& scene = Scene();
  Pump();
  // The empty application, taken before the file is generated: the heap the
  // generator frees is reused by the open, so this baseline counts every
  // byte the open document holds.
  const long before = ResidentBytes();
  const long bytes = scene.WriteSource(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    wxDocument* doc = nullptr;
    if (scene.OpenAndPaint(doc) < 0) {
      state.SkipWithError("the view did not paint");
      scene.Close(doc);
      return;
    }
    Pump();
    const long after = ResidentBytes();
    state.counters["text_bytes"] = static_cast<double>(bytes);
    state.counters["resident_growth_bytes"] = static_cast<double>(after - before);
    state.counters["bytes_per_text_byte"] = static_cast<double>(after - before) / static_cast<double>(bytes);
    scene.Close(doc);
  }
}
BENCHMARK(BM_OpenResidentMemory)->Arg(100000)->Iterations(1)->Unit(benchmark::kMillisecond);

void BM_OpenToFirstPaint(benchmark::State& state) {
  if (!g_benchHasWx) {
    state.SkipWithError("no display");
    return;
  }
  OpenScene& scene = Scene();
  scene.WriteSource(static_cast<int>(state.range(0)));
  double fillSeconds = 0;
  int fills = 0;
  for (auto _ : state) {
    wxDocument* doc = nullptr;
    const double seconds = scene.OpenAndPaint(doc);
    if (seconds < 0) {
      state.SkipWithError("the view did not paint");
      scene.Close(doc);
      return;
    }
    state.SetIterationTime(seconds);
    state.PauseTiming();
    // The part of the open that the Section View's fill takes: the same fill
    // again, timed on its own.
    if (auto* view = dynamic_cast<CSourceView*>(doc->GetFirstView()); view && view->m_pEditor) {
      const auto start = std::chrono::steady_clock::now();
      view->m_pEditor->m_textModel.UpdateSectionView();
      fillSeconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
      ++fills;
    }
    scene.Close(doc);
    state.ResumeTiming();
  }
  if (fills > 0) state.counters["section_view_fill_ms"] = 1000.0 * fillSeconds / fills;
}
BENCHMARK(BM_OpenToFirstPaint)->Arg(100000)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(10);

}  // namespace
