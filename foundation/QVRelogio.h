// The clock of the system: every "now" comes from here. It reads the machine's local time (the
// platform clock, which tests replace) and, when the machine-wide environment value "QV_DATETIME"
// says so, shifts it so that the system runs in another date and time while the clock keeps
// ticking. The value lives in the registry under HKEY_LOCAL_MACHINE
// "SYSTEM\CurrentControlSet\Control\Session Manager\Environment" and is read again at every call,
// never from the process environment; its form is
//   flag;DD/MM/AAAA;hh:mm:ss:mmm;DD/MM/AAAA;hh:mm:ss:mmm
// (fifteen unsigned numbers): with a flag other than 0, the first date-time is what the system is
// to believe at the real local date-time given second, so now = first + (real now - second).
// A text that does not give all fifteen numbers, or whose flag is 0, is ignored without a report.
//
// Failures throw CQVException (system index 1, the failing step's text, the operating system's
// error code): an override with an impossible date or time (31/02, hour 24) is never normalised,
// it makes every call throw. So does a current date, real or overridden, outside 01/01/1927 ..
// 31/12/2026, the days that the stored 16-bit day numbers can hold: past the window a two-digit
// year would silently turn today into a day of 1927 (text "GetCurrentTime_LocalFileTime: data
// atual fora de 01/01/1927 a 31/12/2026", error ERROR_INVALID_DATA).
//
// The texts and numbers of the date and time are built from the local SYSTEMTIME, which holds
// every field they need; the framework's CTime is not part of the platform.
// The clock keeps no state: any thread may call it.
#pragma once

#include <cstdint>

#include "platform/mfc/COleDateTime.h"
#include "platform/mfc/CString.h"
#include "platform/win32/clock.h"
#include "platform/win32/file.h"

// Local date-time as 100-ns units since 01/01/1601: the base of every function below.
FILETIME GetCurrentTime_LocalFileTime();
SYSTEMTIME GetCurrentTime_LocalTime();
// Universal time, through the machine's present offset from UTC.
FILETIME GetCurrentTime_SystemTimeAsFileTime();
SYSTEMTIME GetCurrentTime_SystemTime();
COleDateTime GetCurrentTime_COleDateTime();
// Seconds since 01/01/1970 00:00 UTC of the local date-time, with the daylight saving of that date
// (unlike the universal time above, which takes today's offset).
int64_t GetCurrentTime_time_t();

// "hh:mm:ss" into a buffer of at least 9 bytes; returns the buffer.
char* QVGetTextoHoraAtual(char* buffer);
// DD/MM/AAAA, or DD/MM/AA with the year modulo 100.
CString QVGetTextoDataAtual(bool bAno4Digitos);
// MM/AAAA or MM/AA.
CString QVGetTextoMesAnoAtual(bool bAno4Digitos);
// Today's day number and month number; both widths give the same numbers, since the clock
// answers only inside the window.
uint16_t QVGetDataAtual(bool bAno4Digitos);
uint16_t QVGetMesAnoAtual(bool bAno4Digitos);
// Hour x 60 + minute.
int QVGetMinutosAtual();
