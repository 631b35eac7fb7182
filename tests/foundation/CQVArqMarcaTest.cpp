#include "foundation/CQVArqMarca.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>

#include "foundation/CQVArqEx.h"
#include "platform/win32/clock.h"
#include "platform/win32/file.h"
#include "tests/foundation/DiretorioDados.h"

namespace {

class CQVArqMarcaTest : public ::testing::Test {
 protected:
  DiretorioDados dados;
};

// ---------------------------------------------------------------------------------------------------
// Lock files

TEST(QVMensagemMarca, HolderTableGivesTheNumberOfEachLock) {
  struct Caso {
    int numero, novo, antigo;
  } casos[] = {
      {1, 16225, 16225},   {9, 16357, 16357},   {10, 80021, 80021},  {23, 80233, 80233}, {24, 17396, 17396},
      {25, 996, 17396},    {29, 310468, 17396}, {30, 316571, 17396}, {31, 31, 17396},    {32, 17396, 17396},
      {50, 243612, 243612}, {200, 32000, 32000}, {205, 32051, 32051}, {213, 32131, 32131}, {214, 17396, 17396},
      {0, 17396, 17396},   {256 + 29, 310468, 17396},
  };
  for (const Caso& caso : casos) {
    EXPECT_EQ(QVMensagemMarca(caso.numero, true), caso.novo) << caso.numero;
    EXPECT_EQ(QVMensagemMarca(caso.numero, false), caso.antigo) << caso.numero;
  }
  EXPECT_STREQ(QVNomeArquivoMarca("\\d\\PP", 256 + 7), "\\d\\PP\\XXMARCA7.DAT");
  EXPECT_STREQ(QVNomeArquivoMarca("\\d\\PP\\", 29), "\\d\\PP\\XXMARCA29.DAT");
}

TEST_F(CQVArqMarcaTest, SecondHolderInTheProcessWaits50SecondsThenGetsTheHolderNumber) {
  TestClock relogio;
  CQVArqMarca primeiro, segundo;
  ASSERT_EQ(primeiro.Marca(dados.Diretorio().c_str(), 29), 0);
  EXPECT_TRUE(primeiro.EstaMarcado());
  EXPECT_EQ(primeiro.Marca(dados.Diretorio().c_str(), 30), 17396);  // keeps its lock

  const DWORD inicio = GetTickCount();
  EXPECT_EQ(segundo.Marca(dados.Diretorio().c_str(), 29), 310468);
  EXPECT_GE(GetTickCount() - inicio, CQVArqMarca::kEsperaMarca);
  EXPECT_LT(GetTickCount() - inicio, CQVArqMarca::kEsperaMarca + 40);
  EXPECT_FALSE(segundo.EstaMarcado());

  EXPECT_EQ(primeiro.Desmarca(), 0);
  const DWORD livre = GetTickCount();
  int resultado = -1;
  CQVArqMarca terceiro(&resultado, dados.Diretorio().c_str(), 29);
  EXPECT_EQ(resultado, 0);
  EXPECT_EQ(GetTickCount(), livre);
}

TEST_F(CQVArqMarcaTest, LockScopeEndsWithTheObject) {
  TestClock relogio;
  {
    int resultado = -1;
    CQVArqMarca marca(&resultado, dados.Diretorio().c_str(), 1);
    ASSERT_EQ(resultado, 0);
  }
  CQVArqMarca depois;
  const DWORD inicio = GetTickCount();
  EXPECT_EQ(depois.Marca(dados.Diretorio().c_str(), 1), 0);
  EXPECT_EQ(GetTickCount(), inicio);
}

TEST_F(CQVArqMarcaTest, MissingDirectoryIsRetriedForTheWholeWait) {
  TestClock relogio;
  CQVArqMarca marca;
  const DWORD inicio = GetTickCount();
  EXPECT_EQ(marca.Marca((dados.Diretorio() + "NAO\\EXISTE").c_str(), 1), 16225);
  EXPECT_GE(GetTickCount() - inicio, CQVArqMarca::kEsperaMarca);
}

TEST_F(CQVArqMarcaTest, DeniedLockFileIsWaitedForOnlyByCQVArqMarca) {
  dados.CriaMarcaNova();
  dados.Escreve("XXMARCA5.DAT", "");
  ASSERT_TRUE(SetFileAttributesA(dados.Caminho("XXMARCA5.DAT").c_str(), FILE_ATTRIBUTE_READONLY));
  TestClock relogio;
  const DWORD inicio = GetTickCount();
  CQVArqEx arquivo;
  EXPECT_EQ(arquivo.Marca(dados.Diretorio().c_str(), 5, 1, nullptr), 16080);
  EXPECT_EQ(GetTickCount(), inicio);
  CQVArqMarca marca;
  EXPECT_EQ(marca.Marca(dados.Diretorio().c_str(), 5), 16080);
  EXPECT_GE(GetTickCount() - inicio, CQVArqMarca::kEsperaMarca);
}

TEST_F(CQVArqMarcaTest, CQVArqExUsesLockFilesWhenTheMarkerExists) {
  dados.CriaMarcaNova();
  TestClock relogio;
  CQVArqEx arquivo;
  ASSERT_EQ(arquivo.Marca(dados.Diretorio().c_str(), 29, 3, "PP"), 0);
  EXPECT_TRUE(dados.Existe("XXMARCA29.DAT"));
  EXPECT_EQ(arquivo.Marca(dados.Diretorio().c_str(), 29, 3, "PP"), 17396);
  CQVArqMarca outro;
  EXPECT_EQ(outro.Marca(dados.Diretorio().c_str(), 29), 310468);
  EXPECT_EQ(arquivo.Desmarca(), 0);
  EXPECT_EQ(outro.Marca(dados.Diretorio().c_str(), 29), 0);
}

// Kills the child when the test leaves, whatever happened.
struct Filho {
  pid_t pid = -1;
  ~Filho() {
    if (pid > 0) {
      kill(pid, SIGKILL);
      waitpid(pid, nullptr, 0);
    }
  }
};

TEST_F(CQVArqMarcaTest, LockOfAnotherProcessIsWaitedForAndFreedWhenItsHolderIsKilled) {
  int pronto[2];
  ASSERT_EQ(pipe(pronto), 0);
  Filho filho;
  filho.pid = fork();
  ASSERT_GE(filho.pid, 0);
  if (filho.pid == 0) {
    CQVArqMarca marca;
    const char resultado = marca.Marca(dados.Diretorio().c_str(), 29) == 0 ? 'S' : 'N';
    if (write(pronto[1], &resultado, 1) != 1) _exit(1);
    for (;;) pause();
  }
  char resultado = 0;
  ASSERT_EQ(read(pronto[0], &resultado, 1), 1);
  ASSERT_EQ(resultado, 'S');

  TestClock relogio;
  CQVArqMarca marca;
  const DWORD inicio = GetTickCount();
  EXPECT_EQ(marca.Marca(dados.Diretorio().c_str(), 29), 310468);
  EXPECT_GE(GetTickCount() - inicio, CQVArqMarca::kEsperaMarca);

  kill(filho.pid, SIGKILL);
  waitpid(filho.pid, nullptr, 0);
  filho.pid = -1;
  const DWORD morto = GetTickCount();
  EXPECT_EQ(marca.Marca(dados.Diretorio().c_str(), 29), 0);
  EXPECT_EQ(GetTickCount(), morto);
  close(pronto[0]);
  close(pronto[1]);
}

// ---------------------------------------------------------------------------------------------------
// Old scheme: the 2-byte mark file

TEST_F(CQVArqMarcaTest, OldSchemeMarkFileIsNamedBySystemCode) {
  struct Caso {
    const char* sistema;
    const char* arquivo;
  } casos[] = {{"ES", "ESCMARCA.DAT"}, {"ex", "EXCMARCA.DAT"}, {"PP", "CNCMARCA.DAT"}, {nullptr, "CNCMARCA.DAT"}};
  for (const Caso& caso : casos) {
    CQVArqEx arquivo;
    ASSERT_EQ(arquivo.Marca(dados.Diretorio().c_str(), 2, 7, caso.sistema), 0) << caso.arquivo;
    EXPECT_EQ(dados.Le(caso.arquivo), std::string("\x02\x07", 2)) << caso.arquivo;
    EXPECT_EQ(arquivo.Desmarca(), 0);
    EXPECT_EQ(dados.Le(caso.arquivo), std::string("\0\0", 2)) << caso.arquivo;
  }
}

TEST_F(CQVArqMarcaTest, OldSchemeSecondHolderGetsTheNumberOfTheLockItFinds) {
  TestClock relogio;
  CQVArqEx primeiro, segundo;
  ASSERT_EQ(primeiro.Marca(dados.Diretorio().c_str(), 3, 7, "ES"), 0);
  EXPECT_EQ(segundo.Marca(dados.Diretorio().c_str(), 4, 8, "ES"), 16241);  // lock 3 holds it
  EXPECT_EQ(dados.NotaErros("Usuario"), "7");
  EXPECT_EQ(dados.NotaErros("Arquivo"), " ");
  EXPECT_EQ(segundo.Desmarca(), 0);  // it holds nothing: the holder's mark stays
  EXPECT_EQ(dados.Le("ESCMARCA.DAT"), std::string("\x03\x07", 2));

  EXPECT_EQ(primeiro.Desmarca(), 0);
  EXPECT_EQ(segundo.Marca(dados.Diretorio().c_str(), 4, 8, "ES"), 0);
  EXPECT_EQ(dados.Le("ESCMARCA.DAT"), std::string("\x04\x08", 2));
}

TEST_F(CQVArqMarcaTest, OldSchemeMarkLeftByAFinishedHolderGives16209) {
  dados.Escreve("CNCMARCA.DAT", std::string("\x05\x09", 2));
  CQVArqEx arquivo;
  EXPECT_EQ(arquivo.Marca(dados.Diretorio().c_str(), 1, 2, nullptr), 16209);
  EXPECT_EQ(dados.NotaErros("Usuario"), "9");
  EXPECT_EQ(dados.Le("CNCMARCA.DAT"), std::string("\x05\x09", 2));
  // The object can serve a data file again.
  dados.Escreve("DADOS.DAT", Registro(4, 0));
  EXPECT_EQ(arquivo.Abre(dados.Caminho("DADOS.DAT").c_str(), 'L', 4, false, true), 0);
}

TEST_F(CQVArqMarcaTest, OldSchemeDeniedMarkFileGives16080) {
  dados.Escreve("CNCMARCA.DAT", std::string("\0\0", 2));
  ASSERT_TRUE(SetFileAttributesA(dados.Caminho("CNCMARCA.DAT").c_str(), FILE_ATTRIBUTE_READONLY));
  CQVArqEx arquivo;
  EXPECT_EQ(arquivo.Marca(dados.Diretorio().c_str(), 1, 2, nullptr), 16080);
}

}  // namespace
