// The main frame's creation, its panes, the application looks, the caption
// and go-to-line.
#include "app/MainFrame.h"

#include <wx/app.h>
#include <wx/aui/tabart.h>
#include <wx/artprov.h>
#include <wx/aui/auibook.h>
#include <wx/config.h>
#include <wx/dcclient.h>
#include <wx/menu.h>
#include <wx/ribbon/bar.h>
#include <wx/statusbr.h>
#include <wx/utils.h>

#include <algorithm>

#include "app/AppLook.h"
#include "app/ChildFrame.h"
#include "app/ClassView.h"
#include "app/FileView.h"
#include "app/GotoLineEvent.h"
#include "app/OneLineName.h"
#include "app/OutputWnd.h"
#include "app/PaneEdge.h"
#include "app/RibbonHost.h"
#include "res/EditorResources.h"
#include "res/ShellResources.h"

namespace {

// The width the tabs of `notebook` take side by side, their labels whole,
// with a little room to spare.
int TabsWidth(wxAuiNotebook* notebook) {
  wxAuiTabArt* art = notebook->GetArtProvider();
  if (!art) return 0;
  wxClientDC dc(notebook);
  int width = art->GetIndentSize();
  for (size_t page = 0; page < notebook->GetPageCount(); ++page) {
    int extent = 0;
    const wxSize tab = art->GetTabSize(dc, notebook, notebook->GetPageText(page), notebook->GetPageBitmap(page),
                                       true, wxAUI_BUTTON_STATE_HIDDEN, &extent);
    width += std::max(extent, tab.x);
  }
  return width + 16;
}
constexpr const char* kLookKey = "/Workspace/ApplicationLook";
constexpr const char* kRibbonPane = "Ribbon";
constexpr const char* kSidePane = "FileAndSectionView";
constexpr const char* kOutputPane = "Output";

bool IsInside(const wxWindow* window, const wxWindow* ancestor) {
  for (; window; window = window->GetParent())
    if (window == ancestor) return true;
  return false;
}

// The tab strip of the documents. Choosing a document, by a click on its tab
// or by activating its window, leaves the keyboard focus in that document:
// the strip takes the focus itself when its active tab is chosen again (also
// when a document's window is activated after it was opened) and keeps it
// when another tab is clicked meanwhile; it hands it to the document.
class CDocumentTabs : public wxAuiMDIClientWindow {
 public:
  explicit CDocumentTabs(wxAuiMDIParentFrame* parent) : wxAuiMDIClientWindow(parent) {
    // Its docking manager erases nothing (see the frame's constructor).
    SetBackgroundStyle(wxBG_STYLE_PAINT);
  }

  int SetSelection(size_t page) override {
    const int previous = wxAuiMDIClientWindow::SetSelection(page);
    wxWindow* current = GetCurrentPage();
    if (current && !IsBeingDeleted() && !current->IsBeingDeleted() && !IsInside(FindFocus(), current))
      current->SetFocus();
    return previous;
  }
};
}  // namespace

wxIMPLEMENT_CLASS(CMainFrame, wxAuiMDIParentFrame);

