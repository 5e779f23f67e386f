// Whether the clipboard holds text, as Paste's enabled state sees it: right
// after this program's own changes, after another program's, and after the
// application was activated.
#include <wx/clipbrd.h>
#include <wx/dataobj.h>
#include <wx/utils.h>

#include <string>
#include <vector>

#include "OtherClipboardOwner.h"
#include "app/ClipboardHasText.h"
#include "support/WxFixture.h"

namespace {

using ClipboardHasTextTest = WxFixture;


// What update passes see once the program has had time to look again: the
// passes go on (as they do while the user works) until the answer is `want`
// or a few seconds have passed.
bool SettlesAt(bool want) {
  CClipboardHasText& clipboard = CClipboardHasText::Get();
  for (int i = 0; i < 300 && clipboard.HasText() != want; ++i) {
    wxTheApp->ProcessPendingEvents();
    while (wxTheApp->Pending()) wxTheApp->Dispatch();
    wxYield();
    wxMilliSleep(10);
  }
  return clipboard.HasText() == want;
}

TEST_F(ClipboardHasTextTest, OwnChangesShowAtOnceOthersOnceSeen) {
  CClipboardHasText& clipboard = CClipboardHasText::Get();
  // This program's own text and its clearing: at once, with no event handled between.
  const struct {
    const char* text;
    bool pump;
  } own[] = {{"abc", false}, {"", false}, {"x", true}, {"", true}, {"y", false}};
  for (const auto& step : own) {
    SCOPED_TRACE(step.text);
    SetClipboardText(step.text);
    if (step.pump) Pump();
    EXPECT_EQ(clipboard.HasText(), *step.text != '\0');
    EXPECT_EQ(clipboard.HasText(), *step.text != '\0');  // the kept answer
  }
  // Other programs taking the clipboard from this one and from each other,
  // with and without text, and leaving it to nobody.
  {
    OtherClipboardOwner image({"image/png"});
    ASSERT_TRUE(image.Owns());
    EXPECT_TRUE(SettlesAt(false));
    {
      OtherClipboardOwner text({"UTF8_STRING", "STRING"});
      EXPECT_TRUE(SettlesAt(true));
      OtherClipboardOwner otherImage({"image/png"});
      EXPECT_TRUE(SettlesAt(false));
    }
    OtherClipboardOwner plain({"text/plain;charset=utf-8"});
    const bool plainHasText = [] {
      bool has = false;
      if (wxTheClipboard->Open()) {
        has = wxTheClipboard->IsSupported(wxDF_TEXT) || wxTheClipboard->IsSupported(wxDF_UNICODETEXT);
        wxTheClipboard->Close();
      }
      return has;
    }();
    EXPECT_TRUE(SettlesAt(plainHasText));
  }
  EXPECT_TRUE(SettlesAt(false));
  // Taking it back shows at once.
  OtherClipboardOwner text({"UTF8_STRING"});
  SetClipboardText("mine");
  EXPECT_TRUE(clipboard.HasText());
}

TEST_F(ClipboardHasTextTest, ActivationAsksTheOwnerAgain) {
  CClipboardHasText& clipboard = CClipboardHasText::Get();
  SetClipboardText("");
  EXPECT_FALSE(clipboard.HasText());
  OtherClipboardOwner text({"UTF8_STRING"});
  // Activated, the application asks at its next pass, before any look of its own.
  wxActivateEvent activate(wxEVT_ACTIVATE_APP, true);
  wxTheApp->ProcessEvent(activate);
  EXPECT_TRUE(clipboard.HasText());
}

}  // namespace
