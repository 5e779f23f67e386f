// The editor's own edit commands with their enabling, its context menu, its
// accelerator table, focus handling with the caret, and select-all.
#include "editor/ColorEditWnd.h"

#include <wx/caret.h>
#include <wx/clipbrd.h>
#include <wx/dataobj.h>
#include <wx/menu.h>

#include <algorithm>

#include "res/EditorResources.h"
#include "res/ResourceIds.h"

void ColorEditWnd::BindCommandEvents() {
  Bind(wxEVT_CONTEXT_MENU, &ColorEditWnd::OnContextMenu, this);

  Bind(wxEVT_UPDATE_UI, &ColorEditWnd::OnUpdateEditCopy, this, ids::ID_EDIT_COPY);
  Bind(wxEVT_UPDATE_UI, &ColorEditWnd::OnUpdateEditCopy, this, ids::ID_EDIT_CUT);
  Bind(wxEVT_UPDATE_UI, &ColorEditWnd::OnUpdateEditPaste, this, ids::ID_EDIT_PASTE);
  Bind(wxEVT_UPDATE_UI, &ColorEditWnd::OnUpdateEditSelectAll, this, ids::ID_EDIT_SELECT_ALL);
  Bind(wxEVT_UPDATE_UI, &ColorEditWnd::OnUpdateEditUndo, this, ids::ID_EDIT_UNDO);
  Bind(wxEVT_UPDATE_UI, &ColorEditWnd::OnUpdateEditRedo, this, ids::ID_EDIT_REDO);

  Bind(wxEVT_MENU, &ColorEditWnd::OnEditCopy, this, ids::ID_EDIT_COPY);
  Bind(wxEVT_MENU, &ColorEditWnd::OnEditCut, this, ids::ID_EDIT_CUT);
  Bind(wxEVT_MENU, &ColorEditWnd::OnEditPaste, this, ids::ID_EDIT_PASTE);
  Bind(wxEVT_MENU, &ColorEditWnd::OnEditSelectAll, this, ids::ID_EDIT_SELECT_ALL);
  Bind(wxEVT_MENU, &ColorEditWnd::OnEditUndo, this, ids::ID_EDIT_UNDO);
  Bind(wxEVT_MENU, &ColorEditWnd::OnEditRedo, this, ids::ID_EDIT_REDO);

  Bind(wxEVT_KILL_FOCUS, &ColorEditWnd::OnKillFocus, this);
  Bind(wxEVT_SET_FOCUS, &ColorEditWnd::OnSetFocus, this);

  // The platform looks a key up in the focused window's table before its
  // parents' tables and before the window sees the key-down, so the editor's
  // keys win over the main frame's.
  if (m_useAccelerators) SetAcceleratorTable(m_hAccel);
}

// Every event reaching the editor passes here first: key-downs go through the
// accelerator table (for key-downs that did not come through the platform's
// own lookup), and a command whose update handler disables it is dropped.
bool ColorEditWnd::TryBefore(wxEvent& event) {
  const wxEventType type = event.GetEventType();
  if (type == wxEVT_KEY_DOWN && PreTranslateMessage(static_cast<wxKeyEvent&>(event))) return true;
  if (type == wxEVT_MENU && !IsCommandEnabled(event.GetId())) return true;
  return wxWindow::TryBefore(event);
}

bool ColorEditWnd::PreTranslateMessage(wxKeyEvent& event) {
  if (!m_useAccelerators || event.GetEventObject() != this) return false;
  for (const wxAcceleratorEntry& entry : EditorAcceleratorEntries()) {
    if (!AcceleratorMatches(entry, event)) continue;
    wxCommandEvent command(wxEVT_MENU, entry.GetCommand());
    command.SetEventObject(this);
    HandleWindowEvent(command);
    return true;
  }
  return false;
}

// Asks the editor's own update handler of `id`; a command without one is enabled.
bool ColorEditWnd::IsCommandEnabled(int id) {
  wxUpdateUIEvent update(id);
  update.SetEventObject(this);
  ProcessWindowEventLocally(update);
  return !update.GetSetEnabled() || update.GetEnabled();
}

void ColorEditWnd::SelectAll() {
  m_anchorCol = 0;
  m_anchorLine = 0;
  m_caretLine = m_textModel.LineCount() - 1;
  m_caretCol = static_cast<int>(m_textModel.lines[m_caretLine].size());
  EnsureCaretVisible();
  UpdateCaret(true);
  Refresh(false);
}

