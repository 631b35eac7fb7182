// The sales-order server's stand-in answers from its files: an order read with every nested array
// that the reader's release gives back, programmed-quantity differences applied all or none, an
// item released and the release reversed, the order search by product, client and dates; what it
// does not hold fails with the caller's output untouched, and a failed call changes no file.
#include "platform/family/vendas/PedidoFT.h"

#include <functional>
#include <string>
#include <vector>

#include "platform/family/vendas/ServidorVendas.h"
#include "tests/platform/family/FamiliaSemeada.h"

namespace {

constexpr HRESULT kNegado = HRESULT_FROM_WIN32(ERROR_ACCESS_DENIED);
constexpr uint32_t kOP1 = 0x1001;
constexpr uint32_t kOP2 = 0x2002;

CY Qtd(int64_t unidades) {
  CY valor;
  valor.int64 = unidades * 10000;
  return valor;
}

std::vector<uint8_t> Bytes(const char* texto) { return std::vector<uint8_t>(texto, texto + std::strlen(texto) + 1); }

DetalhePedidoSemeadoFT Detalhe(uint8_t marca, const char* dados) {
  DetalhePedidoSemeadoFT detalhe;
  std::memset(detalhe.cabeca, marca, sizeof detalhe.cabeca);
  if (dados) detalhe.dados = Bytes(dados);
  return detalhe;
}

ItemPedidoSemeadoFT Item(_REG_POSICAO_PRODUTOPS posicao, int64_t quantidade, int64_t programada) {
  ItemPedidoSemeadoFT item;
  item.regItem.regPosProdutoServico = posicao;
  item.regItem.vQuantidade = Qtd(quantidade);
  item.regItem.vQuantidadeProgramada = Qtd(programada);
  return item;
}

PedidoSemeadoFT Pedido(uint32_t chave, int32_t cliente, uint16_t emissao) {
  PedidoSemeadoFT pedido;
  pedido.ulChave = chave;
  pedido.regPedido.lPonteiroCliente = cliente;
  pedido.regPedido.iPonteiroFilial = 1;
  pedido.regPedido.iDataEmissao = emissao;
  return pedido;
}

std::string Conteudo(const uint8_t* bytes) { return bytes ? reinterpret_cast<const char*>(bytes) : "(null)"; }

// The filter and period as the requirement demand fills them: the state bytes and the period kind
// that it always passes, the open period 9000..9030.
tagREG_FILTRO_PEDIDOPS Filtro() {
  tagREG_FILTRO_PEDIDOPS filtro{};
  const uint8_t situacoes[8] = {0, 1, 0, 1, 1, 0, 0, 1};
  std::memcpy(filtro.cSituacoes, situacoes, sizeof situacoes);
  return filtro;
}

tagREG_PERIODO_PEDIDOPS Periodo(uint16_t tipo = 1) {
  tagREG_PERIODO_PEDIDOPS periodo{};
  periodo.iDataInicial = 9000;
  periodo.iDataFinal = 9030;
  periodo.iTipo = tipo;
  return periodo;
}

tagREG_LIBERA_ITEM_PEDIDOPS Liberacao(uint32_t pedido, uint16_t item, uint32_t op, int64_t quantidade,
                                      uint8_t estorno) {
  tagREG_LIBERA_ITEM_PEDIDOPS liberacao{};
  liberacao.vQuantidade = Qtd(quantidade);
  liberacao.lPonteiroPedido = pedido;
  liberacao.ulChaveOP = op;
  liberacao.usIdxItemPedido = item;
  liberacao.lPonteiroLote = 77;
  liberacao.cTipoProducao = 1;
  liberacao.cEstorno = estorno;
  return liberacao;
}

class PedidoFTTest : public FamiliaSemeada<ServidorVendas> {
 protected:
  void SetUp() override {
    FamiliaSemeada<ServidorVendas>::SetUp();
    // 501: client 70, two items, with every nested array on the first item and on the order.
    PedidoSemeadoFT p501 = Pedido(501, 70, 9000);
    Texto(p501.regPedido.szOrdemCompraCliente, "OC-77");
    p501.complemento = Bytes("obs pedido");
    p501.detalhes = {Detalhe(0xA1, "parcela 1"), Detalhe(0xA2, nullptr)};
    ItemPedidoSemeadoFT camiseta = Item({10, 1, 0, 0}, 100, 20);
    camiseta.regItem.iDataEntrega = 9020;
    camiseta.detalhes = {Detalhe(0xB1, "entrega")};
    tagREG_LIBERACAO_ITENS_PEDIDOPS feita{};
    feita.vQuantidade = Qtd(5);
    feita.ulChaveOP = kOP1;
    feita.cFaturado = 1;
    camiseta.liberacoes = {feita};
    camiseta.complemento = Bytes("obs item");
    p501.itens = {camiseta, Item({20, 0, 0, 0}, 50, 0)};
    // 502: client 71, size 2 of product 10. 503: client 70, emitted after the period.
    // 504: client 72, before the period, no items.
    PedidoSemeadoFT p502 = Pedido(502, 71, 9010);
    p502.itens = {Item({10, 2, 0, 0}, 30, 0)};
    PedidoSemeadoFT p503 = Pedido(503, 70, 9040);
    p503.itens = {Item({20, 0, 0, 0}, 10, 0)};
    ASSERT_EQ(GravaPedidosFT("TESTE", {p501, p502, p503, Pedido(504, 72, 8990)}), S_OK);

    pedido_.servidor = Cria<IQVFT_Pedido>(CLSID_QVFT_Pedido, IID_IQVFT_Pedido);
    ASSERT_NE(pedido_.servidor, nullptr);
    ASSERT_EQ(pedido_.servidor->Inicializa(Sessao<_REG_FT_INICIALIZA_PEDIDOPS>()), S_OK);
    blocos_ = TaskMemoryOutstandingBlocks();
  }

