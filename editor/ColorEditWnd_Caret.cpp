// Caret, selection, line scrolling and the left mouse button.
#include "editor/ColorEditWnd.h"

#include <wx/caret.h>

#include <algorithm>
#include <cmath>

#include "editor/EditorCaret.h"
#include "editor/KeyState.h"
#include "platform/CharClass.h"

namespace {

constexpr int kLeftMargin = 10;

// (line, column) order: the earlier position compares less.
bool Before(int colA, int lineA, int colB, int lineB) {
  return lineA < lineB || (lineA == lineB && colA < colB);
}

}  // namespace

bool ColorEditWnd::HasSelection() {
  const bool has = m_anchorCol != m_caretCol || m_anchorLine != m_caretLine;
  if (has != m_hadSelection) {
    m_hadSelection = has;
    if (GetHandle()) {
      if (has)
        RefreshRect(GetLinesRect(m_anchorLine, m_caretLine), true);
      else
        RefreshChangedRows();
    }
  }
  return has;
}

bool ColorEditWnd::IsInSelection(int column, int line) {
  if (!HasSelection()) return false;
  int startCol = m_anchorCol, startLine = m_anchorLine;
  int endCol = m_caretCol, endLine = m_caretLine;
  if (Before(endCol, endLine, startCol, startLine)) {
    std::swap(startCol, endCol);
    std::swap(startLine, endLine);
  }
  return !Before(column, line, startCol, startLine) && Before(column, line, endCol, endLine);
}

void ColorEditWnd::ClampPosition(int& column, int& line) const {
  line = std::max(line, 0);
  line = std::min(line, m_textModel.LineCount() - 1);
  column = std::max(column, 0);
  column = std::min(column, static_cast<int>(m_textModel.lines[line].size()));
}

void ColorEditWnd::SetSelection(int anchorCol, int anchorLine, int caretCol, int caretLine) {
  ClampPosition(anchorCol, anchorLine);
  ClampPosition(caretCol, caretLine);
  m_anchorCol = anchorCol;
  m_anchorLine = anchorLine;
  m_caretCol = caretCol;
  m_caretLine = caretLine;
  UpdateCaret(true);
  if (GetHandle()) Refresh(true);
}

// The caret exists only while the editor has the focus; it is a bar one pixel
// left of the caret's cell.
void ColorEditWnd::UpdateCaret(bool show) {
  if (!GetHandle() || !HasFocus()) return;
  const int x = (m_caretCol - m_firstCol) * m_cellWidth + kLeftMargin - 1;
  const int y = (m_caretLine - m_firstLine) * m_lineHeight;
  if (show) {
    if (!m_caretShown) {
      SetCaret(new EditorCaret(this, 2, m_lineHeight));
      GetCaret()->Move(x, y);
      GetCaret()->Show();
      m_caretShown = true;
    }
  } else if (m_caretShown) {
    if (GetCaret()) GetCaret()->Hide();
    SetCaret(nullptr);
    m_caretShown = false;
  }
  if (wxCaret* caret = GetCaret()) caret->Move(x, y);
}

void ColorEditWnd::ScrollToLine(int line) {
  if (!GetHandle()) return;
  m_firstLine = std::max(0, std::min(line, m_textModel.LineCount() - 1));
  SetScrollPos(wxVERTICAL, m_firstLine, true);
  Refresh(true);
}

void ColorEditWnd::ScrollLineIntoView(int line) {
  if (!GetHandle()) return;
  const int rows = GetClientSize().GetHeight() / m_lineHeight;
  if (m_firstLine <= line && line < m_firstLine + rows) return;
  ScrollToLine(line);
}

// A press goes to the nearest cell boundary, on a line of the text. A point in
// the left margin gives the first visible column.
void ColorEditWnd::PositionFromPoint(int x, int y, int& column, int& line) const {
  column = (x - kLeftMargin + m_cellWidth / 2) / m_cellWidth + m_firstCol;
  column = std::max(column, m_firstCol);
  line = std::min(m_firstLine + y / m_lineHeight, m_textModel.LineCount() - 1);
  ClampPosition(column, line);
}

