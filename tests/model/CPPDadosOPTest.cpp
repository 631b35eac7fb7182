// The production-order tree through CopiarPara and CopiarDe: equality after the round trip, the two
// counts of each child kind, deep copies and who frees which array.
#include "model/CPPDadosOP.h"

#include <gtest/gtest.h>

#include "platform/com/taskmem.h"
#include "tests/model/ArvoreRegistro.h"
#include "tests/model/OrdemExemplo.h"

namespace {

// A record that CopiarPara filled, freed with the release of CopiarPara when the test ends.
struct RegistroDaOrdem {
  _REG_VARMO_OPPS registro{};
  ~RegistroDaOrdem() { CPPDadosOP::LiberaArraysDeCopiarPara(&registro); }
  _REG_VARMO_OPPS* operator->() { return &registro; }
};

TEST(CPPDadosOP, SevenLevelOrderComesBackEqualThroughCopiarParaAndCopiarDe) {
  const CPPDadosOP ordem = MontaOrdem();
  RegistroDaOrdem ida;
  ordem.CopiarPara(&ida.registro);

  CPPDadosOP volta;
  volta.CopiarDe(&ida.registro);
  RegistroDaOrdem deNovo;
  volta.CopiarPara(&deNovo.registro);
  EXPECT_EQ(DiferencaEntreArvores(&ida.registro, &deNovo.registro, kFormaOP), "");

  // The record, level by level.
  ASSERT_EQ(ida->usQtdProcessos, 2);
  ASSERT_EQ(ida->usQtdItens, 1);
  const _REG_VARMO_OP_PROCESSOPS& primeiro = ida->pregProcessos[0];
  EXPECT_EQ(primeiro.usQuantidadeInsumos, 1);
  EXPECT_EQ(primeiro.usQuantidadeRecursos, 1);
  EXPECT_EQ(primeiro.usQtdImagens, 1);
  EXPECT_EQ(primeiro.usQtdEtiquetas, 1);
  ASSERT_EQ(primeiro.usQuantidadeApontamentosSimples, 1);
  ASSERT_EQ(primeiro.usQuantidadeApontamentos, 1);
  const _REG_VARMO_OP_PROCESSOPS& segundo = ida->pregProcessos[1];
  EXPECT_EQ(segundo.usQuantidadeInsumos + segundo.usQuantidadeRecursos + segundo.usQtdImagens +
                segundo.usQtdEtiquetas + segundo.usQuantidadeApontamentosSimples +
                segundo.usQuantidadeApontamentos,
            0);
  EXPECT_TRUE(segundo.pregInsumos == nullptr && segundo.pregRecursos == nullptr &&
              segundo.pregImagens == nullptr && segundo.pregEtiquetas == nullptr &&
              segundo.pregApontamentosSimples == nullptr && segundo.pregApontamentos == nullptr);

  // The simple report is the bare one, the full report the one with movements: never mixed.
  EXPECT_EQ(primeiro.pregApontamentosSimples[0].usQtdMvtoEstoque, 0);
  const _REG_VARMO_OP_APONTAMENTO& apontamento = primeiro.pregApontamentos[0];
  EXPECT_EQ(apontamento.usQtdMvtoEntrada, 1);
  EXPECT_EQ(apontamento.usQtdMvtoEstoque, 2);
  EXPECT_EQ(apontamento.usQtdRetornoIndustExt, 1);
  EXPECT_EQ(apontamento.usQtdRecursosNaoApontados, 1);
  EXPECT_EQ(apontamento.usQtdRecursos, 1);
  ASSERT_EQ(apontamento.usQtdChaveApontamentoImportado, 2);
  EXPECT_EQ(apontamento.plistaChaveApontamentoImportado[0], 7u);
  EXPECT_EQ(apontamento.plistaChaveApontamentoImportado[1], 9u);
  EXPECT_EQ(apontamento.pregRecursos[0].usQuantidadeApontamentoOperacao, 1);
  const _REG_PP_APONTAMENTO_RECURSO_OPERACAOPS& operacao =
      apontamento.pregRecursos[0].pregOperacoes[0];
  EXPECT_EQ(operacao.usQuantApontamentoContador, 2);
  EXPECT_EQ(operacao.usQuantApontamentoQuantidade, 1);

  // Seventh level: order, process step, report, return, movement, accounting entry, split. The
  // entry's record copy held a stale count; CopiarPara wrote the list's.
  const _REG_ES_CONTABILIZACAOPS& contabil =
      apontamento.pregRetornoIndustrializacao[0].pregMovimentos[0].pregContabil[0];
  EXPECT_EQ(contabil.iQuantidadeGerencial, 2);
  EXPECT_NE(Campo(contabil.pregGerencial), nullptr);

  // After CopiarDe both counts agree, down to the seventh level.
  CPPDadosMovimentoContabilizacao& lido = volta.GetRefProcesso(0)
                                              .GetRefApontamento(0)
                                              .GetRefRetornoIndustrializacao(0)
                                              .GetRefMovimento(0)
                                              .GetRefContabil(0);
  EXPECT_EQ(lido.GetQuantidadeGerencial(), 2);
  EXPECT_EQ(lido.GetQtdGerencial(), 2);
}

TEST(CPPDadosOP, TheRecordCountIsSetOnlyByCopiarDeAndCopiarParaWritesTheListCount) {
  CPPDadosOP ordem;
  ordem.SetQtdItens(5);
  RegistroDaOrdem semItens;
  ordem.CopiarPara(&semItens.registro);
  EXPECT_EQ(semItens->usQtdItens, 0);
  EXPECT_EQ(Campo(semItens->pregItens), nullptr);

  ordem.AdicionaProcesso(CPPDadosOPProcesso());
  ordem.AdicionaProcesso(CPPDadosOPProcesso());
  RegistroDaOrdem dois;
  ordem.CopiarPara(&dois.registro);
  CPPDadosOP lida;
  lida.CopiarDe(&dois.registro);
  EXPECT_EQ(lida.GetQuantidadeProcesso(), 2);
  EXPECT_EQ(lida.GetQtdProcessos(), 2);
  EXPECT_EQ(lida.GetQtdItens(), 0);  // the 5 of the other object's copy never travels

  lida.AdicionaProcesso(CPPDadosOPProcesso());
  EXPECT_EQ(lida.GetQuantidadeProcesso(), 3);
  EXPECT_EQ(lida.GetQtdProcessos(), 2);
  RegistroDaOrdem tres;
  lida.CopiarPara(&tres.registro);
  EXPECT_EQ(tres->usQtdProcessos, 3);
}

TEST(CPPDadosOP, CopiesAreDeepAtEveryLevel) {
  CPPDadosOP original = MontaOrdem();
  RegistroDaOrdem antes;
  original.CopiarPara(&antes.registro);

  CPPDadosOP copia(original);
  CPPDadosOP atribuida;
  atribuida = original;
  CPPDadosOP copiada;
  copiada.Copiar(&original);
  for (CPPDadosOP* outra : {&copia, &atribuida, &copiada}) {
    CPPDadosApontamentoRecursoOperacao& operacao =
        outra->GetRefProcesso(0).GetRefApontamento(0).GetRefRecurso(0).GetRefOperacao(0);
    operacao.GetRefContador(0).SetNomeFinal("mudou");
    operacao.AdicionaDetalhe(CPPDadosApontamentoRecursoOperacaoDetalhe());
    outra->GetRefProcesso(0).GetRefApontamento(0).GetRefRetornoIndustrializacao(0)
        .DeletarMovimento(0);

    RegistroDaOrdem mudada;
    outra->CopiarPara(&mudada.registro);
    EXPECT_NE(DiferencaEntreArvores(&antes.registro, &mudada.registro, kFormaOP), "");
  }
  RegistroDaOrdem depois;
  original.CopiarPara(&depois.registro);
  EXPECT_EQ(DiferencaEntreArvores(&antes.registro, &depois.registro, kFormaOP), "");

  CPPDadosOP& mesma = atribuida;
  atribuida = mesma;  // assigning an object to itself keeps it
  EXPECT_EQ(atribuida.GetQuantidadeProcesso(), 2);
}

TEST(CPPDadosOP, AServerTreeIsReadWithCopiarDeAndEveryTaskAllocatorBlockIsFreedOnce) {
  const int32_t blocosAntes = TaskMemoryOutstandingBlocks();
  const CPPDadosOP ordem = MontaOrdem();
  RegistroDaOrdem cliente;
  ordem.CopiarPara(&cliente.registro);

  _REG_VARMO_OPPS servidor;
  const int arrays = CopiaComoServidor(&cliente.registro, &servidor, kFormaOP);
  ASSERT_GT(arrays, 20);
  ASSERT_EQ(TaskMemoryOutstandingBlocks() - blocosAntes, arrays);

  CPPDadosOP lida;
  lida.CopiarDe(&servidor);
  CPPDadosOP::LiberaArraysDoServidor(&servidor);
  EXPECT_EQ(TaskMemoryOutstandingBlocks(), blocosAntes);
  EXPECT_EQ(servidor.usQtdProcessos, 0);
  EXPECT_EQ(Campo(servidor.pregProcessos), nullptr);

  RegistroDaOrdem relida;
  lida.CopiarPara(&relida.registro);
  EXPECT_EQ(DiferencaEntreArvores(&cliente.registro, &relida.registro, kFormaOP), "");
}

TEST(CPPDadosOP, FreshOrderAnswersZeroAndEmptyTexts) {
  const CPPDadosOP ordem;
  EXPECT_EQ(ordem.GetQuantidadeProcesso(), 0);
  EXPECT_EQ(ordem.GetQuantidadeItem(), 0);
  EXPECT_EQ(ordem.GetSituacao(), 0);
  EXPECT_TRUE(ordem.GetObservacao().IsEmpty());
  EXPECT_TRUE(ordem.GetNumeroLote().IsEmpty());
}

}  // namespace
