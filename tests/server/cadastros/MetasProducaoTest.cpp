// The production targets: their monthly files written and read byte by byte (offsets written here
// by hand), the refusals that leave a month's file as it was, the locks the writers wait for (the
// test clock runs through the 50 s at once), the lists over the open period
// (03/2024 to 05/2024, today 10/05/2024), the year-to-date sums and percentages against the branch
// holidays of the calendar, the chart's months, the product-usage slot and the COM class.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "foundation/CQVArqMarca.h"
#include "foundation/QVChave.h"
#include "foundation/QVData.h"
#include "platform/com/classobject.h"
#include "platform/com/taskmem.h"
#include "platform/family/base/CadastrosDF.h"
#include "platform/win32/codepage.h"
#include "server/PPMovimentacaoProduto.h"
#include "server/cadastros/CPPServidorMetasProducao.h"
#include "server/idl/Varmo.h"
#include "tests/server/cadastros/EmpresaCadastros.h"
#include "tests/server/op/PeriodosOP.h"

namespace {

constexpr HRESULT kNaoInicializado = PPErroHResult(1585);
constexpr HRESULT kRemovida = PPErroHResult(1586);
constexpr HRESULT kChaveDiferente = PPErroHResult(1589);
constexpr HRESULT kSemChave = PPErroHResult(1591);
constexpr HRESULT kForaPeriodo = PPErroHResult(1649);
constexpr HRESULT kFiltrada = PPErroHResult(1735);
constexpr HRESULT kDuplicada = PPErroHResult(1736);

// Branch 12 keeps holiday table 3 (2024's holidays); branch 7 table 5, which has none, so its
// months have no working day.
constexpr uint16_t kFilialComFeriados = 12;
constexpr uint16_t kFilialSemDiasUteis = 7;
constexpr uint16_t kTabelaFeriados = 3;
constexpr uint16_t kTabelaVazia = 5;
constexpr size_t kTamanho = 128;

const uint16_t kFevereiro = QVMontaMesAno(2, 2024);
const uint16_t kMarco = QVMontaMesAno(3, 2024);
const uint16_t kAbril = QVMontaMesAno(4, 2024);
const uint16_t kMaio = QVMontaMesAno(5, 2024);
const uint16_t kJunho = QVMontaMesAno(6, 2024);

int64_t Quantidade(double valor) { return static_cast<int64_t>(valor * 10000 + (valor >= 0 ? 0.5 : -0.5)); }

// A stored target, as the test writes it.
struct MetaTeste {
  uint16_t mes = 0;
  uint32_t filial = kFilialComFeriados;
  uint32_t projeto = 3;
  uint32_t produto = 44;
  GradeTeste grade{};
  char tipo = 'P';
  double pretendida = 0, programada = 0, produzida = 0, cancelada = 0;
  bool removida = false;
  uint32_t usuario = 9;
  uint16_t inclusao = 100, alteracao = 200;
};

template <class T>
void Poe(std::string& registro, size_t deslocamento, T valor) {
  std::memcpy(&registro[deslocamento], &valor, sizeof valor);
}
template <class T>
T Pega(const std::string& registro, size_t deslocamento) {
  T valor;
  std::memcpy(&valor, &registro[deslocamento], sizeof valor);
  return valor;
}

std::string Registro(const MetaTeste& meta) {
  std::string registro(kTamanho, '\0');
  Poe(registro, 0, Quantidade(meta.pretendida));
  Poe(registro, 8, Quantidade(meta.programada));
  Poe(registro, 16, Quantidade(meta.produzida));
  Poe(registro, 24, Quantidade(meta.cancelada));
  Poe(registro, 32, meta.projeto);
  Poe(registro, 36, meta.produto);
  Poe(registro, 40, meta.grade.us1);
  Poe(registro, 42, meta.grade.us2);
  Poe(registro, 44, meta.grade.us3);
  Poe(registro, 46, meta.filial);
  Poe(registro, 50, meta.mes);
  Poe(registro, 52, meta.usuario);
  Poe(registro, 56, meta.inclusao);
  Poe(registro, 58, meta.alteracao);
  registro[60] = meta.removida ? 1 : 0;
  registro[61] = meta.tipo;
  return registro;
}

_REG_PP_META_PRODUCAOPS MetaCOM(uint16_t mes, double pretendida, uint32_t produto = 44, char tipo = 'P') {
  _REG_PP_META_PRODUCAOPS meta{};
  meta.regKey.ulPonteiroFilial = kFilialComFeriados;
  meta.regKey.usMesAno = mes;
  meta.regKey.ulPonteiroProjeto = 3;
  meta.regKey.regPosicaoProdutoServico = {produto, 1, 2, 0};
  meta.regKey.cTipoProdutoServico = tipo;
  meta.vQuantPretendida.int64 = Quantidade(pretendida);
  meta.vQuantProgramada.int64 = Quantidade(7);  // never stored by Grava
  return meta;
}

FeriadoDF Feriado(uint16_t data, uint16_t tipo) {
  FeriadoDF feriado;
  std::memset(&feriado, 0, sizeof feriado);
  feriado.usTabela = kTabelaFeriados;
  feriado.regFeriado.iData = data;
  feriado.regFeriado.iTipo = tipo;
  return feriado;
}

__MIDL___MIDL_itf_Brisel_0000_0003 Filial(uint16_t codigo, uint8_t tabela) {
  __MIDL___MIDL_itf_Brisel_0000_0003 filial;
  std::memset(&filial, 0, sizeof filial);
  filial.iCodigo = codigo;
  filial.cPonteiroFeriado = tabela;
  return filial;
}

std::vector<_REG_PP_META_PRODUCAOPS> Entrega(_LISTA_REG_PP_META_PRODUCAOPS& lista) {
  std::vector<_REG_PP_META_PRODUCAOPS> metas(lista.pregLista, lista.pregLista + lista.ulQtd);
  CoTaskMemFree(lista.pregLista);
  lista = {};
  return metas;
}

std::vector<uint32_t> Chaves(const std::vector<_REG_PP_META_PRODUCAOPS>& metas) {
  std::vector<uint32_t> chaves;
  for (const auto& meta : metas) chaves.push_back(meta.ulChaveMetaProducao);
  return chaves;
}

class MetasProducao : public EmpresaCadastros {
 protected:
  void SetUp() override {
    EmpresaCadastros::SetUp();
    const std::string e = Instalacao::kEmpresa;
    // The calendar lists the branches, which needs the company's record.
    ASSERT_EQ(ServidorFiliais::GravaEmpresa(e, "Malharia Teste"), S_OK);
    ASSERT_EQ(ServidorFiliais::GravaPeriodo(e, {Dia(1, 3, 2024), Dia(31, 5, 2024), {}}), S_OK);
    ASSERT_EQ(ServidorFiliais::GravaFiliais(
                  e, {Filial(kFilialComFeriados, kTabelaFeriados), Filial(kFilialSemDiasUteis, kTabelaVazia)}),
              S_OK);
    // 01/01, 01/05 and 07/05 are not worked; 02/05 is a holiday of a working kind.
    ASSERT_EQ(GravaFeriadosDF(e, {kTabelaFeriados, kTabelaVazia},
                              {Feriado(Dia(1, 1, 2024), 2), Feriado(Dia(1, 5, 2024), 2), Feriado(Dia(2, 5, 2024), 3),
                               Feriado(Dia(7, 5, 2024), 6), Feriado(Dia(25, 12, 2024), 10)}),
              S_OK);
    RegistraServidor();
    ASSERT_EQ(servidor_.Inicializa(SessaoTeste(), true), S_OK);
  }
  void TearDown() override {
    servidor_.Finaliza();
    EmpresaCadastros::TearDown();
  }

