#include "server/CPPArqEx.h"

#include <cstring>
#include <vector>

#include "server/PPTextosStatus.h"

int CPPArqEx::VerificaTamanho() {
  try {
    return GetLength() % GetTamanhoRegistro() == 0 ? 0 : static_cast<int>(kPPErroTamanhoArquivo);
  } catch (const CFileException&) {
    return kQVErroArquivo;
  }
}

void PPCopiaTexto(char* destino, int tamanho, const char* origem) {
  if (tamanho <= 0) return;
  if (!origem) origem = "";
  const size_t cabe = static_cast<size_t>(tamanho) - 1;
  const void* fim = std::memchr(origem, 0, cabe);
  const size_t comprimento = fim ? static_cast<size_t>(static_cast<const char*>(fim) - origem) : cabe;
  std::memcpy(destino, origem, comprimento);
  destino[comprimento] = 0;
}

void PPCopiaTextoN(char* destino, int tamanho, const char* origem) {
  if (tamanho <= 0) return;
  std::strncpy(destino, origem ? origem : "", static_cast<size_t>(tamanho));
}

namespace {

// Runs one variable-record operation; any exception of the file layer becomes `erro`.
template <typename Operacao>
HRESULT ComoResultado(uint32_t erro, Operacao operacao) {
  try {
    operacao();
    return S_OK;
  } catch (const CException&) {
    return PPErroHResult(erro);
  }
}

constexpr UINT kFlagsGravacao = CFile::modeReadWrite | CFile::shareDenyWrite;

void GravaTexto(CQVArqDyn& arquivo, const char* texto, uint32_t* ponteiro) {
  if (!texto || !*texto) {
    *ponteiro = 0;
    return;
  }
  arquivo.Grava(ponteiro, texto, static_cast<uint32_t>(std::strlen(texto)));
}

}  // namespace

HRESULT PPCriaArquivoDyn(const char* caminho) {
  if (QVTestaExistenciaArquivo(caminho)) return S_OK;
  // Made without truncation: a file that another process created a moment ago keeps its texts.
  return ComoResultado(kPPErroCriaArquivoTexto, [&] {
    CQVArqDyn arquivo(caminho, CFile::modeCreate | CFile::modeNoTruncate | kFlagsGravacao);
    arquivo.Fecha();
  });
}

HRESULT PPAbreArquivoDyn(const char* caminho, CQVArqDyn* arquivo, UINT flags) {
  if (HRESULT erro = PPCriaArquivoDyn(caminho)) return erro;
  return ComoResultado(kPPErroAbreArquivoTexto, [&] { arquivo->Abre(caminho, flags); });
}

HRESULT PPGravaTextoDyn(CQVArqDyn* arquivo, const char* texto, uint32_t* ponteiro) {
  return ComoResultado(kPPErroGravaTexto, [&] { GravaTexto(*arquivo, texto, ponteiro); });
}

HRESULT PPGravaTextoArquivoDyn(const char* caminho, const char* texto, uint32_t* ponteiro) {
  return ComoResultado(kPPErroGravaTexto, [&] {
    CQVArqDyn arquivo(caminho, kFlagsGravacao);
    GravaTexto(arquivo, texto, ponteiro);
    arquivo.Fecha();
  });
}

HRESULT PPLeTextoDyn(CQVArqDyn* arquivo, uint32_t ponteiro, CString& texto) {
  texto.Empty();
  if (ponteiro == 0) return S_OK;
  return ComoResultado(kPPErroLeTexto, [&] {
    std::vector<char> registro(arquivo->LeTamanhoRegistro(ponteiro) + 1, 0);
    arquivo->Le(ponteiro, registro.data(), static_cast<uint32_t>(registro.size() - 1));
    texto = registro.data();
  });
}

HRESULT PPFechaArquivoDyn(CQVArqDyn* arquivo) {
  return ComoResultado(kPPErroFechaArquivo, [&] { arquivo->Fecha(); });
}
