// The module's master settings (one record per company, read and written through IQVPP_MestrePP)
// and one branch's settings for the invoicing that external reporting requests. The master record
// carries only the count and the first record number of the branch settings; those travel apart,
// in their own list record, and the master object holds no list of them. Every option is stored
// and returned as set: users test zero (off) against non-zero (on), except TipoPerdaInsumo, whose
// values 1 and 2 choose how input losses enter a technical sheet's input quantities. Pattern:
// PPDadosBase.h.
#pragma once

#include "model/PPDadosBase.h"
#include "server/idl/Varmo.h"

class CPPDadosMestre : public PPDados<CPPDadosMestre, _REG_VARMO_MESTRE> {
 public:
  PP_CAMPO(VersaoSistema, iVersaoSistema)
  PP_CAMPO(QuantidadeTerminais, iQuantidadeTerminais)
  PP_CAMPO(SecaoUso, iSecaoUso)
  PP_CAMPO(CodigoCliente, iCodigoCliente)
  PP_CAMPO(CodigoClienteEscritorio, iCodigoClienteEscritorio)
  PP_CAMPO(PonteiroCodigoBarras, lPonteiroCodigoBarras)
  PP_CAMPO(PonteiroInfApontExternoFilial, lPonteiroInfApontExternoFilial)
  PP_CAMPO(PonteiroCalendarioPadrao, ulPonteiroCalendarioPadrao)
  PP_CAMPO(PonteiroTabelaPrecoVendaProduto, ulPonteiroTabelaPrecoVendaProduto)
  PP_CAMPO(PonteiroTabelaPrecoVendaServico, ulPonteiroTabelaPrecoVendaServico)
  PP_CAMPO(DataInferiorPeriodo, usDataInferiorPeriodo)
  PP_CAMPO(DataSuperiorPeriodo, usDataSuperiorPeriodo)
  PP_CAMPO(DataVisualizacao, usDataVisualizacao)
  PP_CAMPO(MesAnoImplantacao, usMesAnoImplantacao)
  PP_CAMPO(QtdInfApontExternoFilial, usQtdInfApontExternoFilial)
  PP_CAMPO_COMO(char, PermiteInsercaoManualNecessidade, cPermiteInsercaoManualNecessidade)
  PP_CAMPO_COMO(char, PermiteCancelarNecessidadeAutomatica, cPermiteCancelarNecessidadeAutomatica)
  PP_CAMPO_COMO(char, GerarNecessidadeAutomatica, cGerarNecessidadeAutomatica)
  PP_CAMPO_COMO(char, PermiteItemOPComplemento, cPermiteItemOPComplemento)
  PP_CAMPO_COMO(char, FormacaoCustoProduto, cFormacaoCustoProduto)
  PP_CAMPO_COMO(char, DigitosDataRelatorio, cDigitosDataRelatorio)
  PP_CAMPO_COMO(char, UsaDataVisualizacao, cUsaDataVisualizacao)
  PP_CAMPO_COMO(char, LiberarItemPedido, cLiberarItemPedido)
  PP_CAMPO(TipoPerdaInsumo, cTipoPerdaInsumo)
  PP_CAMPO(ObrigaInfSupl1, cObrigaInfSupl1)
  PP_CAMPO(ObrigaInfSupl2, cObrigaInfSupl2)
  PP_CAMPO(ObrigaInfSupl3, cObrigaInfSupl3)
  PP_CAMPO(PossuiInfSupl1, cPossuiInfSupl1)
  PP_CAMPO(PossuiInfSupl2, cPossuiInfSupl2)
  PP_CAMPO(PossuiInfSupl3, cPossuiInfSupl3)
  PP_CAMPO(ObrigaNumeroLote, cObrigaNumeroLote)
  PP_CAMPO(SohApontarAposDefinirRecursos, cSohApontarAposDefinirRecursos)
  PP_CAMPO(SomenteApontarOPComRecursos, cSomenteApontarOPComRecursos)
  PP_CAMPO(PermiteAlterarRecursoNoApontamento, cPermiteAlterarRecursoNoApontamento)
  PP_CAMPO(ConsiderarLoteReposicao, cConsiderarLoteReposicao)
  PP_CAMPO(SolicitarFaturamentoApontamentoExterno, cSolicitarFaturamentoApontamentoExterno)
  PP_CAMPO(ImprimirProcessoPagSeparada, cImprimirProcessoPagSeparada)
  PP_CAMPO(UtilizarColecaoProjeto, cUtilizarColecaoProjeto)
  PP_CAMPO(UtilizarEtiquetaProcesso, cUtilizarEtiquetaProcesso)
  PP_CAMPO(PermitirCancelRemessaIndustrializacao, cPermitirCancelRemessaIndustrializacao)
  PP_CAMPO(PermitirRetornosSemNF, cPermitirRetornosSemNF)
  PP_CAMPO(ExigirMensagemNoEncerramentoForcado, cExigirMensagemNoEncerramentoForcado)
  PP_CAMPO(ImprimirEtiquetaProcessoFinal, cImprimirEtiquetaProcessoFinal)
  PP_CAMPO(EmitirRInaOP, cEmitirRInaOP)
  PP_CAMPO(NaoExecutarPreBaixaNaOP, cNaoExecutarPreBaixaNaOP)
  PP_CAMPO(UtilizaCalendarioProducaoComoPadrao, cUtilizaCalendarioProducaoComoPadrao)
  PP_CAMPO(UsarVlrUnitFichaTecnicaEmPrevisoes, cUsarVlrUnitFichaTecnicaEmPrevisoes)
  PP_CAMPO(CustearSoProcessoApontado, cCustearSoProcessoApontado)
  PP_CAMPO(TratarInsumoEmbalagem, cTratarInsumoEmbalagem)
  PP_CAMPO(ConsiderarComplementoNaDemanda, cConsiderarComplementoNaDemanda)
};

class CPPDadosMestreInfApontExternoFilial
    : public PPDados<CPPDadosMestreInfApontExternoFilial,
                     _REG_PP_MESTRE_INF_APONT_EXTERNO_FILIALPS> {
 public:
  PP_CAMPO(SFAEPonteiroClassificacao, lSFAEPonteiroClassificacao)
  PP_CAMPO(PonteiroFilial, usPonteiroFilial)
  PP_CAMPO(SFAEPonteiroCFOPRemessaInterna, usSFAEPonteiroCFOPRemessaInterna)
  PP_CAMPO(SFAEPonteiroCFOPRemessaExterna, usSFAEPonteiroCFOPRemessaExterna)
  PP_CAMPO(SFAEPonteiroHistorico, usSFAEPonteiroHistorico)
};

extern template class PPDados<CPPDadosMestre, _REG_VARMO_MESTRE>;
extern template class PPDados<CPPDadosMestreInfApontExternoFilial,
                              _REG_PP_MESTRE_INF_APONT_EXTERNO_FILIALPS>;
