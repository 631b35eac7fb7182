// Taking a production report back: after recording and removing it, the inventory's balances, the
// sales stand-in's releases, the item, the requirement, the targets and the order are as before;
// the reprocess order it opened is cancelled, what a reprocess order's report gave back to its
// origin is taken back, and an outsourced report's returns go with it; the refusals leave the
// month and the stand-ins as they were; and a removal that failed halfway can be run again without
// taking anything back twice.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <functional>
#include <map>
#include <string>
#include <tuple>
#include <vector>

#include "access/PPLiberaRegistro.h"
#include "foundation/QVChave.h"
#include "platform/com/classobject.h"
#include "platform/family/filiais/ServidorFiliais.h"
#include "platform/family/vendas/PedidoFT.h"
#include "server/cadastros/CPPServidorOperacaoProducao.h"
#include "server/idl/Varmo.h"
#include "tests/server/EmpresaAtualizacao.h"
#include "tests/server/op/RetornosOP.h"

namespace {

using namespace TesteOP;

constexpr uint32_t kTamanhoAP = 200;
constexpr uint32_t kTamanhoOP = 256;
constexpr uint32_t kTamanhoPR = 128;
constexpr uint32_t kTamanhoIT = 90;
constexpr uint32_t kTamanhoME = 104;
constexpr uint32_t kTamanhoNC = 128;
constexpr uint8_t kEstoqueRefugo = 3;
constexpr HRESULT kNegado = HRESULT_FROM_WIN32(ERROR_ACCESS_DENIED);

const char* const kPrefixos[] = {"PPOP", "PPPR", "PPMT", "PPRP", "PPAP", "PPAS", "PPAR", "PPRI", "PPME", "PPLT",
                                 "PPIT", "PPNC", "PPIE", "PPRM", "PPIR", "PPID", "PPPE", "PPEE", "PPTI", "PPIO",
                                 "PPUP", "PPTA", "PPNF", "PPRA"};

// The targets' key: branch, month, project, product, kind.
using ChaveMeta = std::tuple<uint32_t, uint16_t, uint32_t, uint32_t, uint8_t>;

class Remocao : public EmpresaOPRetornos {
 protected:
  static constexpr uint32_t kPedido = Chave(3);

  void SetUp() override {
    ASSERT_EQ(metas_.Registro(), S_OK);
    EmpresaOPRetornos::SetUp();
    if (HasFatalFailure()) return;
    SaldoInicialInsumo(10);
    PedidoSemeadoFT pedido;
    pedido.ulChave = kPedido;
    pedido.regPedido.iPonteiroFilial = kFilial;
    pedido.itens.resize(2);
    for (auto& item : pedido.itens) item.regItem.vQuantidade.int64 = 100 * kUm;
    ASSERT_EQ(GravaPedidosFT(Instalacao::kEmpresa, {pedido}), S_OK);
    _REG_CN_PARAMETROSPS parametros{};
    parametros.cIntegraPedidos = 1;
    ASSERT_EQ(ServidorFiliais::GravaParametros(Instalacao::kEmpresa, parametros), S_OK);
    DefineMestre([](PPRegistroMestre& mestre) {
      mestre.cLiberarItemPedido = 1;
      mestre.cPermitirCancelRemessaIndustrializacao = 0;
    });
    // A normal operation: only its reports change the item and the process.
    CPPServidorOperacaoProducao operacoes;
    ASSERT_EQ(operacoes.Inicializa(Sessao(), 0), S_OK);
    _REG_VARMO_OPERACAO_PRODUCAOPS operacao{};
    std::snprintf(operacao.szCodigo, sizeof operacao.szCodigo, "NORMAL");
    std::snprintf(operacao.szDescricao, sizeof operacao.szDescricao, "NORMAL");
    operacao.cAtivo = 1;
    operacao.cTipoOperacao = 'O';
    ASSERT_EQ(operacoes.Grava(0, operacao, &normal_), S_OK);
  }

