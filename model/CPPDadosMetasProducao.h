// Production targets: one target of a month (CPPDadosMetasProducao), its key (branch, month,
// project, product or service position and type: CPPDadosKeyMetaProducao) and a request to copy
// the targets of one key to another (CPPDadosReplicarMetaProducao). Percentages and accumulated
// quantities are stored values: nothing is computed here. Pattern: PPDadosBase.h.
#pragma once

#include "model/PPDadosBase.h"
#include "server/idl/Varmo.h"

// The target's key fields are reached in place (SetMesAno changes the month of the embedded key);
// there is no accessor for the key as a whole.
class CPPDadosMetasProducao : public PPDados<CPPDadosMetasProducao, _REG_PP_META_PRODUCAOPS> {
 public:
  PP_CAMPO(ChaveMetaProducao, ulChaveMetaProducao)
  PP_CAMPO(PonteiroFilial, regKey.ulPonteiroFilial)
  PP_CAMPO(MesAno, regKey.usMesAno)
  PP_CAMPO(PonteiroProjeto, regKey.ulPonteiroProjeto)
  PP_CAMPO(PosicaoProdutoServico, regKey.regPosicaoProdutoServico)
  PP_CAMPO(TipoProdutoServico, regKey.cTipoProdutoServico)
  PP_CAMPO(QuantPretendida, vQuantPretendida)
  PP_CAMPO(QuantProgramada, vQuantProgramada)
  PP_CAMPO(QuantProduzida, vQuantProduzida)
  PP_CAMPO(QuantCancelada, vQuantCancelada)
  PP_CAMPO(QuantPretendidaAcumulada, vQuantPretendidaAcumulada)
  PP_CAMPO(QuantProgramadaAcumulada, vQuantProgramadaAcumulada)
  PP_CAMPO(QuantProduzidaAcumulada, vQuantProduzidaAcumulada)
  PP_CAMPO(QuantCanceladaAcumulada, vQuantCanceladaAcumulada)
  PP_CAMPO(PercPretendida, usPercPretendida)
  PP_CAMPO(PercProgramada, usPercProgramada)
  PP_CAMPO(PercProduzida, usPercProduzida)
  PP_CAMPO(PercCancelada, usPercCancelada)
  PP_CAMPO(PercPretendidaAcumulada, usPercPretendidaAcumulada)
  PP_CAMPO(PercProgramadaAcumulada, usPercProgramadaAcumulada)
  PP_CAMPO(PercProduzidaAcumulada, usPercProduzidaAcumulada)
  PP_CAMPO(PercCanceladaAcumulada, usPercCanceladaAcumulada)
  PP_CAMPO(PonteiroUsuario, ulPonteiroUsuario)
  PP_CAMPO(DataInclusao, usDataInclusao)
  PP_CAMPO(DataAlteracao, usDataAlteracao)
};

// The key has no pair for its product-or-service type, which travels in the record copy.
class CPPDadosKeyMetaProducao
    : public PPDados<CPPDadosKeyMetaProducao, _REG_PP_KEY_META_PRODUCAOPS> {
 public:
  PP_CAMPO(PonteiroFilial, ulPonteiroFilial)
  PP_CAMPO(MesAno, usMesAno)
  PP_CAMPO(PonteiroProjeto, ulPonteiroProjeto)
  PP_CAMPO(PosicaoProdutoServico, regPosicaoProdutoServico)
};

class CPPDadosReplicarMetaProducao
    : public PPDados<CPPDadosReplicarMetaProducao, _REG_PP_REPLICAR_META_PRODUCAOPS> {
 public:
  PP_CAMPO(KeyOrigem, regKeyOrigem)
  PP_CAMPO(KeyDestino, regKeyDestino)
};

extern template class PPDados<CPPDadosMetasProducao, _REG_PP_META_PRODUCAOPS>;
extern template class PPDados<CPPDadosKeyMetaProducao, _REG_PP_KEY_META_PRODUCAOPS>;
extern template class PPDados<CPPDadosReplicarMetaProducao, _REG_PP_REPLICAR_META_PRODUCAOPS>;
