// A window that paints all of its client area spares its ancestors the paints of what it covers, and
// the screen shows the same; and a key's rows are painted before its handler returns.
#include <wx/dcclient.h>
#include <wx/panel.h>

#include <string>
#include <vector>

#include "editor/ColorEditWnd.h"
#include "editor/CoveredPaint.h"
#include "support/EditorFixture.h"
#include "support/WxFixture.h"

namespace {

// A window that fills its whole update area with one colour and counts its paints.
class Filler : public wxWindow {
 public:
  Filler(wxWindow* parent, const wxPoint& at, const wxSize& size, const wxColour& colour, long style = 0)
      : wxWindow(parent, wxID_ANY, at, size, style), colour_(colour) {
    SetBackgroundStyle(wxBG_STYLE_PAINT);
    Bind(wxEVT_PAINT, [this](wxPaintEvent&) {
      ++paints;
      wxPaintDC dc(this);
      dc.SetPen(*wxTRANSPARENT_PEN);
      dc.SetBrush(wxBrush(colour_));
      dc.DrawRectangle(wxPoint(0, 0), GetClientSize());
    });
    Bind(wxEVT_ERASE_BACKGROUND, [this](wxEraseEvent&) { ++erases; });
  }
  int paints = 0;
  int erases = 0;

 private:
  wxColour colour_;
};

class CoveredPaintTest : public WxFixture {
 protected:
  void SetUp() override {
    WxFixture::SetUp();
    outer_ = new Filler(frame_, wxPoint(0, 0), wxSize(600, 400), *wxRED);
    inner_ = new wxPanel(outer_, wxID_ANY, wxPoint(30, 40), wxSize(300, 200));
    cover_ = new Filler(inner_, wxPoint(10, 20), wxSize(200, 100), *wxBLUE);
    coveredpaint::Cover(cover_);
    // The windows reach the screen (and paint first) a moment after they are shown.
    for (int round = 0; round < 100 && (outer_->paints == 0 || cover_->paints == 0); ++round) {
      Pump();
      wxMilliSleep(10);
    }
  }
  void TearDown() override {
    coveredpaint::Forget(cover_);
    WxFixture::TearDown();
  }
  // Asks `window` to repaint `rect` (its client coordinates) now.
  static void RepaintNow(wxWindow* window, const wxRect& rect) {
    window->RefreshRect(rect, true);
    window->Update();
    Pump();
  }
  static wxColour ScreenPixel(wxWindow* window, int x, int y) {
    const wxImage image = GrabScreen(window).ConvertToImage();
    return wxColour(image.GetRed(x, y), image.GetGreen(x, y), image.GetBlue(x, y));
  }

