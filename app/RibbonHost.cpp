// Builds the ribbon, the quick access toolbar and the Style/About tools from
// the ribbon description, and turns their clicks into menu events.
#include "app/RibbonHost.h"

#include <wx/artprov.h>
#include <wx/aui/auibar.h>
#include <wx/aui/framemanager.h>
#include <wx/dc.h>
#include <wx/menu.h>
#include <wx/ribbon/art.h>
#include <wx/ribbon/page.h>
#include <wx/ribbon/panel.h>
#include <wx/sizer.h>

#include "app/AppLook.h"
#include "app/ThemeCached.h"
#include "res/EditorResources.h"
#include "res/ResourceIds.h"

namespace {

const wxSize kLargeImage(32, 32);
const wxSize kSmallImage(16, 16);

// Toolbar art that fills its background with one colour: the strip takes the
// colour of the ribbon's tab area.
class StripArt : public wxAuiGenericToolBarArt {
 public:
  explicit StripArt(const wxColour& colour) : m_colour(colour) {}
  wxAuiToolBarArt* Clone() override { return new StripArt(m_colour); }
  void DrawBackground(wxDC& dc, wxWindow*, const wxRect& rect) override { Fill(dc, rect); }
  void DrawPlainBackground(wxDC& dc, wxWindow*, const wxRect& rect) override { Fill(dc, rect); }

 private:
  void Fill(wxDC& dc, const wxRect& rect) {
    dc.SetPen(*wxTRANSPARENT_PEN);
    dc.SetBrush(wxBrush(m_colour));
    dc.DrawRectangle(rect);
  }
  wxColour m_colour;
};

using CachedRibbonBar = ThemeCached<wxRibbonBar>;
using CachedRibbonPage = ThemeCached<wxRibbonPage>;
using CachedRibbonPanel = ThemeCached<wxRibbonPanel>;
using CachedButtonBar = ThemeCached<wxRibbonButtonBar>;

const RibbonItem* FindIn(const std::vector<RibbonItem>& items, int command) {
  for (const RibbonItem& item : items) {
    if (item.command == command && item.kind != RibbonItemKind::Label) return &item;
    if (const RibbonItem* inner = FindIn(item.items, command)) return inner;
  }
  return nullptr;
}

// The description's element of `command` (the first one with it).
const RibbonItem* FindRibbonItem(int command) {
  const RibbonDescription& ribbon = LoadRibbonDescription();
  for (const RibbonPanel& panel : ribbon.mainCategory.panels)
    if (const RibbonItem* item = FindIn(panel.items, command)) return item;
  if (const RibbonItem* item = FindIn(ribbon.tabBar, command)) return item;
  for (const RibbonCategory& category : ribbon.categories)
    for (const RibbonPanel& panel : category.panels)
      if (const RibbonItem* item = FindIn(panel.items, command)) return item;
  return nullptr;
}

wxChar FirstLetter(const wxString& label) { return label.empty() ? wxChar(wxT('?')) : wxChar(label[0]); }

// Commands whose items show a check mark.
bool IsCheckCommand(int command) {
  return (command >= ids::ID_VIEW_APPLOOK_FIRST && command <= ids::ID_VIEW_APPLOOK_LAST) ||
         command == ids::ID_FILE_PRINT_PREVIEW || command == ids::ID_VIEW_STATUS_BAR;
}

}  // namespace

wxString RecentFileLabel(size_t index, const wxString& path) {
  wxString shown = path;
  shown.Replace("&", "&&");
  const size_t number = index + 1;
  // The entry's number is its mnemonic; the tenth takes the 0 of "10".
  return number < 10 ? wxString::Format("&%zu %s", number, shown) : wxString::Format("1&0 %s", shown);
}

