// A whole company at the oldest version of every group that has a converter, upgraded by the
// program's own table of converters in a child process that kills itself right after one change on
// disk: each rename, each delete, each write of the version record or of the journal, and appends
// spread over the converted files. A second child then opens a session as Inicializa does (the
// journal resolved first, then the upgrade). Every file of the data directory must come out as an
// uninterrupted run left it: the converted files, every history copy that run keeps, the version
// record with its slots at the targets, no ".TRA" file and no journal. Only the audit file of the
// version record may differ: a kill between the write of record 1 and its audit record loses that
// audit record.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "platform/com/apartment.h"
#include "platform/family/ServidoresFamilia.h"
#include "platform/family/historico/StandInHistorico.h"
#include "tests/crash/Queda.h"
#include "tests/server/EmpresaAtualizacao.h"
#include "tests/support/VersoesAntigasCadastros.h"
#include "tests/support/VersoesAntigasFichas.h"
#include "tests/support/VersoesAntigasOP.h"

namespace {

constexpr int kMaximoOperacoes = 200000;
// Of the appends to converted files and of the writes of the journal, about this many of each are
// chosen to kill at.
constexpr int kEscritasEscolhidas = 30;

// What a change of the uninterrupted run was.
enum Mudanca : uint8_t {
  kMove,        // a rename, a delete, a write of the version record or of its audit record: each killed at
  kAcrescimo,   // a write of a converted (".TRA") file
  kOutraEscrita,  // a write of the journal
};

struct Relato : RelatoQueda {
  Mudanca mudanca[kMaximoOperacoes];  // the uninterrupted run's change n
};

bool TerminaEm(const char* arquivo, const char* extensao) {
  const size_t n = std::strlen(arquivo), m = std::strlen(extensao);
  return n >= m && strcasecmp(arquivo + n - m, extensao) == 0;
}

void AnotaMudanca(RelatoQueda& relato, int numero, const char* operacao, const char* arquivo) {
  if (numero >= kMaximoOperacoes) return;
  static_cast<Relato&>(relato).mudanca[numero] = std::strcmp(operacao, "grava") != 0 ? kMove
                                                 : TerminaEm(arquivo, ".TRA")     ? kAcrescimo
                                                 : TerminaEm(arquivo, ".DIA")     ? kOutraEscrita
                                                                                  : kMove;
}

// The sheet processes of the order fixture, which writes them in the current layout, taken back to
// version 1: the time at 8..15 and the process at 20, where the step to version 2 takes them from.
std::string ProcessosFichaV1(const std::string& atuais) {
  std::vector<std::string> antigos;
  for (size_t inicio = 88; inicio + 88 <= atuais.size(); inicio += 88) {
    std::string antigo(64, '\0');
    antigo.replace(8, 8, atuais, inicio + 24, 8);
    antigo.replace(20, 4, atuais, inicio + 36, 4);
    antigos.push_back(antigo);
  }
  return VersoesAntigasFichas::ArquivoDeRegistros(VersoesAntigasFichas::kTamanhoProcessoFichaV1, antigos);
}

// The orders of two months with the movements and invoices they name. The servers of the family
// that this starts run threads, which a process forked under the emulator cannot carry: the test's
// own process starts none, so the seeding runs in a child of its own.
bool SemeiaOrdens(EmpresaTeste& empresa) {
  const pid_t filho = fork();
  if (filho == 0) {
    CoInitializeEx(nullptr, COINIT_MULTITHREADED);
    EmpresaOPVersao1 ordens;
    const HRESULT hr =
        EscreveEmpresaOPVersao1(DiretorioPP(empresa.GetInstalacao()), Instalacao::kEmpresa, 1, &ordens);
    _exit(hr == S_OK ? 0 : 1);
  }
  int estado = 0;
  waitpid(filho, &estado, 0);
  return WIFEXITED(estado) && WEXITSTATUS(estado) == 0;
}

TEST(AtualizacaoEmpresaQueda, KilledAfterEachMoveOfAWholeCompanysUpgradeTheNextSessionEndsAsTheUninterruptedOne) {
  EmpresaTeste empresa;
  CoInitializeEx(nullptr, COINIT_MULTITHREADED);
  StandInHistorico historico;  // registered here, started by each child for itself
  ASSERT_EQ(historico.Register(), S_OK);
  RegistraDiretorioModulo(empresa.GetInstalacao(), "ES");
  RegistraDiretorioModulo(empresa.GetInstalacao(), "DF");
  ServidoresFamilia familia;
  ASSERT_EQ(familia.Registra(), S_OK);

  empresa.EscreveVersao(VersoesAlvoCom({{kPPGrupoMestre, 1},
                                        {kPPGrupoTipoOP, 1},
                                        {kPPGrupoFluxoProcesso, 1},
                                        {kPPGrupoOperacaoProducao, 1},
                                        {kPPGrupoFichaTecnica, 1},
                                        {kPPGrupoOrdemProducao, 1},
                                        {kPPGrupoRecurso, 1},
                                        {kPPGrupoPlanoManutencao, 0},
                                        {kPPGrupoGestaoManutencao, 0},
                                        {kPPGrupoColecao, 0},
                                        {kPPGrupoMotivoRefugo, 0},
                                        {kPPGrupoMetasProducao, 1},
                                        {kPPGrupoTipoRecurso, 0}}));
  for (const auto& [nome, bytes] : VersoesAntigasCadastros::CadastrosV1()) empresa.Escreve(nome, bytes);
  empresa.Escreve("PPMESTRE.HIS", "auditoria do mestre");
  ASSERT_TRUE(SemeiaOrdens(empresa));
  empresa.Escreve("PPFTPROC.DAT", ProcessosFichaV1(empresa.Le("PPFTPROC.DAT")));
  VersoesAntigasFichas antigas(DiretorioPP(empresa.GetInstalacao()));
  antigas.RecursosV1(3);
  for (uint16_t mes : {2113, 2114, 2115}) antigas.MetasV1(mes, 2);
  const auto inicial = empresa.Arquivos();

  Partilhado<Relato> relato;
  relato->pAnota = &AnotaMudanca;
  const int estado = CorreAtualizacaoFilho(*relato, 0, kPPConversoresVersao);
  ASSERT_TRUE(WIFEXITED(estado) && relato->terminou);
  ASSERT_EQ(relato->resultado, S_OK);
  const int operacoes = relato->operacoes;
  ASSERT_LT(operacoes, kMaximoOperacoes);
  auto esperado = empresa.Arquivos();
  esperado.erase("PPVERSAO.HIS");
  const PPRegistroVersao versao = empresa.LeVersao();
  for (size_t grupo = 0; grupo < kPPQuantidadeGrupos; ++grupo) ASSERT_EQ(versao.usVersao[grupo], kPPVersoesAlvo[grupo]);
  for (const auto& [nome, bytes] : esperado) ASSERT_FALSE(TerminaEm(nome.c_str(), ".TRA")) << nome;
  ASSERT_EQ(esperado.count("PPVERSAO.DIA"), 0u);
  // The copies that the run keeps, each equal to the file it was: the settings' audit history, and
  // the first version of a fixed file and of a month's file.
  ASSERT_EQ(esperado["PPMESTRE_V001.HIS"], "auditoria do mestre");
  ASSERT_EQ(esperado["PPTOPCAB_V001.HIS"], inicial.at("PPTOPCAB.DAT"));
  ASSERT_EQ(esperado["PPRECURS_V001.HIS"], inicial.at("PPRECURS.DAT"));
  ASSERT_EQ(esperado["PPMP0124_V001.HIS"], inicial.at("PPMP0124.DAT"));
  ASSERT_EQ(esperado["PPPR0124_V001.HIS"], inicial.at("PPPR0124.DAT"));

  // Every move, and the writes of converted files and of the journal spread evenly.
  int escritas[3] = {};
  for (int n = 1; n <= operacoes; ++n) ++escritas[relato->mudanca[n]];
  std::vector<int> pontos;
  int vistas[3] = {};
  for (int n = 1; n <= operacoes; ++n) {
    const Mudanca mudanca = relato->mudanca[n];
    const int passo = std::max(1, escritas[mudanca] / kEscritasEscolhidas);
    if (mudanca == kMove || vistas[mudanca]++ % passo == passo / 2) pontos.push_back(n);
  }

  MataERetomaEmCada(empresa, *relato, kPPConversoresVersao, inicial, esperado, operacoes, pontos);
  CoUninitialize();
}

}  // namespace
