// The main frame and the document windows: ribbon, menus, accelerators and
// the item-id mapping, the looks and their storage, the panes and clicks on
// their tabs, command routing, go-to-line, the status bar and print preview.
#include <gtest/gtest.h>
#include <wx/app.h>
#include <wx/aui/aui.h>
#include <wx/config.h>
#include <wx/dcclient.h>
#include <wx/dcmemory.h>
#include <wx/fileconf.h>
#include <wx/filename.h>
#include <wx/listbox.h>
#include <wx/menu.h>
#include <wx/print.h>
#include <wx/ribbon/art.h>
#include <wx/ribbon/bar.h>
#include <wx/ribbon/buttonbar.h>
#include <wx/ribbon/page.h>
#include <wx/ribbon/panel.h>
#include <wx/statusbr.h>
#include <wx/uiaction.h>
#include <wx/weakref.h>

#include <fstream>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "app/AppLook.h"
#include "app/ChildFrame.h"
#include "app/ClassView.h"
#include "app/FileView.h"
#include "app/GotoLineEvent.h"
#include "app/MainFrame.h"
#include "app/OutputWnd.h"
#include "app/RibbonHost.h"
#include "app/WindowsDialog.h"
#include "res/EditorResources.h"
#include "res/ResourceIds.h"
#include "res/ShellResources.h"
#include "support/AuiTabs.h"
#include "support/ScreenGrab.h"

namespace {

void Pump() {
  for (int i = 0; i < 5; ++i) {
    wxTheApp->ProcessPendingEvents();
    while (wxTheApp->Pending()) wxTheApp->Dispatch();
    wxYield();
  }
}

class FrameTestDoc : public wxDocument {
  wxDECLARE_DYNAMIC_CLASS(FrameTestDoc);
};
wxIMPLEMENT_DYNAMIC_CLASS(FrameTestDoc, wxDocument);

class OnePagePrintout : public wxPrintout {
 public:
  bool OnPrintPage(int) override { return true; }
  bool HasPage(int page) override { return page == 1; }
  void GetPageInfo(int* minPage, int* maxPage, int* from, int* to) override { *minPage = *maxPage = *from = *to = 1; }
};

// Records go-to-line requests and the commands it carries out; Cut is
// disabled by its update handler, Print Preview opens a preview window.
class FrameTestView : public wxView {
 public:
  std::vector<int> lines, commands;
  wxWindow* window = nullptr;

  bool OnCreate(wxDocument* doc, long flags) override {
    if (!wxView::OnCreate(doc, flags)) return false;
    auto* frame = new CChildFrame(doc, this, GetMainFrame(), wxID_ANY, doc->GetUserReadableName());
    window = new wxWindow(frame, wxID_ANY);
    frame->Show();
    return true;
  }
  void OnDraw(wxDC*) override {}

 private:
  void OnGotoLine(wxCommandEvent& event) { lines.push_back(event.GetInt()); }
  void OnCommand(wxCommandEvent& event) { commands.push_back(event.GetId()); }
  void OnUpdateDisabled(wxUpdateUIEvent& event) { event.Enable(false); }
  void OnPreview(wxCommandEvent& event) {
    commands.push_back(event.GetId());
    auto* preview = new wxPrintPreview(new OnePagePrintout, new OnePagePrintout);
    if (!preview->IsOk()) return delete preview;
    auto* frame = new wxPreviewFrame(preview, GetMainFrame(), "Print Preview");
    frame->InitializeWithModality(wxPreviewFrame_NonModal);
    frame->Show();
  }

