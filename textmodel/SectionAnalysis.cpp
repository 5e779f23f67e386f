// Section analysis: brace-comment depths, section shades, running header
// counts and the list of section headers of a text model.
#include <cstddef>
#include <cstdint>
#include <list>
#include <string>
#include <vector>

#if defined(__SSE2__) || defined(_M_X64)
#include <emmintrin.h>
#endif

#include "platform/CharClass.h"
#include "textmodel/SectionShades.h"
#include "textmodel/TextModel.h"

namespace {

bool IsWhite(char ch) {
  const auto b = static_cast<unsigned char>(ch);
  return b == ' ' || (b >= 9 && b <= 13);
}

// Eight bytes at a time: a mask with the high bit of every byte of `word`
// equal to `byte`.
constexpr std::uint64_t kLowBits = 0x0101010101010101ull;
constexpr std::uint64_t kHighBits = 0x8080808080808080ull;

inline std::uint64_t BytesEqual(std::uint64_t word, unsigned char byte) {
  const std::uint64_t x = word ^ (kLowBits * byte);
  return ~(((x & ~kHighBits) + ~kHighBits) | x) & kHighBits;
}

inline int CountMarked(std::uint64_t mask) {
  return static_cast<int>((((mask >> 7) * kLowBits) >> 56) & 0xFF);
}

// Eight bytes as one word, the first byte lowest (compilers make this one load).
inline std::uint64_t Load8(const unsigned char* p) {
  using U = std::uint64_t;
  return U(p[0]) | U(p[1]) << 8 | U(p[2]) << 16 | U(p[3]) << 24 | U(p[4]) << 32 | U(p[5]) << 40 |
         U(p[6]) << 48 | U(p[7]) << 56;
}

// Adds the braces of one word to `balance`; true when the word holds a "'",
// whose braces after it are left out.
inline bool CountBraces(std::uint64_t word, std::int32_t& balance) {
  std::uint64_t open = BytesEqual(word, '{');
  std::uint64_t close = BytesEqual(word, '}');
  const std::uint64_t quote = BytesEqual(word, '\'');
  if (quote != 0) {
    const std::uint64_t before = (quote & (~quote + 1)) - 1;  // bytes below the first "'"
    open &= before;
    close &= before;
  }
  balance += CountMarked(open) - CountMarked(close);
  return quote != 0;
}

// The set bits of a byte-compare mask of sixteen bytes.
inline int CountBits16(unsigned mask) {
  int count = 0;
  for (; mask != 0; mask &= mask - 1) ++count;
  return count;
}

// "{" minus "}" among the braces of a line that stand before its first "'".
// The line is read sixteen bytes at a time where the processor allows, its
// last bytes as the line's final sixteen; else eight bytes at a time, its
// last bytes as the line's final eight shifted down, or byte by byte in a
// short line.
std::int32_t BraceBalance(const std::string& line) {
  const auto* p = reinterpret_cast<const unsigned char*>(line.data());
  const std::size_t n = line.size();
  std::int32_t balance = 0;
  std::size_t i = 0;
#if defined(__SSE2__) || defined(_M_X64)
  // Sixteen bytes at a time where the processor has the instructions.
  const __m128i openBrace = _mm_set1_epi8('{');
  const __m128i closeBrace = _mm_set1_epi8('}');
  const __m128i apostrophe = _mm_set1_epi8('\'');
  if (n >= 16) {
    // The last piece is the line's final sixteen bytes, of which those
    // counted before are left out.
    for (; i < n; i += 16) {
      std::size_t at = i;
      unsigned fresh = 0xFFFFu;
      if (i + 16 > n) {
        at = n - 16;
        fresh = (0xFFFFu << (i - at)) & 0xFFFFu;
      }
      const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + at));
      const auto marks = [bytes, fresh](__m128i byte) {
        return static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(bytes, byte))) & fresh;
      };
      unsigned open = marks(openBrace);
      unsigned close = marks(closeBrace);
      const unsigned quote = marks(apostrophe);
      if ((open | close | quote) == 0) continue;
      if (quote != 0) {
        const unsigned before = (quote & (~quote + 1)) - 1;  // bytes below the first "'"
        open &= before;
        close &= before;
      }
      balance += CountBits16(open) - CountBits16(close);
      if (quote != 0) return balance;
    }
    return balance;
  }
