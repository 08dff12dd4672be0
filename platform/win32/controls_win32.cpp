// Controls as native child windows: the common plumbing (window classes,
// the subclass and container procedures, fonts, tooltips, alignment) and
// the simple controls. The sheet and the list boxes have files of their own.
#include <algorithm>
#include <map>
#include <utility>

#include "platform/align.h"
#include "platform/win32/win32_impl.h"

#include <richedit.h>

namespace talvor::platform {
namespace win32 {

const wchar_t* const kFormClass = L"TalvorForm";
const wchar_t* const kPanelClass = L"TalvorPanel";
const wchar_t* const kSpeedButtonClass = L"TalvorSpeedButton";

namespace {

const wchar_t* const kImplProperty = L"TalvorImpl";

HBRUSH FaceBrush() {
  return GetSysColorBrush(COLOR_BTNFACE);
}

}  // namespace

HINSTANCE Instance() {
  return GetModuleHandleW(nullptr);
}

std::string WindowText(HWND hwnd) {
  const int length = GetWindowTextLengthW(hwnd);
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  text.resize(static_cast<std::size_t>(GetWindowTextW(hwnd, text.data(), length + 1)));
  return Narrow(text);
}

void EnsureInitialized() {
  static bool done = false;
  if (done) return;
  done = true;
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&controls);
  LoadLibraryW(L"Msftedit.dll");

  WNDCLASSEXW cls{};
  cls.cbSize = sizeof cls;
  cls.style = CS_DBLCLKS;
  cls.lpfnWndProc = ContainerProc;
  cls.hInstance = Instance();
  cls.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  cls.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  cls.lpszClassName = kFormClass;
  RegisterClassExW(&cls);
  cls.lpszClassName = kPanelClass;
  RegisterClassExW(&cls);
  cls.lpfnWndProc = SpeedButtonProc;
  cls.lpszClassName = kSpeedButtonClass;
  RegisterClassExW(&cls);
}

std::wstring WideWithCrLf(std::string_view utf8) {
  std::wstring text = Wide(utf8);
  std::wstring out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == L'\n' && (i == 0 || text[i - 1] != L'\r')) out += L'\r';
    out += text[i];
  }
  return out;
}

TControl::Impl* ImplOf(HWND hwnd) {
  return hwnd ? static_cast<TControl::Impl*>(GetPropW(hwnd, kImplProperty)) : nullptr;
}

void Attach(TControl::Impl* impl, HWND hwnd) {
  impl->hwnd = hwnd;
  SetPropW(hwnd, kImplProperty, impl);
}

void CreateChild(TControl* control, const wchar_t* className, DWORD style, DWORD exStyle,
                 bool subclass) {
  EnsureInitialized();
  TControl::Impl* impl = control->NativeImpl();
  HWND parent = control->Parent() ? control->Parent()->NativeImpl()->hwnd : nullptr;
  HWND hwnd =
      CreateWindowExW(exStyle, className, L"", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | style, 0,
                      0, 0, 0, parent, nullptr, Instance(), impl);
  if (!hwnd) throw Exception("ウィンドウを作成できません");
  Attach(impl, hwnd);
  if (subclass)
    impl->baseProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(ControlProc)));
  // Later controls lie above earlier ones, as the layouts list them back to front.
  SetWindowPos(hwnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  SendMessageW(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(FontFor(control->Font())), FALSE);
}

HFONT FontFor(const TFontSpec& font) {
  static std::map<std::pair<std::string, int>, HFONT> cache;
  const auto key = std::make_pair(font.name, font.height);
  if (auto it = cache.find(key); it != cache.end()) return it->second;
  // The proportional face is the one whose name says so ("Ｐ").
  const bool proportional = font.name == kFontPGothic;
  HFONT handle = CreateFontW(font.height, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, SHIFTJIS_CHARSET,
                             OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                             (proportional ? VARIABLE_PITCH : FIXED_PITCH) | FF_MODERN,
                             Wide(font.name).c_str());
  cache.emplace(key, handle);
  return handle;
}

