#include "platform/com/currency.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <optional>
#include <string>

#include "platform/win32/codepage.h"

namespace {

constexpr uint32_t kScale = 10000;  // a CY counts 1/10,000

// --- Exact arithmetic on magnitudes -------------------------------------------------------------
// The target has no 128-bit integer type, so products of two 64-bit magnitudes are carried in two
// halves and divided by small divisors limb by limb.

struct UInt128 {
  uint64_t high;
  uint64_t low;
};

UInt128 Multiply(uint64_t a, uint64_t b) {
  const uint64_t a_low = a & 0xFFFFFFFF, a_high = a >> 32;
  const uint64_t b_low = b & 0xFFFFFFFF, b_high = b >> 32;
  const uint64_t low_low = a_low * b_low;
  const uint64_t high_low = a_high * b_low;
  const uint64_t low_high = a_low * b_high;
  const uint64_t high_high = a_high * b_high;
  const uint64_t middle = (low_low >> 32) + (high_low & 0xFFFFFFFF) + (low_high & 0xFFFFFFFF);
  return {high_high + (high_low >> 32) + (low_high >> 32) + (middle >> 32),
          (middle << 32) | (low_low & 0xFFFFFFFF)};
}

// n / divisor rounded to the nearest integer, ties to the even quotient.
UInt128 RoundedQuotient(UInt128 n, uint32_t divisor) {
  const uint32_t limbs[4] = {static_cast<uint32_t>(n.high >> 32), static_cast<uint32_t>(n.high),
                             static_cast<uint32_t>(n.low >> 32), static_cast<uint32_t>(n.low)};
  uint64_t quotient_limbs[4];
  uint64_t remainder = 0;
  for (int i = 0; i < 4; ++i) {
    const uint64_t part = (remainder << 32) | limbs[i];
    quotient_limbs[i] = part / divisor;
    remainder = part % divisor;
  }
  UInt128 q = {(quotient_limbs[0] << 32) | quotient_limbs[1], (quotient_limbs[2] << 32) | quotient_limbs[3]};
  const bool odd = (q.low & 1) != 0;
  if (2 * remainder > divisor || (2 * remainder == divisor && odd)) {
    if (++q.low == 0) ++q.high;
  }
  return q;
}

uint64_t Magnitude(int64_t value) {
  return value < 0 ? 0 - static_cast<uint64_t>(value) : static_cast<uint64_t>(value);
}

// Stores the signed value of a magnitude, or reports the overflow without touching `result`.
HRESULT StoreSigned(bool negative, UInt128 magnitude, CY* result) {
  constexpr uint64_t kMaxPositive = static_cast<uint64_t>(INT64_MAX);
  if (magnitude.high != 0 || magnitude.low > kMaxPositive + (negative ? 1 : 0)) return DISP_E_OVERFLOW;
  result->int64 = negative ? static_cast<int64_t>(0 - magnitude.low) : static_cast<int64_t>(magnitude.low);
  return S_OK;
}

HRESULT StoreChecked(bool overflowed, int64_t value, CY* result) {
  if (overflowed) return DISP_E_OVERFLOW;
  result->int64 = value;
  return S_OK;
}

double RoundHalfToEven(double x) {
  const double below = std::floor(x);
  const double fraction = x - below;
  if (fraction > 0.5 || (fraction == 0.5 && std::fmod(below, 2.0) != 0.0)) return below + 1.0;
  return below;
}

// --- Locales ------------------------------------------------------------------------------------

struct LocaleNumbers {
  const char* decimal_separator;
  const char* thousand_separator;
};

std::optional<LocaleNumbers> NumbersOf(LCID locale) {
  switch (locale & 0xFFFF) {
    case LCID_ENGLISH_US:
      return LocaleNumbers{".", ","};
    case LCID_PORTUGUESE_BRAZIL:
    case LOCALE_NEUTRAL:
    case LOCALE_USER_DEFAULT:
    case LOCALE_SYSTEM_DEFAULT:
      return LocaleNumbers{",", "."};
    default:
      return std::nullopt;
  }
}

HRESULT StoreText(const std::string& text, BSTR* result) {
  BSTR bstr = SysAllocString(WideFromAnsi(text).c_str());
  if (bstr == nullptr) return E_OUTOFMEMORY;
  *result = bstr;
  return S_OK;
}

// --- Number texts for GetNumberFormatA ----------------------------------------------------------

struct NumberText {
  bool negative = false;
  std::string integer;   // digits without leading zeros
  std::string fraction;  // digits
};

std::optional<NumberText> ParseNumberText(std::string_view text) {
  NumberText number;
  if (!text.empty() && text.front() == '-') {
    number.negative = true;
    text.remove_prefix(1);
  }
  const size_t point = text.find('.');
  const std::string_view integer = text.substr(0, point);
  const std::string_view fraction = point == std::string_view::npos ? "" : text.substr(point + 1);
  const auto all_digits = [](std::string_view s) { return s.find_first_not_of("0123456789") == s.npos; };
  if (integer.empty() && fraction.empty()) return std::nullopt;
  if (!all_digits(integer) || !all_digits(fraction)) return std::nullopt;
  number.integer = integer.substr(std::min(integer.find_first_not_of('0'), integer.size()));
  number.fraction = fraction;
  return number;
}

// Adds one unit in the last place of the digits; true when it carries out of the first digit.
bool Increment(std::string& digits) {
  for (size_t i = digits.size(); i-- > 0;) {
    if (digits[i] != '9') {
      ++digits[i];
      return false;
    }
    digits[i] = '0';
  }
  return true;
}

void RoundHalfAwayFromZero(NumberText& number, size_t decimals) {
  if (number.fraction.size() <= decimals) {
    number.fraction.append(decimals - number.fraction.size(), '0');
    return;
  }
  const bool round_up = number.fraction[decimals] >= '5';
  number.fraction.resize(decimals);
  if (round_up && Increment(number.fraction) && Increment(number.integer))
    number.integer.insert(0, 1, '1');
}

bool IsZero(const NumberText& number) {
  return number.integer.empty() && number.fraction.find_first_not_of('0') == std::string::npos;
}

std::string Grouped(const std::string& digits, UINT grouping, const char* separator) {
  if (grouping == 0) return digits;
  const size_t first_group = grouping == 32 ? 3 : grouping;
  const size_t later_groups = grouping == 32 ? 2 : grouping;
  std::string result;
  size_t end = digits.size();
  for (size_t group = first_group; end > group; group = later_groups) {
    result.insert(0, separator + digits.substr(end - group, group));
    end -= group;
  }
  return digits.substr(0, end) + result;
}

std::string WithSign(const std::string& number, UINT negative_order) {
  switch (negative_order) {
    case 0: return "(" + number + ")";
    case 1: return "-" + number;
    case 2: return "- " + number;
    case 3: return number + "-";
    default: return number + " -";
  }
}

bool IsValidFormat(const NUMBERFMTA& format) {
  return format.NumDigits <= 9 && (format.Grouping <= 9 || format.Grouping == 32) &&
         format.NegativeOrder <= 4 && format.lpDecimalSep != nullptr && format.lpThousandSep != nullptr;
}

int Fail(DWORD error) {
  SetLastError(error);
  return 0;
}

}  // namespace