  IQVFT_Pedido* P() { return pedido_.servidor; }

  // The order as the next read gives it, read and released; fails the test when the read fails.
  struct Lido {
    std::vector<CY> programadas;
    std::vector<std::vector<tagREG_LIBERACAO_ITENS_PEDIDOPS>> liberacoes;
  };
  Lido Le(uint32_t chave) {
    Lido lido;
    tagREG_PEDIDOPS* pedido = nullptr;
    EXPECT_EQ(P()->LePedido(chave, -1, &pedido), S_OK);
    if (!pedido) return lido;
    for (uint16_t i = 0; i < pedido->iQtdItens; ++i) {
      const tagREG_ITENSPEDIDOPS& item = pedido->pregItens[i];
      lido.programadas.push_back(item.vQuantidadeProgramada);
      lido.liberacoes.emplace_back(item.pregLiberacoes, item.pregLiberacoes + item.iQtdLiberacoes);
    }
    LiberaRegistroPedidoFT(pedido);
    CoTaskMemFree(pedido);
    return lido;
  }

  // The bytes of every file of the server.
  std::string Arquivos() const {
    std::string tudo;
    for (const char* arquivo : {"PEDIDOS.DAT", "ITENSPED.DAT", "LIBERPED.DAT", "ANEXOPED.DAT"})
      tudo += instalacao_.dir().Read(std::string("empresas/TESTE/FT/") + arquivo) + '|';
    return tudo;
  }

  // One method: a call on what the server holds (checking what it answers) and one on what it
  // does not hold (checking that the output stays untouched); both free what they receive.
  struct Caso {
    const char* metodo;
    std::function<HRESULT()> conhecido;
    std::function<HRESULT()> desconhecido;
  };
  std::vector<Caso> Casos();

