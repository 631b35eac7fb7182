// An internal requisition of the base system: material asked for internal use, from a requesting
// branch to a supplying one. Its items (Item) are served by attendances (Atendimento: issues from
// a stock location, possibly of a batch) and may break down into components (Composicao), and so
// may each attendance. The production-order and maintenance servers build requisitions and pass
// the record of CopiarPara to the requisitions server; the cross-server reader fills one with
// CopiarDe. The records are the base system's, held whole (platform/family/base). Pattern and
// ownership: PPDadosBase.h.
//
// Each item and each attendance record also carries a counted array that this module never reads
// (Adicionais). No object keeps its address: CopiarDe and CopiarPara leave its count and pointer
// zero, and only the release of a record returned by the server frees it (with the arrays that the
// attendance's entries hold). GetQtdAtendimentos reads the item's record copy, which only CopiarDe
// keeps equal to the list; GetItem() of an attendance is the field of the item's number.
#pragma once

#include "model/PPDadosBase.h"
#include "platform/family/base/RegistrosRequisicaoInterna.h"

class CPPDadosRequisicaoInternaItemComposicao
    : public PPDados<CPPDadosRequisicaoInternaItemComposicao, _REG_COMPOSICAO_ITEM_REQUISICAOPS> {
 public:
  PP_CAMPO(Quantidade, vQuantidade)
  PP_CAMPO(PosicaoProduto, regPosicaoProduto)
  PP_CAMPO(PonteiroLocal, iPonteiroLocal)
  PP_CAMPO(Filial, iFilial)
  PP_CAMPO(TipoProducao, cTipoProducao)
};

class CPPDadosRequisicaoInternaItemAtendimentoComposicao
    : public PPDados<CPPDadosRequisicaoInternaItemAtendimentoComposicao,
                     _REG_ATENDIMENTO_COMPOSICAOPS> {
 public:
  PP_CAMPO(Quantidade, vQuantidade)
  PP_CAMPO(LocalEstoqueOrigem, lLocalEstoqueOrigem)
  PP_CAMPO(FornecedorLote, lFornecedorLote)
  PP_CAMPO(PonteiroLote, lPonteiroLote)
  PP_CAMPO(PonteiroVolume, lPonteiroVolume)
  PP_CAMPO(PonteiroForEPTETPE, lPonteiroForEPTETPE)
  PP_CAMPO(PonteiroCliEPTETPE, lPonteiroCliEPTETPE)
  PP_CAMPO(PosicaoProduto, regPosicaoProduto)
  PP_CAMPO(TipoProducao, cTipoProducao)
  PP_CAMPO(TipoEstoque, cTipoEstoque)
};

class CPPDadosRequisicaoInternaItemAtendimento
    : public PPDados<CPPDadosRequisicaoInternaItemAtendimento, _REG_ATENDIMENTOPS> {
 public:
  PP_CAMPO(Quantidade, vQuantidade)
  PP_CAMPO(QtdDevolucao, vQtdDevolucao)
  PP_CAMPO(LocalEstoqueOrigem, lLocalEstoqueOrigem)
  PP_CAMPO(LocalEstoqueDestino, lLocalEstoqueDestino)
  PP_CAMPO(FornecedorLote, lFornecedorLote)
  PP_CAMPO(PonteiroLote, lPonteiroLote)
  PP_CAMPO(PonteiroForEPTETPE, lPonteiroForEPTETPE)
  PP_CAMPO(PonteiroCliEPTETPE, lPonteiroCliEPTETPE)
  PP_CAMPO(PonteiroRequisitanteResponsavel, ulPonteiroRequisitanteResponsavel)
  PP_CAMPO(DataAtendimento, iDataAtendimento)
  PP_CAMPO(Atendente, iAtendente)
  PP_CAMPO(Item, iItem)
  PP_CAMPO(DataDevolucao, iDataDevolucao)
  PP_CAMPO(TipoProducao, cTipoProducao)
  PP_CAMPO(StatusAtendimento, cStatusAtendimento)
  PP_CAMPO(Cancelado, cCancelado)
  PP_CAMPO(Impresso, cImpresso)

  PP_LISTA(Composicao, CPPDadosRequisicaoInternaItemAtendimentoComposicao, ulQtdComposicao,
           pregComposicao)
  PP_ARRAY_NAO_USADO_ANINHADO(Adicionais, ulQtdAdicionais, pregAdicionais,
                              _REG_ATENDIMENTO_ADICIONALPS, ulQtdSubitens, pregSubitens)
  PP_PARTES(Composicao, Adicionais)
};

