#include "platform/align.h"

#include <algorithm>

#include "platform/forms.h"

namespace talvor::platform {
namespace {

void AlignChildren(const TForm& form, TControl* container) {
  const int height = container->ClientHeight();
  int right = container->ClientWidth();
  for (TControl* control : form.Controls()) {
    if (control->Parent() != container || control->Align() != TAlign::alRight) continue;
    if (!control->Visible()) continue;
    const int width = control->Width();
    right -= width;
    control->SetBounds(right, 0, width, height);
  }
  for (TControl* control : form.Controls()) {
    if (control->Parent() != container || control->Align() != TAlign::alClient) continue;
    if (!control->Visible()) continue;
    control->SetBounds(0, 0, std::max(0, right), height);
  }
}

}  // namespace

void AlignControls(TForm& form) {
  // Placing an aligned control makes the backend ask for alignment again.
  static bool aligning = false;
  if (aligning) return;
  aligning = true;
  struct Done {
    ~Done() { aligning = false; }
  } done;

  AlignChildren(form, &form);
  // Controls come in creation order, so a panel is placed before its children.
  for (TControl* control : form.Controls()) AlignChildren(form, control);
}

}  // namespace talvor::platform