  Liberador<IQVFT_Pedido> pedido_{nullptr};
  int32_t blocos_ = 0;
};

std::vector<PedidoFTTest::Caso> PedidoFTTest::Casos() {
  auto* const sentinela = reinterpret_cast<tagREG_PEDIDOPS*>(0x1234);
  return {
      {"LePedido",
       [this] {
         tagREG_PEDIDOPS* pedido = nullptr;
         const HRESULT hr = P()->LePedido(502, 3, &pedido);
         if (SUCCEEDED(hr)) {
           EXPECT_TRUE(pedido->lPonteiroCliente == 71 && pedido->iQtdItens == 1);
           EXPECT_EQ(pedido->pregItens[0].regPosProdutoServico.iPonteiroItemGrade1, 2);
           LiberaRegistroPedidoFT(pedido);
           CoTaskMemFree(pedido);
         }
         return hr;
       },
       [this, sentinela] {
         tagREG_PEDIDOPS* pedido = sentinela;
         HRESULT hr = P()->LePedido(999, -1, &pedido);
         if (SUCCEEDED(hr)) hr = S_FALSE;  // the test wants a failure
         EXPECT_EQ(pedido, sentinela);
         if (FAILED(hr)) hr = P()->LePedido(501, 2, &pedido);  // a kind of reading no caller passes
         EXPECT_EQ(pedido, sentinela);
         return hr;
       }},
      {"AtualizaQuantidadesProgramadas",
       [this] {
         const tagREG_DIFERENCA_QTD_PEDIDOPS diferenca{Qtd(1), 502, 0, {}};
         return P()->AtualizaQuantidadesProgramadas(1, &diferenca);
       },
       [this] {
         const tagREG_DIFERENCA_QTD_PEDIDOPS diferenca{Qtd(1), 502, 1, {}};  // 502 has one item
         return P()->AtualizaQuantidadesProgramadas(1, &diferenca);
       }},
      {"LiberaItem",
       [this] {
         const tagREG_LIBERA_ITEM_PEDIDOPS liberacao = Liberacao(502, 0, kOP2, 3, 0);
         const HRESULT hr = P()->LiberaItem(1, &liberacao);
         if (SUCCEEDED(hr)) { EXPECT_EQ(hr, kItemPedidoLiberado); }
         return SUCCEEDED(hr) ? S_OK : hr;
       },
       [this] {
         const tagREG_LIBERA_ITEM_PEDIDOPS liberacao = Liberacao(505, 0, kOP2, 3, 0);
         return P()->LiberaItem(1, &liberacao);
       }},
      {"BuscaPonteiros",
       [this] {
         _REG_VARMO_PONTEIROS_ULONGPS lista{};
         const HRESULT hr = P()->BuscaPonteiros(Filtro(), Periodo(), &lista);
         if (SUCCEEDED(hr)) {
           EXPECT_EQ(std::vector<uint32_t>(lista.plPonteiro, lista.plPonteiro + lista.lQtd),
                     (std::vector<uint32_t>{501, 502, 504}));
         }
         CoTaskMemFree(lista.plPonteiro);
         return hr;
       },
       [this] {
         _REG_VARMO_PONTEIROS_ULONGPS lista{7, nullptr};
         const HRESULT hr = P()->BuscaPonteiros(Filtro(), Periodo(2), &lista);  // a period kind no caller passes
         EXPECT_TRUE(lista.lQtd == 7 && lista.plPonteiro == nullptr);
         return hr;
       }},
  };
}

}  // namespace

TEST_F(PedidoFTTest, EveryCallAnswersFromTheFilesAndFailsForWhatItDoesNotHold) {
  for (const Caso& caso : Casos()) {
    SCOPED_TRACE(caso.metodo);
    EXPECT_EQ(caso.conhecido(), S_OK);
    const std::string antes = Arquivos();
    EXPECT_LT(caso.desconhecido(), 0);
    EXPECT_EQ(Arquivos(), antes);
  }
  EXPECT_EQ(TaskMemoryOutstandingBlocks(), blocos_);
}

