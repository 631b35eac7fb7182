// The return of goods from an outside processor (industrializador), reported against a production
// order: quantities, scrap with its scrap movement, the stock movements of the return, the goods
// sent on in transit to processors with the orders concerned, the quantities credited to the last
// process of each order item and the keys of imported reports. A return is itself a child of the
// production report (CPPDadosOPProcessoApontamento). Pattern and ownership: PPDadosBase.h.
//
// The embedded scrap movement is the only truth for the record's regMovimentoRefugo: CopiarPara
// writes it there with freshly allocated accounting arrays, never an address that came in.
#pragma once

#include "model/CPPDadosOPMovimento.h"
#include "model/PPDadosBase.h"
#include "server/idl/Varmo.h"

// One order whose goods are in transit at a processor.
class CPPDadosTransitoIndustrializadorOP
    : public PPDados<CPPDadosTransitoIndustrializadorOP, _REG_PP_TRANSITO_INDUSTRIALIZADOR_OPPS> {
 public:
  PP_CAMPO(QuantidadeApontada, vQuantidadeApontada)
  PP_CAMPO(ChaveOP, ulChaveOP)
  PP_CAMPO(ChaveApontamento, ulChaveApontamento)
  PP_CAMPO(ReutilizarApontamento, cReutilizarApontamento)
};

// The goods in transit at one processor.
class CPPDadosTransitoIndustrializador
    : public PPDados<CPPDadosTransitoIndustrializador, _REG_PP_TRANSITO_INDUSTRIALIZADORESPS> {
 public:
  PP_CAMPO(QuantidadeEnviada, vQuantidadeEnviada)
  PP_CAMPO(CustoUnitarioTerceirizacao, vCustoUnitarioTerceirizacao)
  PP_CAMPO(PonteiroIndustrializador, lPonteiroIndustrializador)
  PP_CAMPO(PonteiroApontGeradoTransito, lPonteiroApontGeradoTransito)
  PP_CAMPO(QtdOP, usQtdOP)
  PP_CAMPO(IniciarNovaOP, cIniciarNovaOP)
  PP_LISTA(OP, CPPDadosTransitoIndustrializadorOP, usQtdOP, pregOP)
  PP_PARTES(OP)
};

// The quantity credited to the last process of one order item.
class CPPDadosApontamentoUltProcessoRetInd
    : public PPDados<CPPDadosApontamentoUltProcessoRetInd,
                     _REG_PP_APONTAMENTO_ULT_PROCESSO_RET_INDPS> {
 public:
  PP_CAMPO(Quantidade, vQuantidade)
  PP_CAMPO(IdxItemOP, usIdxItemOP)
};

class CPPDadosRetornoIndustrializacaoExterna
    : public PPDados<CPPDadosRetornoIndustrializacaoExterna,
                     _REG_VARMO_RETORNO_INDUSTRIALIZACAO_EXTERNAPS> {
 public:
  PP_CAMPO(QuantidadeRetornada, vQuantidadeRetornada)
  PP_CAMPO(QuantidadeRefugo, vQuantidadeRefugo)
  PP_CAMPO(PonteiroRegistroEntrada, lPonteiroRegistroEntrada)
  PP_CAMPO(PonteiroMovimentoRefugo, lPonteiroMovimentoRefugo)
  PP_CAMPO(ChaveRetornoNFPendente, ulChaveRetornoNFPendente)
  PP_CAMPO(PonteiroEncerramentoForcado, ulPonteiroEncerramentoForcado)
  PP_CAMPO(PonteiroMotivoRefugo, lPonteiroMotivoRefugo)
  PP_CAMPO(DataRetorno, usDataRetorno)
  PP_CAMPO(HoraRetorno, usHoraRetorno)
  PP_CAMPO(DataGravacao, usDataGravacao)
  PP_CAMPO(HoraGravacao, usHoraGravacao)
  PP_CAMPO(PonteiroUsuarioGravacao, usPonteiroUsuarioGravacao)
  PP_CAMPO(QtdMvtoEstoque, usQtdMvtoEstoque)
  PP_CAMPO(QtdIndustrializadores, usQtdIndustrializadores)
  PP_CAMPO(QtdApontUltProcesso, usQtdApontUltProcesso)
  PP_TEXTO(Comentario, szComentario)
  PP_TEXTO(MotivoEncerramentoForcado, szMotivoEncerramentoForcado)
  PP_CAMPO(PossuiRefugo, cPossuiRefugo)
  PP_CAMPO(EncerramentoForcado, cEncerramentoForcado)
  PP_CAMPO(GeraTransitoIndustrializacao, cGeraTransitoIndustrializacao)
  PP_CAMPO(ApontamentoAutomatico, cApontamentoAutomatico)

  PP_EMBUTIDO(MovimentoRefugo, CPPDadosOPMovimento, regMovimentoRefugo)
  PP_LISTA(Movimento, CPPDadosOPMovimento, usQtdMvtoEstoque, pregMovimentos)
  PP_LISTA(Industrializador, CPPDadosTransitoIndustrializador, usQtdIndustrializadores,
           pregIndustrializadores)
  PP_LISTA(ApontUltProcesso, CPPDadosApontamentoUltProcessoRetInd, usQtdApontUltProcesso,
           pregApontUltProcesso)
  PP_LISTA(ChaveApontamentoImportado, uint32_t, usQtdChaveApontamentoImportado,
           plistaChaveApontamentoImportado)
  PP_PARTES(MovimentoRefugo, Movimento, Industrializador, ApontUltProcesso,
            ChaveApontamentoImportado)
};

extern template class PPDados<CPPDadosTransitoIndustrializadorOP,
                              _REG_PP_TRANSITO_INDUSTRIALIZADOR_OPPS>;
extern template class PPDados<CPPDadosTransitoIndustrializador,
                              _REG_PP_TRANSITO_INDUSTRIALIZADORESPS>;
extern template class PPDados<CPPDadosApontamentoUltProcessoRetInd,
                              _REG_PP_APONTAMENTO_ULT_PROCESSO_RET_INDPS>;
extern template class PPDados<CPPDadosRetornoIndustrializacaoExterna,
                              _REG_VARMO_RETORNO_INDUSTRIALIZACAO_EXTERNAPS>;
