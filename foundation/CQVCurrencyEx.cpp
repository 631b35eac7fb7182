#include "foundation/CQVCurrencyEx.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <string>

namespace {

enum class Regra { kMeioAcima, kTrunca, kMeioPar };

Regra RegraDoModo(int modo) {
  if (modo == kQVModoArredonda) return Regra::kMeioAcima;
  return modo == kQVModoTrunca ? Regra::kTrunca : Regra::kMeioPar;
}

bool ModoConhecido(int modo) { return modo >= kQVModoArredonda && modo <= kQVModoPar; }

uint64_t PotenciaDez(int expoente) {
  uint64_t potencia = 1;
  while (expoente-- > 0) potencia *= 10;
  return potencia;
}

// |valor|, also of the most negative count.
uint64_t Magnitude(int64_t valor) {
  return valor < 0 ? 0 - static_cast<uint64_t>(valor) : static_cast<uint64_t>(valor);
}

// The count cut or rounded to a multiple of `passo` (up to 10^19), on its magnitude (0 counts as
// positive). A value has no way to report an overflow, so a result beyond the 64-bit range wraps
// round; unsigned arithmetic makes that defined.
int64_t ArredondaMultiplo(int64_t valor, uint64_t passo, Regra regra) {
  const bool negativo = valor < 0;
  const uint64_t magnitude = Magnitude(valor);
  uint64_t quociente = magnitude / passo;
  const uint64_t resto = magnitude % passo;
  // Compared with what is left of the step, as twice the remainder can pass 2^64.
  const bool metade = resto == passo - resto, passaDaMetade = resto > passo - resto;
  if ((regra == Regra::kMeioAcima && (metade || passaDaMetade)) ||
      (regra == Regra::kMeioPar && (passaDaMetade || (metade && quociente % 2 == 1))))
    ++quociente;
  const uint64_t resultado = quociente * passo;
  return static_cast<int64_t>(negativo ? 0 - resultado : resultado);
}

// 64-bit sums and differences without an overflow test: as above, a result beyond the range wraps.
int64_t SomaBruta(int64_t a, int64_t b) { return static_cast<int64_t>(static_cast<uint64_t>(a) + static_cast<uint64_t>(b)); }
int64_t DiferencaBruta(int64_t a, int64_t b) {
  return static_cast<int64_t>(static_cast<uint64_t>(a) - static_cast<uint64_t>(b));
}

// A four-decimal count as a count of 10^-8.
int64_t OitoCasas(CY valor) { return static_cast<int64_t>(static_cast<uint64_t>(valor.int64) * 10000u); }

double DoubleDe(CY valor) {
  double resultado;
  VarR8FromCy(valor, &resultado);
  return resultado;
}

// A double as four decimals, the way every sum and comparison with a double takes it.
CY CYDe(double valor) { return CQVCurrencyEx(valor).GetCY(); }

// A count with `escala` implied decimals written with `casas` decimals. The formatter gets every
// digit of the count ("-1234.56780000"): a double keeps 15 significant digits, which blanks
// quantities below 0,0001 (only its exponent form writes them) and changes the last digits of large
// amounts. The formatter rounds half away from zero and refuses decimals beyond 9 (empty text).
CString TextoDoValor(int64_t contagem, int escala, int casas) {
  const uint64_t magnitude = Magnitude(contagem), unidade = PotenciaDez(escala);
  const std::string decimais = std::to_string(magnitude % unidade);
  std::string numero = contagem < 0 ? "-" : "";
  numero.append(std::to_string(magnitude / unidade)).append(".");
  numero.append(escala - decimais.size(), '0').append(decimais);
  const NUMBERFMTA formato{static_cast<UINT>(casas), 1, 3, ",", ".", 1};
  char texto[100] = "";
  if (GetNumberFormatA(0, 0, numero.c_str(), &formato, texto, sizeof texto) == 0) return "";
  return texto;
}

}  // namespace

// --- CQVCurrencyEx -------------------------------------------------------------------------------

