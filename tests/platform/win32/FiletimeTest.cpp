#include "platform/win32/filetime.h"

#include <gtest/gtest.h>
#include <time.h>

#include <cstdlib>
#include <string>

namespace {

SYSTEMTIME Hora(WORD ano, WORD mes, WORD dia, WORD hora = 0, WORD minuto = 0, WORD segundo = 0, WORD ms = 0) {
  return SYSTEMTIME{ano, mes, 0, dia, hora, minuto, segundo, ms};
}

uint64_t Unidades(const FILETIME& tempo) { return (uint64_t{tempo.dwHighDateTime} << 32) | tempo.dwLowDateTime; }

FILETIME Tempo(uint64_t unidades) { return FILETIME{static_cast<DWORD>(unidades), static_cast<DWORD>(unidades >> 32)}; }

// Sets TZ for the life of the object and puts the previous zone back.
class FusoHorario {
 public:
  explicit FusoHorario(const char* fuso) {
    if (const char* atual = getenv("TZ")) anterior_ = atual, tinha_ = true;
    setenv("TZ", fuso, 1);
    tzset();
  }
  ~FusoHorario() {
    tinha_ ? setenv("TZ", anterior_.c_str(), 1) : unsetenv("TZ");
    tzset();
  }

 private:
  std::string anterior_;
  bool tinha_ = false;
};

}  // namespace

TEST(Filetime, KnownInstantsConvertBothWaysWithTheWeekday) {
  struct Caso {
    SYSTEMTIME hora;
    uint64_t unidades;
    WORD diaDaSemana;
  } casos[] = {
      {Hora(1601, 1, 1), 0, 1},                                          // a Monday
      {Hora(1970, 1, 1), 116'444'736'000'000'000, 4},                     // the Unix epoch, a Thursday
      {Hora(2000, 1, 1), 125'911'584'000'000'000, 6},
      {Hora(2024, 2, 29, 23, 59, 59, 999), 133'537'247'999'990'000, 4},  // leap day, last millisecond
  };
  for (const Caso& c : casos) {
    SYSTEMTIME entrada = c.hora;
    entrada.wDayOfWeek = 9;  // ignored
    FILETIME tempo{};
    ASSERT_TRUE(SystemTimeToFileTime(&entrada, &tempo)) << c.unidades;
    EXPECT_EQ(Unidades(tempo), c.unidades);
    SYSTEMTIME volta{};
    ASSERT_TRUE(FileTimeToSystemTime(&tempo, &volta));
    SYSTEMTIME esperada = c.hora;
    esperada.wDayOfWeek = c.diaDaSemana;
    EXPECT_EQ(memcmp(&volta, &esperada, sizeof volta), 0) << c.unidades << ": " << volta.wYear << "-" << volta.wMonth
                                                          << "-" << volta.wDay << " dow " << volta.wDayOfWeek;
  }
}

TEST(Filetime, ImpossibleFieldsAreRefusedNeverNormalised) {
  const SYSTEMTIME impossiveis[] = {
      Hora(2024, 2, 31),         Hora(2023, 2, 29),          Hora(2024, 4, 31),         Hora(2024, 13, 1),
      Hora(2024, 0, 1),          Hora(2024, 1, 0),           Hora(2024, 1, 1, 24),      Hora(2024, 1, 1, 0, 60),
      Hora(2024, 1, 1, 0, 0, 60), Hora(2024, 1, 1, 0, 0, 0, 1000), Hora(1600, 12, 31), Hora(30828, 1, 1),
      Hora(2024, 257, 1),        Hora(2024, 1, 257),  // 257 is 1 in a byte
  };
  for (const SYSTEMTIME& hora : impossiveis) {
    FILETIME tempo{0x1234, 0x5678};
    SetLastError(0);
    EXPECT_FALSE(SystemTimeToFileTime(&hora, &tempo)) << hora.wDay << "/" << hora.wMonth << "/" << hora.wYear;
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
    EXPECT_EQ(Unidades(tempo), 0x0000'5678'0000'1234u) << "output touched";
  }
}

TEST(Filetime, ATimeOfTwoToTheSixtyThirdOrMoreHasNoSystemTime) {
  FILETIME limite = Tempo(0x7FFF'FFFF'FFFF'FFFF), alem = Tempo(0x8000'0000'0000'0000);
  SYSTEMTIME hora{};
  EXPECT_TRUE(FileTimeToSystemTime(&limite, &hora));
  EXPECT_EQ(hora.wYear, 30828);
  SetLastError(0);
  EXPECT_FALSE(FileTimeToSystemTime(&alem, &hora));
  EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
}

TEST(Filetime, LocalToUniversalAddsTheZonesOffset) {
  const uint64_t local = 133'500'000'000'000'000;
  FILETIME entrada = Tempo(local), universal{};
  {
    FusoHorario brasilia("<-03>3");
    ASSERT_TRUE(LocalFileTimeToFileTime(&entrada, &universal));
    EXPECT_EQ(Unidades(universal), local + 3 * 3600 * 10'000'000ull);
  }
  {
    FusoHorario utc("UTC0");
    ASSERT_TRUE(LocalFileTimeToFileTime(&entrada, &universal));
    EXPECT_EQ(Unidades(universal), local);
  }
  FusoHorario leste("<+05>-5");
  FILETIME cedo = Tempo(1000);
  EXPECT_FALSE(LocalFileTimeToFileTime(&cedo, &universal)) << "before 1601 in universal time";
}
