// The converter of the resources (slot 9, target 2): V1->V2 widens "PPRECURS.DAT" from 128 to
// 200 bytes, moving its fields to their new places; the resources' detail and counter-history files
// keep their format.
#pragma once

#include <cstdint>

#include "server/CPPAtualizaVersao.h"

class CPPAtualizaVersaoRecurso : public CPPAtualizaVersao {
 public:
  CPPAtualizaVersaoRecurso();
  HRESULT Converte(uint16_t usVersao) override;
};
