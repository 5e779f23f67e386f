// The editor's own commands: their enabling, the context menu, the accelerator
// table (from key-down events and from real keys), and select-all.
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "res/EditorResources.h"
#include "support/EditorFixture.h"

#include <wx/caret.h>
#include <wx/clipbrd.h>
#include <wx/dataobj.h>
#include <wx/menu.h>
#include <wx/textctrl.h>
#include <wx/uiaction.h>

namespace {

using Lines_t = std::vector<std::string>;

// An editor whose popup menu is not tracked on the screen: it notes what the
// menu showed and, like a user, may choose one of its enabled items.
class MenuRecordingEditor : public ColorEditWnd {
 public:
  using ColorEditWnd::ColorEditWnd;

  struct Item {
    int id;
    wxString label;
    bool enabled;
    bool separator;
  };
  int popups = 0;
  std::vector<Item> items;
  wxPoint at;
  bool focusedWhenShown = false;
  std::vector<int> notificationsWhenShown;
  const std::vector<int>* notifications = nullptr;
  int choose = 0;  // the item id to choose, 0 for none

 protected:
  bool DoPopupMenu(wxMenu* menu, int x, int y) override {
    ++popups;
    at = wxPoint(x, y);
    focusedWhenShown = FindFocus() == this;
    if (notifications) notificationsWhenShown = *notifications;
    items.clear();
    for (wxMenuItem* item : menu->GetMenuItems())
      items.push_back({CommandOfMenuItemId(item->GetId()), item->GetItemLabel(), item->IsEnabled(),
                       item->IsSeparator()});
    wxMenuItem* chosen = choose ? menu->FindItem(MenuItemIdOfCommand(choose)) : nullptr;
    if (chosen && chosen->IsEnabled()) menu->SendEvent(chosen->GetId());
    return true;
  }
};

class CommandsTest : public EditorFixture {
 protected:
  void SetUp() override {
    EditorFixture::SetUp();
    ClearClipboard();
    parent_->codes.clear();
  }
  void TearDown() override {
    ClearClipboard();
    EditorFixture::TearDown();
  }
  MenuRecordingEditor* UseMenuRecordingEditor() {
    delete editor_;
    auto* editor = new MenuRecordingEditor(parent_, wxRect(2, 2, 796, 596), L"Veltrane", true);
    editor->notifications = &parent_->codes;
    editor_ = editor;
    Pump();
    parent_->codes.clear();
    return editor;
  }

  static void SetClipboardText(const std::wstring& text) {
    ASSERT_TRUE(wxTheClipboard->Open());
    wxTheClipboard->SetData(new wxTextDataObject(wxString(text)));
    wxTheClipboard->Close();
  }
  static void ClearClipboard() {
    if (wxTheClipboard->Open()) {
      wxTheClipboard->Clear();
      wxTheClipboard->Close();
    }
  }
  static std::optional<std::wstring> ClipboardText() {
    std::optional<std::wstring> text;
    if (!wxTheClipboard->Open()) return text;
    wxTextDataObject data;
    if (wxTheClipboard->IsSupported(wxDF_UNICODETEXT) && wxTheClipboard->GetData(data))
      text = data.GetText().ToStdWstring();
    wxTheClipboard->Close();
    return text;
  }

