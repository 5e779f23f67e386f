// Edits of many lines against a plain reading of their steps, one line primitive at a time on a
// second text model: deleting selections, inserting text, pasting, loading a file's text, undo and redo
// give the same lines, colours, shades, section lists and flag, longest line, undo records, caret, anchor
// and first visible line.
#include <deque>
#include <random>
#include <string>
#include <vector>

#include "support/EditorFixture.h"

#include <wx/clipbrd.h>

namespace {

using Lines_t = std::vector<std::string>;
using Records_t = std::deque<CUndoRecord>;

// The editor's steps read plainly, on a model of its own.
struct Reference {
  CTextModel m;
  int caretCol = 0, caretLine = 0, anchorCol = 0, anchorLine = 0, firstLine = 0, rows = 0;
  Records_t frame;

  void Record(std::int32_t kind, const std::string& text, int line) {
    CUndoRecord r;
    r.m_text = text;
    r.m_kind = kind;
    r.m_line = line;
    r.m_caretCol = caretCol;
    r.m_caretLine = caretLine;
    r.m_anchorCol = anchorCol;
    r.m_anchorLine = anchorLine;
    frame.push_back(r);
  }
  void InsertLine(const std::string& text, int i, bool update) {
    Record(LineInserted, "", i);
    m.InsertLine(text, i, update);
  }
  void ReplaceLine(const std::string& text, int i) {
    Record(LineChanged, m.lines[i], i);
    m.SetLine(text, i);
  }
  void RemoveLine(int i) {
    if (i >= m.LineCount()) return;
    Record(LineDeleted, m.lines[i], i);
    m.RemoveLine(i);
  }
  void DeleteSelection() {
    if (anchorCol == caretCol && anchorLine == caretLine) return;
    if (caretLine < anchorLine) {
      std::swap(caretCol, anchorCol);
      std::swap(caretLine, anchorLine);
    }
    const int last = m.LineCount() - 1;
    if (caretLine > last && anchorLine <= last) {
      caretLine = last;
      caretCol = static_cast<int>(m.lines[last].size());
      if (anchorCol == caretCol && anchorLine == caretLine) return;
    }
    const auto left = [](const std::string& s, int n) { return s.substr(0, std::min<std::size_t>(n, s.size())); };
    const auto mid = [](const std::string& s, int n) {
      return n >= static_cast<int>(s.size()) ? std::string() : s.substr(n);
    };
    if (caretLine == anchorLine) {
      const int lo = std::min(caretCol, anchorCol), hi = std::max(caretCol, anchorCol);
      caretCol = anchorCol = lo;
      ReplaceLine(left(m.lines[anchorLine], lo) + mid(m.lines[anchorLine], hi), anchorLine);
    } else {
      while (anchorLine + 1 < caretLine) {
        RemoveLine(anchorLine + 1);
        --caretLine;
      }
      ReplaceLine(left(m.lines[anchorLine], anchorCol) + mid(m.lines[caretLine], caretCol), anchorLine);
      RemoveLine(caretLine);
      --caretLine;
    }
    caretCol = anchorCol;
    caretLine = anchorLine;
    m.RecolourAll();
    ShowCaretLine();
  }
  // The caret's line comes into view after the edit: as the lowest whole row
  // when it is below the rows shown, as the top row when above.
  void ShowCaretLine() {
    const int count = m.LineCount();
    const int visible = std::min(rows, count);
    const int last = std::min(count, firstLine + visible);
    if (caretLine >= last && visible < count - 1)
      firstLine = std::max(0, firstLine + caretLine - (last - 1));
    else if (caretLine < firstLine)
      firstLine = caretLine;
  }
  // ASCII text only: each character is its byte.
  void InsertText(const std::string& text) {
    frame.clear();
    if (anchorCol != caretCol || anchorLine != caretLine) DeleteSelection();
    std::string piece, tail;
    bool split = false;
    int column = caretCol;
    for (char b : text) {
      if (b == '\r') continue;
      if (b == '\n') {
        if (!split && caretLine < m.LineCount()) {
          const std::string line = m.lines[caretLine];
          const std::size_t at = std::min<std::size_t>(caretCol, line.size());
          tail = line.substr(at);
          ReplaceLine(line.substr(0, at) + piece, caretLine);
        } else {
          InsertLine(piece, caretLine, false);
        }
        piece.clear();
        ++caretLine;
        caretCol = column = 0;
        split = true;
      } else if (b == '\t') {
        std::string fill(1, ' ');
        for (int k = column + 1; k % 4 != 0; ++k) fill += ' ';
        piece += fill;
        column += static_cast<int>(fill.size());
      } else {
        piece += b;
        ++column;
      }
    }
    if (!split) {
      if (!piece.empty()) {
        if (caretLine < m.LineCount()) {
          const std::string line = m.lines[caretLine];
          const std::size_t at = std::min<std::size_t>(caretCol, line.size());
          ReplaceLine(line.substr(0, at) + piece + line.substr(at), caretLine);
          caretCol = static_cast<int>(at + piece.size());
        } else {
          InsertLine(piece, m.LineCount(), true);
          caretCol = static_cast<int>(piece.size());
        }
      }
    } else if (!piece.empty() || !tail.empty()) {
      InsertLine(piece + tail, caretLine, false);
      caretCol = static_cast<int>(piece.size());
    }
    anchorCol = caretCol;
    anchorLine = caretLine;
    m.RecolourAll();
  }
  // Applies `records` last first, one at a time; gives the inverse records in the order made.
  Records_t Replay(Records_t records) {
    Records_t inverse;
    while (!records.empty()) {
      const CUndoRecord r = records.back();
      records.pop_back();
      if (!(firstLine <= r.m_line && r.m_line < firstLine + rows))
        firstLine = std::max(0, std::min(r.m_line, m.LineCount() - 1));
      CUndoRecord n;
      n.m_line = r.m_line;
      if (r.m_kind == LineInserted) {
        n.m_kind = LineDeleted;
        n.m_text = m.lines.at(r.m_line);
        m.RemoveLine(r.m_line);
      } else if (r.m_kind == LineDeleted) {
        n.m_kind = LineInserted;
        m.InsertLine(r.m_text, r.m_line, true);
      } else {
        n.m_kind = LineChanged;
        n.m_text = m.lines.at(r.m_line);
        m.SetLine(r.m_text, r.m_line);
      }
      n.m_caretCol = caretCol;
      n.m_caretLine = caretLine;
      n.m_anchorCol = anchorCol;
      n.m_anchorLine = anchorLine;
      caretCol = r.m_caretCol;
      caretLine = r.m_caretLine;
      anchorCol = r.m_anchorCol;
      anchorLine = r.m_anchorLine;
      inverse.push_back(n);
    }
    m.RecolourAll();
    return inverse;
  }
};

std::string Print(const Records_t& records) {
  std::string s;
  for (const CUndoRecord& r : records)
    s += "[" + std::to_string(r.m_kind) + " " + std::to_string(r.m_line) + " '" + r.m_text + "' " +
         std::to_string(r.m_caretCol) + "," + std::to_string(r.m_caretLine) + " " + std::to_string(r.m_anchorCol) +
         "," + std::to_string(r.m_anchorLine) + "]";
  return s;
}

class BulkEditTest : public EditorFixture {
 protected:
  int Pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng_); }
  std::string Line() {
    static const char* const kWords[] = {"PUB main", "PRI p", "CON", "DAT", "VAR", "{", "}", "'", "x := 1", "  ",
                                         "repeat", "a", "long 5"};
    std::string line;
    for (int k = Pick(4); k > 0; --k) line += std::string(kWords[Pick(13)]) + (Pick(3) ? " " : "");
    return line;
  }
  // The reference made from the editor as it stands.
  void Follow(Reference& r) {
    const CTextModel& m = editor_->m_textModel;
    r.m.colorizer = m.colorizer;
    r.m.lines = m.lines;
    r.m.lineColours.assign(m.lines.size(), {});
    r.m.RecolourAll();
    r.m.sectionsChanged = m.sectionsChanged;
    r.caretCol = editor_->m_caretCol;
    r.caretLine = editor_->m_caretLine;
    r.anchorCol = editor_->m_anchorCol;
    r.anchorLine = editor_->m_anchorLine;
    r.firstLine = editor_->m_firstLine;
    r.rows = editor_->GetClientSize().GetHeight() / editor_->m_lineHeight;
  }
  // Where the editor differs from the reference; empty when it does not.
  std::string Unlike(const Reference& r, const Records_t& frame, const Records_t& expected) const {
    const CTextModel& m = editor_->m_textModel;
    if (m.lines != r.m.lines) return "lines";
    if (m.lineColours != r.m.lineColours) return "colours";
    if (m.lineBackground != r.m.lineBackground || m.braceDepth != r.m.braceDepth || m.pubCount != r.m.pubCount)
      return "per-line arrays";
    if (m.sectionNames != r.m.sectionNames || m.sectionLines != r.m.sectionLines) return "section lists";
    if (m.sectionsChanged != r.m.sectionsChanged) return "section flag";
    if (m.maxLineLength != r.m.maxLineLength) return "longest line";
    if (editor_->m_caretCol != r.caretCol || editor_->m_caretLine != r.caretLine ||
        editor_->m_anchorCol != r.anchorCol || editor_->m_anchorLine != r.anchorLine)
      return "caret or anchor";
    if (editor_->m_firstLine != r.firstLine) return "first visible line";
    if (Print(frame) != Print(expected)) return "records " + Print(frame) + " instead of " + Print(expected);
    return {};
  }
  std::mt19937 rng_;
};

