// A technical sheet (ficha técnica): how one product or service of one branch is made. The sheet
// holds its process steps (Processo); each step its input products (Produto, each with its grid
// correspondences, Grade), its reporting tolerances (Tolerancia), its images (Imagem) and its
// labels (Etiqueta). A record written by CopiarPara is a four-level tree. Pattern and ownership:
// PPDadosBase.h.
#pragma once

#include "model/PPDadosBase.h"
#include "server/idl/Varmo.h"

class CPPDadosFichaTecnicaGradesProduto
    : public PPDados<CPPDadosFichaTecnicaGradesProduto, _REG_PP_GRADE_PRODUTO_FICHAPS> {
 public:
  PP_CAMPO(Quantidade, vQuantidade)
  PP_CAMPO(PonteiroItemGradeProduto, usPonteiroItemGradeProduto)
  PP_CAMPO(PonteiroGradeInsumo, usPonteiroGradeInsumo)
  PP_CAMPO(PonteiroItemGradeInsumo, usPonteiroItemGradeInsumo)
};

class CPPDadosFichaTecnicaProduto
    : public PPDados<CPPDadosFichaTecnicaProduto, _REG_VARMO_PRODUTO_FICHA_TECNICAPS> {
 public:
  PP_CAMPO(Quantidade, vQuantidade)
  PP_CAMPO(QtdComQuebra, vQtdComQuebra)
  PP_CAMPO(ValorUnitario, v8ValorUnitario)
  PP_CAMPO(PosicaoProduto, regPosicaoProduto)
  PP_CAMPO(PonteiroLocalEstocagem, usPonteiroLocalEstocagem)
  PP_CAMPO(PercentualQuebra, usPercentualQuebra)
  PP_CAMPO(PonteiroGradeProduto, usPonteiroGradeProduto)
  PP_CAMPO(QuantidadeGradeProduto, usQuantidadeGradeProduto)
  PP_CAMPO_COMO(char, PermiteAlterar, cPermiteAlterar)

  PP_LISTA(Grade, CPPDadosFichaTecnicaGradesProduto, usQuantidadeGradeProduto, pregGradeProduto)
  PP_PARTES(Grade)
};

class CPPDadosFichaTecnicaTolerancia
    : public PPDados<CPPDadosFichaTecnicaTolerancia, _REG_VARMO_TOLERANCIA_PARA_APONTAMENTOPS> {
 public:
  PP_CAMPO(QtdMinima, vQtdMinima)
  PP_CAMPO(QtdMaxima, vQtdMaxima)
  PP_TEXTO(Descricao, szDescricao)
};

class CPPDadosFichaTecnicaImagem
    : public PPDados<CPPDadosFichaTecnicaImagem, _REG_PP_IMAGEM_FICHA_TECNICAPS> {
 public:
  PP_TEXTO(NomeInterno, szNomeInterno)
  PP_TEXTO(NomeExterno, szNomeExterno)
  PP_TEXTO(PathLocal, szPathLocal)
  PP_CAMPO(ImagemExportacaoOP, cImagemExportacaoOP)
};

class CPPDadosFichaTecnicaEtiqueta
    : public PPDados<CPPDadosFichaTecnicaEtiqueta, _REG_PP_ETIQUETA_FICHA_TECNICAPS> {
 public:
  PP_CAMPO(Quantidade, usQuantidade)
  PP_TEXTO(Descricao, szDescricao)
  PP_TEXTO(Leiaute, szLeiaute)
};