CQVCurrencyEx::CQVCurrencyEx(double valor) { VarCyFromR8(valor, &m_valor); }

CQVCurrencyEx::CQVCurrencyEx(const CQVCurrencyEx& outro)
    : m_valor(outro.m_valor), m_casasDecimais(outro.m_casasDecimais), m_modo(outro.m_modo) {
  AjustaPrecisao();
}

CQVCurrencyEx::CQVCurrencyEx(bool bDuasCasas, bool bArredonda, const CQVCurrencyEx& origem)
    : CQVCurrencyEx(bDuasCasas, bArredonda ? kQVModoArredonda : kQVModoTrunca, origem) {}

CQVCurrencyEx::CQVCurrencyEx(bool bDuasCasas, int modo, const CQVCurrencyEx& origem)
    : m_valor(origem.m_valor), m_casasDecimais(bDuasCasas ? 2 : 4), m_modo(modo) {
  AjustaPrecisao();
}

CQVCurrencyEx& CQVCurrencyEx::AjustaPrecisao() {
  if ((m_casasDecimais != 0 && m_casasDecimais != 2) || !ModoConhecido(m_modo)) return *this;
  const Regra regra = RegraDoModo(m_modo);
  int64_t& valor = m_valor.int64;
  if (m_casasDecimais == 2) {
    valor = ArredondaMultiplo(valor, 100, regra);
    return *this;
  }
  // Units in mode 0 are rounded from the hundredths: 0,4950 becomes 0,50 and then 1.
  if (regra == Regra::kMeioAcima) valor = ArredondaMultiplo(valor, 100, regra);
  valor = ArredondaMultiplo(valor, 10000, regra);
  return *this;
}

CQVCurrencyEx& CQVCurrencyEx::SetPrecisao(bool bDuasCasas, bool bArredonda) {
  m_casasDecimais = bDuasCasas ? 2 : 4;
  m_modo = bArredonda ? kQVModoArredonda : kQVModoTrunca;
  return AjustaPrecisao();
}

CQVCurrencyEx& CQVCurrencyEx::SetModo(int modo) {
  m_modo = modo;
  return AjustaPrecisao();
}

CQVCurrencyEx& CQVCurrencyEx::SetArredonda(bool bArredonda) {
  return SetModo(bArredonda ? kQVModoArredonda : kQVModoTrunca);
}

CQVCurrencyEx& CQVCurrencyEx::SetCasasDecimais(short casas) {
  if (casas == 0)
    m_casasDecimais = 0;
  else if (casas == 1 || casas == 2)
    m_casasDecimais = 2;
  else
    m_casasDecimais = 4;
  return AjustaPrecisao();
}

double CQVCurrencyEx::GetDouble() const { return DoubleDe(m_valor); }

int64_t CQVCurrencyEx::GetCentesimos() const { return static_cast<int64_t>(m_valor.int64 / 100.0); }

CString CQVCurrencyEx::GetTexto() const { return TextoDoValor(m_valor.int64, 4, m_casasDecimais); }

CY CQVCurrencyEx::MultiplicaPorFator(uint16_t fator) const {
  CY resultado{};
  VarCyFromR8(GetDouble() * fator / 10000.0, &resultado);
  return resultado;
}

CQVCurrencyEx& CQVCurrencyEx::Guarda(CY valor) {
  m_valor = valor;
  return AjustaPrecisao();
}

CQVCurrencyEx& CQVCurrencyEx::operator=(double valor) {
  CY novo = m_valor;
  VarCyFromR8(valor, &novo);
  return Guarda(novo);
}

CQVCurrencyEx& CQVCurrencyEx::operator=(CY valor) { return Guarda(valor); }

CQVCurrencyEx& CQVCurrencyEx::operator=(const CQVCurrencyEx& outro) { return Guarda(outro.m_valor); }

CQVCurrencyEx& CQVCurrencyEx::operator+=(CY valor) {
  QVSomaCY(m_valor, valor, m_valor);
  return AjustaPrecisao();
}

