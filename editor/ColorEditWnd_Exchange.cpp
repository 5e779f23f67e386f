// Whole text in and out, and the clipboard: bytes become characters through
// the glyph table on the way out, and characters become bytes on the way in.
#include "editor/ColorEditWnd.h"

#include <wx/clipbrd.h>
#include <wx/dataobj.h>
#include <wx/utils.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "editor/ClipboardText.h"
#include "editor/GlyphTable.h"
#include "res/AppMessageBox.h"
#include "res/EditorResources.h"
#include "res/ResourceIds.h"

namespace {

// The clipboard character of one copied byte: CR and LF stay themselves, every
// other byte is its glyph.
wchar_t ClipboardCharOfByte(unsigned char b) {
  if (b == 0x0D || b == 0x0A) return static_cast<wchar_t>(b);
  return GlyphOfByte(b);
}

}  // namespace

std::string ColorEditWnd::GetText() const {
  std::string text;
  const int n = m_textModel.LineCount();
  std::size_t size = 0;
  for (int i = 0; i < n; ++i) size += m_textModel.lines[i].size() + 1;
  text.reserve(size);
  for (int i = 0; i < n; ++i) {
    text += m_textModel.lines[i];
    if (n >= 2) text += '\n';
  }
  return text;
}

std::size_t ColorEditWnd::InsertText(const std::wstring& text) {
  m_currentFrame.Clear();
  ClearFrameStack(m_redoStack);
  const std::size_t leftOut = InsertWideText(text);
  CommitUndoFrame();
  SendNotification(ids::EN_CHANGE);
  return leftOut;
}

void ColorEditWnd::LoadText(const std::string& bytes) {
  m_currentFrame.Clear();
  ClearFrameStack(m_redoStack);
  InsertBytes(bytes, false);
  m_currentFrame.Clear();
  ClearFrameStack(m_undoStack);
  SendNotification(ids::EN_CHANGE);
}

std::size_t ColorEditWnd::InsertWideText(const std::wstring& text) {
  std::string bytes;
  const std::size_t leftOut = AppendBytesOfText(text.data(), text.size(), bytes);
  InsertBytes(bytes, true);
  return leftOut;
}

// Builds each line of the inserted text in `piece`. The first line break
// splits the caret line: its head takes the first piece and its tail is kept
// aside until the end, where it follows the last piece; the caret then stands
// between the two, right after the inserted text. Lines after the first
// break are inserted without recolouring; one full recolour follows at the end.
void ColorEditWnd::InsertBytes(const std::string& bytes, bool record) {
  if (HasSelection()) DeleteSelection();

  // The lines that follow one another are recorded one by one, as each
  // insertion would record itself, and go into the model in one piece.
  std::vector<std::string> pending;
  int pendingAt = 0;
  const auto flush = [&]() {
    if (pending.empty()) return;
    std::vector<std::string> block;
    block.swap(pending);
    m_textModel.InsertLines(pendingAt, std::move(block));
  };
  const auto insertLine = [&](std::string line, int index) {
    const int count = m_textModel.LineCount() + static_cast<int>(pending.size());
    if (index < 0 || index > count) throw InvalidArgumentError("line index out of range");
    if (!pending.empty() && index != pendingAt + static_cast<int>(pending.size())) flush();
    if (record) RecordUndo(LineInserted, std::string(), index);
    if (pending.empty()) pendingAt = index;
    pending.push_back(std::move(line));
  };
  // The text of one line's bytes [from, to) placed at `column`: carriage
  // returns are dropped and tabs filled to their stop.
  const auto lineText = [this](const char* from, const char* to, int column) {
    const auto plain = [](char c) { return c != '\r' && c != '\t'; };
    const char* special = std::find_if_not(from, to, plain);
    if (special == to) return std::string(from, to);
    std::string piece(from, special);
    column += static_cast<int>(piece.size());
    for (const char* p = special; p != to; ++p) {
      if (*p == '\r') continue;
      if (*p == '\t') {
        const std::string fill = MakeTabFill(column);
        piece += fill;
        column += static_cast<int>(fill.size());
      } else {
        piece += *p;
        ++column;
      }
    }
    return piece;
  };

  std::string piece;
  std::string tail;
  bool split = false;
  const char* p = bytes.data();
  const char* const end = p + bytes.size();

  try {
    for (;;) {
      const void* found = std::memchr(p, '\n', static_cast<std::size_t>(end - p));
      const char* lineEnd = found ? static_cast<const char*>(found) : end;
      piece = lineText(p, lineEnd, split ? 0 : m_caretCol);
      if (!found) break;
      if (!split && m_caretLine < m_textModel.LineCount()) {
        const std::string& line = m_textModel.lines[m_caretLine];
        const std::size_t at = std::min<std::size_t>(static_cast<std::size_t>(m_caretCol), line.size());
        tail = line.substr(at);
        ReplaceLine(line.substr(0, at) + piece, m_caretLine, !record, true);
      } else {
        insertLine(std::move(piece), m_caretLine);
      }
      piece.clear();
      ++m_caretLine;
      m_caretCol = 0;
      split = true;
      p = lineEnd + 1;
    }
  } catch (...) {
    flush();
    throw;
  }

  if (!split) {
    if (!piece.empty()) {
      if (m_caretLine < m_textModel.LineCount()) {
        const std::string& line = m_textModel.lines[m_caretLine];
        const std::size_t at = std::min<std::size_t>(static_cast<std::size_t>(m_caretCol), line.size());
        const std::string left = line.substr(0, at);
        const std::string right = line.substr(at);
        ReplaceLine(left + piece + right, m_caretLine, !record, true);
        m_caretCol = static_cast<int>(left.size() + piece.size());
      } else {
        InsertLine(piece, m_textModel.LineCount(), true, !record);
        m_caretCol = static_cast<int>(piece.size());
      }
    }
  } else if (!piece.empty() || !tail.empty()) {
    const int column = static_cast<int>(piece.size());
    piece += tail;
    try {
      insertLine(std::move(piece), m_caretLine);
    } catch (...) {
      flush();
      throw;
    }
    m_caretCol = column;
  }
  flush();

  m_anchorCol = m_caretCol;
  m_anchorLine = m_caretLine;
  m_textModel.RecolourAll();
  UpdateScrollBars();
  RefreshChangedRows();
  UpdateCaret(true);
}