CRibbonHost::CRibbonHost(wxWindow* parent, wxDocManager* manager, const AppLookScheme& scheme)
    : wxPanel(parent, wxID_ANY), m_docManager(manager), m_recentId(NewControlId()), m_styleId(NewControlId()) {
  wxRibbonArtProvider* art = MakeRibbonArt(scheme);
  const wxColour strip = art->GetColour(wxRIBBON_ART_TAB_CTRL_BACKGROUND_COLOUR);
  SetBackgroundColour(strip);
  auto* sizer = new wxBoxSizer(wxVERTICAL);
  BuildStrip(sizer, strip);
  m_wndRibbonBar = new CachedRibbonBar(this, wxID_ANY, wxDefaultPosition, wxDefaultSize,
                                       wxRIBBON_BAR_FLOW_HORIZONTAL | wxRIBBON_BAR_SHOW_PAGE_LABELS);
  // The look's art before the first page: the pages are measured once, in it.
  m_wndRibbonBar->SetArtProvider(art);
  BuildRibbon();
  sizer->Add(m_wndRibbonBar, 0, wxEXPAND);
  SetSizer(sizer);
  Bind(wxEVT_RIBBONBUTTONBAR_CLICKED, &CRibbonHost::OnButtonClicked, this);
  Bind(wxEVT_RIBBONBUTTONBAR_DROPDOWN_CLICKED, &CRibbonHost::OnButtonDropdown, this);
  m_wndRibbonBar->Bind(wxEVT_LEFT_DCLICK, &CRibbonHost::OnRibbonDoubleClick, this);
  if (wxWindow* top = wxGetTopLevelParent(parent)) {
    top->Bind(wxEVT_SYS_COLOUR_CHANGED, [](wxSysColourChangedEvent& event) {
      event.Skip();
      ++g_themeGeneration;
    });
  }
}

void CRibbonHost::FitPane(bool update) {
  InvalidateBestSize();
  Layout();
  const wxSize size(-1, GetSizer()->CalcMin().y);
  wxAuiManager* manager = wxAuiManager::GetManager(this);
  if (!manager) return;
  wxAuiPaneInfo& pane = manager->GetPane(this);
  if (!pane.IsOk()) return;
  pane.MinSize(size).BestSize(size);
  if (update) manager->Update();
}

void CRibbonHost::OnRibbonDoubleClick(wxMouseEvent& event) {
  event.Skip();
  // The ribbon hides or shows its panels in its own handler, after this one.
  CallAfter([this] { FitPane(); });
}

void CRibbonHost::BuildStrip(wxSizer* sizer, const wxColour& background) {
  const RibbonDescription& ribbon = LoadRibbonDescription();
  auto* strip = new wxBoxSizer(wxHORIZONTAL);

  m_quickAccess = new wxAuiToolBar(this, wxID_ANY, wxDefaultPosition, wxDefaultSize,
                                   wxAUI_TB_DEFAULT_STYLE | wxAUI_TB_PLAIN_BACKGROUND);
  m_quickAccess->SetArtProvider(new StripArt(background));
  for (int command : ribbon.quickAccess) {
    const RibbonItem* item = FindRibbonItem(command);
    const wxString label = item ? wxStripMenuCodes(item->text) : wxString();
    m_quickAccess->AddTool(MenuItemIdOfCommand(command), label,
                           ShellImage(item ? item->image : nullptr, kSmallImage, FirstLetter(label)), label);
  }
  m_quickAccess->Realize();
  strip->Add(m_quickAccess, 0, wxALIGN_CENTER_VERTICAL);
  strip->AddStretchSpacer();

  m_tabBarTools = new wxAuiToolBar(this, wxID_ANY, wxDefaultPosition, wxDefaultSize,
                                   wxAUI_TB_DEFAULT_STYLE | wxAUI_TB_TEXT | wxAUI_TB_HORZ_TEXT |
                                       wxAUI_TB_PLAIN_BACKGROUND);
  m_tabBarTools->SetArtProvider(new StripArt(background));
  for (const RibbonItem& item : ribbon.tabBar) {
    const wxString label = wxStripMenuCodes(item.text);
    wxString help = label;
    if (*item.keyTip) help += wxString::Format(label.empty() ? "Key tip: %s" : "\nKey tip: %s", item.keyTip);
    if (item.kind == RibbonItemKind::MenuButton) {
      m_tabBarTools->AddTool(m_styleId, label, ShellImage(wxART_LIST_VIEW, kSmallImage, FirstLetter(label)), help);
      m_tabBarTools->SetToolDropDown(m_styleId, true);
    } else {
      m_tabBarTools->AddTool(MenuItemIdOfCommand(item.command), label,
                             ShellImage(item.image, kSmallImage, FirstLetter(label)), help);
    }
  }
  m_tabBarTools->Realize();
  m_tabBarTools->Bind(wxEVT_AUITOOLBAR_TOOL_DROPDOWN, &CRibbonHost::OnStyleDropdown, this, m_styleId);
  strip->Add(m_tabBarTools, 0, wxALIGN_CENTER_VERTICAL);
  sizer->Add(strip, 0, wxEXPAND);
}

