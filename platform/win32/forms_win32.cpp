// Forms as top-level windows, the application object and the message loop.
#include <algorithm>
#include <cctype>
#include <vector>

#include "platform/win32/win32_impl.h"

namespace talvor::platform {
namespace win32 {
namespace {

DWORD StyleOf(const TControl::Impl& impl) {
  DWORD style = WS_CLIPCHILDREN;
  switch (impl.borderStyle) {
    case TFormBorderStyle::bsSizeable:
      style |= WS_OVERLAPPED | WS_CAPTION | WS_THICKFRAME;
      break;
    case TFormBorderStyle::bsSingle:
      style |= WS_OVERLAPPED | WS_CAPTION;
      break;
    case TFormBorderStyle::bsDialog:
      // A dialog frame has a close box and no minimise or maximise box.
      return style | WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;
  }
  if (impl.borderIcons.systemMenu) style |= WS_SYSMENU;
  if (impl.borderIcons.minimize) style |= WS_MINIMIZEBOX;
  if (impl.borderIcons.maximize) style |= WS_MAXIMIZEBOX;
  return style;
}

DWORD ExStyleOf(const TControl::Impl& impl) {
  DWORD exStyle = WS_EX_CONTROLPARENT;
  if (impl.borderStyle == TFormBorderStyle::bsDialog) exStyle |= WS_EX_DLGMODALFRAME;
  return exStyle;
}

void ApplyStyle(TControl::Impl& impl) {
  const bool visible = IsWindowVisible(impl.hwnd) != FALSE;
  SetWindowLongPtrW(impl.hwnd, GWL_STYLE, StyleOf(impl) | (visible ? WS_VISIBLE : 0));
  SetWindowLongPtrW(impl.hwnd, GWL_EXSTYLE, ExStyleOf(impl));
  SetWindowPos(impl.hwnd, nullptr, 0, 0, 0, 0,
               SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

std::vector<TControl*> FocusChain(const TForm& form) {
  std::vector<TControl*> chain = form.TabChain();
  std::erase_if(chain, [](TControl* control) {
    return control->NativeImpl()->kind == TNativeKind::Panel || !control->CanFocus();
  });
  return chain;
}

void FocusNext(TForm* form, bool backwards) {
  const std::vector<TControl*> chain = FocusChain(*form);
  if (chain.empty()) return;
  const auto it = std::find(chain.begin(), chain.end(), form->ActiveControl());
  std::size_t index = 0;
  if (it != chain.end()) {
    const std::size_t at = static_cast<std::size_t>(it - chain.begin());
    index = backwards ? (at + chain.size() - 1) % chain.size() : (at + 1) % chain.size();
  }
  chain[index]->SetFocus();
}

// The button whose caption marks this key with "&", if any.
TButton* AccessKeyButton(const TForm& form, Word key) {
  for (TControl* control : form.Controls()) {
    auto* button = dynamic_cast<TButton*>(control);
    if (!button || !button->Visible() || !button->Enabled()) continue;
    const std::string caption = button->Caption();
    const auto amp = caption.find('&');
    if (amp != std::string::npos && amp + 1 < caption.size() &&
        std::toupper(static_cast<unsigned char>(caption[amp + 1])) == key)
      return button;
  }
  return nullptr;
}

// Keys that the window system's dialog manager would handle: Tab moves the
// focus (except in the sheet, which types it), and a button's access key
// presses it with Alt, or alone while a button has the focus.
bool Navigate(TForm* form, Word key, TShiftState shift) {
  TControl* focused = form->ActiveControl();
  if (key == VK_TAB && !shift.ctrl && !shift.alt) {
    if (dynamic_cast<TRichEdit*>(focused)) return false;
    FocusNext(form, shift.shift);
    return true;
  }
  const bool letter = (key >= 'A' && key <= 'Z') || (key >= '0' && key <= '9');
  if (letter && !shift.ctrl && (shift.alt || dynamic_cast<TButton*>(focused))) {
    if (TButton* button = AccessKeyButton(*form, key)) {
      button->SetFocus();
      button->Click();
      return true;
    }
  }
  return false;
}

bool PreTranslate(const MSG& msg) {
  if (msg.message != WM_KEYDOWN && msg.message != WM_SYSKEYDOWN) return false;
  TForm* form = FormOfWindow(msg.hwnd);
  if (!form || !IsWindowEnabled(form->NativeImpl()->hwnd)) return false;
  const Word key = static_cast<Word>(msg.wParam);
  TShiftState shift = CurrentShift();
  if (msg.message == WM_SYSKEYDOWN && (msg.lParam & (1 << 29))) shift.alt = true;
  bool taken = false;
  Protect([&] { taken = form->PreviewKey(key, shift) || Navigate(form, key, shift); });
  return taken;
}

// Our top-level windows that take input, but this one.
std::vector<HWND> DisableOtherWindows(HWND keep) {
  struct Found {
    HWND keep;
    std::vector<HWND> windows;
  } found{keep, {}};
  EnumThreadWindows(
      GetCurrentThreadId(),
      [](HWND hwnd, LPARAM param) -> BOOL {
        auto* f = reinterpret_cast<Found*>(param);
        if (hwnd != f->keep && ImplOf(hwnd) && IsWindowVisible(hwnd) && IsWindowEnabled(hwnd))
          f->windows.push_back(hwnd);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&found));
  for (HWND hwnd : found.windows) EnableWindow(hwnd, FALSE);
  return found.windows;
}

}  // namespace

void EndModal(TControl::Impl& impl) {
  // The other windows take input again before the dialog hides, so that
  // activation goes back to its owner.
  for (HWND window : impl.disabledByModal)
    if (IsWindow(window)) EnableWindow(window, TRUE);
  impl.disabledByModal.clear();
  if (impl.hwnd) ShowWindow(impl.hwnd, SW_HIDE);
}

void DispatchOne(MSG& msg) {
  if (PreTranslate(msg)) return;
  TranslateMessage(&msg);
  DispatchMessageW(&msg);
}

bool PumpPending() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) return false;
    DispatchOne(msg);
  }
  return true;
}

}  // namespace win32

