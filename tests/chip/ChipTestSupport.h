// Test doubles and a sandbox for the chip commands: a fake document and Build
// list, a temporary program folder, document folder and search path holding
// fake tools that record their arguments and working folder, and dialog hooks
// that answer message boxes and fail on unexpected dialogs.
#pragma once

#include "chip/ChipInterfaces.h"
#include "chip/PortDialog.h"
#include "chip/ToolRun.h"
#include "platform/ProcessRunner.h"

#include <gtest/gtest.h>
#include <wx/modalhook.h>
#include <wx/msgdlg.h>
#include <wx/testing.h>

// Expectations that are not met become test failures instead of wx asserts.
class ChipTestHook : public wxTestingModalHook {
 public:
  using wxTestingModalHook::wxTestingModalHook;

 protected:
  void ReportFailure(const wxString& msg) override { ADD_FAILURE() << msg.ToStdString(); }
};
#undef wxTEST_DIALOG_HOOK_CLASS
#define wxTEST_DIALOG_HOOK_CLASS ChipTestHook

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace chiptest {

// Lets a test run a dialog for real (the guard otherwise fails and cancels it).
void AllowRealDialogs(bool allow);

struct FakeDocument : ChipDocument {
  std::wstring path;
  std::wstring title;
  bool saveSucceeds = true;
  int saves = 0;
  // What an untitled document becomes when its save asks for a name.
  std::wstring pathAfterSave, titleAfterSave;

  bool Save() override {
    ++saves;
    if (!saveSucceeds) return false;
    if (!pathAfterSave.empty()) {
      path = pathAfterSave;
      title = titleAfterSave;
    }
    return true;
  }
  std::wstring PathName() override { return path; }
  std::wstring Title() override { return title; }
};

struct FakeBuildList : BuildList {
  std::vector<std::wstring> lines;
  int resets = 0;
  void ResetContent() override {
    ++resets;
    lines.clear();
  }
  void AddString(const std::wstring& line) override { lines.push_back(line); }
};

// Answers a message box with OK and keeps what it showed.
struct SeenMessage {
  std::wstring text, caption;
  long style = 0;
  int count = 0;
};
class ExpectMessage : public wxExpectModalBase<wxMessageDialog, ExpectMessage> {
 public:
  explicit ExpectMessage(SeenMessage* seen) : seen_(seen) {}

 protected:
  int OnInvoked(wxMessageDialog* dialog) const override {
    seen_->text = dialog->GetMessage().ToStdWstring();
    seen_->caption = dialog->GetTitle().ToStdWstring();
    seen_->style = dialog->GetMessageDialogStyle();
    ++seen_->count;
    return wxID_OK;
  }

 private:
  SeenMessage* seen_;
};

// Answers the port dialog: records the port it was offered, then picks
// `pick` (0: picks nothing) and ends with `result`.
struct SeenPortDialog {
  int offeredPort = -1;
  std::wstring offeredText = L"unset";
  int count = 0;
};
class ExpectPortDialog : public wxExpectModalBase<PortDialog, ExpectPortDialog> {
 public:
  ExpectPortDialog(SeenPortDialog* seen, int pick, int result) : seen_(seen), pick_(pick), result_(result) {}

 protected:
  int OnInvoked(PortDialog* dialog) const override {
    seen_->offeredPort = dialog->m_nPort;
    seen_->offeredText = dialog->m_strPort;
    ++seen_->count;
    if (pick_ > 0) {
      dialog->m_nPort = pick_;
      dialog->m_strPort = L"COM" + std::to_wstring(pick_);
    }
    return result_;
  }

 private:
  SeenPortDialog* seen_;
  int pick_;
  int result_;
};

// A sandbox: <root>/prog is the program folder, <root>/bin leads the search
// path, <root>/docs holds the documents, <root>/rec what the tools recorded.
class ChipToolTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Writes an executable shell script `folder`/`name` that records each run
  // (its arguments one file each, its working folder) under rec/<recordAs>.<n>
  // and then runs `body`.
  void WriteTool(const std::string& folder, const std::string& name, const std::string& recordAs,
                 const std::string& body = std::string());
  // How often a tool ran, and what it saw in run `run` (1-based).
  int Runs(const std::string& recordAs) const;
  std::vector<std::string> Args(const std::string& recordAs, int run = 1) const;
  std::string Cwd(const std::string& recordAs, int run = 1) const;
  // Every file under the sandbox whose name starts with "PWNED": left by a
  // name that ran as a command.
  std::vector<std::string> Pwned() const;

  static void WriteFile(const std::string& path, const std::string& bytes);
  static std::string ReadFile(const std::string& path);

  std::string root_, prog_, bin_, docs_, rec_;
  std::string savedPath_;
  FakeDocument doc_;
  FakeBuildList list_;
};

}  // namespace chiptest
