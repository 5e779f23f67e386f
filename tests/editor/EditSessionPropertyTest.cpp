// Random editing sessions on random texts in a real editor window: typing,
// tabs, line breaks, Backspace and Delete, moves and selections by keys and by
// mouse, cut, copy, paste, select all, undo and redo. After every action the
// model must be consistent; after every session, undoing everything must give
// back the starting text and redoing it all the final text.
//
// QUILLMARK_PROPERTY_SEED and QUILLMARK_PROPERTY_SESSIONS choose the seed and
// the number of sessions; session k runs from seed + k, so a failing session
// can be run alone with that seed and a count of 1.
#include <cstdlib>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "platform/CharClass.h"
#include "support/EditorFixture.h"

#include <wx/clipbrd.h>

namespace {

using Lines_t = std::vector<std::string>;

unsigned long EnvNumber(const char* name, unsigned long fallback) {
  const char* value = std::getenv(name);
  if (!value || !*value) return fallback;
  return std::strtoul(value, nullptr, 10);
}

// Pieces that random lines are made of: words, blanks, every kind of brace
// and comment, header words of each section kind, strings and high bytes.
const char* const kFragments[] = {
    "a", "x1", "foo", "Bar", " ", "  ", "    ", "{", "}", "{{", "'", "' note", "\"s\"", "PUB ", "PRI",
    "con", "VAR", "DAT ", "OBJ", ":=", "(", ")", "$FF", "%10", "42", ".", "_", "\x82", "\xE9", "\xA4", "\xFF",
};

// Characters typed at random: printable bytes, the glyph characters that map
// to bytes, ones that are dropped (no glyph, or not a printable byte), tab.
const wchar_t kTyped[] = {
    L'a', L'Z', L'0', L' ', L' ', L'{', L'}', L'\'', L'"', L'.', L'_', L'\t',
    0x00E9, 0x20AC, 0x221E, 0x2500, 0x2014, 0x03C0, 1, 27,
};

class EditSessionPropertyTest : public EditorFixture {
 protected:
  void SetUp() override {
    EditorFixture::SetUp();
    platform::UseDefaultCharClasses();
  }
  void TearDown() override {
    if (editor_->HasCapture()) editor_->ReleaseMouse();
    ClearClipboard();
    platform::UseDefaultCharClasses();
    EditorFixture::TearDown();
  }
  static void ClearClipboard() {
    if (wxTheClipboard->Open()) {
      wxTheClipboard->Clear();
      wxTheClipboard->Close();
    }
  }

