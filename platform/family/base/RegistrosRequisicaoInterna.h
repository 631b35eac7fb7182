// Records of the base system's internal-requisition server (IQVDF_RequisicaoInterna): a
// requisition with its items, each item with its attendances (issues from stock) and its
// components, each attendance with its components. They are the base system's, packed on two bytes
// like every record of the family. This system reads and writes the fields named here and carries
// every other byte unchanged (reserved arrays named after their offset).
//
// Counts are 32-bit unsigned and stand beside the array they count; an output record returned by
// the server holds arrays from the COM task allocator. An item and an attendance each carry one
// more counted array ("Adicionais") that the production module never reads: it belongs to whoever
// read the record and is freed by that reader, the attendance's one level deeper (each of its
// 24-byte entries holds an array of its own).
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/com/currency.h"
#include "server/idl/VarmoRegistrosComuns.h"

#pragma pack(push, 2)

struct _REG_ITEMREQUISICAOINTERNAPS;
struct _REG_COMPOSICAO_ITEM_REQUISICAOPS;
struct _REG_ATENDIMENTOPS;
struct _REG_ATENDIMENTO_COMPOSICAOPS;

// A requisition: key, requesting and supplying branches, the document that generated it, dates,
// requester, department, code, remarks and its items.
struct _REG_REQUISICAOINTERNAPS {
  uint32_t ulChave;
  int32_t lFilialRequisitante;
  int32_t lFilialDestino;
  _QV_DMC_ps regQuemGerou;  // module and key of the generating document
  uint16_t iDataEmissao;  // day number
  uint16_t iDataNecessidade;  // day number
  uint16_t iUsuarioRequisitante;
  int32_t lRequerente;
  int32_t lDepartamento;
  char szCodigo[22];
  char szObservacao[502];
  uint8_t cReservado556[4];
  uint32_t ulQtdItens;
  uint8_t cStatusPrincipal;
  uint8_t cReservado565[3];
  _REG_ITEMREQUISICAOINTERNAPS* pregItens;  // count in ulQtdItens
};
static_assert(sizeof(_REG_REQUISICAOINTERNAPS) == 572);
static_assert(offsetof(_REG_REQUISICAOINTERNAPS, regQuemGerou) == 12);
static_assert(offsetof(_REG_REQUISICAOINTERNAPS, iDataEmissao) == 18);
static_assert(offsetof(_REG_REQUISICAOINTERNAPS, lRequerente) == 24);
static_assert(offsetof(_REG_REQUISICAOINTERNAPS, lDepartamento) == 28);
static_assert(offsetof(_REG_REQUISICAOINTERNAPS, szCodigo) == 32);
static_assert(offsetof(_REG_REQUISICAOINTERNAPS, szObservacao) == 54);
static_assert(offsetof(_REG_REQUISICAOINTERNAPS, ulQtdItens) == 560);
static_assert(offsetof(_REG_REQUISICAOINTERNAPS, cStatusPrincipal) == 564);
static_assert(offsetof(_REG_REQUISICAOINTERNAPS, pregItens) == 568);

// One item: quantities, product or service, stock origin, description, kind and state.
struct _REG_ITEMREQUISICAOINTERNAPS {
  CY vQuantidade;
  CY vQuantidadeAtendida;
  CY vQuantidadeCancelada;
  _REG_POSICAO_PRODUTOPS regProdutoServico;
  uint32_t ulQtdComposicao;
  uint32_t ulQtdAdicionais;  // not read by the production module
  uint32_t ulQtdAtendimentos;
  uint32_t ulPonteiroLocalOrigem;
  uint32_t ulPonteiroLote;
  uint32_t ulPonteiroForLote;
  uint32_t ulPonteiroForEPTETPE;
  uint32_t ulPonteiroCliEPTETPE;
  uint16_t iPonteiroUnidadeMedida;
  uint16_t iProxItemAtendimento;  // number for the next attendance
  char szDescricao[502];
  uint8_t cItemCancelado;
  uint8_t cItemProduto;  // product or service item
  uint8_t cTipoNecessidade;
  uint8_t cStatusItem;
  uint8_t cTipoProducao;
  uint8_t cReservado577[1];
  _REG_COMPOSICAO_ITEM_REQUISICAOPS* pregComposicao;  // count in ulQtdComposicao
  uint8_t* pregAdicionais;  // count in ulQtdAdicionais; its element layout is the base system's
  _REG_ATENDIMENTOPS* pregAtendimentos;  // count in ulQtdAtendimentos
};
static_assert(sizeof(_REG_ITEMREQUISICAOINTERNAPS) == 590);
static_assert(offsetof(_REG_ITEMREQUISICAOINTERNAPS, regProdutoServico) == 24);
static_assert(offsetof(_REG_ITEMREQUISICAOINTERNAPS, ulQtdComposicao) == 34);
static_assert(offsetof(_REG_ITEMREQUISICAOINTERNAPS, ulQtdAdicionais) == 38);
static_assert(offsetof(_REG_ITEMREQUISICAOINTERNAPS, ulQtdAtendimentos) == 42);
static_assert(offsetof(_REG_ITEMREQUISICAOINTERNAPS, ulPonteiroLocalOrigem) == 46);
static_assert(offsetof(_REG_ITEMREQUISICAOINTERNAPS, ulPonteiroCliEPTETPE) == 62);
static_assert(offsetof(_REG_ITEMREQUISICAOINTERNAPS, iPonteiroUnidadeMedida) == 66);
static_assert(offsetof(_REG_ITEMREQUISICAOINTERNAPS, iProxItemAtendimento) == 68);
static_assert(offsetof(_REG_ITEMREQUISICAOINTERNAPS, szDescricao) == 70);
static_assert(offsetof(_REG_ITEMREQUISICAOINTERNAPS, cItemCancelado) == 572);
static_assert(offsetof(_REG_ITEMREQUISICAOINTERNAPS, cTipoProducao) == 576);
static_assert(offsetof(_REG_ITEMREQUISICAOINTERNAPS, pregComposicao) == 578);
static_assert(offsetof(_REG_ITEMREQUISICAOINTERNAPS, pregAdicionais) == 582);
static_assert(offsetof(_REG_ITEMREQUISICAOINTERNAPS, pregAtendimentos) == 586);

