// The text model: its line primitives, colouring calls, invariants, the
// sections-changed flag and the hand-over to the Section View.
#include <gtest/gtest.h>

#include <cstdint>
#include <initializer_list>
#include <list>
#include <string>
#include <vector>

#include "textmodel/SectionShades.h"
#include "textmodel/TextModel.h"

namespace {

// Records every colouring call and colours each byte with the background plus
// the depth, so that tests can see what the model passed.
class RecordingColorizer : public CColorizer {
 public:
  struct Call {
    std::string line;
    COLORREF background;
    int depth;
  };

  void ColorLine(const std::string& line, std::vector<COLORREF>& colours, COLORREF background,
                 int braceDepth) override {
    calls.push_back({line, background, braceDepth});
    colours.assign(line.size(), background + static_cast<COLORREF>(braceDepth));
  }

  std::vector<Call> calls;
};

void Fill(CTextModel& model, std::initializer_list<const char*> text) {
  std::int32_t index = 0;
  for (const char* line : text) model.InsertLine(line, index++, false);
}

void ExpectAnalysedSizes(const CTextModel& model) {
  const std::size_t n = model.lines.size();
  EXPECT_EQ(model.lineColours.size(), n);
  for (auto* array : {&model.braceDepth, &model.conCount, &model.varCount, &model.objCount,
                      &model.pubCount, &model.priCount, &model.datCount})
    EXPECT_EQ(array->size(), n);
  EXPECT_EQ(model.lineBackground.size(), n);
}

void ExpectOneColourPerByte(const CTextModel& model) {
  ASSERT_EQ(model.lineColours.size(), model.lines.size());
  for (std::size_t i = 0; i < model.lines.size(); ++i)
    EXPECT_EQ(model.lineColours[i].size(), model.lines[i].size()) << "line " << i;
}

TEST(TextModelTest, ConstructionAndInvariantsThroughEdits) {
  CTextModel model;
  EXPECT_EQ(model.maxLineLength, 0);
  EXPECT_TRUE(model.lines.empty());
  EXPECT_TRUE(model.lineColours.empty());
  EXPECT_TRUE(model.lineBackground.empty());
  EXPECT_EQ(model.colorizer, &model.defaultColorizer);
  EXPECT_TRUE(model.title.empty());
  EXPECT_FALSE(model.sectionsChanged);
  model.UpdateSectionView();  // no filler yet: nothing happens

  model.InsertLine("", 0, true);
  ExpectAnalysedSizes(model);
  ExpectOneColourPerByte(model);

  Fill(model, {"PUB main | x", "  x := 1 { note", "  } y := x + 2"});
  // Without recolouring only the lines and colour vectors grow.
  EXPECT_EQ(model.lineColours.size(), 4u);
  EXPECT_EQ(model.lineBackground.size(), 1u);
  EXPECT_EQ(model.braceDepth.size(), 1u);
  model.RecolourAll();
  ExpectAnalysedSizes(model);
  ExpectOneColourPerByte(model);

  // A removal leaves the per-line arrays as they were until the next analysis.
  const std::vector<std::int32_t> depths = model.braceDepth;
  model.RemoveLine(1);
  EXPECT_EQ(model.lineColours.size(), 3u);
  EXPECT_EQ(model.braceDepth, depths);
  model.RecolourAll();
  ExpectAnalysedSizes(model);
  ExpectOneColourPerByte(model);
  EXPECT_EQ(model.braceDepth, (std::vector<std::int32_t>{0, -1, -1}));
}

TEST(TextModelTest, InsertLine) {
  RecordingColorizer colorizer;
  CTextModel model;
  model.colorizer = &colorizer;
  model.InsertLine("{ open", 0, true);
  model.InsertLine("last", 1, true);  // index equal to the line count appends
  EXPECT_EQ(model.lines, (std::vector<std::string>{"{ open", "last"}));
  // The new line is coloured with its shade and the depth of the line above.
  ASSERT_EQ(colorizer.calls.size(), 2u);
  EXPECT_EQ(colorizer.calls[1].line, "last");
  EXPECT_EQ(colorizer.calls[1].depth, 1);
  EXPECT_EQ(colorizer.calls[1].background, kShadeBeforeFirstHeader);
  EXPECT_EQ(model.lineColours[1], std::vector<COLORREF>(4, kShadeBeforeFirstHeader + 1));
  EXPECT_EQ(model.maxLineLength, 6);

  // In the middle, without recolouring: an empty colour vector, nothing else.
  colorizer.calls.clear();
  model.InsertLine("a much longer line", 1, false);
  EXPECT_EQ(model.lines[1], "a much longer line");
  EXPECT_TRUE(model.lineColours[1].empty());
  EXPECT_EQ(model.lineColours[2].size(), 4u);  // the old line moved down with its colours
  EXPECT_EQ(model.maxLineLength, 6);
  EXPECT_EQ(model.lineBackground.size(), 2u);
  EXPECT_TRUE(colorizer.calls.empty());

  model.RecolourAll();
  EXPECT_EQ(model.maxLineLength, 18);
  ExpectOneColourPerByte(model);
  ASSERT_EQ(colorizer.calls.size(), 3u);
  for (std::size_t i = 0; i < 3; ++i) EXPECT_EQ(colorizer.calls[i].line, model.lines[i]);
  EXPECT_EQ(colorizer.calls[0].depth, 0);
  EXPECT_EQ(colorizer.calls[1].depth, 1);
  EXPECT_EQ(colorizer.calls[2].depth, 1);
}

TEST(TextModelTest, SetLineColoursWithTheLineAboveAndUpdatesTheWidth) {
  RecordingColorizer colorizer;
  CTextModel model;
  model.colorizer = &colorizer;
  Fill(model, {"{{", "PUB x", "}}"});
  model.RecolourAll();
  ASSERT_EQ(model.braceDepth[0], 2);

  colorizer.calls.clear();
  model.SetLine("{ changed", 0);  // line 0: depth 0 whatever is stored
  model.SetLine("longest line of all", 1);
  ASSERT_EQ(colorizer.calls.size(), 2u);
  EXPECT_EQ(colorizer.calls[0].depth, 0);
  EXPECT_EQ(colorizer.calls[1].depth, 2);  // the stored depth: no analysis ran
  EXPECT_EQ(colorizer.calls[1].background, model.lineBackground[1]);
  EXPECT_EQ(model.braceDepth[0], 2);
  EXPECT_EQ(model.maxLineLength, 19);
  EXPECT_EQ(model.lineColours[1].size(), 19u);

  model.SetLine("", 1);
  EXPECT_TRUE(model.lineColours[1].empty());
  EXPECT_EQ(model.maxLineLength, 9);
}

TEST(TextModelTest, MaxLineLengthFollowsRemovals) {
  CTextModel model;
  Fill(model, {"abc", "abcdefgh", "abcde", "abcdefgh"});
  model.RecolourAll();
  EXPECT_EQ(model.maxLineLength, 8);
  model.RemoveLine(1);
  EXPECT_EQ(model.maxLineLength, 8);
  model.RemoveLine(2);
  EXPECT_EQ(model.maxLineLength, 5);
  EXPECT_EQ(model.lines, (std::vector<std::string>{"abc", "abcde"}));
  EXPECT_EQ(model.lineColours.size(), 2u);
  model.RemoveLine(0);
  model.RemoveLine(0);
  EXPECT_EQ(model.maxLineLength, 0);
  model.UpdateMaxLineLength();
  EXPECT_EQ(model.maxLineLength, 0);
}

TEST(TextModelTest, BadIndexesChangeNothing) {
  RecordingColorizer colorizer;
  CTextModel model;
  model.colorizer = &colorizer;
  Fill(model, {"PUB a", "  x"});
  model.RecolourAll();
  model.sectionsChanged = false;
  const std::vector<std::string> lines = model.lines;
  const auto colours = model.lineColours;
  const std::size_t calls = colorizer.calls.size();

  EXPECT_THROW(model.InsertLine("y", -1, true), InvalidArgumentError);
  EXPECT_THROW(model.InsertLine("y", 3, true), InvalidArgumentError);
  EXPECT_THROW(model.InsertLine("y", 3, false), InvalidArgumentError);
  EXPECT_THROW(model.SetLine("y", -1), InvalidArgumentError);
  EXPECT_THROW(model.SetLine("y", 2), InvalidArgumentError);
  EXPECT_THROW(model.RemoveLine(-1), InvalidArgumentError);
  EXPECT_THROW(model.RemoveLine(2), InvalidArgumentError);
  EXPECT_EQ(model.lines, lines);
  EXPECT_EQ(model.lineColours, colours);
  EXPECT_EQ(model.maxLineLength, 5);
  EXPECT_FALSE(model.sectionsChanged);
  EXPECT_EQ(colorizer.calls.size(), calls);

  // A line the per-line arrays do not reach yet: the text is replaced, but
  // the line is not coloured.
  model.InsertLine("new", 2, false);
  EXPECT_THROW(model.SetLine("replaced text", 2), InvalidArgumentError);
  EXPECT_EQ(model.lines[2], "replaced text");
  EXPECT_TRUE(model.lineColours[2].empty());
  EXPECT_EQ(colorizer.calls.size(), calls);
  model.RecolourAll();
  EXPECT_EQ(model.lineColours[2].size(), 13u);
}

TEST(TextModelTest, SectionsChangedFlag) {
  CTextModel model;
  model.InsertLine("", 0, true);  // lengthens the arrays
  EXPECT_TRUE(model.sectionsChanged);

  model.sectionsChanged = false;
  model.InsertLine("PUB a", 1, true);  // arrays match the lines before: lengthened again
  EXPECT_TRUE(model.sectionsChanged);

  model.InsertLine("  x := 1", 2, false);
  model.InsertLine("DAT", 3, false);  // a header word alone after another kind
  model.RecolourAll();
  model.sectionsChanged = false;

  // Nothing changed: the flag stays as it was, lowered or raised.
  model.RecolourAll();
  EXPECT_FALSE(model.sectionsChanged);
  model.sectionsChanged = true;
  model.RecolourAll();
  EXPECT_TRUE(model.sectionsChanged);

  // Renaming a header: no shade or depth changes, but the section list does.
  model.sectionsChanged = false;
  model.SetLine("PUB renamed(x)", 1);
  model.RecolourAll();
  EXPECT_TRUE(model.sectionsChanged);
  EXPECT_EQ(model.sectionNames.front(), L"PUB renamed(x)");

  // A header moving to another line with every shade and depth the same.
  CTextModel moved;
  Fill(moved, {"' note", "CON"});
  moved.RecolourAll();
  moved.sectionsChanged = false;
  moved.SetLine("CON", 0);
  moved.SetLine("' note", 1);
  EXPECT_FALSE(moved.AnalyzeSections());  // the analysis itself reports no change

  CTextModel swapped;
  Fill(swapped, {"' note", "CON"});
  swapped.RecolourAll();
  swapped.sectionsChanged = false;
  swapped.SetLine("CON", 0);
  swapped.SetLine("' note", 1);
  swapped.RecolourAll();
  EXPECT_TRUE(swapped.sectionsChanged);
  EXPECT_EQ(std::vector<std::int32_t>(swapped.sectionLines.begin(), swapped.sectionLines.end()),
            std::vector<std::int32_t>{0});
}

TEST(TextModelTest, UpdateSectionViewHandsOverTheListAndTitle) {
  CTextModel model;
  Fill(model, {"CON", "PUB go  ' start here", "x"});
  model.RecolourAll();
  model.title = L"blink.vorn";
  model.sectionsChanged = true;

  int calls = 0;
  std::list<std::wstring> names;
  std::list<std::int32_t> lines;
  std::wstring title;
  model.SetSectionViewFiller([&](const std::list<std::wstring>& n,
                                 const std::list<std::int32_t>& l, std::wstring t) {
    ++calls;
    names = n;
    lines = l;
    title = t;
  });
  EXPECT_EQ(calls, 0);
  model.UpdateSectionView();
  EXPECT_EQ(calls, 1);
  EXPECT_EQ(names, (std::list<std::wstring>{L"CON", L"PUB go  ' start here"}));
  EXPECT_EQ(lines, (std::list<std::int32_t>{0, 1}));
  EXPECT_EQ(title, L"blink.vorn");
  EXPECT_TRUE(model.sectionsChanged);  // left to the view
}

TEST(TextModelTest, RecolourAllColoursEveryLineWithItsShadeAndDepth) {
  RecordingColorizer colorizer;
  CTextModel model;
  model.colorizer = &colorizer;
  Fill(model, {"CON", "{", "x", "}", "DAT", "  long 0"});
  model.RecolourAll();
  ASSERT_EQ(colorizer.calls.size(), 6u);
  const int depths[] = {0, 0, 1, 1, 0, 0};
  for (std::size_t i = 0; i < 6; ++i) {
    EXPECT_EQ(colorizer.calls[i].line, model.lines[i]);
    EXPECT_EQ(colorizer.calls[i].background, model.lineBackground[i]);
    EXPECT_EQ(colorizer.calls[i].depth, depths[i]);
  }
  EXPECT_EQ(model.lineColours[5], std::vector<COLORREF>(8, kDatOddShade));
}

}  // namespace
