#include "server/CPPAtualizaVersaoRecurso.h"

#include <cstring>

#include "platform/win32/codepage.h"
#include "server/CPPNomesArquivos.h"

namespace {

constexpr uint32_t kTamanhoRecursoV1 = 128;
constexpr uint32_t kTamanhoRecursoV2 = 200;

// The new resource record, field by field (new <- old).
void RecursoV2(uint32_t, const uint8_t* antigo, uint8_t* novo) {
  std::memcpy(novo + 0, antigo + 0, 16);
  std::memcpy(novo + 24, antigo + 24, 8);
  std::memcpy(novo + 32, antigo + 16, 8);
  std::memcpy(novo + 40, antigo + 32, 8);
  std::memcpy(novo + 48, antigo + 124, 4);
  std::memcpy(novo + 60, antigo + 40, 2);
  std::memcpy(novo + 64, antigo + 42, 10);
  std::memcpy(novo + 74, antigo + 52, 50);
  std::memcpy(novo + 164, antigo + 102, 5);
}

}  // namespace

CPPAtualizaVersaoRecurso::CPPAtualizaVersaoRecurso()
    : CPPAtualizaVersao(PPDescricaoConversor{kPPGrupoRecurso, "Atualiza Recursos", {"AtualizaV01_p_V02"},
                                             &CPPNomesArquivos::ListaArquivosRecursos}) {}

HRESULT CPPAtualizaVersaoRecurso::Converte(uint16_t usVersao) {
  SetLimparHistorico(true);
  if (usVersao != 1) return PPErroHResult(kPPErroAtualizacaoVersao);

  CPPPassoConversao passo(*this, usVersao);
  passo.VerificaSobras({"*.TRA"}, "AtualizaV01_p_V02 -> conversão anterior não terminou com sucesso"_ansi);
  CStringArray arquivos;
  CPPNomesArquivos::ListaArquivosRecursos(arquivos);
  passo.RemoveHistoricosAntigos(arquivos, "AtualizaV01_p_V02 -> remover arquivo: %s");
  const int lista = passo.Lista(CPPPassoConversao::kRemoveArquivosMovimentacao);
  return passo.Executa([&]() -> HRESULT {
    const CString recursos = passo.Caminho(CPPNomesArquivos::ArqRecurso());
    CPPArqEx* antigo = nullptr;
    CPPArqEx* convertido = nullptr;
    if (HRESULT hr = passo.AbreAntigo(recursos, kTamanhoRecursoV1, true, "Abrir arquivo %s", &antigo); FAILED(hr))
      return hr;
    if (HRESULT hr = passo.AbreTRA(lista, recursos, kTamanhoRecursoV2, "Abrir arquivo %s", &convertido); FAILED(hr))
      return hr;
    return passo.ConverteRegistros(*antigo, *convertido, &RecursoV2, "Ler registro - %i", "Gravar registro - %i");
  });
}
