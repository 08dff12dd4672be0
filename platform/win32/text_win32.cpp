// CP932 conversion over MultiByteToWideChar/WideCharToMultiByte with code
// page 932 named explicitly, so the result is the same under every ANSI code
// page. ASCII runs are copied as they are; only the rest meets the API.
//
// The UTF-8 side is decoded here rather than by the API, so that one bad or
// unmappable character gives exactly one "?" (the API would give two for a
// character outside the BMP, and map some characters to a look-alike).
#include <cstdint>
#include <string>

#include "platform/text.h"
#include "platform/win32/wide.h"

#include "platform/win32/win32_api.h"

namespace talvor::platform {
namespace {

constexpr UINT kCp932 = 932;

bool IsAsciiByte(char c) {
  return !(static_cast<unsigned char>(c) & 0x80u);
}

// Decodes the UTF-8 character at p. Returns its length in bytes and sets cp,
// or, for a broken or overlong sequence or a surrogate, returns the bytes it
// covers (at least 1) and sets cp to -1.
std::size_t DecodeUtf8(const unsigned char* p, std::size_t n, std::int32_t& cp) {
  const unsigned char b = p[0];
  std::size_t len = 1;
  std::int32_t value = -1;
  std::int32_t min = 0;
  if (b >= 0xC2 && b <= 0xDF) {
    len = 2, value = b & 0x1F, min = 0x80;
  } else if (b >= 0xE0 && b <= 0xEF) {
    len = 3, value = b & 0x0F, min = 0x800;
  } else if (b >= 0xF0 && b <= 0xF4) {
    len = 4, value = b & 0x07, min = 0x10000;
  }
  std::size_t i = 1;
  while (i < len && i < n && (p[i] & 0xC0) == 0x80) {
    value = (value << 6) | (p[i] & 0x3F);
    ++i;
  }
  const bool whole = len > 1 && i == len;
  const bool valid =
      whole && value >= min && value <= 0x10FFFF && !(value >= 0xD800 && value <= 0xDFFF);
  cp = valid ? value : -1;
  return i;
}

void AppendUtf8(std::uint32_t cp, std::string& out) {
  if (cp < 0x80) {
    out.push_back(static_cast<char>(cp));
  } else if (cp < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  }
}

// Converts BMP characters, none of them a surrogate, to CP932; what the code
// page lacks becomes "?", one per character.
void AppendWideAsCp932(const std::wstring& wide, std::string& out) {
  if (wide.empty()) return;
  const int n = static_cast<int>(wide.size());
  const int size =
      WideCharToMultiByte(kCp932, WC_NO_BEST_FIT_CHARS, wide.data(), n, nullptr, 0, "?", nullptr);
  const std::size_t at = out.size();
  out.resize(at + static_cast<std::size_t>(size));
  WideCharToMultiByte(kCp932, WC_NO_BEST_FIT_CHARS, wide.data(), n, out.data() + at, size, "?",
                      nullptr);
}

bool IsLeadByte(unsigned char b) {
  return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}

}  // namespace

void AppendUtf8AsCp932(std::string_view utf8, std::string& out) {
  const auto* p = reinterpret_cast<const unsigned char*>(utf8.data());
  const auto* const end = p + utf8.size();
  std::wstring wide;
  while (p < end) {
    const auto* run = p;
    while (p < end && IsAsciiByte(static_cast<char>(*p))) ++p;
    out.append(reinterpret_cast<const char*>(run), static_cast<std::size_t>(p - run));
    wide.clear();
    while (p < end && !IsAsciiByte(static_cast<char>(*p))) {
      std::int32_t cp;
      p += DecodeUtf8(p, static_cast<std::size_t>(end - p), cp);
      if (cp >= 0 && cp <= 0xFFFF) {
        wide.push_back(static_cast<wchar_t>(cp));
      } else {
        // Broken, or beyond the BMP, where CP932 has nothing.
        AppendWideAsCp932(wide, out);
        wide.clear();
        out.push_back('?');
      }
    }
    AppendWideAsCp932(wide, out);
  }
}

void AppendCp932AsUtf8(std::string_view cp932, std::string& out) {
  const auto* p = reinterpret_cast<const unsigned char*>(cp932.data());
  const auto* const end = p + cp932.size();
  while (p < end) {
    if (*p < 0x80) {
      out.push_back(static_cast<char>(*p++));
      continue;
    }
    // One character at a time: a trail byte may be ASCII, and a byte pair
    // without meaning must cost only its first byte.
    const int length = (IsLeadByte(*p) && end - p >= 2) ? 2 : 1;
    // Windows' table gives the unused single bytes (0x80, 0xA0, 0xFD-0xFF)
    // private-use characters; they have no meaning in text.
    const bool singleOk = length == 2 || (*p >= 0xA1 && *p <= 0xDF);
    wchar_t wide[2];
    const int got = singleOk
                        ? MultiByteToWideChar(kCp932, MB_ERR_INVALID_CHARS,
                                              reinterpret_cast<const char*>(p), length, wide, 2)
                        : 0;
    if (got == 1) {
      AppendUtf8(wide[0], out);
      p += length;
    } else {
      out += "\xEF\xBF\xBD";
      ++p;
    }
  }
}

namespace win32 {

std::wstring Wide(std::string_view utf8) {
  if (utf8.empty()) return {};
  const int n = static_cast<int>(utf8.size());
  const int size = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), n, nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(size), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, utf8.data(), n, wide.data(), size);
  return wide;
}

std::string Narrow(std::wstring_view wide) {
  if (wide.empty()) return {};
  const int n = static_cast<int>(wide.size());
  const int size = WideCharToMultiByte(CP_UTF8, 0, wide.data(), n, nullptr, 0, nullptr, nullptr);
  std::string utf8(static_cast<std::size_t>(size), '\0');
  WideCharToMultiByte(CP_UTF8, 0, wide.data(), n, utf8.data(), size, nullptr, nullptr);
  return utf8;
}

}  // namespace win32
}  // namespace talvor::platform