void ColorEditWnd::OnLButtonDown(wxMouseEvent& event) {
  const keystate::EventModifiers modifiers(event);
  const int x = event.GetX(), y = event.GetY();
  m_mouseDown = true;
  m_pressX = x - kLeftMargin;
  m_pressY = y;
  SetFocus();
  if (!HasCapture()) CaptureMouse();
  UpdateCaret(false);
  PositionFromPoint(x, y, m_caretCol, m_caretLine);
  if (!keystate::ShiftDown()) {
    m_anchorCol = m_caretCol;
    m_anchorLine = m_caretLine;
    HasSelection();
  } else {
    Refresh(false);
  }
  UpdateCaret(true);
}

// While the button is down the caret follows the pointer; the column snaps to
// the cell boundary on the far side of the press point, so a drag right takes
// in a cell once the pointer has crossed into it and a drag left once it has
// left the cell. Dragging never scrolls.
void ColorEditWnd::OnMouseMove(wxMouseEvent& event) {
  if (!m_mouseDown) {
    event.Skip();
    return;
  }
  const int px = event.GetX() - kLeftMargin;
  const double w = m_cellWidth;
  double c;
  if (px > m_pressX)
    c = std::floor((px + w) / w) + m_firstCol - 1;
  else
    c = std::ceil((px - w) / w) + m_firstCol;

  int line = event.GetY() / m_lineHeight + m_firstLine;
  line = std::max(line, 0);
  line = std::min(line, m_textModel.LineCount() - 1);

  const double length = static_cast<double>(m_textModel.lines[line].size());
  c = std::max(c, 0.0);
  if (c >= length) c = length;
  const int column = static_cast<int>(c);

  if (column == m_caretCol && line == m_caretLine) return;
  const int oldLine = m_caretLine;
  m_caretCol = column;
  m_caretLine = line;
  UpdateCaret(false);
  RefreshRect(GetLinesRect(oldLine, line), false);
  UpdateCaret(true);
}

void ColorEditWnd::OnLButtonUp(wxMouseEvent&) {
  m_mouseDown = false;
  if (HasCapture()) ReleaseMouse();
}

// A lost capture (another window took the mouse) ends the drag: without it
// the selection would follow a pointer whose button is no longer down.
void ColorEditWnd::OnMouseCaptureLost(wxMouseCaptureLostEvent&) { m_mouseDown = false; }

// Selects the run of alphanumeric bytes around the point, caret at its start
// and anchor at its end. On any other byte the scan stops at once, which
// selects that one byte with the caret after it.
void ColorEditWnd::OnLButtonDblClk(wxMouseEvent& event) {
  m_mouseDown = false;
  SetFocus();
  UpdateCaret(false);
  RefreshRect(GetLinesRect(m_anchorLine, m_caretLine), true);

  int p = 0, l = 0;
  PositionFromPoint(event.GetX(), event.GetY(), p, l);
  const std::string& text = m_textModel.lines[l];
  const int length = static_cast<int>(text.size());

  int s = p;
  while (s >= 0) {
    if (s < length && !platform::IsAlnum(static_cast<unsigned char>(text[s]))) {
      s = s + 1;
      break;
    }
    s = s - 1;
  }
  int e = p;
  while (e < length && platform::IsAlnum(static_cast<unsigned char>(text[e]))) e = e + 1;

  int caretLine = l, anchorLine = l;
  ClampPosition(s, caretLine);
  ClampPosition(e, anchorLine);
  m_caretCol = s;
  m_caretLine = caretLine;
  m_anchorCol = e;
  m_anchorLine = anchorLine;

  RefreshRect(GetLineRect(l), true);
  UpdateCaret(true);
}

void ColorEditWnd::BindCaretEvents() {
  Bind(wxEVT_LEFT_DOWN, &ColorEditWnd::OnLButtonDown, this);
  Bind(wxEVT_LEFT_DCLICK, &ColorEditWnd::OnLButtonDblClk, this);
  Bind(wxEVT_LEFT_UP, &ColorEditWnd::OnLButtonUp, this);
  Bind(wxEVT_MOTION, &ColorEditWnd::OnMouseMove, this);
  Bind(wxEVT_MOUSE_CAPTURE_LOST, &ColorEditWnd::OnMouseCaptureLost, this);
}
