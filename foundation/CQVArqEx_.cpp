#include "foundation/CQVArqEx_.h"

#include <cstdio>
#include <cstring>

#include "foundation/QVData.h"
#include "platform/win32/file.h"

namespace {

// The month number of "MMAA" at the given place of a name; 0 when it is not one.
uint16_t MesAnoDoNome(const char* nome, size_t inicio) {
  if (std::strlen(nome) < inicio + 4) return 0;
  const char* mmaa = nome + inicio;
  for (int i = 0; i < 4; ++i)
    if (mmaa[i] < '0' || mmaa[i] > '9') return 0;
  const int mes = (mmaa[0] - '0') * 10 + (mmaa[1] - '0');
  if (mes < 1 || mes > 12) return 0;
  const char texto[] = {mmaa[0], mmaa[1], '/', mmaa[2], mmaa[3], 0};
  return QVTextoParaMesAno(texto);
}

}  // namespace

CQVArqEx_::CQVArqEx_() : m_strExtensao(".DAT") {}

CString CQVArqEx_::SetExtensao(const char* extensao) {
  CString anterior = m_strExtensao;
  m_strExtensao = CString(".") + extensao;
  return anterior;
}

CString CQVArqEx_::SetDiretorio(const char* diretorio) {
  CString anterior = m_strDiretorio;
  m_strDiretorio = diretorio;
  return anterior;
}

char* CQVArqEx_::MontaNome(char* buffer) const {
  std::snprintf(buffer, MAX_PATH, "%s%s%s", static_cast<const char*>(m_strDiretorio),
                static_cast<const char*>(GetPrefixo()), static_cast<const char*>(m_strExtensao));
  return buffer;
}

char* CQVArqEx_::MontaNomePeriodo(char* buffer, uint16_t usMesAno) const {
  if (usMesAno < 949 || usMesAno > 2148) return nullptr;
  char mesAno[8];
  QVMesAnoParaTexto(usMesAno, mesAno, false);  // MM/AA
  std::snprintf(buffer, MAX_PATH, "%s%s%.2s%.2s%s", static_cast<const char*>(m_strDiretorio),
                static_cast<const char*>(GetPrefixo()), mesAno, mesAno + 3, static_cast<const char*>(m_strExtensao));
  return buffer;
}

HRESULT CQVArqEx_::ListaPeriodos(std::set<uint16_t>& meses) const {
  meses.clear();
  const CString padrao = m_strDiretorio + GetPrefixo() + "????.dat";
  WIN32_FIND_DATAA achado;
  HANDLE busca = FindFirstFileA(padrao, &achado);
  if (busca == INVALID_HANDLE_VALUE) {
    // No period file at all is an empty list, like the end of a search.
    const DWORD erro = GetLastError();
    return erro == ERROR_FILE_NOT_FOUND || erro == ERROR_NO_MORE_FILES ? 0 : HRESULT_FROM_WIN32(erro);
  }
  do {
    if (uint16_t mes = MesAnoDoNome(achado.cFileName, 4)) meses.insert(mes);
  } while (FindNextFileA(busca, &achado));
  const DWORD erro = GetLastError();
  FindClose(busca);
  return erro == ERROR_NO_MORE_FILES ? 0 : HRESULT_FROM_WIN32(erro);
}
