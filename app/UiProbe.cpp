// The probe: a Unix socket served from wx's event loop (socket notifications,
// no timer, no idle handler) that reports where the main window's controls
// are, for tests that drive the program with real input.
#include "app/UiProbe.h"

#include <wx/app.h>
#include <wx/aui/auibar.h>
#include <wx/aui/auibook.h>
#include <wx/button.h>
#include <wx/caret.h>
#include <wx/dialog.h>
#include <wx/docview.h>
#include <wx/filename.h>
#include <wx/menu.h>
#include <wx/ribbon/bar.h>
#include <wx/ribbon/buttonbar.h>
#include <wx/ribbon/page.h>
#include <wx/socket.h>
#include <wx/statusbr.h>

#include <sys/stat.h>

#include <cstdio>
#include <functional>
#include <map>
#include <memory>
#include <string>

#include "app/ClassView.h"
#include "app/FileView.h"
#include "app/MainFrame.h"
#include "app/OutputWnd.h"
#include "app/RibbonHost.h"
#include "app/SourceView.h"
#include "app/ViewTree.h"
#include "editor/ColorEditWnd.h"

namespace {

constexpr size_t kMaxRequest = 256;

// The toolkit keeps these lists to itself; a member pointer taken through a
// derived class reads them without touching anything.
struct RibbonPages : wxRibbonBar {
  static const wxRibbonPageTabInfoArray& Of(const wxRibbonBar& bar) { return bar.*(&RibbonPages::m_pages); }
};
struct DockParts : wxAuiManager {
  static const wxAuiDockUIPartArray& Of(const wxAuiManager& manager) { return manager.*(&DockParts::m_uiParts); }
};
struct TabButtons : wxAuiTabContainer {
  static const wxAuiTabContainerButtonArray& Of(const wxAuiTabContainer& tabs) {
    return tabs.*(&TabButtons::m_tabCloseButtons);
  }
};

// One field: no tabs or line breaks inside.
std::string Field(const wxString& text) {
  std::string s = text.utf8_string();
  for (char& c : s)
    if (c == '\t' || c == '\n' || c == '\r') c = ' ';
  return s;
}

class Report {
 public:
  void Control(const std::string& name, const wxRect& screen, bool shown, bool enabled, bool checked,
               const wxString& text = wxString()) {
    m_out += name + '\t' + std::to_string(screen.x) + '\t' + std::to_string(screen.y) + '\t' +
             std::to_string(screen.width) + '\t' + std::to_string(screen.height) + '\t' + (shown ? "1" : "0") +
             '\t' + (enabled ? "1" : "0") + '\t' + (checked ? "1" : "0") + '\t' + Field(text) + '\n';
  }
  void Window(const std::string& name, wxWindow* window, bool checked = false, const wxString& text = wxString()) {
    if (!window) return;
    Control(name, window->GetScreenRect(), window->IsShownOnScreen(), window->IsEnabled(), checked, text);
  }
  void Line(std::initializer_list<std::string> fields) {
    bool first = true;
    for (const std::string& f : fields) {
      if (!first) m_out += '\t';
      m_out += f;
      first = false;
    }
    m_out += '\n';
  }
  const std::string& Text() const { return m_out; }