TEST_F(PedidoFTTest, AnInjectedFailureChangesNoFileAndFailsTheNextCallOfItsMethodOnly) {
  for (const Caso& caso : Casos()) {
    SCOPED_TRACE(caso.metodo);
    modulo_.Pedido.FalhaMetodo(caso.metodo, 1, kNegado);
    const std::string antes = Arquivos();
    EXPECT_EQ(caso.conhecido(), kNegado);
    EXPECT_EQ(Arquivos(), antes);
    EXPECT_EQ(caso.conhecido(), S_OK);
  }
  EXPECT_EQ(TaskMemoryOutstandingBlocks(), blocos_);
  Liberador<IQVFT_Pedido> novo{Cria<IQVFT_Pedido>(CLSID_QVFT_Pedido, IID_IQVFT_Pedido)};
  ASSERT_NE(novo.servidor, nullptr);
  tagREG_PEDIDOPS* pedido = nullptr;
  EXPECT_EQ(novo.servidor->LePedido(501, -1, &pedido), kFamiliaNaoInicializado);
}

TEST_F(PedidoFTTest, AReadGivesEveryNestedArrayAndTheReadersReleaseGivesThemAllBack) {
  tagREG_PEDIDOPS* pedido = nullptr;
  ASSERT_EQ(P()->LePedido(501, -1, &pedido), S_OK);
  ASSERT_NE(pedido, nullptr);
  // The record; the order's complement, details and the first detail's array; the items; the first
  // item's details with its array, its releases and its complement.
  EXPECT_EQ(TaskMemoryOutstandingBlocks() - blocos_, 9);

  EXPECT_EQ(pedido->lPonteiroCliente, 70);
  EXPECT_EQ(pedido->iDataEmissao, 9000);
  EXPECT_STREQ(pedido->szOrdemCompraCliente, "OC-77");
  EXPECT_EQ(pedido->cPossuiComplemento, 1);
  EXPECT_EQ(Conteudo(pedido->pComplemento), "obs pedido");
  ASSERT_EQ(pedido->iQtdDetalhes, 2);
  EXPECT_EQ(pedido->pregDetalhes[0].cReservado0[27], 0xA1);
  EXPECT_EQ(Conteudo(pedido->pregDetalhes[0].pDados), "parcela 1");
  EXPECT_EQ(pedido->pregDetalhes[1].cReservado0[0], 0xA2);
  EXPECT_EQ(pedido->pregDetalhes[1].pDados, nullptr);
  ASSERT_EQ(pedido->iQtdItens, 2);
  const tagREG_ITENSPEDIDOPS& camiseta = pedido->pregItens[0];
  EXPECT_EQ(camiseta.regPosProdutoServico.lPonteiroProduto, 10u);
  EXPECT_EQ(camiseta.vQuantidade.int64, Qtd(100).int64);
  EXPECT_EQ(camiseta.vQuantidadeProgramada.int64, Qtd(20).int64);
  EXPECT_EQ(camiseta.iDataEntrega, 9020);
  ASSERT_EQ(camiseta.iQtdDetalhes, 1);
  EXPECT_EQ(Conteudo(camiseta.pregDetalhes[0].pDados), "entrega");
  ASSERT_EQ(camiseta.iQtdLiberacoes, 1);
  EXPECT_EQ(camiseta.pregLiberacoes[0].ulChaveOP, kOP1);
  EXPECT_EQ(camiseta.pregLiberacoes[0].cFaturado, 1);
  EXPECT_EQ(Conteudo(camiseta.pComplemento), "obs item");
  const tagREG_ITENSPEDIDOPS& kit = pedido->pregItens[1];
  EXPECT_TRUE(kit.iQtdDetalhes == 0 && kit.pregDetalhes == nullptr && kit.iQtdLiberacoes == 0 &&
              kit.pregLiberacoes == nullptr && kit.pComplemento == nullptr);
  EXPECT_EQ(kit.regPosProdutoServico.lPonteiroProduto, 20u);

  LiberaRegistroPedidoFT(pedido);
  EXPECT_EQ(TaskMemoryOutstandingBlocks() - blocos_, 1);  // the record, the caller's to free
  EXPECT_TRUE(pedido->pComplemento == nullptr && pedido->cPossuiComplemento == 0);
  EXPECT_TRUE(pedido->pregDetalhes == nullptr && pedido->iQtdDetalhes == 0);
  EXPECT_TRUE(pedido->pregItens == nullptr && pedido->iQtdItens == 0);
  LiberaRegistroPedidoFT(pedido);  // a second release frees nothing
  CoTaskMemFree(pedido);
  EXPECT_EQ(TaskMemoryOutstandingBlocks(), blocos_);

  // An order without items or arrays holds null arrays and zero counts.
  ASSERT_EQ(P()->LePedido(504, 3, &pedido), S_OK);
  EXPECT_TRUE(pedido->iQtdItens == 0 && pedido->pregItens == nullptr && pedido->pComplemento == nullptr &&
              pedido->cPossuiComplemento == 0 && pedido->pregDetalhes == nullptr);
  EXPECT_EQ(TaskMemoryOutstandingBlocks() - blocos_, 1);
  CoTaskMemFree(pedido);
}