// clang-format off
wxBEGIN_EVENT_TABLE(CMainFrame, wxAuiMDIParentFrame)
  EVT_MENU_RANGE(kFirstAliasedItem, kLastAliasedItem, CMainFrame::OnAliasedCommand)
  EVT_UPDATE_UI_RANGE(kFirstAliasedItem, kLastAliasedItem, CMainFrame::OnAliasedUpdate)
  EVT_MENU(ids::ID_WINDOW_MANAGER, CMainFrame::OnWindowManager)
  EVT_UPDATE_UI(ids::ID_WINDOW_MANAGER, CMainFrame::OnUpdateEnabled)
  EVT_MENU_RANGE(ids::ID_VIEW_APPLOOK_FIRST, ids::ID_VIEW_APPLOOK_LAST, CMainFrame::OnLookCommand)
  EVT_UPDATE_UI_RANGE(ids::ID_VIEW_APPLOOK_FIRST, ids::ID_VIEW_APPLOOK_LAST, CMainFrame::OnUpdateApplicationLook)
  EVT_MENU(ids::ID_VIEW_FILEVIEW, CMainFrame::OnViewFileView)
  EVT_UPDATE_UI(ids::ID_VIEW_FILEVIEW, CMainFrame::OnUpdateEnabled)
  EVT_MENU(ids::ID_VIEW_CLASSVIEW, CMainFrame::OnViewClassView)
  EVT_UPDATE_UI(ids::ID_VIEW_CLASSVIEW, CMainFrame::OnUpdateEnabled)
  EVT_MENU(ids::ID_VIEW_OUTPUTWND, CMainFrame::OnViewOutputWindow)
  EVT_UPDATE_UI(ids::ID_VIEW_OUTPUTWND, CMainFrame::OnUpdateEnabled)
  EVT_SYS_COLOUR_CHANGED(CMainFrame::OnSysColourChanged)
  EVT_MENU(ids::ID_ShowClassView, CMainFrame::OnViewClassView)
  EVT_MENU(ids::ID_ViewFileView, CMainFrame::OnViewFileView)
  EVT_MENU(ids::ID_ViewOutput, CMainFrame::OnViewOutputWindow)
  EVT_COMMAND(wxID_ANY, EVT_GOTO_LINE, CMainFrame::OnGotoLine)
  // File, Window and View commands the frame carries out itself.
  EVT_MENU(ids::ID_FILE_NEW, CMainFrame::OnFileNew)
  EVT_MENU(ids::ID_FILE_OPEN, CMainFrame::OnFileOpen)
  EVT_MENU(ids::ID_FILE_CLOSE, CMainFrame::OnFileClose)
  EVT_MENU(ids::ID_FILE_SAVE, CMainFrame::OnFileSave)
  EVT_MENU(ids::ID_FILE_SAVE_AS, CMainFrame::OnFileSaveAs)
  EVT_UPDATE_UI_RANGE(ids::ID_FILE_CLOSE, ids::ID_FILE_SAVE_AS, CMainFrame::OnUpdateNeedsDocument)
  EVT_MENU_RANGE(ids::ID_FILE_MRU_FILE1, ids::ID_FILE_MRU_FILE1 + ids::ID_FILE_MRU_COUNT - 1, CMainFrame::OnRecentFile)
  EVT_UPDATE_UI_RANGE(ids::ID_FILE_MRU_FILE1, ids::ID_FILE_MRU_FILE1 + ids::ID_FILE_MRU_COUNT - 1,
                      CMainFrame::OnUpdateRecentFile)
  EVT_MENU(ids::ID_FILE_PRINT_SETUP, CMainFrame::OnFilePrintSetup)
  EVT_MENU(ids::ID_WINDOW_NEW, CMainFrame::OnWindowNew)
  EVT_UPDATE_UI(ids::ID_WINDOW_NEW, CMainFrame::OnUpdateNeedsDocument)
  EVT_MENU(ids::ID_APP_EXIT, CMainFrame::OnAppExit)
  EVT_MENU(ids::ID_NEXT_PANE, CMainFrame::OnNextPane)
  EVT_MENU(ids::ID_PREV_PANE, CMainFrame::OnPrevPane)
  EVT_MENU(ids::ID_VIEW_STATUS_BAR, CMainFrame::OnViewStatusBar)
  EVT_UPDATE_UI(ids::ID_VIEW_STATUS_BAR, CMainFrame::OnUpdateViewStatusBar)
  EVT_MENU_OPEN(CMainFrame::OnMenuOpen)
  EVT_IDLE(CMainFrame::OnIdle)
wxEND_EVENT_TABLE()
// clang-format on

CMainFrame* GetMainFrame() {
  if (!wxTheApp) return nullptr;
  auto* frame = dynamic_cast<CMainFrame*>(wxTheApp->GetTopWindow());
  return frame && !frame->IsBeingDeleted() ? frame : nullptr;
}

