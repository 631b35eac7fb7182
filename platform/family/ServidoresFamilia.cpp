#include "platform/family/ServidoresFamilia.h"

HRESULT ServidoresFamilia::Registra() {
  for (ModuloFamilia* modulo : Modulos()) {
    if (const HRESULT hr = modulo->Registra(); FAILED(hr)) return hr;
  }
  return S_OK;
}

std::vector<ModuloFamilia*> ServidoresFamilia::Modulos() { return {&base, &filiais, &estoque, &vendas, &compras}; }
