#include "model/CPPDadosPedidoFT.h"

template class PPDados<CPPDadosPedidoItemLiberacaoFT, PPRegistroPedidoItemLiberacaoFT,
                       PPSentido::SoCopiarDe, tagREG_LIBERACAO_ITENS_PEDIDOPS>;
template class PPDados<CPPDadosPedidoItemFT, PPRegistroPedidoItemFT, PPSentido::SoCopiarDe,
                       tagREG_ITENSPEDIDOPS>;
template class PPDados<CPPDadosPedidoFT, PPRegistroPedidoFT, PPSentido::SoCopiarDe,
                       tagREG_PEDIDOPS>;
