// The targets' calculation over the orders, the posting of a report's increments and the
// replication of a month's targets. Orders are saved by the order handler; their reports, report
// lists and movements are put straight into the month's files (the records of PPRegistrosOP.h),
// and the targets' file is read and planted record by record. The open period is 05/2024.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstring>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "foundation/CQVArqMarca.h"
#include "platform/com/apartment.h"
#include "platform/family/base/ProdutoDF.h"
#include "platform/win32/codepage.h"
#include "server/cadastros/CPPServidorMetasProducao.h"
#include "server/op/PPRegistrosOP.h"
#include "tests/crash/Queda.h"
#include "tests/server/op/EmpresaOPFamilia.h"
#include "tests/support/EsperaFilhos.h"

namespace {

constexpr uint16_t kAbril = 2116;  // 04/2024, before the open period
constexpr uint16_t kMaio = 2117;   // 05/2024, the open period
constexpr uint16_t kJunho = 2118;  // 06/2024, after it
constexpr uint32_t kProjeto = 21;
constexpr uint32_t kProdutoDaMeta = 1;  // the two-process test's target, outside the order fixture
constexpr HRESULT Erro(uint32_t numero) { return static_cast<HRESULT>(0x80040000u | numero); }
constexpr int64_t Q(int64_t inteiro, int64_t decimosMilesimos = 0) { return inteiro * 10000 + decimosMilesimos; }
uint16_t Maio(int dia) { return Dia(dia, 5, 2024); }

// The record `n` of a record file of the company (zeros past its end).
template <class R>
R LeRegistro(const EmpresaTeste& empresa, const std::string& nome, uint32_t n) {
  R registro{};
  const std::string bytes = empresa.Existe(nome) ? empresa.Le(nome) : std::string();
  if (bytes.size() >= (n + 1) * sizeof registro) std::memcpy(&registro, bytes.data() + n * sizeof registro, sizeof registro);
  return registro;
}

// Writes record `n` (0 appends; a new file gets its zero header) and gives its number.
template <class R>
uint32_t PoeRegistro(const EmpresaTeste& empresa, const std::string& nome, uint32_t n, const R& registro) {
  std::string bytes = empresa.Existe(nome) ? empresa.Le(nome) : std::string();
  if (bytes.size() < sizeof registro) bytes.assign(sizeof registro, '\0');
  if (n == 0) n = static_cast<uint32_t>(bytes.size() / sizeof registro);
  if (bytes.size() < (n + 1) * sizeof registro) bytes.resize((n + 1) * sizeof registro, '\0');
  std::memcpy(&bytes[n * sizeof registro], &registro, sizeof registro);
  empresa.Escreve(nome, bytes);
  return n;
}

std::string ArquivoMetas(uint16_t mes) { return MesOP::Nome("PPMP", mes); }

PPRegistroMetaProducao Meta(uint32_t produto, char tipo, int64_t pretendida, uint16_t mes = kMaio, uint32_t filial = 1,
                            uint32_t projeto = kProjeto) {
  PPRegistroMetaProducao meta{};
  meta.vQuantPretendida.int64 = pretendida;
  meta.ulPonteiroProjeto = projeto;
  meta.regPosicaoProdutoServico.lPonteiroProduto = produto;
  meta.ulPonteiroFilial = filial;
  meta.usMesAno = mes;
  meta.ulPonteiroUsuario = 3;
  meta.usDataInclusao = Maio(2);
  meta.usDataAlteracao = Maio(3);
  meta.cTipoProdutoServico = static_cast<uint8_t>(tipo);
  return meta;
}

// What a test expects of a target's stored quantities and bookkeeping.
struct Esperada {
  uint32_t produto;
  char tipo;
  int64_t pretendida, programada, produzida, cancelada;
  uint32_t usuario;
  uint16_t inclusao, alteracao;
};

void ConfereMeta(const PPRegistroMetaProducao& meta, const Esperada& esperada) {
  SCOPED_TRACE(testing::Message() << "product " << esperada.produto << " " << esperada.tipo);
  EXPECT_EQ(meta.regPosicaoProdutoServico.lPonteiroProduto, esperada.produto);
  EXPECT_EQ(meta.cTipoProdutoServico, static_cast<uint8_t>(esperada.tipo));
  EXPECT_EQ(meta.vQuantPretendida.int64, esperada.pretendida);
  EXPECT_EQ(meta.vQuantProgramada.int64, esperada.programada);
  EXPECT_EQ(meta.vQuantProduzida.int64, esperada.produzida);
  EXPECT_EQ(meta.vQuantCancelada.int64, esperada.cancelada);
  EXPECT_EQ(meta.ulPonteiroUsuario, esperada.usuario);
  EXPECT_EQ(meta.usDataInclusao, esperada.inclusao);
  EXPECT_EQ(meta.usDataAlteracao, esperada.alteracao);
}

// Saving an order reaches the inventory (its reservations) and the products' prices: the family's
// stand-ins are in place.
class MetasCalculo : public EmpresaOPFamilia {
 protected:
  void SetUp() override {
    EmpresaOPFamilia::SetUp();
    if (HasFatalFailure()) return;
    ASSERT_EQ(GravaPrecoDF(Instalacao::kEmpresa, 'P', kProdutoTerceiros, 1, Quantidade(1)), S_OK);
    ASSERT_EQ(metas_.Inicializa(Sessao(), true), S_OK);
  }
  void TearDown() override {
    metas_.Finaliza();
    EmpresaOPFamilia::TearDown();
  }

