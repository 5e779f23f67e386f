// Text coming into a document's editor as the user brings it: pasted with
// Ctrl+V from another program's clipboard, then typed on, undone and redone
// with real keys; and UTF-16 files opened with characters that no glyph shows.
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
using shelltest::MessageBoxes;
using shelltest::PumpUntil;
using shelltest::ReadFile;

// A UTF-16 little-endian file of these units, after its FF FE.
std::string Utf16File(const std::u16string& units) {
  std::string bytes = "\xFF\xFE";
  for (char16_t u : units) bytes += {static_cast<char>(u & 0xFF), static_cast<char>(u >> 8)};
  return bytes;
}

// What the message boxes said, or their captions, in UTF-8.
std::vector<std::string> Utf8(const std::vector<wxString>& texts) {
  std::vector<std::string> out;
  for (const wxString& text : texts) out.push_back(text.utf8_string());
  return out;
}

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

// A paste of characters that no glyph shows tells the user once how many
// were left out; a paste whose characters all have glyphs tells nothing.
TEST_F(TextExchangeTest, APasteTellsOnceHowManyCharactersItLeftOut) {
  const struct {
    const char* name;
    std::string clip;  // UTF-8, as another program hands it over
    Lines_t pasted;    // at column 2 of "  abc = 1"
    std::vector<std::string> told;
  } cases[] = {
      // em dash, curly quotes, an emoji, a check mark and two CJK characters have no glyph
      {"uncovered",
       "a\xE2\x80\x94\xE2\x80\x9C" "b\xE2\x80\x9D \xF0\x9F\x98\x80\xE2\x9C\x93\xE4\xB8\xAD\xE6\x96\x87\xE2\x82\xAC",
       {"  ab \xA4" "abc = 1"},
       {"7 characters of the pasted text cannot be shown and were left out."}},
      {"one uncovered", "x\xE2\x80\x94\ny", {"  x", "yabc = 1"},
       {"1 character of the pasted text cannot be shown and was left out."}},
      {"all covered", "x\xE2\x82\xAC\xC3\xA9\xE2\x94\x80\xE2\x80\xA2", {"  x\xA4\xE9\x90\x0F" "abc = 1"}, {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    ColorEditWnd* editor = Editing("told.vorn", "  abc = 1", 2, 2);
    ASSERT_NE(editor, nullptr);
    ASSERT_EQ(wxWindow::FindFocus(), editor);
    OtherClipboardOwner other({"UTF8_STRING"}, c.clip);
    ASSERT_TRUE(other.Owns());
    MessageBoxes boxes;
    ASSERT_TRUE(Press(editor, 'V', wxMOD_CONTROL, c.pasted)) << testing::PrintToString(LinesOf(editor));
    shelltest::Pump();
    EXPECT_EQ(Utf8(boxes.texts), c.told);
    EXPECT_EQ(Utf8(boxes.captions), std::vector<std::string>(c.told.size(), "Quillmark"));
    Drop(doc_);
  }
}

// Opening a UTF-16 file with characters that no glyph shows tells the user
// once how many the editor leaves out and that a save writes the file
// without them; another window on it, the save and files whose characters
// all have glyphs tell nothing.
TEST_F(TextExchangeTest, OpeningAFileTellsOnceHowManyCharactersAreLeftOut) {
  MessageBoxes boxes;
  // A check mark, a CJK character and an emoji (a surrogate pair); the
  // byte-order mark is no character of the text.
  const std::string edges = WriteFile("edges.vorn", Utf16File(u"CON \u2713 done\r\n  x = 1 ' \u4E2D\U0001F600!\r\n"));
  CSourceDoc* doc = Open(edges);
  ASSERT_NE(doc, nullptr);
  EXPECT_EQ(Lines(doc), (Lines_t{"CON  done", "  x = 1 ' !"}));
  ASSERT_EQ(Utf8(boxes.texts), std::vector<std::string>{"3 characters in edges.vorn cannot be shown and were left "
                                                        "out. Saving writes the file without them."});
  EXPECT_EQ(Utf8(boxes.captions), std::vector<std::string>{"Quillmark"});
  ASSERT_NE(NewWindow(doc), nullptr);
  ASSERT_TRUE(doc->Save());
  EXPECT_EQ(ReadFile(edges), "CON  done\n  x = 1 ' !\n");
  EXPECT_EQ(boxes.texts.size(), 1u);
  Drop(doc);

  const struct {
    const char* name;
    std::string file;
    std::vector<std::string> told;
  } cases[] = {
      {"one.vorn2", Utf16File(u"a\u2014b"),
       {"1 character in one.vorn2 cannot be shown and was left out. Saving writes the file without it."}},
      {"covered.vorn", Utf16File(u"\u20AC\u00E9\u2500\u2022\r\nx\r\n"), {}},
      {"saved.vorn", "CON  done\n  x = 1 ' !\n", {}},
      {"bytes.vorn", "\x80\x81\xFF\xA4\n", {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    boxes.texts.clear();
    CSourceDoc* opened = Open(WriteFile(c.name, c.file));
    ASSERT_NE(opened, nullptr);
    EXPECT_EQ(Utf8(boxes.texts), c.told);
    Drop(opened);
  }
}

}  // namespace
