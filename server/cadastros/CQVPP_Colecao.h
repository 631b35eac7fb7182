// The COM object of QVPP_Colecao: the frame (server/CPPObjetoCOM.h) around one collection handler,
// every method forwarded unchanged. Inicializa (the version check) and FuncaoGenerica are the
// frame's; Existe with cUtilizaFiltro other than 1 runs without the handler's 6-byte filter and
// leaves it as it was.
#pragma once

#include "server/CPPObjetoCOM.h"
#include "server/cadastros/CPPServidorColecao.h"

class CQVPP_Colecao : public CPPObjetoCOM<IQVPP_Colecao, IID_IQVPP_Colecao, CPPServidorColecao> {
 public:
  HRESULT Finaliza() override { return Tratador().Finaliza(); }
  HRESULT BuscaPonteiros(_REG_VARMO_PONTEIROSPS* pRegPonteirosPS) override {
    return Tratador().BuscaPonteiros(pRegPonteirosPS);
  }
  HRESULT LePonteiros(int32_t lQtd, int32_t* plPonteiros, _REG_PP_COLECAOPS* pregColecaoPS) override {
    return Tratador().LePonteiros(lQtd, plPonteiros, pregColecaoPS);
  }
  HRESULT Le(int32_t lPosicao, _REG_PP_COLECAOPS* pregColecaoPS) override {
    return Tratador().Le(lPosicao, pregColecaoPS);
  }
  HRESULT Grava(int32_t lPosicao, _REG_PP_COLECAOPS regColecaoPS, int32_t* plPosicaoOut) override {
    return Tratador().Grava(lPosicao, regColecaoPS, plPosicaoOut);
  }
  HRESULT Remove(int32_t lPosicao) override { return Tratador().Remove(lPosicao); }
  HRESULT Existe(BSTR bsChave, int32_t* plPosicao, uint8_t cUtilizaFiltro) override {
    return ExisteComFiltro(cUtilizaFiltro, [&] { return Tratador().Existe(bsChave, plPosicao, cUtilizaFiltro); });
  }
  HRESULT SetFiltro(_REG_PP_FILTRO_COLECAOPS regFiltrops) override { return Tratador().SetFiltro(regFiltrops); }
  HRESULT LimpaFiltro() override { return Tratador().LimpaFiltro(); }
};
