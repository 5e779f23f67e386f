// The editor's own commands: their enabling, the context menu and the
// accelerator table, from menu events and from real keys and clicks.
#include <string>
#include <vector>

#include "res/EditorResources.h"
#include "support/EditorFixture.h"

#include <wx/clipbrd.h>
#include <wx/menu.h>
#include <wx/textctrl.h>
#include <wx/uiaction.h>

namespace {

// Puts text on the clipboard as another program would; null empties it.
void SetClip(const wchar_t* text) {
  wxClipboardLocker lock;
  if (text) wxTheClipboard->SetData(new wxTextDataObject(text));
  else wxTheClipboard->Clear();
}

// An editor whose popup menu is not tracked on the screen: it notes where and
// what the menu showed, and the notifications sent before it, and chooses none.
class MenuRecordingEditor : public ColorEditWnd {
 public:
  using ColorEditWnd::ColorEditWnd;
  wxPoint at;
  std::string items, enabled;  // "command label|" per item and "-|" per separator; '1' or '0' per item
  std::vector<int> notificationsWhenShown;

 protected:
  bool DoPopupMenu(wxMenu* menu, int x, int y) override {
    at = wxPoint(x, y);
    notificationsWhenShown = static_cast<NotificationRecorder*>(GetParent())->codes;
    items = enabled = "";
    for (wxMenuItem* item : menu->GetMenuItems()) {
      const std::string label = item->GetItemLabel().ToStdString();
      items += item->IsSeparator() ? "-|" : std::to_string(CommandOfMenuItemId(item->GetId())) + " " + label + "|";
      if (!item->IsSeparator()) enabled += item->IsEnabled() ? '1' : '0';
    }
    return true;
  }
};

class CommandsTest : public EditorFixture {
 protected:
  void SetUp() override {
    EditorFixture::SetUp();
    delete editor_;
    editor_ = menu_ = new MenuRecordingEditor(parent_, wxRect(2, 2, 796, 596), L"Veltrane", true);
    SetClip(nullptr);
    editor_->SetFocus();
    Pump();
  }
  // Opens the menu from the keyboard: which of its six items are enabled.
  std::string ContextMenu() {
    wxContextMenuEvent event(wxEVT_CONTEXT_MENU, editor_->GetId(), wxDefaultPosition);
    editor_->GetEventHandler()->ProcessEvent(event);
    return menu_->enabled;
  }
  // Selects from `from` to `to` on the first line and sends `command` as a menu would.
  void Command(int command, int from = 0, int to = 0) {
    SetAnchor(from, 0);
    SetCaret(to, 0);
    wxCommandEvent event(wxEVT_MENU, command);
    editor_->GetEventHandler()->ProcessEvent(event);
  }
  MenuRecordingEditor* menu_ = nullptr;
};

TEST_F(CommandsTest, UpdateHandlersEnableWhatCanBeDoneAndDisabledCommandsDoNothing) {
  SetLines({"abcd", "ef"});
  EXPECT_EQ(ContextMenu(), "000001");
  SetAnchor(0, 1);  // a selection enables Cut and Copy, text on the clipboard Paste
  SetClip(L"from elsewhere");
  EXPECT_EQ(ContextMenu(), "001111");
  SetClip(nullptr);
  SetAnchor(0, 0);
  editor_->InsertText(L"x");
  EXPECT_EQ(ContextMenu(), "100001");
  Command(ids::ID_EDIT_UNDO);
  EXPECT_EQ(ContextMenu(), "010001");
  // Disabled, none runs: undo, redo and a cut without a selection would notify.
  SetLines({"abcd"});
  editor_->m_redoStack.clear();
  SetClip(L"keep");
  parent_->codes.clear();
  for (int id : {ids::ID_EDIT_UNDO, ids::ID_EDIT_REDO, ids::ID_EDIT_CUT, ids::ID_EDIT_COPY}) Command(id);
  Command(ids::ID_EDIT_PASTE, 4, 4);
  SetClip(nullptr);
  Command(ids::ID_EDIT_PASTE);
  EXPECT_EQ(editor_->GetText(), "abcdkeep");
  EXPECT_EQ(parent_->Count(ids::EN_CHANGE), 1);
}

TEST_F(CommandsTest, RealKeysReachTheEditorsTableBeforeTheFrames) {
  keystate::ClearOverride();
  int frameCommands = 0;
  const wxAcceleratorEntry frameEntry(wxACCEL_CTRL, 'Z', 5555);
  frame_->SetAcceleratorTable(wxAcceleratorTable(1, &frameEntry));
  frame_->Bind(wxEVT_MENU, [&](wxCommandEvent&) { ++frameCommands; }, 5555);
  SetLines({"abcd"});
  ASSERT_EQ(wxWindow::FindFocus(), editor_);
  parent_->codes.clear();
  // {key, selection, text after}: Ctrl+Z with nothing to undo and Ctrl+Shift+Z ('Z') do nothing.
  const struct { char key; int from, to; std::string line; } steps[] = {
      {'z', 0, 0, "abcd"}, {'c', 0, 2, "abcd"}, {'v', 4, 4, "abcdab"}, {'Z', 0, 0, "abcdab"},
      {'z', 0, 0, "abcd"}, {'y', 0, 0, "abcdab"}, {'x', 0, 2, "cdab"},
  };
  wxUIActionSimulator keys;
  for (const auto& s : steps) {
    SetAnchor(s.from, 0);
    SetCaret(s.to, 0);
    keys.Char(s.key == 'Z' ? 'z' : s.key, s.key == 'Z' ? wxMOD_CONTROL | wxMOD_SHIFT : wxMOD_CONTROL);
    Pump();
    EXPECT_EQ(editor_->GetText(), s.line) << s.key;
  }
  EXPECT_EQ(parent_->Count(ids::EN_CHANGE), 4);
  EXPECT_EQ(frameCommands, 0);
}

TEST_F(CommandsTest, RightClickFocusesThenShowsTheMenuWhereClickedWithoutMovingTheCaret) {
  keystate::ClearOverride();
  auto* other = new wxTextCtrl(frame_, wxID_ANY, "", wxPoint(0, 0), wxSize(50, 20));
  SetLines({"abcd", "efgh"});
  SetAnchor(1, 0);
  SetCaret(3, 1);
  other->SetFocus();
  Pump();
  parent_->codes.clear();
  const wxPoint client(200, 100);
  wxUIActionSimulator mouse;
  mouse.MouseMove(editor_->ClientToScreen(client));
  Pump();
  mouse.MouseClick(wxMOUSE_BTN_RIGHT);
  Pump();
  EXPECT_EQ(menu_->at, client);
  EXPECT_EQ(menu_->notificationsWhenShown, std::vector<int>{ids::EN_SETFOCUS});
  EXPECT_EQ(std::make_pair(editor_->m_caretCol, editor_->m_caretLine), std::make_pair(3, 1));
  EXPECT_EQ(std::make_pair(editor_->m_anchorCol, editor_->m_anchorLine), std::make_pair(1, 0));
  EXPECT_EQ(menu_->items, "57643 Undo|57644 Redo|-|57635 Cut|57634 &Copy|57637 Paste|-|57642 Select &All|");
  EXPECT_EQ(menu_->enabled, "001101");
  // Opened from the keyboard, the menu stands at the caret cell's bottom left.
  ContextMenu();
  EXPECT_EQ(menu_->at, wxPoint(10 + 3 * editor_->m_cellWidth, 2 * editor_->m_lineHeight));
}

}  // namespace
