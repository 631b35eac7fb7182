// The COM object of QVPP_MestrePP: the frame (CPPObjetoCOM.h) around one master-settings handler,
// every method forwarded unchanged. Inicializa (the version check) and FuncaoGenerica are the
// frame's; the handler's Inicializa takes the session record alone.
#pragma once

#include "server/CPPObjetoCOM.h"
#include "server/CPPServidorMestrePP.h"

class CQVPP_MestrePP : public CPPObjetoCOM<IQVPP_MestrePP, IID_IQVPP_MestrePP, CPPServidorMestrePP> {
 public:
  HRESULT Grava(_REG_VARMO_MESTRE RegPS) override { return Tratador().Grava(RegPS); }
  HRESULT GravaInfApontExternoFiliais(uint16_t usQtd,
                                      _REG_PP_MESTRE_INF_APONT_EXTERNO_FILIALPS* pregInfApontExternoFiliaisPS,
                                      int32_t* plPntrOut) override {
    return Tratador().GravaInfApontExternoFiliais(usQtd, pregInfApontExternoFiliaisPS, plPntrOut);
  }
  HRESULT Le(_REG_VARMO_MESTRE* pRegPS) override { return Tratador().Le(pRegPS); }
  HRESULT LeListaInfApontExternoFiliais(_REG_PP_LISTA_MESTRE_INF_APONT_EXTERNO_FILIALPS* pRegListaPS) override {
    return Tratador().LeListaInfApontExternoFiliais(pRegListaPS);
  }
  HRESULT LeVersao(_REG_PP_VERSAOPS* pregVersao) override { return Tratador().LeVersao(pregVersao); }
  HRESULT BuscaInfoServidor(_REG_VARMO_INFO_SERVIDORPS* pRegPS) override {
    return Tratador().BuscaInfoServidor(pRegPS);
  }
  HRESULT ProdutoTeveMovimentacao(uint32_t lPonteiroProduto, int32_t* bTeve, uint16_t* iNivelGradeEmUso) override {
    return Tratador().ProdutoTeveMovimentacao(lPonteiroProduto, bTeve, iNivelGradeEmUso);
  }
  HRESULT LeInfApontExternoFiliais(uint16_t usPntrFilial, _REG_PP_MESTRE_INF_APONT_EXTERNO_FILIALPS* pRegPS) override {
    return Tratador().LeInfApontExternoFiliais(usPntrFilial, pRegPS);
  }
};