  wxDECLARE_DYNAMIC_CLASS(FrameTestView);
  wxDECLARE_EVENT_TABLE();
};
wxIMPLEMENT_DYNAMIC_CLASS(FrameTestView, wxView);
// clang-format off
wxBEGIN_EVENT_TABLE(FrameTestView, wxView)
  EVT_COMMAND(wxID_ANY, EVT_GOTO_LINE, FrameTestView::OnGotoLine)
  EVT_MENU(ids::ID_EDIT_COPY, FrameTestView::OnCommand)
  EVT_MENU(ids::ID_EDIT_CUT, FrameTestView::OnCommand)
  EVT_UPDATE_UI(ids::ID_EDIT_CUT, FrameTestView::OnUpdateDisabled)
  EVT_MENU(ids::ID_FILE_PRINT, FrameTestView::OnCommand)
  EVT_MENU(ids::ID_FILE_PRINT_DIRECT, FrameTestView::OnCommand)
  EVT_MENU(ids::ID_FILE_PRINT_PREVIEW, FrameTestView::OnPreview)
wxEND_EVENT_TABLE()
// clang-format on

// A menu as text: "command label" per item, "-" for a separator, submenus in [].
std::string Flatten(const wxMenu* menu) {
  std::string text;
  for (const wxMenuItem* item : menu->GetMenuItems()) {
    if (!text.empty()) text += "|";
    if (item->IsSeparator()) text += "-";
    else if (item->IsSubMenu()) text += item->GetItemLabel().ToStdString() + "[" + Flatten(item->GetSubMenu()) + "]";
    else text += std::to_string(CommandOfMenuItemId(item->GetId())) + " " + item->GetItemLabel().ToStdString();
  }
  return text;
}
std::string Flatten(const wxMenuBar* bar) {
  std::string text;
  for (size_t i = 0; i < bar->GetMenuCount(); ++i)
    text += bar->GetMenuLabel(i).ToStdString() + "{" + Flatten(bar->GetMenu(i)) + "}";
  return text;
}

const std::string kLookMenu =
    "&Application Look[205 Windows &2000|206 Office &XP|207 &Windows XP|208 Office 200&3|"
    "209 Visual Studio 200&5|210 Visual Studio 200&8|Office 200&7[215 &Blue Style|216 B&lack Style|"
    "217 &Silver Style|218 &Aqua Style]]";
const std::string kMenu128 =
    "&File{57600 &New\tCtrl+N|57601 &Open...\tCtrl+O|57602 &Close|-|57606 P&rint Setup...|-|57616 Recent File|-|"
    "57665 E&xit}&View{59393 &Status Bar|" + kLookMenu + "}&Help{57664 &About Quillmark...}";
const std::string kMenu130Head =
    "&File{57600 &New\tCtrl+N|57601 &Open...\tCtrl+O|57602 &Close|57603 &Save\tCtrl+S|57604 Save &As...|-|"
    "57607 &Print...\tCtrl+P|57609 Print Pre&view|57606 P&rint Setup...|-|57616 Recent File|-|57665 E&xit}"
    "&Edit{57643 &Undo\tCtrl+Z|-|57635 Cu&t\tCtrl+X|57634 &Copy\tCtrl+C|57637 &Paste\tCtrl+V}"
    "&View{59393 &Status Bar|" + kLookMenu + "}&Window{57648 &New Window";
const std::string kHelp = "&Help{57664 &About Quillmark...}";
const std::vector<int> kLooks = {205, 206, 207, 208, 209, 210, 215, 216, 217, 218, 219};

using screengrab::Differing;
using screengrab::Grab;
bool ContainsFocus(wxWindow* window) {
  for (wxWindow* w = wxWindow::FindFocus(); w; w = w->GetParent())
    if (w == window) return true;
  return false;
}
std::vector<wxRibbonPanel*> PanelsOf(wxRibbonPage* page) {
  std::vector<wxRibbonPanel*> panels;
  for (wxWindow* child : page->GetChildren())
    if (auto* panel = dynamic_cast<wxRibbonPanel*>(child)) panels.push_back(panel);
  return panels;
}
wxRibbonButtonBar* ButtonsOf(wxRibbonPanel* panel) {
  return dynamic_cast<wxRibbonButtonBar*>(panel->GetChildren().front());
}
wxRibbonButtonBar* HomeButtons(wxRibbonBar* ribbon, const wxString& panelLabel) {
  for (wxRibbonPanel* panel : PanelsOf(ribbon->GetPage(1)))
    if (panel->GetLabel() == panelLabel) return ButtonsOf(panel);
  return nullptr;
}

class FrameTest : public ::testing::Test {
 protected:
  void SetUp() override {
    configPath_ = wxFileName::CreateTempFileName("qmframe");
    delete wxConfigBase::Set(new wxFileConfig("QuillmarkTest", "", configPath_, "", wxCONFIG_USE_LOCAL_FILE));
    manager_ = new wxDocManager;
    first_ = new wxDocTemplate(manager_, "Vorn1 Files (*.vorn)", "*.vorn", "", "vorn", "Quillmark", "Quillmark",
                               wxCLASSINFO(FrameTestDoc), wxCLASSINFO(FrameTestView));
    second_ = new wxDocTemplate(manager_, "Vorn2 Files (*.vorn2)", "*.vorn2", "", "vorn2", "Vorn2Edit", "Vorn2Edit",
                                wxCLASSINFO(FrameTestDoc), wxCLASSINFO(FrameTestView));
    OpenFrame();
  }
  void TearDown() override {
    CloseFrame();
    delete manager_;
    delete wxConfigBase::Set(nullptr);
    wxRemoveFile(configPath_);
  }

  void OpenFrame() {
    frame_ = new CMainFrame(manager_, nullptr, wxID_ANY, "Quillmark", wxPoint(0, 0), wxSize(1200, 900));
    wxTheApp->SetTopWindow(frame_);
    frame_->Show();
    Pump();
    ASSERT_TRUE(frame_->IsCreated());
  }
  void CloseFrame() {
    manager_->CloseDocuments(true);
    Pump();
    wxTheApp->SetTopWindow(nullptr);
    if (frame_) frame_->Destroy();
    frame_ = nullptr;
    Pump();
  }
  FrameTestView* NewDocument(wxDocTemplate* kind = nullptr) {
    wxDocument* doc = (kind ? kind : first_)->CreateDocument("", wxDOC_NEW);
    doc->OnNewDocument();
    Pump();
    return static_cast<FrameTestView*>(doc->GetFirstView());
  }
  // Sends `command` as its menu item would.
  void Menu(int command) {
    wxCommandEvent event(wxEVT_MENU, MenuItemIdOfCommand(command));
    event.SetEventObject(frame_);
    frame_->ProcessWindowEvent(event);
    Pump();
  }
  long StoredLook() {
    long value = -1;
    wxConfigBase::Get()->Read("/Workspace/ApplicationLook", &value);
    return value;
  }
  // The colours that tell the looks apart: the ribbon's tab area and page,
  // the panes' background and active caption.
  std::tuple<wxUint32, wxUint32, wxUint32, wxUint32> LookColours() {
    wxRibbonArtProvider* ribbon = frame_->m_wndRibbonBar->GetArtProvider();
    wxAuiDockArt* dock = frame_->m_mgr.GetArtProvider();
    return {ribbon->GetColour(wxRIBBON_ART_TAB_CTRL_BACKGROUND_COLOUR).GetRGB(),
            ribbon->GetColour(wxRIBBON_ART_PAGE_BACKGROUND_COLOUR).GetRGB(),
            dock->GetColour(wxAUI_DOCKART_BACKGROUND_COLOUR).GetRGB(),
            dock->GetColour(wxAUI_DOCKART_ACTIVE_CAPTION_COLOUR).GetRGB()};
  }