CQVCurrencyEx& CQVCurrencyEx::operator-=(CY valor) {
  QVSubtraiCY(m_valor, valor, m_valor);
  return AjustaPrecisao();
}

CQVCurrencyEx& CQVCurrencyEx::operator*=(CY valor) {
  QVMultiplicaCY(m_valor, valor, m_valor);
  return AjustaPrecisao();
}

CQVCurrencyEx& CQVCurrencyEx::operator/=(CY valor) {
  QVDivideCY(m_valor, valor, m_valor);
  return AjustaPrecisao();
}

CQVCurrencyEx& CQVCurrencyEx::operator+=(double valor) { return *this += CYDe(valor); }

CQVCurrencyEx& CQVCurrencyEx::operator-=(double valor) { return *this -= CYDe(valor); }

CQVCurrencyEx& CQVCurrencyEx::operator*=(double valor) {
  QVMultiplicaCYDouble(m_valor, valor, m_valor);
  return AjustaPrecisao();
}

CQVCurrencyEx& CQVCurrencyEx::operator/=(double valor) {
  QVDivideCYDouble(m_valor, valor, m_valor);
  return AjustaPrecisao();
}

// --- CQVCurrencyEx8 ------------------------------------------------------------------------------

CQVCurrencyEx8::CQVCurrencyEx8(double valor) {
  VarCyFromR8(QVArredondaPorModo(valor, 8, kQVModoArredonda) * 10000.0, &m_valor);
}

CQVCurrencyEx8::CQVCurrencyEx8(CY bruto) : m_valor(bruto) { AjustaPrecisao(); }

CQVCurrencyEx8::CQVCurrencyEx8(const CQVCurrencyEx8& outro)
    : m_valor(outro.m_valor), m_casasDecimais(outro.m_casasDecimais), m_modo(outro.m_modo) {
  AjustaPrecisao();
}

// Exact on the count of 10^-8 in every mode: a double would change values already within their
// decimals (0,52099 truncated at six decimals) and round some halves down.
CQVCurrencyEx8& CQVCurrencyEx8::AjustaPrecisao() {
  int64_t& valor = m_valor.int64;
  if (m_modo == kQVModoArredonda || m_modo == kQVModoTrunca) {
    const bool casasValidas = m_casasDecimais >= 0 && m_casasDecimais <= 8;
    valor = casasValidas ? ArredondaMultiplo(valor, PotenciaDez(8 - m_casasDecimais), RegraDoModo(m_modo)) : 0;
    return *this;
  }
  if (m_modo != kQVModoPar || m_casasDecimais >= 8) return *this;
  // Half to even at any number of decimals below 8, negative ones too (tens, hundreds, ...). A step
  // beyond 10^19, the largest power of ten in 64 bits, is more than twice every magnitude: 0.
  const int expoente = 8 - m_casasDecimais;
  valor = expoente > 19 ? 0 : ArredondaMultiplo(valor, PotenciaDez(expoente), Regra::kMeioPar);
  return *this;
}

CQVCurrencyEx8& CQVCurrencyEx8::SetCasasDecimais(short casas) {
  m_casasDecimais = casas;
  return AjustaPrecisao();
}

CQVCurrencyEx8& CQVCurrencyEx8::SetArredonda(bool bArredonda) {
  m_modo = bArredonda ? kQVModoArredonda : kQVModoTrunca;
  return AjustaPrecisao();
}

CQVCurrencyEx8& CQVCurrencyEx8::SetPrecisao(short casas, bool bArredonda) {
  return SetPrecisaoModo(casas, bArredonda ? kQVModoArredonda : kQVModoTrunca);
}

CQVCurrencyEx8& CQVCurrencyEx8::SetPrecisaoModo(short casas, int modo) {
  m_casasDecimais = casas;
  m_modo = modo;
  return AjustaPrecisao();
}

double CQVCurrencyEx8::GetDouble() const { return m_valor.int64 / 1e8; }

