// The COM object of QVPP_Recursos: the frame (server/CPPObjetoCOM.h) around one resource handler,
// every method forwarded unchanged. Inicializa (the version check) and FuncaoGenerica are the
// frame's (for this class FuncaoGenerica answers 0 and writes nothing); Existe with cUtilizaFiltro
// other than 1 runs without the handler's 22-byte filter and leaves it as it was.
#pragma once

#include "server/CPPObjetoCOM.h"
#include "server/cadastros/CPPServidorRecursos.h"

class CQVPP_Recursos : public CPPObjetoCOM<IQVPP_Recursos, IID_IQVPP_Recursos, CPPServidorRecursos> {
 public:
  HRESULT Finaliza() override { return Tratador().Finaliza(); }
  HRESULT Existe(BSTR bsCodigo, int32_t* plPntrOut, uint8_t cUtilizaFiltro) override {
    return ExisteComFiltro(cUtilizaFiltro, [&] { return Tratador().Existe(bsCodigo, plPntrOut, cUtilizaFiltro); });
  }
  HRESULT VerificaMovimentoRecurso(int32_t lPonteiroRecursoIN, uint8_t* pcHouveMovimentoOUT) override {
    return Tratador().VerificaMovimentoRecurso(lPonteiroRecursoIN, pcHouveMovimentoOUT);
  }
  HRESULT Remove(int32_t lPntrIn) override { return Tratador().Remove(lPntrIn); }
  HRESULT Grava(int32_t lPntrIn, _REG_PP_RECURSOPS regInPS, int32_t* plPntrOut) override {
    return Tratador().Grava(lPntrIn, regInPS, plPntrOut);
  }
  HRESULT Le(int32_t lPntr, _REG_PP_RECURSOPS* pRegRetornado, uint8_t cTipoLeitura) override {
    return Tratador().Le(lPntr, pRegRetornado, cTipoLeitura);
  }
  HRESULT LePonteiros(int32_t lQtd, int32_t* plPonteiros, _REG_PP_RECURSOPS* pRegRetornoPS,
                      uint8_t cTipoLeitura) override {
    return Tratador().LePonteiros(lQtd, plPonteiros, pRegRetornoPS, cTipoLeitura);
  }
  HRESULT BuscaPonteiros(_REG_VARMO_PONTEIROSPS* pRegRetornado) override {
    return Tratador().BuscaPonteiros(pRegRetornado);
  }
  HRESULT SetFiltro(_REG_PP_FILTRO_RECURSOPS regFiltrops) override { return Tratador().SetFiltro(regFiltrops); }
  HRESULT LimpaFiltro() override { return Tratador().LimpaFiltro(); }
  HRESULT AlteraManualContadorRecurso(_REG_PP_RECURSO_HISTORICO_CONTADORPS RegPS) override {
    return Tratador().AlteraManualContadorRecurso(RegPS);
  }
  HRESULT BuscaHistoricoAlteracaoManualContador(uint32_t ulPonteiroRecurso,
                                                _REG_PP_LISTA_RECURSO_HISTORICO_CONTADORPS* pListaps) override {
    return Tratador().BuscaHistoricoAlteracaoManualContador(ulPonteiroRecurso, pListaps);
  }
  HRESULT AtualizaContador(uint32_t ulPonteiroRecurso,
                           _REG_PP_ATUALIZA_CONTADOR_RECURSOPS regAtualizacaops) override {
    return Tratador().AtualizaContador(ulPonteiroRecurso, regAtualizacaops);
  }
};
