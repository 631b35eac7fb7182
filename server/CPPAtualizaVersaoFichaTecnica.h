// The converter of the technical sheets (slot 5, target 3).
//
// V1->V2 widens the sheet processes ("PPFTPROC.DAT", 64 -> 88 bytes) and gives each the rate that
// follows from its time: 60 divided by the time, as an eight-decimal value (CQVCurrencyEx8's
// quotient: the double quotient rounded to the nearest 10^-8, halves to even), 0 for a time of 0 or
// below. V2->V3 marks every sheet header ("PPFTCABE.DAT", 64 bytes) as a product sheet ("P" at
// byte 25); a company that never kept sheets has no header file, and the step then converts nothing.
#pragma once

#include <cstdint>

#include "server/CPPAtualizaVersao.h"

class CPPAtualizaVersaoFichaTecnica : public CPPAtualizaVersao {
 public:
  CPPAtualizaVersaoFichaTecnica();
  HRESULT Converte(uint16_t usVersao) override;
};
