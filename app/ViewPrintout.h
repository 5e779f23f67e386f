// CViewPrintout: the pages of a view's text: the editor's lines in its
// fixed-pitch font, as many printed rows to a page as fit between the margins,
// as many pages as the text needs. A line longer than the printable width
// continues on the next row, behind a mark that tells it from a new line, so
// nothing of the text is cut. The pagination depends only on the paper's size
// in millimetres, the margins and the font's size on the screen, so a preview
// and a printout of the same text always have the same pages.
#pragma once

#include <wx/font.h>
#include <wx/print.h>

#include <cstddef>
#include <string>
#include <vector>

class ColorEditWnd;

class CViewPrintout : public wxPrintout {
 public:
  // One printed row: the bytes [begin, end) of one source line. A row that
  // continues its line past the previous row is `continued`.
  struct PrintRow {
    std::size_t line = 0;
    std::size_t begin = 0;
    std::size_t end = 0;
    bool continued = false;
  };

  // Cells at the start of a continued row that hold its mark instead of text.
  static constexpr int kMarkCells = 2;

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
  const std::vector<PrintRow>& Rows() const { return m_rows; }
  // The rectangle the text goes in, in the page's logical units: screen
  // pixels at the paper's real size, from the paper's top left corner.
  wxRect TextRect() const { return m_textRect; }
  int LineHeight() const { return m_lineHeight; }
  int CellWidth() const { return m_cellWidth; }

 private:
  // Measures the text rectangle, the rows a page holds and the cells a row
  // holds from the paper's size, the margins and the font's screen size.
  void Layout();
  // Splits every line into the rows that print it.
  void BreakIntoRows();
  // Draws the mark of a continued row into its first cells.
  void DrawContinuationMark(wxDC& dc, int x, int y) const;

  std::vector<std::string> m_lines;
  std::vector<PrintRow> m_rows;
  wxPoint m_marginTopLeft;
  wxPoint m_marginBottomRight;
  wxFont m_font;
  wxRect m_textRect;
  int m_lineHeight = 0;  // screen pixels; 0 until measured
  int m_cellWidth = 0;
  int m_linesPerPage = 1;
  int m_columns = 1;
  int m_pageCount = 1;
};