// The chosen item comes back as its command, sent to the editor itself.
void ColorEditWnd::OnContextMenu(wxContextMenuEvent& event) {
  SetFocus();
  std::unique_ptr<wxMenu> menu = LoadEditorContextMenu();
  UpdateMenuItems(*menu);
  const int item = GetPopupMenuSelectionFromUser(*menu, ContextMenuPoint(event.GetPosition()));
  if (item == wxID_NONE) return;
  wxCommandEvent command(wxEVT_MENU, CommandOfMenuItemId(item));
  command.SetEventObject(this);
  HandleWindowEvent(command);
}

// A right click opens the menu at the mouse; the keyboard (no position) opens
// it at the bottom left of the caret's cell, kept inside the client area.
wxPoint ColorEditWnd::ContextMenuPoint(const wxPoint& screenPoint) const {
  if (screenPoint != wxDefaultPosition) return ScreenToClient(screenPoint);
  const wxSize client = GetClientSize();
  const int x = 10 + (m_caretCol - m_firstCol) * m_cellWidth;
  const int y = (m_caretLine - m_firstLine + 1) * m_lineHeight;
  return wxPoint(std::clamp(x, 0, std::max(client.x - 1, 0)), std::clamp(y, 0, std::max(client.y - 1, 0)));
}

void ColorEditWnd::UpdateMenuItems(wxMenu& menu) {
  const int count = static_cast<int>(menu.GetMenuItemCount());
  for (int i = 0; i < count; ++i) {
    wxMenuItem* item = menu.FindItemByPosition(i);
    if (!item) continue;
    if (wxMenu* sub = item->GetSubMenu()) {
      UpdateMenuItems(*sub);
      continue;
    }
    if (item->IsSeparator()) continue;
    wxUpdateUIEvent update(CommandOfMenuItemId(item->GetId()));
    update.SetEventObject(this);
    ProcessWindowEventLocally(update);
    if (update.GetSetEnabled()) item->Enable(update.GetEnabled());
    if (update.GetSetChecked() && item->IsCheckable()) item->Check(update.GetChecked());
    if (update.GetSetText()) item->SetItemLabel(update.GetText());
  }
}

void ColorEditWnd::OnSetFocus(wxFocusEvent& event) {
  UpdateCaret(true);
  SendNotification(ids::EN_SETFOCUS);
  event.Skip();
}

void ColorEditWnd::OnKillFocus(wxFocusEvent& event) {
  if (HasCapture()) ReleaseMouse();
  // A drag does not outlive the focus: without the capture the editor would
  // never see the button come up.
  m_mouseDown = false;
  if (m_caretShown) {
    if (wxCaret* caret = GetCaret()) caret->Hide();
    SetCaret(nullptr);
    m_caretShown = false;
  }
  SendNotification(ids::EN_KILLFOCUS);
  event.Skip();
}

void ColorEditWnd::OnEditCopy(wxCommandEvent&) { CopySelection(); }
void ColorEditWnd::OnEditCut(wxCommandEvent&) { Cut(); }
void ColorEditWnd::OnEditPaste(wxCommandEvent&) { Paste(); }
void ColorEditWnd::OnEditSelectAll(wxCommandEvent&) { SelectAll(); }

void ColorEditWnd::OnUpdateEditCopy(wxUpdateUIEvent& event) { event.Enable(HasSelection()); }

void ColorEditWnd::OnUpdateEditPaste(wxUpdateUIEvent& event) {
  bool available = false;
  if (wxTheClipboard->Open()) {
    available = wxTheClipboard->IsSupported(wxDF_UNICODETEXT) || wxTheClipboard->IsSupported(wxDF_TEXT);
    wxTheClipboard->Close();
  }
  event.Enable(available);
}

void ColorEditWnd::OnUpdateEditSelectAll(wxUpdateUIEvent& event) { event.Enable(true); }
void ColorEditWnd::OnUpdateEditUndo(wxUpdateUIEvent& event) { event.Enable(!m_undoStack.empty()); }
void ColorEditWnd::OnUpdateEditRedo(wxUpdateUIEvent& event) { event.Enable(!m_redoStack.empty()); }
