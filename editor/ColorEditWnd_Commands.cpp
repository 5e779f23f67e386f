// Edit commands, context menu, accelerators and focus. (placeholder bodies until this concern is written)
#include "editor/ColorEditWnd.h"

#include <wx/menu.h>
void ColorEditWnd::SelectAll() {}
void ColorEditWnd::OnContextMenu(wxContextMenuEvent&) {}
void ColorEditWnd::UpdateMenuItems(wxMenu&) {}
void ColorEditWnd::OnSetFocus(wxFocusEvent& event) { event.Skip(); }
void ColorEditWnd::OnKillFocus(wxFocusEvent& event) { event.Skip(); }
void ColorEditWnd::OnEditCopy(wxCommandEvent&) {}
void ColorEditWnd::OnEditCut(wxCommandEvent&) {}
void ColorEditWnd::OnEditPaste(wxCommandEvent&) {}
void ColorEditWnd::OnEditSelectAll(wxCommandEvent&) {}
void ColorEditWnd::OnUpdateEditCopy(wxUpdateUIEvent&) {}
void ColorEditWnd::OnUpdateEditPaste(wxUpdateUIEvent&) {}
void ColorEditWnd::OnUpdateEditSelectAll(wxUpdateUIEvent&) {}
void ColorEditWnd::OnUpdateEditUndo(wxUpdateUIEvent&) {}
void ColorEditWnd::OnUpdateEditRedo(wxUpdateUIEvent&) {}
void ColorEditWnd::BindCommandEvents() {}
