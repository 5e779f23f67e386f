// CSourceView: frame and window creation, the initial update that loads the
// editor, resizing, go-to-line, the Section View timer, the view's context
// menu, the modified mark and printing.
#include "app/SourceView.h"

#include <wx/menu.h>
#include <wx/print.h>
#include <wx/printdlg.h>
#include <wx/utils.h>
#include <wx/weakref.h>

#include <memory>
#include <vector>

#include "app/ChildFrame.h"
#include "app/ClassView.h"
#include "app/GotoLineEvent.h"
#include "app/MainFrame.h"
#include "app/OutputWnd.h"
#include "app/QuillmarkDoc.h"
#include "app/ViewPrintout.h"
#include "editor/EditorEvents.h"
#include "editor/GlyphTable.h"
#include "platform/MemoryTrim.h"
#include "platform/Printers.h"
#include "res/AppMessageBox.h"
#include "res/EditorResources.h"
#include "res/ResourceIds.h"
#include "res/ShellResources.h"

namespace {

// Loads the staging text of a view's document into its editor, nothing for
// a document of another kind. Text held a byte per character goes in as it
// is; wide text goes in as its characters' bytes, as InsertText maps them.
void LoadStagingText(ColorEditWnd& editor, wxDocument* doc) {
  auto* source = dynamic_cast<CSourceDoc*>(doc);
  if (!source) {
    editor.LoadText(std::string());
    return;
  }
  const sourcefile::StagingText& text = source->m_strText;
  if (text.InBytes()) {
    editor.LoadText(text.Bytes());
    return;
  }
  const std::wstring& wide = text.WideStore();
  std::string bytes;
  AppendBytesOfText(wide.data(), wide.size(), bytes);
  editor.LoadText(bytes);
}

// The parent of new child frames: the main frame, else the application's
// top window when it is an MDI parent frame.
wxAuiMDIParentFrame* ChildFrameParent() {
  if (CMainFrame* main = GetMainFrame()) return main;
  return wxDynamicCast(wxTheApp ? wxTheApp->GetTopWindow() : nullptr, wxAuiMDIParentFrame);
}

}  // namespace

// clang-format off
wxBEGIN_EVENT_TABLE(CSourceView, wxView)
  EVT_MENU(ids::ID_FILE_PRINT, CSourceView::OnFilePrint)
  EVT_MENU(ids::ID_FILE_PRINT_DIRECT, CSourceView::OnFilePrint)
  EVT_MENU(ids::ID_FILE_PRINT_PREVIEW, CSourceView::OnFilePrintPreview)
  EVT_COMMAND(wxID_ANY, EVT_GOTO_LINE, CSourceView::OnGotoLine)
wxEND_EVENT_TABLE()
// clang-format on

CSourceView::CSourceView() : m_timer() {}

CSourceView::~CSourceView() {
  m_timer.Stop();
  // The last source window to go takes its sections out of the Section View:
  // it shows no text that no longer exists. While another window stays, the
  // active one refills it at its next tick.
  if (!OtherSourceViewExists()) {
    if (CMainFrame* main = GetMainFrame(); main && main->m_wndClassView) main->m_wndClassView->EmptyClassView();
  }
  if (m_viewWindow) {
    // The window outlives the view only briefly (its frame destroys it); it
    // must not call back into a view that is gone.
    m_viewWindow->Unbind(EVT_EN_CHANGE, &CSourceView::OnEditorChange, this);
    m_viewWindow->Unbind(wxEVT_SIZE, &CSourceView::OnWindowSize, this);
    m_viewWindow->Unbind(wxEVT_CONTEXT_MENU, &CSourceView::OnWindowContextMenu, this);
    m_viewWindow->Unbind(wxEVT_RIGHT_DOWN, &CSourceView::OnWindowRightDown, this);
    m_viewWindow->Unbind(wxEVT_RIGHT_UP, &CSourceView::OnWindowRightUp, this);
    m_viewWindow->Unbind(EVT_GOTO_LINE, &CSourceView::OnWindowGotoLine, this);
    m_viewWindow->Unbind(wxEVT_TIMER, &CSourceView::OnTimer, this, ids::IDT_SECTION_VIEW);
    m_viewWindow->Unbind(wxEVT_SET_FOCUS, &CSourceView::OnWindowSetFocus, this);
  }
  if (m_pEditor) {
    m_pEditor->Unbind(wxEVT_DESTROY, &CSourceView::OnEditorDestroyed, this);
    ColorEditWnd* editor = m_pEditor;
    m_pEditor = nullptr;
    delete editor;
  }
}

wxWindow* CSourceView::GetViewWindow() { return m_viewWindow.get(); }

