// Scrolling: the scroll bars and their codes, resizing, the mouse wheel and
// the Ctrl+wheel zoom, following the caret, the anchor after a key, and the
// fast move of the text area's picture.
#include <wx/event.h>

#include <algorithm>
#include <cstdlib>

#include "editor/ColorEditWnd.h"
#include "editor/KeyState.h"

namespace {

constexpr int kMargin = 10;
constexpr int kWheelLines = 5;
constexpr int kWheelNotch = 120;
constexpr int kMinFontHeight = 12;
constexpr int kMaxFontHeight = 74;

// a * b / c rounded to the nearest integer, halves away from zero.
int MulDiv(int a, int b, int c) {
  const long long product = static_cast<long long>(a) * b;
  long long quotient = product / c;
  const long long remainder = product % c;
  if (2 * std::llabs(remainder) >= std::llabs(static_cast<long long>(c)))
    quotient += ((product < 0) != (c < 0)) ? -1 : 1;
  return static_cast<int>(quotient);
}

}  // namespace

// The bars' scale is the editor's: positions count lines and columns. A bar
// from 0 to `max` with a page of `page` is set as range max + 1 and thumb
// `page`, so the positions it offers (0 to max - page + 1) are the same.
void ColorEditWnd::UpdateScrollBars() {
  if (!HasWindow()) return;
  const int lineCount = m_textModel.LineCount();
  const int visibleLines = GetVisibleLineCount(false);
  const int vMax = lineCount > visibleLines ? lineCount - 1 : 0;
  SetBar(wxVERTICAL, m_firstLine, visibleLines, vMax + 1);

  if (!HasFlag(wxHSCROLL)) return;
  const int visibleCols = GetVisibleColumnCount();
  const int maxLength = m_textModel.maxLineLength;
  const int hMax = maxLength > visibleCols ? maxLength - 1 : 0;
  SetBar(wxHORIZONTAL, m_firstCol, std::max(visibleCols, 0), hMax + 1);
}

// A bar is set only when it would change: setting it anew makes GTK lay out
// and repaint the whole window.
void ColorEditWnd::SetBar(int orientation, int position, int thumb, int range) {
  if (GetScrollPos(orientation) == position && GetScrollThumb(orientation) == thumb &&
      GetScrollRange(orientation) == range)
    return;
  SetScrollbar(orientation, position, thumb, range, true);
}

void ColorEditWnd::OnSize(wxSizeEvent&) { UpdateScrollBars(); }

void ColorEditWnd::OnVScroll(wxScrollWinEvent& event) {
  const ScrollCode code = ScrollCodeOf(event.GetEventType());
  const int position = event.GetPosition();
  UpdateCaret(false);
  const int lineCount = m_textModel.LineCount();
  const int visibleLines = GetVisibleLineCount(false);

  switch (code) {
    case kScrollLineUp:
      if (m_firstLine > 0) {
        --m_firstLine;
        ScrollClientBy(0, m_lineHeight);
        Invalidate(GetLineRect(GetFirstVisibleLine()), true);
      }
      break;
    case kScrollLineDown:
      if (m_firstLine < lineCount - visibleLines) {
        ++m_firstLine;
        ScrollClientBy(0, -m_lineHeight);
        const int last = GetLastVisibleLine();
        Invalidate(GetLinesRect(last - 1, last), true);
      }
      break;
    case kScrollPageUp:
      m_firstLine = std::max(0, m_firstLine - (3 * visibleLines) / 4);
      break;
    case kScrollPageDown:
      // No upper limit: pages may run past the last line.
      m_firstLine = m_firstLine + (3 * visibleLines) / 4;
      break;
    case kScrollThumbPosition:
    case kScrollThumbTrack:
      if (position != m_firstLine) {
        const int oldFirst = m_firstLine;
        const int newFirst = std::min(position, lineCount);
        const int d = newFirst - oldFirst;
        m_firstLine = newFirst;
        ScrollClientBy(0, -d * m_lineHeight);
        const int last = GetLastVisibleLine();
        Invalidate(d > 0 ? GetLinesRect(last - d - 1, last) : GetLinesRect(newFirst, oldFirst), true);
      }
      break;
    case kScrollTop:
      m_firstLine = 0;
      break;
    case kScrollBottom:
      m_firstLine = std::max(0, lineCount - visibleLines);
      break;
    case kScrollEndScroll:
      break;
  }

  InvalidateAll(true);
  RepaintNow();
  SetScrollPosition(wxVERTICAL, m_firstLine);
  UpdateCaret(true);
}

