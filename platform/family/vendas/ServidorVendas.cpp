#include "platform/family/vendas/ServidorVendas.h"

#include <algorithm>

namespace {

bool RestoZerado(const _REG_FT_INICIALIZA_PEDIDOPS& registro) {
  return std::all_of(std::begin(registro.cReservado34), std::end(registro.cReservado34),
                     [](uint8_t byte) { return byte == 0; });
}

}  // namespace

ServidorVendas::ServidorVendas()
    : ModuloFamilia("QVServidorFT", "FT"),
      Pedido(AdicionaClasse<ObjetoRegistroSessao<IQVFT_Pedido, _REG_FT_INICIALIZA_PEDIDOPS, &RestoZerado>>(
          "QVFT_Pedido", CLSID_QVFT_Pedido, IID_IQVFT_Pedido)) {}
