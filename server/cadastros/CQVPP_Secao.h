// The COM object of QVPP_Secao: the frame (server/CPPObjetoCOM.h) around one section handler,
// every method forwarded unchanged. Inicializa (the version check) and FuncaoGenerica are the
// frame's. Sections have no filter, so Existe needs no bracket: the handler ignores cUtilizaFiltro.
#pragma once

#include "server/CPPObjetoCOM.h"
#include "server/cadastros/CPPServidorSecao.h"

class CQVPP_Secao : public CPPObjetoCOM<IQVPP_Secao, IID_IQVPP_Secao, CPPServidorSecao> {
 public:
  HRESULT Finaliza() override { return Tratador().Finaliza(); }
  HRESULT BuscaPonteiros(_REG_VARMO_PONTEIROS_ULONGPS* pRegPS) override { return Tratador().BuscaPonteiros(pRegPS); }
  HRESULT LePonteiros(int32_t lQtd, uint32_t* plPntrs, _REG_PP_SECAOPS* pRegPS) override {
    return Tratador().LePonteiros(lQtd, plPntrs, pRegPS);
  }
  HRESULT Grava(uint32_t lPntrIn, _REG_PP_SECAOPS RegPS, uint32_t* plPntrOut) override {
    return Tratador().Grava(lPntrIn, RegPS, plPntrOut);
  }
  HRESULT Le(uint32_t lPntr, _REG_PP_SECAOPS* pRegPS) override { return Tratador().Le(lPntr, pRegPS); }
  HRESULT Existe(BSTR bsCodigo, uint32_t* plPntr, uint8_t cUtilizaFiltro) override {
    return Tratador().Existe(bsCodigo, plPntr, cUtilizaFiltro);
  }
  HRESULT Remove(uint32_t lPntr) override { return Tratador().Remove(lPntr); }
};
