// The source documents: reading, the new-document text, and saving their own
// view's editor through the safe save.
#include "app/QuillmarkDoc.h"

#include <wx/filedlg.h>
#include <wx/filename.h>
#include <wx/strconv.h>

#include "app/ChildFrame.h"
#include "app/DocManager.h"
#include "app/QuillmarkView.h"
#include "app/SourceFile.h"
#include "app/SourceView.h"
#include "app/Vorn2EditView.h"
#include "editor/GlyphTable.h"
#include "platform/SafeFile.h"
#include "res/AppMessageBox.h"

wxIMPLEMENT_ABSTRACT_CLASS(CSourceDoc, wxDocument);
wxIMPLEMENT_DYNAMIC_CLASS(CQuillmarkDoc, CSourceDoc);
wxIMPLEMENT_DYNAMIC_CLASS(CVorn2EditDoc, CSourceDoc);

namespace {

const wchar_t kOpenFailed[] = L"Failed to open given filename.";

// A document path as the file system spells it.
std::string FileSystemPath(const wxString& path) { return path.ToStdString(wxConvFile); }

// The characters of a file's text that no glyph shows, which the editor
// leaves out when it loads the text. The byte-order mark that begins a
// UTF-16 file marks the encoding and is no character of the text.
std::size_t CharactersLeftOut(const sourcefile::StagingText& text) {
  if (text.InBytes()) return 0;  // every byte has a glyph
  const std::wstring& wide = text.WideStore();
  const std::size_t from = !wide.empty() && wide[0] == 0xFEFF ? 1 : 0;
  return CountCharactersWithoutByte(wide.data() + from, wide.size() - from);
}

wxString LeftOutMessage(const wxString& path, std::size_t count) {
  const wxString name = wxFileName(path).GetFullName();
  if (count == 1)
    return wxString::Format("1 character in %s cannot be shown and was left out. Saving writes the file without it.",
                            name);
  return wxString::Format(
      "%zu characters in %s cannot be shown and were left out. Saving writes the file without them.", count, name);
}

// What the user is told when a save fails: the file, the step and the
// system's reason. The file itself is then as it was before.
wxString SaveFailureMessage(const wxString& path, const platform::SaveResult& result) {
  const wxString reason = wxString(result.reason.c_str(), wxConvLibc);
  if (result.step == platform::SaveStep::Open) return wxString(kOpenFailed) + "\n" + path + ": " + reason;
  return wxString::Format("Failed to save given filename; the file was left as it was.\n%s: %s (while %s)", path,
                          reason, platform::SaveStepText(result.step));
}

}  // namespace

bool CSourceDoc::OnNewDocument() {
  if (!wxDocument::OnNewDocument()) return false;
  if (wxDocManager* manager = GetDocumentManager()) {
    const wxString title = NewDocumentTitle(GetDocumentTemplate(), *manager);
    SetTitle(title);
    SetFilename(title, true);
  }
  m_strText = sourcefile::NewDocumentText();
  UpdateAllViews();
  return true;
}

bool CSourceDoc::OnOpenDocument(const wxString& path) {
  sourcefile::StagingText text;
  int error = 0;
  if (!sourcefile::ReadSourceFile(FileSystemPath(path), text, error)) {
    AppMessageBox(kOpenFailed);
    return false;
  }
  const std::size_t leftOut = CharactersLeftOut(text);
  m_strText = std::move(text);
  SetFilename(path, true);
  Modify(false);
  SetDocumentSaved(true);
  UpdateAllViews();
  // Told once, over the window that shows the text without them.
  if (leftOut > 0) AppMessageBox(LeftOutMessage(path, leftOut), wxOK | wxICON_WARNING, GetDocumentWindow());
  return true;
}

CSourceView* CSourceDoc::ViewToSave() const {
  wxClassInfo* const own = OwnViewClass();
  if (!own) return nullptr;
  const wxDocManager* manager = GetDocumentManager();
  const wxView* active = manager ? manager->GetCurrentView() : nullptr;
  wxView* first = nullptr;
  for (wxList::compatibility_iterator node = GetViews().GetFirst(); node; node = node->GetNext()) {
    wxView* view = static_cast<wxView*>(node->GetData());
    if (!view->IsKindOf(own)) continue;
    if (view == active) return static_cast<CSourceView*>(view);
    if (!first) first = view;
  }
  return static_cast<CSourceView*>(first);
}

bool CSourceDoc::OnSaveDocument(const wxString& path) {
  CSourceView* view = ViewToSave();
  if (!view || !view->m_pEditor || path.empty()) return false;

  const std::string text8 = view->m_pEditor->GetText();
  m_strText.AssignBytes(text8);

  const platform::SaveResult result = platform::WriteFileSafely(FileSystemPath(path), text8);
  if (!result) {
    AppMessageBox(SaveFailureMessage(path, result));
    return false;
  }
  Modify(false);
  SetFilename(path);
  SetDocumentSaved(true);
  return true;
}

// Unlike the base, an unmodified document that has a file is written again:
// the chip commands and the user's Save rely on the file being rewritten. A
// file that was deleted or made read-only meanwhile is not written behind the
// user's back: they name the file to save to.
bool CSourceDoc::Save() {
  if (GetFilename().empty() || !GetDocumentSaved() || !platform::IsWritableRegularFile(FileSystemPath(GetFilename())))
    return SaveAs();
  return OnSaveDocument(GetFilename());
}

bool CSourceDoc::SaveAs() {
  wxDocTemplate* temp = GetDocumentTemplate();
  wxDocManager* manager = GetDocumentManager();
  if (!temp) return false;
  wxString folder = temp->GetDirectory();
  if (folder.empty()) folder = wxPathOnly(GetFilename());
  if (folder.empty() && manager) folder = manager->GetLastDirectory();
  const wxString path =
      wxFileSelector(_("Save As"), folder, wxFileNameFromPath(GetFilename()), temp->GetDefaultExtension(),
                     FilterNameOf(temp) + "|" + temp->GetFileFilter(), wxFD_SAVE | wxFD_OVERWRITE_PROMPT,
                     GetDocumentWindow());
  if (path.empty() || !OnSaveDocument(path)) return false;
  SetTitle(wxFileNameFromPath(path));
  SetFilename(path, true);
  // The saved file heads the recent-file list, as an opened one does.
  if (manager) manager->AddFileToHistory(path);
  return true;
}

bool CSourceDoc::OnSaveModified() {
  if (!IsModified()) return true;
  // With several windows the question names the one whose text a save writes.
  const CSourceView* saved = ViewToSave();
  const wxString name = saved ? DocumentWindowName(saved) : GetUserReadableName();
  const wxString question = wxString::Format("Save changes to %s?", name);
  switch (AppMessageBox(question, wxYES_NO | wxCANCEL | wxICON_QUESTION, GetDocumentWindow())) {
    case wxYES:
      return Save();
    case wxNO:
      Modify(false);
      return true;
    default:
      return false;
  }
}

void CSourceDoc::OnChangedViewList() {
  if (GetViews().empty()) {
    // The last window is gone: the base closes the document.
    wxDocument::OnChangedViewList();
    return;
  }
  // A window opened or closed: the others take their new numbers.
  if (auto* view = dynamic_cast<CSourceView*>(GetFirstView())) view->OnChangeFilename();
}

wxClassInfo* CQuillmarkDoc::OwnViewClass() const { return wxCLASSINFO(CQuillmarkView); }

wxClassInfo* CVorn2EditDoc::OwnViewClass() const { return wxCLASSINFO(CVorn2EditView); }
