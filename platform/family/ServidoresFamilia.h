// The stand-ins of every server of the family's other modules that this system creates, in one
// object: the base system (DF), the branches (CN), the inventory (ES), sales (FT) and receipts (CM).
// A program or a test that lets this system reach them creates it after the registry that
// QV_REGISTRY names, registers it (each module's classes under HKEY_CLASSES_ROOT, each module
// linked into the process) and destroys it before the registry goes; the destructor stops the
// modules' runs and removes what they registered.
#pragma once

#include <vector>

#include "platform/family/base/ServidorBase.h"
#include "platform/family/compras/ServidorCompras.h"
#include "platform/family/estoque/ServidorEstoque.h"
#include "platform/family/filiais/ServidorFiliais.h"
#include "platform/family/vendas/ServidorVendas.h"

struct ServidoresFamilia {
  // Registers every module; the first failure.
  HRESULT Registra();
  std::vector<ModuloFamilia*> Modulos();

  ServidorBase base;
  ServidorFiliais filiais;
  ServidorEstoque estoque;
  ServidorVendas vendas;
  ServidorCompras compras;
};
