// The Section View, File View and Output panes in real windows: the section
// tree, its drawing, mouse and keys, the context menus with their check marks
// and messages, the Output tabs and lists, and hiding the Output pane.
#include <gtest/gtest.h>
#include <wx/aui/framemanager.h>
#include <wx/menu.h>
#include <wx/msgdlg.h>
#include <wx/settings.h>
#include <wx/testing.h>
#include <wx/toolbar.h>
#include <wx/uiaction.h>

#include <algorithm>
#include <functional>
#include <sstream>

#include "app/ClassView.h"
#include "app/FileView.h"
#include "app/GotoLineEvent.h"
#include "app/OutputWnd.h"
#include "app/PaneMenu.h"
#include "app/SourceFile.h"
#include "res/EditorResources.h"
#include "res/PaneResources.h"
#include "support/WxFixture.h"
#include "textmodel/TextModel.h"

namespace {

using namespace ids;

// A message box as it was shown ("<caption>: <text>", marked when it offers more than OK), answered with OK.
struct Message {
  std::string shown;
  wxWindow* parent;
};
class ExpectMessage : public wxExpectModalBase<wxMessageDialog, ExpectMessage> {
 public:
  explicit ExpectMessage(std::vector<Message>* seen) : seen_(seen) {}

 protected:
  int OnInvoked(wxMessageDialog* box) const override {
    const bool okOnly = (box->GetMessageDialogStyle() & (wxOK | wxYES_NO | wxCANCEL)) == wxOK;
    seen_->push_back({(box->GetTitle() + ": " + box->GetMessage() + (okOnly ? "" : " [more]")).ToStdString(),
                      box->GetParent()});
    return wxID_OK;
  }
  std::vector<Message>* seen_;
};

// Any dialog not expected fails the test and is cancelled.
class UnexpectedDialogs : public wxModalDialogHook {
  int Enter(wxDialog* dialog) override {
    ADD_FAILURE() << "unexpected dialog: " << dialog->GetTitle().ToStdString();
    return wxID_CANCEL;
  }
  void Exit(wxDialog*) override {}
};

const std::list<std::wstring> kNewDocumentSections = {
    L"CON 'Constants section ", L"CON regular text",        L"OBJ 'This is an object section",
    L"OBJ 'test objects ",      L"VAR 'a variable section", L"VAR 'test vars ",
    L"PUB 'a public section",   L"PUB 'Test pub ",          L"PRI 'a private section",
    L"PRI  'Test pri",          L"DAT'a dat section",       L"DAT  'Test dat"};
const std::list<std::int32_t> kNewDocumentLines = {1, 3, 6, 8, 11, 13, 16, 18, 21, 23, 26, 28};

class PanesTest : public WxFixture {
 protected:
  void SetUp() override {
    WxFixture::SetUp();
    oldAssert_ = wxSetAssertHandler([](const wxString& file, int line, const wxString&, const wxString& cond,
                                       const wxString& msg) {
      ADD_FAILURE() << "wx assert " << file << ":" << line << " " << cond << " " << msg;
    });
    guard_.Register();
    wxTheApp->SetTopWindow(frame_);  // stands for the main window, which receives the go-to-line
    frame_->Bind(EVT_GOTO_LINE, [this](wxCommandEvent& event) {
      EXPECT_EQ(event.GetId(), WM_GOTOLINE);
      gotoLines_.push_back(event.GetInt());
    });
    // Stands for the user at a context menu: notes what it offered, as "<command> [x] <label>" (check
    // items) or "-" (separators), and picks the item labelled choose_.
    SetPaneMenuChooser([this](wxWindow* owner, wxMenu& menu, const wxPoint&) {
      ++menus_;
      menuOwner_ = owner;
      menuShown_.clear();
      menuEnabled_ = true;
      int chosen = wxID_NONE;
      for (wxMenuItem* item : menu.GetMenuItems()) {
        EXPECT_LT(item->GetId(), 0x7FFF);  // wx's limit for menu item ids
        const std::string label = item->GetItemLabel().ToStdString();
        const char* check = item->IsCheckable() ? (item->IsChecked() ? " [x] " : " [ ] ") : " ";
        const std::string command = std::to_string(CommandOfMenuItemId(item->GetId()));
        menuShown_.push_back(item->IsSeparator() ? "-" : command + check + label);
        menuEnabled_ = menuEnabled_ && (item->IsSeparator() || item->IsEnabled());
        if (!item->IsSeparator() && label == choose_) chosen = item->GetId();
      }
      return chosen;
    });
  }
  void TearDown() override {
    SetPaneMenuChooser({});
    guard_.Unregister();
    wxTheApp->SetTopWindow(nullptr);
    WxFixture::TearDown();
    wxSetAssertHandler(oldAssert_);
  }

