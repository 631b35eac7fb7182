// The catalogue of the module's data files: where a company's files lie and what they are called.
// Functions without state; the servers never spell a file name out.
#pragma once

#include "platform/mfc/CString.h"

class CPPNomesArquivos {
 public:
  // The company's production-planning data directory (the registry value "PP" under the company's
  // key, with a trailing backslash); empty when the company is not registered, which callers report
  // as PPErroHResult(975).
  static CString GetDiretorioDados(const char* empresa);
};
