// The ribbon and what stands around it at the top of the main frame: the quick
// access toolbar on the left above the tabs, the Style menu and the About
// button on the right, and the ribbon (resource 307) below them. Every
// button, tool and menu item carries MenuItemIdOfCommand of its command and
// sends its command to the frame as a menu event, so that the frame routes
// it as it routes the menus.
#pragma once

#include <wx/docview.h>
#include <wx/panel.h>
#include <wx/ribbon/bar.h>
#include <wx/ribbon/buttonbar.h>

#include <memory>

#include "res/ShellResources.h"

class wxAuiToolBar;
class wxAuiToolBarEvent;
class wxMenu;
struct AppLookScheme;

// What a ribbon button shows and stands for: the description's element and
// the label as the ribbon shows it (without mnemonic marks).
class CRibbonButtonData : public wxClientData {
 public:
  CRibbonButtonData(const RibbonItem* item, const wxString& label) : m_item(item), m_label(label) {}
  const RibbonItem* m_item;
  wxString m_label;
};

// The label of entry `index` (zero-based) of the recent-file list in menus.
wxString RecentFileLabel(size_t index, const wxString& path);

class CRibbonHost : public wxPanel {
 public:
  // `manager` gives the recent-file list (may be null). The ribbon and the
  // strip are built in the look of `scheme` at once, so that the ribbon is
  // laid out only once.
  CRibbonHost(wxWindow* parent, wxDocManager* manager, const AppLookScheme& scheme);

  wxRibbonBar* m_wndRibbonBar = nullptr;
  wxAuiToolBar* m_quickAccess = nullptr;  // the quick access toolbar
  wxAuiToolBar* m_tabBarTools = nullptr;  // the Style menu and About, right of the tabs

  // The id of the recent-file list's button and of the Style menu's tool.
  int RecentDocumentsId() const { return m_recentId; }
  int StyleToolId() const { return m_styleId; }

  // The menu of a menu button (its items), or of the recent-file list.
  static std::unique_ptr<wxMenu> MenuOfItem(const RibbonItem& item);
  std::unique_ptr<wxMenu> RecentDocumentsMenu() const;

  // The ribbon's art and colours, and the strip's background, for a look.
  void ApplyLook(const AppLookScheme& scheme);

  // Gives the docked pane that holds this host the host's height: after a
  // look change, and after the ribbon's panels were hidden or shown again (a
  // double-click on the active tab). `update` false leaves the docking
  // layout to a later update of the caller.
  void FitPane(bool update = true);

 private:
  void BuildRibbon();
  void BuildStrip(wxSizer* sizer, const wxColour& background);
  void AddItem(wxRibbonButtonBar* bar, const RibbonItem& item, const wxString& keyTipPrefix);
  void OnButtonClicked(wxRibbonButtonBarEvent& event);
  void OnButtonDropdown(wxRibbonButtonBarEvent& event);
  void OnStyleDropdown(wxAuiToolBarEvent& event);
  void OnRibbonDoubleClick(wxMouseEvent& event);
  // Sends `command`'s menu event from `source` up to the frame.
  void SendCommand(wxWindow* source, int itemId, int checked = -1);

  wxDocManager* m_docManager;
  int m_recentId;
  int m_styleId;
};
