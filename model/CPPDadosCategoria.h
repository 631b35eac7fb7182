// A category of the base system (the supplementary information of production reports).
// The record is the other module's, held whole and byte for byte; it only arrives from that
// module's server, so the class has CopiarDe and no CopiarPara, and carries every byte it has no
// accessor for unchanged. Pattern: PPDadosBase.h.
#pragma once

#include "model/PPDadosBase.h"
#include "platform/family/base/RegistrosCadastros.h"

class CPPDadosCategoria
    : public PPDados<CPPDadosCategoria, _REG_CATEGORIAS_PS, PPSentido::SoCopiarDe> {
 public:
  PP_TEXTO(Codigo, szCodigo)
  PP_TEXTO(Descricao, szDescricao)
  PP_CAMPO(Tipo, cTipo)
  PP_CAMPO(Posicao, iPosicao)
};

extern template class PPDados<CPPDadosCategoria, _REG_CATEGORIAS_PS, PPSentido::SoCopiarDe>;
