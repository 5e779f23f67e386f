// The clipboard's UTF-8 decoded into the editor's bytes: the same characters
// as the toolkit's own conversion for valid and invalid sequences alike, and
// pasting raw UTF-8 through the real clipboard.
#include <random>
#include <string>
#include <vector>

#include <wx/clipbrd.h>

#include "editor/ClipboardText.h"
#include "editor/GlyphTable.h"
#include "support/EditorFixture.h"
#include "support/MessageBoxes.h"

namespace {

using Lines_t = std::vector<std::string>;

// What the toolkit's text object makes of `utf8` as clipboard text, mapped
// through the glyph table: the character count (kNotUtf8 when the
// conversion gives nothing for some bytes) and the bytes.
std::size_t ToolkitMapping(const std::string& utf8, std::string& bytes) {
  wxTextDataObject data;
  data.SetData(wxDataFormat(wxDF_UNICODETEXT), utf8.size(), utf8.data());
  const std::wstring wide = data.GetText().ToStdWstring();
  bytes.clear();
  for (wchar_t c : wide) {
    const int mapped = ByteOfChar(c);
    if (mapped >= 0) bytes += static_cast<char>(mapped);
  }
  if (wide.empty() && !utf8.empty()) return kNotUtf8;
  return wide.size();
}

std::string Hex(const std::string& s) {
  std::string out;
  for (unsigned char c : s) {
    static const char kDigits[] = "0123456789ABCDEF";
    out += kDigits[c >> 4];
    out += kDigits[c & 15];
    out += ' ';
  }
  return out;
}

TEST(ClipboardTextTest, DecodingAgreesWithTheToolkitOnValidAndInvalidSequences) {
  // {UTF-8, the editor's bytes, characters (kNotUtf8: not UTF-8 to the toolkit)}
  const struct { std::string utf8, bytes; std::size_t characters; } cases[] = {
      {"", "", 0},
      {"abc\r\n\tx", "abc\r\n\tx", 7},
      {std::string("a\0b", 3), std::string("a\0b", 3), 3},  // a NUL is a character
      {std::string("ab\0", 3), std::string("ab\0", 3), 3},
      {"\xC3\xA9\xC2\xA0", "\xE9\xA0", 2},                  // U+00E9, U+00A0: their own bytes
      {"\xE2\x82\xAC\xE2\x86\x90", "\xA4\x02", 2},          // glyphs of A4 and 02
      {"\xEF\x80\x81", "\x01", 1},                          // private-use glyph of 01
      {"a\xE2\x80\x94z", "az", 3},                          // no glyph: left out
      {"\xF0\x9F\x98\x80", "", 1},                          // above U+FFFF: no glyph
      {"\xE0\x80\x80", std::string(1, '\0'), 1},            // overlong 3-byte NUL is taken
      {"\xF0\x80\x80\x80", std::string(1, '\0'), 1},        // so is an overlong 4-byte one
      {"\xED\xA0\x80", "", 1},                              // a surrogate is a character
      {"\xF4\x90\x80\x80", "", 1},                          // beyond U+10FFFF too
      {"\xF4\xBF\xBF\xBF", "", 1},
      {"\xC0\x80", "", kNotUtf8},                           // overlong 2-byte forms are not
      {"\xC1\xBF", "", kNotUtf8},
      {"a\x80", "", kNotUtf8},                              // a lone continuation byte
      {"\xC3", "", kNotUtf8},                               // cut short at the end
      {"\xE2\x82", "", kNotUtf8},
      {"\xF0\x9F\x98", "", kNotUtf8},
      {"\xC3(", "", kNotUtf8},                              // not followed by a continuation
      {"\xE2\x82(", "", kNotUtf8},
      {"\xF5\x80\x80\x80", "", kNotUtf8},                   // no lead byte above F4
      {"\xFE", "", kNotUtf8},
      {"\xFF", "", kNotUtf8},
      {"good \xC3\xA9 then \xFF", "", kNotUtf8},            // one bad byte fails the whole text
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(Hex(c.utf8));
    std::string bytes = "stale";
    std::size_t leftOut = 99;
    EXPECT_EQ(MapUtf8ToBytes(c.utf8.data(), c.utf8.size(), bytes, leftOut), c.characters);
    EXPECT_EQ(bytes, c.bytes);
    // Every character gives one byte or is left out.
    EXPECT_EQ(leftOut, c.characters == kNotUtf8 ? 0 : c.characters - c.bytes.size());
    std::string toolkit;
    EXPECT_EQ(ToolkitMapping(c.utf8, toolkit), c.characters);
    EXPECT_EQ(toolkit, c.bytes);
  }
}

TEST(ClipboardTextTest, DecodingAgreesWithTheToolkitOnRandomBytes) {
  // Bytes drawn mostly from those that open, continue or break sequences.
  const unsigned char kPool[] = {'a',  '\n', '\r', '\t', 0x00, 0x7F, 0x80, 0x82, 0x9F, 0xA0, 0xAC, 0xBF,
                                 0xC0, 0xC1, 0xC2, 0xC3, 0xDF, 0xE0, 0xE2, 0xED, 0xEF, 0xF0, 0xF4, 0xF5, 0xFF};
  std::mt19937 rng(11);
  std::uniform_int_distribution<int> length(0, 24), pick(0, sizeof kPool - 1);
  int valid = 0;
  for (int n = 0; n < 20000; ++n) {
    std::string utf8;
    for (int k = length(rng); k > 0; --k) utf8 += static_cast<char>(kPool[pick(rng)]);
    std::string ours, toolkit;
    std::size_t leftOut = 99;
    const std::size_t characters = MapUtf8ToBytes(utf8.data(), utf8.size(), ours, leftOut);
    ASSERT_EQ(characters, ToolkitMapping(utf8, toolkit)) << Hex(utf8);
    ASSERT_EQ(ours, toolkit) << Hex(utf8);
    ASSERT_EQ(leftOut, characters == kNotUtf8 ? 0 : characters - ours.size()) << Hex(utf8);
    valid += characters != kNotUtf8;
  }
  EXPECT_GT(valid, 1000);  // the draw reaches valid text as well as invalid
}

// Puts `utf8` on the clipboard as the bytes another program hands over.
void SetClipBytes(const std::string& utf8) {
  wxClipboardLocker lock;
  auto* data = new Utf8ClipboardText();
  data->SetData(utf8.size(), utf8.data());
  wxTheClipboard->SetData(data);
}

using ClipboardUtf8PasteTest = EditorFixture;

TEST_F(ClipboardUtf8PasteTest, PasteTakesValidUtf8AndLeavesEverythingAsItWasForInvalid) {
  const char* const one = "1 character of the pasted text cannot be shown and was left out.";
  const char* const two = "2 characters of the pasted text cannot be shown and were left out.";
  // {clipboard bytes, lines after pasting at column 1 of "[]" (empty: nothing pasted), the message told}
  const struct { std::string utf8; Lines_t after; const char* told; } cases[] = {
      {"x\xE2\x82\xAC\r\ny", {"[x\xA4", "y]"}, nullptr},
      {std::string("a\0", 2), {std::string("[a\0]", 4)}, nullptr},
      {"\xE0\x80\x80", {std::string("[\0]", 3)}, nullptr},
      {"\xE2\x80\x94", {"[]"}, one},  // a character without a glyph is still a paste, of no step
      {"a\xF0\x9F\x98\x80\r\n\xE2\x9C\x93", {"[a", "]"}, two},  // an emoji is one character
      {"x\xC3", {}, nullptr},
      {"\xC0\x80", {}, nullptr},
      {"", {}, nullptr},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(Hex(c.utf8));
    SetLines({"[]"});
    SetCaret(1, 0);
    SetAnchor(1, 0);
    editor_->m_currentFrame.Clear();
    ClearFrameStack(editor_->m_undoStack);
    ClearFrameStack(editor_->m_redoStack);
    editor_->m_redoStack.emplace_back();
    SetClipBytes(c.utf8);
    parent_->codes.clear();
    MessageBoxes boxes;
    editor_->Paste();
    EXPECT_EQ(boxes.texts, c.told ? std::vector<wxString>{c.told} : std::vector<wxString>{});
    if (c.after.empty()) {
      EXPECT_EQ(Lines(), Lines_t{"[]"});
      EXPECT_TRUE(parent_->codes.empty());
      EXPECT_EQ(editor_->m_redoStack.size(), 1u);
      EXPECT_TRUE(editor_->m_undoStack.empty());
    } else {
      EXPECT_EQ(Lines(), c.after);
      EXPECT_EQ(parent_->codes, std::vector<int>{ids::EN_CHANGE});
      EXPECT_TRUE(editor_->m_redoStack.empty());
      EXPECT_EQ(editor_->m_undoStack.size(), c.after == Lines_t{"[]"} ? 0u : 1u);  // no step, no frame
    }
  }
}

// A program that offers its text only in the plain 8-bit format (STRING).
class PlainTextOnly : public wxDataObjectSimple {
 public:
  explicit PlainTextOnly(std::string text) : wxDataObjectSimple(wxDataFormat(wxDF_TEXT)), text_(std::move(text)) {}
  size_t GetDataSize() const override { return text_.size(); }
  bool GetDataHere(void* buf) const override {
    std::copy(text_.begin(), text_.end(), static_cast<char*>(buf));
    return true;
  }

 private:
  std::string text_;
};

TEST_F(ClipboardUtf8PasteTest, TextOfferedOnlyInThePlainFormatIsPastedToo) {
  SetLines({"[]"});
  SetCaret(1, 0);
  SetAnchor(1, 0);
  {
    wxClipboardLocker lock;
    wxTheClipboard->SetData(new PlainTextOnly("ab\r\nc"));
  }
  editor_->Paste();
  EXPECT_EQ(Lines(), (Lines_t{"[ab", "c]"}));
}

}  // namespace