  // A Section View tall enough for every row, filled with the new document's sections.
  CClassView* SectionView() {
    auto* view = new CClassView(frame_, wxID_ANY, wxPoint(0, 0), wxSize(400, 560));
    view->FillClassView(kNewDocumentSections, kNewDocumentLines, L"Vorn1");
    Pump();
    return view;
  }
  // A double-click as wx reports it to the tree: down, up, double-click, up.
  static void DoubleClick(CViewTree* tree, const wxPoint& point) {
    for (wxEventType type : {wxEVT_LEFT_DOWN, wxEVT_LEFT_UP, wxEVT_LEFT_DCLICK, wxEVT_LEFT_UP}) {
      wxMouseEvent event(type);
      event.SetPosition(point);
      event.SetEventObject(tree);
      event.m_leftDown = type != wxEVT_LEFT_UP;
      tree->GetEventHandler()->ProcessEvent(event);
    }
  }
  // A key pressed in the tree; one the tree leaves alone comes back as a character.
  static void Key(CViewTree* tree, int key) {
    for (wxEventType type : {wxEVT_KEY_DOWN, wxEVT_CHAR}) {
      wxKeyEvent event(type);
      event.m_keyCode = key;
      event.SetEventObject(tree);
      if (tree->GetEventHandler()->ProcessEvent(event)) return;
    }
  }
  static wxPoint Centre(CViewTree* tree, const wxTreeItemId& item) {
    wxRect rect;
    EXPECT_TRUE(tree->GetBoundingRect(item, rect, true));
    return wxPoint(rect.x + rect.width / 2, rect.y + rect.height / 2);
  }
  static std::vector<wxTreeItemId> Children(CViewTree* tree) {
    std::vector<wxTreeItemId> children;
    wxTreeItemIdValue cookie;
    const wxTreeItemId root = tree->GetRootItem();
    for (wxTreeItemId c = tree->GetFirstChild(root, cookie); c.IsOk(); c = tree->GetNextChild(root, cookie))
      children.push_back(c);
    return children;
  }
  // Opens `window`'s context menu at `screen` (wxDefaultPosition: from the keyboard), picking `choose`.
  void ContextMenu(wxWindow* window, const wxPoint& screen, const std::string& choose) {
    choose_ = choose;
    wxContextMenuEvent event(wxEVT_CONTEXT_MENU, window->GetId(), screen);
    event.SetEventObject(window);
    window->GetEventHandler()->ProcessEvent(event);
  }
  // Runs `act`, answering the one message box it must show; when `shows` is false any box fails the test.
  static std::vector<Message> Answering(bool shows, const std::function<void()>& act) {
    std::vector<Message> seen;
    if (shows) {
      wxTEST_DIALOG(act(), ExpectMessage(&seen));
    } else {
      act();
    }
    return seen;
  }
  // The window's painted client area as the screen shows it, read in rounds until `done` (the X server
  // may show a paint late; before its first paint a window is black, these are light). `pump`: all that
  // is queued runs first; else only the window's own paint, as in a tool run's wait loop.
  static wxImage Screen(wxWindow* window, bool pump, const std::function<bool(const wxImage&)>& done) {
    wxImage image;
    for (int round = 0; round < 10; ++round) {
      if (round) wxMilliSleep(30);
      if (pump) Pump();
      else window->Update();
      const wxSize size = window->GetClientSize();
      wxBitmap bitmap(size.x, size.y, 24);
      {
        wxMemoryDC dc(bitmap);
        wxClientDC client(window);
        dc.Blit(0, 0, size.x, size.y, &client, 0, 0);
      }
      image = bitmap.ConvertToImage();
      const int x = size.x - 3, y = size.y - 3;
      if (image.GetRed(x, y) + image.GetGreen(x, y) + image.GetBlue(x, y) > 3 * 128 && done(image)) break;
    }
    return image;
  }
  // Pixels in the rectangle (clipped to the image) for which `test` holds.
  static int Count(const wxImage& image, const wxRect& rect, const std::function<bool(int r, int g, int b)>& test) {
    int count = 0;
    for (int y = std::max(rect.y, 0); y < std::min(rect.GetBottom() + 1, image.GetHeight()); ++y)
      for (int x = std::max(rect.x, 0); x < std::min(rect.GetRight() + 1, image.GetWidth()); ++x)
        count += test(image.GetRed(x, y), image.GetGreen(x, y), image.GetBlue(x, y));
    return count;
  }
  // Text pixels (darker than mid grey) in rows [top, bottom) from column `left` on.
  static int Ink(const wxImage& image, int top, int bottom, int left = 0) {
    return Count(image, wxRect(left, top, image.GetWidth() - left, bottom - top),
                 [](int r, int g, int b) { return r + g + b < 3 * 128; });
  }
  static int PixelsOf(const wxImage& image, const wxRect& rect, const wxColour& colour) {
    return Count(image, rect, [&](int r, int g, int b) { return wxColour(r, g, b) == colour; });
  }
  static std::vector<std::wstring> Lines(const COutputList* list) {
    std::vector<std::wstring> lines;
    for (unsigned i = 0; i < list->GetCount(); ++i) lines.push_back(list->GetString(i));
    return lines;
  }

