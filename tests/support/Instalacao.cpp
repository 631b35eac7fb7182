#include "tests/support/Instalacao.h"

#include <cstdlib>
#include <stdexcept>

#include "platform/win32/registry.h"

namespace {

const char kChaveInstalacao[] = "SOFTWARE\\QV Rivovoda";

}  // namespace

Instalacao::Instalacao() {
  if (const char* anterior = getenv("QV_REGISTRY")) {
    tinhaRegistro_ = true;
    registroAnterior_ = anterior;
  }
  setenv("QV_REGISTRY", (dir_.path() + "/registry.reg").c_str(), 1);
  dir_.Write("mensagens/.keep", "");
  dir_.Write("empresas/TESTE/PP/.keep", "");
  dir_.Write("empresas/TESTE/DF/.keep", "");
  GravaValor(kChaveInstalacao, "Mensagens", DiretorioMensagens());
  GravaValor(std::string(kChaveInstalacao) + "\\Empresas\\TESTE", "PP", DiretorioEmpresa());
  GravaValor(std::string(kChaveInstalacao) + "\\Empresas\\TESTE", "DF", dir_.windows_path() + "empresas\\TESTE\\DF\\");
}

Instalacao::~Instalacao() {
  if (tinhaRegistro_)
    setenv("QV_REGISTRY", registroAnterior_.c_str(), 1);
  else
    unsetenv("QV_REGISTRY");
}

void Instalacao::GravaCatalogo(const std::string& conteudo) const { dir_.Write("mensagens/QVPPMens.txt", conteudo); }

void Instalacao::GravaValor(const std::string& chave, const std::string& nome, const std::string& valor) const {
  HKEY aberta = nullptr;
  if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, chave.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr,
                      &aberta, nullptr) != ERROR_SUCCESS)
    throw std::runtime_error("cannot create registry key " + chave);
  LONG resultado = RegSetValueExA(aberta, nome.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(valor.c_str()),
                                  static_cast<DWORD>(valor.size() + 1));
  RegCloseKey(aberta);
  if (resultado != ERROR_SUCCESS) throw std::runtime_error("cannot write registry value " + nome);
}

