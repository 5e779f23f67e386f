// CTextModel: the editor's line store with per-line colours, section shades,
// brace-comment depths, running header counts and the list of sections.
#pragma once

#include <cstdint>
#include <functional>
#include <list>
#include <string>
#include <vector>

#include "textmodel/Colorizer.h"
#include "textmodel/Types.h"

// Hands the section names, their lines and the title to the Section View.
using SectionViewFiller = std::function<void(
    const std::list<std::wstring>& names, const std::list<std::int32_t>& lines, std::wstring title)>;

class CTextModel {
 public:
  CTextModel();
  ~CTextModel();
  CTextModel(const CTextModel&) = delete;
  CTextModel& operator=(const CTextModel&) = delete;

  // Inserts `text` before line `index` (0..line count); with `recolour` also
  // re-analyses the sections and colours the new line.
  void InsertLine(const std::string& text, std::int32_t index, bool recolour);
  // Replaces line `index` and colours it; runs no analysis.
  void SetLine(const std::string& text, std::int32_t index);
  // Removes line `index` and its colour vector.
  void RemoveLine(std::int32_t index);
  // Full analysis, then colours every line whose inputs changed since it was
  // last coloured: its bytes, its shade, the depth at its start, the
  // colorizer (its word sets, mode and case folding) or the character table.
  void RecolourAll();
  // Rescans every line for maxLineLength.
  void UpdateMaxLineLength();

  // The same lines, colours and maxLineLength as InsertLine without
  // recolouring of each text in turn at index, index + 1, ...
  void InsertLines(std::int32_t index, std::vector<std::string> texts);
  // The same as InsertLine with recolouring of texts.back(), then of each
  // text before it, all at `index`, as far as the section flag and
  // maxLineLength go; the new lines' colours and the per-line arrays are
  // left to the RecolourAll that the caller runs next.
  void InsertLinesBeforeRecolour(std::int32_t index, std::vector<std::string> texts);
  // The same as `count` calls of RemoveLine(index).
  void RemoveLines(std::int32_t index, std::int32_t count);
  // Calls the installed filler; does nothing before one is installed.
  void UpdateSectionView();
  void SetSectionViewFiller(SectionViewFiller filler);

  // Section analysis of all lines; true when a stored depth, shade or array
  // length changed.
  bool AnalyzeSections();
  // Local analysis of `line` and the line above it.
  bool AnalyzeAround(std::int32_t line);

  std::int32_t LineCount() const { return static_cast<std::int32_t>(lines.size()); }

  std::int32_t maxLineLength;
  // Written only through the operations above, or wholesale with every
  // vector of lineColours emptied alongside (lineColours.assign(n, {}), or
  // both cleared): the colouring and the section analysis keep track of the
  // lines they have seen through them, and find a wholesale replacement by
  // its emptied colours.
  std::vector<std::string> lines;
  CColorizer defaultColorizer;
  CColorizer* colorizer;
  std::vector<std::vector<COLORREF>> lineColours;
  std::vector<COLORREF> lineBackground;
  std::vector<std::int32_t> braceDepth;
  std::vector<std::int32_t> conCount;
  std::vector<std::int32_t> varCount;
  std::vector<std::int32_t> objCount;
  std::vector<std::int32_t> pubCount;
  std::vector<std::int32_t> priCount;
  std::vector<std::int32_t> datCount;
  std::list<std::wstring> sectionNames;
  std::list<std::int32_t> sectionLines;
  std::wstring title;
  bool sectionsChanged;

