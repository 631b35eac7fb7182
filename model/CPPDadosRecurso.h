// A resource (recurso), on which production processes are executed: capacity, set-up time,
// efficiency, cost and, when it has one (PossuiContador), its counter: the current reading, unit,
// digits, unit option and the captions of the initial and final readings. Each change of a
// reading is one history record (CPPDadosRecursoHistoricoContador); a history is handed over whole
// as CPPDadosListaRecursoHistoricoContador, whose count is 32-bit. The classes carry the values;
// the servers and rules decide with them. Pattern and ownership: PPDadosBase.h.
#pragma once

#include "model/PPDadosBase.h"
#include "server/idl/Varmo.h"

class CPPDadosRecurso : public PPDados<CPPDadosRecurso, _REG_PP_RECURSOPS> {
 public:
  PP_CAMPO(Capacidade, vCapacidade)
  PP_CAMPO(Setup, vSetup)
  PP_CAMPO(ContadorAtual, vContadorAtual)
  PP_CAMPO(PercEficiencia, vPercEficiencia)
  PP_CAMPO(v8Custo, v8Custo)
  PP_CAMPO(PonteiroCentroCustos, lPonteiroCentroCustos)
  PP_CAMPO(PonteiroSecao, lPonteiroSecao)
  PP_CAMPO(PonteiroUnidadeMedidaContador, ulPonteiroUnidadeMedidaContador)
  PP_CAMPO(PonteiroTipoRecurso, ulPonteiroTipoRecurso)
  PP_CAMPO(Posicao, lPosicaoRecurso)
  PP_CAMPO(PonteiroFilial, usPonteiroFilial)
  PP_CAMPO(NumeroDigitosContador, usNumeroDigitosContador)
  PP_TEXTO(Codigo, szCodigo)
  PP_TEXTO(Descricao, szDescricao)
  PP_TEXTO(NomeContadorInicial, szNomeContadorInicial)
  PP_TEXTO(NomeContadorFinal, szNomeContadorFinal)
  PP_TEXTO(Detalhe, szDetalhe)
  PP_CAMPO(Ativo, cAtivo)
  PP_CAMPO(Tipo, cTipo)
  PP_CAMPO(CustoTempoPorUnidade, cCustoTempoPorUnidade)
  PP_CAMPO(TipoCusto, cTipoCusto)
  PP_CAMPO(UnidadeProdutoServico, cUnidadeProdutoServico)
  PP_CAMPO(PossuiContador, cPossuiContador)
};

class CPPDadosRecursoHistoricoContador
    : public PPDados<CPPDadosRecursoHistoricoContador, _REG_PP_RECURSO_HISTORICO_CONTADORPS> {
 public:
  PP_CAMPO(ContadorAnterior, vContadorAnterior)
  PP_CAMPO(ContadorGravado, vContadorGravado)
  PP_CAMPO(ContadorHistorico, ulContadorHistorico)
  PP_CAMPO(PonteiroRecurso, ulPonteiroRecurso)
  PP_CAMPO(PonteiroUsuarioGravacao, ulPonteiroUsuarioGravacao)
  PP_CAMPO(DataGravacao, usDataGravacao)
  PP_CAMPO(HoraGravacao, usHoraGravacao)
  PP_TEXTO(Motivo, szMotivo)
};

class CPPDadosListaRecursoHistoricoContador
    : public PPDados<CPPDadosListaRecursoHistoricoContador,
                     _REG_PP_LISTA_RECURSO_HISTORICO_CONTADORPS> {
 public:
  PP_CAMPO(Quantidade, ulQuantidade)
  PP_LISTA(Historico, CPPDadosRecursoHistoricoContador, ulQuantidade, pregLista)
  PP_PARTES(Historico)
};

extern template class PPDados<CPPDadosRecurso, _REG_PP_RECURSOPS>;
extern template class PPDados<CPPDadosRecursoHistoricoContador,
                              _REG_PP_RECURSO_HISTORICO_CONTADORPS>;
extern template class PPDados<CPPDadosListaRecursoHistoricoContador,
                              _REG_PP_LISTA_RECURSO_HISTORICO_CONTADORPS>;
