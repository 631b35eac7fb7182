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
#include <sys/wait.h>

#include <numeric>
#include <vector>

#include "platform/family/historico/StandInHistorico.h"
#include "tests/crash/Queda.h"
#include "tests/server/EmpresaAtualizacao.h"

namespace {

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
  Partilhado<RelatoQueda> relato;

  const int estado = CorreAtualizacaoFilho(*relato, 0, TabelaFalsa());
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

  std::vector<int> mudancas(static_cast<size_t>(operacoes));
  std::iota(mudancas.begin(), mudancas.end(), 1);
  MataERetomaEmCada(empresa, *relato, TabelaFalsa(), inicial, esperado, operacoes, mudancas);
  ConversorFalso::ReiniciaControles();
}

}  // namespace
