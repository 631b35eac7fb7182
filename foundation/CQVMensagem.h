// The message catalogues: one Windows-1252 text file per system, "QV%sMens.txt" (QVPPMens.txt for
// this module), in the installation's message directory. One message per line: the number at the
// start of the line, the text from the ninth character on, "\n" (backslash, n) for a line break.
// The file is read afresh at every lookup; it is never written.
#pragma once

#include "platform/mfc/CString.h"
#include "platform/win32/base.h"

class CQVMensagem {
 public:
  virtual ~CQVMensagem() = default;
};

// The text of a message; empty when the number is not in the catalogue. A catalogue that cannot be
// opened is reported in a message box and gives an empty text.
CString QVLeMensagem(int numero, int sistema);
// Shows a message of the catalogue (or "Erro desconhecido encontrado. Código (%d)") with the
// system's title and, when erroSO is not 0, the operating system's text of it.
int QVMostraMensagem(int numero, int sistema, int erroSO, UINT estilo);
// The text of an error box: the text, or "Erro desconhecido encontrado. Código (%d)" when it is
// empty, followed by "\nErro do SO: %d - <text>" when erroSO has a text (short: at most 255
// characters, no line breaks).
CString QVTextoCompletoErro(const CString& texto, int numero, int erroSO, bool bTextoSOCurto);
// The operating system's text of an error code; empty when it has none.
CString QVTextoErroSO(int erro);
