// The interface of the sales module's order server (FT) that this system creates, its identifiers
// and its initialisation record. Methods are named, not numbered, as in InterfacesBase.h; further
// methods arrive with their callers. Packed on two bytes like every record of the family.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/com/unknown.h"

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
};

#pragma GCC diagnostic pop
