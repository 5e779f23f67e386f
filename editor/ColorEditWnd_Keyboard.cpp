// Keys, typed characters and the edit operations behind them: caret moves,
// word moves, Backspace and Delete, typing, tab fills and line breaks.
#include <wx/event.h>

#include <algorithm>
#include <string>
#include <utility>

#include "editor/ColorEditWnd.h"
#include "editor/GlyphTable.h"
#include "editor/KeyState.h"
#include "platform/CharClass.h"

namespace {

// The keys the key-down handler acts on, by their virtual-key numbers.
enum TableKey {
  kNotInTable = 0,
  kBack = 8,
  kReturn = 13,
  kPageUp = 33,
  kPageDown = 34,
  kEnd = 35,
  kHome = 36,
  kLeft = 37,
  kUp = 38,
  kRight = 39,
  kDown = 40,
  kDelete = 46,
};

// The table key of a wx key code; the keypad's editing keys count as the
// keys they stand for.
TableKey TableKeyOf(int keyCode) {
  switch (keyCode) {
    case WXK_BACK: return kBack;
    case WXK_RETURN:
    case WXK_NUMPAD_ENTER: return kReturn;
    case WXK_PAGEUP:
    case WXK_NUMPAD_PAGEUP: return kPageUp;
    case WXK_PAGEDOWN:
    case WXK_NUMPAD_PAGEDOWN: return kPageDown;
    case WXK_END:
    case WXK_NUMPAD_END: return kEnd;
    case WXK_HOME:
    case WXK_NUMPAD_HOME: return kHome;
    case WXK_LEFT:
    case WXK_NUMPAD_LEFT: return kLeft;
    case WXK_UP:
    case WXK_NUMPAD_UP: return kUp;
    case WXK_RIGHT:
    case WXK_NUMPAD_RIGHT: return kRight;
    case WXK_DOWN:
    case WXK_NUMPAD_DOWN: return kDown;
    case WXK_DELETE:
    case WXK_NUMPAD_DELETE: return kDelete;
    default: return kNotInTable;
  }
}

// Line i of the model; an index outside the lines raises the invalid-argument
// error, which the handlers catch.
const std::string& LineAt(const CTextModel& model, int i) {
  if (i < 0 || i >= model.LineCount()) throw InvalidArgumentError("line index out of range");
  return model.lines[static_cast<std::size_t>(i)];
}

int LineLength(const CTextModel& model, int i) { return static_cast<int>(LineAt(model, i).size()); }

// The first n bytes of s (all of s when n is larger, none when n is negative).
std::string Left(const std::string& s, int n) {
  return s.substr(0, static_cast<std::size_t>(std::clamp(n, 0, static_cast<int>(s.size()))));
}

// The bytes of s from position n on (none when n is at or past the end).
std::string Mid(const std::string& s, int n) {
  if (n >= static_cast<int>(s.size())) return {};
  return s.substr(static_cast<std::size_t>(std::max(n, 0)));
}

}  // namespace

// ---------------------------------------------------------------------------
// Key-down