  int Pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng_); }
  bool Chance(int percent) { return Pick(100) < percent; }

  Lines_t RandomText() {
    Lines_t lines(static_cast<std::size_t>(1 + Pick(8)));
    for (std::string& line : lines) {
      const int pieces = Pick(7);
      for (int i = 0; i < pieces; ++i) line += kFragments[Pick(static_cast<int>(std::size(kFragments)))];
    }
    return lines;
  }

  bool KeyDown(int key, bool ctrl, bool shift) {
    keystate::Override(shift, ctrl);
    wxKeyEvent event(wxEVT_KEY_DOWN);
    event.m_keyCode = key;
    event.SetControlDown(ctrl);
    event.SetShiftDown(shift);
    event.SetEventObject(editor_);
    const bool processed = editor_->GetEventHandler()->ProcessEvent(event);
    keystate::Override(false, false);
    return !processed;
  }
  void Char(wchar_t unit) {
    wxKeyEvent event(wxEVT_CHAR);
    event.m_keyCode = unit <= 0xFF ? static_cast<int>(unit) : static_cast<int>(WXK_NONE);
    event.m_uniChar = unit;
    event.SetEventObject(editor_);
    editor_->GetEventHandler()->ProcessEvent(event);
  }
  void Mouse(wxEventType type, int x, int y, bool shift) {
    keystate::Override(shift, false);
    wxMouseEvent event(type);
    event.SetPosition(wxPoint(x, y));
    event.SetShiftDown(shift);
    event.m_leftDown = type != wxEVT_LEFT_UP;
    event.SetEventObject(editor_);
    editor_->GetEventHandler()->ProcessEvent(event);
    keystate::Override(false, false);
  }
  // A point over the text or a little beyond it.
  wxPoint RandomPoint() {
    const int cw = editor_->m_cellWidth, lh = editor_->m_lineHeight;
    const int rows = editor_->m_textModel.LineCount() - editor_->m_firstLine + 2;
    return wxPoint(Pick(10 + 24 * cw), Pick(std::max(rows, 1) * lh));
  }

  // One random action; appends what it did to `log`.
  void RandomAction(std::ostringstream& log) {
    static const int kMoves[] = {WXK_LEFT, WXK_RIGHT, WXK_UP,     WXK_DOWN,    WXK_HOME,
                                 WXK_END,  WXK_PAGEUP, WXK_PAGEDOWN, WXK_NUMPAD_LEFT};
    const int kind = Pick(100);
    if (kind < 28) {
      const wchar_t c = kTyped[Pick(static_cast<int>(std::size(kTyped)))];
      log << "char U+" << std::hex << static_cast<int>(c) << std::dec;
      Char(c);
    } else if (kind < 36) {
      const bool shift = Chance(30);
      log << (shift ? "shift+" : "") << "return";
      if (KeyDown(WXK_RETURN, false, shift)) Char(13);
    } else if (kind < 38) {
      log << "ctrl+return";
      KeyDown(WXK_RETURN, true, false);
      wxTheApp->ProcessPendingEvents();
    } else if (kind < 48) {
      const bool back = Chance(50), ctrl = Chance(20);
      log << (ctrl ? "ctrl+" : "") << (back ? "backspace" : "delete");
      KeyDown(back ? WXK_BACK : WXK_DELETE, ctrl, false);
    } else if (kind < 70) {
      const int key = kMoves[Pick(static_cast<int>(std::size(kMoves)))];
      const bool ctrl = Chance(25), shift = Chance(45);
      log << (ctrl ? "ctrl+" : "") << (shift ? "shift+" : "") << "key " << key;
      KeyDown(key, ctrl, shift);
    } else if (kind < 78) {
      const wxPoint from = RandomPoint(), to = RandomPoint();
      const bool shift = Chance(25);
      log << (shift ? "shift+" : "") << "drag " << from.x << "," << from.y << " to " << to.x << "," << to.y;
      Mouse(wxEVT_LEFT_DOWN, from.x, from.y, shift);
      Mouse(wxEVT_MOTION, to.x, to.y, false);
      Mouse(wxEVT_LEFT_UP, to.x, to.y, false);
    } else if (kind < 80) {
      const wxPoint at = RandomPoint();
      log << "double-click " << at.x << "," << at.y;
      Mouse(wxEVT_LEFT_DOWN, at.x, at.y, false);
      Mouse(wxEVT_LEFT_UP, at.x, at.y, false);
      Mouse(wxEVT_LEFT_DCLICK, at.x, at.y, false);
      Mouse(wxEVT_LEFT_UP, at.x, at.y, false);
    } else if (kind < 84) {
      log << "select all";
      wxCommandEvent command(wxEVT_MENU, ids::ID_EDIT_SELECT_ALL);
      command.SetEventObject(editor_);
      editor_->GetEventHandler()->ProcessEvent(command);
    } else if (kind < 87) {
      log << "ctrl+x";
      KeyDown('X', true, false);
      clipboardUsed_ = true;
    } else if (kind < 93) {
      // A paste from an empty clipboard is disabled, and asking for it costs
      // a wait on the display: before anything was copied, copy instead.
      const bool paste = kind >= 89 && clipboardUsed_;
      log << (paste ? "ctrl+v" : "ctrl+c");
      KeyDown(paste ? 'V' : 'C', true, false);
      clipboardUsed_ = true;
    } else if (kind < 97) {
      log << "ctrl+z";
      KeyDown('Z', true, false);
    } else {
      log << "ctrl+y";
      KeyDown('Y', true, false);
    }
  }

  // What must hold after every action; empty when it all holds.
  std::string Inconsistency() const {
    const CTextModel& m = editor_->m_textModel;
    const std::size_t n = m.lines.size();
    if (n == 0) return "no lines";
    if (m.lineColours.size() != n) return "colour vectors: " + std::to_string(m.lineColours.size());
    for (std::size_t i = 0; i < n; ++i)
      if (m.lineColours[i].size() != m.lines[i].size()) return "colours of line " + std::to_string(i);
    for (const auto* a : {&m.braceDepth, &m.conCount, &m.varCount, &m.objCount, &m.pubCount, &m.priCount,
                          &m.datCount})
      if (a->size() != n) return "a per-line count array";
    if (m.lineBackground.size() != n) return "shades";
    auto valid = [&](int col, int line) {
      if (line < 0 || line > static_cast<int>(n)) return false;
      if (line == static_cast<int>(n)) return col == 0;
      return col >= 0 && col <= static_cast<int>(m.lines[line].size());
    };
    if (!valid(editor_->m_caretCol, editor_->m_caretLine)) return "caret outside the text";
    if (!valid(editor_->m_anchorCol, editor_->m_anchorLine)) return "anchor outside the text";
    if (editor_->m_firstLine < 0 || editor_->m_firstCol < 0) return "negative scroll position";
    // Every line is coloured from its stored shade and the depth stored
    // above it, and the depths are those of a full analysis of the text.
    CTextModel fresh;
    fresh.lines = m.lines;
    fresh.lineColours.assign(n, {});
    fresh.RecolourAll();
    bool countsStale = false;
    for (std::size_t i = 0; i < n; ++i) {
      const std::string line = " on line " + std::to_string(i);
      std::vector<COLORREF> colours;
      m.colorizer->ColorLine(m.lines[i], colours, m.lineBackground[i], i > 0 ? m.braceDepth[i - 1] : 0);
      if (colours != m.lineColours[i]) return "the colours do not follow the stored shade and depth" + line;
      if (fresh.braceDepth[i] != m.braceDepth[i])
        return "the brace depth differs from a full analysis" + line;
      // A shade may lag only where the header counts that alternate the
      // shades lag: the local analysis after an edit inside a line does not
      // look at them.
      for (const auto counts : {&CTextModel::conCount, &CTextModel::varCount, &CTextModel::objCount,
                                &CTextModel::pubCount, &CTextModel::priCount, &CTextModel::datCount})
        if ((fresh.*counts)[i] != (m.*counts)[i]) countsStale = true;
      if (fresh.lineBackground[i] != m.lineBackground[i] && !countsStale)
        return "the shade differs from a full analysis" + line;
    }
    return {};
  }

  void Undo() { KeyDown('Z', true, false); }
  void Redo() { KeyDown('Y', true, false); }

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

    // Each session starts alike: the classes a typed character switches to,
    // an empty clipboard.
    platform::UseOemCharClasses();
    if (clipboardUsed_) ClearClipboard();
    clipboardUsed_ = false;
    const Lines_t start = RandomText();
    SetLines(start);
    editor_->m_firstLine = editor_->m_firstCol = 0;
    editor_->m_currentFrame.Clear();
    ClearFrameStack(editor_->m_undoStack);
    ClearFrameStack(editor_->m_redoStack);
    editor_->SetSelection(Pick(20), Pick(10), Pick(20), Pick(10));

    std::ostringstream log;
    const int actions = 1 + Pick(30);
    for (int a = 0; a < actions; ++a) {
      log << "\n  ";
      RandomAction(log);
      const std::string problem = Inconsistency();
      ASSERT_TRUE(problem.empty()) << where << ": " << problem << " after" << log.str() << "\nstarting from "
                                   << ::testing::PrintToString(start) << "\nnow "
                                   << ::testing::PrintToString(Lines());
    }

    const Lines_t final = Lines();
    const std::size_t done = editor_->m_undoStack.size();
    for (std::size_t i = 0; i < done; ++i) Undo();
    ASSERT_TRUE(editor_->m_undoStack.empty()) << where;
    ASSERT_EQ(Lines(), start) << where << ": undoing everything after" << log.str();
    ASSERT_EQ(Inconsistency(), "") << where << ": after undoing everything";
    for (std::size_t i = 0; i < done; ++i) Redo();
    ASSERT_EQ(Lines(), final) << where << ": redoing everything after" << log.str();
    ASSERT_EQ(Inconsistency(), "") << where << ": after redoing everything";
  }
}

}  // namespace