  Filler* outer_ = nullptr;
  wxPanel* inner_ = nullptr;
  Filler* cover_ = nullptr;
};

TEST_F(CoveredPaintTest, TheClientAreaIsFoundInEveryAncestorAndOnlyThere) {
  EXPECT_EQ(coveredpaint::ClientAreaIn(cover_, inner_), wxRect(10, 20, 200, 100));
  EXPECT_EQ(coveredpaint::ClientAreaIn(cover_, outer_), wxRect(40, 60, 200, 100));
  EXPECT_EQ(coveredpaint::ClientAreaIn(cover_, frame_), wxRect(40, 60, 200, 100));
  EXPECT_TRUE(coveredpaint::ClientAreaIn(cover_, cover_).IsEmpty());
  EXPECT_TRUE(coveredpaint::ClientAreaIn(outer_, cover_).IsEmpty());
  auto* sibling = new wxPanel(outer_, wxID_ANY, wxPoint(400, 0), wxSize(50, 50));
  EXPECT_TRUE(coveredpaint::ClientAreaIn(cover_, sibling).IsEmpty());

  // With a border the area found lies inside the true client area, as the
  // screen places it.
  auto* bordered = new wxWindow(inner_, wxID_ANY, wxPoint(5, 150), wxSize(120, 40), wxBORDER_SIMPLE);
  Pump();
  const wxRect area = coveredpaint::ClientAreaIn(bordered, outer_);
  const wxRect client(outer_->ScreenToClient(bordered->ClientToScreen(wxPoint(0, 0))), bordered->GetClientSize());
  EXPECT_FALSE(area.IsEmpty());
  EXPECT_TRUE(client.Contains(area)) << "area " << area.x << "," << area.y << " " << area.width << "x"
                                     << area.height << " client " << client.x << "," << client.y;

  cover_->Hide();
  EXPECT_TRUE(coveredpaint::ClientAreaIn(cover_, outer_).IsEmpty());
}

TEST_F(CoveredPaintTest, AncestorsSkipThePaintsOfCoveredAreasAndTheScreenStaysTheSame) {
  outer_->paints = cover_->paints = 0;
  // Rows of the covering window: it alone paints.
  RepaintNow(cover_, wxRect(5, 5, 50, 20));
  EXPECT_EQ(outer_->paints, 0);
  EXPECT_EQ(outer_->erases, 0);
  EXPECT_EQ(cover_->paints, 1);
  // An ancestor's repaint wholly inside the covered area: skipped there too.
  RepaintNow(outer_, wxRect(50, 70, 20, 20));
  EXPECT_EQ(outer_->paints, 0);
  EXPECT_EQ(cover_->paints, 2);
  EXPECT_EQ(ScreenPixel(outer_, 55, 75), *wxBLUE);
  // Part of it outside: the ancestor paints.
  RepaintNow(outer_, wxRect(20, 50, 40, 40));
  EXPECT_EQ(outer_->paints, 1);
  EXPECT_EQ(ScreenPixel(outer_, 25, 55), *wxRED);
  EXPECT_EQ(ScreenPixel(outer_, 45, 65), *wxBLUE);

  // Hidden, the window covers nothing.
  cover_->Hide();
  Pump();
  outer_->paints = 0;
  RepaintNow(outer_, wxRect(50, 70, 20, 20));
  EXPECT_EQ(outer_->paints, 1);
  EXPECT_EQ(ScreenPixel(outer_, 55, 75), *wxRED);
  cover_->Show();
  Pump();

  // Forgotten, it no longer spares its ancestors.
  coveredpaint::Forget(cover_);
  outer_->paints = 0;
  RepaintNow(cover_, wxRect(5, 5, 50, 20));
  EXPECT_EQ(outer_->paints, 1);
  EXPECT_EQ(ScreenPixel(outer_, 55, 75), *wxBLUE);
  coveredpaint::Cover(cover_);
}

TEST_F(CoveredPaintTest, AnEditorCoversItsAncestorsWhileItLives) {
  auto* editor = new ColorEditWnd(outer_, wxRect(300, 10, 250, 200), L"Veltrane", true);
  Pump();
  outer_->paints = 0;
  RepaintNow(editor, wxRect(0, 0, 100, 20));
  EXPECT_EQ(outer_->paints, 0);
  const wxColour shown = ScreenPixel(outer_, 320, 15);
  EXPECT_NE(shown, *wxRED);
  delete editor;
  Pump();
  outer_->paints = 0;
  RepaintNow(outer_, wxRect(310, 12, 20, 10));
  EXPECT_EQ(outer_->paints, 1);
  EXPECT_EQ(ScreenPixel(outer_, 320, 15), *wxRED);
}

class KeyRepaintTest : public EditorFixture {};

// The rows a key changes are painted before its handler returns, not at the
// toolkit's next frame; a caret move paints only what it invalidated.
TEST_F(KeyRepaintTest, AKeysRowsArePaintedBeforeItsHandlerReturns) {
  SetLines({"  first line", "  second line", "  third line"});
  editor_->SetFocus();
  int paints = 0;
  std::vector<wxRect> boxes;
  editor_->Bind(wxEVT_PAINT, [&](wxPaintEvent& event) {
    ++paints;
    boxes.push_back(editor_->GetUpdateRegion().GetBox());
    event.Skip();
  });
  editor_->Refresh();
  for (int round = 0; round < 100 && paints == 0; ++round) {
    Pump();
    wxMilliSleep(10);
  }
  Pump();
  paints = 0;
  boxes.clear();
  SetCaret(4, 1);
  SetAnchor(4, 1);
  Char('x');
  EXPECT_EQ(paints, 1);
  EXPECT_EQ(Lines()[1], "  sexcond line");
  ASSERT_FALSE(boxes.empty());
  EXPECT_TRUE(editor_->GetLineRect(1).Intersects(boxes.back()));
  KeyDown(WXK_BACK);
  EXPECT_EQ(paints, 2);
  EXPECT_EQ(Lines()[1], "  second line");
  Pump();
  const int settled = paints;
  KeyDown(WXK_DOWN);
  EXPECT_EQ(paints, settled + 1);
}

}  // namespace
