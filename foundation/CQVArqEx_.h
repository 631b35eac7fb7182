// A record file that builds its own name: directory + GetPrefixo() + extension (".DAT"), or, for
// files split by month, directory + prefix + MMAA + extension. The module's data files are opened
// through plain CQVArqEx objects; this class serves the name helpers. Buffers are MAX_PATH bytes.
#pragma once

#include <cstdint>
#include <set>

#include "foundation/CQVArqEx.h"

class CQVArqEx_ : public CQVArqEx {
 public:
  CQVArqEx_();
  virtual CString GetPrefixo() const = 0;

  // Store "." + extensao / the directory; return the previous value.
  CString SetExtensao(const char* extensao);
  CString SetDiretorio(const char* diretorio);
  char* MontaNome(char* buffer) const;
  // Null when the month number lies outside 949 .. 2148.
  char* MontaNomePeriodo(char* buffer, uint16_t usMesAno) const;
  // The month numbers of the period files ("<prefix>MMAA.dat") in the directory; 0 or
  // 0x80070000 | system error of the search.
  HRESULT ListaPeriodos(std::set<uint16_t>& meses) const;

 private:
  CString m_strExtensao;
  CString m_strDiretorio;
};
