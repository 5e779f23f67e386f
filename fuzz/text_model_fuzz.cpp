// A text model fed an arbitrary sequence of line insertions, replacements,
// removals, analyses and recolourings, with its invariants checked after
// every step: lines, colour vectors and per-line arrays in step, each colour
// vector as long as its line, the longest-line length, depths, shades,
// running counts and the section list as an analysis from scratch gives them,
// each coloured line as the plain colouring gives it, the change reports, and
// nothing changed by a call that rejects its arguments.
//
// Input: a sequence of steps, each an operation byte followed by its
// arguments. Operation (byte % 10), with i an index byte (i % (lines + 3) - 1,
// so one outside the lines now and then) and t a length byte and that many
// bytes of text:
//   0 i t  InsertLine with recolouring     1 i t  InsertLine without
//   2 i t  SetLine                         3 i    RemoveLine
//   4      RecolourAll                     5      AnalyzeSections
//   6 i    AnalyzeAround                   7 i t  SetLine, AnalyzeAround and
//                                                  RecolourAll on a change
//   8 c    colorizer: c % 4 the model's own, a loaded base or sample
//          colorizer, or a sample colorizer with extra elements; bit 2 the
//          mode "Vorn2"
//   9      switch the character table (default, OEM)
#include <cstdint>
#include <set>
#include <string>
#include <vector>

#include "FuzzInput.h"
#include "ModelCheck.h"
#include "platform/CharClass.h"
#include "textmodel/SampleColorizer.h"

namespace {

constexpr std::size_t kMaxLines = 120;

CColorizer& Colorizer(int which) {
  static CColorizer base;
  static CSampleColorizer sample, extended;
  static bool loaded = false;
  if (!loaded) {
    loaded = true;
    plain::LoadAll(base);
    plain::LoadAll(sample);
    extended.keywords.insert({"9LIVES", "WHEN"});
    extended.flowKeywords.insert("0");
    extended.operators.insert({"_+", "#", "{", "'"});
    plain::LoadAll(extended);
  }
  return which == 1 ? base : which == 2 ? static_cast<CColorizer&>(sample) : extended;
}

// Everything a rejected call must leave as it was.
struct Snapshot {
  std::int32_t maxLineLength;
  std::vector<std::string> lines;
  std::vector<std::vector<COLORREF>> colours;
  std::vector<COLORREF> shades;
  std::vector<std::vector<std::int32_t>> arrays;
  std::list<std::wstring> names;
  std::list<std::int32_t> sectionLines;
  bool sectionsChanged;

  explicit Snapshot(const CTextModel& m)
      : maxLineLength(m.maxLineLength),
        lines(m.lines),
        colours(m.lineColours),
        shades(m.lineBackground),
        arrays{m.braceDepth, m.conCount, m.varCount, m.objCount, m.pubCount, m.priCount, m.datCount},
        names(m.sectionNames),
        sectionLines(m.sectionLines),
        sectionsChanged(m.sectionsChanged) {}

  bool operator==(const Snapshot& o) const {
    return maxLineLength == o.maxLineLength && lines == o.lines && colours == o.colours && shades == o.shades &&
           arrays == o.arrays && names == o.names && sectionLines == o.sectionLines &&
           sectionsChanged == o.sectionsChanged;
  }
  // Whether a stored depth, shade or array length differs, for lines first..last.
  bool AnalysisDiffers(const CTextModel& m, std::size_t first, std::size_t last, bool counts) const {
    if (shades.size() != m.lineBackground.size()) return true;
    for (std::size_t i = first; i <= last && i < shades.size(); ++i) {
      if (shades[i] != m.lineBackground[i] || arrays[0][i] != m.braceDepth[i]) return true;
      if (counts && (arrays[1][i] != m.conCount[i] || arrays[2][i] != m.varCount[i] ||
                     arrays[3][i] != m.objCount[i] || arrays[4][i] != m.pubCount[i] ||
                     arrays[5][i] != m.priCount[i] || arrays[6][i] != m.datCount[i]))
        return true;
    }
    return false;
  }
};

class Session {
 public:
  void Run(fuzz::Input& in) {
    while (!in.Empty()) {
      const int op = in.Byte() % 10;
      switch (op) {
        case 0: case 1: Insert(Index(in), Text(in), op == 0); break;
        case 2: Set(Index(in), Text(in), false); break;
        case 3: Remove(Index(in)); break;
        case 4: RecolourAll(); break;
        case 5: AnalyzeSections(); break;
        case 6: Around(Index(in)); break;
        case 7: Set(Index(in), Text(in), true); break;
        case 8: {
          const std::uint8_t c = in.Byte();
          m_.colorizer = c % 4 == 0 ? &m_.defaultColorizer : &Colorizer(c % 4);
          m_.colorizer->mode = (c & 4) ? L"Vorn2" : L"Vorn1";
          break;
        }
        case 9:
          platform::OemCharClassesInUse() ? platform::UseDefaultCharClasses() : platform::UseOemCharClasses();
          break;
      }
      fuzz::CheckPairing(m_, colourSizes_);
      if (m_.maxLineLength != expectedMax_) fuzz::Fail("maxLineLength is not the longest line's length");
    }
  }

