// Real keys from the X server into an editor focused in a document window of
// the main frame: Alt with a letter and F10 reach the menu bar and type
// nothing, and every key of the frame's accelerator table runs its command.
#include <gtest/gtest.h>
#include <wx/clipbrd.h>
#include <wx/dataobj.h>
#include <wx/choicdlg.h>
#include <wx/filedlg.h>
#include <wx/menu.h>
#include <wx/modalhook.h>
#include <wx/printdlg.h>
#include <wx/uiaction.h>

#include <string>
#include <vector>

#include "app/ClassView.h"
#include "app/OutputWnd.h"
#include "support/ShellFixture.h"
#include "support/WxFixture.h"

using shelltest::Pump;
using shelltest::PumpUntil;
using shelltest::ReadFile;

namespace {

bool ContainsFocus(wxWindow* window) {
  for (wxWindow* w = wxWindow::FindFocus(); w; w = w->GetParent())
    if (w == window) return true;
  return false;
}

wxString ClipboardText() {
  wxTextDataObject data;
  if (!wxTheClipboard->Open()) return "<closed>";
  wxTheClipboard->GetData(data);
  wxTheClipboard->Close();
  return data.GetText();
}

// Cancels every modal dialog unseen and notes its kind.
class Dialogs : public wxModalDialogHook {
 public:
  Dialogs() { Register(); }
  ~Dialogs() override { Unregister(); }
  std::vector<std::string> kinds;

 protected:
  int Enter(wxDialog* dialog) override {
    if (dynamic_cast<wxFileDialog*>(dialog)) kinds.push_back("file");
    else if (dynamic_cast<wxSingleChoiceDialog*>(dialog)) kinds.push_back("choice");
    else if (dynamic_cast<wxPrintDialogBase*>(dialog)) kinds.push_back("print");
    else kinds.push_back(wxString(dialog->GetClassInfo()->GetClassName()).ToStdString());
    return wxID_CANCEL;
  }
  void Exit(wxDialog*) override {}
};

class FrameKeysTest : public shelltest::DocFrameTest {
 protected:
  void SetUp() override {
    DocFrameTest::SetUp();
    // The label of each menu of the menu bar that opens.
    frame_->Bind(wxEVT_MENU_OPEN, &FrameKeysTest::OnMenuOpen, this);
    frame_->Bind(wxEVT_MENU_CLOSE, &FrameKeysTest::OnMenuClose, this);
  }
  void TearDown() override {
    frame_->Unbind(wxEVT_MENU_OPEN, &FrameKeysTest::OnMenuOpen, this);
    frame_->Unbind(wxEVT_MENU_CLOSE, &FrameKeysTest::OnMenuClose, this);
    DocFrameTest::TearDown();
  }
  void OnMenuOpen(wxMenuEvent& event) {
    event.Skip();
    wxMenuBar* bar = frame_->GetMenuBar();
    for (size_t i = 0; bar && i < bar->GetMenuCount(); ++i)
      if (bar->GetMenu(i) == event.GetMenu()) opened_.push_back(bar->GetMenuLabel(i));
    ++open_;
  }
  void OnMenuClose(wxMenuEvent& event) {
    event.Skip();
    --open_;
  }
  // The document's window in front with its editor focused.
  ColorEditWnd* FocusEditor(CSourceView* view) {
    Activate(view);
    view->m_pEditor->SetFocus();
    Pump();
    EXPECT_EQ(wxWindow::FindFocus(), view->m_pEditor);
    return view->m_pEditor;
  }
  // Presses `key` with `modifiers` and waits for the menu it opens; then
  // closes the menu with Escape. Returns the label of the menu that opened.
  wxString MenuOf(int key, int modifiers) {
    opened_.clear();
    keys_.Char(key, modifiers);
    PumpUntil([this] { return !opened_.empty(); }, 2000);
    const wxString label = opened_.empty() ? wxString("<none>") : opened_.front();
    keys_.Char(WXK_ESCAPE);
    PumpUntil([this] { return open_ <= 0; }, 2000);
    Pump();
    return label;
  }