CQVCurrencyEx CQVCurrencyEx8::ParaCurrencyEx() const {
  CQVCurrencyEx valor;
  valor = GetDouble();
  return valor;
}

CQVCurrencyEx8& CQVCurrencyEx8::Copia(const CQVCurrencyEx8& outro) {
  m_casasDecimais = outro.m_casasDecimais;
  m_modo = outro.m_modo;
  return GuardaBruto(outro.m_valor.int64);
}

CQVCurrencyEx8& CQVCurrencyEx8::SetValor(CY bruto) { return GuardaBruto(bruto.int64); }

CQVCurrencyEx8& CQVCurrencyEx8::SetValorBruto(int64_t bruto) { return GuardaBruto(bruto); }

CQVCurrencyEx8 CQVCurrencyEx8::MultiplicaPorFator(uint16_t fator) const {
  CQVCurrencyEx8 resultado;
  resultado = GetDouble() * (fator / 10000.0);
  return resultado;
}

CString CQVCurrencyEx8::GetTexto() const { return TextoDoValor(m_valor.int64, 8, m_casasDecimais); }

CQVCurrencyEx8& CQVCurrencyEx8::SetTexto(CString texto) {
  const int menos = texto.Find('-');
  if (menos >= 0) texto.Delete(menos);
  const int separador = std::max(texto.ReverseFind(','), texto.ReverseFind('.'));
  const int decimais = separador < 0 ? 0 : texto.GetLength() - separador - 1;
  std::string digitos;
  for (char c : texto.str())
    if (c >= '0' && c <= '9') digitos += c;
  const size_t inteiros = digitos.size() - std::min(digitos.size(), static_cast<size_t>(decimais));
  std::string numero = menos >= 0 ? "-" : "";
  numero.append(digitos, 0, inteiros);
  if (decimais > 0) numero.append(".").append(digitos, inteiros);
  return *this = atof(numero.c_str());
}

CQVCurrencyEx8& CQVCurrencyEx8::GuardaBruto(int64_t bruto) {
  m_valor.int64 = bruto;
  return AjustaPrecisao();
}

CQVCurrencyEx8& CQVCurrencyEx8::operator=(double valor) {
  CY novo = m_valor;
  VarCyFromR8(valor * 10000.0, &novo);
  return GuardaBruto(novo.int64);
}

CQVCurrencyEx8& CQVCurrencyEx8::operator=(const CQVCurrencyEx8& outro) { return GuardaBruto(outro.m_valor.int64); }

CQVCurrencyEx8& CQVCurrencyEx8::operator=(const CQVCurrencyEx& valor) { return GuardaBruto(OitoCasas(valor.GetCY())); }

CQVCurrencyEx8& CQVCurrencyEx8::operator+=(CY valor) { return GuardaBruto(SomaBruta(m_valor.int64, OitoCasas(valor))); }

CQVCurrencyEx8& CQVCurrencyEx8::operator-=(CY valor) { return GuardaBruto(DiferencaBruta(m_valor.int64, OitoCasas(valor))); }

CQVCurrencyEx8& CQVCurrencyEx8::operator*=(CY valor) { return *this = GetDouble() * DoubleDe(valor); }

CQVCurrencyEx8& CQVCurrencyEx8::operator/=(CY valor) { return *this = GetDouble() / DoubleDe(valor); }

CQVCurrencyEx8& CQVCurrencyEx8::operator+=(const CQVCurrencyEx8& outro) {
  return GuardaBruto(SomaBruta(m_valor.int64, outro.m_valor.int64));
}

CQVCurrencyEx8& CQVCurrencyEx8::operator-=(const CQVCurrencyEx8& outro) {
  return GuardaBruto(DiferencaBruta(m_valor.int64, outro.m_valor.int64));
}

CQVCurrencyEx8& CQVCurrencyEx8::operator*=(const CQVCurrencyEx8& outro) { return *this = GetDouble() * outro.GetDouble(); }

