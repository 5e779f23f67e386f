// Undo history values: one record per changed line, one frame per user action.
#pragma once

#include <cstdint>
#include <deque>
#include <string>

enum UndoRecordKind : std::int32_t {
  LineInserted = 0,
  LineDeleted = 1,
  LineChanged = 2,
};

// One step of an action on one line, with the caret and anchor to restore.
struct CUndoRecord {
  std::string m_text;  // the line's text before the step (empty for LineInserted)
  std::int32_t m_kind = LineInserted;
  std::int32_t m_line = 0;
  std::int32_t m_caretCol = 0;
  std::int32_t m_caretLine = 0;
  std::int32_t m_anchorCol = 0;
  std::int32_t m_anchorLine = 0;
};

// The records of one user action, in the order they were made.
class CUndoFrame {
 public:
  virtual ~CUndoFrame() = default;
  void Clear();

  std::deque<CUndoRecord> m_records;
};

using CUndoFrameStack = std::deque<CUndoFrame>;

// Destroys every frame of the stack, the last first.
void ClearFrameStack(CUndoFrameStack& stack);