  template <class R, class Muda>
  void Altera(const char* prefixo, uint32_t n, Muda muda) {
    R registro = LeRegistro<R>(empresa_, MesOP::Nome(prefixo, kMaio), n);
    muda(registro);
    PoeRegistro(empresa_, MesOP::Nome(prefixo, kMaio), n, registro);
  }
  template <class R>
  uint32_t Acrescenta(const char* prefixo, const R& registro) {
    return PoeRegistro(empresa_, MesOP::Nome(prefixo, kMaio), 0, registro);
  }

  // Saves the order in branch 1, then puts it in the project and gives it its kind (items too).
  uint32_t GravaOrdem(OPTeste op, char tipo) {
    uint32_t chave = 0;
    EXPECT_EQ(op_.GravaOP(0, op.Registro(), &chave, 1), S_OK);
    Altera<PPDiscoOP>("PPOP", chave >> 12, [&](PPDiscoOP& ordem) {
      ordem.lPonteiroColecao = kProjeto;
      ordem.cTipoProdutoServico = static_cast<uint8_t>(tipo);
    });
    for (uint32_t i = 0; i < op.itens.size(); ++i)
      Altera<PPDiscoItem>("PPIT", Item(chave, i), [&](PPDiscoItem& item) { item.cTipoProdutoServico = static_cast<uint8_t>(tipo); });
    return chave;
  }
  uint32_t Item(uint32_t chaveOP, uint32_t indice) {
    return LeRegistro<PPDiscoOP>(empresa_, MesOP::Nome("PPOP", kMaio), chaveOP >> 12).ulPrimeiroItem + indice;
  }

  uint32_t Movimento(uint32_t produto, int64_t quantidade, uint16_t data) {
    PPDiscoMovimento movimento{};
    movimento.vQuantidade.int64 = quantidade;
    movimento.lPonteiroProduto = produto;
    movimento.iDataMovimento = data;
    movimento.cLancado = 1;
    return Acrescenta("PPME", movimento);
  }
  static PPDiscoApontamento Apontamento(int64_t quantidade, uint16_t gravacao) {
    PPDiscoApontamento apontamento{};
    apontamento.vQuantidadeApontada.int64 = quantidade;
    apontamento.usDataGravacao = gravacao;
    apontamento.cTipoItem = kItemComplemento;
    apontamento.cTipoProducao = kProducaoInterna;
    return apontamento;
  }
  // The reports, in this order, as the report list of the order's process (index from 0).
  void ApontaProcesso(uint32_t chaveOP, uint32_t indiceProcesso, std::vector<PPDiscoApontamento> apontamentos) {
    const PPDiscoOP ordem = LeRegistro<PPDiscoOP>(empresa_, MesOP::Nome("PPOP", kMaio), chaveOP >> 12);
    const uint32_t registroProcesso = ordem.ulPrimeiroProcesso + indiceProcesso;
    const PPDiscoProcesso processo = LeRegistro<PPDiscoProcesso>(empresa_, MesOP::Nome("PPPR", kMaio), registroProcesso);
    uint32_t primeiro = 0;
    for (PPDiscoApontamento& apontamento : apontamentos) {
      apontamento.ulRegistroOP = chaveOP >> 12;
      apontamento.lPonteiroProcesso = processo.lPonteiroProcesso;
      const uint32_t registro = Acrescenta("PPAP", apontamento);
      const uint32_t lista = Acrescenta("PPRA", PPDiscoListaApontamento{registro});
      if (!primeiro) primeiro = lista;
    }
    Altera<PPDiscoProcesso>("PPPR", registroProcesso, [&](PPDiscoProcesso& disco) {
      disco.ulPrimeiroApontamento = primeiro;
      disco.usQuantidadeApontamentos = static_cast<uint16_t>(apontamentos.size());
    });
  }

