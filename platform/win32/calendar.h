// Days since 01/01/1970 of a date of the proleptic Gregorian calendar, and back: the one
// conversion that the clock and the framework's date-time value share.
#pragma once

#include <chrono>
#include <cstdint>

inline int64_t DaysFromCivil(int year, unsigned month, unsigned day) {
  using namespace std::chrono;
  const sys_days date = year_month_day{std::chrono::year(year), std::chrono::month(month), std::chrono::day(day)};
  return date.time_since_epoch().count();
}

inline void CivilFromDays(int64_t days, int* year, int* month, int* day) {
  using namespace std::chrono;
  const year_month_day date{sys_days{std::chrono::days{days}}};
  *year = static_cast<int>(date.year());
  *month = static_cast<int>(static_cast<unsigned>(date.month()));
  *day = static_cast<int>(static_cast<unsigned>(date.day()));
}