// One component (grid or composition line) of an item.
struct _REG_COMPOSICAO_ITEM_REQUISICAOPS {
  CY vQuantidade;
  _REG_POSICAO_PRODUTOPS regPosicaoProduto;
  uint16_t iPonteiroLocal;
  uint16_t iFilial;
  uint8_t cTipoProducao;
  uint8_t cReservado23[1];
};
static_assert(sizeof(_REG_COMPOSICAO_ITEM_REQUISICAOPS) == 24);
static_assert(offsetof(_REG_COMPOSICAO_ITEM_REQUISICAOPS, iPonteiroLocal) == 18);
static_assert(offsetof(_REG_COMPOSICAO_ITEM_REQUISICAOPS, cTipoProducao) == 22);

// One entry of an attendance's further array, which the production module never reads: only its
// own nested array matters, to whoever frees a record returned by the server.
struct _REG_ATENDIMENTO_ADICIONALPS {
  uint8_t cReservado0[16];
  uint32_t ulQtdSubitens;
  uint8_t* pregSubitens;  // count in ulQtdSubitens; its element layout is the base system's
};
static_assert(sizeof(_REG_ATENDIMENTO_ADICIONALPS) == 24);
static_assert(offsetof(_REG_ATENDIMENTO_ADICIONALPS, ulQtdSubitens) == 16);
static_assert(offsetof(_REG_ATENDIMENTO_ADICIONALPS, pregSubitens) == 20);

// One attendance of an item: an issue from a stock location, possibly of a batch, or its return.
struct _REG_ATENDIMENTOPS {
  CY vQuantidade;
  CY vQtdDevolucao;  // quantity returned
  int32_t lLocalEstoqueOrigem;
  int32_t lLocalEstoqueDestino;
  int32_t lFornecedorLote;
  int32_t lPonteiroLote;
  int32_t lPonteiroForEPTETPE;
  int32_t lPonteiroCliEPTETPE;
  uint32_t ulPonteiroRequisitanteResponsavel;
  uint32_t ulQtdAdicionais;  // not read by the production module
  uint8_t cReservado48[4];
  uint32_t ulQtdComposicao;
  uint16_t iDataAtendimento;  // day number
  uint16_t iAtendente;
  uint16_t iItem;  // the item's number
  uint16_t iDataDevolucao;  // day number
  uint8_t cTipoProducao;
  uint8_t cStatusAtendimento;
  uint8_t cCancelado;
  uint8_t cImpresso;
  _REG_ATENDIMENTO_ADICIONALPS* pregAdicionais;  // count in ulQtdAdicionais
  _REG_ATENDIMENTO_COMPOSICAOPS* pregComposicao;  // count in ulQtdComposicao
};
static_assert(sizeof(_REG_ATENDIMENTOPS) == 76);
static_assert(offsetof(_REG_ATENDIMENTOPS, lLocalEstoqueOrigem) == 16);
static_assert(offsetof(_REG_ATENDIMENTOPS, ulPonteiroRequisitanteResponsavel) == 40);
static_assert(offsetof(_REG_ATENDIMENTOPS, ulQtdAdicionais) == 44);
static_assert(offsetof(_REG_ATENDIMENTOPS, ulQtdComposicao) == 52);
static_assert(offsetof(_REG_ATENDIMENTOPS, iDataAtendimento) == 56);
static_assert(offsetof(_REG_ATENDIMENTOPS, iItem) == 60);
static_assert(offsetof(_REG_ATENDIMENTOPS, iDataDevolucao) == 62);
static_assert(offsetof(_REG_ATENDIMENTOPS, cTipoProducao) == 64);
static_assert(offsetof(_REG_ATENDIMENTOPS, cImpresso) == 67);
static_assert(offsetof(_REG_ATENDIMENTOPS, pregAdicionais) == 68);
static_assert(offsetof(_REG_ATENDIMENTOPS, pregComposicao) == 72);

// One component of an attendance.
struct _REG_ATENDIMENTO_COMPOSICAOPS {
  CY vQuantidade;
  int32_t lLocalEstoqueOrigem;
  int32_t lFornecedorLote;
  int32_t lPonteiroLote;
  int32_t lPonteiroVolume;
  int32_t lPonteiroForEPTETPE;
  int32_t lPonteiroCliEPTETPE;
  _REG_POSICAO_PRODUTOPS regPosicaoProduto;
  uint8_t cTipoProducao;
  uint8_t cTipoEstoque;
};
static_assert(sizeof(_REG_ATENDIMENTO_COMPOSICAOPS) == 44);
static_assert(offsetof(_REG_ATENDIMENTO_COMPOSICAOPS, lPonteiroCliEPTETPE) == 28);
static_assert(offsetof(_REG_ATENDIMENTO_COMPOSICAOPS, regPosicaoProduto) == 32);
static_assert(offsetof(_REG_ATENDIMENTO_COMPOSICAOPS, cTipoProducao) == 42);
static_assert(offsetof(_REG_ATENDIMENTO_COMPOSICAOPS, cTipoEstoque) == 43);

#pragma pack(pop)
