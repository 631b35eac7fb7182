// A municipality of the base system: name and state.
// The record is the other module's, held whole and byte for byte; it only arrives from that
// module's server, so the class has CopiarDe and no CopiarPara, and carries every byte it has no
// accessor for unchanged. Pattern: PPDadosBase.h.
#pragma once

#include "model/PPDadosBase.h"
#include "platform/family/base/RegistrosCadastros.h"

class CPPDadosMunicipio
    : public PPDados<CPPDadosMunicipio, _REG_MUNICIPIO_PS, PPSentido::SoCopiarDe> {
 public:
  PP_TEXTO(Nome, szNome)
  PP_TEXTO(SiglaEstado, szSiglaEstado)
};

extern template class PPDados<CPPDadosMunicipio, _REG_MUNICIPIO_PS, PPSentido::SoCopiarDe>;
