// The stand-in of the sales module's order server (FT): one StandInServer, "QVServidorFT", serving
// IQVFT_Pedido (PedidoFT.h) over the frame of ServidorFamilia.h; its records lie in the company's FT
// directory.
#pragma once

#include "platform/family/comum/ServidorFamilia.h"
#include "platform/family/vendas/InterfacePedido.h"

class ServidorVendas : public ModuloFamilia {
 public:
  ServidorVendas();

  ClasseFamilia& Pedido;
};
