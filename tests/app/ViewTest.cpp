// Window tests of the two views inside a real main frame and doc manager: the
// initial update, go-to-line, the Section View timer, the modified mark and
// closing, the commands' update rules, the context menu and printing.
#include <gtest/gtest.h>
#include <wx/aui/auibook.h>
#include <wx/clipbrd.h>
#include <wx/dataobj.h>
#include <wx/dcclient.h>
#include <wx/dcmemory.h>
#include <wx/listbox.h>
#include <wx/menu.h>
#include <wx/print.h>
#include <wx/testing.h>
#include <wx/treectrl.h>
#include <wx/uiaction.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/ClassView.h"
#include "app/FileView.h"
#include "app/GotoLineEvent.h"
#include "app/OutputWnd.h"
#include "app/ViewPrintout.h"
#include "app/WindowsDialog.h"
#include "res/EditorResources.h"
#include "support/ScreenGrab.h"
#include "support/ShellFixture.h"
#include "support/WxFixture.h"

using shelltest::MessageBoxes;
using shelltest::Pump;
using shelltest::PumpUntil;
using shelltest::ReadFile;

namespace {

class ViewTest : public shelltest::DocFrameTest {
 protected:
  // The Section View: its root's text, then its items.
  std::vector<std::wstring> Sections() const {
    CViewTree* t = frame_->m_wndClassView->m_wndSectionTree;
    const wxTreeItemId root = t->GetRootItem();
    if (!root.IsOk()) return {};
    std::vector<std::wstring> texts{t->GetItemText(root).ToStdWstring()};
    wxTreeItemIdValue cookie;
    for (wxTreeItemId i = t->GetFirstChild(root, cookie); i.IsOk(); i = t->GetNextChild(root, cookie))
      texts.push_back(t->GetItemText(i).ToStdWstring());
    return texts;
  }
  std::wstring SectionRoot() const { return Sections().empty() ? L"" : Sections()[0]; }
  // Marks the root so that a later refill shows.
  void MarkSections() {
    CViewTree* t = frame_->m_wndClassView->m_wndSectionTree;
    t->SetItemText(t->GetRootItem(), "marked");
  }
  static void Tick(CSourceView* view) {
    wxTimerEvent tick(view->m_timer);
    view->OnTimer(tick);
  }
  static void Type(ColorEditWnd* editor, const std::string& text) {
    for (char c : text) {
      wxKeyEvent key(wxEVT_CHAR);
      key.m_uniChar = key.m_keyCode = static_cast<unsigned char>(c);
      editor->OnChar(key);
    }
  }

};

TEST_F(ViewTest, InitialUpdateLoadsTheNewDocumentOfEitherKind) {
  const std::vector<std::wstring> sections = {
      L"", L"CON 'Constants section ", L"CON regular text", L"OBJ 'This is an object section", L"OBJ 'test objects ",
      L"VAR 'a variable section", L"VAR 'test vars ",  L"PUB 'a public section",          L"PUB 'Test pub ",
      L"PRI 'a private section",  L"PRI  'Test pri",   L"DAT'a dat section",              L"DAT  'Test dat"};
  for (bool second : {false, true}) {
    SCOPED_TRACE(second ? "second generation" : "first generation");
    wxDocument* doc = NewDocument(second ? second_ : first_);
    ASSERT_NE(doc, nullptr);
    CSourceView* view = ViewOf(doc);
    ASSERT_TRUE(view && view->m_pEditor);
    ColorEditWnd* editor = view->m_pEditor;
    const CTextModel& model = editor->m_textModel;
    EXPECT_EQ(model.LineCount(), 31);
    EXPECT_EQ(editor->m_caretCol, 0);
    EXPECT_EQ(editor->m_caretLine, 31);
    EXPECT_TRUE(editor->m_undoStack.empty());
    EXPECT_EQ(model.colorizer, &view->m_colorizer);
    EXPECT_EQ(view->m_colorizer.mode, second ? L"Vorn2" : L"Vorn1");
    if (second) {
      EXPECT_EQ(static_cast<CVorn2EditView*>(view)->m_nComPort, 2);
    }
    EXPECT_EQ(editor->GetParent(), view->GetViewWindow());
    EXPECT_TRUE(view->m_timer.IsRunning());
    const std::wstring title = doc->GetUserReadableName().ToStdWstring();
    EXPECT_EQ(model.title, title);
    std::vector<std::wstring> expected = sections;
    expected[0] = title + L" Sections";
    EXPECT_EQ(Sections(), expected);
    // Loading is no change: the document is clean and undo does nothing.
    EXPECT_FALSE(doc->IsModified());
    EXPECT_EQ(view->GetFrame()->GetLabel(), doc->GetUserReadableName());
    wxCommandEvent undo(wxEVT_MENU, ids::ID_EDIT_UNDO);
    editor->OnEditUndo(undo);
    EXPECT_EQ(model.LineCount(), 31);
  }
}

TEST_F(ViewTest, EditorCoversTheViewWindowAfterAResize) {
  CSourceView* view = ViewOf(NewDocument(first_));
  wxWindow* window = view->GetViewWindow();
  const wxSize before = window->GetClientSize();
  window->SetSize(before.x - 37, before.y - 23);
  Pump();
  EXPECT_EQ(view->m_pEditor->GetRect(), wxRect(wxPoint(0, 0), window->GetClientSize()));
}

// Go-to-line scrolls, clamped to the lines, and leaves caret, selection and
// focus alone; through the main frame it scrolls every view of the document.
TEST_F(ViewTest, GoToLineScrollsClampedWithoutMovingTheCaret) {
  wxDocument* doc = NewDocument(first_);
  CSourceView* view = ViewOf(doc);
  ColorEditWnd* editor = view->m_pEditor;
  editor->SetSelection(2, 3, 5, 4);
  editor->SetFocus();
  Pump();
  wxWindow* focus = wxWindow::FindFocus();
  const struct {
    int line, top;
  } cases[] = {{30, 30}, {31, 30}, {5000, 30}, {0, 0}, {12, 12}, {-3, 0}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.line);
    wxCommandEvent event = MakeGotoLineEvent(c.line);
    view->ProcessEvent(event);
    EXPECT_EQ(editor->m_firstLine, c.top);
    const int lastPosition = editor->GetScrollRange(wxVERTICAL) - editor->GetScrollThumb(wxVERTICAL);
    EXPECT_EQ(editor->GetScrollPos(wxVERTICAL), std::min(c.top, lastPosition));
    EXPECT_EQ(std::vector<int>({editor->m_anchorCol, editor->m_anchorLine, editor->m_caretCol, editor->m_caretLine}),
              std::vector<int>({2, 3, 5, 4}));
    EXPECT_EQ(wxWindow::FindFocus(), focus);
  }
  CSourceView* second = NewWindow(doc);
  ASSERT_TRUE(second && second->m_pEditor);
  EXPECT_EQ(second->m_pEditor->m_textModel.LineCount(), 31);
  Activate(second);
  wxCommandEvent event = MakeGotoLineEvent(16);
  frame_->GetEventHandler()->ProcessEvent(event);
  EXPECT_EQ(editor->m_firstLine, 16);
  EXPECT_EQ(second->m_pEditor->m_firstLine, 16);
  EXPECT_EQ(second->m_pEditor->m_caretLine, 31);
}

