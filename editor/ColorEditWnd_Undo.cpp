// The three line primitives that record undo, the commit of an action's
// frame, and undo and redo by replaying a frame.
#include "editor/ColorEditWnd.h"
#include "res/ResourceIds.h"

#include <algorithm>
#include <deque>
#include <string>
#include <vector>

void ColorEditWnd::RecordUndo(std::int32_t kind, const std::string& text, int line) {
  CUndoRecord record;
  record.m_text = text;
  record.m_kind = kind;
  record.m_line = line;
  record.m_caretCol = m_caretCol;
  record.m_caretLine = m_caretLine;
  record.m_anchorCol = m_anchorCol;
  record.m_anchorLine = m_anchorLine;
  m_currentFrame.m_records.push_back(std::move(record));
}

// Each primitive checks the index before it records, so that a rejected call
// leaves no record behind that a later undo would replay.
void ColorEditWnd::InsertLine(const std::string& text, int index, bool update, bool dontRecord) {
  if (index < 0 || index > m_textModel.LineCount()) throw InvalidArgumentError("line index out of range");
  if (!dontRecord) RecordUndo(LineInserted, std::string(), index);
  m_textModel.InsertLine(text, index, update);
  if (update) UpdateScrollBars();
}

void ColorEditWnd::ReplaceLine(const std::string& text, int index, bool dontRecord, bool update) {
  if (index < 0 || index >= m_textModel.LineCount()) throw InvalidArgumentError("line index out of range");
  if (!dontRecord) RecordUndo(LineChanged, m_textModel.lines[index], index);
  m_textModel.SetLine(text, index);
  if (update) UpdateScrollBars();
}

void ColorEditWnd::RemoveLine(int index, bool dontRecord, bool update) {
  if (index >= m_textModel.LineCount()) return;
  if (index < 0) throw InvalidArgumentError("line index out of range");
  if (!dontRecord) RecordUndo(LineDeleted, m_textModel.lines[index], index);
  m_textModel.RemoveLine(index);
  if (update) UpdateScrollBars();
}

void ColorEditWnd::CommitUndoFrame() {
  if (m_currentFrame.m_records.empty()) return;
  m_undoStack.emplace_back();
  m_undoStack.back().m_records.swap(m_currentFrame.m_records);
}

void ColorEditWnd::CommitAndNotify() {
  CommitUndoFrame();
  SendNotification(ids::EN_CHANGE);
}

namespace {

// How the records at the back of a frame follow one another: a run of
// insertions or removals whose lines form one block.
enum class RunShape { kSameLine, kLineAfterLine, kLineBeforeLine };

// The number of records from the back of `records` that are of the back
// record's kind and whose lines step as `shape` says, in the order they are
// applied (last record first); at least 1.
std::size_t RunFromBack(const std::deque<CUndoRecord>& records, RunShape shape) {
  const std::int32_t kind = records.back().m_kind;
  const int step = shape == RunShape::kSameLine ? 0 : shape == RunShape::kLineAfterLine ? 1 : -1;
  std::size_t run = 1;
  for (std::size_t k = records.size() - 1; k > 0; --k, ++run) {
    const CUndoRecord& applied = records[k];
    const CUndoRecord& next = records[k - 1];
    if (next.m_kind != kind || next.m_line != applied.m_line + step) break;
  }
  return run;
}

}  // namespace

