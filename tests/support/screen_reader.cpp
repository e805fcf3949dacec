#include "support/screen_reader.h"

#include <oleacc.h>
#include <uxtheme.h>

#include "platform/appearance.h"

namespace testing_support {
namespace {

EventRecorder* g_recorder = nullptr;

void CALLBACK OnEvent(HWINEVENTHOOK, DWORD, HWND hwnd, LONG, LONG, DWORD, DWORD) {
  if (g_recorder) g_recorder->windows.push_back(hwnd);
}

std::wstring Take(BSTR text) {
  std::wstring taken = text ? text : L"";
  SysFreeString(text);
  return taken;
}

const int kElements[] = {COLOR_WINDOW,   COLOR_WINDOWTEXT, COLOR_HIGHLIGHT, COLOR_HIGHLIGHTTEXT,
                         COLOR_HOTLIGHT, COLOR_BTNFACE,    COLOR_BTNTEXT,   COLOR_GRAYTEXT};
const COLORREF kDark[] = {RGB(0, 0, 0),     RGB(255, 255, 255), RGB(26, 235, 255), RGB(0, 0, 0),
                          RGB(255, 255, 0), RGB(0, 0, 0),       RGB(255, 255, 255), RGB(63, 242, 63)};

void SetScheme(const COLORREF* colors, bool high_contrast) {
  SetSysColors(ARRAYSIZE(kElements), kElements, colors);
  HIGHCONTRASTW setting = {sizeof(setting), high_contrast ? HCF_HIGHCONTRASTON : 0u};
  SystemParametersInfoW(SPI_SETHIGHCONTRAST, sizeof(setting), &setting, SPIF_SENDCHANGE);
  platform::OverrideHighContrast(std::nullopt);
  platform::RefreshHighContrast();
  if (platform::HighContrastOn() != high_contrast && high_contrast) platform::OverrideHighContrast(true);
  EnumThreadWindows(GetCurrentThreadId(), [](HWND window, LPARAM styled) {
    EnumChildWindows(window, [](HWND child, LPARAM styled) {
      SetWindowTheme(child, styled ? nullptr : L" ", styled ? nullptr : L" ");
      return TRUE;
    }, styled);
    return TRUE;
  }, !high_contrast);
}

}  // namespace

Heard Hear(HWND control) {
  Heard heard;
  IAccessible* object = nullptr;
  if (FAILED(AccessibleObjectFromWindow(control, OBJID_CLIENT, IID_IAccessible,
                                        reinterpret_cast<void**>(&object))) || !object)
    return heard;
  VARIANT self, value;
  self.vt = VT_I4;
  self.lVal = CHILDID_SELF;
  BSTR text = nullptr;
  if (object->get_accName(self, &text) == S_OK) heard.name = Take(text);
  if (object->get_accDescription(self, &text) == S_OK) heard.description = Take(text);
  if (object->get_accDefaultAction(self, &text) == S_OK) heard.default_action = Take(text);
  if (SUCCEEDED(object->get_accRole(self, &value)) && value.vt == VT_I4) heard.role = value.lVal;
  if (SUCCEEDED(object->get_accState(self, &value)) && value.vt == VT_I4) heard.state = value.lVal;
  object->Release();
  return heard;
}

EventRecorder::EventRecorder(DWORD event) {
  g_recorder = this;
  hook_ = SetWinEventHook(event, event, nullptr, OnEvent, GetCurrentProcessId(), 0, WINEVENT_OUTOFCONTEXT);
}

EventRecorder::~EventRecorder() {
  UnhookWinEvent(hook_);
  g_recorder = nullptr;
}

HighContrastScheme::HighContrastScheme() {
  for (int element : kElements) earlier_.push_back(GetSysColor(element));
  SetScheme(kDark, true);
}

HighContrastScheme::~HighContrastScheme() { SetScheme(earlier_.data(), false); }

HandedColors ColorsHandedTo(HWND control) {
  wchar_t kind[32] = {};
  GetClassNameW(control, kind, 32);
  HDC dc = CreateCompatibleDC(nullptr);
  auto brush = reinterpret_cast<HBRUSH>(
      SendMessageW(GetParent(control), _wcsicmp(kind, L"Edit") ? WM_CTLCOLORSTATIC : WM_CTLCOLOREDIT,
                   reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(control)));
  LOGBRUSH back{};
  GetObjectW(brush, sizeof(back), &back);
  HandedColors handed{GetTextColor(dc), back.lbColor};
  DeleteDC(dc);
  return handed;
}

}  // namespace testing_support
