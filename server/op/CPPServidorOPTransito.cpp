// Transit of a return between outside processors.
#include "server/op/CPPServidorOP.h"

HRESULT CPPServidorOP::ProcessaTransitoRetorno(uint16_t, uint32_t) { return E_NOTIMPL; }
