// The main frame's command routing (menu item ids back to command ids, the
// update-UI gate) and the commands it carries out itself.
#include <wx/app.h>
#include <wx/aui/auibook.h>
#include <wx/menu.h>
#include <wx/printdlg.h>
#include <wx/statusbr.h>

#include <set>
#include <vector>

#include "app/ClassView.h"
#include "app/FileView.h"
#include "app/MainFrame.h"
#include "app/OutputWnd.h"
#include "app/RibbonHost.h"
#include "app/WindowsDialog.h"
#include "res/EditorResources.h"
#include "res/ShellResources.h"

namespace {

// Reaches the protected parts of wx's event handlers and document manager
// that the routing needs to look at, without changing them.
struct EvtHandlerAccess : wxEvtHandler {
  static DynamicEvents* wxEvtHandler::*DynamicEventsMember() { return &EvtHandlerAccess::m_dynamicEvents; }
  static const wxEventTable* (wxEvtHandler::*EventTableMember())() const { return &EvtHandlerAccess::GetEventTable; }
};
struct DocManagerAccess : wxDocManager {
  static void (wxDocManager::*OpenRecentMember())(unsigned) { return &DocManagerAccess::DoOpenMRUFile; }
};

bool EntryCovers(int first, int last, int id) {
  if (first == wxID_ANY) return false;  // a handler for every id decides nothing about this one
  return last == wxID_ANY ? first == id : id >= first && id <= last;
}

// Whether `handler` has a menu-command handler for `id` of its own, in its
// event tables or bound at run time.
bool HandlesMenuCommand(wxEvtHandler* handler, int id) {
  for (const wxEventTable* table = (handler->*EvtHandlerAccess::EventTableMember())(); table; table = table->baseTable) {
    for (const wxEventTableEntry* entry = table->entries; entry && entry->m_fn; ++entry)
      if (entry->m_eventType == wxEVT_MENU && EntryCovers(entry->m_id, entry->m_lastId, id)) return true;
  }
  if (auto* dynamic = handler->*EvtHandlerAccess::DynamicEventsMember()) {
    for (const wxDynamicEventTableEntry* entry : *dynamic)
      if (entry && entry->m_eventType == wxEVT_MENU && EntryCovers(entry->m_id, entry->m_lastId, id)) return true;
  }
  return false;
}

}  // namespace

wxWindow* CMainFrame::OriginOf(const wxEvent& event) {
  // A key of the frame's accelerator table comes without a source. It starts
  // from the window with the keyboard focus when that lies in the active
  // document window, so that the editor there carries out the edit commands
  // it has itself (Alt+Backspace undoes, Shift+Insert pastes).
  if (!event.GetEventObject()) {
    wxWindow* focus = FindFocus();
    wxWindow* child = GetActiveChild();
    for (wxWindow* w = focus; w && child; w = w->GetParent())
      if (w == child) return focus;
    return this;
  }
  auto* menu = dynamic_cast<wxMenu*>(event.GetEventObject());
  wxWindow* window = menu ? menu->GetInvokingWindow() : nullptr;
  if (!window || wxGetTopLevelParent(window) != this) return this;
  for (wxWindow* w = window; w && w != this; w = w->GetParent())
    if (w == m_wndRibbonHost) return this;
  return window;
}

bool CMainFrame::HasCommandHandler(int command, wxWindow* origin) {
  std::vector<wxEvtHandler*> route;
  auto addWithChain = [&route](wxEvtHandler* first) {
    for (wxEvtHandler* h = first; h; h = h->GetNextHandler()) route.push_back(h);
  };
  auto addView = [&route](wxView* view) {
    if (!view) return;
    route.push_back(view);
    if (view->GetDocument()) route.push_back(view->GetDocument());
  };
  for (wxWindow* w = origin ? origin : this; w && w != this; w = w->GetParent()) {
    if (auto* docChild = dynamic_cast<wxDocChildFrameAnyBase*>(w)) addView(docChild->GetView());
    addWithChain(w->GetEventHandler());
  }
  if (auto* child = GetActiveChild()) {
    if (auto* docChild = dynamic_cast<wxDocChildFrameAnyBase*>(child)) addView(docChild->GetView());
    addWithChain(child->GetEventHandler());
  }
  if (wxDocManager* manager = GetDocumentManager()) {
    route.push_back(manager);
    addView(manager->GetCurrentView());
  }
  addWithChain(GetEventHandler());
  if (wxTheApp) route.push_back(wxTheApp);

  std::set<wxEvtHandler*> seen;
  for (wxEvtHandler* handler : route)
    if (seen.insert(handler).second && HandlesMenuCommand(handler, command)) return true;
  return false;
}

