// The readers and the cache of resource types over a fake resource-type server (TipoRecursoFalso.h)
// that holds types written field by field from the record layouts: a type read with every nested
// list, what each reading kind brings, counts that come without their arrays, a removed or unknown
// type, the look-up by code, a failing or missing server, every block of the server given back,
// and the cache answering from memory after the first read until its timer drops it (on a replaced
// clock).
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "access/CPPBufferDados.h"
#include "platform/com/apartment.h"
#include "platform/com/taskmem.h"
#include "platform/win32/clock.h"
#include "tests/access/TipoRecursoFalso.h"
#include "tests/support/Instalacao.h"

namespace {

constexpr HRESULT kNegado = HRESULT_FROM_WIN32(ERROR_ACCESS_DENIED);
constexpr uint32_t kPrensa = 7;
constexpr uint32_t kTorno = 12;
constexpr const char* kDetalhePrensa = "Trocar a matriz a cada turno";

template <size_t N>
void Texto(char (&campo)[N], const char* texto) {
  std::memset(campo, 0, N);
  std::strncpy(campo, texto, N - 1);
}

// Type 7, "PRENSA": a machine (kind 2) whose reports are detailed, with two operations. Operation 31
// reports a counter (its definition record 3) and a detail; operation 32 a quantity and an interval.
TipoRecursoFalso::Tipo Prensa() {
  TipoRecursoFalso::Tipo tipo{};
  tipo.registro.ulPosicao = kPrensa;
  Texto(tipo.registro.szCodigo, "PRENSA");
  Texto(tipo.registro.szDescricao, "Prensa hidraulica");
  Texto(tipo.registro.szDetalhamento, kDetalhePrensa);
  tipo.registro.cTipo = 2;
  tipo.registro.cDetalharApontamento = 1;
  tipo.quantidadeOperacoes = 2;

  TipoRecursoFalso::Operacao& corte = tipo.operacoes[0];
  corte.registro.ulPonteiroOperacaoProducao = 31;
  corte.registro.ulPonteiroApontaContador = 3;
  corte.registro.cApontaContador = 1;
  corte.registro.cApontaDetalhe = 1;
  corte.contador.ulPonteiroUnidadeMedida = 4;
  corte.contador.usNumeroDigitos = 6;
  Texto(corte.contador.szNomeInicial, "Golpes no inicio");
  Texto(corte.contador.szNomeFinal, "Golpes no fim");
  corte.contador.cObrigatorio = 1;
  corte.contador.cAtualizarContadorRecurso = 1;
  corte.contador.cPodeInicialIgualFinal = 1;
  corte.contador.cUnidadeProdutoServico = 'P';
  corte.detalhe.usMaxCaracteres = 200;
  corte.detalhe.usMinCaracteres = 10;
  Texto(corte.detalhe.szNome, "Motivo");
  corte.detalhe.cObrigatorio = 1;

  TipoRecursoFalso::Operacao& ajuste = tipo.operacoes[1];
  ajuste.registro.ulPonteiroOperacaoProducao = 32;
  ajuste.registro.cApontaQuantidade = 1;
  ajuste.registro.cApontaIntervalo = 1;
  ajuste.quantidade.ulPonteiroUnidadeMedida = 5;
  Texto(ajuste.quantidade.szNome, "Pecas");
  ajuste.quantidade.cUnidadeProdutoServico = 'S';
  ajuste.intervalo.ulPonteiroUnidadeMedida = 6;
  Texto(ajuste.intervalo.szNomeInicial, "Inicio");
  Texto(ajuste.intervalo.szNomeFinal, "Fim");
  ajuste.intervalo.cObrigatorio = 1;
  ajuste.intervalo.cValorData = 1;
  ajuste.intervalo.cUnidadeProdutoServico = 'P';
  return tipo;
}

// Type 12, "TORNO": a person (kind 1), inactive, without operations.
TipoRecursoFalso::Tipo Torno() {
  TipoRecursoFalso::Tipo tipo{};
  tipo.registro.ulPosicao = kTorno;
  Texto(tipo.registro.szCodigo, "TORNO");
  Texto(tipo.registro.szDescricao, "Torneiro");
  tipo.registro.cTipo = 1;
  tipo.registro.cInativo = 1;
  return tipo;
}

// The readers are the cache's bases: one cache object serves the tests of both.
class TiposDeRecurso : public ::testing::Test {
 protected:
  void SetUp() override {
    CoInitializeEx(nullptr, COINIT_MULTITHREADED);
    servidor_.tipos[kPrensa] = Prensa();
    servidor_.tipos[kTorno] = Torno();
    buffer_.Inicializa(Instalacao::kEmpresa, 7, 1234);
    buffer_.SetITipoRecurso(&servidor_);
    blocos_ = TaskMemoryOutstandingBlocks();
  }
  void TearDown() override {
    EXPECT_EQ(TaskMemoryOutstandingBlocks(), blocos_);
    buffer_.Finaliza();
    EXPECT_EQ(servidor_.referencias, 1u);
    CoUninitialize();
  }

