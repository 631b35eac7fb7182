#include "foundation/CQVArqMarca.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "foundation/CQVArqEx.h"
#include "platform/win32/clock.h"
#include "platform/win32/file.h"
#include "tests/foundation/DiretorioDados.h"

namespace {

class CQVArqMarcaTest : public ::testing::Test {
 protected:
  std::string NomeControle(const std::string& nome) {
    std::string registro(32, 0);
    registro.replace(0, std::min<size_t>(nome.size(), 32), nome.substr(0, 32));
    return registro;
  }

  DiretorioDados dados;
};

// ---------------------------------------------------------------------------------------------------
// Control file

TEST_F(CQVArqMarcaTest, NewFileIsListedInTheControlFileWhichStartsWithAZeroRecord) {
  const std::string longo = "ARQUIVO_COM_UM_NOME_MAIS_LONGO_QUE_32.DAT";
  CQVArqEx novo, outro;
  ASSERT_EQ(novo.Abre(dados.Caminho("ppnovo.dat").c_str(), 'G', 10, true, true), 0);
  ASSERT_EQ(outro.Abre(dados.Caminho(longo).c_str(), 'L', 4, true, true), 0);
  EXPECT_EQ(dados.Le("PPNOVO.DAT"), Registro(10, 0));
  EXPECT_EQ(dados.Le(longo), Registro(4, 0));
  EXPECT_EQ(dados.Le("QVCTLARQ.DAT"), Registro(32, 0) + NomeControle("PPNOVO.DAT") + NomeControle(longo));

  // Both are now known: once gone, they are missing, and nothing is created again.
  ASSERT_EQ(novo.Fecha(), 0);
  ASSERT_EQ(outro.Fecha(), 0);
  std::filesystem::remove(dados.Linux("PPNOVO.DAT"));
  std::filesystem::remove(dados.Linux(longo));
  CQVArqEx reaberto;
  EXPECT_EQ(reaberto.Abre(dados.Caminho("PPNOVO.DAT").c_str(), 'G', 10, true, true), 16055);
  EXPECT_EQ(dados.NotaErros("Arquivo"), "PPNOVO.DAT");
  EXPECT_EQ(reaberto.Fecha(), 0);
  EXPECT_EQ(reaberto.Abre(dados.Caminho(longo).c_str(), 'L', 4, true, true), 16055);
  EXPECT_FALSE(dados.Existe("PPNOVO.DAT"));
  EXPECT_FALSE(dados.Existe(longo));
  EXPECT_EQ(dados.Le("QVCTLARQ.DAT").size(), 3u * 32);
}

TEST_F(CQVArqMarcaTest, WithoutTheControlFileAMissingFileIsAlwaysCreated) {
  dados.Escreve("QVCTLARQ.DAT", Registro(32, 0) + NomeControle("PPSUMIU.DAT"));
  CQVArqEx arquivo;
  arquivo.SetUsaArquivoControle(false);
  EXPECT_EQ(arquivo.Abre(dados.Caminho("PPSUMIU.DAT").c_str(), 'G', 6, true, true), 0);
  EXPECT_EQ(dados.Le("PPSUMIU.DAT"), Registro(6, 0));
  EXPECT_EQ(dados.Le("QVCTLARQ.DAT"), Registro(32, 0) + NomeControle("PPSUMIU.DAT"));
}

// Pretends, a number of times, that an existing file is missing (opens without creation) or that
// the disk is full (opens with creation).
class AberturaFingida : public CQVArqEx {
 public:
  BOOL Open(const char* nome, UINT flags, CFileException* erro) override {
    int& falhas = (flags & modeCreate) ? discoCheio : naoAcha;
    if (falhas == 0) return CQVArqEx::Open(nome, flags, erro);
    --falhas;
    const bool criacao = flags & modeCreate;
    if (erro)
      *erro = CFileException(criacao ? CFileException::diskFull : CFileException::fileNotFound,
                             criacao ? ERROR_DISK_FULL : ERROR_FILE_NOT_FOUND, nome);
    return FALSE;
  }
  int naoAcha = 0, discoCheio = 0;
};

// The engine takes a file as missing and, before it creates it, another process makes it and
// writes its records: they must survive the creation.
TEST_F(CQVArqMarcaTest, CreationNeverEmptiesAFileThatAppearedMeanwhile) {
  const std::string registros = Registro(8, 0) + Registro(8, 'x') + Registro(8, 'y');
  dados.Escreve("PPCORRIDA.DAT", registros);
  AberturaFingida arquivo;
  arquivo.naoAcha = 1;
  EXPECT_EQ(arquivo.Abre(dados.Caminho("PPCORRIDA.DAT").c_str(), 'G', 8, true, true), 0);
  EXPECT_EQ(dados.Le("PPCORRIDA.DAT"), registros);
  EXPECT_EQ(arquivo.GetQuantidadeRegistros(), 2);
}

// Listing the name of a file that was never made would make it "missing" for good.
TEST_F(CQVArqMarcaTest, FailedCreationLeavesTheNameUnlistedSoALaterOpenCreatesIt) {
  TestClock relogio;
  AberturaFingida arquivo;
  arquivo.discoCheio = 30;
  EXPECT_EQ(arquivo.Abre(dados.Caminho("PPCHEIO.DAT").c_str(), 'G', 8, true, true), 16136);
  EXPECT_FALSE(dados.Existe("PPCHEIO.DAT"));
  EXPECT_EQ(dados.Le("QVCTLARQ.DAT"), Registro(32, 0));

  EXPECT_EQ(arquivo.AbreFisico(), 0);
  EXPECT_EQ(dados.Le("PPCHEIO.DAT"), Registro(8, 0));
  EXPECT_EQ(dados.Le("QVCTLARQ.DAT"), Registro(32, 0) + NomeControle("PPCHEIO.DAT"));
}

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
