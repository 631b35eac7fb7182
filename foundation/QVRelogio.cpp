#include "foundation/QVRelogio.h"

#include <algorithm>
#include <cstdio>
#include <ctime>

#include "foundation/CQVException.h"
#include "foundation/CQVRegistryKey.h"
#include "foundation/QVData.h"
#include "platform/win32/filetime.h"

namespace {

constexpr int kSistemaErro = 1;
constexpr char kChaveAmbiente[] = "SYSTEM\\CurrentControlSet\\Control\\Session Manager\\Environment";
constexpr char kValorOverride[] = "QV_DATETIME";

[[noreturn]] void Falha(const char* texto, DWORD erro) { throw CQVException(texto, kSistemaErro, static_cast<int>(erro)); }

uint64_t Unidades(const FILETIME& tempo) {
  return (static_cast<uint64_t>(tempo.dwHighDateTime) << 32) | tempo.dwLowDateTime;
}

FILETIME TempoDeUnidades(uint64_t unidades) {
  return FILETIME{static_cast<DWORD>(unidades), static_cast<DWORD>(unidades >> 32)};
}

uint64_t Helper_SystemTimeToFileTime(const SYSTEMTIME& hora) {
  FILETIME tempo;
  if (!SystemTimeToFileTime(&hora, &tempo))
    Falha("Helper_SystemTimeToFileTime: SystemTimeToFileTime", GetLastError());
  return Unidades(tempo);
}

CString Helper_ReadDateTimeOverride() {
  return QVLeRegistroString(HKEY_LOCAL_MACHINE, kChaveAmbiente, kValorOverride, "", false);
}

// A date-time of the override: day, month, year, hour, minute, second and millisecond. The weekday
// is left out: the conversion ignores it.
SYSTEMTIME HoraDoOverride(const unsigned* campos) {
  SYSTEMTIME hora{};
  hora.wDay = static_cast<WORD>(campos[0]);
  hora.wMonth = static_cast<WORD>(campos[1]);
  hora.wYear = static_cast<WORD>(campos[2]);
  hora.wHour = static_cast<WORD>(campos[3]);
  hora.wMinute = static_cast<WORD>(campos[4]);
  hora.wSecond = static_cast<WORD>(campos[5]);
  hora.wMilliseconds = static_cast<WORD>(campos[6]);
  return hora;
}

// A date-time of the override as file time. A field too large for its place is as impossible as
// 31/02: cut to 16 bits it would pass for a small, valid one (65537 ms as 1).
uint64_t TempoDoOverride(const unsigned* campos) {
  if (std::any_of(campos, campos + 7, [](unsigned campo) { return campo > 0xFFFF; }))
    Falha("Helper_SystemTimeToFileTime: SystemTimeToFileTime", ERROR_INVALID_PARAMETER);
  return Helper_SystemTimeToFileTime(HoraDoOverride(campos));
}

// The days that 16-bit day numbers hold: 01/01/1927 00:00 up to, not including, 01/01/2027.
void ConfereJanela(uint64_t agora) {
  static const uint64_t inicio = Helper_SystemTimeToFileTime(SYSTEMTIME{1927, 1, 0, 1, 0, 0, 0, 0});
  static const uint64_t fim = Helper_SystemTimeToFileTime(SYSTEMTIME{2027, 1, 0, 1, 0, 0, 0, 0});
  if (agora < inicio || agora >= fim)
    Falha("GetCurrentTime_LocalFileTime: data atual fora de 01/01/1927 a 31/12/2026", ERROR_INVALID_DATA);
}

SYSTEMTIME HoraDeTempo(const FILETIME& tempo, const char* textoFalha) {
  SYSTEMTIME hora;
  if (!FileTimeToSystemTime(&tempo, &hora)) Falha(textoFalha, GetLastError());
  return hora;
}

}  // namespace

