// What the portable half of the platform layer asks of the one backend that
// is compiled in. Not for forms: they use TApplication's services.
#pragma once

#include <string>

#include "platform/forms.h"

namespace talvor::platform::backend {

int MessageBox(TForm* owner, const std::string& text, const std::string& caption, unsigned flags);
bool ShellOpen(TForm* owner, const std::string& path);
std::string ClipboardText();
std::string ExeName();
TPoint ScreenSize();

}  // namespace talvor::platform::backend
