// Resources of the Section View, File View and Output panes: their context
// menus (173, 174, 182), the Output tab names (strings 300-302) and the
// panes' images, which are drawn here.
#pragma once

#include <wx/bitmap.h>
#include <wx/string.h>

#include <memory>

class wxImageList;
class wxMenu;

// Menu 173 (sorting), 174 ("Explorer", the File View's) or 182 (the Output
// lists'); each item carries MenuItemIdOfCommand of its command. nullptr for
// any other id.
std::unique_ptr<wxMenu> LoadPaneMenu(int id);

// String 300, 301 or 302; empty for any other id.
wxString LoadPaneString(int id);

// The tree images: 177 (Section View: 0 the document, 1 a section; 16 by 15)
// or 175 (File View: 0 a folder; 16 by 16). nullptr for any other id.
std::unique_ptr<wxImageList> LoadPaneImageList(int id);

// The File View toolbar's one button image (169); invalid for any other id.
wxBitmap LoadPaneToolbarBitmap(int id);
