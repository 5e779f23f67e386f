// The Section View, File View and Output panes in real windows: the section
// tree and its double-click, the context menus with their check marks and
// messages, the Output tabs and lists, and hiding the Output pane.
#include <gtest/gtest.h>
#include <wx/aui/framemanager.h>
#include <wx/menu.h>
#include <wx/modalhook.h>
#include <wx/msgdlg.h>
#include <wx/settings.h>
#include <wx/testing.h>
#include <wx/toolbar.h>
#include <wx/uiaction.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

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

// Unmet dialog expectations become test failures rather than wx asserts.
class PanesTestHook : public wxTestingModalHook {
 public:
  using wxTestingModalHook::wxTestingModalHook;

 protected:
  void ReportFailure(const wxString& msg) override { ADD_FAILURE() << msg.ToStdString(); }
};
#undef wxTEST_DIALOG_HOOK_CLASS
#define wxTEST_DIALOG_HOOK_CLASS PanesTestHook

namespace {

using namespace ids;

// A message box as it was shown, answered with OK.
struct Message {
  std::string text, caption;
  wxWindow* parent;
  long style;
};
class ExpectMessage : public wxExpectModalBase<wxMessageDialog, ExpectMessage> {
 public:
  explicit ExpectMessage(std::vector<Message>* seen) : seen_(seen) {}

 protected:
  int OnInvoked(wxMessageDialog* dialog) const override {
    seen_->push_back({dialog->GetMessage().ToStdString(), dialog->GetTitle().ToStdString(), dialog->GetParent(),
                      dialog->GetMessageDialogStyle()});
    return wxID_OK;
  }

 private:
  std::vector<Message>* seen_;
};

// Any other dialog fails the test and is cancelled instead of waiting for a user.
class UnexpectedDialogs : public wxModalDialogHook {
 protected:
  int Enter(wxDialog* dialog) override {
    ADD_FAILURE() << "unexpected dialog: " << dialog->GetTitle().ToStdString();
    return wxID_CANCEL;
  }
  void Exit(wxDialog*) override {}
};

// Stands for the user at a context menu: notes what the menu offered and
// picks the item labelled `choose` (nothing when there is none).
struct MenuRecorder {
  struct Item {
    int command;
    std::string label;
    bool checked, enabled;
  };
  std::vector<Item> items;
  wxWindow* owner = nullptr;
  int menus = 0;
  std::string choose;

