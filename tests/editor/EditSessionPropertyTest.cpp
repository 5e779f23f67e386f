// Random editing sessions by keys, mouse and clipboard in a real editor window:
// the model stays consistent after every action, undoing everything gives back
// the starting text and redoing it all the final text. QUILLMARK_PROPERTY_SEED and
// QUILLMARK_PROPERTY_SESSIONS choose the seed and the number of sessions.
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include "platform/CharClass.h"
#include "support/EditorFixture.h"

#include <wx/clipbrd.h>

namespace {

using Lines_t = std::vector<std::string>;

unsigned long EnvNumber(const char* name, unsigned long fallback) {
  const char* value = std::getenv(name);
  return value && *value ? std::strtoul(value, nullptr, 10) : fallback;
}

// Pieces of random lines; characters typed at random, some mapped to bytes, some dropped.
const char* const kFragments[] = {"a", "x1", "foo", "Bar", " ", "  ", "    ", "{", "}", "{{", "'", "' note",
                                  "\"s\"", "PUB ", "PRI", "con", "VAR", "DAT ", "OBJ", ":=", "(", ")", "$FF",
                                  "%10", "42", ".", "_", "\x82", "\xE9", "\xA4", "\xFF"};
const wchar_t kTyped[] = {L'a', L'Z', L'0', L' ', L' ', L'{', L'}', L'\'', L'"', L'.', L'_', L'\t',
                          0x00E9, 0x20AC, 0x221E, 0x2500, 0x2014, 0x03C0, 1, 27};
const int kMoves[] = {WXK_LEFT, WXK_RIGHT, WXK_UP, WXK_DOWN, WXK_HOME, WXK_END, WXK_PAGEUP, WXK_NUMPAD_PAGEDOWN};

class EditSessionPropertyTest : public EditorFixture {
 protected:
  void TearDown() override {
    ClearClipboard();
    platform::UseDefaultCharClasses();
    EditorFixture::TearDown();
  }
  static void ClearClipboard() {
    wxClipboardLocker lock;
    if (wxTheClipboard->IsOpened()) wxTheClipboard->Clear();
  }
  int Pick(std::size_t n) { return std::uniform_int_distribution<int>(0, static_cast<int>(n) - 1)(rng_); }
  bool Chance(int percent) { return Pick(100) < percent; }
  // Sends an event with the modifiers held; true when the editor passed it on.
  bool Send(wxEvent& event, bool ctrl = false, bool shift = false) {
    keystate::Override(shift, ctrl);
    event.SetEventObject(editor_);
    const bool processed = editor_->GetEventHandler()->ProcessEvent(event);
    keystate::Override(false, false);
    return !processed;
  }
  bool Key(int key, bool ctrl, bool shift) {
    wxKeyEvent event(wxEVT_KEY_DOWN);
    event.m_keyCode = key;
    event.SetControlDown(ctrl);
    return Send(event, ctrl, shift);
  }
  void Char(wchar_t unit) {
    wxKeyEvent event(wxEVT_CHAR);
    event.m_uniChar = unit;
    Send(event);
  }
  void Mouse(wxEventType type, const wxPoint& at, bool shift = false) {
    wxMouseEvent event(type);
    event.SetPosition(at);
    Send(event, false, shift);
  }
  wxPoint RandomPoint() {  // over the text or a little beyond it
    const int rows = std::max(editor_->m_textModel.LineCount() - editor_->m_firstLine + 2, 1);
    return {Pick(10 + 24 * editor_->m_cellWidth), Pick(rows * editor_->m_lineHeight)};
  }
  void RandomAction() {
    const int kind = Pick(100);
    const bool ctrl = Chance(25), shift = Chance(40);
    if (kind < 28) {
      Char(kTyped[Pick(std::size(kTyped))]);
    } else if (kind < 38) {  // Return, Shift+Return, and now and then Ctrl+Return
      if (Key(WXK_RETURN, kind < 30, shift)) Char(13);
      wxTheApp->ProcessPendingEvents();
    } else if (kind < 48) {
      Key(kind < 43 ? WXK_BACK : WXK_DELETE, ctrl, false);
    } else if (kind < 70) {
      Key(kMoves[Pick(std::size(kMoves))], ctrl, shift);
    } else if (kind < 80) {  // a drag, or a double click
      const wxPoint from = RandomPoint(), to = kind < 77 ? RandomPoint() : from;
      Mouse(wxEVT_LEFT_DOWN, from, shift);
      Mouse(kind < 77 ? wxEVT_MOTION : wxEVT_LEFT_DCLICK, to);
      Mouse(wxEVT_LEFT_UP, to);
    } else if (kind < 84) {
      wxCommandEvent command(wxEVT_MENU, ids::ID_EDIT_SELECT_ALL);
      Send(command);
    } else {
      // Ctrl+X, C, V, Z, Y. Before anything was copied a paste would wait on the
      // display for an empty clipboard: copy instead.
      const char key = "XXXCCVVVVZZZZYYY"[kind - 84];
      Key(key == 'V' && !clipboardUsed_ ? 'C' : key, true, false);
      clipboardUsed_ = clipboardUsed_ || (key != 'Z' && key != 'Y');
    }
  }
  // What must hold after every action; empty when it all holds.
  std::string Inconsistency() const {
    const CTextModel& m = editor_->m_textModel;
    const std::size_t n = m.lines.size();
    if (n == 0) return "no lines";
    for (const std::size_t size : {m.lineColours.size(), m.braceDepth.size(), m.conCount.size(), m.varCount.size(),
                                   m.objCount.size(), m.pubCount.size(), m.priCount.size(), m.datCount.size(),
                                   m.lineBackground.size()})
      if (size != n) return "a per-line array of " + std::to_string(size) + " entries";
    auto valid = [&](int col, int line) {
      return line >= 0 && line <= static_cast<int>(n) && col >= 0 &&
             col <= (line == static_cast<int>(n) ? 0 : static_cast<int>(m.lines[line].size()));
    };
    if (!valid(editor_->m_caretCol, editor_->m_caretLine) || !valid(editor_->m_anchorCol, editor_->m_anchorLine))
      return "caret or anchor outside the text";
    // Each line is coloured from its stored shade and the depth above it; depths match a full analysis,
    // and so do shades except where the header counts lag (an edit inside a line keeps them).
    CTextModel fresh;
    fresh.lines = m.lines;
    fresh.lineColours.assign(n, {});
    fresh.RecolourAll();
    bool countsStale = false;
    for (std::size_t i = 0; i < n; ++i) {
      const std::string where = " on line " + std::to_string(i);
      std::vector<COLORREF> colours;
      m.colorizer->ColorLine(m.lines[i], colours, m.lineBackground[i], i > 0 ? m.braceDepth[i - 1] : 0);
      if (colours != m.lineColours[i]) return "colours unlike the stored shade and depth give" + where;
      if (fresh.braceDepth[i] != m.braceDepth[i]) return "a brace depth unlike a full analysis" + where;
      for (const auto counts : {&CTextModel::conCount, &CTextModel::varCount, &CTextModel::objCount,
                                &CTextModel::pubCount, &CTextModel::priCount, &CTextModel::datCount})
        countsStale = countsStale || (fresh.*counts)[i] != (m.*counts)[i];
      if (fresh.lineBackground[i] != m.lineBackground[i] && !countsStale)
        return "a shade unlike a full analysis" + where;
    }
    return {};
  }
  std::mt19937 rng_;
  bool clipboardUsed_ = true;  // something may be on the clipboard
};

TEST_F(EditSessionPropertyTest, UndoingASessionRestoresItsTextAndRedoingRestoresTheResult) {
  const unsigned long seed = EnvNumber("QUILLMARK_PROPERTY_SEED", 20240611);
  const unsigned long sessions = EnvNumber("QUILLMARK_PROPERTY_SESSIONS", 2000);
  for (unsigned long k = 0; k < sessions; ++k) {
    rng_.seed(static_cast<std::mt19937::result_type>(seed + k));
    const std::string where = "session " + std::to_string(k) + " (alone: QUILLMARK_PROPERTY_SEED=" +
                              std::to_string(seed + k) + " QUILLMARK_PROPERTY_SESSIONS=1)";
    // Every session starts alike: the classes a typed character switches to, an empty clipboard.
    platform::UseOemCharClasses();
    if (clipboardUsed_) ClearClipboard();
    clipboardUsed_ = false;
    Lines_t start(static_cast<std::size_t>(1 + Pick(8)));
    for (std::string& line : start)
      for (int pieces = Pick(7); pieces > 0; --pieces) line += kFragments[Pick(std::size(kFragments))];
    SetLines(start);
    editor_->m_firstLine = editor_->m_firstCol = 0;
    editor_->m_currentFrame.Clear();
    ClearFrameStack(editor_->m_undoStack);
    ClearFrameStack(editor_->m_redoStack);
    editor_->SetSelection(Pick(20), Pick(10), Pick(20), Pick(10));
    for (int a = 1 + Pick(30); a > 0; --a) {
      RandomAction();
      ASSERT_EQ(Inconsistency(), "") << where << " from " << ::testing::PrintToString(start) << " to "
                                     << ::testing::PrintToString(Lines());
    }
    const Lines_t final = Lines();
    const std::size_t done = editor_->m_undoStack.size();
    for (std::size_t i = 0; i < done; ++i) Key('Z', true, false);
    ASSERT_EQ(Lines(), start) << where << ": undoing everything";
    ASSERT_EQ(Inconsistency(), "") << where << ": after undoing everything";
    for (std::size_t i = 0; i < done; ++i) Key('Y', true, false);
    ASSERT_EQ(Lines(), final) << where << ": redoing everything";
    ASSERT_EQ(Inconsistency(), "") << where << ": after redoing everything";
  }
}

}  // namespace
