// The control file "QVCTLARQ.DAT" of a data directory: a record file of 32-byte records, record 0
// zero, then one data-file name each (upper case, without directory, zero-padded; a name of 32
// characters or more is cut and has no terminator), only ever appended. It lists every data file
// that the engine created in the directory, so that a data file that disappears is reported missing
// (16055) instead of being re-created empty. CQVArqEx::CriaArquivo goes through it.
//
// Creators take turns on it: each holds it open 'G' (denying other writers, in this process and in
// others) from its search to its listing, and lists a name only once its file exists, so that a
// creation that fails or dies half way never leaves listed a name whose file was never made (that
// file would be "missing" for good). Hence a listed name whose file exists was made by a creator
// that held the control file while this one waited for it: that file is opened, not refused. Only a
// listed name whose file is absent gives 16055.
//
// An object serves one creation on one thread.
#pragma once

#include <cstdint>
#include <functional>

#include "foundation/CQVArqEx.h"

class CQVArqControle {
 public:
  static constexpr uint32_t kTamanhoNome = 32;
  static constexpr DWORD kEsperaOcupado = 1000;  // ms before the one retry of a held control file

  // The control file of `diretorio`, a directory that ends with a backslash.
  explicit CQVArqControle(const CString& diretorio);

  // Has the missing data file `arquivo` of the directory (an upper-case name without directory)
  // made by `cria`, which must not empty a file that exists, and lists it; a control file that does
  // not exist yet is created first. 0 when the file is there afterwards (made now, or by another
  // creator meanwhile); 16055 when the name is listed and the file is absent; else the error of
  // `cria` or of the control file's open, read or write, and the name stays unlisted.
  int Cria(const CString& arquivo, const std::function<int()>& cria);

 private:
  // Opens the control file 'G', creating it when missing (the engine writes record 0 into one left
  // empty); a control file held by another creator is tried once more after kEsperaOcupado.
  int Abre();

  CString m_strDiretorio;
  CQVArqEx m_arquivo;
};