 private:
  // What a line was last coloured with; `valid` is false for a line not
  // coloured since it was inserted or set without colouring.
  struct ColourStamp {
    COLORREF shade = 0;
    std::int32_t depth = 0;
    bool valid = false;
  };
  // The colouring context every stamp was made under.
  struct ColouringContext {
    const CColorizer* colorizer = nullptr;
    std::uint64_t wordIndex = 0;
    std::wstring mode;
    bool fold = false;
    const void* classes = nullptr;
    bool operator==(const ColouringContext& o) const {
      return colorizer == o.colorizer && wordIndex == o.wordIndex && mode == o.mode &&
             fold == o.fold && classes == o.classes;
    }
  };
  ColouringContext CurrentContext() const;
  // Colours line `index` with the given inputs and stamps it.
  void ColourLine(std::size_t index, COLORREF shade, std::int32_t depth);
  // Colours the listed lines, on several threads when they are many and the
  // colorizer is one of this library's own.
  void ColourLines(const std::vector<std::uint32_t>& which);
  // RecolourAll when the stored analysis and colourings can be reused: only
  // the lines that changed since, and those below them whose analysis
  // differs, are analysed and looked at.
  void RecolourChangedLines();
  // Whether every line still holds what the last recolouring left, but for
  // the lines noted as changed since (see the source for how it is told).
  bool ColoursFollowLines() const;
  // Notes a recolouring that completed: keeps or picks the probe line and
  // notes the stores' identities.
  void NoteColoursChecked();
  void MoveProbe();
  static constexpr std::size_t kNoProbe = ~std::size_t{0};
  bool coloursChecked_ = false;
  std::size_t probe_ = kNoProbe;
  std::size_t probeLength_ = 0;
  const void* linesData_ = nullptr;
  const void* coloursData_ = nullptr;
  // Stamps follow the lines only while they are as many; any other change
  // of `lines` makes every line count as not coloured.
  bool StampsFollowLines() const { return stamps_.size() == lines.size(); }
  // StampsFollowLines for an operation that changes `lines`: stamps that no
  // longer follow are dropped, so that a later line count that happens to
  // match theirs cannot revive them for other lines.
  bool StampsStillFollow() {
    if (StampsFollowLines()) return true;
    stamps_.clear();
    return false;
  }

  // Line lengths: how many lines have each length, so that the longest is
  // known without a rescan. Counts `countedLines_` lines; any other number
  // means `lines` was replaced wholesale and the counts are rebuilt.
  void CountLength(std::size_t length, int delta);
  void RebuildLengthCounts();
  void EnsureLengthCounts();
  // The longest line, from the counts (rebuilt first when they are off).
  std::int32_t LongestCounted();
  static constexpr std::size_t kCountsLost = ~std::size_t{0} / 2;
  // Brings the per-line arrays to the line count, new entries 0.
  void FitPerLineArrays();

  std::vector<ColourStamp> stamps_;
  ColouringContext stampContext_;
  std::vector<std::int32_t> lengthCounts_;
  std::size_t countedLines_ = 0;
  std::size_t longestCounted_ = 0;

  // AnalyzeSections that also tells whether the section names or their lines
  // differ from those before it.
  bool AnalyzeSectionsNotingList(bool& listChanged);
  // The same result as AnalyzeSectionsNotingList when only lines first..last
  // can differ from those of the last analysis: lines above first keep what
  // is stored, and the pass stops once, below last, a line ends in the stored
  // state. `end` receives the line below the last one analysed.
  bool AnalyzeChangedLines(std::int32_t first, std::int32_t last, bool& listChanged, std::int32_t& end);

  // What the stored analysis describes: set by a whole analysis, kept by
  // line replacements (which widen the range of changed lines), lost by any
  // change of the line count.
  bool analysisKnown_ = false;
  std::size_t analysedLines_ = 0;
  const void* analysedClasses_ = nullptr;
  std::int32_t changedFrom_ = 0;  // lines changed since: changedFrom_..changedTo_
  std::int32_t changedTo_ = -1;
  void NoteAnalysedAll();
  void NoteLinesChanged(std::int32_t first, std::int32_t last);
  void ForgetAnalysis() { analysisKnown_ = false; }
  // Whether the stored analysis can be brought up to date from the changed lines alone.
  bool AnalysisReusable() const;

  SectionViewFiller sectionViewFiller_;
};
