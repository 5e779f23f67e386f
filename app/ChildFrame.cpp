// The document window: its name, its menu, its keyboard focus, and the print
// commands while it shows print preview.
#include "app/ChildFrame.h"

#include <wx/menu.h>
#include <wx/print.h>
#include <wx/toplevel.h>

#include <algorithm>
#include <set>

#include "app/OneLineName.h"
#include "res/ResourceIds.h"
#include "res/ShellResources.h"

wxIMPLEMENT_CLASS(CChildFrame, wxAuiMDIChildFrame);

CChildFrame::CChildFrame(wxDocument* doc, wxView* view, wxAuiMDIParentFrame* parent, wxWindowID id,
                         const wxString& title, const wxPoint& pos, const wxSize& size, long style,
                         const wxString& name) {
  // Created here rather than by the base's constructor, so that the window
  // is realized as this class (see GTKHandleRealized).
  Base::Create(doc, view, parent, id, title, pos, size, style, name);
  Bind(wxEVT_SET_FOCUS, &CChildFrame::OnSetFocus, this);
  std::unique_ptr<wxMenuBar> bar = LoadDocumentMenu(MenuResourceOf(doc));
  if (!bar) return;
  // The windows dialog's item goes at the end of the Window menu, where
  // there is one.
  const int window = bar->FindMenu(wxT("&Window"));
  if (window != wxNOT_FOUND) bar->GetMenu(static_cast<size_t>(window))->Append(ids::ID_WINDOW_MANAGER,
                                                                                LoadShellString(ids::ID_WINDOW_MANAGER));
  SetMenuBar(bar.release());
}

wxString DocumentWindowName(const wxView* view) {
  wxDocument* doc = view ? view->GetDocument() : nullptr;
  if (!doc) return wxString();
  const wxString name = OneLineName(doc->GetUserReadableName());
  const wxViewVector views = doc->GetViewsVector();
  const auto place = std::find(views.begin(), views.end(), view);
  if (views.size() < 2 || place == views.end()) return name;
  return wxString::Format("%s:%d", name, static_cast<int>(place - views.begin()) + 1);
}

int CChildFrame::MenuResourceOf(const wxDocument* doc) {
  if (!doc) return ids::IDR_QuillmarkTYPE;
  const wxDocTemplate* docTemplate = doc->GetDocumentTemplate();
  if (docTemplate && docTemplate->GetDocumentName() == wxT("Vorn2Edit")) return ids::IDR_Vorn2EditTYPE;
  if (wxString(doc->GetClassInfo()->GetClassName()) == wxT("CVorn2EditDoc")) return ids::IDR_Vorn2EditTYPE;
  return ids::IDR_QuillmarkTYPE;
}

wxWindow* CChildFrame::ViewWindow() const {
  for (wxWindow* child : GetChildren())
    if (child->IsShown() && child->AcceptsFocus() && !child->IsBeingDeleted()) return child;
  return nullptr;
}

void CChildFrame::SetFocus() {
  if (wxWindow* window = ViewWindow()) window->SetFocus();
  else Base::SetFocus();
}

// The frame itself gets the focus when the tab strip shows it (a new page,
// another document chosen): it belongs to the view's window.
void CChildFrame::OnSetFocus(wxFocusEvent& event) {
  event.Skip();
  if (wxWindow* window = ViewWindow()) window->SetFocus();
}

bool CChildFrame::IsInPrintPreview() const { return m_preview && !m_preview->IsBeingDeleted(); }

wxPreviewFrame* CChildFrame::GetPreviewFrame() const { return IsInPrintPreview() ? m_preview.get() : nullptr; }

bool CChildFrame::TryBefore(wxEvent& event) {
  const wxEventType type = event.GetEventType();
  const int id = event.GetId();
  if (type == wxEVT_MENU && IsInPrintPreview()) {
    // Posted, as the preview's own buttons would: the command ends first.
    if (id == ids::ID_FILE_PRINT || id == ids::ID_FILE_PRINT_DIRECT) {
      CallAfter(&CChildFrame::PrintFromPreview);
      return true;
    }
    if (id == ids::ID_FILE_PRINT_PREVIEW) {
      CallAfter(&CChildFrame::ClosePreview);
      return true;
    }
  }
  if (type == wxEVT_MENU && id == ids::ID_FILE_PRINT_PREVIEW) {
    std::set<wxWindow*> before;
    for (wxWindowList::compatibility_iterator node = wxTopLevelWindows.GetFirst(); node; node = node->GetNext())
      before.insert(node->GetData());
    const bool handled = Base::TryBefore(event);
    for (wxWindowList::compatibility_iterator node = wxTopLevelWindows.GetFirst(); node; node = node->GetNext()) {
      auto* preview = dynamic_cast<wxPreviewFrame*>(node->GetData());
      if (preview && !before.count(preview)) m_preview = preview;
    }
    return handled;
  }
  if (type == wxEVT_UPDATE_UI && id == ids::ID_FILE_PRINT_PREVIEW) {
    Base::TryBefore(event);
    auto& update = static_cast<wxUpdateUIEvent&>(event);
    update.Check(IsInPrintPreview());
    if (IsInPrintPreview()) update.Enable(true);
    return true;
  }
  return Base::TryBefore(event);
}

// Printing from preview closes the preview and prints the view as Print
// does, with the print dialog.
void CChildFrame::PrintFromPreview() {
  ClosePreview();
  wxCommandEvent print(wxEVT_MENU, ids::ID_FILE_PRINT);
  print.SetEventObject(this);
  ProcessWindowEvent(print);
}

void CChildFrame::ClosePreview() {
  if (wxPreviewFrame* preview = GetPreviewFrame()) preview->Close(true);
  m_preview = nullptr;
}