#endif
  for (; i + 8 <= n; i += 8) {
    if (CountBraces(Load8(p + i), balance)) return balance;
  }
  const std::size_t rest = n - i;
  if (rest == 0) return balance;
  std::uint64_t tail = 0;
  if (n >= 8) {
    tail = Load8(p + n - 8) >> (8 * (8 - rest));
  } else {
    for (std::size_t k = 0; k < rest; ++k) tail |= static_cast<std::uint64_t>(p[k]) << (8 * k);
  }
  CountBraces(tail, balance);
  return balance;
}

// The index into kSectionKinds of the header that opens `line`, or -1.
// `before` and `after` are the brace depths at the line's start and end.
//
// When a comment open at the line's start closes on it, the text up to and
// including the before-th "}" is skipped. After leading white space the first
// word runs to the first space or "'"; a line with neither, or one that begins
// with "'", is one word as a whole. The word is compared upper-cased with the
// six header words.
int HeaderKindOf(const std::string& line, std::int32_t before, std::int32_t after,
                 const platform::CharClassTable& classes) {
  const char* p = line.data();
  const char* const end = p + line.size();
  if (before > 0 && after == 0) {
    std::int32_t closing = 0;
    for (const char* q = p; q != end; ++q) {
      if (*q == '}' && ++closing == before) {
        p = q + 1;
        break;
      }
    }
  }
  while (p != end && IsWhite(*p)) ++p;

  // Only a word of three bytes can match, so the word must end at byte 3.
  if (end - p < 3) return -1;
  if (end - p > 3 && p[3] != ' ' && p[3] != '\'') return -1;
  const unsigned char word[3] = {classes.upper[static_cast<unsigned char>(p[0])],
                                 classes.upper[static_cast<unsigned char>(p[1])],
                                 classes.upper[static_cast<unsigned char>(p[2])]};
  for (int kind = 0; kind < 6; ++kind) {
    const char* w = kSectionKinds[kind].word;
    if (word[0] == static_cast<unsigned char>(w[0]) && word[1] == static_cast<unsigned char>(w[1]) &&
        word[2] == static_cast<unsigned char>(w[2]))
      return kind;
  }
  return -1;
}

// Brings every per-line array to `n` entries, cutting or extending at the end
// with 0; true when any length differed.
bool SizePerLineArrays(CTextModel& m) {
  const std::size_t n = m.lines.size();
  bool resized = false;
  auto fit = [n, &resized](auto& array) {
    if (array.size() != n) {
      array.resize(n, 0);
      resized = true;
    }
  };
  fit(m.lineBackground);
  fit(m.braceDepth);
  fit(m.conCount);
  fit(m.varCount);
  fit(m.objCount);
  fit(m.pubCount);
  fit(m.priCount);
  fit(m.datCount);
  return resized;
}

// The section list is rewritten in place: entries that stay the same are not
// reallocated, and any difference from the list before is noted.
class SectionListWriter {
 public:
  SectionListWriter(std::list<std::wstring>& names, std::list<std::int32_t>& lines)
      : names_(names), lines_(lines), name_(names.begin()), line_(lines.begin()) {}

  // Whether any entry differed from what was written over it.
  bool Changed() const { return changed_; }

  void Add(const std::string& text, std::int32_t line) {
    if (name_ == names_.end()) {
      names_.push_back(Widen(text));
      name_ = names_.end();
      changed_ = true;
    } else {
      if (!SameText(*name_, text)) {
        WidenInPlace(*name_, text);
        changed_ = true;
      }
      ++name_;
    }
    if (line_ == lines_.end()) {
      lines_.push_back(line);
      line_ = lines_.end();
      changed_ = true;
    } else {
      if (*line_ != line) {
        *line_ = line;
        changed_ = true;
      }
      ++line_;
    }
  }

