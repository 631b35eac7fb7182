#include "foundation/QVImportacao.h"

#include "platform/win32/codepage.h"
#include "platform/win32/messagebox.h"
#include "platform/win32/module.h"

namespace {

const char kTitulo[] = "Orvel Empresarial";
constexpr int kImportacaoConcluida = 2;
constexpr int kErroGravacaoLeitura = 3;

void MostraResultado(int resultado) {
  if (resultado == kImportacaoConcluida)
    MessageBoxA(nullptr, "Importação concluída com sucesso!"_ansi, kTitulo, MB_OK | MB_ICONEXCLAMATION);
  else if (resultado == kErroGravacaoLeitura)
    MessageBoxA(nullptr, "Erro de gravação/leitura. Importação não concluída!"_ansi, kTitulo, MB_OK | MB_ICONINFORMATION);
}

// Loads the library, calls the entry point through `chama` and unloads it again.
template <typename Funcao, typename Chamada>
void Importa(const char* pontoDeEntrada, Chamada chama) {
  HMODULE biblioteca = LoadLibraryA("Salvik.dll");
  if (!biblioteca) {
    MessageBoxA(nullptr, "A dll de importacao (salvik.dll) não foi encontrada"_ansi, kTitulo, MB_OK | MB_ICONINFORMATION);
    return;
  }
  auto funcao = reinterpret_cast<Funcao>(GetProcAddress(biblioteca, pontoDeEntrada));
  if (funcao)
    MostraResultado(chama(funcao));
  else
    MessageBoxA(nullptr, "A dll de importacao (salvik.dll) é inválida"_ansi, kTitulo, MB_OK | MB_ICONINFORMATION);
  FreeLibrary(biblioteca);
}

using FazImportacaoCFRT = int (*)(uint8_t, const char*, uint16_t, void*);
using FazImportacaoMunicipios = int (*)(const char*, uint16_t, void*);

}  // namespace

void QVImportaCFRT(uint8_t flag, const char* texto, uint16_t numero, void* ponteiro) {
  Importa<FazImportacaoCFRT>("FazImportacaoCFRT", [&](FazImportacaoCFRT f) { return f(flag, texto, numero, ponteiro); });
}

void QVImportaMunicipios(const char* texto, uint16_t numero, void* ponteiro) {
  Importa<FazImportacaoMunicipios>("FazImportacaoMunicipios", [&](FazImportacaoMunicipios f) { return f(texto, numero, ponteiro); });
}
