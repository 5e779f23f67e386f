// The eleven application looks as art and colours of the ribbon, the docked
// panes and the tabs.
#include "app/AppLook.h"

#include <wx/aui/aui.h>
#include <wx/ribbon/art.h>
#include <wx/ribbon/bar.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <initializer_list>
#include <type_traits>

#include "res/ResourceIds.h"

namespace {

// One look in plain numbers (0xRRGGBB), turned into a scheme on demand.
struct LookColours {
  int id;
  const wchar_t* name;
  RibbonArtKind ribbonArt;
  std::uint32_t primary, secondary, tertiary;
  std::uint32_t dock, sash, border;
  std::uint32_t active, activeGradient, activeText;
  std::uint32_t inactive, inactiveGradient, inactiveText;
  int gradient;
  TabArtKind tabArt;
  std::uint32_t tab, tabActive;
  bool windows7;
};

constexpr int kNone = wxAUI_GRADIENT_NONE;
constexpr int kVertical = wxAUI_GRADIENT_VERTICAL;
constexpr int kHorizontal = wxAUI_GRADIENT_HORIZONTAL;

// clang-format off
const LookColours kLooks[] = {
  {ids::ID_VIEW_APPLOOK_WIN_2000, L"Windows 2000", RibbonArtKind::Aui,
   0xD4D0C8, 0x0A246A, 0x808080, 0xD4D0C8, 0xD4D0C8, 0x808080,
   0x0A246A, 0xA6CAF0, 0xFFFFFF, 0x808080, 0xC0C0C0, 0xD4D0C8, kHorizontal,
   TabArtKind::Simple, 0xD4D0C8, 0xFFFFFF, false},
  {ids::ID_VIEW_APPLOOK_OFF_XP, L"Office XP", RibbonArtKind::Aui,
   0xEFEDDE, 0x316AC5, 0xB6BDD2, 0xEFEDDE, 0xE4E2D5, 0xA7A6AA,
   0x316AC5, 0x316AC5, 0xFFFFFF, 0xD6D3CE, 0xD6D3CE, 0x000000, kNone,
   TabArtKind::Simple, 0xEFEDDE, 0xFFFFFF, false},
  {ids::ID_VIEW_APPLOOK_WIN_XP, L"Windows XP", RibbonArtKind::Msw,
   0xECE9D8, 0x0054E3, 0x3D95FF, 0xECE9D8, 0xECE9D8, 0x7F9DB9,
   0x0054E3, 0x3D95FF, 0xFFFFFF, 0x7A96DF, 0xA6CAF0, 0xD8E4F8, kVertical,
   TabArtKind::Generic, 0xECE9D8, 0xFFFFFF, false},
  {ids::ID_VIEW_APPLOOK_OFF_2003, L"Office 2003", RibbonArtKind::Msw,
   0xC3DAF9, 0x3B6FC5, 0xF9D27A, 0xDCE6F4, 0xC3DAF9, 0x6A8CCB,
   0x3B6FC5, 0x9EBEF5, 0xFFFFFF, 0x9EBEF5, 0xDCE6F4, 0x15428B, kVertical,
   TabArtKind::Generic, 0xC3DAF9, 0xFFFFFF, false},
  {ids::ID_VIEW_APPLOOK_VS_2005, L"Visual Studio 2005", RibbonArtKind::Msw,
   0xDBD8D1, 0x4B4B6F, 0xFFC680, 0xDBD8D1, 0xD0CDC5, 0x9D9D9D,
   0x4B4B6F, 0x7F7FA0, 0xFFFFFF, 0xBFBCB5, 0xDBD8D1, 0x000000, kHorizontal,
   TabArtKind::Generic, 0xDBD8D1, 0xF7F6F3, false},
  {ids::ID_VIEW_APPLOOK_VS_2008, L"Visual Studio 2008", RibbonArtKind::Msw,
   0xC2CFE5, 0x3A5A8C, 0xFFE8A6, 0xC2CFE5, 0xB4C4DF, 0x8597B7,
   0x3A5A8C, 0x6F8FC0, 0xFFFFFF, 0x9AAACF, 0xC2CFE5, 0x1E395B, kVertical,
   TabArtKind::Generic, 0xC2CFE5, 0xFFFFFF, false},
  {ids::ID_VIEW_APPLOOK_OFF_2007_BLUE, L"Office 2007 (Blue Style)", RibbonArtKind::Msw,
   0xC2D8F1, 0xFFDF72, 0x000000, 0xBFDBFF, 0xA9C9F0, 0x6593CF,
   0x6593CF, 0xADD1FF, 0x15428B, 0xC4DAF8, 0xE3EFFF, 0x15428B, kVertical,
   TabArtKind::Generic, 0xBFDBFF, 0xFFFFFF, false},
  {ids::ID_VIEW_APPLOOK_OFF_2007_BLACK, L"Office 2007 (Black Style)", RibbonArtKind::Msw,
   0x535353, 0xC0C0C0, 0xFFFFFF, 0x535353, 0x3C3C3C, 0x1E1E1E,
   0x1E1E1E, 0x5A5A5A, 0xFFFFFF, 0x6E6E6E, 0x8C8C8C, 0xE0E0E0, kVertical,
   TabArtKind::Generic, 0x535353, 0xD0D0D0, false},
  {ids::ID_VIEW_APPLOOK_OFF_2007_SILVER, L"Office 2007 (Silver Style)", RibbonArtKind::Msw,
   0xD0D4DD, 0x8C96A8, 0x1E1E1E, 0xD0D4DD, 0xC2C7D2, 0x8F9BB0,
   0x8F9BB0, 0xE3E7EE, 0x1E1E1E, 0xBCC3CF, 0xE8EBF0, 0x1E1E1E, kVertical,
   TabArtKind::Generic, 0xD0D4DD, 0xFFFFFF, false},
  {ids::ID_VIEW_APPLOOK_OFF_2007_AQUA, L"Office 2007 (Aqua Style)", RibbonArtKind::Msw,
   0xB7D3E0, 0x3E8EB0, 0x0F3F56, 0xC9DFEA, 0xB0CFDE, 0x5E9DBA,
   0x3E8EB0, 0x8FC3DA, 0xFFFFFF, 0xA9CCDC, 0xD5E8F0, 0x0F3F56, kVertical,
   TabArtKind::Generic, 0xC9DFEA, 0xFFFFFF, false},
  {ids::ID_VIEW_APPLOOK_WINDOWS_7, L"Windows 7", RibbonArtKind::Aui,
   0xDFE9F5, 0x3C7FB1, 0x1E395B, 0xEEF3FA, 0xDCE6F2, 0x8DB2E3,
   0x3C7FB1, 0x7DA2CE, 0xFFFFFF, 0xC5D3E6, 0xE3EBF5, 0x1E395B, kVertical,
   TabArtKind::Generic, 0xEEF3FA, 0xFFFFFF, true},
};
// clang-format on

int g_office2007Style = ids::ID_VIEW_APPLOOK_OFF_2007_BLUE;

wxColour Rgb(std::uint32_t value) {
  return wxColour(static_cast<unsigned char>(value >> 16), static_cast<unsigned char>(value >> 8),
                  static_cast<unsigned char>(value));
}

const LookColours* Find(int id) {
  for (const LookColours& look : kLooks)
    if (look.id == id) return &look;
  return nullptr;
}

// How far apart a label's and its background's brightness (0-255) must be
// for the label to read well.
constexpr double kReadableContrast = 110;

double Brightness(const wxColour& colour) {
  return 0.299 * colour.Red() + 0.587 * colour.Green() + 0.114 * colour.Blue();
}

// The least brightness difference between `text` and any of `backgrounds`.
double LeastContrast(const wxColour& text, std::initializer_list<wxColour> backgrounds) {
  double least = 255;
  for (const wxColour& background : backgrounds)
    least = std::min(least, std::fabs(Brightness(text) - Brightness(background)));
  return least;
}

// `preferred` when it reads well on every one of `backgrounds`, else black or
// white, whichever reads better.
wxColour ReadableOn(const wxColour& preferred, std::initializer_list<wxColour> backgrounds) {
  if (LeastContrast(preferred, backgrounds) >= kReadableContrast) return preferred;
  return LeastContrast(*wxBLACK, backgrounds) >= LeastContrast(*wxWHITE, backgrounds) ? *wxBLACK : *wxWHITE;
}

// `text` moved halfway towards the backgrounds' mean: a greyed label.
wxColour Greyed(const wxColour& text, std::initializer_list<wxColour> backgrounds) {
  int red = 0, green = 0, blue = 0;
  for (const wxColour& background : backgrounds) {
    red += background.Red();
    green += background.Green();
    blue += background.Blue();
  }
  const int count = static_cast<int>(backgrounds.size());
  auto half = [count](int a, int sum) { return static_cast<unsigned char>((a + sum / count) / 2); };
  return wxColour(half(text.Red(), red), half(text.Green(), green), half(text.Blue(), blue));
}

// Ribbon art whose button labels are drawn in a colour that reads on the
// button's background in the state it is drawn in. wx draws every label in
// one colour, dark for light pages, also on the dark background of a pressed
// or toggled button; and it draws a disabled label like an enabled one.
template <class Art>
class ReadableButtonArt : public Art {
 public:
  wxRibbonArtProvider* Clone() const override {
    auto* copy = new ReadableButtonArt;
    wxColour primary, secondary, tertiary;
    this->GetColourScheme(&primary, &secondary, &tertiary);
    copy->SetColourScheme(primary, secondary, tertiary);
    return copy;
  }

