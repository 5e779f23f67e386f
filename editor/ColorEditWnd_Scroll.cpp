// Scroll bars, wheel, zoom and caret following. (placeholder bodies until this concern is written)
#include "editor/ColorEditWnd.h"

void ColorEditWnd::UpdateScrollBars() {}
void ColorEditWnd::OnSize(wxSizeEvent&) {}
void ColorEditWnd::OnVScroll(wxScrollWinEvent&) {}
void ColorEditWnd::OnHScroll(wxScrollWinEvent&) {}
void ColorEditWnd::OnMouseWheel(wxMouseEvent&) {}
void ColorEditWnd::EnsureCaretVisible() {}
void ColorEditWnd::UpdateAnchor(bool) { m_anchorCol = m_caretCol; m_anchorLine = m_caretLine; }
void ColorEditWnd::ScrollClientBy(int, int) {}
void ColorEditWnd::BindScrollEvents() {}
