#include "platform/mfc/CException.h"

#include <cstdio>

#include "platform/win32/messagebox.h"

BOOL CException::GetErrorMessage(char* buffer, UINT size, UINT*) const {
  if (buffer && size > 0) buffer[0] = 0;
  return FALSE;
}

int CException::ReportError(UINT style, UINT) const {
  char texto[512];
  if (!GetErrorMessage(texto, sizeof texto)) snprintf(texto, sizeof texto, "%s", "No error message is available.");
  return MessageBoxA(nullptr, texto, "", style == 0 ? MB_OK | MB_ICONEXCLAMATION : style);
}
