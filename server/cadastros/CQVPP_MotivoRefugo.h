// The COM object of QVPP_MotivoRefugo: the frame (server/CPPObjetoCOM.h) around one scrap-reason
// handler, every method forwarded unchanged. Inicializa (the version check) and FuncaoGenerica are
// the frame's; Existe with cUtilizaFiltro other than 1 runs without the handler's 6-byte filter and
// leaves it as it was.
#pragma once

#include "server/CPPObjetoCOM.h"
#include "server/cadastros/CPPServidorMotivoRefugo.h"

class CQVPP_MotivoRefugo : public CPPObjetoCOM<IQVPP_MotivoRefugo, IID_IQVPP_MotivoRefugo, CPPServidorMotivoRefugo> {
 public:
  HRESULT Finaliza() override { return Tratador().Finaliza(); }
  HRESULT BuscaPonteiros(_REG_VARMO_PONTEIROSPS* pRegPonteirosPS) override {
    return Tratador().BuscaPonteiros(pRegPonteirosPS);
  }
  HRESULT Le(int32_t lPosicao, _REG_PP_MOTIVO_REFUGOPS* pregMotivoRefugoPS) override {
    return Tratador().Le(lPosicao, pregMotivoRefugoPS);
  }
  HRESULT LePonteiros(int32_t lQtd, int32_t* plPonteiros, _REG_PP_MOTIVO_REFUGOPS* pregMotivoRefugoPS) override {
    return Tratador().LePonteiros(lQtd, plPonteiros, pregMotivoRefugoPS);
  }
  HRESULT Grava(int32_t lPosicao, _REG_PP_MOTIVO_REFUGOPS regMotivoRefugoPS, int32_t* plPosicaoOut) override {
    return Tratador().Grava(lPosicao, regMotivoRefugoPS, plPosicaoOut);
  }
  HRESULT Remove(int32_t lPosicao) override { return Tratador().Remove(lPosicao); }
  HRESULT Existe(BSTR bsChave, int32_t* plPosicao, uint8_t cUtilizaFiltro) override {
    return ExisteComFiltro(cUtilizaFiltro, [&] { return Tratador().Existe(bsChave, plPosicao, cUtilizaFiltro); });
  }
  HRESULT SetFiltro(_REG_PP_FILTRO_MOTIVO_REFUGOPS regFiltrops) override { return Tratador().SetFiltro(regFiltrops); }
  HRESULT LimpaFiltro() override { return Tratador().LimpaFiltro(); }
};
