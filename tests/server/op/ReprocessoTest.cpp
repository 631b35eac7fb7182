// Reprocessing: the order a report sends back through the processes it went through (one type-4
// item of the reported quantity, the processes up to the reported one, their inputs' totals for that
// quantity, its key in the report), and the credit that order's last-process report gives back to the
// report it came from, its order's item and the report's credited quantity; then both through
// GravaApontamento.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "foundation/QVChave.h"
#include "server/op/PPRegistrosOP.h"
#include "tests/server/op/EmpresaOPFamilia.h"

namespace {

using namespace TesteOP;

constexpr uint32_t kTamanhoOP = 256;
constexpr uint32_t kTamanhoPR = 128;
constexpr uint32_t kTamanhoMT = 128;
constexpr uint32_t kTamanhoIT = 90;
constexpr uint32_t kTamanhoAP = 200;

class Reprocesso : public EmpresaOPFamilia {
 protected:
  // An order over receiving processes, each with an input of 0.333 per unit kept to two decimals.
  uint32_t Ordem(const std::vector<int32_t>& processos, const std::vector<ItemOP>& itens) {
    std::vector<ProcessoOP> dados;
    for (int32_t processo : processos) dados.push_back({processo, true, {{kProdutoInsumo, Quantidade(0, 3330)}}});
    OPTeste op = NovaOP(dados, itens);
    return GravaNova(op);
  }

  // A report record as GravaApontamento stores it, of an internal report.
  static PPDiscoApontamento Disco(uint32_t chaveOP, int32_t processo, int64_t quantidade, int64_t refugo = 0) {
    PPDiscoApontamento ap{};
    ap.vQuantidadeApontada.int64 = quantidade * kUm;
    ap.vQuantidadeRefugo.int64 = refugo * kUm;
    ap.ulRegistroOP = QVGetNumeroDaChave(chaveOP);
    ap.lPonteiroProcesso = processo;
    ap.cTipoProducao = 1;
    return ap;
  }
  uint32_t Guarda(const PPDiscoApontamento& ap) {
    return Anexa("PPAP", kTamanhoAP, std::string(reinterpret_cast<const char*>(&ap), sizeof ap));
  }

  // An internal report through GravaApontamento: today from 8:00 to 9:00, a complement item.
  _REG_VARMO_OP_APONTAMENTO Relato(uint32_t chaveOP, int32_t processo, int64_t quantidade) const {
    _REG_VARMO_OP_APONTAMENTO reg{};
    reg.lPonteiroOP = chaveOP;
    reg.lPonteiroProcesso = processo;
    reg.lPonteiroOperacaoProducao = operacao_;
    reg.vQuantidadeApontada.int64 = quantidade * kUm;
    reg.cTipoProducao = 1;
    reg.cTipoItem = 1;
    reg.usDataApontamentoInicio = reg.usDataApontamentoFim = DiaFixado();
    reg.usHoraApontamentoInicio = 8 * 60;
    reg.usHoraApontamentoFim = 9 * 60;
    return reg;
  }
  uint32_t Grava(const _REG_VARMO_OP_APONTAMENTO& reg) {
    uint32_t chave = 0;
    EXPECT_EQ(op_.GravaApontamento(reg, &chave, 1), S_OK);
    return chave;
  }

  HRESULT GeraOPReprocesso(uint32_t ulRegistro, PPDiscoApontamento& ap) {
    return (op_.*Passo(TesteOP::GeraOPReprocesso{}))(kMes, ulRegistro, ap);
  }
  HRESULT CreditaApontamentoOrigem(uint32_t ulRegistro, PPDiscoApontamento& ap, uint8_t cEstorno) {
    return (op_.*Passo(TesteOP::CreditaApontamentoOrigem{}))(kMes, ulRegistro, ap, cEstorno);
  }

