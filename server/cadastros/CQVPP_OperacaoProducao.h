// The COM object of QVPP_OperacaoProducao: the frame (server/CPPObjetoCOM.h) around one
// production-operation handler, every method forwarded unchanged. Inicializa (the version check)
// and FuncaoGenerica are the frame's; Existe with cUtilizaFiltro other than 1 runs without the
// handler's 12-byte filter and leaves it as it was.
#pragma once

#include "server/CPPObjetoCOM.h"
#include "server/cadastros/CPPServidorOperacaoProducao.h"

class CQVPP_OperacaoProducao
    : public CPPObjetoCOM<IQVPP_OperacaoProducao, IID_IQVPP_OperacaoProducao, CPPServidorOperacaoProducao> {
 public:
  HRESULT Finaliza() override { return Tratador().Finaliza(); }
  HRESULT SetFiltro(_REG_PP_FILTRO_OPERACAO_PRODUCAOPS RegPS) override { return Tratador().SetFiltro(RegPS); }
  HRESULT LimpaFiltro() override { return Tratador().LimpaFiltro(); }
  HRESULT Grava(int32_t lPntrIn, _REG_VARMO_OPERACAO_PRODUCAOPS RegPS, int32_t* plPntrOut) override {
    return Tratador().Grava(lPntrIn, RegPS, plPntrOut);
  }
  HRESULT BuscaPonteiros(_REG_VARMO_PONTEIROSPS* pRegPS) override { return Tratador().BuscaPonteiros(pRegPS); }
  HRESULT LePonteiros(int32_t lQtd, int32_t* plPntrs, _REG_VARMO_OPERACAO_PRODUCAOPS* pRegPS) override {
    return Tratador().LePonteiros(lQtd, plPntrs, pRegPS);
  }
  HRESULT Existe(BSTR bsCodigo, int32_t* plPntr, uint8_t cUtilizaFiltro) override {
    return ExisteComFiltro(cUtilizaFiltro, [&] { return Tratador().Existe(bsCodigo, plPntr, cUtilizaFiltro); });
  }
  HRESULT Remove(int32_t lPntrIn) override { return Tratador().Remove(lPntrIn); }
  HRESULT Le(int32_t lPntr, _REG_VARMO_OPERACAO_PRODUCAOPS* pRegPS) override { return Tratador().Le(lPntr, pRegPS); }
  HRESULT GravaDetalhe(int32_t lPntr, BSTR bsDetalhe) override { return Tratador().GravaDetalhe(lPntr, bsDetalhe); }
  HRESULT LeDetalhe(int32_t lPntr, BSTR* pbsDetalhe) override { return Tratador().LeDetalhe(lPntr, pbsDetalhe); }
};