  wxUIActionSimulator keys_;
  std::vector<wxString> opened_;
  int open_ = 0;
};

// With the editor focused, Alt+F, Alt+E, Alt+V, Alt+W and Alt+H open the menu
// of that letter and F10 the first menu; nothing is typed, the document stays
// unmodified. Ctrl with Alt (AltGr on some layouts) still types.
TEST_F(FrameKeysTest, AltLettersAndF10OpenTheMenusAndTypeNothing) {
  CSourceDoc* doc = Open(WriteFile("alt.vorn", "CON 'a\n"));
  ASSERT_NE(doc, nullptr);
  CSourceView* view = ViewOf(doc);
  const std::vector<std::string> text = Lines(doc);
  const struct {
    int key, modifiers;
    const char* menu;
  } cases[] = {{'f', wxMOD_ALT, "&File"},   {'e', wxMOD_ALT, "&Edit"}, {'v', wxMOD_ALT, "&View"},
               {'w', wxMOD_ALT, "&Window"}, {'h', wxMOD_ALT, "&Help"}, {WXK_F10, wxMOD_NONE, "&File"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.menu);
    FocusEditor(view);
    EXPECT_EQ(MenuOf(c.key, c.modifiers), c.menu);
  }
  FocusEditor(view);
  for (int key : {int('1'), int(WXK_RETURN)}) keys_.Char(key, wxMOD_ALT);
  Pump();
  EXPECT_EQ(Lines(doc), text);
  EXPECT_TRUE(view->m_pEditor->m_undoStack.empty());
  EXPECT_FALSE(doc->IsModified());
  view->m_pEditor->SetSelection(0, 0, 0, 0);
  keys_.Char('[', wxMOD_CONTROL | wxMOD_ALT);
  Pump();
  EXPECT_EQ(Lines(doc)[0], "[CON 'a");
}

// Each key of the frame's accelerator table does its command with the editor
// of either kind of document focused; the edit commands act on that editor.
TEST_F(FrameKeysTest, EveryAcceleratorRunsItsCommandWithTheEditorFocused) {
  for (const char* name : {"keys.vorn", "keys.vorn2"}) {
    SCOPED_TRACE(name);
    const std::string path = WriteFile(name, "abc\ndef\n");
    CSourceDoc* doc = Open(path);
    ASSERT_NE(doc, nullptr);
    CSourceView* view = ViewOf(doc);
    ColorEditWnd* editor = FocusEditor(view);
    auto press = [&](int key, int modifiers) {
      keys_.Char(key, modifiers);
      Pump();
    };

    // Undo: Alt+Backspace and Ctrl+Z.
    editor->SetSelection(0, 0, 0, 0);
    press('x', wxMOD_NONE);
    press('y', wxMOD_NONE);
    ASSERT_EQ(Lines(doc), (std::vector<std::string>{"xyabc", "def"}));
    press(WXK_BACK, wxMOD_ALT);
    EXPECT_EQ(Lines(doc), (std::vector<std::string>{"xabc", "def"}));
    press('z', wxMOD_CONTROL);
    EXPECT_EQ(Lines(doc), (std::vector<std::string>{"abc", "def"}));
    EXPECT_TRUE(editor->m_undoStack.empty());

    // Copy, cut and paste, each by both of its keys.
    SetClipboardText("");
    editor->SetSelection(0, 0, 1, 0);
    press(WXK_INSERT, wxMOD_CONTROL);
    EXPECT_EQ(ClipboardText(), "a");
    editor->SetSelection(1, 0, 2, 0);
    press('c', wxMOD_CONTROL);
    EXPECT_EQ(ClipboardText(), "b");
    editor->SetSelection(0, 1, 1, 1);
    press(WXK_DELETE, wxMOD_SHIFT);
    EXPECT_EQ(ClipboardText(), "d");
    EXPECT_EQ(Lines(doc), (std::vector<std::string>{"abc", "ef"}));
    editor->SetSelection(0, 1, 1, 1);
    press('x', wxMOD_CONTROL);
    EXPECT_EQ(ClipboardText(), "e");
    EXPECT_EQ(Lines(doc), (std::vector<std::string>{"abc", "f"}));
    editor->SetSelection(0, 0, 0, 0);
    press(WXK_INSERT, wxMOD_SHIFT);
    press('v', wxMOD_CONTROL);
    EXPECT_EQ(Lines(doc), (std::vector<std::string>{"eeabc", "f"}));

    // Save.
    press('s', wxMOD_CONTROL);
    EXPECT_EQ(ReadFile(path), "eeabc\nf\n");
    EXPECT_FALSE(doc->IsModified());

    // Print, Open and New show their dialogs: the print dialog, the file
    // dialog and the choice of the document's kind (each cancelled unseen).
    {
      Dialogs dialogs;
      press('p', wxMOD_CONTROL);
      press('o', wxMOD_CONTROL);
      press('n', wxMOD_CONTROL);
      EXPECT_EQ(dialogs.kinds, (std::vector<std::string>{"print", "file", "choice"}));
      EXPECT_EQ(manager_->GetDocumentsVector().size(), 1u);
    }

    // F6 and Shift+F6 move the focus to the panes.
    FocusEditor(view);
    press(WXK_F6, wxMOD_NONE);
    EXPECT_TRUE(ContainsFocus(frame_->m_wndClassView));
    FocusEditor(view);
    press(WXK_F6, wxMOD_SHIFT);
    EXPECT_TRUE(ContainsFocus(frame_->m_wndOutput));
    Drop(doc);
  }
}

}  // namespace
