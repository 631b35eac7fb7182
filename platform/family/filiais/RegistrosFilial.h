// The record of the family's branch server (IQVCN_Filial) that the production module reads: one
// branch. It is the branch server's, packed on two bytes like every record of the family, and known
// to clients by the name that server's interface compiler gave it. This system reads only the
// fields named here and carries every other byte unchanged (reserved arrays named after their
// offset).
#pragma once

#include <cstddef>
#include <cstdint>

#pragma pack(push, 2)

// A branch.
struct __MIDL___MIDL_itf_Brisel_0000_0003 {
  uint16_t iCodigo;  // the branch's code
  uint8_t cReservado2[4];
  char szNomeFantasia[40];  // trade name, zero-terminated
  uint8_t cReservado46[1661];
  uint8_t cPonteiroFeriado;  // the branch's holiday table
  uint8_t cReservado1708[976];
};
static_assert(sizeof(__MIDL___MIDL_itf_Brisel_0000_0003) == 2684);
static_assert(offsetof(__MIDL___MIDL_itf_Brisel_0000_0003, szNomeFantasia) == 6);
static_assert(offsetof(__MIDL___MIDL_itf_Brisel_0000_0003, cPonteiroFeriado) == 1707);

#pragma pack(pop)
