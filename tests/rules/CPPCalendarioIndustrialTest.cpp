// The factory calendar's working-day counts in both modes: per branch over the branch and holiday
// stand-ins, and for the company over a production calendar that a class of this test serves under
// the calendar server's class identifier. Today is pinned on the test clock (10/05/2024 unless a
// case says otherwise).
#include "rules/CPPCalendarioIndustrial.h"

#include <gtest/gtest.h>

#include <cstring>
#include <iterator>
#include <map>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "foundation/QVData.h"
#include "platform/com/apartment.h"
#include "platform/com/standin.h"
#include "platform/family/ServidoresFamilia.h"
#include "platform/family/base/CadastrosDF.h"
#include "platform/win32/clock.h"
#include "platform/win32/messagebox.h"
#include "tests/access/MestreFalso.h"
#include "tests/support/Instalacao.h"
#include "tests/support/ObjetoFalso.h"

namespace {

constexpr HRESULT kNegado = HRESULT_FROM_WIN32(ERROR_ACCESS_DENIED);
constexpr uint32_t kCalendarioPadrao = 40;
constexpr uint32_t kOutroCalendario = 41;
// Branch pointer 1 has code 12 and holiday table 3; pointer 2 has code 7 and table 5, which is
// listed but holds no holiday.
constexpr uint16_t kFilialComFeriados = 12;
constexpr uint16_t kFilialSemFeriados = 7;
constexpr uint16_t kTabelaFeriados = 3;
constexpr uint16_t kTabelaVazia = 5;

uint16_t Dia(int dia, int mes, int ano) { return QVMontaData(dia, mes, ano); }
uint16_t Mes(int mes, int ano) { return QVMontaMesAno(mes, ano); }

SYSTEMTIME Momento(int dia, int mes, int ano) {
  SYSTEMTIME momento{};
  momento.wYear = static_cast<WORD>(ano);
  momento.wMonth = static_cast<WORD>(mes);
  momento.wDay = static_cast<WORD>(dia);
  momento.wHour = 10;
  return momento;
}

struct Contagem {
  uint32_t noMes, noAno, passadosNoMes, passadosNoAno;
  bool operator==(const Contagem&) const = default;
};
std::ostream& operator<<(std::ostream& saida, const Contagem& c) {
  return saida << "{mes " << c.noMes << ", ano " << c.noAno << ", passados no mes " << c.passadosNoMes
               << ", passados no ano " << c.passadosNoAno << "}";
}
Contagem ContagemDe(const CPPDadosCalendarioIndustrialResposta& resposta) {
  return {resposta.GetDiasUteisNoMes(), resposta.GetDiasUteisNoAno(), resposta.GetDiasUteisPassadosNoMes(),
          resposta.GetDiasUteisPassadosNoAno()};
}
// An answer with every count set, to see that a call empties it.
CPPDadosCalendarioIndustrialResposta RespostaSuja() {
  CPPDadosCalendarioIndustrialResposta resposta;
  resposta.SetDiasUteisNoMes(99);
  resposta.SetDiasUteisNoAno(99);
  resposta.SetDiasUteisPassadosNoMes(99);
  resposta.SetDiasUteisPassadosNoAno(99);
  return resposta;
}

FeriadoDF Feriado(uint16_t tabela, uint16_t data, uint16_t tipo) {
  FeriadoDF feriado;
  std::memset(&feriado, 0, sizeof feriado);
  feriado.usTabela = tabela;
  feriado.regFeriado.iData = data;
  feriado.regFeriado.iTipo = tipo;
  return feriado;
}

// Table 3 in 2024: four non-working holidays (01/01, 01/05, 07/05, 25/12) and one holiday of a
// working kind (02/05).
std::vector<FeriadoDF> FeriadosDe2024() {
  return {Feriado(kTabelaFeriados, Dia(1, 1, 2024), 2), Feriado(kTabelaFeriados, Dia(1, 5, 2024), 2),
          Feriado(kTabelaFeriados, Dia(2, 5, 2024), 3), Feriado(kTabelaFeriados, Dia(7, 5, 2024), 6),
          Feriado(kTabelaFeriados, Dia(25, 12, 2024), 10)};
}

__MIDL___MIDL_itf_Brisel_0000_0003 Filial(uint16_t codigo, uint8_t tabela) {
  __MIDL___MIDL_itf_Brisel_0000_0003 filial;
  std::memset(&filial, 0, sizeof filial);
  filial.iCodigo = codigo;
  filial.cPonteiroFeriado = tabela;
  return filial;
}

_REG_PP_DATA_CALENDARIOPS DataCalendario(uint16_t data, uint16_t percentual, uint8_t tipo) {
  _REG_PP_DATA_CALENDARIOPS registro;
  std::memset(&registro, 0, sizeof registro);
  registro.usData = data;
  registro.usPercentual = percentual;
  registro.cTipoData = tipo;
  return registro;
}

// ---------------------------------------------------------------------------------------------
// The production calendars that the fake calendar server answers: the dates of each (calendar,
// month) it holds, in the order given; any other month has none. A date pointer is the month's
// place in the map from 1. It records its month requests and fails every call of a kind while the
// kind's failure is set.

struct CalendariosProducao {
  using Chave = std::pair<uint32_t, uint16_t>;
  std::map<Chave, std::vector<_REG_PP_DATA_CALENDARIOPS>> meses;
  std::vector<Chave> buscas;
  HRESULT falhaBusca = S_OK;
  HRESULT falhaLeitura = S_OK;
};

class CalendarioFalso : public ObjetoFalso<CalendarioFalso, IQVPP_Calendario, IID_IQVPP_Calendario> {
 public:
  HRESULT Inicializa(_REG_VARMO_INICIALIZAPS, uint16_t) override { return S_OK; }
  HRESULT Finaliza() override { return S_OK; }
  HRESULT BuscaQtdDiasCalendario(uint32_t lPntrCalendario, uint16_t usMesAno, uint16_t* pusQuantidade,
                                 uint32_t* plPntrData) override {
    dados_.buscas.emplace_back(lPntrCalendario, usMesAno);
    if (FAILED(dados_.falhaBusca)) return dados_.falhaBusca;
    const auto mes = dados_.meses.find({lPntrCalendario, usMesAno});
    *pusQuantidade = mes == dados_.meses.end() ? 0 : static_cast<uint16_t>(mes->second.size());
    *plPntrData = mes == dados_.meses.end() ? 0 : static_cast<uint32_t>(std::distance(dados_.meses.begin(), mes) + 1);
    return S_OK;
  }
  HRESULT LeDatasCalendario(uint32_t lPntrIn, uint16_t usQtd, _REG_PP_DATA_CALENDARIOPS* pRegPS) override {
    if (FAILED(dados_.falhaLeitura)) return dados_.falhaLeitura;
    if (lPntrIn == 0 || lPntrIn > dados_.meses.size()) return E_INVALIDARG;
    const std::vector<_REG_PP_DATA_CALENDARIOPS>& datas = std::next(dados_.meses.begin(), lPntrIn - 1)->second;
    if (usQtd > datas.size()) return E_INVALIDARG;
    std::memcpy(pRegPS, datas.data(), usQtd * sizeof(_REG_PP_DATA_CALENDARIOPS));
    return S_OK;
  }
  HRESULT BuscaPonteirosCalendario(_REG_VARMO_PONTEIROS_ULONGPS*) override { return E_NOTIMPL; }
  HRESULT LePonteirosCalendario(int32_t, uint32_t*, _REG_PP_CALENDARIOPS*) override { return E_NOTIMPL; }
  HRESULT Le(uint32_t, _REG_PP_CALENDARIOPS*) override { return E_NOTIMPL; }
  HRESULT GravaCalendario(uint32_t, _REG_PP_CALENDARIOPS, uint32_t*) override { return E_NOTIMPL; }
  HRESULT GravaDatasCalendario(uint32_t, uint16_t, uint16_t, _REG_PP_DATA_CALENDARIOPS*) override {
    return E_NOTIMPL;
  }
  HRESULT GravaAlteracaoMultipla(_REG_PP_ALTERACAO_MULTIPLA_CALENDARIO) override { return E_NOTIMPL; }
  HRESULT FuncaoGenerica(uint32_t, _REG_FUNCAO_GENERICA_VARMO, _REG_FUNCAO_GENERICA_VARMO**) override {
    return E_NOTIMPL;
  }