  // Passes over the entries of headers above `line`, which stay as they are.
  void KeepAbove(std::int32_t line) {
    while (line_ != lines_.end() && name_ != names_.end() && *line_ < line) {
      ++line_;
      ++name_;
    }
  }

  // Whether the entries not rewritten yet are all of headers below `line`
  // (so that they can stay as they are).
  bool RestBelow(std::int32_t line) const { return line_ == lines_.end() || *line_ > line; }

  // Drops the entries of the old list that were not rewritten.
  bool Finish() {
    if (name_ != names_.end()) {
      names_.erase(name_, names_.end());
      changed_ = true;
    }
    if (line_ != lines_.end()) {
      lines_.erase(line_, lines_.end());
      changed_ = true;
    }
    return changed_;
  }

 private:
  // Header names are widened byte by byte to the code point of the same value
  // (Latin-1); the editor's glyph table is not known here.
  static std::wstring Widen(const std::string& text) {
    std::wstring wide;
    WidenInPlace(wide, text);
    return wide;
  }
  static void WidenInPlace(std::wstring& wide, const std::string& text) {
    wide.resize(text.size());
    for (std::size_t i = 0; i < text.size(); ++i)
      wide[i] = static_cast<wchar_t>(static_cast<unsigned char>(text[i]));
  }
  static bool SameText(const std::wstring& wide, const std::string& text) {
    if (wide.size() != text.size()) return false;
    for (std::size_t i = 0; i < text.size(); ++i) {
      if (wide[i] != static_cast<wchar_t>(static_cast<unsigned char>(text[i]))) return false;
    }
    return true;
  }

  std::list<std::wstring>& names_;
  std::list<std::int32_t>& lines_;
  std::list<std::wstring>::iterator name_;
  std::list<std::int32_t>::iterator line_;
  bool changed_ = false;
};

// The analysis's state after a line: the depth at its end, its shade and the
// running header counts.
struct LineState {
  std::int32_t depth = 0;
  COLORREF shade = kShadeBeforeFirstHeader;
  std::int32_t running[6] = {};
};

// Steps the analysis over lines of a model whose per-line arrays are sized.
// Both passes of the analysis run line by line: the shade of a line needs
// only its own depth and the one above it.
class LineStepper {
 public:
  explicit LineStepper(CTextModel& m)
      : counts_{m.conCount.data(), m.varCount.data(), m.objCount.data(),
                m.pubCount.data(), m.priCount.data(), m.datCount.data()},
        depths_(m.braceDepth.data()),
        shades_(m.lineBackground.data()),
        lines_(m.lines.data()),
        classes_(platform::CurrentCharClasses()) {}

  // The state stored for the line above `first` (the start for the first line).
  LineState StateBefore(std::int32_t first) const {
    LineState state;
    if (first == 0) return state;
    state.depth = depths_[first - 1];
    state.shade = shades_[first - 1];
    for (int kind = 0; kind < 6; ++kind) state.running[kind] = counts_[kind][first - 1];
    return state;
  }

  // Analyses line i from the state of the line above and stores the result.
  // `changed` is raised when the depth or shade stored before differs (with
  // `countsCount`, a running count too); `same` tells whether everything
  // stored before, counts included, was already this.
  void Step(std::int32_t i, LineState& state, SectionListWriter* list, bool countsCount, bool& changed,
            bool& same) {
    const std::string& line = lines_[i];
    const std::int32_t before = state.depth;
    state.depth += BraceBalance(line);
    same = true;
    if (depths_[i] != state.depth) {
      depths_[i] = state.depth;
      changed = true;
      same = false;
    }

    const bool insideComment = i > 0 && before > 0 && state.depth > 0;
    const int kind = insideComment ? -1 : HeaderKindOf(line, before, state.depth, classes_);
    if (kind >= 0) {
      const std::int32_t n = ++state.running[kind];
      state.shade = (n % 2 != 0) ? kSectionKinds[kind].odd : kSectionKinds[kind].even;
      if (list) list->Add(line, i);
    }
    for (int k = 0; k < 6; ++k) {
      if (counts_[k][i] != state.running[k]) {
        if (countsCount) changed = true;
        same = false;
        counts_[k][i] = state.running[k];
      }
    }
    if (shades_[i] != state.shade) {
      shades_[i] = state.shade;
      changed = true;
      same = false;
    }
  }

