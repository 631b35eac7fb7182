// The record of the purchasing module's receipt server (IQVCM_RegistroEntrada) that the production
// module reads: the short form of a receipt invoice. It is the purchasing module's, packed on two
// bytes like every record of the family; this system reads only the fields named here and carries
// every other byte unchanged (reserved arrays named after their offset).
#pragma once

#include <cstddef>
#include <cstdint>

#pragma pack(push, 2)

// A receipt invoice.
struct tagREG_ENTRADA_LIGHTPS {
  uint8_t cReservado0[34];
  int32_t lPonteiroFornecedor;  // the supplier
  int32_t lPonteiroEsteRE;  // the receipt's own record number
  uint16_t iPonteiroFilial;
  uint16_t iDataEntrada;  // day number
  uint16_t iDataEmissao;  // day number
  uint8_t cReservado48[6];
  uint16_t iPonteiroTipoDocumento;
  char szNumeroNotaFiscal[14];  // zero-terminated
  char szSerieNotaFiscal[6];  // zero-terminated
  uint8_t cReservado76[56];
};
static_assert(sizeof(tagREG_ENTRADA_LIGHTPS) == 132);
static_assert(offsetof(tagREG_ENTRADA_LIGHTPS, lPonteiroFornecedor) == 34);
static_assert(offsetof(tagREG_ENTRADA_LIGHTPS, lPonteiroEsteRE) == 38);
static_assert(offsetof(tagREG_ENTRADA_LIGHTPS, iPonteiroFilial) == 42);
static_assert(offsetof(tagREG_ENTRADA_LIGHTPS, iDataEntrada) == 44);
static_assert(offsetof(tagREG_ENTRADA_LIGHTPS, iDataEmissao) == 46);
static_assert(offsetof(tagREG_ENTRADA_LIGHTPS, iPonteiroTipoDocumento) == 54);
static_assert(offsetof(tagREG_ENTRADA_LIGHTPS, szNumeroNotaFiscal) == 56);
static_assert(offsetof(tagREG_ENTRADA_LIGHTPS, szSerieNotaFiscal) == 70);

#pragma pack(pop)