TEST_F(PedidoFTTest, ProgrammedQuantityDifferencesShowInTheNextReadAllOrNone) {
  const tagREG_DIFERENCA_QTD_PEDIDOPS diferencas[] = {
      {Qtd(30), 501, 0, {}}, {Qtd(-5), 501, 0, {}}, {Qtd(-2), 501, 1, {}}, {Qtd(7), 502, 0, {}}};
  ASSERT_EQ(P()->AtualizaQuantidadesProgramadas(4, diferencas), S_OK);
  Lido lido = Le(501);
  ASSERT_EQ(lido.programadas.size(), 2u);
  EXPECT_EQ(lido.programadas[0].int64, Qtd(45).int64);
  EXPECT_EQ(lido.programadas[1].int64, Qtd(-2).int64);
  EXPECT_EQ(Le(502).programadas.at(0).int64, Qtd(7).int64);

  // One difference on an item the order does not have: none is applied.
  const std::string antes = Arquivos();
  const tagREG_DIFERENCA_QTD_PEDIDOPS comUmaDesconhecida[] = {{Qtd(1), 501, 0, {}}, {Qtd(1), 503, 4, {}}};
  EXPECT_EQ(P()->AtualizaQuantidadesProgramadas(2, comUmaDesconhecida), kFamiliaNaoEncontrado);
  EXPECT_EQ(Arquivos(), antes);
  EXPECT_EQ(Le(501).programadas.at(0).int64, Qtd(45).int64);
  EXPECT_EQ(P()->AtualizaQuantidadesProgramadas(0, nullptr), S_OK);
  EXPECT_EQ(TaskMemoryOutstandingBlocks(), blocos_);
}

TEST_F(PedidoFTTest, AReleaseAndItsReversalChangeTheItemsReleasesOnceEach) {
  const tagREG_LIBERA_ITEM_PEDIDOPS libera = Liberacao(501, 0, kOP2, 12, 0);
  const tagREG_LIBERA_ITEM_PEDIDOPS estorna = Liberacao(501, 0, kOP2, 12, 1);
  ASSERT_EQ(P()->LiberaItem(1, &libera), kItemPedidoLiberado);
  Lido lido = Le(501);
  ASSERT_EQ(lido.liberacoes.at(0).size(), 2u);
  EXPECT_EQ(lido.liberacoes[0][1].ulChaveOP, kOP2);
  EXPECT_EQ(lido.liberacoes[0][1].vQuantidade.int64, Qtd(12).int64);
  EXPECT_EQ(lido.liberacoes[0][1].cFaturado, 0);
  EXPECT_TRUE(lido.liberacoes[1].empty());

  ASSERT_EQ(P()->LiberaItem(1, &estorna), kItemPedidoLiberado);
  lido = Le(501);
  ASSERT_EQ(lido.liberacoes.at(0).size(), 1u);
  EXPECT_EQ(lido.liberacoes[0][0].ulChaveOP, kOP1);  // the seeded one stays
  // Nothing left to reverse, or nothing to release: 0, and no file changes.
  const std::string antes = Arquivos();
  EXPECT_EQ(P()->LiberaItem(1, &estorna), kNadaALiberar);
  const tagREG_LIBERA_ITEM_PEDIDOPS nada = Liberacao(501, 0, kOP2, 0, 0);
  EXPECT_EQ(P()->LiberaItem(1, &nada), kNadaALiberar);
  const tagREG_LIBERA_ITEM_PEDIDOPS outraQuantidade = Liberacao(501, 0, kOP1, 4, 1);
  EXPECT_EQ(P()->LiberaItem(1, &outraQuantidade), kNadaALiberar);
  EXPECT_EQ(Arquivos(), antes);
  // The seeded release is reversed by its production order and quantity; an item it does not hold
  // fails.
  const tagREG_LIBERA_ITEM_PEDIDOPS semeada = Liberacao(501, 0, kOP1, 5, 1);
  EXPECT_EQ(P()->LiberaItem(1, &semeada), kItemPedidoLiberado);
  EXPECT_TRUE(Le(501).liberacoes.at(0).empty());
  const tagREG_LIBERA_ITEM_PEDIDOPS semItem = Liberacao(501, 2, kOP2, 1, 0);
  EXPECT_EQ(P()->LiberaItem(1, &semItem), kFamiliaNaoEncontrado);
  EXPECT_EQ(TaskMemoryOutstandingBlocks(), blocos_);
}

