#include "server/CPPArquivos.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <functional>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "foundation/QVData.h"
#include "platform/win32/clock.h"
#include "server/CPPArquivosSubclasses.h"
#include "server/PPTextosStatus.h"
#include "tests/foundation/DiretorioDados.h"

namespace {

const uint16_t kFevereiro = QVMontaMesAno(2, 2025);
const uint16_t kMarco = QVMontaMesAno(3, 2025);

// One declared file of a set as the servers and the stored files know it: its bit, its name (or
// prefix of a monthly file), its record length (0: variable-record texts) and the member object.
struct Membro {
  uint32_t bit;
  const char* nome;
  uint32_t tamanho;
  std::function<CPPArqEx*(CPPArquivos&)> fixo;
  std::function<CQVArqDyn*(CPPArquivos&)> texto;
};

#define FIXO(Classe, bit, nome, tamanho, membro) \
  Membro{bit, nome, tamanho, [](CPPArquivos& c) { return &static_cast<Classe&>(c).membro; }, nullptr}
#define TEXTO(Classe, bit, nome, membro) \
  Membro{bit, nome, 0, nullptr, [](CPPArquivos& c) { return &static_cast<Classe&>(c).membro; }}

struct Conjunto {
  const char* classe;
  std::function<std::unique_ptr<CPPArquivos>()> cria;
  bool periodo;
  std::vector<Membro> membros;  // in opening order
};

template <class Classe>
std::unique_ptr<CPPArquivos> Cria() {
  return std::make_unique<Classe>();
}

const std::vector<Conjunto>& Conjuntos() {
  using FT = CPPArquivosFichaTecnica;
  using TR = CPPArquivosTipoRecurso;
  using OP = CPPArquivosOP;
  using MP = CPPArquivosMetasProducao;
  static const std::vector<Conjunto> conjuntos = {
      {"FichaTecnica",
       Cria<FT>,
       false,
       {FIXO(FT, 0x1, "PPFTCABE.DAT", 64, m_arqCabecalho), FIXO(FT, 0x2, "PPFTPROC.DAT", 88, m_arqProcesso),
        FIXO(FT, 0x4, "PPFTPROD.DAT", 64, m_arqProduto), FIXO(FT, 0x10, "PPFTPTLR.DAT", 128, m_arqPTLR),
        FIXO(FT, 0x20, "PPFTPPFT.DAT", 16, m_arqPPFT), FIXO(FT, 0x80, "PPFTGRPR.DAT", 32, m_arqGradeProduto),
        FIXO(FT, 0x100, "PPFTETQT.DAT", 64, m_arqEtiqueta), TEXTO(FT, 0x8, "PPFTDTPC.DAT", m_arqDTPC),
        TEXTO(FT, 0x40, "PPFTPNFT.DAT", m_arqPNFT), TEXTO(FT, 0x200, "PPFTELAY.DAT", m_arqELAY)}},
      {"MetasProducao", Cria<MP>, true, {FIXO(MP, 0x1, "PPMP", 128, m_arqMetasProducao)}},
      {"TipoRecurso",
       Cria<TR>,
       false,
       {FIXO(TR, 0x1, "PPTIPREC.DAT", 104, m_arqTipoRecurso), FIXO(TR, 0x4, "PPTROPRC.DAT", 32, m_arqOperacao),
        FIXO(TR, 0x8, "PPTRCONT.DAT", 64, m_arqContador), FIXO(TR, 0x10, "PPTRQTDA.DAT", 32, m_arqQuantidade),
        FIXO(TR, 0x20, "PPTRINTV.DAT", 64, m_arqIntervalo), FIXO(TR, 0x40, "PPTRDETL.DAT", 32, m_arqDetalhe),
        TEXTO(TR, 0x2, "PPTRTXDT.DAT", m_arqTXDT)}},
      {"OP",
       Cria<OP>,
       true,
       {FIXO(OP, 0x1, "PPOP", 256, m_arqOP),
        FIXO(OP, 0x2, "PPIT", 90, m_arqItem),
        FIXO(OP, 0x4, "PPPR", 128, m_arqProcesso),
        FIXO(OP, 0x8, "PPMT", 128, m_arqInsumo),
        FIXO(OP, 0x10, "PPRP", 64, m_arqRP),
        FIXO(OP, 0x20, "PPIP", 16, m_arqIP),
        FIXO(OP, 0x40, "PPPE", 64, m_arqProcessoEtiqueta),
        FIXO(OP, 0x80, "PPEE", 64, m_arqEtiquetaEmitida),
        FIXO(OP, 0x100, "PPAP", 200, m_arqApontamento),
        FIXO(OP, 0x200, "PPAS", 128, m_arqAS),
        FIXO(OP, 0x400, "PPRI", 90, m_arqRetornoIndExterna),
        FIXO(OP, 0x800, "PPAR", 64, m_arqApontamentoRecurso),
        FIXO(OP, 0x4000000, "PPAO", 48, m_arqAO),
        FIXO(OP, 0x4000000, "PPAC", 72, m_arqAC),
        FIXO(OP, 0x4000000, "PPAQ", 40, m_arqAQ),
        FIXO(OP, 0x4000000, "PPAI", 72, m_arqAI),
        FIXO(OP, 0x4000000, "PPAD", 24, m_arqAD),
        FIXO(OP, 0x1000, "PPME", 104, m_arqMovtoApontamento),
        FIXO(OP, 0x2000, "PPLT", 62, m_arqLoteMovimento),
        FIXO(OP, 0x4000, "PPTI", 64, m_arqTI),
        FIXO(OP, 0x8000, "PPIO", 36, m_arqIO),
        FIXO(OP, 0x10000, "PPUP", 16, m_arqUP),
        FIXO(OP, 0x20000, "PPTA", 4, m_arqTA),
        FIXO(OP, 0x40000, "PPNF", 32, m_arqNotaFiscal),
        FIXO(OP, 0x80000, "PPRM", 60, m_arqRemessaIndustrializacao),
        FIXO(OP, 0x100000, "PPIR", 80, m_arqIR),
        FIXO(OP, 0x200000, "PPNC", 128, m_arqNecessidade),
        FIXO(OP, 0x8000000, "PPNA", 16, m_arqNA),
        TEXTO(OP, 0x400000, "PPIE", m_arqIE),
        TEXTO(OP, 0x800000, "PPIN", m_arqIN),
        TEXTO(OP, 0x1000000, "PPID", m_arqID),
        FIXO(OP, 0x2000000, "PPRA", 4, m_arqRA)}},
  };
  return conjuntos;
}

const char kControle[] = "QVCTLARQ.DAT";

class CPPArquivosTest : public ::testing::Test {
 protected:
  // The file a member opens for February 2025 (monthly sets) or its plain name.
  static std::string Arquivo(const Conjunto& conjunto, const Membro& membro, uint16_t mes = kFevereiro) {
    if (!conjunto.periodo) return membro.nome;
    int m = 0, a = 0;
    QVSeparaMesAno(mes, &m, &a);
    char mmaa[16];
    snprintf(mmaa, sizeof mmaa, "%02d%02d", m, a % 100);
    return std::string(membro.nome) + mmaa + ".DAT";
  }

