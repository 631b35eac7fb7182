// The records of the family's branch server (IQVCN_Filial) that the production module reads: a
// branch, the branch parameters of the session and its open period. They are the branch server's,
// packed on two bytes like every record of the family; the branch is known to clients by the name
// that server's interface compiler gave it. This system reads only the fields named here and
// carries every other byte unchanged (reserved arrays named after their offset).
#pragma once

#include <cstddef>
#include <cstdint>

#pragma pack(push, 2)

// A branch.
struct __MIDL___MIDL_itf_Brisel_0000_0003 {
  uint16_t iCodigo;  // the branch's code
  uint8_t cReservado2[4];
  char szNomeFantasia[40];  // trade name, zero-terminated
  uint8_t cReservado46[188];
  char szLocalizacao[14];  // where the branch lies, compared with a supplier's without regard to case
  char szCodigo[20];  // the code that finds the branch (Existe); its first 10 characters identify it
                      // as a participant of the accounting postings; zero-terminated
  uint8_t cReservado268[1439];
  uint8_t cPonteiroFeriado;  // the branch's holiday table
  uint8_t cReservado1708[976];
};
static_assert(sizeof(__MIDL___MIDL_itf_Brisel_0000_0003) == 2684);
static_assert(offsetof(__MIDL___MIDL_itf_Brisel_0000_0003, szNomeFantasia) == 6);
static_assert(offsetof(__MIDL___MIDL_itf_Brisel_0000_0003, szLocalizacao) == 234);
static_assert(offsetof(__MIDL___MIDL_itf_Brisel_0000_0003, szCodigo) == 248);
static_assert(offsetof(__MIDL___MIDL_itf_Brisel_0000_0003, cPonteiroFeriado) == 1707);

// The branch parameters of the session. This system reads only the sales-order integration switch.
struct _REG_CN_PARAMETROSPS {
  uint8_t cReservado0[21];
  uint8_t cIntegraPedidos;  // non-zero: production follows the sales orders
  uint8_t cReservado22[14];
};
static_assert(sizeof(_REG_CN_PARAMETROSPS) == 36);
static_assert(offsetof(_REG_CN_PARAMETROSPS, cIntegraPedidos) == 21);

// The open period of the session: day numbers of its first and last day.
struct _REG_CN_PERIODOPS {
  uint16_t usDataInferior;
  uint16_t usDataSuperior;
  uint8_t cReservado4[6];
};
static_assert(sizeof(_REG_CN_PERIODOPS) == 10);
static_assert(offsetof(_REG_CN_PERIODOPS, usDataSuperior) == 2);

#pragma pack(pop)