TEST_F(ViewTest, SwitchingDocumentsRefillsOnTheNextTickOfTheActiveViewOnly) {
  wxDocument* docA = Open(WriteFile("alpha.vorn", "CON 'alpha\nPUB main\n"));
  wxDocument* docB = Open(WriteFile("beta.vorn", "OBJ 'beta\nVAR x\nDAT d\n"));
  ASSERT_TRUE(docA && docB);
  CSourceView* viewA = ViewOf(docA);
  CSourceView* viewB = ViewOf(docB);
  viewA->m_timer.Stop();
  viewB->m_timer.Stop();
  EXPECT_EQ(SectionRoot(), L"beta.vorn Sections");
  Activate(viewA);
  Tick(viewB);  // not active: nothing
  EXPECT_EQ(SectionRoot(), L"beta.vorn Sections");
  Tick(viewA);
  EXPECT_EQ(Sections(), (std::vector<std::wstring>{L"alpha.vorn Sections", L"CON 'alpha", L"PUB main"}));
  // Same title and no change: the tree is left alone.
  MarkSections();
  Tick(viewA);
  EXPECT_EQ(SectionRoot(), L"marked");
  // With the views' own timers, each switch shows the active document within a period.
  viewA->m_timer.Start(500);
  viewB->m_timer.Start(500);
  Activate(viewB);
  const std::vector<std::wstring> beta{L"beta.vorn Sections", L"OBJ 'beta", L"VAR x", L"DAT d"};
  EXPECT_TRUE(PumpUntil([&] { return Sections() == beta; }, 3000));
  // Back to alpha, whose sections are unchanged since its last refill.
  Activate(viewA);
  EXPECT_TRUE(PumpUntil([&] { return SectionRoot() == L"alpha.vorn Sections"; }, 3000));
}

TEST_F(ViewTest, TheSectionViewEmptiesWhenTheLastSourceWindowCloses) {
  wxDocument* docA = Open(WriteFile("alpha.vorn", "CON 'alpha\nPUB main\n"));
  wxDocument* docB = Open(WriteFile("beta.vorn", "OBJ 'beta\nVAR x\n"));
  ASSERT_TRUE(docA && docB);
  CSourceView* viewA = ViewOf(docA);
  viewA->m_timer.Stop();
  ViewOf(docB)->m_timer.Stop();
  EXPECT_EQ(SectionRoot(), L"beta.vorn Sections");
  // File Close on beta: alpha stays and shows its own sections at its tick.
  wxCommandEvent close(wxEVT_MENU, ids::ID_FILE_CLOSE);
  frame_->ProcessWindowEvent(close);
  Pump();
  ASSERT_EQ(manager_->GetDocumentsVector().size(), 1u);
  Activate(viewA);
  Tick(viewA);
  EXPECT_EQ(Sections(), (std::vector<std::wstring>{L"alpha.vorn Sections", L"CON 'alpha", L"PUB main"}));
  // The last one closes: nothing of it stays in the tree.
  frame_->ProcessWindowEvent(close);
  Pump();
  EXPECT_TRUE(manager_->GetDocumentsVector().empty());
  EXPECT_TRUE(Sections().empty());
  EXPECT_EQ(frame_->m_wndClassView->m_strTitle, L"");
}

