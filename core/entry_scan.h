// The scan behind ParseTimeEntry, shared with the sheet summation so that
// it is inlined where a whole sheet is read. Internal to core/.
#pragma once

#include <array>
#include <bit>
#include <cstdint>
#include <cstring>

#include "core/time_entry.h"

namespace talvor::detail {

enum ByteClass : std::uint8_t { kOther, kDigit, kMinus, kSeparator, kLead, kComma, kEnd };

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
    else if (b == 0)
      c = kEnd;
    // A fixed range, not the code page's lead-byte table: 0x80 and 0xFD..0xFF count too.
    else if ((b >= 0x80 && b <= 0x9F) || b >= 0xE0)
      c = kLead;
    table[static_cast<std::size_t>(b)] = c;
  }
  return table;
}

inline constexpr std::array<std::uint8_t, 256> kClassTable = MakeClassTable();

// Eight bytes at a time, for the two hot loops. Every test below is exact
// per byte: no carry or borrow crosses from one byte into the next before
// the first byte that matters.
inline constexpr std::uint64_t kOnes = 0x0101010101010101ull;
inline constexpr std::uint64_t kHigh = 0x8080808080808080ull;

inline std::uint64_t Load8(const unsigned char* p) {
  std::uint64_t word;
  std::memcpy(&word, p, 8);
  if constexpr (std::endian::native == std::endian::big) word = __builtin_bswap64(word);
  return word;
}

// High bit set in each byte that equals b.
inline std::uint64_t BytesEqual(std::uint64_t word, unsigned char b) {
  const std::uint64_t x = word ^ (kOnes * b);
  return ~(((x & ~kHigh) + ~kHigh) | x) & kHigh;
}

// High bit set in each byte that could matter before a number: a
// collectable byte, a comma, a NUL or any byte from 0x80 up. The range
// 0x2C..0x3A takes in "/" too, which the slow path passes over like any
// other byte.
inline std::uint64_t InterestingBytes(std::uint64_t word) {
  const std::uint64_t low = word & ~kHigh;
  const std::uint64_t atLeast2C = (low + kOnes * (0x80 - 0x2C)) & kHigh;
  const std::uint64_t atLeast3B = (low + kOnes * (0x80 - 0x3B)) & kHigh;
  return (atLeast2C & ~atLeast3B & ~word) | (word & kHigh) | BytesEqual(word, 0);
}

// The number of leading ASCII digits in the word (0 to 8).
inline int LeadingDigits(std::uint64_t word) {
  const std::uint64_t nonDigit = ((word - kOnes * '0') | (word + kOnes * 0x46)) & kHigh;
  return nonDigit ? std::countr_zero(nonDigit) / 8 : 8;
}

// The value of the first n (1 to 8) bytes of the word, all digits.
inline std::uint32_t DigitsValue(std::uint64_t word, int n) {
  std::uint64_t v = (word - kOnes * '0') << (8 * (8 - n));  // leading zeros fill the gap
  v = (v * 10) + (v >> 8);
  v = (((v & 0x000000FF000000FFull) * (100 + (1000000ull << 32))) +
       (((v >> 16) & 0x000000FF000000FFull) * (1 + (10000ull << 32)))) >>
      32;
  return static_cast<std::uint32_t>(v);
}

inline constexpr std::uint32_t kPowersOf10[9] = {1,      10,      100,      1000,     10000,
                                                 100000, 1000000, 10000000, 100000000};

// Reads the entry in [p, end), which also ends at a NUL. stop receives
// where the scan ended: at most end, and never past the NUL.
inline ParseResult ScanEntry(const unsigned char* p, const unsigned char* end,
                             const unsigned char*& stop) noexcept {
  const auto& cls = kClassTable;

  // Everything before the first collectable byte is passed over; a lead
  // byte takes the byte after it along, whatever that byte is.
  for (;;) {
    while (end - p >= 8) {
      const std::uint64_t mask = InterestingBytes(Load8(p));
      if (mask) {
        p += std::countr_zero(mask) / 8;
        break;
      }
      p += 8;
    }
    if (p == end) {
      stop = p;
      return {};
    }
    const std::uint8_t c = cls[*p];
    if (c >= kDigit && c <= kSeparator) break;
    if (c == kEnd) {
      stop = p;
      return {};
    }
    if (c == kLead) {
      if (end - p < 2 || cls[p[1]] == kEnd) {  // a lead byte in last place ends the text
        stop = p + 1;
        return {};
      }
      p += 2;
    } else {
      ++p;
    }
  }
  if (cls[*p] == kSeparator) {
    stop = p;
    return {0, kParseNotRead};
  }

  // The collection, read field by field as it streams in: an optional
  // leading minus, then digits up to the first non-digit; the rest of a
  // field is ignored. Unsigned arithmetic, so that wrapping is defined.
  std::uint32_t total = 0;  // the fields closed so far, combined
  std::uint32_t value = 0;
  int fields = 1;
  int collected = 0;
  bool negative = false;
  enum : std::uint8_t { kStart, kAfterMinus, kDigits, kDone } state = kStart;
  for (; p != end && collected < kMaxCollected; ++p) {
    // A run of digits at once, while the whole word and its digits fit.
    if (state != kDone && end - p >= 8 && collected <= kMaxCollected - 8) {
      const std::uint64_t word = Load8(p);
      if (const int n = LeadingDigits(word); n > 0) {
        value = value * kPowersOf10[n] + DigitsValue(word, n);
        state = kDigits;
        collected += n;
        p += n - 1;
        continue;
      }
    }
    const std::uint8_t c = cls[*p];
    if (c == kDigit) {
      if (state != kDone) {
        value = value * 10u + static_cast<std::uint32_t>(*p - '0');
        state = kDigits;
      }
    } else if (c == kMinus) {
      if (state == kStart) {
        negative = true;
        state = kAfterMinus;
      } else {
        state = kDone;
      }
    } else if (c == kSeparator) {
      if (++fields > 3) {
        stop = p;
        return {0, kParseNotRead};
      }
      total = total * 60u + (negative ? 0u - value : value);
      value = 0;
      negative = false;
      state = kStart;
    } else if (c == kComma) {
      continue;  // passed over, and not counted
    } else {
      break;  // any other byte, a lead byte or the end of the text
    }
    ++collected;
  }
  stop = p;
  total = total * 60u + (negative ? 0u - value : value);
  return {static_cast<Seconds>(total), kParseRead};
}

}  // namespace talvor::detail
