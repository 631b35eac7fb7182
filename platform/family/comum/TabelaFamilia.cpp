#include "platform/family/comum/TabelaFamilia.h"

#include <utility>

#include "platform/win32/clock.h"
#include "platform/win32/file.h"

namespace {

// How long an open of a table waits for another process's.
constexpr DWORD kEspera = 10000;  // ms

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

HANDLE AbreArquivoFamilia(const std::string& caminho, DWORD acesso, DWORD partilha, DWORD criacao,
                          DWORD esperaMs) {
  const DWORD inicio = GetTickCount();
  for (;;) {
    HANDLE arquivo = CreateFileA(caminho.c_str(), acesso, partilha, nullptr, criacao, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (arquivo != INVALID_HANDLE_VALUE || GetLastError() != ERROR_SHARING_VIOLATION ||
        GetTickCount() - inicio >= esperaMs)
      return arquivo;
    Sleep(1);
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
  HANDLE arquivo = AbreArquivoFamilia(caminho_, GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING, kEspera);
  if (arquivo == INVALID_HANDLE_VALUE) return GetLastError() == ERROR_FILE_NOT_FOUND ? S_OK : ErroAtual();
  Aberto fecha(arquivo);
  return LeAberto(arquivo, registros);
}

HRESULT TabelaFamilia::Altera(const std::function<HRESULT(Registros&)>& alteracao) const {
  HANDLE arquivo = AbreArquivoFamilia(caminho_, GENERIC_READ | GENERIC_WRITE, 0, OPEN_ALWAYS, kEspera);
  if (arquivo == INVALID_HANDLE_VALUE) return ErroAtual();
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