TShiftState CurrentShift() {
  return TShiftState{GetKeyState(VK_SHIFT) < 0, GetKeyState(VK_CONTROL) < 0,
                     GetKeyState(VK_MENU) < 0};
}

TForm* FormOfWindow(HWND hwnd) {
  TControl::Impl* impl = ImplOf(GetAncestor(hwnd, GA_ROOT));
  return impl && impl->self ? dynamic_cast<TForm*>(impl->self) : nullptr;
}

void Realign(TControl* control) {
  if (TForm* form = control->ParentForm()) AlignControls(*form);
}

void EnsureTool(TControl* control) {
  TControl::Impl* impl = control->NativeImpl();
  TForm* form = control->ParentForm();
  if (impl->toolAdded || !form || !impl->hwnd || control == form) return;
  TControl::Impl* formImpl = form->NativeImpl();
  if (!formImpl->tooltip) {
    formImpl->tooltip =
        CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                        WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP, CW_USEDEFAULT, CW_USEDEFAULT,
                        CW_USEDEFAULT, CW_USEDEFAULT, formImpl->hwnd, nullptr, Instance(), nullptr);
    if (!formImpl->tooltip) return;
    // A width limit makes the tooltip honour line breaks in a hint.
    SendMessageW(formImpl->tooltip, TTM_SETMAXTIPWIDTH, 0, 400);
  }
  // The version-1 size: accepted by every version of the common controls.
  TTTOOLINFOW tool{};
  tool.cbSize = TTTOOLINFOW_V1_SIZE;
  tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
  tool.hwnd = GetParent(impl->hwnd);
  tool.uId = reinterpret_cast<UINT_PTR>(impl->hwnd);
  tool.lpszText = LPSTR_TEXTCALLBACKW;
  if (SendMessageW(formImpl->tooltip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool)))
    impl->toolAdded = true;
}

namespace {

// Colours of a child that asks its parent how to paint (WM_CTLCOLOR*).
LRESULT ChildColors(HWND child, HDC dc, UINT msg) {
  TControl::Impl* impl = ImplOf(child);
  if (!impl || !impl->self) return 0;
  SetTextColor(dc, impl->self->Font().color);
  const bool face = impl->parentColor || msg == WM_CTLCOLORSTATIC || msg == WM_CTLCOLORBTN;
  if (impl->kind == TNativeKind::Edit && !impl->parentColor) {
    SetBkColor(dc, GetSysColor(COLOR_WINDOW));
    return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_WINDOW));
  }
  if (face) {
    SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
    return reinterpret_cast<LRESULT>(FaceBrush());
  }
  SetBkColor(dc, GetSysColor(COLOR_WINDOW));
  return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_WINDOW));
}

LRESULT FormMessage(TForm* form, TControl::Impl* impl, UINT msg, WPARAM wParam, LPARAM lParam,
                    bool& handled) {
  handled = true;
  switch (msg) {
    case WM_CLOSE:
      Protect([&] { form->Close(); });
      return 0;
    case WM_QUERYENDSESSION: {
      // Only the close query: its answer does not keep Windows from ending.
      bool canClose = true;
      Protect([&] { Application->Guard([&] { form->OnCloseQuery(form, canClose); }); });
      return TRUE;
    }
    case WM_GETMINMAXINFO: {
      DefWindowProcW(impl->hwnd, msg, wParam, lParam);
      auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
      TMinMaxInfo ours{};
      Protect([&] { Application->Guard([&] { form->WMGetMinMaxInfo(ours); }); });
      if (ours.ptMinTrackSize.x > 0) info->ptMinTrackSize.x = ours.ptMinTrackSize.x;
      if (ours.ptMinTrackSize.y > 0) info->ptMinTrackSize.y = ours.ptMinTrackSize.y;
      return 0;
    }
    case WM_ACTIVATE:
      if (LOWORD(wParam) != WA_INACTIVE && impl->activeHwnd && IsWindow(impl->activeHwnd) &&
          IsWindowEnabled(impl->activeHwnd)) {
        SetFocus(impl->activeHwnd);
        return 0;
      }
      break;
    case WM_SETFOCUS:
      if (impl->activeHwnd && IsWindow(impl->activeHwnd)) SetFocus(impl->activeHwnd);
      return 0;
    case kModalShownMessage:
      Protect([&] { Application->NotifyModalShown(form); });
      return 0;
    default:
      break;
  }
  handled = false;
  return 0;
}

}  // namespace