  std::vector<int> gotoLines_;
  std::vector<std::string> menuShown_;
  bool menuEnabled_ = false;
  wxWindow* menuOwner_ = nullptr;
  int menus_ = 0;
  std::string choose_;
  UnexpectedDialogs guard_;
  wxAssertHandler_t oldAssert_ = nullptr;
};

// ---- the Section View's tree ----

TEST_F(PanesTest, FillClassViewRebuildsTheTreeFromNothing) {
  auto* view = new CClassView(frame_);
  CViewTree* tree = view->m_wndSectionTree;
  EXPECT_EQ(tree->GetId(), IDC_SECTION_TREE);
  EXPECT_FALSE(tree->GetRootItem().IsOk());  // empty until the first fill
  CTextModel model;                          // fills the view of a new document through its filler
  std::wistringstream text(sourcefile::NewDocumentText());
  for (std::wstring line; std::getline(text, line);)
    model.InsertLine(std::string(line.begin(), line.end()), model.LineCount(), false);
  ASSERT_EQ(model.LineCount(), 31);
  model.title = L"Vorn1";
  model.SetSectionViewFiller([view](const std::list<std::wstring>& names, const std::list<std::int32_t>& lines,
                                    std::wstring title) { view->FillClassView(names, lines, std::move(title)); });
  struct Case {
    bool byModel;
    std::list<std::wstring> names;
    std::list<std::int32_t> lines;
    std::wstring title;
    std::list<std::wstring> shownNames;
    std::list<std::int32_t> shownLines;
  };
  const Case cases[] = {
      {true, {}, {}, L"Vorn1", kNewDocumentSections, kNewDocumentLines},
      {false, {}, {}, L"Vorn2", {}, {}},                       // the root alone
      {false, {L"PUB main"}, {40}, L"", {L"PUB main"}, {40}},  // a refill replaces everything
      {false, {L"CON a", L"CON b", L"PUB c"}, {2, 5}, L"t", {L"CON a", L"CON b"}, {2, 5}},  // a name without a line
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "title " << c.title);
    if (c.byModel) {
      model.RecolourAll();
      model.UpdateSectionView();
    } else {
      view->FillClassView(c.names, c.lines, c.title);
    }
    const wxTreeItemId root = tree->GetRootItem();
    ASSERT_TRUE(root.IsOk());
    EXPECT_EQ(view->m_strTitle, c.title);
    EXPECT_EQ(tree->GetItemText(root).ToStdWstring(), c.title + L" Sections");
    EXPECT_TRUE(tree->IsBold(root));
    EXPECT_TRUE(c.shownNames.empty() || tree->IsExpanded(root));
    EXPECT_EQ(tree->GetItemImage(root) * 10 + tree->GetItemImage(root, wxTreeItemIcon_Selected), 0);
    EXPECT_EQ(tree->GetCount(), 1 + c.shownNames.size());
    std::list<std::wstring> names;
    std::list<std::int32_t> lines;
    for (const wxTreeItemId& item : Children(tree)) {
      names.push_back(tree->GetItemText(item).ToStdWstring());
      lines.push_back(tree->GetItemLine(item));
      EXPECT_EQ(tree->GetItemImage(item) * 10 + tree->GetItemImage(item, wxTreeItemIcon_Selected), 11);
      EXPECT_FALSE(tree->IsBold(item) || tree->ItemHasChildren(item));
    }
    EXPECT_EQ(names, c.shownNames);
    EXPECT_EQ(lines, c.shownLines);
  }
}

TEST_F(PanesTest, DoubleClickSendsTheSelectedSectionsLineToTheMainWindow) {
  CClassView* view = SectionView();
  CViewTree* tree = view->m_wndSectionTree;
  enum { kRoot = -1, kEmpty = -2 };
  struct Case {
    int before;  // the section double-clicked first, or -1
    bool refill;
    int at;  // the section double-clicked, kRoot or kEmpty space below the rows
    std::vector<int> sent;
  };
  const Case cases[] = {{-1, false, 4, {11}},    {-1, false, 0, {1}},          {-1, false, 11, {28}},
                        {-1, false, kRoot, {}},  {7, false, kEmpty, {18, 18}}, {-1, false, kEmpty, {}},
                        {2, true, kEmpty, {6}}};  // a refill clears the selection
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.before << " then " << c.at);
    view->FillClassView(kNewDocumentSections, kNewDocumentLines, L"Vorn1");
    gotoLines_.clear();
    const std::vector<wxTreeItemId> sections = Children(tree);
    if (c.before >= 0) DoubleClick(tree, Centre(tree, sections[c.before]));
    if (c.refill) view->FillClassView(kNewDocumentSections, kNewDocumentLines, L"Vorn1");
    const wxPoint empty(tree->GetClientSize().x / 2, tree->GetClientSize().y - 4);
    DoubleClick(tree, c.at == kEmpty ? empty : Centre(tree, c.at == kRoot ? tree->GetRootItem() : sections[c.at]));
    EXPECT_EQ(gotoLines_, c.sent);  // already handled when the double-click returns
  }
  // Real mouse events from the X server: a double-click sends, a right click selects and opens the menu.
  frame_->Raise();
  Pump();
  gotoLines_.clear();
  const std::vector<wxTreeItemId> sections = Children(tree);
  wxUIActionSimulator mouse;
  mouse.MouseMove(tree->ClientToScreen(Centre(tree, sections[3])));
  Pump();
  mouse.MouseDblClick();
  Pump();
  EXPECT_EQ(gotoLines_, std::vector<int>{8});
  mouse.MouseMove(tree->ClientToScreen(Centre(tree, sections[9])));
  Pump();
  mouse.MouseClick(wxMOUSE_BTN_RIGHT);
  Pump();
  EXPECT_EQ(menus_, 1);
  EXPECT_EQ(menuOwner_, view);
  EXPECT_EQ(tree->GetSelection(), sections[9]);
}

