// Window tests of the two views inside a real main frame and doc manager:
// the initial update, go-to-line, the Section View timer, the modified mark
// and closing, the commands' update rules, the context menu and printing.
#include <gtest/gtest.h>
#include <wx/clipbrd.h>
#include <wx/dataobj.h>
#include <wx/dcmemory.h>
#include <wx/filefn.h>
#include <wx/filename.h>
#include <wx/time.h>
#include <wx/menu.h>
#include <wx/msgdlg.h>
#include <wx/print.h>
#include <wx/testing.h>
#include <wx/utils.h>

#include <wx/aui/tabmdi.h>
#include <wx/treectrl.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <initializer_list>
#include <functional>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "app/ChildFrame.h"
#include "app/ClassView.h"
#include "app/GotoLineEvent.h"
#include "app/MainFrame.h"
#include "app/OutputWnd.h"
#include "app/QuillmarkDoc.h"
#include "app/QuillmarkView.h"
#include "app/ViewPrintout.h"
#include "app/Vorn2EditView.h"
#include "res/EditorResources.h"
#include "res/ResourceIds.h"

namespace {

// The Section View's tree as text: the root's text, then one entry per item.
struct SectionTree {
  std::wstring root;
  std::vector<std::wstring> items;
};

class ViewTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = wxFileName::CreateTempFileName("qmview");
    wxRemoveFile(folder_);
    wxFileName::Mkdir(folder_, 0700, wxPATH_MKDIR_FULL);

    manager_ = new wxDocManager();
    first_ = new wxDocTemplate(manager_, "Quillmark", "*.vorn", "", "vorn", "Quillmark", "Quillmark",
                               wxCLASSINFO(CQuillmarkDoc), wxCLASSINFO(CQuillmarkView));
    second_ = new wxDocTemplate(manager_, "Vorn2Edit", "*.vorn2", "", "vorn2", "Vorn2Edit", "Vorn2Edit",
                                wxCLASSINFO(CVorn2EditDoc), wxCLASSINFO(CVorn2EditView));
    frame_ = new CMainFrame(manager_, nullptr, wxID_ANY, "Quillmark", wxPoint(0, 0), wxSize(1200, 900));
    wxTheApp->SetTopWindow(frame_);
    frame_->Show();
    Pump();
  }

  void TearDown() override {
    for (wxDocument* doc : manager_->GetDocumentsVector()) doc->Modify(false);
    manager_->CloseDocuments(true);
    Pump();
    wxTheApp->SetTopWindow(nullptr);
    frame_->Destroy();
    Pump();
    delete manager_;
    wxFileName::Rmdir(folder_, wxPATH_RMDIR_RECURSIVE);
  }

  static void Pump() {
    for (int i = 0; i < 5; ++i) {
      wxTheApp->ProcessPendingEvents();
      while (wxTheApp->Pending()) wxTheApp->Dispatch();
      wxYield();
    }
  }

  // A new document of the template's kind, as File New makes it.
  wxDocument* NewDocument(wxDocTemplate* tmpl) {
    wxDocument* doc = tmpl->CreateDocument("", wxDOC_NEW);
    if (!doc) return nullptr;
    doc->SetDocumentName(tmpl->GetDocumentName());
    if (!doc->OnNewDocument()) {
      doc->DeleteAllViews();
      return nullptr;
    }
    doc->Activate();
    Pump();
    return doc;
  }

  // A file in the test folder holding `text`.
  wxString WriteFile(const wxString& name, const std::string& text) {
    const wxString path = folder_ + "/" + name;
    std::ofstream out(path.ToStdString(), std::ios::binary);
    out << text;
    return path;
  }

  static std::string ReadFile(const wxString& path) {
    std::ifstream in(path.ToStdString(), std::ios::binary);
    std::stringstream all;
    all << in.rdbuf();
    return all.str();
  }

  wxDocument* Open(const wxString& path) {
    wxDocument* doc = manager_->CreateDocument(path, wxDOC_SILENT);
    Pump();
    return doc;
  }

  static CSourceView* ViewOf(wxDocument* doc, std::size_t index = 0) {
    const auto views = doc->GetViewsVector();
    return index < views.size() ? dynamic_cast<CSourceView*>(views[index]) : nullptr;
  }

  // A second window on the document through the New Window command of the
  // main frame (the document's window must be the active one).
  CSourceView* NewWindow(wxDocument* doc) {
    const std::size_t before = doc->GetViewsVector().size();
    frame_->ExecuteCommand(ids::ID_WINDOW_NEW);
    Pump();
    const auto views = doc->GetViewsVector();
    return views.size() == before + 1 ? dynamic_cast<CSourceView*>(views.back()) : nullptr;
  }

  SectionTree Sections() const {
    SectionTree tree;
    CViewTree* t = frame_->m_wndClassView->m_wndSectionTree;
    const wxTreeItemId root = t->GetRootItem();
    if (!root.IsOk()) return tree;
    tree.root = t->GetItemText(root).ToStdWstring();
    wxTreeItemIdValue c2;
    for (wxTreeItemId item = t->GetFirstChild(root, c2); item.IsOk(); item = t->GetNextChild(root, c2))
      tree.items.push_back(t->GetItemText(item).ToStdWstring());
    return tree;
  }

  // Marks the Section View's root so that a later refill shows.
  void MarkSections() {
    CViewTree* t = frame_->m_wndClassView->m_wndSectionTree;
    const wxTreeItemId root = t->GetRootItem();
    ASSERT_TRUE(root.IsOk());
    t->SetItemText(root, "marked");
  }

  // Stops the views' own timers so that only the test's ticks run.
  static void StopTimers(std::initializer_list<CSourceView*> views) {
    for (CSourceView* view : views) view->m_timer.Stop();
  }

  static void Tick(CSourceView* view) {
    wxTimerEvent tick(view->m_timer);
    view->OnTimer(tick);
  }

  static void Activate(CSourceView* view) {
    auto* child = dynamic_cast<wxAuiMDIChildFrame*>(view->GetFrame());
    ASSERT_NE(child, nullptr);
    child->Activate();
    Pump();
  }

  static void Type(ColorEditWnd* editor, const std::string& text) {
    for (char c : text) {
      wxKeyEvent key(wxEVT_CHAR);
      key.m_uniChar = static_cast<unsigned char>(c);
      key.m_keyCode = static_cast<unsigned char>(c);
      editor->OnChar(key);
    }
  }

  static int LineOf(ColorEditWnd* editor, const std::string& text) {
    const auto& lines = editor->m_textModel.lines;
    for (std::size_t i = 0; i < lines.size(); ++i)
      if (lines[i] == text) return static_cast<int>(i);
    return -1;
  }

  wxString folder_;
  wxDocManager* manager_ = nullptr;
  wxDocTemplate* first_ = nullptr;
  wxDocTemplate* second_ = nullptr;
  CMainFrame* frame_ = nullptr;
};