HRESULT VarCyFromR8(double value, CY* result) {
  if (result == nullptr) return E_INVALIDARG;
  const double rounded = RoundHalfToEven(value * kScale);
  // Negated test so that NaN fails too.
  if (!(rounded >= -0x1p63 && rounded < 0x1p63)) return DISP_E_OVERFLOW;
  result->int64 = static_cast<int64_t>(rounded);
  return S_OK;
}

HRESULT VarCyFromR4(float value, CY* result) { return VarCyFromR8(static_cast<double>(value), result); }

HRESULT VarCyFromI4(LONG value, CY* result) {
  if (result == nullptr) return E_INVALIDARG;
  result->int64 = static_cast<int64_t>(value) * kScale;
  return S_OK;
}

HRESULT VarR8FromCy(CY value, double* result) {
  if (result == nullptr) return E_INVALIDARG;
  *result = static_cast<double>(value.int64) / kScale;
  return S_OK;
}

HRESULT VarCyAdd(CY left, CY right, CY* result) {
  if (result == nullptr) return E_INVALIDARG;
  int64_t sum;
  const bool overflowed = __builtin_add_overflow(left.int64, right.int64, &sum);
  return StoreChecked(overflowed, sum, result);
}

HRESULT VarCySub(CY left, CY right, CY* result) {
  if (result == nullptr) return E_INVALIDARG;
  int64_t difference;
  const bool overflowed = __builtin_sub_overflow(left.int64, right.int64, &difference);
  return StoreChecked(overflowed, difference, result);
}

HRESULT VarCyMul(CY left, CY right, CY* result) {
  if (result == nullptr) return E_INVALIDARG;
  // (a / 10^4) x (b / 10^4) = (a x b / 10^4) / 10^4: the exact product carries eight decimals.
  const UInt128 product = Multiply(Magnitude(left.int64), Magnitude(right.int64));
  return StoreSigned((left.int64 < 0) != (right.int64 < 0), RoundedQuotient(product, kScale), result);
}

HRESULT VarCyMulI4(CY left, LONG right, CY* result) {
  CY scaled;
  VarCyFromI4(right, &scaled);
  return VarCyMul(left, scaled, result);
}

