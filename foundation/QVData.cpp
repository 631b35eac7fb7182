#include "foundation/QVData.h"

#include <cmath>
#include <cstdio>
#include <string>

#include "platform/mfc/COleDateTime.h"

namespace {

// Thirteen months: month 13 is January of the following year, which the next-date rules rely on.
constexpr int kDiasMes[13] = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31, 31};
constexpr int kDiasAntes[13] = {0, 31, 59, 90, 120, 151, 181, 212, 243, 273, 304, 334, 365};

bool EhBissexto2Digitos(int yy) { return yy % 4 == 0; }

int AnoPeloPivo(int yy) { return yy < 27 ? 2000 + yy : 1900 + yy; }

int LimitaDia(int dia, int mes, int yy) {
  if (mes < 1 || mes > 13) return dia;
  if (dia > kDiasMes[mes - 1]) dia = kDiasMes[mes - 1];
  if (mes == 2 && dia == 29 && !EhBissexto2Digitos(yy)) dia = 28;
  return dia;
}

int DiasAntes(int mes) { return (mes >= 1 && mes <= 13) ? kDiasAntes[mes - 1] : 0; }

// The digits of the first `limite` characters of a text.
std::string Digitos(const char* texto, int limite) {
  std::string digitos;
  for (int i = 0; texto && i < limite && texto[i]; ++i)
    if (texto[i] >= '0' && texto[i] <= '9') digitos += texto[i];
  return digitos;
}

// The number written by the digits [inicio, inicio + tamanho) of a digit string; missing digits are
// simply absent, so a short text reads as smaller numbers rather than failing.
int NumeroEm(const std::string& digitos, size_t inicio, size_t tamanho) {
  int numero = 0;
  for (size_t i = inicio; i < inicio + tamanho && i < digitos.size(); ++i) numero = numero * 10 + (digitos[i] - '0');
  return numero;
}

// Formats into the caller's buffer of `tamanho` bytes; the texts of this file always fit, the local
// buffer only keeps an impossible value from writing past it.
template <typename... Args>
char* Escreve(char* buffer, size_t tamanho, const char* formato, Args... args) {
  char texto[64];
  snprintf(texto, sizeof texto, formato, args...);
  snprintf(buffer, tamanho, "%.*s", static_cast<int>(tamanho - 1), texto);
  return buffer;
}

// The digits of a date text make a day: with eight, the century is 19 or 20; with at most five and
// bDataCompleta clear, only the month is asked for.
bool DigitosDeDataValidos(const std::string& d, bool bDataCompleta) {
  if (d.size() == 8) {
    int seculo = NumeroEm(d, 4, 2);
    if (seculo != 19 && seculo != 20) return false;
  }
  if (d.size() <= 5 && !bDataCompleta) {
    int mes = NumeroEm(d, 0, 2);
    return mes >= 1 && mes <= 12;
  }
  int dia = NumeroEm(d, 0, 2), mes = NumeroEm(d, 2, 2);
  int yy = d.size() == 8 ? NumeroEm(d, 6, 2) : NumeroEm(d, 4, 2);
  if (dia == 0 || mes < 1 || mes > 12) return false;
  if (dia > kDiasMes[mes - 1]) return false;
  return !(mes == 2 && dia == 29 && !EhBissexto2Digitos(yy));
}

void Atribui(int* destino, int valor) {
  if (destino) *destino = valor;
}

}  // namespace

uint16_t QVMontaData(int dia, int mes, int ano) {
  if (dia == 0 && mes == 0 && ano == 0) return 0;
  int yy = ano % 100;
  dia = LimitaDia(dia, mes, yy);
  int numero = (yy < 27 ? 55518 : 18993) + (yy + 3) / 4 + DiasAntes(mes) + dia + 365 * yy;
  if (mes >= 3 && EhBissexto2Digitos(yy)) ++numero;
  return static_cast<uint16_t>(numero);
}

