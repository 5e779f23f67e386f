// The three line primitives that record undo, the commit of an action's
// frame, and undo and redo by replaying a frame.
#include "editor/ColorEditWnd.h"
#include "res/ResourceIds.h"

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

// Applies the last frame of `from` backwards, record by record, and pushes the
// inverse steps onto `to` in the order they were made, so that replaying that
// frame undoes this replay. Each record's line is scrolled into view before it
// is applied, and the caret and anchor end where the frame's first record
// found them.
void ColorEditWnd::ReplayUndoFrame(CUndoFrameStack& from, CUndoFrameStack& to) {
  if (from.empty()) return;
  CUndoFrame frame;
  frame.m_records.swap(from.back().m_records);
  from.pop_back();

  UpdateCaret(false);
  CUndoFrame inverse;
  while (!frame.m_records.empty()) {
    const CUndoRecord record = std::move(frame.m_records.back());
    frame.m_records.pop_back();

    ScrollLineIntoView(record.m_line);
    CUndoRecord undone;
    undone.m_line = record.m_line;
    switch (record.m_kind) {
      case LineInserted:
        undone.m_kind = LineDeleted;
        undone.m_text = m_textModel.lines.at(record.m_line);
        m_textModel.RemoveLine(record.m_line);
        break;
      case LineDeleted:
        undone.m_kind = LineInserted;
        m_textModel.InsertLine(record.m_text, record.m_line, true);
        UpdateScrollBars();
        break;
      default:
        undone.m_kind = LineChanged;
        undone.m_text = m_textModel.lines.at(record.m_line);
        m_textModel.SetLine(record.m_text, record.m_line);
        break;
    }
    undone.m_caretCol = m_caretCol;
    undone.m_caretLine = m_caretLine;
    undone.m_anchorCol = m_anchorCol;
    undone.m_anchorLine = m_anchorLine;
    m_caretCol = record.m_caretCol;
    m_caretLine = record.m_caretLine;
    m_anchorCol = record.m_anchorCol;
    m_anchorLine = record.m_anchorLine;
    inverse.m_records.push_back(std::move(undone));
  }
  to.emplace_back();
  to.back().m_records.swap(inverse.m_records);

  UpdateCaret(true);
  m_textModel.RecolourAll();
  // A replay can remove lines or change the longest one; the scroll bars
  // follow at once rather than at the next edit.
  UpdateScrollBars();
  if (GetHandle()) Refresh(true);
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