CMainFrame::CMainFrame(wxDocManager* manager, wxFrame* parent, wxWindowID id, const wxString& title,
                       const wxPoint& pos, const wxSize& size, long style)
    : m_appTitle(title) {
  long look = ids::ID_VIEW_APPLOOK_VS_2008;
  if (wxConfigBase* config = wxConfigBase::Get(false)) {
    if (!config->Read(kLookKey, &look)) look = ids::ID_VIEW_APPLOOK_VS_2008;
  }
  m_nAppLook = static_cast<int>(look);

  if (!Create(manager, parent, id, title, pos, size, style)) return;
  // The documents' own Window menu (New Window, Windows...) replaces the one
  // the tabbed frame would add.
  SetWindowMenu(nullptr);

  // Document tabs on top, swappable, the close button on the active tab, a
  // list of the documents at the right end.
  GetNotebook()->SetWindowStyleFlag(wxAUI_NB_TOP | wxAUI_NB_TAB_MOVE | wxAUI_NB_SCROLL_BUTTONS |
                                    wxAUI_NB_CLOSE_ON_ACTIVE_TAB | wxAUI_NB_WINDOWLIST_BUTTON);

  m_mgr.SetManagedWindow(this);
  m_mgr.SetFlags(wxAUI_MGR_DEFAULT | wxAUI_MGR_ALLOW_ACTIVE_PANE);
  // The docking manager paints the frame's own area and leaves its erase
  // events undone; without an erase step no erase context is made for each
  // paint (its set-up asks the theme for the frame's font and colours, also
  // when the paint is of a few rows of a document's editor).
  SetBackgroundStyle(wxBG_STYLE_PAINT);

  // The stored look is known before anything is built: the ribbon and the
  // tabs are made in it, not made once more when it is applied.
  RememberOffice2007Style(m_nAppLook);
  const AppLookScheme scheme = AppLookSchemeOf(m_nAppLook);
  m_mgr.SetArtProvider(MakeDockArt(scheme));
  SetArtProvider(MakeTabArt(scheme));

  m_wndRibbonHost = new CRibbonHost(this, manager, scheme);
  m_wndRibbonBar = m_wndRibbonHost->m_wndRibbonBar;

  m_wndStatusBar = CreateStatusBar(2);
  if (!m_wndStatusBar) return;
  const int widths[] = {-1, 120};
  m_wndStatusBar->SetStatusWidths(2, widths);
  SetStatusText(LoadShellString(ids::IDS_STATUS_PANE1), 0);
  SetStatusText(LoadShellString(ids::IDS_STATUS_PANE2), 1);
  // The two fields keep their texts: menu prompts go nowhere.
  SetStatusBarPane(-1);

  if (!CreateDockingWindows(scheme)) return;

  m_mgr.AddPane(m_wndRibbonHost, wxAuiPaneInfo()
                                     .Name(kRibbonPane)
                                     .Top()
                                     .Layer(3)
                                     .CaptionVisible(false)
                                     .PaneBorder(false)
                                     .Gripper(false)
                                     .Floatable(false)
                                     .Movable(false)
                                     .Dockable(false)
                                     .Resizable(false)
                                     .CloseButton(false)
                                     .MinSize(m_wndRibbonHost->GetBestSize()));
  m_mgr.AddPane(m_wndPaneTabs, wxAuiPaneInfo()
                                   .Name(kSidePane)
                                   .Caption(LoadShellString(ids::IDS_CLASS_VIEW))
                                   .Left()
                                   .Layer(1)
                                   .BestSize(std::max(200, TabsWidth(m_wndPaneTabs)), 200)
                                   .CloseButton(true)
                                   .MaximizeButton(false));
  m_mgr.AddPane(m_wndOutput, wxAuiPaneInfo()
                                 .Name(kOutputPane)
                                 .Caption(LoadShellString(ids::IDS_OUTPUT_WND))
                                 .Icon(ShellImage(wxART_EXECUTABLE_FILE, wxSize(16, 16), 'O'))
                                 .Bottom()
                                 .Layer(0)
                                 .BestSize(100, 150)
                                 .CloseButton(true)
                                 .MaximizeButton(false));
  m_mgr.AddPane(GetClientWindow(), wxAuiPaneInfo().Name("Documents").CenterPane().PaneBorder(false));
  UpdatePaneCaption(false);

  SetMenuBar(LoadMainMenu().release());
  SetAcceleratorTable(LoadMainAccelerators());

  // The stored look, written back at once (so a first start stores 210).
  ApplyLook(m_nAppLook, true);
  SetTitle(CaptionText());
  m_created = true;
}