  wxString configPath_;
  wxDocManager* manager_ = nullptr;
  wxDocTemplate *first_ = nullptr, *second_ = nullptr;
  CMainFrame* frame_ = nullptr;
};

// Every id of the header fits a menu item (wx refuses ids from 0x7FFF) and
// comes back unchanged; no two share an item.
TEST(ItemIdMapping, EveryIdOfTheHeaderFitsAMenuAndComesBack) {
  const std::string source = __FILE__;
  std::ifstream header(source.substr(0, source.rfind("/tests/")) + "/res/ResourceIds.h");
  std::set<int> all;
  for (std::string line; std::getline(header, line);)
    if (line.rfind("constexpr int ", 0) == 0) all.insert(std::stoi(line.substr(line.find('=') + 1), nullptr, 0));
  ASSERT_GT(all.size(), 100u);
  std::set<int> items;
  for (int command : all) {
    const int item = MenuItemIdOfCommand(command);
    EXPECT_TRUE(item > 0 && item < 0x7FFF) << command;
    EXPECT_EQ(CommandOfMenuItemId(item), command) << command;
    EXPECT_TRUE(items.insert(item).second) << "two commands share item " << item;
    EXPECT_EQ(item != command, command >= 0x7FFF) << command;
    EXPECT_TRUE(item == command || (item >= kFirstAliasedItem && item <= kLastAliasedItem)) << command;
  }
  // The borders of both moved ranges, and ids that stay as they are.
  const std::pair<int, int> borders[] = {{0xE000, 0x6000}, {0xEFFF, 0x6FFF}, {0x8000, 0x7000}, {0x8FFE, 0x7FFE},
                                         {0x8FFF, 0x8FFF}, {0xDFFF, 0xDFFF}, {0xF000, 0xF000}, {0x5FFF, 0x5FFF},
                                         {0x7FFF, 0x7FFF}};
  for (const auto& [command, item] : borders) {
    EXPECT_EQ(MenuItemIdOfCommand(command), item) << command;
    EXPECT_EQ(CommandOfMenuItemId(item), command) << item;
  }
}

TEST(ShellResourcesTest, MenusAcceleratorTableAndStrings) {
  EXPECT_EQ(Flatten(LoadMainMenu().get()), kMenu128);
  EXPECT_EQ(Flatten(LoadDocumentMenu(ids::IDR_QuillmarkTYPE).get()), kMenu130Head + "}" + kHelp);
  EXPECT_EQ(Flatten(LoadDocumentMenu(ids::IDR_Vorn2EditTYPE).get()), kHelp);
  EXPECT_EQ(LoadDocumentMenu(ids::IDR_MAINFRAME), nullptr);
  EXPECT_EQ(Flatten(LoadViewContextMenu().get()), "57635 Cu&t\tCtrl+X|57634 &Copy\tCtrl+C|57637 &Paste\tCtrl+V");

  const std::tuple<int, int, int> accelerators[] = {
      {wxACCEL_CTRL, 'N', 57600},        {wxACCEL_CTRL, 'O', 57601},         {wxACCEL_CTRL, 'S', 57603},
      {wxACCEL_CTRL, 'P', 57607},        {wxACCEL_CTRL, 'Z', 57643},         {wxACCEL_ALT, WXK_BACK, 57643},
      {wxACCEL_CTRL, 'X', 57635},        {wxACCEL_SHIFT, WXK_DELETE, 57635}, {wxACCEL_CTRL, 'C', 57634},
      {wxACCEL_CTRL, WXK_INSERT, 57634}, {wxACCEL_CTRL, 'V', 57637},         {wxACCEL_SHIFT, WXK_INSERT, 57637},
      {wxACCEL_NORMAL, WXK_F6, 57680},   {wxACCEL_SHIFT, WXK_F6, 57681}};
  const std::vector<wxAcceleratorEntry> entries = MainAcceleratorEntries();
  ASSERT_EQ(entries.size(), std::size(accelerators));
  for (size_t i = 0; i < entries.size(); ++i) {
    EXPECT_EQ(std::make_tuple(entries[i].GetFlags(), entries[i].GetKeyCode(), CommandOfMenuItemId(entries[i].GetCommand())),
              accelerators[i]) << i;
    EXPECT_LT(entries[i].GetCommand(), 0x7FFF) << i;
  }
  EXPECT_TRUE(LoadMainAccelerators().IsOk());

  const std::pair<int, const char*> strings[] = {{122, "Pane 1"},    {123, "Pane 2"},       {131, "&Windows..."},
                                                 {155, "File View"}, {156, "Section View"}, {157, "Output"},
                                                 {32772, "Activate the Section View panel"}, {124, ""}};
  for (const auto& [id, text] : strings) EXPECT_EQ(LoadShellString(id), wxString(text)) << id;
}

TEST_F(FrameTest, RibbonHasEveryCategoryPanelAndButtonOfItsTable) {
  using Buttons = std::vector<std::pair<int, const char*>>;  // command (0: the recent-file list), label
  const std::vector<std::pair<const char*, std::vector<std::pair<const char*, Buttons>>>> expected = {
      {"File",
       {{"", {{57613, "New Frame"}, {57600, "New"}, {57601, "Open..."}, {57603, "Save"}, {57604, "Save As..."},
              {57607, "Print"}}},
        {"", {{57602, "Close"}}},
        {"", {{57665, "Exit"}}},
        {"Recent Documents", {{0, "Recent Documents"}}}}},
      {"Home",
       {{"Clipboard", {{57637, "Paste"}, {57635, "Cut"}, {57634, "Copy"}, {57642, "Select All"}}},
        {"View", {{59393, "Status Bar"}, {32772, "Section View"}, {32773, "File View"}, {32774, "Output"}}},
        {"Find/Replace", {{57636, "Find..."}, {57640, "Find Next"}, {57641, "Replace"}}},
        {"Window", {{131, "Windows"}}},
        {"Tarnwick", {{32775, "Find Tarn"}, {32777, "Compile"}, {32776, "Load RAM"}, {32778, "Load EEPROM"}}}}}};
  wxRibbonBar* ribbon = frame_->m_wndRibbonBar;
  ASSERT_EQ(ribbon->GetPageCount(), expected.size());
  EXPECT_EQ(ribbon->GetActivePage(), 1);  // Home, as the first category
  for (size_t p = 0; p < expected.size(); ++p) {
    EXPECT_EQ(ribbon->GetPage(p)->GetLabel(), expected[p].first);
    const std::vector<wxRibbonPanel*> panels = PanelsOf(ribbon->GetPage(p));
    ASSERT_EQ(panels.size(), expected[p].second.size()) << expected[p].first;
    for (size_t n = 0; n < panels.size(); ++n) {
      const auto& [label, buttons] = expected[p].second[n];
      EXPECT_EQ(panels[n]->GetLabel(), label);
      wxRibbonButtonBar* bar = ButtonsOf(panels[n]);
      ASSERT_TRUE(bar && bar->GetButtonCount() == buttons.size()) << label;
      for (size_t b = 0; b < buttons.size(); ++b) {
        const int id = bar->GetItemId(bar->GetItem(b));
        EXPECT_LT(id, 0x7FFF);
        EXPECT_EQ(id == frame_->m_wndRibbonHost->RecentDocumentsId() ? 0 : CommandOfMenuItemId(id), buttons[b].first);
        auto* data = static_cast<CRibbonButtonData*>(bar->GetItemClientObject(bar->GetItem(b)));
        ASSERT_NE(data, nullptr);
        EXPECT_EQ(data->m_label, buttons[b].second);
      }
    }
  }
}

TEST_F(FrameTest, RibbonMenusQuickAccessStyleAndKeyTips) {
  const RibbonDescription& ribbon = LoadRibbonDescription();
  EXPECT_EQ(ribbon.id, 307);
  const RibbonItem& print = ribbon.mainCategory.panels[0].items[5];
  const std::unique_ptr<wxMenu> printMenu = CRibbonHost::MenuOfItem(print);
  const std::string printItems = Flatten(printMenu.get());
  EXPECT_EQ(printItems.substr(printItems.find('|')), "|57608 &Quick Print|57609 Print Pre&view|57606 Print Set&up");
  EXPECT_EQ(printMenu->FindItemByPosition(0)->GetItemLabel(), "Preview and print the document");
  EXPECT_FALSE(printMenu->FindItemByPosition(0)->IsEnabled());
  EXPECT_EQ(Flatten(CRibbonHost::MenuOfItem(ribbon.categories[0].panels[3].items[0]).get()), "57648 &New Window");
  EXPECT_EQ(Flatten(CRibbonHost::MenuOfItem(ribbon.tabBar[0]).get()),
            "215 Office 2007 (&Blue Style)|216 Office 2007 (B&lack Style)|217 Office 2007 (&Silver Style)|"
            "218 Office 2007 (&Aqua Style)|219 Win&dows 7");
  EXPECT_EQ(ribbon.mainCategory.panels[0].items.back().width, 300);

  std::vector<int> quick;
  for (size_t i = 0; i < frame_->m_wndRibbonHost->m_quickAccess->GetToolCount(); ++i)
    quick.push_back(CommandOfMenuItemId(frame_->m_wndRibbonHost->m_quickAccess->FindToolByIndex(i)->GetId()));
  EXPECT_EQ(quick, (std::vector<int>{57600, 57601, 57603, 57608}));
  wxAuiToolBar* tabBar = frame_->m_wndRibbonHost->m_tabBarTools;
  ASSERT_EQ(tabBar->GetToolCount(), 2u);
  EXPECT_EQ(tabBar->FindToolByIndex(0)->GetLabel(), "Style");
  EXPECT_TRUE(tabBar->FindToolByIndex(0)->HasDropDown());
  EXPECT_EQ(CommandOfMenuItemId(tabBar->FindToolByIndex(1)->GetId()), 57664);

  const auto text = [](const wxString& tip) { return tip.ToStdString(); };
  std::string tips = text(ribbon.applicationButtonKeyTip) + " " + text(print.keyTip) + text(print.menuKeyTip) + " " +
                     text(ribbon.tabBar[0].keyTip) + text(ribbon.tabBar[1].keyTip);
  for (const RibbonCategory& category : ribbon.categories) {
    tips += " " + text(category.keyTip) + ":";
    for (const RibbonPanel& panel : category.panels) {
      tips += " " + text(panel.keyTip) + "(";
      for (const RibbonItem& item : panel.items) tips += text(item.keyTip);
      tips += ")";
    }
  }
  EXPECT_EQ(tips, "F PW SA H: D(VXCA) (S) F(FNR) W(W) ()");
}

TEST_F(FrameTest, RibbonButtonsShowTheirStateAndADoubleClickedTabFoldsTheRibbon) {
  wxRibbonButtonBar* clipboard = HomeButtons(frame_->m_wndRibbonBar, "Clipboard");
  wxRibbonButtonBar* view = HomeButtons(frame_->m_wndRibbonBar, "View");
  ASSERT_TRUE(clipboard && view);
  const auto picture = [](wxRibbonButtonBar* bar, int command) {
    static_cast<wxWindow*>(bar)->UpdateWindowUI(wxUPDATE_UI_NONE);
    return Grab(bar, bar->GetItemRect(MenuItemIdOfCommand(command)));
  };
  const wxImage copyDisabled = picture(clipboard, ids::ID_EDIT_COPY);
  const wxImage statusChecked = picture(view, ids::ID_VIEW_STATUS_BAR);
  NewDocument();
  EXPECT_GT(Differing(copyDisabled, picture(clipboard, ids::ID_EDIT_COPY)), 20);
  Menu(ids::ID_VIEW_STATUS_BAR);
  EXPECT_GT(Differing(statusChecked, picture(view, ids::ID_VIEW_STATUS_BAR)), 20);
  Menu(ids::ID_VIEW_STATUS_BAR);
  EXPECT_EQ(Differing(statusChecked, picture(view, ids::ID_VIEW_STATUS_BAR)), 0);

  // The Home tab lies right of the File tab, in the tab row at the top.
  const int documentsHeight = frame_->GetClientWindow()->GetSize().y;
  const int hostHeight = frame_->m_wndRibbonHost->GetSize().y;
  wxUIActionSimulator mouse;
  mouse.MouseMove(frame_->m_wndRibbonBar->ClientToScreen(wxPoint(140, 10)));
  Pump();
  mouse.MouseDblClick();
  Pump();
  ASSERT_FALSE(frame_->m_wndRibbonBar->ArePanelsShown());
  EXPECT_LT(frame_->m_wndRibbonHost->GetSize().y, hostHeight - 40);
  EXPECT_GT(frame_->GetClientWindow()->GetSize().y, documentsHeight + 40);
  wxMilliSleep(800);  // a new double-click, not the third click of one
  Pump();
  mouse.MouseDblClick();
  Pump();
  EXPECT_TRUE(frame_->m_wndRibbonBar->ArePanelsShown());
  EXPECT_EQ(frame_->m_wndRibbonHost->GetSize().y, hostHeight);
  EXPECT_EQ(frame_->GetClientWindow()->GetSize().y, documentsHeight);
}

TEST_F(FrameTest, MenuBarIs128WithoutDocumentTheDocumentKindsMenuWithOneAndListsRecentFiles) {
  EXPECT_EQ(Flatten(frame_->GetMenuBar()), kMenu128);
  NewDocument(first_);
  EXPECT_EQ(Flatten(frame_->GetMenuBar()), kMenu130Head + "|131 &Windows...}" + kHelp);
  NewDocument(second_);
  EXPECT_EQ(Flatten(frame_->GetMenuBar()), kHelp);
  manager_->CloseDocuments(true);
  Pump();
  EXPECT_EQ(Flatten(frame_->GetMenuBar()), kMenu128);
  // The recent-file list takes the place of its placeholder.
  manager_->AddFileToHistory("/tmp/a&b.vorn");
  manager_->AddFileToHistory("/tmp/second.vorn2");
  frame_->RefreshRecentFileMenu(frame_->GetMenuBar());
  EXPECT_EQ(Flatten(frame_->GetMenuBar()->GetMenu(0)),
            "57600 &New\tCtrl+N|57601 &Open...\tCtrl+O|57602 &Close|-|57606 P&rint Setup...|-|"
            "57616 &1 /tmp/second.vorn2|57617 &2 /tmp/a&&b.vorn|-|57665 E&xit");
  EXPECT_TRUE(frame_->QueryCommand(57617).enabled);
  EXPECT_FALSE(frame_->QueryCommand(57618).enabled);
  EXPECT_EQ(Flatten(frame_->m_wndRibbonHost->RecentDocumentsMenu().get()),
            "57616 &1 /tmp/second.vorn2|57617 &2 /tmp/a&&b.vorn");
  manager_->RemoveFileFromHistory(1);
  manager_->RemoveFileFromHistory(0);
  frame_->RefreshRecentFileMenu(frame_->GetMenuBar());
  EXPECT_EQ(Flatten(frame_->GetMenuBar()->GetMenu(0)), Flatten(LoadMainMenu()->GetMenu(0)));
  EXPECT_FALSE(frame_->QueryCommand(57616).enabled);
}

TEST_F(FrameTest, CommandsAreEnabledByTheirRouteAndDisabledOnesDoNotRun) {
  const std::tuple<int, bool, bool> cases[] = {  // command, enabled without and with a document
      {57636, false, false}, {57640, false, false}, {57641, false, false}, {57613, false, false},
      {57600, true, true},   {57601, true, true},   {57602, false, true},  {57603, false, true},
      {57604, false, true},  {57606, true, true},   {57648, false, true},  {57665, true, true},
      {57634, false, true},  {57635, false, false}, {57637, false, false}, {131, true, true},
      {133, true, true},     {32772, true, true},   {59393, true, true},   {215, true, true},
      {57680, true, true},   {57607, false, true}};
  for (const auto& [command, without, with] : cases) EXPECT_EQ(frame_->QueryCommand(command).enabled, without) << command;
  FrameTestView* view = NewDocument();
  for (const auto& [command, without, with] : cases) EXPECT_EQ(frame_->QueryCommand(command).enabled, with) << command;

  // Through the menu items' ids: Copy reaches the view, the disabled Cut not.
  Menu(ids::ID_EDIT_COPY);
  Menu(ids::ID_EDIT_CUT);
  EXPECT_EQ(view->commands, std::vector<int>{ids::ID_EDIT_COPY});
  EXPECT_FALSE(frame_->ExecuteCommand(ids::ID_EDIT_CUT));
  EXPECT_FALSE(frame_->ExecuteCommand(ids::ID_EDIT_FIND));

  // A ribbon button's update-UI and click travel up from the ribbon to the same route.
  wxRibbonButtonBar* clipboard = HomeButtons(frame_->m_wndRibbonBar, "Clipboard");
  ASSERT_NE(clipboard, nullptr);
  for (const auto& [command, enabled] : std::vector<std::pair<int, bool>>{{57634, true}, {57635, false}, {57637, false}}) {
    wxUpdateUIEvent update(MenuItemIdOfCommand(command));
    update.SetEventObject(clipboard);
    clipboard->ProcessWindowEvent(update);
    EXPECT_TRUE(update.GetSetEnabled() && update.GetEnabled() == enabled) << command;
  }
  const int copy = MenuItemIdOfCommand(ids::ID_EDIT_COPY);
  wxRibbonButtonBarEvent click(wxEVT_RIBBONBUTTONBAR_CLICKED, copy, clipboard, clipboard->GetItemById(copy));
  click.SetEventObject(clipboard);
  clipboard->ProcessWindowEvent(click);
  EXPECT_EQ(view->commands, (std::vector<int>{ids::ID_EDIT_COPY, ids::ID_EDIT_COPY}));
}

// New Window adds a view of the active document in its own window; go-to-line
// reaches every view of the active document, and is taken without one.
TEST_F(FrameTest, NewWindowAndGotoLineReachEveryViewOfTheActiveDocumentOnly) {
  FrameTestView* first = NewDocument();
  Menu(ids::ID_WINDOW_NEW);
  ASSERT_EQ(first->GetDocument()->GetViewsVector().size(), 2u);
  auto* second = static_cast<FrameTestView*>(first->GetDocument()->GetViewsVector()[1]);
  EXPECT_NE(second->GetFrame(), first->GetFrame());
  EXPECT_EQ(frame_->GetNotebook()->GetPageCount(), 2u);
  wxCommandEvent go = MakeGotoLineEvent(7);
  EXPECT_TRUE(frame_->ProcessWindowEvent(go));
  EXPECT_EQ(first->lines, std::vector<int>{7});
  EXPECT_EQ(second->lines, std::vector<int>{7});

  FrameTestView* other = NewDocument();
  wxCommandEvent again = MakeGotoLineEvent(3);
  frame_->ProcessWindowEvent(again);
  EXPECT_EQ(other->lines, std::vector<int>{3});
  EXPECT_EQ(first->lines, std::vector<int>{7});

  manager_->CloseDocuments(true);
  Pump();
  wxCommandEvent none = MakeGotoLineEvent(5);
  EXPECT_TRUE(frame_->ProcessWindowEvent(none));
}

TEST_F(FrameTest, EveryLookLooksDifferentIsStoredAndCarriesTheMark) {
  std::set<std::tuple<wxUint32, wxUint32, wxUint32, wxUint32>> seen;
  for (int look : kLooks) {
    Menu(look);
    EXPECT_EQ(frame_->m_nAppLook, look);
    EXPECT_EQ(StoredLook(), look);
    EXPECT_TRUE(seen.insert(LookColours()).second) << look << " looks like another look";
    for (int other : kLooks) {
      const CommandState state = frame_->QueryCommand(other);
      EXPECT_TRUE(state.enabled && state.setChecked);
      EXPECT_EQ(state.checked, other == look) << look << " " << other;
    }
  }
  // The View menu's items and the ribbon's Style menu carry the mark too.
  Menu(ids::ID_VIEW_APPLOOK_OFF_2003);
  wxMenu* lookMenu = frame_->GetMenuBar()->GetMenu(1)->FindItemByPosition(1)->GetSubMenu();
  lookMenu->UpdateUI(frame_);
  for (int look : {205, 206, 207, 208, 209, 210}) EXPECT_EQ(lookMenu->IsChecked(look), look == 208) << look;
  Menu(ids::ID_VIEW_APPLOOK_OFF_2007_BLACK);
  std::unique_ptr<wxMenu> style = CRibbonHost::MenuOfItem(LoadRibbonDescription().tabBar[0]);
  style->UpdateUI(frame_->m_wndRibbonHost->m_tabBarTools->GetEventHandler());
  for (int look : {215, 216, 217, 218, 219}) EXPECT_EQ(style->IsChecked(look), look == 216) << look;
}

// First start: 210. A switch shows and survives a restart; an unknown stored
// look gives Office 2007 in its last style and stays stored.
TEST_F(FrameTest, TheLookStartsAt210AndIsKeptAcrossRestartsUnknownOnesToo) {
  EXPECT_EQ(frame_->m_nAppLook, 210);
  EXPECT_EQ(StoredLook(), 210);
  const wxImage before = Grab(frame_->m_wndRibbonBar);
  const auto coloursBefore = LookColours();
  Menu(ids::ID_VIEW_APPLOOK_OFF_2007_SILVER);
  const auto silver = LookColours();
  EXPECT_NE(silver, coloursBefore);
  EXPECT_GT(Differing(before, Grab(frame_->m_wndRibbonBar)), before.GetWidth() * 10);
  Menu(ids::ID_VIEW_APPLOOK_WINDOWS_7);
  const auto windows7 = LookColours();
  CloseFrame();
  OpenFrame();
  EXPECT_EQ(frame_->m_nAppLook, ids::ID_VIEW_APPLOOK_WINDOWS_7);
  EXPECT_EQ(StoredLook(), ids::ID_VIEW_APPLOOK_WINDOWS_7);
  EXPECT_EQ(LookColours(), windows7);
  for (long unknown : {300L, 211L, -4L}) {
    CloseFrame();
    wxConfigBase::Get()->Write("/Workspace/ApplicationLook", unknown);
    OpenFrame();
    EXPECT_EQ(frame_->m_nAppLook, unknown);
    EXPECT_EQ(StoredLook(), unknown);
    EXPECT_EQ(LookColours(), silver) << unknown;
    for (int look : kLooks) EXPECT_FALSE(frame_->QueryCommand(look).checked) << look;
  }
  EXPECT_TRUE(AppLookSchemeOf(219).windows7Ribbon);
  EXPECT_FALSE(AppLookSchemeOf(300).windows7Ribbon);
}

TEST_F(FrameTest, PanesAreDockedWithTheirCaptionsAndTheirCommandsBringThemBackFocused) {
  wxAuiNotebook* tabs = frame_->m_wndPaneTabs;
  ASSERT_TRUE(frame_->m_wndClassView && frame_->m_wndFileView && frame_->m_wndOutput);
  ASSERT_EQ(tabs->GetPageCount(), 2u);
  EXPECT_EQ(tabs->GetPageText(0), "File View");
  EXPECT_EQ(tabs->GetPageText(1), "Section View");
  EXPECT_EQ(tabs->GetCurrentPage(), frame_->m_wndClassView);
  EXPECT_EQ(frame_->m_mgr.GetPane(tabs).caption, "Section View");
  EXPECT_EQ(frame_->m_mgr.GetPane(tabs).dock_direction, wxAUI_DOCK_LEFT);
  EXPECT_EQ(frame_->m_mgr.GetPane(frame_->m_wndOutput).caption, "Output");
  EXPECT_EQ(frame_->m_mgr.GetPane(frame_->m_wndOutput).dock_direction, wxAUI_DOCK_BOTTOM);
  EXPECT_TRUE(frame_->IsPaneShown(frame_->m_wndClassView));
  EXPECT_FALSE(frame_->IsPaneShown(frame_->m_wndFileView));  // behind the Section View
  EXPECT_TRUE(frame_->IsPaneShown(frame_->m_wndOutput));

  const std::pair<int, wxWindow*> cases[] = {
      {ids::ID_VIEW_CLASSVIEW, frame_->m_wndClassView}, {ids::ID_ShowClassView, frame_->m_wndClassView},
      {ids::ID_VIEW_FILEVIEW, frame_->m_wndFileView},   {ids::ID_ViewFileView, frame_->m_wndFileView},
      {ids::ID_VIEW_OUTPUTWND, frame_->m_wndOutput},    {ids::ID_ViewOutput, frame_->m_wndOutput}};
  for (const auto& [command, pane] : cases) {
    wxWindow* docked = pane == frame_->m_wndOutput ? pane : static_cast<wxWindow*>(tabs);
    frame_->m_mgr.ClosePane(frame_->m_mgr.GetPane(docked));
    frame_->m_mgr.Update();
    Pump();
    ASSERT_FALSE(frame_->IsPaneShown(pane)) << command;
    Menu(command);
    EXPECT_TRUE(frame_->IsPaneShown(pane)) << command;
    EXPECT_TRUE(ContainsFocus(pane)) << command;
    EXPECT_EQ(frame_->m_mgr.GetPane(docked).caption, docked == pane ? "Output" : tabs->GetPageText(tabs->GetSelection()));
  }
}

// The accelerator keys run their commands through the route; F6 and Shift+F6
// move the focus round the document and the panes.
TEST_F(FrameTest, KeysRunTheirCommandsAndF6MovesTheFocusRound) {
  FrameTestView* view = NewDocument();
  view->window->SetFocus();
  Pump();
  ASSERT_TRUE(ContainsFocus(frame_->GetActiveChild()));
  wxUIActionSimulator keys;
  keys.Char(WXK_INSERT, wxMOD_CONTROL);  // Copy
  Pump();
  keys.Char('X', wxMOD_CONTROL);  // Cut, disabled by the view
  Pump();
  EXPECT_EQ(view->commands, std::vector<int>{ids::ID_EDIT_COPY});
  const std::pair<int, wxWindow*> steps[] = {{wxMOD_NONE, frame_->m_wndClassView}, {wxMOD_NONE, frame_->m_wndOutput},
                                             {wxMOD_NONE, frame_->GetActiveChild()}, {wxMOD_SHIFT, frame_->m_wndOutput},
                                             {wxMOD_SHIFT, frame_->m_wndClassView}};
  for (const auto& [modifiers, focused] : steps) {
    keys.Char(WXK_F6, modifiers);
    Pump();
    EXPECT_TRUE(ContainsFocus(focused)) << focused->GetName();
  }
}

// A real click on a pane's tab changes that pane's page and nothing else,
// whatever the tab's place: not the active document (the tab strip of the
// documents would take the pane's page for one of its own), and the program
// lives on. So does a click on a row of an Output list. The documents' own
// tabs still switch documents.
TEST_F(FrameTest, ClickingAPanesTabChangesOnlyThatPane) {
  // A wx assert fails the test instead of waiting in a dialog.
  const wxAssertHandler_t oldAssert = wxSetAssertHandler(
      [](const wxString& file, int line, const wxString&, const wxString& cond, const wxString& msg) {
        ADD_FAILURE() << "wx assert " << file << ":" << line << " " << cond << " " << msg;
      });
  wxAuiNotebook* output = frame_->m_wndOutput->m_wndTabs;
  wxAuiNotebook* side = frame_->m_wndPaneTabs;
  wxAuiNotebook* documents = frame_->GetNotebook();
  wxUIActionSimulator mouse;
  const auto click = [&](const wxPoint& point) {
    ASSERT_NE(point, wxDefaultPosition);
    mouse.MouseMove(point);
    Pump();
    mouse.MouseClick();
    Pump();
  };
  std::vector<wxWindow*> windows;
  const auto open = [&] {
    windows.push_back(NewDocument()->GetFrame());
    ASSERT_EQ(frame_->GetActiveChild(), windows.back());
  };
  const auto expectDocumentKept = [&](const std::string& what) {
    EXPECT_EQ(frame_->GetActiveChild(), windows.back()) << what;
    EXPECT_EQ(documents->GetCurrentPage(), windows.back()) << what;
  };

  open();
  click(auitabs::TabPoint(output, frame_->m_wndOutput->m_wndOutputDebug));
  EXPECT_EQ(output->GetCurrentPage(), frame_->m_wndOutput->m_wndOutputDebug);
  expectDocumentKept("Debug, one document");
  open();
  click(auitabs::TabPoint(output, frame_->m_wndOutput->m_wndOutputFind));
  EXPECT_EQ(output->GetCurrentPage(), frame_->m_wndOutput->m_wndOutputFind);
  expectDocumentKept("Find, two documents");
  open();
  for (wxWindow* pane : {static_cast<wxWindow*>(frame_->m_wndFileView), static_cast<wxWindow*>(frame_->m_wndClassView)}) {
    const wxString label = side->GetPageText(static_cast<size_t>(side->GetPageIndex(pane)));
    click(auitabs::TabPoint(side, pane));
    EXPECT_EQ(side->GetCurrentPage(), pane) << label;
    EXPECT_EQ(frame_->m_mgr.GetPane(side).caption, label);
    expectDocumentKept(label.ToStdString() + ", three documents");
  }
  click(auitabs::TabPoint(output, frame_->m_wndOutput->m_wndOutputBuild));
  COutputList* build = frame_->m_wndOutput->m_wndOutputBuild;
  const wxRect row = build->GetItemRect(1);
  click(build->ClientToScreen(wxPoint(row.x + 20, row.y + row.height / 2)));
  EXPECT_EQ(build->GetSelection(), 1);
  expectDocumentKept("a row of the Build list");

  click(auitabs::TabPoint(documents, windows.front()));
  EXPECT_EQ(frame_->GetActiveChild(), windows.front());
  EXPECT_EQ(output->GetCurrentPage(), build);
  wxSetAssertHandler(oldAssert);
}

TEST_F(FrameTest, StatusBarShowsPane1AndPane2AndTogglesTheCaptionShowsTheDocumentFirstAndExitClosesAll) {
  wxStatusBar* bar = frame_->m_wndStatusBar;
  ASSERT_TRUE(bar && bar->GetFieldsCount() == 2);
  EXPECT_EQ(bar->GetStatusText(0), "Pane 1");
  EXPECT_EQ(bar->GetStatusText(1), "Pane 2");
  EXPECT_EQ(frame_->GetStatusBarPane(), -1);  // menu prompts leave the texts alone
  EXPECT_TRUE(frame_->QueryCommand(ids::ID_VIEW_STATUS_BAR).checked);
  const int clientHeight = frame_->GetClientSize().y;
  Menu(ids::ID_VIEW_STATUS_BAR);
  EXPECT_FALSE(bar->IsShown());
  EXPECT_FALSE(frame_->QueryCommand(ids::ID_VIEW_STATUS_BAR).checked);
  EXPECT_GT(frame_->GetClientSize().y, clientHeight);
  Menu(ids::ID_VIEW_STATUS_BAR);
  EXPECT_TRUE(bar->IsShown());
  EXPECT_EQ(bar->GetStatusText(0), "Pane 1");

  EXPECT_EQ(frame_->GetTitle(), "Quillmark");
  FrameTestView* view = NewDocument();
  wxIdleEvent idle;
  frame_->ProcessWindowEvent(idle);
  EXPECT_EQ(frame_->GetTitle(), view->GetDocument()->GetUserReadableName() + " - Quillmark");
  // Exit closes the documents and the frame.
  wxWeakRef<CMainFrame> frame(frame_);
  Menu(ids::ID_APP_EXIT);
  EXPECT_FALSE(frame);
  EXPECT_TRUE(manager_->GetDocumentsVector().empty());
  frame_ = nullptr;
}

TEST_F(FrameTest, WindowsDialogListsActivatesAndClosesDocumentWindows) {
  FrameTestView* first = NewDocument();
  NewDocument();
  CWindowsDialog dialog(frame_);
  ASSERT_EQ(dialog.m_wndList->GetCount(), 2u);
  EXPECT_EQ(dialog.m_wndList->GetString(0), static_cast<CChildFrame*>(first->GetFrame())->GetTitle());
  EXPECT_EQ(dialog.m_wndList->GetSelection(), 1);  // the active window
  dialog.m_wndList->SetSelection(0);
  wxCommandEvent press;
  dialog.OnActivate(press);
  EXPECT_EQ(frame_->GetActiveChild(), first->GetFrame());
  dialog.Show();
  dialog.m_wndList->SetSelection(1);
  dialog.OnCloseWindow(press);
  Pump();
  EXPECT_EQ(dialog.m_wndList->GetCount(), 1u);
  EXPECT_EQ(manager_->GetDocumentsVector().size(), 1u);
}

// Print Preview is checked while shown; in preview Print Preview closes it and
// Quick Print prints from it (preview closed, then Print); outside preview
// the commands reach the view.
TEST_F(FrameTest, PrintPreviewIsCheckedPrintsFromPreviewAndClosesOnItsCommand) {
  FrameTestView* view = NewDocument();
  auto* child = static_cast<CChildFrame*>(view->GetFrame());
  EXPECT_FALSE(frame_->QueryCommand(ids::ID_FILE_PRINT_PREVIEW).checked);
  Menu(ids::ID_FILE_PRINT_PREVIEW);
  if (!child->IsInPrintPreview()) GTEST_SKIP() << "no print preview on this display";
  EXPECT_TRUE(frame_->QueryCommand(ids::ID_FILE_PRINT_PREVIEW).checked);
  Menu(ids::ID_FILE_PRINT_PREVIEW);
  EXPECT_FALSE(child->IsInPrintPreview());
  Menu(ids::ID_FILE_PRINT_PREVIEW);
  ASSERT_TRUE(child->IsInPrintPreview());
  Menu(ids::ID_FILE_PRINT_DIRECT);
  EXPECT_FALSE(child->IsInPrintPreview());
  EXPECT_FALSE(frame_->QueryCommand(ids::ID_FILE_PRINT_PREVIEW).checked);
  Menu(ids::ID_FILE_PRINT_DIRECT);
  EXPECT_EQ(view->commands, (std::vector<int>{ids::ID_FILE_PRINT_PREVIEW, ids::ID_FILE_PRINT_PREVIEW,
                                              ids::ID_FILE_PRINT, ids::ID_FILE_PRINT_DIRECT}));
}

}  // namespace