  Instalacao instalacao_;
  TestClock relogio_;
  TipoRecursoFalso servidor_;
  CPPBufferDados buffer_;
  int32_t blocos_ = 0;
};

TEST_F(TiposDeRecurso, ReadsATypeWithEveryNestedListAndGivesEveryBlockBack) {
  CPPDadosTipoRecurso tipo;
  ASSERT_EQ(buffer_.LeTipoRecurso(kPrensa, &tipo, 5), S_OK);
  EXPECT_EQ(servidor_.ultimaQuantidade, 1u);
  EXPECT_EQ(servidor_.ultimoPonteiro, kPrensa);
  EXPECT_EQ(servidor_.ultimoTipoLeitura, 5);
  EXPECT_EQ(TaskMemoryOutstandingBlocks(), blocos_);

  EXPECT_EQ(tipo.GetPosicao(), kPrensa);
  EXPECT_STREQ(tipo.GetCodigo(), "PRENSA");
  EXPECT_STREQ(tipo.GetDescricao(), "Prensa hidraulica");
  EXPECT_STREQ(tipo.GetDetalhamento(), kDetalhePrensa);
  EXPECT_EQ(tipo.GetTipo(), 2);
  EXPECT_EQ(tipo.GetDetalharApontamento(), 1);
  EXPECT_EQ(tipo.GetInativo(), 0);
  ASSERT_EQ(tipo.GetQuantidadeOperacao(), 2);

  const CPPDadosTipoRecursoOperacao corte = tipo.GetOperacao(0);
  EXPECT_EQ(corte.GetPonteiroOperacaoProducao(), 31u);
  EXPECT_EQ(corte.GetPonteiroApontaContador(), 3u);
  EXPECT_EQ(corte.GetApontaContador(), 1);
  EXPECT_EQ(corte.GetApontaQuantidade(), 0);
  EXPECT_EQ(corte.GetQuantidadeQuantidade(), 0);
  EXPECT_EQ(corte.GetQuantidadeIntervalo(), 0);
  ASSERT_EQ(corte.GetQuantidadeContador(), 1);
  const CPPDadosTipoRecursoOperacaoContador contador = corte.GetContador(0);
  EXPECT_EQ(contador.GetPonteiroUnidadeMedida(), 4u);
  EXPECT_EQ(contador.GetNumeroDigitos(), 6);
  EXPECT_STREQ(contador.GetNomeInicial(), "Golpes no inicio");
  EXPECT_STREQ(contador.GetNomeFinal(), "Golpes no fim");
  EXPECT_EQ(contador.GetObrigatorio(), 1);
  EXPECT_EQ(contador.GetAtualizarContadorRecurso(), 1);
  EXPECT_EQ(contador.GetSugerirContadorInicial(), 0);
  EXPECT_EQ(contador.GetPodeInicialIgualFinal(), 1);
  EXPECT_EQ(contador.GetUnidadeProdutoServico(), 'P');
  ASSERT_EQ(corte.GetQuantidadeDetalhe(), 1);
  const CPPDadosTipoRecursoOperacaoDetalhe detalhe = corte.GetDetalhe(0);
  EXPECT_EQ(detalhe.GetMaxCaracteres(), 200);
  EXPECT_EQ(detalhe.GetMinCaracteres(), 10);
  EXPECT_STREQ(detalhe.GetNome(), "Motivo");
  EXPECT_EQ(detalhe.GetObrigatorio(), 1);

  const CPPDadosTipoRecursoOperacao ajuste = tipo.GetOperacao(1);
  EXPECT_EQ(ajuste.GetPonteiroOperacaoProducao(), 32u);
  EXPECT_EQ(ajuste.GetQuantidadeContador(), 0);
  EXPECT_EQ(ajuste.GetQuantidadeDetalhe(), 0);
  ASSERT_EQ(ajuste.GetQuantidadeQuantidade(), 1);
  const CPPDadosTipoRecursoOperacaoQuantidade quantidade = ajuste.GetQuantidade(0);
  EXPECT_EQ(quantidade.GetPonteiroUnidadeMedida(), 5u);
  EXPECT_STREQ(quantidade.GetNome(), "Pecas");
  EXPECT_EQ(quantidade.GetObrigatorio(), 0);
  EXPECT_EQ(quantidade.GetUnidadeProdutoServico(), 'S');
  ASSERT_EQ(ajuste.GetQuantidadeIntervalo(), 1);
  const CPPDadosTipoRecursoOperacaoIntervalo intervalo = ajuste.GetIntervalo(0);
  EXPECT_EQ(intervalo.GetPonteiroUnidadeMedida(), 6u);
  EXPECT_STREQ(intervalo.GetNomeInicial(), "Inicio");
  EXPECT_STREQ(intervalo.GetNomeFinal(), "Fim");
  EXPECT_EQ(intervalo.GetObrigatorio(), 1);
  EXPECT_EQ(intervalo.GetValorData(), 1);
  EXPECT_EQ(intervalo.GetUnidadeProdutoServico(), 'P');
}

// Kind 0 gets the operation count as stored without its array, and kind 1 too: the count stands
// beside a null array, which the release must leave alone.
TEST_F(TiposDeRecurso, TheReadingKindChoosesTheTextTheOperationsAndTheirDefinitions) {
  const struct {
    uint16_t tipoLeitura;
    const char* detalhamento;
    int operacoes;
    int contadoresDaPrimeira;
  } casos[] = {{0, "", 0, 0}, {1, kDetalhePrensa, 0, 0}, {2, "", 2, 0}, {4, "", 2, 1}, {7, kDetalhePrensa, 2, 1}};
  for (const auto& caso : casos) {
    SCOPED_TRACE(caso.tipoLeitura);
    CPPDadosTipoRecurso tipo;
    ASSERT_EQ(buffer_.LeTipoRecurso(kPrensa, &tipo, caso.tipoLeitura), S_OK);
    EXPECT_EQ(servidor_.ultimoTipoLeitura, caso.tipoLeitura);
    EXPECT_STREQ(tipo.GetCodigo(), "PRENSA");
    EXPECT_STREQ(tipo.GetDetalhamento(), caso.detalhamento);
    ASSERT_EQ(tipo.GetQuantidadeOperacao(), caso.operacoes);
    if (caso.operacoes > 0) {
      EXPECT_EQ(tipo.GetOperacao(0).GetQuantidadeContador(), caso.contadoresDaPrimeira);
    }
    EXPECT_EQ(TaskMemoryOutstandingBlocks(), blocos_);
  }
}

TEST_F(TiposDeRecurso, DefinitionCountsWithoutArraysReadAsNoDefinitionsAndFreeNothingThere) {
  servidor_.semArraysDefinicoes = true;
  CPPDadosTipoRecurso tipo;
  ASSERT_EQ(buffer_.LeTipoRecurso(kPrensa, &tipo, 4), S_OK);
  ASSERT_EQ(tipo.GetQuantidadeOperacao(), 2);
  for (int i = 0; i < 2; ++i) {
    const CPPDadosTipoRecursoOperacao operacao = tipo.GetOperacao(i);
    EXPECT_EQ(operacao.GetQuantidadeContador() + operacao.GetQuantidadeQuantidade() +
                  operacao.GetQuantidadeIntervalo() + operacao.GetQuantidadeDetalhe(),
              0);
  }
  EXPECT_EQ(TaskMemoryOutstandingBlocks(), blocos_);
}

TEST_F(TiposDeRecurso, AFailureComesBackUnchangedWithTheObjectClearedAndTheServersArraysFreed) {
  CPPDadosTipoRecurso tipo;
  ASSERT_EQ(buffer_.LeTipoRecurso(kPrensa, &tipo, 7), S_OK);
  // The server fails after handing out the operations and their definitions.
  servidor_.falhaLe = kNegado;
  EXPECT_EQ(buffer_.LeTipoRecurso(kPrensa, &tipo, 7), kNegado);
  EXPECT_STREQ(tipo.GetCodigo(), "");
  EXPECT_EQ(tipo.GetQuantidadeOperacao(), 0);
  EXPECT_EQ(TaskMemoryOutstandingBlocks(), blocos_);
}

TEST_F(TiposDeRecurso, ARemovedOrUnknownTypeAnswersTheServersRefusalWithTheObjectCleared) {
  servidor_.tipos[kPrensa].removido = true;
  for (const uint32_t ponteiro : {kPrensa, 99u}) {
    SCOPED_TRACE(ponteiro);
    CPPDadosTipoRecurso tipo;
    ASSERT_EQ(buffer_.LeTipoRecurso(kTorno, &tipo, 7), S_OK);
    EXPECT_EQ(buffer_.LeTipoRecurso(ponteiro, &tipo, 7), TipoRecursoFalso::kRemovido);
    EXPECT_STREQ(tipo.GetCodigo(), "");
    EXPECT_EQ(tipo.GetTipo(), 0);
  }
}

TEST_F(TiposDeRecurso, WithoutItsServerTheReadersAnswerTheHubsErrorAndClearTheObject) {
  // No class of the module is registered in the test installation.
  CPPBufferDados semServidor;
  semServidor.Inicializa(Instalacao::kEmpresa, 7, 1234);
  CPPDadosTipoRecurso tipo;
  ASSERT_EQ(buffer_.LeTipoRecurso(kPrensa, &tipo, 0), S_OK);
  EXPECT_EQ(semServidor.LeTipoRecurso(kPrensa, &tipo, 0), REGDB_E_CLASSNOTREG);
  EXPECT_STREQ(tipo.GetCodigo(), "");

  ASSERT_EQ(buffer_.LeTipoRecurso(kPrensa, &tipo, 0), S_OK);
  uint32_t ponteiro = 55;
  EXPECT_EQ(semServidor.ExisteTipoRecurso("PRENSA", ponteiro, &tipo, 0), REGDB_E_CLASSNOTREG);
  EXPECT_EQ(ponteiro, 0u);
  EXPECT_STREQ(tipo.GetCodigo(), "");

  EXPECT_EQ(semServidor.LeBufferTipoRecurso(kPrensa, &tipo, 0), REGDB_E_CLASSNOTREG);
  EXPECT_FALSE(semServidor.GetCarregadoTipoRecurso());
  semServidor.Finaliza();
}

// ---------------------------------------------------------------------------------------------
// The look-up by code.

TEST_F(TiposDeRecurso, ExisteFindsACodeWithoutRegardToCaseIgnoringTheFilterAndReadsWithTheKindGiven) {
  uint32_t ponteiro = 0;
  CPPDadosTipoRecurso tipo;
  ASSERT_EQ(buffer_.ExisteTipoRecurso("prensa", ponteiro, &tipo, 4), S_OK);
  EXPECT_EQ(ponteiro, kPrensa);
  EXPECT_EQ(servidor_.ultimoUtilizaFiltro, 0);
  EXPECT_EQ(servidor_.ultimoPonteiro, kPrensa);
  EXPECT_EQ(servidor_.ultimoTipoLeitura, 4);
  EXPECT_STREQ(tipo.GetDescricao(), "Prensa hidraulica");
  ASSERT_EQ(tipo.GetQuantidadeOperacao(), 2);
  EXPECT_EQ(tipo.GetOperacao(1).GetQuantidadeIntervalo(), 1);

  // Without an object, the pointer only.
  const int leituras = servidor_.leituras;
  ASSERT_EQ(buffer_.ExisteTipoRecurso("Torno", ponteiro, nullptr, 4), S_OK);
  EXPECT_EQ(ponteiro, kTorno);
  EXPECT_EQ(servidor_.leituras, leituras);
}

TEST_F(TiposDeRecurso, ExisteOfAnAbsentOrRemovedCodeGivesPointerZeroAndAClearObjectWithoutReading) {
  servidor_.tipos[kTorno].removido = true;
  for (const char* codigo : {"FRESA", "TORNO"}) {
    SCOPED_TRACE(codigo);
    CPPDadosTipoRecurso tipo;
    ASSERT_EQ(buffer_.LeTipoRecurso(kPrensa, &tipo, 0), S_OK);
    const int leituras = servidor_.leituras;
    uint32_t ponteiro = 55;
    EXPECT_EQ(buffer_.ExisteTipoRecurso(codigo, ponteiro, &tipo, 4), S_OK);
    EXPECT_EQ(ponteiro, 0u);
    EXPECT_STREQ(tipo.GetCodigo(), "");
    EXPECT_EQ(servidor_.leituras, leituras);
  }
}

TEST_F(TiposDeRecurso, ExisteGivesBackTheFailureOfTheLookUpOrOfTheRead) {
  CPPDadosTipoRecurso tipo;
  uint32_t ponteiro = 55;
  servidor_.falhaExiste = kNegado;
  EXPECT_EQ(buffer_.ExisteTipoRecurso("PRENSA", ponteiro, &tipo, 4), kNegado);
  EXPECT_EQ(ponteiro, 0u);
  EXPECT_EQ(servidor_.leituras, 0);

  servidor_.falhaExiste = S_OK;
  servidor_.falhaLe = kNegado;
  EXPECT_EQ(buffer_.ExisteTipoRecurso("PRENSA", ponteiro, &tipo, 4), kNegado);
  EXPECT_EQ(ponteiro, kPrensa);
  EXPECT_STREQ(tipo.GetCodigo(), "");
}

// ---------------------------------------------------------------------------------------------
// The cache.

TEST_F(TiposDeRecurso, TheCacheIsSizedByTheServersPointersAndAnswersFromMemoryAfterTheFirstRead) {
  // 100 types that pass the server's filter: a table of 121 chains.
  for (uint32_t ponteiro = 100; ponteiro < 198; ++ponteiro) servidor_.tipos[ponteiro] = Torno();
  CPPDadosTipoRecurso tipo;
  ASSERT_EQ(buffer_.LeBufferTipoRecurso(kPrensa, &tipo, 2), S_OK);
  EXPECT_TRUE(buffer_.GetCarregadoTipoRecurso());
  EXPECT_EQ(buffer_.GetMapaTipoRecurso().GetTamanhoTabela(), 121u);
  EXPECT_EQ(buffer_.GetMapaTipoRecurso().GetCount(), 1u);
  EXPECT_EQ(servidor_.buscas, 1);
  EXPECT_EQ(servidor_.leituras, 1);
  EXPECT_EQ(servidor_.ultimoTipoLeitura, 2);
  EXPECT_EQ(TaskMemoryOutstandingBlocks(), blocos_);

  // A hit calls no server, whatever the kind asked now: the entity stays as its first read left it.
  Texto(servidor_.tipos[kPrensa].registro.szDescricao, "Prensa nova");
  CPPDadosTipoRecurso outro;
  ASSERT_EQ(buffer_.LeBufferTipoRecurso(kPrensa, &outro, 4), S_OK);
  EXPECT_EQ(servidor_.buscas, 1);
  EXPECT_EQ(servidor_.leituras, 1);
  EXPECT_STREQ(outro.GetDescricao(), "Prensa hidraulica");
  ASSERT_EQ(outro.GetQuantidadeOperacao(), 2);
  EXPECT_EQ(outro.GetOperacao(0).GetPonteiroOperacaoProducao(), 31u);
  EXPECT_EQ(outro.GetOperacao(0).GetQuantidadeContador(), 0);

  // Another pointer is a miss, read and kept.
  ASSERT_EQ(buffer_.LeBufferTipoRecurso(kTorno, &outro, 2), S_OK);
  EXPECT_STREQ(outro.GetCodigo(), "TORNO");
  EXPECT_EQ(servidor_.leituras, 2);
  EXPECT_EQ(buffer_.GetMapaTipoRecurso().GetCount(), 2u);
}

TEST_F(TiposDeRecurso, TheCacheSeesAChangeOnlyAfterTheRefreshIntervalOrLimparBuffer) {
  buffer_.SetRefresh(true);
  CPPDadosTipoRecurso tipo;
  ASSERT_EQ(buffer_.LeBufferTipoRecurso(kPrensa, &tipo, 2), S_OK);
  Texto(servidor_.tipos[kPrensa].registro.szDescricao, "Prensa nova");

  relogio_.Advance(120000);
  ASSERT_EQ(buffer_.LeBufferTipoRecurso(kPrensa, &tipo, 2), S_OK);
  EXPECT_STREQ(tipo.GetDescricao(), "Prensa hidraulica");
  EXPECT_EQ(servidor_.leituras, 1);

  relogio_.Advance(1);
  ASSERT_EQ(buffer_.LeBufferTipoRecurso(kPrensa, &tipo, 2), S_OK);
  EXPECT_STREQ(tipo.GetDescricao(), "Prensa nova");
  EXPECT_EQ(servidor_.buscas, 2);
  EXPECT_EQ(servidor_.leituras, 2);

  Texto(servidor_.tipos[kPrensa].registro.szDescricao, "Prensa de novo");
  buffer_.LimparBuffer(true);
  EXPECT_FALSE(buffer_.GetCarregadoTipoRecurso());
  ASSERT_EQ(buffer_.LeBufferTipoRecurso(kPrensa, &tipo, 2), S_OK);
  EXPECT_STREQ(tipo.GetDescricao(), "Prensa de novo");
  EXPECT_EQ(servidor_.leituras, 3);
}

TEST_F(TiposDeRecurso, AFailedLoadOrReadStoresNothingAndTheNextCallTriesAgain) {
  CPPDadosTipoRecurso tipo;
  servidor_.falhaBusca = kNegado;
  EXPECT_EQ(buffer_.LeBufferTipoRecurso(kPrensa, &tipo, 2), kNegado);
  EXPECT_FALSE(buffer_.GetCarregadoTipoRecurso());
  EXPECT_EQ(servidor_.leituras, 0);

  servidor_.falhaBusca = S_OK;
  servidor_.tipos[kPrensa].removido = true;
  EXPECT_EQ(buffer_.LeBufferTipoRecurso(kPrensa, &tipo, 2), TipoRecursoFalso::kRemovido);
  EXPECT_TRUE(buffer_.GetCarregadoTipoRecurso());
  EXPECT_EQ(buffer_.GetMapaTipoRecurso().GetCount(), 0u);

  servidor_.tipos[kPrensa].removido = false;
  ASSERT_EQ(buffer_.LeBufferTipoRecurso(kPrensa, &tipo, 2), S_OK);
  EXPECT_STREQ(tipo.GetCodigo(), "PRENSA");
  EXPECT_EQ(buffer_.GetMapaTipoRecurso().GetCount(), 1u);
  EXPECT_EQ(servidor_.buscas, 2);
}

}  // namespace
