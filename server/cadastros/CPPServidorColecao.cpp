#include "server/cadastros/CPPServidorColecao.h"

#include "server/CPPNomesArquivos.h"
#include "server/op/CPPServidorOPUso.h"

namespace {

const PPArquivoCadastro kArquivos[] = {{&CPPNomesArquivos::ArqColecao, sizeof(PPRegistroTabelaCodigo)}};

const PPDeclaracaoCadastro kDeclaracao = PPDeclaracaoTabelaCodigo(kArquivos, 4, "Projeto: %s - %s");

using Verificacao = HRESULT (CPPServidorOPUso::*)(_REG_VARMO_FILTROPS, uint8_t*);

// Whether a check of the order handler finds the collection in use, or fails.
bool UsoOuFalha(CPPServidorOPUso& uso, Verificacao verificacao, const _REG_VARMO_FILTROPS& filtro) {
  uint8_t cEmUso = 0;
  return (uso.*verificacao)(filtro, &cEmUso) != S_OK || cEmUso != 0;
}

}  // namespace

CPPServidorColecao::CPPServidorColecao() : CPPServidorTabelaCodigoDe(kDeclaracao) {}

bool CPPServidorColecao::PassaFiltro(uint8_t cSituacao) const {
  const uint8_t cFiltro = GetFiltro().cSituacao;
  return cFiltro == 0 || (cFiltro & cSituacao) != 0;
}

HRESULT CPPServidorColecao::VerificaUso(uint32_t ulPosicao) {
  const HRESULT kEmUso = PPErroHResult(kPPErroRegistroEmUso);
  CPPServidorOPUso uso;
  if (FAILED(uso.Inicializa(GetSessaoPS(), 0))) return kEmUso;
  _REG_VARMO_FILTROPS filtro{};
  filtro.lPonteiroColecao = static_cast<int32_t>(ulPosicao);
  if (UsoOuFalha(uso, &CPPServidorOPUso::VerificaUsoFluxoColecao, filtro)) return kEmUso;
  if (UsoOuFalha(uso, &CPPServidorOPUso::VerificaUsoColecaoNecessidade, filtro)) return kEmUso;
  return S_OK;
}
