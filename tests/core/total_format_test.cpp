#include "core/total_format.h"

#include <gtest/gtest.h>

namespace talvor {
namespace {

struct TotalRow {
  Seconds total;
  const char* seconds;
  const char* minSec;
  const char* hourMinSec;
};

class TotalTexts : public testing::TestWithParam<TotalRow> {};

TEST_P(TotalTexts, RenderSignColumnAndThreeForms) {
  const TotalRow& row = GetParam();
  EXPECT_EQ(FormatTotalSeconds(row.total), row.seconds);
  EXPECT_EQ(FormatTotalMinSec(row.total), row.minSec);
  EXPECT_EQ(FormatTotalHourMinSec(row.total), row.hourMinSec);
}

INSTANTIATE_TEST_SUITE_P(
    Totals, TotalTexts,
    testing::Values(
        TotalRow{0, " 0", " 0:00", " 0:00:00"}, TotalRow{5, " 5", " 0:05", " 0:00:05"},
        TotalRow{59, " 59", " 0:59", " 0:00:59"}, TotalRow{60, " 60", " 1:00", " 0:01:00"},
        TotalRow{90, " 90", " 1:30", " 0:01:30"}, TotalRow{599, " 599", " 9:59", " 0:09:59"},
        TotalRow{3599, " 3,599", " 59:59", " 0:59:59"},
        TotalRow{3600, " 3,600", " 60:00", " 1:00:00"},
        TotalRow{3725, " 3,725", " 62:05", " 1:02:05"},
        TotalRow{86399, " 86,399", " 1439:59", " 23:59:59"},
        TotalRow{90000, " 90,000", " 1500:00", " 25:00:00"},
        TotalRow{1234567, " 1,234,567", " 20576:07", " 342:56:07"},
        TotalRow{2147483647, " 2,147,483,647", " 35791394:07", " 596523:14:07"},
        TotalRow{-1, "-1", "-0:01", "-0:00:01"}, TotalRow{-90, "-90", "-1:30", "-0:01:30"},
        TotalRow{-3725, "-3,725", "-62:05", "-1:02:05"},
        TotalRow{-2147483647, "-2,147,483,647", "-35791394:07", "-596523:14:07"},
        // The one total whose magnitude a seconds value cannot hold.
        TotalRow{-2147483647 - 1, "-2,147,483,648", "-35791394:08", "-596523:14:08"}));

TEST(FormatGroupedSeconds, CommasBetweenGroupsNeverAfterTheMinus) {
  const std::pair<Seconds, const char*> rows[] = {{0, "0"},
                                                  {999, "999"},
                                                  {1000, "1,000"},
                                                  {123456, "123,456"},
                                                  {-1, "-1"},
                                                  {-123, "-123"},
                                                  {-1234, "-1,234"},
                                                  {-123456, "-123,456"},
                                                  {1234567, "1,234,567"},
                                                  {-2147483647 - 1, "-2,147,483,648"}};
  for (const auto& [value, text] : rows) EXPECT_EQ(FormatGroupedSeconds(value), text) << value;
}

}  // namespace
}  // namespace talvor