  // An order over the receiving processes given (the last one is the order's last) with one item.
  uint32_t Ordem(ItemOP item, std::vector<int32_t> processos = {}, const std::function<void(OPTeste&)>& muda = nullptr) {
    if (processos.empty()) processos = {processos_[0]};
    std::vector<ProcessoOP> dados;
    for (int32_t processo : processos) dados.push_back({processo, true});
    OPTeste op = NovaOP(dados, {item});
    op.cabecalho.lPonteiroColecao = 6;
    if (muda) muda(op);
    return GravaNova(op);
  }

  _REG_VARMO_OP_APONTAMENTO Relato(uint32_t chaveOP, int32_t processo, int64_t quantidade, int64_t refugo,
                                   const ItemOP& item) const {
    _REG_VARMO_OP_APONTAMENTO reg{};
    reg.lPonteiroOP = chaveOP;
    reg.lPonteiroProcesso = processo;
    reg.lPonteiroOperacaoProducao = normal_;
    reg.vQuantidadeApontada.int64 = quantidade * kUm;
    reg.vQuantidadeRefugo.int64 = refugo * kUm;
    reg.cTipoProducao = 1;
    reg.cTipoItem = item.cTipoItem;
    reg.lPonteiroPedidoNecessidade = item.lPonteiroPedidoNecessidade;
    reg.usIdxItemPedido = item.usIdxItemPedido;
    reg.usDataApontamentoInicio = DiaFixado();
    reg.usHoraApontamentoInicio = 8 * 60;
    return reg;
  }

  // A report with two consumptions, one entry and a scrap entry.
  uint32_t GravaCompleto(uint32_t chaveOP, int32_t processo, const ItemOP& item, HRESULT esperado = S_OK) {
    _REG_VARMO_OP_APONTAMENTO reg = Relato(chaveOP, processo, 4, 1, item);
    baixas_[0] = Movimento(12, kProdutoInsumo, 3);
    baixas_[1] = Movimento(12, kProdutoTerceiros, 2);
    entrada_ = Movimento(11, kProdutoFabricado, 3);
    reg.usQtdMvtoEstoque = 2;
    reg.pregMovimentos = baixas_;
    reg.usQtdMvtoEntrada = 1;
    reg.pregMvtoEntrada = &entrada_;
    reg.cPossuiRefugo = 1;
    reg.regMovimentoRefugo = Movimento(13, kProdutoFabricado, 1, kEstoqueRefugo);
    uint32_t chave = 0;
    EXPECT_EQ(op_.GravaApontamento(reg, &chave, 1), esperado);
    return chave;
  }


  // The stand-ins' state: every balance the reports move, the sales releases, the targets' sums.
  struct Familia {
    std::vector<int64_t> saldos;
    std::string liberacoes;
    std::map<ChaveMeta, int64_t> metas;
    bool operator==(const Familia& o) const {
      return saldos == o.saldos && liberacoes == o.liberacoes && metas == o.metas;
    }
  };
  Familia EstadoFamilia() {
    Familia familia;
    ComEstoque([&](IQVES_Movimento* estoque) {
      for (uint32_t produto : {kProdutoFabricado, kProdutoInsumo, kProdutoTerceiros}) {
        _REG_ES_SALDO_POSICAOPS saldo{};
        _REG_ES_CHAVE_SALDOPS chave{};
        chave.regPosicaoProduto.lPonteiroProduto = produto;
        chave.iPonteiroFilial = kFilial;
        EXPECT_EQ(estoque->LeSaldoPosicao(chave, &saldo, 0, 0), S_OK);
        for (uint8_t tipo : {uint8_t{0}, kEstoqueRefugo}) familia.saldos.push_back(saldo.vSaldoTipoEstoque[tipo].int64);
      }
    });
    const std::string liberacoes = "../FT/LIBERPED.DAT";
    familia.liberacoes = empresa_.Existe(liberacoes) ? empresa_.Le(liberacoes) : std::string();
    // Summed per key: a correction cancels what it corrects.
    for (const _REG_PP_META_PRODUCAOPS& meta : metas_.apontadas) {
      const auto& k = meta.regKey;
      familia.metas[{k.ulPonteiroFilial, k.usMesAno, k.ulPonteiroProjeto, k.regPosicaoProdutoServico.lPonteiroProduto,
                     k.cTipoProdutoServico}] += meta.vQuantProduzida.int64;
    }
    std::erase_if(familia.metas, [](const auto& meta) { return meta.second == 0; });
    return familia;
  }

