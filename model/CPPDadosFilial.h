// A branch, as the branch server gives it: code, trade name and holiday table. Beside the record
// the class keeps the branch's record number (Posicao): clearing sets it to 0 and copies carry it,
// but it never travels in the record, so after CopiarDe it is 0 until the branch reader sets it to
// the key it read.
// The record is the other module's, held whole and byte for byte; it only arrives from that
// module's server, so the class has CopiarDe and no CopiarPara, and carries every byte it has no
// accessor for unchanged. Pattern: PPDadosBase.h.
#pragma once

#include <cstdint>

#include "model/PPDadosBase.h"
#include "platform/family/filiais/RegistrosFilial.h"

class CPPDadosFilial
    : public PPDados<CPPDadosFilial, __MIDL___MIDL_itf_Brisel_0000_0003, PPSentido::SoCopiarDe> {
 public:
  PP_CAMPO(Codigo, iCodigo)
  PP_TEXTO(NomeFantasia, szNomeFantasia)
  PP_CAMPO_COMO(char, PonteiroFeriado, cPonteiroFeriado)
  PP_VALOR(uint32_t, Posicao, 0)
  PP_PARTES(Posicao)
};

extern template class PPDados<CPPDadosFilial, __MIDL___MIDL_itf_Brisel_0000_0003,
                              PPSentido::SoCopiarDe>;
