#include "server/PPMovimentacaoProduto.h"

namespace {

PPConsultaMovimentacao g_consultas[kPPQuantidadeSlotsMovimentacao] = {};

}  // namespace

PPConsultaMovimentacao PPDefineConsultaMovimentacao(PPSlotMovimentacao slot, const PPConsultaMovimentacao& consulta) {
  const PPConsultaMovimentacao anterior = g_consultas[slot];
  g_consultas[slot] = consulta;
  return anterior;
}

const PPConsultaMovimentacao& PPGetConsultaMovimentacao(PPSlotMovimentacao slot) { return g_consultas[slot]; }

HRESULT PPConsultaMovimentacaoProduto(PPSlotMovimentacao slot, const _REG_VARMO_INICIALIZAPS& regPS,
                                      uint8_t cInicializarCompleto, uint32_t lPonteiroProduto, int32_t* bTeve,
                                      uint16_t* iNivelGradeEmUso) {
  const PPConsultaMovimentacao& consulta = g_consultas[slot];
  if (!consulta.pCria) return E_FAIL;
  void* tratador = consulta.pCria();
  if (!tratador) return E_OUTOFMEMORY;
  HRESULT hr = consulta.pInicializa(tratador, regPS, cInicializarCompleto);
  if (SUCCEEDED(hr)) hr = consulta.pProdutoTeveMovimentacao(tratador, lPonteiroProduto, bTeve, iNivelGradeEmUso);
  consulta.pDestroi(tratador);
  return hr;
}
