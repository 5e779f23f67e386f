// The application's own resources: template strings, names, About texts, icon.
#include "res/AppResources.h"

#include "res/ResourceIds.h"

#include <wx/bitmap.h>
#include <wx/icon.h>
#include <wx/tokenzr.h>

const wchar_t* const kAboutCaption = L"About Quillmark";
const wchar_t* const kAboutVersion = L"Quillmark, Version 1.0";
const wchar_t* const kAboutNotice = L"An editor for Vorn sources of both chip generations.";

wxString DocTemplateString(int templateId) {
  switch (templateId) {
    case ids::IDR_QuillmarkTYPE:
      return L"\nQuillmark\nQuillmark\nVorn1 Files (*.vorn)\n.vorn\nQuillmark.Document\nQuillmark.Document";
    case ids::IDR_Vorn2EditTYPE:
      return L"\nVorn2Edit\nVorn2Edit\nVorn2 Files (*.vorn2)\n.vorn2\nQuillmark.Document\nQuillmark.Document";
    default:
      return wxString();
  }
}

DocTemplateStrings LoadDocTemplateStrings(int templateId) {
  const wxArrayString fields = wxSplit(DocTemplateString(templateId), L'\n', L'\0');
  auto field = [&fields](size_t i) { return i < fields.size() ? fields[i] : wxString(); };
  DocTemplateStrings s;
  s.windowTitle = field(0);
  s.docName = field(1);
  s.fileNewName = field(2);
  s.filterName = field(3);
  s.filterExt = field(4);
  s.regFileTypeId = field(5);
  s.regFileTypeName = field(6);
  return s;
}

wxString AppNameString() { return L"Quillmark"; }

wxString ContextMenuName(int stringId) {
  switch (stringId) {
    case 305: return L"Explorer";
    case 306: return L"Edit";
    default: return wxString();
  }
}

const std::string& AppIconSvg() {
  // A quill over a written line on a dark blue tile.
  static const std::string svg =
      "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"64\" height=\"64\" viewBox=\"0 0 64 64\">\n"
      "  <rect x=\"2\" y=\"2\" width=\"60\" height=\"60\" rx=\"10\" ry=\"10\" fill=\"#1f3d7a\"/>\n"
      "  <path d=\"M50 8 C34 12 22 26 18 46 L22 47 C28 32 38 20 50 8 Z\" fill=\"#f4f1e6\"/>\n"
      "  <path d=\"M50 8 C46 22 36 36 22 47 L20 44 C32 34 42 22 50 8 Z\" fill=\"#c9c2a8\"/>\n"
      "  <path d=\"M18 46 L14 56 L21 48 Z\" fill=\"#f4f1e6\"/>\n"
      "  <rect x=\"10\" y=\"55\" width=\"44\" height=\"3\" rx=\"1.5\" fill=\"#f0b429\"/>\n"
      "</svg>\n";
  return svg;
}

wxBitmapBundle AppIconBundleOfBitmaps() {
  return wxBitmapBundle::FromSVG(AppIconSvg().c_str(), wxSize(32, 32));
}

wxIconBundle AppIcons() {
  const wxBitmapBundle bundle = AppIconBundleOfBitmaps();
  wxIconBundle icons;
  for (int size : {16, 32, 48, 64}) {
    wxIcon icon;
    icon.CopyFromBitmap(bundle.GetBitmap(wxSize(size, size)));
    icons.AddIcon(icon);
  }
  return icons;
}
