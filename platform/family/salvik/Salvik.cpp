// Stand-in for the family's text-import library: the base system's imports of fiscal codes (CFRT)
// and of municipalities. It reads the text file it is given and reports, as the original's entry
// points do, 2 when the import was done and 3 when the file could not be read. The records
// themselves belong to the base system, which this installation does not have: the stand-in keeps
// nothing of them.
#include "platform/win32/base.h"
#include "platform/win32/file.h"

namespace {

constexpr int kImportacaoConcluida = 2;
constexpr int kErroLeitura = 3;

int ImportaArquivo(const char* arquivo) {
  if (!arquivo || !*arquivo) return kErroLeitura;
  HANDLE handle = CreateFileA(arquivo, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return kErroLeitura;
  char bloco[4096];
  DWORD lidos = 0;
  bool ok = true;
  while ((ok = ReadFile(handle, bloco, sizeof bloco, &lidos, nullptr)) && lidos > 0) {
  }
  CloseHandle(handle);
  return ok ? kImportacaoConcluida : kErroLeitura;
}

}  // namespace

extern "C" __attribute__((visibility("default"))) int FazImportacaoCFRT(BYTE, const char* arquivo, WORD, void*) {
  return ImportaArquivo(arquivo);
}

extern "C" __attribute__((visibility("default"))) int FazImportacaoMunicipios(const char* arquivo, WORD, void*) {
  return ImportaArquivo(arquivo);
}