void ColorEditWnd::OnKeyDown(wxKeyEvent& event) {
  const keystate::EventModifiers modifiers(event);
  // A key pressed with Alt alone is a system key, which the editor leaves alone.
  const bool systemKey = event.AltDown() && !event.ControlDown();
  const TableKey key = systemKey ? kNotInTable : TableKeyOf(event.GetKeyCode());
  if (key == kNotInTable) {
    event.Skip();  // the character event follows
    return;
  }
  try {
    const bool ctrl = keystate::ControlDown();
    const int last = m_textModel.LineCount() - 1;
    switch (key) {
      case kBack:
      case kDelete:
        if (!m_readOnly) {
          BeginEditAction();
          if (HasSelection())
            DeleteSelection();
          else if (key == kBack)
            DeleteBack();
          else
            DeleteForward();
          CommitAndNotify();
        }
        break;

      case kReturn:
        if (!ctrl) {
          event.Skip();  // the line break arrives as the character 13
        } else if (!m_readOnly) {
          wxKeyEvent lineBreak(wxEVT_CHAR);
          lineBreak.m_keyCode = WXK_RETURN;
          lineBreak.m_uniChar = 13;
          lineBreak.SetId(GetId());
          lineBreak.SetEventObject(this);
          GetEventHandler()->AddPendingEvent(lineBreak);
        }
        break;

      case kPageUp:
      case kPageDown: {
        UpdateCaret(false);
        UpdateAnchor(true);
        const int n = GetVisibleLineCount(false);
        if (key == kPageUp)
          m_caretLine = std::max(m_caretLine - n, 0);
        else
          m_caretLine = m_caretLine + n < last ? m_caretLine + n : last;
        m_caretCol = std::min(m_caretCol, LineLength(m_textModel, m_caretLine));
        ScrollToLine(m_caretLine);
        break;
      }

      case kEnd:
        UpdateCaret(false);
        if (ctrl) {
          m_caretLine = last;
          m_caretCol = LineLength(m_textModel, last);
        } else {
          m_caretCol = LineLength(m_textModel, m_caretLine);
        }
        break;

      case kHome:
        UpdateCaret(false);
        m_caretCol = 0;
        if (ctrl) m_caretLine = 0;
        break;

      case kLeft:
        UpdateCaret(false);
        UpdateAnchor(true);
        if (ctrl) {
          MoveWordLeft();
        } else if (m_caretCol > 0) {
          --m_caretCol;
        } else if (m_caretLine > 0) {
          --m_caretLine;
          m_caretCol = LineLength(m_textModel, m_caretLine);
        }
        break;

      case kRight:
        UpdateCaret(false);
        UpdateAnchor(true);
        if (ctrl) {
          MoveWordRight();
          break;
        }
        if (m_caretLine >= m_textModel.LineCount()) {
          m_caretLine = last;
          m_caretCol = LineLength(m_textModel, last);
        }
        if (m_caretCol < LineLength(m_textModel, m_caretLine)) {
          ++m_caretCol;
        } else if (m_caretLine < last) {
          ++m_caretLine;
          m_caretCol = 0;
        }
        break;

      case kUp:
        if (m_caretLine > 0) {
          UpdateCaret(false);
          UpdateAnchor(true);
          --m_caretLine;
          m_caretCol = std::min(m_caretCol, LineLength(m_textModel, m_caretLine));
        }
        break;

      case kDown:
        if (m_caretLine < last) {
          UpdateCaret(false);
          UpdateAnchor(true);
          ++m_caretLine;
          m_caretCol = std::min(m_caretCol, LineLength(m_textModel, m_caretLine));
        }
        break;

      case kNotInTable:
        break;
    }

    // The common tail of every key of the table.
    EnsureCaretVisible();
    UpdateAnchor(true);
    UpdateCaret(true);
    // What the key changed reaches the screen now, not at the toolkit's next frame.
    RepaintNow();
  } catch (...) {
    // The key is dropped where it failed; the frame keeps what it recorded
    // until the next action clears it.
  }
}

// Word left: a scan leftwards that stops at the first byte that is neither
// alphanumeric nor a space once a non-space byte has been seen. The caret
// lands on the stop when it was the first byte looked at (so punctuation is
// passed one byte at a time), else just right of it.
void ColorEditWnd::MoveWordLeft() {
  if (m_caretCol == 0) {
    if (m_caretLine > 0) {
      --m_caretLine;
      m_caretCol = LineLength(m_textModel, m_caretLine);
    }
    return;
  }
  const std::string& line = LineAt(m_textModel, m_caretLine);
  const int c = std::min(m_caretCol, static_cast<int>(line.size()));
  bool seen = false;
  for (int p = c - 1; p >= 0; --p) {
    const auto b = static_cast<unsigned char>(line[static_cast<std::size_t>(p)]);
    if (!platform::IsSpace(b)) seen = true;
    if (!platform::IsAlnum(b) && seen) {
      m_caretCol = (p == c - 1) ? p : p + 1;
      return;
    }
  }
  m_caretCol = 0;
}

