// What the stand-ins' reads share: a record found by its pointer (its place in a table, from 1) or
// as a table's only record, arrays handed to the caller through the task allocator, and the seeding
// of a table of a company's module directory. A pointer, key or code that a table does not hold is
// kFamiliaNaoEncontrado, never an empty record with success.
#pragma once

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "platform/com/taskmem.h"
#include "platform/family/comum/TabelaFamilia.h"

// A pointer, key or code that the server does not hold.
constexpr DWORD kErroNaoEncontrado = 1168;  // ERROR_NOT_FOUND
constexpr HRESULT kFamiliaNaoEncontrado = HRESULT_FROM_WIN32(kErroNaoEncontrado);

// The record at `ponteiro` (1 = the first) copied into `destino` (the table's record size).
HRESULT LeRegistroFamilia(const TabelaFamilia& tabela, int64_t ponteiro, void* destino);
// The table's only record (its first); an empty table is kFamiliaNaoEncontrado.
HRESULT LeRegistroUnicoFamilia(const TabelaFamilia& tabela, void* destino);
// The number of records.
HRESULT ContaRegistrosFamilia(const TabelaFamilia& tabela, uint32_t& quantidade);
// Replaces the table `arquivo` of the company's directory of `modulo` with `registros`
// (kFamiliaSemDiretorio without that directory).
HRESULT SemeiaTabelaFamilia(const std::string& empresa, const char* modulo, const char* arquivo,
                            uint32_t tamanhoRegistro, const TabelaFamilia::Registros& registros);

// The text of a fixed field: up to its terminator or its width.
std::string TextoCampoFamilia(const char* campo, size_t largura);
// Equal without regard to case (ASCII letters and those of Windows-1252).
bool IguaisSemCaixaFamilia(const std::string& a, const std::string& b);

// A copy of `itens` in a block of the task allocator, for the caller to free (null when empty);
// false when the allocation fails.
template <class T>
bool CopiaParaTarefaFamilia(const std::vector<T>& itens, T** bloco) {
  *bloco = nullptr;
  if (itens.empty()) return true;
  *bloco = static_cast<T*>(CoTaskMemAlloc(itens.size() * sizeof(T)));
  if (!*bloco) return false;
  std::memcpy(static_cast<void*>(*bloco), itens.data(), itens.size() * sizeof(T));
  return true;
}

// A table's records as records of type T (their size is the table's).
template <class T>
HRESULT LeTodosFamilia(const TabelaFamilia& tabela, std::vector<T>& registros) {
  registros.clear();
  TabelaFamilia::Registros lidos;
  if (const HRESULT hr = tabela.Le(lidos); FAILED(hr)) return hr;
  registros.resize(lidos.size());
  for (size_t i = 0; i < lidos.size(); ++i) std::memcpy(static_cast<void*>(&registros[i]), lidos[i].data(), sizeof(T));
  return S_OK;
}

// The table of records of type T in file `arquivo` of a module directory.
template <class T>
TabelaFamilia TabelaDeFamilia(const std::string& diretorio, const char* arquivo) {
  return TabelaFamilia(diretorio + arquivo, sizeof(T));
}

template <class T>
HRESULT LeTabelaFamilia(const std::string& diretorio, const char* arquivo, std::vector<T>& registros) {
  return LeTodosFamilia(TabelaDeFamilia<T>(diretorio, arquivo), registros);
}

// Records of type T as a table's records.
template <class T>
TabelaFamilia::Registros RegistrosFamilia(const std::vector<T>& registros) {
  TabelaFamilia::Registros bytes;
  for (const T& registro : registros) {
    const auto* inicio = reinterpret_cast<const uint8_t*>(&registro);
    bytes.emplace_back(inicio, inicio + sizeof(T));
  }
  return bytes;
}