CommandState CMainFrame::QueryCommand(int command, wxWindow* origin) {
  wxWindow* from = origin ? origin : this;
  wxUpdateUIEvent update(command);
  update.SetEventObject(from);
  from->GetEventHandler()->ProcessEvent(update);
  CommandState state;
  state.enabled = update.GetSetEnabled() ? update.GetEnabled() : HasCommandHandler(command, from);
  state.setChecked = update.GetSetChecked();
  state.checked = update.GetChecked();
  state.setText = update.GetSetText();
  state.text = update.GetText();
  return state;
}

bool CMainFrame::ExecuteCommand(int command, wxWindow* origin, int checked) {
  wxWindow* from = origin ? origin : this;
  if (!QueryCommand(command, from).enabled) return false;
  wxCommandEvent run(wxEVT_MENU, command);
  run.SetEventObject(from);
  run.SetInt(checked);
  from->GetEventHandler()->ProcessEvent(run);
  return true;
}

void CMainFrame::OnAliasedCommand(wxCommandEvent& event) {
  ExecuteCommand(CommandOfMenuItemId(event.GetId()), OriginOf(event), event.GetInt());
}

void CMainFrame::OnAliasedUpdate(wxUpdateUIEvent& event) {
  const CommandState state = QueryCommand(CommandOfMenuItemId(event.GetId()), OriginOf(event));
  event.Enable(state.enabled);
  if (state.setChecked) event.Check(state.checked);
  if (state.setText) event.SetText(state.text);
}

void CMainFrame::OnUpdateEnabled(wxUpdateUIEvent& event) { event.Enable(true); }

// ---- File ----

void CMainFrame::OnFileNew(wxCommandEvent& event) {
  if (wxDocManager* manager = GetDocumentManager()) manager->OnFileNew(event);
}

void CMainFrame::OnFileOpen(wxCommandEvent& event) {
  if (wxDocManager* manager = GetDocumentManager()) manager->OnFileOpen(event);
}

void CMainFrame::OnFileClose(wxCommandEvent& event) {
  if (wxDocManager* manager = GetDocumentManager()) manager->OnFileClose(event);
}

void CMainFrame::OnFileSave(wxCommandEvent& event) {
  if (wxDocManager* manager = GetDocumentManager()) manager->OnFileSave(event);
}

void CMainFrame::OnFileSaveAs(wxCommandEvent& event) {
  if (wxDocManager* manager = GetDocumentManager()) manager->OnFileSaveAs(event);
}

void CMainFrame::OnUpdateNeedsDocument(wxUpdateUIEvent& event) {
  wxDocManager* manager = GetDocumentManager();
  event.Enable(manager && manager->GetCurrentDocument() != nullptr);
}

void CMainFrame::OnRecentFile(wxCommandEvent& event) {
  wxDocManager* manager = GetDocumentManager();
  const int index = event.GetId() - ids::ID_FILE_MRU_FILE1;
  if (!manager || index < 0 || static_cast<size_t>(index) >= manager->GetHistoryFilesCount()) return;
  (manager->*DocManagerAccess::OpenRecentMember())(static_cast<unsigned>(index));
}

void CMainFrame::OnUpdateRecentFile(wxUpdateUIEvent& event) {
  wxDocManager* manager = GetDocumentManager();
  const int index = event.GetId() - ids::ID_FILE_MRU_FILE1;
  event.Enable(manager && index >= 0 && static_cast<size_t>(index) < manager->GetHistoryFilesCount());
}

