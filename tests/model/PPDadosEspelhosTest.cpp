// What the mirrors of other modules and the report requests add to the pattern: the requisition's
// four levels and the arrays it never keeps, a product of one's own, the record numbers kept beside
// the service and branch records, the composed product summary, the sales order's compact records,
// the accessors of the mirrors at the other modules' offsets, and the two requests with lists.
// Records of other modules are written here through their byte offsets, as the other module lays
// them out, not through this system's declarations of them.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "model/CPPDadosCategoria.h"
#include "model/CPPDadosDetRelatorio.h"
#include "model/CPPDadosFilial.h"
#include "model/CPPDadosInfoProdServ.h"
#include "model/CPPDadosLocalES.h"
#include "model/CPPDadosMunicipio.h"
#include "model/CPPDadosNotaFiscalFT.h"
#include "model/CPPDadosNotaFiscalRE.h"
#include "model/CPPDadosPedidoFT.h"
#include "model/CPPDadosPlanoDF.h"
#include "model/CPPDadosProduto.h"
#include "model/CPPDadosRequisicaoInterna.h"
#include "model/CPPDadosRequisitante.h"
#include "model/CPPDadosUnMedida.h"
#include "model/CPPDadosUsuario.h"
#include "platform/com/taskmem.h"
#include "tests/model/ArvoreRegistro.h"

namespace {

template <class T>
void Poe(void* registro, size_t offset, T valor) {
  std::memcpy(static_cast<char*>(registro) + offset, &valor, sizeof(T));
}

template <class T>
T Le(const void* registro, size_t offset) {
  T valor;
  std::memcpy(&valor, static_cast<const char*>(registro) + offset, sizeof(T));
  return valor;
}

// A block of `quantidade` zeroed records of `tamanho` bytes from the task allocator, as a server
// returns it.
void* BlocoDoServidor(size_t quantidade, size_t tamanho) {
  void* bloco = CoTaskMemAlloc(quantidade * tamanho);
  std::memset(bloco, 0, quantidade * tamanho);
  return bloco;
}

CY Valor(int64_t v) {
  CY cy;
  cy.int64 = v;
  return cy;
}

// A requisition of 2 items, the first with 3 attendances of 2 components each and 1 component.
CPPDadosRequisicaoInterna MontaRequisicao() {
  CPPDadosRequisicaoInternaItemAtendimento atendimento;
  atendimento.AdicionaComposicao(CPPDadosRequisicaoInternaItemAtendimentoComposicao());
  atendimento.AdicionaComposicao(CPPDadosRequisicaoInternaItemAtendimentoComposicao());
  CPPDadosRequisicaoInternaItem item;
  for (uint16_t numero = 1; numero <= 3; ++numero) {
    atendimento.SetItem(numero);
    item.AdicionaAtendimento(atendimento);
  }
  item.AdicionaComposicao(CPPDadosRequisicaoInternaItemComposicao());
  CPPDadosRequisicaoInterna requisicao;
  requisicao.SetCodigo("RI-1");
  requisicao.AdicionaItem(item);
  requisicao.AdicionaItem(CPPDadosRequisicaoInternaItem());
  return requisicao;
}

TEST(CPPDadosRequisicaoInterna, FourLevelsOfArraysAtTheBaseSystemsOffsets) {
  _REG_REQUISICAOINTERNAPS registro;
  MontaRequisicao().CopiarPara(&registro);
  const void* itens = Le<void*>(&registro, 568);
  ASSERT_EQ(Le<uint32_t>(&registro, 560), 2u);
  const char* primeiro = static_cast<const char*>(itens);
  ASSERT_EQ(Le<uint32_t>(primeiro, 42), 3u);
  EXPECT_EQ(Le<uint32_t>(primeiro, 34), 1u);
  EXPECT_NE(Le<void*>(primeiro, 578), nullptr);
  const char* atendimentos = static_cast<const char*>(Le<void*>(primeiro, 586));
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(Le<uint32_t>(atendimentos + 76 * i, 52), 2u);
    EXPECT_EQ(Le<uint16_t>(atendimentos + 76 * i, 60), i + 1);  // the attendance's item number
  }
  const char* segundo = primeiro + 590;
  EXPECT_EQ(Le<uint32_t>(segundo, 42), 0u);
  EXPECT_EQ(Le<void*>(segundo, 586), nullptr);
  CPPDadosRequisicaoInterna::LiberaArraysDeCopiarPara(&registro);
}