  std::string Cabecalho(uint32_t chaveOP) const { return Registro("PPOP", kTamanhoOP, QVGetNumeroDaChave(chaveOP)); }
  // Item i (0: the first) and process i of the order, as its header points at them.
  std::string Item(uint32_t chaveOP, uint32_t i = 0) const {
    return Registro("PPIT", kTamanhoIT, U32De(Cabecalho(chaveOP), 64) + i);
  }
  std::string Processo(uint32_t chaveOP, uint32_t i) const {
    return Registro("PPPR", kTamanhoPR, U32De(Cabecalho(chaveOP), 60) + i);
  }
  std::string Relatorio(uint32_t n) const { return Registro("PPAP", kTamanhoAP, n); }
};

// ---- The reprocess order --------------------------------------------------------------------------

TEST_F(Reprocesso, NewOrderTakesTheProcessesUpToTheReportedOneAndOneItemOfTheReportedQuantity) {
  const uint32_t origem = Ordem({processos_[0], processos_[1], processos_[2]}, {{kProdutoFabricado, Quantidade(10)}});
  const std::string cabecalhoOrigem = Cabecalho(origem);
  for (uint16_t apontado = 0; apontado < 3; ++apontado) {
    SCOPED_TRACE(apontado);
    PPDiscoApontamento ap = Disco(origem, processos_[apontado], 4, 1);
    ap.cUltimoProcesso = apontado == 2;
    ap.cGerouReprocesso = 1;
    const uint32_t n = Guarda(ap);
    ASSERT_EQ(GeraOPReprocesso(n, ap), S_OK);

    // Its key in the report, on disk too.
    const uint32_t nova = ap.ulChaveOPReprocesso;
    ASSERT_EQ(QVGetMesAnoDaChave(nova), kMes);
    ASSERT_NE(nova, origem);
    EXPECT_EQ(U32De(Relatorio(n), 136), nova);

    // The origin's header, as a reprocess order not yet confirmed, numbered as its origin.
    const std::string cabecalho = Cabecalho(nova);
    EXPECT_EQ(U32De(cabecalho, 0), U32De(cabecalhoOrigem, 0));
    EXPECT_EQ(U32De(cabecalho, 44), U32De(cabecalhoOrigem, 44));
    EXPECT_EQ(U32De(cabecalho, 52), kProdutoFabricado);
    EXPECT_EQ(U16De(cabecalho, 116), kFilial);
    EXPECT_EQ(U8De(cabecalho, 174), 1);
    EXPECT_EQ(U8De(cabecalho, 175), 0);
    EXPECT_EQ(U8De(cabecalho, 182), 'P');

    // One type-4 item of the reported quantity (scrap included), naming the order and the report.
    ASSERT_EQ(U16De(cabecalho, 110), 1);
    const std::string item = Item(nova);
    EXPECT_EQ(QDe(item, 0), 4 * kUm);
    EXPECT_EQ(QDe(item, 8), 0);
    EXPECT_EQ(U32De(item, 36), kProdutoFabricado);
    EXPECT_EQ(U32De(item, 40), origem);
    EXPECT_EQ(U32De(item, 44), Chave(n));
    EXPECT_EQ(U8De(item, 56), 4);
    EXPECT_EQ(U8De(item, 60), apontado == 2 ? 1 : 0) << "the report's last-process flag";
    EXPECT_EQ(U8De(item, 62), 'P');

    // The processes from the first to the reported one, not started, each input's totals for the
    // new order's 4 units (0.333 x 4 = 1.332, kept to two decimals) where the origin's are for 10.
    ASSERT_EQ(U16De(cabecalho, 108), apontado + 1);
    for (uint16_t i = 0; i <= apontado; ++i) {
      const std::string processo = Processo(nova, i);
      EXPECT_EQ(static_cast<int32_t>(U32De(processo, 44)), processos_[i]);
      EXPECT_EQ(U8De(processo, 95), 1);
      ASSERT_EQ(U16De(processo, 72), 1);
      const std::string insumo = Registro("PPMT", kTamanhoMT, U32De(processo, 48));
      EXPECT_EQ(QDe(insumo, 0), 3330);
      EXPECT_EQ(QDe(insumo, 8), 13300);
      EXPECT_EQ(QDe(insumo, 24), 13300);
      EXPECT_EQ(QDe(Registro("PPMT", kTamanhoMT, U32De(Processo(origem, i), 48)), 8), 33300);
    }
  }
}

TEST_F(Reprocesso, AReportOfNoReceivingProcessOfItsOrderMakesNoOrder) {
  std::vector<ProcessoOP> dados = {{processos_[0], true}, {processos_[1], false}};
  OPTeste op = NovaOP(dados, {{kProdutoFabricado, Quantidade(10)}});
  const uint32_t origem = GravaNova(op);
  for (int32_t processo : {processos_[1], processos_[2]}) {
    SCOPED_TRACE(processo);
    PPDiscoApontamento ap = Disco(origem, processo, 4);
    const uint32_t n = Guarda(ap);
    const std::string ordens = Arquivo("PPOP");
    const std::string relatorios = Arquivo("PPAP");
    EXPECT_EQ(GeraOPReprocesso(n, ap), Erro(1587));
    EXPECT_EQ(ap.ulChaveOPReprocesso, 0u);
    EXPECT_EQ(Arquivo("PPOP"), ordens);
    EXPECT_EQ(Arquivo("PPAP"), relatorios);
  }
}

// ---- The origin's credit --------------------------------------------------------------------------

// The origin report (4 reprocessed on its order's only process) and its order's matching item (a
// sales-order item of 10, the release off) take back the reprocess report's quantity net of scrap,
// no more than the origin reported; the item credits the report what it still owed of it. A second
// item of another sales order is never touched.
TEST_F(Reprocesso, TheOriginReportAndItsItemTakeBackWhatCameBackAndTheReportIsCreditedWhatTheItemOwed) {
  struct Caso {
    const char* nome;
    uint8_t cUltimoProcesso;  // of the origin report
    uint8_t cTipoItem;
    int64_t produzidoAntes;
    int64_t quantidade, refugo;  // of the reprocess order's report
    int64_t reprocessada, produzida, creditada;  // expected (units): origin's 32, item's 8, report's 40
  };
  const Caso casos[] = {
      {"net of scrap", 1, 3, 0, 3, 1, 2, 2, 2},
      {"no more than the origin reported", 1, 3, 0, 9, 0, 4, 4, 4},
      {"an item owing less credits only what it owed", 1, 3, 9, 3, 1, 2, 11, 1},
      {"an item owing nothing credits nothing", 1, 3, 12, 3, 1, 2, 14, 0},
      {"a complement item is produced but credits nothing", 1, 1, 0, 3, 1, 2, 2, 0},
      {"an origin that was not the last process reaches no item", 0, 3, 0, 3, 1, 2, 0, 0},
  };
  for (const Caso& caso : casos) {
    SCOPED_TRACE(caso.nome);
    const uint32_t origem =
        Ordem({processos_[0]}, {{kProdutoFabricado, Quantidade(10)}, {kProdutoFabricado, Quantidade(10)}});
    const uint32_t itens = U32De(Cabecalho(origem), 64);
    // The items' sources set in place: integrating them with a sales order is not what is tested.
    Altera("PPIT", kTamanhoIT, itens, 32, U32(77));
    Altera("PPIT", kTamanhoIT, itens, 56, U8(caso.cTipoItem));
    Altera("PPIT", kTamanhoIT, itens, 8, Q(caso.produzidoAntes * kUm));
    Altera("PPIT", kTamanhoIT, itens + 1, 32, U32(78));
    Altera("PPIT", kTamanhoIT, itens + 1, 56, U8(caso.cTipoItem));
    const std::string outroItem = Item(origem, 1);

    PPDiscoApontamento origemAp = Disco(origem, processos_[0], 4);
    origemAp.cGerouReprocesso = 1;
    origemAp.cUltimoProcesso = caso.cUltimoProcesso;
    origemAp.cTipoItem = caso.cTipoItem;
    origemAp.lPonteiroPedidoNecessidade = 77;
    const uint32_t nOrigem = Guarda(origemAp);
    PPDiscoApontamento ap = Disco(origem, processos_[0], caso.quantidade, caso.refugo);
    ap.ulChaveApontamentoOPOrigem = Chave(nOrigem);
    const uint32_t n = Guarda(ap);

    ASSERT_EQ(CreditaApontamentoOrigem(n, ap, 0), S_OK);
    EXPECT_EQ(QDe(Relatorio(nOrigem), 32), caso.reprocessada * kUm);
    EXPECT_EQ(QDe(Item(origem), 8), caso.produzida * kUm);
    EXPECT_EQ(ap.vQuantidadeCreditadaItem.int64, caso.creditada * kUm);
    EXPECT_EQ(QDe(Relatorio(n), 40), caso.creditada * kUm);
    EXPECT_EQ(U8De(Relatorio(n), 172), 0) << "no release asked for";
    EXPECT_EQ(Item(origem, 1), outroItem);
  }
}

// A sales-order item whose release was not done has none to take back (the reversal of a release is
// the postings' own test).
TEST_F(Reprocesso, AReversalTakesBackWhatTheCreditGave) {
  const uint32_t origem = Ordem({processos_[0]}, {{kProdutoFabricado, Quantidade(10)}});
  const uint32_t item = U32De(Cabecalho(origem), 64);
  Altera("PPIT", kTamanhoIT, item, 32, U32(77));
  Altera("PPIT", kTamanhoIT, item, 56, U8(3));
  PPDiscoApontamento origemAp = Disco(origem, processos_[0], 4);
  origemAp.cGerouReprocesso = 1;
  origemAp.cUltimoProcesso = 1;
  origemAp.cTipoItem = 3;
  origemAp.lPonteiroPedidoNecessidade = 77;
  const uint32_t nOrigem = Guarda(origemAp);
  PPDiscoApontamento ap = Disco(origem, processos_[0], 3, 1);
  ap.ulChaveApontamentoOPOrigem = Chave(nOrigem);
  const uint32_t n = Guarda(ap);
  const std::string itemAntes = Item(origem);
  const std::string origemAntes = Relatorio(nOrigem);

  ASSERT_EQ(CreditaApontamentoOrigem(n, ap, 0), S_OK);
  ASSERT_EQ(QDe(Item(origem), 8), 2 * kUm);
  const std::string creditado = Relatorio(n);
  ASSERT_EQ(CreditaApontamentoOrigem(n, ap, 1), S_OK);
  EXPECT_EQ(Item(origem), itemAntes);
  EXPECT_EQ(Relatorio(nOrigem), origemAntes);
  EXPECT_EQ(Relatorio(n), creditado) << "the reversal leaves the report's credit to the report's own removal";
}

// A requirement that cannot be updated (its month has no requirements) fails the credit after the
// item and the report's credited quantity are stored: nothing is undone, and the report says what
// the item took.
TEST_F(Reprocesso, AFailedRequirementUpdateIsReturnedWithTheItemAndTheReportsCreditStored) {
  const uint32_t origem = Ordem({processos_[0]}, {{kProdutoFabricado, Quantidade(10)}});
  const uint32_t item = U32De(Cabecalho(origem), 64);
  const uint32_t necessidade = Chave(1, kMes - 12);
  Altera("PPIT", kTamanhoIT, item, 32, U32(necessidade));
  Altera("PPIT", kTamanhoIT, item, 56, U8(2));
  PPDiscoApontamento origemAp = Disco(origem, processos_[0], 4);
  origemAp.cGerouReprocesso = 1;
  origemAp.cUltimoProcesso = 1;
  origemAp.cTipoItem = 2;
  origemAp.lPonteiroPedidoNecessidade = necessidade;
  const uint32_t nOrigem = Guarda(origemAp);
  PPDiscoApontamento ap = Disco(origem, processos_[0], 3, 1);
  ap.ulChaveApontamentoOPOrigem = Chave(nOrigem);
  const uint32_t n = Guarda(ap);

  EXPECT_TRUE(FAILED(CreditaApontamentoOrigem(n, ap, 0)));
  EXPECT_EQ(QDe(Relatorio(nOrigem), 32), 2 * kUm);
  EXPECT_EQ(QDe(Item(origem), 8), 2 * kUm);
  EXPECT_EQ(QDe(Relatorio(n), 40), 2 * kUm);
}

TEST_F(Reprocesso, AReportWithoutAReadableOriginCreditsNothing) {
  const uint32_t origem = Ordem({processos_[0]}, {{kProdutoFabricado, Quantidade(10)}});
  const uint32_t nOrigem = Guarda(Disco(origem, processos_[0], 4));
  struct Caso {
    uint32_t chave;
    HRESULT esperado;
  };
  const Caso casos[] = {{0, Erro(1591)}, {Chave(0), Erro(1591)}, {nOrigem << 12, Erro(1591)},
                        {Chave(nOrigem + 5), Erro(16021)}};
  for (const Caso& caso : casos) {
    SCOPED_TRACE(caso.chave);
    PPDiscoApontamento ap = Disco(origem, processos_[0], 3);
    ap.ulChaveApontamentoOPOrigem = caso.chave;
    const uint32_t n = Guarda(ap);
    const std::string relatorios = Arquivo("PPAP");
    const std::string itens = Arquivo("PPIT");
    EXPECT_EQ(CreditaApontamentoOrigem(n, ap, 0), caso.esperado);
    EXPECT_EQ(Arquivo("PPAP"), relatorios);
    EXPECT_EQ(Arquivo("PPIT"), itens);
  }
}

// ---- Through GravaApontamento ---------------------------------------------------------------------

// Of 10 on the first of two processes, 6 pass and 4 go to reprocessing: the second process waits
// for them (situation 5) and can report no more than 6 until the reprocess order's report of its
// last process gives them back.
TEST_F(Reprocesso, AReprocessingReportMakesTheOrderWhoseLastReportGivesItsQuantityBack) {
  const uint32_t origem = Ordem({processos_[0], processos_[1]}, {{kProdutoFabricado, Quantidade(10)}});
  ASSERT_NE(Grava(Relato(origem, processos_[0], 6)), 0u);
  _REG_VARMO_OP_APONTAMENTO reprocessar = Relato(origem, processos_[0], 4);
  reprocessar.cGerouReprocesso = 1;
  const uint32_t chaveOrigem = Grava(reprocessar);
  ASSERT_NE(chaveOrigem, 0u);
  const uint32_t nOrigem = QVGetNumeroDaChave(chaveOrigem);

  const uint32_t nova = U32De(Relatorio(nOrigem), 136);
  ASSERT_NE(nova, 0u);
  EXPECT_EQ(U8De(Cabecalho(nova), 174), 1);
  ASSERT_EQ(U16De(Cabecalho(nova), 108), 1);
  EXPECT_EQ(static_cast<int32_t>(U32De(Processo(nova, 0), 44)), processos_[0]);
  EXPECT_EQ(QDe(Item(nova), 0), 4 * kUm);
  EXPECT_EQ(U32De(Item(nova), 44), chaveOrigem);

  ASSERT_NE(Grava(Relato(origem, processos_[1], 6)), 0u);
  EXPECT_EQ(U8De(Processo(origem, 1), 95), 5);
  uint32_t chave = 0;
  EXPECT_EQ(op_.GravaApontamento(Relato(origem, processos_[1], 4), &chave, 1), Erro(1604));

  _REG_VARMO_OP_APONTAMENTO devolver = Relato(nova, processos_[0], 4);
  devolver.cTipoItem = 4;
  devolver.ulChaveApontamentoOPOrigem = chaveOrigem;
  ASSERT_NE(Grava(devolver), 0u);
  EXPECT_EQ(QDe(Relatorio(nOrigem), 32), 4 * kUm);
  EXPECT_EQ(QDe(Item(nova), 8), 4 * kUm);
  EXPECT_EQ(QDe(Item(origem), 8), 6 * kUm) << "the reprocessed report was not of the last process";
  EXPECT_EQ(U8De(Processo(origem, 1), 95), 3);
  EXPECT_NE(Grava(Relato(origem, processos_[1], 4)), 0u);
  EXPECT_EQ(QDe(Item(origem), 8), 10 * kUm);
}

}  // namespace