void QVSeparaData(uint16_t usData, int* dia, int* mes, int* ano) {
  if (usData == 0) {
    Atribui(dia, 0), Atribui(mes, 0), Atribui(ano, 0);
    return;
  }
  int anos = static_cast<int>(std::floor(usData / 365.25));  // years since 1848
  int diaDoAno = usData - 365 * anos - (anos + 3) / 4;
  if (diaDoAno <= 0) {  // day 0 of a year is 31/12 of the year before
    --anos;
    diaDoAno += (anos % 4 == 0) ? 366 : 365;
  }
  bool bissexto = anos % 4 == 0;
  int m = 1;
  while (m < 12) {
    int inicioSeguinte = kDiasAntes[m] + ((bissexto && m >= 2) ? 1 : 0);
    if (diaDoAno <= inicioSeguinte) break;
    ++m;
  }
  int inicio = kDiasAntes[m - 1] + ((bissexto && m >= 3) ? 1 : 0);
  Atribui(dia, diaDoAno - inicio);
  Atribui(mes, m);
  Atribui(ano, AnoPeloPivo((1848 + anos) % 100));
}

uint16_t QVMontaMesAno(int mes, int ano) {
  if (mes == 0 && ano == 0) return 0;
  int yy = ano % 100;
  return static_cast<uint16_t>(mes + 12 * yy + (yy < 27 ? 1824 : 624));
}

void QVSeparaMesAno(uint16_t usMesAno, int* mes, int* ano) {
  if (usMesAno == 0) {
    Atribui(mes, 0), Atribui(ano, 0);
    return;
  }
  int m = (usMesAno - 1) % 12 + 1;
  Atribui(mes, m);
  Atribui(ano, AnoPeloPivo((1848 + (usMesAno - m) / 12) % 100));
}

uint16_t QVDataParaMesAno(uint16_t usData) {
  int mes, ano;
  QVSeparaData(usData, nullptr, &mes, &ano);
  return QVMontaMesAno(mes, ano);
}

uint16_t QVMesAnoParaData(int dia, uint16_t usMesAno) {
  int mes, ano;
  QVSeparaMesAno(usMesAno, &mes, &ano);
  return QVMontaData(dia, mes, ano);
}

uint16_t QVDataMinima() { return 28856; }
uint16_t QVDataMaxima() { return 65380; }

int QVDiaDaSemana(uint16_t numero, bool bDiaCorrido) {
  char texto[16];
  if (bDiaCorrido)
    QVDiaCorridoParaTexto(numero, texto);
  else
    QVDataParaTexto(numero, texto, true);
  // The second day count runs from 1850 to 2029: its years need not fit the window.
  if (!DigitosDeDataValidos(Digitos(texto, 14), true)) return 0;
  int dia, mes, ano;
  QVSeparaTextoData(texto, &dia, &mes, &ano);
  COleDateTime data(ano, mes, dia, 0, 0, 0);
  if (data.GetStatus() != COleDateTime::valid) return 0;
  return data.GetDayOfWeek();
}

uint16_t QVMontaDiaCorrido(int dia, int mes, int ano) {
  if (dia == 0 && mes == 0 && ano == 0) return 0;
  int64_t numero = dia + DiasAntes(mes) + 365LL * ano + (ano - 1849) / 4 - 19890;
  if (mes >= 3 && ano % 4 == 0) ++numero;
  return static_cast<uint16_t>(numero & 0xFFFF);
}

char* QVDiaCorridoParaTexto(uint16_t usDiaCorrido, char* buffer) {
  int resto = usDiaCorrido;
  int ano = 1850;
  for (;;) {
    int diasAno = ano % 4 == 0 ? 366 : 365;
    if (resto <= diasAno) break;
    resto -= diasAno;
    ++ano;
  }
  int dia, mes;
  if (resto == 0) {
    dia = 31, mes = 12, --ano;
  } else {
    bool bissexto = ano % 4 == 0;
    mes = 1;
    while (mes < 12 && resto > kDiasAntes[mes] + ((bissexto && mes >= 2) ? 1 : 0)) ++mes;
    dia = resto - kDiasAntes[mes - 1] - ((bissexto && mes >= 3) ? 1 : 0);
  }
  Escreve(buffer, 11, "%02d/%02d/%04d", dia, mes, ano);
  return buffer;
}

uint16_t QVTextoParaDiaCorrido(const char* texto) {
  std::string d = Digitos(texto, 15);
  return QVMontaDiaCorrido(NumeroEm(d, 0, 2), NumeroEm(d, 2, 2), NumeroEm(d, 4, 4));
}

