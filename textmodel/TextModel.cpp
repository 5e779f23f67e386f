// CTextModel: the line store, its colouring calls and the section hand-over.
#include "textmodel/TextModel.h"

#include <stdexcept>
#include <utility>

namespace {

// The brace depth at the start of `index`: the stored depth of the line above,
// 0 for the first line. Reading past the analysed lines is an invalid argument.
int DepthAtStart(const std::vector<std::int32_t>& braceDepth, std::int32_t index) {
  if (index == 0) return 0;
  if (static_cast<std::size_t>(index - 1) >= braceDepth.size())
    throw InvalidArgumentError("line not analysed yet");
  return braceDepth[index - 1];
}

COLORREF BackgroundOf(const std::vector<COLORREF>& lineBackground, std::int32_t index) {
  if (static_cast<std::size_t>(index) >= lineBackground.size())
    throw InvalidArgumentError("line not analysed yet");
  return lineBackground[index];
}

}  // namespace

CTextModel::CTextModel()
    : maxLineLength(0), colorizer(&defaultColorizer), sectionsChanged(false) {}

CTextModel::~CTextModel() = default;

void CTextModel::InsertLine(const std::string& text, std::int32_t index, bool recolour) {
  if (index < 0 || index > LineCount()) throw InvalidArgumentError("line index out of range");

  lines.insert(lines.begin() + index, text);
  // The colour vector goes in at once so that lines and colours stay paired
  // even when the analysis or the colouring below throws.
  try {
    lineColours.insert(lineColours.begin() + index, std::vector<COLORREF>());
  } catch (...) {
    lines.erase(lines.begin() + index);
    throw;
  }
  if (!recolour) return;

  UpdateMaxLineLength();
  bool listChanged = false;
  if (AnalyzeSectionsNotingList(listChanged) || listChanged) sectionsChanged = true;
  colorizer->ColorLine(lines[index], lineColours[index], BackgroundOf(lineBackground, index),
                       DepthAtStart(braceDepth, index));
}

void CTextModel::SetLine(const std::string& text, std::int32_t index) {
  if (index < 0 || index >= LineCount()) throw InvalidArgumentError("line index out of range");

  lines[index] = text;
  const COLORREF background = BackgroundOf(lineBackground, index);
  const int depth = DepthAtStart(braceDepth, index);
  colorizer->ColorLine(lines[index], lineColours.at(index), background, depth);
  UpdateMaxLineLength();
}

void CTextModel::RemoveLine(std::int32_t index) {
  if (index < 0 || index >= LineCount()) throw InvalidArgumentError("line index out of range");
  if (static_cast<std::size_t>(index) >= lineColours.size())
    throw std::out_of_range("invalid vector<T> subscript");

  lines.erase(lines.begin() + index);
  lineColours.erase(lineColours.begin() + index);
  UpdateMaxLineLength();
}

void CTextModel::RecolourAll() {
  UpdateMaxLineLength();
  bool listChanged = false;
  if (AnalyzeSectionsNotingList(listChanged) || listChanged) sectionsChanged = true;

  if (lineColours.size() != lines.size()) throw std::out_of_range("invalid vector<T> subscript");
  // The analysis has sized the per-line arrays to the lines. Each line is
  // coloured in place: the colorizer only reads it.
  CColorizer& c = *colorizer;
  const std::size_t n = lines.size();
  for (std::size_t i = 0; i < n; ++i) {
    c.ColorLine(lines[i], lineColours[i], lineBackground[i], i == 0 ? 0 : braceDepth[i - 1]);
  }
}

void CTextModel::UpdateMaxLineLength() {
  std::size_t longest = 0;
  for (const std::string& line : lines) {
    if (line.size() > longest) longest = line.size();
  }
  maxLineLength = static_cast<std::int32_t>(longest);
}

void CTextModel::UpdateSectionView() {
  if (!sectionViewFiller_) return;
  sectionViewFiller_(sectionNames, sectionLines, title);
}

void CTextModel::SetSectionViewFiller(SectionViewFiller filler) {
  sectionViewFiller_ = std::move(filler);
}