namespace {

// For our own window classes: attaches the control when its window is
// created and lets go when it is destroyed. The control the message is for,
// or null when only the system's default handling applies.
TControl::Impl* OwnWindowImpl(HWND hwnd, UINT msg, LPARAM lParam) {
  if (msg == WM_NCCREATE) {
    auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
    if (create->lpCreateParams) Attach(static_cast<TControl::Impl*>(create->lpCreateParams), hwnd);
  }
  TControl::Impl* impl = ImplOf(hwnd);
  if (msg == WM_NCDESTROY) {
    RemovePropW(hwnd, kImplProperty);
    if (impl) impl->hwnd = nullptr;
    return nullptr;
  }
  return impl && impl->self ? impl : nullptr;
}

}  // namespace

LRESULT CALLBACK ContainerProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  TControl::Impl* impl = OwnWindowImpl(hwnd, msg, lParam);
  if (!impl) return DefWindowProcW(hwnd, msg, wParam, lParam);
  TControl* self = impl->self;

  if (impl->kind == TNativeKind::Form) {
    bool handled = false;
    const LRESULT result =
        FormMessage(static_cast<TForm*>(self), impl, msg, wParam, lParam, handled);
    if (handled) return result;
  }

  switch (msg) {
    case WM_COMMAND: {
      HWND child = reinterpret_cast<HWND>(lParam);
      TControl::Impl* childImpl = ImplOf(child);
      if (childImpl && childImpl->self && childImpl->kind == TNativeKind::Button &&
          HIWORD(wParam) == BN_CLICKED) {
        auto* button = static_cast<TButton*>(childImpl->self);
        Protect([&] { button->Click(); });
        return 0;
      }
      break;
    }
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
      if (LRESULT brush =
              ChildColors(reinterpret_cast<HWND>(lParam), reinterpret_cast<HDC>(wParam), msg))
        return brush;
      break;
    case WM_NOTIFY: {
      auto* header = reinterpret_cast<NMHDR*>(lParam);
      if (header->code == TTN_GETDISPINFOW) {
        auto* info = reinterpret_cast<NMTTDISPINFOW*>(lParam);
        TControl::Impl* tool = ImplOf(reinterpret_cast<HWND>(header->idFrom));
        static std::wstring text;
        text.clear();
        if (tool && tool->self && tool->self->ShowHint()) text = WideWithCrLf(tool->self->Hint());
        info->lpszText = text.data();
        return 0;
      }
      break;
    }
    case WM_SIZE:
      Protect([&] { Realign(self); });
      return 0;
    case WM_PAINT:
      if (impl->kind == TNativeKind::Panel) {
        PAINTSTRUCT paint;
        HDC dc = BeginPaint(hwnd, &paint);
        RECT rect;
        GetClientRect(hwnd, &rect);
        DrawEdge(dc, &rect, BDR_RAISEDINNER, BF_RECT);
        EndPaint(hwnd, &paint);
        return 0;
      }
      break;
    default:
      break;
  }
  return DefWindowProcW(hwnd, msg, wParam, lParam);
}

