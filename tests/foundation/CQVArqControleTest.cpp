#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <latch>
#include <string>
#include <thread>

#include "foundation/CQVArqEx.h"
#include "platform/win32/clock.h"
#include "tests/foundation/DiretorioDados.h"

namespace {

// The control file's record of a name: zero-padded or cut to 32 bytes.
std::string NomeControle(const std::string& nome) {
  std::string registro(32, 0);
  registro.replace(0, std::min<size_t>(nome.size(), 32), nome.substr(0, 32));
  return registro;
}

class CQVArqControleTest : public ::testing::Test {
 protected:
  DiretorioDados dados;
};

TEST_F(CQVArqControleTest, NewFileIsListedInTheControlFileWhichStartsWithAZeroRecord) {
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

TEST_F(CQVArqControleTest, WithoutTheControlFileAMissingFileIsAlwaysCreated) {
  dados.Escreve("QVCTLARQ.DAT", Registro(32, 0) + NomeControle("PPSUMIU.DAT"));
  CQVArqEx arquivo;
  arquivo.SetUsaArquivoControle(false);
  EXPECT_EQ(arquivo.Abre(dados.Caminho("PPSUMIU.DAT").c_str(), 'G', 6, true, true), 0);
  EXPECT_EQ(dados.Le("PPSUMIU.DAT"), Registro(6, 0));
  EXPECT_EQ(dados.Le("QVCTLARQ.DAT"), Registro(32, 0) + NomeControle("PPSUMIU.DAT"));
}

// A creator that died, or was overtaken, between making the control file and writing its record 0
// leaves it empty: the record 0 still comes first.
TEST_F(CQVArqControleTest, EmptyControlFileGetsItsZeroRecordBeforeTheFirstName) {
  dados.Escreve("QVCTLARQ.DAT", "");
  CQVArqEx arquivo;
  EXPECT_EQ(arquivo.Abre(dados.Caminho("PPPRIMEIRO.DAT").c_str(), 'G', 8, true, true), 0);
  EXPECT_EQ(dados.Le("QVCTLARQ.DAT"), Registro(32, 0) + NomeControle("PPPRIMEIRO.DAT"));
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

// The engine takes a file as missing and, before it gets the control file, another creator makes
// the file, writes its records and maybe lists it already: the file is opened as it is, and listed
// once.
TEST_F(CQVArqControleTest, FileMadeMeanwhileByAnotherCreatorIsOpenedWithItsRecords) {
  const std::string registros = Registro(8, 0) + Registro(8, 'x') + Registro(8, 'y');
  for (const bool listado : {false, true}) {
    const std::string nome = listado ? "PPLISTADO.DAT" : "PPCORRIDA.DAT";
    const std::string controle = Registro(32, 0) + NomeControle(nome);
    dados.Escreve(nome, registros);
    dados.Escreve("QVCTLARQ.DAT", listado ? controle : Registro(32, 0));
    AberturaFingida arquivo;
    arquivo.naoAcha = 1;
    EXPECT_EQ(arquivo.Abre(dados.Caminho(nome).c_str(), 'G', 8, true, true), 0) << nome;
    EXPECT_EQ(dados.Le(nome), registros) << nome;
    EXPECT_EQ(arquivo.GetQuantidadeRegistros(), 2) << nome;
    EXPECT_EQ(dados.Le("QVCTLARQ.DAT"), controle) << nome;
  }
}

// Listing the name of a file that was never made would make it "missing" for good.
TEST_F(CQVArqControleTest, FailedCreationLeavesTheNameUnlistedSoALaterOpenCreatesIt) {
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
// Two creators of one new month at once. These run on the real clock: the race is one of real time,
// and a replaced clock would turn the 1 ms pauses between open attempts into a busy loop.

constexpr uint32_t kTamanhoMes = 12;
constexpr int kRodadas = 20;

// What every open-file set does for a month that has no file yet: open it, creating it when missing.
int AbreMesNovo(const std::string& nome) {
  CQVArqEx arquivo;
  return arquivo.Abre(nome.c_str(), 'L', kTamanhoMes, true, true);
}

std::array<int, 2> EmDuasThreads(const std::string& nome) {
  std::array<int, 2> resultados{-1, -1};
  std::latch partida(2);
  const auto abre = [&](int i) {
    partida.arrive_and_wait();
    resultados[i] = AbreMesNovo(nome);
  };
  std::thread primeira(abre, 0), segunda(abre, 1);
  primeira.join();
  segunda.join();
  return resultados;
}

std::array<int, 2> EmDoisProcessos(const std::string& nome) {
  std::array<int, 2> resultados{-1, -1};
  int partida[2], resposta[2];
  if (pipe(partida) != 0) return resultados;
  if (pipe(resposta) != 0) return resultados;
  const pid_t filho = fork();
  if (filho == 0) {
    char sinal;
    const int resultado = read(partida[0], &sinal, 1) == 1 ? AbreMesNovo(nome) : -1;
    _exit(write(resposta[1], &resultado, sizeof resultado) == sizeof resultado ? 0 : 1);
  }
  if (filho > 0 && write(partida[1], "!", 1) == 1) {
    resultados[0] = AbreMesNovo(nome);
    if (read(resposta[0], &resultados[1], sizeof resultados[1]) != sizeof resultados[1]) resultados[1] = -1;
  }
  for (int descritor : {partida[0], partida[1], resposta[0], resposta[1]}) close(descritor);
  if (filho > 0) waitpid(filho, nullptr, 0);
  return resultados;
}

class CorridaDeCriacaoTest : public CQVArqControleTest {
 protected:
  static std::string Mes(int rodada) {
    char nome[16];
    std::snprintf(nome, sizeof nome, "PPMV%02d%02d.DAT", rodada % 12 + 1, 25 + rodada / 12);
    return nome;
  }

  // Two openers of one new month at once, kRodadas times: every open succeeds, and each month is
  // made once, with its zero record, and listed once.
  void Corre(const std::function<std::array<int, 2>(const std::string&)>& abreDuasVezes) {
    std::string controle = Registro(32, 0);
    for (int rodada = 0; rodada < kRodadas; ++rodada) {
      const std::array<int, 2> resultados = abreDuasVezes(dados.Caminho(Mes(rodada)));
      EXPECT_EQ(resultados, (std::array<int, 2>{0, 0})) << Mes(rodada);
      EXPECT_EQ(dados.Le(Mes(rodada)), Registro(kTamanhoMes, 0)) << Mes(rodada);
      controle += NomeControle(Mes(rodada));
    }
    EXPECT_EQ(dados.Le("QVCTLARQ.DAT"), controle);
  }
};

TEST_F(CorridaDeCriacaoTest, TwoThreadsCreatingTheSameNewMonthBothOpenIt) { Corre(EmDuasThreads); }

TEST_F(CorridaDeCriacaoTest, TwoProcessesCreatingTheSameNewMonthBothOpenIt) { Corre(EmDoisProcessos); }

}  // namespace