class CPPDadosRequisicaoInternaItem
    : public PPDados<CPPDadosRequisicaoInternaItem, _REG_ITEMREQUISICAOINTERNAPS> {
 public:
  PP_CAMPO(Quantidade, vQuantidade)
  PP_CAMPO(QuantidadeAtendida, vQuantidadeAtendida)
  PP_CAMPO(QuantidadeCancelada, vQuantidadeCancelada)
  PP_CAMPO(ProdutoServico, regProdutoServico)
  PP_CAMPO(QtdAtendimentos, ulQtdAtendimentos)
  PP_CAMPO(PonteiroLocalOrigem, ulPonteiroLocalOrigem)
  PP_CAMPO(PonteiroLote, ulPonteiroLote)
  PP_CAMPO(PonteiroForLote, ulPonteiroForLote)
  PP_CAMPO(PonteiroForEPTETPE, ulPonteiroForEPTETPE)
  PP_CAMPO(PonteiroCliEPTETPE, ulPonteiroCliEPTETPE)
  PP_CAMPO(PonteiroUnidadeMedida, iPonteiroUnidadeMedida)
  PP_CAMPO(ProxItemAtendimento, iProxItemAtendimento)
  PP_TEXTO(Descricao, szDescricao)
  PP_CAMPO(ItemCancelado, cItemCancelado)
  PP_CAMPO(ItemProduto, cItemProduto)
  PP_CAMPO(TipoNecessidade, cTipoNecessidade)
  PP_CAMPO(StatusItem, cStatusItem)
  PP_CAMPO(TipoProducao, cTipoProducao)

  PP_LISTA(Atendimento, CPPDadosRequisicaoInternaItemAtendimento, ulQtdAtendimentos,
           pregAtendimentos)
  PP_LISTA(Composicao, CPPDadosRequisicaoInternaItemComposicao, ulQtdComposicao, pregComposicao)
  PP_ARRAY_NAO_USADO(Adicionais, ulQtdAdicionais, pregAdicionais)
  PP_PARTES(Atendimento, Composicao, Adicionais)
};

class CPPDadosRequisicaoInterna
    : public PPDados<CPPDadosRequisicaoInterna, _REG_REQUISICAOINTERNAPS> {
 public:
  PP_CAMPO(Chave, ulChave)
  PP_CAMPO(FilialRequisitante, lFilialRequisitante)
  PP_CAMPO(FilialDestino, lFilialDestino)
  PP_CAMPO(QuemGerou, regQuemGerou)
  PP_CAMPO(DataEmissao, iDataEmissao)
  PP_CAMPO(DataNecessidade, iDataNecessidade)
  PP_CAMPO(UsuarioRequisitante, iUsuarioRequisitante)
  PP_CAMPO(Requerente, lRequerente)
  PP_CAMPO(Departamento, lDepartamento)
  PP_TEXTO(Codigo, szCodigo)
  PP_TEXTO(Observacao, szObservacao)
  PP_CAMPO(StatusPrincipal, cStatusPrincipal)

  PP_LISTA(Item, CPPDadosRequisicaoInternaItem, ulQtdItens, pregItens)
  PP_PARTES(Item)
};

extern template class PPDados<CPPDadosRequisicaoInternaItemComposicao,
                              _REG_COMPOSICAO_ITEM_REQUISICAOPS>;
extern template class PPDados<CPPDadosRequisicaoInternaItemAtendimentoComposicao,
                              _REG_ATENDIMENTO_COMPOSICAOPS>;
extern template class PPDados<CPPDadosRequisicaoInternaItemAtendimento, _REG_ATENDIMENTOPS>;
extern template class PPDados<CPPDadosRequisicaoInternaItem, _REG_ITEMREQUISICAOINTERNAPS>;
extern template class PPDados<CPPDadosRequisicaoInterna, _REG_REQUISICAOINTERNAPS>;
