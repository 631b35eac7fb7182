#include "platform/com/taskmem.h"
#include "platform/family/vendas/RegistrosPedido.h"

namespace {

template <class T>
void Libera(T*& bloco) {
  if (!bloco) return;
  CoTaskMemFree(bloco);
  bloco = nullptr;
}

void LiberaDetalhes(tagREG_DETALHE_PEDIDOPS*& detalhes, uint16_t& quantidade) {
  if (!detalhes) return;
  for (uint16_t i = 0; i < quantidade; ++i) Libera(detalhes[i].pDados);
  Libera(detalhes);
  quantidade = 0;
}

}  // namespace

void LiberaRegistroPedidoFT(tagREG_PEDIDOPS* pedido) {
  if (!pedido) return;
  Libera(pedido->pComplemento);
  pedido->cPossuiComplemento = 0;
  LiberaDetalhes(pedido->pregDetalhes, pedido->iQtdDetalhes);
  if (!pedido->pregItens) return;
  for (uint16_t i = 0; i < pedido->iQtdItens; ++i) {
    tagREG_ITENSPEDIDOPS& item = pedido->pregItens[i];
    LiberaDetalhes(item.pregDetalhes, item.iQtdDetalhes);
    if (item.pregLiberacoes) {
      Libera(item.pregLiberacoes);
      item.iQtdLiberacoes = 0;
    }
    Libera(item.pComplemento);
  }
  Libera(pedido->pregItens);
  pedido->iQtdItens = 0;
}
