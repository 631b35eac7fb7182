// Money and quantities. Every amount, time in hours and quantity that the server computes is one of
// two fixed-point values:
// - CQVCurrencyEx: the OLE currency value CY (a signed 64-bit count of 1/10,000), kept to 0, 2 or 4
//   decimals (default 4) with a rounding mode (default: truncation);
// - CQVCurrencyEx8: a signed 64-bit count of 10^-8 in the same 8-byte CY container (records keep
//   eight-decimal quantities that way), kept to 0..8 decimals (default 8) with a rounding mode
//   (default: half away from zero).
// After every constructor (except the raw ones that say otherwise), setter, assignment and operator,
// the value has been cut or rounded to the object's decimals, so the getters read it as it is.
// Assignment takes only the other value: the target keeps its own decimals and mode and applies them.
//
// Rounding modes: 0 half away from zero, 1 truncation toward zero, 2 half to even; any other mode
// leaves the value as it is. The four-decimal value rounds to zero decimals in mode 0 in two steps,
// first to hundredths and then to units, as the family's stored amounts and postings do: 0,4950
// gives 1. Rounding is exact on the 64-bit count; conversions from doubles and products go through
// the platform's currency functions (ties to even, exact products). A failed conversion (overflow,
// division by zero) leaves its target as it was.
//
// Texts are written from every digit of the 64-bit count, with "." between thousands and ","
// before the decimals, rounded half away from zero to the object's decimals by the platform's number
// formatter.
//
// Values are plain data; an object is used by one thread at a time.
#pragma once

#include <cstdint>

#include "platform/com/currency.h"
#include "platform/mfc/CString.h"

constexpr int kQVModoArredonda = 0;  // half away from zero
constexpr int kQVModoTrunca = 1;     // toward zero
constexpr int kQVModoPar = 2;        // half to even

class CQVCurrencyEx {
 public:
  CQVCurrencyEx() = default;
  CQVCurrencyEx(double valor);
  // The raw value, taken as it is.
  CQVCurrencyEx(CY valor) : m_valor(valor) {}
  CQVCurrencyEx(const CQVCurrencyEx& outro);
  // Two decimals or four; mode 0 when bArredonda, else 1; the value of the source.
  CQVCurrencyEx(bool bDuasCasas, bool bArredonda, const CQVCurrencyEx& origem);
  CQVCurrencyEx(bool bDuasCasas, int modo, const CQVCurrencyEx& origem);
  virtual ~CQVCurrencyEx() = default;

  CQVCurrencyEx& AjustaPrecisao();
  CQVCurrencyEx& SetPrecisao(bool bDuasCasas, bool bArredonda);
  CQVCurrencyEx& SetModo(int modo);
  int GetModo() const { return m_modo; }
  CQVCurrencyEx& SetArredonda(bool bArredonda);
  bool GetArredonda() const { return m_modo == kQVModoArredonda; }
  // 0 gives 0 decimals, 1 or 2 give 2, anything else 4.
  CQVCurrencyEx& SetCasasDecimais(short casas);
  short GetCasasDecimais() const { return m_casasDecimais; }
  bool EhZeroCasas() const { return m_casasDecimais == 0; }
  bool EhDuasCasas() const { return m_casasDecimais == 2; }
  bool EhQuatroCasas() const { return m_casasDecimais == 4; }

  CY GetCY() const { return m_valor; }
  double GetDouble() const;
  int64_t GetValorBruto() const { return m_valor.int64; }
  // The value in hundredths, truncated toward zero.
  int64_t GetCentesimos() const;
  // "1.234,50" with the object's decimals.
  CString GetTexto() const;
  // The value times a factor with four implied decimals (10000 = 1,0000).
  CY MultiplicaPorFator(uint16_t fator) const;

  CQVCurrencyEx& operator=(double valor);
  CQVCurrencyEx& operator=(CY valor);
  CQVCurrencyEx& operator=(const CQVCurrencyEx& outro);

  // With a CY: exact sum and difference, the currency product, the quotient of the doubles. With a
  // double: the double becomes four decimals before a sum or difference; product and quotient are
  // computed on the doubles.
  CQVCurrencyEx& operator+=(CY valor);
  CQVCurrencyEx& operator-=(CY valor);
  CQVCurrencyEx& operator*=(CY valor);
  CQVCurrencyEx& operator/=(CY valor);
  CQVCurrencyEx& operator+=(double valor);
  CQVCurrencyEx& operator-=(double valor);
  CQVCurrencyEx& operator*=(double valor);
  CQVCurrencyEx& operator/=(double valor);