const char* const kHeaders[] = {"CON 'Constants section ", "CON regular text", "OBJ 'This is an object section",
                                "OBJ 'test objects ",      "VAR 'a variable section", "VAR 'test vars ",
                                "PUB 'a public section",   "PUB 'Test pub ",          "PRI 'a private section",
                                "PRI  'Test pri",          "DAT'a dat section",       "DAT  'Test dat"};

// ---- initial update ----

TEST_F(ViewTest, InitialUpdateLoadsTheNewDocumentOfEitherKind) {
  struct Case {
    bool second;
    const wchar_t* mode;
    int comPort;
  } cases[] = {{false, L"Vorn1", -1}, {true, L"Vorn2", 2}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.second ? "second generation" : "first generation");
    wxDocument* doc = NewDocument(c.second ? second_ : first_);
    ASSERT_NE(doc, nullptr);
    CSourceView* view = ViewOf(doc);
    ASSERT_NE(view, nullptr);
    ASSERT_NE(view->m_pEditor, nullptr);
    ColorEditWnd* editor = view->m_pEditor;
    CTextModel& model = editor->m_textModel;

    EXPECT_EQ(model.LineCount(), 31);
    EXPECT_EQ(model.lines[0], "'Vorn colorizer test");
    EXPECT_EQ(model.lines[30], "");
    EXPECT_EQ(editor->m_caretCol, 0);
    EXPECT_EQ(editor->m_caretLine, 31);
    EXPECT_TRUE(editor->m_undoStack.empty());
    EXPECT_TRUE(editor->m_redoStack.empty());
    EXPECT_TRUE(editor->m_currentFrame.m_records.empty());
    EXPECT_EQ(editor->m_selBack, 0x000000u);
    EXPECT_FALSE(editor->m_readOnly);
    EXPECT_EQ(model.colorizer, &view->m_colorizer);
    EXPECT_EQ(view->m_colorizer.mode, c.mode);
    EXPECT_EQ(editor->GetParent(), view->GetViewWindow());
    EXPECT_EQ(view->GetViewWindow()->GetParent(), view->GetFrame());
    EXPECT_TRUE(view->m_timer.IsRunning());
    EXPECT_EQ(view->m_timer.GetInterval(), 500);
    if (c.comPort > 0) {
      EXPECT_EQ(static_cast<CVorn2EditView*>(view)->m_nComPort, c.comPort);
    }

    const std::wstring title = doc->GetUserReadableName().ToStdWstring();
    EXPECT_EQ(model.title, title);
    EXPECT_EQ(frame_->m_wndClassView->m_strTitle, title);
    const SectionTree tree = Sections();
    EXPECT_EQ(tree.root, title + L" Sections");
    ASSERT_EQ(tree.items.size(), 12u);
    for (int i = 0; i < 12; ++i) EXPECT_EQ(tree.items[i], wxString(kHeaders[i]).ToStdWstring());

    // Loading is no change: the document is clean and undo does nothing.
    EXPECT_FALSE(doc->IsModified());
    EXPECT_EQ(view->GetFrame()->GetLabel(), doc->GetUserReadableName());
    wxCommandEvent undo(wxEVT_MENU, ids::ID_EDIT_UNDO);
    editor->OnEditUndo(undo);
    EXPECT_EQ(model.LineCount(), 31);
  }
}

