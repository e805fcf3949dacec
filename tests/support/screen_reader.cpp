#include "support/screen_reader.h"

#include <oleacc.h>
#include <uxtheme.h>

#include "platform/appearance.h"
#include "support/temp_folder.h"

namespace testing_support {
namespace {

EventRecorder* g_recorder = nullptr;

void CALLBACK OnEvent(HWINEVENTHOOK, DWORD, HWND hwnd, LONG, LONG, DWORD, DWORD) {
  if (g_recorder) g_recorder->windows.push_back(hwnd);
}

// Windows draws the controls of a high-contrast scheme in its colours, with
// no visual style of their own; Wine keeps its style, which the test then
// takes from the program's controls, and gives back after.
void DrawControlsWithoutStyle(bool without) {
  EnumThreadWindows(GetCurrentThreadId(), [](HWND window, LPARAM without) {
    EnumChildWindows(window, [](HWND child, LPARAM without) {
      SetWindowTheme(child, without ? L" " : nullptr, without ? L" " : nullptr);
      return TRUE;
    }, without);
    return TRUE;
  }, without);
}

std::wstring Take(BSTR text) {
  std::wstring taken = text ? text : L"";
  SysFreeString(text);
  return taken;
}

}  // namespace

Heard Hear(HWND control) {
  Heard heard;
  IAccessible* object = nullptr;
  if (FAILED(AccessibleObjectFromWindow(control, OBJID_CLIENT, IID_IAccessible,
                                        reinterpret_cast<void**>(&object))) || !object)
    return heard;
  VARIANT self;
  self.vt = VT_I4;
  self.lVal = CHILDID_SELF;
  BSTR text = nullptr;
  if (object->get_accName(self, &text) == S_OK) heard.name = Take(text);
  if (object->get_accDescription(self, &text) == S_OK) heard.description = Take(text);
  if (object->get_accDefaultAction(self, &text) == S_OK) heard.default_action = Take(text);
  VARIANT value;
  if (SUCCEEDED(object->get_accRole(self, &value)) && value.vt == VT_I4) heard.role = value.lVal;
  if (SUCCEEDED(object->get_accState(self, &value)) && value.vt == VT_I4) heard.state = value.lVal;
  object->Release();
  return heard;
}

bool DoDefaultAction(HWND control) {
  IAccessible* object = nullptr;
  if (FAILED(AccessibleObjectFromWindow(control, OBJID_CLIENT, IID_IAccessible,
                                        reinterpret_cast<void**>(&object))) || !object)
    return false;
  VARIANT self;
  self.vt = VT_I4;
  self.lVal = CHILDID_SELF;
  const bool done = SUCCEEDED(object->accDoDefaultAction(self));
  object->Release();
  return done;
}

EventRecorder::EventRecorder(DWORD event) {
  g_recorder = this;
  hook_ = SetWinEventHook(event, event, nullptr, OnEvent, GetCurrentProcessId(), 0,
                          WINEVENT_OUTOFCONTEXT);
}

EventRecorder::~EventRecorder() {
  UnhookWinEvent(hook_);
  g_recorder = nullptr;
}

const int HighContrastScheme::kElements[] = {COLOR_WINDOW,    COLOR_WINDOWTEXT,   COLOR_HIGHLIGHT,
                                             COLOR_HIGHLIGHTTEXT, COLOR_HOTLIGHT, COLOR_BTNFACE,
                                             COLOR_BTNTEXT,   COLOR_GRAYTEXT};
const COLORREF HighContrastScheme::kColors[] = {RGB(0, 0, 0),       RGB(255, 255, 255), RGB(26, 235, 255),
                                                RGB(0, 0, 0),       RGB(255, 255, 0),   RGB(0, 0, 0),
                                                RGB(255, 255, 255), RGB(63, 242, 63)};

HighContrastScheme::HighContrastScheme() {
  for (int element : kElements) earlier_.push_back(GetSysColor(element));
  SetSysColors(ARRAYSIZE(kElements), kElements, kColors);
  HIGHCONTRASTW on = {sizeof(on), HCF_HIGHCONTRASTON};
  SystemParametersInfoW(SPI_SETHIGHCONTRAST, sizeof(on), &on, SPIF_SENDCHANGE);
  HIGHCONTRASTW now = {sizeof(now)};
  SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof(now), &now, 0);
  if (!(now.dwFlags & HCF_HIGHCONTRASTON)) platform::OverrideHighContrast(true);
  platform::RefreshHighContrast();
  DrawControlsWithoutStyle(true);
}

HighContrastScheme::~HighContrastScheme() {
  HIGHCONTRASTW off = {sizeof(off), 0};
  SystemParametersInfoW(SPI_SETHIGHCONTRAST, sizeof(off), &off, SPIF_SENDCHANGE);
  platform::OverrideHighContrast(std::nullopt);
  SetSysColors(ARRAYSIZE(kElements), kElements, earlier_.data());
  DrawControlsWithoutStyle(false);
}

HandedColors ColorsHandedTo(HWND control) {
  wchar_t kind[32] = {};
  GetClassNameW(control, kind, 32);
  const UINT asking = _wcsicmp(kind, L"Edit") == 0 ? WM_CTLCOLOREDIT : WM_CTLCOLORSTATIC;
  HDC dc = CreateCompatibleDC(nullptr);
  auto brush = reinterpret_cast<HBRUSH>(SendMessageW(GetParent(control), asking,
                                                     reinterpret_cast<WPARAM>(dc),
                                                     reinterpret_cast<LPARAM>(control)));
  LOGBRUSH back{};
  GetObjectW(brush, sizeof(back), &back);
  HandedColors handed{GetTextColor(dc), back.lbColor};
  DeleteDC(dc);
  return handed;
}

void SaveScreenshot(HWND window, const std::wstring& name) {
  const wchar_t* folder = _wgetenv(L"TAVRIK_SCREENSHOTS");
  if (!folder || !*folder) return;
  RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  RECT box;
  GetWindowRect(window, &box);
  const int width = box.right - box.left, height = box.bottom - box.top;
  BITMAPINFOHEADER info = {sizeof(info), width, height, 1, 24, BI_RGB};
  const int stride = (width * 3 + 3) & ~3;
  std::string pixels(static_cast<size_t>(stride) * height, '\0');
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
  HGDIOBJ old = SelectObject(memory, bitmap);
  BitBlt(memory, 0, 0, width, height, screen, box.left, box.top, SRCCOPY);
  SelectObject(memory, old);
  GetDIBits(memory, bitmap, 0, height, &pixels[0], reinterpret_cast<BITMAPINFO*>(&info),
            DIB_RGB_COLORS);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  BITMAPFILEHEADER file = {0x4D42, static_cast<DWORD>(sizeof(file) + sizeof(info) + pixels.size()), 0, 0,
                           sizeof(file) + sizeof(info)};
  WriteFile(std::wstring(folder) + L"\\" + name + L".bmp",
            std::string(reinterpret_cast<const char*>(&file), sizeof(file)) +
                std::string(reinterpret_cast<const char*>(&info), sizeof(info)) + pixels);
}

}  // namespace testing_support
