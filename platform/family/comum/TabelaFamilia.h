// A stand-in's table: the records of one kind that a family server keeps, as fixed-size records in
// one file of the company's directory of its module. Every call reads the file afresh, so that
// processes see each other's changes; a change holds the file exclusively (no sharing) from its
// read to its last write, so that two changes never interleave and a reader never sees half of
// one. A reader or a changer that meets another's open waits for it (up to 10 s of the platform
// clock, then ERROR_SHARING_VIOLATION as an HRESULT).
//
// Not kept from a real server: indexes, free-space reuse and crash recovery. A change rewrites the
// file in place, so a process killed while it writes can leave the table damaged; a file whose
// length is not a whole number of records is refused (ERROR_FILE_INVALID), never read in part.
//
// An object is a description (path and record size); it holds nothing open between calls and may
// be used from any thread.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/win32/base.h"

// Opens a file of a stand-in as CreateFileA does, waiting while another object's or process's open
// keeps it out by its share mode, up to `esperaMs` of the platform clock; then the open's failure
// (ERROR_SHARING_VIOLATION) stands in GetLastError.
HANDLE AbreArquivoFamilia(const std::string& caminho, DWORD acesso, DWORD partilha, DWORD criacao,
                          DWORD esperaMs);

class TabelaFamilia {
 public:
  using Registro = std::vector<uint8_t>;
  using Registros = std::vector<Registro>;

  // caminho: the table's file, a system path (backslashes).
  TabelaFamilia(std::string caminho, uint32_t tamanhoRegistro);

  // Every record in file order; a missing file is an empty table.
  HRESULT Le(Registros& registros) const;
  // Reads the records, lets `alteracao` change them (records must keep the table's size), and
  // writes them back when it returns a success, which is returned; a failure is returned and leaves
  // the records as they were (a missing file may be left behind empty).
  HRESULT Altera(const std::function<HRESULT(Registros&)>& alteracao) const;
  // Replaces the whole table (the seeding of tests and of the run command).
  HRESULT Grava(const Registros& registros) const;

  const std::string& caminho() const { return caminho_; }
  uint32_t tamanhoRegistro() const { return tamanhoRegistro_; }

 private:
  HRESULT LeAberto(HANDLE arquivo, Registros& registros) const;

  std::string caminho_;
  uint32_t tamanhoRegistro_;
};
