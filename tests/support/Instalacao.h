// A temporary installation for a test: a registry file (QV_REGISTRY points at it while the object
// lives), the message directory, and the company "TESTE" with its PP and DF data directories.
#pragma once

#include <string>

#include "tests/support/TempDir.h"

class Instalacao {
 public:
  Instalacao();
  ~Instalacao();

  const TempDir& dir() const { return dir_; }
  // Directories as the system writes them: backslashes, with a trailing one.
  std::string DiretorioMensagens() const { return dir_.windows_path() + "mensagens\\"; }
  std::string DiretorioEmpresa() const { return dir_.windows_path() + "empresas\\TESTE\\PP\\"; }
  // Writes the module's catalogue (bytes as given, Windows-1252).
  void GravaCatalogo(const std::string& conteudo) const;
  // Sets a string value under HKEY_LOCAL_MACHINE.
  void GravaValor(const std::string& chave, const std::string& nome, const std::string& valor) const;

  static constexpr const char* kEmpresa = "TESTE";

 private:
  TempDir dir_;
  std::string registroAnterior_;
  bool tinhaRegistro_ = false;
};
