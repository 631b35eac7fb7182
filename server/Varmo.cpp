// The Varmo program: it joins its arguments into one command line, with the executable's full
// path in front, because VarmoExecuta reads its switches from the whole line and registers that
// path. The exit code is the program's HRESULT; the process passes on its low byte only.
#include <string>

#include "platform/win32/module.h"
#include "platform/win32/eventlog.h"
#include "server/VarmoPrograma.h"

namespace {

std::string Palavra(const std::string& texto) {
  return texto.find_first_of(" \t") == std::string::npos ? texto : '"' + texto + '"';
}

}  // namespace

int main(int argc, char** argv) {
  char szPrograma[MAX_PATH * 4] = "";
  GetModuleFileNameA(nullptr, szPrograma, sizeof szPrograma);
  std::string linha = Palavra(szPrograma);
  for (int i = 1; i < argc; ++i) linha += ' ' + Palavra(argv[i]);
  return VarmoExecuta(linha.c_str());
}
