#include "foundation/QVData.h"

#include <gtest/gtest.h>

#include <chrono>
#include <string>

namespace {

using namespace std::chrono;

// The day number from the real calendar: 31/12/1847 is day 1.
int NumeroPeloCalendario(int d, int m, int y) {
  auto dias = sys_days(year_month_day(year(y), month(m), day(d))) - sys_days(year(1847) / December / 30);
  return static_cast<int>(dias.count());
}

}  // namespace

TEST(QVData, EveryDateOfTheWindowRoundTripsAndAgreesWithTheCalendar) {
  int anterior = 0;
  for (sys_days dia = sys_days(year(1927) / January / 1); dia <= sys_days(year(2026) / December / 31); dia += days(1)) {
    year_month_day ymd(dia);
    int d = static_cast<unsigned>(ymd.day()), m = static_cast<unsigned>(ymd.month()), y = static_cast<int>(ymd.year());
    uint16_t numero = QVMontaData(d, m, y);
    ASSERT_EQ(numero, NumeroPeloCalendario(d, m, y)) << d << "/" << m << "/" << y;
    ASSERT_EQ(numero, anterior == 0 ? 28856 : anterior + 1);
    anterior = numero;
    int d2, m2, y2;
    QVSeparaData(numero, &d2, &m2, &y2);
    ASSERT_EQ(d2 * 10000 + m2 * 100 + (y2 - 1900), d * 10000 + m * 100 + (y - 1900)) << numero;
    ASSERT_EQ(QVDataParaMesAno(numero), QVMontaMesAno(m, y));
  }
  EXPECT_EQ(anterior, 65380);
}

TEST(QVData, MontaDataLowersTheDayAndReadsTwoDigitYears) {
  struct Caso { int d, m, y; int esperado; } casos[] = {
      {1, 1, 1927, 28856},
      {31, 12, 2026, 65380},
      {1, 1, 2000, 55519},
      {31, 2, 2024, NumeroPeloCalendario(29, 2, 2024)},
      {29, 2, 2023, NumeroPeloCalendario(28, 2, 2023)},
      {1, 1, 1926, NumeroPeloCalendario(1, 1, 2026)},
      {31, 4, 1999, NumeroPeloCalendario(30, 4, 1999)},
      {1, 1, 27, 28856},
      {15, 13, 1999, NumeroPeloCalendario(15, 1, 2000)},  // month 13 is January of the next year
      {31, 13, 2023, NumeroPeloCalendario(31, 1, 2024)},
      {0, 0, 0, 0},
  };
  for (const Caso& c : casos) EXPECT_EQ(QVMontaData(c.d, c.m, c.y), c.esperado) << c.d << "/" << c.m << "/" << c.y;
  int d = -1, m = -1, y = -1;
  QVSeparaData(0, &d, &m, &y);
  EXPECT_EQ(d + m + y, 0);
  QVSeparaData(28856, nullptr, nullptr, &y);
  EXPECT_EQ(y, 1927);
}

TEST(QVData, MonthNumbers) {
  EXPECT_EQ(QVMontaMesAno(1, 1927), 949);
  EXPECT_EQ(QVMontaMesAno(12, 2026), 2148);
  EXPECT_EQ(QVMontaMesAno(1, 2000), 1825);
  EXPECT_EQ(QVMontaMesAno(0, 0), 0);
  struct Caso { uint16_t numero; int mes, ano; } casos[] = {{949, 1, 1927}, {960, 12, 1927}, {2148, 12, 2026}, {1825, 1, 2000}, {1824, 12, 1999}};
  for (const Caso& c : casos) {
    int mes, ano;
    QVSeparaMesAno(c.numero, &mes, &ano);
    EXPECT_EQ(mes, c.mes) << c.numero;
    EXPECT_EQ(ano, c.ano) << c.numero;
  }
  EXPECT_EQ(QVMesAnoParaData(31, QVMontaMesAno(2, 2025)), QVMontaData(28, 2, 2025));
  EXPECT_EQ(QVDataMinima(), 28856);
  EXPECT_EQ(QVDataMaxima(), 65380);
}

