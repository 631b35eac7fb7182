#include "server/CPPAtualizaVersaoTipoOP.h"

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <span>

#include "foundation/QVCaminho.h"
#include "platform/win32/codepage.h"
#include "server/CPPNomesArquivos.h"

// Offsets are bytes of the little-endian records. Both groups keep the chain in the same places: the
// old parent names its first child at 4, each old child the next one at 4 (0 ends the chain), and
// the new parent keeps the first record of its block at 4.
struct PPDefinicaoCadeia {
  uint16_t usGrupo;
  const char* pszTitulo;
  void (*pListaArquivos)(CStringArray& lista);
  CString (*pArquivoPai)();
  CString (*pArquivoFilho)();
  uint32_t ulTamanhoPai;  // the same at both versions
  uint32_t ulTamanhoFilhoAntigo;
  uint32_t ulTamanhoFilhoNovo;
  size_t deslocamentoRemovido;    // old child: the byte that marks it removed
  size_t deslocamentoQuantidade;  // new parent: the 16-bit size of its block
  std::span<const PPCampoCopiado> camposPai;
  // The parent's fields that are no plain copy; null: none.
  void (*pTextosPai)(const uint8_t* antigo, uint8_t* novo);
  std::span<const PPCampoCopiado> camposFilho;
  const char* pszSobras;
  const char* pszLerPai;
  const char* pszLerFilho;
  const char* pszGravarFilho;
  const char* pszGravarPai;
  const char* pszCadeia;  // the parent's number, then the child's
};

namespace {

constexpr HRESULT kErroPasso = PPErroHResult(kPPErroAtualizacaoVersao);
constexpr const char* kPasso = "AtualizaV01_p_V02";
constexpr size_t kCadeia = 4;
constexpr size_t kPrimeiroDoBloco = 4;

HRESULT ErroDoMotor(int erro) { return PPErroHResult(static_cast<uint32_t>(erro)); }

uint32_t Le32(const uint8_t* bytes) {
  uint32_t valor;
  std::memcpy(&valor, bytes, sizeof valor);
  return valor;
}

// A text cut at its terminator or at the field's width, the rest of the field zero.
void CopiaTexto(const uint8_t* antigo, uint8_t* novo, size_t deslocamento, int largura) {
  PPCopiaTextoN(reinterpret_cast<char*>(novo + deslocamento), largura,
                reinterpret_cast<const char*>(antigo + deslocamento));
}

constexpr PPCampoCopiado kCamposTipoOP[] = {{0, 0, 4}, {8, 12, 4}, {217, 217, 8}};

void TextosTipoOP(const uint8_t* antigo, uint8_t* novo) {
  CopiaTexto(antigo, novo, 32, 10);
  CopiaTexto(antigo, novo, 42, 50);
  for (size_t texto = 0; texto < 5; ++texto) CopiaTexto(antigo, novo, 92 + 25 * texto, 25);
}

constexpr PPCampoCopiado kCamposUsuarioTipoOP[] = {
    {0, 8, 2},  // the user's number
    {2, 10, 1},
    {3, 11, 1},
    {4, 13, 1},
};

constexpr PPCampoCopiado kCamposFluxo[] = {{0, 0, 4}, {22, 28, 10}, {32, 38, 50}, {82, 88, 1}, {83, 89, 1}};

constexpr PPCampoCopiado kCamposProcessoFluxo[] = {{0, 8, 4}, {8, 28, 1}};

const PPDefinicaoCadeia kTipoOP = {
    .usGrupo = kPPGrupoTipoOP,
    .pszTitulo = "Atualiza Tipo de OP",
    .pListaArquivos = &CPPNomesArquivos::ListaArquivosTipoOP,
    .pArquivoPai = &CPPNomesArquivos::ArqTipoOPCabecalho,
    .pArquivoFilho = &CPPNomesArquivos::ArqTipoOPUsuario,
    .ulTamanhoPai = 256,
    .ulTamanhoFilhoAntigo = 64,
    .ulTamanhoFilhoNovo = 16,
    .deslocamentoRemovido = 12,
    .deslocamentoQuantidade = 28,
    .camposPai = kCamposTipoOP,
    .pTextosPai = &TextosTipoOP,
    .camposFilho = kCamposUsuarioTipoOP,
    .pszSobras = "AtualizaV01_p_V02 -> conversão anterior não terminou com sucesso"_ansi,
    .pszLerPai = "Ler cabecalho tipo OP - %i",
    .pszLerFilho = "Ler usuário tipo OP - %i"_ansi,
    .pszGravarFilho = "Gravar usuário tipo OP - %i"_ansi,
    .pszGravarPai = "Gravar tipo de OP - %i",
    .pszCadeia = "AtualizaV01_p_V02 -> cadeia de usuários do tipo de OP %i volta ao usuário %i"_ansi,
};

const PPDefinicaoCadeia kFluxo = {
    .usGrupo = kPPGrupoFluxoProcesso,
    .pszTitulo = "Atualiza Fluxo de Processos",
    .pListaArquivos = &CPPNomesArquivos::ListaArquivosFluxo,
    .pArquivoPai = &CPPNomesArquivos::ArqFluxoCabecalho,
    .pArquivoFilho = &CPPNomesArquivos::ArqFluxoProcesso,
    .ulTamanhoPai = 128,
    .ulTamanhoFilhoAntigo = 64,
    .ulTamanhoFilhoNovo = 16,
    .deslocamentoRemovido = 29,
    .deslocamentoQuantidade = 16,
    .camposPai = kCamposFluxo,
    .pTextosPai = nullptr,
    .camposFilho = kCamposProcessoFluxo,
    .pszSobras = "AtualizaV01_p_V02 -> conversão anterior nao terminou com sucesso"_ansi,
    .pszLerPai = "Ler cabecalho fluxo - %i",
    .pszLerFilho = "Ler processo fluxo - %i",
    .pszGravarFilho = "Gravar processo fluxo - %i",
    .pszGravarPai = "Gravar fluxo - %i",
    .pszCadeia = "AtualizaV01_p_V02 -> cadeia de processos do fluxo %i volta ao processo %i",
};

}  // namespace

