// Keys, typed characters and the edit operations. (placeholder bodies until this concern is written)
#include "editor/ColorEditWnd.h"

void ColorEditWnd::OnKeyDown(wxKeyEvent& event) { event.Skip(); }
void ColorEditWnd::OnChar(wxKeyEvent& event) { event.Skip(); }
int ColorEditWnd::OnGetDlgCode() const { return 4; }
void ColorEditWnd::InsertString(const std::string&) {}
void ColorEditWnd::DeleteBack() {}
void ColorEditWnd::DeleteForward() {}
void ColorEditWnd::InsertNewLine() {}
void ColorEditWnd::DeleteSelection() {}
std::string ColorEditWnd::MakeTabFill(int) const { return " "; }
void ColorEditWnd::BindKeyboardEvents() {}
