// The control wrappers: creation, the few properties the program uses, and
// the routing of child notifications to the control they concern.
#include "platform/controls.h"

#include <commctrl.h>
#include <ole2.h>
#include <olectl.h>

#include <algorithm>
#include <cassert>
#include <cmath>
#include <tuple>

namespace platform {
namespace {

const wchar_t kFormClass[] = L"TavrikForm";
const wchar_t kPanelClass[] = L"TavrikPanel";
const int kHandCursorResource = 200;
int g_loaded_forms = 0;

HINSTANCE Instance() { return GetModuleHandleW(nullptr); }

// Fonts live as long as the program: a handful of name/size/weight sets.
HFONT FontHandle(const Font& font) {
  static std::map<std::tuple<std::wstring, double, bool, bool>, HFONT> fonts;
  auto key = std::make_tuple(font.name, font.points, font.bold, font.underline);
  auto found = fonts.find(key);
  if (found != fonts.end()) return found->second;
  int height = -static_cast<int>(std::lround(font.points * ScreenDpi() / 72.0));
  HFONT handle = CreateFontW(height, 0, 0, 0, font.bold ? FW_BOLD : FW_NORMAL, FALSE,
                             font.underline, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                             CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, font.name.c_str());
  fonts[key] = handle;
  return handle;
}

HBRUSH BrushFor(COLORREF color) {
  static std::map<COLORREF, HBRUSH> brushes;
  auto found = brushes.find(color);
  if (found != brushes.end()) return found->second;
  return brushes[color] = CreateSolidBrush(color);
}

// Containers pass their children's notifications up until a form handles
// them, so that nesting (a list panel inside a frame) changes nothing.
bool IsNotification(UINT msg) {
  switch (msg) {
    case WM_COMMAND:
    case WM_NOTIFY:
    case WM_VSCROLL:
    case WM_HSCROLL:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSCROLLBAR:
      return true;
    default:
      return false;
  }
}

LRESULT CALLBACK PanelProc(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam) {
  if (IsNotification(msg)) return SendMessageW(GetParent(hwnd), msg, wparam, lparam);
  return DefWindowProcW(hwnd, msg, wparam, lparam);
}

WNDPROC g_group_box_proc = nullptr;
LRESULT CALLBACK GroupBoxProc(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam) {
  if (IsNotification(msg)) return SendMessageW(GetParent(hwnd), msg, wparam, lparam);
  // A group box answers hit tests as transparent; as a container it must
  // take the mouse so that moves over it reach the form.
  if (msg == WM_NCHITTEST) return HTCLIENT;
  // The form clips its children, so nobody else paints the frame's inside.
  if (msg == WM_ERASEBKGND) {
    RECT client;
    GetClientRect(hwnd, &client);
    FillRect(reinterpret_cast<HDC>(wparam), &client, GetSysColorBrush(COLOR_WINDOW));
    return TRUE;
  }
  return CallWindowProcW(g_group_box_proc, hwnd, msg, wparam, lparam);
}

void RegisterClasses() {
  static bool done = false;
  if (done) return;
  done = true;
  INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_STANDARD_CLASSES | ICC_PROGRESS_CLASS};
  InitCommonControlsEx(&controls);

  WNDCLASSEXW form = {sizeof(form)};
  form.lpfnWndProc = Form::WindowProc;
  form.hInstance = Instance();
  form.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  form.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  form.lpszClassName = kFormClass;
  form.hIcon = LoadIconW(Instance(), MAKEINTRESOURCEW(1));
  form.hIconSm = static_cast<HICON>(LoadImageW(Instance(), MAKEINTRESOURCEW(1), IMAGE_ICON,
                                               GetSystemMetrics(SM_CXSMICON),
                                               GetSystemMetrics(SM_CYSMICON), 0));
  RegisterClassExW(&form);

