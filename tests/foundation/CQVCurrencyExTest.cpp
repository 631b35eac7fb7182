#include "foundation/CQVCurrencyEx.h"

#include <gtest/gtest.h>

#include <string>

// Every expected value below was worked out by hand from the rounding rules; values are written as
// raw counts (1/10,000 for CQVCurrencyEx, 10^-8 for CQVCurrencyEx8) so that no double stands
// between the table and the check.

namespace {

CY Cy(int64_t bruto) {
  CY valor;
  valor.int64 = bruto;
  return valor;
}

std::string Texto(const CString& texto) { return texto.str(); }

}  // namespace

TEST(CQVCurrencyEx, AdjustsToEveryNumberOfDecimalsInEveryMode) {
  struct Caso {
    int64_t bruto;
    short casas;  // as given to SetCasasDecimais: 1 means 2, 3 means 4
    int modo;
    int64_t esperado;
  } casos[] = {
      // Mode 0, zero decimals: rounded to hundredths first, then to units.
      {4950, 0, 0, 10000},      {4949, 0, 0, 0},          {-4950, 0, 0, -10000},   {24949, 0, 0, 20000},
      {24950, 0, 0, 30000},     {15000, 0, 0, 20000},     {-15000, 0, 0, -20000},  {14949, 0, 0, 10000},
      {0, 0, 0, 0},
      // Mode 0, two decimals: half away from zero.
      {12350, 1, 0, 12400},     {12349, 2, 0, 12300},     {-12350, 2, 0, -12400},  {-12349, 2, 0, -12300},
      {12399, 2, 0, 12400},
      // Mode 1: truncation toward zero.
      {19999, 0, 1, 10000},     {-19999, 0, 1, -10000},   {12399, 1, 1, 12300},    {-12399, 2, 1, -12300},
      // Mode 2: half to even, one step even at zero decimals.
      {1250, 2, 2, 1200},       {1350, 2, 2, 1400},       {1251, 2, 2, 1300},      {-1350, 2, 2, -1400},
      {12450, 2, 2, 12400},     {12451, 1, 2, 12500},     {25000, 0, 2, 20000},    {35000, 0, 2, 40000},
      {25001, 0, 2, 30000},     {-25000, 0, 2, -20000},   {-35000, 0, 2, -40000},  {4950, 0, 2, 0},
      // Four decimals (3, 4 and anything else) leave every mode untouched, as does an unknown mode.
      {12345, 3, 0, 12345},     {-12345, 4, 1, -12345},   {12345, 4, 2, 12345},    {12345, -1, 0, 12345},
      {12345, 5, 1, 12345},     {12345, 0, 3, 12345},     {-12355, 2, -1, -12355},
  };
  for (const Caso& c : casos) {
    CQVCurrencyEx valor(Cy(c.bruto));
    valor.SetModo(c.modo).SetCasasDecimais(c.casas);
    EXPECT_EQ(valor.GetValorBruto(), c.esperado) << c.bruto << " with " << c.casas << " decimals, mode " << c.modo;
  }
}

TEST(CQVCurrencyEx, DecimalsAndModeSettersMapTheirArguments) {
  struct Caso {
    short pedido;
    short casas;
  } casos[] = {{0, 0}, {1, 2}, {2, 2}, {3, 4}, {4, 4}, {-2, 4}, {9, 4}};
  for (const Caso& c : casos) EXPECT_EQ(CQVCurrencyEx().SetCasasDecimais(c.pedido).GetCasasDecimais(), c.casas);

  CQVCurrencyEx valor(Cy(12355));
  EXPECT_EQ(valor.GetModo(), kQVModoTrunca);
  EXPECT_TRUE(valor.EhQuatroCasas());
  valor.SetPrecisao(true, true);
  EXPECT_TRUE(valor.EhDuasCasas());
  EXPECT_TRUE(valor.GetArredonda());
  EXPECT_EQ(valor.GetValorBruto(), 12400);
  valor.SetArredonda(false).SetCasasDecimais(0);
  EXPECT_TRUE(valor.EhZeroCasas());
  EXPECT_EQ(valor.GetModo(), kQVModoTrunca);
  EXPECT_EQ(valor.GetValorBruto(), 10000);
}