TEST_F(PanesTest, KeysButtonAndDoubleClickMoveAndOpenButNeverSendTheLine) {
  CViewTree* tree = SectionView()->m_wndSectionTree;
  const wxTreeItemId root = tree->GetRootItem();
  const std::vector<wxTreeItemId> sections = Children(tree);
  const wxPoint text = Centre(tree, root);
  wxRect rect;
  ASSERT_TRUE(tree->GetBoundingRect(root, rect, true));
  const wxPoint button(rect.x - 10, text.y);
  enum { kButton = -1, kDoubleClick = -2 };
  struct Step {
    int key;       // or a click on the root's kButton, a kDoubleClick on its text
    int before;    // the section selected first, or -1
    int selected;  // the section selected afterwards, or -1 for the root
    bool expanded;
  };
  const Step steps[] = {
      {WXK_LEFT, 5, -1, true},   {WXK_LEFT, -1, -1, false},   {WXK_DOWN, -1, -1, false},
      {WXK_RIGHT, -1, -1, true}, {WXK_RIGHT, -1, 0, true},    {WXK_DOWN, -1, 1, true},
      {WXK_RETURN, -1, 1, true}, {WXK_NUMPAD_ENTER, -1, 1, true}, {WXK_END, -1, 11, true},
      {WXK_UP, -1, 10, true},    {WXK_HOME, -1, -1, true},    {WXK_PAGEDOWN, -1, 11, true},
      {kButton, 3, -1, false},   {kButton, -1, -1, true},     {kDoubleClick, -1, -1, false},
      {kDoubleClick, -1, -1, true}};
  for (const Step& step : steps) {
    SCOPED_TRACE(testing::Message() << "key " << step.key << " from " << step.before);
    if (step.before >= 0) tree->SelectItem(sections[step.before]);
    if (step.key == kButton) {
      wxMouseEvent down(wxEVT_LEFT_DOWN);
      down.SetPosition(button);
      tree->GetEventHandler()->ProcessEvent(down);
    } else if (step.key == kDoubleClick) {
      DoubleClick(tree, text);
    } else {
      Key(tree, step.key);
    }
    EXPECT_EQ(tree->GetSelection(), step.selected < 0 ? root : sections[step.selected]);
    EXPECT_EQ(tree->IsExpanded(root), step.expanded);
    EXPECT_EQ(tree->GetBoundingRect(sections[0], rect), step.expanded);  // a closed root hides its sections
  }
  EXPECT_TRUE(gotoLines_.empty());
  tree->Collapse(root);
  tree->SelectItem(sections[6]);  // not shown: cannot be selected
  EXPECT_EQ(tree->GetSelection(), root);
}

TEST_F(PanesTest, TreeDrawsEveryRowWithItsImageAndTheSelectedLabel) {
  CViewTree* tree = SectionView()->m_wndSectionTree;
  const std::vector<wxTreeItemId> sections = Children(tree);
  tree->SelectItem(sections[2]);
  tree->SetFocus();
  wxRect root, first, last, label;
  ASSERT_TRUE(tree->GetBoundingRect(tree->GetRootItem(), root) && tree->GetBoundingRect(sections[0], first, true) &&
              tree->GetBoundingRect(sections[11], last) && tree->GetBoundingRect(sections[2], label, true));
  const wxColour highlight = wxSystemSettings::GetColour(wxSYS_COLOUR_HIGHLIGHT);
  const wxImage shot = Screen(tree, true, [&](const wxImage& image) {
    return Ink(image, last.y, last.GetBottom() + 1) > 0 && PixelsOf(image, label, highlight) > 0;
  });
  SaveShot(wxBitmap(shot), "section_tree");
  for (const wxTreeItemId& item : sections) {  // every row's text (the selected one's below), nothing below the last
    wxRect row;
    if (item == sections[2]) continue;
    ASSERT_TRUE(tree->GetBoundingRect(item, row));
    EXPECT_GT(Ink(shot, row.y, row.GetBottom() + 1, first.x + 16), 20) << row.y;
  }
  EXPECT_EQ(Ink(shot, last.GetBottom() + 2, shot.GetHeight()), 0);
  // The sections' image stands before their text, in colour.
  const auto coloured = [](int r, int g, int b) { return r != g || g != b; };
  EXPECT_GT(Count(shot, wxRect(first.x, first.y, 16, first.height), coloured), 10);
  // The bold root's text is darker than the same text drawn normally.
  wxBitmap plain(root.width, root.height, 24);
  {
    wxMemoryDC dc(plain);
    dc.SetBackground(*wxWHITE_BRUSH);
    dc.Clear();
    dc.SetFont(tree->GetFont());
    dc.SetTextForeground(*wxBLACK);
    dc.DrawText(tree->GetItemText(tree->GetRootItem()), 0, 0);
  }
  EXPECT_GT(Ink(shot, root.y, root.GetBottom() + 1, first.x), Ink(plain.ConvertToImage(), 0, root.height) * 11 / 10);
  // Only the selected label is highlighted, its text drawn on the highlight.
  EXPECT_GT(PixelsOf(shot, label, highlight), label.width * label.height / 2);
  const wxRect labelText(label.x + 18, label.y, label.width - 18, label.height);  // past the image
  EXPECT_GT(labelText.width * labelText.height - PixelsOf(shot, labelText, highlight), 40);
  EXPECT_EQ(PixelsOf(shot, wxRect(0, 0, shot.GetWidth(), label.y), highlight) +
                PixelsOf(shot, wxRect(0, label.GetBottom() + 1, shot.GetWidth(), shot.GetHeight()), highlight),
            0);
}

