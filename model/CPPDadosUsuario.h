// A user of the family's programs: name, nickname and two switches.
// The record is the other module's, held whole and byte for byte; it only arrives from that
// module's server, so the class has CopiarDe and no CopiarPara, and carries every byte it has no
// accessor for unchanged. Pattern: PPDadosBase.h.
#pragma once

#include "model/PPDadosBase.h"
#include "platform/family/base/RegistrosCadastros.h"

class CPPDadosUsuario : public PPDados<CPPDadosUsuario, REGUSU_PS, PPSentido::SoCopiarDe> {
 public:
  PP_TEXTO(Nome, szNome)
  PP_TEXTO(Apelido, szApelido)
  PP_CAMPO(TestarEnter, cTestarEnter)
  PP_CAMPO(UsuarioSupervisor, cUsuarioSupervisor)
};

extern template class PPDados<CPPDadosUsuario, REGUSU_PS, PPSentido::SoCopiarDe>;