// A file name holding a line break shows on one line in the Section View's
// root, the document's tab and the caption; the side pane's two tabs show
// their labels whole at the pane's first width.
TEST_F(ViewTest, NamesAndTabLabelsShowWholeOnOneLine) {
  wxDocument* doc = Open(WriteFile("two\nlines.vorn", "CON 'one\n"));
  ASSERT_NE(doc, nullptr);
  CSourceView* view = ViewOf(doc);
  view->m_timer.Stop();
  Tick(view);
  Pump();
  EXPECT_EQ(SectionRoot(), L"two\u21B5lines.vorn Sections");
  wxAuiNotebook* documents = frame_->GetNotebook();
  const int page = documents->GetPageIndex(view->GetFrame());
  ASSERT_NE(page, wxNOT_FOUND);
  EXPECT_EQ(documents->GetPageText(static_cast<size_t>(page)), wxString(L"two\u21B5lines.vorn"));
  EXPECT_EQ(frame_->GetTitle().Find('\n'), wxNOT_FOUND);
  EXPECT_NE(frame_->GetTitle().Find(wxString(L"two\u21B5lines.vorn")), wxNOT_FOUND);

  wxAuiNotebook* side = frame_->m_wndPaneTabs;
  for (wxWindow* pane : {static_cast<wxWindow*>(frame_->m_wndFileView), static_cast<wxWindow*>(frame_->m_wndClassView)}) {
    wxAuiTabCtrl* strip = nullptr;
    int index = -1;
    ASSERT_TRUE(side->FindTab(pane, &strip, &index));
    wxClientDC dc(strip);
    EXPECT_TRUE(strip->IsTabVisible(index, 0, &dc, strip)) << side->GetPageText(static_cast<size_t>(index));
    const wxRect tab = strip->GetPage(static_cast<size_t>(index)).rect;
    EXPECT_LE(tab.GetRight(), strip->GetClientSize().x) << side->GetPageText(static_cast<size_t>(index));
  }
}