// Applies the last frame of `from` backwards, record by record, and pushes the
// inverse steps onto `to` in the order they were made, so that replaying that
// frame undoes this replay. Each record's line is scrolled into view before it
// is applied, and the caret and anchor end where the frame's first record
// found them. Records that insert or remove one block of lines are applied
// to the model together, with the same records, caret and scrolling as one
// by one.
void ColorEditWnd::ReplayUndoFrame(CUndoFrameStack& from, CUndoFrameStack& to) {
  if (from.empty()) return;
  CUndoFrame frame;
  frame.m_records.swap(from.back().m_records);
  from.pop_back();
  std::deque<CUndoRecord>& records = frame.m_records;

  UpdateCaret(false);
  CUndoFrame inverse;
  // The inverse record of an applied one: the caret and anchor as they stand,
  // then the editor takes the record's.
  const auto invert = [this, &inverse](const CUndoRecord& record, std::int32_t kind, std::string text) {
    CUndoRecord undone;
    undone.m_line = record.m_line;
    undone.m_kind = kind;
    undone.m_text = std::move(text);
    undone.m_caretCol = m_caretCol;
    undone.m_caretLine = m_caretLine;
    undone.m_anchorCol = m_anchorCol;
    undone.m_anchorLine = m_anchorLine;
    m_caretCol = record.m_caretCol;
    m_caretLine = record.m_caretLine;
    m_anchorCol = record.m_anchorCol;
    m_anchorLine = record.m_anchorLine;
    inverse.m_records.push_back(std::move(undone));
  };
  // ScrollLineIntoView for each record of a run, with the line count it
  // finds, the window moved once at the end.
  const int rows = GetHandle() ? GetClientSize().GetHeight() / m_lineHeight : 0;
  bool scrolled = false;
  const auto scrollIntoView = [&](int line, int lineCount) {
    if (!GetHandle()) return;
    if (m_firstLine <= line && line < m_firstLine + rows) return;
    m_firstLine = std::max(0, std::min(line, lineCount - 1));
    scrolled = true;
  };

  while (!records.empty()) {
    const CUndoRecord& back = records.back();
    const int lineCount = m_textModel.LineCount();
    std::size_t run = 1;
    RunShape shape = RunShape::kSameLine;
    if (back.m_kind == LineDeleted || back.m_kind == LineInserted) {
      const RunShape shapes[] = {RunShape::kSameLine,
                                 back.m_kind == LineDeleted ? RunShape::kLineAfterLine : RunShape::kLineBeforeLine};
      for (RunShape s : shapes) {
        const std::size_t n = RunFromBack(records, s);
        if (n > run) {
          run = n;
          shape = s;
        }
      }
    }
    const int first = back.m_line;
    const int n = static_cast<int>(run);
    // Runs whose lines all exist (or may be inserted) go in one piece; the
    // first re-inserted line of a run still goes alone, so that its analysis
    // decides the section flag as before.
    bool block = false;
    if (back.m_kind == LineDeleted && run >= 3 && shape == RunShape::kSameLine)
      block = first >= 0 && first <= lineCount;
    if (back.m_kind == LineDeleted && run >= 3 && shape == RunShape::kLineAfterLine)
      block = first >= 0 && first <= lineCount;
    if (back.m_kind == LineInserted && run >= 2 && shape == RunShape::kSameLine)
      block = first >= 0 && first + n <= lineCount;
    if (back.m_kind == LineInserted && run >= 2 && shape == RunShape::kLineBeforeLine)
      block = first - n + 1 >= 0 && first < lineCount;

    if (block && back.m_kind == LineInserted) {
      // Removals: at one line, or each at the line above the one before.
      const int top = shape == RunShape::kSameLine ? first : first - n + 1;
      for (int k = 0; k < n; ++k) {
        const CUndoRecord& record = records[records.size() - 1 - k];
        scrollIntoView(record.m_line, lineCount - k);
        const int original = shape == RunShape::kSameLine ? first + k : first - k;
        invert(record, LineDeleted, m_textModel.lines[original]);
      }
      records.erase(records.end() - n, records.end());
      m_textModel.RemoveLines(top, n);
      continue;
    }
    if (block && back.m_kind == LineDeleted) {
      // The first alone, as below; then the rest at one line (each above the
      // one before) or each below the one before.
      {
        const CUndoRecord record = std::move(records.back());
        records.pop_back();
        ScrollLineIntoView(record.m_line);
        m_textModel.InsertLine(record.m_text, record.m_line, true);
        UpdateScrollBars();
        invert(record, LineInserted, std::string());
      }
      const int rest = n - 1;
      std::vector<std::string> texts(static_cast<std::size_t>(rest));
      for (int k = 0; k < rest; ++k) {
        CUndoRecord& record = records[records.size() - 1 - k];
        scrollIntoView(record.m_line, lineCount + 1 + k);
        // The block from its top down: at one line the last applied stands
        // first; line after line, the first applied.
        texts[shape == RunShape::kSameLine ? rest - 1 - k : k] = std::move(record.m_text);
        invert(record, LineInserted, std::string());
      }
      const int at = shape == RunShape::kSameLine ? first : first + 1;
      records.erase(records.end() - rest, records.end());
      m_textModel.InsertLinesBeforeRecolour(at, std::move(texts));
      UpdateScrollBars();
      continue;
    }

    const CUndoRecord record = std::move(records.back());
    records.pop_back();
    ScrollLineIntoView(record.m_line);
    switch (record.m_kind) {
      case LineInserted: {
        std::string text = m_textModel.lines.at(record.m_line);
        m_textModel.RemoveLine(record.m_line);
        invert(record, LineDeleted, std::move(text));
        break;
      }
      case LineDeleted:
        m_textModel.InsertLine(record.m_text, record.m_line, true);
        UpdateScrollBars();
        invert(record, LineInserted, std::string());
        break;
      default: {
        std::string text = m_textModel.lines.at(record.m_line);
        m_textModel.SetLine(record.m_text, record.m_line);
        invert(record, LineChanged, std::move(text));
        break;
      }
    }
  }
  if (scrolled) {
    SetScrollPos(wxVERTICAL, m_firstLine, true);
    Refresh(true);
  }
  to.emplace_back();
  to.back().m_records.swap(inverse.m_records);

  UpdateCaret(true);
  m_textModel.RecolourAll();
  // A replay can remove lines or change the longest one; the scroll bars
  // follow at once rather than at the next edit.
  UpdateScrollBars();
  RefreshChangedRows();
}

void ColorEditWnd::OnEditUndo(wxCommandEvent&) {
  ReplayUndoFrame(m_undoStack, m_redoStack);
  SendNotification(ids::EN_CHANGE);
}

void ColorEditWnd::OnEditRedo(wxCommandEvent&) {
  ReplayUndoFrame(m_redoStack, m_undoStack);
  SendNotification(ids::EN_CHANGE);
}

// Undo and redo arrive as edit commands, which the command concern binds with
// their enabling; this concern has no events of its own.
void ColorEditWnd::BindUndoEvents() {}
