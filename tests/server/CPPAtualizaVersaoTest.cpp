// The version record, the upgrade driver and the step protocol, on fake converters built on the real
// base: creation and completion of the record, the driver's refusals and stops, steps with their
// lines, audit records and history copies, the journal of a failed step, and two processes.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <functional>
#include <thread>

#include "foundation/CQVArqMarca.h"
#include "foundation/CQVMensagem.h"
#include "foundation/QVSistema.h"
#include "platform/com/apartment.h"
#include "platform/family/historico/StandInHistorico.h"
#include "platform/win32/codepage.h"
#include "tests/server/EmpresaAtualizacao.h"
#include "tests/support/VersoesAntigasCadastros.h"

namespace {

constexpr HRESULT kErro1615 = PPErroHResult(1615);
constexpr HRESULT kFalhaServico = static_cast<HRESULT>(0x80040123);

std::string Bytes(const void* dados, size_t tamanho) { return std::string(static_cast<const char*>(dados), tamanho); }

// An audit record of the version file: its header and the image that follows it.
void VerificaAuditoria(const std::string& auditoria, char tipo, int32_t sessao, const PPRegistroVersao& imagem) {
  ASSERT_EQ(auditoria.size(), 82u);
  PPCabecalhoHistorico cabecalho;
  std::memcpy(&cabecalho, auditoria.data(), sizeof cabecalho);
  EXPECT_EQ(cabecalho.lSessao, sessao);
  EXPECT_EQ(cabecalho.ulPonteiro, 1u);
  EXPECT_EQ(cabecalho.usData, DiaFixado());
  EXPECT_EQ(cabecalho.usMinutos, 10 * 60);
  EXPECT_EQ(cabecalho.usUsuario, kUsuarioTeste);
  EXPECT_EQ(cabecalho.usCodigo, 0);
  EXPECT_EQ(cabecalho.cTipo, tipo);
  EXPECT_EQ(cabecalho.cZero, 0);
  EXPECT_EQ(auditoria.substr(18), Bytes(&imagem, sizeof imagem));
}

std::string Linha(const char* texto) { return std::string(texto) + "\r"; }

class Atualizacao : public ::testing::Test {
 protected:
  void SetUp() override {
    CoInitializeEx(nullptr, COINIT_MULTITHREADED);
    ASSERT_EQ(historico_.Register(), S_OK);
    ConversorFalso::ReiniciaControles();
  }
  void TearDown() override {
    ConversorFalso::ReiniciaControles();
    CoUninitialize();
    EXPECT_EQ(historico_.Vivos(), 0);
  }

  HRESULT Atualiza() { return empresa_.Servidor()->AtualizaVersaoArquivos(TabelaFalsa()); }
  // A company whose groups stand at their targets but for the changes, with the fake files at the
  // versions of their slots.
  void Prepara(std::initializer_list<std::pair<int, uint16_t>> mudancas) {
    const Versoes versoes = VersoesAlvoCom(mudancas);
    empresa_.EscreveVersao(versoes);
    empresa_.Escreve(kArquivoFalsoMestre, ArquivoFalso(versoes[kPPGrupoMestre], 3));
    empresa_.Escreve(kArquivoFalsoFicha, ArquivoFalso(versoes[kPPGrupoFichaTecnica], 3));
  }
  bool SemSobras() const { return !empresa_.Existe("PPVERSAO.DIA") && !empresa_.Existe("PPFALSOA.TRA") && !empresa_.Existe("PPFALSOB.TRA"); }

