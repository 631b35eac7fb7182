// Pending invoices of returns and pending production entries.
#include "server/op/CPPServidorOP.h"

HRESULT CPPServidorOP::BuscaListaRetornoNFPendente(_REG_PP_LISTA_APONTAMENTO_RETORNO_NF_PENDENTEPS*) {
  return E_NOTIMPL;
}
HRESULT CPPServidorOP::VincularNFRetorno(_REG_PP_VINCULO_RETORNO_NF_PENDENTEPS) { return E_NOTIMPL; }
HRESULT CPPServidorOP::GravaEntradasPendentes(_REG_VARMO_OP_APONTAMENTO, CPPArquivosOP*) { return E_NOTIMPL; }
