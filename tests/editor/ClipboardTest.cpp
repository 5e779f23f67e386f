// Copy, cut and paste through the real clipboard: CR LF between lines, bytes
// as glyphs and back, and what happens without a selection, without text on
// the clipboard and while read-only.
#include <optional>
#include <string>
#include <vector>

#include "editor/GlyphTable.h"
#include "support/EditorFixture.h"

#include <wx/clipbrd.h>
#include <wx/dataobj.h>

namespace {

using Lines_t = std::vector<std::string>;

class ClipboardTest : public EditorFixture {
 protected:
  void SetUp() override {
    EditorFixture::SetUp();
    parent_->codes.clear();
  }
  void TearDown() override {
    ClearClipboard();
    EditorFixture::TearDown();
  }
  // Puts plain text on the clipboard the way another program would.
  static void SetClipboardText(const std::wstring& text) {
    ASSERT_TRUE(wxTheClipboard->Open());
    wxTheClipboard->SetData(new wxTextDataObject(wxString(text)));
    wxTheClipboard->Close();
  }
  static void ClearClipboard() {
    if (wxTheClipboard->Open()) {
      wxTheClipboard->Clear();
      wxTheClipboard->Close();
    }
  }
  static std::optional<std::wstring> ClipboardText() {
    std::optional<std::wstring> text;
    if (!wxTheClipboard->Open()) return text;
    wxTextDataObject data;
    if (wxTheClipboard->IsSupported(wxDF_UNICODETEXT) && wxTheClipboard->GetData(data))
      text = data.GetText().ToStdWstring();
    wxTheClipboard->Close();
    return text;
  }
  void Select(int anchorCol, int anchorLine, int caretCol, int caretLine) {
    SetAnchor(anchorCol, anchorLine);
    SetCaret(caretCol, caretLine);
  }
  void PlaceCaret(int col, int line) { Select(col, line, col, line); }
  // A redo history that any editing action must drop.
  void GiveRedoHistory() {
    editor_->m_redoStack.emplace_back();
    editor_->m_redoStack.back().m_records.emplace_back();
  }
};

TEST_F(ClipboardTest, CopyPutsUnicodeTextWithCrLfBetweenLines) {
  SetLines({"abc", "defg", "hi", "j\xA4"});
  Select(1, 0, 2, 1);
  editor_->CopySelection();
  EXPECT_EQ(ClipboardText(), std::wstring(L"bc\r\nde"));

  // Made upwards, the same range copies the same text.
  Select(2, 1, 1, 0);
  editor_->CopySelection();
  EXPECT_EQ(ClipboardText(), std::wstring(L"bc\r\nde"));

  // Whole lines between the ends, no CR LF after the last line; byte 164 is
  // the euro sign.
  Select(3, 0, 2, 3);
  editor_->CopySelection();
  EXPECT_EQ(ClipboardText(), std::wstring(L"\r\ndefg\r\nhi\r\nj\u20ac"));

  // Within one line.
  Select(3, 1, 1, 1);
  editor_->CopySelection();
  EXPECT_EQ(ClipboardText(), std::wstring(L"ef"));

  // Copy is no edit.
  EXPECT_TRUE(parent_->codes.empty());
  EXPECT_TRUE(editor_->m_undoStack.empty());
}

TEST_F(ClipboardTest, CopyWithoutSelectionLeavesTheClipboardAlone) {
  SetClipboardText(L"keep me");
  SetLines({"abc"});
  PlaceCaret(1, 0);
  editor_->CopySelection();
  EXPECT_EQ(ClipboardText(), std::wstring(L"keep me"));

  ClearClipboard();
  editor_->CopySelection();
  EXPECT_EQ(ClipboardText(), std::nullopt);
}

TEST_F(ClipboardTest, CopyAndPasteReproduceEveryByteALineCanHold) {
  // Tab, line feed and carriage return never stand inside a line: insertion
  // turns them into a tab fill, a line break and nothing.
  std::string low, high;
  for (int b = 0; b < 128; ++b)
    if (b != '\t' && b != '\n' && b != '\r') low += static_cast<char>(b);
  for (int b = 128; b < 256; ++b) high += static_cast<char>(b);
  const Lines_t lines = {low, high, "", high + low};
  SetLines(lines);
  editor_->SelectAll();
  editor_->CopySelection();

  // Each byte is one character on the clipboard: 253 per full line, CR LF
  // between lines.
  const std::optional<std::wstring> copied = ClipboardText();
  ASSERT_TRUE(copied.has_value());
  EXPECT_EQ(copied->size(), low.size() + high.size() + (high.size() + low.size()) + 3 * 2);
  for (int b = 0; b < 256; ++b) {
    if (b == '\t' || b == '\n' || b == '\r') continue;
    EXPECT_NE(copied->find(GlyphOfByte(static_cast<unsigned char>(b))), std::wstring::npos) << b;
  }

  editor_->ResetContent();
  editor_->Paste();
  EXPECT_EQ(Lines(), lines);

  // A part of a line pasted into the middle of another.
  SetLines({high, "<>"});
  Select(10, 0, 100, 0);
  editor_->CopySelection();
  PlaceCaret(1, 1);
  editor_->Paste();
  EXPECT_EQ(editor_->GetLine(1), "<" + high.substr(10, 90) + ">");
}

TEST_F(ClipboardTest, PasteMapsCharactersBackToBytes) {
  SetLines({"[]"});
  PlaceCaret(1, 0);
  // Euro sign, e acute, an em dash without a glyph, an arrow glyph.
  SetClipboardText(L"\u20ac\u00e9\u2014\u2190");
  editor_->Paste();
  EXPECT_EQ(Lines(), (Lines_t{"[\xA4\xE9\x02]"}));
  EXPECT_EQ(editor_->m_caretCol, 4);

  // A character from beyond the 16-bit range has no glyph.
  SetLines({""});
  SetClipboardText(std::wstring(L"a") + static_cast<wchar_t>(0x1F600) + L"b");
  editor_->Paste();
  EXPECT_EQ(Lines(), (Lines_t{"ab"}));

  // The glyphs of tab, line feed and carriage return act as those controls.
  SetLines({""});
  std::wstring controls;
  controls += GlyphOfByte(9);
  controls += L"x";
  controls += GlyphOfByte(13);
  controls += GlyphOfByte(10);
  controls += L"y";
  SetClipboardText(controls);
  editor_->Paste();
  EXPECT_EQ(Lines(), (Lines_t{"    x", "y"}));
}

TEST_F(ClipboardTest, PasteOfLinesSplitsTheCaretLine) {
  SetLines({"abcd", "ef"});
  PlaceCaret(2, 0);
  SetClipboardText(L"x\n");
  editor_->Paste();
  EXPECT_EQ(Lines(), (Lines_t{"abx", "cd", "ef"}));
  // The caret ends after the tail on the last line made.
  EXPECT_EQ(editor_->m_caretCol, 2);
  EXPECT_EQ(editor_->m_caretLine, 1);

  SetLines({"abcd", "ef"});
  PlaceCaret(4, 0);
  editor_->Paste();
  EXPECT_EQ(Lines(), (Lines_t{"abcdx", "ef"}));
  EXPECT_EQ(editor_->m_caretCol, 0);
  EXPECT_EQ(editor_->m_caretLine, 1);

  // Text from another program with CR LF line ends.
  SetLines({"abcd"});
  PlaceCaret(2, 0);
  SetClipboardText(L"1\r\n2\r\n3");
  GiveRedoHistory();
  editor_->Paste();
  EXPECT_EQ(Lines(), (Lines_t{"ab1", "2", "3cd"}));
  EXPECT_TRUE(editor_->m_redoStack.empty());
  EXPECT_EQ(parent_->Count(ids::EN_CHANGE), 3);

  // One undo takes the whole paste back.
  ASSERT_EQ(editor_->m_undoStack.size(), 3u);
  wxCommandEvent undo(wxEVT_MENU, ids::ID_EDIT_UNDO);
  editor_->OnEditUndo(undo);
  EXPECT_EQ(Lines(), (Lines_t{"abcd"}));
  EXPECT_EQ(editor_->m_caretCol, 2);
  EXPECT_EQ(editor_->m_caretLine, 0);
}

TEST_F(ClipboardTest, PasteScrollsTheCaretIntoView) {
  Lines_t lines(5, "x");
  SetLines(lines);
  std::wstring many;
  for (int i = 0; i < 300; ++i) many += L"line\n";
  SetClipboardText(many);
  editor_->Paste();
  EXPECT_EQ(editor_->m_caretLine, 300);
  EXPECT_GT(editor_->m_firstLine, 0);
  const int visible = editor_->GetClientSize().y / editor_->m_lineHeight;
  EXPECT_LT(editor_->m_caretLine, editor_->m_firstLine + visible);
}

TEST_F(ClipboardTest, PasteWithoutTextChangesNothing) {
  SetLines({"abc"});
  PlaceCaret(1, 0);
  GiveRedoHistory();
  editor_->m_undoStack.emplace_back();
  editor_->m_undoStack.back().m_records.emplace_back();

  ClearClipboard();
  editor_->Paste();
  SetClipboardText(L"");
  editor_->Paste();
  EXPECT_EQ(Lines(), (Lines_t{"abc"}));
  EXPECT_EQ(editor_->m_redoStack.size(), 1u);
  EXPECT_EQ(editor_->m_undoStack.size(), 1u);
  EXPECT_TRUE(parent_->codes.empty());
  EXPECT_EQ(editor_->m_caretCol, 1);
}

TEST_F(ClipboardTest, CutCopiesDeletesAndCommitsOneAction) {
  SetLines({"abcd", "efgh"});
  Select(1, 0, 2, 1);
  GiveRedoHistory();
  editor_->Cut();
  EXPECT_EQ(ClipboardText(), std::wstring(L"bcd\r\nef"));
  EXPECT_EQ(Lines(), (Lines_t{"agh"}));
  EXPECT_EQ(editor_->m_caretCol, 1);
  EXPECT_EQ(editor_->m_anchorCol, 1);
  EXPECT_TRUE(editor_->m_redoStack.empty());
  EXPECT_EQ(editor_->m_undoStack.size(), 1u);
  EXPECT_EQ(parent_->codes, std::vector<int>{ids::EN_CHANGE});

  wxCommandEvent undo(wxEVT_MENU, ids::ID_EDIT_UNDO);
  editor_->OnEditUndo(undo);
  EXPECT_EQ(Lines(), (Lines_t{"abcd", "efgh"}));

  // Without a selection: the clipboard stays, nothing is pushed, but the redo
  // history goes and the parent still hears of a change.
  SetClipboardText(L"keep");
  PlaceCaret(2, 0);
  GiveRedoHistory();
  const std::size_t frames = editor_->m_undoStack.size();
  parent_->codes.clear();
  editor_->Cut();
  EXPECT_EQ(ClipboardText(), std::wstring(L"keep"));
  EXPECT_EQ(Lines(), (Lines_t{"abcd", "efgh"}));
  EXPECT_EQ(editor_->m_undoStack.size(), frames);
  EXPECT_TRUE(editor_->m_redoStack.empty());
  EXPECT_EQ(parent_->codes, std::vector<int>{ids::EN_CHANGE});
}

TEST_F(ClipboardTest, ReadOnlyEditorCopiesButNeitherCutsNorPastes) {
  SetLines({"abcd"});
  editor_->m_readOnly = true;
  Select(0, 0, 2, 0);
  editor_->Cut();
  EXPECT_EQ(ClipboardText(), std::nullopt);
  EXPECT_EQ(Lines(), (Lines_t{"abcd"}));

  editor_->CopySelection();
  EXPECT_EQ(ClipboardText(), std::wstring(L"ab"));

  PlaceCaret(4, 0);
  editor_->Paste();
  EXPECT_EQ(Lines(), (Lines_t{"abcd"}));
  EXPECT_TRUE(parent_->codes.empty());
  EXPECT_TRUE(editor_->m_undoStack.empty());
}

TEST_F(ClipboardTest, CutFromTheLinePositionAfterTheLastLine) {
  // After loading text that ends in a line feed the caret stands below the
  // last line, which counts as the end of the text: cut copies what it
  // deletes.
  editor_->InsertText(L"a\nb\n");
  ASSERT_EQ(editor_->m_caretLine, 2);
  SetAnchor(0, 1);
  editor_->Cut();
  EXPECT_EQ(ClipboardText(), std::wstring(L"b"));
  EXPECT_EQ(Lines(), (Lines_t{"a", ""}));

  // With both ends there, nothing is copied.
  SetClipboardText(L"keep");
  SetCaret(0, 2);
  SetAnchor(1, 2);
  editor_->CopySelection();
  EXPECT_EQ(ClipboardText(), std::wstring(L"keep"));
}

}  // namespace
