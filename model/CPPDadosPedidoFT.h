// A sales order of the sales module (FT) as the production module keeps it: of each source record
// only a few fields, in a compact record of its own, and the children as lists: the order's items
// (PedidoItem), each item's releases to invoicing or production (ItemLiberacao). CopiarDe reads
// the sales module's records (platform/family/vendas) and rebuilds a list only from a non-null
// array with a count above 0; the own records have no count or array fields, so the list counts
// are the only counts. There is no CopiarPara. Pattern: PPDadosBase.h.
#pragma once

#include <cstddef>
#include <cstdint>

#include "model/PPDadosBase.h"
#include "platform/family/vendas/RegistrosPedido.h"

#pragma pack(push, 1)

struct PPRegistroPedidoItemLiberacaoFT {
  CY vQuantidade;
  uint32_t ulChaveFaturamento;
  uint32_t ulChaveOP;  // the production order released for the item
  uint8_t cFaturado;
};
static_assert(sizeof(PPRegistroPedidoItemLiberacaoFT) == 17);
static_assert(offsetof(PPRegistroPedidoItemLiberacaoFT, cFaturado) == 16);

struct PPRegistroPedidoItemFT {
  CY vQuantidade;
  CY vQuantidadeProgramada;
  _REG_POSICAO_PRODUTOPS regPosProdutoServico;
  uint16_t iDataEntrega;  // day number
};
static_assert(sizeof(PPRegistroPedidoItemFT) == 28);
static_assert(offsetof(PPRegistroPedidoItemFT, iDataEntrega) == 26);

struct PPRegistroPedidoFT {
  int32_t lPonteiroCliente;
  uint16_t iPonteiroMunicipio;
  uint16_t iPonteiroFilial;
  uint16_t iDataEmissao;  // day number
  uint16_t iDataEntrega;  // day number
};
static_assert(sizeof(PPRegistroPedidoFT) == 12);

#pragma pack(pop)

class CPPDadosPedidoItemLiberacaoFT
    : public PPDados<CPPDadosPedidoItemLiberacaoFT, PPRegistroPedidoItemLiberacaoFT,
                     PPSentido::SoCopiarDe, tagREG_LIBERACAO_ITENS_PEDIDOPS> {
 public:
  PP_CAMPO_DA_ORIGEM(Quantidade, vQuantidade, vQuantidade)
  PP_CAMPO_DA_ORIGEM(ChaveFaturamento, ulChaveFaturamento, ulChaveFaturamento)
  PP_CAMPO_DA_ORIGEM(ChaveOP, ulChaveOP, ulChaveOP)
  PP_CAMPO_COMO_DA_ORIGEM(char, Faturado, cFaturado, cFaturado)
  PP_PARTES(Quantidade, ChaveFaturamento, ChaveOP, Faturado)
};

class CPPDadosPedidoItemFT
    : public PPDados<CPPDadosPedidoItemFT, PPRegistroPedidoItemFT, PPSentido::SoCopiarDe,
                     tagREG_ITENSPEDIDOPS> {
 public:
  PP_CAMPO_DA_ORIGEM(Quantidade, vQuantidade, vQuantidade)
  PP_CAMPO_DA_ORIGEM(QuantidadeProgramada, vQuantidadeProgramada, vQuantidadeProgramada)
  PP_CAMPO_DA_ORIGEM(PosProdutoServico, regPosProdutoServico, regPosProdutoServico)
  PP_CAMPO_DA_ORIGEM(DataEntrega, iDataEntrega, iDataEntrega)
  PP_LISTA_DA_ORIGEM(ItemLiberacao, CPPDadosPedidoItemLiberacaoFT, iQtdLiberacoes, pregLiberacoes)
  PP_PARTES(Quantidade, QuantidadeProgramada, PosProdutoServico, DataEntrega, ItemLiberacao)
};

class CPPDadosPedidoFT
    : public PPDados<CPPDadosPedidoFT, PPRegistroPedidoFT, PPSentido::SoCopiarDe, tagREG_PEDIDOPS> {
 public:
  PP_CAMPO_DA_ORIGEM(PonteiroCliente, lPonteiroCliente, lPonteiroCliente)
  PP_CAMPO_DA_ORIGEM(PonteiroMunicipio, iPonteiroMunicipio, iPonteiroMunicipio)
  PP_CAMPO_DA_ORIGEM(PonteiroFilial, iPonteiroFilial, iPonteiroFilial)
  PP_CAMPO_DA_ORIGEM(DataEmissao, iDataEmissao, iDataEmissao)
  PP_CAMPO_DA_ORIGEM(DataEntrega, iDataEntrega, iDataEntrega)
  PP_LISTA_DA_ORIGEM(PedidoItem, CPPDadosPedidoItemFT, iQtdItens, pregItens)
  PP_PARTES(PonteiroCliente, PonteiroMunicipio, PonteiroFilial, DataEmissao, DataEntrega,
            PedidoItem)
};

extern template class PPDados<CPPDadosPedidoItemLiberacaoFT, PPRegistroPedidoItemLiberacaoFT,
                              PPSentido::SoCopiarDe, tagREG_LIBERACAO_ITENS_PEDIDOPS>;
extern template class PPDados<CPPDadosPedidoItemFT, PPRegistroPedidoItemFT, PPSentido::SoCopiarDe,
                              tagREG_ITENSPEDIDOPS>;
extern template class PPDados<CPPDadosPedidoFT, PPRegistroPedidoFT, PPSentido::SoCopiarDe,
                              tagREG_PEDIDOPS>;