class CPPDadosFichaTecnicaProcesso
    : public PPDados<CPPDadosFichaTecnicaProcesso, _REG_VARMO_PROCESSO_FICHA_TECNICAPS> {
 public:
  PP_CAMPO(v8CustoIndependenteProcesso, v8CustoIndependenteProcesso)
  PP_CAMPO(v8CustoProcesso, v8CustoProcesso)
  PP_CAMPO(v8CustoProcessoTerceirizacao, v8CustoProcessoTerceirizacao)
  PP_CAMPO(v8TempoPadraoMinPorUnidade, v8TempoPadraoMinPorUnidade)
  PP_CAMPO(CapacidadeProdutiva, vCapacidadeProdutiva)
  PP_CAMPO(PonteiroProcesso, lPonteiroProcesso)
  PP_CAMPO(PercentualQuebra, usPercentualQuebra)
  PP_CAMPO(PercCalcDiminuiQuant, usPercCalcDiminuiQuant)
  PP_CAMPO(PercCalcAtendeQuant, usPercCalcAtendeQuant)
  PP_CAMPO(QtdProdutos, usQuantidadeProdutos)
  PP_CAMPO(QtdTolerancia, usQuantidadeTolerancia)
  PP_CAMPO(QtdImagens, usQtdImagens)
  PP_CAMPO(QtdEtiquetas, usQtdEtiquetas)
  PP_TEXTO(Detalhe, szDetalhe)
  PP_CAMPO_COMO(char, RecebeApontamento, cRecebeApontamento)
  PP_CAMPO_COMO(char, ApontarPesoBruto, cApontarPesoBruto)
  PP_CAMPO(CustoPorApontamento, cCustoPorApontamento)

  PP_LISTA(Produto, CPPDadosFichaTecnicaProduto, usQuantidadeProdutos, pregProdutos)
  PP_LISTA(Tolerancia, CPPDadosFichaTecnicaTolerancia, usQuantidadeTolerancia, pregTolerancias)
  PP_LISTA(Imagem, CPPDadosFichaTecnicaImagem, usQtdImagens, pregImagens)
  PP_LISTA(Etiqueta, CPPDadosFichaTecnicaEtiqueta, usQtdEtiquetas, pregEtiquetas)
  PP_PARTES(Produto, Tolerancia, Imagem, Etiqueta)
};

class CPPDadosFichaTecnica : public PPDados<CPPDadosFichaTecnica, _REG_VARMO_FICHA_TECNICAPS> {
 public:
  PP_CAMPO(Posicao, lPosicao)
  PP_CAMPO(PonteiroColecao, lPonteiroColecao)
  PP_CAMPO(PosicaoProdutoServico, regPosicaoProdutoServico)
  PP_CAMPO(PonteiroFluxoProcesso, lPonteiroFluxoProcesso)
  PP_CAMPO(PonteiroFilial, usPonteiroFilial)
  PP_CAMPO(QtdProcessos, usQuantidadeProcessos)
  PP_CAMPO(DataGravacao, usDataGravacao)
  PP_CAMPO_COMO(char, Ativo, cAtivo)
  PP_CAMPO_COMO(char, QuantidadeCasasDecimaisEstoque, cQuantidadeCasasDecimaisEstoque)
  PP_CAMPO(TipoProdutoServico, cTipoProdutoServico)

  PP_LISTA(Processo, CPPDadosFichaTecnicaProcesso, usQuantidadeProcessos, pregProcessos)
  PP_PARTES(Processo)
};

extern template class PPDados<CPPDadosFichaTecnicaGradesProduto, _REG_PP_GRADE_PRODUTO_FICHAPS>;
extern template class PPDados<CPPDadosFichaTecnicaProduto, _REG_VARMO_PRODUTO_FICHA_TECNICAPS>;
extern template class PPDados<CPPDadosFichaTecnicaTolerancia,
                              _REG_VARMO_TOLERANCIA_PARA_APONTAMENTOPS>;
extern template class PPDados<CPPDadosFichaTecnicaImagem, _REG_PP_IMAGEM_FICHA_TECNICAPS>;
extern template class PPDados<CPPDadosFichaTecnicaEtiqueta, _REG_PP_ETIQUETA_FICHA_TECNICAPS>;
extern template class PPDados<CPPDadosFichaTecnicaProcesso, _REG_VARMO_PROCESSO_FICHA_TECNICAPS>;
extern template class PPDados<CPPDadosFichaTecnica, _REG_VARMO_FICHA_TECNICAPS>;
