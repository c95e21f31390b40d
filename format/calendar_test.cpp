// The calendar both ways: the day count of a calendar time, and the date of a day number,
// around day zero, leap days and the ends of the years the format shows.
#include "format/calendar.h"

#include <gtest/gtest.h>

namespace {

TEST(CalendarTest, DayCountsAndDatesAgree) {
  struct Case {
    format::CalendarTime time;
    double dayCount;
  };
  const Case cases[] = {
      {{1899, 12, 30, 0, 0, 0}, 0.0},       {{1899, 12, 31, 12, 0, 0}, 1.5},
      {{1899, 12, 29, 12, 0, 0}, -1.5},  // before day zero the time of day still counts forward
      {{1900, 3, 1, 0, 0, 0}, 61.0},     // 1900 is no leap year
      {{2000, 2, 29, 6, 0, 0}, 36585.25},   {{100, 1, 1, 0, 0, 0}, -657434.0},
      {{9999, 12, 31, 0, 0, 0}, 2958465.0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.dayCount);
    EXPECT_TRUE(format::IsValidCalendarTime(c.time));
    EXPECT_EQ(format::ToDayCount(c.time), c.dayCount);
    const auto days = static_cast<int64_t>(c.dayCount);  // toward zero, as the stored form counts
    const format::CalendarDate date = format::DateFromDayNumber(days + format::kDayZeroFromYearOne);
    EXPECT_EQ(date.year, c.time.year);
    EXPECT_EQ(date.month, c.time.month);
    EXPECT_EQ(date.day, c.time.day);
  }
}

TEST(CalendarTest, RefusesDaysAndTimesThatDoNotExist) {
  const format::CalendarTime invalid[] = {
      {2001, 2, 29, 0, 0, 0}, {2000, 13, 1, 0, 0, 0}, {2000, 4, 31, 0, 0, 0},
      {2000, 1, 0, 0, 0, 0},  {2000, 1, 1, 24, 0, 0}, {2000, 1, 1, 0, 60, 0},
  };
  for (const auto& time : invalid) EXPECT_FALSE(format::IsValidCalendarTime(time));
}

}  // namespace
