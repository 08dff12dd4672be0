#include "core/total_format.h"

#include <charconv>
#include <cstdint>

namespace talvor {
namespace {

struct SignAndMagnitude {
  char sign;                // the sign column: ' ' or '-'
  std::uint64_t magnitude;  // 64 bits, so that -2147483648 has a true magnitude
};

SignAndMagnitude Split(Seconds total) {
  const auto wide = static_cast<std::int64_t>(total);
  if (wide < 0) return {'-', static_cast<std::uint64_t>(-wide)};
  return {' ', static_cast<std::uint64_t>(wide)};
}

void AppendGrouped(std::string& out, std::uint64_t magnitude) {
  char digits[24];
  const auto [last, ec] = std::to_chars(digits, digits + sizeof digits, magnitude);
  (void)ec;  // 24 bytes hold every 64-bit value
  const auto count = static_cast<int>(last - digits);
  for (int i = 0; i < count; ++i) {
    if (i > 0 && (count - i) % 3 == 0) out.push_back(',');
    out.push_back(digits[i]);
  }
}

void AppendNumber(std::string& out, std::uint64_t value, int minDigits) {
  char digits[24];
  const auto [last, ec] = std::to_chars(digits, digits + sizeof digits, value);
  (void)ec;
  for (auto n = static_cast<int>(last - digits); n < minDigits; ++n) out.push_back('0');
  out.append(digits, last);
}

}  // namespace

std::string FormatGroupedSeconds(Seconds value) {
  const auto [sign, magnitude] = Split(value);
  std::string out;
  if (sign == '-') out.push_back('-');
  AppendGrouped(out, magnitude);
  return out;
}

std::string FormatTotalSeconds(Seconds total) {
  const auto [sign, magnitude] = Split(total);
  std::string out(1, sign);
  AppendGrouped(out, magnitude);
  return out;
}

std::string FormatTotalMinSec(Seconds total) {
  const auto [sign, magnitude] = Split(total);
  std::string out(1, sign);
  AppendNumber(out, magnitude / 60, 1);
  out.push_back(':');
  AppendNumber(out, magnitude % 60, 2);
  return out;
}

std::string FormatTotalHourMinSec(Seconds total) {
  const auto [sign, magnitude] = Split(total);
  std::string out(1, sign);
  AppendNumber(out, magnitude / 3600, 1);
  out.push_back(':');
  AppendNumber(out, magnitude % 3600 / 60, 2);
  out.push_back(':');
  AppendNumber(out, magnitude % 60, 2);
  return out;
}

}  // namespace talvor
