// The COM object of QVPP_TipoRecurso: the frame (CPPObjetoCOM.h) around one resource-type handler,
// every method forwarded unchanged. Inicializa (the version check) and FuncaoGenerica are the
// frame's. Existe needs no filter bracket: the handler applies cUtilizaFiltro itself.
#pragma once

#include "server/CPPObjetoCOM.h"
#include "server/cadastros/CPPServidorTipoRecurso.h"

class CQVPP_TipoRecurso
    : public CPPObjetoCOM<IQVPP_TipoRecurso, IID_IQVPP_TipoRecurso, CPPServidorTipoRecurso> {
 public:
  HRESULT Finaliza() override { return Tratador().Finaliza(); }
  HRESULT Grava(uint32_t ulPonteiro, _REG_PP_TIPO_RECURSOPS regTipoRecursops, uint32_t* pulPonteiroOut) override {
    return Tratador().Grava(ulPonteiro, regTipoRecursops, pulPonteiroOut);
  }
  HRESULT Remove(uint32_t ulPonteiro) override { return Tratador().Remove(ulPonteiro); }
  HRESULT LePonteiros(uint32_t ulQtd, uint32_t* pulPonteiros, _REG_PP_TIPO_RECURSOPS* pregTipoRecursops,
                      uint16_t usTipoLeitura) override {
    return Tratador().LePonteiros(ulQtd, pulPonteiros, pregTipoRecursops, usTipoLeitura);
  }
  HRESULT BuscaRegistros(_REG_PP_LISTA_TIPO_RECURSOPS* pListaTipoRecursops, uint16_t usTipoLeitura) override {
    return Tratador().BuscaRegistros(pListaTipoRecursops, usTipoLeitura);
  }
  HRESULT BuscaPonteiros(_REG_VARMO_PONTEIROS_ULONGPS* pListaPonteirosps) override {
    return Tratador().BuscaPonteiros(pListaPonteirosps);
  }
  HRESULT SetFiltro(_REG_PP_FILTRO_TIPO_RECURSOPS regFiltrops) override { return Tratador().SetFiltro(regFiltrops); }
  HRESULT LimpaFiltro() override { return Tratador().LimpaFiltro(); }
  HRESULT Existe(BSTR bsCodigo, uint32_t* pulPosicao, uint8_t cUtilizaFiltro) override {
    return Tratador().Existe(bsCodigo, pulPosicao, cUtilizaFiltro);
  }
};
