// Undo records and frames as plain values, and clearing frames and stacks.
#include <gtest/gtest.h>

#include "editor/UndoFrame.h"

TEST(UndoFrame, CopiesAreIndependentValuesAndClearingEmpties) {
  const CUndoRecord first{"PUB main", LineChanged, 17, 1, 2, 3, 4};
  CUndoRecord copy;
  copy = first;
  copy.m_text[0] = 'X';
  EXPECT_EQ(first.m_text, "PUB main");
  EXPECT_TRUE(copy.m_text == "XUB main" && copy.m_kind == LineChanged && copy.m_line == 17 && copy.m_caretCol == 1 &&
              copy.m_caretLine == 2 && copy.m_anchorCol == 3 && copy.m_anchorLine == 4);
  CUndoFrame frame;
  frame.m_records = {CUndoRecord{}, first};
  CUndoFrameStack stack{frame, frame};
  frame.Clear();
  EXPECT_TRUE(frame.m_records.empty());
  EXPECT_EQ(stack.back().m_records.at(1).m_text, "PUB main");
  ClearFrameStack(stack);
  EXPECT_TRUE(stack.empty());
}