void CMainFrame::RefreshRecentFileMenu(wxMenuBar* bar) {
  if (!bar) return;
  const int first = MenuItemIdOfCommand(ids::ID_FILE_MRU_FILE1);
  const int last = first + ids::ID_FILE_MRU_COUNT - 1;
  for (size_t m = 0; m < bar->GetMenuCount(); ++m) {
    wxMenu* menu = bar->GetMenu(m);
    int place = -1;
    for (size_t i = 0; i < menu->GetMenuItemCount();) {
      wxMenuItem* item = menu->FindItemByPosition(i);
      if (item->GetId() >= first && item->GetId() <= last) {
        if (place < 0) place = static_cast<int>(i);
        menu->Destroy(item);
      } else {
        ++i;
      }
    }
    if (place < 0) continue;
    wxDocManager* manager = GetDocumentManager();
    const size_t count = manager ? std::min<size_t>(manager->GetHistoryFilesCount(), ids::ID_FILE_MRU_COUNT) : 0;
    for (size_t i = 0; i < count; ++i)
      menu->Insert(static_cast<size_t>(place) + i, first + static_cast<int>(i),
                   RecentFileLabel(i, manager->GetHistoryFile(i)));
    if (count == 0) {
      menu->Insert(static_cast<size_t>(place), first, kRecentFilePlaceholder);
      menu->Enable(first, false);
    }
  }
}

void CMainFrame::OnMenuOpen(wxMenuEvent& event) {
  event.Skip();
  RefreshRecentFileMenu(GetMenuBar());
}

void CMainFrame::OnFilePrintSetup(wxCommandEvent&) {
  wxDocManager* manager = GetDocumentManager();
  if (!manager) return;
  wxPageSetupDialog dialog(this, &manager->GetPageSetupDialogData());
  if (dialog.ShowModal() == wxID_OK) manager->GetPageSetupDialogData() = dialog.GetPageSetupDialogData();
}

void CMainFrame::OnAppExit(wxCommandEvent&) { Close(); }

// ---- Window ----

void CMainFrame::OnWindowNew(wxCommandEvent&) {
  wxDocument* doc = GetActiveDocument();
  wxDocTemplate* docTemplate = doc ? doc->GetDocumentTemplate() : nullptr;
  if (!docTemplate) return;
  // The new view makes its own window; its first update loads it.
  if (wxView* view = docTemplate->CreateView(doc, 0)) view->OnUpdate(nullptr, nullptr);
}

void CMainFrame::OnWindowManager(wxCommandEvent&) {
  CWindowsDialog dialog(this);
  dialog.ShowModal();
}

// F6 and Shift+F6: the focus moves round the document window and the shown
// panes, in that order.
void CMainFrame::MovePaneFocus(int step) {
  std::vector<wxWindow*> stops;
  if (GetActiveChild()) stops.push_back(GetActiveChild());
  if (m_mgr.GetPane(m_wndPaneTabs).IsShown() && m_wndPaneTabs->GetCurrentPage())
    stops.push_back(m_wndPaneTabs->GetCurrentPage());
  if (m_mgr.GetPane(m_wndOutput).IsShown()) stops.push_back(m_wndOutput);
  if (stops.empty()) return;
  int current = -1;
  for (wxWindow* w = FindFocus(); w && current < 0; w = w->GetParent())
    for (size_t i = 0; i < stops.size(); ++i)
      if (stops[i] == w) current = static_cast<int>(i);
  const int count = static_cast<int>(stops.size());
  const int next = current < 0 ? (step > 0 ? 0 : count - 1) : ((current + step) % count + count) % count;
  stops[static_cast<size_t>(next)]->SetFocus();
}

void CMainFrame::OnNextPane(wxCommandEvent&) { MovePaneFocus(1); }
void CMainFrame::OnPrevPane(wxCommandEvent&) { MovePaneFocus(-1); }

// ---- View ----

void CMainFrame::OnViewStatusBar(wxCommandEvent&) {
  if (!m_wndStatusBar) return;
  m_wndStatusBar->Show(!m_wndStatusBar->IsShown());
  SendSizeEvent();
}

void CMainFrame::OnUpdateViewStatusBar(wxUpdateUIEvent& event) {
  event.Enable(m_wndStatusBar != nullptr);
  event.Check(m_wndStatusBar && m_wndStatusBar->IsShown());
}
