// The server's class table: its 17 classes in the type library's order, which is the order of their
// registration, unregistration and class-object registration, each with the creator of its COM
// objects; and the record of the type library that registration writes.
//
// A class whose handler has arrived names its COM object class here
// (PPCriaObjeto<CQVPP_TipoOP>, CPPObjetoCOM.h); until then its objects answer every method with
// E_NOTIMPL (PPCriaObjetoPendente), so that registration, activation, the lock count and the idle
// shutdown work for all 17 classes. Constant data.
#pragma once

#include "platform/com/typelib.h"
#include "server/idl/VarmoIdentificadores.h"

// Creates one COM object and gives its interface riid.
using PPCriador = HRESULT (*)(REFIID riid, void** ppv);

struct PPClasseServidor {
  const ClasseVarmo* identificadores;  // names, CLSID, IID and registration script
  PPCriador cria;
};

extern const PPClasseServidor kPPClassesVarmo[kQuantidadeClassesVarmo];
extern const TypeLibRecord kPPBibliotecaVarmo;
