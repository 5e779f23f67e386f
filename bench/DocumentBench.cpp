// Speed of the documents' file work: reading a large 8-bit source file into a
// document, and writing it back from a view's editor through the safe save.
// Files go to QUILLMARK_BENCH_DIR when set, else /tmp; the label says
// whether that is a tmpfs (where the save's sync costs nothing) or a disk.
#include <benchmark/benchmark.h>
#include <sys/vfs.h>
#include <unistd.h>
#include <wx/app.h>
#include <wx/docview.h>
#include <wx/frame.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include "app/QuillmarkDoc.h"
#include "app/QuillmarkView.h"
#include "bench/SourceGenerator.h"
#include "editor/ColorEditWnd.h"

extern bool g_benchHasWx;

namespace {

constexpr long kTmpfsMagic = 0x01021994;

std::string BenchFolder() {
  const char* folder = std::getenv("QUILLMARK_BENCH_DIR");
  return folder && *folder ? folder : "/tmp";
}

// The folder, the file's size, and for a save whether its sync costs anything.
std::string Label(const std::string& path, bool saving) {
  struct statfs fs;
  const std::string folder = BenchFolder();
  const bool tmpfs = ::statfs(folder.c_str(), &fs) == 0 && static_cast<long>(fs.f_type) == kTmpfsMagic;
  std::ifstream in(path, std::ios::binary | std::ios::ate);
  std::string label = folder + (tmpfs ? " on tmpfs" : " on disk") + ", " +
                      std::to_string(static_cast<long long>(in.tellg()) / 1024) + " KiB";
  if (saving) label += tmpfs ? ", sync not counted" : ", sync counted";
  return label;
}

// A generated source of `lines` lines, each ended by LF, in the bench folder.
std::string WriteSourceFile(int lines) {
  const std::string path = BenchFolder() + "/qm-bench-" + std::to_string(::getpid()) + ".vorn";
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  for (const std::string& line : GenerateVornSource(lines)) out << line << '\n';
  return path;
}

void BM_OpenDocument(benchmark::State& state) {
  const std::string path = WriteSourceFile(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    CQuillmarkDoc doc;
    if (!doc.OnOpenDocument(path)) {
      state.SkipWithError("cannot read the file");
      break;
    }
    benchmark::DoNotOptimize(doc.m_strText.data());
  }
  state.SetLabel(Label(path, false));
  std::remove(path.c_str());
}
BENCHMARK(BM_OpenDocument)->Arg(100000)->Unit(benchmark::kMillisecond);

// A first-generation view that makes its editor in a plain frame.
class BenchView : public CQuillmarkView {
 public:
  void Load(wxWindow* parent) {
    m_pEditor = new ColorEditWnd(parent, wxRect(0, 0, 780, 580), L"Veltrane", true);
    m_pEditor->InsertText(static_cast<CSourceDoc*>(GetDocument())->m_strText);
  }
};

void BM_SaveDocument(benchmark::State& state) {
  if (!g_benchHasWx) {
    state.SkipWithError("no display");
    return;
  }
  const std::string path = WriteSourceFile(static_cast<int>(state.range(0)));
  auto* frame = new wxFrame(nullptr, wxID_ANY, "bench", wxPoint(0, 0), wxSize(800, 600));
  auto* manager = new wxDocManager;
  auto* docTemplate = new wxDocTemplate(manager, "Vorn1 Files", "*.vorn", "", "vorn", "Quillmark.Document",
                                        "Quillmark.Document", wxCLASSINFO(CQuillmarkDoc), wxCLASSINFO(CQuillmarkView));
  auto* doc = new CQuillmarkDoc;
  doc->SetDocumentTemplate(docTemplate);
  manager->AddDocument(doc);
  if (doc->OnOpenDocument(path)) {
    auto* view = new BenchView;
    view->SetDocument(doc);
    view->Load(frame);
    for (auto _ : state) {
      if (!doc->OnSaveDocument(path)) {
        state.SkipWithError("save failed");
        break;
      }
    }
  } else {
    state.SkipWithError("cannot read the file");
  }
  state.SetLabel(Label(path, true));
  doc->Modify(false);
  manager->CloseDocuments(true);
  delete manager;
  frame->Destroy();
  wxTheApp->ProcessPendingEvents();
  std::remove(path.c_str());
}
BENCHMARK(BM_SaveDocument)->Arg(100000)->Unit(benchmark::kMillisecond);

}  // namespace
