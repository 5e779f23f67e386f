// What the main window shows across the application looks, read back from
// the screen: the tabs of every notebook, the labels of pressed, toggled and
// disabled ribbon buttons, the ribbon's tooltips, and a real program that
// starts, switches looks and ends without a word on its standard error.
#include <gtest/gtest.h>
#include <wx/app.h>
#include <wx/aui/aui.h>
#include <wx/config.h>
#include <wx/dcclient.h>
#include <wx/dcmemory.h>
#include <wx/fileconf.h>
#include <wx/filename.h>
#include <wx/frame.h>
#include <wx/ribbon/bar.h>
#include <wx/ribbon/buttonbar.h>
#include <wx/ribbon/page.h>
#include <wx/ribbon/panel.h>
#include <wx/tooltip.h>
#include <wx/uiaction.h>

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "app/ChildFrame.h"
#include "app/MainFrame.h"
#include "app/OutputWnd.h"
#include "app/RibbonHost.h"
#include "res/EditorResources.h"
#include "res/ResourceIds.h"
#include "support/ScreenGrab.h"

extern char** environ;

namespace {

void Pump() {
  for (int i = 0; i < 5; ++i) {
    wxTheApp->ProcessPendingEvents();
    while (wxTheApp->Pending()) wxTheApp->Dispatch();
    wxYield();
  }
}

bool PumpUntil(const std::function<bool()>& done, int ms) {
  for (int waited = 0; !done(); waited += 20) {
    if (waited > ms) return false;
    Pump();
    wxMilliSleep(20);
  }
  return true;
}

const std::vector<int> kLooks = {205, 206, 207, 208, 209, 210, 215, 216, 217, 218, 219};

class LooksDoc : public wxDocument {
  wxDECLARE_DYNAMIC_CLASS(LooksDoc);
};
wxIMPLEMENT_DYNAMIC_CLASS(LooksDoc, wxDocument);

class LooksView : public wxView {
 public:
  bool OnCreate(wxDocument* doc, long flags) override {
    if (!wxView::OnCreate(doc, flags)) return false;
    auto* frame = new CChildFrame(doc, this, GetMainFrame(), wxID_ANY, doc->GetUserReadableName());
    new wxWindow(frame, wxID_ANY);
    frame->Show();
    return true;
  }
  void OnDraw(wxDC*) override {}
  wxDECLARE_DYNAMIC_CLASS(LooksView);
};
wxIMPLEMENT_DYNAMIC_CLASS(LooksView, wxView);

double Brightness(const wxImage& image, int x, int y) {
  return 0.299 * image.GetRed(x, y) + 0.587 * image.GetGreen(x, y) + 0.114 * image.GetBlue(x, y);
}

using screengrab::Differing;
using screengrab::Grab;

// The rows of a strip of tabs that carry a label: rows where at least ten
// pixels stand out from the row's most common colour. A tab only a few
// pixels high shows no label, and no such rows.
int LabelRows(const wxImage& image) {
  int rows = 0;
  for (int y = 0; y < image.GetHeight(); ++y) {
    std::map<unsigned, int> counts;
    for (int x = 0; x < image.GetWidth(); ++x)
      ++counts[image.GetRed(x, y) << 16 | image.GetGreen(x, y) << 8 | image.GetBlue(x, y)];
    const unsigned common =
        std::max_element(counts.begin(), counts.end(), [](auto& a, auto& b) { return a.second < b.second; })->first;
    const double background = 0.299 * (common >> 16) + 0.587 * ((common >> 8) & 0xFF) + 0.114 * (common & 0xFF);
    int standing = 0;
    for (int x = 0; x < image.GetWidth(); ++x) standing += std::fabs(Brightness(image, x, y) - background) > 60;
    rows += standing >= 10;
  }
  return rows;
}

// The label of a large ribbon button: the rows below its image, inside its border.
wxRect LabelArea(wxRibbonButtonBar* bar, int id) {
  const wxRect button = bar->GetItemRect(id);
  return wxRect(button.x + 3, button.y + 38, button.width - 6, button.height - 41);
}

// How far the label stands out from its background: the largest brightness
// difference between a pixel and its row's median.
double LabelContrast(const wxImage& image) {
  double best = 0;
  for (int y = 0; y < image.GetHeight(); ++y) {
    std::vector<double> row;
    for (int x = 0; x < image.GetWidth(); ++x) row.push_back(Brightness(image, x, y));
    std::vector<double> sorted = row;
    std::nth_element(sorted.begin(), sorted.begin() + sorted.size() / 2, sorted.end());
    const double median = sorted[sorted.size() / 2];
    for (double b : row) best = std::max(best, std::fabs(b - median));
  }
  return best;
}

std::vector<wxRibbonButtonBar*> BarsOf(wxRibbonPage* page) {
  std::vector<wxRibbonButtonBar*> bars;
  for (wxWindow* child : page->GetChildren())
    if (auto* panel = dynamic_cast<wxRibbonPanel*>(child))
      for (wxWindow* inner : panel->GetChildren())
        if (auto* bar = dynamic_cast<wxRibbonButtonBar*>(inner)) bars.push_back(bar);
  return bars;
}

wxRibbonButtonBar* BarWith(wxRibbonPage* page, int command) {
  for (wxRibbonButtonBar* bar : BarsOf(page))
    if (bar->GetItemById(MenuItemIdOfCommand(command))) return bar;
  return nullptr;
}

class LooksTest : public ::testing::Test {
 protected:
  void SetUp() override {
    configPath_ = wxFileName::CreateTempFileName("qmlooks");
    delete wxConfigBase::Set(new wxFileConfig("QuillmarkTest", "", configPath_, "", wxCONFIG_USE_LOCAL_FILE));
    manager_ = new wxDocManager;
    kind_ = new wxDocTemplate(manager_, "Vorn1 Files (*.vorn)", "*.vorn", "", "vorn", "Quillmark", "Quillmark",
                              wxCLASSINFO(LooksDoc), wxCLASSINFO(LooksView));
    frame_ = new CMainFrame(manager_, nullptr, wxID_ANY, "Quillmark", wxPoint(0, 0), wxSize(1200, 900));
    wxTheApp->SetTopWindow(frame_);
    frame_->Show();
    Pump();
    ASSERT_TRUE(frame_->IsCreated());
  }
  void TearDown() override {
    wxUpdateUIEvent::SetUpdateInterval(0);
    manager_->CloseDocuments(true);
    Pump();
    wxTheApp->SetTopWindow(nullptr);
    frame_->Destroy();
    Pump();
    delete manager_;
    delete wxConfigBase::Set(nullptr);
    wxRemoveFile(configPath_);
  }
  void NewDocument() {
    wxDocument* doc = kind_->CreateDocument("", wxDOC_NEW);
    doc->OnNewDocument();
    Pump();
  }
  // Clicks the ribbon's tab of page `index` (0 File, 1 Home).
  void ClickPage(size_t index) {
    wxRibbonBar* ribbon = frame_->m_wndRibbonBar;
    if (ribbon->GetActivePage() == static_cast<int>(index)) return;
    const int x = index == 0 ? 75 : 140;
    wxUIActionSimulator mouse;
    mouse.MouseMove(ribbon->ClientToScreen(wxPoint(x, 10)));
    mouse.MouseClick();
    PumpUntil([&] { return ribbon->GetActivePage() == static_cast<int>(index); }, 3000);
    // Off the ribbon, so that no button is drawn hovered.
    mouse.MouseMove(frame_->ClientToScreen(wxPoint(600, 700)));
    Pump();
  }

