// Construction, fonts, reset to an empty text, title, cursor and notifications.
// (placeholder bodies until this concern is written)
#include "editor/ColorEditWnd.h"

#include "editor/EditorEvents.h"
#include "res/ResourceIds.h"

ColorEditWnd::ColorEditWnd(wxWindow* parent, const wxRect& rect, std::wstring fontFace, bool horizontalScroll) {
  m_glyphs = SystemGlyphTable();
  BindWindowEvents();
  BindPaintEvents();
  BindCaretEvents();
  BindScrollEvents();
  BindUndoEvents();
  BindKeyboardEvents();
  BindCommandEvents();
  long style = wxVSCROLL | wxALWAYS_SHOW_SB | (horizontalScroll ? wxHSCROLL : 0);
  Create(style, parent, rect, fontFace);
  ResetContent();
}
ColorEditWnd::~ColorEditWnd() = default;
bool ColorEditWnd::Create(long style, wxWindow* parent, const wxRect& rect, const std::wstring& fontFace) {
  m_fontFace = fontFace;
  return wxWindow::Create(parent, ids::IDC_COLOR_EDIT, rect.GetPosition(), rect.GetSize(), style);
}
void ColorEditWnd::ResetContent() { ClearText(); }
void ColorEditWnd::ClearText() {
  m_textModel.lines.clear();
  m_textModel.lineColours.clear();
  m_textModel.UpdateMaxLineLength();
  m_textModel.InsertLine(std::string(), 0, true);
}
void ColorEditWnd::SetTitle(std::wstring title) { m_textModel.title = std::move(title); }
std::string ColorEditWnd::GetLine(int i) const { return m_textModel.lines.at(i); }
int ColorEditWnd::OnCreate() { return 0; }
void ColorEditWnd::OnShowWindow(wxShowEvent& event) { event.Skip(); }
void ColorEditWnd::OnSetCursor(wxSetCursorEvent& event) { event.Skip(); }
void ColorEditWnd::CreateFonts() {}
void ColorEditWnd::MeasureCell() {}
void ColorEditWnd::SendNotification(int code) {
  wxWindow* parent = GetParent();
  if (!parent) return;
  wxCommandEvent event(EditorNotificationType(code), m_controlId);
  event.SetEventObject(this);
  parent->GetEventHandler()->ProcessEvent(event);
}
void ColorEditWnd::BindWindowEvents() {}