wxAuiMDIClientWindow* CMainFrame::OnCreateClient() {
  m_pClientWindow = new CDocumentTabs(this);
  return m_pClientWindow;
}

CMainFrame::~CMainFrame() {
  m_mgr.UnInit();
  m_wndClassView = nullptr;
  m_wndFileView = nullptr;
  m_wndOutput = nullptr;
}

bool CMainFrame::CreateDockingWindows(const AppLookScheme& scheme) {
  // The notices of the tabs and of the two panes' controls end at the tabs.
  m_wndPaneTabs = new PaneEdge<wxAuiNotebook>(this, wxID_ANY, wxDefaultPosition, wxSize(200, 200),
                                              wxAUI_NB_BOTTOM | wxAUI_NB_TAB_MOVE | wxAUI_NB_SCROLL_BUTTONS);
  m_wndPaneTabs->SetArtProvider(MakeTabArt(scheme));
  m_wndClassView = new CClassView(m_wndPaneTabs);
  if (!m_wndClassView->GetHandle()) return false;
  m_wndFileView = new CFileView(m_wndPaneTabs);
  if (!m_wndFileView->GetHandle()) return false;
  m_wndOutput = new COutputWnd(this);
  if (!m_wndOutput->GetHandle()) return false;

  // The File View docked first, the Section View beside it in front.
  m_wndPaneTabs->AddPage(m_wndFileView, LoadShellString(ids::IDS_FILE_VIEW), false,
                         ShellImage(wxART_FOLDER, wxSize(16, 16), 'F'));
  m_wndPaneTabs->AddPage(m_wndClassView, LoadShellString(ids::IDS_CLASS_VIEW), true,
                         ShellImage(wxART_REPORT_VIEW, wxSize(16, 16), 'S'));
  m_wndPaneTabs->Bind(wxEVT_AUINOTEBOOK_PAGE_CHANGED, &CMainFrame::OnPaneTabChanged, this);
  return true;
}

void CMainFrame::UpdatePaneCaption(bool update) {
  wxAuiPaneInfo& pane = m_mgr.GetPane(m_wndPaneTabs);
  if (!pane.IsOk()) return;
  const int page = m_wndPaneTabs->GetSelection();
  const wxString caption = page == wxNOT_FOUND ? wxString() : m_wndPaneTabs->GetPageText(page);
  pane.Caption(caption).Icon(m_wndPaneTabs->GetPageBitmap(page));
  if (update) m_mgr.Update();
}

void CMainFrame::OnPaneTabChanged(wxAuiNotebookEvent& event) {
  event.Skip();
  UpdatePaneCaption();
}

bool CMainFrame::IsPaneShown(wxWindow* pane) {
  if (!pane) return false;
  wxWindow* docked = pane->GetParent() == m_wndPaneTabs ? m_wndPaneTabs : pane;
  wxAuiPaneInfo& info = m_mgr.GetPane(docked);
  if (!info.IsOk() || !info.IsShown()) return false;
  return docked != m_wndPaneTabs || m_wndPaneTabs->GetCurrentPage() == pane;
}

void CMainFrame::ShowPaneWindow(wxWindow* pane) {
  if (!pane) return;
  wxWindow* docked = pane;
  if (pane->GetParent() == m_wndPaneTabs) {
    docked = m_wndPaneTabs;
    const int page = m_wndPaneTabs->GetPageIndex(pane);
    if (page != wxNOT_FOUND) m_wndPaneTabs->SetSelection(static_cast<size_t>(page));
  }
  wxAuiPaneInfo& info = m_mgr.GetPane(docked);
  if (info.IsOk()) {
    info.Show();
    m_mgr.Update();
  }
  pane->SetFocus();
}