TEST(CPPDadosRequisicaoInterna, QtdAtendimentosKeepsWhatCopiarDeCountedWhileTheListGrows) {
  _REG_REQUISICAOINTERNAPS registro;
  MontaRequisicao().CopiarPara(&registro);
  CPPDadosRequisicaoInterna lida;
  lida.CopiarDe(&registro);
  CPPDadosRequisicaoInterna::LiberaArraysDeCopiarPara(&registro);
  CPPDadosRequisicaoInternaItem& item = lida.GetRefItem(0);
  EXPECT_EQ(item.GetQtdAtendimentos(), 3u);
  item.AdicionaAtendimento(CPPDadosRequisicaoInternaItemAtendimento());
  EXPECT_EQ(item.GetQuantidadeAtendimento(), 4);
  EXPECT_EQ(item.GetQtdAtendimentos(), 3u);
  EXPECT_EQ(item.GetAtendimento(2).GetItem(), 3);
}

// The item's and the attendance's further arrays belong to the reader of the record: no object
// keeps their addresses, and the release of the server's record frees them, the attendance's
// entries' own arrays first.
TEST(CPPDadosRequisicaoInterna, ArraysItNeverKeepsAreLeftOutAndFreedWithTheServersRecord) {
  const int32_t blocosAntes = TaskMemoryOutstandingBlocks();
  _REG_REQUISICAOINTERNAPS servidor;
  std::memset(static_cast<void*>(&servidor), 0, sizeof(servidor));
  void* item = BlocoDoServidor(1, 590);
  Poe<uint32_t>(&servidor, 560, 1);
  Poe<void*>(&servidor, 568, item);
  Poe<uint32_t>(item, 38, 2);
  Poe<void*>(item, 582, BlocoDoServidor(2, 16));
  void* atendimento = BlocoDoServidor(1, 76);
  Poe<uint32_t>(item, 42, 1);
  Poe<void*>(item, 586, atendimento);
  void* adicionais = BlocoDoServidor(2, 24);
  Poe<uint32_t>(atendimento, 44, 2);
  Poe<void*>(atendimento, 68, adicionais);
  Poe<uint32_t>(static_cast<char*>(adicionais) + 24, 16, 3);
  Poe<void*>(static_cast<char*>(adicionais) + 24, 20, BlocoDoServidor(3, 8));

  CPPDadosRequisicaoInterna lida;
  lida.CopiarDe(&servidor);
  CPPDadosRequisicaoInterna::LiberaArraysDoServidor(&servidor);
  EXPECT_EQ(TaskMemoryOutstandingBlocks(), blocosAntes);

  _REG_REQUISICAOINTERNAPS saida;
  CPPDadosRequisicaoInterna(lida).CopiarPara(&saida);
  const void* itemSaida = Le<void*>(&saida, 568);
  EXPECT_EQ(Le<uint32_t>(itemSaida, 38), 0u);
  EXPECT_EQ(Le<void*>(itemSaida, 582), nullptr);
  const void* atendimentoSaida = Le<void*>(itemSaida, 586);
  EXPECT_EQ(Le<uint32_t>(atendimentoSaida, 44), 0u);
  EXPECT_EQ(Le<void*>(atendimentoSaida, 68), nullptr);
  CPPDadosRequisicaoInterna::LiberaArraysDeCopiarPara(&saida);
}

TEST(CPPDadosProduto, AProductOfOnesOwnIsNeitherAThirdPartysProductNorAKit) {
  EXPECT_TRUE(CPPDadosProduto().EhProdutoProprio());
  struct Caso {
    uint8_t deTerceiros;  // offset 741
    uint8_t kit;  // offset 749
    bool proprio;
  } casos[] = {{0, 0, true}, {0, 1, false}, {1, 0, false}, {0, 0x80, false}, {7, 3, false}};
  for (const Caso& c : casos) {
    SCOPED_TRACE(testing::Message() << int(c.deTerceiros) << "/" << int(c.kit));
    _REG_PRODUTOPS registro;
    std::memset(static_cast<void*>(&registro), 0xFF, sizeof(registro));
    Poe<uint8_t>(&registro, 741, c.deTerceiros);
    Poe<uint8_t>(&registro, 749, c.kit);
    CPPDadosProduto produto;
    produto.CopiarDe(&registro);
    EXPECT_EQ(produto.EhProdutoProprio(), c.proprio);
  }
}