void ColorEditWnd::CopySelection() {
  if (m_anchorCol == m_caretCol && m_anchorLine == m_caretLine) return;

  int startCol = m_anchorCol, startLine = m_anchorLine;
  int endCol = m_caretCol, endLine = m_caretLine;
  if (endLine < startLine || (endLine == startLine && endCol < startCol)) {
    std::swap(startCol, endCol);
    std::swap(startLine, endLine);
  }

  // A caret on the line position after the last line (where an insertion
  // ending in a line break leaves it) stands for the end of the text, as it
  // does for the deletion of a selection; columns are cut to their line.
  const int last = m_textModel.LineCount() - 1;
  if (endLine > last) {
    endLine = last;
    endCol = static_cast<int>(m_textModel.lines[last].size());
    if (startLine > last) return;
  }
  auto lineText = [this](int i) -> const std::string& { return m_textModel.lines[i]; };
  auto from = [](const std::string& line, int col) {
    return line.substr(std::min<std::size_t>(static_cast<std::size_t>(std::max(col, 0)), line.size()));
  };
  auto upTo = [](const std::string& line, int col) {
    return line.substr(0, std::min<std::size_t>(static_cast<std::size_t>(std::max(col, 0)), line.size()));
  };

  std::string bytes;
  if (startLine == endLine) {
    bytes = upTo(from(lineText(startLine), startCol), endCol - startCol);
  } else {
    bytes = from(lineText(startLine), startCol);
    bytes += "\r\n";
    for (int i = startLine + 1; i < endLine; ++i) {
      bytes += lineText(i);
      bytes += "\r\n";
    }
    bytes += upTo(lineText(endLine), endCol);
  }

  std::wstring units;
  units.reserve(bytes.size());
  for (char c : bytes) units += ClipboardCharOfByte(static_cast<unsigned char>(c));

  if (!wxTheClipboard->Open()) return;
  wxTheClipboard->SetData(new wxTextDataObject(wxString(units)));
  wxTheClipboard->Close();
}

void ColorEditWnd::Cut() {
  if (m_readOnly) return;
  UpdateCaret(false);
  m_currentFrame.Clear();
  ClearFrameStack(m_redoStack);
  CopySelection();
  DeleteSelection();
  CommitUndoFrame();
  SendNotification(ids::EN_CHANGE);
  UpdateCaret(true);
}

void ColorEditWnd::Paste() {
  if (m_readOnly) return;
  const std::size_t leftOut = PasteClipboardText();
  // Told once the paste has ended and the wait cursor is gone.
  if (leftOut > 0) AppMessageBox(PasteLeftOutMessage(leftOut), wxOK | wxICON_WARNING, this);
}

std::size_t ColorEditWnd::PasteClipboardText() {
  wxBusyCursor wait;
  UpdateCaret(false);

  // The clipboard's UTF-8 comes in as it is and goes to bytes in one pass.
  // Text offered only in the plain 8-bit format goes through the toolkit's
  // conversion. A text that gives no character (none there, or not in its
  // format's encoding) pastes nothing.
  std::string bytes;
  std::size_t characters = 0;
  std::size_t leftOut = 0;
  if (wxTheClipboard->Open()) {
    if (wxTheClipboard->IsSupported(wxDF_UNICODETEXT)) {
      Utf8ClipboardText utf8;
      wxTextDataObject plain;
      if (wxTheClipboard->GetData(utf8)) {
        characters = MapUtf8ToBytes(utf8.Bytes().data(), utf8.Bytes().size(), bytes, leftOut);
      } else if (wxTheClipboard->GetData(plain)) {
        const std::wstring text = plain.GetText().ToStdWstring();
        characters = text.size();
        leftOut = AppendBytesOfText(text.data(), text.size(), bytes);
      }
    }
    wxTheClipboard->Close();
  }
  if (characters == 0 || characters == kNotUtf8) {
    UpdateCaret(true);
    return 0;
  }

  m_currentFrame.Clear();
  ClearFrameStack(m_redoStack);
  InsertBytes(bytes, true);
  CommitAndNotify();
  EnsureCaretVisible();
  UpdateCaret(true);
  return leftOut;
}