TEST_F(ViewTest, EditorStartsInsideTheViewWindowAndCoversItAfterAResize) {
  wxDocument* doc = NewDocument(first_);
  CSourceView* view = ViewOf(doc);
  ASSERT_NE(view, nullptr);
  wxWindow* window = view->GetViewWindow();
  const wxRect editorRect = view->m_pEditor->GetRect();
  EXPECT_TRUE(window->GetClientRect().Contains(editorRect));
  EXPECT_GT(editorRect.width, 0);
  EXPECT_GT(editorRect.height, 0);

  const wxSize before = window->GetClientSize();
  frame_->SetSize(wxSize(1000, 700));
  Pump();
  window->SetSize(before.x - 37, before.y - 23);
  Pump();
  EXPECT_EQ(view->m_pEditor->GetRect(), wxRect(wxPoint(0, 0), window->GetClientSize()));
}

// ---- go-to-line ----

TEST_F(ViewTest, GoToLineScrollsWithoutMovingTheCaret) {
  wxDocument* doc = NewDocument(first_);
  CSourceView* view = ViewOf(doc);
  ASSERT_NE(view, nullptr);
  ColorEditWnd* editor = view->m_pEditor;
  editor->SetSelection(2, 3, 5, 4);
  editor->SetFocus();
  Pump();
  wxWindow* focus = wxWindow::FindFocus();

  struct Case {
    int line;
    int top;
  } cases[] = {{30, 30}, {31, 30}, {5000, 30}, {0, 0}, {12, 12}, {-3, 0}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    wxCommandEvent event = MakeGotoLineEvent(c.line);
    view->ProcessEvent(event);
    EXPECT_EQ(editor->m_firstLine, c.top);
    // The scroll bar offers positions up to the last page's top.
    const int lastPosition = editor->GetScrollRange(wxVERTICAL) - editor->GetScrollThumb(wxVERTICAL);
    EXPECT_EQ(editor->GetScrollPos(wxVERTICAL), std::min(c.top, lastPosition));
    EXPECT_EQ(editor->m_anchorCol, 2);
    EXPECT_EQ(editor->m_anchorLine, 3);
    EXPECT_EQ(editor->m_caretCol, 5);
    EXPECT_EQ(editor->m_caretLine, 4);
    EXPECT_EQ(editor->m_firstCol, 0);
    EXPECT_EQ(wxWindow::FindFocus(), focus);
  }
}

TEST_F(ViewTest, GoToLineThroughTheMainFrameScrollsEveryViewOfTheActiveDocument) {
  wxDocument* doc = NewDocument(first_);
  CSourceView* first = ViewOf(doc);
  CSourceView* second = NewWindow(doc);
  ASSERT_NE(first, nullptr);
  ASSERT_NE(second, nullptr);
  ASSERT_NE(second->m_pEditor, nullptr);
  EXPECT_EQ(second->m_pEditor->m_textModel.LineCount(), 31);
  Activate(second);

  wxCommandEvent event = MakeGotoLineEvent(16);
  frame_->GetEventHandler()->ProcessEvent(event);
  EXPECT_EQ(first->m_pEditor->m_firstLine, 16);
  EXPECT_EQ(second->m_pEditor->m_firstLine, 16);
  EXPECT_EQ(first->m_pEditor->m_caretLine, 31);
  EXPECT_EQ(second->m_pEditor->m_caretLine, 31);
}

// ---- the Section View timer ----

