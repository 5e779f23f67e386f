// The caret over the picture: when it goes, the screen is the picture a whole repaint gives, also
// where a paint changed the pixels under it while it showed.
#include "support/EditorFixture.h"

#include <wx/caret.h>
#include <wx/textctrl.h>

#include <string>
#include "textmodel/SampleColorizer.h"

namespace {

class CaretPixelsTest : public EditorFixture {
 protected:
  void SetUp() override {
    EditorFixture::SetUp();
    UseColorizer(colorizer_);
    // A caret that does not blink shows at every moment: what it keeps of
    // the pixels under it is put to the test by every paint.
    blinkTime_ = wxCaret::GetBlinkTime();
    wxCaret::SetBlinkTime(0);
  }
  void TearDown() override {
    wxCaret::SetBlinkTime(blinkTime_);
    EditorFixture::TearDown();
  }
  wxImage Render() { return Picture(editor_, [&](wxDC& d) { editor_->PaintTo(d); }, ""); }

 protected:
  CSampleColorizer colorizer_;
  int blinkTime_ = 500;
};

TEST_F(CaretPixelsTest, AfterTheCaretGoesTheScreenIsAWholeRepaintsPicture) {
  const struct {
    const char* what;
    int col, line;  // the caret before the keys
    void (*keys)(CaretPixelsTest&);
  } cases[] = {
      {"a character typed mid-line", 6, 1, [](CaretPixelsTest& t) { t.Char('x'); }},
      {"a word typed", 6, 1, [](CaretPixelsTest& t) { for (wchar_t c : std::wstring(L"WAIT")) t.Char(c); }},
      {"a header typed, which shades its line anew", 0, 1,
       [](CaretPixelsTest& t) { for (wchar_t c : std::wstring(L"PRI ")) t.Char(c); }},
      {"a brace that recolours the lines below", 6, 1, [](CaretPixelsTest& t) { t.Char('{'); }},
      {"Backspace that ends a header", 3, 4, [](CaretPixelsTest& t) { t.KeyDown(WXK_BACK); }},
      {"Delete", 6, 1, [](CaretPixelsTest& t) { t.KeyDown(WXK_DELETE); }},
      {"a move to the right", 6, 1, [](CaretPixelsTest& t) { t.KeyDown(WXK_RIGHT); }},
  };
  // Another window to take the focus, where the comparison leaves the screen out.
  auto* other = new wxTextCtrl(frame_, wxID_ANY, "", wxPoint(750, 100), wxSize(40, 20));
  for (const auto& c : cases) {
    SetLines({"PUB main | a", "  repeat 3", "    waitcnt(cnt + 80)", "  x := $FF ' note", "DAT", "  long 7"});
    SetCaret(c.col, c.line);
    SetAnchor(c.col, c.line);
    editor_->SetFocus();
    Pump();
    c.keys(*this);
    Pump();
    // The caret goes with the focus.
    other->SetFocus();
    Pump();
    ASSERT_FALSE(editor_->GetCaret()) << c.what;
    EXPECT_EQ(ScreenDiffers(editor_, Render(), false), 0) << c.what;
  }
}

}  // namespace
