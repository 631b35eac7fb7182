#include "server/cadastros/PPCosturasCadastros.h"

#include "access/PPLiberaRegistro.h"
#include "server/PPTextosStatus.h"
#include "server/op/CPPServidorOP.h"

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

// A bit that reads the processes without any of their lists.
constexpr uint16_t kLeSoProcessos = 0x1;

// The order handler reads the processes alone, for one question of the session.
HRESULT LeProcessosOP(const _REG_VARMO_INICIALIZAPS& regPS, uint32_t lPonteiroOP, std::vector<PPProcessoOP>* processos) {
  processos->clear();
  CPPServidorOP op;
  if (HRESULT hr = op.Inicializa(regPS)) return hr;
  _REG_VARMO_OPPS ordem{};
  HRESULT hr = op.LePonteiros(1, &lPonteiroOP, &ordem, kLeSoProcessos);
  for (uint16_t i = 0; SUCCEEDED(hr) && ordem.pregProcessos && i < ordem.usQtdProcessos; ++i) {
    const _REG_VARMO_OP_PROCESSOPS& processo = ordem.pregProcessos[i];
    processos->push_back({processo.lPonteiroProcesso, processo.cRecebeApontamento});
  }
  LiberaRegistroOP(&ordem, 0);
  return hr;
}

PPCosturasCadastros g_costuras = {&NenhumaEtapa, &NenhumaEtapa, &NenhumTipoOP, &NenhumPlano, &NadaARemover, &LeProcessosOP};

}  // namespace

const PPCosturasCadastros& PPGetCosturasCadastros() { return g_costuras; }

PPCosturasCadastros PPDefineCosturasCadastros(const PPCosturasCadastros& costuras) {
  const PPCosturasCadastros anteriores = g_costuras;
  g_costuras = costuras;
  return anteriores;
}