  void DrawButtonBarButton(wxDC& dc, wxWindow* wnd, const wxRect& rect, wxRibbonButtonKind kind, long state,
                           const wxString& label, const wxBitmap& bitmapLarge, const wxBitmap& bitmapSmall) override {
    // A toggled button is drawn as a pressed one, and pressed again as a plain one.
    long shown = state;
    if (kind == wxRIBBON_BUTTON_TOGGLE && (state & wxRIBBON_BUTTONBAR_BUTTON_TOGGLED))
      shown ^= wxRIBBON_BUTTONBAR_BUTTON_ACTIVE_MASK;
    const wxColour label0 = this->m_button_bar_label_colour;
    const wxColour disabled0 = this->m_button_bar_label_disabled_colour;
    const auto use = [this, &label0](std::initializer_list<wxColour> backgrounds) {
      const wxColour readable = ReadableOn(label0, backgrounds);
      this->m_button_bar_label_colour = readable;
      this->m_button_bar_label_disabled_colour = Greyed(readable, backgrounds);
    };
    if constexpr (std::is_base_of_v<wxRibbonAUIArtProvider, Art>) {
      if (shown & wxRIBBON_BUTTONBAR_BUTTON_ACTIVE_MASK)
        use({this->m_button_bar_active_background_brush.GetColour()});
      else if (shown & wxRIBBON_BUTTONBAR_BUTTON_HOVER_MASK)
        use({this->m_button_bar_hover_background_brush.GetColour()});
      else
        use({this->m_background_brush.GetColour()});
    } else {
      if (shown & wxRIBBON_BUTTONBAR_BUTTON_ACTIVE_MASK)
        use({this->m_button_bar_active_background_colour, this->m_button_bar_active_background_gradient_colour,
             this->m_button_bar_active_background_top_colour,
             this->m_button_bar_active_background_top_gradient_colour});
      else if (shown & wxRIBBON_BUTTONBAR_BUTTON_HOVER_MASK)
        use({this->m_button_bar_hover_background_colour, this->m_button_bar_hover_background_gradient_colour,
             this->m_button_bar_hover_background_top_colour, this->m_button_bar_hover_background_top_gradient_colour});
      else
        use({this->m_page_background_colour, this->m_page_background_gradient_colour,
             this->m_page_background_top_colour, this->m_page_background_top_gradient_colour});
    }
    Art::DrawButtonBarButton(dc, wnd, rect, kind, state, label, bitmapLarge, bitmapSmall);
    this->m_button_bar_label_colour = label0;
    this->m_button_bar_label_disabled_colour = disabled0;
  }
};

}  // namespace