 private:
  std::int32_t* const counts_[6];
  std::int32_t* const depths_;
  COLORREF* const shades_;
  const std::string* const lines_;
  const platform::CharClassTable& classes_;
};

// Depth and shade of the lines first..last, starting from what is stored for
// the line above first. A line counts as changed only when its final depth or
// shade differs from the value stored before, so storing and then replacing a
// shade on the same line reports nothing. Headers go to `list` when it is
// given. With `reportHeaderChanges` (the local analysis) a changed running
// count is a change too: a header added or removed there alters the
// alternation of every later section, which only the caller's full analysis
// brings up to date.
bool AnalyzeLines(CTextModel& m, std::int32_t first, std::int32_t last, SectionListWriter* list,
                  bool reportHeaderChanges) {
  LineStepper stepper(m);
  LineState state = stepper.StateBefore(first);
  bool changed = false, same = false;
  for (std::int32_t i = first; i <= last; ++i) stepper.Step(i, state, list, reportHeaderChanges, changed, same);
  return changed;
}

}  // namespace

bool CTextModel::AnalyzeSections() {
  bool listChanged = false;
  return AnalyzeSectionsNotingList(listChanged);
}

bool CTextModel::AnalyzeSectionsNotingList(bool& listChanged) {
  if (lines.empty()) throw InvalidArgumentError("no lines to analyse");

  bool changed = SizePerLineArrays(*this);
  SectionListWriter list(sectionNames, sectionLines);
  if (AnalyzeLines(*this, 0, LineCount() - 1, &list, false)) changed = true;
  listChanged = list.Finish();
  NoteAnalysedAll();
  return changed;
}

// The lines above `first` and their list entries are those of the last
// analysis. From `first` on each line is analysed again; below `last` (whose
// stored state the local analysis may have rewritten) a line whose stored
// state (depth, shade, running counts) is already what the analysis gives
// proves every line below it unchanged too, since the state after a line
// depends only on the state above it and its own text. The
// headers above and below then have the same counts and lines, so the list
// entries outside the pass stay as they are; should the rest of the list not
// be of the lines below (it was not written by the analysis), the pass goes
// on to the end as a whole analysis would.
bool CTextModel::AnalyzeChangedLines(std::int32_t first, std::int32_t last, bool& listChanged,
                                     std::int32_t& end) {
  const std::int32_t n = LineCount();
  bool changed = SizePerLineArrays(*this);
  SectionListWriter list(sectionNames, sectionLines);
  list.KeepAbove(first);
  LineStepper stepper(*this);
  LineState state = stepper.StateBefore(first);
  bool same = false;
  end = n;
  NoteAnalysedAll();
  for (std::int32_t i = first; i < n; ++i) {
    stepper.Step(i, state, &list, false, changed, same);
    if (same && i > last && list.RestBelow(i)) {
      end = i + 1;
      listChanged = list.Changed();
      return changed;
    }
  }
  listChanged = list.Finish();
  return changed;
}

bool CTextModel::AnalyzeAround(std::int32_t line) {
  if (line < 0 || line >= LineCount()) throw InvalidArgumentError("line index out of range");

  bool changed = SizePerLineArrays(*this);
  const std::int32_t start = line > 0 ? line - 1 : 0;
  // The lines analysed here no longer hold what the whole analysis stored.
  NoteLinesChanged(start, line);
  if (AnalyzeLines(*this, start, line, nullptr, true)) changed = true;
  return changed;
}
