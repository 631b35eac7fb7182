// A list of record numbers (or period keys), where an interface method takes or gives a set of
// records by number. The list is the only truth about the numbers; GetQtd reads the record copy's
// count, which only CopiarDe keeps equal to the list. Pattern and ownership: PPDadosBase.h.
#pragma once

#include <cstdint>

#include "model/PPDadosBase.h"
#include "server/idl/Varmo.h"

class CPPDadosPonteirosULONG
    : public PPDados<CPPDadosPonteirosULONG, _REG_VARMO_PONTEIROS_ULONGPS> {
 public:
  PP_CAMPO(Qtd, lQtd)
  PP_LISTA(Ponteiro, uint32_t, lQtd, plPonteiro)
  PP_PARTES(Ponteiro)
};

extern template class PPDados<CPPDadosPonteirosULONG, _REG_VARMO_PONTEIROS_ULONGPS>;
