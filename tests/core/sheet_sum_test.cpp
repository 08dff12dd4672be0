#include "core/sheet_sum.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace talvor {
namespace {

struct SheetRow {
  const char* name;
  std::vector<std::string> lines;
  bool failed;
  bool closeRequested;
  const char* seconds;
  const char* minSec;
  const char* hourMinSec;
};

void PrintTo(const SheetRow& row, std::ostream* os) {
  *os << row.name;
}

class SumSheetTable : public testing::TestWithParam<SheetRow> {};

TEST_P(SumSheetTable, GivesTextsAndFlags) {
  const SheetRow& row = GetParam();
  const SumOutcome got = SumSheet(row.lines);
  EXPECT_EQ(got.Failed, row.failed);
  EXPECT_EQ(got.CloseRequested, row.closeRequested);
  EXPECT_EQ(got.SecondsText, row.seconds);
  EXPECT_EQ(got.MinSecText, row.minSec);
  EXPECT_EQ(got.HourMinSecText, row.hourMinSec);

  // The same sheet handed over as one LF-separated text gives the same outcome.
  std::string text;
  for (std::size_t i = 0; i < row.lines.size(); ++i) text += (i ? "\n" : "") + row.lines[i];
  if (!row.lines.empty()) {
    const SumOutcome fromText = SumSheetText(text);
    EXPECT_EQ(fromText.Failed, got.Failed);
    EXPECT_EQ(fromText.CloseRequested, got.CloseRequested);
    EXPECT_EQ(fromText.HourMinSecText, got.HourMinSecText);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Sheets, SumSheetTable,
    testing::Values(
        SheetRow{"Empty", {}, false, false, " 0", " 0:00", " 0:00:00"},
        SheetRow{"Mixed", {"1:30", "45", "1.02.03"}, false, false, " 3,858", " 64:18", " 1:04:18"},
        SheetRow{"Negative", {"30", "-1:00"}, false, false, "-30", "-0:30", "-0:00:30"},
        SheetRow{
            "FailureHidesLaterExit", {"10", ":30", "EXIT"}, true, false, "Error", "Error", "Error"},
        SheetRow{"ExitThenFailure", {"EXIT", ":30"}, true, true, "Error", "Error", "Error"},
        SheetRow{"LowerCaseExit", {"exit", "90"}, false, true, " 90", " 1:30", " 0:01:30"},
        SheetRow{"MixedCaseEnd", {"eNd"}, false, true, " 0", " 0:00", " 0:00:00"},
        SheetRow{"ExitWithBlank", {"EXIT "}, false, false, " 0", " 0:00", " 0:00:00"},
        SheetRow{"EndBlankNumber", {"END 5"}, false, false, " 5", " 0:05", " 0:00:05"},
        SheetRow{"ExitPrefix", {"EXITS", "ENDE", "EN"}, false, false, " 0", " 0:00", " 0:00:00"},
        SheetRow{"Words", {"Side one", "intro"}, false, false, " 0", " 0:00", " 0:00:00"},
        SheetRow{"WordsEndingInFullStop", {"That is all."}, true, false, "Error", "Error", "Error"},
        SheetRow{"Wraps",
                 {"2147483647", "2"},
                 false,
                 false,
                 "-2,147,483,647",
                 "-35791394:07",
                 "-596523:14:07"},
        SheetRow{"WrapsToMostNegative",
                 {"2147483647", "1"},
                 false,
                 false,
                 "-2,147,483,648",
                 "-35791394:08",
                 "-596523:14:08"}));

TEST(SumSheetText, EveryLfStartsALineAndNulEndsOne) {
  EXPECT_EQ(SumSheetText("1:00\n\n0:30\n").SecondsText, " 90");
  EXPECT_TRUE(SumSheetText(std::string("EXIT\0zz", 7)).CloseRequested);
  EXPECT_EQ(SumSheetText("").SecondsText, " 0");
}

TEST(SumSheetText, LinesAcrossEvery64ByteBoundaryReadAsTheyDoOneByOne) {
  // Lines of every length from 0 to 80, so that line feeds fall on every
  // offset of the 64-byte blocks the text is read in; NULs and keywords too.
  std::vector<std::string> lines;
  std::string text;
  const char* pieces[] = {"1", "2", "x", "0", " ", "\x95", ",", "7", "\0", "e"};
  for (std::size_t length = 0; length <= 80; ++length) {
    std::string line;
    for (std::size_t i = 0; line.size() < length; ++i) line += pieces[(length * 7 + i) % 10];
    line.resize(length);
    if (length % 9 == 0) line = "Exit";
    if (length % 5 == 0) line = "1:30 intro";
    lines.push_back(line);
    text += line + "\n";
  }
  lines.emplace_back();  // the text ends with a line feed: one empty last line
  SheetSummer oneByOne;
  for (const auto& line : lines)
    if (!oneByOne.Add(line)) break;
  for (std::size_t start = 0; start < 70; ++start) {  // every alignment of the blocks
    SCOPED_TRACE(start);
    const SumOutcome got = SumSheetText(std::string_view(text).substr(start));
    if (start == 0) {
      ASSERT_FALSE(oneByOne.Failed());
      EXPECT_EQ(got.Failed, oneByOne.Failed());
      EXPECT_EQ(got.CloseRequested, oneByOne.CloseRequested());
      EXPECT_EQ(got.SecondsText, oneByOne.Outcome().SecondsText);
    }
    SheetSummer reference;
    std::string_view rest = std::string_view(text).substr(start);
    for (;;) {
      const auto nl = rest.find('\n');
      if (!reference.Add(rest.substr(0, nl)) || nl == std::string_view::npos) break;
      rest.remove_prefix(nl + 1);
    }
    EXPECT_EQ(got.Failed, reference.Failed());
    EXPECT_EQ(got.CloseRequested, reference.CloseRequested());
    EXPECT_EQ(got.SecondsText, reference.Outcome().SecondsText);
  }
}

TEST(SheetSummer, StopsExaminingAfterTheFirstFailure) {
  SheetSummer summer;
  EXPECT_TRUE(summer.Add("5"));
  EXPECT_FALSE(summer.Add("."));
  EXPECT_FALSE(summer.Add("END"));
  EXPECT_FALSE(summer.CloseRequested());
  EXPECT_EQ(summer.Outcome().MinSecText, "Error");
}

}  // namespace
}  // namespace talvor
