// Fuzzes the UTF-8 <-> CP932 seam on arbitrary bytes, read both as UTF-8
// and as CP932.
//
// Checked: ASCII passes through unchanged; output is well formed (UTF-8
// from Cp932ToUtf8, decodable CP932 from Utf8ToCp932); CP932 that the
// encoder produced survives a trip through UTF-8 unchanged; NUL bytes are
// neither made nor lost; the Append forms keep what the buffer held.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "platform/text.h"

namespace {

namespace text = talvor::platform;

void Require(bool ok, const char* what, std::string_view input) {
  if (ok) return;
  std::fprintf(stderr, "property broken: %s\ninput (%zu bytes):", what, input.size());
  for (unsigned char c : input.substr(0, 200)) std::fprintf(stderr, " %02X", c);
  std::fprintf(stderr, "\n");
  std::abort();
}

// Strict UTF-8: no overlong forms, no surrogates, nothing above U+10FFFF.
bool IsWellFormedUtf8(std::string_view s) {
  std::size_t i = 0;
  while (i < s.size()) {
    const auto b = static_cast<unsigned char>(s[i]);
    std::size_t len = 0;
    unsigned char lo = 0x80, hi = 0xBF;
    if (b < 0x80) {
      ++i;
      continue;
    } else if (b >= 0xC2 && b <= 0xDF) {
      len = 2;
    } else if (b >= 0xE0 && b <= 0xEF) {
      len = 3;
      if (b == 0xE0) lo = 0xA0;
      if (b == 0xED) hi = 0x9F;
    } else if (b >= 0xF0 && b <= 0xF4) {
      len = 4;
      if (b == 0xF0) lo = 0x90;
      if (b == 0xF4) hi = 0x8F;
    } else {
      return false;
    }
    if (s.size() - i < len) return false;
    for (std::size_t k = 1; k < len; ++k) {
      const auto c = static_cast<unsigned char>(s[i + k]);
      if (c < (k == 1 ? lo : 0x80) || c > (k == 1 ? hi : 0xBF)) return false;
    }
    i += len;
  }
  return true;
}

std::size_t CountNul(std::string_view s) {
  std::size_t n = 0;
  for (const char c : s) n += c == '\0';
  return n;
}

std::size_t AsciiPrefix(std::string_view s) {
  std::size_t i = 0;
  while (i < s.size() && !(static_cast<unsigned char>(s[i]) & 0x80u)) ++i;
  return i;
}

std::size_t CountCodePoints(std::string_view utf8) {
  std::size_t n = 0;
  for (const char c : utf8) n += (static_cast<unsigned char>(c) & 0xC0u) != 0x80u;
  return n;
}

// Characters of CP932 text: a lead byte takes the byte after it along.
std::size_t CountCp932Characters(std::string_view cp932) {
  std::size_t n = 0;
  for (std::size_t i = 0; i < cp932.size(); ++n) {
    const auto b = static_cast<unsigned char>(cp932[i]);
    const bool lead = (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
    i += lead && i + 1 < cp932.size() ? 2 : 1;
  }
  return n;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);

  const std::string asCp932 = text::Utf8ToCp932(input);
  const std::string asUtf8 = text::Cp932ToUtf8(input);

  if (text::IsAscii(input)) {
    Require(asCp932 == input, "ASCII passes to CP932 unchanged", input);
    Require(asUtf8 == input, "ASCII passes to UTF-8 unchanged", input);
  }
  const std::size_t prefix = AsciiPrefix(input);
  Require(asCp932.compare(0, prefix, input.substr(0, prefix)) == 0, "leading ASCII kept in CP932",
          input);
  Require(asUtf8.compare(0, prefix, input.substr(0, prefix)) == 0, "leading ASCII kept in UTF-8",
          input);

  Require(CountNul(asCp932) == CountNul(input), "NUL bytes kept going to CP932", input);
  Require(CountNul(asUtf8) == CountNul(input), "NUL bytes kept going to UTF-8", input);

  Require(IsWellFormedUtf8(asUtf8), "Cp932ToUtf8 gives well-formed UTF-8", input);
  // One character for one character: a stand-in never swallows a neighbour.
  if (IsWellFormedUtf8(input))
    Require(CountCp932Characters(asCp932) == CountCodePoints(input),
            "each UTF-8 character becomes one CP932 character", input);
  Require(CountCodePoints(asUtf8) >= CountCp932Characters(input) &&
              CountCodePoints(asUtf8) <= input.size(),
          "each CP932 character becomes one or, when broken, two UTF-8 characters", input);
  // Encoder output is well-formed CP932, whatever the input: it decodes
  // without a stand-in and encodes back to itself.
  const std::string back = text::Cp932ToUtf8(asCp932);
  Require(back.find("\xEF\xBF\xBD") == std::string::npos, "encoder output decodes cleanly", input);
  Require(text::Utf8ToCp932(back) == asCp932, "CP932 round trip through UTF-8", input);
  // Whatever CP932 decodes to encodes and decodes again to the same UTF-8.
  const std::string reencoded = text::Utf8ToCp932(asUtf8);
  if (asUtf8.find("\xEF\xBF\xBD") == std::string::npos)
    Require(text::Cp932ToUtf8(reencoded) == asUtf8, "decoded CP932 survives a round trip", input);

  std::string buffer = "kept";
  text::AppendUtf8AsCp932(input, buffer);
  Require(buffer == "kept" + asCp932, "AppendUtf8AsCp932 appends", input);
  buffer = "kept";
  text::AppendCp932AsUtf8(input, buffer);
  Require(buffer == "kept" + asUtf8, "AppendCp932AsUtf8 appends", input);
  return 0;
}
