// The converter of the production targets (slot 14, target 2), kept in monthly period files of the
// prefix "PPMP": V1->V2 marks every target of every month as a product target ("P" at byte 61, the
// component type that the production-target handler matches with a product pointer). Only the
// months whose file exists are converted; a company without targets just has its slot raised.
//
// Its clean-up of old history copies goes over every prefix of the group and every month number
// (949 .. 2148), since period files have no fixed list.
#pragma once

#include <cstdint>

#include "server/CPPAtualizaVersao.h"

class CPPAtualizaVersaoMetasProducao : public CPPAtualizaVersao {
 public:
  CPPAtualizaVersaoMetasProducao();
  HRESULT Converte(uint16_t usVersao) override;
};