// The service and the branch keep their record number beside the record: clearing zeroes it,
// copies carry it, CopiarDe (which clears) never brings it.
template <class C>
void ConfereRegistroAoLado(uint16_t codigoNoRegistro) {
  typename C::Registro registro;
  std::memset(static_cast<void*>(&registro), 0, sizeof(registro));
  Poe<uint16_t>(&registro, 0, codigoNoRegistro);
  C objeto;
  objeto.SetPosicao(7);
  EXPECT_EQ(C(objeto).GetPosicao(), 7u);
  objeto.CopiarDe(&registro);
  EXPECT_EQ(objeto.GetPosicao(), 0u);
  objeto.SetPosicao(9);
  C atribuido;
  atribuido = objeto;
  EXPECT_EQ(atribuido.GetPosicao(), 9u);
  objeto.Limpar();
  EXPECT_EQ(objeto.GetPosicao(), 0u);
}

TEST(CPPDadosServico, PosicaoIsKeptBesideTheRecordAndNeverTravelsInIt) {
  ConfereRegistroAoLado<CPPDadosServico>(0);
}

TEST(CPPDadosFilial, PosicaoIsKeptBesideTheRecordAndTheCodeIsItsFirstTwoBytes) {
  ConfereRegistroAoLado<CPPDadosFilial>(0x0302);
  __MIDL___MIDL_itf_Brisel_0000_0003 registro;
  std::memset(static_cast<void*>(&registro), 0, sizeof(registro));
  Poe<uint16_t>(&registro, 0, 0x0302);
  CPPDadosFilial filial;
  filial.CopiarDe(&registro);
  EXPECT_EQ(filial.GetCodigo(), 0x0302);
}

TEST(CPPDadosInfoProdServ, GridItemTextsReachTheirOwnItemAndCopiesAreDeep) {
  CPPDadosInfoProdServ info;
  info.SetCodigoItemGrade1("P");
  info.SetCodigoItemGrade2("1234567");
  info.SetNomeItemGrade3("Azul");
  EXPECT_STREQ(info.GetCodigoItemGrade2(), "12345");
  EXPECT_STREQ(info.GetItemGrade2().GetCodigoItemGrade(), "12345");
  EXPECT_STREQ(info.GetCodigoItemGrade1(), "P");
  EXPECT_STREQ(info.GetCodigoItemGrade3(), "");
  EXPECT_STREQ(info.GetItemGrade3().GetNomeItemGrade(), "Azul");

  CPPDadosProduto produto;
  produto.SetNome("Mesa");
  info.SetDadosProduto(produto);
  info.SetCodigo("M-1");
  info.SetTerceiro(true);
  info.SetPrecoVendaV8(Valor(123456));
  CPPDadosInfoProdServ copia;
  copia = info;
  CPPDadosProduto outro = copia.GetDadosProduto();
  outro.SetNome("Cadeira");
  copia.SetDadosProduto(outro);
  copia.SetNomeItemGrade3("Verde");
  EXPECT_STREQ(info.GetDadosProduto().GetNome(), "Mesa");
  EXPECT_STREQ(info.GetNomeItemGrade3(), "Azul");
  EXPECT_STREQ(copia.GetCodigo(), "M-1");
  EXPECT_TRUE(copia.GetTerceiro());
  EXPECT_EQ(copia.GetPrecoVendaV8().int64, 123456);

  info.Limpar();
  EXPECT_STREQ(info.GetCodigo(), "");
  EXPECT_FALSE(info.GetTerceiro());
  EXPECT_EQ(info.GetPrecoVendaV8().int64, 0);
  EXPECT_STREQ(info.GetDadosProduto().GetNome(), "");
  EXPECT_STREQ(info.GetCodigoItemGrade2(), "");
}

// A sales order as the server returns it: 2 items, the first with 2 releases.
struct PedidoDoServidor {
  void* pedido = BlocoDoServidor(1, sizeof(tagREG_PEDIDOPS));
  void* itens = BlocoDoServidor(2, 1388);
  void* liberacoes = BlocoDoServidor(2, 80);

