// Message boxes answered unseen through wx's modal-dialog hook, for every
// window test that makes the program tell the user something.
#pragma once

#include <wx/dialog.h>
#include <wx/modalhook.h>
#include <wx/msgdlg.h>

#include <deque>
#include <vector>

// Answers message boxes unseen (wxID_OK unless answers are queued) and notes them.
class MessageBoxes : public wxModalDialogHook {
 public:
  MessageBoxes() { Register(); }
  ~MessageBoxes() override { Unregister(); }
  std::vector<wxString> texts, captions;
  std::vector<long> styles;
  std::deque<int> answers;

 protected:
  int Enter(wxDialog* dialog) override {
    auto* box = dynamic_cast<wxMessageDialog*>(dialog);
    texts.push_back(box ? box->GetMessage() : "<not a message box>");
    captions.push_back(dialog->GetTitle());
    styles.push_back(box ? box->GetMessageDialogStyle() : 0);
    if (answers.empty()) return wxID_OK;
    const int answer = answers.front();
    answers.pop_front();
    return answer;
  }
  void Exit(wxDialog*) override {}
};
