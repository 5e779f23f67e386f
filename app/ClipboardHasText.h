// CClipboardHasText: whether the clipboard holds text, for the enabled state of
// Paste, which every update-UI pass asks for. Asking the clipboard's owner
// waits for its answer (a nested event loop on GTK), so the answer is kept
// until something may have changed it.
#pragma once

#include <wx/clipbrd.h>
#include <wx/event.h>
#include <wx/longlong.h>

class CClipboardHasText : public wxEvtHandler {
 public:
  // The one of the process, made at the first call.
  static CClipboardHasText& Get();

  // Whether the clipboard holds text (wxDF_TEXT or wxDF_UNICODETEXT). Data
  // this program put there answers for itself; for another owner's the
  // answer asked last holds until the owner changes, the application is
  // activated, or the formats on offer are seen to change.
  bool HasText();

  // The next HasText asks the clipboard's owner.
  void Forget() { m_known = false; }

  // Destroys the one of the process (at the toolkit's shut-down).
  static void Release();

 private:
  CClipboardHasText();
  ~CClipboardHasText() override;

  // The data this program has on the clipboard, or null.
  static const wxDataObject* OwnData();
  // Asks the owner, waiting for its answer; false when the clipboard
  // cannot be opened (and then nothing is kept).
  bool AskOwner();
  // Asks the owner for its formats without waiting: at once after the
  // owner was asked, else at most once per poll interval.
  void RequestFormats(bool afterAsking);
  void OnFormats(wxClipboardEvent& event);
  void OnActivateApp(wxActivateEvent& event);

  bool m_known = false;          // m_hasText is the owner's answer
  bool m_hasText = false;
  bool m_requestPending = false;  // a formats request waits for its answer
  bool m_havePicture = false;
  unsigned m_picture = 0;         // which text formats were on offer at the last answer
  wxLongLong m_lastRequest = 0;
};