TEST_F(PanesTest, ALargeSourcesSectionsFillTheTreeAndTheEndIsReachable) {
  auto* view = new CClassView(frame_, wxID_ANY, wxPoint(0, 0), wxSize(300, 400));
  std::list<std::wstring> names;
  std::list<std::int32_t> lines;
  for (int i = 0; i < 6643; ++i) {
    names.push_back(L"PUB section_" + std::to_wstring(i));
    lines.push_back(i * 15 + 2);
  }
  view->FillClassView(names, lines, L"big");
  Pump();
  CViewTree* tree = view->m_wndSectionTree;
  EXPECT_EQ(tree->GetChildrenCount(tree->GetRootItem(), false), 6643u);
  EXPECT_EQ(tree->GetVisibleRowsBegin(), 0u);
  tree->SetFocus();
  Key(tree, WXK_END);
  EXPECT_EQ(tree->GetItemText(tree->GetSelection()), "PUB section_6642");
  EXPECT_EQ(tree->GetVisibleRowsEnd(), 6644u);
  wxRect last;
  ASSERT_TRUE(tree->GetBoundingRect(tree->GetSelection(), last));
  EXPECT_LE(last.GetBottom(), tree->GetClientSize().y - 1);  // wholly in view
  const auto drawn = [&](const wxImage& image) { return Ink(image, last.y, last.GetBottom() + 1, last.x + 40) > 20; };
  EXPECT_TRUE(drawn(Screen(tree, true, drawn)));
  DoubleClick(tree, wxPoint(60, last.y + last.height / 2));
  EXPECT_EQ(gotoLines_, std::vector<int>{6642 * 15 + 2});
}

// ---- context menus, the File View and placeholder commands ----

TEST_F(PanesTest, SortingMenuMovesItsCheckMarkAndLeavesTheOrder) {
  CClassView* view = SectionView();
  CViewTree* tree = view->m_wndSectionTree;
  const std::vector<wxTreeItemId> sections = Children(tree);
  const wxPoint onFifth = tree->ClientToScreen(Centre(tree, sections[4]));
  const struct {
    const char* choose;
    int shownChecked, afterwards;
  } cases[] = {{"Sort by &Type", 145, 147},       {"Sort by &Type", 147, 147}, {"Sort by Acc&ess", 147, 148},
               {"&Sort Alphabeticaly", 148, 146}, {"", 146, 146},              {"Group by t&ype", 146, 145}};
  const std::pair<int, const char*> items[] = {
      {146, "&Sort Alphabeticaly"}, {147, "Sort by &Type"}, {148, "Sort by Acc&ess"}, {145, "Group by t&ype"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.choose);
    tree->Unselect();
    ContextMenu(tree, onFifth, c.choose);
    std::vector<std::string> shown;
    for (const auto& [command, label] : items)
      shown.push_back(std::to_string(command) + (command == c.shownChecked ? " [x] " : " [ ] ") + label);
    EXPECT_EQ(menuShown_, shown);
    EXPECT_EQ(menuOwner_, view);
    EXPECT_TRUE(menuEnabled_);
    EXPECT_EQ(view->m_nCurrSort, static_cast<unsigned>(c.afterwards));
    EXPECT_EQ(tree->GetSelection(), sections[4]);  // the right click selected the item under it
    EXPECT_EQ(Children(tree), sections);
  }
  // From the keyboard the selection stays; the pane's own margin has no sorting menu.
  tree->SelectItem(sections[1]);
  ContextMenu(tree, wxDefaultPosition, "");
  EXPECT_EQ(tree->GetSelection(), sections[1]);
  ContextMenu(view, wxDefaultPosition, "");
  EXPECT_EQ(menus_, 7);
  EXPECT_FALSE(LoadPaneMenu(IDR_POPUP_EDIT));  // no such pane menu
}