bool CSourceView::OtherSourceViewExists() const {
  const wxDocManager* manager = wxDocManager::GetDocumentManager();
  if (!manager) return false;
  for (const wxDocument* doc : manager->GetDocumentsVector()) {
    for (const wxView* view : doc->GetViewsVector()) {
      if (view != this && dynamic_cast<const CSourceView*>(view)) return true;
    }
  }
  return false;
}

bool CSourceView::OnCreate(wxDocument* doc, long flags) {
  if (!wxView::OnCreate(doc, flags)) return false;
  wxAuiMDIParentFrame* parent = ChildFrameParent();
  if (!parent) return false;

  auto* frame = new CChildFrame(doc, this, parent, wxID_ANY, FrameTitle());
  wxWindow* window = new wxWindow(frame, ids::IDD_QUILLMARK_FORM, wxDefaultPosition, frame->GetClientSize(),
                                  wxFULL_REPAINT_ON_RESIZE | wxWANTS_CHARS);
  m_viewWindow = window;
  window->Bind(EVT_EN_CHANGE, &CSourceView::OnEditorChange, this);
  window->Bind(wxEVT_SIZE, &CSourceView::OnWindowSize, this);
  window->Bind(wxEVT_CONTEXT_MENU, &CSourceView::OnWindowContextMenu, this);
  window->Bind(wxEVT_RIGHT_DOWN, &CSourceView::OnWindowRightDown, this);
  window->Bind(wxEVT_RIGHT_UP, &CSourceView::OnWindowRightUp, this);
  window->Bind(EVT_GOTO_LINE, &CSourceView::OnWindowGotoLine, this);
  window->Bind(wxEVT_TIMER, &CSourceView::OnTimer, this, ids::IDT_SECTION_VIEW);
  window->Bind(wxEVT_SET_FOCUS, &CSourceView::OnWindowSetFocus, this);
  m_timer.SetOwner(window, ids::IDT_SECTION_VIEW);

  frame->Show(true);
  return true;
}

void CSourceView::OnUpdate(wxView*, wxObject*) {
  // The document's text is in place once it calls on its views; the first
  // call loads the editor.
  if (!m_initialised) OnInitialUpdate();
}

void CSourceView::OnDraw(wxDC*) {}

void CSourceView::OnInitialUpdate() {
  if (m_initialised) return;
  wxWindow* window = GetViewWindow();
  if (!window) return;
  m_initialised = true;

  // The view window fills its frame before the editor is placed in it.
  if (wxWindow* frame = GetFrame()) frame->Layout();

  wxRect rect = window->GetClientRect();
  rect.Inflate(-2, -2);
  if (rect.width < 0) rect.width = 0;
  if (rect.height < 0) rect.height = 0;
  m_pEditor = new ColorEditWnd(window, rect, L"Veltrane", true);
  m_pEditor->Bind(wxEVT_DESTROY, &CSourceView::OnEditorDestroyed, this);

  wxDocument* doc = GetDocument();
  m_pEditor->SetTitle(doc ? doc->GetUserReadableName().ToStdWstring() : std::wstring());

  CTextModel& model = m_pEditor->m_textModel;
  model.colorizer = &m_colorizer;
  model.SetSectionViewFiller(&CSourceView::FillSectionView);

  model.RecolourAll();
  m_pEditor->Refresh(true);
  m_pEditor->m_selBack = 0x000000;
  m_pEditor->Refresh(true);
  m_pEditor->m_readOnly = false;
  if (IsSecondGeneration()) m_colorizer.mode = L"Vorn2";
  m_colorizer.LoadKeywords(L"Keywords.ini");
  m_colorizer.LoadOperators();
  m_colorizer.LoadFlowKeywords();
  m_pEditor->SetSelection(0, 0, 10, 40);

  // The load records no undo steps: the history is emptied right after it.
  m_loading = true;
  LoadStagingText(*m_pEditor, doc);
  m_loading = false;

  m_pEditor->m_currentFrame.Clear();
  ClearFrameStack(m_pEditor->m_redoStack);
  ClearFrameStack(m_pEditor->m_undoStack);
  m_pEditor->SetFocus();

  FillSectionView(model.sectionNames, model.sectionLines, model.title);
  m_timer.Start(ids::SECTION_VIEW_PERIOD_MS);
  // What the load allocated for a while is freed: the heap gives its whole
  // free pages back to the system.
  platform::ReturnFreeMemoryToSystem();

  // A new window comes up as the active one: its view becomes the current
  // view (the frame's activation reached it before it was attached).
  if (IsActiveView()) Activate(true);
}

