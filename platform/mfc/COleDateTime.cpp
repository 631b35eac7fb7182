#include "platform/mfc/COleDateTime.h"

#include <cmath>
#include <ctime>

#include "platform/win32/calendar.h"

namespace {

constexpr int kSecondsPerDay = 86400;
// Days from 01/01/1970 to 30/12/1899, the OLE date 0.
constexpr int kOleDayOf1970 = 25569;
// Valid OLE dates lie strictly between 31/12/99 (negative: its times count towards -657436) and
// 01/01/10000.
constexpr double kDayBeforeFirstValid = -657435.0;
constexpr double kDayAfterLastValid = 2958466.0;

bool IsLeapYear(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

int DaysInMonth(int year, int month) {
  constexpr int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return month == 2 && IsLeapYear(year) ? 29 : kDays[month - 1];
}

bool IsValidDateTime(int year, int month, int day, int hour, int minute, int second) {
  if (year < 100 || year > 9999 || month < 1 || month > 12) return false;
  if (day < 1 || day > DaysInMonth(year, month)) return false;
  return hour >= 0 && hour < 24 && minute >= 0 && minute < 60 && second >= 0 && second < 60;
}

}  // namespace

COleDateTime::COleDateTime(DATE date) : m_dt(date) {
  if (!(date > kDayBeforeFirstValid && date < kDayAfterLastValid)) {
    m_dt = 0;
    m_status = invalid;
  }
}

COleDateTime::COleDateTime(int year, int month, int day, int hour, int minute, int second) {
  SetDateTime(year, month, day, hour, minute, second);
}

COleDateTime::COleDateTime(const SYSTEMTIME& time) {
  SetDateTime(time.wYear, time.wMonth, time.wDay, time.wHour, time.wMinute, time.wSecond);
}

int COleDateTime::SetDateTime(int year, int month, int day, int hour, int minute, int second) {
  if (!IsValidDateTime(year, month, day, hour, minute, second)) {
    m_dt = 0;
    m_status = invalid;
    return 1;
  }
  const int ole_day = static_cast<int>(DaysFromCivil(year, month, day)) + kOleDayOf1970;
  const double time_of_day = (hour * 3600 + minute * 60 + second) / static_cast<double>(kSecondsPerDay);
  // Before 30/12/1899 the time of day is added to the magnitude.
  m_dt = ole_day >= 0 ? ole_day + time_of_day : ole_day - time_of_day;
  m_status = valid;
  return 0;
}

int COleDateTime::SetDate(int year, int month, int day) { return SetDateTime(year, month, day, 0, 0, 0); }

COleDateTime::Fields COleDateTime::Split() const {
  if (m_status != valid) return {-1, -1, -1, -1, -1, -1, -1, -1};
  const double whole_days = std::trunc(m_dt);
  int ole_day = static_cast<int>(whole_days);
  long seconds = std::lround(std::fabs(m_dt - whole_days) * kSecondsPerDay);
  if (seconds >= kSecondsPerDay) {  // rounded up to the next midnight
    seconds -= kSecondsPerDay;
    ++ole_day;
  }
  Fields f;
  const int days = ole_day - kOleDayOf1970;
  CivilFromDays(days, &f.year, &f.month, &f.day);
  f.hour = static_cast<int>(seconds / 3600);
  f.minute = static_cast<int>(seconds / 60 % 60);
  f.second = static_cast<int>(seconds % 60);
  f.day_of_week = (ole_day % 7 + 7 + 6) % 7 + 1;  // OLE day 0 was a Saturday
  f.day_of_year = days - static_cast<int>(DaysFromCivil(f.year, 1, 1)) + 1;
  return f;
}

int COleDateTime::GetYear() const { return Split().year; }
int COleDateTime::GetMonth() const { return Split().month; }
int COleDateTime::GetDay() const { return Split().day; }
int COleDateTime::GetHour() const { return Split().hour; }
int COleDateTime::GetMinute() const { return Split().minute; }
int COleDateTime::GetSecond() const { return Split().second; }
int COleDateTime::GetDayOfWeek() const { return Split().day_of_week; }
int COleDateTime::GetDayOfYear() const { return Split().day_of_year; }

CString COleDateTime::Format(const char* format) const {
  if (m_status != valid || format == nullptr) return CString();
  const Fields f = Split();
  std::tm tm = {};
  tm.tm_year = f.year - 1900;
  tm.tm_mon = f.month - 1;
  tm.tm_mday = f.day;
  tm.tm_hour = f.hour;
  tm.tm_min = f.minute;
  tm.tm_sec = f.second;
  tm.tm_wday = f.day_of_week - 1;
  tm.tm_yday = f.day_of_year - 1;
  char text[256];
  const size_t length = strftime(text, sizeof text, format, &tm);
  return CString(text, static_cast<int>(length));
}
