// A stock movement of the inventory module (ES) as the production module posts it: consumption of
// inputs, entry of produced goods, scrap. The movement holds its accounting entries (Contabil),
// each entry its management-accounting splits (Gerencial), so CopiarPara of a movement allocates
// two levels of arrays for its caller. Pattern and ownership: PPDadosBase.h.
//
// The movement record also carries a composition array and a movement-reference array of the
// inventory module. This class does not manage them: their counts and pointers are zero in the
// record copy and in every record that CopiarPara fills, so that no copy keeps the address of an
// array that its owner (the reader of the movement) frees right after CopiarDe. The sub-record
// regCompletaMovimentoPS has no accessor; it travels in the record copy.
#pragma once

#include "model/PPDadosBase.h"
#include "server/idl/Varmo.h"

// One management-accounting split of an accounting entry; no field accessors.
class CPPDadosMovimentoContabilizacaoGerencial
    : public PPDados<CPPDadosMovimentoContabilizacaoGerencial, _REG_ES_GERENCIALPS> {};

// One accounting entry of a movement. Value, accounts, history code and the complementary history
// text are reached only through the record.
class CPPDadosMovimentoContabilizacao
    : public PPDados<CPPDadosMovimentoContabilizacao, _REG_ES_CONTABILIZACAOPS> {
 public:
  PP_CAMPO(QtdGerencial, iQuantidadeGerencial)
  PP_LISTA(Gerencial, CPPDadosMovimentoContabilizacaoGerencial, iQuantidadeGerencial,
           pregGerencial)
  PP_PARTES(Gerencial)
};

class CPPDadosOPMovimento : public PPDados<CPPDadosOPMovimento, _REG_ES_MOVIMENTOPS> {
 public:
  PP_CAMPO(regLotePS, regLotePS)
  PP_CAMPO(regPosicaoProduto, regPosicaoProduto)
  PP_CAMPO(regVolumePS, regVolumePS)
  PP_TEXTO(Documento, cDocumento)
  PP_CAMPO(Quantidade, vQuantidade)
  PP_CAMPO(v8ValorUnitario, v8ValorUnitario)
  PP_CAMPO(ValorTotal, vValorTotal)
  PP_CAMPO(ValorTotalInsumos, vValorTotalInsumos)
  PP_CAMPO(ValorTotalCustosDireto, vValorTotalCustosDireto)
  PP_CAMPO(ValorTotalCustosIndireto, vValorTotalCustosIndireto)
  PP_CAMPO(PonteiroLote, lPonteiroLote)
  PP_CAMPO(PonteiroForLote, lPonteiroForLote)
  PP_CAMPO(PonteiroForEPTETPE, lPonteiroForEPTETPE)
  PP_CAMPO(PonteiroCliEPTETPE, lPonteiroCliEPTETPE)
  PP_CAMPO(PonteiroContaEstoqueCusto, lPonteiroContaEstoqueCusto)
  PP_CAMPO(PonteiroContaProdutoElaboracao, lPonteiroContaProdutoElaboracao)
  PP_CAMPO(ChaveQuemGerou, lChaveQuemGerou)
  PP_CAMPO(Posicao, lPosicao)
  PP_CAMPO(PonteiroVolume, lPonteiroVolume)
  PP_CAMPO(ComplementoQuemGerou, lComplementoQuemGerou)
  PP_CAMPO(PonteiroFilial, iPonteiroFilial)
  PP_CAMPO(PonteiroLocalArmazenagem, iPonteiroLocalArmazenagem)
  PP_CAMPO(PonteiroTipoDocumento, iPonteiroTipoDocumento)
  PP_CAMPO(DataMovimento, iDataMovimento)
  PP_CAMPO(HoraMovimento, iHoraMovimento)
  PP_CAMPO(HoraInclusao, iHoraInclusao)
  PP_CAMPO(UsuarioInclusao, iUsuarioInclusao)
  PP_CAMPO(UsuarioModificacao, iUsuarioModificacao)
  PP_CAMPO(ModuloQuemGerou, iModuloQuemGerou)
  PP_CAMPO(DataQuemGerou, iDataQuemGerou)
  PP_CAMPO(QtdContabil, iQuantidadeContabil)
  PP_CAMPO(TipoMovimento, cTipoMovimento)
  PP_CAMPO(TipoEstoqueArmazenagem, cTipoEstoqueArmazenagem)
  PP_CAMPO(AtivoFixo, cAtivoFixo)
  PP_CAMPO(TipoProducao, cTipoProducao)
  PP_CAMPO(FormaValorizacao, cFormaValorizacao)
  PP_CAMPO(ValorEntradaProd, cValorEntradaProd)
  PP_CAMPO(TipoValor, cTipoValor)

  PP_LISTA(Contabil, CPPDadosMovimentoContabilizacao, iQuantidadeContabil, pregContabil)
  PP_ARRAY_NAO_USADO(Composicao, iQtdItensComposicao, pregComposicao)
  PP_ARRAY_NAO_USADO(MovReferencia, iQtdMovsReferencia, pregMovReferencia)
  PP_PARTES(Contabil, Composicao, MovReferencia)
};

extern template class PPDados<CPPDadosMovimentoContabilizacaoGerencial, _REG_ES_GERENCIALPS>;
extern template class PPDados<CPPDadosMovimentoContabilizacao, _REG_ES_CONTABILIZACAOPS>;
extern template class PPDados<CPPDadosOPMovimento, _REG_ES_MOVIMENTOPS>;
