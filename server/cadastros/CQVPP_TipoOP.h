// The COM object of QVPP_TipoOP: the frame (server/CPPObjetoCOM.h) around one order-type handler.
// Every method is forwarded unchanged but two: Existe runs under the frame's filter bracket, and
// BuscaListaPermissoes lists the permissions on every type that is not removed, whatever filter
// the client has set, which it finds again afterwards.
#pragma once

#include "server/CPPObjetoCOM.h"
#include "server/cadastros/CPPServidorTipoOP.h"

class CQVPP_TipoOP : public CPPObjetoCOM<IQVPP_TipoOP, IID_IQVPP_TipoOP, CPPServidorTipoOP> {
 public:
  HRESULT Finaliza() override { return Tratador().Finaliza(); }
  HRESULT Le(int32_t lPntr, _REG_VARMO_TIPO_OPPS* pRegPS, uint8_t cTipoLeitura) override {
    return Tratador().Le(lPntr, pRegPS, cTipoLeitura);
  }
  HRESULT Grava(int32_t lPntrIn, _REG_VARMO_TIPO_OPPS RegPS, int32_t* plPntrOut) override {
    return Tratador().Grava(lPntrIn, RegPS, plPntrOut);
  }
  HRESULT BuscaPonteiros(_REG_VARMO_PONTEIROSPS* pRegPS) override { return Tratador().BuscaPonteiros(pRegPS); }
  HRESULT LePonteiros(int32_t lQtd, int32_t* plPonteiros, _REG_VARMO_TIPO_OPPS* pRegPS,
                      uint8_t cTipoLeitura) override {
    return Tratador().LePonteiros(lQtd, plPonteiros, pRegPS, cTipoLeitura);
  }
  HRESULT SetFiltro(_REG_VARMO_FILTROPS RegPS) override { return Tratador().SetFiltro(RegPS); }
  HRESULT LimpaFiltro() override { return Tratador().LimpaFiltro(); }
  HRESULT Existe(BSTR bsCodigo, int32_t* plPntr, uint8_t cUtilizaFiltro) override {
    return ExisteComFiltro(cUtilizaFiltro, [&] { return Tratador().Existe(bsCodigo, plPntr, cUtilizaFiltro); });
  }
  HRESULT Remove(int32_t lPntr) override { return Tratador().Remove(lPntr); }
  HRESULT IncrementaOP(int32_t lPntr, uint32_t* plNroOP) override { return Tratador().IncrementaOP(lPntr, plNroOP); }
  // Set to an all-zero filter (not cleared), the saved one set again; the list's result is returned.
  HRESULT BuscaListaPermissoes(_REG_LISTA_PERMISSOES_USUARIO_OPPS* pRegPS) override {
    const _REG_VARMO_FILTROPS filtro = Tratador().GetFiltro();
    Tratador().SetFiltro(_REG_VARMO_FILTROPS{});
    const HRESULT hr = Tratador().BuscaListaPermissoes(pRegPS);
    Tratador().SetFiltro(filtro);
    return hr;
  }
};