  WNDCLASSEXW panel = {sizeof(panel)};
  panel.lpfnWndProc = PanelProc;
  panel.hInstance = Instance();
  panel.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  panel.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  panel.lpszClassName = kPanelClass;
  RegisterClassExW(&panel);
}

// Draws a picture resource (BMP, GIF or JPEG) onto a bitmap of the window
// colour, so that transparent parts look right on the window.
HBITMAP LoadPicture(int resource) {
  HRSRC found = FindResourceW(Instance(), MAKEINTRESOURCEW(resource), RT_RCDATA);
  if (!found) return nullptr;
  DWORD size = SizeofResource(Instance(), found);
  const void* data = LockResource(LoadResource(Instance(), found));
  HGLOBAL copy = GlobalAlloc(GMEM_MOVEABLE, size);
  memcpy(GlobalLock(copy), data, size);
  GlobalUnlock(copy);
  IStream* stream = nullptr;
  if (FAILED(CreateStreamOnHGlobal(copy, TRUE, &stream))) {
    GlobalFree(copy);
    return nullptr;
  }
  IPicture* picture = nullptr;
  HRESULT loaded = OleLoadPicture(stream, size, FALSE, IID_IPicture,
                                  reinterpret_cast<void**>(&picture));
  stream->Release();
  if (FAILED(loaded) || !picture) return nullptr;
  OLE_XSIZE_HIMETRIC himetric_width = 0;
  OLE_YSIZE_HIMETRIC himetric_height = 0;
  picture->get_Width(&himetric_width);
  picture->get_Height(&himetric_height);
  HDC screen = GetDC(nullptr);
  // The pictures are drawn at their own pixel size.
  int width = MulDiv(himetric_width, GetDeviceCaps(screen, LOGPIXELSX), 2540);
  int height = MulDiv(himetric_height, GetDeviceCaps(screen, LOGPIXELSY), 2540);
  HDC memory = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
  HGDIOBJ old = SelectObject(memory, bitmap);
  RECT all = {0, 0, width, height};
  FillRect(memory, &all, BrushFor(WindowColor()));
  picture->Render(memory, 0, 0, width, height, 0, himetric_height, himetric_width,
                  -himetric_height, nullptr);
  SelectObject(memory, old);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  picture->Release();
  return bitmap;
}

HCURSOR HandCursor() {
  static HCURSOR hand = LoadCursorW(Instance(), MAKEINTRESOURCEW(kHandCursorResource));
  return hand ? hand : LoadCursorW(nullptr, IDC_HAND);
}

}  // namespace

COLORREF WindowColor() { return GetSysColor(COLOR_WINDOW); }
COLORREF WindowTextColor() { return GetSysColor(COLOR_WINDOWTEXT); }
COLORREF ActiveCaptionColor() { return GetSysColor(COLOR_ACTIVECAPTION); }
COLORREF DesktopColor() { return GetSysColor(COLOR_BACKGROUND); }

int ScreenDpi() {
  static int dpi = [] {
    HDC screen = GetDC(nullptr);
    int value = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    return value > 0 ? value : 96;
  }();
  return dpi;
}

int TwipsToPixels(int twips) { return MulDiv(twips, ScreenDpi(), 1440); }

void InitCommonControls() { ::InitCommonControls(); }

OleScope::OleScope() { OleInitialize(nullptr); }
OleScope::~OleScope() { OleUninitialize(); }

