#include "server/CPPAtualizaVersaoOperacaoProducao.h"

#include <cstring>

#include "platform/win32/codepage.h"
#include "server/CPPNomesArquivos.h"

namespace {

constexpr uint32_t kTamanhoOperacao = 128;  // at both versions
constexpr size_t kMarcaV02 = 67;            // 1 in every operation of version 2

}  // namespace

CPPAtualizaVersaoOperacaoProducao::CPPAtualizaVersaoOperacaoProducao()
    : CPPAtualizaVersao(PPDescricaoConversor{kPPGrupoOperacaoProducao,
                                             "Atualiza Operação de Produção"_ansi,
                                             {"AtualizaV01_p_V02"},
                                             &CPPNomesArquivos::ListaArquivosOperacaoProducao}) {}

HRESULT CPPAtualizaVersaoOperacaoProducao::Converte(uint16_t usVersao) {
  SetLimparHistorico(true);
  if (usVersao != 1) return PPErroHResult(kPPErroAtualizacaoVersao);

  CPPPassoConversao passo(*this, usVersao);
  passo.VerificaSobras({"*.TRA"}, "AtualizaV01_p_V02 -> conversão anterior não terminou com sucesso"_ansi);
  CStringArray grupo;
  CPPNomesArquivos::ListaArquivosOperacaoProducao(grupo);
  passo.RemoveHistoricosAntigos(grupo, "AtualizaV01_p_V02 -> remover arquivo: %s");
  const int lista = passo.Lista(CPPPassoConversao::kRemoveArquivosMovimentacao);
  return passo.Executa([&]() -> HRESULT {
    const CString arquivo = passo.Caminho(CPPNomesArquivos::ArqOperacaoProducaoCabecalho());
    CPPArqEx* antigo = nullptr;
    CPPArqEx* convertido = nullptr;
    if (HRESULT hr = passo.AbreAntigo(arquivo, kTamanhoOperacao, true, "Abrir arquivo %s", &antigo); FAILED(hr))
      return hr;
    if (HRESULT hr = passo.AbreTRA(lista, arquivo, kTamanhoOperacao, "Abrir arquivo %s", &convertido); FAILED(hr))
      return hr;
    const auto regra = [](uint32_t, const uint8_t* velho, uint8_t* novo) {
      std::memcpy(novo, velho, kTamanhoOperacao);
      novo[kMarcaV02] = 1;
    };
    return passo.ConverteRegistros(*antigo, *convertido, regra, "Ler registro - %i", "Gravar registro - %i");
  });
}
