// The stock, sales-order, requirement and target postings of production reports, seen through the
// state of the family's stand-ins (the inventory's balances and movements, the sales orders'
// releases) and of a fake targets class, and through the local copies of the movements (PPME).
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "access/PPLiberaRegistro.h"
#include "foundation/QVChave.h"
#include "platform/com/classobject.h"
#include "platform/family/comum/TabelaFamilia.h"
#include "platform/family/vendas/PedidoFT.h"
#include "server/idl/Varmo.h"
#include "tests/server/EmpresaAtualizacao.h"
#include "tests/server/op/EmpresaOPFamilia.h"

namespace {

using namespace TesteOP;

constexpr uint32_t kTamanhoAP = 200;
constexpr uint32_t kTamanhoME = 104;
constexpr uint32_t kTamanhoNC = 128;
constexpr uint8_t kEstoqueRefugo = 3;  // the stock type the scrap enters
constexpr HRESULT kNegado = HRESULT_FROM_WIN32(ERROR_ACCESS_DENIED);

class Movimentos : public EmpresaOPFamilia {
 protected:
  void SetUp() override {
    ASSERT_EQ(metas_.Registro(), S_OK);
    EmpresaOPFamilia::SetUp();
    if (HasFatalFailure()) return;
    SaldoInicialInsumo(10);
  }
  // An order of the type on one process that receives reports: it is the order's last.
  uint32_t Ordem(ItemOP item, const std::function<void(OPTeste&)>& muda = nullptr) {
    OPTeste op = NovaOP({{processos_[0], true}}, {item});
    op.cabecalho.lPonteiroColecao = 6;
    if (muda) muda(op);
    return GravaNova(op);
  }
  uint32_t Ordem(int64_t programada = 10) { return Ordem({kProdutoFabricado, Quantidade(programada)}); }

  // An internal report of the order's only process.
  _REG_VARMO_OP_APONTAMENTO Relato(uint32_t chaveOP, int64_t quantidade, int64_t refugo = 0,
                                   uint8_t cTipoItem = 1, uint32_t pedido = 0, uint16_t idxItem = 0) const {
    _REG_VARMO_OP_APONTAMENTO reg{};
    reg.lPonteiroOP = chaveOP;
    reg.lPonteiroProcesso = processos_[0];
    reg.lPonteiroOperacaoProducao = operacao_;
    reg.vQuantidadeApontada.int64 = quantidade * kUm;
    reg.vQuantidadeRefugo.int64 = refugo * kUm;
    reg.cTipoProducao = 1;
    reg.cTipoItem = cTipoItem;
    reg.lPonteiroPedidoNecessidade = pedido;
    reg.usIdxItemPedido = idxItem;
    reg.usDataApontamentoInicio = DiaFixado();
    reg.usHoraApontamentoInicio = 8 * 60;
    return reg;
  }

  std::string Relatorio(uint32_t chave) const { return Registro("PPAP", kTamanhoAP, QVGetNumeroDaChave(chave)); }
  std::string Local(uint32_t n) const { return Registro("PPME", kTamanhoME, n); }

  // The movement that the inventory stand-in holds under a key.
  _REG_ES_MOVIMENTOPS MovimentoDoEstoque(uint32_t chave) {
    _REG_ES_MOVIMENTOPS movimento{};
    ComEstoque([&](IQVES_Movimento* estoque) {
      EXPECT_EQ(estoque->LeMovimento(chave, &movimento), S_OK);
      LiberaRegistroMovimentoES(&movimento, 0);
    });
    return movimento;
  }

  // The releases that the sales stand-in holds.
  std::vector<LiberacaoPedidoFT> Liberacoes() {
    TabelaFamilia tabela(empresa_.GetInstalacao().dir().windows_path() + "empresas\\TESTE\\FT\\LIBERPED.DAT",
                         sizeof(LiberacaoPedidoFT));
    TabelaFamilia::Registros registros;
    EXPECT_EQ(tabela.Le(registros), S_OK);
    std::vector<LiberacaoPedidoFT> liberacoes;
    for (const TabelaFamilia::Registro& bytes : registros) {
      LiberacaoPedidoFT liberacao;
      std::memcpy(static_cast<void*>(&liberacao), bytes.data(), sizeof liberacao);
      liberacoes.push_back(liberacao);
    }
    return liberacoes;
  }

