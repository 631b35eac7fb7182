// An upgrade killed at every change it makes on disk. A child process upgrades a company of two fake
// groups (the master group from version 2 with an old history copy to clean up, in a step that
// also rebuilds "PPMESTRE.DAT" by deleting the old one; the technical sheets from version 1 in two
// steps that rebuild one file twice) and kills itself right after its N-th write, rename or delete,
// for every N of an uninterrupted run; a second child then opens a session again. A kill after the
// delete of "PPMESTRE.DAT" must not leave the company refused with 1616, so the session resolves
// the journal before it looks for the settings file, as Inicializa does. (Inicializa itself cannot
// run here: it upgrades with the program's own table of converters, which has none of these fakes.)
// Every file of the data directory must come out as the uninterrupted run left it
// (data files, history copies, the version record with its slots at the targets), with no ".TRA"
// file and no journal. Only the audit file of the version record may differ: a kill between the
// write of record 1 and its audit record loses that audit record.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <iostream>

#include "foundation/QVCaminho.h"
#include "platform/com/apartment.h"
#include "platform/family/historico/StandInHistorico.h"
#include "tests/crash/Queda.h"
#include "tests/server/EmpresaAtualizacao.h"

namespace {

struct Relato {
  std::atomic<int> operacoes;  // changes on disk made by the child so far
  std::atomic<int> mataNa;     // the change after which the child kills itself; 0: none
  std::atomic<int32_t> resultado;
  std::atomic<bool> terminou;
};

Relato* g_relato = nullptr;

void ObservaOperacao(const char*, const char*) {
  if (++g_relato->operacoes == g_relato->mataNa) raise(SIGKILL);
}

// Runs the upgrade in a child process; its wait status.
int CorreFilho(Relato* relato, int mataNa) {
  relato->operacoes = 0;
  relato->mataNa = mataNa;
  relato->resultado = E_FAIL;
  relato->terminou = false;
  const pid_t filho = fork();
  if (filho == 0) {
    g_relato = relato;
    PPDefineObservadorAtualizacao(&ObservaOperacao);
    CoInitializeEx(nullptr, COINIT_MULTITHREADED);
    // Inicializa's order, with the fake converters.
    CPPServidorMestrePP servidor;
    HRESULT hr = servidor.DefineSessao(SessaoTeste());
    if (SUCCEEDED(hr)) hr = servidor.ResolveDiarioAtualizacao(TabelaFalsa());
    if (SUCCEEDED(hr) && !QVExisteArquivo(servidor.GetArquivoPrincipal())) hr = PPErroHResult(kPPErroArquivoMestre);
    if (SUCCEEDED(hr)) hr = servidor.AtualizaVersaoArquivos(TabelaFalsa());
    relato->resultado = hr;
    relato->terminou = true;
    _exit(0);
  }
  int estado = 0;
  waitpid(filho, &estado, 0);
  return estado;
}

TEST(AtualizaVersaoQueda, KilledAfterEachChangeOnDiskTheNextRunEndsAsTheUninterruptedOne) {
  EmpresaTeste empresa;
  StandInHistorico historico;  // registered here, started by each child for itself
  ASSERT_EQ(historico.Register(), S_OK);
  empresa.EscreveVersao(VersoesAlvoCom({{kPPGrupoMestre, 2}, {kPPGrupoFichaTecnica, 1}}));
  ConversorFalso::s_bRefazMestre = true;  // the children inherit it
  empresa.Escreve(kArquivoFalsoMestre, ArquivoFalso(2, 2));
  empresa.Escreve("PPMESTRE.DAT", ArquivoFalso(2, 1));
  empresa.Escreve("PPMESTRE.HIS", "auditoria do mestre");
  empresa.Escreve("PPFALSOA_V001.HIS", "copia da versao 1");
  empresa.Escreve(kArquivoFalsoFicha, ArquivoFalso(1, 2));
  const auto inicial = empresa.Arquivos();
  Partilhado<Relato> relato;

  int estado = CorreFilho(&*relato, 0);
  ASSERT_TRUE(WIFEXITED(estado) && relato->terminou);
  ASSERT_EQ(relato->resultado, S_OK);
  const int operacoes = relato->operacoes;
  auto esperado = empresa.Arquivos();
  esperado.erase("PPVERSAO.HIS");
  // What the uninterrupted run leaves, written out.
  const PPRegistroVersao versao = empresa.LeVersao();
  for (size_t grupo = 0; grupo < kPPQuantidadeGrupos; ++grupo) ASSERT_EQ(versao.usVersao[grupo], kPPVersoesAlvo[grupo]);
  ASSERT_EQ(esperado[kArquivoFalsoMestre], ArquivoFalso(3, 2));
  ASSERT_EQ(esperado["PPFALSOA_V002.HIS"], ArquivoFalso(2, 2));
  ASSERT_EQ(esperado.count("PPFALSOA_V001.HIS"), 0u);
  ASSERT_EQ(esperado["PPMESTRE.DAT"], ArquivoFalso(3, 1));
  ASSERT_EQ(esperado["PPMESTRE_V002.HIS"], "auditoria do mestre");
  ASSERT_EQ(esperado.count("PPMESTRE.HIS"), 0u);
  ASSERT_EQ(esperado[kArquivoFalsoFicha], ArquivoFalso(3, 2));
  ASSERT_EQ(esperado["PPFALSOB_V001.HIS"], ArquivoFalso(1, 2));
  ASSERT_EQ(esperado["PPFALSOB_V002.HIS"], ArquivoFalso(2, 2));
  ASSERT_EQ(esperado.count("PPVERSAO.DIA"), 0u);
  ASSERT_EQ(esperado.count("PPFALSOB.TRA"), 0u);

  const auto inicio = std::chrono::steady_clock::now();
  for (int mataNa = 1; mataNa <= operacoes; ++mataNa) {
    empresa.Restaura(inicial);
    estado = CorreFilho(&*relato, mataNa);
    ASSERT_TRUE(WIFSIGNALED(estado) && WTERMSIG(estado) == SIGKILL) << "change " << mataNa << " did not come";
    estado = CorreFilho(&*relato, 0);
    ASSERT_TRUE(WIFEXITED(estado) && relato->terminou) << "rerun after change " << mataNa;
    EXPECT_EQ(relato->resultado, S_OK) << "rerun after change " << mataNa;
    auto final = empresa.Arquivos();
    EXPECT_EQ(final["PPVERSAO.HIS"].size() % 82, 0u) << "after change " << mataNa;
    final.erase("PPVERSAO.HIS");
    EXPECT_EQ(final, esperado) << "killed after change " << mataNa;
    if (HasFailure()) break;
  }
  const auto segundos = std::chrono::duration<double>(std::chrono::steady_clock::now() - inicio).count();
  std::cout << operacoes << " changes on disk, each killed once and run again, in " << segundos << " s\n";
  ConversorFalso::ReiniciaControles();
}

}  // namespace