TEST_F(PanesTest, FileViewAndPlaceholderCommandsShowTheirMessagesOrNothing) {
  auto* classView = new CClassView(frame_, wxID_ANY, wxPoint(0, 0), wxSize(220, 300));
  auto* fileView = new CFileView(frame_, wxID_ANY, wxPoint(300, 0), wxSize(240, 280));
  classView->SetSize(230, 310);
  fileView->SetSize(250, 290);
  Pump();
  CViewTree* tree = fileView->m_wndFileTree;
  wxToolBar* toolbar = fileView->m_wndToolBar;
  // The trees inside a one-pixel frame, the File View's below its toolbar; the panes pass on the focus.
  EXPECT_EQ(classView->m_wndSectionTree->GetRect(), wxRect(1, 1, 228, 308));
  const int toolbarHeight = toolbar->GetSize().y;
  EXPECT_GT(toolbarHeight, 15);
  EXPECT_EQ(toolbar->GetRect(), wxRect(0, 0, 250, toolbarHeight));
  EXPECT_EQ(tree->GetRect(), wxRect(1, toolbarHeight + 1, 248, 290 - toolbarHeight - 2));
  const wxColour shadow = wxSystemSettings::GetColour(wxSYS_COLOUR_BTNSHADOW);
  const auto framed = [&](const wxImage& image) {
    return PixelsOf(image, wxRect(0, 150, 1, 1), shadow) + PixelsOf(image, wxRect(100, 0, 1, 1), shadow) == 2;
  };
  classView->Refresh();
  EXPECT_TRUE(framed(Screen(classView, true, framed)));
  for (const auto& [pane, paneTree] : {std::pair<wxWindow*, wxWindow*>{classView, classView->m_wndSectionTree},
                                       std::pair<wxWindow*, wxWindow*>{fileView, tree}}) {
    frame_->SetFocus();
    Pump();
    pane->SetFocus();
    Pump();
    EXPECT_EQ(wxWindow::FindFocus(), paneTree);
  }
  // The File View's one bold item; a double-click on it or below it sends nothing.
  EXPECT_EQ(tree->GetId(), IDC_FILE_TREE);
  ASSERT_EQ(tree->GetCount(), 1u);
  const wxTreeItemId root = tree->GetRootItem();
  EXPECT_EQ(tree->GetItemText(root), "Build to see files");
  EXPECT_TRUE(tree->IsBold(root));
  EXPECT_EQ(tree->GetItemImage(root) * 10 + tree->GetItemImage(root, wxTreeItemIcon_Selected), 0);
  ASSERT_EQ(toolbar->GetToolsCount(), 1u);
  ASSERT_NE(toolbar->FindById(ID_PROPERTIES), nullptr);
  DoubleClick(tree, Centre(tree, root));
  DoubleClick(tree, wxPoint(10, tree->GetClientSize().y - 4));
  EXPECT_TRUE(gotoLines_.empty());
  const struct {
    wxWindow* window;    // where the command starts; it travels up from there
    int command;         // sent as a menu (from the toolbar: tool) event; 0: picked from the File View's menu
    const char* choose;  // the item picked
    const char* text;    // nullptr: nothing is shown
  } cases[] = {
      {classView, ID_CLASS_ADD_MEMBER_FUNCTION, "", "Add member function..."},
      {classView, ID_NEW_FOLDER, "", "New Folder..."},
      {classView, ID_CLASS_ADD_MEMBER_VARIABLE, "", nullptr},
      {classView, ID_CLASS_DEFINITION, "", nullptr},
      {classView, ID_CLASS_PROPERTIES, "", nullptr},
      {fileView, ID_PROPERTIES, "", "Properties...."},
      {toolbar, ID_PROPERTIES, "", "Properties...."},
      {tree, 0, "&Properties...", "Properties...."},
      {tree, 0, "&Open", nullptr},        {tree, 0, "Open &With....", nullptr}, {tree, 0, "&Compile", nullptr},
      {tree, 0, "Cu&t\tCtrl+X", nullptr}, {tree, 0, "&Copy\tCtrl+C", nullptr},  {tree, 0, "&Remove", nullptr},
      {tree, 0, "", nullptr}};
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.command << c.choose);
    bool handled = true;
    tree->Unselect();
    const std::vector<Message> seen = Answering(c.text, [&] {
      if (!c.command) return ContextMenu(tree, tree->ClientToScreen(Centre(tree, root)), c.choose);
      wxCommandEvent event(c.window == toolbar ? wxEVT_TOOL : wxEVT_MENU, c.command);
      event.SetEventObject(c.window);
      handled = c.window->GetEventHandler()->ProcessEvent(event);
    });
    EXPECT_TRUE(handled);
    if (c.text) {
      ASSERT_EQ(seen.size(), 1u);
      EXPECT_EQ(seen[0].shown, std::string("Quillmark: ") + c.text);
    }
    if (c.command) continue;
    EXPECT_EQ(tree->GetSelection(), root);  // the right click selected it
    EXPECT_EQ(menuOwner_, fileView);
    EXPECT_TRUE(menuEnabled_);
    EXPECT_EQ(menuShown_, (std::vector<std::string>{"136 &Open", "137 Open &With....", "-", "138 &Compile", "-",
                                                   "57635 Cu&t\tCtrl+X", "57634 &Copy\tCtrl+C", "57632 &Remove", "-",
                                                   "135 &Properties..."}));
  }
  EXPECT_EQ(menus_, 8);
  EXPECT_EQ(tree->GetCount(), 1u);
  EXPECT_EQ(classView->m_nCurrSort, 145u);
}

// ---- the Output pane ----

