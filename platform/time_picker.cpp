// The time picker.
#include "platform/time_picker.h"

#include <commctrl.h>

namespace platform {
namespace {

SYSTEMTIME TimeOf(HWND picker) {
  SYSTEMTIME time = {};
  if (SendMessageW(picker, DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&time)) != GDT_VALID)
    time = {};
  return time;
}

}  // namespace

void TimePicker::Create(const Layout& layout) {
  INITCOMMONCONTROLSEX classes = {sizeof(classes), ICC_DATE_CLASSES};
  InitCommonControlsEx(&classes);
  Control::Create(layout.parent->handle(), DATETIMEPICK_CLASSW,
                  WS_VISIBLE | WS_TABSTOP | DTS_TIMEFORMAT | DTS_UPDOWN, 0, layout.rect, L"",
                  layout.font);
  wchar_t format[80] = {};
  if (GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, LOCALE_SSHORTTIME, format, 80) > 0)
    SendMessageW(window(), DTM_SETFORMATW, 0, reinterpret_cast<LPARAM>(format));
}

int TimePicker::hour() const { return TimeOf(window()).wHour; }
int TimePicker::minute() const { return TimeOf(window()).wMinute; }

void TimePicker::SetTime(int hour, int minute) {
  SYSTEMTIME time = {};
  GetLocalTime(&time);
  time.wHour = static_cast<WORD>(hour);
  time.wMinute = static_cast<WORD>(minute);
  time.wSecond = time.wMilliseconds = 0;
  SendMessageW(window(), DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&time));
}

}  // namespace platform
