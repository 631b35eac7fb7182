// The report of one resource within a production report (CPPDadosApontamentoRecurso), its reported
// operations (CPPDadosApontamentoRecursoOperacao) with their counter readings, quantities,
// intervals and free details, and the summary of one resource report that the resource-report
// query returns (CPPDadosResumoApontamentoRecurso), which carries the same four lists. Pattern and
// ownership: PPDadosBase.h.
#pragma once

#include "model/PPDadosBase.h"
#include "server/idl/Varmo.h"

class CPPDadosApontamentoRecursoOperacaoContador
    : public PPDados<CPPDadosApontamentoRecursoOperacaoContador,
                     _REG_PP_APONTAMENTO_RECURSO_OPERACAO_CONTADORPS> {
 public:
  PP_CAMPO(ContadorInicial, vContadorInicial)
  PP_CAMPO(ContadorFinal, vContadorFinal)
  PP_CAMPO(PonteiroUnidadeMedida, ulPonteiroUnidadeMedida)
  PP_CAMPO(NumeroDigitos, usNumeroDigitos)
  PP_CAMPO(UnidadeProdutoServico, cUnidadeProdutoServico)
  PP_TEXTO(NomeInicial, szNomeInicial)
  PP_TEXTO(NomeFinal, szNomeFinal)
  PP_CAMPO(AtualizarContadorRecurso, cAtualizarContadorRecurso)
};

class CPPDadosApontamentoRecursoOperacaoQuantidade
    : public PPDados<CPPDadosApontamentoRecursoOperacaoQuantidade,
                     _REG_PP_APONTAMENTO_RECURSO_OPERACAO_QUANTIDADEPS> {
 public:
  PP_CAMPO(Quantidade, vQuantidade)
  PP_CAMPO(PonteiroUnidadeMedida, ulPonteiroUnidadeMedida)
  PP_TEXTO(Nome, szNome)
  PP_CAMPO(UnidadeProdutoServico, cUnidadeProdutoServico)
};

class CPPDadosApontamentoRecursoOperacaoIntervalo
    : public PPDados<CPPDadosApontamentoRecursoOperacaoIntervalo,
                     _REG_PP_APONTAMENTO_RECURSO_OPERACAO_INTERVALOPS> {
 public:
  PP_CAMPO(ValorInicial, vValorInicial)
  PP_CAMPO(ValorFinal, vValorFinal)
  PP_CAMPO(PonteiroUnidadeMedida, ulPonteiroUnidadeMedida)
  PP_CAMPO(DataInicial, usDataInicial)
  PP_CAMPO(DataFinal, usDataFinal)
  PP_CAMPO(HoraInicial, usHoraInicial)
  PP_CAMPO(HoraFinal, usHoraFinal)
  PP_TEXTO(NomeInicial, szNomeInicial)
  PP_TEXTO(NomeFinal, szNomeFinal)
  PP_CAMPO(ValorData, cValorData)
  PP_CAMPO(UnidadeProdutoServico, cUnidadeProdutoServico)
};

class CPPDadosApontamentoRecursoOperacaoDetalhe
    : public PPDados<CPPDadosApontamentoRecursoOperacaoDetalhe,
                     _REG_PP_APONTAMENTO_RECURSO_OPERACAO_DETALHEPS> {
 public:
  PP_TEXTO(Nome, szNome)
  PP_TEXTO(Detalhe, szDetalhe)
};

class CPPDadosApontamentoRecursoOperacao
    : public PPDados<CPPDadosApontamentoRecursoOperacao, _REG_PP_APONTAMENTO_RECURSO_OPERACAOPS> {
 public:
  PP_CAMPO(PonteiroOperacaoProducao, ulPonteiroOperacaoProducao)
  PP_CAMPO(DataApontamentoInicial, usDataApontamentoInicial)
  PP_CAMPO(HoraApontamentoInicial, usHoraApontamentoInicial)
  PP_CAMPO(DataApontamentoFinal, usDataApontamentoFinal)
  PP_CAMPO(HoraApontamentoFinal, usHoraApontamentoFinal)
  PP_CAMPO(QuantApontamentoContador, usQuantApontamentoContador)
  PP_CAMPO(QuantApontamentoQuantidade, usQuantApontamentoQuantidade)
  PP_CAMPO(QuantApontamentoIntervalo, usQuantApontamentoIntervalo)
  PP_CAMPO(QuantApontamentoDetalhe, usQuantApontamentoDetalhe)
  PP_CAMPO(ApontaContador, cApontaContador)
  PP_CAMPO(ApontaQuantidade, cApontaQuantidade)
  PP_CAMPO(ApontaIntervalo, cApontaIntervalo)
  PP_CAMPO(ApontaDetalhe, cApontaDetalhe)
  PP_CAMPO(TipoOperacaoProducao, cTipoOperacaoProducao)

  PP_LISTA(Contador, CPPDadosApontamentoRecursoOperacaoContador, usQuantApontamentoContador,
           pregContadores)
  PP_LISTA(Quantidade, CPPDadosApontamentoRecursoOperacaoQuantidade,
           usQuantApontamentoQuantidade, pregQuantidades)
  PP_LISTA(Intervalo, CPPDadosApontamentoRecursoOperacaoIntervalo, usQuantApontamentoIntervalo,
           pregIntervalos)
  PP_LISTA(Detalhe, CPPDadosApontamentoRecursoOperacaoDetalhe, usQuantApontamentoDetalhe,
           pregDetalhes)
  PP_PARTES(Contador, Quantidade, Intervalo, Detalhe)
};

