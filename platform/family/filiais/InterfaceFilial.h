// The interface of the branch server (CN) that this system creates, its identifiers, and the
// records of its initialisation: the 40-byte session record that it takes by value and the 216-byte
// company record that it fills, and the reads that this system makes of its branches, parameters
// and open period (records in RegistrosFilial.h). Methods are named, not numbered, as in
// InterfacesBase.h. Packed on two bytes like every record of the family.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/com/bstr.h"
#include "platform/com/unknown.h"
#include "platform/family/filiais/RegistrosFilial.h"

#pragma pack(push, 2)

// The session for the branch server. The production module always sends 24 in usParametro; the
// value is the branch module's.
struct _REG_CN_INICIALIZAPS {
  char szEmpresa[24];
  int32_t lReservado24;  // 0
  int32_t lNumeroSessao;
  uint16_t usReservado32;  // 0
  uint16_t usUsuario;
  uint16_t usParametro;
  uint16_t usReservado38;  // 0
};
static_assert(sizeof(_REG_CN_INICIALIZAPS) == 40);
static_assert(offsetof(_REG_CN_INICIALIZAPS, lReservado24) == 24);
static_assert(offsetof(_REG_CN_INICIALIZAPS, lNumeroSessao) == 28);
static_assert(offsetof(_REG_CN_INICIALIZAPS, usReservado32) == 32);
static_assert(offsetof(_REG_CN_INICIALIZAPS, usUsuario) == 34);
static_assert(offsetof(_REG_CN_INICIALIZAPS, usParametro) == 36);
static_assert(offsetof(_REG_CN_INICIALIZAPS, usReservado38) == 38);
constexpr uint16_t kCNParametroProducao = 24;

// The company as the branch module keeps it. This system reads only the legal name at its start;
// the rest is the branch module's.
struct _REG_CN_EMPRESAPS {
  char szRazaoSocial[60];  // zero-terminated
  uint8_t cReservado60[156];
};
static_assert(sizeof(_REG_CN_EMPRESAPS) == 216);

#pragma pack(pop)

// {0059B74E-85A6-11D1-8DC1-000001020723} / {B3C3E5DE-E441-11D1-8890-00C02631850B}
constexpr CLSID CLSID_QVCN_Filial = {
    0x0059B74E, 0x85A6, 0x11D1, {0x8D, 0xC1, 0x00, 0x00, 0x01, 0x02, 0x07, 0x23}};
constexpr IID IID_IQVCN_Filial = {
    0xB3C3E5DE, 0xE441, 0x11D1, {0x88, 0x90, 0x00, 0xC0, 0x26, 0x31, 0x85, 0x0B}};

#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wnon-virtual-dtor"

struct IQVCN_Filial : IUnknown {
  // The real interface's fifth method: company, user, session (the master settings use it).
  virtual HRESULT Inicializa(BSTR bsEmpresa, uint16_t usUsuario, int32_t lNumeroSessao) = 0;
  // The real interface's nineteenth method: the session record, and the company record that the
  // server fills.
  virtual HRESULT InicializaEmpresa(_REG_CN_INICIALIZAPS regInicializa,
                                    _REG_CN_EMPRESAPS* pRegEmpresa) = 0;
  // [m1] The branch parameters of the session.
  virtual HRESULT LeParametros(_REG_CN_PARAMETROSPS* pRegParametros) = 0;
  // [m2] The pointer of the branch whose code (szCodigo) equals bsCodigo without regard to case.
  virtual HRESULT Existe(BSTR bsCodigo, int32_t* plPonteiro) = 0;
  // [m4] The number of branches; their pointers run from 1 to it.
  virtual HRESULT BuscaQuantidade(uint16_t* pusQuantidade) = 0;
  // [m5] The branch of a pointer.
  virtual HRESULT Le(int32_t lPonteiro, __MIDL___MIDL_itf_Brisel_0000_0003* pRegFilial) = 0;
  // [m10] The open period of the session.
  virtual HRESULT LePeriodoAberto(_REG_CN_PERIODOPS* pRegPeriodo) = 0;
};

#pragma GCC diagnostic pop
