#include <cstdio>

#include "platform/file_write.h"

#include "platform/win32/wide.h"
#include "platform/win32/win32_api.h"

namespace talvor::platform {

bool WriteFileBytes(const std::string& path, std::string_view bytes) {
  // The wide-character open: the path may hold characters of any code page.
  std::FILE* file = _wfopen(win32::Wide(path).c_str(), L"wb");
  if (!file) return false;
  const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
  const bool flushed = std::fflush(file) == 0;
  const bool closed = std::fclose(file) == 0;
  return written && flushed && closed;
}

}  // namespace talvor::platform
