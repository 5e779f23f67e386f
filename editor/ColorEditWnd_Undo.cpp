// Line primitives, commit and replay. (placeholder bodies until this concern is written)
#include "editor/ColorEditWnd.h"

void ColorEditWnd::InsertLine(const std::string& text, int index, bool update, bool) { m_textModel.InsertLine(text, index, update); }
void ColorEditWnd::ReplaceLine(const std::string& text, int index, bool, bool) { m_textModel.SetLine(text, index); }
void ColorEditWnd::RemoveLine(int index, bool, bool) { if (index < m_textModel.LineCount()) m_textModel.RemoveLine(index); }
void ColorEditWnd::CommitUndoFrame() {}
void ColorEditWnd::CommitAndNotify() {}
void ColorEditWnd::ReplayUndoFrame(CUndoFrameStack&, CUndoFrameStack&) {}
void ColorEditWnd::OnEditUndo(wxCommandEvent&) {}
void ColorEditWnd::OnEditRedo(wxCommandEvent&) {}
void ColorEditWnd::BindUndoEvents() {}
