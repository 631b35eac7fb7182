// The units of measure of the base system: of products (CPPDadosUnMedida) and of services
// (CPPDadosUnServico).
// The record is the other module's, held whole and byte for byte; it only arrives from that
// module's server, so the class has CopiarDe and no CopiarPara, and carries every byte it has no
// accessor for unchanged. Pattern: PPDadosBase.h.
#pragma once

#include "model/PPDadosBase.h"
#include "platform/family/base/RegistrosProduto.h"

class CPPDadosUnMedida
    : public PPDados<CPPDadosUnMedida, _REG_UNIDADES_MEDIDAPS, PPSentido::SoCopiarDe> {
 public:
  PP_TEXTO(Descricao, szDescricao)
  PP_TEXTO(Codigo, szCodigo)
  PP_CAMPO(CasasDecimais, cCasasDecimais)
};

class CPPDadosUnServico
    : public PPDados<CPPDadosUnServico, _REG_UNIDADES_MEDIDA_SERVICOSPS, PPSentido::SoCopiarDe> {
 public:
  PP_TEXTO(Descricao, szDescricao)
  PP_TEXTO(Codigo, szCodigo)
  PP_CAMPO(CasasDecimais, cCasasDecimais)
  PP_CAMPO(FormatoHorario, cFormatoHorario)
};

extern template class PPDados<CPPDadosUnMedida, _REG_UNIDADES_MEDIDAPS, PPSentido::SoCopiarDe>;
extern template class PPDados<CPPDadosUnServico, _REG_UNIDADES_MEDIDA_SERVICOSPS,
                              PPSentido::SoCopiarDe>;
