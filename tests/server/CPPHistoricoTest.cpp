#include "server/CPPHistorico.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <set>
#include <string>
#include <vector>

#include "foundation/CQVArqEx.h"
#include "foundation/QVCom.h"
#include "platform/com/apartment.h"
#include "platform/family/historico/StandInHistorico.h"
#include "platform/win32/eventlog.h"
#include "platform/win32/file.h"
#include "tests/support/Instalacao.h"

namespace {

constexpr HRESULT kFalha = static_cast<HRESULT>(0x80040123);
constexpr char kChaveAmbiente[] = "SYSTEM\\CurrentControlSet\\Control\\Session Manager\\Environment";

std::vector<EntradaHistorico> Entradas() {
  std::vector<EntradaHistorico> entradas;
  EXPECT_EQ(LeHistoricoEmpresa(Instalacao::kEmpresa, &entradas), S_OK);
  return entradas;
}

std::vector<EntradaHistorico::Tipo> Tipos(const std::vector<EntradaHistorico>& entradas) {
  std::vector<EntradaHistorico::Tipo> tipos;
  for (const EntradaHistorico& entrada : entradas) tipos.push_back(entrada.tipo);
  return tipos;
}

constexpr auto kS = EntradaHistorico::kAbreSessao;
constexpr auto kL = EntradaHistorico::kLinha;
constexpr auto kF = EntradaHistorico::kFechaSessao;

// A temporary installation, the replaceable clock (so that creation retries cost no real time)
// and the history service's stand-in, registered by each test.
class Historico : public ::testing::Test {
 protected:
  void SetUp() override { CoInitializeEx(nullptr, COINIT_MULTITHREADED); }
  void TearDown() override { CoUninitialize(); }
  void Registra(int falhas = 0) {
    servico_.FailStarts(falhas);
    ASSERT_EQ(servico_.Register(), S_OK);
  }

  Instalacao instalacao_;
  TestClock relogio_;
  StandInHistorico servico_;
};

}  // namespace

TEST_F(Historico, OwnSessionIsOpenedAndClosedOnlyWhenTheCallerGivesNone) {
  Registra();
  struct Caso {
    int32_t sessao;
    std::vector<EntradaHistorico::Tipo> tipos;
  } casos[] = {{0, {kS, kL, kF}}, {4711, {kL}}};
  for (const Caso& caso : casos) {
    instalacao_.dir().Write("empresas/TESTE/HISTORICO/TESTE.LOG", "");
    CPPHistorico historico;
    EXPECT_FALSE(historico.EstaAberto());
    ASSERT_EQ(historico.Abre("TESTE", 12, caso.sessao), S_OK) << caso.sessao;
    EXPECT_TRUE(historico.EstaAberto());
    EXPECT_EQ(historico.GravaLinha(kPPHistoricoInclusao, "linha"), S_OK);
    historico.Fecha();
    EXPECT_FALSE(historico.EstaAberto());
    EXPECT_EQ(servico_.Vivos(), 0) << caso.sessao;

    const std::vector<EntradaHistorico> entradas = Entradas();
    ASSERT_EQ(Tipos(entradas), caso.tipos) << caso.sessao;
    const EntradaHistorico& linha = entradas[caso.sessao == 0 ? 1 : 0];
    if (caso.sessao == 0) {
      EXPECT_EQ(entradas[0].usuario, 12u);
      EXPECT_NE(entradas[0].sessao, 0);
      EXPECT_EQ(linha.sessao, entradas[0].sessao);
      EXPECT_EQ(entradas[2].sessao, entradas[0].sessao);
    } else {
      EXPECT_EQ(linha.sessao, 4711);
    }
  }
}

TEST_F(Historico, LineCarriesSessionModuleLetterAndTheFormattedTextWithACarriageReturn) {
  Registra();
  CPPHistorico historico;
  ASSERT_EQ(historico.Abre("TESTE", 3, 77), S_OK);
  const std::string longo(5000, 'x');
  const char* usuario = "100% de 50%s %d %n";  // a ready text with "%": sent as the argument of "%s"
  EXPECT_EQ(historico.GravaLinha(kPPHistoricoInclusao, "Inclusao da OP %d de %s", 5, "Ana"), S_OK);
  EXPECT_EQ(historico.GravaLinha(kPPHistoricoAlteracao, "%s", usuario), S_OK);
  EXPECT_EQ(historico.GravaLinha(kPPHistoricoExclusao, "%s", longo.c_str()), S_OK);
  // A text that comes out empty sends nothing and succeeds.
  EXPECT_EQ(historico.GravaLinha(kPPHistoricoInclusao, "%s", ""), S_OK);

  const std::vector<EntradaHistorico> entradas = Entradas();
  ASSERT_EQ(entradas.size(), 3u);
  const struct {
    char operacao;
    std::string texto;
  } esperadas[] = {{'I', "Inclusao da OP 5 de Ana\r"}, {'A', std::string(usuario) + "\r"}, {'E', longo + "\r"}};
  for (size_t i = 0; i < entradas.size(); ++i) {
    EXPECT_EQ(entradas[i].tipo, kL) << i;
    EXPECT_EQ(entradas[i].sessao, 77) << i;
    EXPECT_EQ(entradas[i].reservado, 0) << i;
    EXPECT_EQ(entradas[i].modulo, 19) << i;
    EXPECT_EQ(entradas[i].operacao, esperadas[i].operacao) << i;
    EXPECT_EQ(entradas[i].texto, esperadas[i].texto) << i;
  }
}