  EmpresaTeste empresa_;
  StandInHistorico historico_;
};

// ---------------------------------------------------------------------------------------------------
// The record

TEST_F(Atualizacao, MissingVersionFileIsCreatedAtTheTargetsWithItsInsertAuditRecord) {
  auto servidor = empresa_.Servidor();
  ASSERT_FALSE(empresa_.Existe("PPVERSAO.DAT"));
  EXPECT_EQ(servidor->CriaArquivoVersao(), S_OK);

  const std::string bytes = empresa_.Le("PPVERSAO.DAT");
  ASSERT_EQ(bytes.size(), 128u);
  EXPECT_EQ(bytes.substr(0, 64), std::string(64, '\0'));
  const PPRegistroVersao registro = empresa_.LeVersao();
  for (size_t grupo = 0; grupo < kPPQuantidadeGrupos; ++grupo) EXPECT_EQ(registro.usVersao[grupo], kPPVersoesAlvo[grupo]);
  EXPECT_EQ(Bytes(registro.cZeros, sizeof registro.cZeros), std::string(26, '\0'));
  EXPECT_EQ(registro.usVersaoOrvel, 64);
  EXPECT_EQ(registro.usDataCriacao, DiaFixado());
  EXPECT_EQ(registro.usDataUltimaConversao, 0);
  const std::vector<std::string> auditorias = empresa_.AuditoriasVersao();
  ASSERT_EQ(auditorias.size(), 1u);
  VerificaAuditoria(auditorias[0], 'I', kSessaoTeste, registro);

  // A second session finds it whole; nothing is converted and no line is written.
  EXPECT_EQ(servidor->CriaArquivoVersao(), S_OK);
  EXPECT_EQ(servidor->AtualizaVersaoArquivos(), S_OK);
  EXPECT_EQ(empresa_.Le("PPVERSAO.DAT"), bytes);
  EXPECT_EQ(empresa_.AuditoriasVersao().size(), 1u);
  EXPECT_TRUE(empresa_.Linhas().empty());
}

TEST_F(Atualizacao, VersionFileLeftWithoutItsRecordIsCompletedAndAWholeOneIsLeftAlone) {
  // A creator that died between making the file and writing record 1 left it empty or with its
  // header only; every session would fail reading record 1.
  for (const std::string& deixado : {std::string(), std::string(64, '\0')}) {
    empresa_.Escreve("PPVERSAO.DAT", deixado);
    empresa_.Apaga("PPVERSAO.HIS");
    EXPECT_EQ(empresa_.Servidor()->CriaArquivoVersao(), S_OK) << deixado.size();
    const PPRegistroVersao registro = empresa_.LeVersao();
    EXPECT_EQ(registro.usVersao[kPPGrupoOrdemProducao], 9);
    EXPECT_EQ(registro.usDataCriacao, DiaFixado());
    ASSERT_EQ(empresa_.AuditoriasVersao().size(), 1u);
    VerificaAuditoria(empresa_.AuditoriasVersao()[0], 'I', kSessaoTeste, registro);
    EXPECT_EQ(empresa_.Servidor()->AtualizaVersaoArquivos(), S_OK);
  }

  empresa_.Apaga("PPVERSAO.HIS");
  empresa_.EscreveVersao(VersoesAlvoCom({{kPPGrupoOrdemProducao, 5}}), 64, 1234);
  const std::string inteiro = empresa_.Le("PPVERSAO.DAT");
  EXPECT_EQ(empresa_.Servidor()->CriaArquivoVersao(), S_OK);
  EXPECT_EQ(empresa_.Le("PPVERSAO.DAT"), inteiro);
  EXPECT_FALSE(empresa_.Existe("PPVERSAO.HIS"));
}

// ---------------------------------------------------------------------------------------------------
// The driver

TEST_F(Atualizacao, FamilyVersion63BecomesThe64WithAnAlterationAuditRecordAndNothingElse) {
  empresa_.EscreveVersao(kPPVersoesAlvo, 63, 30000, 0);
  EXPECT_EQ(empresa_.Servidor()->AtualizaVersaoArquivos(), S_OK);
  const PPRegistroVersao registro = empresa_.LeVersao();
  EXPECT_EQ(registro.usVersaoOrvel, 64);
  EXPECT_EQ(registro.usDataCriacao, 30000);
  EXPECT_EQ(registro.usDataUltimaConversao, DiaFixado());
  for (size_t grupo = 0; grupo < kPPQuantidadeGrupos; ++grupo) EXPECT_EQ(registro.usVersao[grupo], kPPVersoesAlvo[grupo]);
  const std::vector<std::string> auditorias = empresa_.AuditoriasVersao();
  ASSERT_EQ(auditorias.size(), 1u);
  VerificaAuditoria(auditorias[0], 'A', 0, registro);
  EXPECT_FALSE(empresa_.Existe("XXMARCA1.DAT")) << "every slot at its target: no lock";
  EXPECT_TRUE(empresa_.Linhas().empty());
}

TEST_F(Atualizacao, NewerDataAreRefusedBeforeAnyLockOrConversion) {
  Prepara({{kPPGrupoMestre, 2}, {kPPGrupoOrdemProducao, 10}});
  const auto antes = empresa_.Arquivos();
  EXPECT_EQ(Atualiza(), PPErroHResult(1666));
  EXPECT_EQ(empresa_.Arquivos(), antes) << "no lock file, no conversion, no write";
  EXPECT_TRUE(empresa_.Linhas().empty());

  // Only the family version is written before the refusal.
  empresa_.EscreveVersao(VersoesAlvoCom({{kPPGrupoOrdemProducao, 10}}), 63);
  EXPECT_EQ(Atualiza(), PPErroHResult(1666));
  EXPECT_EQ(empresa_.LeVersao().usVersaoOrvel, 64);
  EXPECT_EQ(empresa_.LeVersao().usVersao[kPPGrupoOrdemProducao], 10);
  EXPECT_FALSE(empresa_.Existe("XXMARCA1.DAT"));
}

TEST_F(Atualizacao, GroupBelowItsTargetWithoutAConverterStopsWith1615) {
  // Processes, calendars and sections have no converter in the program's table.
  for (const auto& [grupo, versao] : std::vector<std::pair<int, uint16_t>>{
           {kPPGrupoProcesso, 0}, {kPPGrupoCalendario, 0}, {kPPGrupoSecao, 0}}) {
    empresa_.EscreveVersao(VersoesAlvoCom({{grupo, versao}}));
    const std::string antes = empresa_.Le("PPVERSAO.DAT");
    EXPECT_EQ(empresa_.Servidor()->AtualizaVersaoArquivos(), kErro1615) << grupo;
    EXPECT_EQ(empresa_.Le("PPVERSAO.DAT"), antes) << grupo;
  }
  EXPECT_TRUE(empresa_.Linhas().empty());
}

TEST_F(Atualizacao, MasterConverterRunsBeforeTheStopAtProcesses) {
  Prepara({{kPPGrupoMestre, 2}, {kPPGrupoProcesso, 0}});
  EXPECT_EQ(Atualiza(), kErro1615);
  const PPRegistroVersao registro = empresa_.LeVersao();
  EXPECT_EQ(registro.usVersao[kPPGrupoMestre], 3);
  EXPECT_EQ(registro.usVersao[kPPGrupoProcesso], 0);
  EXPECT_EQ(registro.usDataUltimaConversao, DiaFixado());
  EXPECT_EQ(empresa_.Le(kArquivoFalsoMestre), ArquivoFalso(3, 3));
  EXPECT_EQ(empresa_.Le("PPFALSOA_V002.HIS"), ArquivoFalso(2, 3));
  EXPECT_EQ(empresa_.Linhas(), (std::vector<std::string>{Linha("AtualizaMestre -> processo iniciado"),
                                                         Linha("AtualizaMestreV02_p_V03 -> processo iniciado"),
                                                         Linha("AtualizaMestreV02_p_V03 -> processo encerrado"),
                                                         Linha("AtualizaMestre -> processo encerrado")}));
  EXPECT_TRUE(SemSobras());
}

TEST_F(Atualizacao, GroupAtVersion1RunsBothStepsInOneAtualizaRebuildingOneFileTwice) {
  Prepara({{kPPGrupoFichaTecnica, 1}});
  EXPECT_EQ(Atualiza(), S_OK);

  EXPECT_EQ(empresa_.LeVersao().usVersao[kPPGrupoFichaTecnica], 3);
  EXPECT_EQ(empresa_.Le(kArquivoFalsoFicha), ArquivoFalso(3, 3));
  // Each step keeps the file as it was: a run that began at 1 removes no copy.
  EXPECT_EQ(empresa_.Le("PPFALSOB_V001.HIS"), ArquivoFalso(1, 3));
  EXPECT_EQ(empresa_.Le("PPFALSOB_V002.HIS"), ArquivoFalso(2, 3));
  EXPECT_FALSE(empresa_.Existe("PPFALSOB.HIS"));
  // PPFALSOB.TRA was made twice: listed in the control file, the second step would get 16055.
  EXPECT_EQ(empresa_.Le("QVCTLARQ.DAT").find("PPFALSOB.TRA"), std::string::npos);
  EXPECT_TRUE(SemSobras());

  const std::vector<std::string> auditorias = empresa_.AuditoriasVersao();
  ASSERT_EQ(auditorias.size(), 2u);
  PPRegistroVersao imagem{};
  std::memcpy(&imagem, empresa_.Le("PPVERSAO.DAT").data() + 64, sizeof imagem);
  imagem.usVersao[kPPGrupoFichaTecnica] = 2;
  VerificaAuditoria(auditorias[0], 'A', 0, imagem);
  imagem.usVersao[kPPGrupoFichaTecnica] = 3;
  VerificaAuditoria(auditorias[1], 'A', 0, imagem);

  EXPECT_EQ(empresa_.Linhas(), (std::vector<std::string>{Linha("Atualiza Fichas Técnicas -> processo iniciado"_ansi),
                                                         Linha("AtualizaV01_p_V02 -> processo iniciado"),
                                                         Linha("AtualizaV01_p_V02 -> processo encerrado"),
                                                         Linha("AtualizaV02_p_V03 -> processo iniciado"),
                                                         Linha("AtualizaV02_p_V03 -> processo encerrado"),
                                                         Linha("Atualiza Fichas Técnicas -> processo encerrado"_ansi)}));
}

TEST_F(Atualizacao, CleanUpRemovesTheCopiesBelowTheVersionTheRunBeganAt) {
  Prepara({{kPPGrupoFichaTecnica, 2}});
  empresa_.Escreve("PPFALSOB_V001.HIS", "copia da versao 1");
  ConversorFalso::s_bRemoveHistoricosAntigos = true;
  empresa_.Escreve("PPFALSOB.HIS", "historico antigo");
  EXPECT_EQ(Atualiza(), S_OK);
  EXPECT_FALSE(empresa_.Existe("PPFALSOB_V001.HIS"));
  EXPECT_EQ(empresa_.Le("PPFALSOB_V002.HIS"), ArquivoFalso(2, 3));
  EXPECT_EQ(empresa_.Le(kArquivoFalsoFicha), ArquivoFalso(3, 3));
  const std::string historico = empresa_.Diretorio() + "PPFALSOB.HIS";
  EXPECT_EQ(empresa_.Linhas()[2], Linha(("AtualizaV02_p_V03 -> remover arquivo: " + historico).c_str()));
}

TEST_F(Atualizacao, NumberingConverterRaisesItsSlotFrom0AndWritesNoLine) {
  empresa_.EscreveVersao(VersoesAlvoCom({{kPPGrupoColecao, 0}}));
  EXPECT_EQ(Atualiza(), S_OK);
  EXPECT_EQ(empresa_.LeVersao().usVersao[kPPGrupoColecao], 1);
  EXPECT_EQ(empresa_.AuditoriasVersao().size(), 1u);

  // At 1 it changes nothing.
  CPPAtualizaVersaoNumeracao numeracao(kPPGrupoColecao, nullptr);
  const std::string antes = empresa_.Le("PPVERSAO.DAT");
  EXPECT_EQ(numeracao.Executa(Instalacao::kEmpresa, kUsuarioTeste, 1), S_OK);
  EXPECT_EQ(empresa_.Le("PPVERSAO.DAT"), antes);
  EXPECT_EQ(empresa_.AuditoriasVersao().size(), 1u);
  EXPECT_TRUE(empresa_.Linhas().empty());
}

// ---------------------------------------------------------------------------------------------------
// The protocol

// A converter whose Atualiza only raises the slot from a version it is told.
class ConversorQueNumera : public CPPAtualizaVersao {
 public:
  ConversorQueNumera() : CPPAtualizaVersao(PPDescricaoConversor{kPPGrupoFichaTecnica, "Numera", {"Passo"}, nullptr}) {}
  HRESULT Converte(uint16_t) override { return S_OK; }
  HRESULT Atualiza(uint16_t usVersao) override {
    uint16_t versao = usVersao;
    return AtualizaNumeroVersao(GetGrupo(), versao);
  }
};

TEST_F(Atualizacao, RaisingASlotThatStandsElsewhereIsRefusedWithDeParaAnd1615) {
  empresa_.EscreveVersao(VersoesAlvoCom({{kPPGrupoFichaTecnica, 2}}));
  const std::string antes = empresa_.Le("PPVERSAO.DAT");
  ConversorQueNumera conversor;
  EXPECT_EQ(conversor.Executa(Instalacao::kEmpresa, kUsuarioTeste, 1), kErro1615);
  EXPECT_EQ(empresa_.Le("PPVERSAO.DAT"), antes);
  EXPECT_FALSE(empresa_.Existe("PPVERSAO.HIS"));
  EXPECT_EQ(empresa_.Linhas(), std::vector<std::string>{Linha("AtualizaNumeroVersao -> De 2 para 2")});
}

TEST_F(Atualizacao, ConverterWithoutItsVersionFileOrHistoryServiceDoesNothing) {
  ConversorQueNumera conversor;
  EXPECT_EQ(conversor.Executa(Instalacao::kEmpresa, kUsuarioTeste, 1), PPErroHResult(16055));
  EXPECT_EQ(empresa_.Linhas(),
            std::vector<std::string>{Linha(("Abrir arquivo " + empresa_.Diretorio() + "PPVERSAO.DAT").c_str())});
  EXPECT_FALSE(empresa_.Existe("PPVERSAO.DAT"));

  empresa_.EscreveVersao(VersoesAlvoCom({{kPPGrupoFichaTecnica, 1}}));
  historico_.FalhaDefineEmpresa(kFalhaServico);
  EXPECT_EQ(conversor.Executa(Instalacao::kEmpresa, kUsuarioTeste, 1), kFalhaServico);
  EXPECT_EQ(empresa_.LeVersao().usVersao[kPPGrupoFichaTecnica], 1);
  historico_.FalhaDefineEmpresa(S_OK);
}

TEST_F(Atualizacao, StrayTRAStopsTheStepBeforeItTouchesAnything) {
  Prepara({{kPPGrupoFichaTecnica, 1}});
  empresa_.Escreve("PPOUTRO.TRA", "sobra");
  const auto antes = empresa_.Arquivos();
  EXPECT_EQ(Atualiza(), kErro1615);
  auto depois = empresa_.Arquivos();
  depois.erase("XXMARCA1.DAT");
  EXPECT_EQ(depois, antes);
  EXPECT_EQ(empresa_.Linhas(),
            (std::vector<std::string>{Linha("Atualiza Fichas Técnicas -> processo iniciado"_ansi),
                                      Linha("AtualizaV01_p_V02 -> processo iniciado"),
                                      Linha("AtualizaV01_p_V02 -> conversão anterior não terminou com sucesso"_ansi)}));
}

TEST_F(Atualizacao, StepFailingBeforeItsCommitDropsItsJournalAndLeavesItsTRA) {
  Prepara({{kPPGrupoFichaTecnica, 1}});
  ConversorFalso::s_usFalhaNaVersao = 1;
  EXPECT_EQ(Atualiza(), PPErroHResult(16039));
  EXPECT_EQ(empresa_.Linhas().back(), Linha("Ler registro - 2"));
  EXPECT_FALSE(empresa_.Existe("PPVERSAO.DIA"));
  EXPECT_EQ(empresa_.Le("PPFALSOB.TRA"), ArquivoFalso(2, 3));
  EXPECT_EQ(empresa_.Le(kArquivoFalsoFicha), ArquivoFalso(1, 3));
  EXPECT_EQ(empresa_.LeVersao().usVersao[kPPGrupoFichaTecnica], 1);

  // As the system always did, the leftover refuses every later run.
  ConversorFalso::s_usFalhaNaVersao = 0;
  EXPECT_EQ(Atualiza(), kErro1615);
  EXPECT_EQ(empresa_.Linhas().back(), Linha("AtualizaV01_p_V02 -> conversão anterior não terminou com sucesso"_ansi));
  EXPECT_EQ(empresa_.LeVersao().usVersao[kPPGrupoFichaTecnica], 1);
}

TEST_F(Atualizacao, MoveFailingAfterTheCommitIsCompletedByTheNextRun) {
  Prepara({{kPPGrupoFichaTecnica, 1}});
  empresa_.Escreve("PPFALSOB.HIS", "historico antigo");  // the old file cannot be moved to ".HIS"
  EXPECT_EQ(Atualiza(), kErro1615);
  const std::vector<std::string> linhas = empresa_.Linhas();
  ASSERT_GE(linhas.size(), 2u);
  const std::string falha = "RemoveArquivos -> Erro ao remover " + empresa_.Diretorio() + "PPFALSOB.DAT; Erro: 183; causa: ";
  EXPECT_EQ(linhas[linhas.size() - 2].substr(0, falha.size()), falha);
  EXPECT_EQ(linhas.back(), Linha("AtualizaV01_p_V02 -> RemoveArquivosMovimentacao(aArquivos, usVersaoAtual)"));
  EXPECT_TRUE(empresa_.Existe("PPVERSAO.DIA"));
  EXPECT_EQ(empresa_.Le("PPFALSOB.TRA"), ArquivoFalso(2, 3));
  EXPECT_EQ(empresa_.Le(kArquivoFalsoFicha), ArquivoFalso(1, 3));

  // The journal is resolved before anything else: while the move still fails, so does every run.
  EXPECT_EQ(Atualiza(), kErro1615);
  EXPECT_EQ(empresa_.LeVersao().usVersao[kPPGrupoFichaTecnica], 1);

  empresa_.Apaga("PPFALSOB.HIS");
  EXPECT_EQ(Atualiza(), S_OK);
  EXPECT_EQ(empresa_.LeVersao().usVersao[kPPGrupoFichaTecnica], 3);
  EXPECT_EQ(empresa_.Le(kArquivoFalsoFicha), ArquivoFalso(3, 3));
  EXPECT_EQ(empresa_.Le("PPFALSOB_V001.HIS"), ArquivoFalso(1, 3)) << "the run began at 1: its copy stays";
  EXPECT_EQ(empresa_.Le("PPFALSOB_V002.HIS"), ArquivoFalso(2, 3));
  EXPECT_TRUE(SemSobras());
}

TEST(CatalogoDaAtualizacao, ShipsTheTextsOfTheHandlerAndTheUpgradeInWindows1252) {
  Instalacao instalacao;
  std::filesystem::copy_file(QV_CATALOGO_PATH, instalacao.dir().path() + "/mensagens/QVPPMens.txt");
  EXPECT_STREQ(QVLeMensagem(1616, kQVSistemaPP), "O arquivo de parâmetros da produção (PPMESTRE.DAT) não existe."_ansi);
  EXPECT_NE(QVLeMensagem(1615, kQVSistemaPP).Find('\n'), -1);
  for (int numero : {1585, 1615, 1648, 1666}) EXPECT_FALSE(QVLeMensagem(numero, kQVSistemaPP).IsEmpty()) << numero;
}

// ---------------------------------------------------------------------------------------------------
// Two processes

// A child process that holds lock 1 of the company from its start until told to let go.
class Detentor {
 public:
  explicit Detentor(const std::string& diretorio) {
    if (pipe(pronto_) != 0 || pipe(solta_) != 0) throw std::runtime_error("pipe");
    pid_ = fork();
    if (pid_ == 0) {
      CQVArqMarca marca;
      const int erro = marca.Marca(diretorio.c_str(), kPPMarcaMestre);
      (void)!write(pronto_[1], &erro, sizeof erro);
      char sinal;
      (void)!read(solta_[0], &sinal, 1);
      _exit(0);
    }
    int erro = -1;
    if (read(pronto_[0], &erro, sizeof erro) != sizeof erro || erro != 0) throw std::runtime_error("lock");
  }
  void Solta() {
    if (pid_ <= 0) return;
    (void)!write(solta_[1], "x", 1);
    int estado = 0;
    waitpid(pid_, &estado, 0);
    pid_ = 0;
  }
  ~Detentor() { Solta(); }

