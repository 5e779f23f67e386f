// Shared fixture for window tests: a top-level frame to parent the widget under
// test, event pumping, and saving pictures when QUILLMARK_SHOTS names a folder.
#pragma once

#include <gtest/gtest.h>
#include <wx/app.h>
#include <wx/bitmap.h>
#include <wx/clipbrd.h>
#include <wx/dataobj.h>
#include <wx/dcclient.h>
#include <wx/dcmemory.h>
#include <wx/frame.h>
#include <wx/image.h>
#include <wx/utils.h>

#include <cstdlib>
#include <functional>
#include <string>

class WxFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    frame_ = new wxFrame(nullptr, wxID_ANY, "test", wxPoint(0, 0), wxSize(800, 600));
    frame_->Show();
    Pump();
  }
  void TearDown() override {
    frame_->Destroy();
    Pump();
  }

  // Lets wx and the X server handle everything pending.
  static void Pump() {
    for (int i = 0; i < 5; ++i) {
      wxTheApp->ProcessPendingEvents();
      while (wxTheApp->Pending()) wxTheApp->Dispatch();
      wxYield();
    }
  }

  // Saves a picture when QUILLMARK_SHOTS names a folder.
  static void SaveShot(const wxBitmap& bitmap, const std::string& name) {
    const char* folder = std::getenv("QUILLMARK_SHOTS");
    if (!folder || !*folder) return;
    bitmap.ConvertToImage().SaveFile(std::string(folder) + "/" + name + ".png", wxBITMAP_TYPE_PNG);
  }

  // What `paint` draws into a picture of the window's client size, saved as a shot. The picture
  // starts magenta, so that what paint leaves out shows; the context's background is white.
  static wxImage Picture(wxWindow* window, const std::function<void(wxDC&)>& paint, const std::string& shot) {
    wxBitmap bitmap(window->GetClientSize(), 24);
    {
      wxMemoryDC dc(bitmap);
      dc.SetBackground(wxBrush(wxColour(255, 0, 255)));
      dc.Clear();
      dc.SetBackground(*wxWHITE_BRUSH);
      paint(dc);
    }
    SaveShot(bitmap, shot);
    return bitmap.ConvertToImage();
  }

  // What the window's client area shows on the screen after it has
  // repainted itself. The X server may show a paint a moment late: compare
  // in a few rounds (see ScreenDiffers) rather than once.
  static wxBitmap GrabClient(wxWindow* window) {
    window->Refresh();
    window->Update();
    return GrabScreen(window);
  }

  // What the window's client area shows now, without asking for a repaint.
  static wxBitmap GrabScreen(wxWindow* window) {
    Pump();
    const wxSize size = window->GetClientSize();
    wxBitmap bitmap(size.x, size.y, 24);
    wxMemoryDC dc(bitmap);
    wxClientDC client(window);
    dc.Blit(0, 0, size.x, size.y, &client, 0, 0);
    dc.SelectObject(wxNullBitmap);
    return bitmap;
  }

  // How many pixels of the window's screen differ from `expected`, away from
  // the right and bottom edges where GTK's scroll bars may shade the window;
  // read in up to ten rounds until they agree. `repaint` grabs through
  // GrabClient, else the screen is taken as it stands.
  static int ScreenDiffers(wxWindow* window, const wxImage& expected, bool repaint,
                           const std::string& shot = std::string()) {
    int differing = -1;
    for (int round = 0; round < 10 && differing != 0; ++round) {
      if (round > 0) wxMilliSleep(30);
      const wxBitmap screen = repaint ? GrabClient(window) : GrabScreen(window);
      if (!shot.empty()) SaveShot(screen, shot);
      const wxImage image = screen.ConvertToImage();
      differing = 0;
      for (int y = 0; y < image.GetHeight() - 16; ++y)
        for (int x = 0; x < image.GetWidth() - 64; ++x)
          differing += image.GetRed(x, y) != expected.GetRed(x, y) ||
                       image.GetGreen(x, y) != expected.GetGreen(x, y) ||
                       image.GetBlue(x, y) != expected.GetBlue(x, y);
    }
    return differing;
  }

  // The cell a fixed-pitch font gives in the window: its average advance and
  // its line height.
  static wxSize FontCell(wxWindow* window, const wxFont& font) {
    wxClientDC dc(window);
    dc.SetFont(font);
    wxCoord w = 0, h = 0;
    dc.GetTextExtent(wxString('M', 40), &w, &h);
    return wxSize((w + 20) / 40, dc.GetCharHeight());
  }

  wxFrame* frame_ = nullptr;
};

// Puts `text` on the clipboard as this program's own text; empty clears it.
inline void SetClipboardText(const wxString& text) {
  ASSERT_TRUE(wxTheClipboard->Open());
  if (text.empty())
    wxTheClipboard->Clear();
  else
    wxTheClipboard->SetData(new wxTextDataObject(text));
  wxTheClipboard->Close();
}