LRESULT CALLBACK ControlProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  TControl::Impl* impl = ImplOf(hwnd);
  if (!impl) return DefWindowProcW(hwnd, msg, wParam, lParam);
  WNDPROC base = impl->baseProc;
  if (msg == WM_NCDESTROY) {
    RemovePropW(hwnd, kImplProperty);
    impl->hwnd = nullptr;
    return CallWindowProcW(base, hwnd, msg, wParam, lParam);
  }
  if (!impl->self) return CallWindowProcW(base, hwnd, msg, wParam, lParam);

  LRESULT result = 0;
  bool handled = false;
  Protect([&] {
    if (msg == WM_SETFOCUS) {
      if (TForm* form = impl->self->ParentForm()) form->NativeImpl()->activeHwnd = hwnd;
    }
    switch (impl->kind) {
      case TNativeKind::RichEdit:
        handled = RichEditMessage(impl, msg, wParam, lParam, result);
        break;
      case TNativeKind::ListBox:
        handled = ListBoxMessage(impl, msg, wParam, lParam, result);
        break;
      case TNativeKind::Bevel:
        // A frame-only static leaves its inside unpainted; the controls
        // above it are clipped out of this fill.
        if (msg == WM_ERASEBKGND) {
          RECT rect;
          GetClientRect(hwnd, &rect);
          FillRect(reinterpret_cast<HDC>(wParam), &rect, FaceBrush());
          result = 1;
          handled = true;
        }
        break;
      case TNativeKind::Edit:
        if (msg == WM_LBUTTONDBLCLK) {
          // The edit's own double-click first (it selects a word), so that
          // what the handler selects is what stays selected.
          result = CallWindowProcW(base, hwnd, msg, wParam, lParam);
          auto* edit = static_cast<TEdit*>(impl->self);
          Application->Guard([&] { edit->OnDblClick(edit); });
          handled = true;
        } else if (msg == WM_SETCURSOR && impl->arrowCursor && LOWORD(lParam) == HTCLIENT) {
          SetCursor(LoadCursorW(nullptr, IDC_ARROW));
          result = TRUE;
          handled = true;
        }
        break;
      default:
        break;
    }
  });
  if (handled) return result;
  return CallWindowProcW(base, hwnd, msg, wParam, lParam);
}

LRESULT CALLBACK SpeedButtonProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  TControl::Impl* impl = OwnWindowImpl(hwnd, msg, lParam);
  if (!impl) return DefWindowProcW(hwnd, msg, wParam, lParam);
  RECT rect;
  GetClientRect(hwnd, &rect);
  const POINT point{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
  switch (msg) {
    case WM_PAINT: {
      PAINTSTRUCT paint;
      HDC dc = BeginPaint(hwnd, &paint);
      FillRect(dc, &rect, FaceBrush());
      const bool down = impl->pressed && impl->hot;
      // Flat: a frame only under the pointer, sunken while pressed.
      if (down)
        DrawEdge(dc, &rect, BDR_SUNKENOUTER, BF_RECT);
      else if (impl->hot)
        DrawEdge(dc, &rect, BDR_RAISEDINNER, BF_RECT);
      if (impl->glyph) {
        int width = 0, height = 0;
        ImageList_GetIconSize(impl->glyph, &width, &height);
        const int shift = down ? 1 : 0;
        ImageList_Draw(impl->glyph, 0, dc, (rect.right - width) / 2 + shift,
                       (rect.bottom - height) / 2 + shift, ILD_TRANSPARENT);
      }
      EndPaint(hwnd, &paint);
      return 0;
    }
    case WM_ERASEBKGND:
      return 1;
    case WM_MOUSEMOVE:
      if (!impl->hot) {
        impl->hot = true;
        TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, hwnd, 0};
        TrackMouseEvent(&track);
        InvalidateRect(hwnd, nullptr, FALSE);
      }
      if (impl->pressed) {
        const bool inside = PtInRect(&rect, point) != FALSE;
        if (inside != impl->hot) {
          impl->hot = inside;
          InvalidateRect(hwnd, nullptr, FALSE);
        }
      }
      return 0;
    case WM_MOUSELEAVE:
      if (!impl->pressed) {
        impl->hot = false;
        InvalidateRect(hwnd, nullptr, FALSE);
      }
      return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      impl->pressed = true;
      impl->hot = true;
      SetCapture(hwnd);
      InvalidateRect(hwnd, nullptr, FALSE);
      return 0;
    case WM_LBUTTONUP: {
      if (!impl->pressed) return 0;
      impl->pressed = false;
      const bool inside = PtInRect(&rect, point) != FALSE;
      impl->hot = inside;
      ReleaseCapture();
      InvalidateRect(hwnd, nullptr, FALSE);
      if (inside) {
        auto* button = static_cast<TSpeedButton*>(impl->self);
        Protect([&] { button->Click(); });
      }
      return 0;
    }
    case WM_CAPTURECHANGED:
      if (impl->pressed) {
        impl->pressed = false;
        InvalidateRect(hwnd, nullptr, FALSE);
      }
      return 0;
    default:
      break;
  }
  return DefWindowProcW(hwnd, msg, wParam, lParam);
}

}  // namespace win32