TEST(CQVCurrencyEx, AssignmentTakesOnlyTheValueAndCopiesTakeEverything) {
  CQVCurrencyEx duasCasas(true, false, CQVCurrencyEx(Cy(0)));
  duasCasas = CQVCurrencyEx(Cy(12399));
  EXPECT_EQ(duasCasas.GetValorBruto(), 12300);
  EXPECT_TRUE(duasCasas.EhDuasCasas());
  duasCasas = 1.2399;
  EXPECT_EQ(duasCasas.GetValorBruto(), 12300);
  duasCasas = Cy(-12399);
  EXPECT_EQ(duasCasas.GetValorBruto(), -12300);

  CQVCurrencyEx arredonda(false, kQVModoArredonda, CQVCurrencyEx(Cy(4950)));
  arredonda.SetCasasDecimais(0);
  CQVCurrencyEx copia(arredonda);
  EXPECT_TRUE(copia.EhZeroCasas());
  EXPECT_EQ(copia.GetModo(), kQVModoArredonda);
  EXPECT_EQ(copia.GetValorBruto(), 10000);

  CQVCurrencyEx par(true, kQVModoPar, CQVCurrencyEx(Cy(1250)));
  EXPECT_EQ(par.GetValorBruto(), 1200);
  CQVCurrencyEx arredondado(true, true, 1.005);  // the double becomes 1.0050 first
  EXPECT_EQ(arredondado.GetValorBruto(), 10100);
}

TEST(CQVCurrencyEx, CompoundOperatorsAdjustAfterEachStep) {
  CQVCurrencyEx horas(10.0);
  horas /= 60.0;  // minutes to hours: 0.16666... becomes 0.1667
  EXPECT_EQ(horas.GetValorBruto(), 1667);
  horas *= 3.0;
  EXPECT_EQ(horas.GetValorBruto(), 5001);

  CQVCurrencyEx centavos(true, false, CQVCurrencyEx(Cy(3333)));
  EXPECT_EQ(centavos.GetValorBruto(), 3300);
  centavos *= Cy(33300);  // 0.33 x 3.33 = 1.0989, cut to 1.09
  EXPECT_EQ(centavos.GetValorBruto(), 10900);
  centavos += Cy(99);  // 1.0999 cut to 1.09
  EXPECT_EQ(centavos.GetValorBruto(), 10900);
  centavos -= 0.00996;  // the double is 0.0100 first: 1.08
  EXPECT_EQ(centavos.GetValorBruto(), 10800);
  centavos /= Cy(30000);  // 0.36
  EXPECT_EQ(centavos.GetValorBruto(), 3600);
  centavos /= Cy(0);  // nothing to compute: the value stays
  EXPECT_EQ(centavos.GetValorBruto(), 3600);
  centavos += 0.005;  // 0.3650 cut to 0.36
  EXPECT_EQ(centavos.GetValorBruto(), 3600);
}

TEST(CQVCurrencyEx, ReadersGiveCentsDoubleAndFactorProducts) {
  EXPECT_EQ(CQVCurrencyEx(Cy(12399)).GetCentesimos(), 123);
  EXPECT_EQ(CQVCurrencyEx(Cy(-12399)).GetCentesimos(), -123);
  EXPECT_DOUBLE_EQ(CQVCurrencyEx(Cy(-12500)).GetDouble(), -1.25);
  EXPECT_EQ(CQVCurrencyEx(Cy(30000)).MultiplicaPorFator(5000).int64, 15000);
  EXPECT_EQ(CQVCurrencyEx(Cy(12345)).MultiplicaPorFator(10000).int64, 12345);
  EXPECT_EQ(CQVCurrencyEx(Cy(10000)).MultiplicaPorFator(3).int64, 3);
}

