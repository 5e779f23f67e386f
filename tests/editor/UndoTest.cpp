// The line primitives' undo records, the commit, and undo and redo by replay in a real editor window.
#include <string>
#include <tuple>
#include <vector>

#include "support/EditorFixture.h"

namespace {

using Text = std::vector<std::string>;
using Ints = std::vector<int>;
using Rec = std::tuple<int, int, std::string, int, int, int, int>;  // kind, line, text, caret, anchor

std::vector<Rec> Records(const CUndoFrame& frame) {
  std::vector<Rec> out;
  for (const CUndoRecord& r : frame.m_records)
    out.emplace_back(r.m_kind, r.m_line, r.m_text, r.m_caretCol, r.m_caretLine, r.m_anchorCol, r.m_anchorLine);
  return out;
}

class UndoTest : public EditorFixture {
 protected:
  void SetUp() override { EditorFixture::SetUp(); parent_->codes.clear(); }
  // The start of every editing action: drop stray records and the redo history.
  void BeginAction() { editor_->m_currentFrame.Clear(); ClearFrameStack(editor_->m_redoStack); }
  void Undo() { wxCommandEvent e(wxEVT_MENU, ids::ID_EDIT_UNDO); editor_->OnEditUndo(e); }
  void Redo() { wxCommandEvent e(wxEVT_MENU, ids::ID_EDIT_REDO); editor_->OnEditRedo(e); }
  void Place(int caretCol, int caretLine, int anchorCol, int anchorLine) {
    SetCaret(caretCol, caretLine);
    SetAnchor(anchorCol, anchorLine);
  }
  Ints CaretAnchor() const {
    return {editor_->m_caretCol, editor_->m_caretLine, editor_->m_anchorCol, editor_->m_anchorLine};
  }
};

TEST_F(UndoTest, PrimitivesRecordFirstTakeTheirFlagsInOrderAndRefuseBadIndices) {
  SetLines({"CON", "  x = 1", "PUB main"});
  Place(3, 1, 1, 0);
  editor_->InsertLine("VAR", 1, true, false);
  editor_->ReplaceLine("  x = 2", 2, false, true);
  SetCaret(0, 2);
  editor_->RemoveLine(3, false, true);
  EXPECT_EQ(Lines(), (Text{"CON", "VAR", "  x = 2"}));
  EXPECT_EQ(Records(editor_->m_currentFrame), (std::vector<Rec>{{LineInserted, 1, "", 3, 1, 1, 0},
                                                                {LineChanged, 2, "  x = 1", 3, 1, 1, 0},
                                                                {LineDeleted, 3, "PUB main", 0, 2, 1, 0}}));
  EXPECT_TRUE(editor_->m_undoStack.empty() && parent_->codes.empty());  // no commit, no notification
  // InsertLine takes update before don't-record, the other two don't-record before update.
  editor_->m_currentFrame.Clear();
  editor_->InsertLine("c", 3, false, true);
  editor_->ReplaceLine("B", 1, true, true);
  editor_->RemoveLine(0, true, true);
  editor_->InsertLine("dddd", 3, false, false);
  EXPECT_TRUE(editor_->m_textModel.lineColours[3].empty());  // not coloured without update
  // At or past the line count RemoveLine does nothing; a bad index is refused before recording.
  editor_->RemoveLine(4, false, true);
  editor_->RemoveLine(50, false, true);
  EXPECT_THROW(editor_->InsertLine("x", 5, true, false), InvalidArgumentError);
  EXPECT_THROW(editor_->ReplaceLine("x", 4, false, true), InvalidArgumentError);
  EXPECT_THROW(editor_->RemoveLine(-1, false, true), InvalidArgumentError);
  EXPECT_EQ(Lines(), (Text{"B", "  x = 2", "c", "dddd"}));
  EXPECT_EQ(editor_->m_currentFrame.m_records.size(), 1u);
}
// Enter at column 2 of "abcd": the line keeps "ab" and "cd" becomes line 1.
TEST_F(UndoTest, CommitThenSplitLineUndoRedoUndo) {
  SetLines({"abcd"});
  editor_->CommitAndNotify();  // nothing recorded: no frame, but EN_CHANGE all the same
  EXPECT_TRUE(editor_->m_undoStack.empty() && parent_->ids.back() == 310);
  EXPECT_EQ(parent_->codes, Ints{ids::EN_CHANGE});

  Place(2, 0, 2, 0);
  BeginAction();
  editor_->ReplaceLine("ab", 0, false, true);
  editor_->InsertLine("cd", 1, true, false);
  Place(0, 1, 0, 1);
  editor_->CommitUndoFrame();  // does not notify
  editor_->CommitAndNotify();  // has nothing left to push
  ASSERT_EQ(editor_->m_undoStack.size(), 1u);
  EXPECT_EQ(Records(editor_->m_undoStack.back()),
            (std::vector<Rec>{{LineChanged, 0, "abcd", 2, 0, 2, 0}, {LineInserted, 1, "", 2, 0, 2, 0}}));
  Undo();
  EXPECT_EQ(Lines(), Text{"abcd"});
  EXPECT_EQ(CaretAnchor(), (Ints{2, 0, 2, 0}));
  EXPECT_TRUE(editor_->m_undoStack.empty() && editor_->m_redoStack.size() == 1u);
  Redo();  // the caret goes back where it stood when the undo began
  EXPECT_EQ(Lines(), (Text{"ab", "cd"}));
  EXPECT_EQ(CaretAnchor(), (Ints{0, 1, 0, 1}));
  EXPECT_TRUE(editor_->m_redoStack.empty());
  Undo();
  EXPECT_EQ(Lines(), Text{"abcd"});
  EXPECT_EQ(CaretAnchor(), (Ints{2, 0, 2, 0}));
  EXPECT_EQ(parent_->codes, Ints(5, ids::EN_CHANGE));
}

// Deleting a selection from (2, 1) to (3, 3), the caret moved between records.
TEST_F(UndoTest, MultiRecordFrameRestoresTheSelectionAndLeavesTheCurrentFrameAlone) {
  const Text before{"zero", "b one", "c two", "ddd three", "tail"};
  SetLines(before);
  Place(3, 3, 2, 1);
  BeginAction();
  editor_->ReplaceLine("b  three", 1, false, true);
  editor_->RemoveLine(2, false, true);
  SetCaret(1, 1);
  editor_->RemoveLine(2, false, true);
  Place(2, 1, 2, 1);
  editor_->CommitAndNotify();
  const Text after = Lines();
  editor_->m_currentFrame.m_records.push_back(CUndoRecord{"pending"});
  Undo();
  EXPECT_EQ(Lines(), before);
  EXPECT_EQ(CaretAnchor(), (Ints{3, 3, 2, 1}));
  ASSERT_EQ(editor_->m_redoStack.size(), 1u);
  EXPECT_EQ(Records(editor_->m_redoStack.back()),
            (std::vector<Rec>{{LineInserted, 2, "", 2, 1, 2, 1}, {LineInserted, 2, "", 1, 1, 2, 1},
                              {LineChanged, 1, "b  three", 3, 3, 2, 1}}));
  Redo();
  EXPECT_EQ(Lines(), after);
  EXPECT_EQ(CaretAnchor(), (Ints{2, 1, 2, 1}));
  EXPECT_EQ(Records(editor_->m_currentFrame), (std::vector<Rec>{{0, 0, "pending", 0, 0, 0, 0}}));
}

// A thousand actions make a thousand frames; each undo takes back exactly one
// and each redo puts one back; with the stack empty an undo changes nothing.
TEST_F(UndoTest, AThousandFramesUndoneAndRedoneOneByOne) {
  SetLines({""});
  std::vector<Text> states{Lines()};
  for (int i = 0; i < 1000; ++i) {
    BeginAction();
    const int n = static_cast<int>(Lines().size());
    if (i % 4 < 2) editor_->InsertLine("line " + std::to_string(i), i % n, true, false);
    if (i % 4 == 2) editor_->ReplaceLine(std::to_string(i) + Lines()[n / 2], n / 2, false, true);
    if (i % 4 == 3) editor_->ReplaceLine("joined " + std::to_string(i), n - 2, false, true);
    if (i % 4 == 3) editor_->RemoveLine(n - 1, false, true);
    Place(i % 7, 0, i % 5, 0);
    editor_->CommitAndNotify();
    states.push_back(Lines());
  }
  ASSERT_EQ(editor_->m_undoStack.size(), 1000u);
  for (int i = 999; i >= 0; --i) {
    Undo();
    ASSERT_EQ(Lines(), states[i]) << "after undoing action " << i;
    ASSERT_EQ(editor_->m_undoStack.size(), static_cast<size_t>(i));
  }
  Undo();  // with nothing to undo
  EXPECT_EQ(Lines(), states[0]);
  for (int i = 1; i <= 1000; ++i) {
    Redo();
    ASSERT_EQ(Lines(), states[i]) << "after redoing action " << i;
  }
  EXPECT_EQ(parent_->Count(ids::EN_CHANGE), 3001);
}

}  // namespace