// Word right: the same scan rightwards; a stop on the first byte looked at
// moves past it, a later stop lands on it, and the end of the line ends it.
void ColorEditWnd::MoveWordRight() {
  const int last = m_textModel.LineCount() - 1;
  const std::string& line = LineAt(m_textModel, m_caretLine);
  const int len = static_cast<int>(line.size());
  if (m_caretCol >= len) {
    if (m_caretLine < last) {
      ++m_caretLine;
      m_caretCol = 0;
    } else {
      m_caretLine = last;
      m_caretCol = LineLength(m_textModel, last);
    }
    return;
  }
  const int c = m_caretCol;
  bool seen = false;
  for (int p = c; p < len; ++p) {
    const auto b = static_cast<unsigned char>(line[static_cast<std::size_t>(p)]);
    if (!platform::IsSpace(b)) seen = true;
    if (!platform::IsAlnum(b) && seen) {
      m_caretCol = (p == c) ? p + 1 : p;
      return;
    }
  }
  m_caretCol = len;
}

// ---------------------------------------------------------------------------
// Typed characters

void ColorEditWnd::OnChar(wxKeyEvent& event) {
  const keystate::EventModifiers modifiers(event);
  // A character typed with Alt held (Alt alone: Ctrl with Alt is AltGr on
  // some layouts) is a system character, and a key without a character of its
  // own (F10) is no character at all: both go on to the toolkit, which opens
  // the menu bar with them.
  if (IsSystemCharacter(event)) {
    event.Skip();
    return;
  }
  try {
    platform::UseOemCharClasses();
    if (m_readOnly) return;

    // With Ctrl held the toolkit hands over the key's own character (Ctrl+1 as
    // "1"); only the control characters Ctrl makes of letters (Ctrl+M, Ctrl+I)
    // are characters of their own. Ctrl with Alt is AltGr on some layouts and
    // types what it gives.
    if (event.ControlDown() && !event.AltDown() && event.GetUnicodeKey() >= 0x20) return;

    // A character becomes the byte whose glyph it is; one without a glyph is
    // dropped. Then only printable bytes, carriage return and tab are typed.
    const int byte = TypedByte(event);
    if (byte < 0) return;
    if (!platform::IsPrint(static_cast<unsigned char>(byte)) && byte != 13 && byte != 9) return;

    UpdateCaret(false);
    BeginEditAction();
    const bool hadSelection = HasSelection();
    if (hadSelection) DeleteSelection();
    if (byte == 9)
      InsertString(MakeTabFill(m_caretCol));
    else if (byte == 13)
      InsertNewLine();
    else
      InsertString(std::string(1, static_cast<char>(byte)));
    CommitAndNotify();
    HasSelection();
    UpdateCaret(true);
    // The typed character reaches the screen now, not at the toolkit's next frame.
    RepaintNow();
    // The character is not passed on: the toolkit would take an unhandled
    // Tab for a move of the focus.
  } catch (...) {
    // The character is lost; what was recorded stays in the current frame
    // until the next action clears it.
  }
}

bool ColorEditWnd::IsSystemCharacter(const wxKeyEvent& event) {
  if (event.AltDown() && !event.ControlDown()) return true;
  return event.GetUnicodeKey() == WXK_NONE && event.GetKeyCode() != WXK_NUMPAD_ENTER;
}

int ColorEditWnd::TypedByte(const wxKeyEvent& event) {
  wxChar unit = event.GetUnicodeKey();
  // The keypad's Enter carries no character of its own.
  if (unit == WXK_NONE && event.GetKeyCode() == WXK_NUMPAD_ENTER) unit = 13;
  if (unit == WXK_NONE) return -1;
  return ByteOfChar(static_cast<wchar_t>(unit));
}

