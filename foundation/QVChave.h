// Period keys: the keys of the records of files split by month. The low 12 bits hold the month
// number, the high 20 bits the record's sequence number in that month's file. Text form
// MMAA-NNNNNN. Pure functions.
#pragma once

#include <cstdint>

#include "platform/mfc/CString.h"
#include "server/idl/VarmoRegistrosComuns.h"

uint32_t QVMontaChave(uint16_t usMesAno, uint32_t numero);
uint32_t QVMontaChaveDeTexto(const char* textoMesAno, uint32_t numero);
uint32_t QVGetNumeroDaChave(uint32_t chave);
uint16_t QVGetMesAnoDaChave(uint32_t chave);
// Returns the sequence number; the buffer (8 bytes) receives the MM/AA text of the key's month.
uint32_t QVSeparaChave(uint32_t chave, char* textoMesAno, uint32_t* numero);
// -1, 0, 1: by month first, then by the whole key.
int QVComparaChave(uint32_t a, uint32_t b);
CString QVChaveParaTexto(uint32_t chave);
// The largest sequence number that a key holds: its 20 high bits.
constexpr uint32_t kQVMaiorNumeroChave = 0xFFFFF;
// 0 unless the text names a month 1..12 and a sequence number from 1 to kQVMaiorNumeroChave; a
// larger number would lose its high bits and name another record.
uint32_t QVTextoParaChave(const char* texto);
// The generating document of a record: its period key and module code, and its date.
void QVMontaDMC(_QV_DMC_ps* dmc, uint32_t chave, uint8_t codigoModulo, uint16_t usData);
