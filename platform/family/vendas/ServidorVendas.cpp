#include "platform/family/vendas/ServidorVendas.h"

#include "platform/family/vendas/PedidoFT.h"

ServidorVendas::ServidorVendas()
    : ModuloFamilia("QVServidorFT", "FT"),
      Pedido(AdicionaClasse<QVFT_Pedido>("QVFT_Pedido", CLSID_QVFT_Pedido, IID_IQVFT_Pedido)) {}
