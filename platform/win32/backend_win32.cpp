// The window-system services of backend.h.
#include "platform/win32/win32_impl.h"

#include <shellapi.h>

namespace talvor::platform::backend {
namespace {

HWND WindowOf(TForm* form) {
  return form ? form->NativeImpl()->hwnd : nullptr;
}

}  // namespace

int MessageBox(TForm* owner, const std::string& text, const std::string& caption, unsigned flags) {
  return MessageBoxW(WindowOf(owner), win32::WideWithCrLf(text).c_str(),
                     win32::Wide(caption).c_str(), flags);
}

bool ShellOpen(TForm* owner, const std::string& path) {
  // No verb: the default action of the file's type.
  const auto result = reinterpret_cast<INT_PTR>(ShellExecuteW(
      WindowOf(owner), nullptr, win32::Wide(path).c_str(), nullptr, nullptr, SW_SHOW));
  return result > 32;
}

std::string ClipboardText() {
  // Another program may hold the clipboard for a moment.
  bool open = false;
  for (int attempt = 0; attempt < 10 && !(open = OpenClipboard(nullptr) != FALSE); ++attempt)
    Sleep(10);
  if (!open) return {};
  std::string text;
  if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
    if (const auto* wide = static_cast<const wchar_t*>(GlobalLock(data))) {
      text = win32::Narrow(wide);
      GlobalUnlock(data);
    }
  }
  CloseClipboard();
  return text;
}

std::string ExeName() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD got = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (got == 0) return {};
    if (got < path.size()) {
      path.resize(got);
      return win32::Narrow(path);
    }
    path.resize(path.size() * 2);
  }
}

TPoint ScreenSize() {
  return TPoint{GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
}

}  // namespace talvor::platform::backend
