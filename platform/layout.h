// Building a form from its layout table: the one place where a window's
// positions, sizes, captions, fonts, hints, tab order and flags live. Both
// backends draw from the same table.
#pragma once

#include <span>
#include <stdexcept>
#include <string>

#include "platform/forms.h"

namespace talvor::platform {

enum class TControlKind {
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

enum TLayoutFlag : unsigned {
  lfReadOnly = 1u << 0,
  lfParentColor = 1u << 1,
  lfDefault = 1u << 2,        // the form's default button
  lfCancel = 1u << 3,         // the form's cancel button
  lfDragAutomatic = 1u << 4,  // list boxes
  lfArrowCursor = 1u << 5,
  lfCenter = 1u << 6,    // centred label text
  lfTopLine = 1u << 7,   // a bevel that is only its top line
  lfShowHint = 1u << 8,  // shows a hint set later (a hint in the table implies it)
};

struct TLayoutItem {
  TControlKind kind;
  const char* name;
  const char* parent = nullptr;  // null: the form itself
  TRect bounds{};
  const char* text = nullptr;  // caption, or the resource name of a glyph or picture
  const char* font = nullptr;  // null: the form's font
  const char* hint = nullptr;
  int tabOrder = -1;
  TAlign align = TAlign::alNone;
  unsigned flags = 0;
  int itemHeight = 0;
};

struct TFormLayout {
  const char* name;
  const char* caption;
  TRect bounds;  // outer bounds; width/height 0 when the client size is given
  int clientWidth = 0;
  int clientHeight = 0;
  TFormBorderStyle borderStyle = TFormBorderStyle::bsSizeable;
  TBorderIcons borderIcons{};
  TPosition position = TPosition::poDesigned;
  const char* font = kFontGothic;
  const char* icon = "MAINICON";
};

// Creates the form's controls, in table order, owned by the form.
void BuildForm(TForm& form, const TFormLayout& layout, std::span<const TLayoutItem> items);

// The control of that name on the form, as T; throws when missing or of another type.
template <typename T>
T* FindControl(const TForm& form, const std::string& name) {
  auto* found = dynamic_cast<T*>(form.FindComponent(name));
  if (!found) throw std::logic_error("layout has no control " + name + " of the expected kind");
  return found;
}

}  // namespace talvor::platform
