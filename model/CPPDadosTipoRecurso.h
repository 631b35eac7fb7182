// A resource type and what must be reported when a resource of the type works on a production
// operation: per operation (CPPDadosTipoRecursoOperacao) the counter readings, quantities,
// intervals and free texts to be asked, in four lists. The operation's own switches and record
// numbers (ApontaContador, PonteiroApontaContador ...) keep what was set: the lists never change
// them. Pattern and ownership: PPDadosBase.h.
#pragma once

#include "model/PPDadosBase.h"
#include "server/idl/Varmo.h"

// A counter reading to be asked: unit, digits, captions and four switches (required, reporting
// updates the resource's counter, the initial reading is suggested, initial may equal final).
class CPPDadosTipoRecursoOperacaoContador
    : public PPDados<CPPDadosTipoRecursoOperacaoContador, _REG_PP_TIPO_RECURSO_CONTADORPS> {
 public:
  PP_CAMPO(PonteiroUnidadeMedida, ulPonteiroUnidadeMedida)
  PP_CAMPO(NumeroDigitos, usNumeroDigitos)
  PP_TEXTO(NomeInicial, szNomeInicial)
  PP_TEXTO(NomeFinal, szNomeFinal)
  PP_CAMPO(Obrigatorio, cObrigatorio)
  PP_CAMPO(AtualizarContadorRecurso, cAtualizarContadorRecurso)
  PP_CAMPO(SugerirContadorInicial, cSugerirContadorInicial)
  PP_CAMPO(PodeInicialIgualFinal, cPodeInicialIgualFinal)
  PP_CAMPO(UnidadeProdutoServico, cUnidadeProdutoServico)
};

class CPPDadosTipoRecursoOperacaoQuantidade
    : public PPDados<CPPDadosTipoRecursoOperacaoQuantidade, _REG_PP_TIPO_RECURSO_QUANTIDADEPS> {
 public:
  PP_CAMPO(PonteiroUnidadeMedida, ulPonteiroUnidadeMedida)
  PP_TEXTO(Nome, szNome)
  PP_CAMPO(Obrigatorio, cObrigatorio)
  PP_CAMPO(UnidadeProdutoServico, cUnidadeProdutoServico)
};

class CPPDadosTipoRecursoOperacaoIntervalo
    : public PPDados<CPPDadosTipoRecursoOperacaoIntervalo, _REG_PP_TIPO_RECURSO_INTERVALOPS> {
 public:
  PP_CAMPO(PonteiroUnidadeMedida, ulPonteiroUnidadeMedida)
  PP_TEXTO(NomeInicial, szNomeInicial)
  PP_TEXTO(NomeFinal, szNomeFinal)
  PP_CAMPO(Obrigatorio, cObrigatorio)
  PP_CAMPO(ValorData, cValorData)
  PP_CAMPO(UnidadeProdutoServico, cUnidadeProdutoServico)
};

class CPPDadosTipoRecursoOperacaoDetalhe
    : public PPDados<CPPDadosTipoRecursoOperacaoDetalhe, _REG_PP_TIPO_RECURSO_DETALHEPS> {
 public:
  PP_CAMPO(MaxCaracteres, usMaxCaracteres)
  PP_CAMPO(MinCaracteres, usMinCaracteres)
  PP_TEXTO(Nome, szNome)
  PP_CAMPO(Obrigatorio, cObrigatorio)
};

class CPPDadosTipoRecursoOperacao
    : public PPDados<CPPDadosTipoRecursoOperacao, _REG_PP_TIPO_RECURSO_OPERACAOPS> {
 public:
  PP_CAMPO(PonteiroOperacaoProducao, ulPonteiroOperacaoProducao)
  PP_CAMPO(PonteiroApontaContador, ulPonteiroApontaContador)
  PP_CAMPO(PonteiroApontaQuantidade, ulPonteiroApontaQuantidade)
  PP_CAMPO(PonteiroApontaIntervalo, ulPonteiroApontaIntervalo)
  PP_CAMPO(PonteiroApontaDetalhe, ulPonteiroApontaDetalhe)
  PP_CAMPO(QuantApontaContador, usQuantApontaContador)
  PP_CAMPO(QuantApontaQuantidade, usQuantApontaQuantidade)
  PP_CAMPO(QuantApontaIntervalo, usQuantApontaIntervalo)
  PP_CAMPO(QuantApontaDetalhe, usQuantApontaDetalhe)
  PP_CAMPO(ApontaContador, cApontaContador)
  PP_CAMPO(ApontaQuantidade, cApontaQuantidade)
  PP_CAMPO(ApontaIntervalo, cApontaIntervalo)
  PP_CAMPO(ApontaDetalhe, cApontaDetalhe)

  PP_LISTA(Contador, CPPDadosTipoRecursoOperacaoContador, usQuantApontaContador, pregContadores)
  PP_LISTA(Quantidade, CPPDadosTipoRecursoOperacaoQuantidade, usQuantApontaQuantidade,
           pregQuantidades)
  PP_LISTA(Intervalo, CPPDadosTipoRecursoOperacaoIntervalo, usQuantApontaIntervalo,
           pregIntervalos)
  PP_LISTA(Detalhe, CPPDadosTipoRecursoOperacaoDetalhe, usQuantApontaDetalhe, pregDetalhes)
  PP_PARTES(Contador, Quantidade, Intervalo, Detalhe)
};

class CPPDadosTipoRecurso : public PPDados<CPPDadosTipoRecurso, _REG_PP_TIPO_RECURSOPS> {
 public:
  PP_CAMPO(Posicao, ulPosicao)
  PP_CAMPO(QuantOperacaoRecurso, usQuantOperacaoRecurso)
  PP_TEXTO(Codigo, szCodigo)
  PP_TEXTO(Descricao, szDescricao)
  PP_TEXTO(Detalhamento, szDetalhamento)
  PP_CAMPO(Tipo, cTipo)
  PP_CAMPO(DetalharApontamento, cDetalharApontamento)
  PP_CAMPO(Inativo, cInativo)

  PP_LISTA(Operacao, CPPDadosTipoRecursoOperacao, usQuantOperacaoRecurso, pregOperacoes)
  PP_PARTES(Operacao)
};

extern template class PPDados<CPPDadosTipoRecursoOperacaoContador, _REG_PP_TIPO_RECURSO_CONTADORPS>;
extern template class PPDados<CPPDadosTipoRecursoOperacaoQuantidade,
                              _REG_PP_TIPO_RECURSO_QUANTIDADEPS>;
extern template class PPDados<CPPDadosTipoRecursoOperacaoIntervalo,
                              _REG_PP_TIPO_RECURSO_INTERVALOPS>;
extern template class PPDados<CPPDadosTipoRecursoOperacaoDetalhe, _REG_PP_TIPO_RECURSO_DETALHEPS>;
extern template class PPDados<CPPDadosTipoRecursoOperacao, _REG_PP_TIPO_RECURSO_OPERACAOPS>;
extern template class PPDados<CPPDadosTipoRecurso, _REG_PP_TIPO_RECURSOPS>;
