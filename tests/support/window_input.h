// Input the tests hand to real windows as the system would deliver it, and
// the dialogs answered as the user would.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/controls.h"
#include "platform/shell.h"

namespace testing_support {

// Turns the mouse wheel over control by `notches` notches; negative notches
// turn it towards the user. Goes to the control's own window procedure.
void TurnWheel(const platform::Control& control, int notches);

// A click on a button or check box, as the mouse gives it.
void Click(const platform::Control& control);

// Takes away the quit message the last window's end leaves behind, so that
// the next test's windows repaint and yield as in a fresh program.
void ForgetQuit();

// Keeps the boxes instead of showing them and gives the folder picker's
// answer; in place of the real dialogs while it lives.
class FakeDialogs : public platform::Dialogs {
 public:
  FakeDialogs() { platform::SetDialogs(this); }
  ~FakeDialogs() override { platform::SetDialogs(nullptr); }
  void MessageBoxOk(const std::wstring& text) override { boxes.push_back(text); }
  std::optional<std::wstring> BrowseForFolder(const platform::Control&,
                                              const std::wstring&) override { return answer; }
  std::vector<std::wstring> boxes;
  std::optional<std::wstring> answer;
};

}  // namespace testing_support
