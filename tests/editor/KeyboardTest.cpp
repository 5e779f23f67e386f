// Key-downs and typed characters in a real editor window: moves, deleting, typing,
// line breaks, read-only mode, the undo frames left, and real keys from the X server
// (Alt keys left to the menu bar, AltGr typing on another layout).
#include <functional>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "OtherKeyboardLayout.h"
#include "platform/CharClass.h"
#include "support/EditorFixture.h"

#include <wx/menu.h>
#include <wx/textctrl.h>
#include <wx/uiaction.h>

namespace {

using Lines_t = std::vector<std::string>;
using Pos = std::vector<int>;                                 // caret column, line, anchor column, line
using State = std::pair<Lines_t, Pos>;                        // the text and the position
using Recs = std::vector<std::tuple<int, int, std::string>>;  // kind, line, text of each record
enum { C = 1, S = 2, A = 4, NoIndent = 8 };                   // Ctrl, Shift, Alt held; auto-indent off

class KeyboardTest : public EditorFixture {
 protected:
  // Pumps until `done` holds or `ms` have passed; returns `done()`.
  static bool PumpUntil(const std::function<bool()>& done, int ms) {
    for (int waited = 0; !done() && waited < ms; waited += 10) {
      Pump();
      wxMilliSleep(10);
    }
    return done();
  }
  void SetUp() override { EditorFixture::SetUp(); platform::UseDefaultCharClasses(); parent_->codes.clear(); }
  void TearDown() override { platform::UseDefaultCharClasses(); EditorFixture::TearDown(); }
  // One key-down with modifiers held; true when the editor passed it on.
  bool Key(int key, int mods = 0) {
    keystate::Override(mods & S, mods & C);
    wxKeyEvent event(wxEVT_KEY_DOWN);
    event.m_keyCode = key;
    event.SetControlDown(mods & C);
    event.SetShiftDown(mods & S);
    event.SetAltDown(mods & A);
    event.SetEventObject(editor_);
    const bool processed = editor_->GetEventHandler()->ProcessEvent(event);
    keystate::Override(false, false);
    return !processed;
  }
  void Type(const std::wstring& text) {
    for (wchar_t unit : text) {
      wxKeyEvent event(wxEVT_CHAR);
      event.m_uniChar = unit;
      editor_->GetEventHandler()->ProcessEvent(event);
    }
  }
  void Start(const Lines_t& lines, const Pos& p) { SetLines(lines); SetCaret(p[0], p[1]); SetAnchor(p[2], p[3]); }
  Pos At() const { return {editor_->m_caretCol, editor_->m_caretLine, editor_->m_anchorCol, editor_->m_anchorLine}; }
  State Now() const { return {Lines(), At()}; }
  void Undo() { wxCommandEvent e(wxEVT_MENU, ids::ID_EDIT_UNDO); editor_->OnEditUndo(e); }
  void FillRedo() { editor_->m_redoStack.emplace_back().m_records.emplace_back(); }
  Recs Records() const {
    Recs out;
    for (const CUndoRecord& r : editor_->m_undoStack.back().m_records) out.emplace_back(r.m_kind, r.m_line, r.m_text);
    return out;
  }
};

// Each row sets a text and position (text -1 goes on from the row before), presses one key
// and expects the caret and anchor after it. The editor is read-only: no move changes,
// deleting keys do nothing but the common tail, every character typed after a key is dropped.
TEST_F(KeyboardTest, KeysMoveByTheirColumnRulesAndReadOnlyEditsNothing) {
  const Lines_t texts[] = {{"ab", "", "cd"}, {"abcdef", "ab", "abcdef"}, {"abc", "defgh", "ij"}, {"abc", "", "def"},
                           {"abc def"}, {"abc "}, {"a."}, {"x := y;"}, {"a..b"}, {"foo_bar"}};
  struct Move { int text; Pos from; int key, mods; Pos to; };
  const Move moves[] = {
      // Left and Right over line ends, Up and Down clamping and collapsing, Home and End, read-only
      // deleting keys, Shift, keys passed on, then word moves (punctuation one byte at a time).
      {0, {1, 0, 1, 0}, WXK_LEFT, 0, {0, 0, 0, 0}},   {-1, {}, WXK_LEFT, 0, {0, 0, 0, 0}},
      {0, {2, 0, 2, 0}, WXK_RIGHT, 0, {0, 1, 0, 1}},  {-1, {}, WXK_NUMPAD_RIGHT, 0, {0, 2, 0, 2}},
      {-1, {}, WXK_LEFT, 0, {0, 1, 0, 1}},            {-1, {}, WXK_NUMPAD_LEFT, 0, {2, 0, 2, 0}},
      {0, {2, 2, 2, 2}, WXK_RIGHT, 0, {2, 2, 2, 2}},  {0, {0, 3, 0, 3}, WXK_RIGHT, 0, {2, 2, 2, 2}},
      {1, {5, 0, 5, 0}, WXK_DOWN, 0, {2, 1, 2, 1}},   {-1, {}, WXK_DOWN, 0, {2, 2, 2, 2}},
      {-1, {}, WXK_NUMPAD_DOWN, C, {2, 2, 2, 2}},     {1, {6, 2, 6, 2}, WXK_UP, C, {2, 1, 2, 1}},
      {-1, {}, WXK_NUMPAD_UP, 0, {2, 0, 2, 0}},       {-1, {}, WXK_UP, 0, {2, 0, 2, 0}},
      {1, {4, 0, 0, 1}, WXK_UP, 0, {4, 0, 4, 0}},     {1, {1, 2, 0, 0}, WXK_DOWN, 0, {1, 2, 1, 2}},
      {1, {4, 0, 0, 1}, WXK_UP, S, {4, 0, 0, 1}},     {2, {2, 1, 2, 1}, WXK_END, 0, {5, 1, 5, 1}},
      {-1, {}, WXK_HOME, 0, {0, 1, 0, 1}},            {-1, {}, WXK_END, C, {2, 2, 2, 2}},
      {-1, {}, WXK_HOME, C, {0, 0, 0, 0}},            {-1, {}, WXK_NUMPAD_END, 0, {3, 0, 3, 0}},
      {-1, {}, WXK_NUMPAD_HOME, 0, {0, 0, 0, 0}},     {2, {2, 1, 0, 0}, WXK_BACK, 0, {2, 1, 2, 1}},
      {2, {2, 1, 0, 0}, WXK_DELETE, C, {2, 1, 2, 1}}, {2, {2, 1, 0, 0}, WXK_RETURN, C, {2, 1, 2, 1}},
      {2, {1, 1, 1, 1}, WXK_END, S, {5, 1, 1, 1}},    {-1, {}, WXK_END, C | S, {2, 2, 1, 1}},
      {-1, {}, WXK_HOME, 0, {0, 2, 0, 2}},            {1, {1, 0, 1, 0}, WXK_RIGHT, S, {2, 0, 1, 0}},
      {-1, {}, WXK_DOWN, S, {2, 1, 1, 0}},            {-1, {}, WXK_TAB, 0, {2, 1, 1, 0}},
      {-1, {}, WXK_BACK, A, {2, 1, 1, 0}},            {-1, {}, WXK_LEFT, 0, {1, 1, 1, 1}},
      {1, {4, 0, 0, 0}, WXK_RETURN, 0, {4, 0, 4, 0}}, {4, {7, 0, 7, 0}, WXK_LEFT, C, {4, 0, 4, 0}},
      {-1, {}, WXK_LEFT, C, {0, 0, 0, 0}},            {-1, {}, WXK_RIGHT, C, {3, 0, 3, 0}},
      {-1, {}, WXK_RIGHT, C, {7, 0, 7, 0}},           {5, {4, 0, 4, 0}, WXK_LEFT, C, {0, 0, 0, 0}},
      {6, {2, 0, 2, 0}, WXK_LEFT, C, {1, 0, 1, 0}},   {7, {7, 0, 7, 0}, WXK_LEFT, C, {6, 0, 6, 0}},
      {-1, {}, WXK_LEFT, C, {5, 0, 5, 0}},            {-1, {}, WXK_LEFT, C, {4, 0, 4, 0}},
      {-1, {}, WXK_LEFT, C, {3, 0, 3, 0}},            {7, {2, 0, 2, 0}, WXK_LEFT, C, {0, 0, 0, 0}},
      {-1, {}, WXK_RIGHT, C, {1, 0, 1, 0}},           {-1, {}, WXK_RIGHT, C, {2, 0, 2, 0}},
      {8, {1, 0, 1, 0}, WXK_RIGHT, C, {2, 0, 2, 0}},  {9, {7, 0, 7, 0}, WXK_LEFT, C, {4, 0, 4, 0}},
      {9, {0, 0, 0, 0}, WXK_RIGHT, C, {3, 0, 3, 0}},  {3, {0, 2, 0, 2}, WXK_LEFT, C, {0, 1, 0, 1}},
      {-1, {}, WXK_LEFT, C, {3, 0, 3, 0}},            {-1, {}, WXK_RIGHT, C, {0, 1, 0, 1}},
      {-1, {}, WXK_RIGHT, C, {0, 2, 0, 2}},           {-1, {}, WXK_RIGHT, C, {3, 2, 3, 2}},
      {-1, {}, WXK_RIGHT, C, {3, 2, 3, 2}},           {3, {0, 0, 0, 0}, WXK_LEFT, C, {0, 0, 0, 0}},
      {3, {0, 0, 0, 0}, WXK_RIGHT, C | S, {3, 0, 0, 0}}, {-1, {}, WXK_RIGHT, C | S, {0, 1, 0, 0}},
  };
  editor_->m_readOnly = true;
  FillRedo();
  int text = 0;
  for (std::size_t i = 0; i < std::size(moves); ++i) {
    const Move& m = moves[i];
    SCOPED_TRACE(i);
    if (m.text >= 0) Start(texts[text = m.text], m.from);
    EXPECT_EQ(Key(m.key, m.mods), (m.key == WXK_RETURN && m.mods != C) || m.key == WXK_TAB || m.mods == A);
    Pump();
    Type(L"x\t\r");
    EXPECT_EQ(Now(), State(texts[text], m.to));
  }
  for (int key : {int(WXK_SPACE), int('A'), int(WXK_ESCAPE), int(WXK_INSERT), int(WXK_F5)}) EXPECT_TRUE(Key(key));
  EXPECT_TRUE(parent_->codes.empty());
  EXPECT_TRUE(editor_->m_undoStack.empty());
  EXPECT_EQ(editor_->m_redoStack.size(), 1u);
}

TEST_F(KeyboardTest, PageKeysMoveByTheVisibleLinesAndScroll) {
  Lines_t lines(200, "line");
  SetLines(lines);
  const int n = editor_->GetVisibleLineCount(false);
  ASSERT_TRUE(n > 2 && n < 60) << n;
  lines[n] = "x";
  const struct { Pos from; int key, mods; Pos to; int first; } pages[] = {
      {{4, 0, 4, 0}, WXK_PAGEDOWN, 0, {1, n, 1, n}, n},  // the column clamped to the line it lands on
      {{1, n, 1, n}, WXK_PAGEDOWN, C | S, {1, 2 * n, 1, n}, 2 * n},
      {{4, 200 - n, 4, 200 - n}, WXK_NUMPAD_PAGEDOWN, 0, {4, 199, 4, 199}, 199},  // the last line, shown first
      {{4, 199, 4, 199}, WXK_PAGEDOWN, 0, {4, 199, 4, 199}, 199},
      {{4, 199, 4, 199}, WXK_PAGEUP, 0, {4, 199 - n, 4, 199 - n}, 199 - n},
      {{4, n - 1, 4, n - 1}, WXK_NUMPAD_PAGEUP, C, {4, 0, 4, 0}, 0},
  };
  for (const auto& p : pages) {
    Start(lines, p.from);
    Key(p.key, p.mods);
    EXPECT_EQ(std::make_pair(At(), editor_->m_firstLine), std::make_pair(p.to, p.first));
  }
}

// Each row: a text and position, a key with modifiers (0: none), characters typed after it,
// the text and position after, and the position undo gives back. Every edit empties the redo
// stack, sends one EN_CHANGE and leaves one frame unless nothing changed.
TEST_F(KeyboardTest, EditsAreOneActionEachAndUndoRestoresTheCaret) {
  const Lines_t abc{"abcd", "efgh", "ijkl"}, five{"l0", "l1", "two", "three", "l4"};
  const Lines_t joined{"l0", "l1", "twothree", "l4"}, shorter{"l0", "l1", "to", "three", "l4"};
  const Recs removal{{LineDeleted, 1, "efgh"}, {LineChanged, 0, "abcd"}, {LineDeleted, 1, "ijkl"}};
  struct Edit {
    Lines_t text; Pos from; int key, mods; const wchar_t* typed; Lines_t after; Pos to, undone; Recs records = {};
  };
  const Edit edits[] = {
      {{"ab"}, {1, 0, 1, 0}, 0, 0, L"x", {"axb"}, {2, 0, 2, 0}, {1, 0, 1, 0}, {{LineChanged, 0, "ab"}}},
      // Backspace at column 0 and Delete at a line end join lines; Ctrl changes nothing.
      {five, {0, 3, 0, 3}, WXK_BACK, 0, L"", joined, {3, 2, 3, 2}, {0, 3, 0, 3}},
      {five, {3, 2, 3, 2}, WXK_DELETE, C, L"", joined, {3, 2, 3, 2}, {3, 2, 3, 2}},
      {five, {2, 2, 2, 2}, WXK_BACK, C, L"", shorter, {1, 2, 1, 2}, {2, 2, 2, 2}},
      {five, {1, 2, 1, 2}, WXK_NUMPAD_DELETE, 0, L"", shorter, {1, 2, 1, 2}, {1, 2, 1, 2}},
      {{"ab", "cd"}, {0, 0, 0, 0}, WXK_BACK, 0, L"", {"ab", "cd"}, {0, 0, 0, 0}, {}},  // nothing to delete
      {{"ab", "cd"}, {2, 1, 2, 1}, WXK_DELETE, 0, L"", {"ab", "cd"}, {2, 1, 2, 1}, {}},
      // The selection goes first, whichever way it was made; over several lines undo brings it back.
      {abc, {1, 2, 2, 0}, WXK_BACK, 0, L"", {"abjkl"}, {2, 0, 2, 0}, {1, 2, 2, 0}, removal},
      {abc, {2, 0, 1, 2}, WXK_DELETE, 0, L"", {"abjkl"}, {2, 0, 2, 0}, {1, 2, 2, 0}, removal},
      {abc, {2, 0, 1, 2}, 0, 0, L"Z", {"abZjkl"}, {3, 0, 3, 0}, {1, 2, 2, 0}},
      {{"abcdef"}, {4, 0, 1, 0}, 0, 0, L"X", {"aXef"}, {2, 0, 2, 0}, {1, 0, 1, 0},
       {{LineChanged, 0, "abcdef"}, {LineChanged, 0, "aef"}}},
      {{"zero", "abcdef", "ghi"}, {0, 2, 3, 1}, WXK_BACK, 0, L"", {"zero", "abcghi"}, {3, 1, 3, 1}, {0, 2, 3, 1}},
      // A caret below the last line (left by inserted text ending in a line feed): typing adds a
      // line; a selection from there ends at the end of the text.
      {{"ab", "{"}, {0, 2, 0, 2}, 0, 0, L"}", {"ab", "{", "}"}, {1, 2, 1, 2}, {0, 2, 0, 2}},
      {{"ab", "cd", "ef"}, {1, 1, 0, 3}, WXK_BACK, 0, L"", {"ab", "c"}, {1, 1, 1, 1}, {2, 2, 1, 1}},
      // Tab fills to the next stop, from the start of a selection; the glyph of byte 9 types a tab.
      {{"abcd|"}, {0, 0, 0, 0}, 0, 0, L"\t", {"    abcd|"}, {4, 0, 4, 0}, {0, 0, 0, 0}},
      {{"abcd|"}, {1, 0, 1, 0}, 0, 0, L"\t", {"a   bcd|"}, {4, 0, 4, 0}, {1, 0, 1, 0}},
      {{"abcd|"}, {2, 0, 2, 0}, 0, 0, L"\t", {"ab  cd|"}, {4, 0, 4, 0}, {2, 0, 2, 0}},
      {{"abcd|"}, {3, 0, 3, 0}, 0, 0, L"\t", {"abc d|"}, {4, 0, 4, 0}, {3, 0, 3, 0}},
      {{"abcd|"}, {4, 0, 4, 0}, 0, 0, L"\t", {"abcd    |"}, {8, 0, 8, 0}, {4, 0, 4, 0}},
      {{"abcdefgh"}, {2, 0, 6, 0}, 0, 0, L"\uF009", {"ab  gh"}, {4, 0, 4, 0}, {2, 0, 2, 0}},
      // Return copies the spaces left of the caret (auto-indent); its key-down collapses a
      // selection, Shift+Return deletes it; Ctrl+Return posts a line break, its line feed is ignored.
      {{"    foo"}, {7, 0, 7, 0}, WXK_RETURN, 0, L"\r", {"    foo", "    "}, {4, 1, 4, 1}, {7, 0, 7, 0}},
      {{"    foo"}, {2, 0, 2, 0}, WXK_RETURN, C, L"\n", {"  ", "    foo"}, {2, 1, 2, 1}, {2, 0, 2, 0}},
      {{"  abc"}, {3, 0, 3, 0}, WXK_RETURN, NoIndent, L"\r", {"  a", "bc"}, {0, 1, 0, 1}, {3, 0, 3, 0}},
      {{"abcdef"}, {4, 0, 1, 0}, WXK_RETURN, 0, L"\r", {"abcd", "ef"}, {0, 1, 0, 1}, {4, 0, 4, 0}},
      {{"abcdef"}, {4, 0, 1, 0}, WXK_RETURN, S, L"\r", {"a", "ef"}, {0, 1, 0, 1}, {1, 0, 1, 0}},
      {{"abcd"}, {2, 0, 2, 0}, WXK_RETURN, 0, L"\r", {"ab", "cd"}, {0, 1, 0, 1}, {2, 0, 2, 0},
       {{LineChanged, 0, "abcd"}, {LineInserted, 1, ""}}},
  };
  for (std::size_t i = 0; i < std::size(edits); ++i) {
    const Edit& e = edits[i];
    SCOPED_TRACE(i);
    Start(e.text, e.from);
    editor_->m_autoIndent = !(e.mods & NoIndent);
    FillRedo();
    parent_->codes.clear();
    if (e.key) Key(e.key, e.mods);
    Pump();
    Type(e.typed);
    EXPECT_EQ(Now(), State(e.after, e.to));
    EXPECT_TRUE(editor_->m_redoStack.empty());
    EXPECT_EQ(parent_->codes, std::vector<int>{ids::EN_CHANGE});
    ASSERT_EQ(editor_->m_undoStack.size(), e.after == e.text ? 0u : 1u);
    if (e.after == e.text) continue;
    if (!e.records.empty()) { EXPECT_EQ(Records(), e.records); }
    Undo();
    EXPECT_EQ(Now(), State(e.text, e.undone));
  }
}

// The first typed character switches the process to the OEM classes, whatever
// becomes of it (0x82 becomes a letter for word moves). Characters map to bytes
// through the glyphs; control characters, those without a glyph and glyphs of
// unprintable bytes are dropped and begin no action.
TEST_F(KeyboardTest, CharactersAreFilteredAndMappedThroughTheGlyphs) {
  Start({"ab\x82" "cd"}, {5, 0, 5, 0});
  FillRedo();
  Key(WXK_LEFT, C);
  EXPECT_EQ(At(), (Pos{3, 0, 3, 0}));
  for (wchar_t dropped : {1, 8, 10, 27, 0x7F, 0x2014, 0x1F600, 0xF100, 0x03C0, 0xF000, 0x2190}) Type({dropped});
  Start({"ab\x82" "cd"}, {5, 0, 5, 0});
  Key(WXK_LEFT, C);
  EXPECT_EQ(At(), (Pos{0, 0, 0, 0}));
  EXPECT_TRUE(parent_->codes.empty());
  EXPECT_EQ(editor_->m_redoStack.size(), 1u);
  Type(L"a\u00E9\u20AC\u221E\u00A0\u2500");
  EXPECT_EQ(Lines(), (Lines_t{"a\xE9\xA4\xFF\xA0\x90" "ab\x82" "cd"}));  // the euro is byte 164
}

TEST_F(KeyboardTest, RealKeysFromTheServer) {
  keystate::ClearOverride();
  new wxTextCtrl(parent_, wxID_ANY, "", wxPoint(0, 570), wxSize(40, 28));  // Tab must not move the focus to it
  editor_->SetFocus();
  Pump();
  ASSERT_EQ(wxWindow::FindFocus(), editor_);
  wxUIActionSimulator keys;
  auto held = [&](int key, int modifiers) {  // the editor reads the modifiers as it handles the key
    Pump();
    keys.KeyDown(key, modifiers);
    Pump();
    keys.KeyUp(key, modifiers);
  };
  for (int code : std::initializer_list<int>{'a', 'b', WXK_RETURN, WXK_TAB, 'c', WXK_BACK, WXK_LEFT, WXK_LEFT})
    keys.Char(code);
  Pump();
  EXPECT_EQ(Now(), State({"ab", "    "}, {2, 1, 2, 1}));
  EXPECT_EQ(wxWindow::FindFocus(), editor_);
  held(WXK_RETURN, wxMOD_CONTROL);  // exactly one line break
  keys.Char(WXK_NUMPAD_ENTER);
  held(WXK_HOME, wxMOD_CONTROL);
  held(WXK_RIGHT, wxMOD_SHIFT);
  keys.Char(WXK_DELETE);
  Pump();
  EXPECT_EQ(Now(), State({"b", "  ", "  ", "    "}, {0, 0, 0, 0}));
  EXPECT_EQ(editor_->m_undoStack.size(), 9u);
}

// Under GTK a Ctrl combination arrives with the key's own character: Ctrl+1, Ctrl+- and Ctrl+[ must
// type nothing. The control characters Ctrl makes of letters are characters of their own (Ctrl+M a
// line break), and Ctrl with Alt, which is AltGr on some layouts, types what it gives.
// A chord counts with the modifiers it was typed with, even when Ctrl or Shift
// is already up by the time the editor gets to the key (fast typing, a busy
// program): every key below is pressed and released before any is handled.
TEST_F(KeyboardTest, ChordsKeepTheirModifiersWhenHandledAfterTheyWereReleased) {
  keystate::ClearOverride();
  Start({"first line", "second", "third line"}, {3, 1, 3, 1});
  editor_->SetFocus();
  Pump();
  ASSERT_EQ(wxWindow::FindFocus(), editor_);
  wxUIActionSimulator keys;
  keys.Char(WXK_HOME, wxMOD_CONTROL);
  Pump();
  EXPECT_EQ(At(), (Pos{0, 0, 0, 0}));
  keys.Char(WXK_END, wxMOD_CONTROL | wxMOD_SHIFT);
  Pump();
  EXPECT_EQ(At(), (Pos{10, 2, 0, 0}));
  keys.Char(WXK_LEFT, wxMOD_CONTROL);  // a word to the left, the selection dropped
  keys.Char(WXK_RIGHT, wxMOD_SHIFT);
  Pump();
  EXPECT_EQ(At(), (Pos{7, 2, 6, 2}));
}

TEST_F(KeyboardTest, RealCtrlCombinationsTypeOnlyCharactersOfTheirOwn) {
  keystate::ClearOverride();
  editor_->SetFocus();
  Pump();
  ASSERT_EQ(wxWindow::FindFocus(), editor_);
  parent_->codes.clear();
  wxUIActionSimulator keys;
  for (int key : {'1', '-', '[', ']', '='}) keys.Char(key, wxMOD_CONTROL);
  keys.Char('1', wxMOD_CONTROL | wxMOD_SHIFT);
  Pump();
  EXPECT_EQ(Now(), State({""}, {0, 0, 0, 0}));
  EXPECT_TRUE(editor_->m_undoStack.empty());
  EXPECT_TRUE(parent_->codes.empty());
  keys.Char('1', wxMOD_CONTROL | wxMOD_ALT);
  keys.Char('-');
  keys.Char('[', wxMOD_CONTROL | wxMOD_ALT);
  keys.Char('m', wxMOD_CONTROL);
  Pump();
  EXPECT_EQ(Now(), State({"1-[", ""}, {0, 1, 0, 1}));
  EXPECT_EQ(editor_->m_undoStack.size(), 4u);
}

// Alt with a key is a system key: it types nothing and reaches the menu bar, which opens the
// menu of that letter; F10 opens the first menu. AltGr, which the toolkit reports as Ctrl with
// Alt, types the character it gives on a layout that has one (a German one here).
TEST_F(KeyboardTest, AltKeysReachTheMenuBarAndAltGrCharactersType) {
  keystate::ClearOverride();
  auto* bar = new wxMenuBar;
  for (const char* label : {"&File", "&Edit"}) {
    auto* menu = new wxMenu;
    menu->Append(wxID_ANY, "&Item");
    bar->Append(menu, label);
  }
  frame_->SetMenuBar(bar);
  std::vector<wxString> opened;
  int open = 0;
  frame_->Bind(wxEVT_MENU_OPEN, [&](wxMenuEvent& e) {
    e.Skip();
    ++open;
    for (size_t i = 0; i < bar->GetMenuCount(); ++i)
      if (bar->GetMenu(i) == e.GetMenu()) opened.push_back(bar->GetMenuLabel(i));
  });
  frame_->Bind(wxEVT_MENU_CLOSE, [&](wxMenuEvent& e) { e.Skip(); --open; });
  Pump();
  wxUIActionSimulator keys;
  auto focus = [&] {
    editor_->SetFocus();
    Pump();
    return wxWindow::FindFocus() == editor_;
  };
  const std::pair<int, const char*> menus[] = {{'f', "&File"}, {'e', "&Edit"}, {WXK_F10, "&File"}};
  for (const auto& [key, label] : menus) {
    SCOPED_TRACE(label);
    ASSERT_TRUE(focus());
    opened.clear();
    keys.Char(key, key == WXK_F10 ? wxMOD_NONE : wxMOD_ALT);
    EXPECT_TRUE(PumpUntil([&] { return !opened.empty(); }, 2000));
    EXPECT_EQ(opened, std::vector<wxString>{label});
    keys.Char(WXK_ESCAPE);
    PumpUntil([&] { return open <= 0; }, 2000);
  }
  ASSERT_TRUE(focus());
  for (int key : {int('1'), int('q'), int(WXK_RETURN)}) keys.Char(key, wxMOD_ALT);
  Pump();
  EXPECT_EQ(Lines(), Lines_t{""});
  EXPECT_EQ(parent_->Count(ids::EN_CHANGE), 0);
  EXPECT_TRUE(editor_->m_undoStack.empty());

  opened.clear();
  {
    OtherKeyboardLayout german("de");
    ASSERT_TRUE(german.IsSet());
    Pump();
    ASSERT_TRUE(focus());
    for (const char* key : {"q", "e", "8"}) german.AltGr(key);
    PumpUntil([&] { return parent_->Count(ids::EN_CHANGE) >= 3; }, 2000);
  }
  Pump();
  EXPECT_EQ(Lines(), Lines_t{"@\xA4["});  // the euro is byte 164
  EXPECT_EQ(parent_->Count(ids::EN_CHANGE), 3);
  EXPECT_TRUE(opened.empty());
}

}  // namespace
