// Menus, strings and drawn images of the three panes.
#include "res/PaneResources.h"

#include <wx/dcmemory.h>
#include <wx/imaglist.h>
#include <wx/menu.h>

#include <functional>

#include "res/EditorResources.h"
#include "res/ResourceIds.h"

namespace {

using namespace ids;

std::unique_ptr<wxMenu> SortingMenu() {
  auto menu = std::make_unique<wxMenu>();
  auto add = [&menu](int command, const char* text) { menu->AppendCheckItem(MenuItemIdOfCommand(command), text); };
  add(ID_SORTING_SORTALPHABETIC, "&Sort Alphabeticaly");
  add(ID_SORTING_SORTBYTYPE, "Sort by &Type");
  add(ID_SORTING_SORTBYACCESS, "Sort by Acc&ess");
  add(ID_SORTING_GROUPBYTYPE, "Group by t&ype");
  return menu;
}

std::unique_ptr<wxMenu> ExplorerMenu() {
  auto menu = std::make_unique<wxMenu>();
  auto add = [&menu](int command, const char* text) { menu->Append(MenuItemIdOfCommand(command), text); };
  add(ID_OPEN, "&Open");
  add(ID_OPEN_WITH, "Open &With....");
  menu->AppendSeparator();
  add(ID_DUMMY_COMPILE, "&Compile");
  menu->AppendSeparator();
  add(ID_EDIT_CUT, "Cu&t\tCtrl+X");
  add(ID_EDIT_COPY, "&Copy\tCtrl+C");
  add(ID_EDIT_CLEAR, "&Remove");
  menu->AppendSeparator();
  add(ID_PROPERTIES, "&Properties...");
  return menu;
}

std::unique_ptr<wxMenu> OutputMenu() {
  auto menu = std::make_unique<wxMenu>();
  auto add = [&menu](int command, const char* text) { menu->Append(MenuItemIdOfCommand(command), text); };
  add(ID_EDIT_COPY, "&Copy");
  add(ID_EDIT_CLEAR, "&Clear");
  menu->AppendSeparator();
  add(ID_VIEW_OUTPUTWND, "&Hide");
  return menu;
}

// A width x height image drawn by `draw` on a background of `key`, which
// becomes transparent.
wxBitmap Drawn(int width, int height, const wxColour& key, const std::function<void(wxDC&)>& draw) {
  wxBitmap bitmap(width, height, 24);
  {
    wxMemoryDC dc(bitmap);
    dc.SetBackground(wxBrush(key));
    dc.Clear();
    draw(dc);
  }
  bitmap.SetMask(new wxMask(bitmap, key));
  return bitmap;
}

const wxColour kRed(255, 0, 0);
const wxColour kMagenta(255, 0, 255);
const wxColour kOutline(64, 64, 64);

// A page with a folded corner and a few text rows: the document.
void DrawDocument(wxDC& dc) {
  dc.SetPen(wxPen(kOutline));
  dc.SetBrush(*wxWHITE_BRUSH);
  const wxPoint page[] = {{2, 0}, {10, 0}, {13, 3}, {13, 14}, {2, 14}};
  dc.DrawPolygon(5, page);
  dc.DrawLine(10, 0, 10, 3);
  dc.DrawLine(10, 3, 13, 3);
  dc.SetPen(wxPen(wxColour(40, 90, 180)));
  for (int y = 5; y <= 11; y += 3) dc.DrawLine(4, y, 11, y);
}

// A coloured tab mark with a heading bar: one section of the file.
void DrawSection(wxDC& dc) {
  dc.SetPen(wxPen(wxColour(30, 110, 60)));
  dc.SetBrush(wxBrush(wxColour(80, 170, 100)));
  dc.DrawRectangle(1, 3, 5, 9);
  dc.SetPen(wxPen(kOutline));
  dc.DrawLine(8, 5, 15, 5);
  dc.DrawLine(8, 9, 13, 9);
}

void DrawFolder(wxDC& dc) {
  dc.SetPen(wxPen(wxColour(150, 110, 20)));
  dc.SetBrush(wxBrush(wxColour(240, 200, 80)));
  const wxPoint folder[] = {{1, 3}, {6, 3}, {7, 5}, {14, 5}, {14, 13}, {1, 13}};
  dc.DrawPolygon(6, folder);
}

// A sheet with a pen over it: properties.
void DrawProperties(wxDC& dc) {
  dc.SetPen(wxPen(kOutline));
  dc.SetBrush(*wxWHITE_BRUSH);
  dc.DrawRectangle(1, 1, 10, 13);
  dc.SetPen(wxPen(wxColour(40, 90, 180)));
  for (int y = 4; y <= 10; y += 3) dc.DrawLine(3, y, 9, y);
  dc.SetPen(wxPen(wxColour(160, 60, 20), 2));
  dc.DrawLine(7, 14, 14, 7);
}

}  // namespace

std::unique_ptr<wxMenu> LoadPaneMenu(int id) {
  switch (id) {
    case IDR_POPUP_SORT: return SortingMenu();
    case IDR_POPUP_EXPLORER: return ExplorerMenu();
    case IDR_OUTPUT_POPUP: return OutputMenu();
    default: return nullptr;
  }
}

wxString LoadPaneString(int id) {
  switch (id) {
    case IDS_BUILD_TAB: return "Build";
    case IDS_DEBUG_TAB: return "Debug";
    case IDS_FIND_TAB: return "Find";
    default: return wxString();
  }
}

std::unique_ptr<wxImageList> LoadPaneImageList(int id) {
  if (id == IDB_CLASS_VIEW) {
    auto images = std::make_unique<wxImageList>(16, 15, true, 0);
    images->Add(Drawn(16, 15, kRed, DrawDocument));
    images->Add(Drawn(16, 15, kRed, DrawSection));
    return images;
  }
  if (id == IDB_FILE_VIEW) {
    auto images = std::make_unique<wxImageList>(16, 16, true, 0);
    images->Add(Drawn(16, 16, kMagenta, DrawFolder));
    return images;
  }
  return nullptr;
}

wxBitmap LoadPaneToolbarBitmap(int id) {
  if (id != IDR_EXPLORER) return wxBitmap();
  return Drawn(16, 15, kMagenta, DrawProperties);
}