  HRESULT Abre(const Conjunto& conjunto, CPPArquivos& arquivos, char modo) const {
    return conjunto.periodo ? arquivos.SetModo(kFevereiro, modo) : arquivos.SetModo(modo);
  }

  std::unique_ptr<CPPArquivos> Inicializado(const Conjunto& conjunto, uint32_t bits) const {
    std::unique_ptr<CPPArquivos> arquivos = conjunto.cria();
    EXPECT_EQ(arquivos->Inicializa(Instalacao::kEmpresa, 0, 0), S_OK);
    arquivos->SetArquivos(bits);
    return arquivos;
  }

  // The files of the data directory.
  std::set<std::string> Arquivos() const {
    std::set<std::string> nomes;
    for (const auto& entrada : std::filesystem::directory_iterator(dados.Linux("")))
      if (entrada.path().filename() != ".keep") nomes.insert(entrada.path().filename().string());
    return nomes;
  }

  void Limpa() const {
    for (const std::string& nome : Arquivos()) std::filesystem::remove(dados.Linux(nome));
  }

  // The names the control file lists, in the order of their creation.
  std::vector<std::string> Controle() const {
    const std::string bytes = dados.Le(kControle);
    std::vector<std::string> nomes;
    for (size_t pos = 32; pos + 32 <= bytes.size(); pos += 32) nomes.push_back(bytes.substr(pos, 32).c_str());
    return nomes;
  }

  // Whether another opener could write to the file now.
  bool OutroGrava(const std::string& nome) const {
    CFile outro;
    CFileException erro;
    const bool aberto = outro.Open(dados.Caminho(nome).c_str(), CFile::modeReadWrite | CFile::shareDenyNone, &erro);
    outro.Abort();
    return aberto;
  }

