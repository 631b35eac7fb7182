// What single classes add to the pattern: embedded objects, the value beside the report's record,
// the movement's arrays of the inventory module, the occupancy records, the target keys, the
// filters' fields without accessors, the balance list and the scrap report.
#include <gtest/gtest.h>

#include <cstring>

#include "model/CPPDadosApontamentoRefugo.h"
#include "model/CPPDadosApontamentoRetornoIndustrializacao.h"
#include "model/CPPDadosFiltroApontamento.h"
#include "model/CPPDadosMetasProducao.h"
#include "model/CPPDadosNecessidade.h"
#include "model/CPPDadosOcupacaoFabrica.h"
#include "model/CPPDadosSaldoProdutoES.h"
#include "platform/com/taskmem.h"
#include "tests/model/ArvoreRegistro.h"
#include "tests/model/OrdemExemplo.h"

namespace {

template <class R>
R Zerado() {
  R registro;
  std::memset(static_cast<void*>(&registro), 0, sizeof(R));
  return registro;
}

TEST(CPPDadosOPProcessoApontamento, IdxToleranciaTravelsWithCopiesButNeverThroughTheRecord) {
  CPPDadosOPProcessoApontamento apontamento;
  EXPECT_EQ(apontamento.GetIdxTolerancia(), -1);
  EXPECT_EQ(apontamento.GetMovimentoRefugo().GetQuantidadeContabil(), 0);

  apontamento.SetIdxTolerancia(3);
  CPPDadosOPProcessoApontamento atribuido;
  atribuido = apontamento;
  EXPECT_EQ(atribuido.GetIdxTolerancia(), 3);
  EXPECT_EQ(CPPDadosOPProcessoApontamento(apontamento).GetIdxTolerancia(), 3);

  _REG_VARMO_OP_APONTAMENTO registro;
  apontamento.CopiarPara(&registro);
  apontamento.CopiarDe(&registro);
  EXPECT_EQ(apontamento.GetIdxTolerancia(), -1);
  CPPDadosOPProcessoApontamento::LiberaArraysDeCopiarPara(&registro);
}

TEST(CPPDadosOPProcessoApontamento, EmbeddedObjectsAreCopiesAndWriteTheirOwnArrays) {
  CPPDadosOPMovimento refugo = MontaMovimento(1, 3);
  CPPDadosOPProcessoApontamento apontamento;
  apontamento.SetMovimentoRefugo(refugo);
  refugo.AdicionaContabil(CPPDadosMovimentoContabilizacao());
  refugo.SetDocumento("outro");
  EXPECT_EQ(apontamento.GetMovimentoRefugo().GetQuantidadeContabil(), 1);
  EXPECT_STREQ(apontamento.GetMovimentoRefugo().GetDocumento(), "DOC");

  _REG_VARMO_OP_APONTAMENTO registro;
  apontamento.CopiarPara(&registro);
  EXPECT_EQ(registro.regMovimentoRefugo.iQuantidadeContabil, 1);
  EXPECT_EQ(registro.regMovimentoRefugo.pregContabil[0].iQuantidadeGerencial, 3);
  EXPECT_EQ(registro.regRemessaIndustrializacao.usQtdInsumos, 0);

  CPPDadosOPProcessoApontamento lido;
  lido.CopiarDe(&registro);
  EXPECT_EQ(lido.GetMovimentoRefugo().GetRefContabil(0).GetQuantidadeGerencial(), 3);
  CPPDadosOPProcessoApontamento::LiberaArraysDeCopiarPara(&registro);
  EXPECT_EQ(Campo(registro.regMovimentoRefugo.pregContabil), nullptr);
}

TEST(CPPDadosApontamentoRetornoIndustrializacao, RebuildsTheReturnsArraysFromTheEmbeddedReturn) {
  const int32_t blocosAntes = TaskMemoryOutstandingBlocks();
  CPPDadosApontamentoRetornoIndustrializacao modelo;
  CPPDadosRetornoIndustrializacaoExterna retorno;
  retorno.AdicionaMovimento(MontaMovimento(1, 1));
  modelo.SetRetorno(retorno);
  modelo.SetChaveOP(42);
  _REG_VARMO_APONTAMENTO_RETORNO_INDUSTRIALIZACAOPS cliente = Zerado<decltype(cliente)>();
  modelo.CopiarPara(&cliente);

  _REG_VARMO_APONTAMENTO_RETORNO_INDUSTRIALIZACAOPS servidor = cliente;
  CopiaComoServidor(&cliente.regRetorno, &servidor.regRetorno, kFormaRetorno);
  CPPDadosApontamentoRetornoIndustrializacao lido;
  lido.CopiarDe(&servidor);
  EXPECT_EQ(lido.GetRetorno().GetQuantidadeMovimento(), 1);
  EXPECT_EQ(lido.GetChaveOP(), 42u);

  _REG_VARMO_APONTAMENTO_RETORNO_INDUSTRIALIZACAOPS saida;
  lido.CopiarPara(&saida);
  EXPECT_NE(Campo(saida.regRetorno.pregMovimentos),
            Campo(servidor.regRetorno.pregMovimentos));
  EXPECT_EQ(DiferencaEntreArvores(&cliente.regRetorno, &saida.regRetorno, kFormaRetorno), "");

  CPPDadosApontamentoRetornoIndustrializacao::LiberaArraysDoServidor(&servidor);
  EXPECT_EQ(TaskMemoryOutstandingBlocks(), blocosAntes);
  CPPDadosApontamentoRetornoIndustrializacao::LiberaArraysDeCopiarPara(&saida);
  CPPDadosApontamentoRetornoIndustrializacao::LiberaArraysDeCopiarPara(&cliente);
}

TEST(CPPDadosRetornoIndustrializacaoExterna, WritesTheScrapMovementWithArraysOfItsOwn) {
  CPPDadosRetornoIndustrializacaoExterna modelo = MontaRetorno();
  _REG_VARMO_RETORNO_INDUSTRIALIZACAO_EXTERNAPS cliente = Zerado<decltype(cliente)>();
  modelo.CopiarPara(&cliente);
  EXPECT_EQ(cliente.usQtdMvtoEstoque, 2);
  EXPECT_EQ(cliente.usQtdIndustrializadores, 1);
  EXPECT_EQ(cliente.pregIndustrializadores[0].usQtdOP, 3);
  ASSERT_EQ(cliente.usQtdChaveApontamentoImportado, 2);
  EXPECT_EQ(cliente.plistaChaveApontamentoImportado[1], 12u);

  _REG_VARMO_RETORNO_INDUSTRIALIZACAO_EXTERNAPS servidor;
  CopiaComoServidor(&cliente, &servidor, kFormaRetorno);
  CPPDadosRetornoIndustrializacaoExterna lido;
  lido.CopiarDe(&servidor);
  _REG_VARMO_RETORNO_INDUSTRIALIZACAO_EXTERNAPS saida = Zerado<decltype(saida)>();
  lido.CopiarPara(&saida);
  ASSERT_EQ(saida.regMovimentoRefugo.iQuantidadeContabil, 1);
  EXPECT_NE(Campo(saida.regMovimentoRefugo.pregContabil),
            Campo(servidor.regMovimentoRefugo.pregContabil));
  EXPECT_EQ(DiferencaEntreArvores(&cliente, &saida, kFormaRetorno), "");

  CPPDadosRetornoIndustrializacaoExterna::LiberaArraysDoServidor(&servidor);
  CPPDadosRetornoIndustrializacaoExterna::LiberaArraysDeCopiarPara(&saida);
  CPPDadosRetornoIndustrializacaoExterna::LiberaArraysDeCopiarPara(&cliente);
}

// The inventory module's composition and reference arrays of a movement belong to whoever read
// the movement; no copy may keep their addresses once that reader has freed them.
TEST(CPPDadosOPMovimento, KeepsNoAddressOfTheInventoryArraysItDoesNotManage) {
  const int32_t blocosAntes = TaskMemoryOutstandingBlocks();
  _REG_ES_MOVIMENTOPS cliente = Zerado<_REG_ES_MOVIMENTOPS>();
  MontaMovimento(2, 3).CopiarPara(&cliente);
  _REG_ES_COMPOSICAO_PRODUTOPS composicao[2] = {};
  _REG_ES_MOV_REFERENCIAPS referencia[1] = {{77}};
  cliente.iQtdItensComposicao = 2;
  cliente.pregComposicao = composicao;
  cliente.iQtdMovsReferencia = 1;
  cliente.pregMovReferencia = referencia;
  _REG_ES_MOVIMENTOPS servidor;
  ASSERT_EQ(CopiaComoServidor(&cliente, &servidor, kFormaMovimento), 5);

  CPPDadosOPMovimento lido;
  lido.CopiarDe(&servidor);
  CPPDadosOPMovimento::LiberaArraysDoServidor(&servidor);
  EXPECT_EQ(TaskMemoryOutstandingBlocks(), blocosAntes);
  EXPECT_EQ(Campo(servidor.pregComposicao), nullptr);

  CPPDadosOPMovimento copia(lido);
  for (const CPPDadosOPMovimento* movimento : {&lido, &copia}) {
    _REG_ES_MOVIMENTOPS saida;
    std::memset(static_cast<void*>(&saida), 0xCD, sizeof(saida));
    movimento->CopiarPara(&saida);
    EXPECT_EQ(saida.iQtdItensComposicao, 0);
    EXPECT_EQ(Campo(saida.pregComposicao), nullptr);
    EXPECT_EQ(saida.iQtdMovsReferencia, 0);
    EXPECT_EQ(Campo(saida.pregMovReferencia), nullptr);
    EXPECT_EQ(saida.iQuantidadeContabil, 2);
    CPPDadosOPMovimento::LiberaArraysDeCopiarPara(&saida);
  }
  cliente.pregComposicao = nullptr;
  cliente.pregMovReferencia = nullptr;
  CPPDadosOPMovimento::LiberaArraysDeCopiarPara(&cliente);
}

TEST(CPPDadosOPMovimento, AnAddedEntryCountsInTheListButNotInTheRecordCopy) {
  _REG_ES_MOVIMENTOPS registro = Zerado<_REG_ES_MOVIMENTOPS>();
  MontaMovimento(2, 3).CopiarPara(&registro);
  CPPDadosOPMovimento lido;
  lido.CopiarDe(&registro);
  CPPDadosOPMovimento::LiberaArraysDeCopiarPara(&registro);
  EXPECT_EQ(lido.GetQuantidadeContabil(), 2);
  EXPECT_EQ(lido.GetQtdContabil(), 2);
  EXPECT_EQ(lido.GetRefContabil(1).GetQuantidadeGerencial(), 3);

  lido.AdicionaContabil(CPPDadosMovimentoContabilizacao());
  EXPECT_EQ(lido.GetQuantidadeContabil(), 3);
  EXPECT_EQ(lido.GetQtdContabil(), 2);
  lido.CopiarPara(&registro);
  EXPECT_EQ(registro.iQuantidadeContabil, 3);
  EXPECT_EQ(registro.pregContabil[0].iQuantidadeGerencial, 3);
  EXPECT_EQ(registro.pregContabil[2].iQuantidadeGerencial, 0);
  EXPECT_EQ(Campo(registro.pregContabil[2].pregGerencial), nullptr);
  CPPDadosOPMovimento::LiberaArraysDeCopiarPara(&registro);
}

TEST(CPPDadosOcupacaoFabrica, TwoLevelsOfArraysAndTheReservedBytesCarriedThrough) {
  const int32_t blocosAntes = TaskMemoryOutstandingBlocks();
  CPPDadosOcupacaoFabrica ocupacao;
  CPPDadosOcupacaoFabricaProcesso comOrdens;
  for (uint32_t chave = 1; chave <= 3; ++chave) {
    CPPDadosOcupacaoFabricaOP op;
    op.SetChaveOP(chave);
    comOrdens.AdicionaOP(op);
  }
  ocupacao.AdicionaProcesso(comOrdens);
  ocupacao.AdicionaProcesso(CPPDadosOcupacaoFabricaProcesso());
  _REG_PP_OCUPACAO_FABRICA_OUTPS cliente;
  ocupacao.CopiarPara(&cliente);
  ASSERT_EQ(cliente.usQtdProcessos, 2);
  EXPECT_EQ(cliente.pregProcessos[0].usQtdOPs, 3);
  EXPECT_EQ(cliente.pregProcessos[0].pregOPs[2].ulChaveOP, 3u);
  EXPECT_EQ(cliente.pregProcessos[1].usQtdOPs, 0);
  EXPECT_EQ(Campo(cliente.pregProcessos[1].pregOPs), nullptr);
  EXPECT_EQ(cliente.pregProcessos[0].cFiller[31], 0);

  // The server's forecast fills the reserved bytes; the report's copy carries them unchanged.
  std::memset(cliente.pregProcessos[1].cFiller, 0x5A, 32);
  _REG_PP_OCUPACAO_FABRICA_OUTPS servidor;
  CopiaComoServidor(&cliente, &servidor, kFormaOcupacao);
  CPPDadosOcupacaoFabrica lida;
  lida.CopiarDe(&servidor);
  CPPDadosOcupacaoFabrica::LiberaArraysDoServidor(&servidor);
  EXPECT_EQ(TaskMemoryOutstandingBlocks(), blocosAntes);
  _REG_PP_OCUPACAO_FABRICA_OUTPS saida;
  CPPDadosOcupacaoFabrica(lida).CopiarPara(&saida);
  EXPECT_EQ(DiferencaEntreArvores(&cliente, &saida, kFormaOcupacao), "");
  CPPDadosOcupacaoFabrica::LiberaArraysDeCopiarPara(&saida);
  CPPDadosOcupacaoFabrica::LiberaArraysDeCopiarPara(&cliente);
}

TEST(CPPDadosMetasProducao, KeyFieldsAreReachedInPlaceAndKeysAreCopies) {
  CPPDadosMetasProducao meta;
  meta.SetMesAno(2125);
  meta.SetPonteiroFilial(4);
  _REG_PP_META_PRODUCAOPS registro;
  meta.CopiarPara(&registro);
  EXPECT_EQ(registro.regKey.usMesAno, 2125);
  EXPECT_EQ(registro.regKey.ulPonteiroFilial, 4u);

  CPPDadosReplicarMetaProducao replicar;
  _REG_PP_KEY_META_PRODUCAOPS origem = replicar.GetKeyOrigem();
  origem.usMesAno = 2126;
  EXPECT_EQ(replicar.GetKeyOrigem().usMesAno, 0);
  replicar.SetKeyOrigem(origem);
  EXPECT_EQ(replicar.GetKeyOrigem().usMesAno, 2126);
}

TEST(CPPDadosFiltroApontamento, FieldsWithoutAccessorsTravelThroughTheRecordCopy) {
  _REG_VARMO_FILTRO_APONTAMENTOPS entrada = Zerado<_REG_VARMO_FILTRO_APONTAMENTOPS>();
  entrada.ulChaveOPInicial = 5;
  entrada.cEntradaPendenteES = 1;
  entrada.lPonteiroMotivoRefugo = 8;
  CPPDadosFiltroApontamento filtro;
  filtro.CopiarDe(&entrada);
  _REG_VARMO_FILTRO_APONTAMENTOPS saida = Zerado<_REG_VARMO_FILTRO_APONTAMENTOPS>();
  CPPDadosFiltroApontamento(filtro).CopiarPara(&saida);
  EXPECT_EQ(std::memcmp(&entrada, &saida, sizeof(entrada)), 0);

  filtro.Limpar();
  filtro.CopiarPara(&saida);
  EXPECT_EQ(saida.ulChaveOPInicial, 0u);
  EXPECT_EQ(saida.cEntradaPendenteES, 0);
  EXPECT_EQ(Campo(saida.lPonteiroMotivoRefugo), 0);
}

TEST(CPPDadosNecessidade, TheGeneratorReferenceComesBackWhole) {
  CPPDadosNecessidade necessidade;
  const _QV_DMC_ps quemGerou = {static_cast<int32_t>((123456u << 8) | 7u), 2125};
  necessidade.SetRegQuemGerou(quemGerou);
  EXPECT_EQ(necessidade.GetRegQuemGerou().lChaveModulo, quemGerou.lChaveModulo);
  EXPECT_EQ(necessidade.GetRegQuemGerou().iData, 2125);
}

TEST(CPPDadosListaSaldosProdutosES, ReadsTheBalancesOfAServerAnswer) {
  const int32_t blocosAntes = TaskMemoryOutstandingBlocks();
  _REG_ES_LISTA_SALDOS_PRODUTOSPS resposta;
  resposta.lQuantidade = 2;
  resposta.pregSaldos = static_cast<_REG_ES_SALDOS_PRODUTOSPS*>(
      CoTaskMemAlloc(2 * sizeof(_REG_ES_SALDOS_PRODUTOSPS)));
  std::memset(static_cast<void*>(resposta.pregSaldos), 0, 2 * sizeof(_REG_ES_SALDOS_PRODUTOSPS));
  resposta.pregSaldos[1].regPosicaoProduto.lPonteiroProduto = 31;
  resposta.pregSaldos[1].v8ValorUnitario = Valor(125000);

  CPPDadosListaSaldosProdutosES saldos;
  saldos.CopiarDe(&resposta);
  CPPDadosListaSaldosProdutosES::LiberaArraysDoServidor(&resposta);
  EXPECT_EQ(TaskMemoryOutstandingBlocks(), blocosAntes);
  ASSERT_EQ(saldos.GetQuantidadeSaldosProdutos(), 2);
  const _REG_ES_SALDOS_PRODUTOSPS segundo = saldos.GetSaldosProdutos(1).GetSaldoProduto();
  EXPECT_EQ(segundo.regPosicaoProduto.lPonteiroProduto, 31u);
  EXPECT_EQ(segundo.v8ValorUnitario.int64, 125000);
}

TEST(CPPDadosApontamentoRefugo, ClearsAndCopiesItsOwnValuesListsAndMovement) {
  CPPDadosApontamentoRefugo refugo;
  EXPECT_EQ(refugo.GetQuantidadeApontada().int64, 0);
  EXPECT_EQ(refugo.GetChaveOP(), 0u);
  EXPECT_EQ(refugo.GetQuantidadeInsumo() + refugo.GetQuantidadeRecurso(), 0);
  EXPECT_EQ(refugo.GetDadosMovimento().GetQuantidadeContabil(), 0);

  refugo.SetChaveOP(9);
  refugo.SetPonteiroMotivoRefugo(3);
  refugo.AdicionaInsumo(MontaMovimento(1, 1));
  refugo.AdicionaRecurso(MontaRecurso());
  refugo.SetDadosMovimento(MontaMovimento(2, 0));
  CPPDadosApontamentoRefugo copia(refugo);
  refugo.GetRefRecurso(0).DeletarOperacao(0);
  refugo.Limpar();
  EXPECT_EQ(refugo.GetChaveOP(), 0u);
  EXPECT_EQ(refugo.GetQuantidadeInsumo(), 0);
  EXPECT_EQ(refugo.GetDadosMovimento().GetQuantidadeContabil(), 0);

  EXPECT_EQ(copia.GetChaveOP(), 9u);
  EXPECT_EQ(copia.GetPonteiroMotivoRefugo(), 3);
  EXPECT_EQ(copia.GetRefInsumo(0).GetQuantidadeContabil(), 1);
  EXPECT_EQ(copia.GetRefRecurso(0).GetQuantidadeOperacao(), 1);
  EXPECT_EQ(copia.GetDadosMovimento().GetQuantidadeContabil(), 2);
}

}  // namespace
