// The framework's date-time value, as far as the system uses it: built from a date and a time (or
// from the SYSTEMTIME of the clock), read back field by field, and asked for the weekday and the
// day of the year. The value is an OLE date, a double counting days from 30/12/1899 00:00 with
// the time of day as its fraction; before that day the fraction counts forwards from the day's
// start although the number is negative (-1.25 is 29/12/1899 06:00), as OLE has it.
//
// Valid dates run from 01/01/100 to 31/12/9999 (proleptic Gregorian calendar); an impossible date
// or time gives the status `invalid` and getters that answer -1. Seconds are the finest unit.
// Not kept: arithmetic with spans, parsing texts and the current time (the system takes "now"
// from its own overridable clock and builds the value from that SYSTEMTIME).
// A value is plain data; copies may be used on any thread.
#pragma once

#include "platform/mfc/CString.h"
#include "platform/win32/clock.h"

using DATE = double;

class COleDateTime {
 public:
  enum DateTimeStatus { error = -1, valid = 0, invalid = 1, null = 2 };

  // 30/12/1899 00:00, valid.
  COleDateTime() = default;
  COleDateTime(DATE date);
  COleDateTime(int year, int month, int day, int hour, int minute, int second);
  // Year, month, day, hour, minute and second; the weekday and milliseconds are ignored.
  COleDateTime(const SYSTEMTIME& time);

  // Return 0 when the value was set, 1 when it is invalid (the status says so too).
  int SetDateTime(int year, int month, int day, int hour, int minute, int second);
  int SetDate(int year, int month, int day);

  DateTimeStatus GetStatus() const { return m_status; }
  int GetYear() const;
  int GetMonth() const;         // 1..12
  int GetDay() const;           // 1..31
  int GetHour() const;          // 0..23
  int GetMinute() const;        // 0..59
  int GetSecond() const;        // 0..59
  int GetDayOfWeek() const;     // 1 = Sunday .. 7 = Saturday
  int GetDayOfYear() const;     // 1 = 1 January

  // strftime conversions ("%d/%m/%Y", "%H:%M"...); empty when the value is not valid.
  CString Format(const char* format) const;

  DATE m_dt = 0;
  DateTimeStatus m_status = valid;

 private:
  struct Fields {
    int year, month, day, hour, minute, second, day_of_week, day_of_year;
  };
  // The fields of a valid value; all -1 otherwise.
  Fields Split() const;
};