  int Choose(wxWindow* window, wxMenu& menu) {
    ++menus;
    owner = window;
    items.clear();
    int chosen = wxID_NONE;
    for (wxMenuItem* item : menu.GetMenuItems()) {
      if (item->IsSeparator()) continue;
      items.push_back({CommandOfMenuItemId(item->GetId()), item->GetItemLabel().ToStdString(),
                       item->IsCheckable() && item->IsChecked(), item->IsEnabled()});
      if (items.back().label == choose) chosen = item->GetId();
    }
    return chosen;
  }
  std::vector<int> Checked() const {
    std::vector<int> checked;
    for (const Item& item : items)
      if (item.checked) checked.push_back(item.command);
    return checked;
  }
  bool AllEnabled() const {
    for (const Item& item : items)
      if (!item.enabled) return false;
    return true;
  }
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
    // The frame stands for the main window: it receives the go-to-line events.
    wxTheApp->SetTopWindow(frame_);
    frame_->Bind(EVT_GOTO_LINE, [this](wxCommandEvent& event) {
      EXPECT_EQ(event.GetId(), WM_GOTOLINE);
      gotoLines_.push_back(event.GetInt());
    });
    SetPaneMenuChooser([this](wxWindow* owner, wxMenu& menu, const wxPoint&) { return menu_.Choose(owner, menu); });
  }
  void TearDown() override {
    SetPaneMenuChooser({});
    guard_.Unregister();
    wxTheApp->SetTopWindow(nullptr);
    WxFixture::TearDown();
    wxSetAssertHandler(oldAssert_);
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
  // Opens `window`'s context menu at `screen` (wxDefaultPosition: from the
  // keyboard) and picks the item labelled `choose`.
  void ContextMenu(wxWindow* window, const wxPoint& screen, const std::string& choose) {
    menu_.choose = choose;
    wxContextMenuEvent event(wxEVT_CONTEXT_MENU, window->GetId(), screen);
    event.SetEventObject(window);
    window->GetEventHandler()->ProcessEvent(event);
  }
  // The same, answering the one message box the choice shows.
  std::vector<Message> ContextMenuAnswering(wxWindow* window, const wxPoint& screen, const std::string& choose) {
    std::vector<Message> seen;
    wxTEST_DIALOG(ContextMenu(window, screen, choose), ExpectMessage(&seen));
    return seen;
  }
  // The window's client area as the screen shows it now. Nothing is pumped
  // first, so no queued event and no idle work runs before the picture.
  static wxImage ScreenNow(wxWindow* window) {
    const wxSize size = window->GetClientSize();
    wxBitmap bitmap(size.x, size.y, 24);
    wxMemoryDC dc(bitmap);
    wxClientDC client(window);
    dc.Blit(0, 0, size.x, size.y, &client, 0, 0);
    dc.SelectObject(wxNullBitmap);
    return bitmap.ConvertToImage();
  }
  // The screen after the window has painted what is pending, read in a few
  // rounds: the X server may show a paint a moment late.
  static wxImage ScreenAfterPaint(wxWindow* window, const std::function<bool(const wxImage&)>& done) {
    wxImage image;
    for (int round = 0; round < 10; ++round) {
      if (round) wxMilliSleep(30);
      Pump();
      image = ScreenNow(window);
      if (done(image)) break;
    }
    return image;
  }
  // Whether the window has painted its client area: a window the X server
  // shows before its first paint is black, and these windows' backgrounds
  // are light.
  static bool Painted(const wxImage& image) {
    const int x = image.GetWidth() - 3, y = image.GetHeight() - 3;
    return image.GetRed(x, y) + image.GetGreen(x, y) + image.GetBlue(x, y) > 3 * 128;
  }
  // Text pixels (darker than mid grey) in rows [top, bottom) and columns [left, right) of `image`.
  static int Ink(const wxImage& image, int top, int bottom, int left = 0, int right = -1) {
    if (right < 0) right = image.GetWidth();
    int ink = 0;
    for (int y = std::max(top, 0); y < std::min(bottom, image.GetHeight()); ++y)
      for (int x = std::max(left, 0); x < std::min(right, image.GetWidth()); ++x)
        ink += image.GetRed(x, y) + image.GetGreen(x, y) + image.GetBlue(x, y) < 3 * 128;
    return ink;
  }
  // Pixels of the colour `colour` in the rectangle.
  static int PixelsOf(const wxImage& image, const wxRect& rect, const wxColour& colour) {
    int count = 0;
    for (int y = std::max(rect.y, 0); y < std::min(rect.GetBottom() + 1, image.GetHeight()); ++y)
      for (int x = std::max(rect.x, 0); x < std::min(rect.GetRight() + 1, image.GetWidth()); ++x)
        count += wxColour(image.GetRed(x, y), image.GetGreen(x, y), image.GetBlue(x, y)) == colour;
    return count;
  }
  static void Key(CViewTree* tree, int key) {
    wxKeyEvent down(wxEVT_KEY_DOWN);
    down.m_keyCode = key;
    down.SetEventObject(tree);
    tree->GetEventHandler()->ProcessEvent(down);
  }
  static std::vector<std::wstring> Lines(const COutputList* list) {
    std::vector<std::wstring> lines;
    for (unsigned i = 0; i < list->GetCount(); ++i) lines.push_back(list->GetString(i));
    return lines;
  }

  std::vector<int> gotoLines_;
  MenuRecorder menu_;
  UnexpectedDialogs guard_;
  wxAssertHandler_t oldAssert_ = nullptr;
};

// ---- the Section View's tree ----

TEST_F(PanesTest, FillClassViewRebuildsTheTreeFromNothing) {
  auto* view = new CClassView(frame_);
  CViewTree* tree = view->m_wndSectionTree;
  EXPECT_EQ(tree->GetId(), IDC_SECTION_TREE);
  EXPECT_EQ(view->m_nCurrSort, 145u);
  EXPECT_FALSE(tree->GetRootItem().IsOk());  // empty until the first fill

  struct Case {
    const char* what;
    std::list<std::wstring> names;
    std::list<std::int32_t> lines;
    std::wstring title;
    std::list<std::wstring> shownNames;
    std::list<std::int32_t> shownLines;
  };
  const Case cases[] = {
      {"empty lists give the root alone", {}, {}, L"Vorn1", {}, {}},
      {"a new document", kNewDocumentSections, kNewDocumentLines, L"Vorn2", kNewDocumentSections, kNewDocumentLines},
      {"a refill replaces everything", {L"PUB main"}, {40}, L"", {L"PUB main"}, {40}},
      // Lists out of step: a name without a line is left out.
      {"more names than lines", {L"CON a", L"CON b", L"PUB c"}, {2, 5}, L"t", {L"CON a", L"CON b"}, {2, 5}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    view->FillClassView(c.names, c.lines, c.title);
    EXPECT_EQ(view->m_strTitle, c.title);
    const wxTreeItemId root = tree->GetRootItem();
    ASSERT_TRUE(root.IsOk());
    EXPECT_EQ(tree->GetCount(), 1 + c.shownNames.size());
    EXPECT_EQ(tree->GetItemText(root).ToStdWstring(), c.title + L" Sections");
    EXPECT_TRUE(tree->IsBold(root));
    EXPECT_TRUE(c.shownNames.empty() || tree->IsExpanded(root));
    EXPECT_EQ(tree->GetItemImage(root) * 10 + tree->GetItemImage(root, wxTreeItemIcon_Selected), 0);
    // Nothing of the old contents is kept: no section is selected (wx's tree
    // selects its root when nothing else is).
    EXPECT_TRUE(!tree->GetSelection().IsOk() || tree->GetSelection() == root);
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

TEST_F(PanesTest, TheTextModelFillsTheSectionViewOfANewDocument) {
  auto* view = new CClassView(frame_);
  CTextModel model;
  std::string line;
  for (wchar_t c : sourcefile::NewDocumentText()) {
    if (c != L'\n') {
      line += static_cast<char>(c);
      continue;
    }
    model.InsertLine(line, model.LineCount(), false);
    line.clear();
  }
  ASSERT_EQ(model.LineCount(), 31);
  model.title = L"Vorn1";
  model.SetSectionViewFiller([view](const std::list<std::wstring>& names, const std::list<std::int32_t>& lines,
                                    std::wstring title) { view->FillClassView(names, lines, std::move(title)); });
  model.RecolourAll();
  model.UpdateSectionView();

  CViewTree* tree = view->m_wndSectionTree;
  EXPECT_EQ(tree->GetItemText(tree->GetRootItem()), "Vorn1 Sections");
  std::list<std::wstring> names;
  std::list<std::int32_t> lines;
  for (const wxTreeItemId& item : Children(tree)) {
    names.push_back(tree->GetItemText(item).ToStdWstring());
    lines.push_back(tree->GetItemLine(item));
  }
  EXPECT_EQ(names, kNewDocumentSections);
  EXPECT_EQ(lines, kNewDocumentLines);
}

TEST_F(PanesTest, DoubleClickSendsTheSelectedSectionsLineToTheMainWindow) {
  auto* view = new CClassView(frame_, wxID_ANY, wxPoint(0, 0), wxSize(400, 560));
  CViewTree* tree = view->m_wndSectionTree;
  enum Where { kRoot, kSection, kEmptyAfterSection, kEmptyWithNothingSelected, kAfterRefill };
  struct Case {
    const char* what;
    Where where;
    int section;
    std::vector<int> sent;
  };
  const Case cases[] = {
      {"a section", kSection, 4, {11}},
      {"the first section", kSection, 0, {1}},
      {"the last section", kSection, 11, {28}},
      {"the root", kRoot, 0, {}},
      {"empty space acts on the section selected before", kEmptyAfterSection, 7, {18, 18}},
      {"empty space with no section selected", kEmptyWithNothingSelected, 0, {}},
      {"a refill clears the selection", kAfterRefill, 2, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    view->FillClassView(kNewDocumentSections, kNewDocumentLines, L"Vorn1");
    Pump();
    gotoLines_.clear();
    const std::vector<wxTreeItemId> sections = Children(tree);
    const wxPoint empty(tree->GetClientSize().x / 2, tree->GetClientSize().y - 4);
    wxRect last;
    ASSERT_TRUE(tree->GetBoundingRect(sections.back(), last));
    ASSERT_GT(empty.y, last.GetBottom());
    switch (c.where) {
      case kRoot: DoubleClick(tree, Centre(tree, tree->GetRootItem())); break;
      case kSection: DoubleClick(tree, Centre(tree, sections[c.section])); break;
      case kEmptyAfterSection:
        DoubleClick(tree, Centre(tree, sections[c.section]));
        DoubleClick(tree, empty);
        EXPECT_EQ(tree->GetSelection(), sections[c.section]);
        break;
      case kEmptyWithNothingSelected: DoubleClick(tree, empty); break;
      case kAfterRefill:
        tree->SelectItem(sections[c.section]);
        view->FillClassView(kNewDocumentSections, kNewDocumentLines, L"Vorn1");
        Pump();
        DoubleClick(tree, empty);
        break;
    }
    EXPECT_EQ(gotoLines_, c.sent);  // already handled when the double-click returns
  }
}

TEST_F(PanesTest, RealClicksReachTheTreeAndKeysNeverSendTheLine) {
  // Tall enough for every section: the clicks land on whole rows.
  auto* view = new CClassView(frame_, wxID_ANY, wxPoint(0, 0), wxSize(400, 560));
  view->FillClassView(kNewDocumentSections, kNewDocumentLines, L"Vorn1");
  frame_->Raise();
  Pump();
  CViewTree* tree = view->m_wndSectionTree;
  const std::vector<wxTreeItemId> sections = Children(tree);
  wxUIActionSimulator mouse;
  mouse.MouseMove(tree->ClientToScreen(Centre(tree, sections[3])));
  Pump();
  mouse.MouseDblClick();
  Pump();
  EXPECT_EQ(gotoLines_, std::vector<int>{8});
  mouse.MouseMove(tree->ClientToScreen(Centre(tree, sections[9])));
  Pump();
  mouse.MouseClick(wxMOUSE_BTN_RIGHT);  // selects the item, then opens the sorting menu
  Pump();
  EXPECT_EQ(menu_.menus, 1);
  EXPECT_EQ(menu_.owner, view);
  EXPECT_EQ(tree->GetSelection(), sections[9]);

  // Moving with the keys and pressing Enter select, but send nothing.
  tree->SelectItem(sections[0]);
  for (int key : {WXK_DOWN, WXK_DOWN, WXK_RETURN, WXK_NUMPAD_ENTER}) {
    wxKeyEvent down(wxEVT_KEY_DOWN);
    down.m_keyCode = key;
    down.SetEventObject(tree);
    if (tree->GetEventHandler()->ProcessEvent(down)) continue;
    wxKeyEvent ch(wxEVT_CHAR);
    ch.m_keyCode = key;
    ch.SetEventObject(tree);
    tree->GetEventHandler()->ProcessEvent(ch);
  }
  EXPECT_EQ(tree->GetSelection(), sections[2]);
  EXPECT_EQ(gotoLines_, std::vector<int>{8});
}

TEST_F(PanesTest, KeysButtonAndDoubleClickOpenAndCloseTheRoot) {
  auto* view = new CClassView(frame_, wxID_ANY, wxPoint(0, 0), wxSize(400, 560));
  view->FillClassView(kNewDocumentSections, kNewDocumentLines, L"Vorn1");
  Pump();
  CViewTree* tree = view->m_wndSectionTree;
  const wxTreeItemId root = tree->GetRootItem();
  const std::vector<wxTreeItemId> sections = Children(tree);
  struct Step {
    const char* what;
    int key;  // 0: click the root's button; -1: double-click the root's text
    wxTreeItemId selected;
    bool expanded;
  };
  tree->SelectItem(sections[5]);
  const Step steps[] = {
      {"left from a section goes to the root", WXK_LEFT, root, true},
      {"left on the open root closes it", WXK_LEFT, root, false},
      {"down with the root closed stays on it", WXK_DOWN, root, false},
      {"right opens the root", WXK_RIGHT, root, true},
      {"right on the open root goes to its first section", WXK_RIGHT, sections[0], true},
      {"end goes to the last section", WXK_END, sections[11], true},
      {"up", WXK_UP, sections[10], true},
      {"home goes to the root", WXK_HOME, root, true},
      {"page down moves a page, at most to the end", WXK_PAGEDOWN, sections[11], true},
      {"the button closes the root and selects it", 0, root, false},
      {"the button opens it again", 0, root, true},
      {"a double-click on the root closes it", -1, root, false},
      {"and opens it", -1, root, true},
  };
  for (const Step& step : steps) {
    SCOPED_TRACE(step.what);
    if (step.key > 0) {
      Key(tree, step.key);
    } else {
      int flags = 0;
      wxRect rect;
      ASSERT_TRUE(tree->GetBoundingRect(root, rect, true));
      const wxPoint text(rect.x + rect.width / 2, rect.y + rect.height / 2);
      const wxPoint button(rect.x - 10, text.y);
      ASSERT_EQ(tree->HitTest(button, flags), root);
      EXPECT_TRUE(flags & wxTREE_HITTEST_ONITEMBUTTON);
      if (step.key == 0) {
        if (step.selected == root && step.expanded == false) tree->SelectItem(sections[3]);  // hidden by the closing
        DoubleClick(tree, button);  // the two clicks open and close, the double-click once more
        DoubleClick(tree, button);
        wxMouseEvent down(wxEVT_LEFT_DOWN);
        down.SetPosition(button);
        down.SetEventObject(tree);
        tree->GetEventHandler()->ProcessEvent(down);
      } else {
        DoubleClick(tree, text);
      }
    }
    EXPECT_EQ(tree->GetSelection(), step.selected);
    EXPECT_EQ(tree->IsExpanded(root), step.expanded);
    wxRect rect;
    EXPECT_EQ(tree->GetBoundingRect(sections[0], rect), step.expanded);  // a closed root hides its sections
  }
  EXPECT_TRUE(gotoLines_.empty());  // neither keys nor the root send a line
  tree->SelectItem(sections[4]);
  EXPECT_EQ(tree->GetSelection(), sections[4]);
  tree->Collapse(root);
  tree->SelectItem(sections[6]);  // not shown: cannot be selected
  EXPECT_EQ(tree->GetSelection(), root);
}

TEST_F(PanesTest, TreeDrawsEveryRowWithItsImageAndTheSelectedLabel) {
  auto* view = new CClassView(frame_, wxID_ANY, wxPoint(0, 0), wxSize(400, 560));
  view->FillClassView(kNewDocumentSections, kNewDocumentLines, L"Vorn1");
  CViewTree* tree = view->m_wndSectionTree;
  const std::vector<wxTreeItemId> sections = Children(tree);
  tree->SelectItem(sections[2]);
  tree->SetFocus();
  wxRect root, first, last, label;
  ASSERT_TRUE(tree->GetBoundingRect(tree->GetRootItem(), root));
  ASSERT_TRUE(tree->GetBoundingRect(sections[0], first, true));
  ASSERT_TRUE(tree->GetBoundingRect(sections[11], last));
  ASSERT_TRUE(tree->GetBoundingRect(sections[2], label, true));
  const wxColour highlight = wxSystemSettings::GetColour(wxSYS_COLOUR_HIGHLIGHT);
  const wxImage shot = ScreenAfterPaint(tree, [&](const wxImage& image) {
    return Painted(image) && Ink(image, last.y, last.GetBottom() + 1) > 0 && PixelsOf(image, label, highlight) > 0;
  });
  SaveShot(wxBitmap(shot), "section_tree");
  // Every row shows its text; nothing is drawn below the last.
  EXPECT_GT(Ink(shot, root.y, root.GetBottom() + 1, first.x), 40);
  for (const wxTreeItemId& item : sections) {
    if (item == sections[2]) continue;  // light text on the highlight, below
    wxRect row;
    ASSERT_TRUE(tree->GetBoundingRect(item, row));
    EXPECT_GT(Ink(shot, row.y, row.GetBottom() + 1, first.x + 16), 20) << tree->GetItemText(item);
  }
  EXPECT_EQ(Ink(shot, last.GetBottom() + 2, shot.GetHeight()), 0);
  // The sections' image (from the second picture of the strip) stands
  // before their text, in colour.
  int coloured = 0;
  for (int y = first.y; y <= first.GetBottom(); ++y)
    for (int x = first.x; x < first.x + 16; ++x)
      coloured += shot.GetRed(x, y) != shot.GetGreen(x, y) || shot.GetGreen(x, y) != shot.GetBlue(x, y);
  EXPECT_GT(coloured, 10);
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
  // Only the selected label is highlighted.
  EXPECT_GT(PixelsOf(shot, label, highlight), label.width * label.height / 2);
  wxRect text = label;
  text.x += 18;  // past the image
  text.width -= 18;
  EXPECT_GT(text.width * text.height - PixelsOf(shot, text, highlight), 40);  // the label's text
  EXPECT_EQ(PixelsOf(shot, wxRect(0, 0, shot.GetWidth(), label.y), highlight), 0);
  EXPECT_EQ(PixelsOf(shot, wxRect(0, label.GetBottom() + 1, shot.GetWidth(), shot.GetHeight()), highlight), 0);
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
  EXPECT_EQ(tree->GetCount(), 6644u);
  EXPECT_EQ(tree->GetChildrenCount(tree->GetRootItem(), false), 6643u);
  EXPECT_EQ(tree->GetVisibleRowsBegin(), 0u);
  tree->SetFocus();
  Key(tree, WXK_END);
  const wxTreeItemId lastItem = tree->GetSelection();
  EXPECT_EQ(tree->GetItemText(lastItem), "PUB section_6642");
  EXPECT_EQ(tree->GetItemLine(lastItem), 6642 * 15 + 2);
  EXPECT_EQ(tree->GetVisibleRowsEnd(), 6644u);
  wxRect last;
  ASSERT_TRUE(tree->GetBoundingRect(lastItem, last));
  EXPECT_LE(last.GetBottom(), tree->GetClientSize().y - 1);  // wholly in view
  const wxImage shot = ScreenAfterPaint(tree, [&](const wxImage& image) {
    return Painted(image) && Ink(image, last.y, last.GetBottom() + 1, last.x + 40) > 0;
  });
  EXPECT_GT(Ink(shot, last.y, last.GetBottom() + 1, last.x + 40), 20);
  int flags = 0;
  EXPECT_EQ(tree->HitTest(wxPoint(60, last.y + last.height / 2), flags), lastItem);
  DoubleClick(tree, wxPoint(60, last.y + last.height / 2));
  EXPECT_EQ(gotoLines_, std::vector<int>{6642 * 15 + 2});
}

// ---- context menus and placeholder commands ----

TEST_F(PanesTest, PaneMenusHoldTheirItemsWithMenuItemIds) {
  struct Case {
    int id;
    std::vector<std::pair<int, std::string>> items;  // command and label; a separator is {0, "-"}
    bool checkable;
  };
  const Case cases[] = {
      {IDR_POPUP_SORT,
       {{146, "&Sort Alphabeticaly"}, {147, "Sort by &Type"}, {148, "Sort by Acc&ess"}, {145, "Group by t&ype"}},
       true},
      {IDR_POPUP_EXPLORER,
       {{136, "&Open"}, {137, "Open &With...."}, {0, "-"}, {138, "&Compile"}, {0, "-"}, {57635, "Cu&t\tCtrl+X"},
        {57634, "&Copy\tCtrl+C"}, {57632, "&Remove"}, {0, "-"}, {135, "&Properties..."}},
       false},
      {IDR_OUTPUT_POPUP, {{57634, "&Copy"}, {57632, "&Clear"}, {0, "-"}, {149, "&Hide"}}, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.id);
    std::unique_ptr<wxMenu> menu = LoadPaneMenu(c.id);
    ASSERT_TRUE(menu);
    ASSERT_EQ(menu->GetMenuItemCount(), c.items.size());
    for (size_t i = 0; i < c.items.size(); ++i) {
      const wxMenuItem* item = menu->FindItemByPosition(i);
      EXPECT_EQ(item->IsSeparator(), c.items[i].first == 0);
      if (item->IsSeparator()) continue;
      EXPECT_EQ(item->GetItemLabel().ToStdString(), c.items[i].second);
      EXPECT_LT(item->GetId(), 0x7FFF);
      EXPECT_EQ(CommandOfMenuItemId(item->GetId()), c.items[i].first);
      EXPECT_EQ(item->IsCheckable(), c.checkable);
    }
  }
  EXPECT_FALSE(LoadPaneMenu(IDR_POPUP_EDIT));
}

TEST_F(PanesTest, SortingMenuMovesItsCheckMarkAndLeavesTheOrder) {
  auto* view = new CClassView(frame_);
  view->FillClassView(kNewDocumentSections, kNewDocumentLines, L"Vorn1");
  Pump();
  CViewTree* tree = view->m_wndSectionTree;
  const std::vector<wxTreeItemId> sections = Children(tree);
  const wxPoint onFifth = tree->ClientToScreen(Centre(tree, sections[4]));
  struct Case {
    const char* choose;
    int shownChecked, afterwards;
  };
  const Case cases[] = {{"Sort by &Type", 145, 147},       {"Sort by &Type", 147, 147}, {"Sort by Acc&ess", 147, 148},
                        {"&Sort Alphabeticaly", 148, 146}, {"", 146, 146},              {"Group by t&ype", 146, 145}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.choose);
    tree->Unselect();
    ContextMenu(tree, onFifth, c.choose);
    EXPECT_EQ(menu_.owner, view);
    EXPECT_EQ(menu_.Checked(), std::vector<int>{c.shownChecked});
    EXPECT_TRUE(menu_.AllEnabled());
    EXPECT_EQ(view->m_nCurrSort, static_cast<unsigned>(c.afterwards));
    EXPECT_EQ(tree->GetSelection(), sections[4]);  // the right click selected the item under it
    EXPECT_EQ(Children(tree), sections);
    EXPECT_EQ(tree->GetItemText(sections[0]), "CON 'Constants section ");
  }
  // From the keyboard the selection stays; the pane's own margin has no sorting menu.
  tree->SelectItem(sections[1]);
  ContextMenu(tree, wxDefaultPosition, "");
  EXPECT_EQ(tree->GetSelection(), sections[1]);
  ContextMenu(view, wxDefaultPosition, "");
  EXPECT_EQ(menu_.menus, 7);
}

TEST_F(PanesTest, PlaceholderCommandsShowTheirMessagesOrNothing) {
  auto* classView = new CClassView(frame_);
  auto* fileView = new CFileView(frame_);
  Pump();
  wxToolBar* toolbar = fileView->m_wndToolBar;
  ASSERT_EQ(toolbar->GetToolsCount(), 1u);
  ASSERT_NE(toolbar->FindById(ID_PROPERTIES), nullptr);
  struct Case {
    wxWindow* window;  // where the command starts; it travels up from there
    int command;
    const char* text;  // nullptr: nothing is shown
  };
  const Case cases[] = {
      {classView, ID_CLASS_ADD_MEMBER_FUNCTION, "Add member function..."},
      {classView, ID_NEW_FOLDER, "New Folder..."},
      {classView, ID_CLASS_ADD_MEMBER_VARIABLE, nullptr},
      {classView, ID_CLASS_DEFINITION, nullptr},
      {classView, ID_CLASS_PROPERTIES, nullptr},
      {fileView, ID_PROPERTIES, "Properties...."},
      {toolbar, ID_PROPERTIES, "Properties...."},  // the toolbar's one button
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.command);
    std::vector<Message> seen;
    wxCommandEvent event(c.window == toolbar ? wxEVT_TOOL : wxEVT_MENU, c.command);
    event.SetEventObject(c.window);
    bool handled = false;
    if (c.text) {
      wxTEST_DIALOG(handled = c.window->GetEventHandler()->ProcessEvent(event), ExpectMessage(&seen));
      ASSERT_EQ(seen.size(), 1u);
      EXPECT_EQ(seen[0].text, c.text);
      EXPECT_EQ(seen[0].caption, "Quillmark");
      EXPECT_EQ(seen[0].style & (wxOK | wxYES_NO | wxCANCEL), wxOK);
    } else {
      handled = c.window->GetEventHandler()->ProcessEvent(event);  // the guard fails any dialog
    }
    EXPECT_TRUE(handled);
  }
  EXPECT_EQ(classView->m_nCurrSort, 145u);
}

TEST_F(PanesTest, FileViewHoldsOneBoldItemAndItsMenuOnlyShowsProperties) {
  auto* view = new CFileView(frame_);
  Pump();
  CViewTree* tree = view->m_wndFileTree;
  EXPECT_EQ(tree->GetId(), IDC_FILE_TREE);
  ASSERT_EQ(tree->GetCount(), 1u);
  const wxTreeItemId root = tree->GetRootItem();
  EXPECT_EQ(tree->GetItemText(root), "Build to see files");
  EXPECT_TRUE(tree->IsBold(root));
  EXPECT_EQ(tree->GetItemImage(root) * 10 + tree->GetItemImage(root, wxTreeItemIcon_Selected), 0);
  DoubleClick(tree, Centre(tree, root));  // the root: nothing
  DoubleClick(tree, wxPoint(10, tree->GetClientSize().y - 4));
  EXPECT_TRUE(gotoLines_.empty());

  const wxPoint onRoot = tree->ClientToScreen(Centre(tree, root));
  tree->Unselect();
  const std::vector<Message> seen = ContextMenuAnswering(tree, onRoot, "&Properties...");
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(seen[0].text, "Properties....");
  EXPECT_EQ(tree->GetSelection(), root);  // the right click selected it
  EXPECT_EQ(menu_.owner, view);
  EXPECT_TRUE(menu_.AllEnabled());
  for (const char* label : {"&Open", "Open &With....", "&Compile", "Cu&t\tCtrl+X", "&Copy\tCtrl+C", "&Remove", ""})
    ContextMenu(tree, onRoot, label);  // the guard fails any dialog
  EXPECT_EQ(menu_.menus, 8);
  EXPECT_EQ(tree->GetCount(), 1u);
}

TEST_F(PanesTest, TreesSitInsideAOnePixelFrameAndTakeThePanesFocus) {
  auto* classView = new CClassView(frame_, wxID_ANY, wxPoint(0, 0), wxSize(220, 300));
  auto* fileView = new CFileView(frame_, wxID_ANY, wxPoint(300, 0), wxSize(240, 280));
  classView->SetSize(230, 310);
  fileView->SetSize(250, 290);
  Pump();
  EXPECT_EQ(classView->m_wndSectionTree->GetRect(), wxRect(1, 1, 228, 308));
  const int toolbar = fileView->m_wndToolBar->GetSize().y;
  EXPECT_GT(toolbar, 15);
  EXPECT_EQ(fileView->m_wndToolBar->GetRect(), wxRect(0, 0, 250, toolbar));
  EXPECT_EQ(fileView->m_wndFileTree->GetRect(), wxRect(1, toolbar + 1, 248, 290 - toolbar - 2));

  const wxColour shadow = wxSystemSettings::GetColour(wxSYS_COLOUR_BTNSHADOW);
  bool framed = false;
  for (int round = 0; round < 10 && !framed; ++round) {
    if (round) wxMilliSleep(30);
    const wxImage shot = GrabClient(classView).ConvertToImage();
    framed = wxColour(shot.GetRed(0, 150), shot.GetGreen(0, 150), shot.GetBlue(0, 150)) == shadow &&
             wxColour(shot.GetRed(100, 0), shot.GetGreen(100, 0), shot.GetBlue(100, 0)) == shadow;
  }
  EXPECT_TRUE(framed);

  const std::pair<wxWindow*, wxWindow*> panes[] = {{classView, classView->m_wndSectionTree},
                                                   {fileView, fileView->m_wndFileTree}};
  for (const auto& [pane, tree] : panes) {
    frame_->SetFocus();
    Pump();
    pane->SetFocus();
    Pump();
    EXPECT_EQ(wxWindow::FindFocus(), tree);
  }
}

// ---- the Output pane ----

TEST_F(PanesTest, OutputPaneShowsThreeTabsAtTheBottomWithTheirLines) {
  auto* output = new COutputWnd(frame_);
  Pump();
  wxAuiNotebook* tabs = output->m_wndTabs;
  EXPECT_EQ(tabs->GetId(), IDC_OUTPUT_TABS);
  EXPECT_TRUE(tabs->HasFlag(wxAUI_NB_BOTTOM));
  EXPECT_FALSE(tabs->HasFlag(wxAUI_NB_TOP | wxAUI_NB_CLOSE_BUTTON | wxAUI_NB_CLOSE_ON_ACTIVE_TAB |
                             wxAUI_NB_CLOSE_ON_ALL_TABS));
  EXPECT_EQ(tabs->GetSize(), output->GetClientSize());
  const std::wstring second = L"The output is being displayed in rows of a list view";
  const std::wstring third = L"but you can change the way it is displayed as you wish...";
  struct Case {
    COutputList* list;
    int id;
    const char* tab;
    std::wstring first;
  };
  const Case cases[] = {
      {output->m_wndOutputBuild, IDC_OUTPUT_BUILD, "Build", L"Build output is being displayed here."},
      {output->m_wndOutputDebug, IDC_OUTPUT_DEBUG, "Debug", L"Debug output is being displayed here."},
      {output->m_wndOutputFind, IDC_OUTPUT_FIND, "Find", L"Find output is being displayed here."},
  };
  ASSERT_EQ(tabs->GetPageCount(), 3u);
  EXPECT_EQ(tabs->GetSelection(), 0);
  const wxFont regular = wxSystemSettings::GetFont(wxSYS_DEFAULT_GUI_FONT);
  for (size_t i = 0; i < 3; ++i) {
    const Case& c = cases[i];
    SCOPED_TRACE(c.tab);
    EXPECT_EQ(tabs->GetPage(i), c.list);
    EXPECT_EQ(tabs->GetPageText(i), c.tab);
    EXPECT_EQ(c.list->GetId(), c.id);
    EXPECT_EQ(Lines(c.list), (std::vector<std::wstring>{c.first, second, third}));
    EXPECT_EQ(c.list->GetFont(), regular);
    // A new font keeps the lines.
    c.list->SetFont(wxFont(wxFontInfo(20)));
    output->UpdateFonts();
    EXPECT_EQ(c.list->GetFont(), regular);
    EXPECT_EQ(c.list->GetCount(), 3u);
  }
}

TEST_F(PanesTest, OutputListsAppendAtTheEndAndFollowIt) {
  auto* output = new COutputWnd(frame_, wxID_ANY, wxPoint(0, 0), wxSize(400, 200));
  Pump();
  COutputList* build = output->m_wndOutputBuild;
  const std::vector<std::wstring> debugBefore = Lines(output->m_wndOutputDebug);
  build->ResetContent();
  Pump();
  EXPECT_EQ(build->GetCount() + build->GetItemCount(), 0u);
  EXPECT_EQ(build->GetString(0), L"");

  const std::vector<std::wstring> added = {L"zeta", L"alpha", L"", L"caf\u00e9 \u2500\u2500 done", L"a\tb",
                                           std::wstring(3000, L'w')};  // far wider than the list
  for (const std::wstring& line : added) build->AddString(line);
  EXPECT_EQ(Lines(build), added);  // unsorted, each at the end, at once
  EXPECT_EQ(build->GetString(static_cast<unsigned>(added.size())), L"");

  // Many lines: the view follows the end, and no line scrolls sideways.
  for (int i = 0; i < 500; ++i) build->AddString(L"line " + std::to_wstring(i));
  Pump();
  EXPECT_EQ(build->GetItemCount(), added.size() + 500);
  EXPECT_EQ(build->GetVisibleRowsEnd(), build->GetCount());
  EXPECT_GT(build->GetVisibleRowsBegin(), 400u);
  EXPECT_FALSE(build->HasScrollbar(wxHORIZONTAL));
  EXPECT_EQ(build->GetString(build->GetCount() - 1), L"line 499");

  build->ResetContent();
  build->AddString(L"only");
  Pump();
  EXPECT_EQ(Lines(build), std::vector<std::wstring>{L"only"});
  EXPECT_EQ(build->GetVisibleRowsBegin(), 0u);
  EXPECT_EQ(Lines(output->m_wndOutputDebug), debugBefore);  // only the Build list changed
}

TEST_F(PanesTest, OutputListsDrawTheirFirstLines) {
  struct Case {
    const char* what;
    wxSize created;
    bool paintAtOnce;
  };
  const Case cases[] = {
      // As at start-up: the frame shows and paints before anything queued runs.
      {"painted before anything queued runs", wxSize(500, 200), true},
      // As a docked pane before the frame lays it out.
      {"created without room, laid out later", wxSize(0, 0), false},
  };
  // Another window beside the pane keeps the frame from fitting the pane to itself.
  new wxPanel(frame_, wxID_ANY, wxPoint(600, 0), wxSize(50, 50));
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    if (c.paintAtOnce) wxTheApp->SuspendProcessingOfPendingEvents();
    auto* output = new COutputWnd(frame_, wxID_ANY, wxPoint(0, 0), c.created);
    Pump();
    wxTheApp->ResumeProcessingOfPendingEvents();
    if (!c.paintAtOnce) output->SetSize(0, 0, 500, 200);
    Pump();
    // The Build list first, shown since it was made; then the others as their tabs come to the front.
    for (COutputList* list : {output->m_wndOutputBuild, output->m_wndOutputDebug, output->m_wndOutputFind}) {
      output->m_wndTabs->SetSelection(output->m_wndTabs->GetPageIndex(list));
      SCOPED_TRACE(list->GetId());
      EXPECT_EQ(list->GetItemCount(), 3u);
      EXPECT_EQ(list->GetVisibleRowsBegin(), 0u);
      const int h = list->GetCharHeight();
      ASSERT_GT(list->GetClientSize().y, 5 * h);
      // Read in rounds until the screen has settled; it never shows the lines if they are not drawn.
      const wxImage shot = ScreenAfterPaint(list, [&](const wxImage& image) {
        return Painted(image) && Ink(image, 2 * h, 3 * h) > 0 && Ink(image, 3 * h, image.GetHeight()) == 0;
      });
      SaveShot(wxBitmap(shot), "output_list_" + std::to_string(list->GetId()));
      for (int row = 0; row < 3; ++row) EXPECT_GT(Ink(shot, row * h, (row + 1) * h), 40) << row;
      EXPECT_EQ(Ink(shot, 3 * h, shot.GetHeight()), 0);
    }
    output->Destroy();
    Pump();
  }
}

// A tool run's wait loop lets the windows paint but runs nothing queued and
// no idle work: what was added before and during the run shows all the same.
TEST_F(PanesTest, LinesAddedWhileNothingQueuedRunsShowAtTheNextPaint) {
  auto* output = new COutputWnd(frame_, wxID_ANY, wxPoint(0, 0), wxSize(500, 200));
  auto* single = new COutputList(frame_, wxID_ANY);  // one line alone, for comparison
  single->SetFont(output->m_wndOutputBuild->GetFont());
  Pump();
  COutputList* build = output->m_wndOutputBuild;
  single->SetSize(0, 210, build->GetClientSize().x, 100);
  single->ResetContent();
  single->AddString(L"tool line 59");
  Pump();
  const int h = build->GetCharHeight();
  const wxImage alone =
      ScreenAfterPaint(single, [&](const wxImage& image) { return Painted(image) && Ink(image, 0, h) > 0; });

  for (int batch = 0; batch < 2; ++batch) {
    SCOPED_TRACE(batch);
    wxTheApp->SuspendProcessingOfPendingEvents();
    if (batch == 0) build->ResetContent();
    for (int i = batch * 30; i < batch * 30 + 30; ++i) build->AddString(L"tool line " + std::to_wstring(i));
    wxImage shot;
    for (int round = 0; round < 10; ++round) {  // the X server may show the paint a moment late
      if (round) wxMilliSleep(30);
      build->Update();
      shot = ScreenNow(build);
      if (build->GetVisibleRowsEnd() == build->GetCount() && Painted(shot) && Ink(shot, 0, h) > 0) break;
    }
    wxTheApp->ResumeProcessingOfPendingEvents();
    SaveShot(wxBitmap(shot), "build_list_during_run_" + std::to_string(batch));
    const unsigned count = static_cast<unsigned>(30 * (batch + 1));
    EXPECT_EQ(build->GetItemCount(), count);
    EXPECT_EQ(build->GetVisibleRowsEnd(), count);  // the end in view
    const int fit = build->GetClientSize().y / h;
    EXPECT_EQ(build->GetVisibleRowsBegin(), count - fit);
    for (int row = 0; row < fit; ++row) EXPECT_GT(Ink(shot, row * h, (row + 1) * h), 20) << row;
    if (batch == 1) {
      // The last row on the screen is "tool line 59", as drawn alone.
      int differing = 0;
      for (int y = 0; y < h; ++y)
        for (int x = 0; x < std::min(alone.GetWidth(), shot.GetWidth()) - 20; ++x)
          differing += shot.GetRed(x, (fit - 1) * h + y) != alone.GetRed(x, y);
      EXPECT_EQ(differing, 0);
    }
  }
  // Emptied, the list shows nothing at its next paint.
  wxTheApp->SuspendProcessingOfPendingEvents();
  build->ResetContent();
  wxImage empty;
  for (int round = 0; round < 10; ++round) {
    if (round) wxMilliSleep(30);
    build->Update();
    empty = ScreenNow(build);
    if (Ink(empty, 0, empty.GetHeight()) == 0) break;
  }
  wxTheApp->ResumeProcessingOfPendingEvents();
  EXPECT_EQ(Ink(empty, 0, empty.GetHeight()), 0);
}

TEST_F(PanesTest, OutputListMenuShowsMessagesAndKeepsTheLines) {
  auto* output = new COutputWnd(frame_);
  Pump();
  struct Case {
    COutputList* list;
    const char* choose;
    const char* text;
  };
  const Case cases[] = {
      {output->m_wndOutputBuild, "&Copy", "Copy output"},
      {output->m_wndOutputBuild, "&Clear", "Clear output"},
      {output->m_wndOutputDebug, "&Copy", "Copy output"},
      {output->m_wndOutputFind, "&Clear", "Clear output"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.choose);
    c.list->SetSelection(1);
    const std::vector<Message> seen = ContextMenuAnswering(c.list, c.list->ClientToScreen(wxPoint(10, 5)), c.choose);
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].text, c.text);
    EXPECT_EQ(seen[0].caption, "Quillmark");
    EXPECT_EQ(seen[0].parent, wxGetTopLevelParent(c.list));  // owned by the list's window
    EXPECT_EQ(c.list->GetCount(), 3u);
    EXPECT_EQ(menu_.owner, c.list);
    EXPECT_TRUE(menu_.AllEnabled());
  }
  ContextMenu(output->m_wndOutputBuild, wxDefaultPosition, "");  // closed without a choice
  EXPECT_EQ(output->m_wndOutputBuild->GetCount(), 3u);
}

