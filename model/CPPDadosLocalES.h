// A stock location of the inventory module (ES): code, name, classification, kind and switches,
// ledger accounts and record number.
// The record is the other module's, held whole and byte for byte; it only arrives from that
// module's server, so the class has CopiarDe and no CopiarPara, and carries every byte it has no
// accessor for unchanged. Pattern: PPDadosBase.h.
#pragma once

#include "model/PPDadosBase.h"
#include "platform/family/estoque/RegistrosEstoque.h"

class CPPDadosLocalES : public PPDados<CPPDadosLocalES, _REG_ES_LOCAISPS, PPSentido::SoCopiarDe> {
 public:
  PP_TEXTO(Codigo, szCodigo)
  PP_TEXTO(Nome, szNome)
  PP_TEXTO(Classificacao, szClassificacao)
  PP_CAMPO(Tipo, cTipo)
  PP_CAMPO_COMO(char, ConsumoProprio, cConsumoProprio)
  PP_CAMPO_COMO(char, Expedicao, cExpedicao)
  PP_CAMPO_COMO(char, EPT, cEPT)
  PP_CAMPO_COMO(char, ETPE, cETPE)
  PP_CAMPO_COMO(char, Inativo, cInativo)
  PP_CAMPO_COMO(char, LocalExclusivo, cLocalExclusivo)
  PP_CAMPO(PonteiroContaEstoque, lPonteiroContaEstoque)
  PP_CAMPO(PonteiroContaCusto, lPonteiroContaCusto)
  PP_CAMPO(Posicao, lPosicao)
};

extern template class PPDados<CPPDadosLocalES, _REG_ES_LOCAISPS, PPSentido::SoCopiarDe>;
