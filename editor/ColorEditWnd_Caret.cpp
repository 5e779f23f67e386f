// Caret, selection, line scrolling and the mouse. (placeholder bodies until this concern is written)
#include "editor/ColorEditWnd.h"

bool ColorEditWnd::HasSelection() { return m_anchorCol != m_caretCol || m_anchorLine != m_caretLine; }
bool ColorEditWnd::IsInSelection(int, int) { return false; }
void ColorEditWnd::ClampPosition(int&, int&) const {}
void ColorEditWnd::SetSelection(int, int, int, int) {}
void ColorEditWnd::UpdateCaret(bool) {}
void ColorEditWnd::ScrollToLine(int) {}
void ColorEditWnd::ScrollLineIntoView(int) {}
void ColorEditWnd::OnLButtonDown(wxMouseEvent&) {}
void ColorEditWnd::OnMouseMove(wxMouseEvent&) {}
void ColorEditWnd::OnLButtonUp(wxMouseEvent&) {}
void ColorEditWnd::OnLButtonDblClk(wxMouseEvent&) {}
void ColorEditWnd::BindCaretEvents() {}
