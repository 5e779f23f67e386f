// The two source documents: CQuillmarkDoc (first generation, ".vorn") and
// CVorn2EditDoc (second generation, ".vorn2"). They share everything but the
// class of view whose editor they save from.
#pragma once

#include <wx/docview.h>

#include <string>

#include "app/SourceFile.h"

class CSourceView;

class CSourceDoc : public wxDocument {
 public:
  // The document's text as read (or the new-document text), then as last
  // saved: each view's initial update loads its editor from it. Held a byte
  // per character unless some character needs more; reads as a std::wstring.
  sourcefile::StagingText m_strText;

  // m_strText = the new-document text.
  bool OnNewDocument() override;
  // Reads the file into m_strText; "Failed to open given filename." when it
  // cannot be read or is no regular file (a pipe, socket, device or folder,
  // refused at once). Tells the user how many characters of the file no
  // glyph shows, when there are any: the editor leaves them out.
  bool OnOpenDocument(const wxString& path) override;
  // Writes the text of the editor of ViewToSave() through the safe save;
  // refuses silently when there is no such view. Tells the user, and leaves
  // the file as it was, when the save fails.
  bool OnSaveDocument(const wxString& path) override;
  // Writes every time it is asked, modified or not. A document without a
  // file, or whose file no longer exists or is read-only, goes to Save As.
  bool Save() override;
  // Asks for a name under the template's filter ("Vorn1 Files (*.vorn)") and
  // saves there; false when the user cancels or the save fails.
  bool SaveAs() override;
  // Closing a modified document asks whether to save it first; with several
  // windows the question names the window whose text would be saved.
  bool OnSaveModified() override;
  // Every window of the document shows its name anew when one opens or
  // closes (the numbers of the windows change); the last one's closing
  // closes the document.
  void OnChangedViewList() override;

  // The view whose editor a save writes: the active view when it is one of
  // this document's views of the own view class, else the first such view;
  // nullptr when there is none.
  CSourceView* ViewToSave() const;

 protected:
  // The class of view this document saves from (derived classes included).
  virtual wxClassInfo* OwnViewClass() const = 0;

 private:
  wxDECLARE_ABSTRACT_CLASS(CSourceDoc);
};

// First-generation sources; saves from a CQuillmarkView.
class CQuillmarkDoc : public CSourceDoc {
 protected:
  wxClassInfo* OwnViewClass() const override;

 private:
  wxDECLARE_DYNAMIC_CLASS(CQuillmarkDoc);
};

// Second-generation sources; saves from a CVorn2EditView.
class CVorn2EditDoc : public CSourceDoc {
 protected:
  wxClassInfo* OwnViewClass() const override;

 private:
  wxDECLARE_DYNAMIC_CLASS(CVorn2EditDoc);
};
