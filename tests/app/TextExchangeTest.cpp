// Text coming into a document's editor as the user brings it: pasted with
// Ctrl+V from another program's clipboard, then typed on, undone and redone
// with real keys.
#include <wx/uiaction.h>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "OtherClipboardOwner.h"
#include "editor/ColorEditWnd.h"
#include "support/ShellFixture.h"

namespace {

using Lines_t = std::vector<std::string>;
using shelltest::PumpUntil;

struct Place {
  int anchorCol, anchorLine, caretCol, caretLine;
  bool operator==(const Place& o) const {
    return anchorCol == o.anchorCol && anchorLine == o.anchorLine && caretCol == o.caretCol &&
           caretLine == o.caretLine;
  }
};

void PrintTo(const Place& p, std::ostream* os) {
  *os << "anchor " << p.anchorCol << "," << p.anchorLine << " caret " << p.caretCol << "," << p.caretLine;
}

class TextExchangeTest : public shelltest::DocFrameTest {
 protected:
  // A document of the one line `line` in a focused editor with the anchor
  // and caret at these columns.
  ColorEditWnd* Editing(const std::string& name, const std::string& line, int anchorCol, int caretCol) {
    doc_ = Open(WriteFile(name, line));
    if (!doc_) return nullptr;
    ColorEditWnd* editor = ViewOf(doc_)->m_pEditor;
    editor->SetSelection(anchorCol, 0, caretCol, 0);
    editor->SetFocus();
    PumpUntil([editor] { return wxWindow::FindFocus() == editor; }, 3000);
    return editor;
  }
  static Lines_t LinesOf(ColorEditWnd* editor) { return editor->m_textModel.lines; }
  static Place PlaceOf(ColorEditWnd* editor) {
    return {editor->m_anchorCol, editor->m_anchorLine, editor->m_caretCol, editor->m_caretLine};
  }
  // Presses a key with the modifiers, as the user does, and waits until the
  // editor's lines are `lines`; false when they do not become so.
  bool Press(ColorEditWnd* editor, int key, int modifiers, const Lines_t& lines) {
    keys_.Char(key, modifiers);
    return PumpUntil([&] { return LinesOf(editor) == lines; }, 3000);
  }

  CSourceDoc* doc_ = nullptr;  // the document of the last Editing
  wxUIActionSimulator keys_;
};

// Pasting text with a line break into the middle of a line leaves the caret
// right after the pasted text, so what the user types next stands there;
// undo and redo bring back the same places.
TEST_F(TextExchangeTest, TypingAfterAPasteOfLinesGoesRightAfterThePastedText) {
  const struct {
    const char* name;
    int anchor, caret;  // on the line "  abc = 1"
    std::string clip;
    Lines_t pasted;
    Place afterPaste;
    Lines_t typed;  // after Q
  } cases[] = {
      {"a line break", 2, 2, "Y\n", {"  Y", "abc = 1"}, {0, 1, 0, 1}, {"  Y", "Qabc = 1"}},
      {"lines with CR LF", 2, 2, "one\r\ntwo\r\nth", {"  one", "two", "thabc = 1"}, {2, 2, 2, 2},
       {"  one", "two", "thQabc = 1"}},
      {"over a selection", 2, 5, "Y\nZ", {"  Y", "Z = 1"}, {1, 1, 1, 1}, {"  Y", "ZQ = 1"}},
      {"over a selection made leftwards", 5, 2, "Y\n", {"  Y", " = 1"}, {0, 1, 0, 1}, {"  Y", "Q = 1"}},
  };
  const Lines_t before{"  abc = 1"};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    ColorEditWnd* editor = Editing("paste.vorn", before.front(), c.anchor, c.caret);
    ASSERT_NE(editor, nullptr);
    ASSERT_EQ(wxWindow::FindFocus(), editor);
    // Undo puts the caret where the paste began: the start of a selection
    // it replaced, the deletion of a selection on one line keeping only that.
    const int from = std::min(c.anchor, c.caret);
    const Place start{from, 0, from, 0};
    OtherClipboardOwner other({"UTF8_STRING"}, c.clip);
    ASSERT_TRUE(other.Owns());

    ASSERT_TRUE(Press(editor, 'V', wxMOD_CONTROL, c.pasted)) << testing::PrintToString(LinesOf(editor));
    EXPECT_EQ(PlaceOf(editor), c.afterPaste);
    ASSERT_TRUE(Press(editor, 'Q', wxMOD_SHIFT, c.typed)) << testing::PrintToString(LinesOf(editor));
    const Place afterQ{c.afterPaste.caretCol + 1, c.afterPaste.caretLine, c.afterPaste.caretCol + 1,
                       c.afterPaste.caretLine};
    EXPECT_EQ(PlaceOf(editor), afterQ);

    ASSERT_TRUE(Press(editor, 'Z', wxMOD_CONTROL, c.pasted));
    EXPECT_EQ(PlaceOf(editor), c.afterPaste);
    ASSERT_TRUE(Press(editor, 'Z', wxMOD_CONTROL, before));
    EXPECT_EQ(PlaceOf(editor), start);
    ASSERT_TRUE(Press(editor, 'Y', wxMOD_CONTROL, c.pasted));
    EXPECT_EQ(PlaceOf(editor), c.afterPaste);
    ASSERT_TRUE(Press(editor, 'Y', wxMOD_CONTROL, c.typed));
    EXPECT_EQ(PlaceOf(editor), afterQ);
    Drop(doc_);
  }
}

}  // namespace