void ColorEditWnd::OnHScroll(wxScrollWinEvent& event) {
  const ScrollCode code = ScrollCodeOf(event.GetEventType());
  const int position = event.GetPosition();
  UpdateCaret(false);
  const wxRect client = HasWindow() ? GetClientRect() : wxRect();
  const int columnsThatFit = client.width / m_cellWidth;
  const int maxLength = m_textModel.maxLineLength;

  switch (code) {
    case kScrollLineUp:  // line left
      if (m_firstCol > 0) {
        --m_firstCol;
        ScrollClientBy(m_cellWidth, 0);
        Invalidate(wxRect(client.x, client.y, kMargin + m_cellWidth - client.x, client.height), true);
      }
      break;
    case kScrollLineDown:  // line right
      if (m_firstCol < maxLength - GetVisibleColumnCount()) {
        ++m_firstCol;
        ScrollClientBy(-m_cellWidth, 0);
        Invalidate(wxRect(client.GetRight() + 1 - m_cellWidth, client.y, m_cellWidth, client.height), true);
      }
      break;
    case kScrollPageUp:  // page left
      m_firstCol = std::max(0, m_firstCol - (3 * columnsThatFit) / 4);
      InvalidateAll(true);
      break;
    case kScrollPageDown:  // page right, without an upper limit
      m_firstCol = m_firstCol + (3 * columnsThatFit) / 4;
      InvalidateAll(true);
      break;
    case kScrollThumbPosition:
    case kScrollThumbTrack:
      if (position != m_firstCol) {
        const int oldFirst = m_firstCol;
        const int limit = maxLength - GetVisibleColumnCount();
        // Compared unsigned: a negative limit (everything fits) never applies.
        const int newFirst =
            static_cast<unsigned>(position) >= static_cast<unsigned>(limit) ? limit : position;
        const int d = newFirst - oldFirst;
        m_firstCol = newFirst;
        ScrollClientBy(-d * m_cellWidth, 0);
        if (d > 0)
          Invalidate(
              wxRect(client.GetRight() + 1 - d * m_cellWidth, client.y, d * m_cellWidth, client.height),
              true);
        else
          Invalidate(wxRect(client.x, client.y, kMargin - d * m_cellWidth - client.x, client.height), true);
      }
      break;
    case kScrollTop:  // the left edge
      m_firstCol = 0;
      InvalidateAll(true);
      break;
    case kScrollBottom:  // the right edge: the last columns of the longest line fill the window
      m_firstCol = std::max(0, maxLength - GetVisibleColumnCount());
      InvalidateAll(true);
      break;
    case kScrollEndScroll:
      break;
  }

  RepaintNow();
  SetScrollPosition(wxHORIZONTAL, m_firstCol);
  UpdateCaret(true);
}

void ColorEditWnd::OnMouseWheel(wxMouseEvent& event) {
  const keystate::EventModifiers modifiers(event);
  // Only the vertical wheel scrolls or zooms.
  if (event.GetWheelAxis() != wxMOUSE_WHEEL_VERTICAL) return;
  const int delta = event.GetWheelRotation();
  if (keystate::ShiftDown()) return;

  if (keystate::ControlDown()) {
    // One height step per message, whatever the size of the rotation.
    const int step = delta > 0 ? 1 : (delta < 0 ? -1 : 0);
    m_fontHeight = std::clamp(m_fontHeight + step, kMinFontHeight, kMaxFontHeight);
    CreateFonts();
    MeasureCell();
    UpdateScrollBars();
    UpdateCaret(false);
    InvalidateAll(true);
    UpdateCaret(true);
    return;
  }

  if (!HasFlag(wxVSCROLL) && !HasFlag(wxHSCROLL)) return;
  UpdateCaret(false);
  if (HasFlag(wxVSCROLL)) {
    // Five lines per message in the wheel's direction, however many notches
    // it carries; a rotation toward the user scrolls down.
    const int notches = MulDiv(-delta, 1, kWheelNotch);
    const int step = notches == 0 ? 0 : (notches > 0 ? kWheelLines : -kWheelLines);
    const int limit = m_textModel.LineCount() - GetVisibleLineCount(false);
    int newFirst = std::max(0, m_firstLine + step);
    if (newFirst >= limit) newFirst = limit;
    if (newFirst != m_firstLine) {
      m_firstLine = newFirst;
      SetScrollPosition(wxVERTICAL, m_firstLine);
      InvalidateAll(true);
    }
  }
  UpdateCaret(true);
}

