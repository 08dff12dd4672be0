#include "core/time_entry.h"

#include <gtest/gtest.h>

#include <string>

namespace talvor {
namespace {

struct EntryRow {
  std::string entry;
  Seconds seconds;
  int status;
};

void PrintTo(const EntryRow& row, std::ostream* os) {
  *os << '"' << row.entry << '"';
}

class ParseTimeEntryTable : public testing::TestWithParam<EntryRow> {};

TEST_P(ParseTimeEntryTable, ReadsEntryAsSecondsAndStatus) {
  const EntryRow& row = GetParam();
  const ParseResult got = ParseTimeEntry(row.entry);
  EXPECT_EQ(got.seconds, row.seconds);
  EXPECT_EQ(got.status, row.status);
}

const std::string kFullWidthOne = "\x82\x50";  // CP932 full-width digit one
const std::string kKanji = "\x95\x5C";         // a kanji whose trail byte is 0x5C

INSTANTIATE_TEST_SUITE_P(
    Rules, ParseTimeEntryTable,
    testing::Values(
        // Forms of a duration, separators mixed freely.
        EntryRow{"90", 90, 0}, EntryRow{"1:30", 90, 0}, EntryRow{"1.30", 90, 0},
        EntryRow{"1:02:03", 3723, 0}, EntryRow{"1.2:3", 3723, 0}, EntryRow{"12:34:56", 45296, 0},
        EntryRow{"3.45", 225, 0}, EntryRow{"1.5", 65, 0}, EntryRow{"1.50", 110, 0},
        EntryRow{"90:00", 5400, 0}, EntryRow{"0:90", 90, 0}, EntryRow{"0:0:90", 90, 0},
        // A minus belongs to its field; inside a field it ends the number.
        EntryRow{"-90", -90, 0}, EntryRow{"-1:30", -30, 0}, EntryRow{"1:-30", 30, 0},
        EntryRow{"-0:30", 30, 0}, EntryRow{"1-2", 1, 0}, EntryRow{"5-3", 5, 0},
        EntryRow{"-1", -1, 0}, EntryRow{"--5", 0, 0}, EntryRow{"-", 0, 0}, EntryRow{"-.5", 5, 0},
        // Commas inside a number are passed over.
        EntryRow{"12,345", 12345, 0}, EntryRow{"1,,2", 12, 0}, EntryRow{",5", 5, 0},
        EntryRow{"12 345", 12, 0}, EntryRow{"12,345 6", 12345, 0}, EntryRow{"12 ,345", 12, 0},
        // Words around the number.
        EntryRow{"+5", 5, 0}, EntryRow{"a1b2", 1, 0}, EntryRow{"abc", 0, 0}, EntryRow{"", 0, 0},
        EntryRow{"3:45 Track title", 225, 0}, EntryRow{"Track title 3:45", 225, 0},
        EntryRow{"SIDE-A 3:00", 0, 0}, EntryRow{"Track: 3:45", 0, -1},
        EntryRow{"Track 1. 3:45", 60, 0}, EntryRow{"Fin.", 0, -1}, EntryRow{"approx. 3:45", 0, -1},
        // Empty fields.
        EntryRow{"30:", 1800, 0}, EntryRow{"1::2", 3602, 0}, EntryRow{"1.2.", 3720, 0},
        // Not read: a leading separator or a fourth field.
        EntryRow{":30", 0, -1}, EntryRow{".", 0, -1}, EntryRow{":", 0, -1}, EntryRow{"::", 0, -1},
        EntryRow{"1:2:3:4", 0, -1}, EntryRow{"1:2:3:", 0, -1},
        // Wrapping, never trapping.
        EntryRow{"2147483647", 2147483647, 0}, EntryRow{"2147483648", -2147483647 - 1, 0},
        EntryRow{"4294967296", 0, 0}, EntryRow{"596524:0:0", -2147480896, 0},
        EntryRow{"99999999999999999999", static_cast<Seconds>(1661992959u), 0},
        // Two-byte characters: passed over as a pair before the number, an end after it.
        EntryRow{kKanji + " 3:45", 225, 0}, EntryRow{"3:4" + kKanji + "5", 184, 0},
        EntryRow{"\x80"
                 "5",
                 0, 0},
        EntryRow{"5\x80", 5, 0}, EntryRow{"\x95", 0, 0},
        EntryRow{"\xFD"
                 "7 8",
                 8, 0},
        EntryRow{kFullWidthOne + kFullWidthOne, 0, 0}, EntryRow{kFullWidthOne + ":30", 0, -1},
        EntryRow{"\xB1"
                 "12",
                 12, 0},
        EntryRow{"12\xB1"
                 "3",
                 12, 0},
        EntryRow{"\xA0"
                 "7",
                 7, 0}));

TEST(ParseTimeEntry, TextEndsAtItsFirstNul) {
  EXPECT_EQ(ParseTimeEntry(std::string("12\0"
                                       "34",
                                       5)),
            (ParseResult{12, 0}));
  EXPECT_EQ(ParseTimeEntry(std::string("\0"
                                       "34",
                                       3)),
            (ParseResult{0, 0}));
  // A lead byte right before the NUL must not take the NUL along as its pair.
  EXPECT_EQ(ParseTimeEntry(std::string("\x95\0"
                                       "34",
                                       4)),
            (ParseResult{0, 0}));
}

TEST(ParseTimeEntry, LeadByteInLastPlaceLooksNoFurther) {
  // The byte after the view's end is a digit; reading it would be a fault.
  const std::string backing =
      "ab\x95"
      "9";
  EXPECT_EQ(ParseTimeEntry(std::string_view(backing).substr(0, 3)), (ParseResult{0, 0}));
}

TEST(ParseTimeEntry, CollectionStopsAfter255Characters) {
  // 255 collectable characters fit; from the 256th on, the scan ends as if the run ended.
  const std::string zeros254(254, '0');
  EXPECT_EQ(ParseTimeEntry(zeros254 + "7"), (ParseResult{7, 0}));
  EXPECT_EQ(ParseTimeEntry(zeros254 + "78"), (ParseResult{7, 0}));
  EXPECT_EQ(ParseTimeEntry(std::string(100000, '0') + "5"), (ParseResult{0, 0}));
  // Separators past the limit are never collected, so they cannot fail the entry.
  EXPECT_EQ(ParseTimeEntry(std::string(253, '0') + "1:" + ":::"), (ParseResult{60, 0}));
  EXPECT_EQ(ParseTimeEntry(std::string(253, '0') + "1::"), (ParseResult{60, 0}));
  EXPECT_EQ(ParseTimeEntry(std::string(252, '0') + "1::"), (ParseResult{3600, 0}));
  // Passed-over commas do not count.
  std::string commas;
  for (int i = 0; i < 254; ++i) commas += "0,";
  EXPECT_EQ(ParseTimeEntry(commas + "9"), (ParseResult{9, 0}));
  EXPECT_EQ(ParseTimeEntry(std::string(100000, '-')), (ParseResult{0, 0}));
}

TEST(ParseTimeEntry, NotReadAlwaysGivesZeroSeconds) {
  for (const char* entry : {":1", "1:2:3:4", "99:99:99:99", ".999"})
    EXPECT_EQ(ParseTimeEntry(entry), (ParseResult{0, -1})) << entry;
}

}  // namespace
}  // namespace talvor