CQVCurrencyEx8& CQVCurrencyEx8::operator/=(const CQVCurrencyEx8& outro) { return *this = GetDouble() / outro.GetDouble(); }

// --- Bare CY values ------------------------------------------------------------------------------

void QVSomaCY(CY a, CY b, CY& resultado) { resultado.int64 = SomaBruta(a.int64, b.int64); }

void QVSubtraiCY(CY a, CY b, CY& resultado) { resultado.int64 = DiferencaBruta(a.int64, b.int64); }

void QVMultiplicaCY(CY a, CY b, CY& resultado) { VarCyMul(a, b, &resultado); }

void QVDivideCY(CY a, CY b, CY& resultado) { VarCyFromR8(DoubleDe(a) / DoubleDe(b), &resultado); }

void QVMultiplicaCYDouble(CY a, double b, CY& resultado) { VarCyFromR8(DoubleDe(a) * b, &resultado); }

void QVDivideCYDouble(CY a, double b, CY& resultado) { VarCyFromR8(DoubleDe(a) / b, &resultado); }

void QVDivideDoubleCY(double a, CY b, CY& resultado) { VarCyFromR8(a / DoubleDe(b), &resultado); }

namespace {

template <typename A, typename B>
CY Calcula(void (*operacao)(A, B, CY&), A a, B b) {
  CY resultado{};
  operacao(a, b, resultado);
  return resultado;
}

}  // namespace

CY operator+(CY a, CY b) { return Calcula(QVSomaCY, a, b); }
CY operator+(CY a, double b) { return a + CYDe(b); }
CY operator+(double a, CY b) { return CYDe(a) + b; }
CY operator-(CY a, CY b) { return Calcula(QVSubtraiCY, a, b); }
CY operator-(CY a, double b) { return a - CYDe(b); }
CY operator-(double a, CY b) { return CYDe(a) - b; }
CY operator+(CY a) { return a; }
CY operator-(CY a) { return CY{} - a; }
CY operator*(CY a, CY b) { return Calcula(QVMultiplicaCY, a, b); }
CY operator*(CY a, double b) { return Calcula(QVMultiplicaCYDouble, a, b); }
CY operator*(double a, CY b) { return Calcula(QVMultiplicaCYDouble, b, a); }
CY operator/(CY a, CY b) { return Calcula(QVDivideCY, a, b); }
CY operator/(CY a, double b) { return Calcula(QVDivideCYDouble, a, b); }
CY operator/(double a, CY b) { return Calcula(QVDivideDoubleCY, a, b); }

bool operator==(CY a, CY b) { return a.int64 == b.int64; }
bool operator==(CY a, double b) { return a == CYDe(b); }
bool operator==(double a, CY b) { return CYDe(a) == b; }
bool operator!=(CY a, CY b) { return !(a == b); }
bool operator!=(CY a, double b) { return !(a == b); }
bool operator!=(double a, CY b) { return !(a == b); }
bool operator<(CY a, CY b) { return a.int64 < b.int64; }
bool operator<(CY a, double b) { return a < CYDe(b); }
bool operator<(double a, CY b) { return CYDe(a) < b; }
bool operator>(CY a, CY b) { return b < a; }
bool operator>(CY a, double b) { return CYDe(b) < a; }
bool operator>(double a, CY b) { return b < CYDe(a); }
bool operator<=(CY a, CY b) { return !(b < a); }
bool operator<=(CY a, double b) { return !(CYDe(b) < a); }
bool operator<=(double a, CY b) { return !(b < CYDe(a)); }
bool operator>=(CY a, CY b) { return !(a < b); }
bool operator>=(CY a, double b) { return !(a < CYDe(b)); }
bool operator>=(double a, CY b) { return !(CYDe(a) < b); }