CPPAtualizaVersaoCadeia::CPPAtualizaVersaoCadeia(const PPDefinicaoCadeia& definicao)
    : CPPAtualizaVersao(
          PPDescricaoConversor{definicao.usGrupo, definicao.pszTitulo, {kPasso}, definicao.pListaArquivos}),
      m_definicao(definicao) {}

CPPAtualizaVersaoTipoOP::CPPAtualizaVersaoTipoOP() : CPPAtualizaVersaoCadeia(kTipoOP) {}

CPPAtualizaVersaoFluxoProcesso::CPPAtualizaVersaoFluxoProcesso() : CPPAtualizaVersaoCadeia(kFluxo) {}

HRESULT CPPAtualizaVersaoCadeia::Converte(uint16_t usVersao) {
  SetLimparHistorico(true);
  if (usVersao != 1) return kErroPasso;

  CPPPassoConversao passo(*this, usVersao);
  passo.VerificaSobras(
      {QVTrocaExtensao(m_definicao.pArquivoPai(), "TRA"), QVTrocaExtensao(m_definicao.pArquivoFilho(), "TRA")},
      m_definicao.pszSobras);
  passo.NadaConverteSemArquivo(passo.Caminho(m_definicao.pArquivoPai()));
  const int listaPais = passo.Lista(CPPPassoConversao::kRemoveArquivosMovimentacao);
  // Without an old child file there is nothing to keep: the new one is only put in place.
  const bool bFilhos = QVExisteArquivo(passo.Caminho(m_definicao.pArquivoFilho()));
  const int listaFilhos = bFilhos ? listaPais : passo.Lista(CPPPassoConversao::kSemRemocao);
  return passo.Executa([&]() -> HRESULT {
    Arquivos arquivos;
    if (HRESULT hr = AbreArquivos(passo, listaPais, listaFilhos, bFilhos, arquivos); FAILED(hr)) return hr;
    return ConvertePais(passo, arquivos);
  });
}

HRESULT CPPAtualizaVersaoCadeia::AbreArquivos(CPPPassoConversao& passo, int listaPais, int listaFilhos, bool bFilhos,
                                              Arquivos& arquivos) {
  const CString pai = passo.Caminho(m_definicao.pArquivoPai());
  const CString filho = passo.Caminho(m_definicao.pArquivoFilho());
  const char* linha = "Abrir arquivo %s";
  if (HRESULT hr = passo.AbreAntigo(pai, m_definicao.ulTamanhoPai, false, linha, &arquivos.paisAntigos); FAILED(hr))
    return hr;
  if (bFilhos) {
    if (HRESULT hr = passo.AbreAntigo(filho, m_definicao.ulTamanhoFilhoAntigo, false, linha, &arquivos.filhosAntigos);
        FAILED(hr))
      return hr;
  }
  if (HRESULT hr = passo.AbreTRA(listaPais, pai, m_definicao.ulTamanhoPai, linha, &arquivos.pais); FAILED(hr))
    return hr;
  return passo.AbreTRA(listaFilhos, filho, m_definicao.ulTamanhoFilhoNovo, linha, &arquivos.filhos);
}

