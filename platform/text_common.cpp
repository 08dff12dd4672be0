#include <cstdint>
#include <cstring>

#include "platform/text.h"

namespace talvor::platform {

bool IsAscii(std::string_view text) noexcept {
  const char* p = text.data();
  std::size_t n = text.size();
  // Eight bytes at a time; the compiler turns this into wide loads.
  while (n >= 8) {
    std::uint64_t word;
    std::memcpy(&word, p, 8);
    if (word & 0x8080808080808080ull) return false;
    p += 8;
    n -= 8;
  }
  for (; n > 0; --n, ++p)
    if (static_cast<unsigned char>(*p) & 0x80u) return false;
  return true;
}

std::string Utf8ToCp932(std::string_view utf8) {
  std::string out;
  AppendUtf8AsCp932(utf8, out);
  return out;
}

std::string Cp932ToUtf8(std::string_view cp932) {
  std::string out;
  AppendCp932AsUtf8(cp932, out);
  return out;
}

}  // namespace talvor::platform