bool CSourceView::OnClose(bool deleteWindow) {
  wxDocument* doc = GetDocument();
  std::vector<CSourceView*> others;
  if (doc) {
    for (wxView* view : doc->GetViewsVector()) {
      if (view != this) others.push_back(dynamic_cast<CSourceView*>(view));
    }
  }
  if (others.empty()) {
    // The last window closes the document, which asks about unsaved changes.
    if (!wxView::OnClose(deleteWindow)) return false;
    m_timer.Stop();
    return true;
  }

  // Another window keeps the document open. Edits made in this window exist
  // only in its editor, so they are not dropped without asking.
  if (!m_unsavedEdits || !doc->IsModified()) return true;
  const wxString question = wxString::Format("Save changes to %s?", DocumentWindowName(this));
  switch (AppMessageBox(question, wxYES_NO | wxCANCEL | wxICON_QUESTION, GetFrame())) {
    case wxYES: {
      std::vector<CSourceView*> edited;
      for (CSourceView* other : others) {
        if (other && other->m_unsavedEdits) edited.push_back(other);
      }
      // The document saves the text of its current view: this one.
      if (wxDocManager* manager = GetDocumentManager()) manager->ActivateView(this, true);
      if (!doc->Save()) return false;
      // The other windows' own edits are still unsaved.
      if (!edited.empty()) {
        for (CSourceView* other : edited) other->m_unsavedEdits = true;
        doc->Modify(true);
        OnChangeFilename();
      }
      return true;
    }
    case wxNO: {
      // The document stays modified only while another window holds edits.
      bool edited = false;
      for (CSourceView* other : others) edited = edited || (other && other->m_unsavedEdits);
      if (!edited) doc->Modify(false);
      OnChangeFilename();
      return true;
    }
    default:
      return false;
  }
}

wxString CSourceView::FrameTitle() const {
  wxDocument* doc = GetDocument();
  if (!doc) return wxString();
  wxString title = DocumentWindowName(this);
  if (doc->IsModified()) title += "*";
  return title;
}

void CSourceView::ShowFrameTitle() {
  if (wxWindow* frame = GetFrame()) {
    const wxString title = FrameTitle();
    if (frame->GetLabel() != title) frame->SetLabel(title);
  }
}

void CSourceView::OnChangeFilename() {
  wxDocument* doc = GetDocument();
  if (!doc) return;
  // wx tells only the first view of a change of the modified state, so each
  // call brings every view of the document up to date.
  const std::wstring title = doc->GetUserReadableName().ToStdWstring();
  const bool clean = !doc->IsModified();
  for (wxView* view : doc->GetViewsVector()) {
    auto* source = dynamic_cast<CSourceView*>(view);
    if (!source) {
      view->wxView::OnChangeFilename();
      continue;
    }
    // Saved (or the changes dropped): no window holds unsaved edits.
    if (clean) source->m_unsavedEdits = false;
    source->ShowFrameTitle();
    // After Save As the editor's title is the new name, so that the Section
    // View follows it on the next tick.
    if (source->m_pEditor && source->m_pEditor->m_textModel.title != title) source->m_pEditor->SetTitle(title);
  }
}

wxPrintout* CSourceView::OnCreatePrintout() {
  wxDocument* doc = GetDocument();
  wxPoint topLeft, bottomRight;
  if (wxDocManager* manager = GetDocumentManager()) {
    topLeft = manager->GetPageSetupDialogData().GetMarginTopLeft();
    bottomRight = manager->GetPageSetupDialogData().GetMarginBottomRight();
  }
  return new CViewPrintout(m_pEditor, doc ? doc->GetUserReadableName() : wxString(), topLeft, bottomRight);
}

void CSourceView::OnEditorChange(wxCommandEvent& event) {
  if (event.GetEventObject() != m_pEditor || m_pEditor == nullptr) {
    event.Skip();
    return;
  }
  if (m_loading || !m_initialised) return;
  m_unsavedEdits = true;
  if (wxDocument* doc = GetDocument()) {
    if (!doc->IsModified()) doc->Modify(true);
    // Modify tells only the document's first view; this one shows it too.
    OnChangeFilename();
  }
}

void CSourceView::OnWindowSize(wxSizeEvent& event) {
  event.Skip();
  if (!m_pEditor) return;
  wxWindow* window = GetViewWindow();
  const wxSize client = window ? window->GetClientSize() : event.GetSize();
  m_pEditor->SetSize(0, 0, client.x, client.y);
  m_pEditor->Refresh(true);
}

void CSourceView::OnWindowGotoLine(wxCommandEvent& event) { OnGotoLine(event); }