 private:
  std::int32_t Count() const { return m_.LineCount(); }
  std::int32_t Index(fuzz::Input& in) { return static_cast<std::int32_t>(in.Byte() % (Count() + 3)) - 1; }
  std::string Text(fuzz::Input& in) { return in.Bytes(in.Byte()); }

  // A full analysis ran: the arrays, the lists and the change report.
  void AfterFullAnalysis(const Snapshot& before, bool reported) {
    fuzz::CheckAnalysis(m_);
    if (reported != before.AnalysisDiffers(m_, 0, m_.lines.size(), false))
      fuzz::Fail(std::string("full analysis reported ") + (reported ? "a change" : "no change") + " wrongly");
    analysed_ = true;
    dirty_.clear();
  }

  // A call that must be rejected before it changes anything.
  template <class Call>
  void ExpectRejected(const char* what, Call call) {
    const Snapshot before(m_);
    try {
      call();
    } catch (const InvalidArgumentError&) {
      if (!(Snapshot(m_) == before)) fuzz::Fail(std::string(what) + " rejected, but changed the model");
      return;
    }
    fuzz::Fail(std::string(what) + " with a bad argument was not rejected");
  }

  void Insert(std::int32_t index, const std::string& text, bool recolour) {
    if (index < 0 || index > Count()) {
      ExpectRejected("InsertLine", [&] { m_.InsertLine(text, index, recolour); });
      return;
    }
    if (static_cast<std::size_t>(Count()) >= kMaxLines) return;
    const Snapshot before(m_);
    m_.InsertLine(text, index, recolour);
    colourSizes_.insert(colourSizes_.begin() + index, recolour ? fuzz::kOwnSize : 0);
    countChanged_ = true;
    if (!recolour) return;
    expectedMax_ = static_cast<std::int32_t>(fuzz::LongestLine(m_));
    if (before.AnalysisDiffers(m_, 0, m_.lines.size(), false) && !m_.sectionsChanged)
      fuzz::Fail("InsertLine with recolouring changed the analysis but left sectionsChanged lowered");
    fuzz::CheckAnalysis(m_);
    analysed_ = true;
    countChanged_ = false;
    dirty_.clear();
    fuzz::CheckLineColours(m_, static_cast<std::size_t>(index), m_.lineBackground[index],
                           index == 0 ? 0 : m_.braceDepth[index - 1]);
  }

  void Set(std::int32_t index, const std::string& text, bool thenAround) {
    if (index < 0 || index >= Count()) {
      ExpectRejected("SetLine", [&] { m_.SetLine(text, index); });
      return;
    }
    if (static_cast<std::size_t>(index) >= m_.lineBackground.size()) {
      // A line the arrays do not reach yet: its text is replaced, it is not
      // coloured, and its colour vector keeps what it held.
      const std::vector<COLORREF> colours = m_.lineColours[index];
      colourSizes_[index] = static_cast<long>(colours.size());
      try {
        m_.SetLine(text, index);
        fuzz::Fail("SetLine of a line not analysed yet was not rejected");
      } catch (const InvalidArgumentError&) {
      }
      if (m_.lines[index] != text || m_.lineColours[index] != colours)
        fuzz::Fail("SetLine of a line not analysed yet did not replace the text alone");
      dirty_.insert(index);
      return;
    }
    m_.SetLine(text, index);
    colourSizes_[index] = fuzz::kOwnSize;
    expectedMax_ = static_cast<std::int32_t>(fuzz::LongestLine(m_));
    dirty_.insert(index);
    fuzz::CheckLineColours(m_, static_cast<std::size_t>(index), m_.lineBackground[index],
                           index == 0 ? 0 : m_.braceDepth[index - 1]);
    if (thenAround && Around(index)) RecolourAll();
  }

