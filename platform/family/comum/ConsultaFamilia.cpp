#include "platform/family/comum/ConsultaFamilia.h"

#include "platform/family/comum/DiretorioModulo.h"
#include "platform/family/comum/ServidorFamilia.h"

HRESULT LeRegistroFamilia(const TabelaFamilia& tabela, int64_t ponteiro, void* destino) {
  TabelaFamilia::Registros registros;
  if (const HRESULT hr = tabela.Le(registros); FAILED(hr)) return hr;
  if (ponteiro < 1 || ponteiro > static_cast<int64_t>(registros.size())) return kFamiliaNaoEncontrado;
  std::memcpy(destino, registros[static_cast<size_t>(ponteiro - 1)].data(), tabela.tamanhoRegistro());
  return S_OK;
}

HRESULT LeRegistroUnicoFamilia(const TabelaFamilia& tabela, void* destino) {
  return LeRegistroFamilia(tabela, 1, destino);
}

HRESULT ContaRegistrosFamilia(const TabelaFamilia& tabela, uint32_t& quantidade) {
  TabelaFamilia::Registros registros;
  if (const HRESULT hr = tabela.Le(registros); FAILED(hr)) return hr;
  quantidade = static_cast<uint32_t>(registros.size());
  return S_OK;
}

HRESULT SemeiaTabelaFamilia(const std::string& empresa, const char* modulo, const char* arquivo,
                            uint32_t tamanhoRegistro, const TabelaFamilia::Registros& registros) {
  const std::string diretorio = DiretorioModuloEmpresa(empresa, modulo);
  if (diretorio.empty()) return kFamiliaSemDiretorio;
  return TabelaFamilia(diretorio + arquivo, tamanhoRegistro).Grava(registros);
}

std::string TextoCampoFamilia(const char* campo, size_t largura) {
  return std::string(campo, strnlen(campo, largura));
}

namespace {

// Windows-1252: the accented capitals lie 0x20 below their small letters (0xC0-0xDE but 0xD7).
unsigned char MinusculaFamilia(unsigned char c) {
  if (c >= 'A' && c <= 'Z') return static_cast<unsigned char>(c + 32);
  if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return static_cast<unsigned char>(c + 0x20);
  return c;
}

}  // namespace

bool IguaisSemCaixaFamilia(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (MinusculaFamilia(static_cast<unsigned char>(a[i])) != MinusculaFamilia(static_cast<unsigned char>(b[i])))
      return false;
  return true;
}