using win32::CreateChild;
using win32::Wide;

TControl::Impl::~Impl() {
  if (glyph) ImageList_Destroy(glyph);
}

// --- TControl ---------------------------------------------------------------

TControl::TControl(TComponent* owner, TControl* parent)
    : TComponent(owner), m_impl(std::make_unique<Impl>()), m_parent(parent) {
  m_impl->self = this;
  if (parent) m_font = parent->Font();
}

TControl::~TControl() {
  if (TheDragTracker().Source() == this) TheDragTracker().Cancel();
  if (m_impl && m_impl->hwnd) {
    m_impl->self = nullptr;
    DestroyWindow(m_impl->hwnd);
  }
}

void TControl::SetBounds(int left, int top, int width, int height) {
  MoveWindow(m_impl->hwnd, left, top, width, height, TRUE);
  if (m_align != TAlign::alNone && m_parent) win32::Realign(m_parent);
}

TRect TControl::Bounds() const {
  RECT rect;
  GetWindowRect(m_impl->hwnd, &rect);
  HWND parent = GetParent(m_impl->hwnd);
  MapWindowPoints(HWND_DESKTOP, parent, reinterpret_cast<POINT*>(&rect), 2);
  return TRect{rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top};
}

int TControl::ClientWidth() const {
  RECT rect;
  GetClientRect(m_impl->hwnd, &rect);
  return rect.right;
}

int TControl::ClientHeight() const {
  RECT rect;
  GetClientRect(m_impl->hwnd, &rect);
  return rect.bottom;
}

void TControl::SetAlign(TAlign align) {
  m_align = align;
  if (m_parent) win32::Realign(m_parent);
}

void TControl::SetVisible(bool visible) {
  ShowWindow(m_impl->hwnd, visible ? SW_SHOW : SW_HIDE);
}

bool TControl::Visible() const {
  return (GetWindowLongPtrW(m_impl->hwnd, GWL_STYLE) & WS_VISIBLE) != 0;
}

void TControl::SetEnabled(bool enabled) {
  EnableWindow(m_impl->hwnd, enabled ? TRUE : FALSE);
}

bool TControl::Enabled() const {
  return IsWindowEnabled(m_impl->hwnd) != FALSE;
}

void TControl::SetHint(const std::string& hint) {
  m_hint = hint;
  // The tooltip asks for the text each time it shows, so a later hint needs
  // no update of its own.
  if (m_showHint) win32::EnsureTool(this);
}

void TControl::SetShowHint(bool show) {
  m_showHint = show;
  if (show) win32::EnsureTool(this);
}

void TControl::SetFont(const TFontSpec& font) {
  m_font = font;
  SendMessageW(m_impl->hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(win32::FontFor(font)), TRUE);
  if (m_impl->kind == TNativeKind::ListBox && m_impl->itemHeight > 0)
    SendMessageW(m_impl->hwnd, LB_SETITEMHEIGHT, 0, MAKELPARAM(m_impl->itemHeight, 0));
  // A new font resets the sheet's margins; keep the text off the border.
  if (m_impl->kind == TNativeKind::RichEdit)
    SendMessageW(m_impl->hwnd, EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, MAKELPARAM(3, 3));
}

