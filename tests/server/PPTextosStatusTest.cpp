#include "server/PPTextosStatus.h"

#include <gtest/gtest.h>

#include "platform/win32/codepage.h"

TEST(PPTextosStatus, ErrorValuesCarryTheMessageNumber) {
  EXPECT_EQ(static_cast<uint32_t>(PPErroHResult(1722)), 0x800406BAu);
  EXPECT_EQ(static_cast<uint32_t>(PPErroHResult(975)), 0x800403CFu);
  EXPECT_TRUE(FAILED(PPErroHResult(16021)));
  EXPECT_EQ(HRESULT_CODE(PPErroHResult(16021)), 16021u);
}

TEST(PPTextosStatus, CodeTextsInWindows1252) {
  struct Caso { CString (*funcao)(uint8_t); uint8_t codigo; const char* utf8; } casos[] = {
      {PPTextoSituacaoOP, 1, "Não iniciada"},        {PPTextoSituacaoOP, 49, "Concluída c/ perda"},
      {PPTextoSituacaoOP, 3, ""},                    {PPTextoSituacaoOP, 99, "Cancelada"},
      {PPTextoSituacaoProcessoOP, 3, "Em produção"}, {PPTextoSituacaoProcessoOP, 2, ""},
      {PPTextoSituacaoManutencao, 8, "Concluída"},   {PPTextoSituacaoManutencao, 3, ""},
      {PPTextoTipoItemOP, 4, "Reprocesso"},          {PPTextoSituacaoRI, 0, "Pendente"},
      {PPTextoTipoRecurso, 2, "Máquina"},            {PPTextoOPReprocesso, 0, "Normal"},
      {PPTextoOPReprocesso, 2, "Reprocesso"},        {PPTextoTipoManutencao, 2, "Corretiva"},
      {PPTextoTipoRegistroNecessidade, 3, "Agrupamento"}, {PPTextoSimNao, 1, "Sim"},
      {PPTextoSimNao, 2, "Não"},                     {PPTextoAtivoInativo, 'I', "Inativo"},
      {PPTextoAtivoInativo, 'X', ""},                {PPTextoProdutoServico, 'S', "Serviço"},
      {PPTextoInternoExterno, 0, "Externo"},
  };
  for (const Caso& c : casos) EXPECT_EQ(Utf8FromAnsi(c.funcao(c.codigo).str()), c.utf8) << c.utf8;
}

TEST(PPTextosStatus, ReadKindBits) {
  EXPECT_TRUE(PPTipoLeituraBit7(0x80));
  EXPECT_FALSE(PPTipoLeituraBit6(0x80));
  EXPECT_TRUE(PPTipoLeituraBit15(0x8000));
  EXPECT_TRUE(PPTipoLeituraBit1ou7(0x80));
  EXPECT_FALSE(PPTipoLeituraBit1ou2(0x01));
  EXPECT_TRUE(PPTipoLeituraBit8ou12(0x1000));
  EXPECT_FALSE(PPTipoLeituraBits5_6_8_9_12(0x080));
  EXPECT_FALSE(PPTipoLeituraBits0a2e5a12((1u << 3) | (1u << 4)));
  EXPECT_TRUE(PPTipoLeituraBits0a2e5a12(1u << 12));
  EXPECT_FALSE(PPTipoLeituraBits0a2e5a12(1u << 13));
}

TEST(PPTextosStatus, NumberAndPeriodTexts) {
  EXPECT_STREQ(PPInteiroParaTexto(-42), "-42");
  EXPECT_STREQ(PPNumeroParaTexto(65535), "65535");
  EXPECT_STREQ(PPSufixoPeriodo(949), "0127");
  EXPECT_STREQ(PPSufixoPeriodo(2148), "1226");
  EXPECT_LT(PPComparaChaves((900u << 12) | 2114, (1u << 12) | 2125), 0);
}
