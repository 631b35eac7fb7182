#include "server/CPPAtualizaVersaoMestre.h"

#include <cstddef>
#include <cstring>
#include <iterator>

#include "platform/win32/codepage.h"
#include "server/CPPNomesArquivos.h"
#include "server/CPPServidorMestrePP.h"

namespace {

using RegistroMestre = uint8_t[kPPTamanhoRegistroMestre];

// The fields of the version-1 record (known only by their offsets) at their places in today's layout.
constexpr PPCampoCopiado kCamposV01[] = {
    {offsetof(PPRegistroMestre, iVersaoSistema), 0, 10},  // iVersaoSistema .. iCodigoClienteEscritorio
    {offsetof(PPRegistroMestre, ulPonteiroCalendarioPadrao), 498, 4},
    {offsetof(PPRegistroMestre, lPonteiroCodigoBarras), 18, 4},
    {offsetof(PPRegistroMestre, lPonteiroInfApontExternoFilial), 502, 4},
    {offsetof(PPRegistroMestre, usMesAnoImplantacao), 22, 2},
    {offsetof(PPRegistroMestre, usQtdInfApontExternoFilial), 506, 2},
    {offsetof(PPRegistroMestre, usDataVisualizacao), 510, 2},
    {offsetof(PPRegistroMestre, cPermiteInsercaoManualNecessidade), 10, 8},  // .. cLiberarItemPedido
    // Fifteen flags in the order they keep, 36..50: cObrigaInfSupl1 .. cImprimirEtiquetaProcessoFinal.
    {offsetof(PPRegistroMestre, cObrigaInfSupl1), 24, 15},
    {offsetof(PPRegistroMestre, cEmitirRInaOP), 39, 4},  // .. cUsarVlrUnitFichaTecnicaEmPrevisoes
    {offsetof(PPRegistroMestre, cSohApontarAposDefinirRecursos), 508, 1},
    {offsetof(PPRegistroMestre, cTipoPerdaInsumo), 509, 1},
};

constexpr bool CamposCabemNoRegistro() {
  for (const PPCampoCopiado& campo : kCamposV01)
    if (campo.antigo + campo.largura > kPPTamanhoRegistroMestre ||
        campo.novo + campo.largura > kPPTamanhoRegistroMestre)
      return false;
  return true;
}
static_assert(CamposCabemNoRegistro());
static_assert(offsetof(PPRegistroMestre, cEmitirRInaOP) == 51);

// Everything that version 2 does not take from version 1 is 0 (cCustearSoProcessoApontado too).
void ConverteV01(const uint8_t* antigo, uint8_t* novo) { PPCopiaCampos(novo, antigo, kCamposV01); }

// Every settings record of version 2 is taken to have all three sets of supplementary information.
void ConverteV02(const uint8_t* antigo, uint8_t* novo) {
  std::memcpy(novo, antigo, kPPTamanhoRegistroMestre);
  for (size_t conjunto = 0; conjunto < 3; ++conjunto) novo[offsetof(PPRegistroMestre, cPossuiInfSupl1) + conjunto] = 1;
}

// What makes each step its own: its lines and its rule.
struct PassoMestre {
  const char* pszNome;
  const char* pszSobras;
  const char* pszAbrir;
  const char* pszLer;
  const char* pszGravar;
  const char* pszRemover;
  void (*pRegra)(const uint8_t* antigo, uint8_t* novo);
};

constexpr PassoMestre kPassos[] = {
    {"AtualizaMestreV01_p_V02", "AtualizaMestreV01_p_V02 -> conversão anterior não terminou com sucesso"_ansi,
     "AtualizaMestreV01_p_V02 -> abrir arquivo %s", "AtualizaMestreV01_p_V02 -> ler arquivo %s",
     "AtualizaMestreV01_p_V02 -> gravar arquivo %s",
     "AtualizaMestreV01_p_V02 -> RemoveArquivos(arqMestre_V01, usVersaoAtual)", &ConverteV01},
    {"AtualizaMestreV02_p_V03", "Conversão anterior não terminou com sucesso"_ansi, "Abrir arquivo %s",
     "Ler arquivo %s", "Gravar arquivo %s", "RemoveArquivos(arqMestre_V02, usVersaoAtual)", &ConverteV02},
};

}  // namespace

CPPAtualizaVersaoMestre::CPPAtualizaVersaoMestre()
    : CPPAtualizaVersao(PPDescricaoConversor{kPPGrupoMestre,
                                             "AtualizaMestre",
                                             {kPassos[0].pszNome, kPassos[1].pszNome},
                                             &CPPNomesArquivos::ListaArquivosMestre}) {}

HRESULT CPPAtualizaVersaoMestre::Converte(uint16_t usVersao) {
  SetLimparHistorico(true);
  if (usVersao < 1 || usVersao > std::size(kPassos)) return PPErroHResult(kPPErroAtualizacaoVersao);
  const PassoMestre& definicao = kPassos[usVersao - 1];

  CPPPassoConversao passo(*this, usVersao);
  passo.VerificaSobras({"*.TRA"}, definicao.pszSobras);
  const int lista = passo.Lista(CPPPassoConversao::kRemoveArquivos, definicao.pszRemover);
  return passo.Executa([&]() -> HRESULT {
    const CString arquivo = passo.Caminho(CPPNomesArquivos::ArqMestre());
    CPPArqEx* antigo = nullptr;
    CPPArqEx* convertido = nullptr;
    if (HRESULT hr = passo.AbreAntigo(arquivo, kPPTamanhoRegistroMestre, true, definicao.pszAbrir, &antigo); FAILED(hr))
      return hr;
    if (HRESULT hr = passo.AbreTRA(lista, arquivo, kPPTamanhoRegistroMestre, definicao.pszAbrir, &convertido);
        FAILED(hr))
      return hr;

    // The settings are the file's record 0: read as such, written as its header.
    RegistroMestre registroAntigo = {};
    if (int erro = antigo->Le(0, registroAntigo))
      return passo.Falha(PPErroHResult(static_cast<uint32_t>(erro)), definicao.pszLer,
                         static_cast<const char*>(arquivo));
    RegistroMestre registroNovo = {};
    definicao.pRegra(registroAntigo, registroNovo);
    if (int erro = convertido->GravaCabecalho(registroNovo, sizeof registroNovo))
      return passo.Falha(PPErroHResult(static_cast<uint32_t>(erro)), definicao.pszGravar,
                         static_cast<const char*>(convertido->GetFilePath()));
    return S_OK;
  });
}
