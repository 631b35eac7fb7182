// One production requirement of a product: requested, programmed, produced, cancelled, scrapped
// and grouped quantities, the generating order and the reference to what generated the
// requirement. Pattern: PPDadosBase.h.
#pragma once

#include "model/PPDadosBase.h"
#include "server/idl/Varmo.h"

class CPPDadosNecessidade : public PPDados<CPPDadosNecessidade, _REG_VARMO_OP_NECESSIDADE> {
 public:
  PP_CAMPO(QtdSolicitada, vQtdSolicitada)
  PP_CAMPO(QtdProgramada, vQtdProgramada)
  PP_CAMPO(QtdProduzida, vQtdProduzida)
  PP_CAMPO(QtdCancelada, vQtdCancelada)
  PP_CAMPO(QtdRefugo, vQtdRefugo)
  PP_CAMPO(QtdAgrupada, vQtdAgrupada)
  PP_CAMPO(Chave, ulChave)
  PP_CAMPO(PonteiroOPGeradora, lPonteiroOPGeradora)
  PP_CAMPO(PonteiroColecao, lPonteiroColecao)
  PP_CAMPO(RegQuemGerou, RegQuemGerou)
  PP_CAMPO(PosicaoProduto, regPosProduto)
  PP_CAMPO(PonteiroFilial, usPonteiroFilial)
  PP_CAMPO(DataEmissao, usDataEmissao)
  PP_CAMPO(DataCancelamentoManual, usDataCancelamentoManual)
  PP_CAMPO(PonteiroUsuarioEmissao, usPonteiroUsuarioEmissao)
  PP_CAMPO(PonteiroUsuarioCancelManual, usPonteiroUsuarioCancelManual)
  PP_CAMPO(TipoRegistro, cTipoRegistro)
};

extern template class PPDados<CPPDadosNecessidade, _REG_VARMO_OP_NECESSIDADE>;
