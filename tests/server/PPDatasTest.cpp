#include "server/PPDatas.h"

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

#include "tests/support/Instalacao.h"
#include "tests/support/TempDir.h"

namespace {

using namespace std::chrono;

// The day number from the real calendar (31/12/1847 is day 1), independent of the date library.
uint16_t Dia(int d, int m, int y) {
  auto dias = sys_days(year_month_day(year(y), month(m), day(d))) - sys_days(year(1847) / December / 30);
  return static_cast<uint16_t>(dias.count());
}

CY Cy(int64_t bruto) {
  CY valor;
  valor.int64 = bruto;
  return valor;
}

}  // namespace

TEST(PPCalculaProximaData, EveryPeriodicityStepsFromItsDate) {
  struct Caso {
    uint16_t data;
    char periodicidade;
    uint16_t esperada;
  } casos[] = {
      {Dia(31, 12, 2021), 1, Dia(1, 1, 2022)},
      {Dia(28, 2, 2024), 2, Dia(6, 3, 2024)},
      {Dia(20, 2, 2023), 3, Dia(7, 3, 2023)},
      {Dia(31, 1, 2021), 4, Dia(28, 2, 2021)},
      {Dia(31, 1, 2024), 4, Dia(29, 2, 2024)},
      {Dia(15, 12, 2021), 4, Dia(15, 1, 2022)},  // month 13: January of the next year
      {Dia(31, 3, 2022), 4, Dia(30, 4, 2022)},
      {Dia(31, 12, 2021), 5, Dia(28, 2, 2022)},
      {Dia(15, 11, 1999), 5, Dia(15, 1, 2000)},  // across the century of the two-digit years
      {Dia(30, 11, 2021), 6, Dia(28, 2, 2022)},
      {Dia(15, 10, 2025), 6, Dia(15, 1, 2026)},
      {Dia(31, 10, 2021), 7, Dia(28, 2, 2022)},
      {Dia(31, 5, 2023), 7, Dia(30, 9, 2023)},
      {Dia(10, 7, 2021), 8, Dia(10, 1, 2022)},
      {Dia(30, 6, 2021), 8, Dia(30, 12, 2021)},  // month 12 stays in the year
      {Dia(31, 8, 2023), 8, Dia(29, 2, 2024)},
      {Dia(29, 2, 2024), 9, Dia(28, 2, 2025)},
      {Dia(1, 3, 1999), 9, Dia(1, 3, 2000)},
      {Dia(15, 6, 2021), 0, 0},
      {Dia(15, 6, 2021), 10, 0},
  };
  for (const Caso& c : casos)
    EXPECT_EQ(PPCalculaProximaData(c.data, c.periodicidade), c.esperada)
        << PPFormataData(c.data, true).str() << " code " << int{c.periodicidade};
}

TEST(PPCalculaHoras, HoursBetweenDateTimesKeepFourDecimalsAtEachStep) {
  const uint16_t d = Dia(7, 3, 2024);
  struct Caso {
    uint16_t data1, minutos1, data2, minutos2;
    int64_t esperado;  // 1/10,000 of an hour
  } casos[] = {
      {d, 600, d, 570, -5000},
      {d, 1410, static_cast<uint16_t>(d + 1), 30, 10000},
      {static_cast<uint16_t>(d + 1), 30, d, 1410, -10000},
      {d, 10, d, 20, 1666},                                  // 0.3333 - 0.1667
      {d, 20, static_cast<uint16_t>(d + 1), 10, 238334},     // 24 - 0.3333 + 0.1667
      {d, 0, static_cast<uint16_t>(d + 2), 0, 480000},
      {d, 0, d, 1439, 239833},
  };
  for (const Caso& c : casos) {
    CQVCurrencyEx horas = PPCalculaHoras(c.data1, c.minutos1, c.data2, c.minutos2);
    EXPECT_EQ(horas.GetValorBruto(), c.esperado) << c.minutos1 << " -> " << c.minutos2;
    EXPECT_EQ(horas.GetModo(), kQVModoArredonda);
    EXPECT_TRUE(horas.EhQuatroCasas());
  }
}

TEST(PPCalculaDiferencaContador, AWrappedCounterAddsItsRange) {
  struct Caso {
    int64_t inicial, final_;
    uint16_t digitos;
    int64_t esperado;
  } casos[] = {
      {99900000, 100000, 4, 200000},     // 9990 -> 10 on four digits: 20
      {100000, 99900000, 4, 99800000},   // 9980
      {9999995000, 5000, 6, 10000},      // 999999.5 -> 0.5: 1
      {12345, 12345, 3, 0},
      {50000, 0, 1, 50000},              // -5 + 10^1
  };
  for (const Caso& c : casos) {
    CQVCurrencyEx diferenca = PPCalculaDiferencaContador(Cy(c.inicial), Cy(c.final_), c.digitos);
    EXPECT_EQ(diferenca.GetValorBruto(), c.esperado) << c.inicial << " -> " << c.final_;
    EXPECT_EQ(diferenca.GetModo(), kQVModoArredonda);
  }
}

