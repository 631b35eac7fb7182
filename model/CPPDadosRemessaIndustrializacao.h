// A shipment of inputs to an outside processor (remessa para industrialização), tied to a
// production order and its report, with one CPPDadosRemessaInsumo per input sent. Pattern and
// ownership: PPDadosBase.h.
#pragma once

#include "model/PPDadosBase.h"
#include "server/idl/Varmo.h"

class CPPDadosRemessaInsumo : public PPDados<CPPDadosRemessaInsumo, _REG_PP_REMESSA_INSUMOPS> {
 public:
  PP_CAMPO(PosicaoProduto, regPosicaoProduto)
  PP_CAMPO(LoteES, regLoteES)
  PP_CAMPO(QuantidadeTotal, vQuantidadeTotal)
  PP_CAMPO(ValorUnitario, v8ValorUnitario)
  PP_CAMPO(PonteiroLoteES, lPonteiroLoteES)
  PP_CAMPO(PonteiroVolumeES, lPonteiroVolumeES)
  PP_CAMPO(PonteiroForLote, lPonteiroForLote)
  PP_CAMPO(PonteiroForEPTETPE, lPonteiroForEPTETPE)
  PP_CAMPO(PonteiroCliEPTETPE, lPonteiroCliEPTETPE)
  PP_CAMPO(PonteiroLocal, lPonteiroLocal)
  PP_CAMPO(PonteiroUnidadeMedida, usPonteiroUnidadeMedida)
  PP_TEXTO(Descricao, szDescricao)
  PP_CAMPO(TipoEstoque, cTipoEstoque)
  PP_CAMPO(TipoProducao, cTipoProducao)
  PP_CAMPO(EhProdutoNaoCadastrado, cEhProdutoNaoCadastrado)
  PP_CAMPO(EhProdutoFinal, cEhProdutoFinal)
  PP_CAMPO(QuantidadeCasasDecimaisEstoque, cQuantidadeCasasDecimaisEstoque)
};

class CPPDadosRemessaIndustrializacao
    : public PPDados<CPPDadosRemessaIndustrializacao, _REG_PP_REMESSA_INDUSTRIALIZACAOPS> {
 public:
  PP_CAMPO(ChaveApontamentoOP, ulChaveApontamentoOP)
  PP_CAMPO(ChaveOP, ulChaveOP)
  PP_CAMPO(ChaveRemessa, ulChaveRemessa)
  PP_CAMPO(ChaveFaturaRemessa, ulChaveFaturaRemessa)
  PP_CAMPO(PonteiroClassificacao, lPonteiroClassificacao)
  PP_CAMPO(PonteiroFornecedor, lPonteiroFornecedor)
  PP_CAMPO(PonteiroHistorico, usPonteiroHistorico)
  PP_CAMPO(PonteiroCFOP, usPonteiroCFOP)
  PP_CAMPO(PonteiroFilial, usPonteiroFilial)
  PP_CAMPO(DataEmissaoRemessa, usDataEmissaoRemessa)
  PP_CAMPO(HoraEmissaoRemessa, usHoraEmissaoRemessa)
  PP_CAMPO(QtdInsumos, usQtdInsumos)
  PP_CAMPO(StatusFaturamento, cStatusFaturamento)
  PP_CAMPO(EnviarProdutoFinal, cEnviarProdutoFinal)
  PP_LISTA(Insumo, CPPDadosRemessaInsumo, usQtdInsumos, pregRemessaInsumo)
  PP_PARTES(Insumo)
};

extern template class PPDados<CPPDadosRemessaInsumo, _REG_PP_REMESSA_INSUMOPS>;
extern template class PPDados<CPPDadosRemessaIndustrializacao, _REG_PP_REMESSA_INDUSTRIALIZACAOPS>;
