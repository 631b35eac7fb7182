// Garbled and random texts for the parsers of dates, months, period keys, numbers, money and the
// clock's override, seeded with the texts that the system's own formatters write. A text in one of
// the forms that the formatters write is read exactly (it formats back to itself) or refused as the
// form says; any other text may be read leniently, but never into a value outside its range.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "foundation/CQVCurrencyEx.h"
#include "foundation/CQVDataHora.h"
#include "foundation/CQVException.h"
#include "foundation/QVChave.h"
#include "foundation/QVData.h"
#include "foundation/QVRelogio.h"
#include "foundation/QVTexto.h"
#include "tests/fuzz/Fuzz.h"
#include "tests/support/Instalacao.h"

namespace {

using namespace std::chrono;

constexpr int kDatas = 20000;
constexpr int kChaves = 20000;
constexpr int kNumeros = 20000;
constexpr int kDatasHoras = 20000;
constexpr int kOverrides = 400;

constexpr size_t kMaiorTexto = 40;
constexpr uint16_t kPrimeiroMes = 949, kUltimoMes = 2148;

int AnoPeloPivo(int yy) { return yy < 27 ? 2000 + yy : 1900 + yy; }

template <typename... Numeros>
std::string Formata(const char* formato, Numeros... numeros) {
  char texto[64];
  snprintf(texto, sizeof texto, formato, numeros...);
  return texto;
}

// A random day of the window, as the calendar has it.
year_month_day DiaDaJanela(Fuzz& fuzz) {
  const sys_days primeiro = year(1927) / January / 1, ultimo = year(2026) / December / 31;
  return year_month_day(primeiro + days(fuzz.Numero(static_cast<uint32_t>((ultimo - primeiro).count()) + 1)));
}

bool EhDigito(char ch) { return ch >= '0' && ch <= '9'; }

// The runs of digits of a text made of runs of digits only, with the given separators between
// them in this order; empty when the text is not of that form.
std::vector<std::string> Campos(const std::string& texto, const std::string& separadores) {
  std::vector<std::string> campos(1);
  for (char ch : texto) {
    if (EhDigito(ch)) {
      campos.back() += ch;
      continue;
    }
    if (campos.size() > separadores.size() || ch != separadores[campos.size() - 1] || campos.back().empty()) return {};
    campos.emplace_back();
  }
  if (campos.size() != separadores.size() + 1 || campos.back().empty()) return {};
  return campos;
}

// --- Dates and months ----------------------------------------------------------------------------

// A date text DD/MM/AA or DD/MM/AAAA is valid exactly when the calendar has that day inside the
// window, and then reads as that day; any text that validates reads as a day of the window whose
// day and month are those of the text.
void ConfereData(Fuzz& fuzz, const std::string& texto) {
  const bool valida = QVValidaTextoData(texto.c_str(), true);
  const uint16_t numero = QVTextoParaData(texto.c_str());
  fuzz.Conta("date", valida ? "accepted" : "refused");
  const std::vector<std::string> partes = Campos(texto, "//");
  if (partes.size() == 3 && partes[0].size() == 2 && partes[1].size() == 2 &&
      (partes[2].size() == 2 || partes[2].size() == 4)) {
    const bool quatroDigitos = partes[2].size() == 4;
    const int ano = quatroDigitos ? std::stoi(partes[2]) : AnoPeloPivo(std::stoi(partes[2]));
    const year_month_day dia{year(ano), month(static_cast<unsigned>(std::stoi(partes[1]))),
                             day(static_cast<unsigned>(std::stoi(partes[0])))};
    EXPECT_EQ(valida, dia.ok() && ano >= 1927 && ano <= 2026) << fuzz.Descreve(texto);
    char formatado[16];
    if (valida) {
      EXPECT_EQ(QVDataParaTexto(numero, formatado, quatroDigitos), texto) << fuzz.Descreve(texto);
    }
    // The second day count reads four-digit dates from 1850 up to its last day, 04/06/2029.
    if (quatroDigitos && dia.ok() && sys_days(dia) >= sys_days(year(1850) / 1 / 1) &&
        sys_days(dia) <= sys_days(year(2029) / 6 / 4)) {
      EXPECT_EQ(QVDiaCorridoParaTexto(QVTextoParaDiaCorrido(texto.c_str()), formatado), texto) << fuzz.Descreve(texto);
    }
  }
  if (!valida) return;
  EXPECT_GE(numero, QVDataMinima()) << fuzz.Descreve(texto);
  EXPECT_LE(numero, QVDataMaxima()) << fuzz.Descreve(texto);
  int dia, mes, ano, diaLido, mesLido, anoLido;
  QVSeparaTextoData(texto.c_str(), &dia, &mes, &ano);
  QVSeparaData(numero, &diaLido, &mesLido, &anoLido);
  EXPECT_EQ(Formata("%02d/%02d/%04d", diaLido, mesLido, anoLido), Formata("%02d/%02d/%04d", dia, mes, ano))
      << fuzz.Descreve(texto);
}

// A month text MM/AA is valid exactly when MM is a month, and then reads as that month of the
// window; any text read into a month 1-12 gives a month number of the window.
void ConfereMes(Fuzz& fuzz, const std::string& texto) {
  const uint16_t numero = QVTextoParaMesAno(texto.c_str());
  int mes, ano;
  QVSeparaTextoMesAno(texto.c_str(), &mes, &ano);
  QVTextoParaMesCorrido(texto.c_str());  // the second count has no range to check: only that it reads
  if (mes >= 1 && mes <= 12) {
    EXPECT_GE(numero, kPrimeiroMes) << fuzz.Descreve(texto);
    EXPECT_LE(numero, kUltimoMes) << fuzz.Descreve(texto);
  }
  const bool valido = QVValidaTextoData(texto.c_str(), false);
  fuzz.Conta("month", valido ? "accepted" : "refused");
  const std::vector<std::string> partes = Campos(texto, "/");
  if (partes.size() != 2 || partes[0].size() != 2 || partes[1].size() != 2) return;
  EXPECT_EQ(valido, std::stoi(partes[0]) >= 1 && std::stoi(partes[0]) <= 12) << fuzz.Descreve(texto);
  char formatado[8];
  if (valido) {
    EXPECT_EQ(QVMesAnoParaTexto(numero, formatado, false), texto) << fuzz.Descreve(texto);
  }
}

TEST(ValoresFuzz, DateAndMonthTextsReadAsTheirDayOrAreRefused) {
  Fuzz fuzz("date and month texts");
  std::vector<std::string> sementes;
  for (int i = 0; i < 200; ++i) {
    const year_month_day dia = DiaDaJanela(fuzz);
    const int d = static_cast<int>(static_cast<unsigned>(dia.day())),
              m = static_cast<int>(static_cast<unsigned>(dia.month()));
    const int a = static_cast<int>(dia.year());
    sementes.push_back(Formata("%02d/%02d/%02d", d, m, a % 100));
    sementes.push_back(Formata("%02d/%02d/%04d", d, m, a));
    sementes.push_back(Formata("%02d/%02d", m, a % 100));
  }
  const std::vector<std::string> dicionario = {"/", "-", " ", "29/02/", "31/", "/19", "/20", "00", "13"};
  for (int i = 0; i < kDatas && !HasFailure(); ++i) {
    const std::string texto = fuzz.Entrada(sementes, dicionario, kMaiorTexto).c_str();
    ConfereData(fuzz, texto);
    ConfereMes(fuzz, texto);
  }
}

// --- Period keys ---------------------------------------------------------------------------------

// A key text MMAA-N is read exactly when MM is a month and N a sequence number that a key holds
// (1 .. 2^20 - 1), and is 0 otherwise; any key read formats back to a text that reads as the same
// key.
TEST(ValoresFuzz, PeriodKeyTextsReadAsTheirKeyOrAsZero) {
  Fuzz fuzz("period key texts");
  std::vector<std::string> sementes;
  for (int i = 0; i < 200; ++i) {
    const uint16_t mes = static_cast<uint16_t>(fuzz.Entre(kPrimeiroMes, kUltimoMes));
    sementes.push_back(QVChaveParaTexto(QVMontaChave(mes, fuzz.Entre(1, 0xFFFFF))).str());
  }
  for (int i = 0; i < kChaves && !HasFailure(); ++i) {
    const std::string texto = fuzz.Entrada(sementes, {"-", "0", "1048575", "1048576", " "}, kMaiorTexto).c_str();
    const uint32_t chave = QVTextoParaChave(texto.c_str());
    fuzz.Conta("key", chave ? "accepted" : "refused (0)");
    const std::vector<std::string> partes = Campos(texto, "-");
    if (partes.size() == 2 && partes[0].size() == 4 && partes[1].size() <= 18) {
      const int mes = std::stoi(partes[0].substr(0, 2));
      const uint64_t sequencia = std::stoull(partes[1]);
      const bool valida = mes >= 1 && mes <= 12 && sequencia >= 1 && sequencia <= 0xFFFFF;
      EXPECT_EQ(chave != 0, valida) << fuzz.Descreve(texto);
      if (valida) {
        EXPECT_EQ(QVGetMesAnoDaChave(chave), QVMontaMesAno(mes, AnoPeloPivo(std::stoi(partes[0].substr(2)))))
            << fuzz.Descreve(texto);
        EXPECT_EQ(QVGetNumeroDaChave(chave), sequencia) << fuzz.Descreve(texto);
      }
    }
    if (!chave) continue;
    EXPECT_GE(QVGetNumeroDaChave(chave), 1u) << fuzz.Descreve(texto);
    EXPECT_GE(QVGetMesAnoDaChave(chave), kPrimeiroMes) << fuzz.Descreve(texto);
    EXPECT_LE(QVGetMesAnoDaChave(chave), kUltimoMes) << fuzz.Descreve(texto);
    EXPECT_EQ(QVTextoParaChave(QVChaveParaTexto(chave)), chave) << fuzz.Descreve(texto);
  }
}

// --- Numbers and money ---------------------------------------------------------------------------

bool EhBranco(const std::string& texto) { return texto.find_first_not_of(" \t\r\n\v\f") == std::string::npos; }

// The value of a number text in units of 10^-8, when it has at most 8 decimals and is small enough
// (below 10^7) that a double, through which the text is read, holds every unit of it; -1 otherwise.
// The last "," or "." starts the decimals.
int64_t ValorExato(const std::string& texto) {
  const size_t separador = texto.find_last_of(",.");
  const std::string decimais = separador == std::string::npos ? "" : texto.substr(separador + 1);
  std::string digitos;
  for (char ch : texto.substr(0, separador))
    if (EhDigito(ch)) digitos += ch;
  digitos.erase(0, std::min(digitos.find_first_not_of('0'), digitos.size()));
  if (decimais.size() > 8 || digitos.size() > 7) return -1;
  const int64_t valor = std::stoll("0" + digitos + decimais + std::string(8 - decimais.size(), '0'));
  return texto.starts_with('-') ? -valor : valor;
}

bool SoDigitos(std::string_view texto) { return !texto.empty() && std::all_of(texto.begin(), texto.end(), EhDigito); }

// The users' form of a number: a sign, plain digits or groups of three after a first group of one
// to three, and decimals after "," or ".". Decimals, when there are any, follow the last separator.
bool FormaDeNumero(std::string_view texto) {
  if (texto.starts_with('+') || texto.starts_with('-')) texto.remove_prefix(1);
  const size_t separador = texto.find_last_of(",.");
  if (separador != std::string_view::npos) {
    if (!SoDigitos(texto.substr(separador + 1))) return false;
    texto = texto.substr(0, separador);
  }
  if (SoDigitos(texto)) return true;
  const size_t primeiroPonto = texto.find('.');
  if (primeiroPonto == std::string_view::npos || primeiroPonto > 3 || !SoDigitos(texto.substr(0, primeiroPonto)))
    return false;
  for (size_t ponto = primeiroPonto; ponto < texto.size(); ponto += 4)
    if (ponto + 4 > texto.size() || texto[ponto] != '.' || !SoDigitos(texto.substr(ponto + 1, 3))) return false;
  return true;
}

// A number text is valid exactly when it is blank or has the users' form; a valid one reads into an
// eight-decimal value exactly. The digit helpers keep the digits and only them.
void ConfereNumero(Fuzz& fuzz, const std::string& texto) {
  const bool valido = QVValidaTextoNumero(texto.c_str());
  fuzz.Conta("number", valido ? "accepted" : "refused");
  EXPECT_EQ(valido, EhBranco(texto) || FormaDeNumero(texto)) << fuzz.Descreve(texto);
  CQVCurrencyEx8 valor;
  valor.SetTexto(texto.c_str());
  const int64_t exato = valido && !EhBranco(texto) ? ValorExato(texto) : -1;
  if (exato != -1) {
    EXPECT_EQ(valor.GetValorBruto(), exato) << fuzz.Descreve(texto);
  }

  std::string digitos;
  for (char ch : texto)
    if (EhDigito(ch)) digitos += ch;
  std::string buffer(texto.size() + 1, '\x55');
  EXPECT_EQ(QVExtraiDigitos(texto.c_str(), buffer.data()), static_cast<int>(digitos.size())) << fuzz.Descreve(texto);
  EXPECT_STREQ(buffer.c_str(), digitos.c_str()) << fuzz.Descreve(texto);
  EXPECT_EQ(QVSomenteDigitosTexto(texto.c_str()).str(), digitos) << fuzz.Descreve(texto);
}

TEST(ValoresFuzz, NumberAndMoneyTextsAreValidatedByTheirFormAndReadExactly) {
  Fuzz fuzz("number and money texts");
  std::vector<std::string> sementes;
  for (int i = 0; i < 200; ++i) {
    CY valor;
    const int64_t escala = static_cast<int64_t>(1) << fuzz.Numero(48);
    valor.int64 = static_cast<int64_t>(fuzz.Numero(0xFFFFFFFF) % escala) - escala / 2;
    const std::string texto = QVFormataValor(valor).str();
    // The formatter's text reads back as the same amount (where a double holds it to the unit).
    CQVCurrencyEx8 lido;
    lido.SetTexto(texto.c_str());
    if (valor.int64 > -100000000000 && valor.int64 < 100000000000) {
      ASSERT_EQ(lido.GetValorBruto(), valor.int64 * 10000) << texto;
    }
    sementes.push_back(texto);
    sementes.push_back(std::to_string(valor.int64));
  }
  const std::vector<std::string> dicionario = {".", ",", "-", "+", " ", "000", ".000", ",5", "1.234"};
  for (int i = 0; i < kNumeros && !HasFailure(); ++i)
    ConfereNumero(fuzz, fuzz.Entrada(sementes, dicionario, kMaiorTexto).c_str());
}

// --- Hour arithmetic of the date-time value ------------------------------------------------------

// Any number of hours either moves the date-time to a minute inside the window, within a minute of
// the exact result (the arithmetic is on doubles), or is refused and leaves the value as it was.
TEST(ValoresFuzz, HourArithmeticStaysInsideTheDatesOrLeavesTheValue) {
  Fuzz fuzz("CQVDataHora hours");
  for (int i = 0; i < kDatasHoras && !HasFailure(); ++i) {
    fuzz.NovaEntrada();
    const uint16_t data = fuzz.Chance(4) ? static_cast<uint16_t>(fuzz.Numero(65536))
                                         : static_cast<uint16_t>(fuzz.Entre(QVDataMinima(), QVDataMaxima()));
    const uint16_t minutos = static_cast<uint16_t>(fuzz.Chance(8) ? fuzz.Numero(65536) : fuzz.Numero(1440));
    CY horas;
    horas.int64 = fuzz.Chance(3) ? static_cast<int64_t>(fuzz.Numero(0xFFFFFFFF)) << 32 | fuzz.Numero(0xFFFFFFFF)
                                 : static_cast<int64_t>(fuzz.Entre(0, 2000000000)) - 1000000000;
    CQVDataHora momento(data, minutos);
    const bool movido = momento.SubtraiHoras(horas);
    fuzz.Conta("hours", movido ? "moved" : "refused");
    const std::string caso = fuzz.Descreve("day " + std::to_string(data) + " minute " + std::to_string(minutos) +
                                           " back " + std::to_string(horas.int64) + " / 10000 h");
    if (!movido) {
      EXPECT_EQ(momento, CQVDataHora(data, minutos)) << caso;
      continue;
    }
    EXPECT_GE(momento.GetData(), QVDataMinima()) << caso;
    EXPECT_LE(momento.GetData(), QVDataMaxima()) << caso;
    EXPECT_LE(momento.GetMinutos(), 1439) << caso;
    const double exato = data * 1440.0 + minutos - horas.int64 * 60.0 / 10000;
    EXPECT_NEAR(momento.GetData() * 1440.0 + momento.GetMinutos(), exato, 1.0) << caso;
  }
}

// --- The clock's override ------------------------------------------------------------------------

constexpr char kChaveAmbiente[] = "SYSTEM\\CurrentControlSet\\Control\\Session Manager\\Environment";
const char kFalhaData[] = "Helper_SystemTimeToFileTime: SystemTimeToFileTime";
const char kForaDaJanela[] = "GetCurrentTime_LocalFileTime: data atual fora de 01/01/1927 a 31/12/2026";

// Milliseconds since 01/01/1970 of a date-time of the override's fields (day, month, year, hour,
// minute, second, millisecond); false when they are no date-time.
bool MomentoDosCampos(const uint64_t* campos, int64_t* ms) {
  for (int i = 0; i < 7; ++i)
    if (campos[i] > 0xFFFF) return false;
  // The calendar keeps a day or month of up to 255 only: 257 would be taken as 1.
  if (campos[0] > 31 || campos[1] > 12) return false;
  const year_month_day dia{year(static_cast<int>(campos[2])), month(static_cast<unsigned>(campos[1])),
                           day(static_cast<unsigned>(campos[0]))};
  if (campos[2] < 1601 || campos[2] > 30827 || !dia.ok() || campos[3] > 23 || campos[4] > 59 || campos[5] > 59 ||
      campos[6] > 999)
    return false;
  *ms = (sys_days(dia).time_since_epoch().count() * 86400000ll) +
        static_cast<int64_t>(((campos[3] * 60 + campos[4]) * 60 + campos[5]) * 1000 + campos[6]);
  return true;
}

std::string Texto(const SYSTEMTIME& t) {
  char texto[64];
  snprintf(texto, sizeof texto, "%02u/%02u/%04u %02u:%02u:%02u.%03u", t.wDay, t.wMonth, t.wYear, t.wHour, t.wMinute,
           t.wSecond, t.wMilliseconds);
  return texto;
}

SYSTEMTIME MomentoAleatorio(Fuzz& fuzz, int primeiroAno, int ultimoAno) {
  const year_month_day dia(sys_days(year(primeiroAno) / 1 / 1) + days(fuzz.Numero(365 * (ultimoAno - primeiroAno))));
  SYSTEMTIME momento{};
  momento.wYear = static_cast<WORD>(static_cast<int>(dia.year()));
  momento.wMonth = static_cast<WORD>(static_cast<unsigned>(dia.month()));
  momento.wDay = static_cast<WORD>(static_cast<unsigned>(dia.day()));
  momento.wHour = static_cast<WORD>(fuzz.Numero(24));
  momento.wMinute = static_cast<WORD>(fuzz.Numero(60));
  momento.wSecond = static_cast<WORD>(fuzz.Numero(60));
  momento.wMilliseconds = static_cast<WORD>(fuzz.Numero(1000));
  return momento;
}

std::string TextoDoOverride(const SYSTEMTIME& t) {
  char texto[64];
  snprintf(texto, sizeof texto, "%02u/%02u/%04u;%02u:%02u:%02u:%03u", t.wDay, t.wMonth, t.wYear, t.wHour, t.wMinute,
           t.wSecond, t.wMilliseconds);
  return texto;
}

// The override's text is ignored (flag 0, or not fifteen numbers), applied (the believed time runs
// from the real one), or refused with the error of an impossible date-time or of a date outside
// the window; a text of fifteen plain numbers gets exactly the answer that its fields call for, a
// field too large for its place included.
TEST(ValoresFuzz, ClockOverrideTextsShiftTheClockExactlyOrAreIgnoredOrRefused) {
  Instalacao instalacao;
  TestClock relogio;
  Fuzz fuzz("clock override");
  std::vector<std::string> sementes;
  for (int i = 0; i < 40; ++i)
    sementes.push_back(std::string(i % 8 ? "1;" : "0;") + TextoDoOverride(MomentoAleatorio(fuzz, 1927, 2026)) + ";" +
                       TextoDoOverride(MomentoAleatorio(fuzz, 2000, 2026)));
  for (int i = 0; i < kOverrides && !HasFailure(); ++i) {
    // Half of them keep the form and get a number at the edge of a field.
    std::string texto = fuzz.Entrada(sementes, {";", "/", ":", " ", "-", "+"}, 80).c_str();
    if (fuzz.Chance(2)) texto = fuzz.TrocaNumero(fuzz.Escolhe(sementes));
    const SYSTEMTIME real = MomentoAleatorio(fuzz, 2000, 2026);
    relogio.SetLocalTime(real);
    instalacao.GravaValor(kChaveAmbiente, "QV_DATETIME", texto);
    std::string resposta;
    try {
      resposta = Texto(GetCurrentTime_LocalTime());
    } catch (const CQVException& erro) {
      resposta = erro.GetTexto().str();
    }
    const bool ignorado = resposta == Texto(real);
    fuzz.Conta("override", ignorado                             ? "ignored"
                           : resposta.starts_with("Helper_")    ? "refused: no date-time"
                           : resposta.starts_with("GetCurrent") ? "refused: outside the window"
                                                                : "applied");
    const std::vector<std::string> partes = Campos(texto, ";//;:::;//;:::");
    if (partes.empty()) {
      const bool naJanela = resposta.size() == 23 && resposta.substr(6, 4) >= "1927" && resposta.substr(6, 4) <= "2026";
      EXPECT_TRUE(ignorado || resposta == kFalhaData || resposta == kForaDaJanela || naJanela)
          << resposta << ", " << fuzz.Descreve(texto);
      continue;
    }
    uint64_t campos[15];
    for (int c = 0; c < 15; ++c) campos[c] = partes[c].size() > 12 ? UINT64_MAX : std::stoull(partes[c]);
    const uint64_t camposReais[7] = {real.wDay,    real.wMonth,  real.wYear,        real.wHour,
                                     real.wMinute, real.wSecond, real.wMilliseconds};
    int64_t agora = 0, crido = 0, quando = 0;
    MomentoDosCampos(camposReais, &agora);
    std::string esperada;
    if (campos[0] == 0) {
      esperada = Texto(real);
    } else if (!MomentoDosCampos(&campos[1], &crido) || !MomentoDosCampos(&campos[8], &quando)) {
      esperada = kFalhaData;
    } else {
      const int64_t ms = crido + (agora - quando);
      const sys_time<milliseconds> momento{milliseconds(ms)};
      const year_month_day dia(floor<days>(momento));
      if (dia.year() < year(1927) || dia.year() > year(2026)) {
        esperada = kForaDaJanela;
      } else {
        const hh_mm_ss hora(momento - floor<days>(momento));
        esperada = Formata("%02d/%02d/%04d", static_cast<int>(static_cast<unsigned>(dia.day())),
                           static_cast<int>(static_cast<unsigned>(dia.month())), static_cast<int>(dia.year())) +
                   Formata(" %02d:%02d:%02d", static_cast<int>(hora.hours().count()),
                           static_cast<int>(hora.minutes().count()), static_cast<int>(hora.seconds().count())) +
                   Formata(".%03d", static_cast<int>(hora.subseconds().count()));
      }
    }
    EXPECT_EQ(resposta, esperada) << "real " << Texto(real) << ", " << fuzz.Descreve(texto);
  }
}

}  // namespace
