// One process step of a production order (CPPDadosOPProcesso) with its inputs, resources, images,
// label layouts and its two lists of production reports: the simple ones (ApontamentoSimples) and
// the full ones (Apontamento), each filled from and written to its own count and array, never
// mixed. Keys, record numbers, status bytes, day numbers and times are stored exactly as set.
// Pattern and ownership: PPDadosBase.h.
#pragma once

#include "model/CPPDadosOPProcessoApontamento.h"
#include "model/PPDadosBase.h"
#include "server/idl/Varmo.h"

class CPPDadosOPProcessoInsumo
    : public PPDados<CPPDadosOPProcessoInsumo, _REG_VARMO_OP_PROCESSO_INSUMOPS> {
 public:
  PP_CAMPO(QuantidadeUnitaria, vQuantidadeUnitaria)
  PP_CAMPO(QuantidadeTotal, vQuantidadeTotal)
  PP_CAMPO(QuantUnitariaComQuebra, vQuantUnitariaComQuebra)
  PP_CAMPO(QuantTotalComQuebra, vQuantTotalComQuebra)
  PP_CAMPO(V8ValorUnitario, v8ValorUnitario)
  PP_CAMPO(PonteiroNecessidade, lPonteiroNecessidade)
  PP_CAMPO(PonteiroLote, lPonteiroLote)
  PP_CAMPO(PonteiroVolumeES, lPonteiroVolumeES)
  PP_CAMPO(PonteiroForLote, lPonteiroForLote)
  PP_CAMPO(PonteiroForEPTETPE, lPonteiroForEPTETPE)
  PP_CAMPO(PonteiroCliEPTETPE, lPonteiroCliEPTETPE)
  PP_CAMPO(RegPosicaoProduto, regPosicaoProduto)
  PP_CAMPO(PonteiroLocalEstocagem, usPonteiroLocalEstocagem)
  PP_CAMPO(PercentualQuebra, usPercentualQuebra)
  PP_CAMPO_COMO(char, PermiteAlterar, cPermiteAlterar)
  PP_CAMPO_COMO(char, Cancelado, cCancelado)
  PP_CAMPO_COMO(char, CasasDecimais, cCasasDecimais)
  PP_CAMPO(TipoProducao, cTipoProducao)
  PP_CAMPO(TipoEstoque, cTipoEstoque)
  PP_CAMPO(EhEmbalagem, cEhEmbalagem)
};

class CPPDadosOPProcessoRecurso
    : public PPDados<CPPDadosOPProcessoRecurso, _REG_PP_OP_RECURSOPS> {
 public:
  PP_CAMPO(Capacidade, vCapacidade)
  PP_CAMPO(Setup, vSetup)
  PP_CAMPO(v8Custo, v8Custo)
  PP_CAMPO(PercEficiencia, vPercEficiencia)
  PP_CAMPO(PonteiroRecurso, lPonteiroRecurso)
  PP_CAMPO(DesconsiderarTempos, cDesconsiderarTempos)
  PP_CAMPO(CustoTempoPorUnidade, cCustoTempoPorUnidade)
  PP_CAMPO(TipoCusto, cTipoCusto)
  PP_CAMPO_COMO(char, Tipo, cTipo)
};

class CPPDadosOPProcessoImagem
    : public PPDados<CPPDadosOPProcessoImagem, _REG_PP_OP_PROCESSO_IMAGEMPS> {
 public:
  PP_TEXTO(NomeArquivo, szNomeArquivo)
};

class CPPDadosOPProcessoEtiqueta
    : public PPDados<CPPDadosOPProcessoEtiqueta, _REG_PP_OP_PROCESSO_ETIQUETAPS> {
 public:
  PP_CAMPO(QuantidadeEmitida, ulQuantidadeEmitida)
  PP_CAMPO(QuantidadeTotal, ulQuantidadeTotal)
  PP_CAMPO(Quantidade, usQuantidade)
  PP_TEXTO(Descricao, szDescricao)
  PP_TEXTO(Leiaute, szLeiaute)
};

class CPPDadosOPProcesso : public PPDados<CPPDadosOPProcesso, _REG_VARMO_OP_PROCESSOPS> {
 public:
  PP_CAMPO(v8CustoIndireto, v8CustoIndireto)
  PP_CAMPO(v8CustoDireto, v8CustoDireto)
  PP_CAMPO(v8CustoTerceirizacao, v8CustoTerceirizacao)
  PP_CAMPO(v8TempoPadraoMinPorUnidade, v8TempoPadraoMinPorUnidade)
  PP_CAMPO(CapacidadeProdutiva, vCapacidadeProdutiva)
  PP_CAMPO(PonteiroProcesso, lPonteiroProcesso)
  PP_CAMPO(QtdInsumos, usQuantidadeInsumos)
  PP_CAMPO(QtdRecursos, usQuantidadeRecursos)
  PP_CAMPO(QtdApontamentosSimples, usQuantidadeApontamentosSimples)
  PP_CAMPO(QtdApontamentos, usQuantidadeApontamentos)
  PP_CAMPO(QtdImagens, usQtdImagens)
  PP_CAMPO(QtdEtiquetas, usQtdEtiquetas)
  PP_CAMPO(MenorDataInicio, usMenorDataInicio)
  PP_CAMPO(MenorHoraInicio, usMenorHoraInicio)
  PP_CAMPO(MaiorDataFim, usMaiorDataFim)
  PP_CAMPO(MaiorHoraFim, usMaiorHoraFim)
  PP_CAMPO(PercentualQuebra, usPercentualQuebra)
  PP_TEXTO(Detalhe, szDetalhe)
  PP_CAMPO_COMO(char, RecebeApontamento, cRecebeApontamento)
  PP_CAMPO_COMO(char, ApontarPesoBruto, cApontarPesoBruto)
  PP_CAMPO(CustoPorApontamento, cCustoPorApontamento)
  PP_CAMPO_COMO(char, Situacao, cSituacao)

  PP_LISTA(Insumo, CPPDadosOPProcessoInsumo, usQuantidadeInsumos, pregInsumos)
  PP_LISTA(Recurso, CPPDadosOPProcessoRecurso, usQuantidadeRecursos, pregRecursos)
  PP_LISTA(Imagem, CPPDadosOPProcessoImagem, usQtdImagens, pregImagens)
  PP_LISTA(Etiqueta, CPPDadosOPProcessoEtiqueta, usQtdEtiquetas, pregEtiquetas)
  PP_LISTA(ApontamentoSimples, CPPDadosOPProcessoApontamento, usQuantidadeApontamentosSimples,
           pregApontamentosSimples)
  PP_LISTA(Apontamento, CPPDadosOPProcessoApontamento, usQuantidadeApontamentos,
           pregApontamentos)
  PP_PARTES(Insumo, Recurso, Imagem, Etiqueta, ApontamentoSimples, Apontamento)
};

extern template class PPDados<CPPDadosOPProcessoInsumo, _REG_VARMO_OP_PROCESSO_INSUMOPS>;
extern template class PPDados<CPPDadosOPProcessoRecurso, _REG_PP_OP_RECURSOPS>;
extern template class PPDados<CPPDadosOPProcessoImagem, _REG_PP_OP_PROCESSO_IMAGEMPS>;
extern template class PPDados<CPPDadosOPProcessoEtiqueta, _REG_PP_OP_PROCESSO_ETIQUETAPS>;
extern template class PPDados<CPPDadosOPProcesso, _REG_VARMO_OP_PROCESSOPS>;