TEST_F(BulkEditTest, DeletionsInsertionsUndoAndRedoMatchTheirStepsOneLineAtATime) {
  wxCommandEvent command;
  for (unsigned seed = 1; seed <= 40; ++seed) {
    rng_.seed(seed);
    Lines_t lines(static_cast<std::size_t>(20 + Pick(200)));
    for (std::string& line : lines) line = Line();
    SetLines(lines);
    editor_->m_firstLine = Pick(static_cast<int>(lines.size()));
    editor_->m_currentFrame.Clear();
    ClearFrameStack(editor_->m_undoStack);
    ClearFrameStack(editor_->m_redoStack);
    for (int step = 0; step < 12; ++step) {
      const std::string where = "seed " + std::to_string(seed) + " step " + std::to_string(step);
      const int n = editor_->m_textModel.LineCount();
      const int kind = Pick(4);
      if (kind <= 1) {
        // A selection between two random places (now and then the caret below the last line).
        const int a = Pick(n), c = Pick(4) ? Pick(n) : n;
        SetAnchor(Pick(static_cast<int>(editor_->m_textModel.lines[a].size()) + 1), a);
        SetCaret(c < n ? Pick(static_cast<int>(editor_->m_textModel.lines[c].size()) + 1) : 0, c);
        Reference r;
        Follow(r);
        if (kind == 0) {
          editor_->m_currentFrame.Clear();  // as an edit action opens
          ClearFrameStack(editor_->m_redoStack);
          editor_->DeleteSelection();
          editor_->CommitUndoFrame();
          r.DeleteSelection();
        } else {
          std::string text;
          for (int k = Pick(60); k > 0; --k) text += Line() + (Pick(5) ? "\n" : Pick(2) ? "\r\n" : "\t");
          editor_->InsertText(std::wstring(text.begin(), text.end()));
          r.InsertText(text);
        }
        const Records_t none;
        ASSERT_EQ(Unlike(r, r.frame.empty() ? none : editor_->m_undoStack.back().m_records, r.frame), "") << where;
      } else {
        CUndoFrameStack& from = kind == 2 ? editor_->m_undoStack : editor_->m_redoStack;
        CUndoFrameStack& to = kind == 2 ? editor_->m_redoStack : editor_->m_undoStack;
        if (from.empty()) continue;
        Reference r;
        Follow(r);
        const Records_t expected = r.Replay(from.back().m_records);
        if (kind == 2)
          editor_->OnEditUndo(command);
        else
          editor_->OnEditRedo(command);
        ASSERT_EQ(Unlike(r, to.back().m_records, expected), "") << where << (kind == 2 ? " undo" : " redo");
      }
    }
  }
}

