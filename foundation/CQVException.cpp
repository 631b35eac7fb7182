#include "foundation/CQVException.h"

#include <cstdio>

#include "foundation/CQVMensagem.h"
#include "foundation/QVSistema.h"
#include "platform/win32/messagebox.h"

namespace {

constexpr UINT kBitsIcone = 0x70;

}  // namespace

CQVException::CQVException(int numero, int sistema, int erroSO)
    : m_numero(numero), m_sistema(sistema), m_erroSO(erroSO) {}

CQVException::CQVException(const char* texto, int sistema, int erroSO)
    : m_numero(0), m_sistema(sistema), m_erroSO(erroSO), m_texto(texto) {}

CString CQVException::GetTexto() const {
  if (m_texto.IsEmpty()) m_texto = QVLeMensagem(m_numero, m_sistema);
  return m_texto;
}

BOOL CQVException::GetErrorMessage(char* buffer, UINT size, UINT*) const {
  if (!buffer || size == 0) return FALSE;
  CString texto = GetTexto();
  snprintf(buffer, size, "%s", static_cast<const char*>(texto));
  return !texto.IsEmpty();
}

int CQVException::ReportError(UINT style, UINT) const {
  CString texto = QVTextoCompletoErro(GetTexto(), m_numero, m_erroSO, false);
  if ((style & kBitsIcone) == 0) style |= MB_ICONEXCLAMATION;
  return MessageBoxA(nullptr, texto, QVGetTituloSistema(m_sistema), style);
}
