// The line primitives' undo records, the commit, and undo and redo by replay
// against a real editor window.
#include <algorithm>
#include <string>
#include <vector>

#include "support/EditorFixture.h"

#include <wx/caret.h>

namespace {

class UndoTest : public EditorFixture {
 protected:
  void SetUp() override {
    EditorFixture::SetUp();
    editor_->m_cellWidth = 10;
    editor_->m_lineHeight = 10;
    parent_->codes.clear();
    parent_->ids.clear();
  }

  // The start of every editing action: drop stray records and the redo history.
  void BeginAction() {
    editor_->m_currentFrame.Clear();
    ClearFrameStack(editor_->m_redoStack);
  }
  void Undo() {
    wxCommandEvent event(wxEVT_MENU, ids::ID_EDIT_UNDO);
    editor_->OnEditUndo(event);
  }
  void Redo() {
    wxCommandEvent event(wxEVT_MENU, ids::ID_EDIT_REDO);
    editor_->OnEditRedo(event);
  }
  static std::vector<std::string> Numbered(int n) {
    std::vector<std::string> lines;
    for (int i = 0; i < n; ++i) lines.push_back("line " + std::to_string(i));
    return lines;
  }
  void ExpectCaretAnchor(int caretCol, int caretLine, int anchorCol, int anchorLine) {
    EXPECT_EQ(editor_->m_caretCol, caretCol);
    EXPECT_EQ(editor_->m_caretLine, caretLine);
    EXPECT_EQ(editor_->m_anchorCol, anchorCol);
    EXPECT_EQ(editor_->m_anchorLine, anchorLine);
  }
  void ExpectRecord(const CUndoRecord& r, int kind, int line, const std::string& text, int caretCol,
                    int caretLine, int anchorCol, int anchorLine) {
    EXPECT_EQ(r.m_kind, kind);
    EXPECT_EQ(r.m_line, line);
    EXPECT_EQ(r.m_text, text);
    EXPECT_EQ(r.m_caretCol, caretCol);
    EXPECT_EQ(r.m_caretLine, caretLine);
    EXPECT_EQ(r.m_anchorCol, anchorCol);
    EXPECT_EQ(r.m_anchorLine, anchorLine);
  }
  // Gives the editor the focus. Other test programs sharing the display may
  // take the X focus away while events are pumped, so this asks again until
  // the focus holds after a pump; the test then pumps no more.
  bool TakeFocus() {
    for (int attempt = 0; attempt < 50; ++attempt) {
      editor_->SetFocus();
      Pump();
      if (editor_->HasFocus()) return true;
    }
    return false;
  }
  int ChangeCount() const { return parent_->Count(ids::EN_CHANGE); }
};

TEST_F(UndoTest, PrimitivesRecordFirstThenChangeTheModel) {
  SetLines({"CON", "  x = 1", "PUB main"});
  SetCaret(3, 1);
  SetAnchor(1, 0);

  editor_->InsertLine("VAR", 1, true, false);
  editor_->ReplaceLine("  x = 2", 2, false, true);
  SetCaret(0, 2);
  editor_->RemoveLine(3, false, true);

  EXPECT_EQ(Lines(), (std::vector<std::string>{"CON", "VAR", "  x = 2"}));
  const auto& records = editor_->m_currentFrame.m_records;
  ASSERT_EQ(records.size(), 3u);
  ExpectRecord(records[0], LineInserted, 1, "", 3, 1, 1, 0);
  ExpectRecord(records[1], LineChanged, 2, "  x = 1", 3, 1, 1, 0);
  ExpectRecord(records[2], LineDeleted, 3, "PUB main", 0, 2, 1, 0);

  // The model keeps one colour entry per line through all three.
  EXPECT_EQ(editor_->m_textModel.lineColours.size(), 3u);
  EXPECT_EQ(editor_->m_textModel.lineColours[2].size(), std::string("  x = 2").size());
  // None of them commits or notifies.
  EXPECT_TRUE(editor_->m_undoStack.empty());
  EXPECT_EQ(ChangeCount(), 0);
}

TEST_F(UndoTest, PrimitiveFlagsAndIndexLimits) {
  SetLines({"a", "b"});

  // Argument order: InsertLine(text, index, update, don't-record); the other
  // two take don't-record before update.
  editor_->InsertLine("c", 2, false, true);
  editor_->ReplaceLine("B", 1, true, true);
  editor_->RemoveLine(0, true, true);
  EXPECT_EQ(Lines(), (std::vector<std::string>{"B", "c"}));
  EXPECT_TRUE(editor_->m_currentFrame.m_records.empty());

  // Without update the inserted line is not coloured yet.
  editor_->InsertLine("dddd", 2, false, false);
  EXPECT_TRUE(editor_->m_textModel.lineColours[2].empty());
  EXPECT_EQ(editor_->m_currentFrame.m_records.size(), 1u);
  editor_->m_textModel.RecolourAll();

  // Removing at or past the line count does nothing at all.
  const int maxLength = editor_->m_textModel.maxLineLength;
  editor_->RemoveLine(3, false, true);
  editor_->RemoveLine(50, false, true);
  EXPECT_EQ(Lines(), (std::vector<std::string>{"B", "c", "dddd"}));
  EXPECT_EQ(editor_->m_currentFrame.m_records.size(), 1u);
  EXPECT_EQ(editor_->m_textModel.maxLineLength, maxLength);

  // Indices the model cannot take are refused before anything is recorded,
  // so no record can describe a change that never happened.
  EXPECT_THROW(editor_->InsertLine("x", 4, true, false), InvalidArgumentError);
  EXPECT_THROW(editor_->InsertLine("x", -1, true, false), InvalidArgumentError);
  EXPECT_THROW(editor_->ReplaceLine("x", 3, false, true), InvalidArgumentError);
  EXPECT_THROW(editor_->ReplaceLine("x", -1, false, true), InvalidArgumentError);
  EXPECT_THROW(editor_->RemoveLine(-1, false, true), InvalidArgumentError);
  EXPECT_EQ(Lines(), (std::vector<std::string>{"B", "c", "dddd"}));
  EXPECT_EQ(editor_->m_currentFrame.m_records.size(), 1u);
}

TEST_F(UndoTest, CommitMovesRecordsAsOneFrameAndNotifies) {
  SetLines({"one"});

  // An empty frame pushes nothing, but EN_CHANGE still goes out.
  editor_->CommitAndNotify();
  EXPECT_TRUE(editor_->m_undoStack.empty());
  ASSERT_EQ(parent_->codes, std::vector<int>{ids::EN_CHANGE});
  EXPECT_EQ(parent_->ids, std::vector<int>{310});

  editor_->ReplaceLine("one!", 0, false, true);
  editor_->InsertLine("two", 1, true, false);
  editor_->CommitUndoFrame();
  EXPECT_TRUE(editor_->m_currentFrame.m_records.empty());
  ASSERT_EQ(editor_->m_undoStack.size(), 1u);
  ASSERT_EQ(editor_->m_undoStack.back().m_records.size(), 2u);
  EXPECT_EQ(editor_->m_undoStack.back().m_records[0].m_kind, LineChanged);
  EXPECT_EQ(editor_->m_undoStack.back().m_records[1].m_kind, LineInserted);
  EXPECT_EQ(ChangeCount(), 1);  // CommitUndoFrame alone does not notify

  editor_->CommitUndoFrame();
  EXPECT_EQ(editor_->m_undoStack.size(), 1u);

  editor_->RemoveLine(1, false, true);
  editor_->CommitAndNotify();
  EXPECT_EQ(editor_->m_undoStack.size(), 2u);
  EXPECT_EQ(ChangeCount(), 2);
}

// Enter at column 2 of "abcd": the line keeps "ab" and "cd" becomes line 1.
TEST_F(UndoTest, SplitLineUndoRedoUndo) {
  SetLines({"abcd"});
  SetCaret(2, 0);
  SetAnchor(2, 0);
  BeginAction();
  editor_->ReplaceLine("ab", 0, false, true);
  editor_->InsertLine("cd", 1, true, false);
  SetCaret(0, 1);
  SetAnchor(0, 1);
  editor_->CommitAndNotify();

  ASSERT_EQ(editor_->m_undoStack.size(), 1u);
  const auto& frame = editor_->m_undoStack.back().m_records;
  ASSERT_EQ(frame.size(), 2u);
  ExpectRecord(frame[0], LineChanged, 0, "abcd", 2, 0, 2, 0);
  ExpectRecord(frame[1], LineInserted, 1, "", 2, 0, 2, 0);

  Undo();
  EXPECT_EQ(Lines(), std::vector<std::string>{"abcd"});
  ExpectCaretAnchor(2, 0, 2, 0);
  EXPECT_TRUE(editor_->m_undoStack.empty());
  ASSERT_EQ(editor_->m_redoStack.size(), 1u);
  const auto& inverse = editor_->m_redoStack.back().m_records;
  ASSERT_EQ(inverse.size(), 2u);
  ExpectRecord(inverse[0], LineDeleted, 1, "cd", 0, 1, 0, 1);
  ExpectRecord(inverse[1], LineChanged, 0, "ab", 2, 0, 2, 0);

  // Redo puts the caret back where it stood when the undo began.
  Redo();
  EXPECT_EQ(Lines(), (std::vector<std::string>{"ab", "cd"}));
  ExpectCaretAnchor(0, 1, 0, 1);
  EXPECT_TRUE(editor_->m_redoStack.empty());
  ASSERT_EQ(editor_->m_undoStack.size(), 1u);

  Undo();
  EXPECT_EQ(Lines(), std::vector<std::string>{"abcd"});
  ExpectCaretAnchor(2, 0, 2, 0);

  EXPECT_EQ(parent_->codes, std::vector<int>(4, ids::EN_CHANGE));
  EXPECT_EQ(parent_->ids, std::vector<int>(4, 310));
  // Each line carries one colour per byte after a replay.
  EXPECT_EQ(editor_->m_textModel.lineColours.size(), 1u);
  EXPECT_EQ(editor_->m_textModel.lineColours[0].size(), 4u);
}

// A selection from (2, 1) to (3, 3) deleted: line 1 gets "b" + "dd", lines 2
// and 3 go. Undo brings back the text and the selection as it was.
TEST_F(UndoTest, MultiRecordFrameRestoresTextCaretAndAnchor) {
  SetLines({"zero", "b one", "c two", "ddd three", "tail"});
  SetCaret(3, 3);
  SetAnchor(2, 1);
  BeginAction();
  editor_->ReplaceLine("b  three", 1, false, true);
  editor_->RemoveLine(2, false, true);
  editor_->RemoveLine(2, false, true);
  SetCaret(2, 1);
  SetAnchor(2, 1);
  editor_->CommitAndNotify();
  const std::vector<std::string> after = Lines();
  ASSERT_EQ(after.size(), 3u);

  Undo();
  EXPECT_EQ(Lines(), (std::vector<std::string>{"zero", "b one", "c two", "ddd three", "tail"}));
  ExpectCaretAnchor(3, 3, 2, 1);
  EXPECT_TRUE(editor_->HasSelection());
  // The redo frame holds the inverse steps in the order they were made.
  const auto& inverse = editor_->m_redoStack.back().m_records;
  ASSERT_EQ(inverse.size(), 3u);
  EXPECT_EQ(inverse[0].m_kind, LineInserted);
  EXPECT_EQ(inverse[1].m_kind, LineInserted);
  EXPECT_EQ(inverse[2].m_kind, LineChanged);
  EXPECT_EQ(inverse[2].m_text, after[1]);

  Redo();
  EXPECT_EQ(Lines(), after);
  ExpectCaretAnchor(2, 1, 2, 1);
  EXPECT_FALSE(editor_->HasSelection());

  Undo();
  EXPECT_EQ(Lines(), (std::vector<std::string>{"zero", "b one", "c two", "ddd three", "tail"}));
  ExpectCaretAnchor(3, 3, 2, 1);
}

TEST_F(UndoTest, EmptyStacksChangeNothingButNotify) {
  SetLines({"keep", "this"});
  SetCaret(2, 1);
  SetAnchor(0, 0);
  Undo();
  Redo();
  EXPECT_EQ(Lines(), (std::vector<std::string>{"keep", "this"}));
  ExpectCaretAnchor(2, 1, 0, 0);
  EXPECT_TRUE(editor_->m_undoStack.empty());
  EXPECT_TRUE(editor_->m_redoStack.empty());
  EXPECT_EQ(parent_->codes, (std::vector<int>{ids::EN_CHANGE, ids::EN_CHANGE}));
}

TEST_F(UndoTest, UndoAndRedoLeaveTheCurrentFrameAlone) {
  SetLines({"x"});
  BeginAction();
  editor_->ReplaceLine("xy", 0, false, true);
  editor_->CommitAndNotify();
  editor_->ReplaceLine("pending", 0, false, true);
  ASSERT_EQ(editor_->m_currentFrame.m_records.size(), 1u);
  Undo();
  EXPECT_EQ(editor_->m_currentFrame.m_records.size(), 1u);
  EXPECT_EQ(editor_->m_currentFrame.m_records[0].m_text, "xy");
}

TEST_F(UndoTest, ReplayScrollsEachRecordsLineIntoView) {
  SetLines(Numbered(200));
  const int rows = editor_->GetClientSize().GetHeight() / editor_->m_lineHeight;
  ASSERT_GT(rows, 10);
  ASSERT_LT(rows, 150);

  // Records at lines 150 and then 5: replayed last first, so the view ends at
  // line 150, the line of the frame's first record.
  BeginAction();
  SetCaret(0, 150);
  SetAnchor(0, 150);
  editor_->ReplaceLine("changed 150", 150, false, true);
  SetCaret(0, 5);
  SetAnchor(0, 5);
  editor_->ReplaceLine("changed 5", 5, false, true);
  editor_->CommitAndNotify();
  Undo();
  EXPECT_EQ(editor_->m_firstLine, 150);
  // The bar's thumb cannot go past the last page.
  const int lastPage = editor_->GetScrollRange(wxVERTICAL) - editor_->GetScrollThumb(wxVERTICAL);
  EXPECT_EQ(editor_->GetScrollPos(wxVERTICAL), std::min(150, lastPage));
  EXPECT_EQ(Lines(), Numbered(200));
  ExpectCaretAnchor(0, 150, 0, 150);

  // The redo frame holds line 5 first: line 150 is visible and does not move
  // the view, line 5 then becomes the first line.
  Redo();
  EXPECT_EQ(editor_->m_firstLine, 5);
  EXPECT_EQ(editor_->GetScrollPos(wxVERTICAL), 5);
  ExpectCaretAnchor(0, 5, 0, 5);

  // A frame whose lines are all visible leaves the view where it is.
  editor_->ScrollToLine(0);
  BeginAction();
  editor_->ReplaceLine("again", 3, false, true);
  editor_->CommitAndNotify();
  Undo();
  EXPECT_EQ(editor_->m_firstLine, 0);
}

TEST_F(UndoTest, ScrollBarsFollowEveryReplay) {
  SetLines(Numbered(20));
  // One action that appends 300 lines without updating the scroll bars, as a
  // text insertion does before its final update.
  BeginAction();
  for (int i = 0; i < 300; ++i) editor_->InsertLine("more", 20 + i, false, false);
  editor_->m_textModel.RecolourAll();
  editor_->UpdateScrollBars();
  editor_->CommitAndNotify();
  const int longRange = editor_->GetScrollRange(wxVERTICAL);

  // Undo only removes lines; the bar still shrinks at once.
  Undo();
  EXPECT_EQ(Lines().size(), 20u);
  const int shortRange = editor_->GetScrollRange(wxVERTICAL);
  EXPECT_LT(shortRange, longRange);
  editor_->UpdateScrollBars();
  EXPECT_EQ(editor_->GetScrollRange(wxVERTICAL), shortRange);

  Redo();
  EXPECT_EQ(editor_->GetScrollRange(wxVERTICAL), longRange);
}

TEST_F(UndoTest, ReplayHidesAndShowsTheCaretAtItsRestoredCell) {
  ASSERT_TRUE(TakeFocus());
  SetLines({"abcd", "efgh"});
  SetCaret(3, 1);
  SetAnchor(3, 1);
  editor_->UpdateCaret(true);
  BeginAction();
  editor_->ReplaceLine("abcdX", 0, false, true);
  SetCaret(0, 0);
  SetAnchor(0, 0);
  editor_->CommitAndNotify();
  editor_->UpdateCaret(false);
  editor_->UpdateCaret(true);
  Undo();
  EXPECT_TRUE(editor_->m_caretShown);
  ASSERT_NE(editor_->GetCaret(), nullptr);
  EXPECT_EQ(editor_->GetCaret()->GetPosition(), wxPoint(3 * 10 + 9, 1 * 10));
}

// A thousand actions make a thousand frames; each undo takes back exactly one,
// and each redo puts one back.
TEST_F(UndoTest, AThousandFramesUndoneOneByOne) {
  SetLines({""});
  std::vector<std::vector<std::string>> states{Lines()};
  for (int i = 0; i < 1000; ++i) {
    BeginAction();
    const int n = static_cast<int>(Lines().size());
    switch (i % 4) {
      case 0:
      case 1: editor_->InsertLine("line " + std::to_string(i), i % n, true, false); break;
      case 2: editor_->ReplaceLine(std::to_string(i) + Lines()[n / 2], n / 2, false, true); break;
      default:
        editor_->ReplaceLine("joined " + std::to_string(i), n - 2, false, true);
        editor_->RemoveLine(n - 1, false, true);
        break;
    }
    SetCaret(i % 7, 0);
    SetAnchor(i % 5, 0);
    editor_->CommitAndNotify();
    states.push_back(Lines());
  }
  ASSERT_EQ(editor_->m_undoStack.size(), 1000u);

  for (int i = 999; i >= 0; --i) {
    Undo();
    ASSERT_EQ(Lines(), states[i]) << "after undoing action " << i;
    ASSERT_EQ(editor_->m_undoStack.size(), static_cast<size_t>(i));
  }
  EXPECT_EQ(editor_->m_redoStack.size(), 1000u);
  Undo();  // nothing left
  EXPECT_EQ(Lines(), states[0]);

  for (int i = 1; i <= 1000; ++i) {
    Redo();
    ASSERT_EQ(Lines(), states[i]) << "after redoing action " << i;
  }
  EXPECT_TRUE(editor_->m_redoStack.empty());
  EXPECT_EQ(ChangeCount(), 1000 + 1000 + 1 + 1000);
}

}  // namespace
