#include "platform/com/bstr.h"

#include <cstring>
#include <string>

#include "platform/com/taskmem.h"

namespace {

constexpr size_t kPrefixBytes = sizeof(uint32_t);
constexpr size_t kTerminatorBytes = sizeof(OLECHAR);
constexpr UINT kMaxBytes = 0x7FFFFFF0;

uint32_t* PrefixOf(BSTR bstr) {
  return reinterpret_cast<uint32_t*>(reinterpret_cast<char*>(bstr) - kPrefixBytes);
}

// The one place that lays out a BSTR: prefix, bytes (copied or zeroed), terminator.
BSTR AllocateBytes(const void* source, UINT byte_length) {
  if (byte_length > kMaxBytes) return nullptr;
  auto* block = static_cast<char*>(CoTaskMemAlloc(kPrefixBytes + byte_length + kTerminatorBytes));
  if (block == nullptr) return nullptr;
  memcpy(block, &byte_length, kPrefixBytes);
  char* text = block + kPrefixBytes;
  if (source != nullptr)
    memcpy(text, source, byte_length);
  else
    memset(text, 0, byte_length);
  memset(text + byte_length, 0, kTerminatorBytes);
  return reinterpret_cast<BSTR>(text);
}

}  // namespace

BSTR SysAllocString(LPCOLESTR text) {
  if (text == nullptr) return nullptr;
  return SysAllocStringLen(text, static_cast<UINT>(std::char_traits<OLECHAR>::length(text)));
}

BSTR SysAllocStringLen(const OLECHAR* text, UINT length) {
  if (length > kMaxBytes / sizeof(OLECHAR)) return nullptr;
  return AllocateBytes(text, length * static_cast<UINT>(sizeof(OLECHAR)));
}

BSTR SysAllocStringByteLen(LPCSTR bytes, UINT length) { return AllocateBytes(bytes, length); }

int SysReAllocStringLen(BSTR* bstr, const OLECHAR* text, UINT length) {
  if (bstr == nullptr) return FALSE;
  BSTR copy = SysAllocStringLen(text, length);
  if (copy == nullptr) return FALSE;
  SysFreeString(*bstr);
  *bstr = copy;
  return TRUE;
}

int SysReAllocString(BSTR* bstr, LPCOLESTR text) {
  if (bstr == nullptr) return FALSE;
  if (text != nullptr)
    return SysReAllocStringLen(bstr, text, static_cast<UINT>(std::char_traits<OLECHAR>::length(text)));
  SysFreeString(*bstr);
  *bstr = nullptr;
  return TRUE;
}

UINT SysStringByteLen(BSTR bstr) {
  if (bstr == nullptr) return 0;
  uint32_t bytes;
  memcpy(&bytes, PrefixOf(bstr), kPrefixBytes);
  return bytes;
}

UINT SysStringLen(BSTR bstr) { return SysStringByteLen(bstr) / sizeof(OLECHAR); }

void SysFreeString(BSTR bstr) {
  if (bstr != nullptr) CoTaskMemFree(PrefixOf(bstr));
}