TEST_F(PanesTest, HideFromAnOutputListHidesThePaneThatHoldsIt) {
  auto* output = new COutputWnd(frame_);
  Pump();
  ContextMenu(output->m_wndOutputBuild, wxDefaultPosition, "&Hide");  // no docking manager: nothing
  EXPECT_TRUE(output->IsShown());

  wxAuiManager manager(frame_);
  auto* classView = new CClassView(frame_);
  manager.AddPane(classView, wxAuiPaneInfo().Name("classview").Caption("Section View").Left());
  manager.AddPane(output, wxAuiPaneInfo().Name("output").Caption("Output").Bottom());
  struct Case {
    const char* what;
    COutputList* list;
    bool floating;
  };
  const Case cases[] = {
      {"docked, from the Find list", output->m_wndOutputFind, false},
      {"docked, from the Build list", output->m_wndOutputBuild, false},
      {"floating in its own window", output->m_wndOutputBuild, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    if (c.floating) manager.GetPane(output).Float();
    manager.GetPane(output).Show();
    manager.Update();
    Pump();
    ASSERT_TRUE(output->IsShownOnScreen());
    EXPECT_EQ(wxGetTopLevelParent(output) != frame_, c.floating);
    ContextMenu(c.list, wxDefaultPosition, "&Hide");
    Pump();
    EXPECT_FALSE(manager.GetPane(output).IsShown());
    EXPECT_FALSE(output->IsShownOnScreen());
    EXPECT_TRUE(manager.GetPane(classView).IsShown());
    EXPECT_EQ(c.list->GetCount(), 3u);  // hidden, not emptied
  }
  manager.GetPane(output).Dock().Show();
  manager.Update();
  Pump();
  EXPECT_TRUE(output->IsShownOnScreen());
  manager.UnInit();
}

}  // namespace
