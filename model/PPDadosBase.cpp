#include "model/PPDadosBase.h"

#include <cstring>

#include "platform/win32/messagebox.h"

bool PPIndiceNaLista(int i, int quantidade) {
  if (i >= 0 && i < quantidade) return true;
  MessageBoxA(nullptr, "erro3", nullptr, MB_OK);
  return false;
}

CString PPLeTexto(const char* campo, size_t largura) {
  return CString(campo, static_cast<int>(largura));  // up to the first zero byte
}

void PPEscreveTexto(char* campo, size_t largura, const char* texto) {
  // strncpy pads with zeros up to width - 1; the last byte keeps the zero of the last clearing.
  std::strncpy(campo, texto != nullptr ? texto : "", largura - 1);
}
