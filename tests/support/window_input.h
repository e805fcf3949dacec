// Input for real windows as the system delivers it; dialogs answered.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/controls.h"
#include "platform/shell.h"

namespace testing_support {

// Negative notches turn the wheel towards the user.
void TurnWheel(const platform::Control& control, int notches);

void Click(const platform::Control& control);

// Lets the program's windows answer their messages until condition holds,
// for at most limit_ms; whether it came to hold. The one place tests wait.
bool PumpUntil(const std::function<bool()>& condition, int limit_ms = 30000);

// Lets the messages already waiting run once; how many ran.
int RunPendingMessages();

// Takes away the quit message the last window's end leaves behind, so that
// the next test's windows repaint and yield as in a fresh program.
void ForgetQuit();

// Keeps the boxes and gives the picker's answer while it lives.
class FakeDialogs : public platform::Dialogs {
 public:
  FakeDialogs() { platform::SetDialogs(this); }
  ~FakeDialogs() override { platform::SetDialogs(nullptr); }
  void MessageBoxOk(const platform::Control& owner, const std::wstring& text) override {
    boxes.push_back(text);
    owners.push_back(owner.handle());
  }
  std::optional<std::wstring> BrowseForFolder(const platform::Control&,
                                              const std::wstring&) override { return answer; }
  std::vector<std::wstring> boxes;
  std::vector<HWND> owners;
  std::optional<std::wstring> answer;
};

}  // namespace testing_support
