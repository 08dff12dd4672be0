// UTF-8 <-> UTF-16 for the wide-character Win32 calls (defined in
// text_win32.cpp, so every library of ours that calls Windows has them).
#pragma once

#include <string>
#include <string_view>

namespace talvor::platform::win32 {

std::wstring Wide(std::string_view utf8);
std::string Narrow(std::wstring_view wide);

}  // namespace talvor::platform::win32
