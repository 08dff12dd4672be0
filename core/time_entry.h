// Reading one line of free text as a signed number of seconds.
//
// Responsible for: picking the first number out of a CP932 line, cutting it
// into seconds, minutes:seconds or hours:minutes:seconds fields and combining
// them with silent 32-bit wrapping. Not responsible for: trimming, keywords,
// or what a failed read means to the user (callers decide that).
#pragma once

#include <cstdint>
#include <string_view>

namespace talvor {

// A count of seconds. Sums and products wrap in two's complement.
using Seconds = std::int32_t;

enum : int { kParseRead = 0, kParseNotRead = -1 };

struct ParseResult {
  Seconds seconds = 0;
  int status = kParseRead;  // kParseRead or kParseNotRead; seconds is 0 when not read

  friend bool operator==(const ParseResult&, const ParseResult&) = default;
};

// Room of the collection: a run of collectable characters longer than this
// ends the scan after its first kMaxCollected characters.
inline constexpr int kMaxCollected = 255;

// The text ends at its first NUL byte, if it holds one.
ParseResult ParseTimeEntry(std::string_view text) noexcept;

}  // namespace talvor