int DoEvents() {
  int handled = 0;
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(msg.wParam));
      return handled;
    }
    ++handled;
    HWND top = GetAncestor(msg.hwnd, GA_ROOT);
    if (top && IsDialogMessageW(top, &msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return handled;
}

// ---- Control ----

Control::~Control() {
  if (hwnd_ && IsWindow(hwnd_)) SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
}

Control* Control::FromHandle(HWND hwnd) {
  if (!hwnd) return nullptr;
  return reinterpret_cast<Control*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
}

void Control::Create(HWND parent, const wchar_t* window_class, DWORD style, DWORD ex_style,
                     const Rect& rect, const std::wstring& text, const Font& font) {
  assert(!hwnd_ && "control created twice");
  RegisterClasses();
  rect_ = rect;
  font_ = font;
  // Siblings clip each other, so that the z-order decides who is seen where
  // two overlap.
  hwnd_ = CreateWindowExW(ex_style, window_class, text.c_str(),
                          style | WS_CHILD | WS_CLIPSIBLINGS, 0, 0, 0, 0,
                          parent, nullptr, Instance(), nullptr);
  assert(hwnd_);
  SetWindowLongPtrW(hwnd_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  SendMessageW(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(FontHandle(font_)), FALSE);
  Place();
}

void Control::Place() {
  SetWindowPos(hwnd_, nullptr, TwipsToPixels(rect_.left), TwipsToPixels(rect_.top),
               TwipsToPixels(rect_.width), TwipsToPixels(rect_.height),
               SWP_NOZORDER | SWP_NOACTIVATE);
}

std::wstring Control::caption() const {
  int length = GetWindowTextLengthW(hwnd_);
  std::wstring text(length + 1, L'\0');
  text.resize(GetWindowTextW(hwnd_, &text[0], length + 1));
  return text;
}

void Control::set_caption(const std::wstring& text) { SetWindowTextW(hwnd_, text.c_str()); }

bool Control::visible() const { return (GetWindowLongW(hwnd_, GWL_STYLE) & WS_VISIBLE) != 0; }

void Control::set_visible(bool visible) { ShowWindow(hwnd_, visible ? SW_SHOWNA : SW_HIDE); }

bool Control::enabled() const { return IsWindowEnabled(hwnd_) != FALSE; }

void Control::set_enabled(bool enabled) { EnableWindow(hwnd_, enabled); }

void Control::set_top(int twips) {
  rect_.top = twips;
  Place();
}

void Control::set_height(int twips) {
  rect_.height = twips;
  Place();
}

void Control::set_font(const Font& font) {
  font_ = font;
  SendMessageW(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(FontHandle(font_)), TRUE);
}

void Control::set_bold(bool bold) {
  Font font = font_;
  font.bold = bold;
  set_font(font);
}

void Control::set_fore_color(COLORREF color) {
  fore_ = color;
  InvalidateRect(hwnd_, nullptr, TRUE);
}

void Control::set_back_color(COLORREF color) {
  back_ = color;
  InvalidateRect(hwnd_, nullptr, TRUE);
}

void Control::focus() { SetFocus(hwnd_); }

bool Control::focused() const { return GetFocus() == hwnd_; }

// ---- Control kinds ----

void Label::Create(const Layout& layout, const std::wstring& text, Align align, bool clickable) {
  DWORD style = WS_VISIBLE | SS_NOPREFIX | (align == Align::kRight ? SS_RIGHT : SS_LEFT);
  if (clickable) style |= SS_NOTIFY;
  Control::Create(layout.parent->handle(), L"STATIC", style, 0, layout.rect, text, layout.font);
  // A label lies beneath the controls it touches (the target box overlaps
  // its caption by a pixel), never over their borders.
  SetWindowPos(hwnd_, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void Label::Command(int code) {
  if (code == STN_CLICKED && on_click) on_click();
}

void Button::Create(const Layout& layout, const std::wstring& text) {
  Control::Create(layout.parent->handle(), L"BUTTON", WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, 0,
                  layout.rect, text, layout.font);
}

void Button::Command(int code) {
  if (code == BN_CLICKED && on_click) on_click();
}

void CheckBox::Create(const Layout& layout, const std::wstring& text) {
  Control::Create(layout.parent->handle(), L"BUTTON", WS_VISIBLE | WS_TABSTOP | BS_3STATE, 0,
                  layout.rect, text, layout.font);
}

int CheckBox::value() const {
  switch (SendMessageW(hwnd_, BM_GETCHECK, 0, 0)) {
    case BST_CHECKED:
      return 1;
    case BST_INDETERMINATE:
      return 2;
    default:
      return 0;
  }
}

void CheckBox::set_value(int value) {
  assert(value >= 0 && value <= 2);
  if (value < 0 || value > 2 || value == this->value()) return;
  static const WPARAM kStates[] = {BST_UNCHECKED, BST_CHECKED, BST_INDETERMINATE};
  SendMessageW(hwnd_, BM_SETCHECK, kStates[value], 0);
  if (on_click) on_click();
}

void CheckBox::Command(int code) {
  if (code == BN_CLICKED) set_value(value() == 1 ? 0 : 1);
}

void TextBox::Create(const Layout& layout, const std::wstring& text) {
  Control::Create(layout.parent->handle(), L"EDIT", WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL,
                  WS_EX_CLIENTEDGE, layout.rect, text, layout.font);
}

void Frame::Create(const Layout& layout, const std::wstring& text) {
  Control::Create(layout.parent->handle(), L"BUTTON", WS_VISIBLE | BS_GROUPBOX | WS_CLIPCHILDREN,
                  WS_EX_CONTROLPARENT, layout.rect, text, layout.font);
  WNDPROC previous = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrW(hwnd_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(GroupBoxProc)));
  g_group_box_proc = previous;
}

void PictureBox::Create(const Layout& layout) {
  Control::Create(layout.parent->handle(), kPanelClass,
                  WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS, WS_EX_CONTROLPARENT, layout.rect,
                  L"", layout.font);
}

void Image::Create(const Layout& layout, int picture_resource) {
  Control::Create(layout.parent->handle(), L"STATIC", WS_VISIBLE | SS_BITMAP, 0, layout.rect, L"",
                  layout.font);
  static std::map<int, HBITMAP> pictures;
  HBITMAP& bitmap = pictures[picture_resource];
  if (!bitmap) bitmap = LoadPicture(picture_resource);
  SendMessageW(hwnd_, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(bitmap));
  Place();  // setting a bitmap resizes the static; keep the laid-out box
}

void Line::Create(const Control& parent, int x1, int y1, int x2, int y2) {
  Rect rect{std::min(x1, x2), std::min(y1, y2), std::abs(x2 - x1), std::abs(y2 - y1)};
  Control::Create(parent.handle(), L"STATIC", WS_VISIBLE, 0, rect, L"", Font{});
  back_ = WindowTextColor();
  // One pixel across, whatever the DPI.
  int one = MulDiv(1, 1440, ScreenDpi());
  if (rect.width == 0) rect_.width = one;
  if (rect.height == 0) rect_.height = one;
  Place();
}

void ProgressBar::Create(const Layout& layout) {
  Control::Create(layout.parent->handle(), PROGRESS_CLASSW, WS_VISIBLE, 0, layout.rect, L"",
                  layout.font);
  SendMessageW(hwnd_, PBM_SETRANGE32, 0, kSteps);
  Show();
}

void ProgressBar::set_maximum(double maximum) {
  maximum_ = maximum;
  Show();
}

void ProgressBar::set_value(double value) {
  value_ = value;
  Show();
}

// The bar keeps a fixed number of steps and shows value/maximum of them, so
// that a maximum of several gigabytes draws as well as one of 100.
int ProgressBar::position() const {
  if (maximum_ <= 0) return 0;
  double share = std::clamp(value_ / maximum_, 0.0, 1.0);
  return static_cast<int>(std::lround(share * kSteps));
}

// A copy sets the value once per file and per chunk, and the control
// repaints itself at once for each new position it is given: on a row of
// many small files that was a repaint every few files, each costing more
// than copying them. Only a change of at least one pixel of the bar's width
// is given to the control.
void ProgressBar::Show() {
  const int position = this->position();
  if (position == shown_) return;
  if (shown_ >= 0 && DrawnPixels(position) == DrawnPixels(shown_)) return;
  shown_ = position;
  MeasuredScope measure(drawing_);
  SendMessageW(hwnd_, PBM_SETPOS, shown_, 0);
}

// How much of the bar a position fills, in pixels; the full and the empty
// bar are their own values, so both are always drawn.
int ProgressBar::DrawnPixels(int position) const {
  const int width = std::max(TwipsToPixels(rect_.width), 1);
  if (position >= kSteps) return width + 1;
  return static_cast<int>(static_cast<long long>(position) * width / kSteps);
}

void ScrollBar::Create(const Layout& layout, int min, int max, int value) {
  Control::Create(layout.parent->handle(), L"SCROLLBAR", WS_VISIBLE | WS_TABSTOP | SBS_VERT, 0,
                  layout.rect, L"", layout.font);
  min_ = min;
  max_ = max;
  value_ = value;
  Apply();
}

void ScrollBar::set_max(int max) {
  max_ = max;
  value_ = std::clamp(value_, min_, std::max(min_, max_));
  Apply();
}

void ScrollBar::set_value(int value) {
  value = std::clamp(value, min_, std::max(min_, max_));
  if (value == value_) return;
  value_ = value;
  Apply();
  if (on_change) on_change();
}

// The range runs from min to max, both reachable, as a page of one.
void ScrollBar::Apply() {
  SCROLLINFO info = {sizeof(info), SIF_RANGE | SIF_POS | SIF_PAGE};
  info.nMin = min_;
  info.nMax = max_;
  info.nPage = 1;
  info.nPos = value_;
  // Setting the range of a scroll bar control enables it again; a disabled
  // bar stays disabled until the program enables it.
  bool was_enabled = IsWindowEnabled(hwnd_) != FALSE;
  SetScrollInfo(hwnd_, SB_CTL, &info, TRUE);
  if (!was_enabled) EnableWindow(hwnd_, FALSE);
}

void ScrollBar::Scroll(int code) {
  switch (code) {
    case SB_LINEUP:
      set_value(value_ - small_change);
      break;
    case SB_LINEDOWN:
      set_value(value_ + small_change);
      break;
    case SB_PAGEUP:
      set_value(value_ - large_change);
      break;
    case SB_PAGEDOWN:
      set_value(value_ + large_change);
      break;
    case SB_TOP:
      set_value(min_);
      break;
    case SB_BOTTOM:
      set_value(max_);
      break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: {
      SCROLLINFO info = {sizeof(info), SIF_TRACKPOS};
      GetScrollInfo(hwnd_, SB_CTL, &info);
      set_value(info.nTrackPos);
      break;
    }
    default:
      break;
  }
}

namespace {
// The scroll bar's own procedure is kept on its window, so that every main
// window made (the tests make many) chains to the right one.
const wchar_t kPreviousProc[] = L"TavrikPreviousProc";

LRESULT CALLBACK ScrollWheelProc(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam) {
  auto previous = reinterpret_cast<WNDPROC>(GetPropW(hwnd, kPreviousProc));
  LRESULT result = CallWindowProcW(previous, hwnd, msg, wparam, lparam);
  if (msg == WM_NCDESTROY) RemovePropW(hwnd, kPreviousProc);
  // One notch is one line step, whatever the wheel's delta; only a scroll
  // bar that can take the focus and has it moves.
  if (msg == WM_MOUSEWHEEL && IsWindowEnabled(hwnd) && GetFocus() == hwnd) {
    WPARAM step = static_cast<int32_t>(wparam) < 0 ? SB_LINEDOWN : SB_LINEUP;
    SendMessageW(GetParent(hwnd), WM_VSCROLL, step, reinterpret_cast<LPARAM>(hwnd));
  }
  return result;
}
}  // namespace

void HookScrollWheel(ScrollBar& scroll_bar) {
  HWND hwnd = scroll_bar.handle();
  assert(!GetPropW(hwnd, kPreviousProc) && "the wheel hook is installed once");
  LONG_PTR previous =
      SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(ScrollWheelProc));
  SetPropW(hwnd, kPreviousProc, reinterpret_cast<HANDLE>(previous));
}

// ---- Menus and timers ----

std::wstring MenuItem::caption() const {
  wchar_t text[256] = {};
  GetMenuStringW(menu_, id_, text, 256, by_position_ ? MF_BYPOSITION : MF_BYCOMMAND);
  return text;
}

void MenuItem::set_caption(const std::wstring& text) {
  MENUITEMINFOW info = {sizeof(info), MIIM_STRING};
  info.dwTypeData = const_cast<wchar_t*>(text.c_str());
  SetMenuItemInfoW(menu_, id_, by_position_, &info);
  if (owner_) DrawMenuBar(owner_);
}

void Timer::Create(Form& owner, int interval_ms, bool enabled) {
  owner_ = owner.handle();
  id_ = owner.AddTimer(this);
  interval_ = interval_ms;
  enabled_ = enabled;
  Apply();
}

Timer::~Timer() {
  if (owner_ && IsWindow(owner_)) KillTimer(owner_, id_);
}

void Timer::set_interval(int ms) {
  interval_ = ms;
  Apply();
}

void Timer::set_enabled(bool enabled) {
  enabled_ = enabled;
  Apply();
}

void Timer::Apply() {
  if (!owner_) return;
  if (enabled_ && interval_ > 0)
    SetTimer(owner_, id_, interval_, nullptr);
  else
    KillTimer(owner_, id_);
}

// ---- Form ----

Form::~Form() {
  if (hwnd_ && IsWindow(hwnd_)) DestroyWindow(hwnd_);
}

void Form::CreateForm(const Style& style, const Form* owner) {
  RegisterClasses();
  owner_ = owner ? owner->handle() : nullptr;
  font_ = style.font;
  DWORD window_style = WS_CLIPCHILDREN;
  DWORD ex_style = WS_EX_CONTROLPARENT;
  if (style.border == Border::kFixedSingle)
    window_style |= WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_BORDER;
  else
    window_style |= WS_POPUP;
  hwnd_ = CreateWindowExW(ex_style, kFormClass, style.caption.c_str(), window_style,
                          CW_USEDEFAULT, CW_USEDEFAULT, 100, 100, owner_, nullptr, Instance(), this);
  assert(hwnd_);
  ++g_loaded_forms;
  rect_.width = style.client_width;
  rect_.height = style.client_height;
  RECT frame = {0, 0, TwipsToPixels(style.client_width), TwipsToPixels(style.client_height)};
  AdjustWindowRectEx(&frame, window_style, FALSE, ex_style);
  SetWindowPos(hwnd_, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  SendMessageW(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(FontHandle(font_)), FALSE);
}

void Form::AddMenu(MenuItem& menu, const std::wstring& caption,
                   std::vector<std::pair<MenuItem*, std::wstring>> items) {
  if (!menu_bar_) menu_bar_ = CreateMenu();
  HMENU popup = CreatePopupMenu();
  for (auto& [item, text] : items) {
    item->menu_ = popup;
    item->id_ = 1000 + static_cast<UINT>(menu_items_.size());
    item->owner_ = hwnd_;
    menu_items_[item->id_] = item;
    AppendMenuW(popup, MF_STRING, item->id_, text.c_str());
  }
  AppendMenuW(menu_bar_, MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(popup), caption.c_str());
  menu.menu_ = menu_bar_;
  menu.id_ = GetMenuItemCount(menu_bar_) - 1;
  menu.by_position_ = TRUE;
  menu.owner_ = hwnd_;
  // Adding the bar makes the window taller; the client area keeps its size.
  RECT client;
  GetClientRect(hwnd_, &client);
  SetMenu(hwnd_, menu_bar_);
  RECT frame = {0, 0, TwipsToPixels(rect_.width), TwipsToPixels(rect_.height)};
  AdjustWindowRectEx(&frame, GetWindowLongW(hwnd_, GWL_STYLE), TRUE,
                     GetWindowLongW(hwnd_, GWL_EXSTYLE));
  SetWindowPos(hwnd_, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

int Form::client_width_px() const {
  RECT client;
  GetClientRect(hwnd_, &client);
  return client.right;
}

int Form::client_height_px() const {
  RECT client;
  GetClientRect(hwnd_, &client);
  return client.bottom;
}

void Form::Unload() {
  if (!hwnd_) return;
  if (on_unload) on_unload();
  HWND hwnd = hwnd_;
  if (owner_ && IsWindow(owner_)) EnableWindow(owner_, TRUE);
  DestroyWindow(hwnd);
}

void Form::CenterOnScreen() {
  RECT window;
  GetWindowRect(hwnd_, &window);
  int width = window.right - window.left, height = window.bottom - window.top;
  SetWindowPos(hwnd_, nullptr, (GetSystemMetrics(SM_CXSCREEN) - width) / 2,
               (GetSystemMetrics(SM_CYSCREEN) - height) / 2, 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void Form::CenterOnOwner() {
  if (!owner_) return CenterOnScreen();
  RECT owner, window;
  GetWindowRect(owner_, &owner);
  GetWindowRect(hwnd_, &window);
  int width = window.right - window.left, height = window.bottom - window.top;
  int left = owner.left + (owner.right - owner.left - width) / 2;
  int top = owner.top + (owner.bottom - owner.top - height) / 2;
  SetWindowPos(hwnd_, nullptr, std::max(0, left), std::max(0, top), 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void Form::Show() {
  ShowWindow(hwnd_, SW_SHOW);
  UpdateWindow(hwnd_);
}

void Form::ShowModal(Form& owner) {
  HWND self = hwnd_;
  EnableWindow(owner.handle(), FALSE);
  Show();
  MSG msg;
  while (IsWindow(self) && GetMessageW(&msg, nullptr, 0, 0) > 0) {
    if (IsDialogMessageW(self, &msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  if (msg.message == WM_QUIT) PostQuitMessage(static_cast<int>(msg.wParam));
  EnableWindow(owner.handle(), TRUE);
  SetForegroundWindow(owner.handle());
}

void Form::SetTopmost() {
  SetWindowPos(hwnd_, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE);
}

UINT_PTR Form::AddTimer(Timer* timer) {
  UINT_PTR id = 1 + timers_.size();
  timers_[id] = timer;
  return id;
}

LRESULT CALLBACK Form::WindowProc(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam) {
  if (msg == WM_NCCREATE) {
    auto* form = static_cast<Form*>(reinterpret_cast<CREATESTRUCTW*>(lparam)->lpCreateParams);
    form->hwnd_ = hwnd;
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(form));
  }
  auto* form = static_cast<Form*>(Control::FromHandle(hwnd));
  if (form) return form->HandleMessage(msg, wparam, lparam);
  return DefWindowProcW(hwnd, msg, wparam, lparam);
}

LRESULT Form::HandleMessage(UINT msg, WPARAM wparam, LPARAM lparam) {
  switch (msg) {
    case WM_COMMAND:
      if (lparam == 0) {
        auto item = menu_items_.find(LOWORD(wparam));
        if (item != menu_items_.end() && item->second->on_click) item->second->on_click();
      } else if (Control* control = FromHandle(reinterpret_cast<HWND>(lparam))) {
        control->Command(HIWORD(wparam));
      }
      return 0;
    case WM_VSCROLL:
      if (Control* control = FromHandle(reinterpret_cast<HWND>(lparam))) control->Scroll(LOWORD(wparam));
      return 0;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLOREDIT: {
      Control* control = FromHandle(reinterpret_cast<HWND>(lparam));
      HDC dc = reinterpret_cast<HDC>(wparam);
      COLORREF fore = control && control->fore_color() != CLR_INVALID ? control->fore_color() : WindowTextColor();
      COLORREF back = control && control->back_color() != CLR_INVALID ? control->back_color() : WindowColor();
      SetTextColor(dc, fore);
      SetBkColor(dc, back);
      return reinterpret_cast<LRESULT>(BrushFor(back));
    }
    case WM_SETCURSOR: {
      Control* control = FromHandle(reinterpret_cast<HWND>(wparam));
      if (control && HIWORD(lparam) == WM_MOUSEMOVE && control->on_mouse_move) control->on_mouse_move();
      if (control && control->hand_cursor && LOWORD(lparam) == HTCLIENT) {
        SetCursor(HandCursor());
        return TRUE;
      }
      return FALSE;
    }
    case WM_TIMER: {
      auto timer = timers_.find(wparam);
      if (timer != timers_.end() && timer->second->on_tick) timer->second->on_tick();
      return 0;
    }
    case WM_ACTIVATE:
      if (LOWORD(wparam) != WA_INACTIVE && on_activate) on_activate();
      break;
    case WM_CLOSE:
      Unload();
      return 0;
    case WM_NCDESTROY: {
      LRESULT result = DefWindowProcW(hwnd_, msg, wparam, lparam);
      SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
      hwnd_ = nullptr;
      // The message loop ends once no form is left. A close sent from
      // another program is handled inside GetMessage, which would then go
      // on waiting: an empty message wakes it to notice. (A quit message
      // would also stop every later yield.)
      if (--g_loaded_forms == 0) PostThreadMessageW(GetCurrentThreadId(), WM_NULL, 0, 0);
      return result;
    }
    default:
      break;
  }
  return DefWindowProcW(hwnd_, msg, wparam, lparam);
}

void RunMessageLoop() {
  MSG msg;
  while (LoadedForms() > 0 && GetMessageW(&msg, nullptr, 0, 0) > 0) {
    HWND top = GetAncestor(msg.hwnd, GA_ROOT);
    if (top && IsDialogMessageW(top, &msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

int LoadedForms() { return g_loaded_forms; }

namespace {
BOOL CALLBACK AddForm(HWND hwnd, LPARAM forms) {
  wchar_t name[64] = {};
  GetClassNameW(hwnd, name, 64);
  if (wcscmp(name, kFormClass) == 0) reinterpret_cast<std::vector<HWND>*>(forms)->push_back(hwnd);
  return TRUE;
}
}  // namespace

void UnloadAllForms() {
  std::vector<HWND> forms;
  EnumThreadWindows(GetCurrentThreadId(), AddForm, reinterpret_cast<LPARAM>(&forms));
  // Unloading one form may unload others (its on_unload), so each is looked
  // up again before it goes.
  for (HWND hwnd : forms) {
    if (auto* form = static_cast<Form*>(Control::FromHandle(hwnd))) form->Unload();
  }
}

void EndProgram() { ExitProcess(0); }

}  // namespace platform
