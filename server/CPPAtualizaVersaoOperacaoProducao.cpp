#include "server/CPPAtualizaVersaoOperacaoProducao.h"

#include <cstring>

#include "platform/win32/codepage.h"
#include "server/CPPNomesArquivos.h"

namespace {

constexpr uint32_t kTamanhoOperacao = 128;  // at both versions
constexpr size_t kMarcaV02 = 67;            // 1 in every operation of version 2

void OperacaoV02(uint32_t, const uint8_t* antigo, uint8_t* novo) {
  std::memcpy(novo, antigo, kTamanhoOperacao);
  novo[kMarcaV02] = 1;
}

}  // namespace

CPPAtualizaVersaoOperacaoProducao::CPPAtualizaVersaoOperacaoProducao()
    : CPPAtualizaVersao(PPDescricaoConversor{kPPGrupoOperacaoProducao,
                                             "Atualiza Operação de Produção"_ansi,
                                             {"AtualizaV01_p_V02"},
                                             &CPPNomesArquivos::ListaArquivosOperacaoProducao}) {}

HRESULT CPPAtualizaVersaoOperacaoProducao::Converte(uint16_t usVersao) {
  SetLimparHistorico(true);
  if (usVersao != 1) return PPErroHResult(kPPErroAtualizacaoVersao);
  return ConverteUmArquivo(usVersao, {&CPPNomesArquivos::ArqOperacaoProducaoCabecalho, kTamanhoOperacao,
                                      kTamanhoOperacao, true, &OperacaoV02, true});
}
