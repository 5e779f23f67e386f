// Arbitrary UTF-16 inserted into an editor with InsertText, then read back with
// GetText and compared with the mapping rules: units up to U+00FF are their own
// byte, others the byte whose glyph they are or nothing; CR dropped; LF ends a
// line; TAB filled with spaces to the next stop; a selection is replaced; the
// text after the caret follows the last inserted line, the caret between them. Also checked: the caret
// and anchor, the text model's invariants and analysis, that one undo gives the
// text back, and that GetText's result inserted into a fresh editor gives the
// same lines. wx is started once; the editor needs a display (Xvfb in CI).
//
// Input: bytes 0 to 3 pick the caret line and column and the anchor line and
// column in the text first inserted (the line after the last one counts, with
// column 0); byte 4 bit 0 colours with a loaded sample colorizer, bit 1 in the
// mode "Vorn2"; bytes 5 and 6 the number of UTF-16 units (first byte lowest)
// of the text first inserted into an empty editor; then those units, two bytes
// each, first byte lowest; the units of the rest are the text under test.
#include <wx/app.h>
#include <wx/frame.h>
#include <wx/init.h>

#include <map>
#include <string>
#include <vector>

#include "FuzzInput.h"
#include "ModelCheck.h"
#include "editor/ColorEditWnd.h"
#include "editor/GlyphTable.h"
#include "platform/CharClass.h"
#include "res/ResourceIds.h"
#include "textmodel/SampleColorizer.h"

