#include "foundation/CQVDataHora.h"

#include <gtest/gtest.h>

namespace {

// Day numbers counted by hand from 31/12/1847 = day 1.
constexpr uint16_t k07032024 = 64351;
constexpr uint16_t kDia = 64351;

CQVDataHora DH(uint16_t data, int hora, int minuto) { return CQVDataHora(data, static_cast<uint16_t>(hora * 60 + minuto)); }

}  // namespace

TEST(CQVDataHora, FieldsNumbersAndTexts) {
  CQVDataHora momento = DH(k07032024, 10, 5);
  EXPECT_EQ(momento.GetDia() * 10000 + momento.GetMes() * 100 + momento.GetAno() % 100, 70324);
  EXPECT_EQ(momento.GetAno(), 2024);
  EXPECT_EQ(momento.GetMesAno(), (2024 - 1848) * 12 + 3);
  EXPECT_EQ(momento.GetHora() * 100 + momento.GetMinuto(), 1005);
  EXPECT_EQ(momento.GetDataNumerica(), 20240307);
  EXPECT_EQ(momento.GetMesAnoNumerico(), 202403);
  EXPECT_EQ(momento.GetHoraNumerica(), 1005);
  EXPECT_DOUBLE_EQ(momento.GetValorNumerico(), 202403071005.0);
  EXPECT_EQ(momento.GetTextoData(false).str(), "07/03/24");
  EXPECT_EQ(momento.GetTextoData(true).str(), "07/03/2024");
  EXPECT_EQ(momento.GetTextoHora().str(), "10:05");
  EXPECT_EQ(momento.GetTexto(true).str(), "07/03/2024 10:05");

  short data, minutos;
  momento.GetDataHora(data, minutos);
  EXPECT_EQ(static_cast<uint16_t>(data), k07032024);
  EXPECT_EQ(minutos, 605);

  momento.SetMinimo();
  EXPECT_EQ(momento, CQVDataHora(28856, 0));
  momento.SetMaximo();
  EXPECT_EQ(momento, CQVDataHora(65380, 1439));
  momento.SetDataHora(kDia, 30);
  momento.SetDataMinima();
  momento.SetHoraFinal();
  EXPECT_EQ(momento, CQVDataHora(28856, 1439));
  momento.SetDataMaxima();
  momento.SetHoraInicial();
  EXPECT_EQ(momento, CQVDataHora(65380, 0));
  momento.Limpa();
  EXPECT_EQ(momento, CQVDataHora());
}

TEST(CQVDataHora, OrderIsDateFirstThenMinutes) {
  struct Caso {
    CQVDataHora a, b;
    int ordem;  // -1 a before b, 0 equal, 1 after
  } casos[] = {
      {DH(kDia, 23, 59), DH(kDia + 1, 0, 0), -1},
      {DH(kDia, 10, 0), DH(kDia, 9, 59), 1},
      {DH(kDia, 10, 0), DH(kDia, 10, 0), 0},
      {DH(0, 23, 0), DH(kDia, 0, 0), -1},
  };
  for (const Caso& c : casos) {
    EXPECT_EQ(c.a < c.b, c.ordem < 0) << c.ordem;
    EXPECT_EQ(c.a > c.b, c.ordem > 0);
    EXPECT_EQ(c.a <= c.b, c.ordem <= 0);
    EXPECT_EQ(c.a >= c.b, c.ordem >= 0);
    EXPECT_EQ(c.a == c.b, c.ordem == 0);
    EXPECT_EQ(c.a != c.b, c.ordem != 0);
  }
}

