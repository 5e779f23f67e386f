// The application's own resources: the document strings of the two document
// templates, its name, the texts of the About box and the application icon.
#pragma once

#include <wx/bmpbndl.h>
#include <wx/iconbndl.h>
#include <wx/string.h>

#include <string>

// The seven fields of a document template's string (130 or 311), in order.
struct DocTemplateStrings {
  wxString windowTitle;   // empty for both templates
  wxString docName;       // the document's default name
  wxString fileNewName;   // the name the File New chooser shows
  wxString filterName;    // the open dialog's filter name
  wxString filterExt;     // the extension with its dot
  wxString regFileTypeId;
  wxString regFileTypeName;
};

// The raw document string of template 130 or 311: fields separated by a
// newline, beginning with one. Empty for any other id.
wxString DocTemplateString(int templateId);
// That string split into its fields.
DocTemplateStrings LoadDocTemplateStrings(int templateId);

// String 57344: the application's name, under which its settings lie.
wxString AppNameString();
// Strings 305 and 306: names of the context menus.
wxString ContextMenuName(int stringId);

// Dialog 100, the About box.
extern const wchar_t* const kAboutCaption;   // "About Quillmark"
extern const wchar_t* const kAboutVersion;   // "Quillmark, Version 1.0"
extern const wchar_t* const kAboutNotice;    // the one-line notice

// Icon 128, the application icon, as SVG text (also installed for the desktop).
const std::string& AppIconSvg();
// The application icon at any size, and as the icon bundle of a frame.
wxBitmapBundle AppIconBundleOfBitmaps();
wxIconBundle AppIcons();
