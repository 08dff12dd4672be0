#include "core/sheet_sum.h"

#include <cstring>

#include "core/entry_scan.h"
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

// The line starting at p (ending at a LF, a NUL or the end) is EXIT or END.
bool KeywordAt(const unsigned char* p, const unsigned char* end) {
  const auto avail = static_cast<std::size_t>(end - p);
  const auto endsAt = [&](std::size_t i) { return i == avail || p[i] == '\n' || p[i] == 0; };
  const auto is = [&](std::size_t i, char upper) {
    return (p[i] & 0xDFu) == static_cast<unsigned>(upper);
  };
  if (avail >= 3 && is(0, 'E') && is(1, 'N') && is(2, 'D') && endsAt(3)) return true;
  return avail >= 4 && is(0, 'E') && is(1, 'X') && is(2, 'I') && is(3, 'T') && endsAt(4);
}

SumOutcome MakeOutcome(Seconds total, bool failed, bool closeRequested) {
  SumOutcome outcome;
  outcome.CloseRequested = closeRequested;
  outcome.Failed = failed;
  if (failed) {
    outcome.SecondsText = outcome.MinSecText = outcome.HourMinSecText = std::string(kErrorText);
  } else {
    outcome.SecondsText = FormatTotalSeconds(total);
    outcome.MinSecText = FormatTotalMinSec(total);
    outcome.HourMinSecText = FormatTotalHourMinSec(total);
  }
  return outcome;
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
  return MakeOutcome(Total(), m_failed, m_closeRequested);
}

SumOutcome SumSheet(std::span<const std::string> lines) {
  return SumLines(lines);
}
SumOutcome SumSheet(std::span<const std::string_view> lines) {
  return SumLines(lines);
}

bool SheetSummer::AddText(std::string_view text) noexcept {
  if (m_failed) return false;
  // One pass over the text: each line is scanned where it stands, and only
  // the part of a line after its number is searched for the line feed.
  const auto* p = reinterpret_cast<const unsigned char*>(text.data());
  const auto* const end = p + text.size();
  for (;;) {
    if (p != end && (*p | 0x20) == 'e' && KeywordAt(p, end)) m_closeRequested = true;
    const unsigned char* stop = nullptr;
    const ParseResult parsed = detail::ScanEntry<true>(p, end, stop);
    if (parsed.status != kParseRead) {
      m_failed = true;
      return false;
    }
    m_total += static_cast<std::uint32_t>(parsed.seconds);
    if (stop != end && *stop == '\n') {
      p = stop + 1;
      continue;
    }
    const void* nl =
        stop == end ? nullptr : std::memchr(stop, '\n', static_cast<std::size_t>(end - stop));
    if (!nl) return true;
    p = static_cast<const unsigned char*>(nl) + 1;
  }
}

SumOutcome SumSheetText(std::string_view text) {
  SheetSummer summer;
  summer.AddText(text);
  return summer.Outcome();
}

}  // namespace talvor
