// Small COM objects for the tests of the COM layer and of its users: an object with one interface
// of its own besides IUnknown, counting the live ones, and the creator that class objects use.
#pragma once

#include <atomic>

#include "platform/com/classobject.h"

// {6E1A0A52-4C1B-4F3E-9B0D-3A1C5E7F9B21}
constexpr IID IID_ITesteObjeto = {
    0x6E1A0A52, 0x4C1B, 0x4F3E, {0x9B, 0x0D, 0x3A, 0x1C, 0x5E, 0x7F, 0x9B, 0x21}};
// {6E1A0A53-4C1B-4F3E-9B0D-3A1C5E7F9B21}, an interface that nobody implements
constexpr IID IID_IAusente = {
    0x6E1A0A53, 0x4C1B, 0x4F3E, {0x9B, 0x0D, 0x3A, 0x1C, 0x5E, 0x7F, 0x9B, 0x21}};

class ObjetoTeste : public IUnknown {
 public:
  static inline std::atomic<int> vivos{0};

  static HRESULT Cria(REFIID riid, void** object) {
    auto* novo = new ObjetoTeste;
    const HRESULT hr = novo->QueryInterface(riid, object);
    novo->Release();
    return hr;
  }

  HRESULT QueryInterface(REFIID riid, void** object) override {
    if (!IsEqualIID(riid, IID_IUnknown) && !IsEqualIID(riid, IID_ITesteObjeto)) {
      *object = nullptr;
      return E_NOINTERFACE;
    }
    AddRef();
    *object = this;
    return S_OK;
  }
  ULONG AddRef() override { return ++references_; }
  ULONG Release() override {
    const ULONG left = --references_;
    if (left == 0) delete this;
    return left;
  }

 private:
  ObjetoTeste() { ++vivos; }
  virtual ~ObjetoTeste() { --vivos; }

  std::atomic<ULONG> references_{1};
};