void CRibbonHost::BuildRibbon() {
  const RibbonDescription& ribbon = LoadRibbonDescription();

  // The application button's menu as the first page: one panel per group of
  // buttons between separators, the foot button and the recent-file list
  // each in a panel of their own.
  auto* filePage = new CachedRibbonPage(m_wndRibbonBar, wxID_ANY, ribbon.mainCategory.text);
  const wxString fileKey = ribbon.applicationButtonKeyTip;
  for (const RibbonPanel& panel : ribbon.mainCategory.panels) {
    wxRibbonButtonBar* bar = nullptr;
    for (const RibbonItem& item : panel.items) {
      switch (item.kind) {
        case RibbonItemKind::Separator:
          bar = nullptr;
          break;
        case RibbonItemKind::MainPanelButton:
        case RibbonItemKind::RecentFileList: {
          auto* own = new CachedRibbonPanel(filePage, wxID_ANY,
                                        item.kind == RibbonItemKind::RecentFileList ? item.text : L"");
          AddItem(new CachedButtonBar(own), item, fileKey);
          bar = nullptr;
          break;
        }
        default:
          if (!bar) bar = new CachedButtonBar(new CachedRibbonPanel(filePage, wxID_ANY, panel.text));
          AddItem(bar, item, fileKey);
      }
    }
  }

  for (const RibbonCategory& category : ribbon.categories) {
    auto* page = new CachedRibbonPage(m_wndRibbonBar, wxID_ANY, category.text);
    for (const RibbonPanel& panel : category.panels) {
      auto* bar = new CachedButtonBar(new CachedRibbonPanel(page, wxID_ANY, panel.text));
      for (const RibbonItem& item : panel.items) AddItem(bar, item, category.keyTip);
    }
  }
  // The idle update reaches only the page on the screen: a page that comes
  // up is brought up to date before it is painted.
  for (size_t i = 0; i < m_wndRibbonBar->GetPageCount(); ++i) {
    wxRibbonPage* page = m_wndRibbonBar->GetPage(i);
    page->Bind(wxEVT_SHOW, [page](wxShowEvent& event) {
      event.Skip();
      if (event.IsShown() && page->IsShownOnScreen()) page->UpdateWindowUI(wxUPDATE_UI_RECURSE);
    });
  }
  m_wndRibbonBar->Realize();
  // The application button opens a menu; the first tab is the first category.
  if (m_wndRibbonBar->GetPageCount() > 1) m_wndRibbonBar->SetActivePage(static_cast<size_t>(1));
}

void CRibbonHost::AddItem(wxRibbonButtonBar* bar, const RibbonItem& item, const wxString& keyTipPrefix) {
  const wxString label = wxStripMenuCodes(item.text);
  wxString help = wxStripMenuCodes(LoadShellString(item.command));
  if (help.empty()) help = label;
  if (*item.keyTip) {
    help += "\nKey tip: ";
    if (!keyTipPrefix.empty()) help += keyTipPrefix + ", ";
    help += item.keyTip;
  }
  wxRibbonButtonKind kind = wxRIBBON_BUTTON_NORMAL;
  int id = MenuItemIdOfCommand(item.command);
  switch (item.kind) {
    case RibbonItemKind::CheckBox: kind = wxRIBBON_BUTTON_TOGGLE; break;
    case RibbonItemKind::MenuButton: kind = item.command ? wxRIBBON_BUTTON_HYBRID : wxRIBBON_BUTTON_DROPDOWN; break;
    case RibbonItemKind::RecentFileList:
      kind = wxRIBBON_BUTTON_DROPDOWN;
      id = m_recentId;
      break;
    default: break;
  }
  wxRibbonButtonBarButtonBase* button =
      bar->AddButton(id, label, ShellImage(item.image, kLargeImage, FirstLetter(label)),
                     ShellImage(item.image, kSmallImage, FirstLetter(label)), wxNullBitmap, wxNullBitmap, kind, help);
  bar->SetItemClientObject(button, new CRibbonButtonData(&item, label));
}

