#include "platform/win32/filetime.h"

#include <time.h>

#include <chrono>

namespace {

using namespace std::chrono;

constexpr uint64_t kUnitsPerMillisecond = 10'000;
constexpr uint64_t kUnitsPerSecond = 10'000'000;
constexpr uint64_t kUnitsPerDay = 86'400 * kUnitsPerSecond;
constexpr uint64_t kLargestFileTime = 0x7FFF'FFFF'FFFF'FFFF;
constexpr sys_days kEpoch = sys_days(year(1601) / January / 1);

uint64_t Units(const FILETIME& time) {
  return (static_cast<uint64_t>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
}

FILETIME FileTimeOfUnits(uint64_t units) {
  return FILETIME{static_cast<DWORD>(units), static_cast<DWORD>(units >> 32)};
}

BOOL Refuse() {
  SetLastError(ERROR_INVALID_PARAMETER);
  return FALSE;
}

bool IsValid(const SYSTEMTIME& time) {
  if (time.wYear < 1601 || time.wYear > 30827) return false;
  // The calendar keeps a month or day below 256 only: month 257 would pass for January.
  if (time.wMonth > 12 || time.wDay > 31) return false;
  const year_month_day date{year(time.wYear), month(time.wMonth), day(time.wDay)};
  return date.ok() && time.wHour < 24 && time.wMinute < 60 && time.wSecond < 60 && time.wMilliseconds < 1000;
}

}  // namespace

BOOL SystemTimeToFileTime(const SYSTEMTIME* systemTime, FILETIME* fileTime) {
  if (systemTime == nullptr || fileTime == nullptr || !IsValid(*systemTime)) return Refuse();
  const sys_days date = year_month_day{year(systemTime->wYear), month(systemTime->wMonth), day(systemTime->wDay)};
  const uint64_t days = static_cast<uint64_t>((date - kEpoch).count());
  const uint64_t seconds = (systemTime->wHour * 60u + systemTime->wMinute) * 60u + systemTime->wSecond;
  *fileTime = FileTimeOfUnits(days * kUnitsPerDay + seconds * kUnitsPerSecond +
                              systemTime->wMilliseconds * kUnitsPerMillisecond);
  return TRUE;
}

BOOL FileTimeToSystemTime(const FILETIME* fileTime, SYSTEMTIME* systemTime) {
  if (fileTime == nullptr || systemTime == nullptr || Units(*fileTime) > kLargestFileTime) return Refuse();
  const uint64_t units = Units(*fileTime);
  const sys_days date = kEpoch + days(static_cast<int64_t>(units / kUnitsPerDay));
  const year_month_day ymd(date);
  const uint64_t inDay = units % kUnitsPerDay;
  systemTime->wYear = static_cast<WORD>(static_cast<int>(ymd.year()));
  systemTime->wMonth = static_cast<WORD>(static_cast<unsigned>(ymd.month()));
  systemTime->wDay = static_cast<WORD>(static_cast<unsigned>(ymd.day()));
  systemTime->wDayOfWeek = static_cast<WORD>(weekday(date).c_encoding());
  systemTime->wHour = static_cast<WORD>(inDay / (3600 * kUnitsPerSecond));
  systemTime->wMinute = static_cast<WORD>(inDay / (60 * kUnitsPerSecond) % 60);
  systemTime->wSecond = static_cast<WORD>(inDay / kUnitsPerSecond % 60);
  systemTime->wMilliseconds = static_cast<WORD>(inDay / kUnitsPerMillisecond % 1000);
  return TRUE;
}

BOOL LocalFileTimeToFileTime(const FILETIME* localFileTime, FILETIME* fileTime) {
  if (localFileTime == nullptr || fileTime == nullptr) return Refuse();
  const time_t now = time(nullptr);
  tm local{};
  localtime_r(&now, &local);
  const int64_t offset = static_cast<int64_t>(local.tm_gmtoff) * static_cast<int64_t>(kUnitsPerSecond);
  const uint64_t localUnits = Units(*localFileTime);
  // Checked before subtracting, so that the signed difference cannot overflow.
  if (localUnits > kLargestFileTime) return Refuse();
  if (offset < 0 && localUnits > kLargestFileTime - static_cast<uint64_t>(-offset)) return Refuse();
  const int64_t universal = static_cast<int64_t>(localUnits) - offset;
  if (universal < 0) return Refuse();
  *fileTime = FileTimeOfUnits(static_cast<uint64_t>(universal));
  return TRUE;
}