// Every key reaches the editor, also inside a form with dialog navigation.
int ColorEditWnd::OnGetDlgCode() const { return 4; }

// ---------------------------------------------------------------------------
// The edit operations. None of them opens or closes an undo action.

void ColorEditWnd::BeginEditAction() {
  m_currentFrame.Clear();
  ClearFrameStack(m_redoStack);
}

void ColorEditWnd::InsertString(const std::string& text) {
  if (text.empty()) return;

  if (m_caretLine == m_textModel.LineCount()) {
    // The caret stands below the last line: the text becomes a new last line.
    InsertLine(text, m_caretLine, true, false);
    RefreshChangedRows();
    if (text.find_first_of("{}") != std::string::npos) {
      m_textModel.RecolourAll();
      RefreshChangedRows();
    }
    m_caretCol = static_cast<int>(text.size());
    m_anchorCol = m_caretCol;
    m_anchorLine = m_caretLine;
    return;
  }

  const std::string& line = LineAt(m_textModel, m_caretLine);
  const std::string left = Left(line, m_caretCol);
  const std::string right = Mid(line, m_caretCol);
  if (!right.empty()) {
    RefreshChangedRows();
    m_textModel.RecolourAll();
    RefreshChangedRows();
  }
  ReplaceLine(left + text + right, m_caretLine, false, true);
  m_caretCol += static_cast<int>(text.size());
  EnsureCaretVisible();
  m_anchorCol = m_caretCol;
  m_anchorLine = m_caretLine;
  RefreshChangedRows();
  if (m_textModel.AnalyzeAround(m_caretLine)) {
    m_textModel.RecolourAll();
    RefreshChangedRows();
  }
}

void ColorEditWnd::DeleteBack() {
  if (m_caretCol == 0 && m_caretLine == 0) return;

  if (m_caretCol > 0) {
    const std::string& line = LineAt(m_textModel, m_caretLine);
    ReplaceLine(Left(line, m_caretCol - 1) + Mid(line, m_caretCol), m_caretLine, false, true);
    --m_caretCol;
  } else {
    // Join onto the previous line. The unchanged rewrite comes first so that
    // the action's first record keeps the caret from before the join.
    const int joined = m_caretLine;
    const std::string text = LineAt(m_textModel, joined);
    ReplaceLine(text, joined, false, true);
    const std::string previous = LineAt(m_textModel, joined - 1);
    m_caretCol = static_cast<int>(previous.size());
    m_caretLine = joined - 1;
    ReplaceLine(previous + text, m_caretLine, false, true);
    RemoveLine(joined, false, true);
    RefreshChangedRows();
  }

  RefreshChangedRows();
  if (m_textModel.AnalyzeAround(m_caretLine)) {
    m_textModel.RecolourAll();
    RefreshChangedRows();
  }
  m_anchorCol = m_caretCol;
  m_anchorLine = m_caretLine;
  UpdateCaret(true);
}

void ColorEditWnd::DeleteForward() {
  if (m_caretLine >= m_textModel.LineCount()) return;

  const std::string line = LineAt(m_textModel, m_caretLine);
  const int len = static_cast<int>(line.size());
  if (m_caretCol < len) {
    ReplaceLine(Left(line, m_caretCol) + Mid(line, m_caretCol + 1), m_caretLine, false, true);
  } else if (m_caretLine < m_textModel.LineCount() - 1) {
    ReplaceLine(line + LineAt(m_textModel, m_caretLine + 1), m_caretLine, false, true);
    RemoveLine(m_caretLine + 1, false, true);
    RefreshChangedRows();
  }

  m_anchorCol = m_caretCol;
  m_anchorLine = m_caretLine;
  RefreshChangedRows();
  if (m_textModel.AnalyzeAround(m_caretLine)) {
    m_textModel.RecolourAll();
    RefreshChangedRows();
  }
}

