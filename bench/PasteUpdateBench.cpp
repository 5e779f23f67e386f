// Speed of one update-UI question for Paste, as every update pass of the
// ribbon and menus asks it, with text of another owner and of this program
// on the clipboard.
#include <benchmark/benchmark.h>
#include <wx/app.h>
#include <wx/clipbrd.h>
#include <wx/dataobj.h>
#include <wx/docview.h>

#include "app/MainFrame.h"
#include "app/QuillmarkDoc.h"
#include "app/QuillmarkView.h"
#include "bench/BenchWx.h"
#include "res/ResourceIds.h"

namespace {

// A shown main frame with one new first-generation document.
class PasteScene {
 public:
  PasteScene() {
    manager_ = new wxDocManager();
    new wxDocTemplate(manager_, "Quillmark", "*.vorn", "", "vorn", "Quillmark", "Quillmark",
                      wxCLASSINFO(CQuillmarkDoc), wxCLASSINFO(CQuillmarkView));
    frame_ = new CMainFrame(manager_, nullptr, wxID_ANY, "Quillmark", wxPoint(0, 0), wxSize(1000, 700));
    wxTheApp->SetTopWindow(frame_);
    frame_->Show();
    doc_ = manager_->CreateDocument(wxEmptyString, wxDOC_NEW);
    Pump();
  }
  wxView* View() const { return doc_ ? doc_->GetFirstView() : nullptr; }

 private:
  wxDocManager* manager_ = nullptr;
  CMainFrame* frame_ = nullptr;
  wxDocument* doc_ = nullptr;
};

PasteScene& Scene() {
  static PasteScene* scene = new PasteScene();
  return *scene;
}

void SetClipboard(const wxString& text) {
  if (!wxTheClipboard->Open()) return;
  if (text.empty())
    wxTheClipboard->Clear();
  else
    wxTheClipboard->SetData(new wxTextDataObject(text));
  wxTheClipboard->Close();
}

// Arg 0: nothing on the clipboard (no owner answers); 1: this program's text.
void BM_PasteUpdate(benchmark::State& state) {
  if (!g_benchHasWx) {
    state.SkipWithError("no display");
    return;
  }
  wxView* view = Scene().View();
  if (!view) {
    state.SkipWithError("no view");
    return;
  }
  SetClipboard(state.range(0) ? wxString("text") : wxString());
  Pump();
  for (auto _ : state) {
    wxUpdateUIEvent update(ids::ID_EDIT_PASTE);
    view->ProcessEvent(update);
    benchmark::DoNotOptimize(update.GetEnabled());
  }
}
BENCHMARK(BM_PasteUpdate)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

}  // namespace