 private:
  int pronto_[2];
  int solta_[2];
  pid_t pid_ = 0;
};

// The upgrade runs on a thread of its own, on a clock that moves only when the test moves it.
class AtualizacaoConcorrente : public ::testing::Test {
 protected:
  AtualizacaoConcorrente() : empresa_(TestClock::SleepMode::kBlocks) {
    empresa_.EscreveVersao(VersoesAlvoCom({{kPPGrupoFichaTecnica, 1}}));
    empresa_.Escreve(kArquivoFalsoFicha, ArquivoFalso(1, 3));
  }
  void Inicia() {
    ASSERT_EQ(historico_.Register(), S_OK);
    tarefa_ = std::thread([this] {
      CoInitializeEx(nullptr, COINIT_MULTITHREADED);
      CPPServidorMestrePP servidor;
      servidor.DefineSessao(SessaoTeste());
      resultado_ = servidor.AtualizaVersaoArquivos(TabelaFalsa());
      CoUninitialize();
      terminou_ = true;
    });
  }
  // Moves the clock in steps until the upgrade ends (a minute of real time at most).
  void EsperaFim(DWORD passo) {
    const auto limite = std::chrono::steady_clock::now() + std::chrono::minutes(1);
    while (!terminou_ && std::chrono::steady_clock::now() < limite) {
      empresa_.Relogio().Advance(passo);
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    if (tarefa_.joinable()) tarefa_.join();
  }

  EmpresaTeste empresa_;
  StandInHistorico historico_;
  std::thread tarefa_;
  std::atomic<bool> terminou_{false};
  std::atomic<HRESULT> resultado_{S_OK};
};

TEST_F(AtualizacaoConcorrente, UpgradeWaitsWhileAnotherProcessHoldsLock1) {
  Detentor detentor(empresa_.Diretorio());  // forked before any thread of this process
  Inicia();
  for (int segundos = 0; segundos < 40; segundos += 10) {
    empresa_.Relogio().AwaitWaiters(1);
    empresa_.Relogio().Advance(10000);
  }
  empresa_.Relogio().AwaitWaiters(1);
  EXPECT_FALSE(terminou_);
  EXPECT_EQ(empresa_.LeVersao().usVersao[kPPGrupoFichaTecnica], 1);
  EXPECT_FALSE(empresa_.Existe("PPFALSOB.TRA"));

  detentor.Solta();
  EsperaFim(10);
  EXPECT_EQ(resultado_, S_OK);
  EXPECT_EQ(empresa_.LeVersao().usVersao[kPPGrupoFichaTecnica], 3);
  EXPECT_EQ(empresa_.Le(kArquivoFalsoFicha), ArquivoFalso(3, 3));
}

TEST_F(AtualizacaoConcorrente, UpgradeGivesUpAfter50SecondsOfAnotherProcessHoldingLock1) {
  Detentor detentor(empresa_.Diretorio());
  Inicia();
  EsperaFim(1000);  // the holder never lets go: the clock runs past the 50 s
  EXPECT_EQ(resultado_, PPErroHResult(16225));
  EXPECT_EQ(empresa_.LeVersao().usVersao[kPPGrupoFichaTecnica], 1);
  EXPECT_EQ(empresa_.Le(kArquivoFalsoFicha), ArquivoFalso(1, 3));
  EXPECT_TRUE(empresa_.Linhas().empty());
}

// Two child processes let go at once (a pipe holds them until both exist), each running `corpo`;
// both must succeed.
void DoisFilhosJuntos(const std::function<bool()>& corpo) {
  int largada[2];
  ASSERT_EQ(pipe(largada), 0);
  pid_t filhos[2];
  for (pid_t& filho : filhos) {
    filho = fork();
    ASSERT_GE(filho, 0);
    if (filho == 0) {
      char sinal;
      (void)!read(largada[0], &sinal, 1);
      _exit(corpo() ? 0 : 1);
    }
  }
  ASSERT_EQ(write(largada[1], "xx", 2), 2);
  for (pid_t filho : filhos) {
    int estado = 0;
    waitpid(filho, &estado, 0);
    EXPECT_TRUE(WIFEXITED(estado) && WEXITSTATUS(estado) == 0);
  }
}

TEST(AtualizacaoDoisProcessos, TwoFirstSessionsOfANewCompanyBothSucceedWithOneRecord) {
  EmpresaTeste empresa;
  DoisFilhosJuntos([] {
    CPPServidorMestrePP servidor;
    return servidor.DefineSessao(SessaoTeste()) == S_OK && servidor.CriaArquivoVersao() == S_OK &&
           servidor.AtualizaVersaoArquivos() == S_OK;
  });
  const PPRegistroVersao registro = empresa.LeVersao();
  for (size_t grupo = 0; grupo < kPPQuantidadeGrupos; ++grupo) EXPECT_EQ(registro.usVersao[grupo], kPPVersoesAlvo[grupo]);
  ASSERT_EQ(empresa.AuditoriasVersao().size(), 1u) << "record 1 is written once";
  VerificaAuditoria(empresa.AuditoriasVersao()[0], 'I', kSessaoTeste, registro);
}

// The loser of the race waits for lock 1 in real time: the clock blocks its sleepers, and each
// process moves it on as real time passes.
class AtualizacaoDoisProcessosReais : public ::testing::Test {
 protected:
  AtualizacaoDoisProcessosReais() : empresa_(TestClock::SleepMode::kBlocks) {}
  void SetUp() override {
    CoInitializeEx(nullptr, COINIT_MULTITHREADED);
    ASSERT_EQ(historico_.Register(), S_OK);
  }
  void TearDown() override { CoUninitialize(); }
  void RelogioReal() {
    std::thread([this] {
      for (;;) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
        empresa_.Relogio().Advance(10);
      }
    }).detach();
  }

