// The server's error values and the small texts of its records' codes.
//
// Every server method returns 0 or PPErroHResult(n), n being a message number of the module's
// catalogue: the record-file engine returns plain numbers, which the methods wrap. The text
// functions turn one-letter state and kind codes into the Portuguese (Windows-1252) texts of
// reports and history lines; an unknown code gives an empty text unless said otherwise.
#pragma once

#include <cstdint>

#include "platform/mfc/CString.h"
#include "platform/win32/base.h"

constexpr HRESULT PPErroHResult(uint32_t nErro) { return static_cast<HRESULT>(0x80040000u | nErro); }
// The result of a file or lock call of the engine: its error number wrapped, or a system HRESULT
// (negative) as it is; 0 stays 0.
constexpr HRESULT PPErroHResultMotor(int erro) {
  return erro <= 0 ? static_cast<HRESULT>(erro) : PPErroHResult(static_cast<uint32_t>(erro));
}

// Message numbers of the module's own file services.
constexpr uint32_t kPPErroDiretorioEmpresa = 975;
constexpr uint32_t kPPErroCriaArquivoTexto = 1590;
constexpr uint32_t kPPErroAbreArquivoTexto = 1697;
constexpr uint32_t kPPErroLeTexto = 1698;
constexpr uint32_t kPPErroGravaTexto = 1699;
constexpr uint32_t kPPErroFechaArquivo = 1700;
constexpr uint32_t kPPErroTamanhoArquivo = 1722;

CString PPTextoSituacaoOP(uint8_t codigo);
CString PPTextoSituacaoProcessoOP(uint8_t codigo);
CString PPTextoSituacaoManutencao(uint8_t codigo);
CString PPTextoTipoItemOP(uint8_t codigo);
CString PPTextoSituacaoRI(uint8_t codigo);
CString PPTextoTipoRecurso(uint8_t codigo);
CString PPTextoOPReprocesso(uint8_t codigo);
CString PPTextoTipoManutencao(uint8_t codigo);
CString PPTextoTipoRegistroNecessidade(uint8_t codigo);
CString PPTextoSimNao(uint8_t codigo);
CString PPTextoAtivoInativo(uint8_t codigo);
CString PPTextoProdutoServico(uint8_t codigo);
CString PPTextoInternoExterno(uint8_t codigo);

// Tests of the read-kind flag words: whether a read is to fill the sub-records that a bit selects.
bool PPTipoLeituraBit0(uint8_t tipo);
bool PPTipoLeituraBit1(uint8_t tipo);
bool PPTipoLeituraBit2(uint8_t tipo);
bool PPTipoLeituraBit3(uint8_t tipo);
bool PPTipoLeituraBit4(uint8_t tipo);
bool PPTipoLeituraBit5(uint8_t tipo);
bool PPTipoLeituraBit6(uint8_t tipo);
bool PPTipoLeituraBit7(uint8_t tipo);
bool PPTipoLeituraBit7OP(uint8_t tipo);
bool PPTipoLeituraBit9(uint32_t tipo);
bool PPTipoLeituraBit10(uint32_t tipo);
bool PPTipoLeituraBit11(uint32_t tipo);
bool PPTipoLeituraBit12(uint32_t tipo);
bool PPTipoLeituraBit15(uint32_t tipo);
bool PPTipoLeituraBit1ou7(uint32_t tipo);
bool PPTipoLeituraBit1ou2(uint32_t tipo);
bool PPTipoLeituraBit2ou3(uint32_t tipo);
bool PPTipoLeituraBit3ou6(uint32_t tipo);
bool PPTipoLeituraBit8ou12(uint32_t tipo);
bool PPTipoLeituraBits5_6_8_9_12(uint32_t tipo);
// Whether any per-order sub-record is to be read (bits 0-2 and 5-12).
bool PPTipoLeituraBits0a2e5a12(uint32_t tipo);

CString PPInteiroParaTexto(int32_t numero);
CString PPNumeroParaTexto(uint16_t numero);
// MMAA, the suffix of the names of period files.
CString PPSufixoPeriodo(uint16_t usMesAno);
int PPComparaChaves(uint32_t a, uint32_t b);