TEST_F(ViewTest, SwitchingDocumentsRefillsOnTheNextTickOfTheActiveViewOnly) {
  const wxString a = WriteFile("alpha.vorn", "CON 'alpha\nPUB main\n");
  const wxString b = WriteFile("beta.vorn", "OBJ 'beta\nVAR x\nDAT d\n");
  wxDocument* docA = Open(a);
  wxDocument* docB = Open(b);
  ASSERT_NE(docA, nullptr);
  ASSERT_NE(docB, nullptr);
  CSourceView* viewA = ViewOf(docA);
  CSourceView* viewB = ViewOf(docB);
  StopTimers({viewA, viewB});
  EXPECT_EQ(Sections().root, L"beta.vorn Sections");

  Activate(viewA);
  Tick(viewB);  // not active: nothing
  EXPECT_EQ(Sections().root, L"beta.vorn Sections");
  Tick(viewA);
  EXPECT_EQ(Sections().root, L"alpha.vorn Sections");
  EXPECT_EQ(Sections().items, (std::vector<std::wstring>{L"CON 'alpha", L"PUB main"}));

  // Same title and no change: the next tick leaves the tree alone.
  MarkSections();
  Tick(viewA);
  EXPECT_EQ(Sections().root, L"marked");

  // The views' own timers: switching back shows beta's sections within a
  // period (and a little time for the display).
  viewA->m_timer.Start(500);
  viewB->m_timer.Start(500);
  Activate(viewB);
  const wxLongLong until = wxGetLocalTimeMillis() + 1500;
  while (Sections().root != L"beta.vorn Sections" && wxGetLocalTimeMillis() < until) {
    wxMilliSleep(10);
    Pump();
  }
  EXPECT_EQ(Sections().root, L"beta.vorn Sections");
  EXPECT_EQ(Sections().items, (std::vector<std::wstring>{L"OBJ 'beta", L"VAR x", L"DAT d"}));
}

