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
  // Full analysis, then colours every line.
  void RecolourAll();
  void UpdateMaxLineLength();
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
  // AnalyzeSections that also tells whether the section names or their lines
  // differ from those before it.
  bool AnalyzeSectionsNotingList(bool& listChanged);

  SectionViewFiller sectionViewFiller_;
};