// --- TForm ----------------------------------------------------------------------

TForm::TForm(TComponent* owner) : TControl(owner, nullptr) {
  win32::EnsureInitialized();
  m_impl->kind = TNativeKind::Form;
  HWND hwnd = CreateWindowExW(win32::ExStyleOf(*m_impl), win32::kFormClass, L"",
                              win32::StyleOf(*m_impl), CW_USEDEFAULT, CW_USEDEFAULT, 320, 240,
                              nullptr, nullptr, win32::Instance(), m_impl.get());
  if (!hwnd) throw Exception("ウィンドウを作成できません");
  SendMessageW(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(win32::FontFor(Font())), FALSE);
}

TForm::~TForm() {
  HWND hwnd = m_impl->hwnd;
  if (!hwnd) return;
  // The controls are C++ objects half gone from here on: their windows
  // must not call back into them while they are destroyed.
  EnumChildWindows(
      hwnd,
      [](HWND child, LPARAM) -> BOOL {
        if (TControl::Impl* impl = win32::ImplOf(child)) impl->self = nullptr;
        return TRUE;
      },
      0);
  m_impl->self = nullptr;
  if (m_impl->tooltip) DestroyWindow(m_impl->tooltip);
  DestroyWindow(hwnd);
}

void TForm::SetCaption(const std::string& caption) {
  SetWindowTextW(m_impl->hwnd, win32::Wide(caption).c_str());
}

std::string TForm::Caption() const {
  return win32::WindowText(m_impl->hwnd);
}

void TForm::SetBorderStyle(TFormBorderStyle style) {
  m_impl->borderStyle = style;
  win32::ApplyStyle(*m_impl);
}

void TForm::SetBorderIcons(TBorderIcons icons) {
  m_impl->borderIcons = icons;
  win32::ApplyStyle(*m_impl);
}

void TForm::SetPosition(TPosition position) {
  m_impl->position = position;
}

