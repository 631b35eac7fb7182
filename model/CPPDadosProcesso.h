// A production process with the resources that may execute it (Recurso), each resource with its
// planned maintenance stops (Paradas, the element class of the maintenance plans' schedule): a
// record written by CopiarPara is a three-level tree. The process record has no accessor for a
// resource's stop count. Pattern and ownership: PPDadosBase.h.
#pragma once

#include "model/CPPDadosPlanoManutencao.h"
#include "model/PPDadosBase.h"
#include "server/idl/Varmo.h"

class CPPDadosProcessoRecurso
    : public PPDados<CPPDadosProcessoRecurso, _REG_PP_PROCESSO_RECURSOPS> {
 public:
  PP_CAMPO(PonteiroRecurso, lPonteiroRecurso)
  PP_CAMPO(SomarCapacidadeDisponivel, cSomarCapacidadeDisponivel)

  PP_LISTA(Paradas, CPPDadosPlanoManutencaoProgramacao, usQtdParadas, pregParadas)
  PP_PARTES(Paradas)
};

class CPPDadosProcesso : public PPDados<CPPDadosProcesso, _REG_VARMO_PROCESSOPS> {
 public:
  PP_TEXTO(Codigo, szCodigo)
  PP_TEXTO(Descricao, szDescricao)
  PP_TEXTO(Observacao, szObservacao)
  PP_CAMPO_COMO(char, Ativo, cAtivo)
  PP_CAMPO(CustoPorApontamento, cCustoPorApontamento)
  PP_CAMPO(PonteiroSecao, lPonteiroSecao)
  PP_CAMPO(Posicao, lPosicao)
  PP_CAMPO(QtdRecursos, usQtdRecursos)
  PP_CAMPO(v8CustoProcesso, v8CustoProcesso)
  PP_CAMPO(CapacidadeDia, vCapacidadeDia)

  PP_LISTA(Recurso, CPPDadosProcessoRecurso, usQtdRecursos, pregRecursos)
  PP_PARTES(Recurso)
};

extern template class PPDados<CPPDadosProcessoRecurso, _REG_PP_PROCESSO_RECURSOPS>;
extern template class PPDados<CPPDadosProcesso, _REG_VARMO_PROCESSOPS>;
