#include "core/sheet_sum.h"

#include <bit>
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

// The line feeds among the 64 bytes at p, one bit per byte.
std::uint64_t LineFeeds64(const unsigned char* p) {
  std::uint64_t feeds = 0;
  for (int i = 0; i < 8; ++i) {
    const std::uint64_t high = detail::BytesEqual(detail::Load8(p + 8 * i), '\n');
    // The eight high bits gathered into one byte.
    feeds |= (((high >> 7) * 0x0102040810204080ull) >> 56) << (8 * i);
  }
  return feeds;
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
  const auto* p = reinterpret_cast<const unsigned char*>(line.data());
  // Both keywords start with E; other lines skip the comparison.
  if (!line.empty() && (*p | 0x20) == 'e' && IsClosingKeyword(line)) m_closeRequested = true;
  const unsigned char* stop = nullptr;
  const ParseResult parsed = detail::ScanEntry(p, p + line.size(), stop);
  if (parsed.status != kParseRead) {
    m_failed = true;
    return false;
  }
  m_total += static_cast<std::uint32_t>(parsed.seconds);
  return true;
}

bool SheetSummer::AddText(std::string_view text) noexcept {
  const auto* const base = reinterpret_cast<const unsigned char*>(text.data());
  const auto* const end = base + text.size();
  const unsigned char* line = base;
  const auto addUpTo = [&](const unsigned char* lineEnd) {
    return Add(std::string_view(reinterpret_cast<const char*>(line),
                                static_cast<std::size_t>(lineEnd - line)));
  };
  // The line feeds of 64 bytes at a time, as a bit mask: where a line ends
  // is then known before it is read, so reading one line never waits for
  // the one before it to be read.
  std::size_t offset = 0;
  for (; text.size() - offset >= 64; offset += 64) {
    for (std::uint64_t feeds = LineFeeds64(base + offset); feeds; feeds &= feeds - 1) {
      const unsigned char* lf = base + offset + std::countr_zero(feeds);
      if (!addUpTo(lf)) return false;
      line = lf + 1;
    }
  }
  for (;;) {
    const auto* lf = static_cast<const unsigned char*>(
        line == end ? nullptr : std::memchr(line, '\n', static_cast<std::size_t>(end - line)));
    if (!addUpTo(lf ? lf : end)) return false;
    if (!lf) return true;
    line = lf + 1;
  }
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

SumOutcome SumSheetText(std::string_view text) {
  SheetSummer summer;
  summer.AddText(text);
  return summer.Outcome();
}

}  // namespace talvor
