// Benchmark main: starts wx when a display is there, for the window benchmarks.
#include <benchmark/benchmark.h>
#include <wx/app.h>
#include <wx/init.h>

#include <cstdlib>

namespace {
class BenchApp : public wxApp {
 public:
  bool OnInit() override { return true; }
};
}  // namespace

wxIMPLEMENT_APP_NO_MAIN(BenchApp);

bool g_benchHasWx = false;

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (std::getenv("DISPLAY")) {
    wxApp::SetInstance(new BenchApp());
    int wxArgc = 1;
    g_benchHasWx = wxEntryStart(wxArgc, argv);
    if (g_benchHasWx) wxTheApp->CallOnInit();
  }
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  if (g_benchHasWx) wxEntryCleanup();
  return 0;
}