void CMainFrame::OnViewFileView(wxCommandEvent&) { ShowPaneWindow(m_wndFileView); }
void CMainFrame::OnViewClassView(wxCommandEvent&) { ShowPaneWindow(m_wndClassView); }
void CMainFrame::OnViewOutputWindow(wxCommandEvent&) { ShowPaneWindow(m_wndOutput); }

void CMainFrame::OnApplicationLook(int id) {
  wxBusyCursor wait;
  ApplyLook(id, false);
}

void CMainFrame::ApplyLook(int id, bool built) {
  m_nAppLook = id;
  RememberOffice2007Style(id);
  const AppLookScheme scheme = AppLookSchemeOf(id);

  // Built in the look (the constructor), the ribbon, the dock art, the tabs
  // of the frame and of the side pane have it already; the ribbon's pane
  // takes its height, and one docking update below lays everything out.
  if (m_wndRibbonHost) {
    if (!built) m_wndRibbonHost->ApplyLook(scheme);
    m_wndRibbonHost->FitPane(!built);
  }
  if (!built) {
    m_mgr.SetArtProvider(MakeDockArt(scheme));
    ApplyTabLook(GetNotebook(), scheme);
    ApplyTabLook(m_wndPaneTabs, scheme);
  }
  if (m_wndOutput) {
    ApplyTabLook(m_wndOutput->m_wndTabs, scheme);
    m_wndOutput->UpdateFonts();
  }
  m_mgr.Update();
  if (!built) {
    Refresh(true);
    Update();
  }

  if (wxConfigBase* config = wxConfigBase::Get(false)) {
    config->Write(kLookKey, static_cast<long>(id));
    config->Flush();
  }
}

void CMainFrame::OnLookCommand(wxCommandEvent& event) { OnApplicationLook(event.GetId()); }

void CMainFrame::OnUpdateApplicationLook(wxUpdateUIEvent& event) {
  event.Enable(true);
  event.Check(event.GetId() == m_nAppLook);
}

void CMainFrame::OnSysColourChanged(wxSysColourChangedEvent& event) {
  event.Skip();
  if (m_wndOutput) m_wndOutput->UpdateFonts();
}

wxDocument* CMainFrame::GetActiveDocument() const {
  auto* child = dynamic_cast<wxDocChildFrameAnyBase*>(GetActiveChild());
  if (!child) return nullptr;
  if (child->GetDocument()) return child->GetDocument();
  return child->GetView() ? child->GetView()->GetDocument() : nullptr;
}

bool CMainFrame::ProcessEvent(wxEvent& event) {
  // Go-to-line is the frame's before the active document window's: all views
  // of the document move, not only the active one.
  if (event.GetEventType() == EVT_GOTO_LINE) {
    OnGotoLine(static_cast<wxCommandEvent&>(event));
    return true;
  }
  return wxDocParentFrameAny<wxAuiMDIParentFrame>::ProcessEvent(event);
}

void CMainFrame::OnGotoLine(wxCommandEvent& event) {
  wxDocument* doc = GetActiveDocument();
  if (!doc) return;
  // A copy of the list: a view is free to do anything while it scrolls.
  const wxViewVector views = doc->GetViewsVector();
  for (wxView* view : views) {
    wxCommandEvent forwarded(EVT_GOTO_LINE, event.GetId());
    forwarded.SetInt(event.GetInt());
    forwarded.SetEventObject(view);
    // Only the view itself: an unhandled request goes nowhere else.
    forwarded.StopPropagation();
    view->ProcessEvent(forwarded);
  }
}

wxString CMainFrame::CaptionText() const {
  auto* child = dynamic_cast<wxDocChildFrameAnyBase*>(GetActiveChild());
  if (wxView* view = child ? child->GetView() : nullptr) {
    if (view->GetDocument()) return DocumentWindowName(view) + wxT(" - ") + m_appTitle;
  }
  wxDocument* doc = GetActiveDocument();
  if (!doc) return m_appTitle;
  return OneLineName(doc->GetUserReadableName()) + wxT(" - ") + m_appTitle;
}

void CMainFrame::OnIdle(wxIdleEvent& event) {
  event.Skip();
  if (!m_created) return;
  const wxString caption = CaptionText();
  if (GetTitle() != caption) SetTitle(caption);
}
