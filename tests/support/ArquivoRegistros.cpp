#include "tests/support/ArquivoRegistros.h"

#include <stdexcept>

std::string ArquivoDeRegistros(uint32_t tamanho, const std::vector<std::string>& registros) {
  std::string bytes(tamanho, '\0');
  for (const std::string& registro : registros) {
    if (registro.size() != tamanho) throw std::invalid_argument("record of another length");
    bytes += registro;
  }
  return bytes;
}