  EmpresaTeste empresa_;
  StandInHistorico historico_;
};

TEST_F(AtualizacaoDoisProcessosReais, TwoProcessesUpgradingAtOnceConvertOnceTheSecondWaitingForLock1) {
  empresa_.EscreveVersao(VersoesAlvoCom({{kPPGrupoMestre, 2}, {kPPGrupoTipoOP, 1}}));
  empresa_.Escreve("PPMESTRE.DAT", std::string(512, '\x05'));
  for (const auto& [nome, bytes] : VersoesAntigasCadastros::CadastrosV1())
    if (nome == "PPTOPCAB.DAT" || nome == "PPTOPUSU.DAT") empresa_.Escreve(nome, bytes);
  const std::string tiposAntigos = empresa_.Le("PPTOPCAB.DAT");

  DoisFilhosJuntos([this] {
    RelogioReal();
    CoInitializeEx(nullptr, COINIT_MULTITHREADED);
    CPPServidorMestrePP servidor;
    return servidor.DefineSessao(SessaoTeste()) == S_OK && servidor.AtualizaVersaoArquivos() == S_OK;
  });

  const PPRegistroVersao registro = empresa_.LeVersao();
  EXPECT_EQ(registro.usVersao[kPPGrupoMestre], 3);
  EXPECT_EQ(registro.usVersao[kPPGrupoTipoOP], 2);
  EXPECT_EQ(empresa_.AuditoriasVersao().size(), 2u) << "each slot raised once";
  EXPECT_EQ(empresa_.Le("PPTOPCAB_V001.HIS"), tiposAntigos);
  EXPECT_FALSE(empresa_.Existe("PPTOPCAB_V002.HIS"));
  EXPECT_EQ(empresa_.Linhas(), (std::vector<std::string>{Linha("AtualizaMestre -> processo iniciado"),
                                                         Linha("AtualizaMestreV02_p_V03 -> processo iniciado"),
                                                         Linha("AtualizaMestreV02_p_V03 -> processo encerrado"),
                                                         Linha("AtualizaMestre -> processo encerrado"),
                                                         Linha("Atualiza Tipo de OP -> processo iniciado"),
                                                         Linha("AtualizaV01_p_V02 -> processo iniciado"),
                                                         Linha("AtualizaV01_p_V02 -> processo encerrado"),
                                                         Linha("Atualiza Tipo de OP -> processo encerrado")}));
  EXPECT_FALSE(empresa_.Existe("PPVERSAO.DIA"));
  EXPECT_FALSE(empresa_.Existe("PPTOPCAB.TRA"));
}

}  // namespace
