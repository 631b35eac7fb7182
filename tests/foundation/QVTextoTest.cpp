#include "foundation/QVTexto.h"

#include <gtest/gtest.h>

namespace {

CY Valor(int64_t unidades) {
  CY cy;
  cy.int64 = unidades;
  return cy;
}

}  // namespace

TEST(QVTexto, AmountsTheBrazilianWay) {
  struct Caso { int64_t unidades; const char* formatado; const char* digitos; } casos[] = {
      {12345675000, "1.234.567,50", "12345675000"},
      {-5000, "-0,50", "05000"},
      {0, "0,00", "00000"},
      {12345, "1,2345", "12345"},
      {15000, "1,50", "15000"},
      {10000000, "1.000,00", "10000000"},
      {-1234567890123, "-123.456.789,0123", "1234567890123"},
  };
  for (const Caso& c : casos) {
    char digitos[32];
    EXPECT_STREQ(QVValorParaDigitos(Valor(c.unidades), digitos), c.digitos) << c.unidades;
    EXPECT_STREQ(QVFormataValor(Valor(c.unidades)), c.formatado) << c.unidades;
  }
}

TEST(QVTexto, AmountsWithAFixedNumberOfDecimals) {
  struct Caso { int64_t unidades; int n; const char* texto; } casos[] = {
      {12345675000, 0, "1.234.567"}, {12345675000, 2, "1.234.567,50"}, {12345, 6, "1,234500"},
      {12345, 8, "1,23450000"},      {12345, 3, "1,234"},              {-5000, 1, "-0,5"},
  };
  for (const Caso& c : casos) EXPECT_STREQ(QVFormataValorDecimais(Valor(c.unidades), c.n), c.texto) << c.unidades << " " << c.n;

  struct Caso8 { int64_t bruto; int n; const char* texto; } casos8[] = {
      {123456789012345678, 8, "1.234.567.890,12345678"}, {5, 8, "0,00000005"}, {-150000000, 2, "-1,50"},
      {150000000, 0, "1"},
  };
  for (const Caso8& c : casos8) EXPECT_STREQ(QVFormataValor8(c.bruto, c.n), c.texto) << c.bruto;
}

TEST(QVTexto, DigitsOnly) {
  char buffer[32];
  EXPECT_EQ(QVExtraiDigitos("12/03-2024 x9", buffer), 9);
  EXPECT_STREQ(buffer, "120320249");
  char texto[] = "a1b2c3";
  EXPECT_STREQ(QVSomenteDigitos(texto), "123");
  EXPECT_STREQ(QVSomenteDigitosTexto(CString("(11) 5555-0000")), "1155550000");
  EXPECT_STREQ(QVNumeroParaTexto(65535), "65535");
}
