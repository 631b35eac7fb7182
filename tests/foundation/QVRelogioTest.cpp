#include "foundation/QVRelogio.h"

#include <gtest/gtest.h>
#include <time.h>

#include <cstdlib>
#include <string>

#include "foundation/CQVException.h"
#include "tests/support/Instalacao.h"

namespace {

constexpr char kChaveAmbiente[] = "SYSTEM\\CurrentControlSet\\Control\\Session Manager\\Environment";

// The machine's clock pinned by the test clock, and the override written where the system reads
// it: the registry stand-in of a temporary installation.
class Relogio : public ::testing::Test {
 protected:
  void SetLocal(WORD ano, WORD mes, WORD dia, WORD hora, WORD minuto, WORD segundo = 0, WORD ms = 0) {
    relogio_.SetLocalTime(SYSTEMTIME{ano, mes, 0, dia, hora, minuto, segundo, ms});
  }
  void Override(const std::string& texto) { instalacao_.GravaValor(kChaveAmbiente, "QV_DATETIME", texto); }

  std::string Agora() {
    SYSTEMTIME t = GetCurrentTime_LocalTime();
    char texto[64];
    snprintf(texto, sizeof texto, "%02d/%02d/%04d %02d:%02d:%02d.%03d", t.wDay, t.wMonth, t.wYear, t.wHour,
             t.wMinute, t.wSecond, t.wMilliseconds);
    return texto;
  }

  Instalacao instalacao_;
  TestClock relogio_;
};

}  // namespace

TEST_F(Relogio, WithoutOverrideTheLocalTimeIsNow) {
  SetLocal(2024, 1, 15, 9, 5, 7, 250);
  EXPECT_EQ(Agora(), "15/01/2024 09:05:07.250");
  char hora[9];
  EXPECT_STREQ(QVGetTextoHoraAtual(hora), "09:05:07");
  EXPECT_EQ(QVGetTextoDataAtual(true).str(), "15/01/2024");
  EXPECT_EQ(QVGetTextoDataAtual(false).str(), "15/01/24");
  EXPECT_EQ(QVGetTextoMesAnoAtual(true).str(), "01/2024");
  EXPECT_EQ(QVGetTextoMesAnoAtual(false).str(), "01/24");
  EXPECT_EQ(QVGetDataAtual(false), 64299);  // 15/01/2024: 31/12/1847 is day 1
  EXPECT_EQ(QVGetDataAtual(true), 64299);
  EXPECT_EQ(QVGetMesAnoAtual(false), (2024 - 1848) * 12 + 1);
  EXPECT_EQ(QVGetMesAnoAtual(true), (2024 - 1848) * 12 + 1);
  EXPECT_EQ(QVGetMinutosAtual(), 9 * 60 + 5);
  COleDateTime ole = GetCurrentTime_COleDateTime();
  EXPECT_EQ(ole.GetDay() * 10000 + ole.GetMonth() * 100 + ole.GetHour(), 150109);
}