TEST(QVData, TextsOfDatesAndMonths) {
  char buffer[16];
  EXPECT_STREQ(QVFormataData(5, 3, 2024, buffer, false), "05/03/24");
  EXPECT_STREQ(QVFormataData(5, 3, 2024, buffer, true), "05/03/2024");
  EXPECT_STREQ(QVFormataData(5, 3, 1965, buffer, true), "05/03/1965");
  EXPECT_STREQ(QVFormataData(0, 0, 0, buffer, false), "00/00/00");
  EXPECT_STREQ(QVFormataData(0, 0, 0, buffer, true), "00/00/0000");
  EXPECT_STREQ(QVDataParaTexto(65380, buffer, true), "31/12/2026");
  EXPECT_STREQ(QVMesAnoParaTexto(949, buffer, false), "01/27");
  EXPECT_STREQ(QVMesAnoParaTexto(2148, buffer, true), "12/2026");

  EXPECT_EQ(QVTextoParaMesAno("02/25"), QVMontaMesAno(2, 2025));
  EXPECT_EQ(QVTextoParaMesAno("00/00"), 0);
  struct Caso { const char* texto; int d, m, y; } casos[] = {
      {"31/12/2026", 31, 12, 2026},
      {"31/12/26", 31, 12, 2026},
      {"01/01/27", 1, 1, 1927},
      {"01011927", 1, 1, 1927},
      {"01/01/2127", 0, 0, 0},  // a century other than 19 or 20 is no date
      {"00/00/00", 0, 0, 0},
  };
  for (const Caso& c : casos) {
    int d, m, y;
    QVSeparaTextoData(c.texto, &d, &m, &y);
    EXPECT_EQ(d * 1000000 + m * 10000 + y, c.d * 1000000 + c.m * 10000 + c.y) << c.texto;
  }
  EXPECT_EQ(QVTextoParaData("29/02/2024"), QVMontaData(29, 2, 2024));
}

TEST(QVData, ValidatesDateTexts) {
  struct Caso { const char* texto; bool completa; bool valida; } casos[] = {
      {"29/02/2024", true, true},  {"29/02/2023", true, false}, {"29/02/00", true, true},
      {"31/04/2024", true, false}, {"00/01/2024", true, false}, {"01/13/2024", true, false},
      {"01/01/1827", true, false}, {"12/25", false, true},      {"13/25", false, false},
      {"12/25", true, false},      {"01-01-99", true, true},    {"", true, false},
      // Four-digit years outside the window would read as a year of the window: 2031 as 1931.
      {"01/01/1927", true, true},  {"31/12/2026", true, true},  {"31/12/1926", true, false},
      {"01/01/2027", true, false}, {"30/06/2031/", true, false},
  };
  for (const Caso& c : casos) EXPECT_EQ(QVValidaTextoData(c.texto, c.completa), c.valida) << c.texto;
}

TEST(QVData, SecondDayCount) {
  char buffer[16];
  EXPECT_EQ(QVMontaDiaCorrido(1, 1, 1850), 1);
  EXPECT_EQ(QVMontaDiaCorrido(4, 6, 2029), 65535);
  EXPECT_EQ(QVMontaDiaCorrido(1, 3, 1852), 791);
  EXPECT_EQ(QVMontaDiaCorrido(0, 0, 0), 0);
  EXPECT_STREQ(QVDiaCorridoParaTexto(1, buffer), "01/01/1850");
  EXPECT_STREQ(QVDiaCorridoParaTexto(791, buffer), "01/03/1852");
  EXPECT_STREQ(QVDiaCorridoParaTexto(65535, buffer), "04/06/2029");
  EXPECT_STREQ(QVDiaCorridoParaTexto(365, buffer), "31/12/1850");
  for (int n = 1; n <= 65535; n += 97) {
    QVDiaCorridoParaTexto(static_cast<uint16_t>(n), buffer);
    ASSERT_EQ(QVTextoParaDiaCorrido(buffer), n) << buffer;
  }
  EXPECT_EQ(QVTextoParaMesCorrido("01/1850"), 1);
  EXPECT_EQ(QVTextoParaMesCorrido("12/1851"), 24);
}

TEST(QVData, WeekdayFromTheCalendar) {
  EXPECT_EQ(QVDiaDaSemana(28856, false), 7);                        // 01/01/1927, a Saturday
  EXPECT_EQ(QVDiaDaSemana(65380, false), 5);                        // 31/12/2026, a Thursday
  EXPECT_EQ(QVDiaDaSemana(QVMontaData(1, 1, 2023), false), 1);      // a Sunday
  EXPECT_EQ(QVDiaDaSemana(QVMontaDiaCorrido(1, 1, 2023), true), 1);
  EXPECT_EQ(QVDiaDaSemana(QVMontaDiaCorrido(1, 1, 1850), true), 0);  // the date text check wants 19xx or 20xx
  EXPECT_EQ(QVDiaDaSemana(0, false), 0);
}
