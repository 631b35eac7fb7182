#include "server/CPPArqEx.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/win32/codepage.h"
#include "server/PPTextosStatus.h"
#include "tests/foundation/DiretorioDados.h"

namespace {

class CPPArqExTest : public ::testing::Test {
 protected:
  DiretorioDados dados;
};

TEST_F(CPPArqExTest, FileOfPartialRecordsIsRefusedWith1722AtEveryOpen) {
  struct Caso {
    size_t bytes;
    uint32_t tamanho;
    int resultado;
  } casos[] = {{1025, 512, 1722}, {1024, 512, 0}, {1025, 64, 1722}, {1024, 64, 0}};
  for (const Caso& caso : casos) {
    const std::string conteudo(caso.bytes, 'r');
    dados.Escreve("PPTESTE.DAT", conteudo);
    const std::string nome = dados.Caminho("PPTESTE.DAT");
    CPPArqEx arquivo;
    EXPECT_EQ(arquivo.Abre(nome.c_str(), 'G', caso.tamanho, false, true), caso.resultado) << caso.bytes;
    EXPECT_EQ(arquivo.EstaAberto(), caso.resultado == 0) << caso.bytes;
    if (caso.resultado == 0) {
      EXPECT_EQ(arquivo.GetQuantidadeRegistros(), static_cast<int32_t>(caso.bytes / caso.tamanho) - 1);
      continue;
    }
    // Refused again by every operation that opens it; nothing reaches the file.
    std::string registro(caso.tamanho, 'w');
    uint32_t numero = 0;
    EXPECT_EQ(arquivo.Grava(registro.data(), &numero), 1722);
    EXPECT_EQ(arquivo.Le(1, registro.data()), 1722);
    EXPECT_EQ(dados.Le("PPTESTE.DAT"), conteudo);
  }
}

// Left so by a creator killed before the header: the open for writing completes it before the
// check, and the first append is record 1.
TEST_F(CPPArqExTest, EmptyFileGetsItsHeaderAtTheOpenForWriting) {
  dados.Escreve("PPVAZIO.DAT", "");
  const std::string nome = dados.Caminho("PPVAZIO.DAT");
  CPPArqEx arquivo;
  ASSERT_EQ(arquivo.Abre(nome.c_str(), 'G', 64, false, true), 0);
  EXPECT_EQ(arquivo.GetQuantidadeRegistros(), 0);
  const std::string registro(64, 'r');
  uint32_t numero = 0;
  EXPECT_EQ(arquivo.Grava(registro.data(), &numero), 0);
  EXPECT_EQ(numero, 1u);
  EXPECT_EQ(dados.Le("PPVAZIO.DAT"), std::string(64, 0) + registro);
}

TEST_F(CPPArqExTest, OpeningAVariableRecordFileCreatesItOrRefusesAForeignOne) {
  const std::string nome = dados.Caminho("PPTEXTO.DAT");
  CQVArqDyn arquivo;
  EXPECT_EQ(PPAbreArquivoDyn(nome.c_str(), &arquivo, CFile::modeRead | CFile::shareDenyNone), S_OK);
  EXPECT_EQ(dados.Le("PPTEXTO.DAT"), "QV");
  EXPECT_EQ(PPFechaArquivoDyn(&arquivo), S_OK);

  dados.Escreve("ALHEIO.DAT", "textos sem assinatura");
  const std::string alheio = dados.Caminho("ALHEIO.DAT");
  EXPECT_EQ(PPCriaArquivoDyn(alheio.c_str()), S_OK);
  EXPECT_EQ(PPAbreArquivoDyn(alheio.c_str(), &arquivo, CFile::modeReadWrite | CFile::shareDenyWrite),
            PPErroHResult(1697));
  EXPECT_EQ(dados.Le("ALHEIO.DAT"), "textos sem assinatura");

  EXPECT_EQ(PPCriaArquivoDyn((dados.Diretorio() + "NAO\\PPTEXTO.DAT").c_str()), PPErroHResult(1590));
}

TEST_F(CPPArqExTest, TextsAreWrittenInPlaceWhenTheyFitAndReadBackUpToAZero) {
  const std::string nome = dados.Caminho("PPTEXTO.DAT");
  ASSERT_EQ(PPCriaArquivoDyn(nome.c_str()), S_OK);
  uint32_t ponteiro = 0;
  EXPECT_EQ(PPGravaTextoArquivoDyn(nome.c_str(), "observação"_ansi, &ponteiro), S_OK);
  EXPECT_EQ(ponteiro, 2u);
  const std::string depoisDoPrimeiro = dados.Le("PPTEXTO.DAT");

  EXPECT_EQ(PPGravaTextoArquivoDyn(nome.c_str(), "", &ponteiro), S_OK);
  EXPECT_EQ(ponteiro, 0u);
  EXPECT_EQ(dados.Le("PPTEXTO.DAT"), depoisDoPrimeiro);

  ponteiro = 2;
  EXPECT_EQ(PPGravaTextoArquivoDyn(nome.c_str(), "curta", &ponteiro), S_OK);
  EXPECT_EQ(ponteiro, 2u);
  EXPECT_EQ(PPGravaTextoArquivoDyn(nome.c_str(), "uma observação mais longa"_ansi, &ponteiro), S_OK);
  EXPECT_EQ(ponteiro, depoisDoPrimeiro.size());

  CQVArqDyn arquivo;
  ASSERT_EQ(PPAbreArquivoDyn(nome.c_str(), &arquivo, CFile::modeReadWrite | CFile::shareDenyWrite), S_OK);
  CString texto = "resto";
  EXPECT_EQ(PPLeTextoDyn(&arquivo, ponteiro, texto), S_OK);
  EXPECT_STREQ(texto, "uma observação mais longa"_ansi);
  EXPECT_EQ(PPLeTextoDyn(&arquivo, 2, texto), S_OK);
  EXPECT_STREQ(texto, "curta");
  EXPECT_EQ(PPLeTextoDyn(&arquivo, 0, texto), S_OK);
  EXPECT_STREQ(texto, "");
  EXPECT_EQ(PPLeTextoDyn(&arquivo, 9999, texto), PPErroHResult(1698));

  uint32_t comZero = 0;
  ASSERT_NO_THROW(arquivo.Grava(&comZero, "ab\0cd", 5));
  EXPECT_EQ(PPLeTextoDyn(&arquivo, comZero, texto), S_OK);
  EXPECT_STREQ(texto, "ab");
  uint32_t invalido = 9999;
  EXPECT_EQ(PPGravaTextoDyn(&arquivo, "x", &invalido), PPErroHResult(1699));
  EXPECT_EQ(PPFechaArquivoDyn(&arquivo), S_OK);

  EXPECT_EQ(PPGravaTextoArquivoDyn(dados.Caminho("FALTA.DAT").c_str(), "x", &ponteiro), PPErroHResult(1699));
}

TEST(PPCopiaTexto, CopiesIntoFieldsWithoutPassingTheirEnd) {
  struct Caso {
    const char* origem;
    int tamanho;
    std::string copia, copiaN;
  } casos[] = {
      {"abc", 6, std::string("abc\0##", 6), std::string("abc\0\0\0", 6)},
      {"0123456789", 10, std::string("012345678\0", 10), "0123456789"},
      {"0123456789AB", 10, std::string("012345678\0", 10), "0123456789"},
      {nullptr, 3, std::string("\0##", 3), std::string("\0\0\0", 3)},
  };
  for (const Caso& caso : casos) {
    std::string copia(caso.tamanho + 2, '#'), copiaN(caso.tamanho + 2, '#');
    PPCopiaTexto(copia.data(), caso.tamanho, caso.origem);
    PPCopiaTextoN(copiaN.data(), caso.tamanho, caso.origem);
    EXPECT_EQ(copia, caso.copia + "##") << caso.tamanho;
    EXPECT_EQ(copiaN, caso.copiaN + "##") << caso.tamanho;
  }
}

}  // namespace