std::unique_ptr<wxMenu> CRibbonHost::MenuOfItem(const RibbonItem& item) {
  auto menu = std::make_unique<wxMenu>();
  for (const RibbonItem& entry : item.items) {
    switch (entry.kind) {
      case RibbonItemKind::Separator:
        menu->AppendSeparator();
        break;
      case RibbonItemKind::Label:
        menu->Append(wxID_ANY, entry.text)->Enable(false);
        break;
      default:
        menu->Append(MenuItemIdOfCommand(entry.command), entry.text, wxEmptyString,
                     IsCheckCommand(entry.command) ? wxITEM_CHECK : wxITEM_NORMAL);
    }
  }
  return menu;
}

std::unique_ptr<wxMenu> CRibbonHost::RecentDocumentsMenu() const {
  auto menu = std::make_unique<wxMenu>();
  const size_t count = m_docManager ? m_docManager->GetHistoryFilesCount() : 0;
  for (size_t i = 0; i < count && i < static_cast<size_t>(ids::ID_FILE_MRU_COUNT); ++i)
    menu->Append(MenuItemIdOfCommand(ids::ID_FILE_MRU_FILE1 + static_cast<int>(i)),
                 RecentFileLabel(i, m_docManager->GetHistoryFile(i)));
  if (count == 0) menu->Append(wxID_ANY, kRecentFilePlaceholder)->Enable(false);
  return menu;
}

void CRibbonHost::ApplyLook(const AppLookScheme& scheme) {
  ApplyRibbonLook(m_wndRibbonBar, scheme);
  const wxColour strip = m_wndRibbonBar->GetArtProvider()->GetColour(wxRIBBON_ART_TAB_CTRL_BACKGROUND_COLOUR);
  SetBackgroundColour(strip);
  for (wxAuiToolBar* bar : {m_quickAccess, m_tabBarTools}) {
    bar->SetArtProvider(new StripArt(strip));
    bar->Realize();
    bar->Refresh();
  }
  Layout();
  Refresh();
}

void CRibbonHost::SendCommand(wxWindow* source, int itemId, int checked) {
  wxCommandEvent command(wxEVT_MENU, itemId);
  command.SetEventObject(source);
  if (checked >= 0) command.SetInt(checked);
  source->ProcessWindowEvent(command);
}

void CRibbonHost::OnButtonClicked(wxRibbonButtonBarEvent& event) {
  wxRibbonButtonBar* bar = event.GetBar();
  if (event.GetId() == m_recentId) {
    std::unique_ptr<wxMenu> menu = RecentDocumentsMenu();
    event.PopupMenu(menu.get());
    return;
  }
  auto* data = bar ? static_cast<CRibbonButtonData*>(bar->GetItemClientObject(event.GetButton())) : nullptr;
  const bool toggle = data && data->m_item->kind == RibbonItemKind::CheckBox;
  SendCommand(bar ? static_cast<wxWindow*>(bar) : this, event.GetId(), toggle ? event.GetInt() : -1);
}

void CRibbonHost::OnButtonDropdown(wxRibbonButtonBarEvent& event) {
  wxRibbonButtonBar* bar = event.GetBar();
  auto* data = bar ? static_cast<CRibbonButtonData*>(bar->GetItemClientObject(event.GetButton())) : nullptr;
  std::unique_ptr<wxMenu> menu;
  if (event.GetId() == m_recentId) menu = RecentDocumentsMenu();
  else if (data) menu = MenuOfItem(*data->m_item);
  if (menu) event.PopupMenu(menu.get());
}

void CRibbonHost::OnStyleDropdown(wxAuiToolBarEvent& event) {
  const RibbonDescription& ribbon = LoadRibbonDescription();
  for (const RibbonItem& item : ribbon.tabBar) {
    if (item.kind != RibbonItemKind::MenuButton) continue;
    std::unique_ptr<wxMenu> menu = MenuOfItem(item);
    m_tabBarTools->SetToolSticky(event.GetId(), true);
    const wxRect rect = m_tabBarTools->GetToolRect(event.GetId());
    m_tabBarTools->PopupMenu(menu.get(), rect.GetBottomLeft());
    m_tabBarTools->SetToolSticky(event.GetId(), false);
    return;
  }
}
