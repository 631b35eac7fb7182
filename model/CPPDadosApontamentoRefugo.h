// A scrap report as the host programs build it: quantity, order, process, end date, scrap reason,
// the consumed inputs (Insumo), the resources (Recurso) and one movement (DadosMovimento). It has
// no record: its plain values stand in a structure of its own, it is cleared and copied like every
// data object and has no CopiarPara or CopiarDe. Pattern: PPDadosBase.h.
#pragma once

#include <cstdint>

#include "model/CPPDadosApontamentoRecurso.h"
#include "model/CPPDadosOPMovimento.h"
#include "model/PPDadosBase.h"

struct PPValoresApontamentoRefugo {
  CY vQuantidadeApontada;
  uint32_t ulChaveOP;
  int32_t lPonteiroProcesso;
  uint16_t usDataApontamentoFim;  // day number
  int32_t lPonteiroMotivoRefugo;
};

class CPPDadosApontamentoRefugo
    : public PPDados<CPPDadosApontamentoRefugo, PPValoresApontamentoRefugo, PPSentido::Nenhum> {
 public:
  PP_CAMPO(QuantidadeApontada, vQuantidadeApontada)
  PP_CAMPO(ChaveOP, ulChaveOP)
  PP_CAMPO(PonteiroProcesso, lPonteiroProcesso)
  PP_CAMPO(DataApontamentoFim, usDataApontamentoFim)
  PP_CAMPO(PonteiroMotivoRefugo, lPonteiroMotivoRefugo)
  PP_OBJETO(DadosMovimento, CPPDadosOPMovimento)
  PP_LISTA_SEM_REGISTRO(Insumo, CPPDadosOPMovimento)
  PP_LISTA_SEM_REGISTRO(Recurso, CPPDadosApontamentoRecurso)
  PP_PARTES(DadosMovimento, Insumo, Recurso)
};

extern template class PPDados<CPPDadosApontamentoRefugo, PPValoresApontamentoRefugo,
                              PPSentido::Nenhum>;
