// The report queries of the order handler over a month written byte by byte (PeriodosOP.h lays
// out orders and reports with their lists; the fields it leaves out are put in at hand-written
// offsets): the report keys chosen by a filter, the report lists by read kind, the resource
// summaries, the reports that held a resource in a time window, and batch tracing.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "access/PPLiberaRegistro.h"
#include "platform/com/taskmem.h"
#include "platform/family/filiais/ServidorFiliais.h"
#include "server/CPPArquivosSubclasses.h"
#include "server/cadastros/CPPServidorOperacaoProducao.h"
#include "server/cadastros/CPPServidorRecursos.h"
#include "tests/server/op/EmpresaOPFamilia.h"

using namespace TesteOP;

namespace {

constexpr uint16_t kAbril = kMes - 1;  // 04/2024, before the open period
uint16_t Maio(int d) { return Dia(d, 5, 2024); }

// Orders and reports of May, by record number.
constexpr uint32_t kOP1 = 1;  // branch 1, product 1 grade 1-2, flow 11, project 21, the test's order type
constexpr uint32_t kOP2 = 2;  // branch 2, a service, flow 12, project 22, order type 99
constexpr uint32_t kA1 = 1;   // OP1, P0, internal: every list, resources, supplements 31-33
constexpr uint32_t kA2 = 2;   // OP1, P1, outsourced, one return
constexpr uint32_t kA3 = 3;   // OP2, P0, internal, entry left for later (kind 4)
constexpr uint32_t kA4 = 4;   // OP1, P0, removed, its resource in the window of A1
constexpr uint32_t kA5 = 5;   // OP1, P0, internal, the typed resource twice

template <size_t N>
void Texto(char (&campo)[N], const char* texto) {
  std::memset(campo, 0, N);
  std::strncpy(campo, texto, N - 1);
}

std::vector<uint32_t> Toma(_REG_VARMO_PONTEIROS_ULONGPS& lista) {
  std::vector<uint32_t> chaves(lista.plPonteiro, lista.plPonteiro + lista.lQtd);
  CoTaskMemFree(lista.plPonteiro);
  lista = {};
  return chaves;
}

std::vector<uint32_t> Chaves(std::initializer_list<uint32_t> registros, uint16_t mes = kMes) {
  std::vector<uint32_t> chaves;
  for (uint32_t registro : registros) chaves.push_back(Chave(registro, mes));
  return chaves;
}

_REG_PP_ENTRADA_PRODUCAOPS Entrada(const char* lote, uint32_t produto = 0) {
  _REG_PP_ENTRADA_PRODUCAOPS entrada{};
  Texto(entrada.regLote.cNumeroLote, lote);
  entrada.regPosicaoProduto.lPonteiroProduto = produto;
  return entrada;
}

class ApontamentoBusca : public EmpresaOPFamilia {
 public:
  // Named by the tables of cases.
  static constexpr uint32_t kTipoRecurso = 5;
  int32_t P0() const { return processos_[0]; }
  int32_t P1() const { return processos_[1]; }
  int32_t recursoTipado_ = 0, operacaoO_ = 0, operacaoS_ = 0;

 protected:
  void SetUp() override {
    EmpresaOPFamilia::SetUp();
    if (HasFatalFailure()) return;
    CadastraRecursoEOperacoes();
    if (HasFatalFailure()) return;
    GravaMes();
  }

  void CadastraRecursoEOperacoes() {
    CPPServidorRecursos recursos;
    ASSERT_EQ(recursos.Inicializa(Sessao(), 0), S_OK);
    _REG_PP_RECURSOPS recurso{};
    Texto(recurso.szCodigo, "MAQ02");
    Texto(recurso.szDescricao, "MAQUINA 2");
    recurso.cAtivo = 1;
    recurso.usPonteiroFilial = kFilial;
    recurso.ulPonteiroTipoRecurso = kTipoRecurso;
    ASSERT_EQ(recursos.Grava(0, recurso, &recursoTipado_), S_OK);
    CPPServidorOperacaoProducao operacoes;
    ASSERT_EQ(operacoes.Inicializa(Sessao(), 0), S_OK);
    const struct {
      const char* codigo;
      char tipo;
      int32_t* ponteiro;
    } novas[] = {{"OPERAR", 'O', &operacaoO_}, {"SERVIR", 'S', &operacaoS_}};
    for (const auto& nova : novas) {
      _REG_VARMO_OPERACAO_PRODUCAOPS operacao{};
      Texto(operacao.szCodigo, nova.codigo);
      Texto(operacao.szDescricao, nova.codigo);
      operacao.cAtivo = 1;
      operacao.cTipoOperacao = static_cast<uint8_t>(nova.tipo);
      ASSERT_EQ(operacoes.Grava(0, operacao, nova.ponteiro), S_OK);
    }
  }

  void GravaMes();
  // April, before the open period: order 1 (branch 1) and one report of it, with recurso_ from
  // 30/04 to 08/05 and a consumption of batch LOTE-D.
  void GravaAbril();

