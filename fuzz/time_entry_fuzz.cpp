// Fuzzes the entry parser and the sheet summation against the rules they
// must keep, on arbitrary bytes.
//
// The parser is compared with a deliberately plain second reading of the
// same rules (collect, split, convert, combine as separate steps), and the
// summation with a sum built from single parses. Any difference aborts.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "core/sheet_sum.h"
#include "core/time_entry.h"
#include "core/total_format.h"

namespace {

using talvor::ParseResult;
using talvor::Seconds;

void Require(bool ok, const char* what, std::string_view input) {
  if (ok) return;
  std::fprintf(stderr, "property broken: %s\ninput (%zu bytes):", what, input.size());
  for (unsigned char c : input.substr(0, 200)) std::fprintf(stderr, " %02X", c);
  std::fprintf(stderr, "\n");
  std::abort();
}

bool IsCollectable(unsigned char b) {
  return (b >= '0' && b <= '9') || b == '-' || b == '.' || b == ':';
}
bool IsLead(unsigned char b) {
  return (b >= 0x80 && b <= 0x9F) || b >= 0xE0;
}
bool IsSeparator(char c) {
  return c == '.' || c == ':';
}

// What the scan saw: the collection, where it began, and the positions
// before the collection at which a new character starts.
struct Scan {
  std::string collection;
  std::size_t first = std::string::npos;  // index of the first collected byte
  std::vector<std::size_t> boundaries;    // character starts before `first`
};

Scan ScanText(std::string_view text) {
  Scan scan;
  std::size_t i = 0;
  while (i < text.size()) {
    const auto b = static_cast<unsigned char>(text[i]);
    if (scan.collection.empty()) scan.boundaries.push_back(i);
    if (IsCollectable(b)) {
      if (scan.collection.size() == static_cast<std::size_t>(talvor::kMaxCollected)) break;
      if (scan.collection.empty()) scan.first = i;
      scan.collection.push_back(static_cast<char>(b));
      ++i;
    } else if (IsLead(b)) {
      if (!scan.collection.empty()) break;
      i += 2;
    } else if (scan.collection.empty() || b == ',') {
      ++i;
    } else {
      break;
    }
  }
  return scan;
}

std::uint32_t FieldValue(std::string_view field) {
  std::size_t i = 0;
  bool negative = false;
  if (i < field.size() && field[i] == '-') {
    negative = true;
    ++i;
  }
  std::uint32_t value = 0;
  for (; i < field.size() && field[i] >= '0' && field[i] <= '9'; ++i)
    value = value * 10u + static_cast<std::uint32_t>(field[i] - '0');
  return negative ? 0u - value : value;
}

ParseResult ReferenceParse(std::string_view text) {
  text = text.substr(0, text.find('\0'));
  const std::string collection = ScanText(text).collection;
  if (collection.empty()) return {0, talvor::kParseRead};
  if (IsSeparator(collection[0])) return {0, talvor::kParseNotRead};
  std::vector<std::string_view> fields;
  std::size_t start = 0;
  for (std::size_t i = 0; i <= collection.size(); ++i) {
    if (i == collection.size() || IsSeparator(collection[i])) {
      fields.push_back(std::string_view(collection).substr(start, i - start));
      start = i + 1;
    }
  }
  if (fields.size() > 3) return {0, talvor::kParseNotRead};
  std::uint32_t total = 0;
  for (const auto field : fields) total = total * 60u + FieldValue(field);
  return {static_cast<Seconds>(total), talvor::kParseRead};
}

bool ReferenceKeyword(std::string_view line) {
  line = line.substr(0, line.find('\0'));
  std::string upper(line);
  for (char& c : upper)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return upper == "EXIT" || upper == "END";
}

void CheckLine(std::string_view line) {
  const ParseResult got = talvor::ParseTimeEntry(line);
  Require(got.status == talvor::kParseRead || got.status == talvor::kParseNotRead,
          "status is 0 or -1", line);
  Require(got.status == talvor::kParseRead || got.seconds == 0, "status -1 gives 0 seconds", line);
  Require(got == ReferenceParse(line), "parser agrees with the plain reading of its rules", line);

  const std::string_view beforeNul = line.substr(0, line.find('\0'));
  Require(talvor::ParseTimeEntry(beforeNul) == got, "nothing after the first NUL counts", line);
  Require(talvor::IsClosingKeyword(line) == ReferenceKeyword(line), "keyword rule", line);

  // A comma inserted at the start of a character before the number, or
  // anywhere from the first collected character on, is passed over.
  const Scan scan = ScanText(beforeNul);
  std::vector<std::size_t> positions = scan.boundaries;
  if (scan.first != std::string::npos) {
    const std::size_t tail = beforeNul.size() - scan.first;
    if (tail <= 64) {
      for (std::size_t i = scan.first; i <= beforeNul.size(); ++i) positions.push_back(i);
    } else {
      for (std::size_t k = 0; k <= 16; ++k) positions.push_back(scan.first + tail * k / 16);
      positions.push_back(scan.first + 1);
    }
  }
  if (positions.size() > 96) positions.resize(96);
  std::string withComma;
  for (const std::size_t at : positions) {
    withComma.assign(line.substr(0, at));
    withComma.push_back(',');
    withComma.append(line.substr(at));
    Require(talvor::ParseTimeEntry(withComma) == got, "an inserted comma changes nothing", line);
  }
}

std::vector<std::string_view> SplitLines(std::string_view text) {
  std::vector<std::string_view> lines;
  std::size_t start = 0;
  for (;;) {
    const std::size_t nl = text.find('\n', start);
    lines.push_back(text.substr(start, nl == std::string_view::npos ? nl : nl - start));
    if (nl == std::string_view::npos) break;
    start = nl + 1;
  }
  return lines;
}

bool SameOutcome(const talvor::SumOutcome& a, const talvor::SumOutcome& b) {
  return a.CloseRequested == b.CloseRequested && a.Failed == b.Failed &&
         a.SecondsText == b.SecondsText && a.MinSecText == b.MinSecText &&
         a.HourMinSecText == b.HourMinSecText;
}

void CheckSheet(std::string_view text) {
  const std::vector<std::string_view> lines = SplitLines(text);

  talvor::SumOutcome expected;
  std::uint32_t total = 0;
  for (const auto line : lines) {
    if (ReferenceKeyword(line)) expected.CloseRequested = true;
    const ParseResult parsed = talvor::ParseTimeEntry(line);
    if (parsed.status != talvor::kParseRead) {
      expected.Failed = true;
      break;
    }
    total += static_cast<std::uint32_t>(parsed.seconds);
  }
  if (expected.Failed) {
    expected.SecondsText = expected.MinSecText = expected.HourMinSecText = "Error";
  } else {
    const auto sum = static_cast<Seconds>(total);
    expected.SecondsText = talvor::FormatTotalSeconds(sum);
    expected.MinSecText = talvor::FormatTotalMinSec(sum);
    expected.HourMinSecText = talvor::FormatTotalHourMinSec(sum);
    const char sign = sum < 0 ? '-' : ' ';
    Require(expected.SecondsText[0] == sign && expected.MinSecText[0] == sign &&
                expected.HourMinSecText[0] == sign,
            "the three texts carry the same sign column", text);
  }

  const std::vector<std::string> owned(lines.begin(), lines.end());
  Require(SameOutcome(talvor::SumSheet(owned), expected), "SumSheet of strings", text);
  Require(SameOutcome(talvor::SumSheet(std::span<const std::string_view>(lines)), expected),
          "SumSheet of views", text);
  Require(SameOutcome(talvor::SumSheetText(text), expected), "SumSheetText", text);

  talvor::SheetSummer summer;
  for (const auto line : lines) summer.Add(line);
  Require(SameOutcome(summer.Outcome(), expected), "SheetSummer fed every line", text);
  Require(summer.Failed() || summer.Total() == static_cast<Seconds>(total), "running total", text);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  // The whole input as one line, then as a sheet of LF-separated lines.
  CheckLine(text);
  for (const auto line : SplitLines(text)) CheckLine(line);
  CheckSheet(text);
  return 0;
}
