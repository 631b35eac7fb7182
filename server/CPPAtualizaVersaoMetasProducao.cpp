#include "server/CPPAtualizaVersaoMetasProducao.h"

#include <cstring>

#include "foundation/QVCaminho.h"
#include "platform/win32/codepage.h"
#include "server/CPPNomesArquivos.h"

namespace {

constexpr uint32_t kTamanhoMeta = 128;
constexpr size_t kTipoComponente = 61;
constexpr uint16_t kPrimeiroMes = 949;   // 01/1927
constexpr uint16_t kUltimoMes = 2148;    // 12/2026

// Every period file that the group's prefixes can name: the clean-up list of the group.
void ListaArquivosMetas(CStringArray& lista) {
  CStringArray prefixos;
  CPPNomesArquivos::ListaPrefixosMetas(prefixos);
  lista.RemoveAll();
  for (int i = 0; i < prefixos.GetSize(); ++i)
    for (uint16_t mes = kPrimeiroMes; mes <= kUltimoMes; ++mes)
      lista.Add(CPPNomesArquivos::MontaNomeArquivoPeriodo(prefixos[i], mes));
}

void MetaV2(uint32_t, const uint8_t* antigo, uint8_t* novo) {
  std::memcpy(novo, antigo, kTamanhoMeta);
  novo[kTipoComponente] = 'P';
}

// A line of the step about one file, kept as a format for the record number that may follow.
CString LinhaDoArquivo(const char* formato, CString arquivo) {
  arquivo.Replace("%", "%%");
  CString linha;
  linha.Format(formato, static_cast<const char*>(arquivo));
  return linha;
}

}  // namespace

CPPAtualizaVersaoMetasProducao::CPPAtualizaVersaoMetasProducao()
    : CPPAtualizaVersao(PPDescricaoConversor{kPPGrupoMetasProducao, "AtualizaMetaProducao", {"AtualizaV01_p_V02"},
                                             &ListaArquivosMetas}) {}

HRESULT CPPAtualizaVersaoMetasProducao::Converte(uint16_t usVersao) {
  SetLimparHistorico(true);
  if (usVersao != 1) return PPErroHResult(kPPErroAtualizacaoVersao);

  CPPPassoConversao passo(*this, usVersao);
  passo.VerificaSobras({"*.TRA"}, "ConverteV1_p_V2 -> conversão anterior não terminou com sucesso"_ansi);
  const int lista = passo.Lista(CPPPassoConversao::kRemoveArquivosMovimentacao,
                                "ConverteV1_p_V2 -> RemoveArquivos(aArqOP_V08, usVersaoAtual)");
  return passo.Executa([&]() -> HRESULT {
    const CString prefixo = passo.Caminho(CPPNomesArquivos::PrefixoMetasProducao());
    for (uint16_t mes = kPrimeiroMes; mes <= kUltimoMes; ++mes) {
      const CString metas = CPPNomesArquivos::MontaNomeArquivoPeriodo(prefixo, mes);
      if (!QVExisteArquivo(metas)) continue;
      // One month's pair at a time.
      if (int erro = passo.FechaArquivos()) return PPErroHResult(static_cast<uint32_t>(erro));
      CPPArqEx* antigo = nullptr;
      CPPArqEx* convertido = nullptr;
      const char* abrir = "ConverteV1_p_V2 -> abrir arquivo %s";
      if (HRESULT hr = passo.AbreAntigo(metas, kTamanhoMeta, false, abrir, &antigo); FAILED(hr)) return hr;
      if (HRESULT hr = passo.AbreTRA(lista, metas, kTamanhoMeta, abrir, &convertido); FAILED(hr)) return hr;
      const HRESULT hr = passo.ConverteRegistros(*antigo, *convertido, &MetaV2,
                                                 LinhaDoArquivo("ConverteV1_p_V2 -> ler arquivo %s em %%i", metas),
                                                 LinhaDoArquivo("ConverteV1_p_V2 -> gravar arquivo %s", metas));
      if (FAILED(hr)) return hr;
    }
    return S_OK;
  });
}