  PedidoDoServidor() {
    Poe<int32_t>(pedido, 468, 501);
    Poe<uint16_t>(pedido, 514, 12);
    Poe<uint16_t>(pedido, 516, 3);
    Poe<uint16_t>(pedido, 518, 40100);
    Poe<uint16_t>(pedido, 520, 40130);
    Poe<uint16_t>(pedido, 522, 2);
    Poe<void*>(pedido, 2470, itens);
    Poe<CY>(itens, 58, Valor(70000));
    Poe<CY>(itens, 138, Valor(20000));
    Poe<_REG_POSICAO_PRODUTOPS>(itens, 48, {900, 1, 2, 0});
    Poe<uint16_t>(itens, 198, 40125);
    Poe<uint16_t>(itens, 190, 2);
    Poe<void*>(itens, 1380, liberacoes);
    char* segunda = static_cast<char*>(liberacoes) + 80;
    Poe<CY>(segunda, 0, Valor(10000));
    Poe<uint32_t>(segunda, 8, 4242);
    Poe<uint32_t>(segunda, 16, 0x12345);
    Poe<uint8_t>(segunda, 55, 0xC3);
  }
  tagREG_PEDIDOPS* operator->() { return static_cast<tagREG_PEDIDOPS*>(pedido); }
};

TEST(CPPDadosPedidoFT, KeepsTheListedFieldsOfEachLevelAndTheChildrenAsLists) {
  const int32_t blocosAntes = TaskMemoryOutstandingBlocks();
  PedidoDoServidor servidor;
  CPPDadosPedidoFT lido;
  lido.CopiarDe(servidor.operator->());
  CPPDadosPedidoFT::LiberaArraysDoServidor(servidor.operator->());
  CoTaskMemFree(servidor.pedido);
  EXPECT_EQ(TaskMemoryOutstandingBlocks(), blocosAntes);

  const CPPDadosPedidoFT pedido(lido);
  lido.Limpar();
  EXPECT_EQ(pedido.GetPonteiroCliente(), 501);
  EXPECT_EQ(pedido.GetPonteiroMunicipio(), 12);
  EXPECT_EQ(pedido.GetPonteiroFilial(), 3);
  EXPECT_EQ(pedido.GetDataEmissao(), 40100);
  EXPECT_EQ(pedido.GetDataEntrega(), 40130);
  ASSERT_EQ(pedido.GetQuantidadePedidoItem(), 2);
  const CPPDadosPedidoItemFT item = pedido.GetPedidoItem(0);
  EXPECT_EQ(item.GetQuantidade().int64, 70000);
  EXPECT_EQ(item.GetQuantidadeProgramada().int64, 20000);
  EXPECT_EQ(item.GetPosProdutoServico().lPonteiroProduto, 900u);
  EXPECT_EQ(item.GetPosProdutoServico().iPonteiroItemGrade2, 2);
  EXPECT_EQ(item.GetDataEntrega(), 40125);
  ASSERT_EQ(item.GetQuantidadeItemLiberacao(), 2);
  const CPPDadosPedidoItemLiberacaoFT liberacao = item.GetItemLiberacao(1);
  EXPECT_EQ(liberacao.GetQuantidade().int64, 10000);
  EXPECT_EQ(liberacao.GetChaveFaturamento(), 4242u);
  EXPECT_EQ(liberacao.GetChaveOP(), 0x12345u);
  EXPECT_EQ(liberacao.GetFaturado(), static_cast<char>(0xC3));
  EXPECT_EQ(pedido.GetPedidoItem(1).GetQuantidadeItemLiberacao(), 0);
  EXPECT_EQ(lido.GetQuantidadePedidoItem(), 0);
  EXPECT_EQ(lido.GetPonteiroCliente(), 0);
}

TEST(CPPDadosPedidoFT, ACountWithoutAnArrayOrAnArrayWithoutACountGivesNoItems) {
  PedidoDoServidor servidor;
  void* itens = servidor->pregItens;
  servidor->pregItens = nullptr;  // count 2, no array
  CPPDadosPedidoFT pedido;
  pedido.CopiarDe(servidor.operator->());
  EXPECT_EQ(pedido.GetQuantidadePedidoItem(), 0);
  EXPECT_EQ(pedido.GetPonteiroCliente(), 501);

  servidor->pregItens = static_cast<tagREG_ITENSPEDIDOPS*>(itens);
  servidor->iQtdItens = 0;
  pedido.CopiarDe(servidor.operator->());
  EXPECT_EQ(pedido.GetQuantidadePedidoItem(), 0);

  servidor->iQtdItens = 2;
  CPPDadosPedidoFT::LiberaArraysDoServidor(servidor.operator->());
  CoTaskMemFree(servidor.pedido);
}