void ColorEditWnd::InsertNewLine() {
  const std::string line = LineAt(m_textModel, m_caretLine);
  const int cutLine = m_caretLine;
  const std::string head = Left(line, m_caretCol);
  std::string tail = Mid(line, m_caretCol);
  ReplaceLine(head, cutLine, false, true);

  m_caretLine = cutLine + 1;
  m_caretCol = 0;
  if (m_autoIndent) {
    // Only the spaces left of the caret are copied.
    const std::size_t k = std::min(head.find_first_not_of(' '), head.size());
    tail.insert(0, k, ' ');
    m_caretCol = static_cast<int>(k);
  }
  InsertLine(tail, m_caretLine, true, false);
  EnsureCaretVisible();

  m_textModel.RecolourAll();
  RefreshChangedRows();

  m_anchorCol = m_caretCol;
  m_anchorLine = m_caretLine;
}

void ColorEditWnd::DeleteSelection() {
  if (m_anchorCol == m_caretCol && m_anchorLine == m_caretLine) return;

  // From here on the anchor is on the first line of the selection.
  if (m_caretLine < m_anchorLine) {
    std::swap(m_caretCol, m_anchorCol);
    std::swap(m_caretLine, m_anchorLine);
  }
  // A caret below the last line (where an insertion that ended in a line
  // break leaves it) stands for the end of the text; taken literally, the
  // removal would fail half-way with lines gone and no undo frame for them.
  const int last = m_textModel.LineCount() - 1;
  if (m_caretLine > last && m_anchorLine <= last) {
    m_caretLine = last;
    m_caretCol = LineLength(m_textModel, last);
    if (m_anchorCol == m_caretCol && m_anchorLine == m_caretLine) return;
  }

  if (m_caretLine == m_anchorLine) {
    const int lo = std::min(m_caretCol, m_anchorCol);
    const int hi = std::max(m_caretCol, m_anchorCol);
    m_caretCol = m_anchorCol = lo;
    const std::string& line = LineAt(m_textModel, m_anchorLine);
    ReplaceLine(Left(line, lo) + Mid(line, hi), m_anchorLine, false, true);
  } else {
    // The lines between the two ends go one by one, each recorded as its
    // own removal with the caret as it then stands, and leave the model in
    // one piece.
    const int between = m_anchorLine + 1;
    const int removed = m_caretLine - between;
    if (removed > 0) {
      for (int k = 0; k < removed; ++k) {
        RecordUndo(LineDeleted, m_textModel.lines[between + k], between);
        --m_caretLine;
      }
      m_textModel.RemoveLines(between, removed);
      UpdateScrollBars();
    }
    const std::string joined = Left(LineAt(m_textModel, m_anchorLine), m_anchorCol) +
                               Mid(LineAt(m_textModel, m_caretLine), m_caretCol);
    ReplaceLine(joined, m_anchorLine, false, true);
    RemoveLine(m_caretLine, false, true);
    --m_caretLine;
  }

  m_caretCol = m_anchorCol;
  m_caretLine = m_anchorLine;
  m_textModel.RecolourAll();
  // What is left may lie above the rows shown: the caret's line comes into view.
  EnsureCaretVisible();
  RefreshChangedRows();
  RepaintNow();
}

std::string ColorEditWnd::MakeTabFill(int column) const {
  std::string fill(1, ' ');
  if (m_tabWidth <= 0) return fill;
  for (int k = column + 1; k % m_tabWidth != 0; ++k) fill += ' ';
  return fill;
}

void ColorEditWnd::BindKeyboardEvents() {
  Bind(wxEVT_KEY_DOWN, &ColorEditWnd::OnKeyDown, this);
  Bind(wxEVT_CHAR, &ColorEditWnd::OnChar, this);
}
