// The converter of the master settings (slot 0 of the version record, target 3).
//
// Both steps rebuild the one 512-byte settings record, which lives in record 0 of "PPMESTRE.DAT"
// (CPPServidorMestrePP.h): V1->V2 moves the fields of the old layout to their places, V2->V3 marks
// the three sets of supplementary information as present. The old file is deleted, not moved: its
// audit history "PPMESTRE.HIS" becomes the history copy of the old version, and the next change of
// the settings starts a new audit history. The clean-up of old copies covers the group's list
// (CPPNomesArquivos::ListaArquivosMestre).
//
// Runs like every converter under lock 1, taken by the driver.
#pragma once

#include <cstdint>

#include "platform/win32/base.h"
#include "server/CPPAtualizaVersao.h"

class CPPAtualizaVersaoMestre : public CPPAtualizaVersao {
 public:
  CPPAtualizaVersaoMestre();
  // Version 1 or 2; any other gives PPErroHResult(1615).
  HRESULT Converte(uint16_t usVersao) override;
};
