// Whether the clipboard holds text, kept between update-UI passes.
#include "app/ClipboardHasText.h"

#include <wx/app.h>
#include <wx/dataobj.h>
#include <wx/module.h>
#include <wx/time.h>

namespace {

// How often another owner's formats are looked at while the answer is kept.
constexpr long kPollMs = 200;

CClipboardHasText* g_instance = nullptr;

// The formats whose presence decides the answer, each as the toolkit names
// what an owner offers (text of the old and the new kind and their aliases).
const std::vector<wxDataFormat>& TextFormats() {
  static const std::vector<wxDataFormat> formats = [] {
    std::vector<wxDataFormat> all{wxDataFormat(wxDF_TEXT), wxDataFormat(wxDF_UNICODETEXT)};
#ifdef __WXGTK__
    for (const char* name : {"UTF8_STRING", "STRING", "TEXT", "COMPOUND_TEXT", "text/plain",
                             "text/plain;charset=utf-8"})
      all.emplace_back(wxDataFormat(wxString(name)).GetFormatId());
#endif
    return all;
  }();
  return formats;
}

class ClipboardTextModule : public wxModule {
 public:
  bool OnInit() override { return true; }
  void OnExit() override { CClipboardHasText::Release(); }

 private:
  wxDECLARE_DYNAMIC_CLASS(ClipboardTextModule);
};
wxIMPLEMENT_DYNAMIC_CLASS(ClipboardTextModule, wxModule);

}  // namespace

CClipboardHasText& CClipboardHasText::Get() {
  if (!g_instance) g_instance = new CClipboardHasText();
  return *g_instance;
}

void CClipboardHasText::Release() {
  delete g_instance;
  g_instance = nullptr;
}

CClipboardHasText::CClipboardHasText() {
  Bind(wxEVT_CLIPBOARD_CHANGED, &CClipboardHasText::OnFormats, this);
  if (wxTheApp) wxTheApp->Bind(wxEVT_ACTIVATE_APP, &CClipboardHasText::OnActivateApp, this);
}

CClipboardHasText::~CClipboardHasText() {
  if (wxTheApp) wxTheApp->Unbind(wxEVT_ACTIVATE_APP, &CClipboardHasText::OnActivateApp, this);
}

const wxDataObject* CClipboardHasText::OwnData() {
#ifdef __WXGTK__
  // wx keeps the data it offers until another owner takes the clipboard or
  // it is cleared; a null atom names the clipboard in use.
  return wxTheClipboard->GTKGetDataObject(nullptr);
#else
  return nullptr;
#endif
}

bool CClipboardHasText::HasText() {
#ifdef __WXGTK__
  if (const wxDataObject* own = OwnData()) {
    // Once the data is gone, another owner is asked afresh.
    m_known = false;
    return own->IsSupported(wxDF_UNICODETEXT) || own->IsSupported(wxDF_TEXT);
  }
  if (!m_known) {
    if (!wxTheClipboard->Open()) return false;
    m_hasText = AskOwner();
    wxTheClipboard->Close();
    m_known = true;
    RequestFormats(true);
  } else {
    RequestFormats(false);
  }
  return m_hasText;
#else
  bool hasText = false;
  if (wxTheClipboard->Open()) {
    hasText = AskOwner();
    wxTheClipboard->Close();
  }
  return hasText;
#endif
}

bool CClipboardHasText::AskOwner() {
  return wxTheClipboard->IsSupported(wxDataFormat(wxDF_TEXT)) ||
         wxTheClipboard->IsSupported(wxDataFormat(wxDF_UNICODETEXT));
}

void CClipboardHasText::RequestFormats(bool afterAsking) {
  if (m_requestPending) return;
  const wxLongLong now = wxGetLocalTimeMillis();
  if (!afterAsking && now - m_lastRequest < kPollMs) return;
  if (!wxTheClipboard->IsSupportedAsync(this)) return;
  m_requestPending = true;
  m_lastRequest = now;
}

// The answer to a formats request: when the text formats on offer differ
// from the last picture, the owner is asked again at the next pass (which
// this event's processing brings about). The first picture is held against
// the answer itself.
void CClipboardHasText::OnFormats(wxClipboardEvent& event) {
  m_requestPending = false;
  unsigned picture = 0;
  const std::vector<wxDataFormat>& formats = TextFormats();
  for (size_t i = 0; i < formats.size(); ++i)
    if (event.SupportsFormat(formats[i])) picture |= 1u << i;
  const bool changed = m_havePicture ? picture != m_picture : (picture != 0) != m_hasText;
  if (changed) m_known = false;
  m_picture = picture;
  m_havePicture = true;
}

// Another program may have changed the clipboard while this one was not active.
void CClipboardHasText::OnActivateApp(wxActivateEvent& event) {
  event.Skip();
  if (event.GetActive()) Forget();
}
