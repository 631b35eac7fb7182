// GUIDs as COM lays them out (16 bytes, the first three fields little-endian), with their
// registry text form "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}".
#pragma once

#include <string>
#include <string_view>

#include "platform/win32/base.h"

struct GUID {
  uint32_t Data1;
  uint16_t Data2;
  uint16_t Data3;
  uint8_t Data4[8];

  friend constexpr bool operator==(const GUID& a, const GUID& b) {
    if (a.Data1 != b.Data1 || a.Data2 != b.Data2 || a.Data3 != b.Data3) return false;
    for (int i = 0; i < 8; ++i)
      if (a.Data4[i] != b.Data4[i]) return false;
    return true;
  }
};
static_assert(sizeof(GUID) == 16);

using IID = GUID;
using CLSID = GUID;
using REFGUID = const GUID&;
using REFIID = const IID&;
using REFCLSID = const CLSID&;

constexpr GUID GUID_NULL = {0, 0, 0, {0, 0, 0, 0, 0, 0, 0, 0}};

inline bool IsEqualGUID(REFGUID a, REFGUID b) { return a == b; }
inline bool IsEqualIID(REFIID a, REFIID b) { return a == b; }
inline bool IsEqualCLSID(REFCLSID a, REFCLSID b) { return a == b; }

// OLE strings are UTF-16, as BSTRs and the GUID texts of the COM calls are.
using OLECHAR = WCHAR;
using LPOLESTR = OLECHAR*;
using LPCOLESTR = const OLECHAR*;

// The text form is always 38 characters: braces, upper-case hexadecimal digits, four dashes.
constexpr int kGuidTextLength = 38;

// Writes the braced text and its terminator; returns the characters written including the
// terminator (39), or 0 when the buffer is null or holds fewer than 39 characters.
int StringFromGUID2(REFGUID guid, LPOLESTR text, int size);
// Allocates the text with the task allocator; the caller frees it with CoTaskMemFree.
HRESULT StringFromCLSID(REFCLSID clsid, LPOLESTR* text);
HRESULT StringFromIID(REFIID iid, LPOLESTR* text);
// Read the braced form with digits of either case. Anything else (no braces, a missing dash,
// a stray character, a null text) is CO_E_CLASSSTRING and leaves the output untouched. Program
// identifiers are not looked up: the system passes only braced texts.
HRESULT CLSIDFromString(LPCOLESTR text, CLSID* clsid);
HRESULT IIDFromString(LPCOLESTR text, IID* iid);

// The same texts in single-byte characters, for the registry and the event log.
std::string GuidToText(REFGUID guid);
bool TextToGuid(std::string_view text, GUID* guid);
