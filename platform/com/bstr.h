// BSTR: the length-prefixed UTF-16 string of OLE. The pointer points at the first character; the
// four bytes before it hold the length in bytes (without the terminator) and a zero character
// follows the text, so a BSTR is also a terminated string as long as it holds no embedded zeros.
// Each BSTR is one block of the task allocator and counts in TaskMemoryOutstandingBlocks.
// Whoever receives a BSTR owns it and frees it with SysFreeString (never with CoTaskMemFree).
// Not kept from the original: the cache of freed strings.
#pragma once

#include "platform/com/guid.h"

using BSTR = OLECHAR*;

// A copy of a terminated text; null for a null text.
BSTR SysAllocString(LPCOLESTR text);
// `length` characters copied from `text` (embedded zeros included); a null `text` gives that many
// zero characters. Null when out of memory or for lengths above 0x3FFFFFF8.
BSTR SysAllocStringLen(const OLECHAR* text, UINT length);
// `length` bytes copied from `bytes` (zeros when null) followed by a zero character.
BSTR SysAllocStringByteLen(LPCSTR bytes, UINT length);
// Replace *bstr by a new copy of the text (the text may point into *bstr). Returns TRUE, or FALSE
// and keeps *bstr when bstr is null or memory runs out. A null text leaves a null BSTR.
int SysReAllocString(BSTR* bstr, LPCOLESTR text);
int SysReAllocStringLen(BSTR* bstr, const OLECHAR* text, UINT length);
// Characters and bytes of the text, from the prefix; 0 for null.
UINT SysStringLen(BSTR bstr);
UINT SysStringByteLen(BSTR bstr);
// Null is accepted and ignored.
void SysFreeString(BSTR bstr);