HRESULT VarCyAbs(CY value, CY* result) {
  if (result == nullptr) return E_INVALIDARG;
  return StoreSigned(false, {0, Magnitude(value.int64)}, result);
}

HRESULT VarCyNeg(CY value, CY* result) {
  if (result == nullptr) return E_INVALIDARG;
  return StoreSigned(value.int64 > 0, {0, Magnitude(value.int64)}, result);
}

HRESULT VarCyFix(CY value, CY* result) {
  if (result == nullptr) return E_INVALIDARG;
  result->int64 = value.int64 / kScale * kScale;
  return S_OK;
}

HRESULT VarCyInt(CY value, CY* result) {
  if (result == nullptr) return E_INVALIDARG;
  int64_t units = value.int64 / kScale;
  if (value.int64 % kScale < 0) --units;
  int64_t floored;
  const bool overflowed = __builtin_mul_overflow(units, static_cast<int64_t>(kScale), &floored);
  return StoreChecked(overflowed, floored, result);
}

HRESULT VarCyRound(CY value, int decimals, CY* result) {
  if (result == nullptr || decimals < 0) return E_INVALIDARG;
  if (decimals >= 4) {
    *result = value;
    return S_OK;
  }
  uint32_t unit = 1;
  for (int i = decimals; i < 4; ++i) unit *= 10;
  const UInt128 units = RoundedQuotient({0, Magnitude(value.int64)}, unit);
  return StoreSigned(value.int64 < 0, Multiply(units.low, unit), result);
}

HRESULT VarCyCmp(CY left, CY right) {
  if (left.int64 < right.int64) return VARCMP_LT;
  return left.int64 == right.int64 ? VARCMP_EQ : VARCMP_GT;
}

HRESULT VarBstrFromCy(CY value, LCID locale, ULONG /*flags*/, BSTR* result) {
  const auto numbers = NumbersOf(locale);
  if (result == nullptr || !numbers) return E_INVALIDARG;
  const uint64_t magnitude = Magnitude(value.int64);
  std::string text = value.int64 < 0 ? "-" : "";
  text += std::to_string(magnitude / kScale);
  char decimals[8];
  snprintf(decimals, sizeof decimals, "%04u", static_cast<unsigned>(magnitude % kScale));
  std::string fraction = decimals;
  fraction.erase(fraction.find_last_not_of('0') + 1);
  if (!fraction.empty()) text += numbers->decimal_separator + fraction;
  return StoreText(text, result);
}

HRESULT VarBstrFromR8(double value, LCID locale, ULONG /*flags*/, BSTR* result) {
  const auto numbers = NumbersOf(locale);
  if (result == nullptr || !numbers) return E_INVALIDARG;
  if (!std::isfinite(value)) return DISP_E_OVERFLOW;
  char digits[40];
  // %G switches to the exponent form exactly outside the exponents -5..14 described in the
  // header, and drops trailing zeros. Zero is written "0" also when it is negative.
  snprintf(digits, sizeof digits, "%.15G", value == 0.0 ? 0.0 : value);
  std::string text = digits;
  // Every locale of ours has a one-character separator.
  if (const size_t point = text.find('.'); point != std::string::npos) text[point] = *numbers->decimal_separator;
  return StoreText(text, result);
}

int GetNumberFormatA(LCID locale, DWORD flags, LPCSTR value, const NUMBERFMTA* format, LPSTR text,
                     int size) {
  const auto numbers = NumbersOf(locale);
  if (!numbers || value == nullptr || size < 0 || (size > 0 && text == nullptr))
    return Fail(ERROR_INVALID_PARAMETER);
  if (format != nullptr ? flags != 0 : (flags & ~LOCALE_NOUSEROVERRIDE) != 0)
    return Fail(ERROR_INVALID_FLAGS);
  const NUMBERFMTA locale_format = {2, 1, 3, numbers->decimal_separator, numbers->thousand_separator, 1};
  const NUMBERFMTA& f = format != nullptr ? *format : locale_format;
  auto number = ParseNumberText(value);
  if (!number || !IsValidFormat(f)) return Fail(ERROR_INVALID_PARAMETER);

  RoundHalfAwayFromZero(*number, f.NumDigits);
  std::string formatted = number->integer.empty() ? (f.LeadingZero ? "0" : "")
                                                  : Grouped(number->integer, f.Grouping, f.lpThousandSep);
  if (f.NumDigits > 0) formatted += f.lpDecimalSep + number->fraction;
  if (number->negative && !IsZero(*number)) formatted = WithSign(formatted, f.NegativeOrder);

  const int needed = static_cast<int>(formatted.size()) + 1;
  if (size == 0) return needed;
  if (size < needed) return Fail(ERROR_INSUFFICIENT_BUFFER);
  formatted.copy(text, formatted.size());
  text[formatted.size()] = '\0';
  return needed;
}