void ColorEditWnd::EnsureCaretVisible() {
  const int last = GetLastVisibleLine();
  const int lineCount = m_textModel.LineCount();
  if (m_caretLine >= last && GetVisibleLineCount(false) < lineCount - 1) {
    // The caret line becomes the lowest whole row.
    m_firstLine = std::max(0, m_firstLine + m_caretLine - (last - 1));
    SetScrollPosition(wxVERTICAL, m_firstLine);
    InvalidateAll(true);
  } else if (m_caretLine < GetFirstVisibleLine()) {
    m_firstLine = m_caretLine;
    SetScrollPosition(wxVERTICAL, m_firstLine);
    InvalidateAll(true);
  }

  // Horizontally the view jumps: the caret ends about three quarters across
  // when it left on the right, a quarter across when it left on the left.
  const int visibleCols = GetVisibleColumnCount();
  const int oldFirst = m_firstCol;
  if (m_caretCol > m_firstCol + visibleCols)
    m_firstCol = m_caretCol - visibleCols + visibleCols / 4;
  else if (m_caretCol < m_firstCol)
    m_firstCol = std::max(0, m_caretCol - visibleCols / 4);
  if (m_firstCol != oldFirst) {
    SetScrollPosition(wxHORIZONTAL, m_firstCol);
    InvalidateAll(true);
  }
}

void ColorEditWnd::UpdateAnchor(bool afterKey) {
  if (!afterKey) {
    m_anchorCol = m_caretCol;
    m_anchorLine = m_caretLine;
    return;
  }
  if (!keystate::ShiftDown()) {
    m_anchorCol = m_caretCol;
    m_anchorLine = m_caretLine;
    Invalidate(GetLinesRect(m_caretLine, m_caretLine), false);
  } else {
    Invalidate(GetLinesRect(m_anchorLine, m_caretLine), false);
  }
}

// Moves the picture of the text area (the client area right of the margin).
// Not every toolkit keeps the move inside the rectangle given (GTK ignores
// it), so after a sideways move the margin is repainted: it keeps its shades.
void ColorEditWnd::ScrollClientBy(int dx, int dy) {
  if (!HasWindow() || (dx == 0 && dy == 0)) return;
  wxRect textArea = GetClientRect();
  textArea.x += kMargin;
  textArea.width -= kMargin;
  if (textArea.width <= 0 || textArea.height <= 0) return;
  ForgetPaintedRows();
  ScrollWindow(dx, dy, &textArea);
  if (dx != 0) Invalidate(wxRect(0, 0, kMargin, textArea.height), false);
}

ColorEditWnd::ScrollCode ColorEditWnd::ScrollCodeOf(wxEventType type) {
  if (type == wxEVT_SCROLLWIN_LINEUP) return kScrollLineUp;
  if (type == wxEVT_SCROLLWIN_LINEDOWN) return kScrollLineDown;
  if (type == wxEVT_SCROLLWIN_PAGEUP) return kScrollPageUp;
  if (type == wxEVT_SCROLLWIN_PAGEDOWN) return kScrollPageDown;
  if (type == wxEVT_SCROLLWIN_THUMBRELEASE) return kScrollThumbPosition;
  if (type == wxEVT_SCROLLWIN_THUMBTRACK) return kScrollThumbTrack;
  if (type == wxEVT_SCROLLWIN_TOP) return kScrollTop;
  if (type == wxEVT_SCROLLWIN_BOTTOM) return kScrollBottom;
  return kScrollEndScroll;
}

void ColorEditWnd::OnScrollWin(wxScrollWinEvent& event) {
  if (event.GetOrientation() == wxHORIZONTAL)
    OnHScroll(event);
  else
    OnVScroll(event);
}

void ColorEditWnd::Invalidate(const wxRect& rect, bool erase) {
  if (HasWindow() && !rect.IsEmpty()) RefreshRect(rect, erase);
}

void ColorEditWnd::InvalidateAll(bool erase) {
  if (HasWindow()) Refresh(erase);
}

void ColorEditWnd::RepaintNow() {
  if (HasWindow()) Update();
}

void ColorEditWnd::SetScrollPosition(int orientation, int position) {
  if (!HasWindow()) return;
  if (orientation == wxHORIZONTAL && !HasFlag(wxHSCROLL)) return;
  SetScrollPos(orientation, position, true);
}

void ColorEditWnd::BindScrollEvents() {
  Bind(wxEVT_SIZE, &ColorEditWnd::OnSize, this);
  for (const auto& type : {wxEVT_SCROLLWIN_TOP, wxEVT_SCROLLWIN_BOTTOM, wxEVT_SCROLLWIN_LINEUP,
                           wxEVT_SCROLLWIN_LINEDOWN, wxEVT_SCROLLWIN_PAGEUP, wxEVT_SCROLLWIN_PAGEDOWN,
                           wxEVT_SCROLLWIN_THUMBTRACK, wxEVT_SCROLLWIN_THUMBRELEASE})
    Bind(type, &ColorEditWnd::OnScrollWin, this);
  Bind(wxEVT_MOUSEWHEEL, &ColorEditWnd::OnMouseWheel, this);
}