 private:
  std::string m_out;
};

wxRect ToScreen(wxWindow* window, const wxRect& client) {
  return wxRect(window->ClientToScreen(client.GetTopLeft()), client.GetSize());
}

void NotebookTabs(Report& report, const std::string& prefix, wxAuiNotebook* book) {
  if (!book) return;
  const int selected = book->GetSelection();
  for (size_t i = 0; i < book->GetPageCount(); ++i) {
    wxAuiTabCtrl* ctrl = nullptr;
    int index = 0;
    if (!book->FindTab(book->GetPage(i), &ctrl, &index) || !ctrl) continue;
    const wxAuiNotebookPage& page = ctrl->GetPage(static_cast<size_t>(index));
    const std::string name = prefix + std::to_string(i);
    report.Control(name, ToScreen(ctrl, page.rect), ctrl->IsShownOnScreen() && page.rect.width > 0,
                   book->IsEnabled(), static_cast<int>(i) == selected, book->GetPageText(i));
    const wxAuiTabContainerButtonArray& close = TabButtons::Of(*ctrl);
    if (static_cast<size_t>(index) < close.size()) {
      const wxAuiTabContainerButton& button = close[static_cast<size_t>(index)];
      report.Control(name + ".close", ToScreen(ctrl, button.rect),
                     ctrl->IsShownOnScreen() && button.curState != wxAUI_BUTTON_STATE_HIDDEN &&
                         button.rect.width > 0,
                     true, false);
    }
  }
}

void Tools(Report& report, const std::string& prefix, wxAuiToolBar* bar) {
  if (!bar) return;
  for (size_t i = 0; i < bar->GetToolCount(); ++i) {
    wxAuiToolBarItem* tool = bar->FindToolByIndex(static_cast<int>(i));
    if (!tool) continue;
    const wxString label = tool->GetLabel().empty() ? tool->GetShortHelp() : tool->GetLabel();
    report.Control(prefix + std::to_string(i), ToScreen(bar, bar->GetToolRect(tool->GetId())),
                   bar->IsShownOnScreen(), bar->GetToolEnabled(tool->GetId()), false,
                   wxString::Format("%d ", tool->GetId()) + label);
  }
}

void ButtonBars(Report& report, CMainFrame& frame, wxWindow* parent, bool activePage) {
  for (wxWindow* child : parent->GetChildren()) {
    if (auto* bar = dynamic_cast<wxRibbonButtonBar*>(child)) {
      for (size_t n = 0; n < bar->GetButtonCount(); ++n) {
        wxRibbonButtonBarButtonBase* button = bar->GetItem(n);
        const int id = bar->GetItemId(button);
        auto* data = dynamic_cast<CRibbonButtonData*>(bar->GetItemClientObject(button));
        const int command = data && data->m_item ? data->m_item->command : 0;
        const char* kind = "button";
        if (data && data->m_item) {
          switch (data->m_item->kind) {
            case RibbonItemKind::CheckBox: kind = "toggle"; break;
            case RibbonItemKind::MenuButton: kind = command ? "hybrid" : "dropdown"; break;
            case RibbonItemKind::RecentFileList: kind = "dropdown"; break;
            default: break;
          }
        }
        const std::string name = command ? "ribbon.button." + std::to_string(command) : "ribbon.button.recent";
        const bool enabled = command ? frame.QueryCommand(command).enabled : true;
        report.Control(name, ToScreen(bar, bar->GetItemRect(id)), activePage && bar->IsShownOnScreen(), enabled,
                       false, wxString(kind) + " " + (data ? data->m_label : wxString()));
      }
    } else {
      ButtonBars(report, frame, child, activePage);
    }
  }
}

void Tree(Report& report, const std::string& prefix, CViewTree* tree) {
  if (!tree) return;
  wxTreeItemId root = tree->GetRootItem();
  if (!root.IsOk()) return;
  int n = 0;
  auto one = [&](const wxTreeItemId& item) {
    wxRect rect;
    const bool visible = tree->GetBoundingRect(item, rect, true);
    report.Control(prefix + std::to_string(n++), ToScreen(tree, rect), visible && tree->IsShownOnScreen(), true,
                   false, tree->GetItemText(item));
  };
  // The root and two levels under it: all these trees have.
  one(root);
  wxTreeItemIdValue cookie;
  for (wxTreeItemId item = tree->GetFirstChild(root, cookie); item.IsOk(); item = tree->GetNextChild(root, cookie)) {
    one(item);
    wxTreeItemIdValue inner;
    for (wxTreeItemId sub = tree->GetFirstChild(item, inner); sub.IsOk(); sub = tree->GetNextChild(item, inner))
      one(sub);
  }
}

ColorEditWnd* ActiveEditor(CMainFrame& frame) {
  auto* child = dynamic_cast<wxDocChildFrameAnyBase*>(frame.GetActiveChild());
  auto* view = child ? dynamic_cast<CSourceView*>(child->GetView()) : nullptr;
  return view ? view->m_pEditor : nullptr;
}

void Dialogs(Report& report, CMainFrame* frame) {
  int n = 0;
  for (wxWindow* top : wxTopLevelWindows) {
    if (top == frame || !top->IsShown()) continue;
    auto* dialog = dynamic_cast<wxDialog*>(top);
    const std::string name = "dialog." + std::to_string(n++);
    report.Window(name, top, dialog && dialog->IsModal(), top->GetLabel());
    int k = 0;
    std::function<void(wxWindow*)> buttons = [&](wxWindow* window) {
      for (wxWindow* child : window->GetChildren()) {
        if (dynamic_cast<wxAnyButton*>(child)) report.Window(name + ".button." + std::to_string(k++), child, false,
                                                             wxStripMenuCodes(child->GetLabel()));
        buttons(child);
      }
    };
    buttons(top);
  }
}

std::string Rects(wxMenu* popup) {
  Report report;
  CMainFrame* frame = GetMainFrame();
  if (!frame) return "none\n";
  report.Window("frame", frame, frame->IsActive(), frame->GetTitle());
  report.Control("client", wxRect(frame->ClientToScreen(wxPoint(0, 0)), frame->GetClientSize()),
                 frame->IsShownOnScreen(), true, false);
  report.Window("menubar", frame->GetMenuBar());
  report.Window("statusbar", frame->GetStatusBar());
  NotebookTabs(report, "doc.tab.", frame->GetNotebook());
  NotebookTabs(report, "side.tab.", frame->m_wndPaneTabs);
  if (frame->m_wndOutput) NotebookTabs(report, "output.tab.", frame->m_wndOutput->m_wndTabs);
  report.Window("pane.side", frame->m_wndPaneTabs);
  report.Window("pane.output", frame->m_wndOutput);

  const wxAuiDockUIPartArray& parts = DockParts::Of(frame->m_mgr);
  for (size_t i = 0; i < parts.GetCount(); ++i) {
    const wxAuiDockUIPart& part = parts.Item(i);
    if (!part.pane) continue;
    const std::string pane = part.pane->name.utf8_string();
    if (part.type == wxAuiDockUIPart::typeCaption)
      report.Control("pane." + pane + ".caption", ToScreen(frame, part.rect), part.pane->IsShown(), true, false,
                     part.pane->caption);
    else if (part.type == wxAuiDockUIPart::typePaneButton && part.button == wxAUI_BUTTON_CLOSE)
      report.Control("pane." + pane + ".close", ToScreen(frame, part.rect), part.pane->IsShown(), true, false);
  }

  if (wxRibbonBar* ribbon = frame->m_wndRibbonBar) {
    const wxRibbonPageTabInfoArray& pages = RibbonPages::Of(*ribbon);
    const int active = ribbon->GetActivePage();
    for (size_t i = 0; i < pages.size(); ++i) {
      wxRibbonPage* page = pages[i].page;
      report.Control("ribbon.page." + std::to_string(i), ToScreen(ribbon, pages[i].rect),
                     ribbon->IsShownOnScreen() && pages[i].shown, true, static_cast<int>(i) == active,
                     page ? page->GetLabel() : wxString());
      if (page) ButtonBars(report, *frame, page, static_cast<int>(i) == active);
    }
  }
  if (CRibbonHost* host = frame->m_wndRibbonHost) {
    Tools(report, "qat.", host->m_quickAccess);
    Tools(report, "tabbar.", host->m_tabBarTools);
  }

  if (ColorEditWnd* editor = ActiveEditor(*frame)) {
    report.Window("editor", editor, wxWindow::FindFocus() == editor);
    if (wxCaret* caret = editor->GetCaret())
      report.Control("caret", ToScreen(editor, wxRect(caret->GetPosition(), caret->GetSize())), caret->IsVisible(),
                     true, false);
  }
  if (frame->m_wndClassView) Tree(report, "section.item.", frame->m_wndClassView->m_wndSectionTree);
  if (frame->m_wndFileView) Tree(report, "file.item.", frame->m_wndFileView->m_wndFileTree);
  Dialogs(report, frame);
  if (popup) report.Line({"popup", "open"});
  return report.Text();
}

// Which of the main window's parts holds `window`.
std::string PartOf(CMainFrame* frame, wxWindow* window) {
  ColorEditWnd* editor = frame ? ActiveEditor(*frame) : nullptr;
  for (wxWindow* w = window; w; w = w->GetParent()) {
    if (editor && w == editor) return "editor";
    if (dynamic_cast<ColorEditWnd*>(w)) return "other-editor";
    if (!frame) break;
    if (w == frame->m_wndClassView) return "section";
    if (w == frame->m_wndFileView) return "file";
    if (w == frame->m_wndOutput) return "output";
    if (w == frame->m_wndRibbonHost) return "ribbon";
    if (w == frame->GetNotebook()) return "documents";
    if (w == frame) return "frame";
    if (w->IsTopLevel()) return "dialog";
  }
  return "none";
}

std::string State() {
  Report report;
  CMainFrame* frame = GetMainFrame();
  wxWindow* focus = wxWindow::FindFocus();
  report.Line({"focus", PartOf(frame, focus),
               focus ? Field(focus->GetClassInfo()->GetClassName()) : std::string("none")});
  if (!frame) return report.Text();
  wxDocument* active = frame->GetActiveDocument();
  if (wxDocManager* manager = frame->GetDocumentManager()) {
    int n = 0;
    for (wxDocument* doc : manager->GetDocumentsVector())
      report.Line({"document", std::to_string(n++), doc == active ? "active" : "-", doc->IsModified() ? "1" : "0",
                   Field(doc->GetUserReadableName()), Field(doc->GetFilename())});
  }
  report.Line({"look", std::to_string(frame->m_nAppLook)});
  wxAuiPaneInfoArray& panes = frame->m_mgr.GetAllPanes();
  for (size_t i = 0; i < panes.GetCount(); ++i)
    report.Line({"pane", Field(panes.Item(i).name), panes.Item(i).IsShown() ? "1" : "0"});
  if (frame->m_wndPaneTabs) report.Line({"sidepage", std::to_string(frame->m_wndPaneTabs->GetSelection())});
  if (frame->m_wndOutput && frame->m_wndOutput->m_wndTabs)
    report.Line({"outputpage", std::to_string(frame->m_wndOutput->m_wndTabs->GetSelection())});
  if (frame->GetStatusBar()) report.Line({"statusbar", frame->GetStatusBar()->IsShown() ? "1" : "0"});
  if (ColorEditWnd* editor = ActiveEditor(*frame)) report.Line({"editor", editor->IsShown() ? "1" : "0"});
  Dialogs(report, frame);
  return report.Text();
}

void MenuItems(Report& report, const std::string& prefix, wxMenu* menu) {
  int n = 0;
  for (wxMenuItem* item : menu->GetMenuItems()) {
    const std::string path = prefix + "." + std::to_string(n++);
    const char* kind = item->IsSeparator() ? "separator"
                       : item->IsSubMenu() ? "submenu"
                       : item->IsCheckable() ? "check"
                                             : "item";
    report.Line({"item", path, std::to_string(item->GetId()), kind, item->IsEnabled() ? "1" : "0",
                 item->IsCheckable() && item->IsChecked() ? "1" : "0", Field(item->GetItemLabelText())});
    if (item->IsSubMenu()) MenuItems(report, path, item->GetSubMenu());
  }
}

std::string Menus(wxMenu* popup) {
  Report report;
  CMainFrame* frame = GetMainFrame();
  if (wxMenuBar* bar = frame ? frame->GetMenuBar() : nullptr) {
    for (size_t i = 0; i < bar->GetMenuCount(); ++i) {
      wxMenu* menu = bar->GetMenu(i);
      report.Line({"menu", "m" + std::to_string(i), menu == popup ? "open" : "-", Field(bar->GetMenuLabelText(i))});
      MenuItems(report, "m" + std::to_string(i), menu);
    }
  }
  if (popup && !popup->GetMenuBar()) {
    report.Line({"menu", "popup", "open", ""});
    MenuItems(report, "popup", popup);
  }
  return report.Text();
}

std::string Output() {
  Report report;
  CMainFrame* frame = GetMainFrame();
  if (!frame || !frame->m_wndOutput || !frame->m_wndOutput->m_wndOutputBuild) return report.Text();
  COutputList* list = frame->m_wndOutput->m_wndOutputBuild;
  const unsigned count = list->GetCount();
  report.Line({"count", std::to_string(count)});
  for (unsigned i = count > 200 ? count - 200 : 0; i < count; ++i)
    report.Line({"build", std::to_string(i), Field(list->GetString(i))});
  return report.Text();
}

class CUiProbe : public wxEvtHandler, public wxEventFilter {
 public:
  explicit CUiProbe(const wxString& path) : m_path(path) {}