TEST_F(ViewTest, EditsShowInTheSectionViewByTheNextTick) {
  const struct {
    const char* what;
    std::function<void(ColorEditWnd*)> edit;
    std::vector<std::wstring> expected;
  } cases[] = {
      {"rename in place", [](ColorEditWnd* e) { e->SetSelection(8, 0, 8, 0); Type(e, "X"); },
       {L"CON 'oneX", L"PUB two", L"DAT three"}},
      {"new header", [](ColorEditWnd* e) { e->SetSelection(7, 2, 7, 2); Type(e, "\rVAR v"); },
       {L"CON 'one", L"PUB two", L"VAR v", L"DAT three"}},
      {"removed header", [](ColorEditWnd* e) { e->SetSelection(0, 2, 0, 3); e->Cut(); },
       {L"CON 'one", L"DAT three"}},
      {"header word typed over", [](ColorEditWnd* e) { e->SetSelection(0, 2, 3, 2); Type(e, "PRI"); },
       {L"CON 'one", L"PRI two", L"DAT three"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    wxDocument* doc = Open(WriteFile(std::string("edit-") + c.what + ".vorn", "CON 'one\n  x = 1\nPUB two\n  y\nDAT three\n"));
    ASSERT_NE(doc, nullptr);
    CSourceView* view = ViewOf(doc);
    view->m_timer.Stop();
    Activate(view);
    Tick(view);
    c.edit(view->m_pEditor);
    Tick(view);
    const std::vector<std::wstring> sections = Sections();
    EXPECT_EQ(std::vector<std::wstring>(sections.begin() + 1, sections.end()), c.expected);
    MarkSections();
    Tick(view);
    EXPECT_EQ(SectionRoot(), L"marked");
    Drop(doc);
  }
}

TEST_F(ViewTest, SaveAsShowsTheNewTitleByTheNextTick) {
  wxDocument* doc = NewDocument(first_);
  CSourceView* view = ViewOf(doc);
  view->m_timer.Stop();
  // What Save As does once its file dialog has given the name.
  const wxString path = Path("renamed.vorn");
  ASSERT_TRUE(doc->OnSaveDocument(path));
  doc->SetTitle("renamed.vorn");
  doc->SetFilename(path, true);
  Tick(view);
  EXPECT_EQ(SectionRoot(), L"renamed.vorn Sections");
  EXPECT_EQ(view->GetFrame()->GetLabel(), "renamed.vorn");
}

// An edit in one window marks the document and every window and tab. Closing
// a window whose own editor holds the edits asks (the document's only window
// or one of two): Yes saves, No discards, Cancel keeps it open and marked. A clean window, or one without edits of its own, closes
// unasked, and so does the application after Cancel on the question.
TEST_F(ViewTest, ClosingAWindowWithItsOwnEditsAsks) {
  const struct {
    int windows, answer;
    bool closed, modified;
    const char* file;
  } cases[] = {{1, wxID_YES, true, false, "qCON 'a\nPUB b\n"}, {1, wxID_NO, true, false, "CON 'a\nPUB b\n"},
               {1, wxID_CANCEL, false, true, "CON 'a\nPUB b\n"}, {2, wxID_YES, true, false, "qCON 'a\nPUB b\n"},
               {2, wxID_NO, true, false, "CON 'a\nPUB b\n"},     {2, wxID_CANCEL, false, true, "CON 'a\nPUB b\n"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.windows << " windows, answer " << c.answer);
    const std::string path = WriteFile("own.vorn", "CON 'a\nPUB b\n");
    wxDocument* doc = Open(path);
    ASSERT_NE(doc, nullptr);
    CSourceView* first = ViewOf(doc);
    CSourceView* closing = c.windows == 2 ? NewWindow(doc) : first;
    ASSERT_NE(closing, nullptr);
    closing->m_pEditor->SetSelection(0, 0, 0, 0);
    Type(closing->m_pEditor, "q");
    if (c.windows == 2) Activate(first);
    // With two windows each is named by its number.
    const std::string firstName = c.windows == 2 ? "own.vorn:1" : "own.vorn";
    wxAuiMDIClientWindow* tabs = frame_->GetClientWindow();
    EXPECT_EQ(tabs->GetPageText(tabs->GetPageIndex(first->GetFrame())), firstName + "*");
    EXPECT_EQ(first->GetFrame()->GetLabel(), firstName + "*");
    MessageBoxes boxes;
    boxes.answers.push_back(c.answer);
    EXPECT_EQ(closing->GetFrame()->Close(), c.closed);
    Pump();
    ASSERT_EQ(boxes.texts.size(), 1u);
    EXPECT_EQ(boxes.texts[0], c.windows == 2 ? "Save changes to own.vorn:2?" : "Save changes to own.vorn?");
    EXPECT_EQ(boxes.captions[0], "Quillmark");
    EXPECT_EQ(boxes.styles[0] & (wxYES_NO | wxCANCEL), wxYES_NO | wxCANCEL);
    const auto docs = manager_->GetDocumentsVector();
    const bool open = std::find(docs.begin(), docs.end(), doc) != docs.end();
    EXPECT_EQ(open, c.windows == 2 || !c.closed);
    EXPECT_EQ(ReadFile(path), c.file);
    if (!open) continue;
    EXPECT_EQ(doc->GetViewsVector().size(), static_cast<std::size_t>(c.closed ? 1 : c.windows));
    EXPECT_EQ(doc->IsModified(), c.modified);
    EXPECT_EQ(first->GetFrame()->GetLabel(), (c.closed ? std::string("own.vorn") : firstName) + (c.modified ? "*" : ""));
    EXPECT_EQ(tabs->GetPageText(tabs->GetPageIndex(first->GetFrame())), first->GetFrame()->GetLabel());
    Drop(doc);
  }
  MessageBoxes boxes;
  wxDocument* clean = Open(WriteFile("clean.vorn", "CON 'a\n"));
  EXPECT_TRUE(ViewOf(clean)->GetFrame()->Close());
  const std::string path = WriteFile("two.vorn", "CON 'a\n");
  wxDocument* doc = Open(path);
  CSourceView* second = NewWindow(doc);
  ASSERT_NE(second, nullptr);
  Type(ViewOf(doc)->m_pEditor, "w");
  EXPECT_TRUE(second->GetFrame()->Close());
  Pump();
  EXPECT_TRUE(boxes.texts.empty());
  EXPECT_EQ(doc->GetViewsVector().size(), 1u);
  EXPECT_TRUE(doc->IsModified());
  boxes.answers.push_back(wxID_CANCEL);
  EXPECT_FALSE(frame_->Close());
  Pump();
  EXPECT_EQ(boxes.texts.size(), 1u);
  EXPECT_FALSE(frame_->IsBeingDeleted());
  EXPECT_EQ(manager_->GetDocumentsVector().size(), 1u);
  EXPECT_TRUE(doc->IsModified());
  EXPECT_EQ(ReadFile(path), "CON 'a\n");
}


// Windows of one document are told apart wherever they are named: while the document has
// several, each tab and the caption carry the window's number; the numbers follow windows
// opening and closing, and a document back to one window shows its plain name. The Windows
// dialog lists each window by its name, and the question on closing a window with its own
// edits, or the document, names the window whose text a Yes saves.
TEST_F(ViewTest, WindowsOfOneDocumentAreNumberedWhereverTheyAreNamed) {
  using Texts = std::vector<std::string>;
  const std::string path = WriteFile("edges.vorn", "CON 'a\nPUB b\n");
  CSourceDoc* doc = Open(path);
  ASSERT_NE(doc, nullptr);
  ASSERT_NE(Open(WriteFile("other.vorn", "CON 'b\n")), nullptr);
  wxAuiMDIClientWindow* tabs = frame_->GetClientWindow();
  // The tabs in their order, then the caption.
  auto shown = [&] {
    Texts texts;
    for (size_t i = 0; i < tabs->GetPageCount(); ++i) texts.push_back(tabs->GetPageText(i).ToStdString());
    wxIdleEvent idle;
    frame_->ProcessWindowEvent(idle);
    texts.push_back(frame_->GetTitle().ToStdString());
    return texts;
  };
  CSourceView* first = ViewOf(doc);
  Activate(first);
  EXPECT_EQ(shown(), (Texts{"edges.vorn", "other.vorn", "edges.vorn - Quillmark"}));
  // Window > New Window from the keyboard.
  first->m_pEditor->SetFocus();
  Pump();
  bool menuOpened = false;
  frame_->Bind(wxEVT_MENU_OPEN, [&menuOpened](wxMenuEvent& e) {
    e.Skip();
    menuOpened = true;
  });
  wxUIActionSimulator keys;
  keys.Char('w', wxMOD_ALT);
  ASSERT_TRUE(PumpUntil([&] { return menuOpened; }, 2000));
  keys.Char('n');
  ASSERT_TRUE(PumpUntil([&] { return doc->GetViewsVector().size() == 2; }, 2000));
  auto* second = dynamic_cast<CSourceView*>(doc->GetViewsVector().back());
  ASSERT_NE(second, nullptr);
  EXPECT_EQ(shown(), (Texts{"edges.vorn:1", "other.vorn", "edges.vorn:2", "edges.vorn:2 - Quillmark"}));
  CSourceView* third = NewWindow(doc);
  ASSERT_NE(third, nullptr);
  Activate(first);
  EXPECT_EQ(shown(),
            (Texts{"edges.vorn:1", "other.vorn", "edges.vorn:2", "edges.vorn:3", "edges.vorn:1 - Quillmark"}));
  {
    CWindowsDialog dialog(frame_);
    Texts listed;
    for (unsigned i = 0; i < dialog.m_wndList->GetCount(); ++i)
      listed.push_back(dialog.m_wndList->GetString(i).ToStdString());
    EXPECT_EQ(listed, (Texts{"edges.vorn:1", "other.vorn", "edges.vorn:2", "edges.vorn:3"}));
  }

  // An edit marks every window of the document; closing the window that holds it asks
  // by the window's number, and No leaves the file and renumbers the others.
  Activate(second);
  second->m_pEditor->SetFocus();
  second->m_pEditor->SetSelection(0, 0, 0, 0);
  keys.Char('q');
  Pump();
  EXPECT_EQ(shown(), (Texts{"edges.vorn:1*", "other.vorn", "edges.vorn:2*", "edges.vorn:3*",
                            "edges.vorn:2 - Quillmark"}));
  MessageBoxes boxes;
  boxes.answers = {wxID_NO};
  EXPECT_TRUE(second->GetFrame()->Close());
  Pump();
  EXPECT_EQ(boxes.texts, std::vector<wxString>{"Save changes to edges.vorn:2?"});
  Activate(third);
  EXPECT_EQ(shown(), (Texts{"edges.vorn:1", "other.vorn", "edges.vorn:2", "edges.vorn:2 - Quillmark"}));
  EXPECT_EQ(ReadFile(path), "CON 'a\nPUB b\n");

  // The window now numbered 2 is asked about as such, and Yes writes its text.
  third->m_pEditor->SetSelection(0, 0, 0, 0);
  Type(third->m_pEditor, "z");
  boxes.answers = {wxID_YES};
  EXPECT_TRUE(third->GetFrame()->Close());
  Pump();
  EXPECT_EQ(boxes.texts.back(), "Save changes to edges.vorn:2?");
  EXPECT_EQ(ReadFile(path), "zCON 'a\nPUB b\n");
  Activate(first);
  EXPECT_EQ(shown(), (Texts{"edges.vorn", "other.vorn", "edges.vorn - Quillmark"}));

  // Closing the document from its second window names that window, whose text Yes would save.
  CSourceView* again = NewWindow(doc);
  ASSERT_NE(again, nullptr);
  again->m_pEditor->SetSelection(0, 0, 0, 0);
  Type(again->m_pEditor, "w");
  boxes.answers = {wxID_CANCEL};
  frame_->ExecuteCommand(ids::ID_FILE_CLOSE);
  Pump();
  EXPECT_EQ(boxes.texts.size(), 3u);
  EXPECT_EQ(boxes.texts.back(), "Save changes to edges.vorn:2?");
  EXPECT_EQ(doc->GetViewsVector().size(), 2u);
}

TEST_F(ViewTest, UpdateRulesOfTheClipboardAndChipCommands) {
  CSourceView* first = ViewOf(NewDocument(first_));
  CSourceView* second = ViewOf(NewDocument(second_));
  // What the view says of a command: -1 no handler, else enabled.
  auto state = [](CSourceView* view, int id) {
    wxUpdateUIEvent update(id);
    if (!view->ProcessEvent(update) || !update.GetSetEnabled()) return -1;
    return update.GetEnabled() ? 1 : 0;
  };
  first->m_pEditor->SetSelection(0, 0, 0, 0);
  SetClipboardText("abc");
  // The second-generation view has no clipboard commands and disables 32775/32778.
  const struct {
    int id, first, second;
  } cases[] = {{ids::ID_EDIT_PASTE, 1, -1},    {ids::ID_EDIT_COPY, 0, -1},     {ids::ID_EDIT_CUT, 0, -1},
               {ids::ID_EDIT_SELECT_ALL, 1, -1}, {ids::ID_ButtonFindTarn, 1, 0}, {ids::ID_ButtonLoadRam, 1, 1},
               {ids::ID_TarnCompile, 1, 1},      {ids::ID_TarnLoadEeprom, 1, 0}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.id);
    EXPECT_EQ(state(first, c.id), c.first);
    EXPECT_EQ(state(second, c.id), c.second);
    // The same through the main frame's route from the active window.
    if (c.id == ids::ID_EDIT_PASTE || c.id == ids::ID_EDIT_COPY || c.id == ids::ID_EDIT_CUT) continue;
    Activate(first);
    EXPECT_EQ(frame_->QueryCommand(c.id).enabled, c.first == 1);
    Activate(second);
    EXPECT_EQ(frame_->QueryCommand(c.id).enabled, c.second == 1);
  }
  first->m_pEditor->SetSelection(0, 0, 4, 1);
  EXPECT_EQ(state(first, ids::ID_EDIT_COPY), 1);
  EXPECT_EQ(state(first, ids::ID_EDIT_CUT), 1);
  SetClipboardText("");
  EXPECT_EQ(state(first, ids::ID_EDIT_PASTE), 0);
}

TEST_F(ViewTest, ChipCommandsUseTheDocumentAndTheBuildList) {
  COutputList* build = frame_->m_wndOutput->m_wndOutputBuild;
  // Cancelling the name prompt of an untitled document ends Compile at once.
  wxDocument* untitled = NewDocument(first_);
  build->ResetContent();
  build->AddString(L"earlier");
  wxCommandEvent compile(wxEVT_MENU, ids::ID_TarnCompile);
  wxTEST_DIALOG(ViewOf(untitled)->ProcessEvent(compile), wxExpectModal<wxFileDialog>("", wxID_CANCEL));
  ASSERT_EQ(build->GetCount(), 1u);
  EXPECT_EQ(build->GetString(0), L"earlier");
  // A document with a file is saved, then the compiler of its folder runs.
  const std::string tool = WriteFile("t2asm.exe", "#!/bin/sh\necho \"compiled $1\"\n");
  wxChmod(tool, 0755);
  const std::string path = WriteFile("chip.vorn2", "CON 'a\nPUB b\n");
  wxDocument* doc = Open(path);
  ASSERT_NE(doc, nullptr);
  CSourceView* view = ViewOf(doc);
  view->m_pEditor->SetSelection(0, 0, 0, 0);
  Type(view->m_pEditor, "k");
  EXPECT_TRUE(view->ProcessEvent(compile));
  EXPECT_EQ(ReadFile(path), "kCON 'a\nPUB b\n");
  EXPECT_FALSE(doc->IsModified());
  ASSERT_EQ(build->GetCount(), 4u);
  EXPECT_EQ(build->GetString(0), L"Creating output files in temp directory.");
  EXPECT_EQ(build->GetString(3), L"compiled chip.vorn2");
}

TEST_F(ViewTest, ClipboardCommandsReachTheEditor) {
  wxDocument* doc = NewDocument(first_);
  CSourceView* view = ViewOf(doc);
  ColorEditWnd* editor = view->m_pEditor;
  wxCommandEvent selectAll(wxEVT_MENU, ids::ID_EDIT_SELECT_ALL), cut(wxEVT_MENU, ids::ID_EDIT_CUT),
      paste(wxEVT_MENU, ids::ID_EDIT_PASTE);
  EXPECT_TRUE(view->ProcessEvent(selectAll));
  EXPECT_TRUE(editor->HasSelection());
  editor->SetSelection(0, 1, 3, 1);
  EXPECT_TRUE(view->ProcessEvent(cut));
  EXPECT_EQ(editor->m_textModel.lines[1], " 'Constants section ");
  EXPECT_TRUE(doc->IsModified());
  editor->SetSelection(0, 0, 0, 0);
  EXPECT_TRUE(view->ProcessEvent(paste));
  EXPECT_EQ(editor->m_textModel.lines[0], "CON'Vorn colorizer test");
}

TEST_F(ViewTest, ContextMenuOfTheViewWindowRunsTheViewsCommands) {
  for (bool second : {false, true}) {
    SCOPED_TRACE(second);
    CSourceView* view = ViewOf(NewDocument(second ? second_ : first_));
    SetClipboardText("before");
    view->m_pEditor->SetSelection(0, 1, 3, 1);
    std::vector<std::pair<int, bool>> shown;
    CSourceView::ContextMenuChooser() = [&shown](wxMenu& menu) {
      for (wxMenuItem* item : menu.GetMenuItems())
        if (!item->IsSeparator()) shown.emplace_back(CommandOfMenuItemId(item->GetId()), item->IsEnabled());
      return MenuItemIdOfCommand(ids::ID_EDIT_COPY);
    };
    wxWindow* window = view->GetViewWindow();
    wxContextMenuEvent event(wxEVT_CONTEXT_MENU, window->GetId(), window->ClientToScreen(wxPoint(1, 1)));
    event.SetEventObject(window);
    window->GetEventHandler()->ProcessEvent(event);
    CSourceView::ContextMenuChooser() = nullptr;
    EXPECT_EQ(shown, (std::vector<std::pair<int, bool>>{
                         {ids::ID_EDIT_CUT, !second}, {ids::ID_EDIT_COPY, !second}, {ids::ID_EDIT_PASTE, !second}}));
    wxTextDataObject data;
    ASSERT_TRUE(wxTheClipboard->Open());
    wxTheClipboard->GetData(data);
    wxTheClipboard->Close();
    EXPECT_EQ(data.GetText(), second ? "before" : "CON");
  }
}

// Prints page by page into pictures of `device` (`page` itself when empty), as
// a printer of `ppi` with a page of `page` pixels sees it: the printout of a
// printer when the two are equal, a preview's picture when `device` is smaller.
std::vector<wxImage> PrintIntoPictures(CViewPrintout& printout, const wxSize& page, int ppi = 96,
                                       wxSize device = wxSize()) {
  if (device == wxSize()) device = page;
  std::vector<wxImage> pages;
  wxBitmap bitmap(device, 24);
  wxMemoryDC dc(bitmap);
  printout.SetDC(&dc);
  printout.SetPPIScreen(96, 96);
  printout.SetPPIPrinter(ppi, ppi);
  printout.SetPageSizePixels(page.x, page.y);
  printout.SetPaperRectPixels(wxRect(page));
  printout.SetPageSizeMM(page.x * 254 / (ppi * 10), page.y * 254 / (ppi * 10));
  printout.OnPreparePrinting();
  int minPage = 0, maxPage = 0, from = 0, to = 0;
  printout.GetPageInfo(&minPage, &maxPage, &from, &to);
  printout.OnBeginPrinting();
  printout.OnBeginDocument(from, to);
  for (int p = from; p <= to && printout.HasPage(p); ++p) {
    dc.SetBackground(*wxWHITE_BRUSH);
    dc.Clear();
    dc.SetUserScale(1, 1);
    dc.SetDeviceOrigin(0, 0);
    printout.OnPrintPage(p);
    dc.SelectObject(wxNullBitmap);
    pages.push_back(bitmap.ConvertToImage());
    dc.SelectObject(bitmap);
  }
  printout.OnEndDocument();
  printout.OnEndPrinting();
  printout.SetDC(nullptr);
  return pages;
}

bool HasInk(const wxImage& image, const wxRect& rect) {
  const wxRect r = rect.Intersect(wxRect(image.GetSize()));
  for (int y = r.y; y < r.GetBottom(); ++y)
    for (int x = r.x; x < r.GetRight(); ++x)
      if (image.GetRed(x, y) < 128) return true;
  return false;
}

// `rect` scaled by `factor`, as it lies on a picture of another resolution.
wxRect Scaled(const wxRect& rect, double factor) {
  return wxRect(static_cast<int>(rect.x * factor), static_cast<int>(rect.y * factor),
                static_cast<int>(rect.width * factor), static_cast<int>(rect.height * factor));
}

TEST_F(ViewTest, PrintingContinuesLongLinesOnMarkedRowsAndCutsNothing) {
  const wxSize paper(794, 1123);  // A4 at 96 pixels per inch
  CViewPrintout probe(ViewOf(NewDocument(first_))->m_pEditor, "probe");
  PrintIntoPictures(probe, paper);
  const int perPage = probe.LinesPerPage(), columns = probe.ColumnsPerLine();
  ASSERT_GT(perPage, 5);
  ASSERT_GT(columns, 20);
  // Two full pages of rows and half a third; every seventh line empty; line 5
  // three rows and a bit long, line 9 exactly one row long.
  const int more = columns - CViewPrintout::kMarkCells;
  const std::string longLine = std::string(columns - 1, 'W') + "E" + std::string(more, 'X') +
                               std::string(more, 'Y') + "ZZ";
  const int rowCount = 2 * perPage + perPage / 2;
  const int lineCount = rowCount - 3;
  std::string text;
  std::size_t bytes = 0;
  for (int i = 0; i < lineCount; ++i) {
    char line[64];
    std::snprintf(line, sizeof line, "line %05d MMMM", i);
    const std::string content = i % 7 == 3 ? std::string()
                                : i == 5   ? longLine
                                : i == 9   ? std::string(columns, 'F')
                                           : std::string(line);
    bytes += content.size();
    text += content + "\n";
  }
  CSourceView* view = ViewOf(Open(WriteFile("three.vorn", text)));
  std::unique_ptr<wxPrintout> made(view->OnCreatePrintout());
  auto* printout = dynamic_cast<CViewPrintout*>(made.get());
  ASSERT_NE(printout, nullptr);
  const std::vector<wxImage> pages = PrintIntoPictures(*printout, paper);
  ASSERT_EQ(pages.size(), 3u);
  // Every byte of every line is on exactly one row, in order.
  const std::vector<CViewPrintout::PrintRow>& rows = printout->Rows();
  ASSERT_EQ(rows.size(), static_cast<std::size_t>(rowCount));
  std::size_t printed = 0;
  for (std::size_t r = 0; r < rows.size(); ++r) {
    printed += rows[r].end - rows[r].begin;
    if (rows[r].continued) {
      ASSERT_GT(r, 0u);
      EXPECT_EQ(rows[r].line, rows[r - 1].line);
      EXPECT_EQ(rows[r].begin, rows[r - 1].end);
    } else {
      EXPECT_EQ(rows[r].begin, 0u);
    }
  }
  EXPECT_EQ(printed, bytes);
  const wxRect area = printout->TextRect();
  const int h = printout->LineHeight(), cell = printout->CellWidth();
  for (int p = 0; p < 3; ++p) {
    SCOPED_TRACE(p + 1);
    for (int row = 0; row < perPage; ++row) {
      const std::size_t r = static_cast<std::size_t>(p * perPage + row);
      const bool inked = r < rows.size() && rows[r].end > rows[r].begin;
      EXPECT_EQ(HasInk(pages[p], wxRect(area.x + 2 * cell, area.y + row * h + 1, area.width - 2 * cell, h - 2)),
                inked)
          << "row " << r;
    }
    EXPECT_FALSE(HasInk(pages[p], wxRect(area.GetRight() + 2, 0, paper.x - area.GetRight() - 2, paper.y)));
  }
  // Line 5: the last column of its first row is inked; its three continued
  // rows carry the mark in their first cells and the line's end on the last.
  EXPECT_TRUE(HasInk(pages[0], wxRect(area.x + (columns - 1) * cell, area.y + 5 * h, cell, h)));
  for (int row = 6; row <= 8; ++row) {
    EXPECT_TRUE(rows[row].continued);
    EXPECT_TRUE(HasInk(pages[0], wxRect(area.x, area.y + row * h, 2 * cell, h))) << row;
  }
  EXPECT_EQ(rows[8].end - rows[8].begin, 2u);
  EXPECT_FALSE(rows[9].continued);
  // Line 9 fills its row exactly and so needs no continued row.
  EXPECT_FALSE(rows[10 + 3].continued);

  // A printer of twice the resolution prints the same pages at the same size.
  std::unique_ptr<wxPrintout> fine(view->OnCreatePrintout());
  auto* finePrintout = static_cast<CViewPrintout*>(fine.get());
  const std::vector<wxImage> finePages = PrintIntoPictures(*finePrintout, wxSize(paper.x * 2, paper.y * 2), 192);
  ASSERT_EQ(finePages.size(), 3u);
  EXPECT_EQ(finePrintout->Rows().size(), rows.size());
  const int lastRow = rowCount - 2 * perPage - 1;
  const int inkedRow = rows.back().end > 0 ? lastRow : lastRow - 1;
  EXPECT_TRUE(HasInk(finePages[2], Scaled(wxRect(area.x, area.y + inkedRow * h, area.width, h), 2)));
  EXPECT_FALSE(HasInk(finePages[2], wxRect(area.x * 2, (area.y + (lastRow + 1) * h) * 2 + 2, area.width * 2,
                                           (area.GetBottom() - area.y - (lastRow + 1) * h) * 2 - 2)));
}

TEST_F(ViewTest, PreviewAndPrintoutShareOnePaginationInEitherOrientation) {
  std::string text;
  for (int i = 0; i < 150; ++i)
    text += (i % 4 == 0 ? std::string(150 + i, 'L') : "short line " + std::to_string(i)) + "\n";
  CSourceView* view = ViewOf(Open(WriteFile("wide.vorn", text)));
  // A printer of 300 pixels per inch, A4 upright and on its side; a preview
  // draws the same page into a picture of about a third of its size.
  for (const wxSize page : {wxSize(2480, 3508), wxSize(3508, 2480)}) {
    SCOPED_TRACE(page.x > page.y ? "landscape" : "portrait");
    std::unique_ptr<wxPrintout> printed(view->OnCreatePrintout());
    std::unique_ptr<wxPrintout> previewed(view->OnCreatePrintout());
    auto* printout = static_cast<CViewPrintout*>(printed.get());
    auto* preview = static_cast<CViewPrintout*>(previewed.get());
    const std::vector<wxImage> paper = PrintIntoPictures(*printout, page, 300);
    const wxSize small(page.x * 3 / 10, page.y * 3 / 10);
    const std::vector<wxImage> screen = PrintIntoPictures(*preview, page, 300, small);
    ASSERT_EQ(paper.size(), screen.size());
    ASSERT_EQ(printout->Rows().size(), preview->Rows().size());
    EXPECT_EQ(printout->ColumnsPerLine(), preview->ColumnsPerLine());
    EXPECT_EQ(printout->LinesPerPage(), preview->LinesPerPage());
    EXPECT_GT(printout->Rows().size(), 150u);  // the long lines continue
    // Row by row the two pictures have ink in the same places: the last cell
    // of every full row, and nothing right of the text.
    const wxRect area = printout->TextRect();
    const int h = printout->LineHeight(), cell = printout->CellWidth();
    const double toPaper = 300.0 / 96, toScreen = toPaper * 3 / 10;
    for (std::size_t p = 0; p < paper.size(); ++p) {
      for (int row = 0; row < printout->LinesPerPage(); ++row) {
        const std::size_t r = p * printout->LinesPerPage() + row;
        if (r >= printout->Rows().size()) break;
        const CViewPrintout::PrintRow& at = printout->Rows()[r];
        const std::size_t cells = at.end - at.begin + (at.continued ? CViewPrintout::kMarkCells : 0);
        const bool full = cells == static_cast<std::size_t>(printout->ColumnsPerLine());
        if (!full) continue;
        const wxRect lastCell(area.x + (printout->ColumnsPerLine() - 1) * cell, area.y + row * h, cell, h);
        EXPECT_TRUE(HasInk(paper[p], Scaled(lastCell, toPaper))) << "page " << p + 1 << " row " << row;
        EXPECT_TRUE(HasInk(screen[p], Scaled(lastCell, toScreen))) << "page " << p + 1 << " row " << row;
      }
      const wxRect right(area.GetRight() + 2, 0, page.x, page.y);
      EXPECT_FALSE(HasInk(paper[p], Scaled(right, toPaper)));
      EXPECT_FALSE(HasInk(screen[p], Scaled(right, toScreen)));
    }
  }
}

TEST_F(ViewTest, PrintPreviewShowsThePagesOfTheTextWithLongLinesWhole) {
  // Pairs of a line far wider than the page and a short one.
  std::string text;
  for (int i = 0; i < 200; ++i) text += std::string(400, 'W') + "\nshort\n";
  CSourceView* view = ViewOf(Open(WriteFile("preview.vorn", text)));
  wxCommandEvent preview(wxEVT_MENU, ids::ID_FILE_PRINT_PREVIEW);
  EXPECT_TRUE(view->ProcessEvent(preview));
  Pump();
  wxPreviewFrame* shown = nullptr;
  for (wxWindow* top : wxTopLevelWindows)
    if (auto* p = dynamic_cast<wxPreviewFrame*>(top)) shown = p;
  ASSERT_NE(shown, nullptr);
  EXPECT_TRUE(shown->IsShown());
  wxPreviewCanvas* canvas = nullptr;
  for (wxWindow* child : shown->GetChildren())
    if (auto* c = dynamic_cast<wxPreviewCanvas*>(child)) canvas = c;
  ASSERT_NE(canvas, nullptr);
  // The page as the canvas shows it: the white paper on the grey canvas.
  wxImage picture;
  wxRect paper;
  for (int round = 0; round < 20 && paper.IsEmpty(); ++round) {
    wxMilliSleep(20);
    picture = screengrab::Grab(canvas);
    const wxSize size = picture.GetSize();
    int left = size.x, top = size.y, right = -1, bottom = -1;
    for (int y = 0; y < size.y; ++y)
      for (int x = 0; x < size.x; ++x)
        if (picture.GetRed(x, y) == 255 && picture.GetGreen(x, y) == 255 && picture.GetBlue(x, y) == 255) {
          left = std::min(left, x), right = std::max(right, x);
          top = std::min(top, y), bottom = std::max(bottom, y);
        }
    if (right > left + 100 && bottom > top + 100) paper = wxRect(wxPoint(left, top), wxPoint(right, bottom));
  }
  ASSERT_FALSE(paper.IsEmpty());
  // With the default 15 mm margins the text spans 15 to 195 mm across the
  // 210 mm paper, from 15 mm down (the canvas may show only the paper's top).
  // The first long line reaches the right end of its row and continues on the
  // next.
  const double mmX = paper.width / 210.0, mmY = mmX;
  const int rowHeight = std::max(2, static_cast<int>(view->m_pEditor->m_lineHeight * 25.4 / 96 * mmY));
  const int top = paper.y + static_cast<int>(15 * mmY);
  auto inked = [&](double fromMm, double toMm, int row) {
    for (int y = top + row * rowHeight; y < top + (row + 1) * rowHeight; ++y)
      for (int x = paper.x + static_cast<int>(fromMm * mmX); x < paper.x + static_cast<int>(toMm * mmX); ++x)
        if (picture.GetRed(x, y) < 160) return true;
    return false;
  };
  EXPECT_TRUE(inked(175, 195, 0));  // the end of the first row of the long line
  EXPECT_TRUE(inked(175, 195, 1));  // its continuation, as wide
  EXPECT_FALSE(inked(197, 210, 0));
  shown->Close(true);
  Pump();
}

}  // namespace
