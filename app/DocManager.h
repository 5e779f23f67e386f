// The document manager: the two kinds of source document, the choice of kind
// for a file, and the recent-file list of ten entries.
#pragma once

#include "res/AppResources.h"

#include <wx/docview.h>
#include <wx/filehistory.h>

class wxConfigBase;

// A document template that keeps the seven fields of its document string.
class CQuillmarkDocTemplate : public wxDocTemplate {
 public:
  // Creates the template of document string `templateId` and registers it
  // with `manager` (wx does so in every template's constructor).
  CQuillmarkDocTemplate(wxDocManager* manager, int templateId, wxClassInfo* docClass, wxClassInfo* viewClass);

  // Whether the file's extension is the template's, in any letter case
  // ("A.VORN" is a first-generation source as "a.vorn" is).
  bool FileMatchesTemplate(const wxString& path) override;

  int m_nTemplateId;
  DocTemplateStrings m_strings;
  int m_nUntitledCount = 0;  // new documents of this kind so far
};

// The title of a new, unsaved document: the kind's document name followed by
// its number among the new documents of that kind ("Quillmark1",
// "Vorn2Edit1"); wx's own numbering for templates of other classes.
wxString NewDocumentTitle(wxDocTemplate* temp, wxDocManager& manager);

// The file dialogs' name of the template's filter: its document string's
// filter name ("Vorn1 Files (*.vorn)"); description and filter for
// templates of other classes.
wxString FilterNameOf(wxDocTemplate* temp);

class CQuillmarkDocManager : public wxDocManager {
 public:
  static constexpr int kRecentFiles = 10;

  CQuillmarkDocManager();

  // Ten entries whose menu items start at MenuItemIdOfCommand(ID_FILE_MRU_FILE1).
  wxFileHistory* OnCreateFileHistory() override;

  // The template whose extension the file has; when none has, the first
  // registered template, so that a file of another extension opens as the
  // start-up kind (while only that one is registered, every file does).
  wxDocTemplate* FindTemplateForPath(const wxString& path) override;

  // The open dialog with one filter per registered template, named by its
  // document string; the kind then follows the chosen file's extension.
  // Whatever the user chose goes to the open, which refuses what it cannot
  // read (a pipe, a folder) with its message.
  wxDocTemplate* SelectDocumentPath(wxDocTemplate** templates, int noTemplates, wxString& path, long flags,
                                    bool save = false) override;

  // Every opened file goes into the recent-file list, also one opened as a
  // kind its extension does not name.
  wxDocument* CreateDocument(const wxString& path, long flags = 0) override;

  // The recent-file list from and to "Recent File List", values "File1"...
  void LoadRecentFiles(wxConfigBase& config);
  void SaveRecentFiles(wxConfigBase& config);

  // Opens each file as the kind its extension names; false when one failed.
  bool OpenFiles(const wxArrayString& paths);

 protected:
  // A recent file that is there but is no regular file (a pipe, a folder, a
  // device) goes to the open, which refuses it with its message, and leaves
  // the list; one that is not there at all goes to the base.
  void OnMRUFileNotExist(unsigned n, const wxString& filename) override;
};
