// Recording a return from outsourced processing.
#include "server/op/CPPServidorOP.h"

HRESULT CPPServidorOP::GravaApontamentoRetornoIndustrializacao(_REG_VARMO_APONTAMENTO_RETORNO_INDUSTRIALIZACAOPS,
                                                               uint32_t*, uint8_t) {
  return E_NOTIMPL;
}
