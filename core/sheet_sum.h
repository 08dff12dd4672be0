// Adding up a sheet: every line read as a duration, the closing keywords
// noted, the total rendered three ways.
//
// Responsible for: the rules of one Add run (stop at the first line that
// cannot be read, wrap silently, EXIT/END as close requests). Not responsible
// for: where the lines come from or where the texts go; it touches no window.
#pragma once

#include <span>
#include <string>
#include <string_view>

#include "core/time_entry.h"

namespace talvor {

struct SumOutcome {
  bool CloseRequested = false;  // a line examined was EXIT or END (any case)
  bool Failed = false;          // a line was not read; the run stopped there
  std::string SecondsText;      // FormatTotalSeconds of the total, or "Error"
  std::string MinSecText;       // FormatTotalMinSec of the total, or "Error"
  std::string HourMinSecText;   // FormatTotalHourMinSec of the total, or "Error"
};

inline constexpr std::string_view kErrorText = "Error";

// The whole line, compared without regard to the case of a..z, is EXIT or END.
bool IsClosingKeyword(std::string_view line) noexcept;

// One Add run fed line by line, so that a sheet of any size can be summed
// without holding it. Add returns false once the run has failed; lines given
// after that are not examined.
class SheetSummer {
 public:
  bool Add(std::string_view line) noexcept;
  // Every line of an LF-separated text, as Add would take them one by one,
  // in a single pass.
  bool AddText(std::string_view text) noexcept;
  bool Failed() const noexcept { return m_failed; }
  bool CloseRequested() const noexcept { return m_closeRequested; }
  Seconds Total() const noexcept { return static_cast<Seconds>(m_total); }
  SumOutcome Outcome() const;

 private:
  std::uint32_t m_total = 0;
  bool m_failed = false;
  bool m_closeRequested = false;
};

SumOutcome SumSheet(std::span<const std::string> lines);
SumOutcome SumSheet(std::span<const std::string_view> lines);

// The sheet as one text whose lines are separated by LF.
SumOutcome SumSheetText(std::string_view text);

}  // namespace talvor
