// The shell's resources: menus 128, 130, 311 and 119, accelerator table 128,
// the frame's strings, the ribbon (307) and the images of ribbon and menus.
#pragma once

#include <wx/accel.h>
#include <wx/bitmap.h>
#include <wx/string.h>

#include <memory>
#include <vector>

class wxMenu;
class wxMenuBar;

// ---- menus ----
// Every item carries MenuItemIdOfCommand of its command. Items that show a
// check mark (the status bar, print preview, the application looks) are
// check items.

// Menu 128, the frame's menu bar while no document is open.
std::unique_ptr<wxMenuBar> LoadMainMenu();
// Menu 130 (first-generation documents) or 311 (second-generation
// documents); null for any other id.
std::unique_ptr<wxMenuBar> LoadDocumentMenu(int id);
// Menu 119, the views' context menu: Cut, Copy, Paste.
std::unique_ptr<wxMenu> LoadViewContextMenu();
// The "&Application Look" submenu: 205 to 210 and the "Office 200&7" submenu
// with 215 to 218.
std::unique_ptr<wxMenu> LoadApplicationLookMenu();

// The label of the recent-file list's place in a File menu while the list is
// empty (a disabled item of command 57616).
extern const wchar_t* const kRecentFilePlaceholder;

// ---- accelerator table 128 ----

// Its entries, in table order, each with the menu item id of its command.
std::vector<wxAcceleratorEntry> MainAcceleratorEntries();
wxAcceleratorTable LoadMainAccelerators();

// ---- strings ----

// Strings 122, 123, 131, 155, 156, 157 and 32772; empty for any other id.
wxString LoadShellString(int id);

// ---- the ribbon, resource 307 ----

enum class RibbonItemKind {
  Button,          // a command button
  CheckBox,        // a command shown checked or not
  MenuButton,      // a button whose menu holds `items`; its own command (if any) runs on a click
  Label,           // a line of text inside a button's menu
  Separator,       // a separating line
  MainPanelButton, // a button at the foot of the application menu
  RecentFileList,  // the recent-file list of the application menu
};

struct RibbonItem {
  RibbonItemKind kind;
  int command;           // 0 for none
  const wchar_t* text;   // as the resource gives it, mnemonic marks included
  const wchar_t* keyTip; // empty for none
  const char* image;     // wxArtProvider id, or null
  std::vector<RibbonItem> items;  // a menu button's menu or a button's sub-panel
  int width = 0;         // the recent-file list's width
  const wchar_t* menuKeyTip = L"";  // key tip of a button's menu part
};

struct RibbonPanel {
  const wchar_t* text;
  const wchar_t* keyTip;
  std::vector<RibbonItem> items;
};

struct RibbonCategory {
  const wchar_t* text;
  const wchar_t* keyTip;
  int smallImages;  // image resource ids of the category
  int largeImages;
  std::vector<RibbonPanel> panels;
};

struct RibbonDescription {
  int id;
  int buttonImages;
  int applicationButtonImage;
  const wchar_t* applicationButtonKeyTip;
  RibbonCategory mainCategory;       // the application button's menu: one panel
  std::vector<int> quickAccess;      // commands of the quick access toolbar
  std::vector<RibbonItem> tabBar;    // the elements right of the tabs
  std::vector<RibbonCategory> categories;
  bool tooltipDescriptions;
  bool keyTips;
  bool printPreview;
};

// The ribbon as resource 307 describes it.
const RibbonDescription& LoadRibbonDescription();

// ---- images ----

// The image `artId` at `size`: the platform's art when it has that image,
// else a drawn tile with `letter` on it, so that an image is always there.
wxBitmap ShellImage(const char* artId, const wxSize& size, wxChar letter = wxT('?'));
