// Rendering a total of seconds as the texts the result fields show.
//
// Responsible for: grouped seconds, minutes:seconds and hours:minutes:seconds,
// each behind a one-character sign column (" " or "-"). Pure functions; every
// 32-bit value has its texts, -2147483648 included (its magnitude is taken in
// 64 bits). Not responsible for: "Error", which belongs to the callers.
#pragma once

#include <string>

#include "core/time_entry.h"

namespace talvor {

// Decimal digits with a comma between groups of three; a minus sign for a
// negative value and no sign column: -1234 gives "-1,234".
std::string FormatGroupedSeconds(Seconds value);

// Sign column and grouped magnitude: 3725 gives " 3,725", -90 gives "-90".
std::string FormatTotalSeconds(Seconds total);

// Sign column, whole minutes and two-digit seconds: 3725 gives " 62:05".
std::string FormatTotalMinSec(Seconds total);

// Sign column, hours, two-digit minutes and seconds: 3725 gives " 1:02:05".
std::string FormatTotalHourMinSec(Seconds total);

}  // namespace talvor