// Each accessor of a mirror reads its value at the other module's offset.
TEST(EspelhosDeOutrosModulos, EachAccessorReadsTheOtherModulesOffset) {
  struct Caso {
    const char* nome;
    std::function<bool()> confere;
  };
#define CAMPO_EM(C, Getter, T, offset, valor)                               \
  Caso {                                                                      \
    #C "::" #Getter, [] {                                                     \
      typename C::Registro registro;                                          \
      std::memset(static_cast<void*>(&registro), 0, sizeof(registro));        \
      Poe<T>(&registro, offset, static_cast<T>(valor));                      \
      C objeto;                                                               \
      objeto.CopiarDe(&registro);                                             \
      return static_cast<T>(objeto.Getter()) == static_cast<T>(valor);       \
    }                                                                         \
  }
  const Caso casos[] = {
      CAMPO_EM(CPPDadosProduto, GetPonteiroProduto, int32_t, 104, 70001),
      CAMPO_EM(CPPDadosProduto, GetPonteiroDescricao, int32_t, 108, 70002),
      CAMPO_EM(CPPDadosProduto, GetPonteiroUnidadeMedidaEstoque, uint16_t, 154, 301),
      CAMPO_EM(CPPDadosProduto, GetPonteiroGrade2, uint16_t, 168, 302),
      CAMPO_EM(CPPDadosProduto, GetPonteiroUnidadeMedidaCompra, uint16_t, 184, 303),
      CAMPO_EM(CPPDadosProduto, GetPrazoValidade, uint16_t, 186, 304),
      CAMPO_EM(CPPDadosProduto, GetQuantidadeCasasDecimaisCompras, uint8_t, 737, 3),
      CAMPO_EM(CPPDadosProduto, GetTipo, uint8_t, 740, 'P'),
      CAMPO_EM(CPPDadosProduto, GetEmbalagem, uint8_t, 746, 1),
      CAMPO_EM(CPPDadosProduto, GetTipoRI, uint8_t, 764, 2),
      CAMPO_EM(CPPDadosServico, GetPonteiroUnidadeMedidaCompra, uint16_t, 48, 305),
      CAMPO_EM(CPPDadosServico, GetServicoDeTerceiros, uint8_t, 493, 1),
      CAMPO_EM(CPPDadosServico, GetInativo, uint8_t, 495, 1),
      CAMPO_EM(CPPDadosGradeProduto, GetPosicao, uint16_t, 0, 306),
      CAMPO_EM(CPPDadosLocalES, GetTipo, uint8_t, 94, 4),
      CAMPO_EM(CPPDadosLocalES, GetLocalExclusivo, uint8_t, 100, 1),
      CAMPO_EM(CPPDadosLocalES, GetPonteiroContaCusto, int32_t, 110, 70003),
      CAMPO_EM(CPPDadosLocalES, GetPosicao, int32_t, 114, 70004),
      CAMPO_EM(CPPDadosFilial, GetPonteiroFeriado, uint8_t, 1707, 5),
      CAMPO_EM(CPPDadosPlanoDF, GetIndTitulo, int32_t, 4, 70005),
      CAMPO_EM(CPPDadosPlanoDF, GetTipo, uint8_t, 110, 'A'),
      CAMPO_EM(CPPDadosPlanoDF, GetExcluida, uint8_t, 177, 1),
      CAMPO_EM(CPPDadosRequisitante, GetPonteiroFilial, uint16_t, 4, 307),
      CAMPO_EM(CPPDadosRequisitante, GetCodigo, int32_t, 8, 70006),
      CAMPO_EM(CPPDadosRequisitante, GetPonteiroDepartamento, int32_t, 108, 70007),
      CAMPO_EM(CPPDadosRequisitante, GetInativo, int32_t, 112, 1),
      CAMPO_EM(CPPDadosCategoria, GetTipo, uint8_t, 76, 6),
      CAMPO_EM(CPPDadosCategoria, GetPosicao, uint16_t, 78, 308),
      CAMPO_EM(CPPDadosUnMedida, GetCasasDecimais, uint8_t, 58, 2),
      CAMPO_EM(CPPDadosUnServico, GetFormatoHorario, uint8_t, 55, 1),
      CAMPO_EM(CPPDadosUsuario, GetUsuarioSupervisor, uint8_t, 155, 1),
      CAMPO_EM(CPPDadosNotaFiscalFT, GetNumeroNotaFiscal, int32_t, 1082, 70008),
      CAMPO_EM(CPPDadosNotaFiscalFT, GetPonteiroEstado, uint16_t, 1140, 309),
      CAMPO_EM(CPPDadosNotaFiscalFT, GetFilial, uint16_t, 1146, 310),
      CAMPO_EM(CPPDadosNotaFiscalFT, GetHoraEmissao, uint16_t, 1150, 311),
      CAMPO_EM(CPPDadosNotaFiscalFT, GetDataSaida, uint16_t, 1154, 312),
      CAMPO_EM(CPPDadosNotaFiscalFT, GetPonteiroDocumento, uint16_t, 1166, 313),
      CAMPO_EM(CPPDadosNotaFiscalFT, GetCodigoEhFornecedor, uint8_t, 1232, 1),
      CAMPO_EM(CPPDadosNotaFiscalRE, GetPonteiroEsteRE, int32_t, 38, 70009),
      CAMPO_EM(CPPDadosNotaFiscalRE, GetDataEntrada, uint16_t, 44, 314),
      CAMPO_EM(CPPDadosNotaFiscalRE, GetDataEmissao, uint16_t, 46, 315),
      CAMPO_EM(CPPDadosNotaFiscalRE, GetPonteiroTipoDocumento, uint16_t, 54, 316),
  };