  std::vector<std::string> Mes() const {
    std::vector<std::string> arquivos;
    for (const char* prefixo : kPrefixos) arquivos.push_back(Arquivo(prefixo));
    return arquivos;
  }

  std::string Ordem(uint32_t chave) const { return Registro("PPOP", kTamanhoOP, QVGetNumeroDaChave(chave)); }
  std::string ItemDa(uint32_t chaveOP) const {
    return Registro("PPIT", kTamanhoIT, U32De(Ordem(chaveOP), 64));
  }

  int32_t normal_ = 0;
  _REG_ES_MOVIMENTOPS baixas_[2]{};
  _REG_ES_MOVIMENTOPS entrada_{};
  MetasFalsas metas_;  // the targets' class
};

// ---- Round trip ----------------------------------------------------------------------------------------

// A sales-order item's report and its removal: balances, releases, targets, the item and the order
// as before; the report kept, removed and stamped today; a second removal changes nothing.
TEST_F(Remocao, RemovingTheLastReportPutsEverythingBackAndASecondRemovalChangesNothing) {
  const ItemOP item{kProdutoFabricado, Quantidade(10), 3, kPedido, 1};
  const uint32_t op = Ordem(item);
  const Familia antes = EstadoFamilia();
  const std::string itemAntes = ItemDa(op);
  const uint8_t situacaoAntes = U8De(Ordem(op), 170);
  const uint32_t chave = GravaCompleto(op, processos_[0], item);
  ASSERT_NE(chave, 0u);
  ASSERT_EQ(U8De(Relatorio(chave), 172), 1) << "the recording released the sales-order item";
  ASSERT_FALSE(EstadoFamilia() == antes);
  ASSERT_NE(ItemDa(op), itemAntes);

  EXPECT_EQ(op_.RemoveApontamento(chave, 1), S_OK);
  const Familia depois = EstadoFamilia();
  EXPECT_EQ(depois.saldos, antes.saldos);
  EXPECT_EQ(depois.liberacoes, antes.liberacoes);
  EXPECT_EQ(depois.metas, antes.metas) << "the entry's target taken back";
  EXPECT_EQ(ItemDa(op), itemAntes);
  EXPECT_EQ(U8De(Ordem(op), 170), situacaoAntes);
  const std::string ap = Relatorio(chave);
  EXPECT_EQ(U8De(ap, 176), 1) << "removed";
  EXPECT_EQ(U8De(ap, 172), 0) << "the release is taken back";
  EXPECT_EQ(U16De(ap, 152), DiaFixado());
  EXPECT_EQ(U16De(ap, 156), kUsuarioTeste);
  for (uint32_t n = 1; n <= QuantidadeRegistros("PPME", kTamanhoME); ++n)
    EXPECT_EQ(U8De(Registro("PPME", kTamanhoME, n), 88), 0) << n;

  const std::vector<std::string> mes = Mes();
  EXPECT_EQ(op_.RemoveApontamento(chave, 1), S_OK);
  EXPECT_TRUE(Mes() == mes) << "the month's files changed";
  EXPECT_TRUE(EstadoFamilia() == depois);
}

// A requirement's item on a service order without entries: the requirement's produced (16) and
// scrapped (32) quantities and the service's target are back where they were.
TEST_F(Remocao, RequirementAndServiceTargetAreTakenBack) {
  std::string necessidade(kTamanhoNC, '\0');
  necessidade.replace(0, 8, Q(10 * kUm));
  necessidade.replace(44, 4, U32(kProdutoFabricado));
  necessidade.replace(74, 2, U16(kFilial));
  necessidade.replace(80, 2, U16(DiaFixado()));
  const uint32_t nc = Anexa("PPNC", kTamanhoNC, necessidade);
  const ItemOP item{kProdutoFabricado, Quantidade(10), 2, Chave(nc)};
  const uint32_t op = Ordem(item, {}, [](OPTeste& o) {
    o.cabecalho.cTipoProdutoServico = 'S';
    o.itens[0].cTipoProdutoServico = 'S';
  });
  const std::string ncAntes = Registro("PPNC", kTamanhoNC, nc);
  const Familia antes = EstadoFamilia();
  uint32_t chave = 0;
  ASSERT_EQ(op_.GravaApontamento(Relato(op, processos_[0], 5, 1, item), &chave, 1), S_OK);
  ASSERT_EQ(QDe(Registro("PPNC", kTamanhoNC, nc), 16), 4 * kUm);
  ASSERT_EQ(metas_.apontadas.size(), 1u);

  EXPECT_EQ(op_.RemoveApontamento(chave, 1), S_OK);
  EXPECT_EQ(Registro("PPNC", kTamanhoNC, nc), ncAntes);
  EXPECT_TRUE(EstadoFamilia() == antes);
  EXPECT_EQ(metas_.apontadas.size(), 2u) << "one correction, under the recording's key";
}

// An item that matches no item of the order was credited to the order's first item by recording;
// its removal takes it back from there.
TEST_F(Remocao, ReportWithoutMatchingItemIsTakenBackFromTheFirstItem) {
  const ItemOP item{kProdutoFabricado, Quantidade(10)};
  const uint32_t op = Ordem(item);
  const std::string itemAntes = ItemDa(op);
  ItemOP outro = item;
  outro.usIdxItemPedido = 9;
  uint32_t chave = 0;
  ASSERT_EQ(op_.GravaApontamento(Relato(op, processos_[0], 3, 1, outro), &chave, 1), S_OK);
  ASSERT_EQ(QDe(ItemDa(op), 8), 2 * kUm);
  EXPECT_EQ(op_.RemoveApontamento(chave, 1), S_OK);
  EXPECT_EQ(ItemDa(op), itemAntes);
}

// ---- Refusals ------------------------------------------------------------------------------------------

TEST_F(Remocao, RefusalsLeaveTheMonthAndTheStandInsAsTheyWere) {
  const ItemOP item{kProdutoFabricado, Quantidade(10)};
  struct Caso {
    const char* nome;
    // Makes the order and the report to remove, and what refuses it; the report's key.
    std::function<uint32_t()> prepara;
    HRESULT esperado;
  };
  auto simples = [&](const std::function<void(uint32_t op, uint32_t ap)>& muda) {
    return [&, muda] {
      const uint32_t op = Ordem(item);
      const uint32_t chave = GravaCompleto(op, processos_[0], item);
      muda(op, chave);
      return chave;
    };
  };
  const std::vector<Caso> casos = {
      {"report kind 5", simples([&](uint32_t, uint32_t ap) { Altera("PPAP", kTamanhoAP, QVGetNumeroDaChave(ap), 183, U8(5)); }),
       Erro(1714)},
      {"linked reports", simples([&](uint32_t, uint32_t ap) { Altera("PPAP", kTamanhoAP, QVGetNumeroDaChave(ap), 170, U16(1)); }),
       Erro(1715)},
      {"forced closing by another report",
       simples([&](uint32_t op, uint32_t) { Altera("PPIT", kTamanhoIT, U32De(Ordem(op), 64), 59, U8(1)); }), Erro(1720)},
      {"the next process reported more",
       [&] {
         const uint32_t op = Ordem(item, {processos_[0], processos_[1]});
         const uint32_t chave = GravaCompleto(op, processos_[0], item);
         uint32_t seguinte = 0;
         EXPECT_EQ(op_.GravaApontamento(Relato(op, processos_[1], 3, 0, item), &seguinte, 1), S_OK);
         return chave;
       },
       Erro(1596)},
      {"reprocess order started",
       simples([&](uint32_t op, uint32_t ap) {
         Altera("PPAP", kTamanhoAP, QVGetNumeroDaChave(ap), 178, U8(1));
         Altera("PPAP", kTamanhoAP, QVGetNumeroDaChave(ap), 136, U32(op));
         Altera("PPOP", kTamanhoOP, QVGetNumeroDaChave(op), 170, U8(2));
       }),
       Erro(1663)},
      {"billed shipment",
       simples([&](uint32_t op, uint32_t ap) {
         _REG_PP_REMESSA_INDUSTRIALIZACAOPS remessa{};
         remessa.ulChaveOP = op;
         uint32_t chaveRemessa = 0;
         EXPECT_EQ(op_.GravaRemessaIndustrializacao(remessa, kMes, &chaveRemessa), S_OK);
         Altera("PPRM", 60, QVGetNumeroDaChave(chaveRemessa), 36, U8(2));
         Altera("PPAP", kTamanhoAP, QVGetNumeroDaChave(ap), 116, U32(QVGetNumeroDaChave(chaveRemessa)));
       }),
       Erro(1680)},
      {"order interrupted",
       simples([&](uint32_t op, uint32_t) { Altera("PPOP", kTamanhoOP, QVGetNumeroDaChave(op), 170, U8(62)); }),
       Erro(1592)},
  };
  for (const Caso& caso : casos) {
    SCOPED_TRACE(caso.nome);
    const uint32_t chave = caso.prepara();
    ASSERT_NE(chave, 0u);
    const std::vector<std::string> mes = Mes();
    const Familia familia = EstadoFamilia();
    const size_t metas = metas_.apontadas.size();
    EXPECT_EQ(op_.RemoveApontamento(chave, 1), caso.esperado);
    const std::vector<std::string> depois = Mes();
    for (size_t i = 0; i < mes.size(); ++i) EXPECT_TRUE(depois[i] == mes[i]) << kPrefixos[i] << " changed";
    EXPECT_TRUE(EstadoFamilia() == familia);
    EXPECT_EQ(metas_.apontadas.size(), metas);
  }
}

// ---- Reprocessing ---------------------------------------------------------------------------------

// The order that a report sent to reprocessing is cancelled with the report while it has not
// started (99); one cancelled already is left as it is. Recording changed no item for that report,
// so removing it changes none either.
TEST_F(Remocao, ReprocessOrderNotStartedIsCancelledAndOneCancelledAlreadyIsLeftAsItIs) {
  const ItemOP item{kProdutoFabricado, Quantidade(10)};
  for (const bool bCancelada : {false, true}) {
    SCOPED_TRACE(bCancelada ? "cancelled already" : "not started");
    const uint32_t op = Ordem(item);
    const std::string itemAntes = ItemDa(op);
    _REG_VARMO_OP_APONTAMENTO reg = Relato(op, processos_[0], 4, 0, item);
    reg.cGerouReprocesso = 1;
    uint32_t chave = 0;
    ASSERT_EQ(op_.GravaApontamento(reg, &chave, 1), S_OK);
    const uint32_t reprocesso = U32De(Relatorio(chave), 136);
    ASSERT_NE(reprocesso, 0u);
    ASSERT_EQ(U8De(Ordem(reprocesso), 170), 1);
    if (bCancelada) {
      ASSERT_EQ(op_.Cancela(1, &reprocesso, 1), S_OK);
    }
    const std::string antes = Ordem(reprocesso);

    EXPECT_EQ(op_.RemoveApontamento(chave, 1), S_OK);
    EXPECT_EQ(U8De(Ordem(reprocesso), 170), 99);
    if (bCancelada) {
      EXPECT_EQ(Ordem(reprocesso), antes) << "cancelled once only";
    }
    EXPECT_EQ(U8De(Relatorio(chave), 176), 1);
    EXPECT_EQ(ItemDa(op), itemAntes);
  }
}

// Of 10 on the first of two processes, 6 pass and 4 go to reprocessing: the reprocess order's
// reports of its last (only) process give them back to the origin report.
class RemocaoReprocesso : public Remocao {
 protected:
  void SetUp() override {
    Remocao::SetUp();
    if (HasFatalFailure()) return;
    origem_ = Ordem(item_, {processos_[0], processos_[1]});
    uint32_t chave = 0;
    ASSERT_EQ(op_.GravaApontamento(Relato(origem_, processos_[0], 6, 0, item_), &chave, 1), S_OK);
    _REG_VARMO_OP_APONTAMENTO reprocessar = Relato(origem_, processos_[0], 4, 0, item_);
    reprocessar.cGerouReprocesso = 1;
    ASSERT_EQ(op_.GravaApontamento(reprocessar, &reprocessado_, 1), S_OK);
    reprocesso_ = U32De(Relatorio(reprocessado_), 136);
    ASSERT_NE(reprocesso_, 0u);
  }

