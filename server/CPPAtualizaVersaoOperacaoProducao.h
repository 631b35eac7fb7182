// The converter of production operations (slot 4 of the version record, target 2): one step V1->V2
// that copies every record of "PPOPPCAB.DAT" and sets its byte 67, which version 1 did not have.
// "PPOPPDET.DAT" keeps its format. The step first drops stale ".HIS" files of the group.
//
// Runs like every converter under lock 1, taken by the driver.
#pragma once

#include <cstdint>

#include "platform/win32/base.h"
#include "server/CPPAtualizaVersao.h"

class CPPAtualizaVersaoOperacaoProducao : public CPPAtualizaVersao {
 public:
  CPPAtualizaVersaoOperacaoProducao();
  // Version 1; any other gives PPErroHResult(1615).
  HRESULT Converte(uint16_t usVersao) override;
};
