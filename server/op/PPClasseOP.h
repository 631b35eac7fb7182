// The creator of the production-order class's COM object, for the server's class table
// (server/PPTabelaClasses.cpp), which may not name the classes of this folder.
#pragma once

#include "platform/com/guid.h"
#include "platform/win32/base.h"

HRESULT PPCriaOP(REFIID riid, void** ppv);
