// The COM object of QVPP_MetasProducao: the frame (server/CPPObjetoCOM.h) around one production-
// targets handler. Inicializa (the version check, then the handler's with the client flag) and
// FuncaoGenerica (not supported) are the frame's; every other method is forwarded unchanged but
// BuscaRegistrosFiltrado, which lists under the filter of the call and puts the client's filter
// back afterwards.
#pragma once

#include "server/CPPObjetoCOM.h"
#include "server/cadastros/CPPServidorMetasProducao.h"

class CQVPP_MetasProducao
    : public CPPObjetoCOM<IQVPP_MetasProducao, IID_IQVPP_MetasProducao, CPPServidorMetasProducao> {
 public:
  HRESULT Finaliza() override { return Tratador().Finaliza(); }
  HRESULT Grava(uint32_t ulChave, _REG_PP_META_PRODUCAOPS regMetaProducaops, uint32_t* pulChave) override {
    return Tratador().Grava(ulChave, regMetaProducaops, pulChave);
  }
  HRESULT Remove(uint32_t ulChave) override { return Tratador().Remove(ulChave); }
  HRESULT LePonteiros(uint32_t ulQtd, uint32_t* pulChaves, _REG_PP_META_PRODUCAOPS* pregMetasProducaops,
                      uint16_t usTipoLeitura) override {
    return Tratador().LePonteiros(ulQtd, pulChaves, pregMetasProducaops, usTipoLeitura);
  }
  HRESULT BuscaPonteiros(_REG_VARMO_PONTEIROS_ULONGPS* pListaChavesps) override {
    return Tratador().BuscaPonteiros(pListaChavesps);
  }
  HRESULT BuscaRegistros(_LISTA_REG_PP_META_PRODUCAOPS* pListaMetasProducaops, uint16_t usTipoLeitura) override {
    return Tratador().BuscaRegistros(pListaMetasProducaops, usTipoLeitura);
  }
  HRESULT BuscaRegistrosFiltrado(_REG_PP_FILTRO_META_PRODUCAOPS regFiltrops,
                                 _LISTA_REG_PP_META_PRODUCAOPS* pListaMetasProducaops,
                                 uint16_t usTipoLeitura) override {
    const _REG_PP_FILTRO_META_PRODUCAOPS filtro = Tratador().GetFiltro();
    Tratador().SetFiltro(regFiltrops);
    const HRESULT hr = Tratador().BuscaRegistros(pListaMetasProducaops, usTipoLeitura);
    Tratador().SetFiltro(filtro);
    return hr;
  }
  HRESULT SetFiltro(_REG_PP_FILTRO_META_PRODUCAOPS regFiltrops) override { return Tratador().SetFiltro(regFiltrops); }
  HRESULT LimpaFiltro() override { return Tratador().LimpaFiltro(); }
  HRESULT CalcularMetasProducao(_REG_PP_FILTRO_CALCULO_META_PRODUCAOPS regFiltrops) override {
    return Tratador().CalcularMetasProducao(regFiltrops);
  }
  HRESULT ApontarMetaProducao(_REG_PP_META_PRODUCAOPS regMetaProducaops) override {
    return Tratador().ApontarMetaProducao(regMetaProducaops);
  }
  HRESULT ReplicarMetasProducao(_REG_PP_REPLICAR_META_PRODUCAOPS regReplicarMetasProducaops) override {
    return Tratador().ReplicarMetasProducao(regReplicarMetasProducaops);
  }
  HRESULT BuscaDadoParaGrafico(_REG_PP_FILTRO_META_PRODUCAOPS regFiltrops,
                               _LISTA_REG_PP_META_PRODUCAOPS* pListaMetasProducaops) override {
    return Tratador().BuscaDadoParaGrafico(regFiltrops, pListaMetasProducaops);
  }
};
