#include "server/PPMovimentacaoProduto.h"

#include "server/cadastros/PPClassesCadastros.h"
#include "server/op/PPConsultaMovimentacaoOP.h"

namespace {

// Built at the first use, so that no initialiser of another file finds the slots still empty.
PPConsultaMovimentacao* Consultas() {
  static_assert(kPPMovimentacaoOP == 0 && kPPMovimentacaoMetasProducao == 4);
  static PPConsultaMovimentacao consultas[kPPQuantidadeSlotsMovimentacao] = {
      PPConsultaMovimentacaoOP(), {}, {}, {}, PPConsultaMovimentacaoMetasProducao()};
  return consultas;
}

}  // namespace

PPConsultaMovimentacao PPDefineConsultaMovimentacao(PPSlotMovimentacao slot, const PPConsultaMovimentacao& consulta) {
  const PPConsultaMovimentacao anterior = Consultas()[slot];
  Consultas()[slot] = consulta;
  return anterior;
}

const PPConsultaMovimentacao& PPGetConsultaMovimentacao(PPSlotMovimentacao slot) { return Consultas()[slot]; }

HRESULT PPConsultaMovimentacaoProduto(PPSlotMovimentacao slot, const _REG_VARMO_INICIALIZAPS& regPS,
                                      uint8_t cInicializarCompleto, uint32_t lPonteiroProduto, int32_t* bTeve,
                                      uint16_t* iNivelGradeEmUso) {
  const PPConsultaMovimentacao& consulta = Consultas()[slot];
  if (!consulta.pCria) return E_FAIL;
  void* tratador = consulta.pCria();
  if (!tratador) return E_OUTOFMEMORY;
  HRESULT hr = consulta.pInicializa(tratador, regPS, cInicializarCompleto);
  if (SUCCEEDED(hr)) hr = consulta.pProdutoTeveMovimentacao(tratador, lPonteiroProduto, bTeve, iNivelGradeEmUso);
  consulta.pDestroi(tratador);
  return hr;
}
