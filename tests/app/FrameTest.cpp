// The main frame and the document windows: ribbon, menus, accelerators and
// the item-id mapping, the looks and their storage, the panes, command
// routing, go-to-line, the status bar and print preview.
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

namespace {

void Pump() {
  for (int i = 0; i < 5; ++i) {
    wxTheApp->ProcessPendingEvents();
    while (wxTheApp->Pending()) wxTheApp->Dispatch();
    wxYield();
  }
}

// ---- a minimal document and view ----

class FrameTestDoc : public wxDocument {
  wxDECLARE_DYNAMIC_CLASS(FrameTestDoc);
};
wxIMPLEMENT_DYNAMIC_CLASS(FrameTestDoc, wxDocument);

class OnePagePrintout : public wxPrintout {
 public:
  bool OnPrintPage(int) override { return true; }
  bool HasPage(int page) override { return page == 1; }
  void GetPageInfo(int* minPage, int* maxPage, int* from, int* to) override {
    *minPage = *maxPage = *from = *to = 1;
  }
};

// Records go-to-line requests and the commands it carries out; Cut is
// disabled by its update handler, Print Preview opens a preview window.
class FrameTestView : public wxView {
 public:
  std::vector<int> lines;
  std::vector<int> commands;

  bool OnCreate(wxDocument* doc, long flags) override {
    if (!wxView::OnCreate(doc, flags)) return false;
    auto* frame = new CChildFrame(doc, this, GetMainFrame(), wxID_ANY, doc->GetUserReadableName());
    window = new wxWindow(frame, wxID_ANY);
    frame->Show();
    return true;
  }
  void OnDraw(wxDC*) override {}
  wxWindow* window = nullptr;

