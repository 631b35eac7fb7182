#include "tests/model/VigiaDeArrays.h"

#include <cstdlib>
#include <cstring>
#include <new>

VigiaDeArrays vigia;

void* operator new[](std::size_t tamanho) {
  if (vigia.vigiando && vigia.restantes >= 0) {
    if (vigia.restantes == 0) throw std::bad_alloc();
    --vigia.restantes;
  }
  void* bloco = std::malloc(tamanho > 0 ? tamanho : 1);
  if (bloco == nullptr) throw std::bad_alloc();
  if (vigia.vigiando) {
    std::memset(bloco, 0xCD, tamanho);
    vigia.vivos.insert(bloco);
  }
  return bloco;
}

void operator delete[](void* bloco) noexcept {
  if (bloco == nullptr) return;
  if (vigia.vigiando && vigia.vivos.erase(bloco) == 0) {
    ++vigia.liberacoesEstranhas;
    return;
  }
  std::free(bloco);
}

void operator delete[](void* bloco, std::size_t) noexcept { operator delete[](bloco); }
