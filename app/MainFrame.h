// CMainFrame: the one main window. Tabbed document windows, the ribbon, the
// status bar and three docked panes (Section View, File View, Output); it
// applies and stores the application look, shows the panes on command,
// routes the commands of menus, ribbon and accelerators, and forwards
// go-to-line to the views of the active document.
#pragma once

#include <wx/aui/framemanager.h>
#include <wx/app.h>
#include <wx/aui/aui.h>
#include <wx/docview.h>

#include "res/ResourceIds.h"

class CClassView;
class CFileView;
class COutputWnd;
class CRibbonHost;
class wxAuiNotebook;
class wxAuiNotebookEvent;
class wxMenuBar;
class wxRibbonBar;
class wxStatusBar;
struct AppLookScheme;

// What a command's update-UI route answers: whether it runs, and its check
// mark and text when someone set them.
struct CommandState {
  bool enabled = false;
  bool setChecked = false;
  bool checked = false;
  bool setText = false;
  wxString text;
};

class CMainFrame : public wxDocParentFrameAny<wxAuiMDIParentFrame> {
 public:
  // Builds the whole frame; IsCreated() tells whether every part was made.
  CMainFrame(wxDocManager* manager, wxFrame* parent, wxWindowID id = wxID_ANY,
             const wxString& title = wxT("Quillmark"), const wxPoint& pos = wxDefaultPosition,
             const wxSize& size = wxSize(1200, 800), long style = wxDEFAULT_FRAME_STYLE);
  ~CMainFrame() override;

  bool IsCreated() const { return m_created; }

  CRibbonHost* m_wndRibbonHost = nullptr;  // quick access toolbar, Style menu and the ribbon
  wxRibbonBar* m_wndRibbonBar = nullptr;
  wxStatusBar* m_wndStatusBar = nullptr;
  CFileView* m_wndFileView = nullptr;
  CClassView* m_wndClassView = nullptr;
  COutputWnd* m_wndOutput = nullptr;
  wxAuiNotebook* m_wndPaneTabs = nullptr;  // the File View and the Section View share it
  wxAuiManager m_mgr;

  // The current application look: read from "Workspace"/"ApplicationLook"
  // (210 when missing) by the constructor, set by every look change.
  int m_nAppLook = ids::ID_VIEW_APPLOOK_VS_2008;

  // Switches the look and stores `id` as "Workspace"/"ApplicationLook";
  // an id outside the eleven looks gives the Office 2007 look and is stored
  // unchanged.
  void OnApplicationLook(int id);

  // EVT_GOTO_LINE: every view of the active document processes the event,
  // one after the other, before this returns; nothing without an active
  // document.
  void OnGotoLine(wxCommandEvent& event);

  // The document of the active document window, or null.
  wxDocument* GetActiveDocument() const;

  // ---- command routing ----
  // Asks the route from `origin` (null: this frame) for the update-UI state
  // of `command`. Unanswered, a command is enabled when a handler for it
  // lies on the route.
  CommandState QueryCommand(int command, wxWindow* origin = nullptr);
  // Carries out `command` from `origin` through the route (active view, its
  // document, its frame, this frame, the application) unless its update-UI
  // disables it. Returns whether it ran.
  bool ExecuteCommand(int command, wxWindow* origin = nullptr, int checked = 0);
  // Whether a handler for `command` lies on the route from `origin`.
  bool HasCommandHandler(int command, wxWindow* origin = nullptr);

  // Puts the recent-file list into the File menu of `bar` in place of the
  // entries it had there.
  void RefreshRecentFileMenu(wxMenuBar* bar);

  // Whether the docked pane that holds `pane` is shown.
  bool IsPaneShown(wxWindow* pane);

  // The caption: the active document window's name (the document's title,
  // numbered while it has several windows), then the application's name.
  wxString CaptionText() const;

  bool ProcessEvent(wxEvent& event) override;

  // ---- handlers (public so that tests can call them) ----
  void OnViewFileView(wxCommandEvent& event);
  void OnViewClassView(wxCommandEvent& event);
  void OnViewOutputWindow(wxCommandEvent& event);
  void OnWindowManager(wxCommandEvent& event);
  void OnNextPane(wxCommandEvent& event);
  void OnPrevPane(wxCommandEvent& event);

 protected:
  // The document tabs: choosing a document by its tab leaves the keyboard
  // focus in it.
  wxAuiMDIClientWindow* OnCreateClient() override;

 private:
  bool CreateDockingWindows(const AppLookScheme& scheme);
  // Puts look `id` on every part and stores it; `built` when the parts were
  // made in that look already (the constructor).
  void ApplyLook(int id, bool built);
  void ShowPaneWindow(wxWindow* pane);
  // The window a command of this event starts from: the window a popup menu
  // was shown for; for an accelerator key, the focused window when it lies in
  // the active document window; else this frame.
  wxWindow* OriginOf(const wxEvent& event);
  void MovePaneFocus(int step);
  // `update` false leaves the docking layout to a later update.
  void UpdatePaneCaption(bool update = true);

  void OnAliasedCommand(wxCommandEvent& event);
  void OnAliasedUpdate(wxUpdateUIEvent& event);
  void OnLookCommand(wxCommandEvent& event);
  void OnUpdateApplicationLook(wxUpdateUIEvent& event);
  void OnUpdateEnabled(wxUpdateUIEvent& event);
  void OnFileNew(wxCommandEvent& event);
  void OnFileOpen(wxCommandEvent& event);
  void OnFileClose(wxCommandEvent& event);
  void OnFileSave(wxCommandEvent& event);
  void OnFileSaveAs(wxCommandEvent& event);
  void OnUpdateNeedsDocument(wxUpdateUIEvent& event);
  void OnRecentFile(wxCommandEvent& event);
  void OnUpdateRecentFile(wxUpdateUIEvent& event);
  void OnFilePrintSetup(wxCommandEvent& event);
  void OnWindowNew(wxCommandEvent& event);
  void OnAppExit(wxCommandEvent& event);
  void OnViewStatusBar(wxCommandEvent& event);
  void OnUpdateViewStatusBar(wxUpdateUIEvent& event);
  void OnMenuOpen(wxMenuEvent& event);
  void OnPaneTabChanged(wxAuiNotebookEvent& event);
  void OnIdle(wxIdleEvent& event);
  void OnSysColourChanged(wxSysColourChangedEvent& event);

  bool m_created = false;
  wxString m_appTitle;

  wxDECLARE_CLASS(CMainFrame);
  wxDECLARE_EVENT_TABLE();
};

// The application's main window as CMainFrame, or null.
CMainFrame* GetMainFrame();