TEST(CQVDataHora, HoursBetweenTwoDateTimesInEitherOrder) {
  struct Caso {
    CQVDataHora a, b;
    int64_t horasBrutas;  // 1/10,000 of an hour
  } casos[] = {
      {DH(kDia, 10, 0), DH(kDia, 9, 30), 5000},
      {DH(kDia, 23, 30), DH(kDia + 1, 0, 15), 7500},
      {DH(kDia, 0, 0), DH(kDia, 0, 10), 1667},
      {DH(kDia, 8, 0), DH(kDia + 2, 8, 0), 480000},
      {DH(kDia, 8, 0), DH(kDia, 8, 0), 0},
      {CQVDataHora(0, 0), CQVDataHora(65535, 1439), 15728639833},  // the widest span the fields hold
  };
  for (const Caso& c : casos) {
    EXPECT_EQ(c.a.CalculaDiferencaHoras(c.b).GetValorBruto(), c.horasBrutas);
    EXPECT_EQ(c.b.CalculaDiferencaHoras(c.a).GetValorBruto(), c.horasBrutas);
  }
}

TEST(CQVDataHora, SubtractingHoursCrossesMidnightBothWays) {
  struct Caso {
    CQVDataHora antes;
    int64_t horasBrutas;
    CQVDataHora depois;
  } casos[] = {
      {DH(kDia, 1, 0), 15000, DH(kDia - 1, 23, 30)},
      {DH(kDia, 10, 0), 5000, DH(kDia, 9, 30)},
      {DH(kDia, 23, 30), -10000, DH(kDia + 1, 0, 30)},
      {DH(kDia, 12, 0), 480000, DH(kDia - 2, 12, 0)},
  };
  for (const Caso& c : casos) {
    CQVDataHora momento = c.antes;
    CY horas;
    horas.int64 = c.horasBrutas;
    momento.SubtraiHoras(horas);
    EXPECT_EQ(momento.GetData(), c.depois.GetData()) << c.horasBrutas;
    EXPECT_EQ(momento.GetMinutos(), c.depois.GetMinutos()) << c.horasBrutas;
  }
}

// A result outside 01/01/1927 00:00 .. 31/12/2026 23:59 is refused and the value kept, however far
// outside it lies: a CY holds up to about 9.2e14 hours, far beyond what a day count can take.
TEST(CQVDataHora, SubtractingHoursRefusesResultsOutsideTheDatesAndKeepsTheValue) {
  const uint16_t minima = 28856, maxima = 65380;
  struct Caso {
    CQVDataHora antes;
    int64_t horasBrutas;
    CQVDataHora depois;  // == antes: refused
  } casos[] = {
      {DH(minima, 0, 30), 5000, DH(minima, 0, 0)},                  // the first minute
      {DH(minima, 0, 30), 5001, DH(minima, 0, 30)},                 // just before it
      {DH(maxima, 23, 30), -4999, DH(maxima, 23, 59)},              // the last minute
      {DH(maxima, 23, 30), -5000, DH(maxima, 23, 30)},              // just after it
      {DH(maxima, 23, 59), (maxima - minima) * 240000LL + 239833, DH(minima, 0, 0)},  // whole span
      {DH(kDia, 12, 0), 10000000000LL, DH(kDia, 12, 0)},            // 1,000,000 h back: 1912
      {DH(kDia, 12, 0), -1000000000LL, DH(kDia, 12, 0)},            // 100,000 h on: past 2026
      {DH(kDia, 12, 0), 226000000000000LL, DH(kDia, 12, 0)},        // 2.26e10 h
      {DH(kDia, 12, 0), -226000000000000LL, DH(kDia, 12, 0)},
      {DH(kDia, 12, 0), INT64_MAX, DH(kDia, 12, 0)},
      {DH(kDia, 12, 0), INT64_MIN, DH(kDia, 12, 0)},
      {DH(0, 0, 0), -240000, DH(0, 0, 0)},                          // an empty date stays empty
  };
  for (const Caso& c : casos) {
    CQVDataHora momento = c.antes;
    CY horas;
    horas.int64 = c.horasBrutas;
    EXPECT_EQ(momento.SubtraiHoras(horas), c.depois != c.antes) << c.horasBrutas;
    EXPECT_EQ(momento.GetData(), c.depois.GetData()) << c.horasBrutas;
    EXPECT_EQ(momento.GetMinutos(), c.depois.GetMinutos()) << c.horasBrutas;
  }
}