TEST_F(PanesTest, OutputPaneShowsThreeTabsAndItsListsAppendAtTheEnd) {
  auto* output = new COutputWnd(frame_, wxID_ANY, wxPoint(0, 0), wxSize(400, 200));
  Pump();
  wxAuiNotebook* tabs = output->m_wndTabs;
  EXPECT_EQ(tabs->GetId(), IDC_OUTPUT_TABS);
  EXPECT_TRUE(tabs->HasFlag(wxAUI_NB_BOTTOM));
  EXPECT_FALSE(tabs->HasFlag(wxAUI_NB_TOP | wxAUI_NB_CLOSE_BUTTON | wxAUI_NB_CLOSE_ON_ACTIVE_TAB |
                             wxAUI_NB_CLOSE_ON_ALL_TABS));
  EXPECT_EQ(tabs->GetSize(), output->GetClientSize());
  ASSERT_EQ(tabs->GetPageCount(), 3u);
  EXPECT_EQ(tabs->GetSelection(), 0);
  const struct {
    COutputList* list;
    int id;
    const char* tab;
    std::wstring first;
  } cases[] = {
      {output->m_wndOutputBuild, IDC_OUTPUT_BUILD, "Build", L"Build output is being displayed here."},
      {output->m_wndOutputDebug, IDC_OUTPUT_DEBUG, "Debug", L"Debug output is being displayed here."},
      {output->m_wndOutputFind, IDC_OUTPUT_FIND, "Find", L"Find output is being displayed here."},
  };
  const wxFont regular = wxSystemSettings::GetFont(wxSYS_DEFAULT_GUI_FONT);
  for (size_t i = 0; i < 3; ++i) {
    SCOPED_TRACE(cases[i].tab);
    COutputList* list = cases[i].list;
    EXPECT_EQ(tabs->GetPage(i), list);
    EXPECT_EQ(tabs->GetPageText(i), cases[i].tab);
    EXPECT_EQ(list->GetId(), cases[i].id);
    EXPECT_EQ(list->GetFont(), regular);
    list->SetFont(wxFont(wxFontInfo(20)));
    output->UpdateFonts();
    EXPECT_EQ(list->GetFont(), regular);
    EXPECT_EQ(Lines(list), (std::vector<std::wstring>{cases[i].first,
                                                      L"The output is being displayed in rows of a list view",
                                                      L"but you can change the way it is displayed as you wish..."}));
  }
  // Lines go unsorted to the end, at once; the view follows the end, and no line scrolls sideways.
  COutputList* build = output->m_wndOutputBuild;
  const std::vector<std::wstring> debugBefore = Lines(output->m_wndOutputDebug);
  build->ResetContent();
  Pump();
  EXPECT_EQ(build->GetCount() + build->GetItemCount(), 0u);
  EXPECT_EQ(build->GetString(0), L"");
  const std::vector<std::wstring> added = {L"zeta", L"alpha", L"", L"caf\u00e9 \u2500\u2500 done", L"a\tb",
                                           std::wstring(3000, L'w')};
  for (const std::wstring& line : added) build->AddString(line);
  EXPECT_EQ(Lines(build), added);
  for (int i = 0; i < 500; ++i) build->AddString(L"line " + std::to_wstring(i));
  Pump();
  EXPECT_EQ(build->GetItemCount(), added.size() + 500);
  EXPECT_EQ(build->GetVisibleRowsEnd(), build->GetCount());
  EXPECT_GT(build->GetVisibleRowsBegin(), 400u);
  EXPECT_FALSE(build->HasScrollbar(wxHORIZONTAL));
  build->ResetContent();
  build->AddString(L"only");
  Pump();
  EXPECT_EQ(Lines(build), std::vector<std::wstring>{L"only"});
  EXPECT_EQ(build->GetVisibleRowsBegin(), 0u);
  EXPECT_EQ(Lines(output->m_wndOutputDebug), debugBefore);  // only the Build list changed
}

// At start-up the frame paints before anything queued runs; a docked pane may be made without room and
// laid out later; a tool run's wait loop lets the windows paint but runs nothing queued and no idle work.
// The lines show all the same.
TEST_F(PanesTest, OutputListsDrawTheirLinesAtTheNextPaint) {
  new wxPanel(frame_, wxID_ANY, wxPoint(600, 0), wxSize(50, 50));  // keeps the frame from fitting the pane to itself
  COutputWnd* output = nullptr;
  for (bool atStartUp : {false, true}) {
    SCOPED_TRACE(atStartUp ? "at start-up" : "laid out later");
    if (output) output->Destroy();
    if (atStartUp) wxTheApp->SuspendProcessingOfPendingEvents();
    output = new COutputWnd(frame_, wxID_ANY, wxPoint(0, 0), atStartUp ? wxSize(500, 200) : wxSize(0, 0));
    Pump();
    wxTheApp->ResumeProcessingOfPendingEvents();
    output->SetSize(0, 0, 500, 200);
    Pump();
    // The Build list first, shown since it was made; then the others as their tabs come to the front.
    for (COutputList* list : {output->m_wndOutputBuild, output->m_wndOutputDebug, output->m_wndOutputFind}) {
      output->m_wndTabs->SetSelection(output->m_wndTabs->GetPageIndex(list));
      SCOPED_TRACE(list->GetId());
      EXPECT_EQ(list->GetVisibleRowsBegin(), 0u);
      const int h = list->GetCharHeight();
      ASSERT_GT(list->GetClientSize().y, 5 * h);
      const wxImage shot = Screen(list, true, [&](const wxImage& image) {
        return Ink(image, 2 * h, 3 * h) > 0 && Ink(image, 3 * h, image.GetHeight()) == 0;
      });
      SaveShot(wxBitmap(shot), "output_list_" + std::to_string(list->GetId()));
      for (int row = 0; row < 3; ++row) EXPECT_GT(Ink(shot, row * h, (row + 1) * h), 40) << row;
      EXPECT_EQ(Ink(shot, 3 * h, shot.GetHeight()), 0);
    }
  }
  // A tool run: 30 lines, 30 more, then the list emptied, each shown at the next paint.
  output->m_wndTabs->SetSelection(0);
  COutputList* build = output->m_wndOutputBuild;
  auto* single = new COutputList(frame_, wxID_ANY);  // the last line alone, for comparison
  single->SetFont(build->GetFont());
  single->SetSize(0, 210, build->GetClientSize().x, 100);
  single->ResetContent();
  single->AddString(L"tool line 59");
  const int h = build->GetCharHeight();
  const wxImage alone = Screen(single, true, [&](const wxImage& image) { return Ink(image, 0, h) > 0; });
  for (unsigned count : {30u, 60u, 0u}) {
    SCOPED_TRACE(count);
    wxTheApp->SuspendProcessingOfPendingEvents();
    if (count != 60) build->ResetContent();
    for (unsigned i = count == 60 ? 30 : 0; i < count; ++i) build->AddString(L"tool line " + std::to_wstring(i));
    const wxImage shot = Screen(build, false, [&](const wxImage& image) {
      if (!count) return Ink(image, 0, image.GetHeight()) == 0;
      return build->GetVisibleRowsEnd() == count && Ink(image, 0, h) > 0;
    });
    wxTheApp->ResumeProcessingOfPendingEvents();
    SaveShot(wxBitmap(shot), "build_list_during_run_" + std::to_string(count));
    EXPECT_EQ(build->GetItemCount(), count);
    if (!count) {
      EXPECT_EQ(Ink(shot, 0, shot.GetHeight()), 0);
      continue;
    }
    const int fit = build->GetClientSize().y / h;
    EXPECT_EQ(build->GetVisibleRowsBegin(), count - fit);  // the end in view
    for (int row = 0; row < fit; ++row) EXPECT_GT(Ink(shot, row * h, (row + 1) * h), 20) << row;
    if (count != 60) continue;
    int differing = 0;  // the last row on the screen is "tool line 59", as drawn alone
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < std::min(alone.GetWidth(), shot.GetWidth()) - 20; ++x)
        differing += shot.GetRed(x, (fit - 1) * h + y) != alone.GetRed(x, y);
    EXPECT_EQ(differing, 0);
  }
}