#undef CAMPO_EM
  for (const Caso& c : casos) EXPECT_TRUE(c.confere()) << c.nome;
}

TEST(CPPDadosDetRelatorioCapacidade, WritesTheListsRealCountWhateverTheRecordCopyHolds) {
  CPPDadosDetRelatorioCapacidade pedido;
  pedido.SetQtdProdutosServicos(5);
  _REG_PP_DET_RELATORIO_CAPACIDADEPS registro;
  pedido.CopiarPara(&registro);
  EXPECT_EQ(registro.usQtdProdutosServicos, 0);
  EXPECT_EQ(Campo(registro.pregProdutosServicos), nullptr);

  for (int32_t colecao = 1; colecao <= 3; ++colecao) {
    CPPDadosDetRelatorioCapacidadeProduto produto;
    produto.SetPonteiroColecao(colecao);
    pedido.AdicionaProdutoServico(produto);
  }
  pedido.CopiarPara(&registro);
  ASSERT_EQ(registro.usQtdProdutosServicos, 3);
  EXPECT_EQ(Le<int32_t>(registro.pregProdutosServicos, 2 * 22), 3);  // 22-byte elements
  EXPECT_EQ(pedido.GetQtdProdutosServicos(), 5);
  CPPDadosDetRelatorioCapacidade::LiberaArraysDeCopiarPara(&registro);
}

TEST(CPPDadosDetRelatorioInsumoPorOP, TheTwoNumberListsAreEmbeddedCopies) {
  CPPDadosPonteirosULONG ordens;
  ordens.AdicionaPonteiro(0x1001);
  ordens.AdicionaPonteiro(0x2002);
  CPPDadosDetRelatorioInsumoPorOP pedido;
  pedido.SetListaOP(ordens);
  ordens.AdicionaPonteiro(0x3003);
  EXPECT_EQ(pedido.GetListaOP().GetQuantidadePonteiro(), 2);

  _REG_PP_DET_RELATORIO_INSUMO_POR_OPPS registro;
  pedido.CopiarPara(&registro);
  ASSERT_EQ(registro.regListaOP.lQtd, 2u);
  EXPECT_EQ(registro.regListaOP.plPonteiro[1], 0x2002u);
  EXPECT_EQ(registro.regListaProcesso.lQtd, 0u);
  EXPECT_EQ(Campo(registro.regListaProcesso.plPonteiro), nullptr);

  CPPDadosDetRelatorioInsumoPorOP lido;
  lido.CopiarDe(&registro);
  CPPDadosDetRelatorioInsumoPorOP::LiberaArraysDeCopiarPara(&registro);
  EXPECT_EQ(lido.GetListaOP().GetPonteiro(0), 0x1001u);
  EXPECT_EQ(lido.GetListaProcesso().GetQuantidadePonteiro(), 0);
}

}  // namespace
