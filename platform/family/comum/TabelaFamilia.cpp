#include "platform/family/comum/TabelaFamilia.h"

#include <utility>

#include "platform/win32/clock.h"
#include "platform/win32/file.h"

namespace {

// How long an open waits for another process's: 2,000 pauses of 5 ms.
constexpr int kTentativas = 2000;
constexpr DWORD kPausa = 5;

HRESULT ErroAtual() { return HRESULT_FROM_WIN32(GetLastError()); }

class Aberto {
 public:
  explicit Aberto(HANDLE arquivo) : arquivo_(arquivo) {}
  ~Aberto() { CloseHandle(arquivo_); }
  Aberto(const Aberto&) = delete;
  Aberto& operator=(const Aberto&) = delete;

 private:
  HANDLE arquivo_;
};

}  // namespace

TabelaFamilia::TabelaFamilia(std::string caminho, uint32_t tamanhoRegistro)
    : caminho_(std::move(caminho)), tamanhoRegistro_(tamanhoRegistro) {}

HRESULT TabelaFamilia::Abre(bool alterar, HANDLE& arquivo) const {
  const DWORD acesso = alterar ? GENERIC_READ | GENERIC_WRITE : GENERIC_READ;
  const DWORD partilha = alterar ? 0 : FILE_SHARE_READ;
  const DWORD criacao = alterar ? OPEN_ALWAYS : OPEN_EXISTING;
  for (int tentativa = 0;; ++tentativa) {
    arquivo = CreateFileA(caminho_.c_str(), acesso, partilha, nullptr, criacao, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (arquivo != INVALID_HANDLE_VALUE) return S_OK;
    if (GetLastError() != ERROR_SHARING_VIOLATION || tentativa + 1 == kTentativas) return ErroAtual();
    Sleep(kPausa);
  }
}

HRESULT TabelaFamilia::LeAberto(HANDLE arquivo, Registros& registros) const {
  registros.clear();
  LARGE_INTEGER tamanho;
  if (!GetFileSizeEx(arquivo, &tamanho)) return ErroAtual();
  if (tamanhoRegistro_ == 0 || tamanho.QuadPart % tamanhoRegistro_ != 0)
    return HRESULT_FROM_WIN32(ERROR_FILE_INVALID);
  Registros lidos(static_cast<size_t>(tamanho.QuadPart / tamanhoRegistro_), Registro(tamanhoRegistro_));
  for (Registro& registro : lidos) {
    DWORD lido = 0;
    if (!ReadFile(arquivo, registro.data(), tamanhoRegistro_, &lido, nullptr)) return ErroAtual();
    if (lido != tamanhoRegistro_) return HRESULT_FROM_WIN32(ERROR_FILE_INVALID);  // cut meanwhile
  }
  registros = std::move(lidos);
  return S_OK;
}

HRESULT TabelaFamilia::Le(Registros& registros) const {
  registros.clear();
  HANDLE arquivo;
  if (HRESULT hr = Abre(false, arquivo); FAILED(hr))
    return hr == HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND) ? S_OK : hr;
  Aberto fecha(arquivo);
  return LeAberto(arquivo, registros);
}

HRESULT TabelaFamilia::Altera(const std::function<HRESULT(Registros&)>& alteracao) const {
  HANDLE arquivo;
  if (HRESULT hr = Abre(true, arquivo); FAILED(hr)) return hr;
  Aberto fecha(arquivo);
  Registros registros;
  if (HRESULT hr = LeAberto(arquivo, registros); FAILED(hr)) return hr;
  const HRESULT resultado = alteracao(registros);
  if (FAILED(resultado)) return resultado;
  for (const Registro& registro : registros)
    if (registro.size() != tamanhoRegistro_) return E_INVALIDARG;

  LARGE_INTEGER inicio;
  inicio.QuadPart = 0;
  if (!SetFilePointerEx(arquivo, inicio, nullptr, FILE_BEGIN)) return ErroAtual();
  for (const Registro& registro : registros) {
    DWORD gravado = 0;
    if (!WriteFile(arquivo, registro.data(), tamanhoRegistro_, &gravado, nullptr)) return ErroAtual();
  }
  if (!SetEndOfFile(arquivo) || !FlushFileBuffers(arquivo)) return ErroAtual();
  return resultado;
}

HRESULT TabelaFamilia::Grava(const Registros& registros) const {
  return Altera([&](Registros& atuais) {
    atuais = registros;
    return S_OK;
  });
}
