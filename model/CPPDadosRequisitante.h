// A requester of the base system: who asks for internal requisitions and maintenance.
// The record is the other module's, held whole and byte for byte; it only arrives from that
// module's server, so the class has CopiarDe and no CopiarPara, and carries every byte it has no
// accessor for unchanged. Pattern: PPDadosBase.h.
#pragma once

#include "model/PPDadosBase.h"
#include "platform/family/base/RegistrosCadastros.h"

class CPPDadosRequisitante
    : public PPDados<CPPDadosRequisitante, tagREG_REQUERENTEPS, PPSentido::SoCopiarDe> {
 public:
  PP_CAMPO(Posicao, lPosicao)
  PP_CAMPO(PonteiroFilial, iPonteiroFilial)
  PP_CAMPO(Codigo, lCodigo)
  PP_TEXTO(Nome, szNome)
  PP_TEXTO(Apelido, szApelido)
  PP_TEXTO(CPF, szCPF)
  PP_TEXTO(Matricula, szMatricula)
  PP_CAMPO(PonteiroDepartamento, lPonteiroDepartamento)
  PP_CAMPO_COMO(int, Inativo, bInativo)
};

extern template class PPDados<CPPDadosRequisitante, tagREG_REQUERENTEPS, PPSentido::SoCopiarDe>;