TEST_F(Historico, FailingLineReturnsTheServicesHresult) {
  Registra();
  CPPHistorico historico;
  ASSERT_EQ(historico.Abre("TESTE", 3, 77), S_OK);
  servico_.FalhaGravaLinha(1, kFalha);
  EXPECT_EQ(historico.GravaLinha(kPPHistoricoInclusao, "perdida"), kFalha);
  EXPECT_EQ(historico.GravaLinha(kPPHistoricoInclusao, "gravada"), S_OK);
  const std::vector<EntradaHistorico> entradas = Entradas();
  ASSERT_EQ(entradas.size(), 1u);
  EXPECT_EQ(entradas[0].texto, "gravada\r");
}

TEST_F(Historico, FailedOpeningLeavesTheClientClosedAndWithoutASession) {
  Registra();
  struct Caso {
    const char* empresa;
    HRESULT falhaDefine;
    HRESULT falhaSessao;
    HRESULT esperado;
  } casos[] = {
      {"NENHUMA", S_OK, S_OK, E_INVALIDARG},  // a company that the registry does not know
      {"TESTE", kFalha, S_OK, kFalha},
      {"TESTE", S_OK, kFalha, kFalha},
  };
  for (const Caso& caso : casos) {
    servico_.FalhaDefineEmpresa(caso.falhaDefine);
    servico_.FalhaAbreSessao(caso.falhaSessao);
    {
      CPPHistorico historico;
      EXPECT_EQ(historico.Abre(caso.empresa, 3, 0), caso.esperado) << caso.empresa;
      EXPECT_FALSE(historico.EstaAberto());
      EXPECT_EQ(historico.GravaLinha(kPPHistoricoInclusao, "nada"), E_FAIL);
    }
    // The destructor released the service and closed no session that was never opened.
    EXPECT_EQ(servico_.Vivos(), 0);
    EXPECT_TRUE(Entradas().empty());
  }
}

TEST_F(Historico, SecondAbreClosesTheFirstOwnSessionAndReleasesItsService) {
  Registra();
  {
    CPPHistorico historico;
    ASSERT_EQ(historico.Abre("TESTE", 3, 0), S_OK);
    ASSERT_EQ(historico.Abre("TESTE", 4, 0), S_OK);
    EXPECT_EQ(servico_.Vivos(), 1);
    EXPECT_EQ(historico.GravaLinha(kPPHistoricoInclusao, "segunda"), S_OK);
  }
  EXPECT_EQ(servico_.Vivos(), 0);
  const std::vector<EntradaHistorico> entradas = Entradas();
  ASSERT_EQ(Tipos(entradas), (std::vector{kS, kF, kS, kL, kF}));
  EXPECT_EQ(entradas[1].sessao, entradas[0].sessao);
  EXPECT_NE(entradas[2].sessao, entradas[0].sessao);
  EXPECT_EQ(entradas[2].usuario, 4u);
  EXPECT_EQ(entradas[3].sessao, entradas[2].sessao);
  EXPECT_EQ(entradas[4].sessao, entradas[2].sessao);
}

TEST_F(Historico, ClosedClientSendsNothingAndGivesEFail) {
  Registra();
  CPPHistorico historico;
  EXPECT_EQ(historico.GravaLinha(kPPHistoricoInclusao, "antes"), E_FAIL);
  ASSERT_EQ(historico.Abre("TESTE", 3, 9), S_OK);
  historico.Fecha();
  EXPECT_EQ(historico.GravaLinha(kPPHistoricoInclusao, "depois"), E_FAIL);
  EXPECT_TRUE(Entradas().empty());
}