  void Remove(std::int32_t index) {
    if (index < 0 || index >= Count()) {
      ExpectRejected("RemoveLine", [&] { m_.RemoveLine(index); });
      return;
    }
    m_.RemoveLine(index);
    colourSizes_.erase(colourSizes_.begin() + index);
    expectedMax_ = static_cast<std::int32_t>(fuzz::LongestLine(m_));
    countChanged_ = true;
  }

  void RecolourAll() {
    if (Count() == 0) {
      ExpectRejected("RecolourAll", [&] { m_.RecolourAll(); });
      return;
    }
    const Snapshot before(m_);
    m_.RecolourAll();
    expectedMax_ = static_cast<std::int32_t>(fuzz::LongestLine(m_));
    colourSizes_.assign(m_.lines.size(), fuzz::kOwnSize);
    const bool differs = before.AnalysisDiffers(m_, 0, m_.lines.size(), false);
    if ((differs || before.sectionsChanged) && !m_.sectionsChanged)
      fuzz::Fail("RecolourAll changed the analysis but left sectionsChanged lowered");
    AfterFullAnalysis(before, differs);
    countChanged_ = false;
    fuzz::CheckAllColours(m_);
  }

  void AnalyzeSections() {
    if (Count() == 0) {
      ExpectRejected("AnalyzeSections", [&] { m_.AnalyzeSections(); });
      return;
    }
    const Snapshot before(m_);
    const bool reported = m_.AnalyzeSections();
    if (m_.lines != before.lines || m_.lineColours != before.colours || m_.sectionsChanged != before.sectionsChanged)
      fuzz::Fail("AnalyzeSections changed the lines, colours or flag");
    AfterFullAnalysis(before, reported);
    countChanged_ = false;
  }

  // The local analysis; returns what it reported.
  bool Around(std::int32_t index) {
    if (index < 0 || index >= Count()) {
      ExpectRejected("AnalyzeAround", [&] { m_.AnalyzeAround(index); });
      return false;
    }
    const Snapshot before(m_);
    const bool reported = m_.AnalyzeAround(index);
    const std::size_t start = index > 0 ? index - 1 : 0;
    if (m_.lines != before.lines || m_.lineColours != before.colours || m_.sectionNames != before.names ||
        m_.sectionLines != before.sectionLines || m_.sectionsChanged != before.sectionsChanged)
      fuzz::Fail("AnalyzeAround changed more than the per-line arrays");
    if (reported != before.AnalysisDiffers(m_, start, index, true))
      fuzz::Fail(std::string("AnalyzeAround reported ") + (reported ? "a change" : "no change") + " wrongly");
    for (std::size_t i = 0; i < m_.lines.size(); ++i) {
      if ((i < start || i > static_cast<std::size_t>(index)) && i < before.shades.size() &&
          (before.shades[i] != m_.lineBackground[i] || before.arrays[0][i] != m_.braceDepth[i]))
        fuzz::Fail("AnalyzeAround changed a line it does not look at" + fuzz::LineNote(m_, i));
    }
    // From an analysed state in which only the lines looked at were edited,
    // no change reported means the whole analysis is still that of the text.
    bool onlyHere = analysed_ && !countChanged_;
    for (std::int32_t d : dirty_) onlyHere = onlyHere && d >= static_cast<std::int32_t>(start) && d <= index;
    if (reported) {
      analysed_ = false;  // the lines below may now be out of date
    } else if (onlyHere) {
      std::vector<plain::Row> expected = plain::Analyse(m_.lines), rows = plain::Rows(m_);
      for (std::size_t i = 0; i < rows.size(); ++i) {
        rows[i].pop_back();  // the header column comes from the list, which only the full analysis rebuilds
        expected[i].pop_back();
        if (rows[i] != expected[i])
          fuzz::Fail("AnalyzeAround reported no change, but the text's analysis differs" + fuzz::LineNote(m_, i));
      }
      dirty_.clear();
    }
    return reported;
  }

  CTextModel m_;
  std::vector<long> colourSizes_;
  std::int32_t expectedMax_ = 0;
  bool analysed_ = false;       // the arrays were those of a from-scratch analysis...
  bool countChanged_ = false;   // ...unless lines were inserted or removed since,
  std::set<std::int32_t> dirty_;  // or these lines replaced
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  platform::UseDefaultCharClasses();
  for (int c = 1; c < 4; ++c) Colorizer(c).mode = L"Vorn1";
  fuzz::Input in(data, size);
  Session session;
  session.Run(in);
  platform::UseDefaultCharClasses();
  return 0;
}