 private:
  CQVCurrencyEx& Guarda(CY valor);

  CY m_valor{};
  short m_casasDecimais = 4;
  int32_t m_modo = kQVModoTrunca;
};

class CQVCurrencyEx8 {
 public:
  CQVCurrencyEx8() = default;
  // Rounded to eight decimals half away from zero.
  CQVCurrencyEx8(double valor);
  // A raw count of 10^-8, as records keep it.
  explicit CQVCurrencyEx8(CY bruto);
  CQVCurrencyEx8(const CQVCurrencyEx8& outro);
  virtual ~CQVCurrencyEx8() = default;

  CQVCurrencyEx8& AjustaPrecisao();
  // Decimals 0..8. Outside that range modes 0 and 1 hold 0; mode 2 rounds to tens, hundreds, ...
  // below 0 decimals (0 from -12 down) and leaves the value above 8.
  CQVCurrencyEx8& SetCasasDecimais(short casas);
  short GetCasasDecimais() const { return m_casasDecimais; }
  CQVCurrencyEx8& SetArredonda(bool bArredonda);
  bool GetArredonda() const { return m_modo == kQVModoArredonda; }
  CQVCurrencyEx8& SetPrecisao(short casas, bool bArredonda);
  CQVCurrencyEx8& SetPrecisaoModo(short casas, int modo);
  int GetModo() const { return m_modo; }

  double GetDouble() const;
  int64_t GetValorBruto() const { return m_valor.int64; }
  CY GetCY() const { return m_valor; }
  // Four decimals, truncation, from the double of the value.
  CQVCurrencyEx ParaCurrencyEx() const;
  // Value, decimals and mode of the other.
  CQVCurrencyEx8& Copia(const CQVCurrencyEx8& outro);
  CQVCurrencyEx8& SetValor(CY bruto);
  CQVCurrencyEx8& SetValorBruto(int64_t bruto);
  // The value times a factor with four implied decimals, as a new value of 8 decimals, mode 0.
  CQVCurrencyEx8 MultiplicaPorFator(uint16_t fator) const;
  // "1.234,5" with the object's decimals; empty when they are outside 0..9 (the formatter's range).
  CString GetTexto() const;
  // Reads "-1.234,5", "12.5", "3": the last "," or "." is the decimal separator, every other
  // character but the digits and the first "-" is dropped.
  CQVCurrencyEx8& SetTexto(CString texto);

  CQVCurrencyEx8& operator=(double valor);
  CQVCurrencyEx8& operator=(const CQVCurrencyEx8& outro);
  // The four-decimal value rescaled exactly.
  CQVCurrencyEx8& operator=(const CQVCurrencyEx& valor);

  // A CY here is a four-decimal value: sums rescale it exactly; products and quotients are
  // computed on the doubles of the real values.
  CQVCurrencyEx8& operator+=(CY valor);
  CQVCurrencyEx8& operator-=(CY valor);
  CQVCurrencyEx8& operator*=(CY valor);
  CQVCurrencyEx8& operator/=(CY valor);
  CQVCurrencyEx8& operator+=(const CQVCurrencyEx8& outro);
  CQVCurrencyEx8& operator-=(const CQVCurrencyEx8& outro);
  CQVCurrencyEx8& operator*=(const CQVCurrencyEx8& outro);
  CQVCurrencyEx8& operator/=(const CQVCurrencyEx8& outro);

 private:
  CQVCurrencyEx8& GuardaBruto(int64_t bruto);

  CY m_valor{};
  short m_casasDecimais = 8;
  int32_t m_modo = kQVModoArredonda;
};

// Out-parameter forms of the operations on bare CY values. Sums and differences are exact 64-bit
// integer arithmetic; the product is the currency product; quotients go through doubles.
void QVSomaCY(CY a, CY b, CY& resultado);
void QVSubtraiCY(CY a, CY b, CY& resultado);
void QVMultiplicaCY(CY a, CY b, CY& resultado);
void QVDivideCY(CY a, CY b, CY& resultado);
void QVMultiplicaCYDouble(CY a, double b, CY& resultado);
void QVDivideCYDouble(CY a, double b, CY& resultado);
void QVDivideDoubleCY(double a, CY b, CY& resultado);

