// Painting through the cell cache: the same pixels as drawing every glyph
// through text calls, for every byte, shade, colour, selection, scroll, clip
// and font; and the cells the cache will not keep.
#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "editor/CellCache.h"
#include "editor/PixelCanvas.h"
#include "support/EditorFixture.h"

namespace {

class CellCacheTest : public EditorFixture {
 protected:
  void SetUp() override {
    EditorFixture::SetUp();
    // Two headers of each kind give every section shade, odd and even; the
    // bodies hold every byte value, 0 to 255, and a line long enough to
    // reach past the window's right edge.
    std::vector<std::string> lines;
    int next = 0;
    for (const char* kind : {"CON", "VAR", "OBJ", "PUB", "PRI", "DAT"})
      for (int n = 0; n < 2; ++n) {
        lines.push_back(std::string(kind) + " section " + std::to_string(n));
        std::string body = "  ";
        for (int i = 0; i < 22; ++i) body += static_cast<char>(next++ % 256);
        lines.push_back(body);
      }
    std::string wide;
    for (int i = 0; i < 300; ++i) wide += static_cast<char>(33 + (i * 7) % 94);
    lines.push_back(wide);
    lines.push_back("  \x01\x02 mixed \xA4\x90\xE9\xFF end");
    SetLines(lines);
    // Every colour of the palette on every byte, the bold ones included.
    const COLORREF palette[] = {0x000000, 0x010000, 0x808080, 0x008000, 0x000080, 0xFF0000, 0x800000, 0x0000C0};
    auto& colours = editor_->m_textModel.lineColours;
    for (std::size_t line = 0; line < colours.size(); ++line)
      for (std::size_t c = 0; c < colours[line].size(); ++c) colours[line][c] = palette[(c + line * 3) % 8];
    // A selection from the middle of one line to the middle of another.
    SetAnchor(5, 3);
    SetCaret(9, 7);
    MakeLastColumnPartial();
  }

  // Sizes the editor so that the window's right edge cuts its last column.
  void MakeLastColumnPartial() {
    const int cell = editor_->m_cellWidth;
    const wxSize size = editor_->GetSize(), client = editor_->GetClientSize();
    const int width = client.x - (client.x - 10) % cell + cell / 2;
    editor_->SetSize(wxSize(size.x - client.x + width, size.y));
    Pump();
  }

  wxImage Render(bool cached, const std::function<void(wxDC&)>& prepare = nullptr) {
    editor_->m_paintCellsFromCache = cached;
    return Picture(editor_, [&](wxDC& dc) {
      if (prepare) prepare(dc);
      editor_->PaintTo(dc);
    }, "");
  }

  // Where two pictures of one size first differ (a byte's index), or -1.
  static long FirstDifference(const wxImage& a, const wxImage& b) {
    if (a.GetSize() != b.GetSize()) return 0;
    const long size = long(a.GetWidth()) * a.GetHeight() * 3;
    const long at = std::mismatch(a.GetData(), a.GetData() + size, b.GetData()).first - a.GetData();
    return at == size ? -1 : at;
  }

  // Whether this platform lets a paint write its picture's pixels directly.
  static bool PixelsReachable() {
    wxBitmap bitmap(8, 8, 24);
    wxMemoryDC dc(bitmap);
    return PixelCanvas(dc).IsOk();
  }

