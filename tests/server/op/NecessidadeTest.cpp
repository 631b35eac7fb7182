// Production requirements: recording, cancelling and grouping them (PPNC, PPNA), reading and
// searching them through the order filter, and the two demand questions over sales orders,
// complement items, stock and requirements. Records are checked, and laid out where a test needs
// a state, at hand-written offsets.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "foundation/CQVArqMarca.h"
#include "foundation/QVChave.h"
#include "platform/com/taskmem.h"
#include "platform/family/filiais/ServidorFiliais.h"
#include "platform/family/vendas/PedidoFT.h"
#include "platform/win32/codepage.h"
#include "tests/server/op/EmpresaOPFamilia.h"

using namespace TesteOP;

namespace {

constexpr uint32_t kTamanho = 128;  // a PPNC record
constexpr uint32_t kTamanhoMembro = 16;
constexpr uint32_t kPedido = 500;  // client 77, branch 1

// Offsets of a PPNC record.
constexpr size_t kSolicitada = 0, kProgramada = 8, kProduzida = 16, kCancelada = 24, kRefugo = 32;
constexpr size_t kGeradora = 40, kProduto = 44, kColecao = 52, kGrade1 = 68, kFilialNC = 74;
constexpr size_t kUsuario = 76, kUsuarioCancel = 78, kEmissao = 80, kDataCancel = 82;
constexpr size_t kTipo = 94, kRemovido = 95, kAgrupada = 114, kPrimeiroMembro = 122, kQtdMembros = 126;

class Necessidade : public EmpresaOPFamilia {
 protected:
  // A new requirement of `unidades`, recorded under the lock; its key.
  uint32_t Nova(int64_t unidades, uint32_t produto = kProdutoFabricado, uint16_t filial = kFilial,
                int32_t colecao = 0, uint8_t tipo = 0) {
    _REG_VARMO_OP_NECESSIDADE reg{};
    reg.vQtdSolicitada.int64 = unidades * kUm;
    reg.regPosProduto.lPonteiroProduto = produto;
    reg.usPonteiroFilial = filial;
    reg.lPonteiroColecao = colecao;
    reg.cTipoRegistro = tipo;
    uint32_t chave = 0;
    EXPECT_EQ(op_.GravaNecessidade(0, reg, &chave, 1), S_OK);
    return chave;
  }
  std::string NC(uint32_t chave) const {
    return Registro("PPNC", kTamanho, QVGetNumeroDaChave(chave), QVGetMesAnoDaChave(chave));
  }
  void Poe(uint32_t chave, size_t deslocamento, const std::string& bytes) {
    Altera("PPNC", kTamanho, QVGetNumeroDaChave(chave), deslocamento, bytes, QVGetMesAnoDaChave(chave));
  }
  std::vector<uint32_t> Busca() {
    _REG_VARMO_PONTEIROS_ULONGPS lista{};
    EXPECT_EQ(op_.BuscaPonteirosNecessidades(&lista), S_OK);
    std::vector<uint32_t> chaves(lista.plPonteiro, lista.plPonteiro + lista.lQtd);
    CoTaskMemFree(lista.plPonteiro);
    return chaves;
  }
  std::vector<uint32_t> BuscaCom(const _REG_VARMO_FILTROPS& filtro) {
    EXPECT_EQ(op_.SetFiltro(filtro), S_OK);
    return Busca();
  }
  HRESULT Agrupa(std::vector<uint32_t> chaves, uint32_t* grupo) {
    _REG_VARMO_PONTEIROS_ULONGPS lista{static_cast<uint32_t>(chaves.size()), chaves.data()};
    return op_.AgruparNecessidades(lista, grupo);
  }
  void IntegraPedidos() {
    _REG_CN_PARAMETROSPS parametros{};
    parametros.cIntegraPedidos = 1;
    ASSERT_EQ(ServidorFiliais::GravaParametros(Instalacao::kEmpresa, parametros), S_OK);
    ASSERT_EQ(op_.Inicializa(Sessao()), S_OK);
  }
  static ItemPedidoSemeadoFT ItemPedido(uint32_t produto, int64_t quantidade, int64_t atendida, int64_t cancelada,
                                        int64_t programada) {
    ItemPedidoSemeadoFT item;
    item.regItem.regPosProdutoServico.lPonteiroProduto = produto;
    item.regItem.vQuantidade.int64 = quantidade * kUm;
    item.regItem.vQuantidadeAtendida.int64 = atendida * kUm;
    item.regItem.vQuantidadeCancelada.int64 = cancelada * kUm;
    item.regItem.vQuantidadeProgramada.int64 = programada * kUm;
    item.regItem.iDataEntrega = DiaFixado() + 10;
    return item;
  }
  static PedidoSemeadoFT Pedido(uint32_t chave, uint16_t filial, std::vector<ItemPedidoSemeadoFT> itens) {
    PedidoSemeadoFT pedido;
    pedido.ulChave = chave;
    pedido.regPedido.lPonteiroCliente = 77;
    pedido.regPedido.iPonteiroFilial = filial;
    pedido.regPedido.iPonteiroMunicipio = 33;
    pedido.regPedido.iDataEmissao = DiaFixado() - 2;
    std::memcpy(pedido.regPedido.szOrdemCompraCliente, "PC-9", 4);
    pedido.itens = std::move(itens);
    return pedido;
  }
  void Saldo(uint32_t produto, uint16_t filial, int64_t unidades) {
    SaldoInicialES saldo{};
    saldo.regChave.regPosicaoProduto.lPonteiroProduto = produto;
    saldo.regChave.iPonteiroFilial = filial;
    saldo.regChave.iPonteiroLocalArmazenagem = 1;
    saldo.vQuantidade.int64 = unidades * kUm;
    ASSERT_EQ(GravaSaldosIniciaisES(Instalacao::kEmpresa, {saldo}), S_OK);
  }
};

// ---------------------------------------------------------------------------------------------------
// Recording

TEST_F(Necessidade, NewRequirementIsAppendedInTodaysMonthWithItsFieldsAndHistoryLine) {
  _REG_VARMO_OP_NECESSIDADE reg{};
  reg.vQtdSolicitada.int64 = 12 * kUm;
  reg.vQtdProgramada.int64 = 5 * kUm;  // not taken: a new requirement starts with nothing programmed
  reg.lPonteiroOPGeradora = 9;
  reg.regPosProduto = {kProdutoFabricado, 4, 5, 6};
  reg.RegQuemGerou.lChaveModulo = 321;
  reg.RegQuemGerou.iData = DiaFixado() - 1;
  reg.lPonteiroColecao = 8;
  reg.usPonteiroFilial = 2;
  reg.cTipoRegistro = 2;
  reg.usPonteiroUsuarioEmissao = 99;
  uint32_t chave = 0;
  ASSERT_EQ(op_.GravaNecessidade(0, reg, &chave, 1), S_OK);
  EXPECT_EQ(chave, Chave(1));
  const std::string r = NC(chave);
  EXPECT_EQ(QDe(r, kSolicitada), 12 * kUm);
  EXPECT_EQ(QDe(r, kProgramada), 0);
  EXPECT_EQ(U32De(r, kGeradora), 9u);
  EXPECT_EQ(U32De(r, kProduto), kProdutoFabricado);
  EXPECT_EQ(U32De(r, 48), 321u);
  EXPECT_EQ(U32De(r, kColecao), 8u);
  EXPECT_EQ(U16De(r, kGrade1), 4);
  EXPECT_EQ(U16De(r, kGrade1 + 2), 5);
  EXPECT_EQ(U16De(r, kGrade1 + 4), 6);
  EXPECT_EQ(U16De(r, kFilialNC), 2);
  EXPECT_EQ(U16De(r, kUsuario), kUsuarioTeste);
  EXPECT_EQ(U16De(r, kEmissao), DiaFixado());
  EXPECT_EQ(U16De(r, 84), DiaFixado() - 1);
  EXPECT_EQ(U8De(r, kTipo), 2);
  ASSERT_FALSE(Linhas().empty());
  EXPECT_EQ(Linhas().back(),
            (LinhaCadastro{'I', std::string("Necessidade da produção "_ansi) +
                                    std::string(QVChaveParaTexto(chave))}));

  _REG_VARMO_OP_NECESSIDADE lido{};
  ASSERT_EQ(op_.LeNecessidade(chave, &lido), S_OK);
  EXPECT_EQ(lido.ulChave, chave);
  EXPECT_EQ(lido.vQtdSolicitada.int64, 12 * kUm);
  EXPECT_EQ(lido.regPosProduto.iPonteiroItemGrade3, 6);
  EXPECT_EQ(lido.RegQuemGerou.lChaveModulo, 321);
  EXPECT_EQ(lido.cTipoRegistro, 2);
}

TEST_F(Necessidade, RewritingChangesOnlyTheRequestedQuantityOfAManualRequirement) {
  const uint32_t manual = Nova(10);
  Poe(manual, kProgramada, Q(3 * kUm));
  _REG_VARMO_OP_NECESSIDADE reg{};
  reg.vQtdSolicitada.int64 = 15 * kUm;
  reg.regPosProduto.lPonteiroProduto = kProdutoInsumo;
  reg.usPonteiroFilial = 2;
  std::string antes = NC(manual);
  uint32_t chave = 0;
  ASSERT_EQ(op_.GravaNecessidade(manual, reg, &chave, 1), S_OK);
  EXPECT_EQ(chave, manual);
  antes.replace(kSolicitada, 8, Q(15 * kUm));
  EXPECT_EQ(NC(manual), antes);
  EXPECT_EQ(Linhas().back().operacao, 'A');

  // An order's requirement (kind 1) is the order's to change.
  const uint32_t daOP = Nova(4, kProdutoFabricado, kFilial, 0, 1);
  const std::string registro = NC(daOP);
  EXPECT_EQ(op_.GravaNecessidade(daOP, reg, &chave, 1), Erro(1589));
  EXPECT_EQ(chave, 0u);
  EXPECT_EQ(NC(daOP), registro);
}

TEST_F(Necessidade, RequirementRecordedOutsideTheOpenPeriodIsNeitherRewrittenNorCancelled) {
  const uint32_t chave = Nova(10);
  Poe(chave, kEmissao, U16(Dia(30, 4, 2024)));
  const std::string antes = NC(chave);
  _REG_VARMO_OP_NECESSIDADE reg{};
  reg.vQtdSolicitada.int64 = kUm;
  uint32_t saida = 0;
  EXPECT_EQ(op_.GravaNecessidade(chave, reg, &saida, 1), Erro(1649));
  EXPECT_EQ(op_.CancelaNecessidade(chave, 1), Erro(1649));
  EXPECT_EQ(NC(chave), antes);
}

TEST_F(Necessidade, WritersWaitForTheOrderLockUnlessTheCallerHoldsIt) {
  const uint32_t chave = Nova(10);
  const std::string antes = NC(chave);
  CQVArqMarca outro;
  ASSERT_EQ(outro.Marca(op_.GetDiretorio(), 29), 0);
  // The lock's 50 s go by on the replaced clock.
  EXPECT_EQ(op_.CancelaNecessidade(chave, 1), Erro(QVMensagemMarca(29, true)));
  uint32_t grupo = 0;
  EXPECT_EQ(Agrupa({chave}, &grupo), Erro(QVMensagemMarca(29, true)));
  EXPECT_EQ(NC(chave), antes);
  EXPECT_EQ(op_.CancelaNecessidade(chave, 0), S_OK);
  EXPECT_NE(U16De(NC(chave), kDataCancel), 0);
}

TEST_F(Necessidade, EveryOperationRefusesBeforeInitialisation) {
  CPPServidorOP op;
  uint32_t chave = 7;
  _REG_VARMO_OP_NECESSIDADE reg{};
  _REG_VARMO_PONTEIROS_ULONGPS lista{};
  uint32_t uma = Chave(1);
  _REG_VARMO_LISTA_QTDS_NECESSARIASPS qtds{};
  REG_VARMO_LISTA_DADO_ITEM_PEDIDO_OPPS itens{};
  EXPECT_EQ(op.GravaNecessidade(0, reg, &chave, 1), Erro(1585));
  EXPECT_EQ(op.CancelaNecessidade(uma, 1), Erro(1585));
  EXPECT_EQ(op.AgruparNecessidades({1, &uma}, &chave), Erro(1585));
  EXPECT_EQ(chave, 0u);
  EXPECT_EQ(op.LeNecessidade(uma, &reg), Erro(1585));
  EXPECT_EQ(op.LePonteirosNecessidades(1, &uma, &reg), Erro(1585));
  EXPECT_EQ(op.BuscaPonteirosNecessidades(&lista), Erro(1585));
  EXPECT_EQ(op.BuscaPonteirosNecessidadesPeriodo(1, 0xFFFF, &lista), Erro(1585));
  EXPECT_EQ(op.BuscaQtdsNecessarias({}, &qtds), Erro(1585));
  EXPECT_EQ(op.BuscaListaDadoPedido({}, &itens), Erro(1585));
  EXPECT_FALSE(empresa_.Existe(MesOP::Nome("PPNC", kMes)));
}

// ---------------------------------------------------------------------------------------------------
// Cancelling and grouping

TEST_F(Necessidade, CancellingSetsWhatIsLeftAsCancelledOnceAndKeyZeroDoesNothing) {
  EXPECT_EQ(op_.CancelaNecessidade(0, 1), S_OK);
  EXPECT_FALSE(empresa_.Existe(MesOP::Nome("PPNC", kMes)));

  const uint32_t chave = Nova(10);
  Poe(chave, kProgramada, Q(4 * kUm));
  ASSERT_EQ(op_.CancelaNecessidade(chave, 1), S_OK);
  const std::string r = NC(chave);
  EXPECT_EQ(QDe(r, kCancelada), 6 * kUm);
  EXPECT_EQ(U16De(r, kUsuarioCancel), kUsuarioTeste);
  EXPECT_EQ(U16De(r, kDataCancel), DiaFixado());
  EXPECT_EQ(Linhas().back(), (LinhaCadastro{'I', std::string("Cancelamento necessidade da produção "_ansi) +
                                                      std::string(QVChaveParaTexto(chave))}));
  const size_t linhas = Linhas().size();
  EXPECT_EQ(op_.CancelaNecessidade(chave, 1), S_OK);
  EXPECT_EQ(NC(chave), r);
  EXPECT_EQ(Linhas().size(), linhas);
}

TEST_F(Necessidade, GroupingSumsTheMembersWhichStopBeingPending) {
  const uint32_t a = Nova(4);
  const uint32_t b = Nova(6);
  uint32_t grupo = 0;
  ASSERT_EQ(Agrupa({b, a}, &grupo), S_OK);
  EXPECT_EQ(grupo, Chave(3));
  const std::string g = NC(grupo);
  EXPECT_EQ(QDe(g, kSolicitada), 10 * kUm);
  EXPECT_EQ(U32De(g, kProduto), kProdutoFabricado);
  EXPECT_EQ(U16De(g, kFilialNC), kFilial);
  EXPECT_EQ(U16De(g, kUsuario), kUsuarioTeste);
  EXPECT_EQ(U16De(g, kEmissao), DiaFixado());
  EXPECT_EQ(U8De(g, kTipo), 3);
  EXPECT_EQ(U32De(g, kPrimeiroMembro), 1u);
  EXPECT_EQ(U16De(g, kQtdMembros), 2);
  EXPECT_EQ(Arquivo("PPNA"), std::string(16, '\0') + Q(6 * kUm) + U32(b) + U32(0) + Q(4 * kUm) + U32(a) + U32(0));
  EXPECT_EQ(QDe(NC(a), kAgrupada), 4 * kUm);
  EXPECT_EQ(QDe(NC(b), kAgrupada), 6 * kUm);
  const std::string membros = std::string(QVChaveParaTexto(b)) + ", " + std::string(QVChaveParaTexto(a));
  const std::string texto = "Agrupamento " + std::string(QVChaveParaTexto(grupo)) + " das necessiades: " + membros;
  EXPECT_EQ(Linhas().back(), (LinhaCadastro{'I', texto}));

  _REG_VARMO_FILTROPS pendentes{};
  pendentes.cNecessidadePendente = 1;
  EXPECT_EQ(BuscaCom(pendentes), std::vector<uint32_t>{grupo});
}

TEST_F(Necessidade, CancellingAGroupGivesEachMemberItsShareBackOnlyOnce) {
  const uint32_t a = Nova(4);
  const uint32_t b = Nova(6);
  const uint32_t c = Nova(5);
  uint32_t grupo = 0;
  ASSERT_EQ(Agrupa({a, b, c}, &grupo), S_OK);
  // b was cancelled by hand while grouped; c got its share back from a cancellation cut short.
  ASSERT_EQ(op_.CancelaNecessidade(b, 1), S_OK);
  EXPECT_EQ(QDe(NC(b), kCancelada), 0);
  Poe(c, kAgrupada, Q(0));

  ASSERT_EQ(op_.CancelaNecessidade(grupo, 1), S_OK);
  EXPECT_EQ(QDe(NC(a), kAgrupada), 0);
  EXPECT_EQ(QDe(NC(a), kCancelada), 0);
  EXPECT_EQ(QDe(NC(b), kAgrupada), 0);
  EXPECT_EQ(QDe(NC(b), kCancelada), 6 * kUm) << "a member cancelled by hand receives it as cancelled";
  EXPECT_EQ(QDe(NC(c), kAgrupada), 0);
  EXPECT_EQ(QDe(NC(grupo), kCancelada), 15 * kUm);

  const std::string antes = Arquivo("PPNC");
  EXPECT_EQ(op_.CancelaNecessidade(grupo, 1), S_OK);
  EXPECT_EQ(Arquivo("PPNC"), antes) << "a second cancellation leaves the members alone";

  _REG_VARMO_FILTROPS pendentes{};
  pendentes.cNecessidadePendente = 1;
  EXPECT_EQ(BuscaCom(pendentes), (std::vector<uint32_t>{a, c}));
}

TEST_F(Necessidade, GroupingRefusesAMemberThatCannotJoin) {
  struct Caso {
    const char* nome;
    uint32_t erro;
    size_t membrosAnexados;  // member records left in PPNA
    size_t deslocamento;     // what the second member carries
    std::string bytes;
  };
  const std::vector<Caso> casos = {
      {"removed", 1586, 1, kRemovido, U8(1)},
      {"programmed", 1592, 1, kProgramada, Q(1)},
      {"scrapped", 1592, 1, kRefugo, Q(1)},
      {"cancelled by hand", 1592, 1, kDataCancel, U16(DiaFixado())},
      {"grouped", 1592, 1, kAgrupada, Q(kUm)},
      {"before the period", 1649, 1, kEmissao, U16(Dia(2, 4, 2024))},
      {"another product", 1589, 1, kProduto, U32(kProdutoInsumo)},
      {"another grid item", 1589, 1, kGrade1 + 4, U16(3)},
      {"another collection", 1589, 1, kColecao, U32(5)},
      {"another branch", 1589, 1, kFilialNC, U16(2)},
      {"given twice", 1587, 0, 0, ""},
  };
  for (const Caso& caso : casos) {
    SCOPED_TRACE(caso.nome);
    const uint32_t a = Nova(4);
    const uint32_t b = Nova(6);
    if (!caso.bytes.empty()) Poe(b, caso.deslocamento, caso.bytes);
    const std::string antes = Arquivo("PPNC");
    const size_t membros = QuantidadeRegistros("PPNA", kTamanhoMembro);
    uint32_t grupo = 99;
    EXPECT_EQ(Agrupa({a, caso.bytes.empty() ? a : b}, &grupo), Erro(caso.erro));
    EXPECT_EQ(grupo, 0u);
    EXPECT_EQ(Arquivo("PPNC"), antes) << "no group, no member marked";
    EXPECT_EQ(QuantidadeRegistros("PPNA", kTamanhoMembro), membros + caso.membrosAnexados);
  }
  uint32_t grupo = 0;
  EXPECT_EQ(Agrupa({}, &grupo), Erro(1587));
}

// ---------------------------------------------------------------------------------------------------
// Reading and searching

TEST_F(Necessidade, ReadingFollowsTheKeysAcrossMonths) {
  const uint32_t a = Nova(1);
  const uint32_t b = Nova(2);
  // A requirement of April, written as another writer would.
  const uint16_t abril = kMes - 1;
  const uint32_t registro = Anexa("PPNC", kTamanho, Q(3 * kUm) + std::string(kTamanho - 8, '\0'), abril);
  const uint32_t c = Chave(registro, abril);
  const uint32_t chaves[] = {b, c, a};
  _REG_VARMO_OP_NECESSIDADE lidos[3];
  ASSERT_EQ(op_.LePonteirosNecessidades(3, chaves, lidos), S_OK);
  for (int i = 0; i < 3; ++i) EXPECT_EQ(lidos[i].ulChave, chaves[i]);
  EXPECT_EQ(lidos[0].vQtdSolicitada.int64, 2 * kUm);
  EXPECT_EQ(lidos[1].vQtdSolicitada.int64, 3 * kUm);
  EXPECT_EQ(lidos[2].vQtdSolicitada.int64, kUm);
  EXPECT_EQ(op_.LePonteirosNecessidades(0, nullptr, nullptr), S_OK);

  _REG_VARMO_OP_NECESSIDADE lido{};
  EXPECT_EQ(op_.LeNecessidade(Chave(9), &lido), Erro(16021)) << "past the end";
  EXPECT_NE(op_.LeNecessidade(Chave(1, kMes - 2), &lido), S_OK) << "a month without requirements";
  EXPECT_FALSE(empresa_.Existe(MesOP::Nome("PPNC", kMes - 2)));

  // The period search starts at the period's first day: April's is not listed.
  EXPECT_EQ(Busca(), (std::vector<uint32_t>{a, b}));
  _REG_VARMO_PONTEIROS_ULONGPS lista{};
  ASSERT_EQ(op_.BuscaPonteirosNecessidadesPeriodo(Dia(1, 4, 2024), DiaFixado(), &lista), S_OK);
  EXPECT_EQ(lista.lQtd, 2u) << "April's record has no recording date";
  CoTaskMemFree(lista.plPonteiro);
}

TEST_F(Necessidade, StateFlagsOfTheFilterPassARequirementInAnyOfTheMarkedStates) {
  auto com = [&](std::vector<std::pair<size_t, int64_t>> quantidades) {
    const uint32_t chave = Nova(10);
    for (const auto& [deslocamento, unidades] : quantidades) Poe(chave, deslocamento, Q(unidades * kUm));
    return chave;
  };
  const uint32_t pendente = com({{kProgramada, 4}});
  const uint32_t programada = com({{kProgramada, 8}, {kCancelada, 2}, {kProduzida, 3}});
  const uint32_t atendida = com({{kProgramada, 10}, {kProduzida, 7}, {kRefugo, 1}, {kCancelada, 2}});
  const uint32_t cancelada = com({{kCancelada, 10}});
  const uint32_t agrupada = com({{kAgrupada, 10}});
  struct Caso {
    uint8_t _REG_VARMO_FILTROPS::*flag;
    std::vector<uint32_t> esperadas;
  };
  const std::vector<Caso> casos = {
      {&_REG_VARMO_FILTROPS::cNecessidadePendente, {pendente}},
      {&_REG_VARMO_FILTROPS::cNecessidadeProgramada, {programada}},
      {&_REG_VARMO_FILTROPS::cNecessidadeAtendida, {atendida}},
      {&_REG_VARMO_FILTROPS::cNecessidadeCancelada, {cancelada}},
      {&_REG_VARMO_FILTROPS::cNecessidadeAgrupada, {agrupada}},
  };
  for (const Caso& caso : casos) {
    _REG_VARMO_FILTROPS filtro{};
    filtro.*caso.flag = 1;
    EXPECT_EQ(BuscaCom(filtro), caso.esperadas) << caso.esperadas[0];
  }
  _REG_VARMO_FILTROPS dois{};
  dois.cNecessidadePendente = dois.cNecessidadeCancelada = 1;
  EXPECT_EQ(BuscaCom(dois), (std::vector<uint32_t>{pendente, cancelada}));
  EXPECT_EQ(BuscaCom({}), (std::vector<uint32_t>{pendente, programada, atendida, cancelada, agrupada}));
}

TEST_F(Necessidade, FilterFieldsNarrowTheListAndServicesListNothing) {
  const uint32_t manual = Nova(1);
  const uint32_t outra = Nova(1, kProdutoInsumo, 2, 6, 2);
  const uint32_t removida = Nova(1);
  Poe(removida, kRemovido, U8(1));
  Nova(1, kProdutoFabricado, 3);  // of a branch the user may not see
  struct Caso {
    const char* nome;
    std::function<void(_REG_VARMO_FILTROPS&)> define;
    std::vector<uint32_t> esperadas;
  };
  const std::vector<Caso> casos = {
      {"nothing", [](_REG_VARMO_FILTROPS&) {}, {manual, outra}},
      {"services", [](_REG_VARMO_FILTROPS& f) { f.cTipoProdutoServico = 'S'; }, {}},
      {"services among both", [](_REG_VARMO_FILTROPS& f) { f.cFiltroProdutoServico = 3; }, {}},
      {"product", [](_REG_VARMO_FILTROPS& f) { f.regPosicaoProdutoServico = {kProdutoInsumo, 0, 0, 0}; }, {outra}},
      {"grid item", [](_REG_VARMO_FILTROPS& f) {
         f.regPosicaoProdutoServico = {kProdutoFabricado, 1, 0, 0};
       }, {}},
      {"branch", [](_REG_VARMO_FILTROPS& f) { f.usPonteiroFilial = kFilial; }, {manual}},
      {"collection", [](_REG_VARMO_FILTROPS& f) { f.lPonteiroColecao = 6; }, {outra}},
      {"origin MRP", [](_REG_VARMO_FILTROPS& f) { f.cOrigemNecessidade = 0x4; }, {outra}},
      {"origin NP or group", [](_REG_VARMO_FILTROPS& f) { f.cOrigemNecessidade = 0x9; }, {manual}},
      {"emitted tomorrow on", [](_REG_VARMO_FILTROPS& f) { f.usDataEmissaoInicial = DiaFixado() + 1; }, {}},
      {"emitted up to today", [](_REG_VARMO_FILTROPS& f) { f.usDataEmissaoFinal = DiaFixado(); }, {manual, outra}},
  };
  for (const Caso& caso : casos) {
    _REG_VARMO_FILTROPS filtro{};
    caso.define(filtro);
    EXPECT_EQ(BuscaCom(filtro), caso.esperadas) << caso.nome;
  }
}

// A requirement made by an order passes a filter's sales order and client through the order's
// sales-order items.
TEST_F(Necessidade, SalesOrderAndClientOfTheFilterAreTheGeneratingOrdersOnes) {
  const PedidoSemeadoFT pedido = Pedido(kPedido, kFilial, {ItemPedido(kProdutoFabricado, 1, 0, 0, 0)});
  ASSERT_EQ(GravaPedidosFT(Instalacao::kEmpresa, {pedido}), S_OK);
  IntegraPedidos();
  // Order 1 of the month with one item (offsets 64, 110), of sales order 500 (item 32, 56).
  Anexa("PPIT", 90, std::string(32, '\0') + U32(kPedido) + std::string(20, '\0') + U8(3) + std::string(33, '\0'));
  Anexa("PPOP", 256, std::string(64, '\0') + U32(1) + std::string(42, '\0') + U16(1) + std::string(144, '\0'));
  const uint32_t daOP = Nova(1, kProdutoFabricado, kFilial, 0, 1);
  Poe(daOP, kGeradora, U32(1));
  Nova(1, kProdutoFabricado, kFilial, 0, 1);  // an order's requirement without its order
  Nova(1);                                      // a manual requirement has no sales order
  struct Caso {
    uint32_t pedido;
    int32_t cliente;
    std::vector<uint32_t> esperadas;
  };
  for (const Caso& caso : std::vector<Caso>{{kPedido, 0, {daOP}},
                                            {600, 0, {}},
                                            {0, 77, {daOP}},
                                            {0, 88, {}},
                                            {kPedido, 77, {daOP}}}) {
    _REG_VARMO_FILTROPS filtro{};
    filtro.lChavePedido = caso.pedido;
    filtro.lPonteiroCliente = caso.cliente;
    EXPECT_EQ(BuscaCom(filtro), caso.esperadas) << caso.pedido << " " << caso.cliente;
  }
  // A sales order that cannot be read lets nothing pass.
  vendas_.Pedido.FalhaMetodo("LePedido", 1, E_FAIL);
  _REG_VARMO_FILTROPS filtro{};
  filtro.lPonteiroCliente = 77;
  EXPECT_EQ(BuscaCom(filtro), std::vector<uint32_t>{});
}

// ---------------------------------------------------------------------------------------------------
// The demand

TEST_F(Necessidade, RequiredQuantitiesAddSalesOrdersAndRequirementsLessComplementsAndStock) {
  ASSERT_EQ(GravaPedidosFT(Instalacao::kEmpresa,
                           {Pedido(kPedido, kFilial,
                                   {ItemPedido(kProdutoFabricado, 20, 3, 2, 5),  // open 10
                                    ItemPedido(kProdutoTerceiros, 7, 0, 0, 0)}),  // bought, not made
                            Pedido(501, 2, {ItemPedido(kProdutoFabricado, 2, 0, 0, 0)})}),  // stock covers it
            S_OK);
  Saldo(kProdutoFabricado, kFilial, 3);
  Saldo(kProdutoFabricado, 2, 5);
  IntegraPedidos();
  DefineMestre([](PPRegistroMestre& mestre) { mestre.cConsiderarComplementoNaDemanda = 1; });
  OPTeste complemento = NovaOP({ProcessoOP{processos_[0]}}, {ItemOP{kProdutoFabricado, Quantidade(4)}});
  ASSERT_NE(GravaNova(complemento), 0u);
  Nova(6);
  uint32_t grupo = 0;
  ASSERT_EQ(Agrupa({Nova(1), Nova(3)}, &grupo), S_OK);  // counted once, through the group
  Nova(100, kProdutoFabricado, kFilial, 0, 1);          // an order's requirement without its order
  Nova(5, kProdutoInsumo, 2);

  _REG_VARMO_LISTA_QTDS_NECESSARIASPS lista{};
  ASSERT_EQ(op_.BuscaQtdsNecessarias({}, &lista), S_OK);
  ASSERT_EQ(lista.lQuantidade, 2);
  const _REG_VARMO_QTDS_NECESSARIASPS& fabricado = lista.pRegQtdsNecessarias[0];
  EXPECT_EQ(fabricado.regPosicaoProduto.lPonteiroProduto, kProdutoFabricado);
  EXPECT_EQ(fabricado.usFilial, kFilial);
  EXPECT_EQ(fabricado.lPonteiroColecao, 0);
  EXPECT_EQ(fabricado.vSaldoProduzir.int64, (10 - 4 - 3 + 6 + 4) * kUm);
  EXPECT_EQ(fabricado.vSaldoProduzirComQuebra.int64, 20 * kUm);
  EXPECT_EQ(fabricado.vQuantidadePedidos.int64, 20 * kUm);
  EXPECT_EQ(fabricado.vQuantidadeNecessidadeProducao.int64, 20 * kUm);
  EXPECT_EQ(fabricado.vQuantidadeComplemento.int64, 4 * kUm);
  EXPECT_EQ(fabricado.vQuantidadeEstoque.int64, 0);
  const _REG_VARMO_QTDS_NECESSARIASPS& insumo = lista.pRegQtdsNecessarias[1];
  EXPECT_EQ(insumo.regPosicaoProduto.lPonteiroProduto, kProdutoInsumo);
  EXPECT_EQ(insumo.usFilial, 2);
  EXPECT_EQ(insumo.vSaldoProduzir.int64, 5 * kUm);
  CoTaskMemFree(lista.pRegQtdsNecessarias);

  // Requirements alone; then sales orders alone, whose failing server ends the question.
  _REG_PP_FILTRO_QTDS_NECESSARIASPS filtro{};
  filtro.cLerNecessidades = 1;
  filtro.regPosicaoProduto.lPonteiroProduto = kProdutoFabricado;
  ASSERT_EQ(op_.BuscaQtdsNecessarias(filtro, &lista), S_OK);
  ASSERT_EQ(lista.lQuantidade, 1);
  EXPECT_EQ(lista.pRegQtdsNecessarias[0].vSaldoProduzir.int64, 10 * kUm);
  CoTaskMemFree(lista.pRegQtdsNecessarias);
  filtro = {};
  filtro.cLerPedidos = 1;
  vendas_.Pedido.FalhaMetodo("BuscaPonteiros", 1, E_FAIL);
  EXPECT_EQ(op_.BuscaQtdsNecessarias(filtro, &lista), E_FAIL);
  EXPECT_EQ(lista.lQuantidade, 0);
  EXPECT_EQ(lista.pRegQtdsNecessarias, nullptr);
}

TEST_F(Necessidade, RequiredQuantitiesSeparateCollectionsOnlyWhenAsked) {
  Nova(2, kProdutoFabricado, kFilial, 5);
  Nova(3, kProdutoFabricado, kFilial, 6);
  _REG_PP_FILTRO_QTDS_NECESSARIASPS filtro{};
  _REG_VARMO_LISTA_QTDS_NECESSARIASPS lista{};
  ASSERT_EQ(op_.BuscaQtdsNecessarias(filtro, &lista), S_OK);
  ASSERT_EQ(lista.lQuantidade, 1);
  EXPECT_EQ(lista.pRegQtdsNecessarias[0].vSaldoProduzir.int64, 5 * kUm);
  CoTaskMemFree(lista.pRegQtdsNecessarias);
  filtro.cSepararColecoes = 1;
  ASSERT_EQ(op_.BuscaQtdsNecessarias(filtro, &lista), S_OK);
  ASSERT_EQ(lista.lQuantidade, 2);
  EXPECT_EQ(lista.pRegQtdsNecessarias[1].lPonteiroColecao, 6);
  EXPECT_EQ(lista.pRegQtdsNecessarias[1].vSaldoProduzir.int64, 3 * kUm);
  CoTaskMemFree(lista.pRegQtdsNecessarias);
}

TEST_F(Necessidade, OrderItemCandidatesAreSalesOrderItemsThenRequirements) {
  ASSERT_EQ(GravaPedidosFT(Instalacao::kEmpresa,
                           {Pedido(kPedido, kFilial,
                                   {ItemPedido(kProdutoTerceiros, 9, 0, 0, 0),  // another product
                                    ItemPedido(kProdutoFabricado, 12, 1, 1, 0),
                                    ItemPedido(kProdutoFabricado, 2, 2, 0, 0)})}),  // nothing open
            S_OK);
  IntegraPedidos();
  const uint32_t necessidade = Nova(6);
  Poe(necessidade, kProgramada, Q(2 * kUm));
  Poe(necessidade, kGeradora, U32(4));
  Nova(6, kProdutoInsumo);
  Nova(6, kProdutoFabricado, 2);

  _REG_VARMO_KEY_ITEM_PEDIDO_OPPS chave{};
  chave.regPosicaoProdutoServico.lPonteiroProduto = kProdutoFabricado;
  chave.lPonteiroForEPTETPE = 77;
  chave.usPonteiroFilial = kFilial;
  REG_VARMO_LISTA_DADO_ITEM_PEDIDO_OPPS lista{};
  ASSERT_EQ(op_.BuscaListaDadoPedido(chave, &lista), S_OK);
  ASSERT_EQ(lista.lQuantidade, 2);
  const _REG_VARMO_OP_ITEMPS& pedido = lista.pRegDadoItemPedidoOP[0];
  EXPECT_EQ(pedido.vQuantidadeSaldo.int64, 10 * kUm);
  EXPECT_EQ(pedido.vQuantidadeProgramada.int64, 10 * kUm);
  EXPECT_EQ(pedido.lPonteiroPedidoNecessidade, kPedido);
  EXPECT_EQ(pedido.lPonteiroCliente, 77);
  EXPECT_EQ(pedido.regPosicaoProdutoServico.lPonteiroProduto, kProdutoFabricado);
  EXPECT_EQ(pedido.usPonteiroFilial, kFilial);
  EXPECT_EQ(pedido.usPonteiroMunicipio, 33);
  EXPECT_EQ(pedido.usDataEntrega, DiaFixado() + 10);
  EXPECT_EQ(pedido.usDataEmissao, DiaFixado() - 2);
  EXPECT_EQ(pedido.usIdxItemPedido, 1);
  EXPECT_EQ(std::string(pedido.cOrdemCompraCliente), "PC-9");
  EXPECT_EQ(pedido.cTipoItem, 3);
  EXPECT_EQ(pedido.cTipoProdutoServico, 'P');
  const _REG_VARMO_OP_ITEMPS& requisito = lista.pRegDadoItemPedidoOP[1];
  EXPECT_EQ(requisito.vQuantidadeSaldo.int64, 4 * kUm);
  EXPECT_EQ(requisito.vQuantidadeProgramada.int64, 4 * kUm);
  EXPECT_EQ(requisito.lPonteiroPedidoNecessidade, necessidade);
  EXPECT_EQ(requisito.lPonteiroOPGeradora, Chave(4));
  EXPECT_EQ(requisito.usPonteiroFilial, kFilial);
  EXPECT_EQ(requisito.usDataEmissao, DiaFixado());
  EXPECT_EQ(requisito.lPonteiroCliente, 0);
  EXPECT_EQ(requisito.cTipoItem, 2);
  EXPECT_EQ(requisito.cTipoProdutoServico, 'P');
  CoTaskMemFree(lista.pRegDadoItemPedidoOP);

  // The stored order filter plays no part.
  _REG_VARMO_FILTROPS servicos{};
  servicos.cTipoProdutoServico = 'S';
  ASSERT_EQ(op_.SetFiltro(servicos), S_OK);
  chave.lPonteiroColecao = 3;  // requirements of another collection
  ASSERT_EQ(op_.BuscaListaDadoPedido(chave, &lista), S_OK);
  EXPECT_EQ(lista.lQuantidade, 1);
  CoTaskMemFree(lista.pRegDadoItemPedidoOP);
}

}  // namespace