TEST(HistoricoIndisponivel, AbreRetriesTheCreationWarnsAtTheSecondAttemptAndFailsWithAnErrorAtTheEnd) {
  struct Caso {
    int falhas;
    HRESULT esperado;
    std::vector<WORD> eventos;
  } casos[] = {
      {1, S_OK, {}},
      {2, S_OK, {EVENTLOG_WARNING_TYPE}},
      {kQVTentativasCriacao, RPC_S_SERVER_UNAVAILABLE_HRESULT, {EVENTLOG_WARNING_TYPE, EVENTLOG_ERROR_TYPE}},
  };
  for (const Caso& caso : casos) {
    Instalacao instalacao;
    TestClock relogio;  // Sleep advances it
    StandInHistorico servico;
    servico.FailStarts(caso.falhas);
    ASSERT_EQ(servico.Register(), S_OK);
    CoInitializeEx(nullptr, COINIT_MULTITHREADED);
    {
      CPPHistorico historico;
      const DWORD inicio = GetTickCount();
      EXPECT_EQ(historico.Abre("TESTE", 3, 9), caso.esperado) << caso.falhas;
      EXPECT_EQ(historico.EstaAberto(), caso.esperado == S_OK);
      EXPECT_EQ(GetTickCount() - inicio, static_cast<DWORD>(caso.falhas) * kQVPausaTentativa);
      EXPECT_EQ(servico.Starts(), caso.falhas + (caso.esperado == S_OK ? 1 : 0));
      std::vector<WORD> eventos;
      for (const EventLogEntry& entrada : ReadEventLog()) {
        eventos.push_back(entrada.type);
        EXPECT_EQ(entrada.event_id, 0x800706BAu);
      }
      EXPECT_EQ(eventos, caso.eventos) << caso.falhas;
      EXPECT_EQ(historico.GravaLinha(kPPHistoricoInclusao, "x"), caso.esperado == S_OK ? S_OK : E_FAIL);
    }
    CoUninitialize();
  }
}

namespace {

constexpr int kLinhasPorProcesso = 1000;

// One writer process: its own stand-in (each process serves its own objects, as each client
// process reaches the service) and one client, writing its lines as fast as it can.
[[noreturn]] void EscreveLinhas(int processo) {
  CoInitializeEx(nullptr, COINIT_MULTITHREADED);
  StandInHistorico servico;
  if (servico.Register() != S_OK) _exit(2);
  CPPHistorico historico;
  if (historico.Abre("TESTE", static_cast<uint16_t>(processo), 0) != S_OK) _exit(3);
  for (int linha = 0; linha < kLinhasPorProcesso; ++linha)
    if (historico.GravaLinha(kPPHistoricoInclusao, "processo %d linha %d", processo, linha) != S_OK) _exit(4);
  historico.Fecha();
  _exit(0);  // the stand-in stays registered: the other writer may still be creating its service
}

}  // namespace

TEST(HistoricoConcorrente, TwoProcessesWritingAThousandLinesEachLeaveEveryLineWhole) {
  Instalacao instalacao;
  pid_t filhos[2];
  for (int processo = 0; processo < 2; ++processo) {
    filhos[processo] = fork();
    ASSERT_GE(filhos[processo], 0);
    if (filhos[processo] == 0) EscreveLinhas(processo + 1);
  }
  for (pid_t filho : filhos) {
    int estado = 0;
    ASSERT_EQ(waitpid(filho, &estado, 0), filho);
    EXPECT_TRUE(WIFEXITED(estado) && WEXITSTATUS(estado) == 0) << estado;
  }
  std::set<std::string> linhas;
  std::set<int32_t> sessoes;
  for (const EntradaHistorico& entrada : Entradas()) {
    if (entrada.tipo == kS) sessoes.insert(entrada.sessao);
    if (entrada.tipo == kL) linhas.insert(entrada.texto);
  }
  EXPECT_EQ(sessoes.size(), 2u);
  ASSERT_EQ(linhas.size(), 2u * kLinhasPorProcesso);
  for (int processo = 1; processo <= 2; ++processo)
    for (int linha = 0; linha < kLinhasPorProcesso; ++linha)
      EXPECT_TRUE(linhas.count("processo " + std::to_string(processo) + " linha " + std::to_string(linha) + "\r"))
          << processo << " " << linha;
}

namespace {

// History files, with the clock pinned: 15/03/2020 08:17 is believed at the test clock's
// 15/01/2024 09:00.
class ArquivoHistorico : public ::testing::Test {
 protected:
  void SetUp() override {
    instalacao_.GravaValor(kChaveAmbiente, "QV_DATETIME", "1;15/03/2020;08:17:00:000;15/01/2024;09:00:00:000");
  }
  std::string Dados(const char* nome) const { return instalacao_.DiretorioEmpresa() + nome; }
  std::string Le(const std::string& nome) const { return instalacao_.dir().Read("empresas/TESTE/PP/" + nome); }
  void Escreve(const std::string& nome, const std::string& bytes) const {
    instalacao_.dir().Write("empresas/TESTE/PP/" + nome, bytes);
  }

