// One label issued for a production order. Pattern: PPDadosBase.h.
#pragma once

#include "model/PPDadosBase.h"
#include "server/idl/Varmo.h"

class CPPDadosEtiquetaEmitida
    : public PPDados<CPPDadosEtiquetaEmitida, _REG_PP_OP_ETIQUETA_EMITIDAPS> {
 public:
  PP_CAMPO(ChaveEtiqueta, ulChaveEtiqueta)
  PP_CAMPO(ChaveOP, ulChaveOP)
  PP_CAMPO(QtdSolicitada, ulQtdSolicitada)
  PP_CAMPO(NrLoteEtiqueta, ulNrLoteEtiqueta)
  PP_CAMPO(TamanhoLoteEtiqueta, ulTamanhoLoteEtiqueta)
  PP_CAMPO(PonteiroProcesso, lPonteiroProcesso)
  PP_CAMPO(IdxProcessoEtiqueta, usIdxProcessoEtiqueta)
  PP_CAMPO(PonteiroUsuario, usPonteiroUsuario)
  PP_CAMPO(DataEmissao, usDataEmissao)
  PP_CAMPO(HoraEmissao, usHoraEmissao)
};

extern template class PPDados<CPPDadosEtiquetaEmitida, _REG_PP_OP_ETIQUETA_EMITIDAPS>;
