#include "platform/com/taskmem.h"
#include "platform/family/vendas/RegistrosPedido.h"

namespace {

// Frees a block and gives the null that the caller stores in its place: the records are packed, so
// a reference to their pointer fields could be misaligned.
template <class T>
T* Libera(T* bloco) {
  if (bloco) CoTaskMemFree(bloco);
  return nullptr;
}

// The details of an order or of an item, each with its array.
template <class Registro>
void LiberaDetalhes(Registro& dono) {
  tagREG_DETALHE_PEDIDOPS* detalhes = dono.pregDetalhes;
  if (!detalhes) return;
  for (uint16_t i = 0; i < dono.iQtdDetalhes; ++i) detalhes[i].pDados = Libera(detalhes[i].pDados);
  dono.pregDetalhes = Libera(detalhes);
  dono.iQtdDetalhes = 0;
}

}  // namespace

void LiberaRegistroPedidoFT(tagREG_PEDIDOPS* pedido) {
  if (!pedido) return;
  pedido->pComplemento = Libera(pedido->pComplemento);
  pedido->cPossuiComplemento = 0;
  LiberaDetalhes(*pedido);
  if (!pedido->pregItens) return;
  for (uint16_t i = 0; i < pedido->iQtdItens; ++i) {
    tagREG_ITENSPEDIDOPS& item = pedido->pregItens[i];
    LiberaDetalhes(item);
    if (item.pregLiberacoes) {
      item.pregLiberacoes = Libera(item.pregLiberacoes);
      item.iQtdLiberacoes = 0;
    }
    item.pComplemento = Libera(item.pComplemento);
  }
  pedido->pregItens = Libera(pedido->pregItens);
  pedido->iQtdItens = 0;
}
