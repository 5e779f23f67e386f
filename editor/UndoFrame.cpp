// Clearing frames and stacks of frames.
#include "editor/UndoFrame.h"

void CUndoFrame::Clear() { m_records.clear(); }

void ClearFrameStack(CUndoFrameStack& stack) {
  while (!stack.empty()) stack.pop_back();
}
