// A production operation and where it is shown when orders and resources are reported. Pattern:
// PPDadosBase.h.
#pragma once

#include "model/PPDadosBase.h"
#include "server/idl/Varmo.h"

class CPPDadosOperacaoProducao
    : public PPDados<CPPDadosOperacaoProducao, _REG_VARMO_OPERACAO_PRODUCAOPS> {
 public:
  PP_CAMPO(Posicao, lPosicao)
  PP_TEXTO(Codigo, szCodigo)
  PP_TEXTO(Descricao, szDescricao)
  PP_CAMPO_COMO(char, TipoOperacao, cTipoOperacao)
  PP_CAMPO(VisualizarEmApontamentoOP, cVisualizarEmApontamentoOP)
  PP_CAMPO(VisualizarEmApontamentoRecurso, cVisualizarEmApontamentoRecurso)
  PP_CAMPO_COMO(char, Ativo, cAtivo)
};

extern template class PPDados<CPPDadosOperacaoProducao, _REG_VARMO_OPERACAO_PRODUCAOPS>;
