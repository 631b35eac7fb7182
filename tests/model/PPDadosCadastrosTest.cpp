// What the master-data classes add to the pattern: the list of record numbers, the order type's
// Limpa and its two user counts, the counter layout without a record, the process's three levels,
// the resource history's 32-bit count, the operation switches that lists never set, the plan's
// corrective count carried untouched and the order component filled from a plan component; and the
// width of the text fields across the classes of these families and of the mirrors.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "model/CPPDadosAtualizacaoContador.h"
#include "model/CPPDadosFichaTecnica.h"
#include "model/CPPDadosFilial.h"
#include "model/CPPDadosGestaoManutencao.h"
#include "model/CPPDadosInfoProdServ.h"
#include "model/CPPDadosLocalES.h"
#include "model/CPPDadosMunicipio.h"
#include "model/CPPDadosNotaFiscalRE.h"
#include "model/CPPDadosPlanoManutencao.h"
#include "model/CPPDadosPonteirosULONG.h"
#include "model/CPPDadosProcesso.h"
#include "model/CPPDadosProduto.h"
#include "model/CPPDadosRecurso.h"
#include "model/CPPDadosRequisicaoInterna.h"
#include "model/CPPDadosRequisitante.h"
#include "model/CPPDadosSecao.h"
#include "model/CPPDadosTipoOP.h"
#include "model/CPPDadosTipoRecurso.h"
#include "model/CPPDadosUsuario.h"
#include "platform/com/taskmem.h"
#include "tests/model/ArvoreRegistro.h"