  // The picture with the cache, twice (filling it, then from it), and without.
  void ExpectSamePictures(const std::string& what, const std::function<void(wxDC&)>& prepare = nullptr) {
    const wxImage drawn = Render(false, prepare);
    EXPECT_EQ(FirstDifference(Render(true, prepare), drawn), -1) << what << ": first paint";
    EXPECT_EQ(FirstDifference(Render(true, prepare), drawn), -1) << what << ": from the cache";
  }
};

TEST_F(CellCacheTest, CachedCellsGiveThePixelsOfTextCalls) {
  ASSERT_GT(editor_->m_cellWidth, 1);
  const struct {
    const char* what;
    std::function<void()> view;       // set before painting
    std::function<void(wxDC&)> prepare;         // applied to the target
  } cases[] = {
      {"the whole window", nullptr, nullptr},
      {"scrolled sideways", [this] { editor_->m_firstCol = 3; }, nullptr},
      {"scrolled down", [this] { editor_->m_firstLine = 5; }, nullptr},
      {"a clip box that cuts rows and cells",
       nullptr,
       [](wxDC& dc) { dc.SetClippingRegion(wxRect(37, 13, 311, 205)); }},
      {"a scaled target (drawn through text calls)", nullptr, [](wxDC& dc) { dc.SetUserScale(2, 2); }},
      {"a smaller font",
       [this] {
         editor_->m_fontHeight = 13;
         editor_->CreateFonts();
         editor_->MeasureCell();
         MakeLastColumnPartial();
       },
       nullptr},
      {"a font whose characters differ in width",
       [this] {
         editor_->m_fontFace = L"DejaVu Sans";
         editor_->CreateFonts();
         editor_->MeasureCell();
         MakeLastColumnPartial();
       },
       nullptr},
      {"the selection colours swapped",
       [this] {
         editor_->m_fontFace = L"Veltrane";
         editor_->m_fontHeight = 18;
         editor_->CreateFonts();
         editor_->MeasureCell();
         MakeLastColumnPartial();
         std::swap(editor_->m_selBack, editor_->m_selText);
       },
       nullptr},
  };
  for (const auto& c : cases) {
    if (c.view) c.view();
    ExpectSamePictures(c.what, c.prepare);
  }
  if (PixelsReachable()) {
    ASSERT_TRUE(editor_->m_cellCache);
    EXPECT_GT(editor_->m_cellCache->Size(), 200u);
  }
}

// A target larger than the window: cells past the window's right edge are
// drawn over the target's background, not the row's fill.
TEST_F(CellCacheTest, ATargetWiderThanTheWindowKeepsItsEdge) {
  auto paint = [&](bool cached) {
    editor_->m_paintCellsFromCache = cached;
    wxBitmap bitmap(editor_->GetClientSize() + wxSize(3 * editor_->m_cellWidth, 40), 24);
    {
      wxMemoryDC dc(bitmap);
      dc.SetBackground(*wxWHITE_BRUSH);
      dc.Clear();
      editor_->PaintTo(dc);
    }
    return bitmap.ConvertToImage();
  };
  EXPECT_EQ(FirstDifference(paint(true), paint(false)), -1);
}

// A line drawn on its own into a clipped context changes nothing outside the clip.
TEST_F(CellCacheTest, ALineDrawnIntoAClippedContextStaysInTheClip) {
  const std::string text = editor_->m_textModel.lines[3];
  const std::vector<COLORREF> colours = editor_->m_textModel.lineColours[3];
  auto draw = [&](bool cached) {
    editor_->m_paintCellsFromCache = cached;
    wxBitmap bitmap(300, 60, 24);
    {
      wxMemoryDC dc(bitmap);
      dc.SetBackground(wxBrush(wxColour(255, 0, 255)));
      dc.Clear();
      dc.SetClippingRegion(wxRect(23, 9, 101, 17));
      dc.SetFont(editor_->m_font);
      dc.SetBackgroundMode(wxBRUSHSTYLE_TRANSPARENT);
      editor_->DrawLine(dc, text, colours, 3, 4);
    }
    return bitmap.ConvertToImage();
  };
  EXPECT_EQ(FirstDifference(draw(true), draw(false)), -1);
}

// A glyph wider than the cell is never kept: its ink would be cut off.
TEST_F(CellCacheTest, GlyphsWhoseInkLeavesTheCellAreNotKept) {
  wxBitmap bitmap(8, 8, 24);
  wxMemoryDC dc(bitmap);
  PixelCanvas canvas(dc);
  if (!canvas.IsOk()) GTEST_SKIP() << "no direct pixel access here";
  CellCache cache;
  const int cell = editor_->m_cellWidth, height = editor_->m_lineHeight;
  ASSERT_TRUE(cache.Prepare(editor_->m_font, editor_->m_boldFont, cell, height, canvas.Format(), editor_->m_glyphs));
  EXPECT_NE(cache.Cell('i', false, 0x000000, 0xFFFFFF), nullptr);
  ASSERT_TRUE(cache.Prepare(editor_->m_font, editor_->m_boldFont, 3, height, canvas.Format(), editor_->m_glyphs));
  EXPECT_EQ(cache.Size(), 0u);  // another cell size: nothing kept from before
  EXPECT_EQ(cache.Cell('W', false, 0x000000, 0xFFFFFF), nullptr);
  EXPECT_EQ(cache.Cell('W', true, 0x000000, 0xFFFFFF), nullptr);
  EXPECT_EQ(cache.Size(), 0u);
}

}  // namespace
