// (placeholder bodies until this concern is written)
#include "textmodel/TextModel.h"
CTextModel::CTextModel() : maxLineLength(0), colorizer(&defaultColorizer), sectionsChanged(false) {}
CTextModel::~CTextModel() = default;
void CTextModel::InsertLine(const std::string& text, std::int32_t index, bool) {
  lines.insert(lines.begin() + index, text);
  lineColours.insert(lineColours.begin() + index, std::vector<COLORREF>());
}
void CTextModel::SetLine(const std::string& text, std::int32_t index) { lines.at(index) = text; }
void CTextModel::RemoveLine(std::int32_t index) {
  lines.erase(lines.begin() + index);
  lineColours.erase(lineColours.begin() + index);
}
void CTextModel::RecolourAll() {}
void CTextModel::UpdateMaxLineLength() {}
void CTextModel::UpdateSectionView() {}
void CTextModel::SetSectionViewFiller(SectionViewFiller filler) { sectionViewFiller_ = std::move(filler); }
bool CTextModel::AnalyzeSections() { return false; }
bool CTextModel::AnalyzeAround(std::int32_t) { return false; }