FILETIME GetCurrentTime_LocalFileTime() {
  SYSTEMTIME local;
  GetLocalTime(&local);
  uint64_t agora = Helper_SystemTimeToFileTime(local);

  CString override = Helper_ReadDateTimeOverride();
  unsigned c[15];  // the flag, then date-time A (to believe) and B (the real time when A was current)
  int lidos = sscanf(override, "%u;%u/%u/%u;%u:%u:%u:%u;%u/%u/%u;%u:%u:%u:%u", &c[0], &c[1], &c[2], &c[3], &c[4],
                     &c[5], &c[6], &c[7], &c[8], &c[9], &c[10], &c[11], &c[12], &c[13], &c[14]);
  if (lidos == 15 && c[0] != 0) {
    // Unsigned arithmetic: a believed time before the real one wraps and comes back.
    agora -= TempoDoOverride(&c[8]);
    agora += TempoDoOverride(&c[1]);
  }
  ConfereJanela(agora);
  return TempoDeUnidades(agora);
}

SYSTEMTIME GetCurrentTime_LocalTime() {
  return HoraDeTempo(GetCurrentTime_LocalFileTime(), "GetCurrentTime_LocalTime: FileTimeToSystemTime");
}

FILETIME GetCurrentTime_SystemTimeAsFileTime() {
  FILETIME local = GetCurrentTime_LocalFileTime();
  FILETIME universal;
  if (!LocalFileTimeToFileTime(&local, &universal))
    Falha("GetCurrentTime_SystemTimeAsFileTime: LocalFileTimeToFileTime", GetLastError());
  return universal;
}

SYSTEMTIME GetCurrentTime_SystemTime() {
  return HoraDeTempo(GetCurrentTime_SystemTimeAsFileTime(), "GetCurrentTime_SystemTime: FileTimeToSystemTime");
}

COleDateTime GetCurrentTime_COleDateTime() { return COleDateTime(GetCurrentTime_LocalTime()); }

int64_t GetCurrentTime_time_t() {
  // The local date-time read by the C library, daylight saving left to it: the offset is that of
  // the (possibly overridden) date, not today's, so that the value turned back into local time
  // gives the date-time the system believes. The milliseconds are dropped, so the seconds are
  // rounded down.
  const SYSTEMTIME hora = GetCurrentTime_LocalTime();
  tm campos{};
  campos.tm_year = hora.wYear - 1900;
  campos.tm_mon = hora.wMonth - 1;
  campos.tm_mday = hora.wDay;
  campos.tm_hour = hora.wHour;
  campos.tm_min = hora.wMinute;
  campos.tm_sec = hora.wSecond;
  campos.tm_isdst = -1;
  return mktime(&campos);
}

char* QVGetTextoHoraAtual(char* buffer) {
  SYSTEMTIME hora = GetCurrentTime_LocalTime();
  CString texto;
  texto.Format("%02d:%02d:%02d", hora.wHour, hora.wMinute, hora.wSecond);
  snprintf(buffer, 9, "%s", static_cast<const char*>(texto));
  return buffer;
}

CString QVGetTextoDataAtual(bool bAno4Digitos) {
  SYSTEMTIME hora = GetCurrentTime_LocalTime();
  CString texto;
  if (bAno4Digitos)
    texto.Format("%02d/%02d/%04d", hora.wDay, hora.wMonth, hora.wYear);
  else
    texto.Format("%02d/%02d/%02d", hora.wDay, hora.wMonth, hora.wYear % 100);
  return texto;
}

CString QVGetTextoMesAnoAtual(bool bAno4Digitos) { return QVGetTextoDataAtual(bAno4Digitos).Mid(3); }

uint16_t QVGetDataAtual(bool bAno4Digitos) { return QVTextoParaData(QVGetTextoDataAtual(bAno4Digitos)); }

uint16_t QVGetMesAnoAtual(bool bAno4Digitos) { return QVDataParaMesAno(QVGetDataAtual(bAno4Digitos)); }

int QVGetMinutosAtual() {
  COleDateTime agora = GetCurrentTime_COleDateTime();
  return agora.GetHour() * 60 + agora.GetMinute();
}
