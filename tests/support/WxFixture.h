// Shared fixture for window tests: a top-level frame to parent the widget under
// test, event pumping, and saving pictures when QUILLMARK_SHOTS names a folder.
#pragma once

#include <gtest/gtest.h>
#include <wx/app.h>
#include <wx/bitmap.h>
#include <wx/dcclient.h>
#include <wx/dcmemory.h>
#include <wx/frame.h>
#include <wx/image.h>
#include <wx/utils.h>

#include <cstdlib>
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

  // What the window's client area shows on the screen after it has
  // repainted itself. The X server may show a paint a moment late: compare
  // in a few rounds (see the painting tests) rather than once.
  static wxBitmap GrabClient(wxWindow* window) {
    window->Refresh();
    window->Update();
    Pump();
    const wxSize size = window->GetClientSize();
    wxBitmap bitmap(size.x, size.y, 24);
    wxMemoryDC dc(bitmap);
    wxClientDC client(window);
    dc.Blit(0, 0, size.x, size.y, &client, 0, 0);
    dc.SelectObject(wxNullBitmap);
    return bitmap;
  }

  wxFrame* frame_ = nullptr;
};
