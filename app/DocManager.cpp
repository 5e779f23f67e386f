// The document manager: templates chosen by extension, the file dialog's
// filters and the recent-file list.
#include "app/DocManager.h"

#include "res/EditorResources.h"
#include "res/ResourceIds.h"

#include <wx/app.h>
#include <wx/config.h>
#include <wx/filedlg.h>
#include <wx/filename.h>

namespace {

// The recent-file list's menu items; the main frame routes their commands.
const int kFirstRecentItem = MenuItemIdOfCommand(ids::ID_FILE_MRU_FILE1);

const wxString kRecentSection = wxS("/Recent File List");

}  // namespace

CQuillmarkDocTemplate::CQuillmarkDocTemplate(wxDocManager* manager, int templateId, wxClassInfo* docClass,
                                             wxClassInfo* viewClass)
    : wxDocTemplate(manager, LoadDocTemplateStrings(templateId).fileNewName,
                    "*" + LoadDocTemplateStrings(templateId).filterExt, wxString(),
                    LoadDocTemplateStrings(templateId).filterExt.Mid(1), LoadDocTemplateStrings(templateId).docName,
                    LoadDocTemplateStrings(templateId).docName, docClass, viewClass),
      m_nTemplateId(templateId),
      m_strings(LoadDocTemplateStrings(templateId)) {}

wxString NewDocumentTitle(wxDocTemplate* temp, wxDocManager& manager) {
  if (auto* own = dynamic_cast<CQuillmarkDocTemplate*>(temp))
    return own->GetDocumentName() + wxString::Format("%d", ++own->m_nUntitledCount);
  return manager.MakeNewDocumentName();
}

wxString FilterNameOf(wxDocTemplate* temp) {
  if (auto* own = dynamic_cast<CQuillmarkDocTemplate*>(temp)) return own->m_strings.filterName;
  return temp->GetDescription() + " (" + temp->GetFileFilter() + ")";
}

bool CQuillmarkDocTemplate::FileMatchesTemplate(const wxString& path) {
  const wxString ext = wxFileName(path).GetExt();
  return !ext.empty() && ext.IsSameAs(GetDefaultExtension(), false);
}

CQuillmarkDocManager::CQuillmarkDocManager() {
  // The base constructor made its history before this class existed: make
  // ours in its place.
  delete m_fileHistory;
  m_fileHistory = OnCreateFileHistory();
}

wxFileHistory* CQuillmarkDocManager::OnCreateFileHistory() {
  return new wxFileHistory(kRecentFiles, kFirstRecentItem);
}

wxDocTemplate* CQuillmarkDocManager::FindTemplateForPath(const wxString& path) {
  wxDocTemplate* first = nullptr;
  for (wxDocTemplate* temp : GetTemplatesVector()) {
    if (!temp->IsVisible()) continue;
    if (!first) first = temp;
    if (temp->FileMatchesTemplate(path)) return temp;
  }
  return first;
}

wxDocTemplate* CQuillmarkDocManager::SelectDocumentPath(wxDocTemplate** templates, int noTemplates, wxString& path,
                                                        long /*flags*/, bool /*save*/) {
  wxString filters;
  for (int i = 0; i < noTemplates; ++i) {
    if (!templates[i]->IsVisible()) continue;
    if (!filters.empty()) filters << '|';
    filters << FilterNameOf(templates[i]) << '|' << templates[i]->GetFileFilter();
  }
  wxWindow* parent = wxTheApp ? wxTheApp->GetTopWindow() : nullptr;
  wxFileDialog dialog(parent, _("Open"), GetLastDirectory(), wxString(), filters, wxFD_OPEN | wxFD_FILE_MUST_EXIST);
  if (dialog.ShowModal() != wxID_OK) return nullptr;
  const wxString chosen = dialog.GetPath();
  if (chosen.empty() || !wxFileName::Exists(chosen)) return nullptr;
  SetLastDirectory(wxPathOnly(chosen));
  path = chosen;
  return FindTemplateForPath(chosen);
}

void CQuillmarkDocManager::OnMRUFileNotExist(unsigned n, const wxString& filename) {
  if (!wxFileName::Exists(filename)) {
    wxDocManager::OnMRUFileNotExist(n, filename);
    return;
  }
  if (!CreateDocument(filename, wxDOC_SILENT)) RemoveFileFromHistory(n);
}

wxDocument* CQuillmarkDocManager::CreateDocument(const wxString& path, long flags) {
  wxDocument* doc = wxDocManager::CreateDocument(path, flags);
  if (doc && !(flags & wxDOC_NEW) && !doc->GetFilename().empty() && GetFileHistory())
    AddFileToHistory(doc->GetFilename());
  return doc;
}

void CQuillmarkDocManager::LoadRecentFiles(wxConfigBase& config) {
  wxFileHistory* history = GetFileHistory();
  if (!history) return;
  const wxString oldPath = config.GetPath();
  config.SetPath(kRecentSection);
  // File1 is the most recent: add from the last so that it ends on top.
  for (int i = kRecentFiles; i >= 1; --i) {
    wxString file;
    if (config.Read(wxString::Format("File%d", i), &file) && !file.empty()) history->AddFileToHistory(file);
  }
  config.SetPath(oldPath);
}

void CQuillmarkDocManager::SaveRecentFiles(wxConfigBase& config) {
  wxFileHistory* history = GetFileHistory();
  if (!history) return;
  config.DeleteGroup(kRecentSection);
  const wxString oldPath = config.GetPath();
  config.SetPath(kRecentSection);
  for (size_t i = 0; i < history->GetCount(); ++i)
    config.Write(wxString::Format("File%d", static_cast<int>(i + 1)), history->GetHistoryFile(i));
  config.SetPath(oldPath);
}

bool CQuillmarkDocManager::OpenFiles(const wxArrayString& paths) {
  bool all = true;
  for (const wxString& path : paths) {
    wxFileName name(path);
    name.MakeAbsolute();
    if (!CreateDocument(name.GetFullPath(), wxDOC_SILENT)) all = false;
  }
  return all;
}
