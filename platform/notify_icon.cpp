// Shell_NotifyIconW with NIF_INFO, heard by a message-only window of its
// own.
#include "platform/notify_icon.h"

#include <windows.h>
#include <shellapi.h>

#include "platform/program.h"

namespace platform {
namespace {

constexpr UINT kIconMessage = WM_APP + 1;
constexpr UINT kIconId = 1;
constexpr UINT_PTR kLongestTimer = 1;
// A balloon that the shell never says is gone is given up after this long:
// a notification of Windows 10 and 11 shows for about five seconds.
constexpr UINT kLongestMs = 15000;
const wchar_t kWindowClass[] = L"Tavrik Backup balloon";

NOTIFYICONDATAW IconData(HWND window) {
  NOTIFYICONDATAW data{};
  data.cbSize = sizeof(data);
  data.hWnd = window;
  data.uID = kIconId;
  return data;
}

}  // namespace

struct BalloonWindow {
  static LRESULT CALLBACK Procedure(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam) {
    auto* icon = reinterpret_cast<BalloonIcon*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (icon && msg == WM_TIMER) icon->OnBalloonEnd(false);
    if (icon && msg == kIconMessage) {
      switch (LOWORD(lparam)) {
        case NIN_BALLOONUSERCLICK:
          icon->OnBalloonEnd(true);
          break;
        case NIN_BALLOONTIMEOUT:
        case NIN_BALLOONHIDE:
          icon->OnBalloonEnd(false);
          break;
      }
    }
    return DefWindowProcW(hwnd, msg, wparam, lparam);
  }
};

bool BalloonIcon::Show(const std::wstring& title, const std::wstring& text, bool warning,
                       std::function<void()> on_click, std::function<void()> on_gone) {
  Remove();
  static const bool registered = [] {
    WNDCLASSW window_class{};
    window_class.lpfnWndProc = BalloonWindow::Procedure;
    window_class.hInstance = GetModuleHandleW(nullptr);
    window_class.lpszClassName = kWindowClass;
    return RegisterClassW(&window_class) != 0;
  }();
  // No notification area in sight (a system without a shell's taskbar):
  // no balloon would show, nor say when it has gone.
  HWND tray = FindWindowW(L"Shell_TrayWnd", nullptr);
  if (!registered || !tray || !IsWindowVisible(tray)) return false;
  HWND window = CreateWindowExW(0, kWindowClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                GetModuleHandleW(nullptr), nullptr);
  if (!window) return false;
  SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));

  NOTIFYICONDATAW data = IconData(window);
  data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP | NIF_INFO;
  data.uCallbackMessage = kIconMessage;
  data.hIcon = static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr),
                                             MAKEINTRESOURCEW(CurrentProgramFacts().icon_resource),
                                             IMAGE_ICON, GetSystemMetrics(SM_CXSMICON),
                                             GetSystemMetrics(SM_CYSMICON), LR_SHARED));
  lstrcpynW(data.szTip, title.c_str(), ARRAYSIZE(data.szTip));
  lstrcpynW(data.szInfoTitle, title.c_str(), ARRAYSIZE(data.szInfoTitle));
  lstrcpynW(data.szInfo, text.c_str(), ARRAYSIZE(data.szInfo));
  data.dwInfoFlags = (warning ? NIIF_WARNING : NIIF_INFO) | NIIF_RESPECT_QUIET_TIME;
  if (!Shell_NotifyIconW(NIM_ADD, &data)) {
    DestroyWindow(window);
    return false;
  }
  // The balloon's messages as Windows Vista and later send them.
  data.uVersion = NOTIFYICON_VERSION_4;
  Shell_NotifyIconW(NIM_SETVERSION, &data);
  window_ = window;
  on_click_ = std::move(on_click);
  on_gone_ = std::move(on_gone);
  SetTimer(window, kLongestTimer, kLongestMs, nullptr);
  return true;
}

void BalloonIcon::OnBalloonEnd(bool clicked) {
  std::function<void()> on_click = std::move(on_click_), on_gone = std::move(on_gone_);
  Remove();
  if (clicked && on_click) on_click();
  if (on_gone) on_gone();
}

void BalloonIcon::Remove() {
  if (!window_) return;
  HWND window = static_cast<HWND>(window_);
  window_ = nullptr;
  NOTIFYICONDATAW data = IconData(window);
  Shell_NotifyIconW(NIM_DELETE, &data);
  DestroyWindow(window);
  on_click_ = nullptr;
  on_gone_ = nullptr;
}

}  // namespace platform