  wxString configPath_;
  wxDocManager* manager_ = nullptr;
  wxDocTemplate* kind_ = nullptr;
  CMainFrame* frame_ = nullptr;
};

// Every notebook (the document tabs, the File/Section View tabs, the Output
// tabs) shows full tabs with their labels in every look, however often the
// look changes.
TEST_F(LooksTest, EveryNotebookKeepsFullTabsWithLabelsInEveryLook) {
  NewDocument();
  const std::vector<std::pair<const char*, wxAuiNotebook*>> notebooks = {
      {"documents", frame_->GetNotebook()}, {"side pane", frame_->m_wndPaneTabs}, {"output", frame_->m_wndOutput->m_wndTabs}};
  for (int round = 0; round < 2; ++round) {
    for (int look : kLooks) {
      frame_->OnApplicationLook(look);
      Pump();
      for (const auto& [name, notebook] : notebooks) {
        int strips = 0;
        for (wxWindow* child : notebook->GetChildren()) {
          auto* strip = dynamic_cast<wxAuiTabCtrl*>(child);
          if (!strip || !strip->IsShown()) continue;
          ++strips;
          EXPECT_GE(strip->GetSize().y, 20) << name << " in look " << look;
          EXPECT_GE(LabelRows(Grab(strip)), 6) << name << " shows no tab labels in look " << look << ", round " << round;
        }
        EXPECT_EQ(strips, 1) << name;
      }
    }
  }
}

// The toggled Status Bar button and a pressed button read well in every look:
// their labels stand out from the button's own background.
TEST_F(LooksTest, PressedAndToggledButtonLabelsReadInEveryLook) {
  wxRibbonPage* home = frame_->m_wndRibbonBar->GetPage(1);
  wxRibbonButtonBar* view = BarWith(home, ids::ID_VIEW_STATUS_BAR);
  ASSERT_NE(view, nullptr);
  const int statusBar = MenuItemIdOfCommand(ids::ID_VIEW_STATUS_BAR);
  const int output = MenuItemIdOfCommand(ids::ID_ViewOutput);
  wxUIActionSimulator mouse;
  for (int look : kLooks) {
    frame_->OnApplicationLook(look);
    ClickPage(1);
    ASSERT_TRUE(frame_->QueryCommand(ids::ID_VIEW_STATUS_BAR).checked);
    EXPECT_GE(LabelContrast(Grab(view, LabelArea(view, statusBar))), 100) << "toggled, look " << look;
    // Pressed: the mouse button held down on Output, let go elsewhere.
    const wxRect rect = view->GetItemRect(output);
    mouse.MouseMove(view->ClientToScreen(rect.GetPosition() + wxPoint(rect.width / 2, 16)));
    Pump();
    mouse.MouseDown();
    Pump();
    ASSERT_NE(view->GetActiveItem(), nullptr) << "not pressed";
    const wxImage pressed = Grab(view, LabelArea(view, output));
    mouse.MouseMove(frame_->ClientToScreen(wxPoint(600, 700)));
    Pump();
    mouse.MouseUp();
    Pump();
    EXPECT_GE(LabelContrast(pressed), 100) << "pressed, look " << look;
  }
}

// A button whose command the update rules disable shows a greyed label on
// every page, also on a page that was hidden while the rules changed, and
// shows its enabled label again once the rules enable it. Labels and tooltips
// show no mnemonic marks.
TEST_F(LooksTest, DisabledCommandsLookDisabledOnEveryPageAndFollowTheRules) {
  wxRibbonBar* ribbon = frame_->m_wndRibbonBar;
  // The label `command`'s button shows now, and the one it shows enabled.
  const auto labels = [&](wxRibbonButtonBar* bar, int command) {
    const int id = MenuItemIdOfCommand(command);
    const wxImage shown = Grab(bar, LabelArea(bar, id), false);
    wxUpdateUIEvent::SetUpdateInterval(-1);  // nothing may disable it again before it is read
    bar->EnableButton(id, true);
    const wxImage enabled = Grab(bar, LabelArea(bar, id));
    wxUpdateUIEvent::SetUpdateInterval(0);
    Pump();
    return std::make_pair(shown, enabled);
  };
  // Tooltips as the mouse shows them, and the labels, without "&"; a disabled button shows none.
  wxUIActionSimulator mouse;
  int tips = 0;
  wxString windowsTip;
  for (wxRibbonButtonBar* bar : BarsOf(ribbon->GetPage(1))) {
    for (size_t i = 0; i < bar->GetButtonCount(); ++i) {
      wxRibbonButtonBarButtonBase* button = bar->GetItem(i);
      const wxRect rect = bar->GetItemRect(bar->GetItemId(button));
      mouse.MouseMove(bar->ClientToScreen(rect.GetPosition() + wxPoint(rect.width / 2, 10)));
      Pump();
      const wxString tip = bar->GetToolTipText();
      EXPECT_FALSE(tip.Contains("&")) << tip;
      tips += !tip.empty();
      if (bar->GetItemId(button) == ids::ID_WINDOW_MANAGER) windowsTip = tip;
      auto* data = static_cast<CRibbonButtonData*>(bar->GetItemClientObject(button));
      EXPECT_FALSE(data->m_label.Contains("&")) << data->m_label;
    }
  }
  EXPECT_GE(tips, 4);
  EXPECT_TRUE(windowsTip.StartsWith("Windows...")) << windowsTip;
  const std::vector<std::pair<size_t, std::vector<int>>> disabled = {
      {0, {ids::ID_FILE_NEW_FRAME, ids::ID_FILE_SAVE, ids::ID_FILE_CLOSE}},
      {1, {ids::ID_EDIT_PASTE, ids::ID_EDIT_CUT, ids::ID_EDIT_COPY, ids::ID_EDIT_SELECT_ALL, ids::ID_TarnCompile,
           ids::ID_ButtonLoadRam, ids::ID_TarnLoadEeprom, ids::ID_EDIT_FIND}}};
  for (const auto& [page, commands] : disabled) {
    ClickPage(page);
    for (int command : commands) {
      ASSERT_FALSE(frame_->QueryCommand(command).enabled) << command;
      wxRibbonButtonBar* bar = BarWith(ribbon->GetPage(page), command);
      ASSERT_NE(bar, nullptr) << command;
      const auto [shown, enabled] = labels(bar, command);
      EXPECT_GT(Differing(shown, enabled), 20) << command << " looks enabled";
      EXPECT_GE(LabelContrast(shown), 40) << command << " cannot be read";
    }
  }
  // The rules change while the File page is hidden: with a document, Save
  // and Close run. The page shows them enabled as it comes up, before any
  // idle time.
  ClickPage(1);
  NewDocument();
  ASSERT_TRUE(frame_->QueryCommand(ids::ID_FILE_SAVE).enabled);
  wxUpdateUIEvent::SetUpdateInterval(-1);
  ribbon->SetActivePage(static_cast<size_t>(0));
  for (int command : {ids::ID_FILE_SAVE, ids::ID_FILE_CLOSE}) {
    wxRibbonButtonBar* bar = BarWith(ribbon->GetPage(0), command);
    const wxImage shown = Grab(bar, LabelArea(bar, MenuItemIdOfCommand(command)), false);
    wxUpdateUIEvent::SetUpdateInterval(0);
    Pump();
    const auto [now, enabled] = labels(bar, command);
    EXPECT_EQ(Differing(shown, enabled), 0) << command << " does not look enabled";
    EXPECT_EQ(Differing(now, enabled), 0) << command;
    wxUpdateUIEvent::SetUpdateInterval(-1);
  }
  wxUpdateUIEvent::SetUpdateInterval(0);
  ClickPage(0);
  wxRibbonButtonBar* newFrame = BarWith(ribbon->GetPage(0), ids::ID_FILE_NEW_FRAME);
  const auto [shown, enabled] = labels(newFrame, ids::ID_FILE_NEW_FRAME);
  EXPECT_GT(Differing(shown, enabled), 20) << "New Frame looks enabled";

}

// ---- the real program ----

// A run of the built program with its own folders; its standard output and
// standard error are read through pipes.
class Program {
 public:
  Program(const std::string& root, const std::vector<std::string>& args) {
    char self[4096] = {};
    if (::readlink("/proc/self/exe", self, sizeof(self) - 1) <= 0) return;
    const std::string tests = std::string(self).substr(0, std::string(self).find_last_of('/'));
    const std::string exe = tests.substr(0, tests.find_last_of('/')) + "/app/quillmark";
    std::vector<std::string> env = {"HOME=" + root + "/home", "XDG_CONFIG_HOME=" + root + "/config",
                                    "XDG_DATA_HOME=" + root + "/data", "XDG_RUNTIME_DIR=" + root + "/run",
                                    "QUILLMARK_FIRST_PAINT=1"};
    for (char** e = environ; *e; ++e) {
      const std::string entry = *e;
      const std::string name = entry.substr(0, entry.find('='));
      if (name != "HOME" && name.rfind("XDG_", 0) != 0) env.push_back(entry);
    }
    std::vector<char*> argv{const_cast<char*>(exe.c_str())}, envp;
    for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    for (std::string& e : env) envp.push_back(&e[0]);
    envp.push_back(nullptr);
    int out[2], err[2];
    if (::pipe(out) != 0 || ::pipe(err) != 0) return;
    pid_ = ::fork();
    if (pid_ == 0) {
      ::dup2(out[1], 1);
      ::dup2(err[1], 2);
      ::close_range(3, ~0U, 0);
      ::execve(exe.c_str(), argv.data(), envp.data());
      ::_exit(127);
    }
    ::close(out[1]);
    ::close(err[1]);
    out_ = out[0];
    err_ = err[0];
    for (int fd : {out_, err_}) ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) | O_NONBLOCK);
  }
  ~Program() {
    if (pid_ > 0) {
      ::kill(pid_, SIGKILL);
      ::waitpid(pid_, nullptr, 0);
    }
    for (int fd : {out_, err_})
      if (fd >= 0) ::close(fd);
  }
  const std::string& Output() { return Read(out_, output_); }
  const std::string& Errors() { return Read(err_, errors_); }
  pid_t Pid() const { return pid_; }
  // Whether the program has ended; its exit code in `code`.
  bool Ended(int* code) {
    int status = 0;
    if (pid_ > 0 && ::waitpid(pid_, &status, WNOHANG) == pid_) {
      pid_ = -1;
      exitCode_ = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    }
    *code = exitCode_;
    return pid_ <= 0;
  }

 private:
  static const std::string& Read(int fd, std::string& into) {
    char buffer[4096];
    ssize_t n;
    while (fd >= 0 && (n = ::read(fd, buffer, sizeof(buffer))) > 0) into.append(buffer, n);
    return into;
  }
  pid_t pid_ = -1;
  int out_ = -1, err_ = -1, exitCode_ = -1;
  std::string output_, errors_;
};