TEST(PPDatas, TextsOfDatesTimesAndMonths) {
  EXPECT_EQ(PPFormataHora(1439).str(), "23:59");
  EXPECT_EQ(PPFormataHora(0).str(), "00:00");
  EXPECT_EQ(PPFormataHora(605).str(), "10:05");
  EXPECT_EQ(PPFormataData(Dia(7, 3, 2024), false).str(), "07/03/24");
  EXPECT_EQ(PPFormataData(Dia(31, 12, 1999), true).str(), "31/12/1999");
  EXPECT_EQ(PPFormataData(0, false).str(), "00/00/00");
  EXPECT_EQ(PPFormataDataHora(Dia(1, 1, 2026), 61).str(), "01/01/26 01:01");
  EXPECT_EQ(PPFormataMesAno((2024 - 1848) * 12 + 3, false).str(), "03/24");
  EXPECT_EQ(PPFormataMesAno((1927 - 1848) * 12 + 1, true).str(), "01/1927");
  EXPECT_EQ(PPMinutosDoDia(COleDateTime(2024, 3, 7, 23, 59, 59)), 1439);
}

TEST(PPDatas, CurrentMinuteComesFromTheOverridableClock) {
  Instalacao instalacao;
  TestClock relogio;
  relogio.SetLocalTime(SYSTEMTIME{2024, 5, 0, 10, 15, 30, 0, 0});
  EXPECT_EQ(PPHoraAtualMinutos(), 15 * 60 + 30);
  instalacao.GravaValor("SYSTEM\\CurrentControlSet\\Control\\Session Manager\\Environment", "QV_DATETIME",
                        "1;15/03/2020;08:00:00:000;10/05/2024;14:30:00:000");
  EXPECT_EQ(PPHoraAtualMinutos(), 9 * 60);
}

TEST(PPDatas, VersionedNames) {
  EXPECT_EQ(PPNomeArquivoVersao("C:\\QV\\EMP\\PP\\PPOP0124.DAT", 3).str(), "C:\\QV\\EMP\\PP\\PPOP0124_V003.DAT");
  EXPECT_EQ(PPNomeArquivoVersao("\\srv\\PPCOLCAO.HIS", 12).str(), "\\srv\\PPCOLCAO_V012.HIS");
  EXPECT_EQ(PPNomeArquivoVersao("PPMESTRE.DAT", 1000).str(), "PPMESTRE_V1000.DAT");
}

TEST(PPDatas, HistoryFileIsRenamedToItsVersionedNameWhenPresent) {
  TempDir dir;
  const std::string dat = dir.windows_path() + "PPCOLCAO.DAT";
  dir.Write("PPCOLCAO.DAT", "dados");
  EXPECT_EQ(PPRenomeiaHistoricoVersao(dat.c_str(), 1), S_OK) << "no history file: nothing to do";
  EXPECT_EQ(dir.Read("PPCOLCAO.DAT"), "dados");

  dir.Write("PPCOLCAO.HIS", "historico");
  EXPECT_EQ(PPRenomeiaHistoricoVersao(dat.c_str(), 1), S_OK);
  EXPECT_EQ(dir.Read("PPCOLCAO_V001.HIS"), "historico");
  EXPECT_EQ(dir.Read("PPCOLCAO.HIS"), "");

  dir.Write("PPCOLCAO.HIS", "outro");
  EXPECT_EQ(PPRenomeiaHistoricoVersao(dat.c_str(), 1), E_FAIL) << "the versioned copy exists already";
  EXPECT_EQ(dir.Read("PPCOLCAO.HIS"), "outro");
  EXPECT_EQ(dir.Read("PPCOLCAO_V001.HIS"), "historico");
}

TEST(PPDatas, RenamesStopAtTheFirstFailureAndSayWhy) {
  TempDir dir;
  const std::string w = dir.windows_path();
  dir.Write("A.TRA", "a");
  dir.Write("C.TRA", "c");
  const std::vector<CString> origem = {(w + "A.TRA").c_str(), (w + "B.TRA").c_str(), (w + "C.TRA").c_str()};
  const std::vector<CString> destino = {(w + "A.DAT").c_str(), (w + "B.DAT").c_str(), (w + "C.DAT").c_str()};
  CString erro = "antigo";
  EXPECT_FALSE(PPRenomeiaArquivos(origem, destino, erro));
  EXPECT_EQ(erro.str(), "Renomear arquivo " + w + "B.TRA; Erro: 2; Causa: 2");
  EXPECT_EQ(dir.Read("A.DAT"), "a");
  EXPECT_EQ(dir.Read("C.TRA"), "c");
  EXPECT_EQ(dir.Read("C.DAT"), "");

  dir.Write("B.TRA", "b");
  EXPECT_TRUE(PPRenomeiaArquivos({origem[1], origem[2]}, {destino[1], destino[2]}, erro));
  EXPECT_TRUE(erro.IsEmpty());
  EXPECT_EQ(dir.Read("B.DAT") + dir.Read("C.DAT"), "bc");
}
