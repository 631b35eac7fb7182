// The interfaces of the inventory module's servers (ES) that this system creates, with their
// identifiers: the master settings, the storage places and the movements. Methods are named, not
// numbered, as in InterfacesBase.h; further methods arrive with their callers.
#pragma once

#include <cstdint>

#include "platform/com/bstr.h"
#include "platform/com/unknown.h"

// The number by which the production module names itself to the inventory servers.
constexpr int32_t kESModuloProducao = 1282;

// {588C5B24-CA5B-11D2-945D-00A0C9EC15B5} / {5FECCC8F-CB24-11D2-945E-00A0C9EC15B5}
constexpr CLSID CLSID_QVES_Mestre = {
    0x588C5B24, 0xCA5B, 0x11D2, {0x94, 0x5D, 0x00, 0xA0, 0xC9, 0xEC, 0x15, 0xB5}};
constexpr IID IID_IQVES_Mestre = {
    0x5FECCC8F, 0xCB24, 0x11D2, {0x94, 0x5E, 0x00, 0xA0, 0xC9, 0xEC, 0x15, 0xB5}};
// {352D7C83-A9FF-11D2-940F-00A0C9EC15B5} / {352D7C82-A9FF-11D2-940F-00A0C9EC15B5}
constexpr CLSID CLSID_QVES_Armazenagem = {
    0x352D7C83, 0xA9FF, 0x11D2, {0x94, 0x0F, 0x00, 0xA0, 0xC9, 0xEC, 0x15, 0xB5}};
constexpr IID IID_IQVES_Armazenagem = {
    0x352D7C82, 0xA9FF, 0x11D2, {0x94, 0x0F, 0x00, 0xA0, 0xC9, 0xEC, 0x15, 0xB5}};
// {50BB977B-B433-11D2-9425-00A0C9EC15B5} / {50BB977A-B433-11D2-9425-00A0C9EC15B5}
constexpr CLSID CLSID_QVES_Movimento = {
    0x50BB977B, 0xB433, 0x11D2, {0x94, 0x25, 0x00, 0xA0, 0xC9, 0xEC, 0x15, 0xB5}};
constexpr IID IID_IQVES_Movimento = {
    0x50BB977A, 0xB433, 0x11D2, {0x94, 0x25, 0x00, 0xA0, 0xC9, 0xEC, 0x15, 0xB5}};

#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wnon-virtual-dtor"

// Each is initialised with the company, the user, the session and the calling module's number.
struct IQVES_Mestre : IUnknown {
  // The real interface's third method.
  virtual HRESULT Inicializa(BSTR bsEmpresa, uint16_t usUsuario, int32_t lNumeroSessao, int32_t lModulo) = 0;
};

struct IQVES_Armazenagem : IUnknown {
  virtual HRESULT Inicializa(BSTR bsEmpresa, uint16_t usUsuario, int32_t lNumeroSessao, int32_t lModulo) = 0;
};

struct IQVES_Movimento : IUnknown {
  virtual HRESULT Inicializa(BSTR bsEmpresa, uint16_t usUsuario, int32_t lNumeroSessao, int32_t lModulo) = 0;
};

#pragma GCC diagnostic pop