TEST_F(PedidoFTTest, TheSearchFiltersByProductClientAndDatesWithinThePeriod) {
  const struct {
    const char* caso;
    int32_t produto;
    uint16_t grade1;
    int32_t cliente;
    uint16_t de, ate;
    std::vector<uint32_t> chaves;
  } casos[] = {
      {"all up to the period's last day", 0, 0, 0, 0, 0, {501, 502, 504}},
      {"product", 10, 0, 0, 0, 0, {501, 502}},
      {"product and grid item", 10, 2, 0, 0, 0, {502}},
      {"a grid item no item has", 10, 3, 0, 0, 0, {}},
      {"second item's product", 20, 0, 0, 0, 0, {501}},
      {"client", 0, 0, 70, 0, 0, {501}},
      {"client and product", 10, 0, 71, 0, 0, {502}},
      {"a client without orders", 0, 0, 73, 0, 0, {}},
      {"emitted from", 0, 0, 0, 9005, 0, {502}},
      {"emitted up to", 0, 0, 0, 0, 8999, {504}},
      {"emitted between", 0, 0, 0, 9000, 9009, {501}},
  };
  for (const auto& c : casos) {
    SCOPED_TRACE(c.caso);
    tagREG_FILTRO_PEDIDOPS filtro = Filtro();
    filtro.lPonteiroProduto = c.produto;
    filtro.iPonteiroItemGrade1 = c.grade1;
    filtro.lPonteiroCliente = c.cliente;
    filtro.iDataEmissaoInicial = c.de;
    filtro.iDataEmissaoFinal = c.ate;
    _REG_VARMO_PONTEIROS_ULONGPS lista{};
    ASSERT_EQ(P()->BuscaPonteiros(filtro, Periodo(), &lista), S_OK);
    EXPECT_EQ(std::vector<uint32_t>(lista.plPonteiro, lista.plPonteiro + lista.lQtd), c.chaves);
    EXPECT_EQ(lista.plPonteiro == nullptr, c.chaves.empty());
    CoTaskMemFree(lista.plPonteiro);
  }
  EXPECT_EQ(TaskMemoryOutstandingBlocks(), blocos_);
}

TEST_F(PedidoFTTest, SeedingRefusesKeysItCannotKeepAndWritesNothing) {
  const std::string antes = Arquivos();
  PedidoSemeadoFT longo = Pedido(600, 1, 9000);
  longo.complemento.assign(89, 'x');
  for (const auto& pedidos : {std::vector<PedidoSemeadoFT>{Pedido(0, 1, 9000)},
                              std::vector<PedidoSemeadoFT>{Pedido(600, 1, 9000), Pedido(600, 2, 9000)},
                              std::vector<PedidoSemeadoFT>{longo}}) {
    EXPECT_EQ(GravaPedidosFT("TESTE", pedidos), E_INVALIDARG);
  }
  EXPECT_EQ(Arquivos(), antes);
  EXPECT_EQ(GravaPedidosFT("SEMFT", {Pedido(600, 1, 9000)}), kFamiliaSemDiretorio);
}