TEST_F(PanesTest, OutputListMenuShowsMessagesAndHidesThePaneThatHoldsIt) {
  auto* output = new COutputWnd(frame_);
  Pump();
  const struct {
    COutputList* list;
    const char* choose;
    const char* text;
  } cases[] = {
      {output->m_wndOutputBuild, "&Copy", "Copy output"}, {output->m_wndOutputBuild, "&Clear", "Clear output"},
      {output->m_wndOutputDebug, "&Copy", "Copy output"}, {output->m_wndOutputFind, "&Clear", "Clear output"},
      {output->m_wndOutputBuild, "", nullptr},        // closed without a choice
      {output->m_wndOutputBuild, "&Hide", nullptr}};  // no docking manager: nothing
  for (const auto& c : cases) {
    SCOPED_TRACE(c.choose);
    c.list->SetSelection(1);
    const std::vector<Message> seen =
        Answering(c.text, [&] { ContextMenu(c.list, c.list->ClientToScreen(wxPoint(10, 5)), c.choose); });
    if (c.text) {
      ASSERT_EQ(seen.size(), 1u);
      EXPECT_EQ(seen[0].shown, std::string("Quillmark: ") + c.text);
      EXPECT_EQ(seen[0].parent, wxGetTopLevelParent(c.list));  // owned by the list's window
    }
    EXPECT_EQ(c.list->GetCount(), 3u);
    EXPECT_EQ(menuOwner_, c.list);
    EXPECT_TRUE(menuEnabled_);
    EXPECT_EQ(menuShown_, (std::vector<std::string>{"57634 &Copy", "57632 &Clear", "-", "149 &Hide"}));
  }
  EXPECT_TRUE(output->IsShown());

  wxAuiManager manager(frame_);
  auto* classView = new CClassView(frame_);
  manager.AddPane(classView, wxAuiPaneInfo().Name("classview").Caption("Section View").Left());
  manager.AddPane(output, wxAuiPaneInfo().Name("output").Caption("Output").Bottom());
  const std::pair<COutputList*, bool> hides[] = {
      {output->m_wndOutputFind, false}, {output->m_wndOutputBuild, false}, {output->m_wndOutputBuild, true}};
  for (const auto& [list, floating] : hides) {
    SCOPED_TRACE(testing::Message() << list->GetId() << (floating ? " floating" : " docked"));
    if (floating) manager.GetPane(output).Float();
    manager.GetPane(output).Show();
    manager.Update();
    Pump();
    ASSERT_TRUE(output->IsShownOnScreen());
    EXPECT_EQ(wxGetTopLevelParent(output) != frame_, floating);
    ContextMenu(list, wxDefaultPosition, "&Hide");
    Pump();
    EXPECT_FALSE(manager.GetPane(output).IsShown());
    EXPECT_FALSE(output->IsShownOnScreen());
    EXPECT_TRUE(manager.GetPane(classView).IsShown());
    EXPECT_EQ(list->GetCount(), 3u);  // hidden, not emptied
  }
  manager.GetPane(output).Dock().Show();
  manager.Update();
  Pump();
  EXPECT_TRUE(output->IsShownOnScreen());
  manager.UnInit();
}

}  // namespace
