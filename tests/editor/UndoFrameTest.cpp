// Undo records and frames as plain values, and clearing frames and stacks.
#include <gtest/gtest.h>

#include "editor/UndoFrame.h"

namespace {

CUndoRecord MakeRecord(const std::string& text, std::int32_t kind, std::int32_t line, std::int32_t base) {
  CUndoRecord r;
  r.m_text = text;
  r.m_kind = kind;
  r.m_line = line;
  r.m_caretCol = base;
  r.m_caretLine = base + 1;
  r.m_anchorCol = base + 2;
  r.m_anchorLine = base + 3;
  return r;
}

void ExpectSameRecord(const CUndoRecord& a, const CUndoRecord& b) {
  EXPECT_EQ(a.m_text, b.m_text);
  EXPECT_EQ(a.m_kind, b.m_kind);
  EXPECT_EQ(a.m_line, b.m_line);
  EXPECT_EQ(a.m_caretCol, b.m_caretCol);
  EXPECT_EQ(a.m_caretLine, b.m_caretLine);
  EXPECT_EQ(a.m_anchorCol, b.m_anchorCol);
  EXPECT_EQ(a.m_anchorLine, b.m_anchorLine);
}

}  // namespace

TEST(UndoRecord, DefaultIsEmptyTextAndZeroes) {
  const CUndoRecord r;
  EXPECT_TRUE(r.m_text.empty());
  EXPECT_EQ(r.m_kind, 0);
  EXPECT_EQ(r.m_kind, LineInserted);
  EXPECT_EQ(r.m_line, 0);
  EXPECT_EQ(r.m_caretCol, 0);
  EXPECT_EQ(r.m_caretLine, 0);
  EXPECT_EQ(r.m_anchorCol, 0);
  EXPECT_EQ(r.m_anchorLine, 0);
  EXPECT_EQ(LineDeleted, 1);
  EXPECT_EQ(LineChanged, 2);
}

TEST(UndoRecord, AssignmentCopiesTextAndAllNumbersIndependently) {
  const CUndoRecord original = MakeRecord("PUB main", LineChanged, 17, 40);
  CUndoRecord copy;
  copy = original;
  ExpectSameRecord(copy, original);

  copy.m_text[0] = 'X';
  copy.m_text += " | changed";
  copy.m_line = 3;
  EXPECT_EQ(original.m_text, "PUB main");
  EXPECT_EQ(original.m_line, 17);
}

TEST(UndoFrame, ClearAndClearFrameStack) {
  // Empty containers stay empty and usable.
  CUndoFrame empty;
  empty.Clear();
  EXPECT_TRUE(empty.m_records.empty());
  CUndoFrameStack emptyStack;
  ClearFrameStack(emptyStack);
  EXPECT_TRUE(emptyStack.empty());

  // Clear removes every record; the frame takes new ones afterwards.
  CUndoFrame frame;
  for (int i = 0; i < 5; ++i) frame.m_records.push_back(MakeRecord("line", LineDeleted, i, i));
  frame.Clear();
  EXPECT_TRUE(frame.m_records.empty());
  frame.m_records.push_back(MakeRecord("again", LineInserted, 9, 0));
  EXPECT_EQ(frame.m_records.size(), 1u);

  // ClearFrameStack removes every frame; the stack takes new ones afterwards.
  CUndoFrameStack stack;
  for (int i = 0; i < 4; ++i) {
    stack.emplace_back();
    stack.back().m_records.push_back(MakeRecord(std::string(100, 'a' + i), LineChanged, i, i));
  }
  ClearFrameStack(stack);
  EXPECT_TRUE(stack.empty());
  stack.emplace_back();
  EXPECT_EQ(stack.size(), 1u);
}

TEST(UndoFrame, FramesAreValuesKeepingRecordOrder) {
  CUndoFrame frame;
  frame.m_records.push_back(MakeRecord("abcd", LineChanged, 0, 2));
  frame.m_records.push_back(MakeRecord("", LineInserted, 1, 2));

  CUndoFrameStack stack;
  stack.push_back(frame);
  frame.m_records.front().m_text = "other";
  frame.Clear();

  ASSERT_EQ(stack.back().m_records.size(), 2u);
  ExpectSameRecord(stack.back().m_records[0], MakeRecord("abcd", LineChanged, 0, 2));
  ExpectSameRecord(stack.back().m_records[1], MakeRecord("", LineInserted, 1, 2));
}