// The largest shown window of process `pid` at or below `window`.
Window LargestWindowOf(Display* d, Window window, pid_t pid, long* area) {
  Window best = 0;
  XWindowAttributes a;
  Atom type;
  int format;
  unsigned long count, after;
  unsigned char* data = nullptr;
  if (XGetWindowAttributes(d, window, &a) && a.map_state == IsViewable &&
      XGetWindowProperty(d, window, XInternAtom(d, "_NET_WM_PID", False), 0, 1, False, XA_CARDINAL, &type, &format,
                         &count, &after, &data) == Success && data) {
    if (count == 1 && static_cast<pid_t>(*reinterpret_cast<unsigned long*>(data)) == pid &&
        long(a.width) * a.height > *area) {
      *area = long(a.width) * a.height;
      best = window;
    }
    XFree(data);
  }
  Window root, parent, *children = nullptr;
  unsigned int n = 0;
  if (XQueryTree(d, window, &root, &parent, &children, &n)) {
    for (unsigned int i = 0; i < n; ++i)
      if (Window found = LargestWindowOf(d, children[i], pid, area)) best = found;
    if (children) XFree(children);
  }
  return best;
}

long StoredLookIn(const std::string& folder) {
  std::error_code error;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(folder, error)) {
    if (!entry.is_regular_file()) continue;
    std::ifstream in(entry.path());
    for (std::string line; std::getline(in, line);)
      if (line.rfind("ApplicationLook=", 0) == 0) return std::stol(line.substr(16));
  }
  return -1;
}