// Thousands of lines from another program's clipboard (CR LF, tabs) pasted
// over a selection, and the same text loaded as a file's: the load gives the
// paste's lines, colours and caret with no undo history at all.
TEST_F(BulkEditTest, PasteAndLoadOfManyLinesMatchTheirStepsOneLineAtATime) {
  for (unsigned seed = 1; seed <= 6; ++seed) {
    rng_.seed(seed);
    Lines_t lines(static_cast<std::size_t>(20 + Pick(200)));
    for (std::string& line : lines) line = Line();
    std::string text;
    for (int k = 2000 + Pick(3000); k > 0; --k) text += Line() + (Pick(8) ? "\r\n" : "\t");
    if (Pick(2)) text += Line();  // now and then no line break at the end
    for (const bool load : {false, true}) {
      const std::string where = "seed " + std::to_string(seed) + (load ? " load" : " paste");
      SetLines(lines);
      const int n = editor_->m_textModel.LineCount();
      const int a = Pick(n), c = Pick(4) ? Pick(n) : n;
      SetAnchor(Pick(static_cast<int>(editor_->m_textModel.lines[a].size()) + 1), a);
      SetCaret(c < n ? Pick(static_cast<int>(editor_->m_textModel.lines[c].size()) + 1) : 0, c);
      editor_->m_currentFrame.Clear();
      ClearFrameStack(editor_->m_undoStack);
      ClearFrameStack(editor_->m_redoStack);
      editor_->m_redoStack.emplace_back();
      Reference r;
      Follow(r);
      parent_->codes.clear();
      if (load) {
        editor_->LoadText(text);
      } else {
        {
          wxClipboardLocker lock;
          wxTheClipboard->SetData(new wxTextDataObject(wxString(text.c_str(), wxConvISO8859_1)));
        }
        editor_->Paste();
      }
      r.InsertText(text);
      r.firstLine = editor_->m_firstLine;  // the paste scrolls the caret into view
      const Records_t none;
      const Records_t& made = load || editor_->m_undoStack.empty() ? none : editor_->m_undoStack.back().m_records;
      ASSERT_EQ(Unlike(r, made, load ? none : r.frame), "") << where;
      EXPECT_EQ(editor_->m_undoStack.size(), load ? 0u : 1u) << where;
      EXPECT_TRUE(editor_->m_redoStack.empty() && editor_->m_currentFrame.m_records.empty()) << where;
      EXPECT_EQ(parent_->codes, std::vector<int>{ids::EN_CHANGE}) << where;
    }
  }
}

}  // namespace