  // The history lines of sales-order releases.
  std::vector<LinhaCadastro> LinhasLiberacao() const {
    std::vector<LinhaCadastro> linhas;
    for (const LinhaCadastro& linha : Linhas())
      if (linha.texto.find("item pedido") != std::string::npos) linhas.push_back(linha);
    return linhas;
  }

  MetasFalsas metas_;  // the targets' class
};

// ---- What a report moves ------------------------------------------------------------------------------

// Consumption, entry and scrap move the inventory's balances; each local copy is posted under the
// key the inventory gave it, and that movement names the report as its origin; the entry's
// answer (type 11) raises the order's target for its product.
TEST_F(Movimentos, ReportMovesStockAndKeepsEachMovementUnderTheInventorysKey) {
  const uint32_t op = Ordem();
  _REG_VARMO_OP_APONTAMENTO reg = Relato(op, 6, 1);
  _REG_ES_MOVIMENTOPS baixas[] = {Movimento(12, kProdutoInsumo, 3), Movimento(12, kProdutoTerceiros, 2)};
  _REG_ES_MOVIMENTOPS entrada = Movimento(11, kProdutoFabricado, 5);
  reg.usQtdMvtoEstoque = 2;
  reg.pregMovimentos = baixas;
  reg.usQtdMvtoEntrada = 1;
  reg.pregMvtoEntrada = &entrada;
  reg.cPossuiRefugo = 1;
  reg.regMovimentoRefugo = Movimento(13, kProdutoFabricado, 1, kEstoqueRefugo);
  uint32_t chave = 0;
  ASSERT_EQ(op_.GravaApontamento(reg, &chave, 1), S_OK);

  EXPECT_EQ(Saldo(kProdutoInsumo), 7 * kUm);
  EXPECT_EQ(Saldo(kProdutoTerceiros), -2 * kUm);
  EXPECT_EQ(Saldo(kProdutoFabricado), 5 * kUm);
  EXPECT_EQ(Saldo(kProdutoFabricado, kEstoqueRefugo), 1 * kUm);

  // Consumption 1 and 2, the entry 3, the scrap 4, as the report lists them.
  const std::string ap = Relatorio(chave);
  EXPECT_EQ(U32De(ap, 92), 1u);
  EXPECT_EQ(U16De(ap, 162), 2);
  EXPECT_EQ(U32De(ap, 68), 3u);
  EXPECT_EQ(U16De(ap, 160), 1);
  EXPECT_EQ(U32De(ap, 72), 4u);
  ASSERT_EQ(QuantidadeRegistros("PPME", kTamanhoME), 4u);
  const int64_t quantidades[] = {3, 2, 5, 1};
  for (uint32_t n = 1; n <= 4; ++n) {
    SCOPED_TRACE(n);
    const std::string local = Local(n);
    EXPECT_EQ(U8De(local, 88), 1) << "posted";
    EXPECT_EQ(QDe(local, 24), quantidades[n - 1] * kUm);
    EXPECT_EQ(U16De(local, 80), kUsuarioTeste);
    EXPECT_EQ(U16De(local, 82), DiaFixado());
    const uint32_t chaveEstoque = U32De(local, 32);
    ASSERT_EQ(chaveEstoque & 0xFFF, kMes);
    const _REG_ES_MOVIMENTOPS noEstoque = MovimentoDoEstoque(chaveEstoque);
    EXPECT_EQ(noEstoque.vQuantidade.int64, quantidades[n - 1] * kUm);
    EXPECT_EQ(noEstoque.lChaveQuemGerou, static_cast<int32_t>(QVGetNumeroDaChave(chave)));
    EXPECT_EQ(noEstoque.iModuloQuemGerou, 44);
    EXPECT_EQ(noEstoque.iDataQuemGerou, kMes);
    // Sent without date: dated today by the session's clock; the inventory's time comes back.
    EXPECT_EQ(noEstoque.iDataMovimento, DiaFixado());
    EXPECT_EQ(U16De(local, 76), DiaFixado());
    EXPECT_EQ(U16De(local, 78), noEstoque.iHoraMovimento);
  }

  ASSERT_EQ(metas_.apontadas.size(), 1u) << "only the entry feeds the targets";
  const _REG_PP_META_PRODUCAOPS& meta = metas_.apontadas[0];
  EXPECT_EQ(meta.regKey.ulPonteiroFilial, kFilial);
  EXPECT_EQ(meta.regKey.usMesAno, kMes);
  EXPECT_EQ(meta.regKey.ulPonteiroProjeto, 6u);
  EXPECT_EQ(meta.regKey.regPosicaoProdutoServico.lPonteiroProduto, kProdutoFabricado);
  EXPECT_EQ(meta.regKey.cTipoProdutoServico, 'P');
  EXPECT_EQ(meta.vQuantProduzida.int64, 5 * kUm);
  EXPECT_EQ(meta.vQuantProgramada.int64, 0);
}

// A report that leaves its entry for later stores the entry unposted: no stock, no target.
TEST_F(Movimentos, PendingEntryIsStoredButNotPosted) {
  const uint32_t op = Ordem();
  _REG_VARMO_OP_APONTAMENTO reg = Relato(op, 4);
  _REG_ES_MOVIMENTOPS entrada = Movimento(11, kProdutoFabricado, 4);
  reg.usQtdMvtoEntrada = 1;
  reg.pregMvtoEntrada = &entrada;
  reg.cPossuiEntradaPendente = 1;
  reg.cTipoApontamento = 4;
  uint32_t chave = 0;
  ASSERT_EQ(op_.GravaApontamento(reg, &chave, 1), S_OK);
  EXPECT_EQ(U32De(Relatorio(chave), 68), 1u);
  EXPECT_EQ(U8De(Local(1), 88), 0);
  EXPECT_EQ(U32De(Local(1), 32), 0u);
  EXPECT_EQ(Saldo(kProdutoFabricado), 0);
  EXPECT_TRUE(metas_.apontadas.empty());
}

// A service order's report without entries posts what it reported, scrap included, as the target
// of the item's service in the recording month.
TEST_F(Movimentos, ServiceOrderWithoutEntriesPostsItsReportAsTheTarget) {
  const uint32_t op = Ordem({kProdutoFabricado, Quantidade(10)}, [](OPTeste& o) {
    o.cabecalho.cTipoProdutoServico = 'S';
    o.itens[0].cTipoProdutoServico = 'S';
  });
  uint32_t chave = 0;
  ASSERT_EQ(op_.GravaApontamento(Relato(op, 3, 1), &chave, 1), S_OK);
  ASSERT_EQ(metas_.apontadas.size(), 1u);
  const _REG_PP_META_PRODUCAOPS& meta = metas_.apontadas[0];
  EXPECT_EQ(meta.regKey.cTipoProdutoServico, 'S');
  EXPECT_EQ(meta.regKey.usMesAno, kMes);
  EXPECT_EQ(meta.regKey.ulPonteiroProjeto, 6u);
  EXPECT_EQ(meta.regKey.regPosicaoProdutoServico.lPonteiroProduto, kProdutoFabricado);
  EXPECT_EQ(meta.vQuantProduzida.int64, 3 * kUm);

  // A product order's report without entries posts none.
  ASSERT_EQ(op_.GravaApontamento(Relato(Ordem(), 3), &chave, 1), S_OK);
  EXPECT_EQ(metas_.apontadas.size(), 1u);
}

// ---- Sales orders and requirements ---------------------------------------------------------------------

// The sales stand-in releases the credited quantity of a report with one posted entry; the report
// says released (172) and the history has the line only when the release was done.
TEST_F(Movimentos, SalesOrderItemIsReleasedOnlyForOnePostedEntryWithACreditedQuantity) {
  const uint32_t kPedido = Chave(3);  // "0524-000003"
  PedidoSemeadoFT pedido;
  pedido.ulChave = kPedido;
  pedido.regPedido.iPonteiroFilial = kFilial;
  pedido.itens.resize(2);
  for (auto& item : pedido.itens) item.regItem.vQuantidade.int64 = 100 * kUm;
  ASSERT_EQ(GravaPedidosFT(Instalacao::kEmpresa, {pedido}), S_OK);
  _REG_CN_PARAMETROSPS parametros{};
  parametros.cIntegraPedidos = 1;
  ASSERT_EQ(ServidorFiliais::GravaParametros(Instalacao::kEmpresa, parametros), S_OK);
  DefineMestre([](PPRegistroMestre& mestre) { mestre.cLiberarItemPedido = 1; });

  struct Caso {
    const char* nome;
    int64_t quantidade, refugo;
    uint16_t entradas;
    HRESULT falhaVendas;  // the sales server's answer to the release, when it fails
    HRESULT esperado;
    int64_t liberada;  // 0: nothing released
  };
  const Caso casos[] = {
      {"one entry", 4, 1, 1, S_OK, S_OK, 3},
      {"credited quantity 0", 2, 2, 1, S_OK, S_OK, 0},
      {"two entries", 4, 0, 2, S_OK, S_OK, 0},
      {"the sales server fails", 4, 0, 1, E_FAIL, E_FAIL, 0},
  };
  for (const Caso& caso : casos) {
    SCOPED_TRACE(caso.nome);
    const uint32_t op = Ordem({kProdutoFabricado, Quantidade(10), 3, kPedido, 1});
    _REG_VARMO_OP_APONTAMENTO reg = Relato(op, caso.quantidade, caso.refugo, 3, kPedido, 1);
    _REG_ES_MOVIMENTOPS entradas[] = {Movimento(11, kProdutoFabricado, 1), Movimento(11, kProdutoFabricado, 1)};
    reg.usQtdMvtoEntrada = caso.entradas;
    reg.pregMvtoEntrada = entradas;
    if (FAILED(caso.falhaVendas)) vendas_.Pedido.FalhaMetodo("LiberaItem", 1, caso.falhaVendas);
    const size_t liberacoes = Liberacoes().size();
    const std::vector<LinhaCadastro> linhas = LinhasLiberacao();
    uint32_t chave = 0;
    EXPECT_EQ(op_.GravaApontamento(reg, &chave, 1), caso.esperado);
    const std::vector<LiberacaoPedidoFT> depois = Liberacoes();
    const std::string ap = Relatorio(chave);
    EXPECT_EQ(U16De(ap, 160), caso.entradas) << "the entries are stored and referenced";
    if (caso.liberada == 0) {
      EXPECT_EQ(depois.size(), liberacoes);
      EXPECT_EQ(U8De(ap, 172), 0);
      EXPECT_EQ(LinhasLiberacao(), linhas) << "no release, no line";
      continue;
    }
    ASSERT_EQ(depois.size(), liberacoes + 1);
    const LiberacaoPedidoFT& feita = depois.back();
    EXPECT_EQ(feita.ulChave, kPedido);
    EXPECT_EQ(feita.usIndice, 1);
    EXPECT_EQ(feita.regLiberacao.vQuantidade.int64, caso.liberada * kUm);
    EXPECT_EQ(feita.regLiberacao.ulChaveOP, op);
    EXPECT_EQ(U8De(ap, 172), 1);
    std::vector<LinhaCadastro> esperadas = linhas;
    const std::string ordem(QVChaveParaTexto(op));
    esperadas.push_back({'I', "Libera\xe7\xe3o item pedido. OP: " + ordem + " Pedido: 0524-000003 Item: 1"});
    EXPECT_EQ(LinhasLiberacao(), esperadas);
  }
}

// A requirement's item adds each report's good quantity to the requirement's produced (16) and its
// scrap to its scrapped quantity (32).
TEST_F(Movimentos, RequirementTakesTheProducedAndScrappedQuantities) {
  std::string necessidade(kTamanhoNC, '\0');
  necessidade.replace(0, 8, Q(10 * kUm));
  necessidade.replace(44, 4, U32(kProdutoFabricado));
  necessidade.replace(74, 2, U16(kFilial));
  necessidade.replace(80, 2, U16(DiaFixado()));
  const uint32_t nc = Anexa("PPNC", kTamanhoNC, necessidade);
  const uint32_t op = Ordem({kProdutoFabricado, Quantidade(10), 2, Chave(nc)});
  uint32_t chave = 0;
  ASSERT_EQ(op_.GravaApontamento(Relato(op, 5, 1, 2, Chave(nc)), &chave, 1), S_OK);
  EXPECT_EQ(QDe(Registro("PPNC", kTamanhoNC, nc), 16), 4 * kUm);
  EXPECT_EQ(QDe(Registro("PPNC", kTamanhoNC, nc), 32), 1 * kUm);
  ASSERT_EQ(op_.GravaApontamento(Relato(op, 3, 0, 2, Chave(nc)), &chave, 1), S_OK);
  EXPECT_EQ(QDe(Registro("PPNC", kTamanhoNC, nc), 16), 7 * kUm);
  EXPECT_EQ(QDe(Registro("PPNC", kTamanhoNC, nc), 32), 1 * kUm);
}

// ---- Failures --------------------------------------------------------------------------------------------

// The second of three consumption movements refused: all three are stored, the first and third
// posted, and the refusal is the answer although the last posting succeeded.
TEST_F(Movimentos, RefusedConsumptionIsStoredUnpostedAndItsFailureIsTheAnswer) {
  const uint32_t op = Ordem();
  _REG_VARMO_OP_APONTAMENTO reg = Relato(op, 3);
  _REG_ES_MOVIMENTOPS baixas[] = {Movimento(12, kProdutoInsumo, 1), Movimento(12, kProdutoInsumo, 2),
                                  Movimento(12, kProdutoInsumo, 4)};
  reg.usQtdMvtoEstoque = 3;
  reg.pregMovimentos = baixas;
  estoque_.Movimento.FalhaMetodo("GravaMovimento", 1, kNegado, 1);
  uint32_t chave = 0;
  EXPECT_EQ(op_.GravaApontamento(reg, &chave, 1), kNegado);
  ASSERT_NE(chave, 0u);
  EXPECT_EQ(U32De(Relatorio(chave), 92), 1u);
  EXPECT_EQ(U16De(Relatorio(chave), 162), 3);
  ASSERT_EQ(QuantidadeRegistros("PPME", kTamanhoME), 3u);
  const uint8_t lancados[] = {1, 0, 1};
  for (uint32_t n = 1; n <= 3; ++n) {
    SCOPED_TRACE(n);
    EXPECT_EQ(U8De(Local(n), 88), lancados[n - 1]);
    EXPECT_EQ(U32De(Local(n), 32) != 0, lancados[n - 1] == 1);
  }
  EXPECT_EQ(Saldo(kProdutoInsumo), (10 - 1 - 4) * kUm);
}

// The entry is in stock when the targets fail: its local copy is stored posted, with its key, and
// referenced by the report, and the failure is the answer; the scrap entry does not follow.
TEST_F(Movimentos, FailedTargetAfterAnEntryLeavesTheEntryStoredAndAnswersTheFailure) {
  struct Caso {
    const char* nome;
    HRESULT falhaApontar, falhaInicializa, esperado;
  };
  // First without a server (the hub keeps none that failed its initialisation), then with one.
  const Caso casos[] = {
      {"no targets server: the hub's error", S_OK, E_OUTOFMEMORY, E_OUTOFMEMORY},
      {"the targets refuse", kNegado, S_OK, kNegado},
  };
  int64_t emEstoque = 0;
  for (const Caso& caso : casos) {
    SCOPED_TRACE(caso.nome);
    metas_.falhaApontar = caso.falhaApontar;
    metas_.falhaInicializa = caso.falhaInicializa;
    const uint32_t op = Ordem();
    _REG_VARMO_OP_APONTAMENTO reg = Relato(op, 2, 1);
    _REG_ES_MOVIMENTOPS entrada = Movimento(11, kProdutoFabricado, 1);
    reg.usQtdMvtoEntrada = 1;
    reg.pregMvtoEntrada = &entrada;
    reg.cPossuiRefugo = 1;
    reg.regMovimentoRefugo = Movimento(13, kProdutoFabricado, 1, kEstoqueRefugo);
    const uint32_t antes = QuantidadeRegistros("PPME", kTamanhoME);
    uint32_t chave = 0;
    EXPECT_EQ(op_.GravaApontamento(reg, &chave, 1), caso.esperado);
    ASSERT_NE(chave, 0u);
    const std::string ap = Relatorio(chave);
    EXPECT_EQ(U32De(ap, 68), antes + 1);
    EXPECT_EQ(U16De(ap, 160), 1);
    EXPECT_EQ(U32De(ap, 72), 0u) << "no scrap entry after the failure";
    ASSERT_EQ(QuantidadeRegistros("PPME", kTamanhoME), antes + 1);
    const std::string local = Local(antes + 1);
    EXPECT_EQ(U8De(local, 88), 1);
    EXPECT_EQ(MovimentoDoEstoque(U32De(local, 32)).vQuantidade.int64, 1 * kUm);
    emEstoque += 1 * kUm;
    EXPECT_EQ(Saldo(kProdutoFabricado), emEstoque);
    EXPECT_EQ(Saldo(kProdutoFabricado, kEstoqueRefugo), 0);
  }
  EXPECT_TRUE(metas_.apontadas.empty());
}

}  // namespace
