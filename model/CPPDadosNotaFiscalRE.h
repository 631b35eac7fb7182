// The short form of a receipt invoice (RE) of the purchasing module.
// The record is the other module's, held whole and byte for byte; it only arrives from that
// module's server, so the class has CopiarDe and no CopiarPara, and carries every byte it has no
// accessor for unchanged. Pattern: PPDadosBase.h.
#pragma once

#include "model/PPDadosBase.h"
#include "platform/family/compras/RegistrosEntrada.h"

class CPPDadosNotaFiscalRE
    : public PPDados<CPPDadosNotaFiscalRE, tagREG_ENTRADA_LIGHTPS, PPSentido::SoCopiarDe> {
 public:
  PP_CAMPO(PonteiroFornecedor, lPonteiroFornecedor)
  PP_CAMPO(PonteiroEsteRE, lPonteiroEsteRE)
  PP_CAMPO(PonteiroFilial, iPonteiroFilial)
  PP_CAMPO(DataEntrada, iDataEntrada)
  PP_CAMPO(DataEmissao, iDataEmissao)
  PP_CAMPO(PonteiroTipoDocumento, iPonteiroTipoDocumento)
  PP_TEXTO(NumeroNotaFiscal, szNumeroNotaFiscal)
  PP_TEXTO(SerieNotaFiscal, szSerieNotaFiscal)
};

extern template class PPDados<CPPDadosNotaFiscalRE, tagREG_ENTRADA_LIGHTPS, PPSentido::SoCopiarDe>;
