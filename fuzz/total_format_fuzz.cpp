// Fuzzes the three total renderings over every class of 32-bit value: each
// text has its documented shape, carries the sign column of its total, and
// reads back through the entry parser as the same total.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <string>
#include <string_view>

#include "core/time_entry.h"
#include "core/total_format.h"

namespace {

using talvor::Seconds;

void Require(bool ok, const char* what, Seconds total, std::string_view text) {
  if (ok) return;
  std::fprintf(stderr, "property broken: %s\ntotal %d, text \"%.*s\"\n", what,
               static_cast<int>(total), static_cast<int>(text.size()), text.data());
  std::abort();
}

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

std::string WithoutCommas(std::string_view text) {
  std::string out;
  for (const char c : text)
    if (c != ',') out.push_back(c);
  return out;
}

// Digits with no leading zero (a lone 0 aside), read in 64 bits; -1 if not that shape.
std::int64_t PlainNumber(std::string_view digits) {
  if (digits.empty() || digits.size() > 18 || (digits.size() > 1 && digits[0] == '0')) return -1;
  std::int64_t value = 0;
  for (const char c : digits) {
    if (!IsDigit(c)) return -1;
    value = value * 10 + (c - '0');
  }
  return value;
}

// Exactly two digits below 60; -1 otherwise.
std::int64_t TwoDigitField(std::string_view digits) {
  if (digits.size() != 2 || !IsDigit(digits[0]) || !IsDigit(digits[1]) || digits[0] > '5')
    return -1;
  return (digits[0] - '0') * 10 + (digits[1] - '0');
}

// A grouped text: groups of three digits apart from the first, which has one to three.
bool IsGrouped(std::string_view text) {
  const std::size_t firstComma = text.find(',');
  const std::size_t head = firstComma == std::string_view::npos ? text.size() : firstComma;
  if (head < 1 || head > 3) return false;
  for (std::size_t i = head; i < text.size(); i += 4)
    if (text[i] != ',' || text.size() - i < 4) return false;
  return PlainNumber(WithoutCommas(text)) >= 0;
}

// The entry parser's reading of a text, negated when the sign column says so.
Seconds ParseFolded(char sign, std::string_view magnitudeText) {
  const talvor::ParseResult parsed = talvor::ParseTimeEntry(magnitudeText);
  if (parsed.status != talvor::kParseRead) return 0x5EEDBAD;
  const auto value = static_cast<std::uint32_t>(parsed.seconds);
  return static_cast<Seconds>(sign == '-' ? 0u - value : value);
}

void CheckTotal(Seconds total) {
  const std::int64_t wide = total;
  const std::int64_t magnitude = wide < 0 ? -wide : wide;
  const char sign = total < 0 ? '-' : ' ';

  const std::string grouped = talvor::FormatGroupedSeconds(total);
  const std::string_view groupedDigits = std::string_view(grouped).substr(total < 0 ? 1 : 0);
  Require(total >= 0 || grouped[0] == '-', "grouped text of a negative value has its minus", total,
          grouped);
  Require(IsGrouped(groupedDigits), "grouped text has the grouping shape", total, grouped);
  Require(WithoutCommas(grouped) == std::to_string(total), "grouped text is %d with commas", total,
          grouped);

  const std::string seconds = talvor::FormatTotalSeconds(total);
  const std::string minSec = talvor::FormatTotalMinSec(total);
  const std::string hourMinSec = talvor::FormatTotalHourMinSec(total);
  for (const std::string* text : {&seconds, &minSec, &hourMinSec})
    Require(!text->empty() && (*text)[0] == sign, "sign column", total, *text);

  // Seconds: sign column and the grouped magnitude.
  const std::string_view secondsRest = std::string_view(seconds).substr(1);
  Require(IsGrouped(secondsRest), "seconds text shape", total, seconds);
  Require(PlainNumber(WithoutCommas(secondsRest)) == magnitude, "seconds text magnitude", total,
          seconds);
  std::string folded = WithoutCommas(seconds);
  if (sign == ' ') folded.erase(0, 1);
  if (total != std::numeric_limits<Seconds>::min()) {
    Require(talvor::ParseTimeEntry(folded) == talvor::ParseResult{total, 0},
            "seconds text reads back", total, seconds);
    Require(talvor::ParseTimeEntry(seconds) == talvor::ParseResult{total, 0},
            "seconds text with its commas reads back", total, seconds);
  } else {
    Require(folded == "-2147483648", "the most negative total's seconds text", total, seconds);
  }

  // Minutes: sign column, whole minutes, two-digit seconds.
  const std::string_view minSecRest = std::string_view(minSec).substr(1);
  const std::size_t colon = minSecRest.find(':');
  Require(colon != std::string_view::npos, "minutes text has a colon", total, minSec);
  const std::int64_t minutes = PlainNumber(minSecRest.substr(0, colon));
  const std::int64_t minSecs = TwoDigitField(minSecRest.substr(colon + 1));
  Require(minutes >= 0 && minSecs >= 0, "minutes text shape", total, minSec);
  Require(minutes * 60 + minSecs == magnitude, "minutes text magnitude", total, minSec);
  Require(ParseFolded(sign, minSecRest) == total, "minutes text reads back", total, minSec);

  // Hours: sign column, whole hours, two-digit minutes and seconds.
  const std::string_view hmsRest = std::string_view(hourMinSec).substr(1);
  const std::size_t c1 = hmsRest.find(':');
  const std::size_t c2 = c1 == std::string_view::npos ? c1 : hmsRest.find(':', c1 + 1);
  Require(c2 != std::string_view::npos, "hours text has two colons", total, hourMinSec);
  const std::int64_t hours = PlainNumber(hmsRest.substr(0, c1));
  const std::int64_t hmsMinutes = TwoDigitField(hmsRest.substr(c1 + 1, c2 - c1 - 1));
  const std::int64_t hmsSeconds = TwoDigitField(hmsRest.substr(c2 + 1));
  Require(hours >= 0 && hmsMinutes >= 0 && hmsSeconds >= 0, "hours text shape", total, hourMinSec);
  Require(hours * 3600 + hmsMinutes * 60 + hmsSeconds == magnitude, "hours text magnitude", total,
          hourMinSec);
  Require(ParseFolded(sign, hmsRest) == total, "hours text reads back", total, hourMinSec);
}

// The first byte picks a class of values whose texts change shape at their
// edges; the next four give the offset within the class.
Seconds PickTotal(const std::uint8_t* data, std::size_t size) {
  std::uint32_t raw = 0;
  std::memcpy(&raw, data + 1, size - 1 < 4 ? size - 1 : 4);
  const auto small = static_cast<std::int32_t>(static_cast<std::int8_t>(raw & 0xFF));
  const std::uint32_t count = raw >> 8;
  static constexpr std::int64_t kPowers[] = {1,      10,      100,      1000,      10000,
                                             100000, 1000000, 10000000, 100000000, 1000000000};
  std::int64_t value = 0;
  switch (data[0] % 8) {
    case 0:
      value = static_cast<std::int32_t>(raw);
      break;
    case 1:
      value = small;
      break;
    case 2:
      value = static_cast<std::int64_t>(count % 71582789) * 60 * (raw & 1 ? -1 : 1) + small % 3;
      break;
    case 3:
      value = static_cast<std::int64_t>(count % 596524) * 3600 * (raw & 1 ? -1 : 1) + small % 3;
      break;
    case 4:
      value = std::numeric_limits<Seconds>::max() - (count % 7200);
      break;
    case 5:
      value = std::numeric_limits<Seconds>::min() + (count % 7200);
      break;
    case 6:
      value = kPowers[count % 10] * (raw & 1 ? -1 : 1) + small % 3;
      break;
    default:
      value = static_cast<std::int64_t>(count % 2147484) * 1000 * (raw & 1 ? -1 : 1) + small % 2;
      break;
  }
  return static_cast<Seconds>(static_cast<std::uint32_t>(value));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 1) return 0;
  CheckTotal(PickTotal(data, size));
  return 0;
}