  static std::string Nome(uint16_t mes) { return MesOP::Nome("PPMP", mes); }
  void EscreveMes(uint16_t mes, const std::vector<MetaTeste>& metas) const {
    std::string arquivo(kTamanho, '\0');
    for (MetaTeste meta : metas) {
      meta.mes = mes;
      arquivo += Registro(meta);
    }
    empresa_.Escreve(Nome(mes), arquivo);
  }
  std::string LeRegistro(uint16_t mes, uint32_t n) const { return empresa_.Le(Nome(mes)).substr(n * kTamanho, kTamanho); }

  HRESULT Le(uint32_t chave, _REG_PP_META_PRODUCAOPS* meta, uint16_t tipo = 0) {
    return servidor_.LePonteiros(1, &chave, meta, tipo);
  }
  std::vector<_REG_PP_META_PRODUCAOPS> Busca(uint16_t tipo) {
    _LISTA_REG_PP_META_PRODUCAOPS lista{};
    EXPECT_EQ(servidor_.BuscaRegistros(&lista, tipo), S_OK);
    return Entrega(lista);
  }

  CPPServidorMetasProducao servidor_;
};

TEST(MetasProducaoSemSessao, EveryOperationButTheFilterAnswers1585BeforeInicializa) {
  CPPServidorMetasProducao servidor;
  uint32_t chave = QVMontaChave(QVMontaMesAno(5, 2024), 1);
  _REG_PP_META_PRODUCAOPS meta{};
  _LISTA_REG_PP_META_PRODUCAOPS lista{};
  _REG_VARMO_PONTEIROS_ULONGPS ponteiros{};
  int32_t teve = 0;
  uint16_t nivel = 0;
  EXPECT_EQ(servidor.Grava(0, meta, &chave), kNaoInicializado);
  EXPECT_EQ(servidor.Remove(chave), kNaoInicializado);
  EXPECT_EQ(servidor.LePonteiros(1, &chave, &meta, 0), kNaoInicializado);
  EXPECT_EQ(servidor.BuscaPonteiros(&ponteiros), kNaoInicializado);
  EXPECT_EQ(servidor.BuscaRegistros(&lista, 0), kNaoInicializado);
  EXPECT_EQ(servidor.BuscaDadoParaGrafico({}, &lista), kNaoInicializado);
  EXPECT_EQ(servidor.ProdutoTeveMovimentacao(44, &teve, &nivel), kNaoInicializado);
  EXPECT_EQ(servidor.SetFiltro({}), S_OK);
  EXPECT_EQ(servidor.LimpaFiltro(), S_OK);
  EXPECT_EQ(lista.pregLista, nullptr);
}

TEST_F(MetasProducao, NewTargetStoresTheIntendedQuantityWithTodayAndTheUser) {
  uint32_t chave = 0;
  ASSERT_EQ(servidor_.Grava(0, MetaCOM(kMaio, 100), &chave), S_OK);
  EXPECT_EQ(chave, (1u << 12) | kMaio);

  const std::string registro = LeRegistro(kMaio, 1);
  EXPECT_EQ(Pega<int64_t>(registro, 0), Quantidade(100));
  EXPECT_EQ(Pega<int64_t>(registro, 8), 0) << "scheduled comes from the orders, not from the caller";
  EXPECT_EQ(Pega<uint32_t>(registro, 32), 3u);
  EXPECT_EQ(Pega<uint32_t>(registro, 36), 44u);
  EXPECT_EQ(Pega<uint16_t>(registro, 40), 1);
  EXPECT_EQ(Pega<uint16_t>(registro, 42), 2);
  EXPECT_EQ(Pega<uint32_t>(registro, 46), kFilialComFeriados);
  EXPECT_EQ(Pega<uint16_t>(registro, 50), kMaio);
  EXPECT_EQ(Pega<uint32_t>(registro, 52), kUsuarioTeste);
  EXPECT_EQ(Pega<uint16_t>(registro, 56), DiaFixado());
  EXPECT_EQ(Pega<uint16_t>(registro, 58), DiaFixado());
  EXPECT_EQ(registro[60], 0);
  EXPECT_EQ(registro[61], 'P');
  EXPECT_EQ(registro.substr(62), std::string(66, '\0'));
  EXPECT_EQ(Linhas(), (std::vector<LinhaCadastro>{
                          {'I', "Meta de Produção. Filial: 12; Projeto: 3; Produto: 44-1-2-0; Quant.: 100,0000"_ansi}}));
}

TEST_F(MetasProducao, ChangeKeepsWhatTheOrdersGaveAndTheInclusionDate) {
  EscreveMes(kMaio, {{.tipo = 'S', .pretendida = 5, .programada = 8, .produzida = 6, .cancelada = 1}});
  _REG_PP_META_PRODUCAOPS meta = MetaCOM(kMaio, 20.5, 44, 'S');
  meta.regKey.regPosicaoProdutoServico = {44, 0, 0, 0};
  uint32_t chave = 0;
  ASSERT_EQ(servidor_.Grava(QVMontaChave(kMaio, 1), meta, &chave), S_OK);
  EXPECT_EQ(chave, QVMontaChave(kMaio, 1));

  const std::string registro = LeRegistro(kMaio, 1);
  EXPECT_EQ(Pega<int64_t>(registro, 0), Quantidade(20.5));
  EXPECT_EQ(Pega<int64_t>(registro, 8), Quantidade(8));
  EXPECT_EQ(Pega<int64_t>(registro, 16), Quantidade(6));
  EXPECT_EQ(Pega<int64_t>(registro, 24), Quantidade(1));
  EXPECT_EQ(Pega<uint16_t>(registro, 56), 100) << "inclusion date kept";
  EXPECT_EQ(Pega<uint16_t>(registro, 58), DiaFixado());
  EXPECT_EQ(Pega<uint32_t>(registro, 52), kUsuarioTeste);
  EXPECT_EQ(empresa_.Le(Nome(kMaio)).size(), 2 * kTamanho) << "rewritten in place";
  EXPECT_EQ(Linhas(), (std::vector<LinhaCadastro>{
                          {'A', "Meta de Produção. Filial: 12; Projeto: 3; Serviço: 44-0-0-0; Quant.: 20,5000"_ansi}}));
}

TEST_F(MetasProducao, RefusedWritesLeaveTheMonthAsItWas) {
  // Record 1: the key of MetaCOM(…, 44); record 2: product 45; record 3: removed.
  const GradeTeste grade{1, 2, 0};
  EscreveMes(kMaio, {{.produto = 44, .grade = grade, .pretendida = 1},
                     {.produto = 45, .grade = grade, .pretendida = 2},
                     {.produto = 46, .grade = grade, .removida = true}});
  const std::string antes = empresa_.Le(Nome(kMaio));
  struct Caso {
    const char* nome;
    uint32_t ulChave;
    _REG_PP_META_PRODUCAOPS meta;
    HRESULT esperado;
  };
  const Caso casos[] = {
      {"month after the open period", 0, MetaCOM(kJunho, 1), kForaPeriodo},
      {"month before the open period", 0, MetaCOM(kFevereiro, 1), kForaPeriodo},
      {"new target with a live key", 0, MetaCOM(kMaio, 1, 44), kDuplicada},
      {"change onto another live target's key", QVMontaChave(kMaio, 2), MetaCOM(kMaio, 1, 44), kDuplicada},
      {"change whose key names another month", QVMontaChave(kAbril, 1), MetaCOM(kMaio, 1, 47), kChaveDiferente},
      {"change of the stored key", QVMontaChave(kMaio, 1), MetaCOM(kMaio, 1, 47), kChaveDiferente},
      {"change of a removed target", QVMontaChave(kMaio, 3), MetaCOM(kMaio, 1, 46), kRemovida},
  };
  for (const Caso& caso : casos) {
    SCOPED_TRACE(caso.nome);
    uint32_t chave = 0xABCD;
    EXPECT_EQ(servidor_.Grava(caso.ulChave, caso.meta, &chave), caso.esperado);
    EXPECT_EQ(chave, 0xABCDu);
    EXPECT_EQ(empresa_.Le(Nome(kMaio)), antes);
  }
  EXPECT_FALSE(empresa_.Existe(Nome(kJunho)));
  EXPECT_FALSE(empresa_.Existe(Nome(kAbril)));
  EXPECT_TRUE(Linhas().empty());
  // The removed target's key is free again.
  uint32_t chave = 0;
  _REG_PP_META_PRODUCAOPS livre = MetaCOM(kMaio, 1, 46);
  EXPECT_EQ(servidor_.Grava(0, livre, &chave), S_OK);
  EXPECT_EQ(chave, QVMontaChave(kMaio, 4));
}

TEST_F(MetasProducao, WritersWaitForTheTargetsLockAndANewTargetIsCalculatedUnderTheOrdersLock) {
  EscreveMes(kMaio, {{.pretendida = 5}});
  const std::string antes = empresa_.Le(Nome(kMaio));
  _REG_PP_META_PRODUCAOPS alterada = MetaCOM(kMaio, 6);
  alterada.regKey.regPosicaoProdutoServico = {44, 0, 0, 0};
  uint32_t chave = 0;
  {
    CQVArqMarca metas;
    ASSERT_EQ(metas.Marca(empresa_.Diretorio().c_str(), 14), 0);
    const HRESULT kMetasOcupadas = PPErroHResult(QVMensagemMarca(14, true));
    EXPECT_EQ(servidor_.Grava(0, MetaCOM(kMaio, 7), &chave), kMetasOcupadas);
    EXPECT_EQ(servidor_.Grava(QVMontaChave(kMaio, 1), alterada, &chave), kMetasOcupadas);
    EXPECT_EQ(servidor_.Remove(QVMontaChave(kMaio, 1)), kMetasOcupadas);
    EXPECT_EQ(empresa_.Le(Nome(kMaio)), antes);
  }

  // With the orders locked elsewhere a change still goes through: it runs no calculation.
  CQVArqMarca ordens;
  ASSERT_EQ(ordens.Marca(empresa_.Diretorio().c_str(), 29), 0);
  ASSERT_EQ(servidor_.Grava(QVMontaChave(kMaio, 1), alterada, &chave), S_OK);
  // A new target is stored first; its calculation then waits for the orders and gives up.
  EXPECT_EQ(servidor_.Grava(0, MetaCOM(kMaio, 7), &chave), PPErroHResult(QVMensagemMarca(29, true)));
  EXPECT_EQ(Pega<int64_t>(LeRegistro(kMaio, 1), 0), Quantidade(6));
  EXPECT_EQ(Pega<int64_t>(LeRegistro(kMaio, 2), 0), Quantidade(7));
  ASSERT_EQ(ordens.Desmarca(), 0);
  EXPECT_EQ(servidor_.Grava(0, MetaCOM(kMaio, 8, 45), &chave), S_OK);
  EXPECT_EQ(chave, QVMontaChave(kMaio, 3));
}

TEST_F(MetasProducao, RemoveMarksTheTargetWhichReadsNoLonger) {
  EscreveMes(kMaio, {{.pretendida = 3}});
  EXPECT_EQ(servidor_.Remove(kMaio), kSemChave) << "no record number";
  EXPECT_EQ(servidor_.Remove(1u << 12), kSemChave) << "no month";
  EXPECT_EQ(servidor_.Remove(QVMontaChave(kJunho, 1)), kForaPeriodo);
  ASSERT_EQ(servidor_.Remove(QVMontaChave(kMaio, 1)), S_OK);

  const std::string registro = LeRegistro(kMaio, 1);
  EXPECT_EQ(registro[60], 1);
  EXPECT_EQ(Pega<uint32_t>(registro, 52), kUsuarioTeste);
  EXPECT_EQ(Pega<uint16_t>(registro, 58), DiaFixado());
  EXPECT_EQ(Pega<int64_t>(registro, 0), Quantidade(3));
  _REG_PP_META_PRODUCAOPS meta{};
  EXPECT_EQ(Le(QVMontaChave(kMaio, 1), &meta), kFiltrada);
  EXPECT_EQ(Linhas(), (std::vector<LinhaCadastro>{
                          {'E', "Meta de Produção. Filial: 12; Projeto: 3; Produto: 44-0-0-0; Quant.: 3,0000"_ansi}}));
}

TEST_F(MetasProducao, LePonteirosStopsAtTheFirstFailure) {
  EscreveMes(kMaio, {{.pretendida = 1}, {.removida = true}, {.pretendida = 3}});
  const uint32_t chaves[] = {QVMontaChave(kMaio, 1), QVMontaChave(kMaio, 2), QVMontaChave(kMaio, 3)};
  _REG_PP_META_PRODUCAOPS metas[3];
  std::memset(metas, 0x5A, sizeof metas);
  EXPECT_EQ(servidor_.LePonteiros(3, chaves, metas, 0), kFiltrada);
  EXPECT_EQ(metas[0].ulChaveMetaProducao, chaves[0]);
  EXPECT_EQ(metas[0].vQuantPretendida.int64, Quantidade(1));
  EXPECT_EQ(metas[0].usPercProduzida, 0) << "without bit 15 no percentage";
  EXPECT_EQ(metas[1].ulChaveMetaProducao, 0u) << "the failed record is zeroed";
  EXPECT_EQ(metas[2].ulChaveMetaProducao, 0x5A5A5A5Au) << "nothing read after the failure";

  _REG_PP_META_PRODUCAOPS meta{};
  EXPECT_EQ(Le(QVMontaChave(kMaio, 9), &meta), PPErroHResult(16021)) << "past the month's end";
  EXPECT_EQ(Le(QVMontaChave(kAbril, 1), &meta), PPErroHResult(16021)) << "a month without file";
  EXPECT_FALSE(empresa_.Existe(Nome(kAbril))) << "a read creates no month";
}

TEST_F(MetasProducao, ListsCoverTheOpenPeriodUnderTheFilter) {
  EscreveMes(kFevereiro, {{.pretendida = 1}});  // before the open period
  EscreveMes(kMarco, {{.pretendida = 2}, {.tipo = 'S', .pretendida = 3}});
  EscreveMes(kMaio, {{.removida = true}, {.filial = 99, .pretendida = 4}, {.tipo = 'S', .pretendida = 5}});
  EXPECT_EQ(Chaves(Busca(0)), (std::vector<uint32_t>{QVMontaChave(kMarco, 1), QVMontaChave(kMarco, 2),
                                                      QVMontaChave(kMaio, 2), QVMontaChave(kMaio, 3)}));

  _REG_PP_FILTRO_META_PRODUCAOPS servicos{};
  servicos.cFiltroProdutoServico = 2;
  ASSERT_EQ(servidor_.SetFiltro(servicos), S_OK);
  EXPECT_EQ(Chaves(Busca(0)), (std::vector<uint32_t>{QVMontaChave(kMarco, 2), QVMontaChave(kMaio, 3)}));
  _REG_VARMO_PONTEIROS_ULONGPS ponteiros{};
  ASSERT_EQ(servidor_.BuscaPonteiros(&ponteiros), S_OK);
  EXPECT_EQ(PonteirosLista(ponteiros), (std::vector<uint32_t>{QVMontaChave(kMarco, 2), QVMontaChave(kMaio, 3)}));

  // Branch 99 from April on.
  _REG_PP_FILTRO_META_PRODUCAOPS filial{};
  filial.ulPonteiroFilial = 99;
  filial.usMesAnoInicio = kAbril;
  ASSERT_EQ(servidor_.SetFiltro(filial), S_OK);
  const auto filtradas = Busca(0);
  ASSERT_EQ(filtradas.size(), 1u);
  EXPECT_EQ(filtradas[0].vQuantPretendida.int64, Quantidade(4));

  // Nothing passes: count 0 and no list.
  _REG_PP_FILTRO_META_PRODUCAOPS nenhum{};
  nenhum.ulPonteiroProjeto = 77;
  ASSERT_EQ(servidor_.SetFiltro(nenhum), S_OK);
  _LISTA_REG_PP_META_PRODUCAOPS lista{};
  ASSERT_EQ(servidor_.BuscaRegistros(&lista, 0), S_OK);
  EXPECT_EQ(lista.ulQtd, 0u);
  EXPECT_EQ(lista.pregLista, nullptr);

  // A new session starts without filter.
  ASSERT_EQ(servidor_.Inicializa(SessaoTeste(), true), S_OK);
  EXPECT_EQ(Busca(0).size(), 4u);
}

TEST_F(MetasProducao, FilterFieldsEachRestrict) {
  const GradeTeste grade{1, 2, 3};
  EscreveMes(kMaio, {{.produto = 44, .grade = grade}, {.produto = 44, .grade = grade, .tipo = 'S'},
                     {.produto = 45, .grade = grade}, {.projeto = 8, .produto = 44, .grade = grade},
                     {.produto = 44, .grade = {1, 9, 3}}});
  struct Caso {
    const char* nome;
    _REG_PP_FILTRO_META_PRODUCAOPS filtro;
    std::vector<uint32_t> registros;
  };
  auto filtro = [](auto muda) {
    _REG_PP_FILTRO_META_PRODUCAOPS f{};
    muda(f);
    return f;
  };
  const Caso casos[] = {
      {"key", filtro([](auto& f) { f.ulChaveMetaProducao = QVMontaChave(kMaio, 3); }), {3}},
      {"project", filtro([](auto& f) { f.ulPonteiroProjeto = 8; }), {4}},
      {"products only", filtro([](auto& f) { f.cFiltroProdutoServico = 1; }), {1, 3, 4, 5}},
      {"both kinds", filtro([](auto& f) { f.cFiltroProdutoServico = 3; }), {1, 2, 3, 4, 5}},
      {"product needs its kind", filtro([](auto& f) {
         f.regPosicaoProdutoServico = {44, 0, 0, 0};
         f.cTipoProdutoServico = 'S';
       }),
       {2}},
      {"grid position 2", filtro([](auto& f) { f.regPosicaoProdutoServico.iPonteiroItemGrade2 = 9; }), {5}},
      {"month after the end", filtro([](auto& f) { f.usMesAnoFim = kAbril; }), {}},
  };
  for (const Caso& caso : casos) {
    SCOPED_TRACE(caso.nome);
    ASSERT_EQ(servidor_.SetFiltro(caso.filtro), S_OK);
    std::vector<uint32_t> esperadas;
    for (uint32_t r : caso.registros) esperadas.push_back(QVMontaChave(kMaio, r));
    EXPECT_EQ(Chaves(Busca(0)), esperadas);
  }
}

TEST_F(MetasProducao, Bit15GivesTheYearToDateAndThePercentages) {
  const GradeTeste grade{1, 2, 0};
  EscreveMes(kFevereiro, {{.grade = grade, .pretendida = 50, .produzida = 10, .cancelada = 1}});
  EscreveMes(kMarco, {{.grade = grade, .pretendida = 50, .produzida = 90, .cancelada = 1}});
  EscreveMes(kMaio, {{.grade = grade, .pretendida = 100, .programada = 12.345, .produzida = 50},
                     {.projeto = 4, .grade = grade, .programada = 5},
                     {.filial = kFilialSemDiasUteis, .pretendida = 10, .programada = 10, .produzida = 10},
                     {.projeto = 5, .grade = grade, .pretendida = 1, .produzida = 700}});
  EscreveMes(kJunho, {{.grade = grade, .pretendida = 1000, .produzida = 1000}});  // after the month read

  _REG_PP_META_PRODUCAOPS meta{};
  ASSERT_EQ(Le(QVMontaChave(kMaio, 1), &meta, CPPServidorMetasProducao::kLeAcumulados), S_OK);
  EXPECT_EQ(meta.vQuantPretendidaAcumulada.int64, Quantidade(200));
  EXPECT_EQ(meta.vQuantProgramadaAcumulada.int64, Quantidade(12.345));
  EXPECT_EQ(meta.vQuantProduzidaAcumulada.int64, Quantidade(150));
  EXPECT_EQ(meta.vQuantCanceladaAcumulada.int64, Quantidade(2));
  // May: 29 working days, 8 of them up to 10/05; the year 362, 128 of them passed.
  EXPECT_EQ(meta.usPercPretendida, 8 * 100 / 29);
  EXPECT_EQ(meta.usPercPretendidaAcumulada, 128 * 100 / 362);
  EXPECT_EQ(meta.usPercProgramada, 12) << "0.12345 of the intended";
  EXPECT_EQ(meta.usPercProduzida, 50);
  EXPECT_EQ(meta.usPercCancelada, 0);
  EXPECT_EQ(meta.usPercProgramadaAcumulada, 6) << "12.345 / 200 = 0.0617";
  EXPECT_EQ(meta.usPercProduzidaAcumulada, 75);
  EXPECT_EQ(meta.usPercCanceladaAcumulada, 16) << "2 / 12.345 = 0.162";

  // Intended 0: the percentages over it stay 0; cancelled over scheduled is still given.
  ASSERT_EQ(Le(QVMontaChave(kMaio, 2), &meta, CPPServidorMetasProducao::kLeAcumulados), S_OK);
  EXPECT_EQ(meta.usPercProgramada, 0);
  EXPECT_EQ(meta.usPercProduzida, 0);
  EXPECT_EQ(meta.usPercProgramadaAcumulada, 0);
  EXPECT_EQ(meta.vQuantProgramadaAcumulada.int64, Quantidade(5));
  EXPECT_EQ(meta.usPercPretendida, 8 * 100 / 29);

  // A branch whose months have no working day: both intended percentages 0, the others given.
  ASSERT_EQ(Le(QVMontaChave(kMaio, 3), &meta, CPPServidorMetasProducao::kLeAcumulados), S_OK);
  EXPECT_EQ(meta.usPercPretendida, 0);
  EXPECT_EQ(meta.usPercPretendidaAcumulada, 0);
  EXPECT_EQ(meta.usPercProduzida, 100);

  // 70000 % does not fit 16 bits: it reads as the largest percentage, not as 70000 - 65536.
  ASSERT_EQ(Le(QVMontaChave(kMaio, 4), &meta, CPPServidorMetasProducao::kLeAcumulados), S_OK);
  EXPECT_EQ(meta.usPercProduzida, 65535);
  EXPECT_EQ(meta.usPercProduzidaAcumulada, 65535);

  // Another month rebuilds the sums: March's year runs January to March.
  ASSERT_EQ(Le(QVMontaChave(kMarco, 1), &meta, CPPServidorMetasProducao::kLeAcumulados), S_OK);
  EXPECT_EQ(meta.vQuantProduzidaAcumulada.int64, Quantidade(100));
  EXPECT_EQ(meta.usPercPretendida, 100) << "March has passed";
}

TEST_F(MetasProducao, ChartGivesOneRecordPerMonthAlsoWithoutFile) {
  EscreveMes(kMarco, {{.pretendida = 2, .produzida = 1}, {.pretendida = 3, .cancelada = 1}, {.projeto = 9, .pretendida = 50}});
  EscreveMes(kMaio, {{.pretendida = 7, .programada = 4}, {.pretendida = 70, .removida = true}});
  _REG_PP_FILTRO_META_PRODUCAOPS filtro{};
  filtro.ulPonteiroProjeto = 3;
  filtro.ulPonteiroFilial = kFilialComFeriados;
  filtro.usMesAnoInicio = kFevereiro;  // before the open period: it starts at the open start
  _LISTA_REG_PP_META_PRODUCAOPS lista{};
  ASSERT_EQ(servidor_.BuscaDadoParaGrafico(filtro, &lista), S_OK);
  const auto meses = Entrega(lista);
  ASSERT_EQ(meses.size(), 3u);
  const uint16_t esperados[] = {kMarco, kAbril, kMaio};
  for (size_t i = 0; i < 3; ++i) {
    EXPECT_EQ(meses[i].regKey.usMesAno, esperados[i]);
    EXPECT_EQ(meses[i].regKey.ulPonteiroProjeto, 3u);
    EXPECT_EQ(meses[i].regKey.ulPonteiroFilial, kFilialComFeriados);
    EXPECT_EQ(meses[i].ulChaveMetaProducao, 0u);
  }
  EXPECT_EQ(meses[0].vQuantPretendida.int64, Quantidade(5));
  EXPECT_EQ(meses[0].vQuantProduzida.int64, Quantidade(1));
  EXPECT_EQ(meses[0].vQuantCancelada.int64, Quantidade(1));
  EXPECT_EQ(meses[1].vQuantPretendida.int64, 0);
  EXPECT_EQ(meses[1].vQuantProgramada.int64, 0);
  EXPECT_EQ(meses[2].vQuantPretendida.int64, Quantidade(7));
  EXPECT_EQ(meses[2].vQuantProgramada.int64, Quantidade(4));
  EXPECT_FALSE(empresa_.Existe(Nome(kAbril)));
}

TEST_F(MetasProducao, ProductUsageSlotRaisesTheGridLevel) {
  EscreveMes(kFevereiro, {{.produto = 44, .grade = {1, 0, 0}}});
  EscreveMes(kMaio, {{.produto = 44, .grade = {1, 2, 0}, .tipo = 'S'},
                     {.produto = 44, .grade = {0, 0, 3}, .removida = true},
                     {.produto = 45, .grade = {1, 2, 3}},
                     {.produto = 44, .grade = {0, 2, 0}}});
  struct Caso {
    uint32_t produto;
    int32_t teve;
    uint16_t nivel;
  };
  for (const Caso caso : {Caso{44, 1, 2}, Caso{45, 1, 3}, Caso{46, 0, 0}}) {
    SCOPED_TRACE(caso.produto);
    int32_t teve = 0;
    uint16_t nivel = 0;
    EXPECT_EQ(PPConsultaMovimentacaoProduto(kPPMovimentacaoMetasProducao, SessaoTeste(), 0, caso.produto, &teve,
                                            &nivel),
              S_OK);
    EXPECT_EQ(teve, caso.teve);
    EXPECT_EQ(nivel, caso.nivel);
  }
}

TEST_F(MetasProducao, ThroughCOMTheClassReadsWithBit15) {
  EscreveMes(kMaio, {{.pretendida = 100, .programada = 12.345, .produzida = 50}});
  MULTI_QI resultado{&IID_IQVPP_MetasProducao, nullptr, E_FAIL};
  ASSERT_EQ(CoCreateInstanceEx(CLSID_QVPP_MetasProducao, nullptr, CLSCTX_LOCAL_SERVER, nullptr, 1, &resultado), S_OK);
  ASSERT_EQ(resultado.hr, S_OK);
  auto* metas = static_cast<IQVPP_MetasProducao*>(static_cast<void*>(resultado.pItf));
  _LISTA_REG_PP_META_PRODUCAOPS lista{};
  EXPECT_EQ(metas->Inicializa(SessaoTeste(), 63), PPErroHResult(1677));
  EXPECT_EQ(metas->BuscaRegistros(&lista, 0x8000), kNaoInicializado);
  ASSERT_EQ(metas->Inicializa(SessaoTeste(), 64), S_OK);
  ASSERT_EQ(metas->BuscaRegistros(&lista, 0x8000), S_OK);
  const auto lidas = Entrega(lista);
  ASSERT_EQ(lidas.size(), 1u);
  EXPECT_EQ(lidas[0].ulChaveMetaProducao, QVMontaChave(kMaio, 1));
  EXPECT_EQ(lidas[0].usPercProgramada, 12);
  EXPECT_EQ(lidas[0].usPercProduzida, 50);
  EXPECT_EQ(lidas[0].usPercPretendida, 8 * 100 / 29);
  EXPECT_EQ(lidas[0].vQuantPretendidaAcumulada.int64, Quantidade(100));

  // The client's filter admits services only; a filtered call for products lists the product
  // target, and the client's filter is back afterwards.
  _REG_PP_FILTRO_META_PRODUCAOPS servicos{};
  servicos.cFiltroProdutoServico = 2;
  _REG_PP_FILTRO_META_PRODUCAOPS produtos{};
  produtos.cFiltroProdutoServico = 1;
  ASSERT_EQ(metas->SetFiltro(servicos), S_OK);
  ASSERT_EQ(metas->BuscaRegistrosFiltrado(produtos, &lista, 0), S_OK);
  EXPECT_EQ(Entrega(lista).size(), 1u);
  ASSERT_EQ(metas->BuscaRegistros(&lista, 0), S_OK);
  EXPECT_EQ(lista.ulQtd, 0u) << "the client's filter is back";
  EXPECT_EQ(metas->LimpaFiltro(), S_OK);
  ASSERT_EQ(metas->BuscaRegistros(&lista, 0), S_OK);
  EXPECT_EQ(Entrega(lista).size(), 1u);
  _REG_FUNCAO_GENERICA_VARMO* saida = nullptr;
  EXPECT_EQ(metas->FuncaoGenerica(1, {}, &saida), static_cast<HRESULT>(0x80040001));
  EXPECT_EQ(saida, nullptr);
  EXPECT_EQ(metas->Finaliza(), S_OK);
  metas->Release();
}

}  // namespace
