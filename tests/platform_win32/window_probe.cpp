// A small Windows program for the real-input test: it looks at a running
// TALVOR from outside, as another program on the same desktop would, and
// prints what it finds (UTF-8, one item per line).
//
//   window_probe wait        waits until the main window is shown
//   window_probe fields      "sheet X Y" and "field X Y TEXT" for each result
//                            field, top to bottom (X, Y: its centre on the screen)
//   window_probe clipboard   "clipboard TEXT"
//   window_probe gone        waits until the main window has closed
#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#ifndef NOMINMAX
#define NOMINMAX
#endif
#ifndef UNICODE
#define UNICODE
#endif
#include <windows.h>

namespace {

std::string Utf8(const std::wstring& text) {
  if (text.empty()) return {};
  const int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                       nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<std::size_t>(size), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), size,
                      nullptr, nullptr);
  return out;
}

HWND MainWindow() {
  HWND hwnd = FindWindowW(L"TalvorForm", L"TALVOR");
  return hwnd && IsWindowVisible(hwnd) ? hwnd : nullptr;
}

std::wstring ClassOf(HWND hwnd) {
  wchar_t name[64] = {};
  GetClassNameW(hwnd, name, 64);
  return name;
}

std::wstring TextOf(HWND hwnd) {
  // WM_GETTEXT: the window system carries it across processes.
  const auto length = SendMessageW(hwnd, WM_GETTEXTLENGTH, 0, 0);
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  const auto got =
      SendMessageW(hwnd, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()));
  text.resize(static_cast<std::size_t>(got));
  return text;
}

POINT CentreOf(HWND hwnd) {
  RECT rect;
  GetWindowRect(hwnd, &rect);
  return POINT{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
}

bool WaitFor(bool shown) {
  for (int i = 0; i < 300; ++i) {
    if ((MainWindow() != nullptr) == shown) return true;
    Sleep(100);
  }
  return false;
}

int Fields() {
  HWND main = MainWindow();
  if (!main) return 1;
  std::vector<HWND> children;
  EnumChildWindows(
      main,
      [](HWND hwnd, LPARAM param) -> BOOL {
        reinterpret_cast<std::vector<HWND>*>(param)->push_back(hwnd);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&children));
  std::vector<HWND> fields;
  for (HWND child : children) {
    const std::wstring name = ClassOf(child);
    if (_wcsicmp(name.c_str(), L"Edit") == 0) fields.push_back(child);
    if (_wcsicmp(name.c_str(), L"RICHEDIT50W") == 0) {
      const POINT p = CentreOf(child);
      std::printf("sheet %ld %ld\n", p.x, p.y);
    }
  }
  std::sort(fields.begin(), fields.end(),
            [](HWND a, HWND b) { return CentreOf(a).y < CentreOf(b).y; });
  for (HWND field : fields) {
    const POINT p = CentreOf(field);
    std::printf("field %ld %ld %s\n", p.x, p.y, Utf8(TextOf(field)).c_str());
  }
  return 0;
}

int Clipboard() {
  if (!OpenClipboard(nullptr)) return 1;
  std::wstring text;
  if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
    if (const auto* wide = static_cast<const wchar_t*>(GlobalLock(data))) {
      text = wide;
      GlobalUnlock(data);
    }
  }
  CloseClipboard();
  std::printf("clipboard %s\n", Utf8(text).c_str());
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string command = argc > 1 ? argv[1] : "";
  if (command == "wait") return WaitFor(true) ? 0 : 1;
  if (command == "gone") return WaitFor(false) ? 0 : 1;
  if (command == "fields") return Fields();
  if (command == "clipboard") return Clipboard();
  std::fprintf(stderr, "usage: window_probe wait|fields|clipboard|gone\n");
  return 2;
}