CY& operator+=(CY& a, CY b) { return a = a + b; }
CY& operator+=(CY& a, double b) { return a = a + b; }
CY& operator-=(CY& a, CY b) { return a = a - b; }
CY& operator-=(CY& a, double b) { return a = a - b; }
CY& operator*=(CY& a, CY b) {
  QVMultiplicaCY(a, b, a);
  return a;
}
CY& operator*=(CY& a, double b) {
  QVMultiplicaCYDouble(a, b, a);
  return a;
}
CY& operator/=(CY& a, CY b) {
  QVDivideCY(a, b, a);
  return a;
}
CY& operator/=(CY& a, double b) {
  QVDivideCYDouble(a, b, a);
  return a;
}

// --- Eight-decimal operators ---------------------------------------------------------------------

namespace {

CQVCurrencyEx8 DeBruto(int64_t bruto) {
  CQVCurrencyEx8 resultado;
  return resultado.SetValorBruto(bruto);
}

CQVCurrencyEx8 DeDouble(double valor) {
  CQVCurrencyEx8 resultado;
  resultado = valor;
  return resultado;
}

}  // namespace

CQVCurrencyEx8 operator+(CY a, const CQVCurrencyEx8& b) { return DeBruto(SomaBruta(OitoCasas(a), b.GetValorBruto())); }
CQVCurrencyEx8 operator+(const CQVCurrencyEx8& a, CY b) { return DeBruto(SomaBruta(a.GetValorBruto(), OitoCasas(b))); }
CQVCurrencyEx8 operator+(const CQVCurrencyEx8& a, const CQVCurrencyEx8& b) {
  return DeBruto(SomaBruta(a.GetValorBruto(), b.GetValorBruto()));
}
CQVCurrencyEx8 operator-(CY a, const CQVCurrencyEx8& b) { return DeBruto(DiferencaBruta(OitoCasas(a), b.GetValorBruto())); }
CQVCurrencyEx8 operator-(const CQVCurrencyEx8& a, CY b) { return DeBruto(DiferencaBruta(a.GetValorBruto(), OitoCasas(b))); }
CQVCurrencyEx8 operator-(const CQVCurrencyEx8& a, const CQVCurrencyEx8& b) {
  return DeBruto(DiferencaBruta(a.GetValorBruto(), b.GetValorBruto()));
}
CQVCurrencyEx8 operator*(CY a, const CQVCurrencyEx8& b) { return DeDouble(DoubleDe(a) * b.GetDouble()); }
CQVCurrencyEx8 operator*(const CQVCurrencyEx8& a, CY b) { return DeDouble(a.GetDouble() * DoubleDe(b)); }
CQVCurrencyEx8 operator*(const CQVCurrencyEx8& a, const CQVCurrencyEx8& b) { return DeDouble(a.GetDouble() * b.GetDouble()); }
CQVCurrencyEx8 operator/(CY a, const CQVCurrencyEx8& b) { return DeDouble(DoubleDe(a) / b.GetDouble()); }
CQVCurrencyEx8 operator/(const CQVCurrencyEx8& a, CY b) { return DeDouble(a.GetDouble() / DoubleDe(b)); }
CQVCurrencyEx8 operator/(const CQVCurrencyEx8& a, const CQVCurrencyEx8& b) { return DeDouble(a.GetDouble() / b.GetDouble()); }

// --- Calculator ----------------------------------------------------------------------------------

void QVOperaCurrency(CQVCurrencyEx a, char operador, CQVCurrencyEx b, CQVCurrencyEx& resultado) {
  const CY x = a.GetCY(), y = b.GetCY();
  switch (operador) {
    case '*': resultado = x * y; break;
    case '+': resultado = x + y; break;
    case '-': resultado = x - y; break;
    case '/': resultado = x / y; break;
    default: break;
  }
}

void QVOperaCurrencyLong(CQVCurrencyEx a, char operador, int32_t n, CQVCurrencyEx& resultado) {
  CY y{};
  VarCyFromI4(n, &y);
  QVOperaCurrency(a, operador, CQVCurrencyEx(y), resultado);
}

// --- Rounding of doubles -------------------------------------------------------------------------

