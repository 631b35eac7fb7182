// A summary of one product or service, composed field by field by the product-or-service readers
// and shown by the order edit controls: position, sale price, texts, units, decimals, kind and
// flags, with the product mirror and its three grid items held whole. It has no record, no
// CopiarPara and no CopiarDe; clearing zeroes the numbers and flags, empties the texts and clears
// the held objects, and copies are deep. The texts are kept whole, of any length. Pattern:
// PPDadosBase.h.
#pragma once

#include <cstdint>

#include "model/CPPDadosProduto.h"
#include "model/PPDadosBase.h"

struct PPValoresInfoProdServ {
  _REG_POSICAO_PRODUTOPS regPosicaoProdutoServico;
  CY vPrecoVendaV8;
  uint16_t usPonteiroUnidadeMedidaEstoque;
  uint16_t usPrazoValidade;
  char cQuantidadeCasasDecimais;
  int nCasasDecimais;
  char cCasasDecimaisEstoque;
  char cTipoProdServ;  // product or service
  bool bTerceiro;  // a third party's
  bool bInativo;
};

class CPPDadosInfoProdServ
    : public PPDados<CPPDadosInfoProdServ, PPValoresInfoProdServ, PPSentido::Nenhum> {
 public:
  PP_CAMPO(PosicaoProdutoServico, regPosicaoProdutoServico)
  PP_CAMPO(PrecoVendaV8, vPrecoVendaV8)
  PP_TEXTO_LIVRE(Classificacao)
  PP_TEXTO_LIVRE(Codigo)
  PP_TEXTO_LIVRE(Referencia)
  PP_TEXTO_LIVRE(NomeProdServ)
  PP_TEXTO_LIVRE(UnidadeMedida)
  PP_CAMPO(PonteiroUnidadeMedidaEstoque, usPonteiroUnidadeMedidaEstoque)
  PP_CAMPO(PrazoValidade, usPrazoValidade)
  PP_CAMPO(QuantidadeCasasDecimais, cQuantidadeCasasDecimais)
  PP_CAMPO(CasasDecimais, nCasasDecimais)
  PP_CAMPO(CasasDecimaisEstoque, cCasasDecimaisEstoque)
  PP_CAMPO(TipoProdServ, cTipoProdServ)
  PP_CAMPO(Terceiro, bTerceiro)
  PP_CAMPO(Inativo, bInativo)
  PP_OBJETO(DadosProduto, CPPDadosProduto)
  PP_OBJETO(ItemGrade1, CPPDadosGradeProduto)
  PP_OBJETO(ItemGrade2, CPPDadosGradeProduto)
  PP_OBJETO(ItemGrade3, CPPDadosGradeProduto)
  PP_PARTES(Classificacao, Codigo, Referencia, NomeProdServ, UnidadeMedida, DadosProduto,
            ItemGrade1, ItemGrade2, ItemGrade3)

  // The code and name of each grid item, read and written in the held grid item.
  CString GetCodigoItemGrade1() const { return parteItemGrade1_.objeto.GetCodigoItemGrade(); }
  void SetCodigoItemGrade1(const char* texto) { parteItemGrade1_.objeto.SetCodigoItemGrade(texto); }
  CString GetNomeItemGrade1() const { return parteItemGrade1_.objeto.GetNomeItemGrade(); }
  void SetNomeItemGrade1(const char* texto) { parteItemGrade1_.objeto.SetNomeItemGrade(texto); }
  CString GetCodigoItemGrade2() const { return parteItemGrade2_.objeto.GetCodigoItemGrade(); }
  void SetCodigoItemGrade2(const char* texto) { parteItemGrade2_.objeto.SetCodigoItemGrade(texto); }
  CString GetNomeItemGrade2() const { return parteItemGrade2_.objeto.GetNomeItemGrade(); }
  void SetNomeItemGrade2(const char* texto) { parteItemGrade2_.objeto.SetNomeItemGrade(texto); }
  CString GetCodigoItemGrade3() const { return parteItemGrade3_.objeto.GetCodigoItemGrade(); }
  void SetCodigoItemGrade3(const char* texto) { parteItemGrade3_.objeto.SetCodigoItemGrade(texto); }
  CString GetNomeItemGrade3() const { return parteItemGrade3_.objeto.GetNomeItemGrade(); }
  void SetNomeItemGrade3(const char* texto) { parteItemGrade3_.objeto.SetNomeItemGrade(texto); }
};

extern template class PPDados<CPPDadosInfoProdServ, PPValoresInfoProdServ, PPSentido::Nenhum>;
