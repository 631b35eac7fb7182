// A maintenance plan of one resource: periodicity, control option, the dates of its start and of
// the last and next maintenance, counter readings (last maintenance, cycle), planned duration, the
// products and services that a maintenance consumes (Componente) and the scheduled maintenances
// (Programacao). A scheduled maintenance, a date with a planned time, is also the planned stop of a
// resource within a process (CPPDadosProcessoRecurso). The plan's count of corrective maintenances
// has no list and no accessor: it travels in the record copy untouched. Pattern and ownership:
// PPDadosBase.h.
#pragma once

#include "model/PPDadosBase.h"
#include "server/idl/Varmo.h"

class CPPDadosPlanoManutencaoComponente
    : public PPDados<CPPDadosPlanoManutencaoComponente, _REG_PP_PLANO_MANUTENCAO_COMPONENTEPS> {
 public:
  PP_CAMPO(Quantidade, vQuantidade)
  PP_CAMPO(ProdutoServico, regProdutoServico)
  PP_TEXTO(Complemento, szComplemento)
  PP_CAMPO(TipoProdutoServico, cTipoProdutoServico)
};

class CPPDadosPlanoManutencaoProgramacao
    : public PPDados<CPPDadosPlanoManutencaoProgramacao, _REG_PP_PLANO_MANUTENCAO_PROGRAMACAOPS> {
 public:
  PP_CAMPO(TempoPrevisto, vTempoPrevisto)
  PP_CAMPO(DataManutencao, usDataManutencao)
};

class CPPDadosPlanoManutencao
    : public PPDados<CPPDadosPlanoManutencao, _REG_PP_PLANO_MANUTENCAOPS> {
 public:
  PP_CAMPO(TempoPrevisto, vTempoPrevisto)
  PP_CAMPO(ContadorUltimaManutencao, vContadorUltimaManutencao)
  PP_CAMPO(ContadorCicloManutencao, vContadorCicloManutencao)
  PP_CAMPO(Posicao, lPosicao)
  PP_CAMPO(PonteiroRecurso, lPonteiroRecurso)
  PP_CAMPO(DataInicio, usDataInicio)
  PP_CAMPO(DataUltimaManutencao, usDataUltimaManutencao)
  PP_CAMPO(DataProximaManutencao, usDataProximaManutencao)
  PP_CAMPO(NroParaPeriodoManutencao, usNroParaPeriodoManutencao)
  PP_CAMPO(QtdComponentes, usQuantComponentes)
  PP_TEXTO(Codigo, szCodigo)
  PP_TEXTO(Descricao, szDescricao)
  PP_TEXTO(Detalhamento, szDetalhamento)
  PP_CAMPO(TipoPeriodicidade, cTipoPeriodicidade)
  PP_CAMPO(ControleManutencao, cControleManutencao)
  PP_CAMPO(Ativo, cAtivo)

  PP_LISTA(Componente, CPPDadosPlanoManutencaoComponente, usQuantComponentes, pregComponentes)
  PP_LISTA(Programacao, CPPDadosPlanoManutencaoProgramacao, usQuantManutProgramada,
           pregManutencaoProgramada)
  PP_PARTES(Componente, Programacao)
};

extern template class PPDados<CPPDadosPlanoManutencaoComponente,
                              _REG_PP_PLANO_MANUTENCAO_COMPONENTEPS>;
extern template class PPDados<CPPDadosPlanoManutencaoProgramacao,
                              _REG_PP_PLANO_MANUTENCAO_PROGRAMACAOPS>;
extern template class PPDados<CPPDadosPlanoManutencao, _REG_PP_PLANO_MANUTENCAOPS>;
