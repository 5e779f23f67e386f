// The COM port dialog run for real: its controls, the preselection, a pick
// then OK, a pick then Esc, the close box, and ports outside the list.
#include "ChipTestSupport.h"

#include "res/ResourceIds.h"

#include <wx/app.h>
#include <wx/button.h>
#include <wx/choice.h>
#include <wx/stattext.h>
#include <wx/timer.h>

#include <functional>

namespace chiptest {
namespace {

// Runs the dialog modally and, once it shows, does `act` to it.
class PortDialogTest : public ::testing::Test {
 protected:
  void SetUp() override { AllowRealDialogs(true); }
  void TearDown() override { AllowRealDialogs(false); }

  int RunWith(PortDialog& dialog, const std::function<void(PortDialog&)>& act) {
    wxTimer timer;
    int waited = 0;
    timer.Bind(wxEVT_TIMER, [&](wxTimerEvent&) {
      if (!dialog.IsModal()) return;
      if (!acted_) {
        acted_ = true;
        selectionAtStart_ = dialog.m_comboPort->GetSelection();
        act(dialog);
      } else if (++waited > 100) {
        ADD_FAILURE() << "the dialog did not end";
        dialog.EndModal(wxID_ABORT);
      }
    });
    timer.Start(30);
    const int result = dialog.ShowModal();
    timer.Stop();
    return result;
  }

  static void Pick(PortDialog& dialog, int index) {
    dialog.m_comboPort->SetSelection(index);
    wxCommandEvent event(wxEVT_CHOICE, ids::IDC_COMBO_PORT);
    event.SetInt(index);
    event.SetEventObject(dialog.m_comboPort);
    dialog.m_comboPort->ProcessWindowEvent(event);
  }
  static void ClickOk(PortDialog& dialog) {
    wxCommandEvent event(wxEVT_BUTTON, wxID_OK);
    event.SetEventObject(dialog.OkButton());
    dialog.OkButton()->ProcessWindowEvent(event);
  }
  static void PressEscape(PortDialog& dialog) {
    wxKeyEvent event(wxEVT_CHAR_HOOK);
    event.m_keyCode = WXK_ESCAPE;
    event.SetEventObject(&dialog);
    dialog.ProcessWindowEvent(event);
  }

  bool acted_ = false;
  int selectionAtStart_ = -2;
};

TEST_F(PortDialogTest, ShowsNinePortsAHiddenCancelAndOkAsDefault) {
  PortDialog dialog;
  EXPECT_EQ(dialog.GetId(), ids::IDD_PORT);
  EXPECT_EQ(dialog.GetTitle(), "Pick COM Port");
  EXPECT_STREQ(dialog.GetClassInfo()->GetClassName(), L"PortDialog");
  ASSERT_EQ(dialog.m_comboPort, dialog.FindWindow(ids::IDC_COMBO_PORT));
  ASSERT_EQ(dialog.m_comboPort->GetCount(), 9u);
  for (unsigned i = 0; i < 9; ++i) EXPECT_EQ(dialog.m_comboPort->GetString(i), wxString::Format("COM%u", i + 1));
  bool labelFound = false;
  for (wxWindow* child : dialog.GetChildren())
    if (auto* label = dynamic_cast<wxStaticText*>(child)) labelFound = label->GetLabel() == "Select COM port from list:";
  EXPECT_TRUE(labelFound);
  auto* ok = dynamic_cast<wxButton*>(dialog.FindWindow(wxID_OK));
  auto* cancel = dynamic_cast<wxButton*>(dialog.FindWindow(wxID_CANCEL));
  ASSERT_TRUE(ok && cancel);
  EXPECT_EQ(ok->GetLabel(), "OK");
  EXPECT_EQ(cancel->GetLabel(), "Cancel");
  EXPECT_TRUE(ok->IsShown());
  EXPECT_FALSE(cancel->IsShown());
  EXPECT_EQ(dialog.GetDefaultItem(), ok);
  EXPECT_EQ(dialog.GetClientSize(), dialog.ConvertDialogToPixels(wxSize(207, 104)));
}

TEST_F(PortDialogTest, OkAtOnceKeepsTheGivenPortAndText) {
  struct Case {
    int port;
    int selection;
  };
  for (const Case& c : std::vector<Case>{{2, 1}, {1, 0}, {9, 8}, {0, wxNOT_FOUND}, {10, wxNOT_FOUND}, {-3, wxNOT_FOUND}}) {
    SCOPED_TRACE(c.port);
    acted_ = false;
    PortDialog dialog;
    dialog.m_nPort = c.port;
    const int result = RunWith(dialog, [](PortDialog& d) { ClickOk(d); });
    EXPECT_EQ(result, wxID_OK);
    EXPECT_EQ(selectionAtStart_, c.selection);
    EXPECT_EQ(dialog.m_nPort, c.port);
    EXPECT_EQ(dialog.m_strPort, L"");
  }
}

TEST_F(PortDialogTest, APickThenOkReturnsThePickedPort) {
  PortDialog dialog;
  dialog.m_nPort = 2;
  const int result = RunWith(dialog, [](PortDialog& d) {
    Pick(d, 6);
    ClickOk(d);
  });
  EXPECT_EQ(result, wxID_OK);
  EXPECT_EQ(dialog.m_nPort, 7);
  EXPECT_EQ(dialog.m_strPort, L"COM7");
}

TEST_F(PortDialogTest, EscapeAndTheCloseBoxCancelEvenAfterAPick) {
  const std::vector<std::function<void(PortDialog&)>> endings = {
      [](PortDialog& d) { PressEscape(d); },
      [](PortDialog& d) { d.Close(); },
  };
  for (const auto& end : endings) {
    acted_ = false;
    PortDialog dialog;
    dialog.m_nPort = 2;
    const int result = RunWith(dialog, [&](PortDialog& d) {
      Pick(d, 4);
      end(d);
    });
    EXPECT_EQ(result, wxID_CANCEL);
  }
}

}  // namespace
}  // namespace chiptest
