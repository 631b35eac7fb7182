// A scrap reason. Pattern: PPDadosBase.h.
#pragma once

#include "model/PPDadosBase.h"
#include "server/idl/Varmo.h"

class CPPDadosMotivoRefugo : public PPDados<CPPDadosMotivoRefugo, _REG_PP_MOTIVO_REFUGOPS> {
 public:
  PP_CAMPO(Posicao, lPosicao)
  PP_TEXTO(Codigo, szCodigo)
  PP_TEXTO(Descricao, szDescricao)
  PP_CAMPO(Ativo, cAtivo)
};

extern template class PPDados<CPPDadosMotivoRefugo, _REG_PP_MOTIVO_REFUGOPS>;
