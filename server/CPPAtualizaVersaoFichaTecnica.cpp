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

constexpr PPCampoCopiado kCamposProcessoV2[] = {
    {0, 0, 8}, {8, 50, 8}, {24, 8, 24}, {48, 44, 4}, {52, 58, 4}, {56, 32, 2},
    {58, 34, 2}, {60, 36, 2}, {62, 48, 2}, {64, 62, 2}, {66, 38, 1},
};

// 16..23: 60 over the time at 8..15, both eight-decimal values; no rate without a positive time.
void ProcessoV2(uint32_t, const uint8_t* antigo, uint8_t* novo) {
  PPCopiaCampos(novo, antigo, kCamposProcessoV2);
  int64_t tempo;
  std::memcpy(&tempo, antigo + 8, sizeof tempo);
  CQVCurrencyEx8 taxa;
  if (tempo > 0) taxa = CQVCurrencyEx8(60.0) / CQVCurrencyEx8(CY{.int64 = tempo});
  const int64_t taxaBruta = taxa.GetValorBruto();
  std::memcpy(novo + 16, &taxaBruta, sizeof taxaBruta);
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
  if (usVersao == 1)
    return ConverteUmArquivo(usVersao, {&CPPNomesArquivos::ArqFichaTecnicaProcesso, kTamanhoProcessoV1,
                                        kTamanhoProcessoV2, true, &ProcessoV2, true});
  // A company that never kept a sheet has no header file: nothing to mark, and its slot still rises.
  if (usVersao == 2)
    return ConverteUmArquivo(usVersao, {&CPPNomesArquivos::ArqFichaTecnicaCabecalho, kTamanhoCabecalho,
                                        kTamanhoCabecalho, false, &CabecalhoV3, false});
  return PPErroHResult(kPPErroAtualizacaoVersao);
}
