#include "foundation/QVTexto.h"

#include <cstdio>
#include <cstring>
#include <string>

#include "platform/com/bstr.h"
#include "platform/win32/codepage.h"

namespace {

constexpr LCID kPortuguesBrasil = 1046;

// "1234567" -> "1.234.567".
std::string AgrupaMilhares(const std::string& inteiro) {
  std::string resultado;
  for (size_t i = 0; i < inteiro.size(); ++i) {
    if (i > 0 && (inteiro.size() - i) % 3 == 0) resultado += '.';
    resultado += inteiro[i];
  }
  return resultado;
}

bool EhNegativo(CY valor) { return valor.int64 < 0; }

// Integer digits and the four decimal digits of an amount.
void SeparaDigitos(CY valor, std::string& inteiro, std::string& decimais) {
  char digitos[32];
  QVValorParaDigitos(valor, digitos);
  std::string todos(digitos);
  if (todos.size() < 4) todos.insert(0, 4 - todos.size(), '0');
  inteiro = todos.substr(0, todos.size() - 4);
  decimais = todos.substr(todos.size() - 4);
}

CString Monta(bool negativo, const std::string& inteiro, const std::string& decimais, bool comVirgula) {
  std::string texto = negativo ? "-" : "";
  texto += inteiro.empty() ? "0" : AgrupaMilhares(inteiro);
  if (comVirgula) texto += "," + decimais;
  return CString(texto);
}

}  // namespace

CString QVNumeroParaTexto(uint16_t numero) {
  CString texto;
  texto.Format("%u", static_cast<unsigned>(numero));
  return texto;
}

int QVExtraiDigitos(const char* texto, char* buffer) {
  int n = 0;
  for (; texto && *texto; ++texto)
    if (*texto >= '0' && *texto <= '9') buffer[n++] = *texto;
  buffer[n] = 0;
  return n;
}

char* QVSomenteDigitos(char* texto) {
  QVExtraiDigitos(texto, texto);
  return texto;
}

CString QVSomenteDigitosTexto(const CString& texto) {
  CString resultado;
  QVExtraiDigitos(texto, resultado.GetBuffer(texto.GetLength()));
  resultado.ReleaseBuffer();
  return resultado;
}

char* QVValorParaDigitos(CY valor, char* buffer) {
  buffer[0] = 0;
  BSTR texto = nullptr;
  if (FAILED(VarBstrFromCy(valor, kPortuguesBrasil, 0, &texto))) return buffer;
  std::string ansi = AnsiFromWide(std::u16string_view(texto, SysStringLen(texto)));
  SysFreeString(texto);
  size_t virgula = ansi.find(',');
  size_t decimais = virgula == std::string::npos ? 0 : ansi.size() - virgula - 1;
  if (virgula == std::string::npos) ansi += ',';
  ansi.append(decimais < 4 ? 4 - decimais : 0, '0');
  QVExtraiDigitos(ansi.c_str(), buffer);
  return buffer;
}

CString QVFormataValor(CY valor) {
  std::string inteiro, decimais;
  SeparaDigitos(valor, inteiro, decimais);
  while (decimais.size() > 2 && decimais.back() == '0') decimais.pop_back();
  return Monta(EhNegativo(valor), inteiro, decimais, true);
}

CString QVFormataValorDecimais(CY valor, int n) {
  std::string inteiro, decimais;
  SeparaDigitos(valor, inteiro, decimais);
  if (n < 0) n = 0;
  if (n > 8) n = 8;
  decimais = (decimais + "0000").substr(0, static_cast<size_t>(n));
  bool comVirgula = inteiro.empty() || n > 0;
  return Monta(EhNegativo(valor), inteiro, decimais, comVirgula);
}

CString QVFormataValor8(int64_t valor, int n) {
  uint64_t absoluto = valor < 0 ? 0 - static_cast<uint64_t>(valor) : static_cast<uint64_t>(valor);
  char digitos[32];
  snprintf(digitos, sizeof digitos, "%09llu", static_cast<unsigned long long>(absoluto));
  std::string todos(digitos);
  std::string inteiro = todos.substr(0, todos.size() - 8);
  std::string decimais = todos.substr(todos.size() - 8, static_cast<size_t>(n > 0 ? (n > 8 ? 8 : n) : 0));
  return Monta(valor < 0, inteiro, decimais, n > 0);
}