  ~CUiProbe() override {
    wxEvtHandler::RemoveFilter(this);
    for (auto& client : m_clients) client.first->Destroy();
    if (m_server) {
      m_server->Destroy();
      wxRemoveFile(m_path);
    }
  }

  bool Start() {
    if (wxFileName::Exists(m_path)) return false;  // never take over someone else's socket
    wxUNIXaddress address;
    address.Filename(m_path);
    // The socket is the user's alone from the moment it exists.
    const mode_t old = ::umask(077);
    m_server = new wxSocketServer(address, wxSOCKET_NOWAIT);
    ::umask(old);
    if (!m_server->IsOk()) {
      m_server->Destroy();
      m_server = nullptr;
      return false;
    }
    m_server->SetEventHandler(*this, kServer);
    m_server->SetNotify(wxSOCKET_CONNECTION_FLAG);
    m_server->Notify(true);
    Bind(wxEVT_SOCKET, &CUiProbe::OnServer, this, kServer);
    Bind(wxEVT_SOCKET, &CUiProbe::OnClient, this, kClient);
    wxEvtHandler::AddFilter(this);
    return true;
  }

  // Remembers the menu that is open, for "menus".
  int FilterEvent(wxEvent& event) override {
    const wxEventType type = event.GetEventType();
    if (type == wxEVT_MENU_OPEN) {
      m_openMenu = static_cast<wxMenuEvent&>(event).GetMenu();
      m_highlighted = wxID_NONE;
    } else if (type == wxEVT_MENU_CLOSE) {
      if (static_cast<wxMenuEvent&>(event).GetMenu() == m_openMenu) m_openMenu = nullptr;
    } else if (type == wxEVT_MENU_HIGHLIGHT) {
      m_highlighted = static_cast<wxMenuEvent&>(event).GetMenuId();
    }
    return Event_Skip;
  }