  // A product order and a service order of branch 1 in the project, emitted 10/05/2024, with
  // their reports; the sums they give for May are listed in the test that calculates them all.
  void GravaOrdens() {
    // The product order: P1 10 (2 cancelled), P2 4 as a reprocessing item (type 4), P2 3.
    OPTeste produto = NovaOP({{processos_[0], true}}, {{kProdutoFabricado, Quantidade(10)},
                                                       {kProdutoInsumo, Quantidade(4)},
                                                       {kProdutoInsumo, Quantidade(3)}});
    const uint32_t op = GravaOrdem(produto, 'P');
    Altera<PPDiscoItem>("PPIT", Item(op, 0), [](PPDiscoItem& item) { item.vQuantidadeCancelada.int64 = Q(2); });
    Altera<PPDiscoItem>("PPIT", Item(op, 1), [](PPDiscoItem& item) { item.cTipoItem = kItemReprocesso; });
    // Its reports: entry P1 7 with scrap P2 1; an entry dated in April; a removed report.
    PPDiscoApontamento comRefugo = Apontamento(Q(8), Maio(12));
    comRefugo.ulPrimeiraEntrada = Movimento(kProdutoFabricado, Q(7), Maio(12));
    comRefugo.usQtdMvtoEntrada = 1;
    comRefugo.ulMovimentoRefugo = Movimento(kProdutoInsumo, Q(1), Maio(12));
    comRefugo.cPossuiRefugo = 1;
    PPDiscoApontamento abril = Apontamento(Q(2), Maio(1));
    abril.ulPrimeiraEntrada = Movimento(kProdutoFabricado, Q(2), Dia(30, 4, 2024));
    abril.usQtdMvtoEntrada = 1;
    PPDiscoApontamento removido = Apontamento(Q(100), Maio(12));
    removido.ulPrimeiraEntrada = Movimento(kProdutoFabricado, Q(100), Maio(12));
    removido.usQtdMvtoEntrada = 1;
    removido.cExcluido = 1;
    ApontaProcesso(op, 0, {comRefugo, abril, removido});

    // The service order, two processes: P3 6, P2 2 for order-item index 3.
    OPTeste servico = NovaOP({{processos_[0], true}, {processos_[1], true}},
                             {{kProdutoTerceiros, Quantidade(6)}, {kProdutoInsumo, Quantidade(2)}});
    const uint32_t os = GravaOrdem(servico, 'S');
    Altera<PPDiscoItem>("PPIT", Item(os, 1), [](PPDiscoItem& item) { item.usIdxItemPedido = 3; });
    // The first process's reports count not; the last's by recording month and item.
    ApontaProcesso(os, 0, {Apontamento(Q(30), Maio(15))});
    PPDiscoApontamento indice3 = Apontamento(Q(1, 5000), Maio(16));
    indice3.usIdxItemPedido = 3;
    ApontaProcesso(os, 1, {Apontamento(Q(4), Maio(15)), indice3, Apontamento(Q(50), Dia(30, 4, 2024))});
  }

  // May's targets gone, its file left with the header only (the engine refuses a file it created
  // that went missing).
  void EsvaziaMaio() const { empresa_.Escreve(ArquivoMetas(kMaio), std::string(sizeof(PPRegistroMetaProducao), '\0')); }

  std::vector<PPRegistroMetaProducao> Metas(uint16_t mes = kMaio) const {
    std::vector<PPRegistroMetaProducao> metas;
    const std::string bytes = empresa_.Le(ArquivoMetas(mes));
    for (size_t n = 1; (n + 1) * sizeof(PPRegistroMetaProducao) <= bytes.size(); ++n)
      metas.push_back(LeRegistro<PPRegistroMetaProducao>(empresa_, ArquivoMetas(mes), static_cast<uint32_t>(n)));
    return metas;
  }

