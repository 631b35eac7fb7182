// The interface of the sales module's order server (FT) that this system creates, its identifiers
// and its initialisation record. Methods are named, not numbered, as in InterfacesBase.h; each
// notes where its callers reach it in the real interface (the three methods of IUnknown counted).
// Packed on two bytes like every record of the family; the order records are in RegistrosPedido.h.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/com/unknown.h"
#include "platform/family/vendas/RegistrosPedido.h"

#pragma pack(push, 2)

// Company (28 bytes), user, session; the rest zero.
struct _REG_FT_INICIALIZA_PEDIDOPS {
  char szEmpresa[28];
  uint16_t usUsuario;
  int32_t lNumeroSessao;
  uint8_t cReservado34[6];  // zero
};
static_assert(sizeof(_REG_FT_INICIALIZA_PEDIDOPS) == 40);
static_assert(offsetof(_REG_FT_INICIALIZA_PEDIDOPS, usUsuario) == 28);
static_assert(offsetof(_REG_FT_INICIALIZA_PEDIDOPS, lNumeroSessao) == 30);
static_assert(offsetof(_REG_FT_INICIALIZA_PEDIDOPS, cReservado34) == 34);

#pragma pack(pop)

// {C7F481DD-3E08-11D4-9267-00A0C9ACA8C4} / {C7F481DC-3E08-11D4-9267-00A0C9ACA8C4}
constexpr CLSID CLSID_QVFT_Pedido = {
    0xC7F481DD, 0x3E08, 0x11D4, {0x92, 0x67, 0x00, 0xA0, 0xC9, 0xAC, 0xA8, 0xC4}};
constexpr IID IID_IQVFT_Pedido = {
    0xC7F481DC, 0x3E08, 0x11D4, {0x92, 0x67, 0x00, 0xA0, 0xC9, 0xAC, 0xA8, 0xC4}};

#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wnon-virtual-dtor"

struct IQVFT_Pedido : IUnknown {
  // The real interface's second method.
  virtual HRESULT Inicializa(_REG_FT_INICIALIZA_PEDIDOPS regInicializa) = 0;
  // Method 4: the order `ulChave` with its items, their releases and every other nested array, in
  // a record that the server allocates (*ppregPedido; LiberaRegistroPedidoFT, then CoTaskMemFree).
  // lTipoLeitura: -1 from the data readers (LePedidoFT), 3 from the requirement demand
  // (BuscaQtdsNecessarias, BuscaListaDadoPedido) and the requirement filter.
  virtual HRESULT LePedido(uint32_t ulChave, int32_t lTipoLeitura, tagREG_PEDIDOPS** ppregPedido) = 0;
  // Method 15: adds each difference to its item's programmed quantity, all or none. Called with
  // the sales-order differences of an order's item integration when it is saved, and with the
  // open balances that a cancelled order gives back.
  virtual HRESULT AtualizaQuantidadesProgramadas(uint32_t ulQtd,
                                                 const tagREG_DIFERENCA_QTD_PEDIDOPS* pregDiferencas) = 0;
  // The item release of a production entry, or its reversal (cEstorno): ulQtd 1 and one record.
  // Answers 1 when it released or reversed, 0 when there was nothing to do, and a negative value
  // when it failed, which the order server's LiberaItemPedido returns with nothing written.
  virtual HRESULT LiberaItem(uint32_t ulQtd, const tagREG_LIBERA_ITEM_PEDIDOPS* pregLiberacao) = 0;
  // The keys of the orders that pass the filter in the period, in a list that the server
  // allocates; called by the requirement demand before it reads each order (kind 3).
  virtual HRESULT BuscaPonteiros(tagREG_FILTRO_PEDIDOPS regFiltro, tagREG_PERIODO_PEDIDOPS regPeriodo,
                                 _REG_VARMO_PONTEIROS_ULONGPS* pregPonteiros) = 0;
};

#pragma GCC diagnostic pop
