// Whole text in and out, and the clipboard. (placeholder bodies until this concern is written)
#include "editor/ColorEditWnd.h"

std::string ColorEditWnd::GetText() const { return {}; }
void ColorEditWnd::InsertText(const std::wstring&) {}
void ColorEditWnd::InsertWideText(const std::wstring&) {}
void ColorEditWnd::CopySelection() {}
void ColorEditWnd::Cut() {}
void ColorEditWnd::Paste() {}
