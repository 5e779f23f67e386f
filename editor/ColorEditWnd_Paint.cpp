// Painting and geometry. (placeholder bodies until this concern is written)
#include "editor/ColorEditWnd.h"

void ColorEditWnd::OnPaint(wxPaintEvent&) {}
void ColorEditWnd::OnEraseBackground(wxEraseEvent&) {}
wxPoint ColorEditWnd::DrawLine(wxDC&, const std::string&, const std::vector<COLORREF>&, int, int y) { return {10, y}; }
bool ColorEditWnd::IsBoldColour(COLORREF) { return false; }
int ColorEditWnd::GetVisibleColumnCount() const { return -1; }
int ColorEditWnd::GetFirstVisibleLine() const { return m_firstLine; }
int ColorEditWnd::GetVisibleLineCount(bool) const { return 0; }
int ColorEditWnd::GetLastVisibleLine() const { return -1; }
wxRect ColorEditWnd::GetLineRect(int) const { return {}; }
wxRect ColorEditWnd::GetLinesRect(int, int) const { return {}; }
void ColorEditWnd::BindPaintEvents() {}
