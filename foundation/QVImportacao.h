// The base system's imports of fiscal codes and municipalities, done by the family's text-import
// library "Salvik.dll", which is loaded when an import is asked for and unloaded right after. The
// outcome is shown to the user in a message box titled "Orvel Empresarial".
#pragma once

#include <cstdint>

void QVImportaCFRT(uint8_t flag, const char* texto, uint16_t numero, void* ponteiro);
void QVImportaMunicipios(const char* texto, uint16_t numero, void* ponteiro);
