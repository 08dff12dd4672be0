// The test driver over real window messages: keys are posted to the focused
// window and go through the same loop step as a person's keys (key preview,
// then TranslateMessage, which makes their characters), with the keyboard
// state set for the modifiers; mouse messages are posted to the control, or
// to the window holding the mouse grab, as the window system would.
#include "platform/testing.h"

#include "platform/win32/win32_impl.h"

namespace talvor::platform::testing {
namespace {

HWND WindowOf(const TControl* control) {
  return control->NativeImpl()->hwnd;
}

bool IsExtendedKey(Word key) {
  switch (key) {
    case VK_LEFT:
    case VK_RIGHT:
    case VK_UP:
    case VK_DOWN:
    case VK_HOME:
    case VK_END:
    case VK_DELETE:
      return true;
    default:
      return false;
  }
}

void SetModifiers(BYTE (&state)[256], TShiftState shift) {
  const auto set = [&](int vk, bool down) { state[vk] = down ? 0x80 : 0; };
  set(VK_SHIFT, shift.shift);
  set(VK_LSHIFT, shift.shift);
  set(VK_RSHIFT, false);
  set(VK_CONTROL, shift.ctrl);
  set(VK_LCONTROL, shift.ctrl);
  set(VK_RCONTROL, false);
  set(VK_MENU, shift.alt);
  set(VK_LMENU, shift.alt);
  set(VK_RMENU, false);
}

void PostMouse(TControl* control, UINT msg, TPoint client, WPARAM buttons) {
  HWND hwnd = WindowOf(control);
  POINT point{client.x, client.y};
  // The pointer goes there too: the window system makes mouse moves of its
  // own from where the pointer really is (when the grab changes, say).
  POINT screen = point;
  ::ClientToScreen(hwnd, &screen);
  POINT current;
  if (!GetCursorPos(&current) || current.x != screen.x || current.y != screen.y)
    SetCursorPos(screen.x, screen.y);
  // A window that holds the grab gets the mouse wherever it is.
  HWND capture = GetCapture();
  if (capture && capture != hwnd) {
    ::ClientToScreen(hwnd, &point);
    ::ScreenToClient(capture, &point);
    hwnd = capture;
  }
  PostMessageW(hwnd, msg, buttons,
               MAKELPARAM(static_cast<WORD>(point.x), static_cast<WORD>(point.y)));
  ProcessEvents();
}

}  // namespace

std::unique_ptr<TApplication> CreateTestApplication() {
  auto application = std::make_unique<TApplication>();
  application->Initialize();
  return application;
}

void ProcessEvents() {
  // A quit message met here is dropped: it would end the next modal run of
  // the same test program.
  while (!win32::PumpPending()) {
  }
}

void KeyPress(TControl* control, Word key, TShiftState shift, bool keypad) {
  HWND target = GetFocus();
  TForm* form = control->ParentForm();
  if (!target || !form || GetAncestor(target, GA_ROOT) != WindowOf(form))
    target = WindowOf(control);

  BYTE saved[256];
  GetKeyboardState(saved);
  BYTE state[256];
  std::copy(std::begin(saved), std::end(saved), std::begin(state));
  SetModifiers(state, shift);
  state[key] = 0x80;
  SetKeyboardState(state);

  const UINT scan = MapVirtualKeyW(key, MAPVK_VK_TO_VSC);
  LPARAM lParam = 1 | (static_cast<LPARAM>(scan) << 16);
  if (keypad || IsExtendedKey(key)) lParam |= LPARAM{1} << 24;
  if (shift.alt) lParam |= LPARAM{1} << 29;
  const bool system = shift.alt || key == VK_F10;
  PostMessageW(target, system ? WM_SYSKEYDOWN : WM_KEYDOWN, key, lParam);
  ProcessEvents();

  GetKeyboardState(state);
  state[key] = 0;
  SetKeyboardState(state);
  // The key-up goes where the focus is now: the key may have moved it.
  HWND up = GetFocus() ? GetFocus() : target;
  PostMessageW(up, system ? WM_SYSKEYUP : WM_KEYUP, key,
               lParam | (LPARAM{1} << 30) | (LPARAM{1} << 31));
  ProcessEvents();
  SetModifiers(saved, {});
  SetKeyboardState(saved);
}

void TypeText(TControl* control, const std::string& text) {
  HWND target = GetFocus();
  TForm* form = control->ParentForm();
  if (!target || !form || GetAncestor(target, GA_ROOT) != WindowOf(form))
    target = WindowOf(control);
  for (wchar_t unit : win32::Wide(text)) {
    PostMessageW(target, WM_CHAR, unit == L'\n' ? L'\r' : unit, 1);
    ProcessEvents();
  }
}

void MousePress(TControl* control, TPoint client) {
  PostMouse(control, WM_LBUTTONDOWN, client, MK_LBUTTON);
}

void MouseMove(TControl* control, TPoint client) {
  PostMouse(control, WM_MOUSEMOVE, client, MK_LBUTTON);
}

void MouseRelease(TControl* control, TPoint client) {
  PostMouse(control, WM_LBUTTONUP, client, 0);
}

void Click(TControl* control, TPoint client) {
  MousePress(control, client);
  MouseRelease(control, client);
}

void DoubleClick(TControl* control, TPoint client) {
  Click(control, client);
  PostMouse(control, WM_LBUTTONDBLCLK, client, MK_LBUTTON);
  MouseRelease(control, client);
}

void CloseBox(TForm* form) {
  PostMessageW(WindowOf(form), WM_SYSCOMMAND, SC_CLOSE, 0);
  ProcessEvents();
}

std::string ClipboardText() {
  return backend::ClipboardText();
}

TPoint MinimumTrackSize(TForm* form) {
  // Filled in first with the system's own minimum, as the window system does.
  MINMAXINFO info{};
  info.ptMinTrackSize = {GetSystemMetrics(SM_CXMINTRACK), GetSystemMetrics(SM_CYMINTRACK)};
  SendMessageW(WindowOf(form), WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
  return TPoint{info.ptMinTrackSize.x, info.ptMinTrackSize.y};
}

bool InputDisabled(TForm* form) {
  return IsWindowEnabled(WindowOf(form)) == FALSE;
}

}  // namespace talvor::platform::testing