 private:
  friend ObjetoFalso;

  explicit CalendarioFalso(CalendariosProducao& dados) : dados_(dados) {}

  CalendariosProducao& dados_;
};

// Calendar 40: May 2024 with nine non-working days (01/05 and the weekends) and 10/05 worked at
// half its hours, 22 working days in all, 7 of them up to 10/05; March 2024 with every day
// working, the even days "Diferenciado" at 0 %; December 2026 with every day working. Calendar
// 41 holds June 2024, which calendar 40 does not.
std::map<CalendariosProducao::Chave, std::vector<_REG_PP_DATA_CALENDARIOPS>> CalendariosDoTeste() {
  std::map<CalendariosProducao::Chave, std::vector<_REG_PP_DATA_CALENDARIOPS>> meses;
  auto& maio = meses[{kCalendarioPadrao, Mes(5, 2024)}];
  for (int d = 1; d <= 31; ++d) {
    const bool naoTrabalhado = d == 1 || d == 4 || d == 5 || d == 11 || d == 12 || d == 18 || d == 19 ||
                               d == 25 || d == 26;
    if (naoTrabalhado)
      maio.push_back(DataCalendario(Dia(d, 5, 2024), 0, 1));
    else
      maio.push_back(DataCalendario(Dia(d, 5, 2024), d == 10 ? 5000 : 10000, d == 10 ? 2 : 0));
  }
  auto& marco = meses[{kCalendarioPadrao, Mes(3, 2024)}];
  for (int d = 1; d <= 31; ++d)
    marco.push_back(d % 2 == 0 ? DataCalendario(Dia(d, 3, 2024), 0, 2) : DataCalendario(Dia(d, 3, 2024), 10000, 0));
  auto& dezembro = meses[{kCalendarioPadrao, Mes(12, 2026)}];
  for (int d = 1; d <= 31; ++d) dezembro.push_back(DataCalendario(Dia(d, 12, 2026), 10000, 0));
  auto& junhoOutro = meses[{kOutroCalendario, Mes(6, 2024)}];
  for (int d = 1; d <= 30; ++d) junhoOutro.push_back(DataCalendario(Dia(d, 6, 2024), 10000, 0));
  return meses;
}

// A master-settings server that chooses the mode: the production calendar 40 when
// `calendarioProducao` is 1.
class MestreCalendario : public MestreFalso {
 public:
  HRESULT Le(_REG_VARMO_MESTRE* registro) override {
    const HRESULT hr = MestreFalso::Le(registro);
    if (FAILED(hr)) return hr;
    registro->cUtilizaCalendarioProducaoComoPadrao = calendarioProducao;
    registro->ulPonteiroCalendarioPadrao = kCalendarioPadrao;
    return hr;
  }
  uint8_t calendarioProducao = 0;
};

// Company TESTE with the two branches, holiday tables 3 (2024's holidays) and 5 (none), and the
// production calendars of CalendariosDoTeste served by the fake calendar server.
class CalendarioIndustrial : public ::testing::Test {
 protected:
  void SetUp() override {
    CoInitializeEx(nullptr, COINIT_MULTITHREADED);
    relogio_.SetLocalTime(Momento(10, 5, 2024));
    const std::string e = Instalacao::kEmpresa;
    instalacao_.dir().Write("empresas/TESTE/CN/.keep", "");
    instalacao_.GravaValor("SOFTWARE\\QV Rivovoda\\Empresas\\TESTE", "CN",
                           instalacao_.dir().windows_path() + "empresas\\TESTE\\CN\\");
    ASSERT_EQ(ServidorFiliais::GravaEmpresa(e, "Malharia Teste"), S_OK);
    ASSERT_EQ(ServidorFiliais::GravaFiliais(e, {Filial(kFilialComFeriados, kTabelaFeriados),
                                                Filial(kFilialSemFeriados, kTabelaVazia)}),
              S_OK);
    GravaFeriados(FeriadosDe2024());
    calendarios_.meses = CalendariosDoTeste();
    ASSERT_EQ(familia_.Registra(), S_OK);
    servidorCalendario_.AddClass(CLSID_QVPP_Calendario, [this](REFIID riid, void** objeto) {
      return CalendarioFalso::Cria(riid, objeto, calendarios_);
    });
    ASSERT_EQ(servidorCalendario_.Register(), S_OK);
    buffer_.Inicializa(Instalacao::kEmpresa, 7, 1234);
    buffer_.SetIMestrePP(&mestre_);
  }
  void TearDown() override {
    buffer_.Finaliza();
    CoUninitialize();
  }

