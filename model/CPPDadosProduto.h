// Mirrors of the base system's product records: a product, a service, the grid reference of a
// product position, an item of a price table and a grid item. Each holds the other module's record
// whole, byte for byte (platform/family/base), has no child lists and carries the bytes it has no
// accessor for unchanged; the cross-server readers fill them with CopiarDe. Pattern: PPDadosBase.h.
//
// A service also keeps its record number in its module (Posicao) beside the record: clearing sets
// it to 0 and copies carry it, but it never travels in the record, so after CopiarDe it is 0 until
// the reader sets it to the key it read.
#pragma once

#include <cstdint>

#include "model/PPDadosBase.h"
#include "platform/family/base/RegistrosProduto.h"

class CPPDadosProduto : public PPDados<CPPDadosProduto, _REG_PRODUTOPS> {
 public:
  PP_CAMPO(PrecoVendaV8, vPrecoVendaV8)
  PP_CAMPO(ConversaoUnidadeMedidaCompra, vConversaoUnidadeMedidaCompra)
  PP_CAMPO(PonteiroProduto, lPonteiroProduto)
  PP_CAMPO(PonteiroDescricao, lPonteiroDescricao)
  PP_CAMPO(PonteiroUnidadeMedidaEstoque, iPonteiroUnidadeMedidaEstoque)
  PP_CAMPO(PonteiroGrade1, iPonteiroGrade1)
  PP_CAMPO(PonteiroGrade2, iPonteiroGrade2)
  PP_CAMPO(PonteiroGrade3, iPonteiroGrade3)
  PP_CAMPO(PonteiroUnidadeMedidaCompra, iPonteiroUnidadeMedidaCompra)
  PP_CAMPO(PrazoValidade, iPrazoValidade)
  PP_TEXTO(Nome, szNome)
  PP_TEXTO(Classificacao, szClassificacao)
  PP_TEXTO(Codigo, szCodigo)
  PP_TEXTO(Referencia, szReferencia)
  PP_TEXTO(InformacaoExtra1, szInformacaoExtra1)
  PP_TEXTO(InformacaoExtra2, szInformacaoExtra2)
  PP_TEXTO(InformacaoExtra3, szInformacaoExtra3)
  PP_CAMPO(QuantidadeCasasDecimais, cQuantidadeCasasDecimais)
  PP_CAMPO(QuantidadeCasasDecimaisCompras, cQuantidadeCasasDecimaisCompras)
  PP_CAMPO(QuantidadeCasasDecimaisEstoque, cQuantidadeCasasDecimaisEstoque)
  PP_CAMPO(Tipo, cTipo)
  PP_CAMPO(ProdutoDeTerceiros, cProdutoDeTerceiros)
  PP_CAMPO(Embalagem, cEmbalagem)
  PP_CAMPO(Inativo, cInativo)
  PP_CAMPO(Kit, cKit)
  PP_CAMPO(TipoRI, cTipoRI)

  // A product of one's own is neither a third party's product nor a kit: both bytes zero.
  bool EhProdutoProprio() const {
    return registro_.cProdutoDeTerceiros == 0 && registro_.cKit == 0;
  }
};

class CPPDadosReferenciaGrade : public PPDados<CPPDadosReferenciaGrade, _REG_REFERENCIA_GRADEPS> {
 public:
  PP_CAMPO(PosicaoProduto, regPosicaoProduto)
  PP_TEXTO(CodigoReferenciaGrade, szCodigoReferenciaGrade)
};

class CPPDadosServico : public PPDados<CPPDadosServico, _REG_SERVICOSPS> {
 public:
  PP_CAMPO(PrecoVendaV8, vPrecoVendaV8)
  PP_CAMPO(PonteiroUnidadeMedida, iPonteiroUnidadeMedida)
  PP_CAMPO(PonteiroUnidadeMedidaCompra, iPonteiroUnidadeMedidaCompra)
  PP_TEXTO(Classificacao, szClassificacao)
  PP_TEXTO(Codigo, szCodigo)
  PP_TEXTO(Nome, szNome)
  PP_TEXTO(Descricao, szDescricao)
  PP_CAMPO(Tipo, cTipo)
  PP_CAMPO(QuantidadeCasasDecimais, cQuantidadeCasasDecimais)
  PP_CAMPO(QuantidadeCasasDecimaisCompras, cQuantidadeCasasDecimaisCompras)
  PP_CAMPO(ServicoDeTerceiros, cServicoDeTerceiros)
  PP_CAMPO(Inativo, cInativo)

  PP_VALOR(uint32_t, Posicao, 0)
  PP_PARTES(Posicao)
};

class CPPDadosItemTabelaPreco : public PPDados<CPPDadosItemTabelaPreco, _REG_ITEM_TAB_PRECOSPS> {
 public:
  PP_CAMPO(PrecoVendaV8, vPrecoVendaV8)
};

class CPPDadosGradeProduto : public PPDados<CPPDadosGradeProduto, _REG_ITENS_GRADE_PRODUTOPS> {
 public:
  PP_CAMPO(Posicao, iPosicao)
  PP_TEXTO(CodigoItemGrade, szCodigoItemGrade)
  PP_TEXTO(NomeItemGrade, szNomeItemGrade)
};

extern template class PPDados<CPPDadosProduto, _REG_PRODUTOPS>;
extern template class PPDados<CPPDadosReferenciaGrade, _REG_REFERENCIA_GRADEPS>;
extern template class PPDados<CPPDadosServico, _REG_SERVICOSPS>;
extern template class PPDados<CPPDadosItemTabelaPreco, _REG_ITEM_TAB_PRECOSPS>;
extern template class PPDados<CPPDadosGradeProduto, _REG_ITENS_GRADE_PRODUTOPS>;