  CPPServidorMetasProducao metas_;
};

// ---------------------------------------------------------------------------------------------------
// CalcularMetasProducao

TEST_F(MetasCalculo, CalculationSumsTheOrdersOverTheTargetsOfTheirKeys) {
  GravaOrdens();
  PPRegistroMetaProducao removida = Meta(kProdutoInsumo, 'P', Q(9));
  removida.vQuantProgramada.int64 = Q(5);
  removida.cRemovido = 1;
  PPRegistroMetaProducao p1 = Meta(kProdutoFabricado, 'P', Q(50));
  p1.vQuantProgramada.int64 = Q(99);
  PPRegistroMetaProducao semOrdens = Meta(kProdutoTerceiros, 'P', Q(40));
  semOrdens.vQuantProgramada.int64 = Q(77);
  for (const PPRegistroMetaProducao& meta : {removida, p1, semOrdens}) PoeRegistro(empresa_, ArquivoMetas(kMaio), 0, meta);

  ASSERT_EQ(metas_.CalcularMetasProducao({}), S_OK);

  const std::vector<PPRegistroMetaProducao> metas = Metas();
  ASSERT_EQ(metas.size(), 6u);
  const uint16_t hoje = DiaFixado();
  ConfereMeta(metas[0], {kProdutoInsumo, 'P', Q(9), Q(5), 0, 0, 3, Maio(2), Maio(3)});
  EXPECT_EQ(metas[0].cRemovido, 1) << "a removed target is left as it is";
  // Scheduled and cancelled from its item; produced: the May entry (April's and the removed
  // report's left out). The intended quantity, user and dates stay.
  ConfereMeta(metas[1], {kProdutoFabricado, 'P', Q(50), Q(10), Q(7), Q(2), 3, Maio(2), Maio(3)});
  ConfereMeta(metas[2], {kProdutoTerceiros, 'P', Q(40), Q(77), 0, 0, 3, Maio(2), Maio(3)});
  // New targets, in the order their keys came: the reprocessing item left out; the scrap entry's
  // product; the service items with the last process's May reports by item index.
  ConfereMeta(metas[3], {kProdutoInsumo, 'P', 0, Q(3), Q(1), 0, kUsuarioTeste, hoje, hoje});
  ConfereMeta(metas[4], {kProdutoTerceiros, 'S', 0, Q(6), Q(4), 0, kUsuarioTeste, hoje, hoje});
  ConfereMeta(metas[5], {kProdutoInsumo, 'S', 0, Q(2), Q(1, 5000), 0, kUsuarioTeste, hoje, hoje});
  for (const PPRegistroMetaProducao& meta : metas) {
    EXPECT_EQ(meta.ulPonteiroFilial, 1u);
    EXPECT_EQ(meta.ulPonteiroProjeto, kProjeto);
    EXPECT_EQ(meta.usMesAno, kMaio);
  }
  EXPECT_FALSE(empresa_.Existe(ArquivoMetas(kAbril))) << "April's entry and report are outside the range";
}

// A filter that names a product writes its own key only: a sum of another key would miss what the
// filter left out (a product's entries without its items' scheduled quantities).
TEST_F(MetasCalculo, FilterNamingAProductWritesOnlyItsKey) {
  GravaOrdens();
  struct Caso {
    uint32_t produto;
    char tipo;
    Esperada esperada;
  };
  const uint16_t hoje = DiaFixado();
  const Caso casos[] = {
      {kProdutoInsumo, 'P', {kProdutoInsumo, 'P', 0, Q(3), Q(1), 0, kUsuarioTeste, hoje, hoje}},
      {kProdutoTerceiros, 'S', {kProdutoTerceiros, 'S', 0, Q(6), Q(4), 0, kUsuarioTeste, hoje, hoje}},
      {kProdutoInsumo, 'S', {kProdutoInsumo, 'S', 0, Q(2), Q(1, 5000), 0, kUsuarioTeste, hoje, hoje}},
  };
  for (const Caso& caso : casos) {
    EsvaziaMaio();
    _REG_PP_FILTRO_CALCULO_META_PRODUCAOPS filtro{};
    filtro.regPosicaoProdutoServico.lPonteiroProduto = caso.produto;
    filtro.cTipoProdutoServico = static_cast<uint8_t>(caso.tipo);
    ASSERT_EQ(metas_.CalcularMetasProducao(filtro), S_OK);
    const std::vector<PPRegistroMetaProducao> metas = Metas();
    ASSERT_EQ(metas.size(), 1u) << caso.produto << caso.tipo;
    ConfereMeta(metas[0], caso.esperada);
  }
}

TEST_F(MetasCalculo, RangeIsClampedToTheOpenPeriod) {
  GravaOrdens();
  const std::pair<uint16_t, uint16_t> faixas[] = {
      {kAbril, kMaio}, {kAbril, kAbril}, {kJunho, kJunho}, {kMaio, kAbril}, {0, 0}};
  for (const auto& [inicio, fim] : faixas) {
    EsvaziaMaio();
    _REG_PP_FILTRO_CALCULO_META_PRODUCAOPS filtro{};
    filtro.usMesAnoInicio = inicio;
    filtro.usMesAnoFim = fim;
    ASSERT_EQ(metas_.CalcularMetasProducao(filtro), S_OK);
    const std::vector<PPRegistroMetaProducao> metas = Metas();
    ASSERT_EQ(metas.size(), 4u) << inicio << "-" << fim;
    EXPECT_EQ(metas[0].vQuantProduzida.int64, Q(7)) << "the April entry counts not";
    EXPECT_FALSE(empresa_.Existe(ArquivoMetas(kAbril)));
    EXPECT_FALSE(empresa_.Existe(ArquivoMetas(kJunho)));
  }
}

TEST_F(MetasCalculo, OperationsBeforeInicializaGive1585) {
  CPPServidorMetasProducao metas;
  EXPECT_EQ(metas.CalcularMetasProducao({}), Erro(1585));
  EXPECT_EQ(metas.ApontarMetaProducao({}), Erro(1585));
  EXPECT_EQ(metas.ReplicarMetasProducao({}), Erro(1585));
}

// ---------------------------------------------------------------------------------------------------
// ApontarMetaProducao

_REG_PP_META_PRODUCAOPS Incremento(uint32_t produto, uint16_t mes, int64_t programada, int64_t produzida,
                                   int64_t cancelada) {
  _REG_PP_META_PRODUCAOPS meta{};
  meta.regKey.ulPonteiroFilial = 1;
  meta.regKey.usMesAno = mes;
  meta.regKey.ulPonteiroProjeto = kProjeto;
  meta.regKey.regPosicaoProdutoServico.lPonteiroProduto = produto;
  meta.regKey.cTipoProdutoServico = 'P';
  meta.vQuantProgramada.int64 = programada;
  meta.vQuantProduzida.int64 = produzida;
  meta.vQuantCancelada.int64 = cancelada;
  return meta;
}

TEST_F(MetasCalculo, PostingAddsSignedIncrementsToTheLiveTargetAndStopsAtZero) {
  PPRegistroMetaProducao removida = Meta(kProdutoFabricado, 'P', Q(1));
  removida.cRemovido = 1;
  PoeRegistro(empresa_, ArquivoMetas(kMaio), 0, removida);
  PPRegistroMetaProducao meta = Meta(kProdutoFabricado, 'P', Q(20));
  meta.vQuantProgramada.int64 = Q(5);
  meta.vQuantProduzida.int64 = Q(3);
  meta.vQuantCancelada.int64 = Q(1);
  PoeRegistro(empresa_, ArquivoMetas(kMaio), 0, meta);
  const size_t linhas = Linhas().size();

  ASSERT_EQ(metas_.ApontarMetaProducao(Incremento(kProdutoFabricado, kMaio, Q(2), -Q(4), Q(1, 5000))), S_OK);

  const std::vector<PPRegistroMetaProducao> metas = Metas();
  ASSERT_EQ(metas.size(), 2u);
  EXPECT_EQ(std::memcmp(&metas[0], &removida, sizeof removida), 0) << "a removed target takes nothing";
  PPRegistroMetaProducao esperada = meta;
  esperada.vQuantProgramada.int64 = Q(7);
  esperada.vQuantProduzida.int64 = 0;
  esperada.vQuantCancelada.int64 = Q(2, 5000);
  EXPECT_EQ(std::memcmp(&metas[1], &esperada, sizeof esperada), 0) << "user and dates untouched";
  EXPECT_EQ(Linhas().size(), linhas) << "a posting writes no history line";
}

TEST_F(MetasCalculo, PostingWithoutATargetWritesNothing) {
  EXPECT_EQ(metas_.ApontarMetaProducao(Incremento(kProdutoFabricado, kMaio, Q(1), Q(1), 0)), S_OK);
  EXPECT_FALSE(empresa_.Existe(ArquivoMetas(kMaio))) << "a month without targets is not created";

  PoeRegistro(empresa_, ArquivoMetas(kMaio), 0, Meta(kProdutoFabricado, 'P', Q(20)));
  PoeRegistro(empresa_, ArquivoMetas(kAbril), 0, Meta(kProdutoFabricado, 'P', Q(20), kAbril));
  const auto antes = empresa_.Arquivos();
  EXPECT_EQ(metas_.ApontarMetaProducao(Incremento(kProdutoInsumo, kMaio, Q(1), Q(1), 0)), S_OK);
  EXPECT_EQ(metas_.ApontarMetaProducao(Incremento(kProdutoFabricado, kAbril, Q(1), Q(1), 0)), Erro(1649));
  const auto depois = empresa_.Arquivos();
  EXPECT_EQ(depois.at(ArquivoMetas(kMaio)), antes.at(ArquivoMetas(kMaio)));
  EXPECT_EQ(depois.at(ArquivoMetas(kAbril)), antes.at(ArquivoMetas(kAbril)));
}

// ---------------------------------------------------------------------------------------------------
// ReplicarMetasProducao

_REG_PP_KEY_META_PRODUCAOPS Chave(uint16_t mes, uint32_t filial, uint32_t projeto) {
  _REG_PP_KEY_META_PRODUCAOPS chave{};
  chave.usMesAno = mes;
  chave.ulPonteiroFilial = filial;
  chave.ulPonteiroProjeto = projeto;
  return chave;
}

TEST_F(MetasCalculo, ReplicationRefusalsLeaveTheTargetsAsTheyAre) {
  PoeRegistro(empresa_, ArquivoMetas(kAbril), 0, Meta(kProdutoFabricado, 'P', Q(10), kAbril));
  PoeRegistro(empresa_, ArquivoMetas(kMaio), 0, Meta(kProdutoFabricado, 'P', Q(5)));
  PPRegistroMetaProducao removida = Meta(kProdutoInsumo, 'P', Q(10), kAbril, 9);
  removida.cRemovido = 1;
  PoeRegistro(empresa_, ArquivoMetas(kAbril), 0, removida);
  const auto antes = empresa_.Arquivos();
  struct Caso {
    const char* nome;
    _REG_PP_REPLICAR_META_PRODUCAOPS replicar;
    HRESULT esperado;
  };
  const Caso casos[] = {
      {"origin month without a file", {Chave(kAbril - 1, 1, kProjeto), Chave(kMaio, 1, kProjeto)}, Erro(1737)},
      {"no live target of the origin's branch", {Chave(kAbril, 9, 0), Chave(kMaio, 1, kProjeto)}, Erro(1737)},
      {"no target of the origin's project", {Chave(kAbril, 0, 22), Chave(kMaio, 1, kProjeto)}, Erro(1737)},
      {"destination outside the open period", {Chave(kAbril, 1, kProjeto), Chave(kJunho, 1, kProjeto)}, Erro(1649)},
  };
  for (const Caso& caso : casos) {
    EXPECT_EQ(metas_.ReplicarMetasProducao(caso.replicar), caso.esperado) << caso.nome;
    const auto depois = empresa_.Arquivos();
    for (uint16_t mes : std::vector<uint16_t>{kAbril - 1, kAbril, kMaio, kJunho}) {
      const std::string nome = ArquivoMetas(mes);
      EXPECT_EQ(depois.count(nome), antes.count(nome)) << caso.nome << " " << nome;
      if (antes.count(nome) && depois.count(nome)) {
        EXPECT_EQ(depois.at(nome), antes.at(nome)) << caso.nome;
      }
    }
  }
}

// The copies are calculated for their own (destination) keys: each gets what the orders give it,
// and no other target of the month is written.
TEST_F(MetasCalculo, ReplicationRemovesTheDestinationsTargetsCopiesAndCalculatesTheCopies) {
  GravaOrdens();
  PPRegistroMetaProducao comQuantidades = Meta(kProdutoFabricado, 'P', Q(10), kAbril);
  comQuantidades.vQuantProgramada.int64 = Q(4);
  PPRegistroMetaProducao removida = Meta(kProdutoInsumo, 'P', Q(40), kAbril);
  removida.cRemovido = 1;
  for (const PPRegistroMetaProducao& meta : {comQuantidades, Meta(kProdutoTerceiros, 'S', Q(20), kAbril),
                                             Meta(kProdutoFabricado, 'P', Q(30), kAbril, 2), removida})
    PoeRegistro(empresa_, ArquivoMetas(kAbril), 0, meta);
  const PPRegistroMetaProducao outroProjeto = Meta(kProdutoFabricado, 'P', Q(6), kMaio, 1, 22);
  PoeRegistro(empresa_, ArquivoMetas(kMaio), 0, Meta(kProdutoInsumo, 'P', Q(5)));
  PoeRegistro(empresa_, ArquivoMetas(kMaio), 0, outroProjeto);
  const std::string abril = empresa_.Le(ArquivoMetas(kAbril));

  _REG_PP_REPLICAR_META_PRODUCAOPS replicar{Chave(kAbril, 1, kProjeto), Chave(kMaio, 1, kProjeto)};
  replicar.regKeyOrigem.regPosicaoProdutoServico.lPonteiroProduto = kProdutoFabricado;  // cleared: all products
  ASSERT_EQ(metas_.ReplicarMetasProducao(replicar), S_OK);

  const uint16_t hoje = DiaFixado();
  const std::vector<PPRegistroMetaProducao> metas = Metas();
  ASSERT_EQ(metas.size(), 4u);
  ConfereMeta(metas[0], {kProdutoInsumo, 'P', Q(5), 0, 0, 0, kUsuarioTeste, Maio(2), hoje});
  EXPECT_EQ(metas[0].cRemovido, 1) << "the destination's target is removed whatever its product";
  EXPECT_EQ(std::memcmp(&metas[1], &outroProjeto, sizeof outroProjeto), 0) << "another project's target stays";
  ConfereMeta(metas[2], {kProdutoFabricado, 'P', Q(10), Q(10), Q(7), Q(2), kUsuarioTeste, hoje, hoje});
  ConfereMeta(metas[3], {kProdutoTerceiros, 'S', Q(20), Q(6), Q(4), 0, kUsuarioTeste, hoje, hoje});
  for (size_t i = 2; i < metas.size(); ++i) {
    EXPECT_EQ(metas[i].cRemovido, 0);
    EXPECT_EQ(metas[i].ulPonteiroFilial, 1u);
    EXPECT_EQ(metas[i].usMesAno, kMaio);
  }
  EXPECT_EQ(empresa_.Le(ArquivoMetas(kAbril)), abril) << "the origin is only read";
  const std::vector<LinhaCadastro> linhas = Linhas();
  ASSERT_FALSE(linhas.empty());
  EXPECT_EQ(linhas.back(), (LinhaCadastro{'I', "Replicar Meta de Produção. Origem: Mês/Ano: 04/24, Filial: 1, "
                                                "Projeto: 21 - Destino: Mês/Ano: 05/24, Filial: 1, Projeto: 21"_ansi}));
}

// Two live targets of one key would leave the second out of every posting and calculation.
TEST_F(MetasCalculo, ReplicationOfEveryBranchOntoOneKeepsOneTargetPerKey) {
  for (uint32_t filial : {1u, 2u}) PoeRegistro(empresa_, ArquivoMetas(kAbril), 0, Meta(kProdutoFabricado, 'P', Q(10 * filial), kAbril, filial));
  ASSERT_EQ(metas_.ReplicarMetasProducao({Chave(kAbril, 0, kProjeto), Chave(kMaio, 3, 0)}), S_OK);
  const std::vector<PPRegistroMetaProducao> metas = Metas();
  ASSERT_EQ(metas.size(), 1u);
  ConfereMeta(metas[0], {kProdutoFabricado, 'P', Q(30), 0, 0, 0, kUsuarioTeste, DiaFixado(), DiaFixado()});
  EXPECT_EQ(metas[0].ulPonteiroFilial, 3u);
  EXPECT_EQ(metas[0].ulPonteiroProjeto, kProjeto) << "a destination without project keeps the origin's";
}

// ---------------------------------------------------------------------------------------------------
// Locks

// Another holder of a lock: the operation gives that lock's message once the 50 s have gone by on
// the replaced clock, and writes nothing. A report's posting needs 14 only: it passes under 29.
TEST_F(MetasCalculo, HeldLocksRefuseUnwrittenAndThePostingNeedsOnlyTheTargetsLock) {
  GravaOrdens();
  PoeRegistro(empresa_, ArquivoMetas(kAbril), 0, Meta(kProdutoFabricado, 'P', Q(10), kAbril));
  PoeRegistro(empresa_, ArquivoMetas(kMaio), 0, Meta(kProdutoFabricado, 'P', Q(20)));
  const std::string abril = empresa_.Le(ArquivoMetas(kAbril));
  const std::string maio = empresa_.Le(ArquivoMetas(kMaio));
  const _REG_PP_META_PRODUCAOPS apontar = Incremento(kProdutoFabricado, kMaio, 0, Q(1), 0);
  const _REG_PP_REPLICAR_META_PRODUCAOPS replicar{Chave(kAbril, 1, kProjeto), Chave(kMaio, 1, kProjeto)};
  struct Caso {
    const char* nome;
    int marca;
    std::function<HRESULT()> chama;
  };
  const Caso casos[] = {
      {"calculation, targets locked", kPPMarcaMetas, [&] { return metas_.CalcularMetasProducao({}); }},
      {"calculation, orders locked", kPPMarcaOP, [&] { return metas_.CalcularMetasProducao({}); }},
      {"posting", kPPMarcaMetas, [&] { return metas_.ApontarMetaProducao(apontar); }},
      {"replication", kPPMarcaMetas, [&] { return metas_.ReplicarMetasProducao(replicar); }},
  };
  for (const Caso& caso : casos) {
    CQVArqMarca outro;
    ASSERT_EQ(outro.Marca(empresa_.Diretorio().c_str(), caso.marca), 0);
    EXPECT_EQ(caso.chama(), PPErroHResult(QVMensagemMarca(caso.marca, true))) << caso.nome;
    EXPECT_EQ(empresa_.Le(ArquivoMetas(kAbril)), abril) << caso.nome;
    EXPECT_EQ(empresa_.Le(ArquivoMetas(kMaio)), maio) << caso.nome;
  }

  CQVArqMarca ordens;
  ASSERT_EQ(ordens.Marca(empresa_.Diretorio().c_str(), kPPMarcaOP), 0);
  ASSERT_EQ(metas_.ApontarMetaProducao(apontar), S_OK);
  EXPECT_EQ(Metas().at(0).vQuantProduzida.int64, Q(1));
}

// ---------------------------------------------------------------------------------------------------
// Two processes: a report holds the order family's lock when it posts its target.

struct RelatoTravas {
  std::atomic<int> prontos;
  std::atomic<bool> reportTemMarcaOP;
  std::atomic<bool> calculoComecou;
  std::atomic<int32_t> hrApontar;
  std::atomic<int32_t> hrCalcular;
  std::atomic<uint32_t> esperaApontar;  // ticks of the posting under lock 29
  std::atomic<bool> apontamentoTerminou;   // set by the report before it lets lock 29 go
  std::atomic<bool> calculoDepoisDoApontamento;
};

// A child's clock runs ten times real time, so that a 50 s wait for a lock ends in seconds.
class RelogioFilho {
 public:
  RelogioFilho() : relogio_(TestClock::SleepMode::kBlocks), ponteiro_([this] {
    while (!fim_) {
      relogio_.Advance(10);
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
  }) {}
  ~RelogioFilho() {
    fim_ = true;
    ponteiro_.join();
  }

 private:
  TestClock relogio_;
  std::atomic<bool> fim_{false};
  std::thread ponteiro_;
};

bool Espera(const std::atomic<bool>& sinal) {
  const auto limite = std::chrono::steady_clock::now() + std::chrono::seconds(120);
  while (!sinal && std::chrono::steady_clock::now() < limite) std::this_thread::sleep_for(std::chrono::milliseconds(5));
  return sinal;
}

[[noreturn]] void Filho(bool bApontamento, const std::string& diretorio, RelatoTravas& relato) {
  RelogioFilho relogio;
  CoInitializeEx(nullptr, COINIT_MULTITHREADED);
  _REG_VARMO_INICIALIZAPS sessao = SessaoTeste();
  sessao.cInicializarCompleto = 1;
  CPPServidorMetasProducao metas;
  HRESULT hr = metas.Inicializa(sessao, false);
  if (bApontamento) {
    // As a report: lock 29, then the target's posting (lock 14), then 29 released.
    CQVArqMarca marcaOP;
    if (hr == S_OK) hr = PPErroHResultMotor(marcaOP.Marca(diretorio.c_str(), kPPMarcaOP));
    relato.reportTemMarcaOP = true;
    Espera(relato.calculoComecou);
    std::this_thread::sleep_for(std::chrono::milliseconds(300));  // the calculation is waiting by now
    const DWORD inicio = GetTickCount();
    if (hr == S_OK) hr = metas.ApontarMetaProducao(Incremento(kProdutoDaMeta, kMaio, 0, Q(2), 0));
    relato.esperaApontar = GetTickCount() - inicio;
    relato.hrApontar = hr;
    relato.apontamentoTerminou = true;
    marcaOP.Desmarca();
  } else {
    Espera(relato.reportTemMarcaOP);
    relato.calculoComecou = true;
    if (hr == S_OK) hr = metas.CalcularMetasProducao({});
    relato.calculoDepoisDoApontamento = relato.apontamentoTerminou.load();
    relato.hrCalcular = hr;
  }
  _exit(hr == S_OK ? 0 : 1);
}

class MetasDoisProcessos : public EmpresaCadastros {};

TEST_F(MetasDoisProcessos, CalculationWaitsForTheReportsLockAndTheReportPostsAtOnce) {
  // Set up on disk only: the parent starts no server or COM thread before the children exist.
  ASSERT_EQ(ServidorFiliais::GravaPeriodo(Instalacao::kEmpresa, {Dia(1, 5, 2024), Dia(31, 5, 2024), {}}), S_OK);
  PPRegistroMetaProducao meta = Meta(kProdutoDaMeta, 'P', Q(20));
  meta.vQuantProduzida.int64 = Q(3);
  PoeRegistro(empresa_, ArquivoMetas(kMaio), 0, meta);
  RegistraServidor();

  Partilhado<RelatoTravas> relato;
  pid_t filhos[2];
  for (int indice = 0; indice < 2; ++indice) {
    filhos[indice] = fork();
    ASSERT_GE(filhos[indice], 0);
    if (filhos[indice] == 0) Filho(indice == 0, empresa_.Diretorio(), *relato);
  }
  std::vector<int> estados;
  ASSERT_NO_FATAL_FAILURE(estados = EsperaFilhos(filhos, std::chrono::minutes(10)));
  for (int indice = 0; indice < 2; ++indice)
    EXPECT_TRUE(WIFEXITED(estados[indice]) && WEXITSTATUS(estados[indice]) == 0) << "child " << indice;
  EXPECT_EQ(relato->hrApontar.load(), S_OK);
  EXPECT_EQ(relato->hrCalcular.load(), S_OK);
  EXPECT_LT(relato->esperaApontar.load(), CQVArqMarca::kEsperaMarca / 5) << "the posting found lock 14 free";
  EXPECT_TRUE(relato->calculoDepoisDoApontamento.load()) << "the calculation waited for the report's lock 29";
  EXPECT_EQ(LeRegistro<PPRegistroMetaProducao>(empresa_, ArquivoMetas(kMaio), 1).vQuantProduzida.int64, Q(5));
}

}  // namespace