TEST(CQVPeriodo, IntersectsWhenTheyShareAMinuteEmptyDatesOpenTheEnds) {
  const CQVPeriodo manha(DH(kDia, 8, 0), DH(kDia, 12, 0));
  struct Caso {
    CQVPeriodo outro;
    bool intersecta;
  } casos[] = {
      {CQVPeriodo(DH(kDia, 12, 0), DH(kDia, 18, 0)), true},   // touches at 12:00
      {CQVPeriodo(DH(kDia, 12, 1), DH(kDia, 18, 0)), false},
      {CQVPeriodo(DH(kDia - 1, 0, 0), DH(kDia, 8, 0)), true},
      {CQVPeriodo(DH(kDia - 1, 0, 0), DH(kDia, 7, 59)), false},
      {CQVPeriodo(DH(kDia, 9, 0), DH(kDia, 10, 0)), true},     // inside
      {CQVPeriodo(DH(kDia - 1, 9, 0), DH(kDia + 1, 10, 0)), true},  // around
      {CQVPeriodo(), true},                                     // (0, 0): everything
      {CQVPeriodo(DH(0, 0, 0), DH(kDia - 1, 23, 59)), false},   // open begin, ends the day before
      {CQVPeriodo(DH(kDia, 11, 0), DH(0, 0, 0)), true},         // open end
      {CQVPeriodo(DH(kDia + 1, 0, 0), DH(0, 0, 0)), false},
  };
  for (const Caso& c : casos) {
    EXPECT_EQ(manha.Intersecta(c.outro), c.intersecta)
        << c.outro.GetInicio().GetTexto(true).str() << " - " << c.outro.GetFim().GetTexto(true).str();
    EXPECT_EQ(c.outro.Intersecta(manha), c.intersecta);
  }
  EXPECT_TRUE(CQVPeriodo().Intersecta(CQVPeriodo(DH(kDia, 0, 0), DH(kDia, 0, 0))));
}

TEST(CQVPeriodo, ContainsOnlyForwardPeriodsInsideIt) {
  const CQVPeriodo dia(DH(kDia, 0, 0), DH(kDia, 23, 59));
  struct Caso {
    CQVPeriodo este, outro;
    bool contem;
  } casos[] = {
      {dia, CQVPeriodo(DH(kDia, 8, 0), DH(kDia, 12, 0)), true},
      {dia, dia, true},
      {dia, CQVPeriodo(DH(kDia, 8, 0), DH(kDia + 1, 0, 0)), false},
      {dia, CQVPeriodo(DH(kDia - 1, 23, 59), DH(kDia, 1, 0)), false},
      {dia, CQVPeriodo(DH(kDia, 12, 0), DH(kDia, 8, 0)), false},  // the other runs backwards
      {CQVPeriodo(DH(kDia, 23, 59), DH(kDia, 0, 0)), CQVPeriodo(DH(kDia, 8, 0), DH(kDia, 8, 0)), false},
      {dia, CQVPeriodo(), false},  // empty dates are not opened here: 0 lies before the day
      {CQVPeriodo(DH(0, 0, 0), DH(kDia, 0, 0)), CQVPeriodo(DH(kDia - 5, 0, 0), DH(kDia - 1, 0, 0)), true},
  };
  for (const Caso& c : casos) EXPECT_EQ(c.este.Contem(c.outro), c.contem) << c.outro.GetInicio().GetTexto(true).str();

  CQVPeriodo periodo = dia;
  periodo.SetInicio(DH(kDia, 6, 0));
  periodo.SetFim(DH(kDia, 7, 0));
  EXPECT_EQ(periodo.GetInicio(), DH(kDia, 6, 0));
  EXPECT_EQ(periodo.GetFim(), DH(kDia, 7, 0));
  periodo.Limpa();
  EXPECT_EQ(periodo.GetInicio(), CQVDataHora());
  EXPECT_EQ(periodo.GetFim(), CQVDataHora());
}
