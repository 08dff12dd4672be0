#include "core/sheet_sum.h"

#include <cstring>

#include "core/total_format.h"

namespace talvor {
namespace {

constexpr char Upper(char c) {
  return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c;
}

bool EqualsUpper(std::string_view line, std::string_view word) {
  if (line.size() != word.size()) return false;
  for (std::size_t i = 0; i < line.size(); ++i)
    if (Upper(line[i]) != word[i]) return false;
  return true;
}

template <typename Lines>
SumOutcome SumLines(const Lines& lines) {
  SheetSummer summer;
  for (const auto& line : lines)
    if (!summer.Add(line)) break;
  return summer.Outcome();
}

}  // namespace

bool IsClosingKeyword(std::string_view line) noexcept {
  if (const auto nul = line.find('\0'); nul != std::string_view::npos) line = line.substr(0, nul);
  return EqualsUpper(line, "EXIT") || EqualsUpper(line, "END");
}

bool SheetSummer::Add(std::string_view line) noexcept {
  if (m_failed) return false;
  // Only a text of three or four bytes before any NUL can be a keyword.
  const bool shortText = line.size() <= 4 || line[3] == '\0' || line[4] == '\0';
  if (shortText && IsClosingKeyword(line)) m_closeRequested = true;
  const ParseResult parsed = ParseTimeEntry(line);
  if (parsed.status != kParseRead) {
    m_failed = true;
    return false;
  }
  m_total += static_cast<std::uint32_t>(parsed.seconds);
  return true;
}

SumOutcome SheetSummer::Outcome() const {
  SumOutcome outcome;
  outcome.CloseRequested = m_closeRequested;
  outcome.Failed = m_failed;
  if (m_failed) {
    outcome.SecondsText = outcome.MinSecText = outcome.HourMinSecText = std::string(kErrorText);
  } else {
    const Seconds total = Total();
    outcome.SecondsText = FormatTotalSeconds(total);
    outcome.MinSecText = FormatTotalMinSec(total);
    outcome.HourMinSecText = FormatTotalHourMinSec(total);
  }
  return outcome;
}

SumOutcome SumSheet(std::span<const std::string> lines) {
  return SumLines(lines);
}
SumOutcome SumSheet(std::span<const std::string_view> lines) {
  return SumLines(lines);
}

SumOutcome SumSheetText(std::string_view text) {
  SheetSummer summer;
  if (text.empty()) {
    summer.Add(text);
    return summer.Outcome();
  }
  const char* p = text.data();
  const char* const end = p + text.size();
  for (;;) {
    const auto* nl =
        static_cast<const char*>(std::memchr(p, '\n', static_cast<std::size_t>(end - p)));
    const char* lineEnd = nl ? nl : end;
    if (!summer.Add(std::string_view(p, static_cast<std::size_t>(lineEnd - p))) || !nl) break;
    p = nl + 1;
  }
  return summer.Outcome();
}

}  // namespace talvor
