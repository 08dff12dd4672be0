#include "core/time_entry.h"

#include <array>

namespace talvor {
namespace {

enum ByteClass : std::uint8_t { kOther, kDigit, kMinus, kSeparator, kLead, kComma };

constexpr std::array<std::uint8_t, 256> MakeClassTable() {
  std::array<std::uint8_t, 256> table{};
  for (int b = 0; b < 256; ++b) {
    std::uint8_t c = kOther;
    if (b >= '0' && b <= '9')
      c = kDigit;
    else if (b == '-')
      c = kMinus;
    else if (b == '.' || b == ':')
      c = kSeparator;
    else if (b == ',')
      c = kComma;
    // A fixed range, not the code page's lead-byte table: 0x80 and 0xFD..0xFF count too.
    else if ((b >= 0x80 && b <= 0x9F) || b >= 0xE0)
      c = kLead;
    table[static_cast<std::size_t>(b)] = c;
  }
  return table;
}

constexpr std::array<std::uint8_t, 256> kClass = MakeClassTable();

// One field of the collection, read as it streams in: an optional leading
// minus, then digits up to the first non-digit; the rest of the field is ignored.
struct FieldReader {
  enum State : std::uint8_t { kStart, kAfterMinus, kDigits, kDone };
  State state = kStart;
  bool negative = false;
  std::uint32_t value = 0;  // unsigned, so that wrapping is defined

  void Take(std::uint8_t cls, unsigned char byte) {
    switch (state) {
      case kStart:
        if (cls == kMinus) {
          negative = true;
          state = kAfterMinus;
        } else {
          value = static_cast<std::uint32_t>(byte - '0');
          state = kDigits;
        }
        break;
      case kAfterMinus:
      case kDigits:
        if (cls == kDigit) {
          value = value * 10u + static_cast<std::uint32_t>(byte - '0');
          state = kDigits;
        } else {
          state = kDone;
        }
        break;
      case kDone:
        break;
    }
  }

  std::uint32_t Value() const { return negative ? 0u - value : value; }
};

}  // namespace

ParseResult ParseTimeEntry(std::string_view text) noexcept {
  const auto* p = reinterpret_cast<const unsigned char*>(text.data());
  const auto* const end = p + text.size();

  // Pass over everything before the first collectable byte; a lead byte takes
  // the byte after it along, whatever that byte is.
  for (;;) {
    if (p == end || *p == 0) return {};
    const std::uint8_t cls = kClass[*p];
    if (cls == kDigit || cls == kMinus || cls == kSeparator) break;
    if (cls == kLead) {
      if (end - p < 2 || p[1] == 0) return {};  // a lead byte in last place ends the text
      p += 2;
    } else {
      ++p;
    }
  }

  if (kClass[*p] == kSeparator) return {0, kParseNotRead};

  std::array<std::uint32_t, 3> fields{};
  int field = 0;
  int collected = 0;
  FieldReader reader;
  for (; p != end && collected < kMaxCollected; ++p) {
    const unsigned char byte = *p;
    const std::uint8_t cls = kClass[byte];
    if (cls == kComma) continue;
    if (cls != kDigit && cls != kMinus && cls != kSeparator) break;  // other, lead byte or NUL
    ++collected;
    if (cls == kSeparator) {
      fields[static_cast<std::size_t>(field)] = reader.Value();
      if (++field == 3) return {0, kParseNotRead};
      reader = FieldReader{};
    } else {
      reader.Take(cls, byte);
    }
  }
  fields[static_cast<std::size_t>(field)] = reader.Value();

  std::uint32_t total = 0;
  for (int i = 0; i <= field; ++i) total = total * 60u + fields[static_cast<std::size_t>(i)];
  return {static_cast<Seconds>(total), kParseRead};
}

}  // namespace talvor