  Instalacao instalacao_;
  TestClock relogio_;
};

// The header as the file must hold it, written out byte by byte.
std::string Cabecalho(const std::string& sessao, const std::string& ponteiro, const std::string& usuario,
                      const std::string& codigo, char tipo) {
  const std::string data("\xB2\xF5", 2);     // day 62898: 15/03/2020
  const std::string minutos("\xF1\x01", 2);  // 497: 08:17
  return sessao + ponteiro + data + minutos + usuario + codigo + tipo + std::string(1, '\0');
}

}  // namespace

TEST_F(ArquivoHistorico, RecordsAreAppendedBehindTheirHeaderToTheHisFileBesideTheDataFile) {
  struct Caso {
    const char* dados;
    const char* historico;
    int tamanho;
    uint16_t codigo;
    std::string codigoBytes;
  } casos[] = {
      {"PPMESTRE.DAT", "PPMESTRE.HIS", 530, 3, std::string("\x03\x00", 2)},
      {"PPVERSAO.DAT", "PPVERSAO.HIS", 82, 0, std::string("\x00\x00", 2)},
  };
  for (const Caso& caso : casos) {
    const int imagem = caso.tamanho - 18;
    std::string primeiro = std::string(18, '?') + std::string(imagem, 'a');
    std::string segundo = std::string(18, '?') + std::string(imagem, 'b');
    CPPHistorico::GravaRegistro(Dados(caso.dados).c_str(), 0x0102, 0x0A0B0C0D, 7, primeiro.data(), caso.tamanho,
                                'A', caso.codigo);
    CPPHistorico::GravaRegistro(Dados(caso.dados).c_str(), 12, 0, 0x10000, segundo.data(), caso.tamanho, 'I',
                                caso.codigo);
    const std::string esperado =
        std::string(caso.tamanho, '\0') +  // the engine's header record
        Cabecalho(std::string("\x0D\x0C\x0B\x0A", 4), std::string("\x07\x00\x00\x00", 4), std::string("\x02\x01", 2),
                  caso.codigoBytes, 'A') +
        std::string(imagem, 'a') +
        Cabecalho(std::string(4, '\0'), std::string("\x00\x00\x01\x00", 4), std::string("\x0C\x00", 2),
                  caso.codigoBytes, 'I') +
        std::string(imagem, 'b');
    EXPECT_EQ(Le(caso.historico), esperado) << caso.historico;
  }
}

TEST_F(ArquivoHistorico, MissingHistoryFileIsCreatedEvenWhenTheControlFileListsIt) {
  std::string controle(32, '\0');
  controle += "PPMESTRE.HIS" + std::string(20, '\0');
  Escreve("QVCTLARQ.DAT", controle);
  // The control file does list it: a data file of that name would be refused as lost.
  CQVArqEx comControle;
  ASSERT_EQ(comControle.Abre(Dados("PPMESTRE.HIS").c_str(), 'G', 530, true, true), kQVErroArquivoInexistente);

  std::string registro(530, 'm');
  CPPHistorico::GravaRegistro(Dados("PPMESTRE.DAT").c_str(), 1, 1, 1, registro.data(), 530, 'A', 3);
  EXPECT_EQ(Le("PPMESTRE.HIS").size(), 2u * 530);
  EXPECT_EQ(Le("QVCTLARQ.DAT"), controle);
}

TEST_F(ArquivoHistorico, WriteThatFailsChangesNothingAndReportsNothing) {
  const std::string antes = std::string(82, '\0') + std::string(82, 'v');
  Escreve("PPVERSAO.HIS", antes);
  ASSERT_TRUE(SetFileAttributesA(Dados("PPVERSAO.HIS").c_str(), FILE_ATTRIBUTE_READONLY));
  std::string registro(82, 'n');
  CPPHistorico::GravaRegistro(Dados("PPVERSAO.DAT").c_str(), 1, 1, 1, registro.data(), 82, 'A', 0);
  EXPECT_EQ(Le("PPVERSAO.HIS"), antes);

  // A clock that cannot say the date (an impossible override) writes nothing and throws nothing.
  instalacao_.GravaValor(kChaveAmbiente, "QV_DATETIME", "1;31/02/2020;08:17:00:000;15/01/2024;09:00:00:000");
  CPPHistorico::GravaRegistro(Dados("PPMESTRE.DAT").c_str(), 1, 1, 1, registro.data(), 82, 'A', 0);
  EXPECT_EQ(Le("PPMESTRE.HIS"), "");
}
