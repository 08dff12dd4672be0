// The Win32 backend's private side: the native state behind every control
// (TControl::Impl) and the helpers its files share. Only platform/win32/ and
// the backend's own white-box tests include this.
//
// Implements: forms and controls as real windows (wide-character calls
// throughout, text converted from and to UTF-8 at this seam), the sheet as a
// Msftedit rich edit, the message loop with the form's key preview (menu
// shortcuts, default and cancel buttons, Tab and access keys), modal runs
// that disable the other windows, tooltips, the automatic drag mode of list
// boxes fed from mouse messages, and the services of backend.h.
// Not here: anything that needs no window system (platform/*.cpp).
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/backend.h"
#include "platform/drag.h"
#include "platform/forms.h"
#include "platform/win32/wide.h"

// After our own headers; see win32_api.h.
#include "platform/win32/win32_api.h"

#include <commctrl.h>

namespace talvor::platform {

enum class TNativeKind {
  Form,
  Panel,
  Label,
  Bevel,
  Image,
  Button,
  SpeedButton,
  Edit,
  RichEdit,
  ListBox
};

struct TControl::Impl {
  ~Impl();

  TControl* self = nullptr;  // null once the control is being destroyed
  TNativeKind kind = TNativeKind::Panel;
  HWND hwnd = nullptr;
  WNDPROC baseProc = nullptr;  // the class's own procedure of a subclassed standard control
  bool parentColor = false;
  bool arrowCursor = false;
  bool toolAdded = false;

  // Forms.
  TFormBorderStyle borderStyle = TFormBorderStyle::bsSizeable;
  TBorderIcons borderIcons;
  TPosition position = TPosition::poDesigned;
  HWND tooltip = nullptr;
  HWND activeHwnd = nullptr;  // the control that has, or last had, the focus
  bool modal = false;
  std::vector<HWND> disabledByModal;  // windows a modal run took input from
  bool shownOnce = false;

  // The sheet: the key-down of Enter already typed its carriage return.
  bool returnTyped = false;

  // List boxes: the item height asked for, which a new font would reset.
  int itemHeight = 0;

  // Speed buttons.
  HIMAGELIST glyph = nullptr;
  bool hot = false, pressed = false;
};

namespace win32 {

// Private messages of the backend's own windows.
inline constexpr UINT kModalShownMessage = WM_APP + 0x54;

// Text for a native control: LF becomes CR LF.
std::wstring WideWithCrLf(std::string_view utf8);

HINSTANCE Instance();
// Registers the window classes and loads the rich-edit library, once.
void EnsureInitialized();

// A window's whole text, as UTF-8.
std::string WindowText(HWND hwnd);
extern const wchar_t* const kFormClass;
extern const wchar_t* const kPanelClass;
extern const wchar_t* const kSpeedButtonClass;

// The native state of one of our windows, or null for a foreign window.
TControl::Impl* ImplOf(HWND hwnd);
void Attach(TControl::Impl* impl, HWND hwnd);
// Creates the native child window of a control and, for a standard control
// class, puts ControlProc in front of the class's own procedure.
void CreateChild(TControl* control, const wchar_t* className, DWORD style, DWORD exStyle,
                 bool subclass);
LRESULT CALLBACK ControlProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK ContainerProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK SpeedButtonProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

// Handlers of each kind for the messages that ControlProc routes.
bool RichEditMessage(TControl::Impl* impl, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result);
bool ListBoxMessage(TControl::Impl* impl, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result);

HFONT FontFor(const TFontSpec& font);
TShiftState CurrentShift();
TForm* FormOfWindow(HWND hwnd);
// Lays out the aligned controls of the form the control sits on.
void Realign(TControl* control);
// Registers the control with its form's tooltip, once it shows hints.
void EnsureTool(TControl* control);

// One step of every message loop: the form's key preview, then the usual
// translation and dispatch.
void DispatchOne(MSG& msg);
// Ends what a modal run changed: the other windows take input again and
// the dialog hides.
void EndModal(TControl::Impl& impl);
// Dispatches what is queued; false when a quit message was met.
bool PumpPending();

// Runs fn for a message that came from the window system, so that no
// exception unwinds through Windows' frames.
template <typename Fn>
void Protect(Fn&& fn) {
  try {
    fn();
  } catch (const std::exception& error) {
    if (Application) Application->ShowException(error);
  } catch (...) {
  }
}

}  // namespace win32
}  // namespace talvor::platform
