// The root of every interface. Interfaces are abstract classes whose virtual slots are exactly
// QueryInterface, AddRef, Release and then their own methods in type-library order; they have no
// virtual destructor, because it would take slots.
#pragma once

#include "platform/com/guid.h"

// {00000000-0000-0000-C000-000000000046}
constexpr IID IID_IUnknown = {0x00000000, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};

#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wnon-virtual-dtor"
struct IUnknown {
  virtual HRESULT QueryInterface(REFIID riid, void** object) = 0;
  virtual ULONG AddRef() = 0;
  virtual ULONG Release() = 0;
};
#pragma GCC diagnostic pop