 private:
  enum { kServer = 1, kClient = 2 };

  void OnServer(wxSocketEvent&) {
    wxSocketBase* client = m_server->Accept(false);
    if (!client) return;
    client->SetFlags(wxSOCKET_NOWAIT);
    client->SetEventHandler(*this, kClient);
    client->SetNotify(wxSOCKET_INPUT_FLAG | wxSOCKET_LOST_FLAG);
    client->Notify(true);
    m_clients[client];
  }

  void Drop(wxSocketBase* client) {
    m_clients.erase(client);
    client->Notify(false);
    client->Destroy();
  }

  void OnClient(wxSocketEvent& event) {
    wxSocketBase* client = event.GetSocket();
    auto found = m_clients.find(client);
    if (found == m_clients.end()) return;
    if (event.GetSocketEvent() == wxSOCKET_LOST) return Drop(client);
    char buffer[kMaxRequest];
    client->Read(buffer, sizeof buffer);
    std::string& request = found->second;
    request.append(buffer, client->LastCount());
    const size_t end = request.find('\n');
    if (end == std::string::npos) {
      if (request.size() > kMaxRequest) Drop(client);
      return;
    }
    const std::string line = request.substr(0, end);
    std::string answer;
    if (line == "rects") answer = Rects(m_openMenu);
    else if (line == "state") answer = State();
    else if (line == "menus") answer = Menus(m_openMenu) + "highlight\t" + std::to_string(m_highlighted) + "\n";
    else if (line == "output") answer = Output();
    else if (line == "ping") answer = "pong\n";
    else return Drop(client);
    answer += "end\n";
    client->SetFlags(wxSOCKET_WAITALL | wxSOCKET_BLOCK);
    client->Write(answer.data(), static_cast<wxUint32>(answer.size()));
    Drop(client);
  }

  wxString m_path;
  wxSocketServer* m_server = nullptr;
  std::map<wxSocketBase*, std::string> m_clients;
  wxMenu* m_openMenu = nullptr;
  int m_highlighted = wxID_NONE;  // the menu item last highlighted
};

std::unique_ptr<CUiProbe>& Probe() {
  static std::unique_ptr<CUiProbe> probe;
  return probe;
}

}  // namespace

void StartUiProbeFromEnvironment() {
  wxString path;
  if (!wxGetEnv("QUILLMARK_PROBE", &path) || path.empty() || Probe()) return;
  auto probe = std::make_unique<CUiProbe>(path);
  if (!probe->Start()) {
    std::fprintf(stderr, "quillmark: cannot listen on %s\n", static_cast<const char*>(path.utf8_str()));
    return;
  }
  Probe() = std::move(probe);
}

void StopUiProbe() { Probe().reset(); }
