// List boxes: a native LISTBOX whose left-button handling is ours, so that
// the shared drag tracker decides between a click and a drag and drop.
#include "platform/win32/win32_impl.h"

namespace talvor::platform {
namespace win32 {
namespace {

TPoint ScreenPoint(HWND hwnd, LPARAM lParam) {
  POINT point{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
  ::ClientToScreen(hwnd, &point);
  return TPoint{point.x, point.y};
}

}  // namespace

bool ListBoxMessage(TControl::Impl* impl, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  auto* list = static_cast<TListBox*>(impl->self);
  DragTracker& tracker = TheDragTracker();
  HWND hwnd = impl->hwnd;
  switch (msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: {
      ::SetFocus(hwnd);
      const TPoint client{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
      tracker.Press(list, client, ScreenPoint(hwnd, lParam));
      if (tracker.Armed()) SetCapture(hwnd);
      result = 0;
      return true;
    }
    case WM_MOUSEMOVE:
      if (tracker.Source() != list) return false;
      tracker.Move(ScreenPoint(hwnd, lParam));
      if (tracker.Dragging())
        ::SetCursor(LoadCursorW(
            nullptr, tracker.WouldAccept(ScreenPoint(hwnd, lParam)) ? IDC_ARROW : IDC_NO));
      result = 0;
      return true;
    case WM_LBUTTONUP:
      if (tracker.Source() != list) return false;
      // The drop runs before the grab ends: losing the grab cancels a drag.
      tracker.Release(ScreenPoint(hwnd, lParam));
      if (GetCapture() == hwnd) ReleaseCapture();
      result = 0;
      return true;
    case WM_CAPTURECHANGED:
      if (tracker.Source() == list) tracker.Cancel();
      return false;
    case WM_KEYDOWN:
      // Esc ends a drag without a drop, as it does everywhere else.
      if (tracker.Source() == list && wParam == VK_ESCAPE) {
        tracker.Cancel();
        ReleaseCapture();
      }
      return false;
    default:
      return false;
  }
}

}  // namespace win32

namespace {

std::wstring ItemText(HWND hwnd, int index) {
  const auto length = SendMessageW(hwnd, LB_GETTEXTLEN, index, 0);
  if (length == LB_ERR)
    throw Exception("リストのインデックスが範囲を超えています (" + std::to_string(index) + ")");
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  const auto got = SendMessageW(hwnd, LB_GETTEXT, index, reinterpret_cast<LPARAM>(text.data()));
  text.resize(got == LB_ERR ? 0 : static_cast<std::size_t>(got));
  return text;
}

}  // namespace

TListBox::TListBox(TComponent* owner, TControl* parent) : TControl(owner, parent) {
  m_impl->kind = TNativeKind::ListBox;
  win32::CreateChild(this, L"LISTBOX", LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_VSCROLL,
                     WS_EX_CLIENTEDGE, true);
}

int TListBox::Count() const {
  return static_cast<int>(SendMessageW(m_impl->hwnd, LB_GETCOUNT, 0, 0));
}

std::string TListBox::Item(int index) const {
  return win32::Narrow(ItemText(m_impl->hwnd, index));
}

void TListBox::Insert(int index, const std::string& text) {
  const std::wstring wide = win32::Wide(text);
  const auto at = SendMessageW(m_impl->hwnd, LB_INSERTSTRING, static_cast<WPARAM>(index),
                               reinterpret_cast<LPARAM>(wide.c_str()));
  if (at == LB_ERR || at == LB_ERRSPACE) throw Exception("行を挿入できません");
}

void TListBox::Delete(int index) {
  SendMessageW(m_impl->hwnd, LB_DELETESTRING, static_cast<WPARAM>(index), 0);
}

void TListBox::Clear() {
  SendMessageW(m_impl->hwnd, LB_RESETCONTENT, 0, 0);
}

int TListBox::ItemIndex() const {
  return static_cast<int>(SendMessageW(m_impl->hwnd, LB_GETCURSEL, 0, 0));
}

void TListBox::SetItemIndex(int index) {
  if (index == ItemIndex()) return;
  SendMessageW(m_impl->hwnd, LB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

int TListBox::ItemAtPos(TPoint client) const {
  RECT rect;
  GetClientRect(m_impl->hwnd, &rect);
  if (client.x < 0 || client.y < 0 || client.x >= rect.right || client.y >= rect.bottom) return -1;
  if (Count() == 0) return -1;
  const auto hit =
      SendMessageW(m_impl->hwnd, LB_ITEMFROMPOINT, 0,
                   MAKELPARAM(static_cast<WORD>(client.x), static_cast<WORD>(client.y)));
  // The high word marks a point on no item (the low word is then the nearest).
  if (HIWORD(hit) != 0) return -1;
  return LOWORD(hit);
}

void TListBox::SetItemHeight(int height) {
  m_impl->itemHeight = height;
  SendMessageW(m_impl->hwnd, LB_SETITEMHEIGHT, 0, MAKELPARAM(height, 0));
}

int TListBox::ItemHeight() const {
  return static_cast<int>(SendMessageW(m_impl->hwnd, LB_GETITEMHEIGHT, 0, 0));
}

}  // namespace talvor::platform
