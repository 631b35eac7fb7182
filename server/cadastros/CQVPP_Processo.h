// The COM object of QVPP_Processo: the frame (server/CPPObjetoCOM.h) around one process handler,
// every method forwarded unchanged. Inicializa (the version check, then the handler's with the
// client flag) and FuncaoGenerica are the frame's; Existe with cUtilizaFiltro other than 1 runs
// with the handler's filter cleared and gives it back afterwards.
#pragma once

#include "server/CPPObjetoCOM.h"
#include "server/cadastros/CPPServidorProcesso.h"

class CQVPP_Processo : public CPPObjetoCOM<IQVPP_Processo, IID_IQVPP_Processo, CPPServidorProcesso> {
 public:
  HRESULT Finaliza() override { return Tratador().Finaliza(); }
  HRESULT Grava(int32_t lPntrIn, _REG_VARMO_PROCESSOPS RegPS, int32_t* plPntrOut) override {
    return Tratador().Grava(lPntrIn, RegPS, plPntrOut);
  }
  HRESULT BuscaPonteiros(_REG_VARMO_PONTEIROSPS* pRegPS) override { return Tratador().BuscaPonteiros(pRegPS); }
  HRESULT LePonteiros(int32_t lQtd, int32_t* plPntrs, _REG_VARMO_PROCESSOPS* pRegPS, uint8_t cTipoLeitura) override {
    return Tratador().LePonteiros(lQtd, plPntrs, pRegPS, cTipoLeitura);
  }
  HRESULT Existe(BSTR bsCodigo, int32_t* plPntr, uint8_t cUtilizaFiltro) override {
    return ExisteComFiltro(cUtilizaFiltro, [&] { return Tratador().Existe(bsCodigo, plPntr, cUtilizaFiltro); });
  }
  HRESULT Remove(int32_t lPntrIn) override { return Tratador().Remove(lPntrIn); }
  HRESULT SetFiltro(_REG_VARMO_FILTROPS RegPS) override { return Tratador().SetFiltro(RegPS); }
  HRESULT LimpaFiltro() override { return Tratador().LimpaFiltro(); }
  HRESULT Le(int32_t lPntr, _REG_VARMO_PROCESSOPS* pRegPS, uint8_t cTipoLeitura) override {
    return Tratador().Le(lPntr, pRegPS, cTipoLeitura);
  }
};
