// A process flow: the ordered route of processes (Processo) that an order type follows, each step
// saying whether it receives production reports. Pattern and ownership: PPDadosBase.h.
#pragma once

#include "model/PPDadosBase.h"
#include "server/idl/Varmo.h"

class CPPDadosFluxoProcesso : public PPDados<CPPDadosFluxoProcesso, _REG_VARMO_FLUXO_PROCESSOPS> {
 public:
  PP_CAMPO(PonteiroProcesso, lPonteiroProcesso)
  PP_CAMPO_COMO(char, RecebeApontamento, cRecebeApontamento)
};

class CPPDadosFluxo : public PPDados<CPPDadosFluxo, _REG_VARMO_FLUXOPS> {
 public:
  PP_CAMPO(Posicao, lPosicao)
  PP_CAMPO(PonteiroTipoOP, lPonteiroTipoOP)
  PP_CAMPO(QtdProcessos, usQtdProcessos)
  PP_TEXTO(Codigo, szCodigo)
  PP_TEXTO(Descricao, szDescricao)
  PP_CAMPO_COMO(char, Ativo, cAtivo)

  PP_LISTA(Processo, CPPDadosFluxoProcesso, usQtdProcessos, pregProcessos)
  PP_PARTES(Processo)
};

extern template class PPDados<CPPDadosFluxoProcesso, _REG_VARMO_FLUXO_PROCESSOPS>;
extern template class PPDados<CPPDadosFluxo, _REG_VARMO_FLUXOPS>;
