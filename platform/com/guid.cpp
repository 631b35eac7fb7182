#include "platform/com/guid.h"

#include <cstdio>

#include "platform/com/taskmem.h"

namespace {

// Positions of the dashes in "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}".
constexpr size_t kDashes[] = {9, 14, 19, 24};

int HexValue(char ch) {
  if (ch >= '0' && ch <= '9') return ch - '0';
  if (ch >= 'A' && ch <= 'F') return ch - 'A' + 10;
  if (ch >= 'a' && ch <= 'f') return ch - 'a' + 10;
  return -1;
}

// Reads `digits` hexadecimal digits from `at`; false when one of them is not a digit.
bool ReadHex(std::string_view text, size_t at, size_t digits, uint32_t* value) {
  uint32_t result = 0;
  for (size_t i = 0; i < digits; ++i) {
    int digit = HexValue(text[at + i]);
    if (digit < 0) return false;
    result = (result << 4) | static_cast<uint32_t>(digit);
  }
  *value = result;
  return true;
}

bool HasBracesAndDashes(std::string_view text) {
  if (text.size() != kGuidTextLength || text.front() != '{' || text.back() != '}') return false;
  for (size_t at : kDashes)
    if (text[at] != '-') return false;
  return true;
}

// The narrow copy of an OLE text, or an empty string when it holds anything outside ASCII or is
// longer than a GUID text could be (which the parser then refuses).
std::string NarrowGuidText(LPCOLESTR text) {
  std::string narrow;
  for (; *text != 0; ++text) {
    if (*text >= 0x80 || narrow.size() > kGuidTextLength) return {};
    narrow += static_cast<char>(*text);
  }
  return narrow;
}

HRESULT GuidFromOleText(LPCOLESTR text, GUID* guid) {
  if (text == nullptr || guid == nullptr) return CO_E_CLASSSTRING;
  return TextToGuid(NarrowGuidText(text), guid) ? S_OK : CO_E_CLASSSTRING;
}

HRESULT AllocatedTextOf(REFGUID guid, LPOLESTR* text) {
  if (text == nullptr) return E_INVALIDARG;
  auto* copy = static_cast<LPOLESTR>(CoTaskMemAlloc((kGuidTextLength + 1) * sizeof(OLECHAR)));
  if (copy == nullptr) return E_OUTOFMEMORY;
  StringFromGUID2(guid, copy, kGuidTextLength + 1);
  *text = copy;
  return S_OK;
}

}  // namespace

std::string GuidToText(REFGUID guid) {
  char text[kGuidTextLength + 1];
  snprintf(text, sizeof text, "{%08X-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X}",
           static_cast<unsigned>(guid.Data1), guid.Data2, guid.Data3, guid.Data4[0], guid.Data4[1],
           guid.Data4[2], guid.Data4[3], guid.Data4[4], guid.Data4[5], guid.Data4[6], guid.Data4[7]);
  return text;
}

bool TextToGuid(std::string_view text, GUID* guid) {
  if (!HasBracesAndDashes(text)) return false;
  GUID result;
  uint32_t data2 = 0, data3 = 0;
  if (!ReadHex(text, 1, 8, &result.Data1) || !ReadHex(text, 10, 4, &data2) ||
      !ReadHex(text, 15, 4, &data3))
    return false;
  // Data4: two bytes before the last dash, six after it.
  constexpr size_t kData4At[8] = {20, 22, 25, 27, 29, 31, 33, 35};
  for (int i = 0; i < 8; ++i) {
    uint32_t byte = 0;
    if (!ReadHex(text, kData4At[i], 2, &byte)) return false;
    result.Data4[i] = static_cast<uint8_t>(byte);
  }
  result.Data2 = static_cast<uint16_t>(data2);
  result.Data3 = static_cast<uint16_t>(data3);
  *guid = result;
  return true;
}

int StringFromGUID2(REFGUID guid, LPOLESTR text, int size) {
  if (text == nullptr || size < kGuidTextLength + 1) return 0;
  std::string narrow = GuidToText(guid);
  for (size_t i = 0; i <= narrow.size(); ++i) text[i] = static_cast<OLECHAR>(narrow.c_str()[i]);
  return kGuidTextLength + 1;
}

HRESULT StringFromCLSID(REFCLSID clsid, LPOLESTR* text) { return AllocatedTextOf(clsid, text); }
HRESULT StringFromIID(REFIID iid, LPOLESTR* text) { return AllocatedTextOf(iid, text); }
HRESULT CLSIDFromString(LPCOLESTR text, CLSID* clsid) { return GuidFromOleText(text, clsid); }
HRESULT IIDFromString(LPCOLESTR text, IID* iid) { return GuidFromOleText(text, iid); }