void TForm::SetClientSize(int width, int height) {
  RECT rect{0, 0, width, height};
  AdjustWindowRectEx(&rect, win32::StyleOf(*m_impl), FALSE, win32::ExStyleOf(*m_impl));
  SetWindowPos(m_impl->hwnd, nullptr, 0, 0, rect.right - rect.left, rect.bottom - rect.top,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void TForm::SetIcon(const std::string& resourceName) {
  const std::wstring name = win32::Wide(resourceName);
  auto load = [&](int size) {
    return reinterpret_cast<LPARAM>(
        LoadImageW(win32::Instance(), name.c_str(), IMAGE_ICON, size, size, LR_SHARED));
  };
  if (LPARAM big = load(GetSystemMetrics(SM_CXICON)))
    SendMessageW(m_impl->hwnd, WM_SETICON, ICON_BIG, big);
  if (LPARAM small = load(GetSystemMetrics(SM_CXSMICON)))
    SendMessageW(m_impl->hwnd, WM_SETICON, ICON_SMALL, small);
}

void TForm::SetBounds(int left, int top, int width, int height) {
  SetWindowPos(m_impl->hwnd, nullptr, left, top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

TRect TForm::Bounds() const {
  RECT rect;
  GetWindowRect(m_impl->hwnd, &rect);
  return TRect{rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top};
}

void TForm::Show() {
  HWND hwnd = m_impl->hwnd;
  if (Showing()) {
    // Already up: the show handler ran when it appeared.
    SetForegroundWindow(hwnd);
    return;
  }
  if (!m_impl->shownOnce) {
    m_impl->shownOnce = true;
    for (TControl* control : m_controls)
      if (auto* button = dynamic_cast<TButton*>(control); button && button->Default)
        SetWindowLongPtrW(
            control->NativeImpl()->hwnd, GWL_STYLE,
            GetWindowLongPtrW(control->NativeImpl()->hwnd, GWL_STYLE) | BS_DEFPUSHBUTTON);
  }
  if (m_impl->position == TPosition::poScreenCenter) {
    const TPoint screen = Application->ScreenSize();
    const TRect bounds = Bounds();
    SetWindowPos(hwnd, nullptr, (screen.x - bounds.width) / 2, (screen.y - bounds.height) / 2, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  win32::Realign(this);
  // The show handler runs before the window appears, as it does for a
  // form; focus it asks for is given once the window is up.
  Application->Guard([&] { OnShow(this); });
  if (!ActiveControl()) {
    const std::vector<TControl*> chain = win32::FocusChain(*this);
    if (!chain.empty()) m_impl->activeHwnd = chain.front()->NativeImpl()->hwnd;
  }
  ShowWindow(hwnd, SW_SHOW);
  SetForegroundWindow(hwnd);
  SetActiveWindow(hwnd);
  if (m_impl->activeHwnd && IsWindow(m_impl->activeHwnd)) ::SetFocus(m_impl->activeHwnd);
  UpdateWindow(hwnd);
}

int TForm::ShowModal() {
  if (Showing() || m_impl->modal) throw Exception("表示中のウィンドウはモーダルにできません");
  HWND hwnd = m_impl->hwnd;
  ModalResult = mrNone;
  m_impl->modal = true;
  // The active window owns the dialog, so that it stays above it.
  HWND owner = GetActiveWindow();
  if (!win32::ImplOf(owner) && Application->MainForm())
    owner = Application->MainForm()->NativeImpl()->hwnd;
  if (owner && owner != hwnd)
    SetWindowLongPtrW(hwnd, GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(owner));
  m_impl->disabledByModal = win32::DisableOtherWindows(hwnd);
  struct Restore {
    TControl::Impl& impl;
    ~Restore() {
      win32::EndModal(impl);
      impl.modal = false;
    }
  } restore{*m_impl};

  Show();
  PostMessageW(hwnd, win32::kModalShownMessage, 0, 0);
  while (ModalResult == mrNone) {
    MSG msg;
    const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
    if (got == 0 || got == -1) {
      // The quit message belongs to the outer loop.
      PostQuitMessage(got == 0 ? static_cast<int>(msg.wParam) : 0);
      ModalResult = mrCancel;
      break;
    }
    win32::DispatchOne(msg);
  }
  if (ModalResult == mrNone) ModalResult = mrCancel;
  return ModalResult;
}

void TForm::Close() {
  bool canClose = true;
  Application->Guard([&] { OnCloseQuery(this, canClose); });
  if (!canClose) return;
  if (m_impl->modal) {
    if (ModalResult == mrNone) ModalResult = mrCancel;
    win32::EndModal(*m_impl);
    // Wakes the modal loop, which may be waiting for a message.
    PostMessageW(nullptr, WM_NULL, 0, 0);
    return;
  }
  ShowWindow(m_impl->hwnd, SW_HIDE);
  if (this == Application->MainForm()) Application->Terminate();
}

bool TForm::Showing() const {
  return IsWindowVisible(m_impl->hwnd) != FALSE;
}

TControl* TForm::ActiveControl() const {
  TControl::Impl* impl = win32::ImplOf(m_impl->activeHwnd);
  return impl ? impl->self : nullptr;
}

// --- TApplication -----------------------------------------------------------

TApplication::TApplication() : TComponent(nullptr) {
  Application = this;
  win32::EnsureInitialized();
}

TApplication::~TApplication() {
  // The forms go while the application object is still whole: their
  // destruction may still reach it.
  while (ComponentCount() > 0) delete Component(ComponentCount() - 1);
  if (Application == this) Application = nullptr;
}

void TApplication::Initialize() {}

void TApplication::SetTitle(const std::string& title) {
  m_title = title;
}

void TApplication::SetIcon(const std::string& resourceName) {
  if (TForm* form = MainForm()) form->SetIcon(resourceName);
}

void TApplication::Run() {
  TForm* form = MainForm();
  if (!form) return;
  form->Show();
  MSG msg;
  while (!m_terminated) {
    const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
    if (got == 0 || got == -1) break;
    win32::DispatchOne(msg);
  }
  m_terminated = true;
}

void TApplication::Terminate() {
  m_terminated = true;
  PostQuitMessage(0);
}

void TApplication::ProcessMessages() {
  if (!win32::PumpPending()) m_terminated = true;
}

}  // namespace talvor::platform