// The real program starts, paints, switches looks through its Style menu
// (clicked with the mouse, an item chosen with the keyboard), opens a second
// document handed over by another start, and ends when its window is closed, without printing anything on
// its standard error.
TEST(RealProgram, StartLookSwitchesAndExitPrintNothingOnStandardError) {
  char root[] = "/tmp/qmlooksXXXXXX";
  ASSERT_NE(::mkdtemp(root), nullptr);
  for (const char* folder : {"/home", "/config", "/data", "/run"}) ::mkdir((std::string(root) + folder).c_str(), 0700);
  {
    Program program(root, {});
    ASSERT_TRUE(PumpUntil([&] { return program.Output().find("quillmark: first paint") != std::string::npos; }, 60000))
        << program.Output() << program.Errors();
    Display* display = XOpenDisplay(nullptr);
    ASSERT_NE(display, nullptr);
    Window window = 0;
    ASSERT_TRUE(PumpUntil(
        [&] {
          long area = 0;
          window = LargestWindowOf(display, DefaultRootWindow(display), program.Pid(), &area);
          return window != 0 && area > 500 * 400;
        },
        10000));
    XWindowAttributes attributes;
    XGetWindowAttributes(display, window, &attributes);
    int left = 0, top = 0;
    Window child;
    XTranslateCoordinates(display, window, DefaultRootWindow(display), 0, 0, &left, &top, &child);
    XRaiseWindow(display, window);
    XSync(display, False);
    Pump();

    // The Style tool sits at the right end of the row above the ribbon's
    // tabs; its menu lists 215-219.
    // The simulator measures the screen through a window of this process:
    // a small one out of the program's way.
    auto* holder = new wxFrame(nullptr, wxID_ANY, "", wxPoint(1800, 1100), wxSize(40, 40));
    holder->Show();
    wxTheApp->SetTopWindow(holder);
    Pump();
    wxUIActionSimulator sim;
    const std::pair<int, long> choices[] = {{5, 219}, {2, 216}, {1, 215}, {4, 218}, {5, 219}};
    for (const auto& [downs, look] : choices) {
      bool switched = false;
      for (int attempt = 0; attempt < 5 && !switched; ++attempt) {
        sim.MouseMove(left + attributes.width - 60, top + 38);
        Pump();
        sim.MouseClick();
        wxMilliSleep(300);
        Pump();
        for (int i = 0; i < downs; ++i) {
          sim.Char(WXK_DOWN);
          Pump();
        }
        sim.Char(WXK_RETURN);
        switched = PumpUntil([&] { return StoredLookIn(std::string(root) + "/config") == look; }, 3000);
        if (!switched) {
          sim.Char(WXK_ESCAPE);
          Pump();
        }
      }
      EXPECT_TRUE(switched) << "look " << look << " was not chosen";
      wxMilliSleep(200);
      Pump();
    }

    // A second document, opened once the window is up: a second start hands
    // the file over to the running program and ends.
    const std::string second = std::string(root) + "/home/second.vorn";
    std::ofstream(second) << "CON\n  _clkmode = xtal1\n";
    {
      Program handOver(root, {second});
      int handOverCode = -1;
      EXPECT_TRUE(PumpUntil([&] { return handOver.Ended(&handOverCode); }, 20000));
      EXPECT_EQ(handOverCode, 0);
      EXPECT_EQ(handOver.Errors(), "");
    }
    const auto title = [&] {
      char* name = nullptr;
      XSync(display, False);
      std::string text;
      if (XFetchName(display, window, &name) && name) {
        text = name;
        XFree(name);
      }
      return text;
    };
    EXPECT_TRUE(PumpUntil([&] { return title().find("second") != std::string::npos; }, 5000)) << title();

    // Closed as a desktop closes a window.
    XEvent close{};
    close.xclient.type = ClientMessage;
    close.xclient.window = window;
    close.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
    close.xclient.format = 32;
    close.xclient.data.l[0] = static_cast<long>(XInternAtom(display, "WM_DELETE_WINDOW", False));
    close.xclient.data.l[1] = CurrentTime;
    XSendEvent(display, window, False, NoEventMask, &close);
    XSync(display, False);
    XCloseDisplay(display);
    int code = -1;
    EXPECT_TRUE(PumpUntil([&] { return program.Ended(&code); }, 20000)) << "the program did not end";
    wxTheApp->SetTopWindow(nullptr);
    holder->Destroy();
    Pump();
    EXPECT_EQ(code, 0);
    EXPECT_EQ(program.Errors(), "");
  }
  std::error_code error;
  std::filesystem::remove_all(root, error);
}

}  // namespace

