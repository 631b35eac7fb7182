// Valuation of production entries.
#include "server/op/CPPServidorOP.h"

HRESULT CPPServidorOP::CalcularValorEntrada(_REG_VARMO_VALOR_ENTRADA_INPS, _REG_VARMO_VALOR_ENTRADA_OUTPS*,
                                            CPPArquivosOP*) {
  return E_NOTIMPL;
}
HRESULT CPPServidorOP::CalcularValorRecursosNaoApontados(_REG_VARMO_VALOR_ENTRADA_INPS,
                                                         _REG_VARMO_VALOR_ENTRADA_OUTPS*) {
  return E_NOTIMPL;
}