  // A command arriving at the editor's window as a menu or accelerator would.
  void Command(int id) {
    wxCommandEvent event(wxEVT_MENU, id);
    event.SetEventObject(editor_);
    editor_->GetEventHandler()->ProcessEvent(event);
  }
  // A key-down addressed to the editor, with the modifiers it carries.
  void KeyDown(int key, bool ctrl, bool shift = false, bool alt = false) {
    keystate::Override(shift, ctrl);
    wxKeyEvent event(wxEVT_KEY_DOWN);
    event.m_keyCode = key;
    event.SetControlDown(ctrl);
    event.SetShiftDown(shift);
    event.SetAltDown(alt);
    event.SetEventObject(editor_);
    editor_->GetEventHandler()->ProcessEvent(event);
    keystate::Override(false, false);
  }
  bool Enabled(int id) {
    auto menu = LoadEditorContextMenu();
    editor_->UpdateMenuItems(*menu);
    return menu->FindItem(MenuItemIdOfCommand(id))->IsEnabled();
  }
  void Select(int anchorCol, int anchorLine, int caretCol, int caretLine) {
    SetAnchor(anchorCol, anchorLine);
    SetCaret(caretCol, caretLine);
  }
  // One typed edit, committed like any other.
  void TypeAt(int col, int line, const std::string& text) {
    Select(col, line, col, line);
    editor_->InsertText(std::wstring(text.begin(), text.end()));
  }
};

TEST_F(CommandsTest, ContextMenuHasItsItemsInOrder) {
  auto menu = LoadEditorContextMenu();
  const std::vector<std::pair<int, wxString>> expected = {
      {ids::ID_EDIT_UNDO, "Undo"}, {ids::ID_EDIT_REDO, "Redo"},  {wxID_SEPARATOR, ""},
      {ids::ID_EDIT_CUT, "Cut"},   {ids::ID_EDIT_COPY, "&Copy"}, {ids::ID_EDIT_PASTE, "Paste"},
      {wxID_SEPARATOR, ""},        {ids::ID_EDIT_SELECT_ALL, "Select &All"},
  };
  ASSERT_EQ(menu->GetMenuItemCount(), expected.size());
  for (std::size_t i = 0; i < expected.size(); ++i) {
    wxMenuItem* item = menu->FindItemByPosition(i);
    if (expected[i].first == wxID_SEPARATOR) {
      EXPECT_TRUE(item->IsSeparator()) << i;
    } else {
      EXPECT_EQ(CommandOfMenuItemId(item->GetId()), expected[i].first) << i;
      EXPECT_EQ(item->GetItemLabel(), expected[i].second) << i;
    }
  }
  EXPECT_EQ(ids::ID_EDIT_COPY, 57634);
  EXPECT_EQ(ids::ID_EDIT_CUT, 57635);
  EXPECT_EQ(ids::ID_EDIT_PASTE, 57637);
  EXPECT_EQ(ids::ID_EDIT_SELECT_ALL, 57642);
  EXPECT_EQ(ids::ID_EDIT_UNDO, 57643);
  EXPECT_EQ(ids::ID_EDIT_REDO, 57644);
}

TEST_F(CommandsTest, UpdateHandlersEnableWhatCanBeDone) {
  SetLines({"abcd", "ef"});
  EXPECT_FALSE(Enabled(ids::ID_EDIT_COPY));
  EXPECT_FALSE(Enabled(ids::ID_EDIT_CUT));
  EXPECT_FALSE(Enabled(ids::ID_EDIT_PASTE));
  EXPECT_TRUE(Enabled(ids::ID_EDIT_SELECT_ALL));
  EXPECT_FALSE(Enabled(ids::ID_EDIT_UNDO));
  EXPECT_FALSE(Enabled(ids::ID_EDIT_REDO));

  Select(1, 0, 0, 1);
  EXPECT_TRUE(Enabled(ids::ID_EDIT_COPY));
  EXPECT_TRUE(Enabled(ids::ID_EDIT_CUT));

  // Text put there by another program enables Paste; an empty clipboard does not.
  SetClipboardText(L"from elsewhere");
  EXPECT_TRUE(Enabled(ids::ID_EDIT_PASTE));
  ClearClipboard();
  EXPECT_FALSE(Enabled(ids::ID_EDIT_PASTE));

  TypeAt(0, 0, "x");
  EXPECT_TRUE(Enabled(ids::ID_EDIT_UNDO));
  EXPECT_FALSE(Enabled(ids::ID_EDIT_REDO));
  Command(ids::ID_EDIT_UNDO);
  EXPECT_FALSE(Enabled(ids::ID_EDIT_UNDO));
  EXPECT_TRUE(Enabled(ids::ID_EDIT_REDO));

  // Submenus are updated too; an item no handler answers for is left alone.
  wxMenu menu;
  auto* sub = new wxMenu;
  sub->Append(MenuItemIdOfCommand(ids::ID_EDIT_REDO), "Redo");
  sub->Append(MenuItemIdOfCommand(ids::ID_EDIT_UNDO), "Undo");
  menu.AppendSubMenu(sub, "Edit");
  menu.Append(4242, "Other");
  menu.Append(4243, "Off")->Enable(false);
  editor_->UpdateMenuItems(menu);
  EXPECT_TRUE(menu.FindItem(MenuItemIdOfCommand(ids::ID_EDIT_REDO))->IsEnabled());
  EXPECT_FALSE(menu.FindItem(MenuItemIdOfCommand(ids::ID_EDIT_UNDO))->IsEnabled());
  EXPECT_TRUE(menu.FindItem(4242)->IsEnabled());
  EXPECT_FALSE(menu.FindItem(4243)->IsEnabled());
}

TEST_F(CommandsTest, DisabledCommandsAreNotCarriedOut) {
  SetLines({"abcd"});
  SetClipboardText(L"keep");
  editor_->m_redoStack.clear();

  // Undo and redo with empty stacks would still notify if they ran.
  Command(ids::ID_EDIT_UNDO);
  Command(ids::ID_EDIT_REDO);
  // Cut without a selection would empty the redo stack and notify.
  Command(ids::ID_EDIT_CUT);
  Command(ids::ID_EDIT_COPY);
  EXPECT_TRUE(parent_->codes.empty());
  EXPECT_EQ(ClipboardText(), std::wstring(L"keep"));

  ClearClipboard();
  Command(ids::ID_EDIT_PASTE);
  EXPECT_EQ(Lines(), (Lines_t{"abcd"}));
  EXPECT_TRUE(parent_->codes.empty());

  // Enabled, they run.
  Select(1, 0, 3, 0);
  Command(ids::ID_EDIT_COPY);
  EXPECT_EQ(ClipboardText(), std::wstring(L"bc"));
  Command(ids::ID_EDIT_CUT);
  EXPECT_EQ(Lines(), (Lines_t{"ad"}));
  Command(ids::ID_EDIT_PASTE);
  EXPECT_EQ(Lines(), (Lines_t{"abcd"}));
  Command(ids::ID_EDIT_UNDO);
  EXPECT_EQ(Lines(), (Lines_t{"ad"}));
  Command(ids::ID_EDIT_REDO);
  EXPECT_EQ(Lines(), (Lines_t{"abcd"}));
  EXPECT_EQ(parent_->Count(ids::EN_CHANGE), 4);
}

TEST_F(CommandsTest, KeyDownsGoThroughTheAcceleratorTable) {
  SetLines({"abcd"});

  // Ctrl+Z with nothing to undo does nothing and tells nobody.
  KeyDown('Z', true);
  EXPECT_TRUE(parent_->codes.empty());

  // Ctrl+C without a selection leaves the clipboard; with one, copies.
  SetClipboardText(L"keep");
  KeyDown('C', true);
  EXPECT_EQ(ClipboardText(), std::wstring(L"keep"));
  Select(0, 0, 2, 0);
  KeyDown('C', true);
  EXPECT_EQ(ClipboardText(), std::wstring(L"ab"));

  KeyDown('X', true);
  EXPECT_EQ(Lines(), (Lines_t{"cd"}));
  SetCaret(2, 0);
  SetAnchor(2, 0);
  KeyDown('V', true);
  EXPECT_EQ(Lines(), (Lines_t{"cdab"}));
  KeyDown('Z', true);
  EXPECT_EQ(Lines(), (Lines_t{"cd"}));
  KeyDown('Y', true);
  EXPECT_EQ(Lines(), (Lines_t{"cdab"}));
  KeyDown('Z', true);
  EXPECT_EQ(Lines(), (Lines_t{"cd"}));
  const std::size_t changes = parent_->codes.size();

  // Entries need Shift and Alt up; there is none for select all, and a
  // letter without Ctrl is no accelerator.
  KeyDown('Z', true, true);
  KeyDown('Z', true, false, true);
  KeyDown('Y', true, true);
  KeyDown('Z', false);
  KeyDown('A', true);
  EXPECT_EQ(Lines(), (Lines_t{"cd"}));
  EXPECT_EQ(parent_->codes.size(), changes);
  EXPECT_EQ(editor_->m_redoStack.size(), 1u);

  // With the table switched off the keys are plain keys.
  editor_->m_useAccelerators = false;
  KeyDown('Y', true);
  EXPECT_EQ(Lines(), (Lines_t{"cd"}));
}

TEST_F(CommandsTest, RealKeysReachTheEditorsTableBeforeTheFrames) {
  keystate::ClearOverride();
  int frameCommands = 0;
  const wxAcceleratorEntry frameEntries[] = {
      wxAcceleratorEntry(wxACCEL_CTRL, 'Z', 5555),
      wxAcceleratorEntry(wxACCEL_CTRL | wxACCEL_SHIFT, 'Z', 5556),
  };
  frame_->SetAcceleratorTable(wxAcceleratorTable(2, frameEntries));
  frame_->Bind(wxEVT_MENU, [&](wxCommandEvent&) { ++frameCommands; }, 5555, 5556);

  SetLines({"abcd"});
  editor_->SetFocus();
  Pump();
  ASSERT_EQ(wxWindow::FindFocus(), editor_);
  TypeAt(4, 0, "e");
  ASSERT_EQ(Lines(), (Lines_t{"abcde"}));

  wxUIActionSimulator keys;
  // Ctrl+Shift+Z is not the editor's: it passes on to the frame's table.
  keys.Char('z', wxMOD_CONTROL | wxMOD_SHIFT);
  Pump();
  EXPECT_EQ(Lines(), (Lines_t{"abcde"}));
  EXPECT_EQ(frameCommands, 1);

  keys.Char('z', wxMOD_CONTROL);
  Pump();
  EXPECT_EQ(Lines(), (Lines_t{"abcd"}));
  EXPECT_EQ(frameCommands, 1);

  keys.Char('y', wxMOD_CONTROL);
  Pump();
  EXPECT_EQ(Lines(), (Lines_t{"abcde"}));

  editor_->SelectAll();
  keys.Char('c', wxMOD_CONTROL);
  Pump();
  EXPECT_EQ(ClipboardText(), std::wstring(L"abcde"));
  frame_->SetAcceleratorTable(wxNullAcceleratorTable);
}

TEST_F(CommandsTest, RightClickFocusesThenShowsTheMenuWhereClicked) {
  keystate::ClearOverride();
  MenuRecordingEditor* editor = UseMenuRecordingEditor();
  auto* other = new wxTextCtrl(frame_, wxID_ANY, "", wxPoint(0, 0), wxSize(50, 20));
  SetLines({"abcd", "efgh"});
  Select(1, 0, 3, 1);
  other->SetFocus();
  Pump();
  ASSERT_NE(wxWindow::FindFocus(), editor);
  parent_->codes.clear();

  const wxPoint client(200, 100);
  wxUIActionSimulator mouse;
  mouse.MouseMove(editor->ClientToScreen(client));
  Pump();
  mouse.MouseClick(wxMOUSE_BTN_RIGHT);
  Pump();

  ASSERT_EQ(editor->popups, 1);
  EXPECT_TRUE(editor->focusedWhenShown);
  EXPECT_EQ(editor->notificationsWhenShown, std::vector<int>{ids::EN_SETFOCUS});
  EXPECT_EQ(editor->at, client);
  // The right click moves neither the caret nor the anchor.
  EXPECT_EQ(editor->m_caretCol, 3);
  EXPECT_EQ(editor->m_caretLine, 1);
  EXPECT_EQ(editor->m_anchorCol, 1);
  EXPECT_EQ(editor->m_anchorLine, 0);

  // The items as shown: Undo and Redo off, Cut and Copy on (a selection),
  // Paste off (empty clipboard), Select All on.
  ASSERT_EQ(editor->items.size(), 8u);
  const bool enabled[] = {false, false, true, true, true, false, true, true};
  for (int i : {0, 1, 3, 4, 5, 7}) EXPECT_EQ(editor->items[i].enabled, enabled[i]) << i;
  EXPECT_EQ(editor->items[4].label, "&Copy");
  EXPECT_TRUE(editor->items[2].separator);
  EXPECT_TRUE(editor->items[6].separator);
  other->Destroy();
}

TEST_F(CommandsTest, ChosenMenuItemsCarryOutTheirCommands) {
  MenuRecordingEditor* editor = UseMenuRecordingEditor();
  SetLines({"abcd", "efgh"});
  editor->SetFocus();
  Pump();

  wxContextMenuEvent rightClick(wxEVT_CONTEXT_MENU, editor->GetId(), editor->ClientToScreen(wxPoint(30, 5)));
  rightClick.SetEventObject(editor);
  // "Select &All" then "Cut" leaves one empty line; one undo brings it back.
  editor->choose = ids::ID_EDIT_SELECT_ALL;
  editor->GetEventHandler()->ProcessEvent(rightClick);
  EXPECT_EQ(editor->m_anchorCol, 0);
  EXPECT_EQ(editor->m_anchorLine, 0);
  EXPECT_EQ(editor->m_caretCol, 4);
  EXPECT_EQ(editor->m_caretLine, 1);
  editor->choose = ids::ID_EDIT_CUT;
  editor->GetEventHandler()->ProcessEvent(rightClick);
  EXPECT_EQ(Lines(), (Lines_t{""}));
  EXPECT_EQ(ClipboardText(), std::wstring(L"abcd\r\nefgh"));
  editor->choose = ids::ID_EDIT_UNDO;
  editor->GetEventHandler()->ProcessEvent(rightClick);
  EXPECT_EQ(Lines(), (Lines_t{"abcd", "efgh"}));
  editor->choose = ids::ID_EDIT_PASTE;
  editor->GetEventHandler()->ProcessEvent(rightClick);
  EXPECT_EQ(Lines(), (Lines_t{"abcd", "efgh"}));  // the restored selection is replaced by itself
  EXPECT_EQ(editor->popups, 4);

  // Opened from the keyboard, the menu stands at the caret cell's bottom left.
  SetCaret(2, 1);
  SetAnchor(2, 1);
  wxContextMenuEvent fromKeys(wxEVT_CONTEXT_MENU, editor->GetId(), wxDefaultPosition);
  fromKeys.SetEventObject(editor);
  editor->choose = 0;
  editor->GetEventHandler()->ProcessEvent(fromKeys);
  EXPECT_EQ(editor->at, wxPoint(10 + 2 * editor->m_cellWidth, 2 * editor->m_lineHeight));
}

TEST_F(CommandsTest, SelectAllSelectsEverythingWithoutEditing) {
  Lines_t lines;
  for (int i = 0; i < 200; ++i) lines.push_back("line " + std::to_string(i));
  SetLines(lines);
  editor_->m_redoStack.emplace_back();
  editor_->m_redoStack.back().m_records.emplace_back();
  const std::size_t undo = editor_->m_undoStack.size();
  parent_->codes.clear();

  Command(ids::ID_EDIT_SELECT_ALL);
  EXPECT_EQ(editor_->m_anchorCol, 0);
  EXPECT_EQ(editor_->m_anchorLine, 0);
  EXPECT_EQ(editor_->m_caretCol, 8);
  EXPECT_EQ(editor_->m_caretLine, 199);
  // The caret's line is scrolled into view.
  const int visible = editor_->GetClientSize().y / editor_->m_lineHeight;
  EXPECT_GT(editor_->m_firstLine, 0);
  EXPECT_LE(editor_->m_firstLine, 199);
  EXPECT_GT(editor_->m_firstLine + visible, 199);
  EXPECT_TRUE(parent_->codes.empty());
  EXPECT_EQ(editor_->m_undoStack.size(), undo);
  EXPECT_EQ(editor_->m_redoStack.size(), 1u);
  // Not focused: no caret is made.
  EXPECT_FALSE(editor_->m_caretShown);

  editor_->SetFocus();
  Pump();
  ASSERT_EQ(wxWindow::FindFocus(), editor_);
  SetCaret(0, 0);
  SetAnchor(0, 0);
  editor_->SelectAll();
  EXPECT_TRUE(editor_->m_caretShown);
  ASSERT_NE(editor_->GetCaret(), nullptr);
  EXPECT_EQ(editor_->GetCaret()->GetPosition(),
            wxPoint((8 - editor_->m_firstCol) * editor_->m_cellWidth + 9,
                    (199 - editor_->m_firstLine) * editor_->m_lineHeight));
}

}  // namespace
