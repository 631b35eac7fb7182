// A section of the plant, with the record number of its calendar. Pattern: PPDadosBase.h.
#pragma once

#include "model/PPDadosBase.h"
#include "server/idl/Varmo.h"

class CPPDadosSecao : public PPDados<CPPDadosSecao, _REG_PP_SECAOPS> {
 public:
  PP_CAMPO(Posicao, lPosicao)
  PP_CAMPO(PonteiroCalendario, lPonteiroCalendario)
  PP_TEXTO(Codigo, szCodigo)
  PP_TEXTO(Descricao, szDescricao)
};

extern template class PPDados<CPPDadosSecao, _REG_PP_SECAOPS>;
