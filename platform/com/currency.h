// The OLE currency value CY (a signed 64-bit count of 1/10,000) and the conversions, arithmetic and
// texts that the money classes build on. One implementation of each rounding rule serves every
// caller, so that amounts come out the same wherever they are computed:
// - from a double: the double times 10,000 (in double precision) rounded to the nearest integer,
//   ties to even;
// - products: the exact product rounded to four decimals, ties to even;
// - VarCyRound: ties to even; GetNumberFormatA: half away from zero on the decimal digits.
// A failing call (DISP_E_OVERFLOW, E_INVALIDARG) leaves its output untouched. Everything here is
// stateless and may run on any thread.
//
// Locales: 1033 (English, United States: "." before the decimals, "," between thousands) and 1046
// (Portuguese, Brazil: "," and "."); the neutral and default locales stand for 1046, the locale of
// the machines the system ran on. No user overrides exist, so LOCALE_NOUSEROVERRIDE and the other
// conversion flags change nothing. Other locales are refused (E_INVALIDARG for the Var calls,
// ERROR_INVALID_PARAMETER for GetNumberFormatA).
#pragma once

#include "platform/com/bstr.h"

union CY {
  struct {
    uint32_t Lo;
    int32_t Hi;
  };
  int64_t int64;
};
static_assert(sizeof(CY) == 8);

using LCID = DWORD;
constexpr LCID LOCALE_NEUTRAL = 0x0000;
constexpr LCID LOCALE_USER_DEFAULT = 0x0400;
constexpr LCID LOCALE_SYSTEM_DEFAULT = 0x0800;
constexpr LCID LCID_ENGLISH_US = 1033;
constexpr LCID LCID_PORTUGUESE_BRAZIL = 1046;
constexpr DWORD LOCALE_NOUSEROVERRIDE = 0x80000000;

// Results of VarCyCmp.
constexpr HRESULT VARCMP_LT = 0;
constexpr HRESULT VARCMP_EQ = 1;
constexpr HRESULT VARCMP_GT = 2;

// Conversions. A double (or float) whose scaled value is not finite or does not fit gives
// DISP_E_OVERFLOW.
HRESULT VarCyFromR8(double value, CY* result);
HRESULT VarCyFromR4(float value, CY* result);  // the float widened exactly, then as VarCyFromR8
HRESULT VarCyFromI4(LONG value, CY* result);
HRESULT VarR8FromCy(CY value, double* result);  // the 64-bit count divided by 10,000.0

// Arithmetic; a result outside the 64-bit range gives DISP_E_OVERFLOW.
HRESULT VarCyAdd(CY left, CY right, CY* result);
HRESULT VarCySub(CY left, CY right, CY* result);
HRESULT VarCyMul(CY left, CY right, CY* result);
HRESULT VarCyMulI4(CY left, LONG right, CY* result);
HRESULT VarCyAbs(CY value, CY* result);
HRESULT VarCyNeg(CY value, CY* result);
HRESULT VarCyFix(CY value, CY* result);  // integer part, toward zero
HRESULT VarCyInt(CY value, CY* result);  // largest integer not above the value
// Rounds to `decimals` decimals (0..3; 4 and more change nothing; negative: E_INVALIDARG).
HRESULT VarCyRound(CY value, int decimals, CY* result);
// VARCMP_LT, VARCMP_EQ or VARCMP_GT.
HRESULT VarCyCmp(CY left, CY right);

// Texts, allocated as a BSTR that the caller frees. No thousands separator; a leading "-".
// VarBstrFromCy: the locale's decimal separator and the decimals without their trailing zeros
// (1234.5 -> "1234,5" under 1046, 2 -> "2", -0.25 -> "-0,25").
HRESULT VarBstrFromCy(CY value, LCID locale, ULONG flags, BSTR* result);
// VarBstrFromR8: at most 15 significant digits without trailing zeros. Decimal exponents from -5
// to 14 are written in plain digits (0.0001, 123456789012345); outside that range the exponent
// form with a sign and at least two digits is used (1E-05, 1.5E+20, 1E+15). Every currency
// amount (below 10^15) is therefore plain; an eight-decimal quantity below 0.0001 is not, and
// GetNumberFormatA refuses such a text as the original does. Infinities and NaN: DISP_E_OVERFLOW.
HRESULT VarBstrFromR8(double value, LCID locale, ULONG flags, BSTR* result);

// The separators are const here (LPSTR in the original), so that literals need no cast.
struct NUMBERFMTA {
  UINT NumDigits;       // decimals, 0..9
  UINT LeadingZero;     // 1: "0,5"; 0: ",5"
  UINT Grouping;        // digits per group, 0 (none) .. 9, or 32 (three, then twos)
  LPCSTR lpDecimalSep;
  LPCSTR lpThousandSep;
  UINT NegativeOrder;   // 0 "(1,1)", 1 "-1,1", 2 "- 1,1", 3 "1,1-", 4 "1,1 -"
};

// Formats a number text (an optional leading "-", digits, at most one "." and at least one digit;
// nothing else) with the given format, or with the locale's when `format` is null (two decimals).
// The text is rounded to NumDigits half away from zero and padded with zeros; a value that rounds
// to zero loses its sign. Returns the characters written including the terminator; with `size` 0
// the size needed. On failure 0 and the last error ERROR_INSUFFICIENT_BUFFER,
// ERROR_INVALID_PARAMETER (bad text or format, unknown locale) or ERROR_INVALID_FLAGS (flags with
// an explicit format).
int GetNumberFormatA(LCID locale, DWORD flags, LPCSTR value, const NUMBERFMTA* format, LPSTR text,
                     int size);
