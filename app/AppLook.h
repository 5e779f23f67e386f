// The application looks: for each look command (205-210, 215-219) the art
// and colours of the ribbon, of the docked panes' frames and captions and of
// the tabs, and the functions that put them on the windows.
#pragma once

#include <wx/colour.h>

class wxAuiDockArt;
class wxAuiNotebook;
class wxAuiTabArt;
class wxRibbonArtProvider;
class wxRibbonBar;

enum class RibbonArtKind { Msw, Aui };
enum class TabArtKind { Generic, Simple };

struct AppLookScheme {
  int id;                    // the look command this scheme belongs to
  const wchar_t* name;
  RibbonArtKind ribbonArt;
  wxColour ribbonPrimary, ribbonSecondary, ribbonTertiary;
  wxColour dockBackground, sash, border;
  wxColour captionActive, captionActiveGradient, captionActiveText;
  wxColour captionInactive, captionInactiveGradient, captionInactiveText;
  int captionGradient;       // wxAUI_GRADIENT_*
  TabArtKind tabArt;
  wxColour tabBackground, tabActive;
  bool windows7Ribbon;       // the ribbon's Windows 7 look
};

// Whether `id` is one of the eleven look commands.
bool IsAppLook(int id);

// The scheme of look `id`. Any other id gives the Office 2007 look in the
// style last chosen (blue until one of 215-218 was applied), with the
// Windows 7 ribbon look off.
AppLookScheme AppLookSchemeOf(int id);

// The Office 2007 style (215-218) that a later unknown id falls back to. The
// style is one for the whole program, as the looks are.
void RememberOffice2007Style(int id);
int Office2007Style();

// New ribbon art in the scheme's colours; the caller hands it to a ribbon. Its
// buttons' labels stand out from whatever the button is drawn on (pressed,
// toggled, under the mouse), and a disabled button's label is greyed.
wxRibbonArtProvider* MakeRibbonArt(const AppLookScheme& scheme);
// Puts the scheme's art and colour scheme on the ribbon and lays it out again.
void ApplyRibbonLook(wxRibbonBar* ribbon, const AppLookScheme& scheme);
// New art for a frame's docked panes and for tab controls, in the scheme's
// colours; the caller hands them to their owner.
wxAuiDockArt* MakeDockArt(const AppLookScheme& scheme);
wxAuiTabArt* MakeTabArt(const AppLookScheme& scheme);
// Gives `notebook` new tab art in the scheme's colours; its tabs keep their
// full height and labels.
void ApplyTabLook(wxAuiNotebook* notebook, const AppLookScheme& scheme);
