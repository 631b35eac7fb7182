// What the upgrade tests share: a company whose version record and data files they write byte by
// byte, with the clock pinned, and fake converters built on the real converter base and step frame.
//
// The fake data file of a group holds records that grow by 4 bytes per version: at version 1 a
// record i holds 16 bytes (byte k = i * 16 + k), and each step appends the record number and the new
// version (two 16-bit values). The expected bytes are written here from that rule, never by the
// converter's code.
#pragma once

#include <gtest/gtest.h>

#include <array>
#include <atomic>
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/com/apartment.h"
#include "platform/family/historico/StandInHistorico.h"
#include "platform/win32/clock.h"
#include "server/CPPAtualizaVersao.h"
#include "server/CPPServidorMestrePP.h"
#include "tests/support/Instalacao.h"

constexpr uint16_t kUsuarioTeste = 7;
constexpr int32_t kSessaoTeste = 4242;
// The fake files: one of the master group (slot 0), one of the technical sheets (slot 5).
constexpr const char* kArquivoFalsoMestre = "PPFALSOA.DAT";
constexpr const char* kArquivoFalsoFicha = "PPFALSOB.DAT";

// The day number from the real calendar (31/12/1847 is day 1), independent of the date library.
uint16_t Dia(int d, int m, int y);
// The day the pinned clock gives: 10/05/2024.
uint16_t DiaFixado();

using Versoes = std::array<uint16_t, kPPQuantidadeGrupos>;
// The targets with some slots changed.
Versoes VersoesAlvoCom(std::initializer_list<std::pair<int, uint16_t>> mudancas);

// The session record of user 7, session 4242 of the company "TESTE".
_REG_VARMO_INICIALIZAPS SessaoTeste();

// A company "TESTE" with its data directory, the clock pinned at 10/05/2024 10:00 through its
// override, on a TestClock (by default Sleep advances it).
class EmpresaTeste {
 public:
  explicit EmpresaTeste(TestClock::SleepMode modo = TestClock::SleepMode::kAdvancesClock);

  TestClock& Relogio() { return relogio_; }
  Instalacao& GetInstalacao() { return instalacao_; }
  std::string Diretorio() const { return instalacao_.DiretorioEmpresa(); }
  std::string Le(const std::string& nome) const;
  void Escreve(const std::string& nome, const std::string& bytes) const;
  bool Existe(const std::string& nome) const;
  void Apaga(const std::string& nome) const;
  // Every file of the data directory, name -> bytes.
  std::map<std::string, std::string> Arquivos() const;
  // Leaves the data directory holding exactly these files.
  void Restaura(const std::map<std::string, std::string>& arquivos) const;

  // "PPVERSAO.DAT" with a zero header and record 1.
  void EscreveVersao(const Versoes& versoes, uint16_t usVersaoOrvel = kPPVersaoOrvel, uint16_t usCriacao = 30000,
                     uint16_t usUltima = 0) const;
  PPRegistroVersao LeVersao() const;
  // The 82-byte audit records of "PPVERSAO.HIS", after its header.
  std::vector<std::string> AuditoriasVersao() const;
  // The readable lines that the history service holds for the company, in order.
  std::vector<std::string> Linhas() const;

  // A handler with the session of user 7, session 4242.
  std::unique_ptr<CPPServidorMestrePP> Servidor() const;

 private:
  TestClock relogio_;
  Instalacao instalacao_;
};

// A test of converters on the company, with the history stand-in registered in the test's apartment;
// at its end the observer is cleared and no stand-in object is left alive.
class ConversaoComHistorico : public ::testing::Test {
 protected:
  void SetUp() override {
    CoInitializeEx(nullptr, COINIT_MULTITHREADED);
    ASSERT_EQ(historico_.Register(), S_OK);
  }
  void TearDown() override {
    PPDefineObservadorAtualizacao(nullptr);
    CoUninitialize();
    EXPECT_EQ(historico_.Vivos(), 0);
  }

  EmpresaTeste empresa_;
  StandInHistorico historico_;
};

// The bytes of a fake data file at version v with `registros` records (header included).
uint32_t TamanhoFalso(uint16_t versao);
std::string RegistroFalso(uint32_t i, uint16_t versao);
std::string ArquivoFalso(uint16_t versao, uint32_t registros);

// A fake converter of one file, with the steps of the real converter of its group's titles.
class ConversorFalso : public CPPAtualizaVersao {
 public:
  ConversorFalso(uint16_t grupo, const char* titulo, std::vector<const char*> passos, const char* arquivo,
                 void (*lista)(CStringArray&));
  HRESULT Converte(uint16_t usVersao) override;

  // Test controls, reset by ReiniciaControles: the step of this version fails after converting,
  // before its commit; the steps remove stale ".HIS" files of the group first; the master steps
  // also rebuild "PPMESTRE.DAT" (a fake file like the others) in a list that deletes the old file
  // and turns its audit history into the copy of the step's version.
  static inline uint16_t s_usFalhaNaVersao = 0;
  static inline bool s_bRemoveHistoricosAntigos = false;
  static inline bool s_bRefazMestre = false;
  static void ReiniciaControles() {
    s_usFalhaNaVersao = 0;
    s_bRemoveHistoricosAntigos = false;
    s_bRefazMestre = false;
  }

 private:
  HRESULT ConverteArquivo(CPPPassoConversao& etapa, int lista, const char* arquivo, uint16_t usVersao);

  std::vector<const char*> m_passos;
  const char* m_arquivo;
  void (*m_lista)(CStringArray&);
};

std::unique_ptr<CPPAtualizaVersao> CriaFalsoMestre();  // slot 0: "AtualizaMestre", two steps
std::unique_ptr<CPPAtualizaVersao> CriaFalsoFicha();   // slot 5: "Atualiza Fichas Técnicas", two steps
// The driver's table with the fakes of slots 0 and 5 and the numbering converter of slot 12.
PPTabelaConversores TabelaFalsa();

// ---------------------------------------------------------------------------------------------------
// The kill tests: an upgrade in a child process that kills itself right after its N-th change on disk

// What the child tells the test process, in memory that they share (Partilhado, tests/crash/Queda.h).
struct RelatoQueda {
  std::atomic<int> operacoes;  // changes on disk made by the child so far
  std::atomic<int> mataNa;     // the change after which the child kills itself; 0: none
  std::atomic<int32_t> resultado;
  std::atomic<bool> terminou;
  // Told of each change of a run that is not killed, with its number; null: none.
  void (*pAnota)(RelatoQueda& relato, int numero, const char* operacao, const char* arquivo);
};

// Opens a session in a child process in Inicializa's order with the table's converters (the journal
// resolved, the settings file looked for, the upgrade), killed right after change mataNa (0: never);
// the child's wait status.
int CorreAtualizacaoFilho(RelatoQueda& relato, int mataNa, const PPTabelaConversores& tabela);

// For each change in `mudancas`: the data directory restored to `inicial`, a child killed right after
// that change, then a child that must end as the uninterrupted run did: S_OK and exactly the files
// `esperado`, but for the version record's audit file, which must hold whole audit records. Stops
// at the first failure; prints how many of the run's `operacoes` changes were killed at, and the time.
void MataERetomaEmCada(EmpresaTeste& empresa, RelatoQueda& relato, const PPTabelaConversores& tabela,
                       const std::map<std::string, std::string>& inicial,
                       const std::map<std::string, std::string>& esperado, int operacoes,
                       const std::vector<int>& mudancas);