  TestClock relogio_;
  DiretorioDados dados;
};

// Each bit of each set alone: exactly its files appear, created with one zero record of the
// member's length (texts with their signature) and opened by the member the servers use.
TEST_F(CPPArquivosTest, EachBitOpensItsOwnFilesWithTheirRecordLength) {
  for (const Conjunto& conjunto : Conjuntos()) {
    std::set<uint32_t> bits;
    for (const Membro& membro : conjunto.membros) bits.insert(membro.bit);
    for (uint32_t bit : bits) {
      SCOPED_TRACE(std::string(conjunto.classe) + " bit " + std::to_string(bit));
      Limpa();
      std::unique_ptr<CPPArquivos> arquivos = Inicializado(conjunto, bit);
      ASSERT_EQ(Abre(conjunto, *arquivos, 'G'), S_OK);
      std::set<std::string> esperados;
      for (const Membro& membro : conjunto.membros) {
        if (membro.bit != bit) continue;
        const std::string nome = Arquivo(conjunto, membro);
        esperados.insert(nome);
        if (membro.fixo) {
          esperados.insert(kControle);
          EXPECT_EQ(dados.Le(nome), std::string(membro.tamanho, '\0')) << nome;
          CPPArqEx* arquivo = membro.fixo(*arquivos);
          EXPECT_TRUE(arquivo->EstaAberto()) << nome;
          EXPECT_EQ(arquivo->GetTamanhoRegistro(), membro.tamanho) << nome;
          EXPECT_EQ(std::string(arquivo->GetFilePath()), dados.Caminho(nome));
        } else {
          EXPECT_EQ(dados.Le(nome), "QV") << nome;
        }
      }
      EXPECT_EQ(Arquivos(), esperados);
    }
  }
}

// The opening order, seen through a refused file at each place in turn: the files before it were
// made, none after it, and the set is left wholly closed.
TEST_F(CPPArquivosTest, OpensInItsOrderAndARefusedFileLeavesTheSetWhollyClosed) {
  for (const Conjunto& conjunto : Conjuntos()) {
    for (size_t recusado = 0; recusado < conjunto.membros.size(); ++recusado) {
      const Membro& ruim = conjunto.membros[recusado];
      const std::string nomeRuim = Arquivo(conjunto, ruim);
      SCOPED_TRACE(std::string(conjunto.classe) + " refusing " + nomeRuim);
      Limpa();
      // A fixed-record file with a partial record; a text file without the signature.
      dados.Escreve(nomeRuim, ruim.fixo ? std::string(ruim.tamanho + 1, 'x') : std::string("XX"));
      std::unique_ptr<CPPArquivos> arquivos = Inicializado(conjunto, 0xFFFFFFFF);
      EXPECT_EQ(Abre(conjunto, *arquivos, 'G'), PPErroHResult(ruim.fixo ? 1722 : 1697));
      EXPECT_FALSE(arquivos->EstaAberto());
      std::set<std::string> esperados = {nomeRuim};
      for (size_t i = 0; i < recusado; ++i) {
        const Membro& membro = conjunto.membros[i];
        esperados.insert(Arquivo(conjunto, membro));
        if (membro.fixo) esperados.insert(kControle);
      }
      EXPECT_EQ(Arquivos(), esperados);
      for (size_t i = 0; i < recusado; ++i) {
        const Membro& membro = conjunto.membros[i];
        if (membro.fixo) {
          EXPECT_FALSE(membro.fixo(*arquivos)->EstaAberto()) << membro.nome;
        } else {
          EXPECT_TRUE(OutroGrava(Arquivo(conjunto, membro))) << membro.nome;
        }
      }
    }
  }
}

// 'C' empties the texts and keeps other writers out; 'G' keeps them and keeps other writers out;
// 'L' keeps them, lets other writers in and cannot write.
TEST_F(CPPArquivosTest, TextFilesOpenWithTheSharingAndAccessOfTheMode) {
  struct Caso {
    char modo;
    bool esvazia;
    bool outroGrava;
    bool grava;
  } casos[] = {{'C', true, false, true}, {'G', false, false, true}, {'L', false, true, false}};
  for (const Conjunto& conjunto : Conjuntos()) {
    for (const Membro& membro : conjunto.membros) {
      if (!membro.texto) continue;
      for (const Caso& caso : casos) {
        const std::string nome = Arquivo(conjunto, membro);
        SCOPED_TRACE(nome + " mode " + caso.modo);
        Limpa();
        uint32_t ponteiro = 0;
        ASSERT_EQ(PPCriaArquivoDyn(dados.Caminho(nome).c_str()), S_OK);
        ASSERT_EQ(PPGravaTextoArquivoDyn(dados.Caminho(nome).c_str(), "texto antigo", &ponteiro), S_OK);
        const std::string antes = dados.Le(nome);
        std::unique_ptr<CPPArquivos> arquivos = Inicializado(conjunto, membro.bit);
        ASSERT_EQ(Abre(conjunto, *arquivos, caso.modo), S_OK);
        EXPECT_EQ(dados.Le(nome), caso.esvazia ? std::string("QV") : antes);
        EXPECT_EQ(OutroGrava(nome), caso.outroGrava);
        uint32_t novo = 0;
        const HRESULT gravou = PPGravaTextoDyn(membro.texto(*arquivos), "novo", &novo);
        EXPECT_EQ(gravou == S_OK, caso.grava) << std::hex << gravou;
      }
    }
  }
}

TEST_F(CPPArquivosTest, SelectingTheSameModeAgainOpensNothingAgain) {
  CPPArquivosFichaTecnica ficha;
  ASSERT_EQ(ficha.Inicializa(Instalacao::kEmpresa, 0, 0), S_OK);
  ficha.SetArquivos(CPPArquivosFichaTecnica::kArqCabecalho | CPPArquivosFichaTecnica::kArqDTPC);
  ASSERT_EQ(ficha.SetModo('L'), S_OK);
  ASSERT_EQ(ficha.SetModo('L'), S_OK);
  // Reopened, the record file would only be opened again at its next use.
  EXPECT_TRUE(ficha.m_arqCabecalho.EstaAberto());
  EXPECT_EQ(ficha.GetModo(), 'L');
  EXPECT_TRUE(ficha.EstaAberto());
}

TEST_F(CPPArquivosTest, AMonthOpensItsFilesCreatingThemListedInTheControlFile) {
  CPPArquivosOP op;
  ASSERT_EQ(op.Inicializa(Instalacao::kEmpresa, 0, 0), S_OK);
  op.SetArquivos(CPPArquivosOP::kArqOP | CPPArquivosOP::kArqApontamento);
  ASSERT_EQ(op.SetModo(kFevereiro, 'G'), S_OK);
  EXPECT_EQ(op.GetPeriodo(), kFevereiro);
  EXPECT_EQ(dados.Le("PPOP0225.DAT"), std::string(256, '\0'));
  EXPECT_EQ(dados.Le("PPAP0225.DAT"), std::string(200, '\0'));
  EXPECT_EQ(Controle(), (std::vector<std::string>{"PPOP0225.DAT", "PPAP0225.DAT"}));
  uint32_t numero = 0;
  const std::string registro(200, 'a');
  ASSERT_EQ(op.m_arqApontamento.Grava(registro.data(), &numero), 0);
  EXPECT_EQ(numero, 1u);
}

// A month whose files do not exist is created also for reading (servers that must not create it
// ask Existe first), and the set cannot write into it.
TEST_F(CPPArquivosTest, ReadingAMissingMonthCreatesItsFiles) {
  CPPArquivosMetasProducao metas;
  ASSERT_EQ(metas.Inicializa(Instalacao::kEmpresa, 0, 0), S_OK);
  EXPECT_FALSE(metas.Existe(CPPArquivosMetasProducao::kArqMetasProducao, kFevereiro));
  ASSERT_EQ(metas.SetModo(kFevereiro, 'L'), S_OK);
  EXPECT_EQ(dados.Le("PPMP0225.DAT"), std::string(128, '\0'));
  EXPECT_EQ(Controle(), std::vector<std::string>{"PPMP0225.DAT"});
  EXPECT_TRUE(metas.Existe(CPPArquivosMetasProducao::kArqMetasProducao, kFevereiro));
  EXPECT_EQ(metas.m_arqMetasProducao.GetQuantidadeRegistros(), 0);
  uint32_t numero = 0;
  const std::string registro(128, 'm');
  EXPECT_NE(metas.m_arqMetasProducao.Grava(registro.data(), &numero), 0);
  EXPECT_EQ(dados.Le("PPMP0225.DAT"), std::string(128, '\0'));
}

TEST_F(CPPArquivosTest, CreateModeEmptiesTheSelectedFilesOnly) {
  dados.Escreve("PPOP0225.DAT", std::string(3 * 256, 'o'));
  dados.Escreve("PPAP0225.DAT", std::string(2 * 200, 'a'));
  uint32_t ponteiro = 0;
  ASSERT_EQ(PPCriaArquivoDyn(dados.Caminho("PPIE0225.DAT").c_str()), S_OK);
  ASSERT_EQ(PPGravaTextoArquivoDyn(dados.Caminho("PPIE0225.DAT").c_str(), "texto", &ponteiro), S_OK);
  ASSERT_GT(dados.Le("PPIE0225.DAT").size(), 2u);
  CPPArquivosOP op;
  ASSERT_EQ(op.Inicializa(Instalacao::kEmpresa, 0, 0), S_OK);
  op.SetArquivos(CPPArquivosOP::kArqOP | CPPArquivosOP::kArqIE);
  ASSERT_EQ(op.SetModo(kFevereiro, 'C'), S_OK);
  EXPECT_EQ(dados.Le("PPOP0225.DAT"), "");
  EXPECT_EQ(dados.Le("PPIE0225.DAT"), "QV");
  EXPECT_EQ(dados.Le("PPAP0225.DAT"), std::string(2 * 200, 'a'));
}

// Opening the group of AO keeps the texts of IE in the selection: not opened by this open, but by
// every later one, and closed with the set.
TEST_F(CPPArquivosTest, TheGroupOfAOBringsTheTextsOfIEIntoTheSelection) {
  CPPArquivosOP op;
  ASSERT_EQ(op.Inicializa(Instalacao::kEmpresa, 0, 0), S_OK);
  op.SetArquivos(CPPArquivosOP::kArqAO);
  ASSERT_EQ(op.SetModo(kFevereiro, 'G'), S_OK);
  EXPECT_EQ(op.GetArquivos(), 0x4000000u | 0x400000u);
  EXPECT_FALSE(dados.Existe("PPIE0225.DAT"));
  ASSERT_EQ(op.SetModo(kMarco, 'G'), S_OK);
  EXPECT_EQ(dados.Le("PPIE0325.DAT"), "QV");
  for (const char* nome : {"PPAO0325.DAT", "PPAC0325.DAT", "PPAQ0325.DAT", "PPAI0325.DAT", "PPAD0325.DAT"})
    EXPECT_TRUE(dados.Existe(nome)) << nome;
  EXPECT_FALSE(OutroGrava("PPIE0325.DAT"));
  ASSERT_EQ(op.Fecha(), S_OK);
  EXPECT_TRUE(OutroGrava("PPIE0325.DAT"));
}

TEST_F(CPPArquivosTest, ExisteAsksForEverySelectedFileOfTheMonth) {
  CPPArquivosOP op;
  CPPArquivosMetasProducao metas;
  CPPArquivosFichaTecnica ficha;
  CPPArquivosTipoRecurso tipo;
  for (CPPArquivos* arquivos : std::vector<CPPArquivos*>{&op, &metas, &ficha, &tipo})
    ASSERT_EQ(arquivos->Inicializa(Instalacao::kEmpresa, 0, 0), S_OK);
  dados.Escreve("PPAO0225.DAT", std::string(48, '\0'));
  dados.Escreve("PPOP0225.DAT", std::string(256, '\0'));
  dados.Escreve("PPIN0325.DAT", "QV");
  dados.Escreve("PPFTCABE.DAT", std::string(64, '\0'));
  dados.Escreve("PPTRTXDT.DAT", "QV");
  struct Caso {
    CPPArquivos* arquivos;
    uint32_t bits;
    uint16_t mes;
    bool existe;
  } casos[] = {
      {&op, 0, kFevereiro, false},
      {&op, 0x1, kFevereiro, true},
      {&op, 0x1, kMarco, false},
      {&op, 0x4000000, kFevereiro, true},  // the group is asked through AO alone
      {&op, 0x1 | 0x2, kFevereiro, false},
      {&op, 0x800000, kMarco, true},
      {&metas, 0x1, kFevereiro, false},
      {&metas, 0x2, kFevereiro, true},
      {&metas, 0, kFevereiro, true},
      {&ficha, 0, 0, false},
      {&ficha, 0x1, 0, true},
      {&ficha, 0x1 | 0x8, 0, false},
      {&tipo, 0x2, 0, true},
      {&tipo, 0x2 | 0x40, 0, false},
  };
  for (const Caso& caso : casos)
    EXPECT_EQ(caso.arquivos->Existe(caso.bits, caso.mes), caso.existe)
        << caso.bits << " " << caso.mes << " " << (caso.arquivos == &op ? "op" : "");
}

// After Fecha the same mode and month answer 0 without opening: the record files reopen on
// demand on their stored name, the texts stay closed. Another month then moves the record files
// that reopened, instead of leaving them on the old month.
TEST_F(CPPArquivosTest, AfterFechaRecordFilesReopenOnDemandAndTextsStayClosed) {
  CPPArquivosOP op;
  ASSERT_EQ(op.Inicializa(Instalacao::kEmpresa, 0, 0), S_OK);
  op.SetArquivos(CPPArquivosOP::kArqOP | CPPArquivosOP::kArqIE);
  ASSERT_EQ(op.SetModo(kFevereiro, 'G'), S_OK);
  const std::string fevereiro(256, 'f');
  uint32_t numero = 0, ponteiro = 0;
  ASSERT_EQ(op.m_arqOP.Grava(fevereiro.data(), &numero), 0);
  ASSERT_EQ(PPGravaTextoDyn(&op.m_arqIE, "texto", &ponteiro), S_OK);
  ASSERT_EQ(op.Fecha(), S_OK);
  EXPECT_FALSE(op.m_arqOP.EstaAberto());

  ASSERT_EQ(op.SetModo(kFevereiro, 'G'), S_OK);
  EXPECT_FALSE(op.EstaAberto());
  EXPECT_FALSE(op.m_arqOP.EstaAberto());
  std::string lido(256, '\0');
  EXPECT_EQ(op.m_arqOP.Le(1, lido.data()), 0);
  EXPECT_EQ(lido, fevereiro);
  CString texto;
  EXPECT_LT(PPLeTextoDyn(&op.m_arqIE, ponteiro, texto), 0);

  ASSERT_TRUE(op.m_arqOP.EstaAberto());
  ASSERT_EQ(op.SetModo(kMarco, 'G'), S_OK);
  EXPECT_EQ(op.m_arqOP.GetQuantidadeRegistros(), 0);
  const std::string marco(256, 'm');
  ASSERT_EQ(op.m_arqOP.Grava(marco.data(), &numero), 0);
  EXPECT_EQ(dados.Le("PPOP0325.DAT"), std::string(256, '\0') + marco);
  EXPECT_EQ(dados.Le("PPOP0225.DAT"), std::string(256, '\0') + fevereiro);
  EXPECT_TRUE(OutroGrava("PPOP0225.DAT"));
}

// A failed open gave back the files it had opened: the next month reads and writes its own files,
// and the refused month is free for another process's writers.
TEST_F(CPPArquivosTest, AFailedOpenClosesWhatItOpenedBeforeTheNextMonth) {
  const std::string antigo(256, 'a');
  dados.Escreve("PPOP0225.DAT", std::string(256, '\0') + antigo);
  dados.Escreve("PPPR0225.DAT", std::string(129, 'x'));
  CPPArquivosOP op;
  ASSERT_EQ(op.Inicializa(Instalacao::kEmpresa, 0, 0), S_OK);
  op.SetArquivos(CPPArquivosOP::kArqOP | CPPArquivosOP::kArqItem | CPPArquivosOP::kArqProcesso);
  EXPECT_EQ(op.SetModo(kFevereiro, 'G'), PPErroHResult(1722));
  EXPECT_FALSE(op.EstaAberto());
  EXPECT_FALSE(op.m_arqOP.EstaAberto());
  EXPECT_FALSE(op.m_arqItem.EstaAberto());

  const pid_t filho = fork();
  ASSERT_GE(filho, 0);
  if (filho == 0) {
    TestClock relogio;
    CPPArqEx op2, item;
    const bool livres = op2.Abre(dados.Caminho("PPOP0225.DAT").c_str(), 'G', 256, false, true) == 0 &&
                        item.Abre(dados.Caminho("PPIT0225.DAT").c_str(), 'G', 90, false, true) == 0;
    _exit(livres ? 0 : 1);
  }
  int estado = 0;
  ASSERT_EQ(waitpid(filho, &estado, 0), filho);
  EXPECT_TRUE(WIFEXITED(estado) && WEXITSTATUS(estado) == 0) << "February's files still held";

  ASSERT_EQ(op.SetModo(kMarco, 'G'), S_OK);
  EXPECT_EQ(op.m_arqOP.GetQuantidadeRegistros(), 0);
  const std::string novo(256, 'n');
  uint32_t numero = 0;
  ASSERT_EQ(op.m_arqOP.Grava(novo.data(), &numero), 0);
  const std::string item(90, 'i');
  ASSERT_EQ(op.m_arqItem.Grava(item.data(), &numero), 0);
  std::string lido(256, '\0');
  ASSERT_EQ(op.m_arqOP.Le(1, lido.data()), 0);
  EXPECT_EQ(lido, novo);
  EXPECT_EQ(dados.Le("PPOP0325.DAT"), std::string(256, '\0') + novo);
  EXPECT_EQ(dados.Le("PPIT0325.DAT"), std::string(90, '\0') + item);
  EXPECT_EQ(dados.Le("PPOP0225.DAT"), std::string(256, '\0') + antigo);
  EXPECT_EQ(dados.Le("PPIT0225.DAT"), std::string(90, '\0'));
}

// A failed open leaves no mode selected, so that trying the same month again gives every member
// the month's name: none is left on the previous month to be reopened there on demand.
TEST_F(CPPArquivosTest, ARetryAfterAFailedOpenMovesEveryFileToTheNewMonth) {
  CPPArquivosOP op;
  ASSERT_EQ(op.Inicializa(Instalacao::kEmpresa, 0, 0), S_OK);
  op.SetArquivos(CPPArquivosOP::kArqOP | CPPArquivosOP::kArqItem | CPPArquivosOP::kArqProcesso);
  ASSERT_EQ(op.SetModo(kFevereiro, 'G'), S_OK);
  dados.Escreve("PPIT0325.DAT", std::string(91, 'x'));
  EXPECT_EQ(op.SetModo(kMarco, 'G'), PPErroHResult(1722));
  EXPECT_EQ(op.GetModo(), 0);
  // The refused file, already named, is refused again at its next use rather than here.
  EXPECT_EQ(op.SetModo(kMarco, 'G'), S_OK);
  const std::string processo(128, 'p');
  uint32_t numero = 0;
  ASSERT_EQ(op.m_arqProcesso.Grava(processo.data(), &numero), 0);
  EXPECT_EQ(dados.Le("PPPR0325.DAT"), std::string(128, '\0') + processo);
  EXPECT_EQ(dados.Le("PPPR0225.DAT"), std::string(128, '\0'));
  std::string lido(90, '\0');
  EXPECT_EQ(op.m_arqItem.Le(0, lido.data()), 1722);
}

TEST_F(CPPArquivosTest, ACompanyWithoutDataDirectoryIsRefusedWith975) {
  CPPArquivosOP op;
  EXPECT_EQ(op.Inicializa("OUTRA", 1, 7), PPErroHResult(975));
  EXPECT_FALSE(op.GetInicializado());
  EXPECT_EQ(op.GetBufferDados(), nullptr);
  ASSERT_EQ(op.Inicializa(Instalacao::kEmpresa, 0, 0), S_OK);
  EXPECT_TRUE(op.GetInicializado());
  EXPECT_EQ(std::string(op.GetDiretorio()), dados.Diretorio());
}

TEST_F(CPPArquivosTest, TheCacheSessionStartsOnlyForAUserAndASession) {
  struct Caso {
    uint16_t usuario;
    int32_t sessao;
    bool sessaoCache;
  } casos[] = {{0, 0, false}, {3, 0, false}, {0, 9, false}, {3, 9, true}};
  for (const Caso& caso : casos) {
    CPPArquivosTipoRecurso tipo;
    ASSERT_EQ(tipo.Inicializa(Instalacao::kEmpresa, caso.usuario, caso.sessao), S_OK);
    CPPBufferDados* buffer = tipo.GetBufferDados();
    ASSERT_EQ(buffer != nullptr, caso.sessaoCache) << caso.usuario << " " << caso.sessao;
    if (!buffer) continue;
    EXPECT_EQ(buffer->GetUsuario(), caso.usuario);
    EXPECT_EQ(buffer->GetNumeroSessao(), caso.sessao);
    EXPECT_EQ(std::string(buffer->GetEmpresa()), Instalacao::kEmpresa);
  }
}

// A set whose closing fails, to see the failure come through.
class MetasQueNaoFecham : public CPPArquivosMetasProducao {
 public:
  HRESULT FechaArquivos(uint32_t lBits) override {
    const HRESULT hr = CPPArquivosMetasProducao::FechaArquivos(lBits);
    return falha ? PPErroHResult(16039) : hr;
  }
  bool falha = false;
};

TEST_F(CPPArquivosTest, InicializaAgainEndsThePreviousSessionAndItsFiles) {
  MetasQueNaoFecham metas;
  ASSERT_EQ(metas.Inicializa(Instalacao::kEmpresa, 3, 9), S_OK);
  ASSERT_EQ(metas.SetModo(kFevereiro, 'G'), S_OK);
  ASSERT_FALSE(OutroGrava("PPMP0225.DAT"));
  ASSERT_EQ(metas.Inicializa(Instalacao::kEmpresa, 0, 0), S_OK);
  EXPECT_FALSE(metas.EstaAberto());
  EXPECT_EQ(metas.GetPeriodo(), 0);
  EXPECT_EQ(metas.GetModo(), 0);
  EXPECT_EQ(metas.GetBufferDados(), nullptr);
  EXPECT_TRUE(OutroGrava("PPMP0225.DAT"));

  // Finaliza's error (that of Fecha) comes back from Finaliza and from the next Inicializa.
  ASSERT_EQ(metas.SetModo(kFevereiro, 'G'), S_OK);
  metas.falha = true;
  EXPECT_EQ(metas.Inicializa(Instalacao::kEmpresa, 0, 0), PPErroHResult(16039));
  EXPECT_FALSE(metas.GetInicializado());
  ASSERT_EQ(metas.Inicializa(Instalacao::kEmpresa, 0, 0), S_OK);
  ASSERT_EQ(metas.SetModo(kFevereiro, 'G'), S_OK);
  EXPECT_EQ(metas.Finaliza(), PPErroHResult(16039));
  EXPECT_FALSE(metas.EstaAberto());
  EXPECT_TRUE(std::string(metas.GetDiretorio()).empty());
  metas.falha = false;
}

TEST_F(CPPArquivosTest, DestroyingASetFreesItsFiles) {
  {
    CPPArquivosOP op;
    ASSERT_EQ(op.Inicializa(Instalacao::kEmpresa, 3, 9), S_OK);
    op.SetArquivos(CPPArquivosOP::kArqOP | CPPArquivosOP::kArqIN);
    ASSERT_EQ(op.SetModo(kFevereiro, 'G'), S_OK);
    ASSERT_FALSE(OutroGrava("PPOP0225.DAT"));
    ASSERT_FALSE(OutroGrava("PPIN0225.DAT"));
  }
  EXPECT_TRUE(OutroGrava("PPOP0225.DAT"));
  EXPECT_TRUE(OutroGrava("PPIN0225.DAT"));
}

// A second process: its writing set of the same month is kept out (after the engine's retries, on
// its own replaced clock), its reading set sees what the first one wrote.
TEST_F(CPPArquivosTest, AnotherProcessCannotWriteTheMonthButReadsIt) {
  int largada[2];
  ASSERT_EQ(pipe(largada), 0);
  const pid_t filho = fork();
  ASSERT_GE(filho, 0);
  if (filho == 0) {
    close(largada[1]);
    char sinal = 0;
    if (read(largada[0], &sinal, 1) != 1) _exit(10);
    TestClock relogio;
    const DWORD inicio = GetTickCount();
    CPPArquivosOP escritor;
    if (escritor.Inicializa(Instalacao::kEmpresa, 0, 0) != S_OK) _exit(11);
    escritor.SetArquivos(CPPArquivosOP::kArqOP);
    if (escritor.SetModo(kFevereiro, 'G') != PPErroHResult(16110)) _exit(12);
    if (GetTickCount() == inicio) _exit(13);  // refused without retrying
    CPPArquivosOP leitor;
    if (leitor.Inicializa(Instalacao::kEmpresa, 0, 0) != S_OK) _exit(14);
    leitor.SetArquivos(CPPArquivosOP::kArqOP);
    if (leitor.SetModo(kFevereiro, 'L') != S_OK) _exit(15);
    std::string lido(256, '\0');
    if (leitor.m_arqOP.Le(1, lido.data()) != 0 || lido != std::string(256, 'p')) _exit(16);
    _exit(0);
  }
  close(largada[0]);
  CPPArquivosOP op;
  ASSERT_EQ(op.Inicializa(Instalacao::kEmpresa, 0, 0), S_OK);
  op.SetArquivos(CPPArquivosOP::kArqOP);
  ASSERT_EQ(op.SetModo(kFevereiro, 'G'), S_OK);
  const std::string registro(256, 'p');
  uint32_t numero = 0;
  ASSERT_EQ(op.m_arqOP.Grava(registro.data(), &numero), 0);
  ASSERT_EQ(write(largada[1], "v", 1), 1);
  close(largada[1]);
  int estado = 0;
  ASSERT_EQ(waitpid(filho, &estado, 0), filho);
  ASSERT_TRUE(WIFEXITED(estado));
  // 12: not refused with the sharing error; 13: refused without retries; 15, 16: not read.
  EXPECT_EQ(WEXITSTATUS(estado), 0);
}

}  // namespace