void TControl::SetCursor(TCursor cursor) {
  m_impl->arrowCursor = cursor == TCursor::crArrow;
}

void TControl::SetParentColor(bool parentColor) {
  m_impl->parentColor = parentColor;
  InvalidateRect(m_impl->hwnd, nullptr, TRUE);
}

void TControl::SetTabOrder(int order) {
  m_tabOrder = order;
  LONG_PTR style = GetWindowLongPtrW(m_impl->hwnd, GWL_STYLE);
  style = CanFocus() ? (style | WS_TABSTOP) : (style & ~static_cast<LONG_PTR>(WS_TABSTOP));
  SetWindowLongPtrW(m_impl->hwnd, GWL_STYLE, style);
}

bool TControl::CanFocus() const {
  switch (m_impl->kind) {
    case TNativeKind::Button:
    case TNativeKind::Edit:
    case TNativeKind::RichEdit:
    case TNativeKind::ListBox:
      return m_tabOrder >= 0 && Visible() && Enabled();
    default:
      return false;
  }
}

void TControl::SetFocus() {
  TForm* form = ParentForm();
  if (form && form != this) form->NativeImpl()->activeHwnd = m_impl->hwnd;
  // A form that is not shown yet gives the focus to this control when it shows.
  if (!form || IsWindowVisible(form->NativeImpl()->hwnd)) ::SetFocus(m_impl->hwnd);
}

bool TControl::Focused() const {
  return m_impl->hwnd && GetFocus() == m_impl->hwnd;
}

TPoint TControl::ScreenToClient(TPoint screen) const {
  POINT point{screen.x, screen.y};
  ::ScreenToClient(m_impl->hwnd, &point);
  return TPoint{point.x, point.y};
}

TPoint TControl::ClientToScreen(TPoint client) const {
  POINT point{client.x, client.y};
  ::ClientToScreen(m_impl->hwnd, &point);
  return TPoint{point.x, point.y};
}

// --- Simple controls ----------------------------------------------------------

TPanel::TPanel(TComponent* owner, TControl* parent) : TControl(owner, parent) {
  m_impl->kind = TNativeKind::Panel;
  CreateChild(this, win32::kPanelClass, WS_CLIPCHILDREN, WS_EX_CONTROLPARENT, false);
}

TLabel::TLabel(TComponent* owner, TControl* parent) : TControl(owner, parent) {
  m_impl->kind = TNativeKind::Label;
  CreateChild(this, L"STATIC", SS_LEFT, 0, true);
}

void TLabel::SetCaption(const std::string& caption) {
  SetWindowTextW(m_impl->hwnd, Wide(caption).c_str());
}

std::string TLabel::Caption() const {
  return win32::WindowText(m_impl->hwnd);
}

void TLabel::SetAlignment(TAlignment alignment) {
  LONG_PTR style = GetWindowLongPtrW(m_impl->hwnd, GWL_STYLE) & ~static_cast<LONG_PTR>(SS_TYPEMASK);
  style |= alignment == TAlignment::taCenter ? SS_CENTER : SS_LEFT;
  SetWindowLongPtrW(m_impl->hwnd, GWL_STYLE, style);
  InvalidateRect(m_impl->hwnd, nullptr, TRUE);
}

TBevel::TBevel(TComponent* owner, TControl* parent) : TControl(owner, parent) {
  m_impl->kind = TNativeKind::Bevel;
  CreateChild(this, L"STATIC", SS_ETCHEDFRAME, 0, true);
}

void TBevel::SetShape(TBevelShape shape) {
  LONG_PTR style = GetWindowLongPtrW(m_impl->hwnd, GWL_STYLE) & ~static_cast<LONG_PTR>(SS_TYPEMASK);
  style |= shape == TBevelShape::bsTopLine ? SS_ETCHEDHORZ : SS_ETCHEDFRAME;
  SetWindowLongPtrW(m_impl->hwnd, GWL_STYLE, style);
  InvalidateRect(m_impl->hwnd, nullptr, TRUE);
}

