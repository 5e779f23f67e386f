// Copy, cut and paste through the real clipboard: CR LF between lines, bytes
// as glyphs and back, no selection, no text on the clipboard, read-only.
#include <string>
#include <vector>

#include "editor/GlyphTable.h"
#include "support/EditorFixture.h"
#include "support/MessageBoxes.h"

#include <wx/clipbrd.h>

namespace {

using Lines_t = std::vector<std::string>;

// Puts text on the clipboard as another program would; null empties it.
void SetClip(const wchar_t* text) {
  wxClipboardLocker lock;
  if (text) wxTheClipboard->SetData(new wxTextDataObject(text));
  else wxTheClipboard->Clear();
}
// The clipboard's text, "(none)" without any.
std::wstring Clip() {
  wxClipboardLocker lock;
  wxTextDataObject data;
  const bool text = wxTheClipboard->IsSupported(wxDF_UNICODETEXT) && wxTheClipboard->GetData(data);
  return text ? data.GetText().ToStdWstring() : L"(none)";
}

class ClipboardTest : public EditorFixture {
 protected:
  void Select(int anchorCol, int anchorLine, int caretCol, int caretLine) {
    SetAnchor(anchorCol, anchorLine);
    SetCaret(caretCol, caretLine);
  }
  void Undo() {
    wxCommandEvent command(wxEVT_MENU);
    editor_->OnEditUndo(command);
  }
  void Redo() {
    wxCommandEvent command(wxEVT_MENU);
    editor_->OnEditRedo(command);
  }
};

TEST_F(ClipboardTest, CopyGivesCrLfBetweenLinesAndWorksReadOnlyWhereCutAndPasteDoNothing) {
  const Lines_t lines = {"abc", "defg", "hi", "j\xA4"};
  SetLines(lines);
  editor_->m_readOnly = true;
  parent_->codes.clear();
  const struct { int ac, al, cc, cl; std::wstring text; } cases[] = {
      {1, 0, 2, 1, L"bc\r\nde"}, {2, 1, 1, 0, L"bc\r\nde"}, {3, 0, 2, 3, L"\r\ndefg\r\nhi\r\nj\u20ac"},
      {3, 1, 1, 1, L"ef"},       {2, 0, 2, 0, L"ef"},  // no selection leaves the clipboard alone
  };
  for (const auto& c : cases) {
    Select(c.ac, c.al, c.cc, c.cl);
    editor_->CopySelection();
    EXPECT_EQ(Clip(), c.text) << c.ac << "," << c.al << " " << c.cc << "," << c.cl;
  }
  SetClip(nullptr);
  Select(0, 0, 2, 0);
  editor_->Cut();
  EXPECT_EQ(Clip(), L"(none)");
  SetClip(L"x");
  editor_->Paste();
  EXPECT_EQ(Lines(), lines);
  EXPECT_TRUE(parent_->codes.empty() && editor_->m_undoStack.empty());
}

TEST_F(ClipboardTest, PasteAndCopyReproduceEveryByte) {
  // The glyphs of tab, line feed and carriage return act as those controls.
  std::string bytes;
  std::wstring glyphs;
  for (int b = 0; b < 256; ++b) {
    bytes += static_cast<char>(b);
    glyphs += GlyphOfByte(static_cast<unsigned char>(b));
  }
  const Lines_t lines = {bytes.substr(0, 9) + "   ", bytes.substr(11, 2) + bytes.substr(14)};
  SetClip(glyphs.c_str());
  editor_->Paste();
  EXPECT_EQ(Lines(), lines);
  editor_->SelectAll();
  editor_->CopySelection();
  EXPECT_EQ(Clip(), glyphs.substr(0, 9) + L"   \r\n" + glyphs.substr(11, 2) + glyphs.substr(14));
  editor_->ResetContent();
  editor_->Paste();
  EXPECT_EQ(Lines(), lines);
}

TEST_F(ClipboardTest, PasteMapsCharactersToBytesSplitsLinesAndUndoesInOneStep) {
  // {lines, caret column on the first line, text, lines after, caret after, what the user is told}
  const struct {
    Lines_t before;
    int at;
    std::wstring text;
    Lines_t after;
    int col, line;
    const char* told;
  } cases[] = {
      {{"[]"}, 1, L"\u20ac\u00e9\u2014\u2190", {"[\xA4\xE9\x02]"}, 4, 0,  // the dash has no glyph
       "1 character of the pasted text cannot be shown and was left out."},
      {{"[]"}, 1, L"\u201Cq\u201D \U0001F600\u2713\u4E2D", {"[q ]"}, 3, 0,
       "5 characters of the pasted text cannot be shown and were left out."},
      {{"abcd", "ef"}, 2, L"x\n", {"abx", "cd", "ef"}, 0, 1, nullptr},  // the caret ends before the tail
      {{"abcd", "ef"}, 4, L"x\n", {"abcdx", "ef"}, 0, 1, nullptr},
      {{"abcd"}, 2, L"1\r\n2\r\n3", {"ab1", "2", "3cd"}, 1, 2, nullptr},
      {{"abcd"}, 2, L"1\n\u20142", {"ab1", "2cd"}, 1, 1,
       "1 character of the pasted text cannot be shown and was left out."},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::PrintToString(c.after));
    SetLines(c.before);
    Select(c.at, 0, c.at, 0);
    SetClip(c.text.c_str());
    editor_->m_redoStack.emplace_back();
    parent_->codes.clear();
    MessageBoxes boxes;
    editor_->Paste();
    EXPECT_EQ(Lines(), c.after);
    EXPECT_EQ((std::vector<int>{editor_->m_caretCol, editor_->m_caretLine}), (std::vector<int>{c.col, c.line}));
    EXPECT_TRUE(editor_->m_redoStack.empty());
    EXPECT_EQ(parent_->codes, std::vector<int>{ids::EN_CHANGE});
    EXPECT_EQ(boxes.texts, c.told ? std::vector<wxString>{c.told} : std::vector<wxString>{});
    EXPECT_EQ(boxes.captions, c.told ? std::vector<wxString>{"Quillmark"} : std::vector<wxString>{});
    Undo();
    EXPECT_EQ(Lines(), c.before);
    EXPECT_EQ((std::vector<int>{editor_->m_caretCol, editor_->m_caretLine}), (std::vector<int>{c.at, 0}));
    Redo();
    EXPECT_EQ(Lines(), c.after);
    EXPECT_EQ((std::vector<int>{editor_->m_caretCol, editor_->m_caretLine}), (std::vector<int>{c.col, c.line}));
    EXPECT_EQ(boxes.texts.size(), c.told ? 1u : 0u);  // undo and redo tell nothing
    Undo();
  }
  SetClip(L"");  // an empty text pastes nothing
  parent_->codes.clear();
  editor_->Paste();
  EXPECT_TRUE(parent_->codes.empty() && editor_->m_redoStack.size() == 1u);
  SetClip(std::wstring(1500, L'\n').c_str());  // a long paste scrolls the caret into view
  editor_->Paste();
  EXPECT_GT(editor_->m_firstLine + editor_->GetClientSize().y / editor_->m_lineHeight, editor_->m_caretLine);
}