// Operators on bare CY values, built on the functions above. A double operand of a sum, difference
// or comparison is first made a four-decimal value (1,0000 equals 1.00004). A result that cannot be
// computed (overflow, division by zero) is 0; the compound forms leave their left operand as it was.
CY operator+(CY a, CY b);
CY operator+(CY a, double b);
CY operator+(double a, CY b);
CY operator-(CY a, CY b);
CY operator-(CY a, double b);
CY operator-(double a, CY b);
CY operator+(CY a);
CY operator-(CY a);
CY operator*(CY a, CY b);
CY operator*(CY a, double b);
CY operator*(double a, CY b);
CY operator/(CY a, CY b);
CY operator/(CY a, double b);
CY operator/(double a, CY b);
bool operator==(CY a, CY b);
bool operator==(CY a, double b);
bool operator==(double a, CY b);
bool operator!=(CY a, CY b);
bool operator!=(CY a, double b);
bool operator!=(double a, CY b);
bool operator<(CY a, CY b);
bool operator<(CY a, double b);
bool operator<(double a, CY b);
bool operator>(CY a, CY b);
bool operator>(CY a, double b);
bool operator>(double a, CY b);
bool operator<=(CY a, CY b);
bool operator<=(CY a, double b);
bool operator<=(double a, CY b);
bool operator>=(CY a, CY b);
bool operator>=(CY a, double b);
bool operator>=(double a, CY b);
CY& operator+=(CY& a, CY b);
CY& operator+=(CY& a, double b);
CY& operator-=(CY& a, CY b);
CY& operator-=(CY& a, double b);
CY& operator*=(CY& a, CY b);
CY& operator*=(CY& a, double b);
CY& operator/=(CY& a, CY b);
CY& operator/=(CY& a, double b);

// Operators of eight-decimal values: a new value of 8 decimals, mode 0. A CY is a four-decimal
// value; sums and differences are exact, products and quotients go through doubles.
CQVCurrencyEx8 operator+(CY a, const CQVCurrencyEx8& b);
CQVCurrencyEx8 operator+(const CQVCurrencyEx8& a, CY b);
CQVCurrencyEx8 operator+(const CQVCurrencyEx8& a, const CQVCurrencyEx8& b);
CQVCurrencyEx8 operator-(CY a, const CQVCurrencyEx8& b);
CQVCurrencyEx8 operator-(const CQVCurrencyEx8& a, CY b);
CQVCurrencyEx8 operator-(const CQVCurrencyEx8& a, const CQVCurrencyEx8& b);
CQVCurrencyEx8 operator*(CY a, const CQVCurrencyEx8& b);
CQVCurrencyEx8 operator*(const CQVCurrencyEx8& a, CY b);
CQVCurrencyEx8 operator*(const CQVCurrencyEx8& a, const CQVCurrencyEx8& b);
CQVCurrencyEx8 operator/(CY a, const CQVCurrencyEx8& b);
CQVCurrencyEx8 operator/(const CQVCurrencyEx8& a, CY b);
CQVCurrencyEx8 operator/(const CQVCurrencyEx8& a, const CQVCurrencyEx8& b);

// A calculator step: '+', '-', '*' or '/' between a and b (or the integer n), assigned to resultado
// as a CY, so that resultado keeps its own decimals and mode. Any other operator leaves it as it is.
void QVOperaCurrency(CQVCurrencyEx a, char operador, CQVCurrencyEx b, CQVCurrencyEx& resultado);
void QVOperaCurrencyLong(CQVCurrencyEx a, char operador, int32_t n, CQVCurrencyEx& resultado);

// x rounded (half away from zero) or truncated toward zero to d decimals, computed on doubles;
// d outside 0..8 gives 0.0.
double QVArredondaValor(double x, int d, bool bArredonda);
// Modes 0 and 1 round half away from zero (QVArredondaValor); mode 2 rounds half to even on the
// eight-decimal value; any other mode gives 0.0.
double QVArredondaPorModo(double x, int d, int modo);
// Whether |x - y| < 10^-n.
bool QVValoresProximos(double x, double y, int n);

// Whether a text is a number as users type it: an optional sign, digits (or groups of three
// separated by "." after a first group of one to three digits), and optionally "," or "." with
// decimals. A blank text is accepted.
bool QVValidaTextoNumero(const char* texto);

// The value multiplied by the factor of unidadeA and then by the factor of unidadeB (codes 2:
// 1/100, 3: 1/100000, 4: 1/1000000, 5: 1/1000, 6: 2,21, others 1), each step four decimals.
CY QVConverteUnidade(CY valor, int unidadeA, int unidadeB);