uint16_t QVTextoParaMesCorrido(const char* texto) {
  std::string d = Digitos(texto, 15);
  int mes = NumeroEm(d, 0, 2), ano = NumeroEm(d, 2, 4);
  if (mes == 0 && ano == 0) return 0;
  return static_cast<uint16_t>(mes + 12 * ano - 22200);
}

char* QVFormataData(int dia, int mes, int ano, char* buffer, bool bAno4Digitos) {
  int yy = ano % 100;
  bool vazia = dia == 0 && mes == 0 && ano == 0;
  if (!bAno4Digitos)
    Escreve(buffer, 11, "%02d/%02d/%02d", dia % 100, mes % 100, yy);
  else
    Escreve(buffer, 11, "%02d/%02d/%s%02d", dia % 100, mes % 100, vazia ? "00" : (yy < 27 ? "20" : "19"), yy);
  return buffer;
}

char* QVDataParaTexto(uint16_t usData, char* buffer, bool bAno4Digitos) {
  int dia, mes, ano;
  QVSeparaData(usData, &dia, &mes, &ano);
  return QVFormataData(dia, mes, ano, buffer, bAno4Digitos);
}

char* QVFormataMesAno(int mes, int ano, char* buffer, bool bAno4Digitos) {
  int yy = ano % 100;
  bool vazio = mes == 0 && ano == 0;
  if (!bAno4Digitos)
    Escreve(buffer, 8, "%02d/%02d", mes % 100, yy);
  else
    Escreve(buffer, 8, "%02d/%s%02d", mes % 100, vazio ? "00" : (yy < 27 ? "20" : "19"), yy);
  return buffer;
}

char* QVMesAnoParaTexto(uint16_t usMesAno, char* buffer, bool bAno4Digitos) {
  int mes, ano;
  QVSeparaMesAno(usMesAno, &mes, &ano);
  return QVFormataMesAno(mes, ano, buffer, bAno4Digitos);
}

int QVSeparaTextoMesAno(const char* texto, int* mes, int* ano) {
  std::string t = texto ? texto : "";
  auto par = [&](size_t at) { return NumeroEm(Digitos(t.size() > at ? t.substr(at, 2).c_str() : "", 2), 0, 2); };
  int m = par(0), yy = par(3);
  int a = (m == 0 && yy == 0) ? 0 : AnoPeloPivo(yy);
  Atribui(mes, m);
  Atribui(ano, a);
  return a;
}

uint16_t QVTextoParaMesAno(const char* texto) {
  int mes, ano;
  QVSeparaTextoMesAno(texto, &mes, &ano);
  return QVMontaMesAno(mes, ano);
}

int QVSeparaTextoData(const char* texto, int* dia, int* mes, int* ano) {
  std::string d = Digitos(texto, 14);
  int di, me, an;
  if (d.size() == 8) {
    int seculo = NumeroEm(d, 4, 2);
    bool valido = seculo == 19 || seculo == 20;
    di = valido ? NumeroEm(d, 0, 2) : 0;
    me = valido ? NumeroEm(d, 2, 2) : 0;
    an = valido ? NumeroEm(d, 4, 4) : 0;
  } else {
    di = NumeroEm(d, 0, 2), me = NumeroEm(d, 2, 2);
    int yy = NumeroEm(d, 4, 2);
    an = (di == 0 && me == 0 && yy == 0) ? 0 : AnoPeloPivo(yy);
  }
  Atribui(dia, di);
  Atribui(mes, me);
  Atribui(ano, an);
  return an;
}

uint16_t QVTextoParaData(const char* texto) {
  int dia, mes, ano;
  QVSeparaTextoData(texto, &dia, &mes, &ano);
  return QVMontaData(dia, mes, ano);
}

bool QVValidaTextoData(const char* texto, bool bDataCompleta) {
  const std::string d = Digitos(texto, 14);
  // A four-digit year outside the window would be read as the year of the window with the same two
  // last digits: 2031 as 1931.
  if (d.size() == 8 && (NumeroEm(d, 4, 4) < 1927 || NumeroEm(d, 4, 4) > 2026)) return false;
  return DigitosDeDataValidos(d, bDataCompleta);
}
