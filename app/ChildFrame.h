// CChildFrame: the document window of both kinds of document, one per view,
// shown as a tab of the main frame. It carries its document kind's menu,
// passes the keyboard focus on to its view's window and handles Print, Quick
// Print and Print Preview while its view shows print preview.
#pragma once

#include <wx/aui/aui.h>
#include <wx/docview.h>
#include <wx/weakref.h>

class wxPreviewFrame;

// The name of a view's document window: its document's name, followed by ":n"
// while the document has more than one window, n counting the document's
// windows from 1 in the order they were opened ("edges.vorn:2"); shown on one
// line (see OneLineName).
wxString DocumentWindowName(const wxView* view);

class CChildFrame : public wxDocChildFrameAny<wxAuiMDIChildFrame, wxAuiMDIParentFrame> {
 public:
  using Base = wxDocChildFrameAny<wxAuiMDIChildFrame, wxAuiMDIParentFrame>;

  CChildFrame(wxDocument* doc, wxView* view, wxAuiMDIParentFrame* parent, wxWindowID id = wxID_ANY,
              const wxString& title = wxEmptyString, const wxPoint& pos = wxDefaultPosition,
              const wxSize& size = wxDefaultSize, long style = wxDEFAULT_FRAME_STYLE,
              const wxString& name = wxASCII_STR(wxFrameNameStr));

  // The menu of a document's kind: 311 for second-generation documents
  // (document name "Vorn2Edit" or class CVorn2EditDoc), else 130.
  static int MenuResourceOf(const wxDocument* doc);

  // The keyboard focus goes to the view's window (which a source view hands
  // on to its editor), so that typing goes into the document.
  void SetFocus() override;

  // Whether this frame's view shows print preview, and its preview window.
  bool IsInPrintPreview() const;
  wxPreviewFrame* GetPreviewFrame() const;

#ifdef __WXGTK__
  // The frame is a plain child window inside the main frame's tabs, not a
  // window of the desktop: realizing it must not treat it as one (GTK would
  // warn of a cast to a desktop window). The constructor creates the window
  // itself, so that this is in force when a shown main frame realizes it at
  // once.
  void GTKHandleRealized() override { wxWindow::GTKHandleRealized(); }
#endif

 protected:
  // Print, Quick Print and Print Preview are this frame's while preview is
  // shown; otherwise they go to the view, and a preview window the view
  // opens for Print Preview is noted as this frame's.
  bool TryBefore(wxEvent& event) override;

 private:
  // The view's window: the frame's first shown child that takes the focus.
  wxWindow* ViewWindow() const;
  void OnSetFocus(wxFocusEvent& event);
  void PrintFromPreview();
  void ClosePreview();

  wxWeakRef<wxPreviewFrame> m_preview;

  wxDECLARE_CLASS(CChildFrame);
};
