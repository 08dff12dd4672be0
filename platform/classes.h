// The base of our small class library: objects, components that own
// components, events, messages, key codes, geometry and fonts.
//
// Everything here is toolkit-free. A backend (platform/qt or platform/win32)
// never appears in a header; forms see only this contract.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace talvor::platform {

class TObject {
 public:
  TObject() = default;
  TObject(const TObject&) = delete;
  TObject& operator=(const TObject&) = delete;
  virtual ~TObject() = default;
};

// The library's base exception: an exception of this kind (or any
// std::exception) escaping an event handler is shown by the application's
// error display, and the program goes on.
class Exception : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// A component owns the components created with it as owner and destroys
// them, last created first, when it is destroyed. Members of forms are plain
// non-owning pointers into that list.
class TComponent;
namespace detail {
// The main form as a component: its destruction clears it, so that the
// application never points at a form that is gone.
extern TComponent* g_mainFormComponent;
}  // namespace detail

class TComponent : public TObject {
 public:
  explicit TComponent(TComponent* owner);
  ~TComponent() override;

  TComponent* Owner() const { return m_owner; }
  std::string Name;

  int ComponentCount() const { return static_cast<int>(m_components.size()); }
  TComponent* Component(int index) const {
    return m_components.at(static_cast<std::size_t>(index)).get();
  }
  TComponent* FindComponent(const std::string& name) const;

 private:
  TComponent* m_owner;
  std::vector<std::unique_ptr<TComponent>> m_components;
};

struct TPoint {
  int x = 0;
  int y = 0;
  friend bool operator==(const TPoint&, const TPoint&) = default;
};

struct TRect {
  int left = 0, top = 0, width = 0, height = 0;
  friend bool operator==(const TRect&, const TRect&) = default;
};

// Key codes are the Windows virtual-key codes, on every backend.
using Word = std::uint16_t;
enum : Word {
  VK_BACK = 0x08,
  VK_TAB = 0x09,
  VK_RETURN = 0x0D,
  VK_SHIFT = 0x10,
  VK_CONTROL = 0x11,
  VK_MENU = 0x12,
  VK_ESCAPE = 0x1B,
  VK_SPACE = 0x20,
  VK_END = 0x23,
  VK_HOME = 0x24,
  VK_LEFT = 0x25,
  VK_UP = 0x26,
  VK_RIGHT = 0x27,
  VK_DOWN = 0x28,
  VK_DELETE = 0x2E,
  VK_F4 = 0x73,
};

struct TShiftState {
  bool shift = false, ctrl = false, alt = false;
  friend bool operator==(const TShiftState&, const TShiftState&) = default;
};

// A menu shortcut as the class library encodes it: the key code plus
// 0x2000 for Shift, 0x4000 for Ctrl and 0x8000 for Alt (Ctrl+E = 16453).
using TShortCut = std::uint16_t;
enum : TShortCut { scShift = 0x2000, scCtrl = 0x4000, scAlt = 0x8000, scNone = 0 };
constexpr TShortCut ShortCut(Word key, TShiftState shift) {
  return static_cast<TShortCut>(key | (shift.shift ? scShift : 0) | (shift.ctrl ? scCtrl : 0) |
                                (shift.alt ? scAlt : 0));
}

// A window message as the sheet's window procedure sees it. Backends pass
// at least every typed character (WM_CHAR, the character in WParam) through
// a rich edit's WindowProc before the control acts on it.
enum : unsigned { WM_KEYDOWN = 0x0100, WM_CHAR = 0x0102, WM_GETMINMAXINFO = 0x0024 };
struct TMessage {
  unsigned Msg = 0;
  std::uintptr_t WParam = 0;
  std::intptr_t LParam = 0;
  std::intptr_t Result = 0;
};
using TWndMethod = std::function<void(TMessage&)>;

// Handlers are never empty: an unset one is a do-nothing default.
using TNotifyEvent = std::function<void(TObject* sender)>;
using TKeyEvent = std::function<void(TObject* sender, Word& key, TShiftState shift)>;
using TCloseQueryEvent = std::function<void(TObject* sender, bool& canClose)>;
enum class TDragState { dsDragEnter, dsDragLeave, dsDragMove };
using TDragOverEvent = std::function<void(TObject* sender, TObject* source, int x, int y,
                                          TDragState state, bool& accept)>;
using TDragDropEvent = std::function<void(TObject* sender, TObject* source, int x, int y)>;

// Fonts are named as the layouts name them; a backend substitutes what the
// system lacks ("ＭＳ ゴシック" -> IPAGothic, "ＭＳ Ｐゴシック" -> IPAPGothic).
inline constexpr const char* kFontGothic = "ＭＳ ゴシック";
inline constexpr const char* kFontPGothic = "ＭＳ Ｐゴシック";
struct TFontSpec {
  std::string name = kFontGothic;
  int height = -12;                // negative: character height in pixels, as the layouts give it
  std::uint32_t color = 0x000000;  // 0xBBGGRR; clBlack
};

// Modal results.
enum TModalResult : int { mrNone = 0, mrOk = 1, mrCancel = 2 };

// Message box flags and answers (the Windows values).
enum : unsigned { MB_OK = 0x0, MB_ICONERROR = 0x10 };
enum : int { IDOK = 1 };

}  // namespace talvor::platform
