// A return from an outside processor whose invoice is still pending. Pattern: PPDadosBase.h.
#pragma once

#include "model/PPDadosBase.h"
#include "server/idl/Varmo.h"

class CPPDadosApontamentoRetornoNFPendente
    : public PPDados<CPPDadosApontamentoRetornoNFPendente,
                     _REG_PP_APONTAMENTO_RETORNO_NF_PENDENTEPS> {
 public:
  PP_CAMPO(QuantidadeRetornada, vQuantidadeRetornada)
  PP_CAMPO(ChaveRetornoNFPendente, ulChaveRetornoNFPendente)
  PP_CAMPO(ChaveApontamento, ulChaveApontamento)
  PP_CAMPO(ChaveNotaFiscalSaida, ulChaveNotaFiscalSaida)
  PP_CAMPO(ChaveOP, ulChaveOP)
  PP_CAMPO(ChaveRemessaIndustrializacao, ulChaveRemessaIndustrializacao)
  PP_CAMPO(PonteiroProcesso, lPonteiroProcesso)
  PP_CAMPO(PonteiroIndustrializador, lPonteiroIndustrializador)
  PP_CAMPO(PosicaoProdutoServico, regPosicaoProdutoServico)
  PP_CAMPO(DataRetorno, usDataRetorno)
  PP_CAMPO(HoraRetorno, usHoraRetorno)
  PP_CAMPO(DataGravacao, usDataGravacao)
  PP_CAMPO(HoraGravacao, usHoraGravacao)
  PP_CAMPO(TipoProdutoServico, cTipoProdutoServico)
};

extern template class PPDados<CPPDadosApontamentoRetornoNFPendente,
                              _REG_PP_APONTAMENTO_RETORNO_NF_PENDENTEPS>;
