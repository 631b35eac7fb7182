// The COM objects of the classes whose handlers have not arrived yet. Each answers for IUnknown and
// its class's interface, holds a lock on the server while it lives like every object of the server,
// and answers every method of the interface with E_NOTIMPL.
//
// Such an object is built the way COM defines an object, without a C++ class of the interface
// (which would mean writing out every method of 17 interfaces only to throw them away): a pointer
// to a table of function pointers, QueryInterface, AddRef and Release first, then one entry per
// method, all the same function. On this target that is sound because every interface method
// returns its HRESULT in a register and its caller removes the arguments it pushed (the i386
// convention of member functions: `this` first on the stack, caller cleans up), so one function
// that ignores its arguments serves every slot. In front of its slots the table carries what the
// compiler's own tables carry (offset 0 to the object, the interface's type information), so that
// the sanitizers' checks of the dynamic type see an object of the interface.
#pragma once

#include <algorithm>
#include <array>
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <new>
#include <typeinfo>

#include "server/CPPModulo.h"
#include "server/idl/VarmoIdentificadores.h"

namespace pp_pendente {

constexpr int kMaiorInterface = [] {
  int maior = 0;
  for (const ClasseVarmo& classe : kClassesVarmo)
    maior = std::max<int>(maior, classe.quantidadeMetodos);
  return maior;
}();

struct Objeto {
  const void* const* slots;  // first, where a caller looks for the table
  std::atomic<LONG> referencias;
  IID iid;
  PPBloqueioServidor bloqueio;
};
static_assert(offsetof(Objeto, slots) == 0);

inline HRESULT QueryInterface(Objeto* self, REFIID riid, void** ppv) {
  if (!ppv) return E_POINTER;
  if (!IsEqualIID(riid, IID_IUnknown) && !IsEqualIID(riid, self->iid)) {
    *ppv = nullptr;
    return E_NOINTERFACE;
  }
  ++self->referencias;
  *ppv = self;
  return S_OK;
}

inline ULONG AddRef(Objeto* self) { return static_cast<ULONG>(++self->referencias); }

inline ULONG Release(Objeto* self) {
  const LONG restantes = --self->referencias;
  if (restantes == 0) delete self;
  return static_cast<ULONG>(restantes);
}

inline HRESULT NaoImplementado(Objeto*) { return E_NOTIMPL; }

// offset to the object, type information, IUnknown's three slots, the interface's methods
template <class Interface>
const void* const* Slots() {
  using Tabela = std::array<const void*, 2 + 3 + kMaiorInterface>;
  static const Tabela tabela = [] {
    Tabela t;
    t.fill(reinterpret_cast<const void*>(&NaoImplementado));
    t[0] = nullptr;
    t[1] = &typeid(Interface);
    t[2] = reinterpret_cast<const void*>(&QueryInterface);
    t[3] = reinterpret_cast<const void*>(&AddRef);
    t[4] = reinterpret_cast<const void*>(&Release);
    return t;
  }();
  return tabela.data() + 2;
}

}  // namespace pp_pendente

template <class Interface, IID kIid>
HRESULT PPCriaObjetoPendente(REFIID riid, void** ppv) {
  if (!ppv) return E_POINTER;
  *ppv = nullptr;
  auto* objeto =
      new (std::nothrow) pp_pendente::Objeto{pp_pendente::Slots<Interface>(), {1}, kIid, {}};
  if (!objeto) return E_OUTOFMEMORY;
  const HRESULT hr = pp_pendente::QueryInterface(objeto, riid, ppv);
  pp_pendente::Release(objeto);
  return hr;
}
