// The interface of the purchasing module's receipt server (CM) that this system creates, its
// identifiers, its initialisation record and the read that this system makes (the record in
// RegistrosEntrada.h). Methods are named, not numbered, as in InterfacesBase.h. Packed on two bytes
// like every record of the family.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/com/unknown.h"
#include "platform/family/compras/RegistrosEntrada.h"

#pragma pack(push, 2)

// Session, user, company (256 bytes).
struct _REG_CM_INICIALIZA_ENTRADAPS {
  int32_t lNumeroSessao;
  uint16_t usUsuario;
  char szEmpresa[256];
};
static_assert(sizeof(_REG_CM_INICIALIZA_ENTRADAPS) == 262);
static_assert(offsetof(_REG_CM_INICIALIZA_ENTRADAPS, usUsuario) == 4);
static_assert(offsetof(_REG_CM_INICIALIZA_ENTRADAPS, szEmpresa) == 6);

#pragma pack(pop)

// {8362BA02-737A-11D4-83F9-00A0C9DE80D1} / {8362BA01-737A-11D4-83F9-00A0C9DE80D1}
constexpr CLSID CLSID_QVCM_RegistroEntrada = {
    0x8362BA02, 0x737A, 0x11D4, {0x83, 0xF9, 0x00, 0xA0, 0xC9, 0xDE, 0x80, 0xD1}};
constexpr IID IID_IQVCM_RegistroEntrada = {
    0x8362BA01, 0x737A, 0x11D4, {0x83, 0xF9, 0x00, 0xA0, 0xC9, 0xDE, 0x80, 0xD1}};

#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wnon-virtual-dtor"

struct IQVCM_RegistroEntrada : IUnknown {
  // The real interface's first method.
  virtual HRESULT Inicializa(_REG_CM_INICIALIZA_ENTRADAPS regInicializa) = 0;
  // [m7] The short form of the receipt of a key.
  virtual HRESULT LeLight(uint32_t ulChave, tagREG_ENTRADA_LIGHTPS* pRegEntrada) = 0;
};

#pragma GCC diagnostic pop