namespace {

template <class R>
R Zerado() {
  R registro;
  std::memset(static_cast<void*>(&registro), 0, sizeof(R));
  return registro;
}

CY Valor(int64_t v) {
  CY cy;
  cy.int64 = v;
  return cy;
}

TEST(CPPDadosPonteirosULONG, TheListIsTheTruthAndTheRecordCountOnlyFollowsCopiarDe) {
  uint32_t numeros[3] = {30, 10, 20};
  _REG_VARMO_PONTEIROS_ULONGPS entrada{3, numeros};
  CPPDadosPonteirosULONG ponteiros;
  ponteiros.CopiarDe(&entrada);
  ASSERT_EQ(ponteiros.GetQuantidadePonteiro(), 3);
  EXPECT_EQ(ponteiros.GetQtd(), 3u);
  EXPECT_EQ(ponteiros.GetPonteiro(0), 30u);
  EXPECT_EQ(ponteiros.GetPonteiro(2), 20u);

  ponteiros.AdicionaPonteiro(40);
  EXPECT_EQ(ponteiros.GetQtd(), 3u);
  _REG_VARMO_PONTEIROS_ULONGPS saida;
  ponteiros.CopiarPara(&saida);
  ASSERT_EQ(saida.lQtd, 4u);
  EXPECT_NE(saida.plPonteiro, numeros);
  EXPECT_EQ(saida.plPonteiro[3], 40u);
  CPPDadosPonteirosULONG::LiberaArraysDeCopiarPara(&saida);
}

TEST(CPPDadosTipoOP, UsersTravelInListOrderAndOnlyCopiarDeSetsTheRecordCount) {
  CPPDadosTipoOP tipo;
  for (uint16_t usuario : {7, 3, 9}) {
    CPPDadosTipoOPUsuario permissao;
    permissao.SetUsuario(usuario);
    permissao.SetCancelamento('S');
    tipo.AdicionaUsuario(permissao);
  }
  EXPECT_EQ(tipo.GetQuantidadeUsuario(), 3);
  EXPECT_EQ(tipo.GetQtdUsuarios(), 0);

  tipo.DeletarUsuario(1);
  _REG_VARMO_TIPO_OPPS registro;
  tipo.CopiarPara(&registro);
  ASSERT_EQ(registro.usQtdUsuarios, 2);
  EXPECT_EQ(registro.pregTipoOPUsuario[0].usUsuario, 7);
  EXPECT_EQ(registro.pregTipoOPUsuario[1].usUsuario, 9);
  EXPECT_EQ(registro.pregTipoOPUsuario[1].cCancelamento, 'S');
  CPPDadosTipoOP lido;
  lido.CopiarDe(&registro);
  EXPECT_EQ(lido.GetQtdUsuarios(), 2);
  CPPDadosTipoOP::LiberaArraysDeCopiarPara(&registro);
}

TEST(CPPDadosTipoOP, LimpaClearsTheRecordAndTheUsersAsLimparDoes) {
  CPPDadosTipoOP tipo;
  tipo.SetCodigo("OP1");
  tipo.SetUltimaOP(41);
  tipo.SetQtdUsuarios(5);
  tipo.AdicionaUsuario(CPPDadosTipoOPUsuario());
  tipo.Limpa();
  EXPECT_STREQ(tipo.GetCodigo(), "");
  EXPECT_EQ(tipo.GetUltimaOP(), 0u);
  EXPECT_EQ(tipo.GetQtdUsuarios(), 0);
  EXPECT_EQ(tipo.GetQuantidadeUsuario(), 0);
}

TEST(CPPDadosAtualizacaoContador, ANewOrClearedCounterIsAProductCounterAndCopiesCarryAllThree) {
  CPPDadosAtualizacaoContador contador;
  EXPECT_EQ(contador.GetUnidadeProdutoServico(), 'P');
  EXPECT_EQ(contador.GetPonteiroUnidadeMedida(), 0u);
  EXPECT_EQ(contador.GetNrDigitos(), 0);

  contador.SetUnidadeProdutoServico('S');
  contador.SetPonteiroUnidadeMedida(12);
  contador.SetNrDigitos(6);
  CPPDadosAtualizacaoContador copia(contador);
  contador.Limpar();
  EXPECT_EQ(contador.GetUnidadeProdutoServico(), 'P');
  EXPECT_EQ(contador.GetPonteiroUnidadeMedida(), 0u);
  EXPECT_EQ(copia.GetUnidadeProdutoServico(), 'S');
  EXPECT_EQ(copia.GetPonteiroUnidadeMedida(), 12u);
  EXPECT_EQ(copia.GetNrDigitos(), 6);
}

TEST(CPPDadosProcesso, ThreeLevelsOfArraysAndTwoCountsPerChildKind) {
  CPPDadosProcesso processo;
  CPPDadosProcessoRecurso comParadas;
  comParadas.SetPonteiroRecurso(5);
  for (uint16_t dia = 1; dia <= 3; ++dia) {
    CPPDadosPlanoManutencaoProgramacao parada;
    parada.SetDataManutencao(40000 + dia);
    comParadas.AdicionaParadas(parada);
  }
  processo.AdicionaRecurso(comParadas);
  processo.AdicionaRecurso(CPPDadosProcessoRecurso());
  _REG_VARMO_PROCESSOPS registro;
  processo.CopiarPara(&registro);
  ASSERT_EQ(registro.usQtdRecursos, 2);
  ASSERT_EQ(registro.pregRecursos[0].usQtdParadas, 3);
  EXPECT_EQ(registro.pregRecursos[0].pregParadas[2].usDataManutencao, 40003);
  EXPECT_EQ(registro.pregRecursos[1].usQtdParadas, 0);
  EXPECT_EQ(Campo(registro.pregRecursos[1].pregParadas), nullptr);

  CPPDadosProcesso lido;
  lido.CopiarDe(&registro);
  CPPDadosProcesso::LiberaArraysDeCopiarPara(&registro);
  EXPECT_EQ(lido.GetQuantidadeRecurso(), 2);
  EXPECT_EQ(lido.GetQtdRecursos(), 2);
  EXPECT_EQ(lido.GetRefRecurso(0).GetQuantidadeParadas(), 3);
  lido.AdicionaRecurso(CPPDadosProcessoRecurso());
  EXPECT_EQ(lido.GetQuantidadeRecurso(), 3);
  EXPECT_EQ(lido.GetQtdRecursos(), 2);
}

// More than 65,535 entries: the history's count is 32-bit at every step.
TEST(CPPDadosListaRecursoHistoricoContador, SeventyThousandEntriesComeBackWhole) {
  constexpr uint32_t kEntradas = 70000;
  auto* entradas = new _REG_PP_RECURSO_HISTORICO_CONTADORPS[kEntradas]();
  for (uint32_t i = 0; i < kEntradas; ++i) entradas[i].ulContadorHistorico = i;
  _REG_PP_LISTA_RECURSO_HISTORICO_CONTADORPS entrada{kEntradas, entradas};
  CPPDadosListaRecursoHistoricoContador historico;
  historico.CopiarDe(&entrada);
  delete[] entradas;
  ASSERT_EQ(historico.GetQuantidadeHistorico(), 70000);
  EXPECT_EQ(historico.GetQuantidade(), kEntradas);

  _REG_PP_LISTA_RECURSO_HISTORICO_CONTADORPS saida;
  historico.CopiarPara(&saida);
  ASSERT_EQ(saida.ulQuantidade, kEntradas);
  EXPECT_EQ(saida.pregLista[65536].ulContadorHistorico, 65536u);
  EXPECT_EQ(saida.pregLista[kEntradas - 1].ulContadorHistorico, kEntradas - 1);
  CPPDadosListaRecursoHistoricoContador::LiberaArraysDeCopiarPara(&saida);
}

TEST(CPPDadosTipoRecurso, ListsFillTheirCountsButNeverTheOperationsOwnSwitches) {
  CPPDadosTipoRecursoOperacao operacao;
  operacao.SetPonteiroApontaDetalhe(77);
  operacao.AdicionaContador(CPPDadosTipoRecursoOperacaoContador());
  operacao.AdicionaContador(CPPDadosTipoRecursoOperacaoContador());
  CPPDadosTipoRecursoOperacaoDetalhe detalhe;
  detalhe.SetMaxCaracteres(80);
  operacao.AdicionaDetalhe(detalhe);
  CPPDadosTipoRecurso tipo;
  tipo.AdicionaOperacao(operacao);

  _REG_PP_TIPO_RECURSOPS registro;
  tipo.CopiarPara(&registro);
  ASSERT_EQ(registro.usQuantOperacaoRecurso, 1);
  const _REG_PP_TIPO_RECURSO_OPERACAOPS& escrita = registro.pregOperacoes[0];
  EXPECT_EQ(escrita.usQuantApontaContador, 2);
  EXPECT_EQ(escrita.usQuantApontaDetalhe, 1);
  EXPECT_EQ(escrita.pregDetalhes[0].usMaxCaracteres, 80);
  EXPECT_EQ(escrita.usQuantApontaQuantidade, 0);
  EXPECT_EQ(Campo(escrita.pregQuantidades), nullptr);
  EXPECT_EQ(escrita.usQuantApontaIntervalo, 0);
  EXPECT_EQ(Campo(escrita.pregIntervalos), nullptr);
  EXPECT_EQ(escrita.cApontaContador, 0);
  EXPECT_EQ(escrita.ulPonteiroApontaContador, 0u);
  EXPECT_EQ(escrita.cApontaDetalhe, 0);
  EXPECT_EQ(escrita.ulPonteiroApontaDetalhe, 77u);
  CPPDadosTipoRecurso::LiberaArraysDeCopiarPara(&registro);
}

TEST(CPPDadosPlanoManutencao, TheCorrectiveCountTravelsUntouchedBesideTheTwoLists) {
  _REG_PP_PLANO_MANUTENCAO_PROGRAMACAOPS programadas[4] = {};
  programadas[2].usDataManutencao = 41000;
  _REG_PP_PLANO_MANUTENCAOPS entrada = Zerado<_REG_PP_PLANO_MANUTENCAOPS>();
  entrada.usQuantManutCorretiva = 6;
  entrada.usQuantComponentes = 2;  // with a null array: no component
  entrada.usQuantManutProgramada = 3;
  entrada.pregManutencaoProgramada = programadas;
  CPPDadosPlanoManutencao plano;
  plano.CopiarDe(&entrada);
  EXPECT_EQ(plano.GetQuantidadeComponente(), 0);
  EXPECT_EQ(plano.GetQtdComponentes(), 0);
  ASSERT_EQ(plano.GetQuantidadeProgramacao(), 3);

  _REG_PP_PLANO_MANUTENCAOPS saida;
  plano.CopiarPara(&saida);
  EXPECT_EQ(saida.usQuantManutCorretiva, 6);
  EXPECT_EQ(saida.usQuantComponentes, 0);
  EXPECT_EQ(Campo(saida.pregComponentes), nullptr);
  ASSERT_EQ(saida.usQuantManutProgramada, 3);
  EXPECT_EQ(saida.pregManutencaoProgramada[2].usDataManutencao, 41000);
  CPPDadosPlanoManutencao::LiberaArraysDeCopiarPara(&saida);

  entrada.usQuantManutProgramada = 4;
  entrada.pregManutencaoProgramada = nullptr;
  plano.CopiarDe(&entrada);
  EXPECT_EQ(plano.GetQuantidadeProgramacao(), 0);
}

TEST(CPPDadosGestaoManutencaoComponente, CopiaComponentePlanoTakesFourFieldsAndKeepsTheRest) {
  CPPDadosPlanoManutencaoComponente doPlano;
  doPlano.SetProdutoServico({123, 1, 2, 3});
  doPlano.SetQuantidade(Valor(25000));  // 2.5
  doPlano.SetComplemento("abc");
  doPlano.SetTipoProdutoServico('S');
  CPPDadosGestaoManutencaoComponente daOrdem;
  daOrdem.SetQtdAtendida(Valor(10000));
  daOrdem.SetQtdConsumida(Valor(5000));
  daOrdem.SetChaveRequisicaoInterna(88);
  daOrdem.SetIdxRequisicaoInterna(4);
  daOrdem.SetSituacaoRI(2);
  daOrdem.SetTipoRI(1);

  daOrdem.CopiaComponentePlano(doPlano);
  EXPECT_EQ(daOrdem.GetProdutoServico().lPonteiroProduto, 123u);
  EXPECT_EQ(daOrdem.GetProdutoServico().iPonteiroItemGrade3, 3);
  EXPECT_EQ(daOrdem.GetQtdRequisitada().int64, 25000);
  EXPECT_STREQ(daOrdem.GetComplemento(), "abc");
  EXPECT_EQ(daOrdem.GetTipoProdutoServico(), 'S');
  EXPECT_EQ(daOrdem.GetQtdAtendida().int64, 10000);
  EXPECT_EQ(daOrdem.GetQtdConsumida().int64, 5000);
  EXPECT_EQ(daOrdem.GetChaveRequisicaoInterna(), 88u);
  EXPECT_EQ(daOrdem.GetIdxRequisicaoInterna(), 4);
  EXPECT_EQ(daOrdem.GetSituacaoRI(), 2);
  EXPECT_EQ(daOrdem.GetTipoRI(), 1);
}

// A text setter keeps at most width - 1 characters; the mirrors' widths are the other modules'.
TEST(LarguraDosTextos, EachSetterKeepsAtMostItsFieldsCharacters) {
  struct Caso {
    const char* nome;
    size_t maximo;
    std::function<CString(const char*)> escreveELe;
  };
#define TEXTO(C, Nome, maximo) \
  Caso { #C "::" #Nome, maximo, [](const char* t) { C o; o.Set##Nome(t); return o.Get##Nome(); } }
  const Caso casos[] = {
      TEXTO(CPPDadosSecao, Codigo, 13),
      TEXTO(CPPDadosTipoOP, InfExtra5, 25),
      TEXTO(CPPDadosFichaTecnicaImagem, PathLocal, 259),
      TEXTO(CPPDadosFichaTecnicaTolerancia, Descricao, 53),
      TEXTO(CPPDadosRecurso, NomeContadorInicial, 21),
      TEXTO(CPPDadosTipoRecursoOperacaoDetalhe, Nome, 21),
      TEXTO(CPPDadosPlanoManutencao, Detalhamento, 501),
      TEXTO(CPPDadosRequisicaoInterna, Codigo, 21),
      TEXTO(CPPDadosRequisicaoInterna, Observacao, 501),
      TEXTO(CPPDadosRequisicaoInternaItem, Descricao, 501),
      TEXTO(CPPDadosProduto, Nome, 121),
      TEXTO(CPPDadosProduto, InformacaoExtra3, 61),
      TEXTO(CPPDadosServico, Descricao, 251),
      TEXTO(CPPDadosGradeProduto, CodigoItemGrade, 5),
      TEXTO(CPPDadosLocalES, Classificacao, 29),
      TEXTO(CPPDadosFilial, NomeFantasia, 39),
      TEXTO(CPPDadosMunicipio, SiglaEstado, 3),
      TEXTO(CPPDadosRequisitante, Matricula, 9),
      TEXTO(CPPDadosUsuario, Apelido, 17),
      TEXTO(CPPDadosNotaFiscalRE, SerieNotaFiscal, 5),
      TEXTO(CPPDadosInfoProdServ, NomeProdServ, 600),  // kept whole, of any length
  };
#undef TEXTO
  const std::string longo(600, 'a');
  for (const Caso& c : casos) {
    SCOPED_TRACE(c.nome);
    EXPECT_EQ(c.escreveELe(longo.c_str()).str(), std::string(c.maximo, 'a'));
    EXPECT_EQ(c.escreveELe("xy").str(), "xy");
  }
}

}  // namespace
