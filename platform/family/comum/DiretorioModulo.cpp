#include "platform/family/comum/DiretorioModulo.h"

#include <vector>

#include "platform/win32/registry.h"

std::string DiretorioModuloEmpresa(const std::string& empresa, const char* modulo) {
  if (empresa.empty() || empresa.find('\\') != std::string::npos) return {};
  const std::string chave = "SOFTWARE\\QV Rivovoda\\Empresas\\" + empresa;
  HKEY aberta = nullptr;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, chave.c_str(), 0, KEY_READ, &aberta) != ERROR_SUCCESS) return {};
  DWORD tipo = REG_NONE;
  DWORD tamanho = 0;
  std::vector<char> valor;
  LONG erro = RegQueryValueExA(aberta, modulo, nullptr, &tipo, nullptr, &tamanho);
  if (erro == ERROR_SUCCESS) {
    valor.resize(tamanho + 1);
    erro = RegQueryValueExA(aberta, modulo, nullptr, &tipo, reinterpret_cast<BYTE*>(valor.data()), &tamanho);
  }
  RegCloseKey(aberta);
  if (erro != ERROR_SUCCESS || (tipo != REG_SZ && tipo != REG_EXPAND_SZ)) return {};
  std::string diretorio(valor.data());
  if (tipo == REG_EXPAND_SZ) {
    std::vector<char> expandido(ExpandEnvironmentStringsA(diretorio.c_str(), nullptr, 0) + 1);
    ExpandEnvironmentStringsA(diretorio.c_str(), expandido.data(), static_cast<DWORD>(expandido.size()));
    diretorio = expandido.data();
  }
  if (!diretorio.empty() && diretorio.back() != '\\') diretorio += '\\';
  return diretorio;
}