void CSourceView::OnWindowSetFocus(wxFocusEvent& event) {
  event.Skip();
  if (m_pEditor) m_pEditor->SetFocus();
}

void CSourceView::OnGotoLine(wxCommandEvent& event) {
  if (!m_pEditor || !m_pEditor->GetHandle()) return;
  std::int32_t line = event.GetInt();
  const std::int32_t last = m_pEditor->m_textModel.LineCount() - 1;
  if (last < line) line = last;
  // A negative line would leave the editor above its first line.
  if (line < 0) line = 0;
  m_pEditor->m_firstLine = line;
  m_pEditor->SetScrollPos(wxVERTICAL, line, true);
  m_pEditor->Refresh(true);
  // The event goes on: when it reached this view through the frame's
  // command routing, the frame still forwards it to every view of the
  // document (scrolling twice to the same line changes nothing).
  event.Skip();
}

bool CSourceView::IsActiveView() const {
  if (CMainFrame* main = GetMainFrame()) {
    wxWindow* frame = GetFrame();
    return frame != nullptr && main->GetActiveChild() == frame;
  }
  wxDocManager* manager = GetDocumentManager();
  return manager != nullptr && manager->GetCurrentView() == this;
}

bool CSourceView::SectionNamesOutdated() const {
  if (!m_pEditor) return false;
  const CTextModel& model = m_pEditor->m_textModel;
  auto line = model.sectionLines.begin();
  for (const std::wstring& name : model.sectionNames) {
    if (line == model.sectionLines.end()) return true;
    const std::int32_t index = *line++;
    if (index < 0 || index >= model.LineCount()) return true;
    const std::string& text = model.lines[static_cast<std::size_t>(index)];
    if (text.size() != name.size()) return true;
    for (std::size_t i = 0; i < text.size(); ++i) {
      if (name[i] != static_cast<wchar_t>(static_cast<unsigned char>(text[i]))) return true;
    }
  }
  return line != model.sectionLines.end();
}

void CSourceView::OnTimer(wxTimerEvent& event) {
  event.Skip();
  if (event.GetId() != ids::IDT_SECTION_VIEW || !m_pEditor || !IsActiveView()) return;
  CTextModel& model = m_pEditor->m_textModel;
  // A header renamed in place leaves the list behind its lines; the full
  // analysis of RecolourAll brings it up to date and raises sectionsChanged.
  if (SectionNamesOutdated()) {
    model.RecolourAll();
    m_pEditor->Refresh(false);
  }
  if (model.sectionsChanged) {
    model.UpdateSectionView();
    model.sectionsChanged = false;
    return;
  }
  CMainFrame* main = GetMainFrame();
  if (main && main->m_wndClassView && main->m_wndClassView->m_strTitle != model.title) model.UpdateSectionView();
}

void CSourceView::FillSectionView(const std::list<std::wstring>& names, const std::list<std::int32_t>& lines,
                                  std::wstring title) {
  CMainFrame* main = GetMainFrame();
  if (!main || !main->m_wndClassView) return;
  main->m_wndClassView->FillClassView(names, lines, std::move(title));
}

// ---- context menu 119 ----

void CSourceView::OnWindowContextMenu(wxContextMenuEvent& event) {
  wxWindow* window = GetViewWindow();
  if (!window || event.GetEventObject() != window) {
    event.Skip();
    return;
  }
  wxPoint point = event.GetPosition();
  point = point == wxDefaultPosition ? wxPoint(0, 0) : window->ScreenToClient(point);
  m_menuShownForPress = true;
  ShowContextMenu(point);
}

void CSourceView::OnWindowRightDown(wxMouseEvent& event) {
  m_menuShownForPress = false;
  event.Skip();
}

void CSourceView::OnWindowRightUp(wxMouseEvent& event) {
  // GTK raises the context-menu event on the press already; the release
  // shows the menu only when that did not happen.
  if (m_menuShownForPress) {
    m_menuShownForPress = false;
    return;
  }
  ShowContextMenu(event.GetPosition());
}