  uint32_t Devolve(int64_t quantidade, int64_t refugo, uint8_t cEncerramentoForcado = 0) {
    _REG_VARMO_OP_APONTAMENTO reg = Relato(reprocesso_, processos_[0], quantidade, refugo, {kProdutoFabricado, {}, 4});
    reg.ulChaveApontamentoOPOrigem = reprocessado_;
    reg.cEncerramentoForcado = cEncerramentoForcado;
    uint32_t chave = 0;
    EXPECT_EQ(op_.GravaApontamento(reg, &chave, 1), S_OK);
    return chave;
  }
  HRESULT ReportaSegundo(int64_t quantidade) {
    uint32_t chave = 0;
    return op_.GravaApontamento(Relato(origem_, processos_[1], quantidade, 0, item_), &chave, 1);
  }
  uint8_t SituacaoSegundo() const { return U8De(Registro("PPPR", kTamanhoPR, U32De(Ordem(origem_), 60) + 1), 95); }
  int64_t Reprocessada() const { return QDe(Relatorio(reprocessado_), 32); }

  const ItemOP item_{kProdutoFabricado, Quantidade(10)};
  uint32_t origem_ = 0;
  uint32_t reprocessado_ = 0;  // the report that sent 4 to reprocessing
  uint32_t reprocesso_ = 0;    // the order it opened
};

// Each removal takes back from the origin report what the removed report gave it, its good
// quantity (3 - 1 of 1 + 3 - 1 given back), and the reprocess order's item what it credited.
TEST_F(RemocaoReprocesso, RemovingALastProcessReportTakesItsGoodQuantityBackFromTheOrigin) {
  const std::string itemAntes = ItemDa(reprocesso_);
  const uint32_t primeiro = Devolve(1, 0);
  const std::string itemPrimeiro = ItemDa(reprocesso_);
  const uint32_t segundo = Devolve(3, 1);
  ASSERT_EQ(Reprocessada(), 3 * kUm);

  EXPECT_EQ(op_.RemoveApontamento(segundo, 1), S_OK);
  EXPECT_EQ(Reprocessada(), 1 * kUm);
  EXPECT_EQ(ItemDa(reprocesso_), itemPrimeiro);
  EXPECT_EQ(U8De(Relatorio(segundo), 176), 1);
  EXPECT_EQ(op_.RemoveApontamento(primeiro, 1), S_OK);
  EXPECT_EQ(Reprocessada(), 0);
  EXPECT_EQ(ItemDa(reprocesso_), itemAntes);
}

// The origin's order is refreshed too: its second process, which had all it waited for, waits
// again for what is reprocessed (5).
TEST_F(RemocaoReprocesso, OriginsNextProcessWaitsAgainForWhatIsReprocessed) {
  ASSERT_EQ(ReportaSegundo(6), S_OK);
  ASSERT_EQ(SituacaoSegundo(), 5);
  const uint32_t chave = Devolve(4, 0);
  ASSERT_EQ(SituacaoSegundo(), 3);
  EXPECT_EQ(op_.RemoveApontamento(chave, 1), S_OK);
  EXPECT_EQ(SituacaoSegundo(), 5);
  EXPECT_EQ(ReportaSegundo(4), Erro(1604)) << "no longer available to the second process";
}

// A report that closed the item by force reported past what was reprocessed: the origin was
// credited no more than it reported, and no more is taken back from it.
TEST_F(RemocaoReprocesso, NoMoreIsTakenBackThanTheOriginReported) {
  const uint32_t chave = Devolve(6, 0, 1);
  ASSERT_EQ(Reprocessada(), 4 * kUm);
  EXPECT_EQ(op_.RemoveApontamento(chave, 1), S_OK);
  EXPECT_EQ(Reprocessada(), 0);
}

// What the origin's next process reported on the quantity given back must stay covered without
// it: 10 passed on to the second process, 6 would remain. Refused before anything is written.
TEST_F(RemocaoReprocesso, OriginsNextProcessThatUsedTheQuantityRefuses1596Unwritten) {
  ASSERT_EQ(ReportaSegundo(6), S_OK);
  const uint32_t chave = Devolve(4, 0);
  ASSERT_EQ(ReportaSegundo(4), S_OK);
  const std::vector<std::string> mes = Mes();
  const Familia familia = EstadoFamilia();
  EXPECT_EQ(op_.RemoveApontamento(chave, 1), Erro(1596));
  const std::vector<std::string> depois = Mes();
  for (size_t i = 0; i < mes.size(); ++i) EXPECT_TRUE(depois[i] == mes[i]) << kPrefixos[i] << " changed";
  EXPECT_TRUE(EstadoFamilia() == familia);
}

// ---- Outsourced reports with returns ------------------------------------------------------------

// An outsourced report of the first of two processes with two returns: one that made transit (its
// last-process report and the report made for it go with it, first) and one that consumed a report
// and posted a consumption and a scrap entry against a pending invoice. Removing the report takes
// back both returns' work: the inventory as before the report, the consumed report pending again,
// the invoice freed, the item as before; the report ends removed.
TEST_F(Remocao, OutsourcedReportTakesItsReturnsWorkBackWithIt) {
  const ItemOP item{kProdutoFabricado, Quantidade(10)};
  const uint32_t op = Ordem(item, {processos_[0], processos_[1]});
  const Familia antes = EstadoFamilia();
  const std::string itemAntes = ItemDa(op);
  // The return's postings are recorded by the report, then handed over to the return.
  _REG_VARMO_OP_APONTAMENTO reg = Relato(op, processos_[0], 4, 0, item);
  reg.cTipoProducao = 0;
  reg.lPonteiroIndustrializador = 5;
  baixas_[0] = Movimento(12, kProdutoInsumo, 3);
  reg.usQtdMvtoEstoque = 1;
  reg.pregMovimentos = baixas_;
  reg.cPossuiRefugo = 1;
  reg.regMovimentoRefugo = Movimento(13, kProdutoFabricado, 1, kEstoqueRefugo);
  uint32_t ap = 0;
  ASSERT_EQ(op_.GravaApontamento(reg, &ap, 1), S_OK);
  const uint32_t movimento = U32De(Relatorio(ap), 92);
  const uint32_t refugo = U32De(Relatorio(ap), 72);
  ASSERT_NE(movimento, 0u);
  ASSERT_NE(refugo, 0u);
  AlteraRelatorio(ap, 72, U32(0));
  AlteraRelatorio(ap, 92, U32(0));
  AlteraRelatorio(ap, 162, U16(0));
  AlteraRelatorio(ap, 177, U8(0));
  ASSERT_FALSE(EstadoFamilia() == antes);

  RetornoTeste comum{.retornada = 4, .entrada = 91, .nf = NotaPendente(ap), .primeiroMovimento = movimento,
                     .movimentos = 1, .possuiRefugo = true, .movimentoRefugo = refugo};
  DaRetornos(ap, {comum});  // what lets the second process report
  uint32_t consumido = 0, ultimo = 0, gerado = 0;
  ASSERT_EQ(op_.GravaApontamento(Relato(op, processos_[0], 0, 0, item), &consumido, 1), S_OK);
  for (uint32_t* chave : {&ultimo, &gerado})
    ASSERT_EQ(op_.GravaApontamento(Relato(op, processos_[1], 1, 0, item), chave, 1), S_OK);
  comum.primeiraImportada = Chaves({consumido});
  comum.importadas = 1;
  const uint32_t up = Anexa("PPUP", 16, Q(1 * kUm) + U32(QVGetNumeroDaChave(ultimo)) + U16(0) + U16(0));
  const RetornoTeste transito{.retornada = 0, .entrada = 92, .primeiroUP = up, .primeiraGerada = Chaves({gerado}),
                              .up = 1, .geradas = 1, .transito = true};
  DaRetornos(ap, {comum, transito});

  ASSERT_EQ(op_.RemoveApontamento(ap, 1), S_OK);
  for (uint32_t chave : {ultimo, gerado}) EXPECT_EQ(U8De(Relatorio(chave), 176), 1) << "made by the transit";
  EXPECT_EQ(U8De(Relatorio(consumido), 176), 0);
  EXPECT_EQ(U8De(Relatorio(consumido), 184), 1) << "pending again";
  for (uint32_t n : {movimento, refugo}) EXPECT_EQ(U8De(Registro("PPME", kTamanhoME, n), 88), 0) << n;
  EXPECT_EQ(EstadoFamilia().saldos, antes.saldos);
  EXPECT_EQ(ItemDa(op), itemAntes);
  EXPECT_EQ(U8De(Registro("PPNF", kTamanhoNF, QVGetNumeroDaChave(comum.nf)), 14), 255);
  const std::string relatorio = Relatorio(ap);
  EXPECT_EQ(U8De(relatorio, 176), 1);
  EXPECT_EQ(U16De(relatorio, 164), 1) << "the transit return left the list; the other is kept";
  EXPECT_EQ(U32De(Registro("PPRI", kTamanhoRI, U32De(relatorio, 96)), 16), comum.entrada);
}

// ---- Retry ---------------------------------------------------------------------------------------------

// The inventory refuses the second consumption's removal: the first is marked taken back at once, the
// item is untouched; the removal run again takes back the rest, and the end is as before the report.
TEST_F(Remocao, RemovalThatFailedHalfwayCanBeRunAgain) {
  const ItemOP item{kProdutoFabricado, Quantidade(10), 3, kPedido, 1};
  const uint32_t op = Ordem(item);
  const Familia antes = EstadoFamilia();
  const std::string itemAntes = ItemDa(op);
  const uint32_t chave = GravaCompleto(op, processos_[0], item);
  ASSERT_NE(chave, 0u);
  const std::string itemReportado = ItemDa(op);

  estoque_.Movimento.FalhaMetodo("RemoveMovimento", 1, kNegado, 1);
  EXPECT_EQ(op_.RemoveApontamento(chave, 1), kNegado);
  const uint32_t primeira = U32De(Relatorio(chave), 92);
  EXPECT_EQ(U8De(Registro("PPME", kTamanhoME, primeira), 88), 0);
  EXPECT_EQ(U8De(Registro("PPME", kTamanhoME, primeira + 1), 88), 1);
  EXPECT_EQ(ItemDa(op), itemReportado) << "no quantity taken back before the stock";
  EXPECT_EQ(U8De(Relatorio(chave), 176), 0);

  EXPECT_EQ(op_.RemoveApontamento(chave, 1), S_OK);
  EXPECT_TRUE(EstadoFamilia() == antes);
  EXPECT_EQ(ItemDa(op), itemAntes);
  EXPECT_EQ(U8De(Relatorio(chave), 176), 1);
}

TEST_F(Remocao, NotInitialisedAndKeyWithoutRecord) {
  CPPServidorOP novo;
  EXPECT_EQ(novo.RemoveApontamento(Chave(1), 1), Erro(1585));
  EXPECT_EQ(op_.RemoveApontamento(kMes, 1), Erro(1591));
}

}  // namespace
