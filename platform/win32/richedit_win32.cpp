// The sheet: a Msftedit rich edit in plain-text mode, without wrapping.
//
// Positions are the control's own: UTF-16 units, a line break counting one.
// Every typed character goes through TRichEdit::WindowProc first. The
// control itself breaks a line on the key-down of Enter, not on its
// character, so the key-down takes that path too: OnKeyDown, then a
// carriage return through WindowProc, and the character that the key-down
// then produces is dropped.
#include <algorithm>

#include "platform/win32/win32_impl.h"

#include <richedit.h>

namespace talvor::platform {
namespace win32 {
namespace {

std::wstring ToControlBreaks(std::string_view utf8) {
  const std::wstring text = Wide(utf8);
  std::wstring out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == L'\r' && i + 1 < text.size() && text[i + 1] == L'\n') continue;
    out += text[i] == L'\n' ? L'\r' : text[i];
  }
  return out;
}

std::string FromControlBreaks(std::wstring text) {
  std::replace(text.begin(), text.end(), L'\r', L'\n');
  return Narrow(text);
}

}  // namespace

bool RichEditMessage(TControl::Impl* impl, UINT msg, WPARAM wParam, LPARAM lParam,
                     LRESULT& result) {
  auto* sheet = static_cast<TRichEdit*>(impl->self);
  switch (msg) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN: {
      impl->returnTyped = false;
      Word key = static_cast<Word>(wParam);
      Application->Guard([&] { sheet->OnKeyDown(sheet, key, CurrentShift()); });
      if (key == 0) {
        result = 0;
        return true;
      }
      if (key == VK_RETURN && msg == WM_KEYDOWN) {
        TMessage message{WM_CHAR, VK_RETURN, lParam, 0};
        Application->Guard([&] { sheet->WindowProc(message); });
        impl->returnTyped = true;
        result = 0;
        return true;
      }
      if (key != wParam) {
        result = CallWindowProcW(impl->baseProc, impl->hwnd, msg, key, lParam);
        return true;
      }
      return false;
    }
    case WM_CHAR: {
      // Enter's own character (CR, or LF with Ctrl): typed on its key-down already.
      if (impl->returnTyped && (wParam == L'\r' || wParam == L'\n')) {
        impl->returnTyped = false;
        result = 0;
        return true;
      }
      impl->returnTyped = false;
      TMessage message{WM_CHAR, wParam, lParam, 0};
      Application->Guard([&] { sheet->WindowProc(message); });
      result = message.Result;
      return true;
    }
    default:
      return false;
  }
}

}  // namespace win32

using win32::Wide;

TRichEdit::TRichEdit(TComponent* owner, TControl* parent) : TControl(owner, parent) {
  m_impl->kind = TNativeKind::RichEdit;
  win32::EnsureInitialized();
  win32::CreateChild(this, MSFTEDIT_CLASS,
                     ES_MULTILINE | ES_AUTOVSCROLL | ES_AUTOHSCROLL | ES_WANTRETURN | ES_NOHIDESEL |
                         WS_VSCROLL | WS_HSCROLL | ES_DISABLENOSCROLL,
                     WS_EX_CLIENTEDGE, true);
  HWND hwnd = m_impl->hwnd;
  SendMessageW(hwnd, EM_SETTEXTMODE, TM_PLAINTEXT | TM_MULTILEVELUNDO | TM_MULTICODEPAGE, 0);
  // No limit of our own on the sheet's length (the control's default is 32K).
  SendMessageW(hwnd, EM_EXLIMITTEXT, 0, 0x7FFFFFFE);
  // A target line width of 1 turns word wrap off.
  SendMessageW(hwnd, EM_SETTARGETDEVICE, 0, 1);
  SendMessageW(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(win32::FontFor(Font())), FALSE);
  // The control's own handling: a carriage return becomes a line break at
  // the selection, everything else goes to the control as it came.
  WindowProc = [this](TMessage& message) {
    HWND window = m_impl->hwnd;
    if (!window) return;
    if (message.Msg == WM_CHAR && (message.WParam & 0xFFFF) == VK_RETURN) {
      SendMessageW(window, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(L"\r"));
      message.Result = 0;
      return;
    }
    message.Result =
        CallWindowProcW(m_impl->baseProc, window, message.Msg, static_cast<WPARAM>(message.WParam),
                        static_cast<LPARAM>(message.LParam));
  };
}