void CSourceView::ShowContextMenu(const wxPoint& clientPoint) {
  wxWindow* window = GetViewWindow();
  if (!window) return;
  std::unique_ptr<wxMenu> menu = LoadViewContextMenu();
  if (!menu) return;
  // Each item takes the state this view's update handlers give its command;
  // a command nobody enables stays disabled and is not carried out.
  for (wxMenuItem* item : menu->GetMenuItems()) {
    if (item->IsSeparator() || item->IsSubMenu()) continue;
    const int command = CommandOfMenuItemId(item->GetId());
    wxUpdateUIEvent update(command);
    update.SetEventObject(window);
    const bool handled = ProcessEvent(update);
    item->Enable(handled && update.GetSetEnabled() ? update.GetEnabled() : false);
  }
  const int chosen = ContextMenuChooser() ? ContextMenuChooser()(*menu)
                                          : window->GetPopupMenuSelectionFromUser(*menu, clientPoint);
  if (chosen == wxID_NONE) return;
  wxMenuItem* item = menu->FindItem(chosen);
  if (!item || !item->IsEnabled()) return;
  wxCommandEvent command(wxEVT_MENU, CommandOfMenuItemId(chosen));
  command.SetEventObject(window);
  ProcessEvent(command);
}

std::function<int(wxMenu&)>& CSourceView::ContextMenuChooser() {
  static std::function<int(wxMenu&)> chooser;
  return chooser;
}

void CSourceView::OnEditorDestroyed(wxWindowDestroyEvent& event) {
  event.Skip();
  if (event.GetEventObject() == m_pEditor) {
    m_pEditor = nullptr;
    m_timer.Stop();
  }
}

// ---- printing ----

namespace {

wxPrintData& SharedPrintData(wxDocManager* manager) {
  static wxPrintData fallback;
  return manager ? manager->GetPageSetupDialogData().GetPrintData() : fallback;
}

// How long Quick Print looks for a printer before it says there is none.
constexpr int kPrinterLookMs = 3000;

// Whether a print job without the dialog has a printer to go to. The look
// runs the event loop; the user's input waits meanwhile.
bool PrinterAvailable() {
  wxBusyCursor busy;
  wxWindowDisabler disabled;
  return platform::HasPrinter(kPrinterLookMs);
}

}  // namespace

void CSourceView::OnFilePrint(wxCommandEvent& event) {
  if (!m_pEditor) return;
  const bool prompt = event.GetId() != ids::ID_FILE_PRINT_DIRECT;
  // Without the dialog the print job would wait for a printer to appear,
  // for ever where there is none: the user is told instead.
  if (!prompt) {
    wxWeakRef<CSourceView> self(this);
    const bool available = PrinterAvailable();
    if (!self || !m_pEditor) return;
    if (!available) {
      wxWindow* parent = GetMainFrame();
      AppMessageBox("There is no printer to print to.", wxOK | wxICON_INFORMATION,
                    parent ? parent : wxTheApp->GetTopWindow());
      return;
    }
  }
  wxPrintData& printData = SharedPrintData(GetDocumentManager());
  wxPrintDialogData dialogData(printData);
  wxPrinter printer(&dialogData);
  std::unique_ptr<wxPrintout> printout(OnCreatePrintout());
  // Printing runs its own event loop, in which the user can close this view's
  // frame: the print dialog (a local of the printer) must then not be among
  // the frame's children, which the frame deletes, so it gets no parent.
  if (printer.Print(nullptr, printout.get(), prompt)) printData = printer.GetPrintDialogData().GetPrintData();
}

void CSourceView::OnFilePrintPreview(wxCommandEvent&) {
  if (!m_pEditor) return;
  wxPrintData& printData = SharedPrintData(GetDocumentManager());
  wxPrintDialogData dialogData(printData);
  auto* preview = new wxPrintPreview(OnCreatePrintout(), OnCreatePrintout(), &dialogData);
  if (!preview->IsOk()) {
    delete preview;
    return;
  }
  wxWindow* parent = GetMainFrame();
  if (!parent) parent = wxTheApp->GetTopWindow();
  auto* frame = new wxPreviewFrame(preview, parent, "Print Preview", wxDefaultPosition, wxSize(800, 700));
  frame->Initialize();
  frame->Show(true);
}

// ---- the chip commands' document and Build list ----

bool CSourceView::ChipDocumentOfView::Save() { return doc_ != nullptr && doc_->Save(); }

std::wstring CSourceView::ChipDocumentOfView::PathName() {
  return doc_ ? doc_->GetFilename().ToStdWstring() : std::wstring();
}

std::wstring CSourceView::ChipDocumentOfView::Title() {
  return doc_ ? doc_->GetUserReadableName().ToStdWstring() : std::wstring();
}

CSourceView::BuildListOfFrame::BuildListOfFrame() {
  if (CMainFrame* main = GetMainFrame()) {
    if (main->m_wndOutput) list_ = main->m_wndOutput->m_wndOutputBuild;
  }
}

void CSourceView::BuildListOfFrame::ResetContent() {
  if (list_) list_->ResetContent();
}

void CSourceView::BuildListOfFrame::AddString(const std::wstring& line) {
  if (list_) list_->AddString(line);
}