TEST(CQVCurrencyEx, TextsUseDotForThousandsAndCommaForDecimals) {
  struct Caso {
    int64_t bruto;
    short casas;
    const char* texto;
  } casos[] = {
      {12345000, 4, "1.234,5000"},      {12345678900, 2, "1.234.567,89"}, {-5000, 2, "-0,50"},
      {120000, 0, "12"},                {0, 4, "0,0000"},                 {-12345678, 4, "-1.234,5678"},
      {9999999999, 2, "999.999,99"},    {1, 4, "0,0001"},
      // Beyond the 15 significant digits of a double: every digit of the count is written.
      {1234567890123456, 4, "123.456.789.012,3456"}, {123456789012345600, 2, "12.345.678.901.234,56"},
      {INT64_MAX, 4, "922.337.203.685.477,5807"},    {INT64_MIN, 4, "-922.337.203.685.477,5808"},
  };
  for (const Caso& c : casos) {
    CQVCurrencyEx valor(Cy(c.bruto));
    valor.SetCasasDecimais(c.casas);
    EXPECT_EQ(Texto(valor.GetTexto()), c.texto) << c.bruto;
  }
}

TEST(CQVCurrencyEx, BareValueOperators) {
  const CY um = Cy(10000), dois = Cy(20000), tres = Cy(30000);
  EXPECT_EQ((um + dois).int64, 30000);
  EXPECT_EQ((um - tres).int64, -20000);
  EXPECT_EQ((um + 0.00004).int64, 10000);  // the double is four decimals first
  EXPECT_EQ((0.00006 + um).int64, 10001);
  EXPECT_EQ((2.5 - um).int64, 15000);
  EXPECT_EQ((-tres).int64, -30000);
  EXPECT_EQ((+tres).int64, 30000);
  EXPECT_EQ((Cy(15000) * Cy(15000)).int64, 22500);
  EXPECT_EQ((Cy(3333) * Cy(3333)).int64, 1111);    // 0.11108889, ties to even at four decimals
  EXPECT_EQ((Cy(5) * Cy(5000)).int64, 2);          // 0.00025 is a tie: down to the even 0.0002
  EXPECT_EQ((Cy(15) * Cy(5000)).int64, 8);         // 0.00075 up to the even 0.0008
  EXPECT_EQ((tres * 0.5).int64, 15000);
  EXPECT_EQ((0.5 * tres).int64, 15000);
  EXPECT_EQ((um / tres).int64, 3333);
  EXPECT_EQ((dois / tres).int64, 6667);
  EXPECT_EQ((um / 8.0).int64, 1250);
  EXPECT_EQ((1.0 / Cy(80000)).int64, 1250);
  EXPECT_EQ((um / Cy(0)).int64, 0);

  EXPECT_TRUE(um == 1.00004);
  EXPECT_TRUE(1.00004 == um);
  EXPECT_TRUE(um != 1.00006);
  EXPECT_TRUE(um < 1.00006);
  EXPECT_TRUE(0.99994 < um);
  EXPECT_TRUE(um <= 1.00004 && um >= 0.99996);
  EXPECT_TRUE(Cy(-1) < Cy(0) && Cy(0) > Cy(-1));
  EXPECT_TRUE(Cy(0x1'0000'0000) > Cy(0xFFFF'FFFF));  // signed 64 bits, not the low word
  EXPECT_TRUE(um >= um && um <= um && !(um != um));

  CY acumulado = um;
  acumulado += dois;
  acumulado -= 0.5;
  acumulado *= Cy(20000);
  acumulado /= 2.0;
  EXPECT_EQ(acumulado.int64, 25000);
  acumulado *= 4.0;
  acumulado /= Cy(0);  // nothing to compute: left as it was
  EXPECT_EQ(acumulado.int64, 100000);
}

TEST(CQVCurrencyEx, CalculatorStepsKeepTheResultsPrecision) {
  struct Caso {
    char operador;
    int64_t esperado;
  } casos[] = {{'+', 8600}, {'-', 76600}, {'*', -145000}, {'/', -12500}, {'x', 99900}};
  // 4.2666 and -3.4 into a result kept to two decimals by truncation: 0.8666, 7.6666, -14.5064 and
  // -1.2549 are cut to hundredths.
  for (const Caso& c : casos) {
    CQVCurrencyEx resultado(true, false, CQVCurrencyEx(Cy(99900)));
    QVOperaCurrency(CQVCurrencyEx(Cy(42666)), c.operador, CQVCurrencyEx(Cy(-34000)), resultado);
    EXPECT_EQ(resultado.GetValorBruto(), c.esperado) << c.operador;
    EXPECT_TRUE(resultado.EhDuasCasas());
  }
  CQVCurrencyEx resultado;
  QVOperaCurrencyLong(CQVCurrencyEx(Cy(25000)), '*', 3, resultado);
  EXPECT_EQ(resultado.GetValorBruto(), 75000);
  QVOperaCurrencyLong(CQVCurrencyEx(Cy(10000)), '/', 3, resultado);
  EXPECT_EQ(resultado.GetValorBruto(), 3333);
  QVOperaCurrencyLong(CQVCurrencyEx(Cy(10000)), '?', 3, resultado);
  EXPECT_EQ(resultado.GetValorBruto(), 3333);
}

TEST(CQVCurrencyEx8, AdjustsToEveryNumberOfDecimalsInEveryMode) {
  struct Caso {
    int64_t bruto;
    short casas;
    int modo;
    int64_t esperado;
  } casos[] = {
      // A tie at each number of decimals, and its neighbours.
      {250000000, 0, 0, 300000000},  {250000000, 0, 1, 200000000},  {250000000, 0, 2, 200000000},
      {-250000000, 0, 0, -300000000}, {-250000000, 0, 1, -200000000}, {-250000000, 0, 2, -200000000},
      {350000000, 0, 2, 400000000},  {249999999, 0, 0, 200000000},   {250000001, 0, 2, 300000000},
      {125000000, 1, 0, 130000000},  {125000000, 1, 1, 120000000},   {125000000, 1, 2, 120000000},
      {-135000000, 1, 2, -140000000},
      {12500000, 2, 0, 13000000},    {12500000, 2, 1, 12000000},     {12500000, 2, 2, 12000000},
      {-13500000, 2, 2, -14000000},  {12499999, 2, 0, 12000000},     {12500001, 2, 2, 13000000},
      {100050000, 3, 0, 100100000},  {100050000, 3, 1, 100000000},   {100050000, 3, 2, 100000000},
      {-1964850000, 3, 0, -1964900000}, {-1964850000, 3, 1, -1964800000}, {-1964850000, 3, 2, -1964800000},
      {125000, 4, 0, 130000},        {125000, 4, 1, 120000},         {125000, 4, 2, 120000},
      {1500, 5, 0, 2000},            {1500, 5, 1, 1000},             {1500, 5, 2, 2000},
      {-60806250, 6, 0, -60806300},  {-60806250, 6, 1, -60806200},   {-60806250, 6, 2, -60806200},
      {-1572665, 7, 0, -1572670},    {-1572665, 7, 1, -1572660},     {-1572665, 7, 2, -1572660},
      {-1572675, 7, 2, -1572680},
      // Values already within their decimals stay as they are, also where a double would drift.
      {52099000, 6, 1, 52099000},    {52099000, 6, 0, 52099000},     {-50159490, 7, 1, -50159490},
      {123456789, 8, 0, 123456789},  {123456789, 8, 1, 123456789},   {-123456789, 8, 2, -123456789},
      {1000000000000000123, 8, 0, 1000000000000000123},
      // Decimals outside 0..8: modes 0 and 1 hold 0, unknown modes leave the value, mode 2 leaves
      // it above 8.
      {123456789, 9, 0, 0},          {123456789, -1, 1, 0},          {123456789, 9, 2, 123456789},
      {123456789, 2, 5, 123456789},
      // Mode 2 below 0 decimals rounds half to even to tens, hundreds, ...; once the step passes
      // 10^19, twice every 64-bit magnitude, the value is 0.
      {1500000000, -1, 2, 2000000000},   {2500000000, -1, 2, 2000000000},  {2500000001, -1, 2, 3000000000},
      {-3500000000, -1, 2, -4000000000}, {123456789, -1, 2, 0},            {25000000000, -2, 2, 20000000000},
      {-35000000000, -2, 2, -40000000000}, {5000000000000000000, -11, 2, 0},
      {-4999999999999999999, -11, 2, 0}, {INT64_MAX, -12, 2, 0},           {INT64_MIN, -32768, 2, 0},
      {INT64_MIN, -11, 2, 8446744073709551616},  // past the half of 10^19: -10^19 wraps round
  };
  for (const Caso& c : casos) {
    CQVCurrencyEx8 valor(Cy(c.bruto));
    valor.SetPrecisaoModo(c.casas, c.modo);
    EXPECT_EQ(valor.GetValorBruto(), c.esperado) << c.bruto << " with " << c.casas << " decimals, mode " << c.modo;
  }
}

TEST(CQVCurrencyEx8, ConstructionAssignmentAndConversions) {
  CQVCurrencyEx8 padrao;
  EXPECT_EQ(padrao.GetCasasDecimais(), 8);
  EXPECT_EQ(padrao.GetModo(), kQVModoArredonda);
  EXPECT_EQ(CQVCurrencyEx8(1.5).GetValorBruto(), 150000000);
  EXPECT_EQ(CQVCurrencyEx8(-0.000000025).GetValorBruto(), -3);  // rounded half away at eight decimals
  EXPECT_EQ(CQVCurrencyEx8(Cy(-7)).GetCY().int64, -7);

  CQVCurrencyEx8 duasCasas;
  duasCasas.SetPrecisao(2, false);
  EXPECT_FALSE(duasCasas.GetArredonda());
  duasCasas = CQVCurrencyEx(Cy(12399));  // 1.2399 rescaled exactly, then cut
  EXPECT_EQ(duasCasas.GetValorBruto(), 123000000);
  duasCasas = CQVCurrencyEx8(Cy(987654321));  // only the value is taken
  EXPECT_EQ(duasCasas.GetValorBruto(), 987000000);
  EXPECT_EQ(duasCasas.GetCasasDecimais(), 2);
  duasCasas = -2.345;
  EXPECT_EQ(duasCasas.GetValorBruto(), -234000000);
  duasCasas.SetValor(Cy(555555555));
  EXPECT_EQ(duasCasas.GetValorBruto(), 555000000);
  duasCasas.SetArredonda(true).SetValorBruto(555555555);
  EXPECT_EQ(duasCasas.GetValorBruto(), 556000000);

  CQVCurrencyEx8 copia(duasCasas);
  EXPECT_EQ(copia.GetCasasDecimais(), 2);
  CQVCurrencyEx8 copiada;
  copiada.Copia(duasCasas);
  EXPECT_EQ(copiada.GetCasasDecimais(), 2);
  EXPECT_EQ(copiada.GetValorBruto(), 556000000);

  CQVCurrencyEx quatro = CQVCurrencyEx8(Cy(123456789)).ParaCurrencyEx();
  EXPECT_EQ(quatro.GetValorBruto(), 12346);
  EXPECT_EQ(quatro.GetModo(), kQVModoTrunca);
  EXPECT_DOUBLE_EQ(CQVCurrencyEx8(Cy(-125000000)).GetDouble(), -1.25);
  EXPECT_EQ(CQVCurrencyEx8(Cy(200000000)).MultiplicaPorFator(15000).GetValorBruto(), 300000000);
}

TEST(CQVCurrencyEx8, OperatorsRescaleFourDecimalValuesExactly) {
  CQVCurrencyEx8 valor(Cy(150000000));
  valor += Cy(1);  // 0.0001
  EXPECT_EQ(valor.GetValorBruto(), 150010000);
  valor -= Cy(10000);
  EXPECT_EQ(valor.GetValorBruto(), 50010000);
  valor += CQVCurrencyEx8(Cy(-10000));
  EXPECT_EQ(valor.GetValorBruto(), 50000000);
  valor -= CQVCurrencyEx8(Cy(1));
  EXPECT_EQ(valor.GetValorBruto(), 49999999);
  valor *= Cy(20000);
  EXPECT_EQ(valor.GetValorBruto(), 99999998);
  valor /= Cy(20000);
  EXPECT_EQ(valor.GetValorBruto(), 49999999);
  valor *= CQVCurrencyEx8(Cy(300000000));
  EXPECT_EQ(valor.GetValorBruto(), 149999997);
  valor /= CQVCurrencyEx8(Cy(300000000));
  EXPECT_EQ(valor.GetValorBruto(), 49999999);

  CQVCurrencyEx8 umTerco(Cy(33333333));
  EXPECT_EQ((Cy(10000) + umTerco).GetValorBruto(), 133333333);
  EXPECT_EQ((umTerco + Cy(-10000)).GetValorBruto(), -66666667);
  EXPECT_EQ((umTerco + umTerco).GetValorBruto(), 66666666);
  EXPECT_EQ((Cy(10000) - umTerco).GetValorBruto(), 66666667);
  EXPECT_EQ((umTerco - Cy(1)).GetValorBruto(), 33323333);
  EXPECT_EQ((umTerco - umTerco).GetValorBruto(), 0);
  EXPECT_EQ((Cy(30000) * umTerco).GetValorBruto(), 99999999);
  EXPECT_EQ((umTerco * Cy(30000)).GetValorBruto(), 99999999);
  EXPECT_EQ((umTerco * umTerco).GetValorBruto(), 11111111);
  EXPECT_EQ((Cy(10000) / CQVCurrencyEx8(Cy(300000000))).GetValorBruto(), 33333333);
  EXPECT_EQ((umTerco / Cy(30000)).GetValorBruto(), 11111111);
  EXPECT_EQ((umTerco / umTerco).GetValorBruto(), 100000000);

  CQVCurrencyEx8 duasCasas;
  duasCasas.SetPrecisao(2, true);
  EXPECT_EQ((duasCasas + umTerco).GetCasasDecimais(), 8) << "a result has 8 decimals";
}

TEST(CQVCurrencyEx8, TextsAndTheNumberReader) {
  struct Texto8 {
    int64_t bruto;
    short casas;
    int modo;
    const char* texto;
  } textos[] = {
      {123456789, 8, 0, "1,23456789"}, {123450000000, 2, 0, "1.234,50"}, {-50000000, 0, 0, "-1"},
      {0, 8, 0, "0,00000000"},         {0, 0, 0, "0"},                   {10000, 8, 0, "0,00010000"},
      // Every digit of the count, also below 0,0001 and beyond 15 significant digits.
      {5000, 8, 0, "0,00005000"},      {1000, 8, 0, "0,00001000"},       {-1, 8, 0, "-0,00000001"},
      {1234567812345678, 8, 0, "12.345.678,12345678"}, {INT64_MIN, 8, 0, "-92.233.720.368,54775808"},
      // An unknown mode keeps digits beyond the decimals: the text rounds them half away from zero.
      {1234567812499999, 2, 5, "12.345.678,12"}, {1234567812500000, 2, 5, "12.345.678,13"},
      {-999999999500000, 2, 5, "-10.000.000,00"}, {-400000, 2, 5, "0,00"},
      // Mode 2 leaves the value beyond 8 decimals; the formatter writes at most 9.
      {123456789, 9, 2, "1,234567890"}, {123456789, 10, 2, ""},
  };
  for (const Texto8& t : textos) {
    CQVCurrencyEx8 valor(Cy(t.bruto));
    valor.SetPrecisaoModo(t.casas, t.modo);
    EXPECT_EQ(Texto(valor.GetTexto()), t.texto) << t.bruto << " with " << t.casas << " decimals, mode " << t.modo;
  }

  struct Leitura {
    const char* texto;
    int64_t bruto;
  } leituras[] = {
      {"12,5", 1250000000},     {"12.5", 1250000000},  {"-3", -300000000},       {"1.234,56", 123456000000},
      {"1,234.56", 123456000000}, {"-0,001", -100000},  {"0,12345678", 12345678}, {"", 0},
      {"abc", 0},               {"12,", 1200000000},   {"R$ -7,25", -725000000},
  };
  for (const Leitura& l : leituras) {
    CQVCurrencyEx8 valor;
    EXPECT_EQ(valor.SetTexto(l.texto).GetValorBruto(), l.bruto) << l.texto;
  }
  CQVCurrencyEx8 inteiro;
  inteiro.SetCasasDecimais(0);
  EXPECT_EQ(inteiro.SetTexto("2,5").GetValorBruto(), 300000000);
}

TEST(QVArredonda, RoundingOfDoubles) {
  struct Caso {
    double x;
    int d;
    int modo;  // -1: QVArredondaValor with truncation
    double esperado;
  } casos[] = {
      {2.5, 0, 0, 3.0},   {-2.5, 0, 0, -3.0},  {2.5, 0, 1, 3.0},    {2.5, 0, 2, 2.0},  {3.5, 0, 2, 4.0},
      {-0.125, 2, 2, -0.12}, {0.135, 2, 0, 0.14}, {2.59, 1, -1, 2.5}, {-2.59, 1, -1, -2.5}, {1.5, 9, 0, 0.0},
      {1.5, -1, 0, 0.0},  {1.5, 0, 3, 0.0},   {123.456789, 4, 0, 123.4568},
  };
  for (const Caso& c : casos) {
    const double resultado = c.modo < 0 ? QVArredondaValor(c.x, c.d, false) : QVArredondaPorModo(c.x, c.d, c.modo);
    EXPECT_NEAR(resultado, c.esperado, 1e-12) << c.x << " " << c.d << " " << c.modo;
  }
  EXPECT_TRUE(QVValoresProximos(1.0, 1.0005, 3));
  EXPECT_FALSE(QVValoresProximos(1.0, 1.002, 3));
  EXPECT_TRUE(QVValoresProximos(-5.0, -5.4, 0));
  EXPECT_FALSE(QVValoresProximos(-5.0, -6.0, 0));
}

TEST(QVValidaTextoNumero, AcceptsNumbersAsUsersTypeThem) {
  struct Caso {
    const char* texto;
    bool valido;
  } casos[] = {
      {"1.234,56", true}, {"-12,5", true},   {"1234.5", true},    {"12", true},      {"", true},
      {"   ", true},      {"+7", true},      {"1.234.567", true}, {"123.456,789", true},
      {"1.23,5", false},  {"12,", false},    {"+-1", false},      {"1,2,3", false},  {"1.2345", true},
      {"1234.567,8", false}, {"12a", false}, {" 12", false},      {"-", false},      {",5", false},
      {"1.234.56", true}, {"12,5a", false}, {"\xe9", false},
  };
  for (const Caso& c : casos) EXPECT_EQ(QVValidaTextoNumero(c.texto), c.valido) << "\"" << c.texto << "\"";
}

TEST(QVConverteUnidade, AppliesBothFactorsKeepingFourDecimals) {
  struct Caso {
    int64_t bruto;
    int unidadeA, unidadeB;
    int64_t esperado;
  } casos[] = {
      {10000000, 5, 0, 10000},    // 1000 x 1/1000
      {10000, 6, 0, 22100},       // 1 x 2.21
      {10000, 2, 6, 221},         // 1 x 1/100 x 2.21 = 0.0221
      {12345678, 3, 1, 123},      // 1234.5678 / 100000 = 0.012345678
      {100000, 4, 0, 0},          // 10 / 1000000 = 0.00001
      {-30000, 6, 6, -146523},    // -3 x 2.21 x 2.21
      {12345, 0, 7, 12345},
  };
  for (const Caso& c : casos)
    EXPECT_EQ(QVConverteUnidade(Cy(c.bruto), c.unidadeA, c.unidadeB).int64, c.esperado)
        << c.bruto << " " << c.unidadeA << " " << c.unidadeB;
}
