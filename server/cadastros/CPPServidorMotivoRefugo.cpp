#include "server/cadastros/CPPServidorMotivoRefugo.h"

#include "server/CPPNomesArquivos.h"
#include "server/op/CPPServidorOPUso.h"

namespace {

const PPArquivoCadastro kArquivos[] = {{&CPPNomesArquivos::ArqMotivoRefugo, sizeof(PPRegistroTabelaCodigo)}};

const PPDeclaracaoCadastro kDeclaracao = PPDeclaracaoTabelaCodigo(kArquivos, 10, "Motivo Refugo: %s - %s");

}  // namespace

CPPServidorMotivoRefugo::CPPServidorMotivoRefugo() : CPPServidorTabelaCodigoDe(kDeclaracao) {}

bool CPPServidorMotivoRefugo::PassaFiltro(uint8_t cAtivo) const {
  return GetFiltro().cAtivo != kAtivo || cAtivo == kAtivo;
}

HRESULT CPPServidorMotivoRefugo::VerificaUso(uint32_t ulPosicao) {
  CPPServidorOPUso uso;
  if (HRESULT hr = uso.Inicializa(GetSessaoPS(), 0); FAILED(hr)) return hr;
  _REG_VARMO_FILTRO_APONTAMENTOPS filtro{};
  filtro.lPonteiroMotivoRefugo = static_cast<int32_t>(ulPosicao);
  uint8_t cEmUso = 0;
  if (HRESULT hr = uso.VerificaUsoApontamento(filtro, &cEmUso)) return hr;
  return cEmUso ? PPErroHResult(kPPErroRegistroEmUso) : S_OK;
}
