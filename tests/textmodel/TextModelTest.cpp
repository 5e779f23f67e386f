// The text model: line primitives, colouring calls, invariants, bad indexes and the section hand-over.
#include <gtest/gtest.h>

#include <functional>
#include <tuple>

#include "textmodel/SectionShades.h"
#include "textmodel/TextModel.h"

namespace {

using Call = std::tuple<std::string, COLORREF, int>;  // line, background, depth

// Records each colouring call and colours every byte with background + depth.
class RecordingColorizer : public CColorizer {
 public:
  void ColorLine(const std::string& line, std::vector<COLORREF>& colours, COLORREF background, int depth) override {
    calls.emplace_back(line, background, depth);
    colours.assign(line.size(), background + static_cast<COLORREF>(depth));
  }
  std::vector<Call> calls;
};

void ExpectAnalysedSizes(const CTextModel& m) {
  for (auto* a : {&m.braceDepth, &m.conCount, &m.varCount, &m.objCount, &m.pubCount, &m.priCount, &m.datCount})
    EXPECT_EQ(a->size(), m.lines.size());
  EXPECT_TRUE(m.lineBackground.size() == m.lines.size() && m.lineColours.size() == m.lines.size());
  for (std::size_t i = 0; i < m.lines.size(); ++i) EXPECT_EQ(m.lineColours[i].size(), m.lines[i].size()) << i;
}

TEST(TextModelTest, PrimitivesColourWithShadeAndDepthAboveAndKeepTheInvariants) {
  constexpr COLORREF con = kConOddShade;
  RecordingColorizer rc;
  CTextModel m;
  EXPECT_TRUE(m.maxLineLength == 0 && m.lines.empty() && m.lineColours.empty() && m.lineBackground.empty() &&
              m.colorizer == &m.defaultColorizer && m.title.empty() && !m.sectionsChanged);
  m.UpdateSectionView();  // no filler yet: nothing happens
  m.colorizer = &rc;
  m.InsertLine("{ open", 0, true);
  m.InsertLine("last }", 1, true);  // an index equal to the line count appends
  EXPECT_EQ(rc.calls, (std::vector<Call>{{"{ open", con, 0}, {"last }", con, 1}}));
  EXPECT_TRUE(m.lineColours[1] == std::vector<COLORREF>(6, con + 1) && m.maxLineLength == 6);
  // Without recolouring: an empty colour vector and nothing else changes.
  rc.calls.clear();
  m.InsertLine("a much longer line", 1, false);
  m.InsertLine("DAT", 3, false);
  EXPECT_TRUE(m.lineColours[1].empty() && m.lineColours[2].size() == 6 && m.maxLineLength == 6);
  EXPECT_TRUE(m.lineBackground.size() == 2 && m.braceDepth.size() == 2 && rc.calls.empty());
  m.RecolourAll();
  EXPECT_EQ(m.maxLineLength, 18);
  // Only the lines not coloured yet are coloured: the others kept their bytes, shade and depth.
  EXPECT_EQ(rc.calls, (std::vector<Call>{{"a much longer line", con, 1}, {"DAT", kDatOddShade, 0}}));
  EXPECT_TRUE(m.lineColours[2] == std::vector<COLORREF>(6, con + 1) && m.lineColours[3].size() == 3);
  ExpectAnalysedSizes(m);
  // SetLine runs no analysis: line 0 at depth 0, the others at the stored depth above.
  rc.calls.clear();
  m.SetLine("}", 0);
  m.SetLine("", 1);
  EXPECT_EQ(rc.calls, (std::vector<Call>{{"}", con, 0}, {"", con, 1}}));
  EXPECT_TRUE(m.lineColours[1].empty() && m.braceDepth[0] == 1 && m.maxLineLength == 6);
  // A removal leaves the per-line arrays until the next analysis.
  const auto depths = m.braceDepth;
  m.RemoveLine(2);
  EXPECT_TRUE(m.lines == (std::vector<std::string>{"}", "", "DAT"}) && m.lineColours.size() == 3);
  EXPECT_TRUE(m.maxLineLength == 3 && m.braceDepth == depths);
  m.RecolourAll();
  ExpectAnalysedSizes(m);
  EXPECT_EQ(m.braceDepth, (std::vector<std::int32_t>{-1, -1, -1}));
  // A bad index changes nothing.
  const auto lines = m.lines;
  const auto colours = m.lineColours;
  m.sectionsChanged = false;
  rc.calls.clear();
  for (std::int32_t bad : {-1, 3}) {
    EXPECT_THROW(m.SetLine("y", bad), InvalidArgumentError);
    EXPECT_THROW(m.RemoveLine(bad), InvalidArgumentError);
    for (bool recolour : {true, false})
      EXPECT_THROW(m.InsertLine("y", bad < 0 ? bad : bad + 1, recolour), InvalidArgumentError);
  }
  EXPECT_TRUE(m.lines == lines && m.lineColours == colours && m.maxLineLength == 3 && !m.sectionsChanged);
  // A line the per-line arrays do not reach yet: replaced, but not coloured.
  m.InsertLine("new", 3, false);
  EXPECT_THROW(m.SetLine("replaced text", 3), InvalidArgumentError);
  EXPECT_TRUE(m.lines[3] == "replaced text" && m.lineColours[3].empty() && rc.calls.empty());
}

TEST(TextModelTest, SectionsChangedFlagAndHandOver) {
  CTextModel m;
  m.InsertLine("", 0, true);  // lengthens the arrays
  EXPECT_TRUE(m.sectionsChanged);
  m.sectionsChanged = false;
  m.InsertLine("CON", 1, true);  // lengthens them again
  EXPECT_TRUE(m.sectionsChanged);
  m.InsertLine("PUB a", 2, false);
  m.InsertLine("DAT", 3, false);  // a header word alone after another kind
  m.RecolourAll();
  // Whether an edit followed by a full recolouring raises the lowered flag.
  const auto raises = [&m](const std::function<void()>& edit) {
    m.sectionsChanged = false;
    edit();
    m.RecolourAll();
    return m.sectionsChanged;
  };
  EXPECT_FALSE(raises([] {}));  // nothing changed
  m.sectionsChanged = true;  // and a raised flag stays raised
  m.RecolourAll();
  EXPECT_TRUE(m.sectionsChanged);
  // Renaming a header, or moving it, changes no shade or depth, but the list.
  EXPECT_TRUE(raises([&m] { m.SetLine("PUB renamed(x)", 2); EXPECT_FALSE(m.AnalyzeAround(2)); }));
  // A moved header changes the running counts, which the local analysis reports.
  EXPECT_TRUE(raises([&m] { m.SetLine("CON", 0); m.SetLine("", 1); EXPECT_TRUE(m.AnalyzeAround(1)); }));
  int calls = 0;
  m.title = L"blink.vorn";
  m.SetSectionViewFiller([&](const auto& names, const auto& lines, std::wstring title) {
    ++calls;
    EXPECT_TRUE(names == m.sectionNames && lines == m.sectionLines && title == L"blink.vorn");
  });
  m.UpdateSectionView();
  EXPECT_TRUE(calls == 1 && m.sectionsChanged);  // lowering the flag is left to the view
  EXPECT_EQ(m.sectionNames, (std::list<std::wstring>{L"CON", L"PUB renamed(x)", L"DAT"}));
  EXPECT_EQ(m.sectionLines, (std::list<std::int32_t>{0, 2, 3}));
}

}  // namespace