// The list count of the operations is GetQuantidadeOperacao; GetQuantidadeApontamentoOperacao is
// the record copy's count field.
class CPPDadosApontamentoRecurso
    : public PPDados<CPPDadosApontamentoRecurso, _REG_PP_APONTAMENTO_RECURSOPS> {
 public:
  PP_CAMPO(Capacidade, vCapacidade)
  PP_CAMPO(Setup, vSetup)
  PP_CAMPO(v8Custo, v8Custo)
  PP_CAMPO(PercEficiencia, vPercEficiencia)
  PP_CAMPO(PonteiroCentroCustos, lPonteiroCentroCustos)
  PP_CAMPO(PonteiroProcesso, lPonteiroProcesso)
  PP_CAMPO(PonteiroRecurso, lPonteiroRecurso)
  PP_CAMPO(QuantidadeApontamentoOperacao, usQuantidadeApontamentoOperacao)
  PP_CAMPO_COMO(char, Tipo, cTipo)
  PP_CAMPO(CustoTempoPorUnidade, cCustoTempoPorUnidade)
  PP_CAMPO(TipoCusto, cTipoCusto)
  PP_CAMPO(DesconsiderarTempos, cDesconsiderarTempos)

  PP_LISTA(Operacao, CPPDadosApontamentoRecursoOperacao, usQuantidadeApontamentoOperacao,
           pregOperacoes)
  PP_PARTES(Operacao)
};

class CPPDadosResumoApontamentoRecurso
    : public PPDados<CPPDadosResumoApontamentoRecurso, _REG_PP_RESUMO_APONTAMENTO_RECURSOPS> {
 public:
  PP_CAMPO(ChaveOP, ulChaveOP)
  PP_CAMPO(ChaveApontamento, ulChaveApontamento)
  PP_CAMPO(PonteiroTipoRecurso, ulPonteiroTipoRecurso)
  PP_CAMPO(PonteiroRecurso, ulPonteiroRecurso)
  PP_CAMPO(PonteiroProjeto, ulPonteiroProjeto)
  PP_CAMPO(PonteiroProcesso, ulPonteiroProcesso)
  PP_CAMPO(PonteiroOperacaoProducao, ulPonteiroOperacaoProducao)
  PP_CAMPO(PonteiroSuplementoInfo1, ulPonteiroSuplementoInfo1)
  PP_CAMPO(PonteiroSuplementoInfo2, ulPonteiroSuplementoInfo2)
  PP_CAMPO(PonteiroSuplementoInfo3, ulPonteiroSuplementoInfo3)
  PP_CAMPO(PonteiroFilial, usPonteiroFilial)
  PP_CAMPO(DataApontamentoInicial, usDataApontamentoInicial)
  PP_CAMPO(HoraApontamentoInicial, usHoraApontamentoInicial)
  PP_CAMPO(DataApontamentoFinal, usDataApontamentoFinal)
  PP_CAMPO(HoraApontamentoFinal, usHoraApontamentoFinal)
  PP_CAMPO(QuantApontamentoContador, usQuantApontamentoContador)
  PP_CAMPO(QuantApontamentoQuantidade, usQuantApontamentoQuantidade)
  PP_CAMPO(QuantApontamentoIntervalo, usQuantApontamentoIntervalo)
  PP_CAMPO(QuantApontamentoDetalhe, usQuantApontamentoDetalhe)
  PP_CAMPO(TipoOperacaoProducao, cTipoOperacaoProducao)
  PP_CAMPO(ApontaContador, cApontaContador)
  PP_CAMPO(ApontaQuantidade, cApontaQuantidade)
  PP_CAMPO(ApontaIntervalo, cApontaIntervalo)
  PP_CAMPO(ApontaDetalhe, cApontaDetalhe)

  PP_LISTA(Contador, CPPDadosApontamentoRecursoOperacaoContador, usQuantApontamentoContador,
           pregContadores)
  PP_LISTA(Quantidade, CPPDadosApontamentoRecursoOperacaoQuantidade,
           usQuantApontamentoQuantidade, pregQuantidades)
  PP_LISTA(Intervalo, CPPDadosApontamentoRecursoOperacaoIntervalo, usQuantApontamentoIntervalo,
           pregIntervalos)
  PP_LISTA(Detalhe, CPPDadosApontamentoRecursoOperacaoDetalhe, usQuantApontamentoDetalhe,
           pregDetalhes)
  PP_PARTES(Contador, Quantidade, Intervalo, Detalhe)
};

extern template class PPDados<CPPDadosApontamentoRecursoOperacaoContador,
                              _REG_PP_APONTAMENTO_RECURSO_OPERACAO_CONTADORPS>;
extern template class PPDados<CPPDadosApontamentoRecursoOperacaoQuantidade,
                              _REG_PP_APONTAMENTO_RECURSO_OPERACAO_QUANTIDADEPS>;
extern template class PPDados<CPPDadosApontamentoRecursoOperacaoIntervalo,
                              _REG_PP_APONTAMENTO_RECURSO_OPERACAO_INTERVALOPS>;
extern template class PPDados<CPPDadosApontamentoRecursoOperacaoDetalhe,
                              _REG_PP_APONTAMENTO_RECURSO_OPERACAO_DETALHEPS>;
extern template class PPDados<CPPDadosApontamentoRecursoOperacao,
                              _REG_PP_APONTAMENTO_RECURSO_OPERACAOPS>;
extern template class PPDados<CPPDadosApontamentoRecurso, _REG_PP_APONTAMENTO_RECURSOPS>;
extern template class PPDados<CPPDadosResumoApontamentoRecurso,
                              _REG_PP_RESUMO_APONTAMENTO_RECURSOPS>;
