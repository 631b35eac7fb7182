// The frame of a fake COM object for tests: IUnknown and one interface of its own, a reference
// count, and the creator that class objects call. A fake derives from it, naming itself, the
// interface and the interface's identifier, declares `friend ObjetoFalso;` so that Cria reaches
// its private constructor, and writes only the interface's own methods.
#pragma once

#include <atomic>
#include <utility>

#include "platform/com/classobject.h"

#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wnon-virtual-dtor"
template <class Falso, class Interface, const IID& kIID>
class ObjetoFalso : public Interface {
 public:
  // Makes a fake from its constructor's arguments and hands out riid of it; the object lives as
  // long as the references handed out.
  template <class... Argumentos>
  static HRESULT Cria(REFIID riid, void** objeto, Argumentos&&... argumentos) {
    ObjetoFalso* novo = new Falso(std::forward<Argumentos>(argumentos)...);
    const HRESULT hr = novo->QueryInterface(riid, objeto);
    novo->Release();
    return hr;
  }

  HRESULT QueryInterface(REFIID riid, void** objeto) override {
    if (!IsEqualIID(riid, IID_IUnknown) && !IsEqualIID(riid, kIID)) {
      *objeto = nullptr;
      return E_NOINTERFACE;
    }
    AddRef();
    *objeto = static_cast<Interface*>(this);
    return S_OK;
  }
  ULONG AddRef() override { return ++referencias_; }
  ULONG Release() override {
    const ULONG restam = --referencias_;
    if (restam == 0) delete this;
    return restam;
  }

 protected:
  ObjetoFalso() = default;
  virtual ~ObjetoFalso() = default;

 private:
  std::atomic<ULONG> referencias_{1};
};
#pragma GCC diagnostic pop
