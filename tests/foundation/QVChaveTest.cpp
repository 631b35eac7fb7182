#include "foundation/QVChave.h"

#include <gtest/gtest.h>

#include "foundation/QVData.h"

TEST(QVChave, TextFormRoundTripsAndRefusesImpossibleMonths) {
  const uint32_t chave = (25u << 12) | 2126;  // 02/2025, sequence 25
  EXPECT_STREQ(QVChaveParaTexto(chave), "0225-000025");
  EXPECT_EQ(QVTextoParaChave("0225-000025"), chave);
  EXPECT_EQ(QVTextoParaChave("0225-25"), chave);
  EXPECT_STREQ(QVChaveParaTexto(QVMontaChave(949, 0xFFFFF)), "0127-1048575");  // 20 bits of sequence
  EXPECT_EQ(QVTextoParaChave("0127-1048575"), QVMontaChave(949, 0xFFFFF));
  // A sequence number beyond 20 bits would name another record of the month: 1048577 record 1.
  struct Caso { const char* texto; } recusados[] = {{"1325-000025"}, {"0025-000025"}, {"0225-000000"}, {"0225"}, {""},
                                                  {"xx25-1"}, {"0225-1048576"}, {"0225-1048577"}, {"0225-4294967297"},
                                                  {"0225-99999999999999999999"}, {"0225-"}, {"0225-x"}};
  for (const Caso& c : recusados) EXPECT_EQ(QVTextoParaChave(c.texto), 0u) << c.texto;
  EXPECT_EQ(QVTextoParaChave(nullptr), 0u);
}

TEST(QVChave, PartsOfAKey) {
  uint32_t chave = QVMontaChave(2126, 25);
  EXPECT_EQ(QVGetNumeroDaChave(chave), 25u);
  EXPECT_EQ(QVGetMesAnoDaChave(chave), 2126);
  EXPECT_EQ(QVMontaChaveDeTexto("02/25", 25), chave);
  char mesAno[8];
  uint32_t numero = 0;
  EXPECT_EQ(QVSeparaChave(chave, mesAno, &numero), 25u);
  EXPECT_EQ(numero, 25u);
  EXPECT_STREQ(mesAno, "02/25");
  EXPECT_EQ(QVGetNumeroDaChave(QVMontaChave(949, 0xFFFFF)), 0xFFFFFu);
}

TEST(QVChave, ComparesByMonthFirst) {
  uint32_t fev2024 = QVMontaChave(2114, 900), jan2025 = QVMontaChave(2125, 1);
  EXPECT_EQ(QVComparaChave(fev2024, jan2025), -1);
  EXPECT_EQ(QVComparaChave(jan2025, fev2024), 1);
  EXPECT_EQ(QVComparaChave(QVMontaChave(2125, 2), QVMontaChave(2125, 3)), -1);
  EXPECT_EQ(QVComparaChave(jan2025, jan2025), 0);
  // The high sequence numbers make the key negative as a signed value; the comparison is unsigned.
  EXPECT_EQ(QVComparaChave(QVMontaChave(2125, 0x80000), QVMontaChave(2125, 1)), 1);
}

TEST(QVChave, GeneratingDocumentKeepsTheLow24BitsOfTheKey) {
  _QV_DMC_ps dmc{};
  QVMontaDMC(&dmc, QVMontaChave(2126, 25), 7, 55519);
  EXPECT_EQ(static_cast<uint32_t>(dmc.lChaveModulo), (((25u << 12) | 2126u) << 8) | 7u);
  EXPECT_EQ(dmc.iData, 55519);
  QVMontaDMC(&dmc, QVMontaChave(2126, 0xFFFFF), 0xFF, 0);
  EXPECT_EQ(static_cast<uint32_t>(dmc.lChaveModulo), ((((0xFFFFFu << 12) | 2126u) & 0xFFFFFFu) << 8) | 0xFFu);
}
