// Recording a return from outsourced processing. The orders and their outsourced reports are
// recorded by the handler; returns stored before, and report bytes that other operations set, are
// written through their byte layouts (RetornosOP.h). What a return stores is read back byte by
// byte, what it posts through the inventory stand-in's balances.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "access/PPLiberaRegistro.h"
#include "foundation/CQVArqMarca.h"
#include "foundation/QVChave.h"
#include "platform/com/classobject.h"
#include "platform/win32/clock.h"
#include "platform/win32/codepage.h"
#include "server/idl/Varmo.h"
#include "server/op/PPCodigosOP.h"
#include "tests/server/EmpresaAtualizacao.h"
#include "tests/server/op/RetornosOP.h"

namespace {

using namespace TesteOP;

constexpr uint32_t kTamanhoME = 104;
constexpr uint8_t kEstoqueRefugo = 3;
constexpr HRESULT kNegado = HRESULT_FROM_WIN32(ERROR_ACCESS_DENIED);

// Every period file of the order family that a return could touch.
const char* const kPrefixos[] = {"PPOP", "PPPR", "PPAP", "PPRI", "PPME", "PPLT", "PPIT", "PPIE", "PPRA",
                                 "PPTI", "PPIO", "PPUP", "PPTA", "PPNF", "PPAR", "PPRM"};

class Retorno : public EmpresaOPRetornos {
 protected:
  void SetUp() override {
    EmpresaOPRetornos::SetUp();
    if (HasFatalFailure()) return;
    SaldoInicialInsumo(10);
  }

  // An order of one complement item over the first `processos` processes, all receiving reports.
  uint32_t Ordem(int processos = 3, int64_t programada = 100) {
    std::vector<ProcessoOP> lista;
    for (int i = 0; i < processos; ++i) lista.push_back({processos_[i], true});
    OPTeste op = NovaOP(lista, {{kProdutoFabricado, Quantidade(programada)}});
    return GravaNova(op);
  }

  // A return of the report with a receipt document unless told otherwise.
  static _REG_VARMO_APONTAMENTO_RETORNO_INDUSTRIALIZACAOPS Entrada(uint32_t chaveOP, uint32_t chaveApontamento,
                                                                   int64_t retornada, uint32_t entrada = 0) {
    _REG_VARMO_APONTAMENTO_RETORNO_INDUSTRIALIZACAOPS reg{};
    reg.ulChaveOP = chaveOP;
    reg.ulPonteiroApontamento = QVGetNumeroDaChave(chaveApontamento);
    reg.regRetorno.vQuantidadeRetornada.int64 = retornada * kUm;
    reg.regRetorno.lPonteiroRegistroEntrada = entrada;
    return reg;
  }
  HRESULT Grava(const _REG_VARMO_APONTAMENTO_RETORNO_INDUSTRIALIZACAOPS& reg, uint32_t* pulPntr = nullptr) {
    uint32_t ulPntr = 0;
    const HRESULT hr = op_.GravaApontamentoRetornoIndustrializacao(reg, &ulPntr, 1);
    if (pulPntr) *pulPntr = ulPntr;
    return hr;
  }

