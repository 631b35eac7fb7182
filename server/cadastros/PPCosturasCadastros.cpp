#include "server/cadastros/PPCosturasCadastros.h"

#include "server/PPTextosStatus.h"

namespace {

HRESULT NenhumaEtapa(const _REG_VARMO_INICIALIZAPS&, int32_t, int32_t* plQtd) {
  *plQtd = 0;
  return S_OK;
}

HRESULT NenhumTipoOP(const _REG_VARMO_INICIALIZAPS&, const _REG_VARMO_FILTROPS&, std::vector<int32_t>* tiposOP) {
  tiposOP->clear();
  return S_OK;
}

HRESULT NenhumPlano(const _REG_VARMO_INICIALIZAPS&, int32_t, uint8_t* pcUsado) {
  *pcUsado = 0;
  return S_OK;
}

HRESULT NadaARemover(const _REG_VARMO_INICIALIZAPS&, int32_t) { return S_OK; }

HRESULT OPIlegivel(const _REG_VARMO_INICIALIZAPS&, uint32_t, std::vector<PPProcessoOP>* processos) {
  processos->clear();
  return PPErroHResult(kPPErroOPInexistente);
}

PPCosturasCadastros g_costuras = {&NenhumaEtapa, &NenhumaEtapa, &NenhumTipoOP, &NenhumPlano, &NadaARemover, &OPIlegivel};

}  // namespace

const PPCosturasCadastros& PPGetCosturasCadastros() { return g_costuras; }

PPCosturasCadastros PPDefineCosturasCadastros(const PPCosturasCadastros& costuras) {
  const PPCosturasCadastros anteriores = g_costuras;
  g_costuras = costuras;
  return anteriores;
}
