// An account of one of the base system's charts of accounts (ledger or management).
// The record is the other module's, held whole and byte for byte; it only arrives from that
// module's server, so the class has CopiarDe and no CopiarPara, and carries every byte it has no
// accessor for unchanged. Pattern: PPDadosBase.h.
#pragma once

#include "model/PPDadosBase.h"
#include "platform/family/base/RegistrosCadastros.h"

class CPPDadosPlanoDF : public PPDados<CPPDadosPlanoDF, _RegContaPS, PPSentido::SoCopiarDe> {
 public:
  PP_CAMPO(IndCon, lIndCon)
  PP_CAMPO(IndTitulo, lIndTitulo)
  PP_TEXTO(Classificacao, szClassificacao)
  PP_TEXTO(CodigoProprio, szCodigoProprio)
  PP_TEXTO(Nome, szNome)
  PP_CAMPO_COMO(char, Tipo, cTipo)
  PP_TEXTO(CodigoUsado, szCodigoUsado)
  PP_CAMPO(Inativa, cInativa)
  PP_CAMPO(Excluida, cExcluida)
};

extern template class PPDados<CPPDadosPlanoDF, _RegContaPS, PPSentido::SoCopiarDe>;
