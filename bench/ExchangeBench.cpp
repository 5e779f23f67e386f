// Speed of text coming into the editor: loading a whole file's text into a
// fresh editor, and pasting many lines from the clipboard.
#include <benchmark/benchmark.h>
#include <wx/app.h>
#include <wx/clipbrd.h>
#include <wx/dataobj.h>
#include <wx/frame.h>

#include <functional>
#include <memory>
#include <string>

#include "bench/SourceGenerator.h"
#include "editor/ClipboardText.h"
#include "editor/ColorEditWnd.h"
#include "textmodel/SampleColorizer.h"

extern bool g_benchHasWx;

namespace {

// A shown frame holding one editor wired to a loaded colorizer, as a view
// sets it up.
class EditorHost {
 public:
  EditorHost() {
    LoadAllSets(colorizer_);
    frame_ = new wxFrame(nullptr, wxID_ANY, "bench", wxPoint(0, 0), wxSize(800, 600));
    frame_->Show();
  }
  ~EditorHost() {
    Drop();
    frame_->Destroy();
    Flush();
  }
  ColorEditWnd& Fresh() {
    Drop();
    editor_ = new ColorEditWnd(frame_, wxRect(2, 2, 796, 596), L"Veltrane", true);
    editor_->m_textModel.colorizer = &colorizer_;
    return *editor_;
  }
  static void Flush() {
    wxTheApp->ProcessPendingEvents();
    while (wxTheApp->Pending()) wxTheApp->Dispatch();
  }

 private:
  void Drop() {
    delete editor_;
    editor_ = nullptr;
  }
  CSampleColorizer colorizer_;
  wxFrame* frame_ = nullptr;
  ColorEditWnd* editor_ = nullptr;
};

void BM_InsertText(benchmark::State& state) {
  if (!g_benchHasWx) {
    state.SkipWithError("no display");
    return;
  }
  const std::wstring text = GenerateVornText(static_cast<int>(state.range(0)));
  EditorHost host;
  for (auto _ : state) {
    state.PauseTiming();
    ColorEditWnd& editor = host.Fresh();
    EditorHost::Flush();
    state.ResumeTiming();
    editor.InsertText(text);
    benchmark::DoNotOptimize(editor.m_textModel.lines.data());
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_InsertText)
    ->Arg(100000)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(10)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

// Pastes `lines` lines of text from another program (CR LF line ends) at the
// start of a line of a small source; `offer` puts the text on the clipboard.
void PasteLines(benchmark::State& state, const std::function<void(const std::wstring&)>& offer) {
  if (!g_benchHasWx) {
    state.SkipWithError("no display");
    return;
  }
  std::wstring text;
  for (wchar_t c : GenerateVornText(static_cast<int>(state.range(0)))) {
    if (c == L'\n') text += L'\r';
    text += c;
  }
  if (wxTheClipboard->Open()) {
    offer(text);
    wxTheClipboard->Close();
  }
  EditorHost host;
  for (auto _ : state) {
    state.PauseTiming();
    ColorEditWnd& editor = host.Fresh();
    editor.InsertText(L"CON\n  _clkmode = xtal1\nPUB main\n  repeat\n");
    editor.m_caretCol = 2;
    editor.m_caretLine = 3;
    editor.m_anchorCol = 2;
    editor.m_anchorLine = 3;
    EditorHost::Flush();
    state.ResumeTiming();
    editor.Paste();
    if (editor.m_textModel.LineCount() < state.range(0)) state.SkipWithError("nothing pasted");
    benchmark::DoNotOptimize(editor.m_textModel.lines.data());
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
  if (wxTheClipboard->Open()) {
    wxTheClipboard->Clear();
    wxTheClipboard->Close();
  }
}

// The text held by a toolkit text object in this process: its encoding to
// UTF-8 for the transfer is part of the time.
void BM_PasteLines(benchmark::State& state) {
  PasteLines(state, [](const std::wstring& text) { wxTheClipboard->SetData(new wxTextDataObject(wxString(text))); });
}
BENCHMARK(BM_PasteLines)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

// The text handed over as ready UTF-8 bytes, as a program in another process
// does at its own cost: the time of the receiving side alone.
void BM_PasteUtf8Lines(benchmark::State& state) {
  PasteLines(state, [](const std::wstring& text) {
    const wxString wide(text);
    const wxScopedCharBuffer utf8 = wide.utf8_str();  // may point into `wide`
    auto* data = new Utf8ClipboardText();
    data->SetData(utf8.length(), utf8.data());
    wxTheClipboard->SetData(data);
  });
}
BENCHMARK(BM_PasteUtf8Lines)->Arg(100000)->Unit(benchmark::kMillisecond);

}  // namespace