 private:
  void OnGotoLine(wxCommandEvent& event) { lines.push_back(event.GetInt()); }
  void OnCommand(wxCommandEvent& event) { commands.push_back(event.GetId()); }
  void OnUpdateDisabled(wxUpdateUIEvent& event) { event.Enable(false); }
  void OnPreview(wxCommandEvent& event) {
    commands.push_back(event.GetId());
    auto* preview = new wxPrintPreview(new OnePagePrintout, new OnePagePrintout);
    if (!preview->IsOk()) {
      delete preview;
      return;
    }
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

// ---- menus as text ----

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
const std::string kMenu130 =
    "&File{57600 &New\tCtrl+N|57601 &Open...\tCtrl+O|57602 &Close|57603 &Save\tCtrl+S|57604 Save &As...|-|"
    "57607 &Print...\tCtrl+P|57609 Print Pre&view|57606 P&rint Setup...|-|57616 Recent File|-|57665 E&xit}"
    "&Edit{57643 &Undo\tCtrl+Z|-|57635 Cu&t\tCtrl+X|57634 &Copy\tCtrl+C|57637 &Paste\tCtrl+V}"
    "&View{59393 &Status Bar|" + kLookMenu + "}&Window{57648 &New Window}&Help{57664 &About Quillmark...}";
const std::string kMenu311 = "&Help{57664 &About Quillmark...}";

// ---- the frame under test ----

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

  wxImage GrabRibbon() {
    Pump();
    wxWindow* ribbon = frame_->m_wndRibbonBar;
    ribbon->Refresh();
    ribbon->Update();
    Pump();
    const wxSize size = ribbon->GetClientSize();
    wxBitmap bitmap(size.x, size.y, 24);
    wxMemoryDC dc(bitmap);
    wxClientDC client(ribbon);
    dc.Blit(0, 0, size.x, size.y, &client, 0, 0);
    dc.SelectObject(wxNullBitmap);
    return bitmap.ConvertToImage();
  }

  static bool ContainsFocus(wxWindow* window) {
    for (wxWindow* w = wxWindow::FindFocus(); w; w = w->GetParent())
      if (w == window) return true;
    return false;
  }

  wxString configPath_;
  wxDocManager* manager_ = nullptr;
  wxDocTemplate* first_ = nullptr;
  wxDocTemplate* second_ = nullptr;
  CMainFrame* frame_ = nullptr;
};

// ---- the item-id mapping ----

TEST(ItemIdMapping, EveryIdOfTheHeaderFitsAMenuAndComesBack) {
  using namespace ids;
  const int all[] = {
      ID_FILE_NEW, ID_FILE_OPEN, ID_FILE_CLOSE, ID_FILE_SAVE, ID_FILE_SAVE_AS, ID_FILE_PRINT_SETUP, ID_FILE_PRINT,
      ID_FILE_PRINT_DIRECT, ID_FILE_PRINT_PREVIEW, ID_FILE_NEW_FRAME, ID_FILE_MRU_FILE1, ID_FILE_MRU_FILE1 + 9,
      ID_WINDOW_NEW, ID_APP_ABOUT, ID_APP_EXIT, ID_NEXT_PANE, ID_PREV_PANE, ID_VIEW_STATUS_BAR, ID_PREVIEW_CLOSE,
      ID_PREVIEW_PRINT, ID_EDIT_CLEAR, ID_EDIT_COPY, ID_EDIT_CUT, ID_EDIT_FIND, ID_EDIT_PASTE, ID_EDIT_REPEAT,
      ID_EDIT_REPLACE, ID_EDIT_SELECT_ALL, ID_EDIT_UNDO, ID_EDIT_REDO, IDR_MAINFRAME, ID_STATUSBAR_PANE1,
      ID_STATUSBAR_PANE2, ID_WINDOW_MANAGER, ID_VIEW_FILEVIEW, ID_VIEW_CLASSVIEW, ID_VIEW_OUTPUTWND, IDR_RIBBON,
      ID_VIEW_APPLOOK_WIN_2000, ID_VIEW_APPLOOK_OFF_XP, ID_VIEW_APPLOOK_WIN_XP, ID_VIEW_APPLOOK_OFF_2003,
      ID_VIEW_APPLOOK_VS_2005, ID_VIEW_APPLOOK_VS_2008, ID_VIEW_APPLOOK_OFF_2007_BLUE,
      ID_VIEW_APPLOOK_OFF_2007_BLACK, ID_VIEW_APPLOOK_OFF_2007_SILVER, ID_VIEW_APPLOOK_OFF_2007_AQUA,
      ID_VIEW_APPLOOK_WINDOWS_7, ID_ShowClassView, ID_ViewFileView, ID_ViewOutput, ID_ButtonFindTarn,
      ID_ButtonLoadRam, ID_TarnCompile, ID_TarnLoadEeprom, IDR_QuillmarkTYPE, IDR_Vorn2EditTYPE, ID_PROPERTIES,
      ID_OPEN, ID_OPEN_WITH, ID_DUMMY_COMPILE, ID_CLASS_ADD_MEMBER_FUNCTION, ID_CLASS_ADD_MEMBER_VARIABLE,
      ID_CLASS_DEFINITION, ID_CLASS_PROPERTIES, ID_NEW_FOLDER, ID_SORTING_GROUPBYTYPE, ID_SORTING_SORTALPHABETIC,
      ID_SORTING_SORTBYTYPE, ID_SORTING_SORTBYACCESS, IDR_POPUP_EDIT, IDR_POPUP_SORT, IDR_POPUP_EXPLORER,
      IDR_OUTPUT_POPUP, IDC_SECTION_TREE, IDC_FILE_TREE, IDC_OUTPUT_TABS, IDC_OUTPUT_BUILD, IDC_OUTPUT_DEBUG,
      IDC_OUTPUT_FIND, IDD_ABOUTBOX, IDD_QUILLMARK_FORM, IDD_PORT, IDC_COLOR_EDIT, IDR_EDITOR_CONTEXT_MENU,
      IDR_EDITOR_ACCELERATORS, IDT_SECTION_VIEW, WM_GOTOLINE, IDS_STATUS_PANE1, IDS_STATUS_PANE2, IDS_FILE_VIEW,
      IDS_CLASS_VIEW, IDS_OUTPUT_WND};
  std::set<int> commands(std::begin(all), std::end(all));
  std::set<int> items;
  for (int command : commands) {
    const int item = MenuItemIdOfCommand(command);
    EXPECT_LT(item, 0x7FFF) << command;
    EXPECT_GT(item, 0) << command;
    EXPECT_EQ(CommandOfMenuItemId(item), command) << command;
    EXPECT_TRUE(items.insert(item).second) << "two commands share item " << item;
    const bool moved = command >= 0x7FFF;
    EXPECT_EQ(item != command, moved) << command;
    if (moved) {
      EXPECT_TRUE(item >= kFirstAliasedItem && item <= kLastAliasedItem) << command;
    }
  }
  // The borders of both moved ranges, and ids that stay as they are.
  const std::vector<std::pair<int, int>> borders = {{0xE000, 0x6000}, {0xEFFF, 0x6FFF}, {0x8000, 0x7000},
                                                    {0x8FFE, 0x7FFE}, {0x8FFF, 0x8FFF}, {0xDFFF, 0xDFFF},
                                                    {0xF000, 0xF000}, {0x5FFF, 0x5FFF}, {0x7FFF, 0x7FFF}};
  for (const auto& [command, item] : borders) {
    EXPECT_EQ(MenuItemIdOfCommand(command), item) << command;
    if (item != command) {
      EXPECT_EQ(CommandOfMenuItemId(item), command) << item;
    }
  }
}

// ---- resources: menus and accelerators ----

TEST(ShellResourcesTest, MenusHoldTheirItemsTextsAndCommands) {
  EXPECT_EQ(Flatten(LoadMainMenu().get()), kMenu128);
  EXPECT_EQ(Flatten(LoadDocumentMenu(ids::IDR_QuillmarkTYPE).get()), kMenu130);
  EXPECT_EQ(Flatten(LoadDocumentMenu(ids::IDR_Vorn2EditTYPE).get()), kMenu311);
  EXPECT_EQ(LoadDocumentMenu(ids::IDR_MAINFRAME), nullptr);
  EXPECT_EQ(Flatten(LoadViewContextMenu().get()), "57635 Cu&t\tCtrl+X|57634 &Copy\tCtrl+C|57637 &Paste\tCtrl+V");
}

TEST(ShellResourcesTest, AcceleratorTable128) {
  struct Entry {
    int flags, key, command;
  };
  const std::vector<Entry> expected = {
      {wxACCEL_CTRL, 'N', 57600},          {wxACCEL_CTRL, 'O', 57601},          {wxACCEL_CTRL, 'S', 57603},
      {wxACCEL_CTRL, 'P', 57607},          {wxACCEL_CTRL, 'Z', 57643},          {wxACCEL_ALT, WXK_BACK, 57643},
      {wxACCEL_CTRL, 'X', 57635},          {wxACCEL_SHIFT, WXK_DELETE, 57635},  {wxACCEL_CTRL, 'C', 57634},
      {wxACCEL_CTRL, WXK_INSERT, 57634},   {wxACCEL_CTRL, 'V', 57637},          {wxACCEL_SHIFT, WXK_INSERT, 57637},
      {wxACCEL_NORMAL, WXK_F6, 57680},     {wxACCEL_SHIFT, WXK_F6, 57681}};
  const std::vector<wxAcceleratorEntry> entries = MainAcceleratorEntries();
  ASSERT_EQ(entries.size(), expected.size());
  for (size_t i = 0; i < entries.size(); ++i) {
    EXPECT_EQ(entries[i].GetFlags(), expected[i].flags) << i;
    EXPECT_EQ(entries[i].GetKeyCode(), expected[i].key) << i;
    EXPECT_EQ(CommandOfMenuItemId(entries[i].GetCommand()), expected[i].command) << i;
    EXPECT_LT(entries[i].GetCommand(), 0x7FFF) << i;
  }
  EXPECT_TRUE(LoadMainAccelerators().IsOk());
}

TEST(ShellResourcesTest, Strings) {
  const std::vector<std::pair<int, const char*>> strings = {
      {122, "Pane 1"},      {123, "Pane 2"},         {131, "&Windows..."}, {155, "File View"},
      {156, "Section View"}, {157, "Output"}, {32772, "Activate the Section View panel"}, {124, ""}};
  for (const auto& [id, text] : strings) EXPECT_EQ(LoadShellString(id), wxString(text)) << id;
}

// ---- the ribbon ----

struct ExpectedButton {
  int command;  // 0: the recent-file list's button
  const char* label;
};
struct ExpectedPanel {
  const char* label;
  std::vector<ExpectedButton> buttons;
};
struct ExpectedPage {
  const char* label;
  std::vector<ExpectedPanel> panels;
};

TEST_F(FrameTest, RibbonHasEveryCategoryPanelAndButtonOfItsTable) {
  const std::vector<ExpectedPage> expected = {
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
    wxRibbonPage* page = ribbon->GetPage(static_cast<int>(p));
    EXPECT_EQ(page->GetLabel(), expected[p].label);
    std::vector<wxRibbonPanel*> panels;
    for (wxWindow* child : page->GetChildren())
      if (auto* panel = dynamic_cast<wxRibbonPanel*>(child)) panels.push_back(panel);
    ASSERT_EQ(panels.size(), expected[p].panels.size()) << expected[p].label;
    for (size_t n = 0; n < panels.size(); ++n) {
      const ExpectedPanel& want = expected[p].panels[n];
      EXPECT_EQ(panels[n]->GetLabel(), want.label);
      wxRibbonButtonBar* bar = nullptr;
      for (wxWindow* child : panels[n]->GetChildren())
        if (auto* b = dynamic_cast<wxRibbonButtonBar*>(child)) bar = b;
      ASSERT_NE(bar, nullptr);
      ASSERT_EQ(bar->GetButtonCount(), want.buttons.size()) << want.label;
      for (size_t b = 0; b < want.buttons.size(); ++b) {
        wxRibbonButtonBarButtonBase* button = bar->GetItem(b);
        const int id = bar->GetItemId(button);
        EXPECT_LT(id, 0x7FFF);
        const int command = id == frame_->m_wndRibbonHost->RecentDocumentsId() ? 0 : CommandOfMenuItemId(id);
        EXPECT_EQ(command, want.buttons[b].command) << want.buttons[b].label;
        auto* data = static_cast<CRibbonButtonData*>(bar->GetItemClientObject(button));
        ASSERT_NE(data, nullptr);
        EXPECT_EQ(data->m_label, want.buttons[b].label);
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
  const RibbonItem& windows = ribbon.categories[0].panels[3].items[0];
  EXPECT_EQ(Flatten(CRibbonHost::MenuOfItem(windows).get()), "57648 &New Window");
  EXPECT_EQ(Flatten(CRibbonHost::MenuOfItem(ribbon.tabBar[0]).get()),
            "215 Office 2007 (&Blue Style)|216 Office 2007 (B&lack Style)|217 Office 2007 (&Silver Style)|"
            "218 Office 2007 (&Aqua Style)|219 Win&dows 7");
  EXPECT_EQ(ribbon.mainCategory.panels[0].items.back().width, 300);

  // The quick access toolbar and the tools right of the tabs.
  std::vector<int> quick;
  for (size_t i = 0; i < frame_->m_wndRibbonHost->m_quickAccess->GetToolCount(); ++i)
    quick.push_back(CommandOfMenuItemId(frame_->m_wndRibbonHost->m_quickAccess->FindToolByIndex(i)->GetId()));
  EXPECT_EQ(quick, (std::vector<int>{57600, 57601, 57603, 57608}));
  wxAuiToolBar* tabBar = frame_->m_wndRibbonHost->m_tabBarTools;
  ASSERT_EQ(tabBar->GetToolCount(), 2u);
  EXPECT_EQ(tabBar->FindToolByIndex(0)->GetLabel(), "Style");
  EXPECT_TRUE(tabBar->FindToolByIndex(0)->HasDropDown());
  EXPECT_EQ(CommandOfMenuItemId(tabBar->FindToolByIndex(1)->GetId()), 57664);
  EXPECT_EQ(tabBar->FindToolByIndex(1)->GetLabel(), "");

  // Key tips as the description gives them.
  std::string tips = std::string(wxString(ribbon.applicationButtonKeyTip).ToStdString()) + " " +
                     wxString(print.keyTip).ToStdString() + wxString(print.menuKeyTip).ToStdString() + " " +
                     wxString(ribbon.tabBar[0].keyTip).ToStdString() + wxString(ribbon.tabBar[1].keyTip).ToStdString();
  for (const RibbonCategory& category : ribbon.categories) {
    tips += std::string(" ") + wxString(category.keyTip).ToStdString() + ":";
    for (const RibbonPanel& panel : category.panels) {
      tips += std::string(" ") + wxString(panel.keyTip).ToStdString() + "(";
      for (const RibbonItem& item : panel.items) tips += wxString(item.keyTip).ToStdString();
      tips += ")";
    }
  }
  EXPECT_EQ(tips, "F PW SA H: D(VXCA) (S) F(FNR) W(W) ()");
}

// The picture of one ribbon button as the screen shows it, after the ribbon
// ran its update-UI.
wxImage ButtonPicture(wxRibbonButtonBar* bar, int command) {
  static_cast<wxWindow*>(bar)->UpdateWindowUI(wxUPDATE_UI_NONE);
  bar->Refresh();
  bar->Update();
  Pump();
  const wxRect rect = bar->GetItemRect(MenuItemIdOfCommand(command));
  wxBitmap bitmap(rect.width, rect.height, 24);
  wxMemoryDC dc(bitmap);
  wxClientDC client(bar);
  dc.Blit(0, 0, rect.width, rect.height, &client, rect.x, rect.y);
  dc.SelectObject(wxNullBitmap);
  return bitmap.ConvertToImage();
}

int Differing(const wxImage& a, const wxImage& b) {
  int count = 0;
  for (int y = 0; y < std::min(a.GetHeight(), b.GetHeight()); ++y)
    for (int x = 0; x < std::min(a.GetWidth(), b.GetWidth()); ++x)
      count += a.GetRed(x, y) != b.GetRed(x, y) || a.GetGreen(x, y) != b.GetGreen(x, y) ||
               a.GetBlue(x, y) != b.GetBlue(x, y);
  return count;
}

wxRibbonButtonBar* HomeButtons(wxRibbonBar* ribbon, const wxString& panelLabel) {
  for (wxWindow* child : ribbon->GetPage(1)->GetChildren())
    if (auto* panel = dynamic_cast<wxRibbonPanel*>(child))
      if (panel->GetLabel() == panelLabel) return dynamic_cast<wxRibbonButtonBar*>(panel->GetChildren().front());
  return nullptr;
}

TEST_F(FrameTest, RibbonButtonsShowTheirUpdateUIState) {
  wxRibbonButtonBar* clipboard = HomeButtons(frame_->m_wndRibbonBar, "Clipboard");
  wxRibbonButtonBar* view = HomeButtons(frame_->m_wndRibbonBar, "View");
  ASSERT_TRUE(clipboard && view);
  const wxImage copyDisabled = ButtonPicture(clipboard, ids::ID_EDIT_COPY);
  const wxImage statusChecked = ButtonPicture(view, ids::ID_VIEW_STATUS_BAR);
  NewDocument();
  const wxImage copyEnabled = ButtonPicture(clipboard, ids::ID_EDIT_COPY);
  EXPECT_GT(Differing(copyDisabled, copyEnabled), 20);
  Menu(ids::ID_VIEW_STATUS_BAR);
  const wxImage statusUnchecked = ButtonPicture(view, ids::ID_VIEW_STATUS_BAR);
  EXPECT_GT(Differing(statusChecked, statusUnchecked), 20);
  Menu(ids::ID_VIEW_STATUS_BAR);
  EXPECT_EQ(Differing(statusChecked, ButtonPicture(view, ids::ID_VIEW_STATUS_BAR)), 0);
}

TEST_F(FrameTest, DoubleClickOnTheActiveTabFoldsTheRibbonAndTheDocumentsTakeTheRoom) {
  wxRibbonBar* ribbon = frame_->m_wndRibbonBar;
  const int documentsHeight = frame_->GetClientWindow()->GetSize().y;
  const int hostHeight = frame_->m_wndRibbonHost->GetSize().y;
  // The Home tab lies right of the File tab, in the tab row at the top.
  wxUIActionSimulator mouse;
  mouse.MouseMove(ribbon->ClientToScreen(wxPoint(140, 10)));
  Pump();
  mouse.MouseDblClick();
  Pump();
  ASSERT_FALSE(ribbon->ArePanelsShown());
  EXPECT_LT(frame_->m_wndRibbonHost->GetSize().y, hostHeight - 40);
  EXPECT_GT(frame_->GetClientWindow()->GetSize().y, documentsHeight + 40);
  wxMilliSleep(800);  // a new double-click, not the third click of one
  Pump();
  mouse.MouseDblClick();
  Pump();
  EXPECT_TRUE(ribbon->ArePanelsShown());
  EXPECT_EQ(frame_->m_wndRibbonHost->GetSize().y, hostHeight);
  EXPECT_EQ(frame_->GetClientWindow()->GetSize().y, documentsHeight);
}

// ---- menus of the frame and the document windows ----

TEST_F(FrameTest, MenuBarIs128WithoutDocumentAndTheDocumentKindsMenuWithOne) {
  EXPECT_EQ(Flatten(frame_->GetMenuBar()), kMenu128);
  NewDocument(first_);
  EXPECT_EQ(Flatten(frame_->GetMenuBar()),
            kMenu130.substr(0, kMenu130.find("57648 &New Window")) + "57648 &New Window|131 &Windows...}" +
                "&Help{57664 &About Quillmark...}");
  NewDocument(second_);
  EXPECT_EQ(Flatten(frame_->GetMenuBar()), kMenu311);
  manager_->CloseDocuments(true);
  Pump();
  EXPECT_EQ(Flatten(frame_->GetMenuBar()), kMenu128);
}

TEST_F(FrameTest, RecentFileListTakesThePlaceOfItsPlaceholder) {
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

// ---- command routing ----

TEST_F(FrameTest, CommandsAreEnabledByTheirRouteAndDisabledOnesDoNotRun) {
  struct Case {
    int command;
    bool withoutDocument, withDocument;
  };
  const std::vector<Case> cases = {
      {57636, false, false}, {57640, false, false}, {57641, false, false}, {57613, false, false},
      {57600, true, true},   {57601, true, true},   {57602, false, true},  {57603, false, true},
      {57604, false, true},  {57606, true, true},   {57648, false, true},  {57665, true, true},
      {57634, false, true},  {57635, false, false}, {57637, false, false}, {131, true, true},
      {133, true, true},     {32772, true, true},   {59393, true, true},   {215, true, true},
      {57680, true, true},   {57607, false, true}};
  for (const Case& c : cases) EXPECT_EQ(frame_->QueryCommand(c.command).enabled, c.withoutDocument) << c.command;
  FrameTestView* view = NewDocument();
  for (const Case& c : cases) EXPECT_EQ(frame_->QueryCommand(c.command).enabled, c.withDocument) << c.command;

  // Through the menu items' ids: Copy reaches the view, the disabled Cut not.
  Menu(ids::ID_EDIT_COPY);
  Menu(ids::ID_EDIT_CUT);
  EXPECT_EQ(view->commands, std::vector<int>{ids::ID_EDIT_COPY});
  EXPECT_FALSE(frame_->ExecuteCommand(ids::ID_EDIT_CUT));
  EXPECT_FALSE(frame_->ExecuteCommand(ids::ID_EDIT_FIND));

  // A ribbon button's update-UI travels up from the ribbon to the same route.
  wxRibbonButtonBar* clipboard = nullptr;
  for (wxWindow* child : frame_->m_wndRibbonBar->GetPage(1)->GetChildren())
    if (auto* panel = dynamic_cast<wxRibbonPanel*>(child))
      if (panel->GetLabel() == "Clipboard") clipboard = dynamic_cast<wxRibbonButtonBar*>(panel->GetChildren().front());
  ASSERT_NE(clipboard, nullptr);
  for (const auto& [command, enabled] : std::vector<std::pair<int, bool>>{{57634, true}, {57635, false}, {57637, false}}) {
    wxUpdateUIEvent update(MenuItemIdOfCommand(command));
    update.SetEventObject(clipboard);
    clipboard->ProcessWindowEvent(update);
    EXPECT_TRUE(update.GetSetEnabled()) << command;
    EXPECT_EQ(update.GetEnabled(), enabled) << command;
  }

  // A ribbon click arrives as a menu event and is routed the same way.
  wxRibbonButtonBarEvent click(wxEVT_RIBBONBUTTONBAR_CLICKED, MenuItemIdOfCommand(ids::ID_EDIT_COPY), clipboard,
                               clipboard->GetItemById(MenuItemIdOfCommand(ids::ID_EDIT_COPY)));
  click.SetEventObject(clipboard);
  clipboard->ProcessWindowEvent(click);
  EXPECT_EQ(view->commands, (std::vector<int>{ids::ID_EDIT_COPY, ids::ID_EDIT_COPY}));
}

TEST_F(FrameTest, NewWindowAddsAViewOfTheActiveDocumentInItsOwnWindow) {
  FrameTestView* first = NewDocument();
  wxDocument* doc = first->GetDocument();
  Menu(ids::ID_WINDOW_NEW);
  ASSERT_EQ(doc->GetViewsVector().size(), 2u);
  EXPECT_NE(doc->GetViewsVector()[1]->GetFrame(), first->GetFrame());
  EXPECT_EQ(frame_->GetNotebook()->GetPageCount(), 2u);
  EXPECT_EQ(frame_->GetActiveDocument(), doc);
}

TEST_F(FrameTest, ExitClosesTheFrame) {
  NewDocument();
  wxWeakRef<CMainFrame> frame(frame_);
  Menu(ids::ID_APP_EXIT);
  Pump();
  EXPECT_FALSE(frame);
  EXPECT_TRUE(manager_->GetDocumentsVector().empty());
  frame_ = nullptr;
  wxTheApp->SetTopWindow(nullptr);
}

// ---- go-to-line ----

TEST_F(FrameTest, GotoLineReachesEveryViewOfTheActiveDocumentOnly) {
  FrameTestView* first = NewDocument();
  Menu(ids::ID_WINDOW_NEW);
  auto* second = static_cast<FrameTestView*>(first->GetDocument()->GetViewsVector()[1]);
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
  EXPECT_TRUE(frame_->ProcessWindowEvent(none));  // taken, and nothing done with it
}

// ---- looks ----

TEST_F(FrameTest, FirstStartShowsAndStores210) {
  EXPECT_EQ(frame_->m_nAppLook, 210);
  EXPECT_EQ(StoredLook(), 210);
}

TEST_F(FrameTest, EveryLookLooksDifferentIsStoredAndCarriesTheMark) {
  const std::vector<int> looks = {205, 206, 207, 208, 209, 210, 215, 216, 217, 218, 219};
  std::set<std::tuple<wxUint32, wxUint32, wxUint32, wxUint32>> seen;
  for (int look : looks) {
    Menu(look);
    EXPECT_EQ(frame_->m_nAppLook, look);
    EXPECT_EQ(StoredLook(), look);
    EXPECT_TRUE(seen.insert(LookColours()).second) << look << " looks like another look";
    for (int other : looks) {
      const CommandState state = frame_->QueryCommand(other);
      EXPECT_TRUE(state.enabled);
      EXPECT_TRUE(state.setChecked);
      EXPECT_EQ(state.checked, other == look) << look << " " << other;
    }
  }
  // The View menu's items carry the mark too.
  wxMenu* view = frame_->GetMenuBar()->GetMenu(1);
  Menu(ids::ID_VIEW_APPLOOK_OFF_2003);
  view->UpdateUI(frame_);
  wxMenu* lookMenu = view->FindItemByPosition(1)->GetSubMenu();
  lookMenu->UpdateUI(frame_);
  for (int look : {205, 206, 207, 208, 209, 210})
    EXPECT_EQ(lookMenu->IsChecked(look), look == 208) << look;
  // And so do the items of the ribbon's Style menu.
  Menu(ids::ID_VIEW_APPLOOK_OFF_2007_BLACK);
  std::unique_ptr<wxMenu> style = CRibbonHost::MenuOfItem(LoadRibbonDescription().tabBar[0]);
  style->UpdateUI(frame_->m_wndRibbonHost->m_tabBarTools->GetEventHandler());
  for (int look : {215, 216, 217, 218, 219}) EXPECT_EQ(style->IsChecked(look), look == 216) << look;
}

TEST_F(FrameTest, LookSwitchRepaintsTheRibbonAndSurvivesARestart) {
  const wxImage before = GrabRibbon();
  const auto coloursBefore = LookColours();
  Menu(ids::ID_VIEW_APPLOOK_OFF_2007_BLACK);
  const wxImage after = GrabRibbon();
  const auto black = LookColours();
  EXPECT_NE(black, coloursBefore);
  int differing = 0;
  for (int y = 0; y < std::min(before.GetHeight(), after.GetHeight()); ++y)
    for (int x = 0; x < std::min(before.GetWidth(), after.GetWidth()); ++x)
      differing += before.GetRed(x, y) != after.GetRed(x, y) || before.GetGreen(x, y) != after.GetGreen(x, y);
  EXPECT_GT(differing, before.GetWidth() * 10);

  CloseFrame();
  OpenFrame();
  EXPECT_EQ(frame_->m_nAppLook, ids::ID_VIEW_APPLOOK_OFF_2007_BLACK);
  EXPECT_EQ(LookColours(), black);
  EXPECT_EQ(StoredLook(), ids::ID_VIEW_APPLOOK_OFF_2007_BLACK);
}

TEST_F(FrameTest, UnknownStoredLookGivesOffice2007InItsLastStyleAndStaysStored) {
  Menu(ids::ID_VIEW_APPLOOK_OFF_2007_SILVER);
  const auto silver = LookColours();
  Menu(ids::ID_VIEW_APPLOOK_WINDOWS_7);
  for (long unknown : {300L, 211L, -4L}) {
    CloseFrame();
    wxConfigBase::Get()->Write("/Workspace/ApplicationLook", unknown);
    OpenFrame();
    EXPECT_EQ(frame_->m_nAppLook, unknown);
    EXPECT_EQ(StoredLook(), unknown);
    EXPECT_EQ(LookColours(), silver) << unknown;
    for (int look : {205, 206, 207, 208, 209, 210, 215, 216, 217, 218, 219})
      EXPECT_FALSE(frame_->QueryCommand(look).checked) << look;
  }
  EXPECT_TRUE(AppLookSchemeOf(219).windows7Ribbon);
  EXPECT_FALSE(AppLookSchemeOf(300).windows7Ribbon);
}

// ---- panes ----

TEST_F(FrameTest, PanesAreDockedWithTheirCaptions) {
  ASSERT_NE(frame_->m_wndClassView, nullptr);
  ASSERT_NE(frame_->m_wndFileView, nullptr);
  ASSERT_NE(frame_->m_wndOutput, nullptr);
  wxAuiNotebook* tabs = frame_->m_wndPaneTabs;
  ASSERT_EQ(tabs->GetPageCount(), 2u);
  EXPECT_EQ(tabs->GetPageText(0), "File View");
  EXPECT_EQ(tabs->GetPageText(1), "Section View");
  EXPECT_EQ(tabs->GetCurrentPage(), frame_->m_wndClassView);
  const wxAuiPaneInfo& side = frame_->m_mgr.GetPane(tabs);
  EXPECT_EQ(side.caption, "Section View");
  EXPECT_EQ(side.dock_direction, wxAUI_DOCK_LEFT);
  const wxAuiPaneInfo& output = frame_->m_mgr.GetPane(frame_->m_wndOutput);
  EXPECT_EQ(output.caption, "Output");
  EXPECT_EQ(output.dock_direction, wxAUI_DOCK_BOTTOM);
  EXPECT_TRUE(frame_->IsPaneShown(frame_->m_wndClassView));
  EXPECT_FALSE(frame_->IsPaneShown(frame_->m_wndFileView));  // behind the Section View
  EXPECT_TRUE(frame_->IsPaneShown(frame_->m_wndOutput));
}

TEST_F(FrameTest, PaneCommandsBringBackAClosedPaneAndFocusIt) {
  const std::vector<std::pair<int, wxWindow*>> cases = {
      {ids::ID_VIEW_CLASSVIEW, frame_->m_wndClassView}, {ids::ID_ShowClassView, frame_->m_wndClassView},
      {ids::ID_VIEW_FILEVIEW, frame_->m_wndFileView},   {ids::ID_ViewFileView, frame_->m_wndFileView},
      {ids::ID_VIEW_OUTPUTWND, frame_->m_wndOutput},    {ids::ID_ViewOutput, frame_->m_wndOutput}};
  for (const auto& [command, pane] : cases) {
    wxWindow* docked = pane == frame_->m_wndOutput ? pane : static_cast<wxWindow*>(frame_->m_wndPaneTabs);
    frame_->m_mgr.ClosePane(frame_->m_mgr.GetPane(docked));
    frame_->m_mgr.Update();
    Pump();
    ASSERT_FALSE(frame_->IsPaneShown(pane)) << command;
    Menu(command);
    EXPECT_TRUE(frame_->IsPaneShown(pane)) << command;
    EXPECT_TRUE(ContainsFocus(pane)) << command;
    if (docked != pane) {
      EXPECT_EQ(frame_->m_mgr.GetPane(docked).caption,
                frame_->m_wndPaneTabs->GetPageText(frame_->m_wndPaneTabs->GetSelection()));
    }
  }
}

TEST_F(FrameTest, F6MovesTheFocusRoundTheDocumentAndThePanes) {
  FrameTestView* view = NewDocument();
  view->window->SetFocus();
  Pump();
  ASSERT_TRUE(ContainsFocus(frame_->GetActiveChild()));
  Menu(ids::ID_NEXT_PANE);
  EXPECT_TRUE(ContainsFocus(frame_->m_wndClassView));
  Menu(ids::ID_NEXT_PANE);
  EXPECT_TRUE(ContainsFocus(frame_->m_wndOutput));
  Menu(ids::ID_NEXT_PANE);
  EXPECT_TRUE(ContainsFocus(frame_->GetActiveChild()));
  Menu(ids::ID_PREV_PANE);
  EXPECT_TRUE(ContainsFocus(frame_->m_wndOutput));
}

TEST_F(FrameTest, AcceleratorKeysRunTheirCommandsThroughTheRoute) {
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
  keys.Char(WXK_F6);
  Pump();
  EXPECT_TRUE(ContainsFocus(frame_->m_wndClassView));
  keys.Char(WXK_F6, wxMOD_SHIFT);
  Pump();
  EXPECT_TRUE(ContainsFocus(frame_->GetActiveChild()));
}

// ---- status bar and caption ----

TEST_F(FrameTest, StatusBarShowsPane1AndPane2AndTogglesWithItsCommand) {
  wxStatusBar* bar = frame_->m_wndStatusBar;
  ASSERT_NE(bar, nullptr);
  ASSERT_EQ(bar->GetFieldsCount(), 2);
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
}

TEST_F(FrameTest, CaptionShowsTheDocumentTitleFirst) {
  EXPECT_EQ(frame_->GetTitle(), "Quillmark");
  FrameTestView* view = NewDocument();
  wxIdleEvent idle;
  frame_->ProcessWindowEvent(idle);
  EXPECT_EQ(frame_->GetTitle(), view->GetDocument()->GetUserReadableName() + " - Quillmark");
}

// ---- document windows: the windows dialog and print preview ----

TEST_F(FrameTest, WindowsDialogListsActivatesAndClosesDocumentWindows) {
  FrameTestView* first = NewDocument();
  FrameTestView* second = NewDocument();
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
  (void)second;
}

TEST_F(FrameTest, PrintPreviewIsCheckedPrintsFromPreviewAndClosesOnItsCommand) {
  FrameTestView* view = NewDocument();
  auto* child = static_cast<CChildFrame*>(view->GetFrame());
  EXPECT_FALSE(frame_->QueryCommand(ids::ID_FILE_PRINT_PREVIEW).checked);
  Menu(ids::ID_FILE_PRINT_PREVIEW);
  if (!child->IsInPrintPreview()) GTEST_SKIP() << "no print preview on this display";
  EXPECT_TRUE(frame_->QueryCommand(ids::ID_FILE_PRINT_PREVIEW).checked);

  // Print Preview again closes the preview; the view does not see it.
  Menu(ids::ID_FILE_PRINT_PREVIEW);
  EXPECT_FALSE(child->IsInPrintPreview());
  EXPECT_EQ(view->commands, std::vector<int>{ids::ID_FILE_PRINT_PREVIEW});

  // Quick Print in preview prints from it: preview closed, then Print.
  Menu(ids::ID_FILE_PRINT_PREVIEW);
  ASSERT_TRUE(child->IsInPrintPreview());
  Menu(ids::ID_FILE_PRINT_DIRECT);
  EXPECT_FALSE(child->IsInPrintPreview());
  EXPECT_EQ(view->commands, (std::vector<int>{ids::ID_FILE_PRINT_PREVIEW, ids::ID_FILE_PRINT_PREVIEW,
                                              ids::ID_FILE_PRINT}));
  EXPECT_FALSE(frame_->QueryCommand(ids::ID_FILE_PRINT_PREVIEW).checked);
  // Outside preview the commands reach the view.
  Menu(ids::ID_FILE_PRINT_DIRECT);
  EXPECT_EQ(view->commands.back(), ids::ID_FILE_PRINT_DIRECT);
}

}  // namespace