  void GravaFeriados(const std::vector<FeriadoDF>& feriados) {
    ASSERT_EQ(GravaFeriadosDF(Instalacao::kEmpresa, {kTabelaFeriados, kTabelaVazia}, feriados), S_OK);
  }
  // A calendar initialised in the mode given (1: production calendar); the hub's caches are
  // emptied so that the master settings are read again.
  void Inicializa(CPPCalendarioIndustrial& calendario, uint8_t calendarioProducao) {
    mestre_.calendarioProducao = calendarioProducao;
    buffer_.LimparBuffer(false);
    ASSERT_EQ(calendario.Inicializa(&buffer_), S_OK);
    ASSERT_TRUE(calendario.GetInicializado());
  }
  Contagem Pergunta(CPPCalendarioIndustrial& calendario, uint16_t filial, uint16_t mesAno) {
    CPPDadosCalendarioIndustrialResposta resposta = RespostaSuja();
    EXPECT_EQ(calendario.GetDiasUteis(filial, mesAno, resposta), S_OK);
    return ContagemDe(resposta);
  }

  Instalacao instalacao_;
  TestClock relogio_;
  ServidoresFamilia familia_;
  CalendariosProducao calendarios_;
  StandInServer servidorCalendario_{"QVServidorCalendarioTeste"};
  MestreCalendario mestre_;
  CPPBufferDados buffer_;
};

struct Caso {
  const char* nome;
  SYSTEMTIME hoje;
  uint16_t filial;
  uint16_t mesAno;
  Contagem esperada;
};

TEST_F(CalendarioIndustrial, BranchHolidaysCountEveryDayButTheNonWorkingHolidays) {
  const Caso casos[] = {
      // 31 days less 01/05 and 07/05; up to today 10/05 less the same two; Jan..today 131 days
      // less 01/01, 01/05, 07/05; 2024 has 366 days less four holidays.
      {"month of today", Momento(10, 5, 2024), kFilialComFeriados, Mes(5, 2024), {29, 362, 8, 128}},
      {"month before today's", Momento(10, 5, 2024), kFilialComFeriados, Mes(3, 2024), {31, 362, 31, 90}},
      {"month after today's", Momento(10, 5, 2024), kFilialComFeriados, Mes(12, 2024), {30, 362, 0, 128}},
      {"earlier year", Momento(10, 5, 2024), kFilialComFeriados, Mes(6, 2023), {30, 365, 30, 181}},
      {"today is the month's last day", Momento(31, 5, 2024), kFilialComFeriados, Mes(5, 2024), {29, 362, 29, 149}},
      {"table without holidays", Momento(10, 5, 2024), kFilialSemFeriados, Mes(5, 2024), {0, 0, 0, 0}},
      {"branch without calendar", Momento(10, 5, 2024), 1, Mes(5, 2024), {0, 0, 0, 0}},
      // The last month of the window has no day; the year's end month wraps to 12/1926.
      {"12/2026", Momento(10, 5, 2024), kFilialComFeriados, Mes(12, 2026), {0, 0, 0, 0}},
      {"03/2026, today earlier", Momento(10, 5, 2024), kFilialComFeriados, Mes(3, 2026), {31, 0, 0, 0}},
      {"03/2026, today in it", Momento(10, 3, 2026), kFilialComFeriados, Mes(3, 2026), {31, 0, 10, 69}},
      {"12/2026, today in 2026", Momento(10, 3, 2026), kFilialComFeriados, Mes(12, 2026), {0, 0, 0, 69}},
  };
  for (const Caso& caso : casos) {
    relogio_.SetLocalTime(caso.hoje);
    CPPCalendarioIndustrial calendario;
    Inicializa(calendario, 0);
    EXPECT_EQ(Pergunta(calendario, caso.filial, caso.mesAno), caso.esperada) << caso.nome;
  }
  EXPECT_TRUE(calendarios_.buscas.empty());
}

TEST_F(CalendarioIndustrial, OnlyHolidayKinds2_4_6And10StopWork) {
  const struct {
    std::vector<uint16_t> tipos;  // holidays on 15/05/2024, in table order
    uint32_t diasNoMes;
  } casos[] = {
      {{0}, 31},  {{1}, 31},  {{2}, 30},  {{3}, 31},    {{4}, 30},    {{5}, 31},    {{6}, 30},
      {{7}, 31},  {{8}, 31},  {{9}, 31},  {{10}, 30},   {{11}, 31},   {{256 + 2}, 31},
      // Of two entries for one date the later one holds.
      {{2, 3}, 31}, {{3, 2}, 30},
  };
  for (const auto& caso : casos) {
    std::vector<FeriadoDF> feriados;
    for (uint16_t tipo : caso.tipos) feriados.push_back(Feriado(kTabelaFeriados, Dia(15, 5, 2024), tipo));
    GravaFeriados(feriados);
    CPPCalendarioIndustrial calendario;
    Inicializa(calendario, 0);
    EXPECT_EQ(Pergunta(calendario, kFilialComFeriados, Mes(5, 2024)).noMes, caso.diasNoMes)
        << ::testing::PrintToString(caso.tipos);
  }
}

TEST_F(CalendarioIndustrial, ManyHolidaysSharingHashChainsAreEachFound) {
  // Every fourth day of 2024 a holiday, alternating a non-working and a working kind: 92 entries
  // over a table of 111 chains, the four dates of each 16-day block on one chain.
  std::vector<FeriadoDF> feriados;
  uint32_t naoTrabalhados = 0;
  for (uint16_t d = Dia(1, 1, 2024), i = 0; d <= Dia(31, 12, 2024); d = static_cast<uint16_t>(d + 4), ++i) {
    feriados.push_back(Feriado(kTabelaFeriados, d, i % 2 == 0 ? 4 : 5));
    naoTrabalhados += i % 2 == 0;
  }
  GravaFeriados(feriados);
  CPPCalendarioIndustrial calendario;
  Inicializa(calendario, 0);
  EXPECT_EQ(Pergunta(calendario, kFilialComFeriados, Mes(8, 2024)).noAno, 366 - naoTrabalhados);
}

TEST_F(CalendarioIndustrial, TheProductionCalendarCountsItsWorkedAndDifferentDaysForAnyBranch) {
  const Caso casos[] = {
      // May 22 working, 7 up to 10/05 (the "Diferenciado" 10/05 counts whole); March 31 whatever
      // the percentage; months not held count nothing.
      {"held month", Momento(10, 5, 2024), kFilialComFeriados, Mes(5, 2024), {22, 53, 7, 38}},
      {"branch ignored", Momento(10, 5, 2024), 99, Mes(5, 2024), {22, 53, 7, 38}},
      {"month before today's", Momento(10, 5, 2024), 0, Mes(3, 2024), {31, 53, 31, 31}},
      {"month held by another calendar", Momento(10, 5, 2024), 0, Mes(6, 2024), {0, 53, 0, 38}},
      // Held days of 12/2026 come from the server; the year still holds no month.
      {"held 12/2026", Momento(10, 5, 2024), 0, Mes(12, 2026), {31, 0, 0, 0}},
      {"11/2026 not held", Momento(10, 5, 2024), 0, Mes(11, 2026), {0, 0, 0, 0}},
  };
  for (const Caso& caso : casos) {
    relogio_.SetLocalTime(caso.hoje);
    CPPCalendarioIndustrial calendario;
    Inicializa(calendario, 1);
    EXPECT_EQ(Pergunta(calendario, caso.filial, caso.mesAno), caso.esperada) << caso.nome;
  }
  for (const auto& busca : calendarios_.buscas) EXPECT_EQ(busca.first, kCalendarioPadrao);
}

TEST_F(CalendarioIndustrial, ProductionModeAnswersASecondBranchFromTheCache) {
  CPPCalendarioIndustrial calendario;
  Inicializa(calendario, 1);
  const Contagem primeira = Pergunta(calendario, kFilialComFeriados, Mes(5, 2024));
  // The month, the month again, the year's 12 months and January to May.
  EXPECT_EQ(calendarios_.buscas.size(), 19u);
  calendarios_.meses.clear();
  EXPECT_EQ(Pergunta(calendario, kFilialSemFeriados, Mes(5, 2024)), primeira);
  EXPECT_EQ(calendarios_.buscas.size(), 19u);
}

TEST_F(CalendarioIndustrial, BranchModeAsksAgainForAnotherBranchOfTheSameMonth) {
  CPPCalendarioIndustrial calendario;
  Inicializa(calendario, 0);
  EXPECT_EQ(Pergunta(calendario, kFilialComFeriados, Mes(5, 2024)), (Contagem{29, 362, 8, 128}));
  EXPECT_EQ(Pergunta(calendario, kFilialSemFeriados, Mes(5, 2024)), (Contagem{0, 0, 0, 0}));
  EXPECT_EQ(Pergunta(calendario, kFilialComFeriados, Mes(5, 2024)), (Contagem{29, 362, 8, 128}));
}

TEST_F(CalendarioIndustrial, AFailingServerCallReturnsItsErrorAndLeavesTheCachedAnswer) {
  const struct {
    const char* nome;
    HRESULT CalendariosProducao::*falha;
  } casos[] = {{"month count", &CalendariosProducao::falhaBusca}, {"dates", &CalendariosProducao::falhaLeitura}};
  CPPCalendarioIndustrial calendario;
  Inicializa(calendario, 1);
  const Contagem maio = Pergunta(calendario, 0, Mes(5, 2024));
  for (const auto& caso : casos) {
    // June is not held: only the year's request reads dates (May's), so the read fails at the
    // third step, after the month's counts were made.
    calendarios_.*caso.falha = kNegado;
    CPPDadosCalendarioIndustrialResposta resposta = RespostaSuja();
    EXPECT_EQ(calendario.GetDiasUteis(0, Mes(6, 2024), resposta), kNegado) << caso.nome;
    EXPECT_EQ(ContagemDe(resposta), (Contagem{0, 0, 0, 0})) << caso.nome;
    calendarios_.*caso.falha = S_OK;
    const size_t buscas = calendarios_.buscas.size();
    EXPECT_EQ(Pergunta(calendario, 0, Mes(5, 2024)), maio) << caso.nome;
    EXPECT_EQ(calendarios_.buscas.size(), buscas) << caso.nome;
  }
  EXPECT_EQ(Pergunta(calendario, 0, Mes(6, 2024)), (Contagem{0, 53, 0, 38}));
}

TEST_F(CalendarioIndustrial, AFailingHolidayServerReturnsItsError) {
  const char* metodos[] = {"SelecionaTabela", "BuscaQuantidade", "Le"};
  for (const char* metodo : metodos) {
    CPPCalendarioIndustrial calendario;
    Inicializa(calendario, 0);
    familia_.base.Feriado.FalhaMetodo(metodo, 1, kNegado);
    CPPDadosCalendarioIndustrialResposta resposta = RespostaSuja();
    EXPECT_EQ(calendario.GetDiasUteis(kFilialComFeriados, Mes(5, 2024), resposta), kNegado) << metodo;
    EXPECT_EQ(ContagemDe(resposta), (Contagem{0, 0, 0, 0})) << metodo;
    // Nothing was cached: the next request reads again and answers.
    EXPECT_EQ(Pergunta(calendario, kFilialComFeriados, Mes(5, 2024)), (Contagem{29, 362, 8, 128})) << metodo;
  }
}

TEST_F(CalendarioIndustrial, AHolidayServerThatCannotBeCreatedGivesTheHubsError) {
  CPPCalendarioIndustrial calendario;
  Inicializa(calendario, 0);
  familia_.base.Feriado.FalhaInicializacao(kNegado);
  CPPDadosCalendarioIndustrialResposta resposta;
  EXPECT_EQ(calendario.GetDiasUteis(kFilialComFeriados, Mes(5, 2024), resposta), kNegado);
  EXPECT_EQ(buffer_.GetHR(), kNegado);
}

TEST_F(CalendarioIndustrial, NotInitialisedAnswers0x80040631WithAnEmptyAnswer) {
  CPPCalendarioIndustrial calendario;
  CPPDadosCalendarioIndustrialResposta resposta = RespostaSuja();
  EXPECT_EQ(calendario.GetDiasUteis(kFilialComFeriados, Mes(5, 2024), resposta), static_cast<int32_t>(0x80040631));
  EXPECT_EQ(ContagemDe(resposta), (Contagem{0, 0, 0, 0}));

  Inicializa(calendario, 0);
  ASSERT_EQ(Pergunta(calendario, kFilialComFeriados, Mes(5, 2024)), (Contagem{29, 362, 8, 128}));
  calendario.Finaliza();
  EXPECT_FALSE(calendario.GetInicializado());
  EXPECT_EQ(calendario.GetQuantidadeCalendario(), 0);
  resposta = RespostaSuja();
  EXPECT_EQ(calendario.GetDiasUteis(kFilialComFeriados, Mes(5, 2024), resposta), static_cast<int32_t>(0x80040631));
  EXPECT_EQ(ContagemDe(resposta), (Contagem{0, 0, 0, 0}));
}

TEST_F(CalendarioIndustrial, ASecondInicializaKeepsTheCachedAnswerAndFinalizaDropsIt) {
  CPPCalendarioIndustrial calendario;
  Inicializa(calendario, 0);
  const Contagem antes = Pergunta(calendario, kFilialComFeriados, Mes(5, 2024));
  GravaFeriados({});
  Inicializa(calendario, 0);
  EXPECT_EQ(Pergunta(calendario, kFilialComFeriados, Mes(5, 2024)), antes);
  calendario.Finaliza();
  Inicializa(calendario, 0);
  EXPECT_EQ(Pergunta(calendario, kFilialComFeriados, Mes(5, 2024)), (Contagem{0, 0, 0, 0}));
}

TEST_F(CalendarioIndustrial, InicializaListsOneCalendarPerBranchOrTheProductionCalendar) {
  CPPCalendarioIndustrial porFilial;
  Inicializa(porFilial, 0);
  ASSERT_EQ(porFilial.GetQuantidadeCalendario(), 2);
  EXPECT_EQ(porFilial.GetCalendario(0).GetPonteiroFilial(), kFilialComFeriados);
  EXPECT_EQ(porFilial.GetCalendario(0).GetPonteiroCalendario(), kTabelaFeriados);
  EXPECT_EQ(porFilial.GetCalendario(1).GetPonteiroFilial(), kFilialSemFeriados);
  EXPECT_EQ(porFilial.GetCalendario(1).GetPonteiroCalendario(), kTabelaVazia);
  EXPECT_EQ(porFilial.GetCalendario(1).GetQuantidadeMesAno(), 0);

  CPPCalendarioIndustrial producao;
  Inicializa(producao, 1);
  ASSERT_EQ(producao.GetQuantidadeCalendario(), 1);
  EXPECT_EQ(producao.GetCalendario(0).GetPonteiroFilial(), 0);
  EXPECT_EQ(producao.GetCalendario(0).GetPonteiroCalendario(), kCalendarioPadrao);
  // A request replaces the months held by those of its range, in ascending order.
  Pergunta(producao, 0, Mes(3, 2024));
  const CPPDadosCalendarioIndustrial carregado = producao.GetCalendario(0);
  ASSERT_EQ(carregado.GetQuantidadeMesAno(), 3);
  for (int i = 0; i < 3; ++i) EXPECT_EQ(carregado.GetMesAno(i).GetMesAno(), Mes(1 + i, 2024));
  EXPECT_EQ(carregado.GetMesAno(2).GetQuantidadeData(), 31);
  EXPECT_EQ(carregado.GetMesAno(1).GetData(0).GetData(), Dia(1, 2, 2024));
  EXPECT_EQ(carregado.GetMesAno(1).GetData(0).GetTipoData(), 1);
}

TEST_F(CalendarioIndustrial, ACallerSetRangeKeepsItsMonthsAndLoadsOnlyTheMonthsAroundIt) {
  // Calendar 41 holds only June 2024 on the server; the caller holds its own May (working 02/05,
  // 03/05 and 20/05) and marks May as the range held.
  CPPCalendarioIndustrial calendario;
  Inicializa(calendario, 1);
  CPPDadosCalendarioIndustrialMesAno maio;
  maio.SetMesAno(Mes(5, 2024));
  for (int d = 1; d <= 31; ++d) {
    const bool trabalhado = d == 2 || d == 3 || d == 20;
    CPPDadosCalendarioIndustrialData dia;
    dia.SetData(Dia(d, 5, 2024));
    dia.SetTipoData(trabalhado ? CPPDadosCalendarioIndustrialData::kTrabalhado
                               : CPPDadosCalendarioIndustrialData::kNaoTrabalhado);
    maio.AdicionaData(dia);
  }
  CPPDadosCalendarioIndustrial& producao = calendario.GetRefCalendario(0);
  producao.SetPonteiroCalendario(kOutroCalendario);
  producao.SetMenorMA(Mes(5, 2024));
  producao.SetMaiorMA(Mes(5, 2024));
  producao.AdicionaMesAno(maio);

  // The year adds June's 30 days after the held May; up to May the walk stops at June.
  EXPECT_EQ(Pergunta(calendario, 0, Mes(5, 2024)), (Contagem{3, 33, 2, 2}));
  for (const auto& busca : calendarios_.buscas) EXPECT_NE(busca.second, Mes(5, 2024));
  const CPPDadosCalendarioIndustrial carregado = calendario.GetCalendario(0);
  ASSERT_GT(carregado.GetQuantidadeMesAno(), 0);
  EXPECT_EQ(carregado.GetMesAno(0).GetMesAno(), Mes(1, 2024));
  EXPECT_EQ(carregado.GetMesAno(carregado.GetQuantidadeMesAno() - 1).GetMesAno(), Mes(12, 2024));
}

TEST_F(CalendarioIndustrial, AFailedInicializaLeavesTheCalendarUninitialised) {
  const struct {
    const char* nome;
    const char* metodoFilial;  // null: the master read fails
  } casos[] = {{"master settings", nullptr}, {"number of branches", "BuscaQuantidade"}, {"a branch", "Le"}};
  for (const auto& caso : casos) {
    CPPCalendarioIndustrial calendario;
    buffer_.LimparBuffer(false);
    mestre_.resposta = caso.metodoFilial == nullptr ? kNegado : S_OK;
    if (caso.metodoFilial != nullptr) familia_.filiais.Filial.FalhaMetodo(caso.metodoFilial, 1, kNegado);
    EXPECT_EQ(calendario.Inicializa(&buffer_), kNegado) << caso.nome;
    EXPECT_FALSE(calendario.GetInicializado()) << caso.nome;
    CPPDadosCalendarioIndustrialResposta resposta;
    EXPECT_EQ(calendario.GetDiasUteis(kFilialComFeriados, Mes(5, 2024), resposta), static_cast<int32_t>(0x80040631))
        << caso.nome;
  }
}

TEST_F(CalendarioIndustrial, NoBranchesGivesAnInitialisedCalendarWithoutDays) {
  ASSERT_EQ(ServidorFiliais::GravaFiliais(Instalacao::kEmpresa, {}), S_OK);
  CPPCalendarioIndustrial calendario;
  Inicializa(calendario, 0);
  EXPECT_EQ(calendario.GetQuantidadeCalendario(), 0);
  EXPECT_EQ(Pergunta(calendario, kFilialComFeriados, Mes(5, 2024)), (Contagem{0, 0, 0, 0}));
}

TEST(CalendarioIndustrialListas, AnIndexOutsideTheListShowsErro3AndGivesAnEmptyElement) {
  CPPDadosCalendarioIndustrialMesAno mes;
  mes.SetMesAno(Mes(5, 2024));
  CPPDadosCalendarioIndustrialData dia;
  dia.SetData(Dia(1, 5, 2024));
  dia.SetTipoData(CPPDadosCalendarioIndustrialData::kDiferenciado);
  mes.AdicionaData(dia);
  CPPDadosCalendarioIndustrial calendario;
  calendario.AdicionaMesAno(mes);
  CPPCalendarioIndustrial industrial;
  MessageBoxCapture caixas;
  EXPECT_EQ(mes.GetData(1).GetData(), 0);
  EXPECT_EQ(mes.GetRefData(-1).GetData(), 0);
  EXPECT_EQ(calendario.GetMesAno(1).GetQuantidadeData(), 0);
  EXPECT_EQ(calendario.GetRefMesAno(5).GetMesAno(), 0);
  EXPECT_EQ(industrial.GetCalendario(0).GetPonteiroCalendario(), 0u);
  EXPECT_EQ(industrial.GetRefCalendario(0).GetPonteiroFilial(), 0);
  const std::vector<CapturedMessageBox> mostradas = caixas.boxes();
  ASSERT_EQ(mostradas.size(), 6u);
  for (const CapturedMessageBox& caixa : mostradas) EXPECT_EQ(caixa.text, "erro3");
  // The elements in range are untouched, and copies are deep.
  CPPDadosCalendarioIndustrial copia = calendario;
  copia.GetRefMesAno(0).GetRefData(0).SetTipoData(0);
  EXPECT_EQ(calendario.GetMesAno(0).GetData(0).GetTipoData(), CPPDadosCalendarioIndustrialData::kDiferenciado);
}

}  // namespace