TEST_F(ClipboardTest, CutCopiesDeletesAndCommitsOneAction) {
  SetLines({"abcd", "efgh"});
  Select(1, 0, 2, 1);
  editor_->m_redoStack.emplace_back();
  parent_->codes.clear();
  editor_->Cut();
  EXPECT_EQ(Clip(), L"bcd\r\nef");
  EXPECT_EQ(Lines(), (Lines_t{"agh"}));
  EXPECT_TRUE(editor_->m_caretCol == 1 && editor_->m_anchorCol == 1 && editor_->m_redoStack.empty());
  Undo();
  editor_->SelectAll();  // all cut leaves one empty line, and one undo brings it back
  editor_->Cut();
  EXPECT_EQ(Lines(), Lines_t{""});
  Undo();
  EXPECT_EQ(Lines(), (Lines_t{"abcd", "efgh"}));
  // Without a selection the clipboard stays and nothing is pushed, but the
  // redo history goes and the parent still hears of a change.
  Select(2, 0, 2, 0);
  editor_->Cut();
  EXPECT_EQ(Clip(), L"abcd\r\nefgh");
  EXPECT_EQ(Lines(), (Lines_t{"abcd", "efgh"}));
  EXPECT_TRUE(editor_->m_undoStack.empty() && editor_->m_redoStack.empty());
  EXPECT_EQ(parent_->codes, std::vector<int>(5, ids::EN_CHANGE));
  // The line position after the last line counts as the end of the text.
  editor_->ResetContent();
  editor_->InsertText(L"a\nb\n");
  SetAnchor(0, 1);
  editor_->Cut();
  EXPECT_EQ(Clip(), L"b");
  EXPECT_EQ(Lines(), (Lines_t{"a", ""}));
  Select(1, 2, 0, 2);
  editor_->CopySelection();
  EXPECT_EQ(Clip(), L"b");
}

}  // namespace
