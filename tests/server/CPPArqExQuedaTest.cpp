// A writer process that appends and rewrites records is killed with SIGKILL at random moments, many
// times over. After each death every record but the one being written must be whole and no record
// whose write had returned may be lost or older; a file cut inside an append must be refused.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/mman.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <cstring>
#include <iostream>
#include <new>
#include <random>
#include <string>

#include "server/CPPArqEx.h"
#include "tests/foundation/DiretorioDados.h"

namespace {

constexpr uint32_t kTamanho = 30000;  // records cross page boundaries, where the system may cut a write
constexpr uint32_t kMaximo = 200;     // records appended at most; afterwards only rewrites
constexpr int kQuedas = 150;

// What the writer tells the checker, in memory shared across fork: each value is set around its step.
struct Progresso {
  std::atomic<uint32_t> emGravacao;           // the record being written, 0 = none
  std::atomic<uint32_t> acrescentados;        // records in the file when the last append returned
  std::atomic<uint32_t> versao[kMaximo + 1];  // the version of each record's last returned write
  std::atomic<int> erro;                      // an engine error met by the writer
};

std::string Conteudo(uint32_t numero, uint32_t versao) {
  std::string registro(kTamanho, 0);
  std::memcpy(registro.data(), &numero, 4);
  std::memcpy(registro.data() + 4, &versao, 4);
  for (uint32_t k = 8; k < kTamanho; ++k) registro[k] = static_cast<char>((numero * 131 + versao * 31 + k) & 0xFF);
  return registro;
}

// Whole, in its place, and not older than its last returned write.
bool Intacto(const std::string& registro, uint32_t numero, uint32_t versaoMinima) {
  uint32_t versao;
  std::memcpy(&versao, registro.data() + 4, 4);
  return versao >= versaoMinima && registro == Conteudo(numero, versao);
}

[[noreturn]] void Escreve(const std::string& nome, Progresso* progresso, unsigned semente) {
  std::mt19937 acaso(semente);
  CPPArqEx arquivo;
  if (int erro = arquivo.Abre(nome.c_str(), 'G', kTamanho, true, true)) {
    progresso->erro = erro;
    _exit(1);
  }
  for (;;) {
    const uint32_t quantidade = progresso->acrescentados;
    const bool regrava = quantidade > 0 && (quantidade >= kMaximo || acaso() % 3 == 0);
    uint32_t numero = regrava ? 1 + acaso() % quantidade : 0;
    const uint32_t alvo = regrava ? numero : quantidade + 1;
    const uint32_t versao = regrava ? progresso->versao[numero] + 1 : 0;
    const std::string registro = Conteudo(alvo, versao);
    progresso->emGravacao = alvo;
    if (int erro = arquivo.Grava(registro.data(), &numero)) {
      progresso->erro = erro;
      _exit(1);
    }
    if (regrava) {
      progresso->versao[numero] = versao;
    } else if (numero != alvo) {
      progresso->erro = -1;
      _exit(1);
    } else {
      progresso->acrescentados = numero;
    }
    progresso->emGravacao = 0;
  }
}

TEST(CPPArqExQueda, WriterKilledAtRandomLosesAtMostTheRecordBeingWritten) {
  DiretorioDados dados;
  const std::string nome = dados.Caminho("PPQUEDA.DAT");
  void* memoria = mmap(nullptr, sizeof(Progresso), PROT_READ | PROT_WRITE, MAP_SHARED | MAP_ANONYMOUS, -1, 0);
  ASSERT_NE(memoria, MAP_FAILED);
  Progresso* progresso = new (memoria) Progresso{};
  {
    CPPArqEx criacao;  // a writer killed before its first open would leave no file to check
    ASSERT_EQ(criacao.Abre(nome.c_str(), 'G', kTamanho, true, true), 0);
  }
  std::mt19937 acaso(20240115);
  int acrescimosCortados = 0, regravacoesCortadas = 0;

  for (int queda = 0; queda < kQuedas && !HasFatalFailure(); ++queda) {
    const pid_t filho = fork();
    ASSERT_GE(filho, 0);
    if (filho == 0) Escreve(nome, progresso, static_cast<unsigned>(queda));
    usleep(acaso() % 6000);
    kill(filho, SIGKILL);
    waitpid(filho, nullptr, 0);
    ASSERT_EQ(progresso->erro.load(), 0) << "queda " << queda;

    std::string bytes = dados.Le("PPQUEDA.DAT");
    const bool cortado = bytes.size() % kTamanho != 0;
    CPPArqEx verificacao;
    EXPECT_EQ(verificacao.Abre(nome.c_str(), 'L', kTamanho, false, true), cortado ? 1722 : 0) << "queda " << queda;
    ASSERT_GE(bytes.size(), kTamanho) << "queda " << queda;
    EXPECT_EQ(bytes.substr(0, kTamanho), std::string(kTamanho, 0));

    const uint32_t registros = static_cast<uint32_t>(bytes.size() / kTamanho) - 1;
    const uint32_t emGravacao = progresso->emGravacao;
    const uint32_t acrescentados = progresso->acrescentados;
    EXPECT_GE(registros, acrescentados) << "queda " << queda;  // no returned append is lost
    EXPECT_LE(registros, acrescentados + 1) << "queda " << queda;
    if (cortado) {
      EXPECT_EQ(emGravacao, registros + 1) << "queda " << queda;
      ++acrescimosCortados;
    }
    for (uint32_t n = 1; n <= registros; ++n) {
      const std::string registro = bytes.substr(static_cast<size_t>(n) * kTamanho, kTamanho);
      if (Intacto(registro, n, progresso->versao[n])) continue;
      EXPECT_EQ(n, emGravacao) << "queda " << queda << ": record " << n << " damaged";
      // The operator's part, not the engine's: the damaged record is written again as last saved.
      bytes.replace(static_cast<size_t>(n) * kTamanho, kTamanho, Conteudo(n, progresso->versao[n]));
      ++regravacoesCortadas;
    }
    // ... and a cut append is cut back to whole records. A full file loses its second half, so that
    // the next writers append again.
    const uint32_t mantidos = registros >= kMaximo ? kMaximo / 2 : registros;
    for (uint32_t n = mantidos + 1; n <= kMaximo; ++n) progresso->versao[n] = 0;
    bytes.resize((static_cast<size_t>(mantidos) + 1) * kTamanho);
    dados.Escreve("PPQUEDA.DAT", bytes);
    progresso->acrescentados = mantidos;
    progresso->emGravacao = 0;
  }
  std::cout << kQuedas << " deaths: " << acrescimosCortados << " cut appends, " << regravacoesCortadas
            << " cut rewrites\n";
  munmap(memoria, sizeof(Progresso));
}

}  // namespace
