#include "platform/mfc/COleDateTime.h"

#include <gtest/gtest.h>

TEST(COleDateTime, WeekdayAndDayOfYearOfKnownDates) {
  // Weekdays 1 = Sunday .. 7 = Saturday.
  struct Case { int year, month, day, weekday, day_of_year; } cases[] = {
      {1927, 1, 1, 7, 1},      // first day of the system's date window: a Saturday
      {2026, 12, 31, 5, 365},  // last day of the window: a Thursday
      {1899, 12, 30, 7, 364},  // OLE date 0
      {1899, 12, 31, 1, 365},
      {1900, 3, 1, 5, 60},     // 1900 is not a leap year
      {2000, 1, 1, 7, 1},
      {2000, 12, 31, 1, 366},  // 2000 is
      {2024, 2, 29, 5, 60},
      {2024, 1, 15, 2, 15},
      {2029, 6, 4, 2, 155},    // end of the second day count
      {1850, 1, 1, 3, 1},      // before OLE date 0
      {100, 1, 1, 6, 1},
      {9999, 12, 31, 6, 365},
  };
  for (const Case& c : cases) {
    const COleDateTime date(c.year, c.month, c.day, 0, 0, 0);
    ASSERT_EQ(date.GetStatus(), COleDateTime::valid) << c.day << "/" << c.month << "/" << c.year;
    EXPECT_EQ(date.GetDayOfWeek(), c.weekday) << c.day << "/" << c.month << "/" << c.year;
    EXPECT_EQ(date.GetDayOfYear(), c.day_of_year) << c.day << "/" << c.month << "/" << c.year;
    EXPECT_EQ(date.GetYear(), c.year);
    EXPECT_EQ(date.GetMonth(), c.month);
    EXPECT_EQ(date.GetDay(), c.day);
  }
}

TEST(COleDateTime, ImpossibleDatesAndTimesAreInvalid) {
  struct Case { int year, month, day, hour, minute, second; } cases[] = {
      {2023, 2, 29, 0, 0, 0}, {1900, 2, 29, 0, 0, 0}, {2024, 4, 31, 0, 0, 0}, {2024, 13, 1, 0, 0, 0},
      {2024, 0, 1, 0, 0, 0},  {2024, 1, 0, 0, 0, 0},  {2024, 1, 1, 24, 0, 0}, {2024, 1, 1, 0, 60, 0},
      {2024, 1, 1, 0, 0, 60}, {2024, 1, 1, -1, 0, 0}, {99, 12, 31, 0, 0, 0},  {10000, 1, 1, 0, 0, 0},
  };
  for (const Case& c : cases) {
    const COleDateTime date(c.year, c.month, c.day, c.hour, c.minute, c.second);
    EXPECT_EQ(date.GetStatus(), COleDateTime::invalid) << c.day << "/" << c.month << "/" << c.year;
    EXPECT_EQ(date.GetDayOfWeek(), -1);
    EXPECT_EQ(date.GetYear(), -1);
    EXPECT_EQ(date.GetHour(), -1);
    EXPECT_STREQ(date.Format("%d/%m/%Y"), "");
  }
  COleDateTime date;
  EXPECT_EQ(date.SetDate(2000, 2, 29), 0);
  EXPECT_EQ(date.SetDate(2100, 2, 29), 1);
  EXPECT_EQ(date.GetStatus(), COleDateTime::invalid);
  EXPECT_EQ(COleDateTime(1e7).GetStatus(), COleDateTime::invalid);
}

TEST(COleDateTime, KeepsTheTimeOfDayOnBothSidesOfDateZero) {
  struct Case { int year, month, day, hour, minute, second; DATE date; } cases[] = {
      {1899, 12, 30, 0, 0, 0, 0.0},
      {1900, 1, 1, 18, 0, 0, 2.75},
      {1899, 12, 29, 6, 0, 0, -1.25},  // negative dates count the time forwards
      {2026, 12, 31, 23, 59, 59, 46387.0 + 86399.0 / 86400.0},
      {1850, 1, 1, 13, 45, 30, -18260.0 - 49530.0 / 86400.0},
  };
  for (const Case& c : cases) {
    const COleDateTime built(c.year, c.month, c.day, c.hour, c.minute, c.second);
    EXPECT_DOUBLE_EQ(built.m_dt, c.date);
    const COleDateTime read(c.date);
    ASSERT_EQ(read.GetStatus(), COleDateTime::valid);
    EXPECT_EQ(read.GetYear(), c.year);
    EXPECT_EQ(read.GetMonth(), c.month);
    EXPECT_EQ(read.GetDay(), c.day);
    EXPECT_EQ(read.GetHour(), c.hour);
    EXPECT_EQ(read.GetMinute(), c.minute);
    EXPECT_EQ(read.GetSecond(), c.second);
  }
}

TEST(COleDateTime, TakesTheFieldsOfASystemTime) {
  const SYSTEMTIME time = {2020, 3, 0 /* weekday ignored */, 15, 9, 5, 7, 999};
  const COleDateTime date(time);
  EXPECT_EQ(date.GetDayOfWeek(), 1);  // 15/03/2020 was a Sunday
  EXPECT_EQ(date.GetHour() * 60 + date.GetMinute(), 545);
  EXPECT_EQ(date.GetSecond(), 7);  // milliseconds dropped, not rounded
  EXPECT_STREQ(date.Format("%d/%m/%Y %H:%M:%S"), "15/03/2020 09:05:07");
  EXPECT_STREQ(COleDateTime(1927, 1, 1, 0, 0, 0).Format("%d/%m/%Y"), "01/01/1927");
}
