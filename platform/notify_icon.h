// A notification-area icon that shows one balloon (on Windows 10 and 11 a
// notification) and goes once the balloon has gone, was clicked or its
// time is up.
#pragma once

#include <functional>
#include <string>

namespace platform {

class BalloonIcon {
 public:
  BalloonIcon() = default;
  ~BalloonIcon() { Remove(); }
  BalloonIcon(const BalloonIcon&) = delete;
  BalloonIcon& operator=(const BalloonIcon&) = delete;

  // Adds the icon (the program's) with tip as its tip and shows the balloon
  // with the warning icon or the information one; the balloon keeps quiet
  // while the user does not want to be disturbed. False when the system has
  // no notification area. on_click runs when the user clicks the balloon,
  // then on_gone once the icon is removed, whichever way the balloon ends.
  bool Show(const std::wstring& title, const std::wstring& text, bool warning,
            std::function<void()> on_click, std::function<void()> on_gone);
  void Remove();

 private:
  friend struct BalloonWindow;
  void OnBalloonEnd(bool clicked);
  void* window_ = nullptr;  // the message-only window that hears the icon
  std::function<void()> on_click_, on_gone_;
};

}  // namespace platform