namespace {

class FuzzApp : public wxApp {
 public:
  bool OnInit() override { return true; }
};

ColorEditWnd* g_editor = nullptr;
CSampleColorizer* g_colorizer = nullptr;

using Lines = std::vector<std::string>;

struct Pos {
  int col, line;
  bool operator==(const Pos& o) const { return col == o.col && line == o.line; }
  bool operator<(const Pos& o) const { return line != o.line ? line < o.line : col < o.col; }
};

// The byte a unit stands for, read off the glyph table; -1 when it has none.
int PlainByteOf(wchar_t unit) {
  static const std::map<wchar_t, int> glyphs = [] {
    std::map<wchar_t, int> m;
    for (int b = 0; b < 256; ++b) m[GlyphOfByte(static_cast<unsigned char>(b))] = b;
    return m;
  }();
  if (unit >= 0 && unit <= 0xFF) return unit;
  const auto it = glyphs.find(unit);
  return it == glyphs.end() ? -1 : it->second;
}

std::string PlainText(const Lines& lines) {
  std::string text;
  for (const std::string& line : lines) text += line + (lines.size() >= 2 ? "\n" : "");
  return text;
}

// The insertion read plainly off its rules: the lines and the caret after it.
void PlainInsert(Lines& lines, Pos& caret, Pos anchor, const std::wstring& units) {
  const int count = static_cast<int>(lines.size());
  if (!(caret == anchor)) {  // the selection goes first; a position below the last line is the text's end
    Pos start = std::min(caret, anchor), end = std::max(caret, anchor);
    if (end.line >= count) end = {static_cast<int>(lines[count - 1].size()), count - 1};
    if (start < end) {
      lines[start.line] = lines[start.line].substr(0, start.col) + lines[end.line].substr(end.col);
      lines.erase(lines.begin() + start.line + 1, lines.begin() + end.line + 1);
    }
    caret = start;
  }
  std::vector<std::string> segments(1);
  std::size_t column = caret.col;
  for (wchar_t unit : units) {
    const int b = PlainByteOf(unit);
    if (b < 0 || b == 0x0D) continue;
    if (b == 0x0A) {
      segments.emplace_back();
      column = 0;
    } else if (b == 0x09) {
      do {
        segments.back() += ' ';
        ++column;
      } while (column % 4 != 0);
    } else {
      segments.back() += static_cast<char>(b);
      ++column;
    }
  }
  const bool below = caret.line >= static_cast<int>(lines.size());
  if (segments.size() == 1) {
    if (segments[0].empty()) return;
    if (below) {
      lines.push_back(segments[0]);
      caret.col = static_cast<int>(segments[0].size());
    } else {
      lines[caret.line].insert(caret.col, segments[0]);
      caret.col += static_cast<int>(segments[0].size());
    }
    return;
  }
  std::string right;
  if (below) {
    lines.push_back(segments[0]);
  } else {
    right = lines[caret.line].substr(caret.col);
    lines[caret.line] = lines[caret.line].substr(0, caret.col) + segments[0];
  }
  for (std::size_t k = 1; k + 1 < segments.size(); ++k) lines.insert(lines.begin() + caret.line + k, segments[k]);
  caret.line += static_cast<int>(segments.size()) - 1;
  caret.col = 0;
  const std::string last = segments.back() + right;
  if (!last.empty()) {
    lines.insert(lines.begin() + caret.line, last);
    caret.col = static_cast<int>(segments.back().size());  // before the rest of the split line
  }
}

std::string Show(const Lines& lines) {
  std::string s;
  for (const std::string& line : lines) s += "  \"" + fuzz::Escaped(line) + "\"\n";
  return s;
}

std::wstring Units(fuzz::Input& in, std::size_t count) {
  std::wstring units;
  for (std::size_t k = 0; k < count && in.Left() >= 2; ++k) {
    const unsigned low = in.Byte();
    units += static_cast<wchar_t>(low | (unsigned{in.Byte()} << 8));
  }
  return units;
}

std::string ShowUnits(const std::wstring& units) {
  std::string s;
  char buf[8];
  for (wchar_t u : units) {
    std::snprintf(buf, sizeof buf, "%04X ", static_cast<unsigned>(u));
    s += buf;
  }
  return s;
}

// The editor's model after InsertText: recoloured and analysed as a whole.
void CheckModel(const CTextModel& m) {
  fuzz::CheckPairing(m, std::vector<long>(m.lines.size(), fuzz::kOwnSize));
  if (m.lines.empty()) fuzz::Fail("the editor holds no line");
  if (static_cast<std::size_t>(m.maxLineLength) != fuzz::LongestLine(m))
    fuzz::Fail("maxLineLength is not the longest line's length");
  fuzz::CheckAnalysis(m);
  fuzz::CheckAllColours(m);
}

void Undo() {
  wxCommandEvent e(wxEVT_MENU, ids::ID_EDIT_UNDO);
  g_editor->OnEditUndo(e);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  static int argc = 1;
  static char name[] = "insert_text_fuzz";
  static char* argv[] = {name, nullptr};
  wxApp::SetInstance(new FuzzApp());
  if (!wxEntryStart(argc, argv)) {
    std::fprintf(stderr, "cannot start wx: is there a display?\n");
    std::exit(1);
  }
  wxTheApp->CallOnInit();
  auto* frame = new wxFrame(nullptr, wxID_ANY, "fuzz", wxPoint(0, 0), wxSize(800, 600));
  frame->Show();
  g_editor = new ColorEditWnd(frame, wxRect(2, 2, 796, 596), L"Veltrane", true);
  g_colorizer = new CSampleColorizer();
  plain::LoadAll(*g_colorizer);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static unsigned runs = 0;
  if (++runs % 64 == 0) {  // let the toolkit paint and forget what piled up
    wxTheApp->ProcessPendingEvents();
    while (wxTheApp->Pending()) wxTheApp->Dispatch();
  }
  platform::UseDefaultCharClasses();
  fuzz::Input in(data, size);
  const std::uint8_t pick[4] = {in.Byte(), in.Byte(), in.Byte(), in.Byte()};
  const std::uint8_t flags = in.Byte();
  const std::size_t firstCount = in.Byte() | (std::size_t{in.Byte()} << 8);
  const std::wstring first = Units(in, firstCount);
  const std::wstring units = Units(in, in.Left() / 2);

  ColorEditWnd& e = *g_editor;
  CTextModel& m = e.m_textModel;
  m.colorizer = (flags & 1) ? static_cast<CColorizer*>(g_colorizer) : &m.defaultColorizer;
  m.colorizer->mode = (flags & 2) ? L"Vorn2" : L"Vorn1";
  e.ResetContent();

  // Both insertions are checked the same way: first into the empty editor, then at the picked place.
  for (int round = 0; round < 2; ++round) {
    const std::wstring& text = round == 0 ? first : units;
    if (round == 1) {
      const int count = m.LineCount();
      const auto place = [&](std::uint8_t lineByte, std::uint8_t colByte) {
        const int line = lineByte % (count + 1);
        const int len = line < count ? static_cast<int>(m.lines[line].size()) : 0;
        return Pos{colByte % (len + 1), line};
      };
      const Pos caret = place(pick[0], pick[1]), anchor = place(pick[2], pick[3]);
      e.m_caretCol = caret.col;
      e.m_caretLine = caret.line;
      e.m_anchorCol = anchor.col;
      e.m_anchorLine = anchor.line;
    }
    const Lines before = m.lines;
    const std::string beforeText = e.GetText();
    if (beforeText != PlainText(before)) fuzz::Fail("GetText does not give the lines\n" + Show(before));
    Lines expected = before;
    Pos caret{e.m_caretCol, e.m_caretLine};
    const Pos anchor{e.m_anchorCol, e.m_anchorLine};
    PlainInsert(expected, caret, anchor, text);
    const std::size_t frames = e.m_undoStack.size();

    e.InsertText(text);

    const std::string context = "\nlines before:\n" + Show(before) + "caret " + std::to_string(caret.col) + "," +
                                std::to_string(caret.line) + " anchor " + std::to_string(anchor.col) + "," +
                                std::to_string(anchor.line) + "\nunits: " + ShowUnits(text) + "\nlines now:\n" +
                                Show(m.lines) + "lines expected:\n" + Show(expected);
    if (e.GetText() != PlainText(expected)) fuzz::Fail("GetText after InsertText differs from the rules" + context);
    if (!(Pos{e.m_caretCol, e.m_caretLine} == caret) || !(Pos{e.m_anchorCol, e.m_anchorLine} == caret))
      fuzz::Fail("caret or anchor after InsertText is not at the end of the insertion" + context);
    CheckModel(m);

    // One undo takes the whole insertion back.
    if (e.m_undoStack.size() == frames + 1) {
      const Lines after = m.lines;
      Undo();
      if (m.lines != before) fuzz::Fail("undo of InsertText did not give the text back" + context);
      CheckModel(m);
      wxCommandEvent redo(wxEVT_MENU, ids::ID_EDIT_REDO);
      e.OnEditRedo(redo);
      if (m.lines != after) fuzz::Fail("redo of InsertText did not give the insertion back" + context);
      CheckModel(m);
    } else if (e.m_undoStack.size() != frames || m.lines != before) {
      fuzz::Fail("InsertText left no single undo frame for its change" + context);
    }
  }

  // GetText's result inserted into a fresh editor gives the same lines.
  const Lines lines = m.lines;
  const std::string text = e.GetText();
  std::wstring wide;
  for (unsigned char b : text) wide += static_cast<wchar_t>(b);
  e.ResetContent();
  e.InsertText(wide);
  if (m.lines != lines) fuzz::Fail("GetText inserted again does not give the same lines\n" + Show(lines) + "now\n" + Show(m.lines));
  CheckModel(m);
  return 0;
}