bool IsAppLook(int id) { return Find(id) != nullptr; }

void RememberOffice2007Style(int id) {
  if (id >= ids::ID_VIEW_APPLOOK_OFF_2007_BLUE && id <= ids::ID_VIEW_APPLOOK_OFF_2007_AQUA) g_office2007Style = id;
}

int Office2007Style() { return g_office2007Style; }

AppLookScheme AppLookSchemeOf(int id) {
  const LookColours* look = Find(id);
  if (!look) look = Find(g_office2007Style);
  return AppLookScheme{look->id,
                       look->name,
                       look->ribbonArt,
                       Rgb(look->primary),
                       Rgb(look->secondary),
                       Rgb(look->tertiary),
                       Rgb(look->dock),
                       Rgb(look->sash),
                       Rgb(look->border),
                       Rgb(look->active),
                       Rgb(look->activeGradient),
                       Rgb(look->activeText),
                       Rgb(look->inactive),
                       Rgb(look->inactiveGradient),
                       Rgb(look->inactiveText),
                       look->gradient,
                       look->tabArt,
                       Rgb(look->tab),
                       Rgb(look->tabActive),
                       look->windows7};
}

wxRibbonArtProvider* MakeRibbonArt(const AppLookScheme& scheme) {
  wxRibbonArtProvider* art =
      scheme.ribbonArt == RibbonArtKind::Aui
          ? static_cast<wxRibbonArtProvider*>(new ReadableButtonArt<wxRibbonAUIArtProvider>)
          : static_cast<wxRibbonArtProvider*>(new ReadableButtonArt<wxRibbonMSWArtProvider>);
  art->SetColourScheme(scheme.ribbonPrimary, scheme.ribbonSecondary, scheme.ribbonTertiary);
  return art;
}