TEST_F(Relogio, OverrideShiftsTheClockThatKeepsTicking) {
  SetLocal(2024, 5, 10, 15, 30);
  Override("1;15/03/2020;08:00:00:000;10/05/2024;14:30:00:000");
  EXPECT_EQ(Agora(), "15/03/2020 09:00:00.000");
  EXPECT_EQ(QVGetDataAtual(false), 62898);  // 15/03/2020
  relogio_.Advance(90'500);
  EXPECT_EQ(Agora(), "15/03/2020 09:01:30.500");
  EXPECT_EQ(QVGetMinutosAtual(), 541);

  // Read again at every call: a new value counts at once, and the believed time may lie ahead.
  Override("1;31/12/2026;23:59:00:000;10/05/2024;15:31:30:500");
  EXPECT_EQ(Agora(), "31/12/2026 23:59:00.000");
  EXPECT_EQ(QVGetDataAtual(true), 65380);
  Override("1;02/01/1927;00:00:00:000;10/05/2024;15:31:30:400");
  EXPECT_EQ(Agora(), "02/01/1927 00:00:00.100");
  EXPECT_EQ(QVGetDataAtual(false), 28857);
}

TEST_F(Relogio, MalformedOrSwitchedOffOverridesAreIgnored) {
  SetLocal(2024, 1, 15, 9, 0);
  const char* ignorados[] = {
      "0;15/03/2020;08:00:00:000;10/05/2024;14:30:00:000",  // flag 0
      "1;15/03/2020;08:00:00:000;10/05/2024;14:30:00",      // 14 fields
      "1;15/03/2020;08:00:00:000",
      "1-15/03/2020;08:00:00:000;10/05/2024;14:30:00:000",
      "sim",
      "",
  };
  for (const char* texto : ignorados) {
    Override(texto);
    EXPECT_EQ(Agora(), "15/01/2024 09:00:00.000") << texto;
  }
}

TEST_F(Relogio, ImpossibleOverrideDatesThrowInsteadOfNormalising) {
  SetLocal(2024, 1, 15, 9, 0);
  const char* impossiveis[] = {
      "1;31/02/2020;08:00:00:000;10/05/2024;14:30:00:000",  // the date to believe
      "1;15/03/2020;24:00:00:000;10/05/2024;14:30:00:000",
      "1;15/13/2020;08:00:00:000;10/05/2024;14:30:00:000",
      "1;15/03/2020;08:00:00:000;29/02/2023;14:30:00:000",  // the real date
      "1;15/03/2020;08:00:00:000;10/05/2024;14:60:00:000",
      "1;15/03/2020;08:00:00:1000;10/05/2024;14:30:00:000",
      "1;15/03/2020;08:00:00:65537;10/05/2024;14:30:00:000",  // 1 in 16 bits
      "1;65551/03/2020;08:00:00:000;10/05/2024;14:30:00:000",  // 15 in 16 bits
      "1;15/03/2020;08:00:00:000;10/05/2024;14:30:00:-65535",  // read unsigned, 1 in 16 bits
  };
  for (const char* texto : impossiveis) {
    Override(texto);
    try {
      GetCurrentTime_LocalTime();
      ADD_FAILURE() << "no exception for " << texto;
    } catch (const CQVException& e) {
      EXPECT_STREQ(e.GetTexto(), "Helper_SystemTimeToFileTime: SystemTimeToFileTime") << texto;
      EXPECT_EQ(e.GetSistema(), 1);
      EXPECT_EQ(e.GetErroSO(), static_cast<int>(ERROR_INVALID_PARAMETER));
    }
    EXPECT_THROW(QVGetDataAtual(false), CQVException) << texto;
    EXPECT_THROW(QVGetMinutosAtual(), CQVException) << texto;
  }
}

TEST_F(Relogio, ADateOutsideTheDayNumberWindowIsAnErrorRealOrOverridden) {
  auto ConfereForaDaJanela = [&](const std::string& caso) {
    try {
      QVGetDataAtual(false);
      ADD_FAILURE() << "no exception for " << caso;
    } catch (const CQVException& e) {
      EXPECT_STREQ(e.GetTexto(), "GetCurrentTime_LocalFileTime: data atual fora de 01/01/1927 a 31/12/2026") << caso;
      EXPECT_EQ(e.GetSistema(), 1);
      EXPECT_EQ(e.GetErroSO(), static_cast<int>(ERROR_INVALID_DATA));
    }
    EXPECT_THROW(GetCurrentTime_COleDateTime(), CQVException) << caso;
  };

  SetLocal(2026, 12, 31, 23, 59, 59, 999);
  EXPECT_EQ(QVGetDataAtual(false), 65380);
  relogio_.Advance(1);  // the real clock reaches 01/01/2027: with a two-digit year that would be 1927
  ConfereForaDaJanela("real 01/01/2027");

  // An override brings the system back inside the window, or takes it out.
  Override("1;20/06/2005;10:00:00:000;01/01/2027;00:00:00:000");
  EXPECT_EQ(QVGetDataAtual(false), 57516);
  EXPECT_EQ(QVGetTextoDataAtual(false).str(), "20/06/05");
  EXPECT_EQ(QVGetTextoMesAnoAtual(false).str(), "06/05");
  EXPECT_EQ(QVGetMesAnoAtual(false), (2005 - 1848) * 12 + 6);
  Override("1;01/01/1927;00:00:00:000;01/01/2027;00:00:00:000");
  EXPECT_EQ(QVGetDataAtual(false), 28856);
  Override("1;31/12/1926;23:59:59:999;01/01/2027;00:00:00:000");
  ConfereForaDaJanela("overridden 31/12/1926");
  Override("1;01/01/2027;00:00:00:000;01/01/2027;00:00:00:000");
  ConfereForaDaJanela("overridden 01/01/2027");
  Override("1;01/01/1601;00:00:00:000;01/01/2027;00:00:00:001");  // before 1601: wraps, still refused
  EXPECT_THROW(GetCurrentTime_LocalTime(), CQVException);
}

namespace {

// The machine's time zone for one test.
struct Fuso {
  explicit Fuso(const char* tz) : anterior(getenv("TZ") ? getenv("TZ") : ""), tinha(getenv("TZ") != nullptr) {
    setenv("TZ", tz, 1);
    tzset();
  }
  ~Fuso() {
    tinha ? setenv("TZ", anterior.c_str(), 1) : unsetenv("TZ");
    tzset();
  }
  std::string anterior;
  bool tinha;
};

}  // namespace

TEST_F(Relogio, UniversalTimeTakesTheMachinesOffset) {
  Fuso tresHorasAntes("<-03>3");
  SetLocal(2024, 1, 15, 9, 0);
  SYSTEMTIME universal = GetCurrentTime_SystemTime();
  EXPECT_EQ(universal.wDay * 100 + universal.wHour, 1512);
  EXPECT_EQ(GetCurrentTime_time_t(), 1'705'320'000);  // 15/01/2024 12:00 UTC
  Override("1;15/03/2020;08:00:00:000;15/01/2024;09:00:00:000");
  universal = GetCurrentTime_SystemTime();
  EXPECT_EQ(universal.wMonth * 10000 + universal.wDay * 100 + universal.wHour, 31511);
  Override("1;31/12/1969;20:59:59:500;15/01/2024;09:00:00:000");  // half a second before 1970 UTC
  EXPECT_EQ(GetCurrentTime_time_t(), -1);
}

TEST_F(Relogio, SecondsSince1970TakeTheDaylightSavingOfTheBelievedDate) {
  // -03, and -02 from the third Sunday of October to the third Sunday of February. Whatever the
  // real season, one of the two believed dates lies in the other one.
  Fuso comHorarioDeVerao("<-03>3<-02>,M10.3.0/0,M2.3.0/0");
  SetLocal(2024, 5, 10, 15, 30);
  Override("1;15/01/2018;12:00:00:000;10/05/2024;15:30:00:000");
  EXPECT_EQ(GetCurrentTime_time_t(), 1'516'024'800);  // 15/01/2018 14:00 UTC
  Override("1;15/06/2018;12:00:00:000;10/05/2024;15:30:00:000");
  EXPECT_EQ(GetCurrentTime_time_t(), 1'529'074'800);  // 15/06/2018 15:00 UTC
}
