#include "server/CPPAtualizaVersaoFichaTecnica.h"

#include <cstring>

#include "foundation/CQVCurrencyEx.h"
#include "platform/win32/codepage.h"
#include "server/CPPNomesArquivos.h"

namespace {

constexpr uint32_t kTamanhoProcessoV1 = 64;
constexpr uint32_t kTamanhoProcessoV2 = 88;
constexpr uint32_t kTamanhoCabecalho = 64;
constexpr size_t kTipoFicha = 25;  // of the sheet header

// The new process record, field by field (new <- old).
void ProcessoV2(uint32_t, const uint8_t* antigo, uint8_t* novo) {
  std::memcpy(novo + 0, antigo + 0, 8);
  std::memcpy(novo + 8, antigo + 50, 8);
  // 16..23: 60 over the time at 8..15, both eight-decimal values; no rate without a positive time.
  int64_t tempo;
  std::memcpy(&tempo, antigo + 8, sizeof tempo);
  CQVCurrencyEx8 taxa;
  if (tempo > 0) taxa = CQVCurrencyEx8(60.0) / CQVCurrencyEx8(CY{.int64 = tempo});
  const int64_t taxaBruta = taxa.GetValorBruto();
  std::memcpy(novo + 16, &taxaBruta, sizeof taxaBruta);
  std::memcpy(novo + 24, antigo + 8, 24);
  std::memcpy(novo + 48, antigo + 44, 4);
  std::memcpy(novo + 52, antigo + 58, 4);
  std::memcpy(novo + 56, antigo + 32, 2);
  std::memcpy(novo + 58, antigo + 34, 2);
  std::memcpy(novo + 60, antigo + 36, 2);
  std::memcpy(novo + 62, antigo + 48, 2);
  std::memcpy(novo + 64, antigo + 62, 2);
  novo[66] = antigo[38];
}

void CabecalhoV3(uint32_t, const uint8_t* antigo, uint8_t* novo) {
  std::memcpy(novo, antigo, kTamanhoCabecalho);
  novo[kTipoFicha] = 'P';
}

}  // namespace

CPPAtualizaVersaoFichaTecnica::CPPAtualizaVersaoFichaTecnica()
    : CPPAtualizaVersao(PPDescricaoConversor{kPPGrupoFichaTecnica, "Atualiza Fichas Técnicas"_ansi,
                                             {"AtualizaV01_p_V02", "AtualizaV02_p_V03"},
                                             &CPPNomesArquivos::ListaArquivosFichaTecnica}) {}

HRESULT CPPAtualizaVersaoFichaTecnica::Converte(uint16_t usVersao) {
  SetLimparHistorico(true);
  if (usVersao == 1) return ConverteV1ParaV2();
  if (usVersao == 2) return ConverteV2ParaV3();
  return PPErroHResult(kPPErroAtualizacaoVersao);
}

HRESULT CPPAtualizaVersaoFichaTecnica::ConverteV1ParaV2() {
  CPPPassoConversao passo(*this, 1);
  passo.VerificaSobras({"*.TRA"}, "AtualizaV01_p_V02 -> conversão anterior não terminou com sucesso"_ansi);
  CStringArray arquivos;
  CPPNomesArquivos::ListaArquivosFichaTecnica(arquivos);
  passo.RemoveHistoricosAntigos(arquivos, "AtualizaV01_p_V02 -> remover arquivo: %s");
  const int lista = passo.Lista(CPPPassoConversao::kRemoveArquivosMovimentacao);
  return passo.Executa([&]() -> HRESULT {
    const CString processos = passo.Caminho(CPPNomesArquivos::ArqFichaTecnicaProcesso());
    CPPArqEx* antigo = nullptr;
    CPPArqEx* convertido = nullptr;
    if (HRESULT hr = passo.AbreAntigo(processos, kTamanhoProcessoV1, true, "Abrir arquivo %s", &antigo); FAILED(hr))
      return hr;
    if (HRESULT hr = passo.AbreTRA(lista, processos, kTamanhoProcessoV2, "Abrir arquivo %s", &convertido); FAILED(hr))
      return hr;
    return passo.ConverteRegistros(*antigo, *convertido, &ProcessoV2, "Ler registro - %i", "Gravar registro - %i");
  });
}

HRESULT CPPAtualizaVersaoFichaTecnica::ConverteV2ParaV3() {
  CPPPassoConversao passo(*this, 2);
  passo.VerificaSobras({"*.TRA"}, "AtualizaV02_p_V03 -> conversão anterior não terminou com sucesso"_ansi);
  const CString cabecalhos = passo.Caminho(CPPNomesArquivos::ArqFichaTecnicaCabecalho());
  // A company that never kept a sheet has no header file: nothing to mark, and its slot still rises.
  passo.NadaConverteSemArquivo(cabecalhos);
  const int lista = passo.Lista(CPPPassoConversao::kRemoveArquivosMovimentacao);
  return passo.Executa([&]() -> HRESULT {
    CPPArqEx* antigo = nullptr;
    CPPArqEx* convertido = nullptr;
    if (HRESULT hr = passo.AbreAntigo(cabecalhos, kTamanhoCabecalho, false, "Abrir arquivo %s", &antigo); FAILED(hr))
      return hr;
    if (HRESULT hr = passo.AbreTRA(lista, cabecalhos, kTamanhoCabecalho, "Abrir arquivo %s", &convertido); FAILED(hr))
      return hr;
    return passo.ConverteRegistros(*antigo, *convertido, &CabecalhoV3, "Ler registro - %i", "Gravar registro - %i");
  });
}
