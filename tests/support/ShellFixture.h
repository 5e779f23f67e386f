// Helpers shared by the document, view and application tests: whole-file reads
// and writes, event pumping, bounded waits, message boxes answered unseen, and
// a main frame with a doc manager of both document kinds.
#pragma once

#include <gtest/gtest.h>
#include <wx/app.h>
#include <wx/docview.h>
#include <wx/filename.h>
#include <wx/utils.h>

#include <chrono>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

#include <wx/aui/tabmdi.h>

#include "app/MainFrame.h"
#include "app/QuillmarkDoc.h"
#include "app/QuillmarkView.h"
#include "app/Vorn2EditView.h"
#include "res/ResourceIds.h"
#include "support/MessageBoxes.h"

namespace shelltest {

inline std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void WriteFile(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << bytes;
}

// Lets wx, the X server and the sockets handle what is pending.
inline void Pump(int rounds = 5) {
  for (int i = 0; i < rounds; ++i) {
    wxTheApp->ProcessPendingEvents();
    while (wxTheApp->Pending()) wxTheApp->Dispatch();
    wxYield();
  }
}

// Pumps until `done` holds or `ms` have passed; returns `done()`.
inline bool PumpUntil(const std::function<bool()>& done, int ms) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
  while (!done()) {
    if (std::chrono::steady_clock::now() > end) return done();
    Pump(1);
    wxMilliSleep(10);
  }
  return true;
}

using ::MessageBoxes;

// A shown main frame with a doc manager of both kinds and a temporary folder.
class DocFrameTest : public ::testing::Test {
 protected:
  void SetUp() override {
    // Saves sync their file: a memory file system keeps the many saves quick.
    folder_ = wxFileName::CreateTempFileName(wxDirExists("/dev/shm") ? "/dev/shm/qmdoc" : "qmdoc").utf8_string();
    wxRemoveFile(folder_);
    wxFileName::Mkdir(folder_, 0700, wxPATH_MKDIR_FULL);
    MakeManager();
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

  // The doc manager and the two kinds: plain wx ones of the two document
  // classes; a fixture may make the application's own instead.
  virtual void MakeManager() {
    manager_ = new wxDocManager();
    first_ = new wxDocTemplate(manager_, "Quillmark", "*.vorn", "", "vorn", "Quillmark", "Quillmark",
                               wxCLASSINFO(CQuillmarkDoc), wxCLASSINFO(CQuillmarkView));
    second_ = new wxDocTemplate(manager_, "Vorn2Edit", "*.vorn2", "", "vorn2", "Vorn2Edit", "Vorn2Edit",
                                wxCLASSINFO(CVorn2EditDoc), wxCLASSINFO(CVorn2EditView));
  }

  // A new document of the template's kind, as File New makes it.
  CSourceDoc* NewDocument(wxDocTemplate* tmpl) {
    wxDocument* doc = tmpl->CreateDocument("", wxDOC_NEW);
    if (!doc) return nullptr;
    doc->SetDocumentName(tmpl->GetDocumentName());
    if (!doc->OnNewDocument()) {
      doc->DeleteAllViews();
      return nullptr;
    }
    doc->Activate();
    Pump();
    return dynamic_cast<CSourceDoc*>(doc);
  }
  std::string Path(const std::string& name) const { return folder_ + "/" + name; }
  std::string WriteFile(const std::string& name, const std::string& text) const {
    shelltest::WriteFile(Path(name), text);
    return Path(name);
  }
  // The document of a file with its window; nullptr when it refused.
  CSourceDoc* Open(const std::string& path) {
    wxDocument* doc = manager_->CreateDocument(wxString::FromUTF8(path), wxDOC_SILENT);
    Pump();
    return dynamic_cast<CSourceDoc*>(doc);
  }
  static void Drop(wxDocument* doc) {
    doc->Modify(false);
    doc->DeleteAllViews();
    Pump();
  }
  static CSourceView* ViewOf(wxDocument* doc) { return dynamic_cast<CSourceView*>(doc->GetFirstView()); }
  static std::vector<std::string> Lines(wxDocument* doc) { return ViewOf(doc)->m_pEditor->m_textModel.lines; }
  // A second window on the active document through the main frame's New Window.
  CSourceView* NewWindow(wxDocument* doc) {
    const std::size_t before = doc->GetViewsVector().size();
    frame_->ExecuteCommand(ids::ID_WINDOW_NEW);
    Pump();
    const auto views = doc->GetViewsVector();
    return views.size() == before + 1 ? dynamic_cast<CSourceView*>(views.back()) : nullptr;
  }
  static void Activate(CSourceView* view) {
    auto* child = dynamic_cast<wxAuiMDIChildFrame*>(view->GetFrame());
    ASSERT_NE(child, nullptr);
    child->Activate();
    Pump();
  }

  std::string folder_;
  wxDocManager* manager_ = nullptr;
  wxDocTemplate* first_ = nullptr;
  wxDocTemplate* second_ = nullptr;
  CMainFrame* frame_ = nullptr;
};

}  // namespace shelltest