int TRichEdit::LineCount() const {
  if (TextLength() == 0) return 0;
  return static_cast<int>(SendMessageW(m_impl->hwnd, EM_GETLINECOUNT, 0, 0));
}

std::string TRichEdit::Line(int index) const {
  const int start = index >= 0 ? LineIndex(index) : -1;
  if (start < 0)
    throw Exception("リストのインデックスが範囲を超えています (" + std::to_string(index) + ")");
  const int next = LineIndex(index + 1);
  int end = next >= 0 ? next - 1 : TextLength();
  if (end < start) end = start;
  std::wstring text(static_cast<std::size_t>(end - start) + 1, L'\0');
  TEXTRANGEW range{{start, end}, text.data()};
  const auto got = SendMessageW(m_impl->hwnd, EM_GETTEXTRANGE, 0, reinterpret_cast<LPARAM>(&range));
  text.resize(static_cast<std::size_t>(std::max<LRESULT>(got, 0)));
  while (!text.empty() && (text.back() == L'\r' || text.back() == L'\n')) text.pop_back();
  return win32::Narrow(text);
}

void TRichEdit::ClearLines() {
  SetWindowTextW(m_impl->hwnd, L"");
}

std::string TRichEdit::Text() const {
  const int length = TextLength();
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  GETTEXTEX get{};
  get.cb = static_cast<DWORD>(text.size() * sizeof(wchar_t));
  get.flags = GT_DEFAULT;
  get.codepage = 1200;  // UTF-16
  const auto got = SendMessageW(m_impl->hwnd, EM_GETTEXTEX, reinterpret_cast<WPARAM>(&get),
                                reinterpret_cast<LPARAM>(text.data()));
  text.resize(static_cast<std::size_t>(std::max<LRESULT>(got, 0)));
  return win32::FromControlBreaks(std::move(text));
}

void TRichEdit::SetText(const std::string& text) {
  SetWindowTextW(m_impl->hwnd, win32::ToControlBreaks(text).c_str());
}

int TRichEdit::SelStart() const {
  CHARRANGE range{};
  SendMessageW(m_impl->hwnd, EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&range));
  return range.cpMin;
}

int TRichEdit::SelLength() const {
  CHARRANGE range{};
  SendMessageW(m_impl->hwnd, EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&range));
  return range.cpMax - range.cpMin;
}

void TRichEdit::SetSel(int start, int end) {
  const int length = TextLength();
  CHARRANGE range{std::clamp(start, 0, length), std::clamp(end, 0, length)};
  SendMessageW(m_impl->hwnd, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&range));
}

int TRichEdit::LineFromChar(int position) const {
  return static_cast<int>(SendMessageW(m_impl->hwnd, EM_EXLINEFROMCHAR, 0, position));
}

int TRichEdit::LineIndex(int line) const {
  // A negative line would ask the control for the caret's line.
  if (line < 0) return -1;
  return static_cast<int>(SendMessageW(m_impl->hwnd, EM_LINEINDEX, line, 0));
}

int TRichEdit::TextLength() const {
  GETTEXTLENGTHEX get{GTL_NUMCHARS | GTL_PRECISE, 1200};
  return static_cast<int>(
      SendMessageW(m_impl->hwnd, EM_GETTEXTLENGTHEX, reinterpret_cast<WPARAM>(&get), 0));
}

void TRichEdit::ReplaceSel(const std::string& text) {
  SendMessageW(m_impl->hwnd, EM_REPLACESEL, TRUE,
               reinterpret_cast<LPARAM>(win32::ToControlBreaks(text).c_str()));
}

}  // namespace talvor::platform
