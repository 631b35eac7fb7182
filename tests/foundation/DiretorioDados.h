// A company's data directory for the record-file tests: the system's paths of its files, their
// bytes as the tests see them, and the "Erros" note that failed operations leave in the registry.
#pragma once

#include <filesystem>
#include <string>

#include "foundation/CQVRegistryKey.h"
#include "tests/support/Instalacao.h"

class DiretorioDados {
 public:
  // "\...\empresas\TESTE\PP\" and a file in it, as the system writes them.
  std::string Diretorio() const { return instalacao_.DiretorioEmpresa(); }
  std::string Caminho(const std::string& nome) const { return Diretorio() + nome; }
  std::string Linux(const std::string& nome) const {
    return instalacao_.dir().path() + "/empresas/TESTE/PP/" + nome;
  }

  std::string Le(const std::string& nome) const { return instalacao_.dir().Read("empresas/TESTE/PP/" + nome); }
  void Escreve(const std::string& nome, const std::string& bytes) const {
    instalacao_.dir().Write("empresas/TESTE/PP/" + nome, bytes);
  }
  bool Existe(const std::string& nome) const { return std::filesystem::exists(Linux(nome)); }
  // The sibling "DF" directory, where "marcanovo.dat" switches the module lock to lock files.
  void CriaMarcaNova() const { instalacao_.dir().Write("empresas/TESTE/DF/marcanovo.dat", ""); }

  std::string NotaErros(const char* valor) const {
    return QVLeRegistroString(HKEY_LOCAL_MACHINE, "SOFTWARE\\QV Rivovoda\\Erros", valor).str();
  }

 private:
  Instalacao instalacao_;
};

// A record of `tamanho` bytes that all hold `byte`.
inline std::string Registro(uint32_t tamanho, char byte) { return std::string(tamanho, byte); }
