// The technical-sheet, resource and production-target files as older releases left them, written
// byte by byte into a company's data directory, for the tests of their converters and of a whole
// company's upgrade.
//
// Every old record is filled with a pattern: byte k of record i is 1 + (k + 3i) mod 255, so no byte
// is 0, every field of a record differs from every other field of it and from the same field of the
// neighbouring records. Where a field carries a value that a converter computes with (the time of a
// sheet process), the builder puts that value there instead. A record file is record 0 as a zero
// header of the record length, then the records.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tests/support/ArquivoRegistros.h"

class VersoesAntigasFichas {
 public:
  static constexpr uint32_t kTamanhoProcessoFichaV1 = 64;   // "PPFTPROC.DAT" up to version 1
  static constexpr uint32_t kTamanhoCabecalhoFichaV2 = 64;  // "PPFTCABE.DAT" up to version 2
  static constexpr uint32_t kTamanhoRecursoV1 = 128;        // "PPRECURS.DAT" at version 1
  static constexpr uint32_t kTamanhoMetaV1 = 128;           // the "PPMP" period files at version 1

  // Record i of `tamanho` bytes filled with the pattern.
  static std::string RegistroAntigo(uint32_t i, uint32_t tamanho);
  // The bytes of a record file of `tamanho`-byte records.
  static std::string ArquivoDeRegistros(uint32_t tamanho, const std::vector<std::string>& registros) {
    return ::ArquivoDeRegistros(tamanho, registros);
  }
  // A sheet process at version 1: the pattern with the process time at 8..15, an 8-decimal value
  // given as its raw count of 10^-8 (30 minutes: 3'000'000'000).
  static std::string ProcessoFichaV1(uint32_t i, int64_t tempo);
  // The name of the period file of a prefix and month number (949 = 01/1927 .. 2148 = 12/2026):
  // "PPMP" and 2126 give "PPMP0225.DAT".
  static std::string NomePeriodo(const std::string& prefixo, uint16_t usMesAno);

  // The writer of the files of a data directory, given as a Linux path. Each call writes one file
  // whole, replacing what stood there.
  explicit VersoesAntigasFichas(std::string diretorio);

  // "PPFTPROC.DAT" at version 1, one process per time.
  void ProcessosFichaV1(const std::vector<int64_t>& tempos) const;
  // "PPFTCABE.DAT" at version 2 with `quantidade` pattern records.
  void CabecalhosFichaV2(uint32_t quantidade) const;
  // "PPRECURS.DAT" at version 1 with `quantidade` pattern records.
  void RecursosV1(uint32_t quantidade) const;
  // The production targets of one month at version 1 with `quantidade` pattern records.
  void MetasV1(uint16_t usMesAno, uint32_t quantidade) const;

  // A file of the directory with the bytes given.
  void Escreve(const std::string& nome, const std::string& bytes) const;

 private:
  std::string diretorio_;
};
