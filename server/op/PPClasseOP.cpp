#include "server/op/PPClasseOP.h"

#include "server/op/CQVPP_OP.h"

HRESULT PPCriaOP(REFIID riid, void** ppv) { return PPCriaObjeto<CQVPP_OP>(riid, ppv); }