TEST_F(ViewTest, EditsShowInTheSectionViewByTheNextTick) {
  struct Case {
    const char* what;
    std::function<void(ColorEditWnd*)> edit;
    std::vector<std::wstring> expected;
  };
  const std::string text = "CON 'one\n  x = 1\nPUB two\n  y\nDAT three\n";
  const std::vector<Case> cases = {
      {"rename in place",
       [](ColorEditWnd* e) {
         e->SetSelection(8, 0, 8, 0);
         Type(e, "X");
       },
       {L"CON 'oneX", L"PUB two", L"DAT three"}},
      {"new header",
       [](ColorEditWnd* e) {
         e->SetSelection(7, 2, 7, 2);
         Type(e, "\rVAR v");
       },
       {L"CON 'one", L"PUB two", L"VAR v", L"DAT three"}},
      {"removed header",
       [](ColorEditWnd* e) {
         e->SetSelection(0, 2, 0, 3);
         e->Cut();
       },
       {L"CON 'one", L"DAT three"}},
      {"header word typed over",
       [](ColorEditWnd* e) {
         e->SetSelection(0, 2, 3, 2);
         Type(e, "PRI");
       },
       {L"CON 'one", L"PRI two", L"DAT three"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    wxDocument* doc = Open(WriteFile(wxString("edit-") + c.what + ".vorn", text));
    ASSERT_NE(doc, nullptr);
    CSourceView* view = ViewOf(doc);
    StopTimers({view});
    Activate(view);
    Tick(view);
    c.edit(view->m_pEditor);
    Tick(view);
    EXPECT_EQ(Sections().items, c.expected);
    EXPECT_FALSE(view->m_pEditor->m_textModel.sectionsChanged);
    // Nothing changed since: the next tick leaves the tree alone.
    MarkSections();
    Tick(view);
    EXPECT_EQ(Sections().root, L"marked");
    doc->Modify(false);
    doc->DeleteAllViews();
    Pump();
  }
}

TEST_F(ViewTest, SaveAsShowsTheNewTitleByTheNextTick) {
  wxDocument* doc = NewDocument(first_);
  CSourceView* view = ViewOf(doc);
  ASSERT_NE(view, nullptr);
  StopTimers({view});
  const wxString path = folder_ + "/renamed.vorn";
  // What Save As does once its file dialog has given the name (GTK's file
  // dialog gives no name back without being shown).
  ASSERT_TRUE(doc->OnSaveDocument(path));
  doc->SetTitle(wxFileNameFromPath(path));
  doc->SetFilename(path, true);
  EXPECT_TRUE(wxFileExists(path));
  EXPECT_EQ(view->m_pEditor->m_textModel.title, L"renamed.vorn");
  Tick(view);
  EXPECT_EQ(Sections().root, L"renamed.vorn Sections");
  EXPECT_EQ(view->GetFrame()->GetLabel(), "renamed.vorn");
}

// ---- modified mark and closing ----

TEST_F(ViewTest, EditingMarksTheDocumentAndEveryFrameUntilSaved) {
  const wxString path = WriteFile("mark.vorn", "CON 'a\nPUB b\n");
  wxDocument* doc = Open(path);
  ASSERT_NE(doc, nullptr);
  CSourceView* first = ViewOf(doc);
  CSourceView* second = NewWindow(doc);
  ASSERT_NE(second, nullptr);
  EXPECT_FALSE(doc->IsModified());
  EXPECT_EQ(first->GetFrame()->GetLabel(), "mark.vorn");

  Activate(second);
  second->m_pEditor->SetSelection(0, 1, 0, 1);
  Type(second->m_pEditor, "z");
  EXPECT_TRUE(doc->IsModified());
  EXPECT_EQ(first->GetFrame()->GetLabel(), "mark.vorn*");
  EXPECT_EQ(second->GetFrame()->GetLabel(), "mark.vorn*");
  // The document tabs show the mark.
  wxAuiMDIClientWindow* tabs = frame_->GetClientWindow();
  for (CSourceView* view : {first, second}) {
    const int page = tabs->GetPageIndex(view->GetFrame());
    ASSERT_NE(page, wxNOT_FOUND);
    EXPECT_EQ(tabs->GetPageText(page), "mark.vorn*");
  }

  ASSERT_TRUE(doc->Save());
  EXPECT_FALSE(doc->IsModified());
  EXPECT_EQ(ReadFile(path), "CON 'a\nzPUB b\n");
  EXPECT_EQ(first->GetFrame()->GetLabel(), "mark.vorn");
  EXPECT_EQ(second->GetFrame()->GetLabel(), "mark.vorn");
}

TEST_F(ViewTest, ClosingAModifiedDocumentAsks) {
  struct Case {
    int answer;
    bool closed;
    const char* file;
  } cases[] = {{wxYES, true, "CON 'a\nqPUB b\n"}, {wxNO, true, "CON 'a\nPUB b\n"}, {wxCANCEL, false, "CON 'a\nPUB b\n"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.answer);
    const wxString path = WriteFile("close.vorn", "CON 'a\nPUB b\n");
    wxDocument* doc = Open(path);
    ASSERT_NE(doc, nullptr);
    CSourceView* view = ViewOf(doc);
    view->m_pEditor->SetSelection(0, 1, 0, 1);
    Type(view->m_pEditor, "q");
    ASSERT_TRUE(doc->IsModified());

    wxWindow* child = view->GetFrame();
    bool closed = false;
    wxTEST_DIALOG(closed = child->Close(), wxExpectModal<wxMessageDialog>(c.answer).Describe("save question"));
    Pump();
    EXPECT_EQ(closed, c.closed);
    const auto docs = manager_->GetDocumentsVector();
    const bool open = std::find(docs.begin(), docs.end(), doc) != docs.end();
    EXPECT_EQ(open, !c.closed);
    EXPECT_EQ(ReadFile(path), c.file);
    if (open) {
      EXPECT_TRUE(doc->IsModified());
      doc->Modify(false);
      doc->DeleteAllViews();
      Pump();
    }
  }
}

TEST_F(ViewTest, ClosingTheApplicationWithAModifiedDocumentAsksAndCancelKeepsAllOpen) {
  const wxString path = WriteFile("app.vorn", "CON 'a\nPUB b\n");
  wxDocument* doc = Open(path);
  ASSERT_NE(doc, nullptr);
  Type(ViewOf(doc)->m_pEditor, "e");
  bool closed = true;
  wxTEST_DIALOG(closed = frame_->Close(), wxExpectModal<wxMessageDialog>(wxCANCEL).Describe("save question"));
  Pump();
  EXPECT_FALSE(closed);
  EXPECT_FALSE(frame_->IsBeingDeleted());
  ASSERT_EQ(manager_->GetDocumentsVector().size(), 1u);
  EXPECT_TRUE(doc->IsModified());
  EXPECT_EQ(ReadFile(path), "CON 'a\nPUB b\n");
}

TEST_F(ViewTest, ClosingOneOfTwoWindowsAsksOnlyForItsOwnEdits) {
  // A window without edits of its own closes without a question; the
  // document stays open and modified through the other one.
  {
    const wxString path = WriteFile("two.vorn", "CON 'a\n");
    wxDocument* doc = Open(path);
    CSourceView* first = ViewOf(doc);
    CSourceView* second = NewWindow(doc);
    ASSERT_NE(second, nullptr);
    Type(first->m_pEditor, "w");
    ASSERT_TRUE(doc->IsModified());
    bool closed = false;
    wxTEST_DIALOG(closed = second->GetFrame()->Close(),
                  wxExpectModal<wxMessageDialog>(wxCANCEL).Optional().Describe("no question expected"));
    Pump();
    EXPECT_TRUE(closed);
    ASSERT_EQ(doc->GetViewsVector().size(), 1u);
    EXPECT_TRUE(doc->IsModified());
    EXPECT_EQ(ViewOf(doc), first);
    doc->Modify(false);
    doc->DeleteAllViews();
    Pump();
  }
  // A window whose own editor holds the edits asks.
  struct Case {
    int answer;
    bool closed;
    bool modified;
    const char* file;
  } cases[] = {{wxCANCEL, false, true, "CON 'a\nPUB b\n"},
               {wxNO, true, false, "CON 'a\nPUB b\n"},
               {wxYES, true, false, "vCON 'a\nPUB b\n"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.answer);
    const wxString path = WriteFile("own.vorn", "CON 'a\nPUB b\n");
    wxDocument* doc = Open(path);
    CSourceView* first = ViewOf(doc);
    CSourceView* second = NewWindow(doc);
    ASSERT_NE(second, nullptr);
    second->m_pEditor->SetSelection(0, 0, 0, 0);
    Type(second->m_pEditor, "v");
    Activate(first);
    bool closed = false;
    wxTEST_DIALOG(closed = second->GetFrame()->Close(), wxExpectModal<wxMessageDialog>(c.answer).Describe("save question"));
    Pump();
    EXPECT_EQ(closed, c.closed);
    EXPECT_EQ(doc->GetViewsVector().size(), c.closed ? 1u : 2u);
    EXPECT_EQ(doc->IsModified(), c.modified);
    EXPECT_EQ(ReadFile(path), c.file);
    EXPECT_EQ(first->GetFrame()->GetLabel(), c.modified ? "own.vorn*" : "own.vorn");
    doc->Modify(false);
    doc->DeleteAllViews();
    Pump();
  }
}

// ---- commands' update rules ----

TEST_F(ViewTest, UpdateRulesOfTheClipboardAndChipCommands) {
  wxDocument* doc1 = NewDocument(first_);
  wxDocument* doc2 = NewDocument(second_);
  CSourceView* first = ViewOf(doc1);
  CSourceView* second = ViewOf(doc2);
  ASSERT_NE(first, nullptr);
  ASSERT_NE(second, nullptr);

  // What the view's handlers say of a command: -1 no handler, else enabled.
  auto state = [](CSourceView* view, int id) {
    wxUpdateUIEvent update(id);
    if (!view->ProcessEvent(update) || !update.GetSetEnabled()) return -1;
    return update.GetEnabled() ? 1 : 0;
  };
  auto setClipboard = [](const wxString* text) {
    ASSERT_TRUE(wxTheClipboard->Open());
    if (text)
      wxTheClipboard->SetData(new wxTextDataObject(*text));
    else
      wxTheClipboard->Clear();
    wxTheClipboard->Close();
  };

  first->m_pEditor->SetSelection(0, 0, 0, 0);
  const wxString text("abc");
  setClipboard(&text);
  struct Case {
    int id;
    int firstState;
    int secondState;
  } noSelection[] = {{ids::ID_EDIT_PASTE, 1, -1},        {ids::ID_EDIT_COPY, 0, -1},
                     {ids::ID_EDIT_CUT, 0, -1},          {ids::ID_EDIT_SELECT_ALL, 1, -1},
                     {ids::ID_ButtonFindTarn, 1, 0},     {ids::ID_ButtonLoadRam, 1, 1},
                     {ids::ID_TarnCompile, 1, 1},        {ids::ID_TarnLoadEeprom, 1, 0}};
  for (const Case& c : noSelection) {
    SCOPED_TRACE(c.id);
    EXPECT_EQ(state(first, c.id), c.firstState);
    EXPECT_EQ(state(second, c.id), c.secondState);
  }

  first->m_pEditor->SetSelection(0, 0, 4, 1);
  EXPECT_EQ(state(first, ids::ID_EDIT_COPY), 1);
  EXPECT_EQ(state(first, ids::ID_EDIT_CUT), 1);

  setClipboard(nullptr);
  EXPECT_EQ(state(first, ids::ID_EDIT_PASTE), 0);

  // The same through the main frame's route from the active window, as the
  // ribbon and the menus ask.
  struct Routed {
    int id;
    bool first;
    bool second;
  } routed[] = {{ids::ID_ButtonFindTarn, true, false},
                {ids::ID_ButtonLoadRam, true, true},
                {ids::ID_TarnCompile, true, true},
                {ids::ID_TarnLoadEeprom, true, false},
                {ids::ID_EDIT_SELECT_ALL, true, false}};
  for (const Routed& r : routed) {
    SCOPED_TRACE(r.id);
    Activate(first);
    EXPECT_EQ(frame_->QueryCommand(r.id).enabled, r.first);
    Activate(second);
    EXPECT_EQ(frame_->QueryCommand(r.id).enabled, r.second);
  }
}

TEST_F(ViewTest, ChipCommandsUseTheDocumentAndTheBuildList) {
  COutputList* build = frame_->m_wndOutput->m_wndOutputBuild;
  // A document without a name: cancelling the name prompt of the save ends
  // Compile with the Build list as it was.
  wxDocument* untitled = NewDocument(first_);
  build->ResetContent();
  build->AddString(L"earlier");
  wxCommandEvent compile(wxEVT_MENU, ids::ID_TarnCompile);
  wxTEST_DIALOG(ViewOf(untitled)->ProcessEvent(compile), wxExpectModal<wxFileDialog>("", wxID_CANCEL));
  ASSERT_EQ(build->GetCount(), 1u);
  EXPECT_EQ(build->GetString(0), L"earlier");

  // A second-generation document with a file: saved, then the compiler of
  // its folder runs on its title and its output reaches the Build list.
  const wxString tool = WriteFile("t2asm.exe", "#!/bin/sh\necho \"compiled $1\"\n");
  wxChmod(tool, 0755);
  const wxString path = WriteFile("chip.vorn2", "CON 'a\nPUB b\n");
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
  EXPECT_EQ(build->GetString(1), L"Invoking T2ASM to compile program.");
  EXPECT_EQ(build->GetString(2), L"T2ASM output:");
  EXPECT_EQ(build->GetString(3), L"compiled chip.vorn2");
}

TEST_F(ViewTest, ClipboardCommandsReachTheEditor) {
  wxDocument* doc = NewDocument(first_);
  CSourceView* view = ViewOf(doc);
  ColorEditWnd* editor = view->m_pEditor;
  wxCommandEvent selectAll(wxEVT_MENU, ids::ID_EDIT_SELECT_ALL);
  EXPECT_TRUE(view->ProcessEvent(selectAll));
  EXPECT_TRUE(editor->HasSelection());

  editor->SetSelection(0, 1, 3, 1);
  wxCommandEvent cut(wxEVT_MENU, ids::ID_EDIT_CUT);
  EXPECT_TRUE(view->ProcessEvent(cut));
  EXPECT_EQ(editor->m_textModel.lines[1], " 'Constants section ");
  EXPECT_TRUE(doc->IsModified());

  editor->SetSelection(0, 0, 0, 0);
  wxCommandEvent paste(wxEVT_MENU, ids::ID_EDIT_PASTE);
  EXPECT_TRUE(view->ProcessEvent(paste));
  EXPECT_EQ(editor->m_textModel.lines[0], "CON'Vorn colorizer test");
}

TEST_F(ViewTest, ContextMenuOfTheViewWindowRunsTheViewsCommands) {
  struct Case {
    bool second;
    bool copied;
  } cases[] = {{false, true}, {true, false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.second);
    wxDocument* doc = NewDocument(c.second ? second_ : first_);
    CSourceView* view = ViewOf(doc);
    ASSERT_TRUE(wxTheClipboard->Open());
    wxTheClipboard->SetData(new wxTextDataObject("before"));
    wxTheClipboard->Close();
    view->m_pEditor->SetSelection(0, 1, 3, 1);

    std::vector<std::pair<int, bool>> shown;
    CSourceView::ContextMenuChooser() = [&shown](wxMenu& menu) {
      for (wxMenuItem* item : menu.GetMenuItems())
        if (!item->IsSeparator()) shown.emplace_back(CommandOfMenuItemId(item->GetId()), item->IsEnabled());
      return MenuItemIdOfCommand(ids::ID_EDIT_COPY);
    };
    wxContextMenuEvent event(wxEVT_CONTEXT_MENU, view->GetViewWindow()->GetId(),
                             view->GetViewWindow()->ClientToScreen(wxPoint(1, 1)));
    event.SetEventObject(view->GetViewWindow());
    view->GetViewWindow()->GetEventHandler()->ProcessEvent(event);
    CSourceView::ContextMenuChooser() = nullptr;

    const std::vector<std::pair<int, bool>> expected = {
        {ids::ID_EDIT_CUT, !c.second}, {ids::ID_EDIT_COPY, !c.second}, {ids::ID_EDIT_PASTE, !c.second}};
    EXPECT_EQ(shown, expected);
    wxTextDataObject data;
    ASSERT_TRUE(wxTheClipboard->Open());
    wxTheClipboard->GetData(data);
    wxTheClipboard->Close();
    EXPECT_EQ(data.GetText(), c.copied ? "CON" : "before");
  }
}

// ---- printing ----

// Prints `printout` page by page into pictures of `size` at `ppi` pixels per
// inch (the screen has 96).
std::vector<wxImage> PrintIntoPictures(CViewPrintout& printout, const wxSize& size, int ppi = 96) {
  std::vector<wxImage> pages;
  wxBitmap bitmap(size, 24);
  wxMemoryDC dc(bitmap);
  printout.SetDC(&dc);
  printout.SetPPIScreen(96, 96);
  printout.SetPPIPrinter(ppi, ppi);
  printout.SetPageSizePixels(size.x, size.y);
  printout.SetPaperRectPixels(wxRect(size));
  printout.SetPageSizeMM(size.x * 254 / (ppi * 10), size.y * 254 / (ppi * 10));
  printout.OnPreparePrinting();
  int minPage = 0, maxPage = 0, from = 0, to = 0;
  printout.GetPageInfo(&minPage, &maxPage, &from, &to);
  printout.OnBeginPrinting();
  printout.OnBeginDocument(from, to);
  for (int page = from; page <= to && printout.HasPage(page); ++page) {
    dc.SetBackground(*wxWHITE_BRUSH);
    dc.Clear();
    dc.SetUserScale(1, 1);
    dc.SetDeviceOrigin(0, 0);
    printout.OnPrintPage(page);
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

TEST_F(ViewTest, PrintingGivesPagesOfTheTextCutAtTheRightMargin) {
  const wxSize paper(794, 1123);  // A4 at 96 pixels per inch
  // The page layout for the editor's font, measured on an empty document.
  wxDocument* empty = NewDocument(first_);
  CViewPrintout probe(ViewOf(empty)->m_pEditor, "probe");
  PrintIntoPictures(probe, paper);
  const int perPage = probe.LinesPerPage();
  const int columns = probe.ColumnsPerLine();
  ASSERT_GT(perPage, 5);
  ASSERT_GT(columns, 20);

  // Two full pages and a part of a third; every seventh line is empty and one
  // line runs far past the right margin.
  const int lineCount = 2 * perPage + perPage / 2;
  std::string text;
  for (int i = 0; i < lineCount; ++i) {
    if (i % 7 == 3) {
      text += "\n";
    } else if (i == 5) {
      text += std::string(columns * 3, 'W') + "\n";
    } else {
      char line[64];
      std::snprintf(line, sizeof line, "line %05d MMMM", i);
      text += line;
      text += "\n";
    }
  }
  wxDocument* doc = Open(WriteFile("three.vorn", text));
  ASSERT_NE(doc, nullptr);
  CSourceView* view = ViewOf(doc);
  std::unique_ptr<wxPrintout> made(view->OnCreatePrintout());
  auto* printout = dynamic_cast<CViewPrintout*>(made.get());
  ASSERT_NE(printout, nullptr);
  const std::vector<wxImage> pages = PrintIntoPictures(*printout, paper);
  ASSERT_EQ(pages.size(), 3u);
  EXPECT_EQ(printout->PageCount(), 3);

  if (const char* shots = std::getenv("QUILLMARK_SHOTS"))
    for (std::size_t p = 0; p < pages.size(); ++p)
      pages[p].SaveFile(wxString::Format("%s/print-page-%d.png", shots, static_cast<int>(p + 1)), wxBITMAP_TYPE_PNG);
  const wxRect area = printout->TextRect();
  const int h = printout->LineHeight();
  for (int p = 0; p < 3; ++p) {
    SCOPED_TRACE(p + 1);
    for (int row = 0; row < perPage; ++row) {
      const int line = p * perPage + row;
      const wxRect band(area.x, area.y + row * h + 1, area.width, h - 2);
      const bool expectInk = line < lineCount && line % 7 != 3;
      EXPECT_EQ(HasInk(pages[p], band), expectInk) << "line " << line;
    }
    // Nothing outside the text area: the long line is cut at the margin.
    EXPECT_FALSE(HasInk(pages[p], wxRect(area.GetRight() + 2, 0, paper.x - area.GetRight() - 2, paper.y)));
  }
  // The long line reaches the right margin.
  const int cell = printout->CellWidth();
  EXPECT_TRUE(HasInk(pages[0], wxRect(area.x + (columns - 2) * cell, area.y + 5 * h, 2 * cell, h)));

  // A printer of twice the resolution prints the same pages at the same size.
  std::unique_ptr<wxPrintout> fine(view->OnCreatePrintout());
  const std::vector<wxImage> finePages =
      PrintIntoPictures(*static_cast<CViewPrintout*>(fine.get()), wxSize(paper.x * 2, paper.y * 2), 192);
  ASSERT_EQ(finePages.size(), 3u);
  const int lastRow = lineCount - 2 * perPage - 1;
  const int inkedRow = (lineCount - 1) % 7 == 3 ? lastRow - 1 : lastRow;
  EXPECT_TRUE(HasInk(finePages[2], wxRect(area.x * 2, (area.y + inkedRow * h) * 2, area.width * 2, h * 2)));
  EXPECT_FALSE(HasInk(finePages[2], wxRect(area.x * 2, (area.y + (lastRow + 1) * h) * 2 + 2, area.width * 2,
                                           (area.GetBottom() - area.y - (lastRow + 1) * h) * 2 - 2)));
}

TEST_F(ViewTest, PrintPreviewShowsThePagesOfTheText) {
  std::string text;
  for (int i = 0; i < 400; ++i) text += "preview line\n";
  wxDocument* doc = Open(WriteFile("preview.vorn", text));
  CSourceView* view = ViewOf(doc);
  wxCommandEvent preview(wxEVT_MENU, ids::ID_FILE_PRINT_PREVIEW);
  EXPECT_TRUE(view->ProcessEvent(preview));
  Pump();
  wxPreviewFrame* shown = nullptr;
  for (wxWindow* top : wxTopLevelWindows)
    if (auto* p = dynamic_cast<wxPreviewFrame*>(top)) shown = p;
  ASSERT_NE(shown, nullptr);
  EXPECT_TRUE(shown->IsShown());
  shown->Close(true);
  Pump();
}

}  // namespace
