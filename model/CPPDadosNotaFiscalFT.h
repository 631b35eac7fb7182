// The short form of a sales invoice (FT), as the base system's invoice server gives it.
// The record is the other module's, held whole and byte for byte; it only arrives from that
// module's server, so the class has CopiarDe and no CopiarPara, and carries every byte it has no
// accessor for unchanged. Pattern: PPDadosBase.h.
#pragma once

#include "model/PPDadosBase.h"
#include "platform/family/base/RegistrosCadastros.h"

class CPPDadosNotaFiscalFT
    : public PPDados<CPPDadosNotaFiscalFT, tagREG_NOTA_LIGHTPS, PPSentido::SoCopiarDe> {
 public:
  PP_CAMPO(NumeroNotaFiscal, lNumeroNotaFiscal)
  PP_CAMPO(PonteiroCliente, lPonteiroCliente)
  PP_CAMPO(PonteiroMunicipio, iPonteiroMunicipio)
  PP_CAMPO(PonteiroEstado, iPonteiroEstado)
  PP_CAMPO(Filial, iFilial)
  PP_CAMPO(DataEmissao, iDataEmissao)
  PP_CAMPO(HoraEmissao, iHoraEmissao)
  PP_CAMPO(DataSaida, iDataSaida)
  PP_CAMPO(HoraSaida, iHoraSaida)
  PP_CAMPO(PonteiroDocumento, iPonteiroDocumento)
  PP_TEXTO(Serie, szSerie)
  PP_CAMPO(CodigoEhFornecedor, cCodigoEhFornecedor)
};

extern template class PPDados<CPPDadosNotaFiscalFT, tagREG_NOTA_LIGHTPS, PPSentido::SoCopiarDe>;
