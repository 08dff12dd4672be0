// Writing a whole file in one go, with every step checked.
#pragma once

#include <string>
#include <string_view>

namespace talvor::platform {

// Creates the file or empties it, writes the bytes unchanged (no line-break
// translation) and closes it. False when the open, a write or the close
// failed; a failure after the open may leave a partial file behind, which
// the caller must then not hand on. The path is UTF-8.
bool WriteFileBytes(const std::string& path, std::string_view bytes);

}  // namespace talvor::platform