  // The keys of BuscaPonteirosApontamento, freed.
  std::vector<uint32_t> BuscaPonteiros(const _REG_VARMO_FILTRO_APONTAMENTOPS& filtro) {
    _REG_VARMO_PONTEIROS_ULONGPS lista{};
    EXPECT_EQ(op_.BuscaPonteirosApontamento(filtro, &lista, nullptr), S_OK);
    if (lista.lQtd == 0) {
      EXPECT_EQ(lista.plPonteiro, nullptr);
    }
    return Toma(lista);
  }
  // The report keys of BuscaApontamentos (stored filter), freed.
  std::vector<uint32_t> BuscaLista(uint16_t usTipoLeitura = 0) {
    _REG_VARMO_LISTA_OP_APONTAMENTOS lista{};
    EXPECT_EQ(op_.BuscaApontamentos(&lista, nullptr, usTipoLeitura), S_OK);
    std::vector<uint32_t> chaves;
    for (int32_t i = 0; i < lista.lQuantidade; ++i) {
      chaves.push_back(lista.pregApontamentos[i].lPonteiroApontamento);
      LiberaRegistroApontamento(&lista.pregApontamentos[i], 0);
    }
    CoTaskMemFree(lista.pregApontamentos);
    return chaves;
  }
  std::vector<uint32_t> Geradoras(const _REG_PP_ENTRADA_PRODUCAOPS& entrada) {
    _REG_VARMO_PONTEIROS_ULONGPS lista{};
    EXPECT_EQ(op_.BuscaOPGeradoraDaEntrada(entrada, &lista), S_OK);
    if (lista.lQtd == 0) {
      EXPECT_EQ(lista.plPonteiro, nullptr);
    }
    return Toma(lista);
  }
  std::vector<uint32_t> Consumidoras(const _REG_PP_ENTRADA_PRODUCAOPS& entrada) {
    _REG_VARMO_PONTEIROS_ULONGPS lista{};
    EXPECT_EQ(op_.BuscaOPConsumidoraInsumo(entrada, &lista), S_OK);
    return Toma(lista);
  }
  std::vector<uint32_t> NoPeriodo(int32_t recurso, uint16_t dataInicio, uint16_t horaInicio, uint16_t dataFim,
                                  uint16_t horaFim) {
    _REG_VARMO_PONTEIROS_ULONGPS lista{};
    const _REG_PP_DISPONIBILIDADE_RECURSOPS periodo{static_cast<uint32_t>(recurso), dataInicio, horaInicio, dataFim,
                                                    horaFim};
    EXPECT_EQ(op_.BuscaApontamentosRecursoPeriodo(periodo, &lista), S_OK);
    return Toma(lista);
  }
};

void ApontamentoBusca::GravaMes() {
  MesOP mes(kMes);
  OrdemTeste produto;
  produto.fluxo = 11;
  produto.colecao = 21;
  produto.produto = kProdutoFabricado;
  produto.grade = {1, 2, 0};
  produto.processos = {{P0()}, {P1()}};
  ASSERT_EQ(mes.Ordem(produto), kOP1);
  OrdemTeste servico;
  servico.fluxo = 12;
  servico.colecao = 22;
  servico.tipo = 'S';
  servico.produto = kProdutoTerceiros;
  servico.processos = {{P0()}};
  ASSERT_EQ(mes.Ordem(servico), kOP2);

  // PPME: 1 A1's entry, 2 its scrap entry, 3 its consumption; 4 A2's return movement; 5 A3's
  // pending entry, 6 its consumption; 7 A5's entry; 8 (below) the scrap entry of A2's return.
  // PPAR: 1 A1's resource not reported, 2 A1's resource (PPAO 1 and 2), 3 A4's, 4 and 5 A5's (PPAO 3).
  const MovimentoTeste fabricado{kProdutoFabricado, {1, 2, 0}};
  const MovimentoTeste insumo{kProdutoInsumo, {}};
  ApontamentoTeste a1;
  a1.recursosNaoApontados = {recurso_};
  a1.recursos = {{recurso_, {static_cast<uint32_t>(operacaoO_), static_cast<uint32_t>(operacaoS_)}}};
  a1.entradas = {fabricado};
  a1.refugo = {fabricado};
  a1.estoque = {insumo};
  ASSERT_EQ(mes.Apontamento(a1), kA1);
  ApontamentoTeste a2;
  a2.retornos = {{insumo}};
  ASSERT_EQ(mes.Apontamento(a2), kA2);
  ApontamentoTeste a3;
  a3.entradas = {fabricado};
  a3.estoque = {insumo};
  a3.entradaPendente = true;
  ASSERT_EQ(mes.Apontamento(a3), kA3);
  ApontamentoTeste a4;
  a4.excluido = true;
  a4.recursos = {{recurso_, {}}};
  ASSERT_EQ(mes.Apontamento(a4), kA4);
  ApontamentoTeste a5;
  a5.entradas = {fabricado};
  a5.recursos = {{recursoTipado_, {static_cast<uint32_t>(operacaoO_)}}, {recursoTipado_, {}}};
  ASSERT_EQ(mes.Apontamento(a5), kA5);
  mes.Grava(empresa_);

  Altera("PPOP", 256, kOP1, 44, U32(static_cast<uint32_t>(tipoOP_)) );
  Altera("PPOP", 256, kOP1, 116, U16(1));
  Altera("PPOP", 256, kOP2, 44, U32(99));
  Altera("PPOP", 256, kOP2, 116, U16(2));

  struct Cabecalho {
    uint32_t registro, op;
    int32_t processo;
    uint16_t inicio, fim, gravacao;
  };
  const Cabecalho cabecalhos[] = {{kA1, kOP1, P0(), Maio(8), Maio(9), Maio(10)},
                                  {kA2, kOP1, P1(), Maio(2), Maio(3), Maio(5)},
                                  {kA3, kOP2, P0(), Maio(19), Maio(20), Maio(20)},
                                  {kA4, kOP1, P0(), Maio(8), Maio(9), Maio(10)},
                                  {kA5, kOP1, P0(), Maio(12), Maio(12), Maio(12)}};
  for (const Cabecalho& c : cabecalhos) {
    Altera("PPAP", 200, c.registro, 80, U32(c.op));
    Altera("PPAP", 200, c.registro, 88, U32(static_cast<uint32_t>(c.processo)));
    Altera("PPAP", 200, c.registro, 144, U16(c.inicio) + U16(480) + U16(c.fim) + U16(1020) + U16(c.gravacao));
    Altera("PPAP", 200, c.registro, 173, U8('O'));
  }
  Altera("PPAP", 200, kA5, 146, U16(600) + U16(Maio(12)) + U16(700));
  Altera("PPAP", 200, kA1, 100, U32(31) + U32(32) + U32(33));
  Altera("PPAP", 200, kA2, 175, U8(0));  // outsourced

  // Batches: 1 LOTE-A (made 01/05/2024, good until 01/05/2025, 365 days), 2 LOTE-B, 3 LOTE-C,
  // 4 LOTE-D, 5 LOTE-E. Entries of A1 and A5 and A3's pending entry: LOTE-A; A1's scrap: LOTE-B;
  // A2's return scrap: LOTE-C; A1's and A3's consumption: LOTE-D; A2's return movement: LOTE-E.
  const char* lotes[] = {"LOTE-A", "LOTE-B", "LOTE-C", "LOTE-D", "LOTE-E"};
  for (const char* lote : lotes) {
    std::string registro = std::string(lote) + std::string(56 - std::strlen(lote), '\0');
    Anexa("PPLT", 62, registro + U16(Maio(1)) + U16(Dia(1, 5, 2025)) + U16(365));
  }
  const uint32_t loteDoMovimento[] = {0, 1, 2, 4, 5, 1, 4, 1};
  for (uint32_t m = 1; m <= 7; ++m) Altera("PPME", 104, m, 36, U32(loteDoMovimento[m]));
  std::string refugoRetorno(104, '\0');
  refugoRetorno.replace(36, 4, U32(3));
  refugoRetorno.replace(64, 4, U32(kProdutoFabricado));
  ASSERT_EQ(Anexa("PPME", 104, refugoRetorno), 8u);
  Altera("PPRI", 90, 1, 20, U32(8));
  Altera("PPRI", 90, 1, 66, U8(1));

  // Operations: PPAO 1 (type O) 08/05 08:00 to 09/05 17:00 with a counter and a detail; PPAO 2
  // (type S) 09/05 with a quantity; PPAO 3 (A5, type O) 12/05 without entries.
  Altera("PPAO", 48, 1, 4, U32(1) + U32(0) + U32(0) + U32(1));
  Altera("PPAO", 48, 1, 20, U16(Maio(8)) + U16(480) + U16(Maio(9)) + U16(1020) + std::string("\x01\x00\x00\x01", 4));
  Altera("PPAO", 48, 2, 8, U32(1));
  Altera("PPAO", 48, 2, 20, U16(Maio(9)) + U16(480) + U16(Maio(9)) + U16(600) + std::string("\x00\x01", 2));
  Altera("PPAO", 48, 3, 20, U16(Maio(12)) + U16(600) + U16(Maio(12)) + U16(700));
  Anexa("PPAC", 72, Q(1000000) + Q(2500000) + std::string(56, '\0'));
  Anexa("PPAQ", 40, Q(75000) + std::string(32, '\0'));
  const std::string detalhe = "Troca de faca";
  empresa_.Escreve(MesOP::Nome("PPIE", kMes), "QV" + U16(static_cast<uint16_t>(detalhe.size())) + detalhe);
  Anexa("PPAD", 24, U32(2) + std::string(20, '\0'));
}

void ApontamentoBusca::GravaAbril() {
  MesOP abril(kAbril);
  OrdemTeste ordem;
  ordem.processos = {{P0()}};
  abril.Ordem(ordem);
  ApontamentoTeste apontamento;
  apontamento.recursos = {{recurso_, {}}};
  apontamento.estoque = {{kProdutoInsumo, {}}};
  abril.Apontamento(apontamento);
  abril.Grava(empresa_);
  Altera("PPOP", 256, 1, 116, U16(1), kAbril);
  Altera("PPAP", 200, 1, 80, U32(1), kAbril);
  Altera("PPAP", 200, 1, 144, U16(Dia(30, 4, 2024)) + U16(480) + U16(Maio(8)) + U16(480), kAbril);
  Altera("PPAP", 200, 1, 173, U8('O'), kAbril);
  Anexa("PPLT", 62, "LOTE-D" + std::string(50, '\0') + std::string(6, '\0'), kAbril);
  Altera("PPME", 104, 1, 36, U32(1), kAbril);
}

// ---------------------------------------------------------------------------------------------------
// BuscaPonteirosApontamento

TEST_F(ApontamentoBusca, EachFilterFieldChoosesItsReportsAndARemovedReportNeverPasses) {
  using Filtro = _REG_VARMO_FILTRO_APONTAMENTOPS;
  const struct {
    const char* caso;
    void (*ajusta)(Filtro&, const ApontamentoBusca&);
    std::vector<uint32_t> registros;
  } casos[] = {
      {"none", [](Filtro&, const ApontamentoBusca&) {}, {kA1, kA2, kA3, kA5}},
      {"report key", [](Filtro& f, const ApontamentoBusca&) { f.ulChaveApontamento = Chave(kA2); }, {kA2}},
      {"removed report's key", [](Filtro& f, const ApontamentoBusca&) { f.ulChaveApontamento = Chave(kA4); }, {}},
      {"order", [](Filtro& f, const ApontamentoBusca&) { f.lChaveOP = Chave(kOP2); }, {kA3}},
      {"first order", [](Filtro& f, const ApontamentoBusca&) { f.ulChaveOPInicial = Chave(kOP2); }, {kA3}},
      {"last order", [](Filtro& f, const ApontamentoBusca&) { f.ulChaveOPFinal = Chave(kOP1); }, {kA1, kA2, kA5}},
      {"project", [](Filtro& f, const ApontamentoBusca&) { f.lPonteiroProjeto = 22; }, {kA3}},
      {"products", [](Filtro& f, const ApontamentoBusca&) { f.cFiltroProdutoServico = 1; }, {kA1, kA2, kA5}},
      {"services", [](Filtro& f, const ApontamentoBusca&) { f.cFiltroProdutoServico = 2; }, {kA3}},
      {"products and services", [](Filtro& f, const ApontamentoBusca&) { f.cFiltroProdutoServico = 3; },
       {kA1, kA2, kA3, kA5}},
      {"product of its kind",
       [](Filtro& f, const ApontamentoBusca&) {
         f.regPosicaoProdutoServico = {kProdutoFabricado, 1, 2, 0};
         f.cTipoProdutoServico = 'P';
       },
       {kA1, kA2, kA5}},
      {"product, other grade item",
       [](Filtro& f, const ApontamentoBusca&) {
         f.regPosicaoProdutoServico = {kProdutoFabricado, 0, 3, 0};
         f.cTipoProdutoServico = 'P';
       },
       {}},
      {"product as a service",
       [](Filtro& f, const ApontamentoBusca&) {
         f.regPosicaoProdutoServico = {kProdutoFabricado, 0, 0, 0};
         f.cTipoProdutoServico = 'S';
       },
       {}},
      {"product without kind: any",
       [](Filtro& f, const ApontamentoBusca&) { f.regPosicaoProdutoServico = {kProdutoInsumo, 9, 9, 9}; },
       {kA1, kA2, kA3, kA5}},
      {"order type", [](Filtro& f, const ApontamentoBusca&) { f.lPonteiroTipoOP = 99; }, {kA3}},
      {"process", [](Filtro& f, const ApontamentoBusca& t) { f.lPonteiroProcesso = t.P1(); }, {kA2}},
      {"flow", [](Filtro& f, const ApontamentoBusca&) { f.lPonteiroFluxoProcesso = 11; }, {kA1, kA2, kA5}},
      {"supplement 1", [](Filtro& f, const ApontamentoBusca&) { f.lPonteiroSuplemento1 = 31; }, {kA1}},
      {"supplement 2", [](Filtro& f, const ApontamentoBusca&) { f.lPonteiroSuplemento2 = 32; }, {kA1}},
      {"supplement 3", [](Filtro& f, const ApontamentoBusca&) { f.lPonteiroSuplemento3 = 34; }, {}},
      {"branch", [](Filtro& f, const ApontamentoBusca&) { f.usPonteiroFilial = 2; }, {kA3}},
      {"recorded from", [](Filtro& f, const ApontamentoBusca&) { f.usDataInicial = Maio(10); }, {kA1, kA3, kA5}},
      {"recorded until", [](Filtro& f, const ApontamentoBusca&) { f.usDataFinal = Maio(10); }, {kA1, kA2}},
      {"begins from", [](Filtro& f, const ApontamentoBusca&) { f.usDataApontamentoInicio = Maio(8); },
       {kA1, kA3, kA5}},
      {"ends until", [](Filtro& f, const ApontamentoBusca&) { f.usDataApontamentoFim = Maio(9); }, {kA1, kA2}},
      {"internal", [](Filtro& f, const ApontamentoBusca&) { f.cProcessoInterno = 1; }, {kA1, kA3, kA5}},
      {"external", [](Filtro& f, const ApontamentoBusca&) { f.cProcessoExterno = 1; }, {kA2}},
      {"internal and external: none",
       [](Filtro& f, const ApontamentoBusca&) { f.cProcessoInterno = f.cProcessoExterno = 1; },
       {}},
      {"entry left for later", [](Filtro& f, const ApontamentoBusca&) { f.cEntradaPendenteES = 1; }, {kA3}},
      {"operation and scrap reason: not tested",
       [](Filtro& f, const ApontamentoBusca&) { f.lPonteiroOperacao = f.lPonteiroMotivoRefugo = 77; },
       {kA1, kA2, kA3, kA5}},
  };
  for (const auto& caso : casos) {
    SCOPED_TRACE(caso.caso);
    Filtro filtro{};
    caso.ajusta(filtro, *this);
    std::vector<uint32_t> esperadas;
    for (uint32_t registro : caso.registros) esperadas.push_back(Chave(registro));
    EXPECT_EQ(BuscaPonteiros(filtro), esperadas);
  }
}

TEST_F(ApontamentoBusca, AnOrderKeyScansOnlyItsMonthThoughTheOpenPeriodIsWider) {
  GravaAbril();
  ASSERT_EQ(ServidorFiliais::GravaPeriodo(Instalacao::kEmpresa, {Dia(1, 4, 2024), Dia(31, 5, 2024), {}}), S_OK);
  ASSERT_EQ(op_.Inicializa(Sessao()), S_OK);

  // Both months hold an order 1; the filter compares the order's record number only.
  _REG_VARMO_FILTRO_APONTAMENTOPS filtro{};
  std::vector<uint32_t> todas = Chaves({1}, kAbril);
  for (uint32_t chave : Chaves({kA1, kA2, kA3, kA5})) todas.push_back(chave);
  EXPECT_EQ(BuscaPonteiros(filtro), todas);
  filtro.lChaveOP = Chave(kOP1);
  EXPECT_EQ(BuscaPonteiros(filtro), Chaves({kA1, kA2, kA5}));
  filtro.lChaveOP = Chave(1, kAbril);
  EXPECT_EQ(BuscaPonteiros(filtro), Chaves({1}, kAbril));
}

TEST_F(ApontamentoBusca, TheStoredFilterComesBackAfterASearchAndAfterAFailedOne) {
  _REG_VARMO_FILTRO_APONTAMENTOPS guardado{};
  guardado.lPonteiroProcesso = P1();
  ASSERT_EQ(op_.SetFiltroApontamento(guardado), S_OK);

  _REG_VARMO_FILTRO_APONTAMENTOPS outro{};
  outro.usPonteiroFilial = 2;
  EXPECT_EQ(BuscaPonteiros(outro), Chaves({kA3}));
  EXPECT_EQ(BuscaLista(), Chaves({kA2}));

  // A report of an order past the end of PPOP: the search fails with the read's code.
  Altera("PPAP", 200, kA3, 80, U32(40));
  _REG_VARMO_PONTEIROS_ULONGPS lista{};
  EXPECT_EQ(op_.BuscaPonteirosApontamento(outro, &lista, nullptr), Erro(16021));
  EXPECT_EQ(lista.lQtd, 0u);
  EXPECT_EQ(lista.plPonteiro, nullptr);
  Altera("PPAP", 200, kA3, 80, U32(kOP2));
  EXPECT_EQ(BuscaLista(), Chaves({kA2}));
}

TEST_F(ApontamentoBusca, NoMatchGivesNoArrayAndAnUninitialisedHandlerAnswers1585) {
  _REG_VARMO_FILTRO_APONTAMENTOPS filtro{};
  filtro.usPonteiroFilial = 9;
  const int32_t blocos = TaskMemoryOutstandingBlocks();
  EXPECT_TRUE(BuscaPonteiros(filtro).empty());
  ASSERT_EQ(op_.SetFiltroApontamento(filtro), S_OK);
  _REG_VARMO_LISTA_OP_APONTAMENTOS apontamentos{};
  EXPECT_EQ(op_.BuscaApontamentos(&apontamentos, nullptr, 0xFFFF), S_OK);
  EXPECT_EQ(apontamentos.lQuantidade, 0);
  EXPECT_EQ(apontamentos.pregApontamentos, nullptr);
  EXPECT_EQ(TaskMemoryOutstandingBlocks(), blocos);

  CPPServidorOP novo;
  _REG_VARMO_PONTEIROS_ULONGPS lista{};
  _REG_PP_LISTA_RESUMO_APONTAMENTO_RECURSOPS resumos{};
  EXPECT_EQ(novo.BuscaPonteirosApontamento(filtro, &lista, nullptr), Erro(1585));
  EXPECT_EQ(novo.BuscaApontamentos(&apontamentos, nullptr, 0), Erro(1585));
  EXPECT_EQ(novo.BuscaApontamentosRecursos({}, &resumos), Erro(1585));
  EXPECT_EQ(novo.BuscaApontamentosRecursoPeriodo({}, &lista), Erro(1585));
  EXPECT_EQ(novo.BuscaOPGeradoraDaEntrada({}, &lista), Erro(1585));
  EXPECT_EQ(novo.BuscaOPConsumidoraInsumo({}, &lista), Erro(1585));
}

// ---------------------------------------------------------------------------------------------------
// BuscaApontamentos

TEST_F(ApontamentoBusca, TheReadKindChoosesTheListsOfEachReport) {
  _REG_VARMO_FILTRO_APONTAMENTOPS filtro{};
  filtro.usPonteiroFilial = 1;
  filtro.cProcessoInterno = 1;
  ASSERT_EQ(op_.SetFiltroApontamento(filtro), S_OK);
  Altera("PPME", 104, 3, 32, U32(Chave(3)));  // A1's consumption, posted under stock key 3

  const struct {
    uint16_t tipo;
    bool movimentos, recursos, operacoes;
  } casos[] = {
      {0, false, false, false},      {0x40, true, false, false},   {0x200, true, false, false},
      {0x100, false, true, false},   {0x1000, false, true, true},  {0xFFFF, true, true, true},
  };
  for (const auto& caso : casos) {
    SCOPED_TRACE(caso.tipo);
    _REG_VARMO_LISTA_OP_APONTAMENTOS lista{};
    // Movements of the stock server (bit 9 alone) come from it: its refusal is the answer.
    const bool bEstoque = (caso.tipo & 0x200) && !(caso.tipo & 0x40);
    if (bEstoque) estoque_.Movimento.FalhaMetodo("LeMovimento", 1, E_UNEXPECTED);
    ASSERT_EQ(op_.BuscaApontamentos(&lista, nullptr, caso.tipo), bEstoque ? E_UNEXPECTED : S_OK);
    ASSERT_EQ(lista.lQuantidade, 2);
    const _REG_VARMO_OP_APONTAMENTO& a1 = lista.pregApontamentos[0];
    EXPECT_EQ(a1.lPonteiroApontamento, Chave(kA1));
    EXPECT_EQ(a1.lPonteiroOP, Chave(kOP1));
    if (!bEstoque) {
      EXPECT_EQ(lista.pregApontamentos[1].lPonteiroApontamento, Chave(kA5));
      EXPECT_EQ(a1.usQtdMvtoEntrada, caso.movimentos ? 1 : 0);
      EXPECT_EQ(a1.usQtdMvtoEstoque, caso.movimentos ? 1 : 0);
      EXPECT_EQ(a1.regMovimentoRefugo.regLotePS.cNumeroLote[5], caso.movimentos ? 'B' : '\0');
      if (caso.movimentos) {
        EXPECT_STREQ(a1.pregMvtoEntrada[0].regLotePS.cNumeroLote, "LOTE-A");
      }
    }
    EXPECT_EQ(a1.usQtdRecursos, caso.recursos ? 1 : 0);
    EXPECT_EQ(a1.usQtdRecursosNaoApontados, caso.recursos ? 1 : 0);
    if (caso.recursos) {
      EXPECT_EQ(a1.pregRecursos[0].lPonteiroRecurso, recurso_);
      EXPECT_EQ(a1.pregRecursos[0].usQuantidadeApontamentoOperacao, caso.operacoes ? 2 : 0);
    }
    for (int32_t i = 0; i < lista.lQuantidade; ++i) LiberaRegistroApontamento(&lista.pregApontamentos[i], 0);
    CoTaskMemFree(lista.pregApontamentos);
  }
}

TEST_F(ApontamentoBusca, TheReturnsAreAlwaysReadAndAnOrderKeyInTheStoredFilterLimitsTheMonth) {
  GravaAbril();
  Altera("PPAP", 200, 1, 175, U8(0), kAbril);  // outsourced, of an order 1 as A2
  ASSERT_EQ(ServidorFiliais::GravaPeriodo(Instalacao::kEmpresa, {Dia(1, 4, 2024), Dia(31, 5, 2024), {}}), S_OK);
  ASSERT_EQ(op_.Inicializa(Sessao()), S_OK);
  _REG_VARMO_FILTRO_APONTAMENTOPS filtro{};
  filtro.lChaveOP = Chave(kOP1);
  filtro.cProcessoExterno = 1;
  ASSERT_EQ(op_.SetFiltroApontamento(filtro), S_OK);

  _REG_VARMO_LISTA_OP_APONTAMENTOS lista{};
  ASSERT_EQ(op_.BuscaApontamentos(&lista, nullptr, 0), S_OK);
  ASSERT_EQ(lista.lQuantidade, 1);
  const _REG_VARMO_OP_APONTAMENTO& a2 = lista.pregApontamentos[0];
  EXPECT_EQ(a2.lPonteiroApontamento, Chave(kA2));
  ASSERT_EQ(a2.usQtdRetornoIndustExt, 1);
  // Without bit 6 or 9 the return comes without its movements.
  EXPECT_EQ(a2.pregRetornoIndustrializacao[0].pregMovimentos, nullptr);
  LiberaRegistroApontamento(&lista.pregApontamentos[0], 0);
  CoTaskMemFree(lista.pregApontamentos);
}

TEST_F(ApontamentoBusca, ACallersFileSetServesTheScanAndTheReads) {
  _REG_VARMO_FILTRO_APONTAMENTOPS filtro{};
  filtro.usPonteiroFilial = 1;
  ASSERT_EQ(op_.SetFiltroApontamento(filtro), S_OK);
  CPPArquivosOP arquivos;
  ASSERT_EQ(arquivos.Inicializa(op_.GetEmpresa(), 0, 0), S_OK);
  using A = CPPArquivosOP;
  arquivos.SetArquivos(A::kArqOP | A::kArqApontamento | A::kArqMovtoApontamento | A::kArqLoteMovimento |
                       A::kArqRetornoIndExterna | A::kArqApontamentoRecurso | A::kArqAO | A::kArqIE |
                       A::kArqRemessaIndustrializacao | A::kArqIR | A::kArqID);
  _REG_VARMO_LISTA_OP_APONTAMENTOS lista{};
  ASSERT_EQ(op_.BuscaApontamentos(&lista, &arquivos, 0xFFFF), S_OK);
  ASSERT_EQ(lista.lQuantidade, 3);
  EXPECT_EQ(lista.pregApontamentos[0].usQtdMvtoEstoque, 1);
  EXPECT_EQ(lista.pregApontamentos[1].pregRetornoIndustrializacao[0].usQtdMvtoEstoque, 1);
  EXPECT_EQ(lista.pregApontamentos[2].usQtdRecursos, 2);
  for (int32_t i = 0; i < lista.lQuantidade; ++i) LiberaRegistroApontamento(&lista.pregApontamentos[i], 0);
  CoTaskMemFree(lista.pregApontamentos);
  EXPECT_EQ(arquivos.Finaliza(), S_OK);
}

// ---------------------------------------------------------------------------------------------------
// BuscaApontamentosRecursos

TEST_F(ApontamentoBusca, ResourceSummariesOnePerOperationWithTheirListsAndFilter) {
  const int32_t blocos = TaskMemoryOutstandingBlocks();
  _REG_PP_LISTA_RESUMO_APONTAMENTO_RECURSOPS lista{};
  ASSERT_EQ(op_.BuscaApontamentosRecursos({}, &lista), S_OK);
  // A1's resource with its two operations, A5's first resource (the second has none); A4 removed.
  ASSERT_EQ(lista.ulQuantidade, 3u);
  const _REG_PP_RESUMO_APONTAMENTO_RECURSOPS& o = lista.pRegListaPS[0];
  EXPECT_EQ(o.ulChaveOP, Chave(kOP1));
  EXPECT_EQ(o.ulChaveApontamento, Chave(kA1));
  EXPECT_EQ(o.ulPonteiroRecurso, static_cast<uint32_t>(recurso_));
  EXPECT_EQ(o.ulPonteiroTipoRecurso, 0u);
  EXPECT_EQ(o.ulPonteiroProjeto, 21u);
  EXPECT_EQ(o.usPonteiroFilial, 1);
  EXPECT_EQ(o.ulPonteiroProcesso, static_cast<uint32_t>(P0()));
  EXPECT_EQ(o.ulPonteiroSuplementoInfo1, 31u);
  EXPECT_EQ(o.ulPonteiroSuplementoInfo3, 33u);
  EXPECT_EQ(o.ulPonteiroOperacaoProducao, static_cast<uint32_t>(operacaoO_));
  EXPECT_EQ(o.cTipoOperacaoProducao, 'O');
  EXPECT_EQ(o.usDataApontamentoInicial, Maio(8));
  EXPECT_EQ(o.usHoraApontamentoInicial, 480);
  EXPECT_EQ(o.usDataApontamentoFinal, Maio(9));
  EXPECT_EQ(o.usHoraApontamentoFinal, 1020);
  EXPECT_EQ(o.cApontaContador, 1);
  EXPECT_EQ(o.cApontaDetalhe, 1);
  ASSERT_EQ(o.usQuantApontamentoContador, 1);
  EXPECT_EQ(o.pregContadores[0].vContadorFinal.int64, 2500000);
  ASSERT_EQ(o.usQuantApontamentoDetalhe, 1);
  EXPECT_STREQ(o.pregDetalhes[0].szDetalhe, "Troca de faca");
  EXPECT_EQ(o.usQuantApontamentoQuantidade, 0);
  EXPECT_EQ(o.pregQuantidades, nullptr);
  const _REG_PP_RESUMO_APONTAMENTO_RECURSOPS& s = lista.pRegListaPS[1];
  EXPECT_EQ(s.cTipoOperacaoProducao, 'S');
  ASSERT_EQ(s.usQuantApontamentoQuantidade, 1);
  EXPECT_EQ(s.pregQuantidades[0].vQuantidade.int64, 75000);
  const _REG_PP_RESUMO_APONTAMENTO_RECURSOPS& tipado = lista.pRegListaPS[2];
  EXPECT_EQ(tipado.ulChaveApontamento, Chave(kA5));
  EXPECT_EQ(tipado.ulPonteiroTipoRecurso, kTipoRecurso);
  for (uint32_t i = 0; i < lista.ulQuantidade; ++i) LiberaRegistroResumoApontamentoRecurso(&lista.pRegListaPS[i], 0);
  CoTaskMemFree(lista.pRegListaPS);
  EXPECT_EQ(TaskMemoryOutstandingBlocks(), blocos);
}

TEST_F(ApontamentoBusca, TheResourceFilterKeepsItsSummariesAndFreesTheListsOfTheOthers) {
  using Filtro = _REG_PP_FILTRO_APONTAMENTO_RECURSOPS;
  const struct {
    const char* caso;
    void (*ajusta)(Filtro&, const ApontamentoBusca&);
    std::vector<uint32_t> apontamentos;
  } casos[] = {
      {"resource", [](Filtro& f, const ApontamentoBusca& t) { f.ulPonteiroRecurso = t.recursoTipado_; }, {kA5}},
      {"resource type", [](Filtro& f, const ApontamentoBusca&) { f.ulPonteiroTipoRecurso = kTipoRecurso; }, {kA5}},
      {"project", [](Filtro& f, const ApontamentoBusca&) { f.ulPonteiroProjeto = 22; }, {}},
      {"process", [](Filtro& f, const ApontamentoBusca& t) { f.ulPonteiroProcesso = t.P0(); }, {kA1, kA1, kA5}},
      {"operation", [](Filtro& f, const ApontamentoBusca& t) { f.ulPonteiroOperacaoProducao = t.operacaoS_; },
       {kA1}},
      {"supplements",
       [](Filtro& f, const ApontamentoBusca&) {
         f.ulPonteiroSuplemento1 = 31;
         f.ulPonteiroSuplemento2 = 32;
         f.ulPonteiroSuplemento3 = 33;
       },
       {kA1, kA1}},
      {"branch", [](Filtro& f, const ApontamentoBusca&) { f.usPonteiroFilial = 2; }, {}},
      {"begins from", [](Filtro& f, const ApontamentoBusca&) { f.usDataApontamentoRecursoInicio = Maio(9); },
       {kA1, kA5}},
      {"ends until", [](Filtro& f, const ApontamentoBusca&) { f.usDataApontamentoRecursoFim = Maio(9); }, {kA1, kA1}},
      {"type O", [](Filtro& f, const ApontamentoBusca&) { f.cTipoOperacaoProducao = 0x1; }, {kA1, kA5}},
      {"type P", [](Filtro& f, const ApontamentoBusca&) { f.cTipoOperacaoProducao = 0x2; }, {}},
      {"type S", [](Filtro& f, const ApontamentoBusca&) { f.cTipoOperacaoProducao = 0x4; }, {kA1}},
  };
  for (const auto& caso : casos) {
    SCOPED_TRACE(caso.caso);
    Filtro filtro{};
    caso.ajusta(filtro, *this);
    const int32_t blocos = TaskMemoryOutstandingBlocks();
    _REG_PP_LISTA_RESUMO_APONTAMENTO_RECURSOPS lista{};
    ASSERT_EQ(op_.BuscaApontamentosRecursos(filtro, &lista), S_OK);
    std::vector<uint32_t> apontamentos;
    for (uint32_t i = 0; i < lista.ulQuantidade; ++i) {
      apontamentos.push_back(lista.pRegListaPS[i].ulChaveApontamento >> 12);
      LiberaRegistroResumoApontamentoRecurso(&lista.pRegListaPS[i], 0);
    }
    if (lista.ulQuantidade == 0) {
      EXPECT_EQ(lista.pRegListaPS, nullptr);
    }
    CoTaskMemFree(lista.pRegListaPS);
    EXPECT_EQ(apontamentos, caso.apontamentos);
    EXPECT_EQ(TaskMemoryOutstandingBlocks(), blocos);
  }
}

TEST_F(ApontamentoBusca, AFailedResourceSearchLeavesNothingAllocated) {
  // A5's operation names a detail past the end of PPAD, after A1's summaries hold their lists.
  Altera("PPAO", 48, 3, 16, U32(9));
  Altera("PPAO", 48, 3, 31, U8(1));
  const int32_t blocos = TaskMemoryOutstandingBlocks();
  _REG_PP_LISTA_RESUMO_APONTAMENTO_RECURSOPS lista{};
  EXPECT_EQ(op_.BuscaApontamentosRecursos({}, &lista), Erro(16021));
  EXPECT_EQ(lista.ulQuantidade, 0u);
  EXPECT_EQ(lista.pRegListaPS, nullptr);
  EXPECT_EQ(TaskMemoryOutstandingBlocks(), blocos);
}

// ---------------------------------------------------------------------------------------------------
// BuscaApontamentosRecursoPeriodo

TEST_F(ApontamentoBusca, TheResourceWindowFindsEveryMonthsReportsRemovedOnesIncludedOnceEach) {
  GravaAbril();
  // A1 and the removed A4 end at 09/05 17:00, where the window begins (bounds included); April's
  // report lies outside the open period.
  EXPECT_EQ(NoPeriodo(recurso_, Maio(9), 1020, Maio(12), 0), Chaves({kA1, kA4}));
  EXPECT_TRUE(NoPeriodo(recurso_, Maio(9), 1021, Maio(11), 0).empty());
  std::vector<uint32_t> todas = Chaves({1}, kAbril);
  for (uint32_t chave : Chaves({kA1, kA4})) todas.push_back(chave);
  EXPECT_EQ(NoPeriodo(recurso_, 0, 0, 0, 0), todas);
  // A5 holds the resource twice: one key.
  EXPECT_EQ(NoPeriodo(recursoTipado_, Maio(12), 700, Maio(12), 700), Chaves({kA5}));
  // Only operations of kind 'O' count.
  Altera("PPAP", 200, kA1, 173, U8('P'));
  EXPECT_EQ(NoPeriodo(recurso_, Maio(9), 0, Maio(9), 0), Chaves({kA4}));
}

// ---------------------------------------------------------------------------------------------------
// Batch tracing

TEST_F(ApontamentoBusca, TheOrderThatMadeABatchIsFoundOnceAndEntriesLeftForLaterDoNotCount) {
  // LOTE-A: the entries of A1 and A5 (OP1) and A3's pending entry (OP2).
  EXPECT_EQ(Geradoras(Entrada("lote-a")), Chaves({kOP1}));
  EXPECT_EQ(Geradoras(Entrada("LOTE-B")), Chaves({kOP1}));  // A1's scrap entry
  EXPECT_EQ(Geradoras(Entrada("LOTE-C")), Chaves({kOP1}));  // the scrap of A2's return
  EXPECT_TRUE(Geradoras(Entrada("LOTE-D")).empty());        // consumed, not made
  // Entries the stock has not taken are not compared; A3's pending one would otherwise count.
  Altera("PPME", 104, 1, 88, U8(0));
  Altera("PPME", 104, 7, 88, U8(0));
  EXPECT_TRUE(Geradoras(Entrada("LOTE-A")).empty());
  Altera("PPAP", 200, kA3, 181, U8(0));
  EXPECT_EQ(Geradoras(Entrada("LOTE-A")), Chaves({kOP2}));
}

TEST_F(ApontamentoBusca, TheOrdersThatConsumedABatchAndTheStoredFilterApplies) {
  GravaAbril();
  // LOTE-D: the consumption of A1 (OP1), of A3 (OP2) and of April's report; LOTE-E: the movement
  // of A2's return.
  std::vector<uint32_t> esperadas = Chaves({1}, kAbril);
  for (uint32_t chave : Chaves({kOP1, kOP2})) esperadas.push_back(chave);
  EXPECT_EQ(Consumidoras(Entrada("LOTE-D")), esperadas);
  EXPECT_EQ(Consumidoras(Entrada("LOTE-E")), Chaves({kOP1}));
  EXPECT_TRUE(Consumidoras(Entrada("LOTE-A")).empty());
  _REG_VARMO_FILTRO_APONTAMENTOPS filtro{};
  filtro.usPonteiroFilial = 2;
  ASSERT_EQ(op_.SetFiltroApontamento(filtro), S_OK);
  EXPECT_EQ(Consumidoras(Entrada("LOTE-D")), Chaves({kOP2}));
}

TEST_F(ApontamentoBusca, AnEntryComparesTheFieldsItSetsOrWithIdenticalOnlyAllOfThem) {
  const auto completa = [] {
    _REG_PP_ENTRADA_PRODUCAOPS e = Entrada("Lote-B", kProdutoFabricado);
    e.regPosicaoProduto.iPonteiroItemGrade1 = 1;
    e.regPosicaoProduto.iPonteiroItemGrade2 = 2;
    e.regLote.iDataFabricacao = Maio(1);
    e.regLote.iDataValidade = Dia(1, 5, 2025);
    e.regLote.iNumeroDias = 365;
    return e;
  };
  const struct {
    const char* caso;
    void (*ajusta)(_REG_PP_ENTRADA_PRODUCAOPS&);
    bool encontra;
  } casos[] = {
      {"every field", [](_REG_PP_ENTRADA_PRODUCAOPS&) {}, true},
      {"identical, every field", [](_REG_PP_ENTRADA_PRODUCAOPS& e) { e.cConsiderarSomenteIdenticos = 1; }, true},
      {"identical without the dates",
       [](_REG_PP_ENTRADA_PRODUCAOPS& e) {
         e.cConsiderarSomenteIdenticos = 1;
         e.regLote.iDataFabricacao = e.regLote.iDataValidade = e.regLote.iNumeroDias = 0;
       },
       false},
      {"product alone", [](_REG_PP_ENTRADA_PRODUCAOPS& e) { e = Entrada("", kProdutoFabricado); }, true},
      {"other product", [](_REG_PP_ENTRADA_PRODUCAOPS& e) { e.regPosicaoProduto.lPonteiroProduto = 2; }, false},
      {"other grade item", [](_REG_PP_ENTRADA_PRODUCAOPS& e) { e.regPosicaoProduto.iPonteiroItemGrade3 = 4; }, false},
      {"other manufacturing date", [](_REG_PP_ENTRADA_PRODUCAOPS& e) { e.regLote.iDataFabricacao = Maio(2); }, false},
      {"other expiry date", [](_REG_PP_ENTRADA_PRODUCAOPS& e) { e.regLote.iDataValidade = Maio(2); }, false},
      {"other number of days", [](_REG_PP_ENTRADA_PRODUCAOPS& e) { e.regLote.iNumeroDias = 30; }, false},
      {"other batch", [](_REG_PP_ENTRADA_PRODUCAOPS& e) { Texto(e.regLote.cNumeroLote, "LOTE-B2"); }, false},
  };
  for (const auto& caso : casos) {
    SCOPED_TRACE(caso.caso);
    _REG_PP_ENTRADA_PRODUCAOPS entrada = completa();
    caso.ajusta(entrada);
    EXPECT_EQ(Geradoras(entrada), caso.encontra ? Chaves({kOP1}) : std::vector<uint32_t>{});
  }
}

}  // namespace
