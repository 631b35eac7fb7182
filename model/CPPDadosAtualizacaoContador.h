// The layout of a counter as the counter edit control shows it: the unit of measure's record
// number, the number of digits and whether the unit is a product unit ('P') or a service unit
// ('S'). It has no record, no CopiarPara and no CopiarDe; clearing (hence a new object) makes it a
// product counter, 'P' with no unit and no digits. Pattern: PPDadosBase.h.
#pragma once

#include <cstdint>

#include "model/PPDadosBase.h"

struct PPValoresAtualizacaoContador {
  uint32_t ulPonteiroUnidadeMedida;
  uint16_t usNrDigitos;
};

class CPPDadosAtualizacaoContador
    : public PPDados<CPPDadosAtualizacaoContador, PPValoresAtualizacaoContador, PPSentido::Nenhum> {
 public:
  PP_CAMPO(PonteiroUnidadeMedida, ulPonteiroUnidadeMedida)
  PP_CAMPO(NrDigitos, usNrDigitos)
  PP_VALOR(unsigned char, UnidadeProdutoServico, 'P')
  PP_PARTES(UnidadeProdutoServico)
};

extern template class PPDados<CPPDadosAtualizacaoContador, PPValoresAtualizacaoContador,
                              PPSentido::Nenhum>;
