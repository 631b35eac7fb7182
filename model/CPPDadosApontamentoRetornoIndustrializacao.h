// The report of a return from outside processing: the order key, the report pointer and the return
// itself as an embedded CPPDadosRetornoIndustrializacaoExterna, the only truth for the record's
// regRetorno. Pattern and ownership: PPDadosBase.h.
#pragma once

#include "model/CPPDadosRetornoIndustrializacaoExterna.h"
#include "model/PPDadosBase.h"
#include "server/idl/Varmo.h"

class CPPDadosApontamentoRetornoIndustrializacao
    : public PPDados<CPPDadosApontamentoRetornoIndustrializacao,
                     _REG_VARMO_APONTAMENTO_RETORNO_INDUSTRIALIZACAOPS> {
 public:
  PP_CAMPO(ChaveOP, ulChaveOP)
  PP_CAMPO(PonteiroApontamento, ulPonteiroApontamento)
  PP_EMBUTIDO(Retorno, CPPDadosRetornoIndustrializacaoExterna, regRetorno)
  PP_PARTES(Retorno)
};

extern template class PPDados<CPPDadosApontamentoRetornoIndustrializacao,
                              _REG_VARMO_APONTAMENTO_RETORNO_INDUSTRIALIZACAOPS>;