TImage::TImage(TComponent* owner, TControl* parent) : TControl(owner, parent) {
  m_impl->kind = TNativeKind::Image;
  CreateChild(this, L"STATIC", SS_ICON | SS_REALSIZEIMAGE, 0, true);
}

void TImage::SetPicture(const std::string& resourceName) {
  // 32x32, as the layouts size the picture; a missing resource shows nothing.
  auto* icon = static_cast<HICON>(
      LoadImageW(win32::Instance(), Wide(resourceName).c_str(), IMAGE_ICON, 32, 32, LR_SHARED));
  SendMessageW(m_impl->hwnd, STM_SETICON, reinterpret_cast<WPARAM>(icon), 0);
}

TButton::TButton(TComponent* owner, TControl* parent) : TControl(owner, parent) {
  m_impl->kind = TNativeKind::Button;
  CreateChild(this, L"BUTTON", BS_PUSHBUTTON, 0, true);
}

void TButton::SetCaption(const std::string& caption) {
  SetWindowTextW(m_impl->hwnd, Wide(caption).c_str());
}

std::string TButton::Caption() const {
  return win32::WindowText(m_impl->hwnd);
}

TSpeedButton::TSpeedButton(TComponent* owner, TControl* parent) : TControl(owner, parent) {
  m_impl->kind = TNativeKind::SpeedButton;
  CreateChild(this, win32::kSpeedButtonClass, 0, 0, false);
}

void TSpeedButton::SetGlyph(const std::string& resourceName) {
  auto* bitmap = static_cast<HBITMAP>(LoadImageW(win32::Instance(), Wide(resourceName).c_str(),
                                                 IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
  if (!bitmap) return;  // a missing glyph leaves the face plain
  BITMAP info;
  GetObjectW(bitmap, sizeof info, &info);
  // The bottom-left pixel names the colour that lets the face show through.
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(dc, bitmap);
  const COLORREF transparent = GetPixel(dc, 0, info.bmHeight - 1);
  SelectObject(dc, old);
  DeleteDC(dc);
  if (m_impl->glyph) ImageList_Destroy(m_impl->glyph);
  m_impl->glyph = ImageList_Create(info.bmWidth, info.bmHeight, ILC_COLOR24 | ILC_MASK, 1, 0);
  ImageList_AddMasked(m_impl->glyph, bitmap, transparent);
  DeleteObject(bitmap);
  InvalidateRect(m_impl->hwnd, nullptr, TRUE);
}

// --- TEdit --------------------------------------------------------------------

TEdit::TEdit(TComponent* owner, TControl* parent) : TControl(owner, parent) {
  m_impl->kind = TNativeKind::Edit;
  CreateChild(this, L"EDIT", ES_AUTOHSCROLL | ES_LEFT, WS_EX_CLIENTEDGE, true);
}

void TEdit::SetText(const std::string& text) {
  SetWindowTextW(m_impl->hwnd, Wide(text).c_str());
}

std::string TEdit::Text() const {
  return win32::WindowText(m_impl->hwnd);
}

void TEdit::SetReadOnly(bool readOnly) {
  SendMessageW(m_impl->hwnd, EM_SETREADONLY, readOnly ? TRUE : FALSE, 0);
}

void TEdit::SelectAll() {
  SendMessageW(m_impl->hwnd, EM_SETSEL, 0, -1);
}

std::string TEdit::SelText() const {
  DWORD start = 0, end = 0;
  SendMessageW(m_impl->hwnd, EM_GETSEL, reinterpret_cast<WPARAM>(&start),
               reinterpret_cast<LPARAM>(&end));
  const std::wstring text = Wide(Text());
  if (start > end || end > text.size()) return {};
  return win32::Narrow(std::wstring_view(text).substr(start, end - start));
}

void TEdit::CopyToClipboard() {
  SendMessageW(m_impl->hwnd, WM_COPY, 0, 0);
}

}  // namespace talvor::platform