HRESULT CPPAtualizaVersaoCadeia::ConvertePais(CPPPassoConversao& passo, const Arquivos& arquivos) {
  const int32_t quantidadePais = arquivos.paisAntigos->GetQuantidadeRegistros();
  if (quantidadePais < 0) return passo.Falha(PPErroHResult(kQVErroArquivo), m_definicao.pszLerPai, 1);
  const int32_t quantidadeFilhos = arquivos.filhosAntigos ? arquivos.filhosAntigos->GetQuantidadeRegistros() : 0;
  if (quantidadeFilhos < 0) return passo.Falha(PPErroHResult(kQVErroArquivo), m_definicao.pszLerFilho, 1);
  // visitados[c]: the last parent whose chain passed child c.
  std::vector<uint32_t> visitados(static_cast<size_t>(quantidadeFilhos) + 1, 0);

  std::vector<uint8_t> antigo(m_definicao.ulTamanhoPai);
  std::vector<uint8_t> novo(m_definicao.ulTamanhoPai);
  for (uint32_t i = 1; i <= static_cast<uint32_t>(quantidadePais); ++i) {
    const int numero = static_cast<int>(i);
    if (int erro = arquivos.paisAntigos->Le(i, antigo.data()))
      return passo.Falha(ErroDoMotor(erro), m_definicao.pszLerPai, numero);
    std::fill(novo.begin(), novo.end(), 0);
    PPCopiaCampos(novo.data(), antigo.data(), m_definicao.camposPai);
    if (m_definicao.pTextosPai) m_definicao.pTextosPai(antigo.data(), novo.data());
    uint32_t primeiro = 0;
    uint16_t quantidade = 0;
    if (arquivos.filhosAntigos) {
      if (HRESULT hr = ConverteFilhos(passo, i, Le32(antigo.data() + kCadeia), *arquivos.filhosAntigos,
                                      *arquivos.filhos, visitados, &primeiro, &quantidade);
          FAILED(hr))
        return hr;
    }
    std::memcpy(novo.data() + kPrimeiroDoBloco, &primeiro, sizeof primeiro);
    std::memcpy(novo.data() + m_definicao.deslocamentoQuantidade, &quantidade, sizeof quantidade);
    uint32_t gravado = 0;
    if (int erro = arquivos.pais->Grava(novo.data(), &gravado))
      return passo.Falha(ErroDoMotor(erro), m_definicao.pszGravarPai, numero);
    if (gravado != i) return passo.Falha(kErroPasso, "Inconsistência na posição de gravação - %i"_ansi, numero);
  }
  return S_OK;
}

HRESULT CPPAtualizaVersaoCadeia::ConverteFilhos(CPPPassoConversao& passo, uint32_t pai, uint32_t primeiro,
                                                CPPArqEx& antigos, CPPArqEx& convertidos,
                                                std::vector<uint32_t>& visitados, uint32_t* primeiroNovo,
                                                uint16_t* quantidade) {
  std::vector<uint8_t> antigo(m_definicao.ulTamanhoFilhoAntigo);
  std::vector<uint8_t> novo(m_definicao.ulTamanhoFilhoNovo);
  for (uint32_t filho = primeiro; filho != 0; filho = Le32(antigo.data() + kCadeia)) {
    // A chain met again would be walked for ever; a number past the file fails its read.
    if (filho < visitados.size()) {
      if (visitados[filho] == pai)
        return passo.Falha(kErroPasso, m_definicao.pszCadeia, static_cast<int>(pai), static_cast<int>(filho));
      visitados[filho] = pai;
    }
    if (int erro = antigos.Le(filho, antigo.data()))
      return passo.Falha(ErroDoMotor(erro), m_definicao.pszLerFilho, static_cast<int>(filho));
    if (antigo[m_definicao.deslocamentoRemovido] != 0) continue;
    std::fill(novo.begin(), novo.end(), 0);
    PPCopiaCampos(novo.data(), antigo.data(), m_definicao.camposFilho);
    uint32_t gravado = 0;
    if (int erro = convertidos.Grava(novo.data(), &gravado))
      return passo.Falha(ErroDoMotor(erro), m_definicao.pszGravarFilho, static_cast<int>(filho));
    if (*primeiroNovo == 0) *primeiroNovo = gravado;
    ++*quantidade;
  }
  return S_OK;
}