  std::vector<std::string> Mes() const {
    std::vector<std::string> arquivos;
    for (const char* prefixo : kPrefixos) arquivos.push_back(Arquivo(prefixo));
    return arquivos;
  }
  std::string Retorno_(uint32_t n) const { return Registro("PPRI", kTamanhoRI, n); }
  // The situation byte of process record n; the PPPR record of an order's first process.
  uint8_t SituacaoProcesso(uint32_t n) const { return U8De(Registro("PPPR", 128, n), 95); }
  uint32_t PrimeiroProcesso(uint32_t chaveOP) const {
    return U32De(Registro("PPOP", 256, QVGetNumeroDaChave(chaveOP)), 60);
  }

};

// ---- What one return stores ---------------------------------------------------------------------

// The return's record, its pending invoice, its postings and texts, laid out as the files keep
// them; the report points at the return, ends with it and takes its forced closing; the consumed
// report is no longer pending; one history line.
TEST_F(Retorno, OneReturnIsStoredByteByByteWithItsPendingInvoiceAndPostings) {
  const uint32_t op = Ordem();
  const uint32_t ap = Externo(op, 6);
  const uint32_t consumido = GravaRelato(Relato(op, processos_[0], 0));
  AlteraRelatorio(consumido, 184, U8(1));
  const std::string relatorio = Relatorio(ap);
  const uint16_t hoje = U16De(relatorio, 152), agora = U16De(relatorio, 154);

  _REG_VARMO_APONTAMENTO_RETORNO_INDUSTRIALIZACAOPS reg = Entrada(op, ap, 4);
  _REG_VARMO_RETORNO_INDUSTRIALIZACAO_EXTERNAPS& r = reg.regRetorno;
  r.vQuantidadeRefugo.int64 = 1 * kUm;
  r.lPonteiroMotivoRefugo = 9;
  r.usDataRetorno = Maio(12);
  r.usHoraRetorno = 700;
  _REG_ES_MOVIMENTOPS baixa = Movimento(12, kProdutoInsumo, 2);
  r.usQtdMvtoEstoque = 1;
  r.pregMovimentos = &baixa;
  r.cPossuiRefugo = 1;
  r.regMovimentoRefugo = Movimento(13, kProdutoFabricado, 1, kEstoqueRefugo);
  uint32_t importados[] = {consumido};
  r.usQtdChaveApontamentoImportado = 1;
  r.plistaChaveApontamentoImportado = importados;
  PPCopiaCampo(r.szComentario, "VEIO COM AVARIA");
  PPCopiaCampo(r.szMotivoEncerramentoForcado, "FORNECEDOR ENCERROU");
  r.cEncerramentoForcado = 1;
  uint32_t pntr = 0;
  ASSERT_EQ(Grava(reg, &pntr), S_OK);

  ASSERT_EQ(pntr, 1u);
  const std::string gravado = Retorno_(1);
  const uint32_t comentario = U32De(gravado, 76), motivo = U32De(gravado, 86);
  EXPECT_NE(comentario, 0u);
  EXPECT_NE(motivo, 0u);
  const std::string esperado = Q(4 * kUm) + Q(1 * kUm) + U32(0) + U32(2) /* scrap entry in PPME */ +
                               U32(Chave(1)) /* PPNF */ + U32(9) + U32(1) /* consumption in PPME */ + U32(0) +
                               U32(0) + U32(0) + U16(Maio(12)) + U16(700) + U16(hoje) + U16(agora) + U16(7) +
                               U16(1) + U16(0) + U16(0) + U16(0) + U8(1) + U8(1) + U8(0) + U8(0) +
                               std::string(6, '\0') + U32(comentario) + U32(1) /* PPTA */ + U16(1) + U32(motivo);
  EXPECT_EQ(gravado, esperado);
  EXPECT_EQ(Registro("PPNF", kTamanhoNF, 1), U32(ap) + std::string(10, '\0') + U8(1) + std::string(17, '\0'));
  EXPECT_EQ(U32De(Registro("PPTA", 4, 1), 0), consumido);
  EXPECT_EQ(U8De(Relatorio(consumido), 184), 0);
  const struct {
    uint32_t registro, produto;
  } movimentos[] = {{1, kProdutoInsumo}, {2, kProdutoFabricado}};
  for (const auto& movimento : movimentos) {
    const std::string local = Registro("PPME", kTamanhoME, movimento.registro);
    EXPECT_EQ(U32De(local, 64), movimento.produto) << movimento.registro;
    EXPECT_EQ(U8De(local, 88), 1) << "posted " << movimento.registro;
  }

  const std::string depois = Relatorio(ap);
  EXPECT_EQ(U32De(depois, 96), 1u);
  EXPECT_EQ(U16De(depois, 164), 1);
  EXPECT_EQ(U16De(depois, 148), Maio(12));
  EXPECT_EQ(U16De(depois, 150), 700);
  EXPECT_EQ(U8De(depois, 182), 1);

  _REG_VARMO_OP_APONTAMENTO lido{};
  ASSERT_EQ(op_.LeApontamento(ap, &lido, nullptr, 0x2), S_OK);
  ASSERT_EQ(lido.usQtdRetornoIndustExt, 1);
  EXPECT_STREQ(lido.pregRetornoIndustrializacao[0].szComentario, "VEIO COM AVARIA");
  EXPECT_STREQ(lido.pregRetornoIndustrializacao[0].szMotivoEncerramentoForcado, "FORNECEDOR ENCERROU");
  LiberaRegistroApontamento(&lido, 0);

  ASSERT_FALSE(Linhas().empty());
  const std::string texto = std::string("Retorno remessa industrialização: OP: "_ansi) +
                            static_cast<const char*>(QVChaveParaTexto(op)) + " - Apontamento: " +
                            static_cast<const char*>(QVChaveParaTexto(ap));
  EXPECT_EQ(Linhas().back(), (LinhaCadastro{'I', texto}));
}

// A return with its receipt document, or an automatic one (which keeps the invoice it is given),
// makes no pending invoice; without a return date it is dated now, and so is the report's end.
TEST_F(Retorno, AutomaticReturnOrOneWithItsReceiptMakesNoPendingInvoice) {
  const uint32_t op = Ordem();
  const uint32_t ap = Externo(op, 6);
  const uint16_t hoje = U16De(Relatorio(ap), 152), agora = U16De(Relatorio(ap), 154);
  _REG_VARMO_APONTAMENTO_RETORNO_INDUSTRIALIZACAOPS automatico = Entrada(op, ap, 1);
  automatico.regRetorno.cApontamentoAutomatico = 1;
  automatico.regRetorno.ulChaveRetornoNFPendente = Chave(3);
  uint32_t pntr = 0;
  ASSERT_EQ(Grava(Entrada(op, ap, 1, 41), &pntr), S_OK);
  EXPECT_EQ(U32De(Retorno_(pntr), 24), 0u);
  ASSERT_EQ(Grava(automatico, &pntr), S_OK);
  EXPECT_EQ(U32De(Retorno_(pntr), 24), Chave(3));
  EXPECT_EQ(U8De(Retorno_(pntr), 69), 1);
  EXPECT_EQ(Arquivo("PPNF"), "");
  EXPECT_EQ(U16De(Retorno_(pntr), 48), hoje);
  EXPECT_EQ(U16De(Retorno_(pntr), 50), agora);
  EXPECT_EQ(U16De(Relatorio(ap), 148), hoje);
}

// Each return appends the report's whole list anew, the new one last, and the report points at
// the latest run; its end is the latest return by date, then time, whatever the order of recording.
TEST_F(Retorno, EachReturnAppendsANewRunAndTheReportEndsWithTheLatestReturn) {
  const uint32_t op = Ordem();
  const uint32_t ap = Externo(op, 6);
  const struct {
    uint16_t data, hora;
    uint32_t pntr, primeiro;
    uint16_t fim, horaFim;
  } passos[] = {{Maio(12), 600, 1, 1, Maio(12), 600},
                {Maio(11), 1400, 3, 2, Maio(12), 600},
                {Maio(14), 100, 6, 4, Maio(14), 100}};
  uint32_t entrada = 50;
  for (const auto& passo : passos) {
    _REG_VARMO_APONTAMENTO_RETORNO_INDUSTRIALIZACAOPS reg = Entrada(op, ap, 1, ++entrada);
    reg.regRetorno.usDataRetorno = passo.data;
    reg.regRetorno.usHoraRetorno = passo.hora;
    uint32_t pntr = 0;
    ASSERT_EQ(Grava(reg, &pntr), S_OK);
    EXPECT_EQ(pntr, passo.pntr);
    const std::string relatorio = Relatorio(ap);
    EXPECT_EQ(U32De(relatorio, 96), passo.primeiro);
    EXPECT_EQ(U16De(relatorio, 164), pntr - passo.primeiro + 1);
    EXPECT_EQ(U16De(relatorio, 148), passo.fim);
    EXPECT_EQ(U16De(relatorio, 150), passo.horaFim);
    EXPECT_EQ(U32De(Retorno_(pntr), 16), entrada);
  }
  // The earlier runs stay as they were: 51 | 51 52 | 51 52 53.
  std::vector<uint32_t> entradas;
  for (uint32_t n = 1; n <= 6; ++n) entradas.push_back(U32De(Retorno_(n), 16));
  EXPECT_EQ(entradas, (std::vector<uint32_t>{51, 51, 52, 51, 52, 53}));
}

// ---- Refusals -------------------------------------------------------------------------------------

// Every refusal comes before the first write and makes no file.
TEST_F(Retorno, RefusalsLeaveTheMonthAsItWasAndMakeNoFile) {
  const uint32_t op = Ordem();
  const uint32_t livre = Externo(op, 4);
  const uint32_t removido = Externo(op, 4);
  AlteraRelatorio(removido, 176, U8(1));
  const uint32_t comRefugo = Externo(op, 4, 1);
  const uint32_t fechado = Externo(op, 4);
  AlteraRelatorio(fechado, 182, U8(1));
  const uint32_t comEntrada = Externo(op, 4);
  DaRetornos(comEntrada, {{.retornada = 1, .entrada = 11}});
  const uint32_t op2 = Ordem(2);
  const uint32_t ultimo = Externo(op2, 4);
  const uint32_t opParada = Ordem();
  const uint32_t parado = Externo(opParada, 4);
  Altera("PPPR", 128, PrimeiroProcesso(opParada), 95, U8(kSituacaoConcluida));
  _REG_PP_APONTAMENTO_ULT_PROCESSO_RET_INDPS alemDosItens{};
  alemDosItens.vQuantidade.int64 = 1 * kUm;
  alemDosItens.usIdxItemOP = 1;  // the order has one item

  using Muda = std::function<void(_REG_VARMO_APONTAMENTO_RETORNO_INDUSTRIALIZACAOPS&)>;
  const struct {
    const char* caso;
    uint32_t ap;
    Muda muda;
    HRESULT esperado;
  } casos[] = {
      {"order key without record", livre, [](auto& reg) { reg.ulChaveOP = kMes; }, Erro(1591)},
      {"order key without month", livre, [](auto& reg) { reg.ulChaveOP &= ~0xfffu; }, Erro(1591)},
      {"report number 0", livre, [](auto& reg) { reg.ulPonteiroApontamento = 0; }, Erro(1591)},
      {"report removed", removido, nullptr, Erro(1586)},
      {"report of another order", livre, [&](auto& reg) { reg.ulChaveOP = op2; }, Erro(1586)},
      {"process concluded", parado, nullptr, Erro(1592)},
      {"more than reported", livre, [](auto& reg) { reg.regRetorno.vQuantidadeRetornada.int64 = 5 * kUm; },
       Erro(1596)},
      {"more than reported net of scrap", comRefugo, nullptr, Erro(1596)},
      {"shipment closed", fechado, [](auto& reg) { reg.regRetorno.vQuantidadeRetornada.int64 = 0; }, Erro(1596)},
      {"receipt document used", comEntrada,
       [](auto& reg) {
         reg.regRetorno.vQuantidadeRetornada.int64 = 1 * kUm;
         reg.regRetorno.lPonteiroRegistroEntrada = 11;
       },
       Erro(1636)},
      {"transit to the last process", ultimo, [](auto& reg) { reg.regRetorno.cGeraTransitoIndustrializacao = 1; },
       Erro(1704)},
      {"last-process entry past the order's items", livre,
       [&](auto& reg) {
         reg.regRetorno.cGeraTransitoIndustrializacao = 1;
         reg.regRetorno.usQtdApontUltProcesso = 1;
         reg.regRetorno.pregApontUltProcesso = &alemDosItens;
       },
       Erro(1587)},
      {"movements counted without their array", livre, [](auto& reg) { reg.regRetorno.usQtdMvtoEstoque = 1; },
       Erro(1587)},
      {"automatic return that makes transit", livre,
       [](auto& reg) {
         reg.regRetorno.cApontamentoAutomatico = 1;
         reg.regRetorno.cGeraTransitoIndustrializacao = 1;
       },
       Erro(1587)},
  };
  for (const auto& caso : casos) {
    const uint32_t chaveOP = caso.ap == ultimo ? op2 : caso.ap == parado ? opParada : op;
    _REG_VARMO_APONTAMENTO_RETORNO_INDUSTRIALIZACAOPS reg = Entrada(chaveOP, caso.ap, 4);
    if (caso.muda) caso.muda(reg);
    const std::vector<std::string> antes = Mes();
    const size_t linhas = Linhas().size();
    uint32_t pntr = 99;
    EXPECT_EQ(Grava(reg, &pntr), caso.esperado) << caso.caso;
    EXPECT_EQ(pntr, 0u) << caso.caso;
    EXPECT_EQ(Mes(), antes) << caso.caso;
    EXPECT_EQ(Linhas().size(), linhas) << caso.caso;
  }
  EXPECT_EQ(Arquivo("PPNF"), "");
  EXPECT_EQ(Arquivo("PPTI"), "");
  CPPServidorOP fechadoOP;
  uint32_t pntr = 0;
  EXPECT_EQ(fechadoOP.GravaApontamentoRetornoIndustrializacao(Entrada(op, livre, 1), &pntr, 1), Erro(1585));
}

// ---- Postings, situation, transit -------------------------------------------------------------------

// The return's consumption and scrap move the inventory's balances; taking the return back brings
// them back.
TEST_F(Retorno, ConsumptionAndScrapMoveTheBalancesAndTheReturnsRemovalBringsThemBack) {
  const uint32_t op = Ordem();
  const uint32_t ap = Externo(op, 6);
  _REG_VARMO_APONTAMENTO_RETORNO_INDUSTRIALIZACAOPS reg = Entrada(op, ap, 4, 71);
  _REG_ES_MOVIMENTOPS baixa = Movimento(12, kProdutoInsumo, 3);
  reg.regRetorno.usQtdMvtoEstoque = 1;
  reg.regRetorno.pregMovimentos = &baixa;
  reg.regRetorno.cPossuiRefugo = 1;
  reg.regRetorno.regMovimentoRefugo = Movimento(13, kProdutoFabricado, 1, kEstoqueRefugo);
  ASSERT_EQ(Grava(reg), S_OK);
  EXPECT_EQ(Saldo(kProdutoInsumo), 7 * kUm);
  EXPECT_EQ(Saldo(kProdutoFabricado, kEstoqueRefugo), 1 * kUm);

  ASSERT_EQ(op_.RemoveApontamentoRetornoIndustrializacao(reg, 1), S_OK);
  EXPECT_EQ(Saldo(kProdutoInsumo), 10 * kUm);
  EXPECT_EQ(Saldo(kProdutoFabricado, kEstoqueRefugo), 0);
}

// A refused consumption still leaves the return linked to the report with the movements stored,
// so that what the inventory took can be taken back; its invoice is not made pending.
TEST_F(Retorno, FailedPostingStillLinksTheReturnSoThatItsRemovalTakesBackWhatWasPosted) {
  const uint32_t op = Ordem();
  const uint32_t ap = Externo(op, 6);
  _REG_VARMO_APONTAMENTO_RETORNO_INDUSTRIALIZACAOPS reg = Entrada(op, ap, 4);
  _REG_ES_MOVIMENTOPS baixas[] = {Movimento(12, kProdutoInsumo, 3), Movimento(12, kProdutoInsumo, 2)};
  reg.regRetorno.usQtdMvtoEstoque = 2;
  reg.regRetorno.pregMovimentos = baixas;
  estoque_.Movimento.FalhaMetodo("GravaMovimento", 1, kNegado, 1);
  uint32_t pntr = 0;
  EXPECT_EQ(Grava(reg, &pntr), kNegado);
  ASSERT_NE(pntr, 0u);
  EXPECT_EQ(Saldo(kProdutoInsumo), 7 * kUm);
  EXPECT_EQ(U16De(Relatorio(ap), 164), 1);
  EXPECT_EQ(U16De(Retorno_(pntr), 58), 2);
  EXPECT_EQ(U8De(Registro("PPNF", kTamanhoNF, 1), 14), 0) << "recorded, never pending";

  reg.regRetorno.ulChaveRetornoNFPendente = Chave(1);
  ASSERT_EQ(op_.RemoveApontamentoRetornoIndustrializacao(reg, 1), S_OK);
  EXPECT_EQ(Saldo(kProdutoInsumo), 10 * kUm);
  EXPECT_EQ(U16De(Relatorio(ap), 164), 0);
}

// The next receiving process is due what came back: concluded once it reported all that was
// returned, back in production when more comes back. The order is started meanwhile.
TEST_F(Retorno, NextProcessSituationFollowsTheReturns) {
  const uint32_t op = Ordem();
  const uint32_t processo = PrimeiroProcesso(op) + 1;
  const uint32_t ap = Externo(op, 10);
  ASSERT_EQ(Grava(Entrada(op, ap, 4, 81)), S_OK);
  ASSERT_NE(GravaRelato(Relato(op, processos_[1], 4)), 0u);
  EXPECT_EQ(SituacaoProcesso(processo), kSituacaoConcluida);
  ASSERT_EQ(Grava(Entrada(op, ap, 6, 82)), S_OK);
  EXPECT_EQ(SituacaoProcesso(processo), kSituacaoEmProducao);
  EXPECT_EQ(U8De(Registro("PPOP", 256, QVGetNumeroDaChave(op)), 170), kSituacaoIniciada);
}

// The lists of a transit return are stored as given (what the transit fills in left 0). When the
// transit fails (the processor's report exceeds what came back: 1604), the return is taken back again: the report lists none and the invoice is freed.
TEST_F(Retorno, TransitReturnStoresItsListsAndIsTakenBackWhenTheTransitFails) {
  const uint32_t op = Ordem();
  const uint32_t ap = Externo(op, 4);
  const uint32_t reutilizado = GravaRelato(Relato(op, processos_[0], 0));
  _REG_PP_TRANSITO_INDUSTRIALIZADOR_OPPS ordem{};
  ordem.vQuantidadeApontada.int64 = 2 * kUm;
  ordem.ulChaveOP = op;
  ordem.ulChaveApontamento = reutilizado;
  ordem.cReutilizarApontamento = 1;
  _REG_PP_TRANSITO_INDUSTRIALIZADORESPS industrializador{};
  industrializador.vQuantidadeEnviada.int64 = 5 * kUm;  // more than came back
  industrializador.vCustoUnitarioTerceirizacao.int64 = 123456789;
  industrializador.lPonteiroIndustrializador = 8;
  industrializador.lPonteiroApontGeradoTransito = 77;
  industrializador.usQtdOP = 1;
  industrializador.pregOP = &ordem;
  _REG_PP_APONTAMENTO_ULT_PROCESSO_RET_INDPS ultimo{};
  ultimo.vQuantidade.int64 = 2 * kUm;
  _REG_VARMO_APONTAMENTO_RETORNO_INDUSTRIALIZACAOPS reg = Entrada(op, ap, 4);
  reg.regRetorno.cGeraTransitoIndustrializacao = 1;
  reg.regRetorno.usQtdIndustrializadores = 1;
  reg.regRetorno.pregIndustrializadores = &industrializador;
  reg.regRetorno.usQtdApontUltProcesso = 1;
  reg.regRetorno.pregApontUltProcesso = &ultimo;

  uint32_t pntr = 99;
  const HRESULT hr = Grava(reg, &pntr);
  EXPECT_EQ(hr, Erro(1604));
  EXPECT_EQ(pntr, 0u);
  EXPECT_EQ(Registro("PPIO", 36, 1), Q(2 * kUm) + U32(op) + U32(reutilizado) + U8(1) + std::string(19, '\0'));
  EXPECT_EQ(Registro("PPTI", 64, 1),
            Q(5 * kUm) + Q(123456789) + U32(8) + U32(0) + U32(1) + U16(0) + U16(1) + U8(0) + std::string(31, '\0'));
  EXPECT_EQ(Registro("PPUP", 16, 1), Q(2 * kUm) + U32(0) + U16(0) + U16(0));
  const std::string retorno = Retorno_(1);
  EXPECT_EQ(U32De(retorno, 36), 1u);
  EXPECT_EQ(U32De(retorno, 40), 1u);
  EXPECT_EQ(U16De(retorno, 60), 1);
  EXPECT_EQ(U16De(retorno, 62), 1);
  EXPECT_EQ(U8De(retorno, 68), 1);
  EXPECT_EQ(U16De(Relatorio(ap), 164), 0);
  EXPECT_EQ(U8De(Registro("PPNF", kTamanhoNF, 1), 14), 255);
  EXPECT_EQ(U8De(Relatorio(reutilizado), 176), 0) << "reused, not removed";
}

// ---- Two writers ----------------------------------------------------------------------------------

// A return waits for the order lock while another writer holds it; meanwhile that writer takes its
// report back, and the return, once it runs, finds the report removed.
TEST_F(Retorno, ReturnWaitsForTheOrderLockAndThenSeesWhatTheHolderDid) {
  const uint32_t op = Ordem();
  const uint32_t ap = Externo(op, 4);
  TestClock relogio(TestClock::SleepMode::kBlocks);  // the waiter's retries wait for this test
  CQVArqMarca marca;
  ASSERT_EQ(marca.Marca(op_.GetDiretorio(), 29), 0);

  CPPServidorOP outro;
  ASSERT_EQ(outro.Inicializa(Sessao()), S_OK);
  std::atomic<bool> terminou{false};
  HRESULT resultado = E_FAIL;
  std::thread segundo([&] {
    CoInitializeEx(nullptr, COINIT_MULTITHREADED);
    uint32_t pntr = 0;
    resultado = outro.GravaApontamentoRetornoIndustrializacao(Entrada(op, ap, 4, 91), &pntr, 1);
    CoUninitialize();
    terminou = true;
  });
  relogio.AwaitWaiters(1);
  EXPECT_FALSE(terminou);
  EXPECT_EQ(op_.RemoveApontamento(ap, 0), S_OK) << "inside the lock held";
  EXPECT_FALSE(terminou) << "still waiting";
  ASSERT_EQ(marca.Desmarca(), 0);
  while (!terminou) {
    relogio.Advance(100);
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  segundo.join();
  EXPECT_EQ(outro.Finaliza(), S_OK);
  EXPECT_EQ(resultado, Erro(1586));
  EXPECT_EQ(QuantidadeRegistros("PPRI", kTamanhoRI), 0u);
}

}  // namespace