void ApplyRibbonLook(wxRibbonBar* ribbon, const AppLookScheme& scheme) {
  if (!ribbon) return;
  ribbon->SetArtProvider(MakeRibbonArt(scheme));  // the ribbon owns it from now on
  ribbon->Realize();
  ribbon->Refresh();
}

wxAuiDockArt* MakeDockArt(const AppLookScheme& scheme) {
  auto* art = new wxAuiDefaultDockArt;
  art->SetColour(wxAUI_DOCKART_BACKGROUND_COLOUR, scheme.dockBackground);
  art->SetColour(wxAUI_DOCKART_SASH_COLOUR, scheme.sash);
  art->SetColour(wxAUI_DOCKART_BORDER_COLOUR, scheme.border);
  art->SetColour(wxAUI_DOCKART_GRIPPER_COLOUR, scheme.border);
  art->SetColour(wxAUI_DOCKART_ACTIVE_CAPTION_COLOUR, scheme.captionActive);
  art->SetColour(wxAUI_DOCKART_ACTIVE_CAPTION_GRADIENT_COLOUR, scheme.captionActiveGradient);
  art->SetColour(wxAUI_DOCKART_ACTIVE_CAPTION_TEXT_COLOUR, scheme.captionActiveText);
  art->SetColour(wxAUI_DOCKART_INACTIVE_CAPTION_COLOUR, scheme.captionInactive);
  art->SetColour(wxAUI_DOCKART_INACTIVE_CAPTION_GRADIENT_COLOUR, scheme.captionInactiveGradient);
  art->SetColour(wxAUI_DOCKART_INACTIVE_CAPTION_TEXT_COLOUR, scheme.captionInactiveText);
  art->SetMetric(wxAUI_DOCKART_GRADIENT_TYPE, scheme.captionGradient);
  return art;
}

wxAuiTabArt* MakeTabArt(const AppLookScheme& scheme) {
  wxAuiTabArt* art = scheme.tabArt == TabArtKind::Simple ? static_cast<wxAuiTabArt*>(new wxAuiSimpleTabArt)
                                                         : static_cast<wxAuiTabArt*>(new wxAuiGenericTabArt);
  art->SetColour(scheme.tabBackground);
  art->SetActiveColour(scheme.tabActive);
  return art;
}

void ApplyTabLook(wxAuiNotebook* notebook, const AppLookScheme& scheme) {
  if (!notebook) return;
  notebook->SetArtProvider(MakeTabArt(scheme));
  // When the height of the tabs stays the same, the notebook gives each strip
  // of tabs a copy of the new art without telling it the strip's size, and
  // the art draws the tabs a few pixels high until the strip is resized. Each
  // strip tells its art its size at once.
  for (wxWindow* child : notebook->GetChildren()) {
    if (auto* strip = dynamic_cast<wxAuiTabCtrl*>(child)) {
      strip->SetRect(wxRect(strip->GetSize()));
      strip->Refresh();
    }
  }
}
