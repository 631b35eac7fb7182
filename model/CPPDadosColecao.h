// A project, called collection in the records, with its state. Pattern: PPDadosBase.h.
#pragma once

#include "model/PPDadosBase.h"
#include "server/idl/Varmo.h"

class CPPDadosColecao : public PPDados<CPPDadosColecao, _REG_PP_COLECAOPS> {
 public:
  PP_CAMPO(Posicao, lPosicao)
  PP_TEXTO(Codigo, szCodigo)
  PP_TEXTO(Descricao, szDescricao)
  PP_CAMPO(Situacao, cSituacao)
};

extern template class PPDados<CPPDadosColecao, _REG_PP_COLECAOPS>;
