// CViewPrintout: the pages of a view's text: the editor's lines in its
// fixed-pitch font, as many lines to a page as fit between the margins, each
// line cut at the right margin, as many pages as the text needs.
#pragma once

#include <wx/font.h>
#include <wx/print.h>

#include <string>
#include <vector>

class ColorEditWnd;

class CViewPrintout : public wxPrintout {
 public:
  // Takes a copy of the editor's lines and font (none when `editor` is null),
  // so that a preview outlives the view it was started from. The margins are
  // those of page setup (millimetres), 15 mm on every side when it gives none.
  CViewPrintout(const ColorEditWnd* editor, const wxString& title, wxPoint marginTopLeft = wxPoint(),
                wxPoint marginBottomRight = wxPoint());

  void OnPreparePrinting() override;
  bool OnPrintPage(int page) override;
  bool HasPage(int page) override;
  void GetPageInfo(int* minPage, int* maxPage, int* pageFrom, int* pageTo) override;

  // After OnPreparePrinting: the page layout.
  int PageCount() const { return m_pageCount; }
  int LinesPerPage() const { return m_linesPerPage; }
  int ColumnsPerLine() const { return m_columns; }
  // The rectangle the text goes in, in the logical units of the page.
  wxRect TextRect() const { return m_textRect; }
  int LineHeight() const { return m_lineHeight; }
  int CellWidth() const { return m_cellWidth; }

 private:
  // Maps the DC so that the screen-sized font prints at its size on screen,
  // and measures the text rectangle, the cell and the line height.
  void Layout();

  std::vector<std::string> m_lines;
  wxPoint m_marginTopLeft;
  wxPoint m_marginBottomRight;
  wxFont m_font;
  wxRect m_textRect;
  int m_lineHeight = 1;
  int m_cellWidth = 1;
  int m_linesPerPage = 1;
  int m_columns = 1;
  int m_pageCount = 1;
};