namespace {

constexpr double kPotencias[20] = {1e-9, 1e-8, 1e-7, 1e-6, 1e-5, 1e-4, 1e-3, 1e-2, 1e-1, 1e0,
                                   1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10};

double Potencia(int expoente) { return kPotencias[expoente + 9]; }

}  // namespace

double QVArredondaValor(double x, int d, bool bArredonda) {
  if (d < 0 || d > 8) return 0.0;
  double y = x * Potencia(d + 1);
  if (bArredonda) y = y >= 0 ? y + 5 : y - 5;
  return std::trunc(y * 0.1) * Potencia(-d);
}

double QVArredondaPorModo(double x, int d, int modo) {
  if (modo == kQVModoArredonda || modo == kQVModoTrunca) return QVArredondaValor(x, d, true);
  if (modo != kQVModoPar) return 0.0;
  CQVCurrencyEx8 valor;
  valor.SetPrecisaoModo(static_cast<short>(d), kQVModoPar);
  valor = x;
  return valor.GetDouble();
}

bool QVValoresProximos(double x, double y, int n) { return std::fabs(x - y) < std::pow(10.0, -n); }

// --- Number texts --------------------------------------------------------------------------------

namespace {

// Character classes: digit, ".", sign, anything else (the comma and blanks included).
int QVClasseCaractereNumero(char c) {
  if (c >= '0' && c <= '9') return 0;
  if (c == '.') return 1;
  if (c == '+' || c == '-') return 2;
  return 3;
}

constexpr int kMorto = 10;
// States 0-1: before the first digit; 2-5: plain digits (5: too many for a group); 6-9: a group of
// three after a "."; 10: dead.
constexpr int kProximoEstado[11][4] = {
    {2, kMorto, 1, kMorto},      {2, kMorto, kMorto, kMorto}, {3, 6, kMorto, kMorto},
    {4, 6, kMorto, kMorto},      {5, 6, kMorto, kMorto},      {5, kMorto, kMorto, kMorto},
    {7, kMorto, kMorto, kMorto}, {8, kMorto, kMorto, kMorto}, {9, kMorto, kMorto, kMorto},
    {kMorto, 6, kMorto, kMorto}, {kMorto, kMorto, kMorto, kMorto},
};
constexpr bool kAceita[11] = {false, false, true, true, true, true, false, false, false, true, false};

bool Aceita(const std::string& parte, int estado) {
  for (char c : parte) estado = kProximoEstado[estado][QVClasseCaractereNumero(c)];
  return kAceita[estado];
}

}  // namespace

bool QVValidaTextoNumero(const char* texto) {
  CString aparado(texto);
  aparado.TrimLeft();
  aparado.TrimRight();
  if (aparado.IsEmpty()) return true;

  const std::string inteiro = texto;
  const size_t separador = inteiro.find_last_of(",.");
  const bool temSeparador = separador != std::string::npos;
  if (!Aceita(temSeparador && separador > 0 ? inteiro.substr(0, separador) : inteiro, 0)) return false;
  if (!temSeparador) return true;
  if (separador == inteiro.size() - 1) return false;
  return Aceita(inteiro.substr(separador + 1), 4);
}

// --- Units ---------------------------------------------------------------------------------------

namespace {

struct Fator {
  double multiplicador;
  double divisor;
};

Fator FatorDaUnidade(int unidade) {
  switch (unidade) {
    case 2: return {1, 100};
    case 3: return {1, 100000};
    case 4: return {1, 1000000};
    case 5: return {1, 1000};
    case 6: return {2.21, 1};
    default: return {1, 1};
  }
}

void AplicaFator(CQVCurrencyEx& valor, int unidade) {
  const Fator fator = FatorDaUnidade(unidade);
  valor *= CYDe(fator.multiplicador);
  valor /= fator.divisor;
}

}  // namespace

CY QVConverteUnidade(CY valor, int unidadeA, int unidadeB) {
  CQVCurrencyEx convertido(valor);
  AplicaFator(convertido, unidadeA);
  AplicaFator(convertido, unidadeB);
  return convertido.GetCY();
}
