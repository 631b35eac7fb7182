// Conversions between a SYSTEMTIME (calendar fields) and a FILETIME (a 64-bit count of 100-ns
// units since 01/01/1601 00:00), as the clock of the foundation computes with them.
//
// Kept from the original: a SYSTEMTIME with an impossible field (month 13, 31/02, 29/02 of a
// common year, hour 24, minute or second 60, millisecond 1000, a year outside 1601..30827) is
// refused with ERROR_INVALID_PARAMETER and never normalised; wDayOfWeek is ignored on the way in
// and computed on the way out; a FILETIME of 2^63 or more cannot be a SYSTEMTIME. Both calendars
// are the proleptic Gregorian one. LocalFileTimeToFileTime takes the machine's offset from UTC
// that is in force now (as the original takes the current bias, not the one of the converted
// date).
// Not kept: FileTimeToLocalFileTime and the time-zone calls (nothing of the system uses them).
// Everything here is stateless and may run on any thread.
#pragma once

#include "platform/win32/base.h"
#include "platform/win32/clock.h"
#include "platform/win32/file.h"

// Return TRUE, or FALSE with the last error ERROR_INVALID_PARAMETER and the output untouched.
BOOL SystemTimeToFileTime(const SYSTEMTIME* systemTime, FILETIME* fileTime);
BOOL FileTimeToSystemTime(const FILETIME* fileTime, SYSTEMTIME* systemTime);
BOOL LocalFileTimeToFileTime(const FILETIME* localFileTime, FILETIME* fileTime);
