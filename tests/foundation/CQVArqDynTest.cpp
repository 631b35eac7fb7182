#include "foundation/CQVArqDyn.h"

#include <gtest/gtest.h>

#include <string>

#include "foundation/CQVException.h"
#include "platform/win32/codepage.h"
#include "tests/foundation/DiretorioDados.h"

namespace {

constexpr UINT kCria = CFile::modeCreate | CFile::modeReadWrite | CFile::shareDenyWrite;
constexpr UINT kGrava = CFile::modeReadWrite | CFile::shareDenyWrite;
constexpr UINT kLe = CFile::modeRead | CFile::shareDenyNone;

std::string Comprimento(uint16_t n) { return std::string{static_cast<char>(n & 0xFF), static_cast<char>(n >> 8)}; }

class CQVArqDynTest : public ::testing::Test {
 protected:
  std::string Caminho() const { return dados.Caminho("TEXTOS.DAT"); }
  std::string Conteudo() const { return dados.Le("TEXTOS.DAT"); }

  // The text of the CQVException that `operacao` throws, in UTF-8; empty when it throws none.
  template <typename Operacao>
  static std::string TextoDaExcecao(Operacao operacao) {
    try {
      operacao();
    } catch (const CQVException& erro) {
      return Utf8FromAnsi(erro.GetTexto().str());
    }
    return "";
  }
  template <typename Operacao>
  static int CausaDaExcecao(Operacao operacao) {
    try {
      operacao();
    } catch (const CFileException& erro) {
      return erro.m_cause;
    }
    return CFileException::none;
  }

  DiretorioDados dados;
};

TEST_F(CQVArqDynTest, NewFileHoldsTheSignatureAndRecordsFollowIt) {
  CQVArqDyn arquivo(Caminho().c_str(), kCria);
  EXPECT_EQ(Conteudo(), "QV");
  uint32_t primeiro = 0, segundo = 0;
  arquivo.Grava(&primeiro, "0123456789", 10);
  arquivo.Grava(&segundo, "ab", 2);
  EXPECT_EQ(primeiro, 2u);
  EXPECT_EQ(segundo, 14u);
  EXPECT_EQ(Conteudo(), "QV" + Comprimento(10) + "0123456789" + Comprimento(2) + "ab");

  char buffer[16] = {};
  EXPECT_EQ(arquivo.Le(primeiro, buffer, 10), 10u);
  EXPECT_EQ(std::string(buffer, 10), "0123456789");
  EXPECT_EQ(arquivo.Le(segundo, buffer, sizeof buffer), 2u);
  EXPECT_EQ(std::string(buffer, 2), "ab");
}

TEST_F(CQVArqDynTest, RewriteStaysInPlaceWhenItFitsElseIsAppended) {
  CQVArqDyn arquivo(Caminho().c_str(), kCria);
  uint32_t ponteiro = 0;
  arquivo.Grava(&ponteiro, "0123456789", 10);
  arquivo.Grava(&ponteiro, "abcdefgh", 8);
  EXPECT_EQ(ponteiro, 2u);
  EXPECT_EQ(arquivo.LeTamanhoRegistro(2), 8u);
  EXPECT_EQ(Conteudo(), "QV" + Comprimento(8) + "abcdefgh89");

  // The 10-byte place now says 8: a 10-byte text no longer fits it.
  arquivo.Grava(&ponteiro, "ABCDEFGHIJ", 10);
  EXPECT_EQ(ponteiro, 14u);
  EXPECT_EQ(Conteudo(), "QV" + Comprimento(8) + "abcdefgh89" + Comprimento(10) + "ABCDEFGHIJ");
}

TEST_F(CQVArqDynTest, FileWithContentButNoSignatureIsRefusedAndLeftUntouched) {
  const UINT aberturas[] = {kLe, kGrava, CFile::modeCreate | CFile::modeNoTruncate | kGrava};
  for (const char* conteudo : {"XY textos de outro programa", "Q"}) {
    for (UINT flags : aberturas) {
      dados.Escreve("TEXTOS.DAT", conteudo);
      CQVArqDyn arquivo;
      EXPECT_EQ(CausaDaExcecao([&] { arquivo.Abre(Caminho().c_str(), flags); }), CFileException::invalidFile)
          << flags << " " << conteudo;
      EXPECT_EQ(Conteudo(), conteudo) << flags;
      // Nothing of the refused open stays: a writer gets in.
      CFile escritor;
      EXPECT_TRUE(escritor.Open(Caminho().c_str(), kGrava)) << flags;
    }
  }
}

TEST_F(CQVArqDynTest, EmptyFileGetsTheSignatureOnlyWhenOpenedForWriting) {
  dados.Escreve("TEXTOS.DAT", "");
  {
    CQVArqDyn leitura(Caminho().c_str(), kLe);
  }
  EXPECT_EQ(Conteudo(), "");
  CQVArqDyn gravacao(Caminho().c_str(), kGrava);
  EXPECT_EQ(Conteudo(), "QV");
}

TEST_F(CQVArqDynTest, BadPointersSmallBuffersAndCutRecordsThrow) {
  dados.Escreve("TEXTOS.DAT", "QV" + Comprimento(10) + "0123");  // the record was cut
  CQVArqDyn arquivo(Caminho().c_str(), kGrava);
  char buffer[16] = {'x'};
  EXPECT_EQ(TextoDaExcecao([&] { arquivo.Le(2, buffer, 9); }), "Falha ao ler arquivo");
  EXPECT_EQ(buffer[0], 'x');
  EXPECT_EQ(CausaDaExcecao([&] { arquivo.Le(2, buffer, sizeof buffer); }), CFileException::endOfFile);

  const uint32_t fim = static_cast<uint32_t>(Conteudo().size());
  const std::string invalido = "O ponteiro para o registro não é válido";
  EXPECT_EQ(TextoDaExcecao([&] { arquivo.Le(fim, buffer, sizeof buffer); }), invalido);
  uint32_t ponteiro = fim;
  EXPECT_EQ(TextoDaExcecao([&] { arquivo.Grava(&ponteiro, "a", 1); }), invalido);
  EXPECT_EQ(TextoDaExcecao([&] { arquivo.Le(1, buffer, sizeof buffer); }), invalido);

  // A record longer than its 16-bit length can say is refused before anything is written.
  const std::string grande(CQVArqDyn::kMaiorRegistro + 1, 'g');
  ponteiro = 0;
  EXPECT_FALSE(TextoDaExcecao([&] { arquivo.Grava(&ponteiro, grande.data(), grande.size()); }).empty());
  EXPECT_EQ(Conteudo().size(), fim);
}

TEST_F(CQVArqDynTest, OpenFailureThrowsTheFileExceptionWithCauseErrorAndName) {
  CQVArqDyn arquivo;
  try {
    arquivo.Abre(Caminho().c_str(), kLe);
    FAIL() << "a missing file opened";
  } catch (const CFileException& erro) {
    EXPECT_EQ(erro.m_cause, CFileException::fileNotFound);
    EXPECT_EQ(erro.m_lOsError, 2);
    EXPECT_STREQ(erro.m_strFileName, Caminho().c_str());
  }
}

}  // namespace
