// The converters of the technical sheets, resources and production targets, and the converters that
// only number their group, on companies whose old files are written byte by byte
// (VersoesAntigasFichas): every field at its new place, the sheet rate and its rounding, the files
// each step leaves, the refusals, and the lines of a run.
#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/com/apartment.h"
#include "platform/family/historico/StandInHistorico.h"
#include "platform/win32/codepage.h"
#include "server/CPPAtualizaVersaoFichaTecnica.h"
#include "server/CPPAtualizaVersaoMetasProducao.h"
#include "server/CPPAtualizaVersaoNumeracao.h"
#include "server/CPPAtualizaVersaoRecurso.h"
#include "tests/server/EmpresaAtualizacao.h"
#include "tests/support/VersoesAntigasFichas.h"

namespace {

using Antigas = VersoesAntigasFichas;

constexpr HRESULT kErro1615 = PPErroHResult(1615);

std::string Linha(const std::string& texto) { return texto + "\r"; }

// Record i of a record file's bytes.
std::string Registro(const std::string& arquivo, uint32_t i, uint32_t tamanho) {
  return arquivo.size() >= (i + 1) * tamanho ? arquivo.substr(i * tamanho, tamanho) : std::string();
}

// A new record built from the old one by a table of moves: (new offset, old offset, width).
struct Campo {
  size_t novo, antigo, largura;
};
std::string Monta(const std::string& antigo, size_t tamanho, const std::vector<Campo>& campos) {
  std::string novo(tamanho, '\0');
  for (const Campo& campo : campos) novo.replace(campo.novo, campo.largura, antigo.substr(campo.antigo, campo.largura));
  return novo;
}

// The sheet process at version 2 from the one at version 1, with the rate's 8 raw bytes.
std::string ProcessoV2(const std::string& antigo, const std::string& taxa) {
  std::string novo = Monta(antigo, 88,
                           {{0, 0, 8}, {8, 50, 8}, {24, 8, 24}, {48, 44, 4}, {52, 58, 4}, {56, 32, 2}, {58, 34, 2},
                            {60, 36, 2}, {62, 48, 2}, {64, 62, 2}, {66, 38, 1}});
  novo.replace(16, 8, taxa);
  return novo;
}

std::string RecursoV2(const std::string& antigo) {
  return Monta(antigo, 200,
               {{0, 0, 16}, {24, 24, 8}, {32, 16, 8}, {40, 32, 8}, {48, 124, 4}, {60, 40, 2}, {64, 42, 10},
                {74, 52, 50}, {164, 102, 5}});
}

std::string ComByte(std::string registro, size_t posicao, char valor) {
  registro[posicao] = valor;
  return registro;
}

std::string Bytes(std::initializer_list<int> valores) {
  std::string bytes;
  for (int valor : valores) bytes += static_cast<char>(valor);
  return bytes;
}

// A run of a converter as the driver makes it.
template <class Conversor>
HRESULT Executa(uint16_t usVersao) {
  Conversor conversor;
  return conversor.Executa(Instalacao::kEmpresa, kUsuarioTeste, usVersao);
}

class ConversaoFichas : public ConversaoComHistorico {
 protected:
  std::string Caminho(const std::string& nome) const { return empresa_.Diretorio() + nome; }
  // The files of the data directory but the installation's placeholder ".keep".
  std::vector<std::string> Nomes() const {
    std::vector<std::string> nomes;
    for (const auto& [nome, bytes] : empresa_.Arquivos())
      if (nome != ".keep") nomes.push_back(nome);
    return nomes;
  }

  Antigas antigas_{empresa_.GetInstalacao().dir().path() + "/empresas/TESTE/PP"};
};

// ---------------------------------------------------------------------------------------------------
// Technical sheets

TEST_F(ConversaoFichas, SheetGroupAtVersion1RunsBothStepsMovingEveryFieldAndMarkingTheHeaders) {
  empresa_.EscreveVersao(VersoesAlvoCom({{kPPGrupoFichaTecnica, 1}}));
  // Process 1's time has a different byte in each place (5.784.376.957,52307201 minutes): its rate,
  // 0,0000000104, keeps one unit of 10^-8.
  antigas_.ProcessosFichaV1({0x0807060504030201, 3'000'000'000});
  antigas_.CabecalhosFichaV2(2);
  // Only V1->V2 takes stale histories away: left here, V2->V3 could not move the header file.
  antigas_.Escreve("PPFTCABE.HIS", "historico antigo");
  const std::string processosV1 = empresa_.Le("PPFTPROC.DAT");
  const std::string cabecalhosV2 = empresa_.Le("PPFTCABE.DAT");

  EXPECT_EQ(Executa<CPPAtualizaVersaoFichaTecnica>(1), S_OK);

  EXPECT_EQ(empresa_.LeVersao().usVersao[kPPGrupoFichaTecnica], 3);
  EXPECT_EQ(empresa_.AuditoriasVersao().size(), 2u);
  EXPECT_EQ(empresa_.Le("PPFTPROC.DAT"),
            std::string(88, '\0') +
                ProcessoV2(Antigas::ProcessoFichaV1(1, 0x0807060504030201), Bytes({1, 0, 0, 0, 0, 0, 0, 0})) +
                ProcessoV2(Antigas::ProcessoFichaV1(2, 3'000'000'000), Bytes({0x00, 0xC2, 0xEB, 0x0B, 0, 0, 0, 0})));
  EXPECT_EQ(empresa_.Le("PPFTCABE.DAT"), std::string(64, '\0') + ComByte(Antigas::RegistroAntigo(1, 64), 25, 'P') +
                                             ComByte(Antigas::RegistroAntigo(2, 64), 25, 'P'));
  EXPECT_EQ(empresa_.Le("PPFTPROC_V001.HIS"), processosV1);
  EXPECT_EQ(empresa_.Le("PPFTCABE_V002.HIS"), cabecalhosV2);
  EXPECT_EQ(Nomes(), (std::vector<std::string>{"PPFTCABE.DAT", "PPFTCABE_V002.HIS", "PPFTPROC.DAT", "PPFTPROC_V001.HIS",
                                               "PPVERSAO.DAT", "PPVERSAO.HIS"}));

  EXPECT_EQ(empresa_.Linhas(), (std::vector<std::string>{
                                   Linha("Atualiza Fichas Técnicas -> processo iniciado"_ansi),
                                   Linha("AtualizaV01_p_V02 -> processo iniciado"),
                                   Linha("AtualizaV01_p_V02 -> remover arquivo: " + Caminho("PPFTCABE.HIS")),
                                   Linha("AtualizaV01_p_V02 -> processo encerrado"),
                                   Linha("AtualizaV02_p_V03 -> processo iniciado"),
                                   Linha("AtualizaV02_p_V03 -> processo encerrado"),
                                   Linha("Atualiza Fichas Técnicas -> processo encerrado"_ansi),
                               }));
}

TEST_F(ConversaoFichas, SheetRateIs60OverTheTimeToTheNearestEighthDecimalAnd0WithoutAPositiveTime) {
  // Time (raw count of 10^-8) -> rate, both eight-decimal values.
  const std::vector<std::pair<int64_t, std::string>> casos = {
      {3'000'000'000, Bytes({0x00, 0xC2, 0xEB, 0x0B, 0, 0, 0, 0})},    // 30 -> 2
      {0, std::string(8, '\0')},                                        // 0 -> 0
      {-3'000'000'000, std::string(8, '\0')},                           // -30 -> 0
      {700'000'000, Bytes({0x49, 0xF6, 0x16, 0x33, 0, 0, 0, 0})},       // 7 -> 8,571428571... -> 8,57142857
      {900'000'000, Bytes({0xAB, 0x86, 0xBC, 0x27, 0, 0, 0, 0})},       // 9 -> 6,666666666... -> 6,66666667
      {1, Bytes({0x00, 0x00, 0x3C, 0x31, 0xD2, 0xA0, 0x53, 0x08})},    // 0,00000001 -> 6.000.000.000
  };
  std::vector<int64_t> tempos;
  for (const auto& [tempo, taxa] : casos) tempos.push_back(tempo);
  empresa_.EscreveVersao(VersoesAlvoCom({{kPPGrupoFichaTecnica, 1}}));
  antigas_.ProcessosFichaV1(tempos);
  EXPECT_EQ(Executa<CPPAtualizaVersaoFichaTecnica>(1), S_OK);

  const std::string processos = empresa_.Le("PPFTPROC.DAT");
  ASSERT_EQ(processos.size(), 88u * (casos.size() + 1));
  for (uint32_t i = 1; i <= casos.size(); ++i) {
    const std::string registro = Registro(processos, i, 88);
    EXPECT_EQ(registro.substr(16, 8), casos[i - 1].second) << casos[i - 1].first;
    EXPECT_EQ(registro.substr(24, 8), Antigas::ProcessoFichaV1(i, casos[i - 1].first).substr(8, 8)) << "the time stays";
  }
}

TEST_F(ConversaoFichas, CompanyWithoutSheetHeadersPassesV2ToV3WithoutFileWork) {
  empresa_.EscreveVersao(VersoesAlvoCom({{kPPGrupoFichaTecnica, 2}}));
  EXPECT_EQ(Executa<CPPAtualizaVersaoFichaTecnica>(2), S_OK);
  EXPECT_EQ(empresa_.LeVersao().usVersao[kPPGrupoFichaTecnica], 3);
  EXPECT_EQ(Nomes(), (std::vector<std::string>{"PPVERSAO.DAT", "PPVERSAO.HIS"})) << "no header file is made";
  EXPECT_EQ(empresa_.Linhas(), (std::vector<std::string>{Linha("Atualiza Fichas Técnicas -> processo iniciado"_ansi),
                                                         Linha("AtualizaV02_p_V03 -> processo iniciado"),
                                                         Linha("AtualizaV02_p_V03 -> processo encerrado"),
                                                         Linha("Atualiza Fichas Técnicas -> processo encerrado"_ansi)}));
}

TEST_F(ConversaoFichas, StaleHeaderHistoryStopsV2ToV3WhenTheOldFileIsMovedAway) {
  empresa_.EscreveVersao(VersoesAlvoCom({{kPPGrupoFichaTecnica, 2}}));
  antigas_.CabecalhosFichaV2(2);
  antigas_.Escreve("PPFTCABE.HIS", "historico antigo");
  const std::string cabecalhos = empresa_.Le("PPFTCABE.DAT");

  EXPECT_EQ(Executa<CPPAtualizaVersaoFichaTecnica>(2), kErro1615);
  EXPECT_EQ(empresa_.LeVersao().usVersao[kPPGrupoFichaTecnica], 2);
  EXPECT_EQ(empresa_.Le("PPFTCABE.DAT"), cabecalhos);
  EXPECT_EQ(empresa_.Le("PPFTCABE.HIS"), "historico antigo");
  const std::string falha = "RemoveArquivos -> Erro ao remover " + Caminho("PPFTCABE.DAT") + "; Erro: 183; causa: ";
  EXPECT_EQ(empresa_.Linhas().back().substr(0, falha.size()), falha);
}

// ---------------------------------------------------------------------------------------------------
// Resources

TEST_F(ConversaoFichas, ResourceV1ToV2MovesEveryFieldAndLeavesItsDetailFilesAlone) {
  empresa_.EscreveVersao(VersoesAlvoCom({{kPPGrupoRecurso, 1}}));
  antigas_.RecursosV1(2);
  antigas_.Escreve("PPRECDET.DAT", Antigas::ArquivoDeRegistros(40, {Antigas::RegistroAntigo(5, 40)}));
  antigas_.Escreve("PPRCHSCN.DAT", Antigas::ArquivoDeRegistros(24, {Antigas::RegistroAntigo(6, 24)}));
  const auto antes = empresa_.Arquivos();

  EXPECT_EQ(Executa<CPPAtualizaVersaoRecurso>(1), S_OK);

  EXPECT_EQ(empresa_.LeVersao().usVersao[kPPGrupoRecurso], 2);
  EXPECT_EQ(empresa_.Le("PPRECURS.DAT"), std::string(200, '\0') + RecursoV2(Antigas::RegistroAntigo(1, 128)) +
                                             RecursoV2(Antigas::RegistroAntigo(2, 128)));
  EXPECT_EQ(empresa_.Le("PPRECURS_V001.HIS"), antes.at("PPRECURS.DAT"));
  EXPECT_EQ(empresa_.Le("PPRECDET.DAT"), antes.at("PPRECDET.DAT"));
  EXPECT_EQ(empresa_.Le("PPRCHSCN.DAT"), antes.at("PPRCHSCN.DAT"));
  EXPECT_EQ(Nomes(), (std::vector<std::string>{"PPRCHSCN.DAT", "PPRECDET.DAT", "PPRECURS.DAT", "PPRECURS_V001.HIS",
                                               "PPVERSAO.DAT", "PPVERSAO.HIS"}));
  EXPECT_EQ(empresa_.Linhas(), (std::vector<std::string>{Linha("Atualiza Recursos -> processo iniciado"),
                                                         Linha("AtualizaV01_p_V02 -> processo iniciado"),
                                                         Linha("AtualizaV01_p_V02 -> processo encerrado"),
                                                         Linha("Atualiza Recursos -> processo encerrado")}));
}

// ---------------------------------------------------------------------------------------------------
// Production targets

TEST_F(ConversaoFichas, TargetsOfThreeMonthsAreConvertedEachLeavingOneCopyOfVersion1) {
  empresa_.EscreveVersao(VersoesAlvoCom({{kPPGrupoMetasProducao, 1}}));
  // The first and last months of the calendar and one between.
  const std::map<uint16_t, uint32_t> meses = {{949, 2}, {2126, 1}, {2148, 3}};
  for (const auto& [mes, quantidade] : meses) antigas_.MetasV1(mes, quantidade);
  const auto antes = empresa_.Arquivos();

  CPPAtualizaVersaoMetasProducao conversor;
  EXPECT_EQ(conversor.Executa(Instalacao::kEmpresa, kUsuarioTeste, 1), S_OK);

  EXPECT_EQ(empresa_.LeVersao().usVersao[kPPGrupoMetasProducao], 2);
  for (const auto& [mes, quantidade] : meses) {
    const std::string nome = Antigas::NomePeriodo("PPMP", mes);
    std::string esperado(128, '\0');
    for (uint32_t i = 1; i <= quantidade; ++i) esperado += ComByte(Antigas::RegistroAntigo(i, 128), 61, 'P');
    EXPECT_EQ(empresa_.Le(nome), esperado) << nome;
  }
  EXPECT_EQ(empresa_.Le("PPMP0127_V001.HIS"), antes.at("PPMP0127.DAT"));
  EXPECT_EQ(empresa_.Le("PPMP0225_V001.HIS"), antes.at("PPMP0225.DAT"));
  EXPECT_EQ(empresa_.Le("PPMP1226_V001.HIS"), antes.at("PPMP1226.DAT"));
  EXPECT_EQ(Nomes(), (std::vector<std::string>{"PPMP0127.DAT", "PPMP0127_V001.HIS", "PPMP0225.DAT", "PPMP0225_V001.HIS",
                                               "PPMP1226.DAT", "PPMP1226_V001.HIS", "PPVERSAO.DAT", "PPVERSAO.HIS"}));
  EXPECT_EQ(empresa_.Linhas(), (std::vector<std::string>{Linha("AtualizaMetaProducao -> processo iniciado"),
                                                         Linha("AtualizaV01_p_V02 -> processo iniciado"),
                                                         Linha("AtualizaV01_p_V02 -> processo encerrado"),
                                                         Linha("AtualizaMetaProducao -> processo encerrado")}));

  // A run that began at version 2 would take every month's copy of version 1.
  conversor.LimpaHistorico(2);
  EXPECT_EQ(Nomes(), (std::vector<std::string>{"PPMP0127.DAT", "PPMP0225.DAT", "PPMP1226.DAT", "PPVERSAO.DAT",
                                               "PPVERSAO.HIS"}));
}

TEST_F(ConversaoFichas, CompanyWithoutTargetsHasItsSlotRaised) {
  empresa_.EscreveVersao(VersoesAlvoCom({{kPPGrupoMetasProducao, 1}}));
  EXPECT_EQ(Executa<CPPAtualizaVersaoMetasProducao>(1), S_OK);
  EXPECT_EQ(empresa_.LeVersao().usVersao[kPPGrupoMetasProducao], 2);
  EXPECT_EQ(empresa_.AuditoriasVersao().size(), 1u);
  EXPECT_EQ(Nomes(), (std::vector<std::string>{"PPVERSAO.DAT", "PPVERSAO.HIS"}));
}

// ---------------------------------------------------------------------------------------------------
// What every converting step refuses

struct Passo {
  const char* nome;
  uint16_t usGrupo;
  HRESULT (*executa)(uint16_t usVersao);
  void (*escreve)(const Antigas& antigas);
  const char* linhaSobras;
  const char* arquivo;     // the old file that a damage is done to
  const char* linhaAbrir;  // the line of its refused open, before its full name
};

const std::vector<Passo> kPassos = {
    {"sheets", kPPGrupoFichaTecnica, &Executa<CPPAtualizaVersaoFichaTecnica>,
     [](const Antigas& antigas) { antigas.ProcessosFichaV1({3'000'000'000}); },
     "AtualizaV01_p_V02 -> conversão anterior não terminou com sucesso"_ansi, "PPFTPROC.DAT", "Abrir arquivo "},
    {"resources", kPPGrupoRecurso, &Executa<CPPAtualizaVersaoRecurso>,
     [](const Antigas& antigas) { antigas.RecursosV1(1); },
     "AtualizaV01_p_V02 -> conversão anterior não terminou com sucesso"_ansi, "PPRECURS.DAT", "Abrir arquivo "},
    {"targets", kPPGrupoMetasProducao, &Executa<CPPAtualizaVersaoMetasProducao>,
     [](const Antigas& antigas) { antigas.MetasV1(2126, 1); },
     "ConverteV1_p_V2 -> conversão anterior não terminou com sucesso"_ansi, "PPMP0225.DAT",
     "ConverteV1_p_V2 -> abrir arquivo "},
};

TEST_F(ConversaoFichas, LeftoverTRARefusesTheStepWith1615BeforeItTouchesAnything) {
  for (const Passo& passo : kPassos) {
    empresa_.Restaura({});
    empresa_.EscreveVersao(VersoesAlvoCom({{passo.usGrupo, 1}}));
    passo.escreve(antigas_);
    antigas_.Escreve("PPOUTRO.TRA", "sobra");
    const auto antes = empresa_.Arquivos();
    EXPECT_EQ(passo.executa(1), kErro1615) << passo.nome;
    EXPECT_EQ(empresa_.Arquivos(), antes) << passo.nome;
    EXPECT_EQ(empresa_.Linhas().back(), Linha(passo.linhaSobras)) << passo.nome;
  }
}

TEST_F(ConversaoFichas, TornOldFileIsRefusedWithItsLineAndLeftAsItIs) {
  for (const Passo& passo : kPassos) {
    empresa_.Restaura({});
    empresa_.EscreveVersao(VersoesAlvoCom({{passo.usGrupo, 1}}));
    passo.escreve(antigas_);
    antigas_.Escreve(passo.arquivo, empresa_.Le(passo.arquivo) + "meio registro");
    const auto antes = empresa_.Arquivos();
    EXPECT_EQ(passo.executa(1), PPErroHResult(1722)) << passo.nome;
    EXPECT_EQ(empresa_.Arquivos(), antes) << passo.nome;
    EXPECT_EQ(empresa_.Linhas().back(), Linha(passo.linhaAbrir + Caminho(passo.arquivo))) << passo.nome;
  }
}

// ---------------------------------------------------------------------------------------------------
// The converters that only number their group

struct Numeracao {
  const char* nome;
  uint16_t usGrupo;
  std::unique_ptr<CPPAtualizaVersao> (*cria)();
};

TEST_F(ConversaoFichas, NumberingConverterRaisesItsSlotFrom0WithoutLinesAndAt1DoesNothing) {
  const std::vector<Numeracao> conversores = {
      {"maintenance plans", kPPGrupoPlanoManutencao, &PPCriaConversorDe<CPPAtualizaVersaoPlanoManutencao>},
      {"maintenance management", kPPGrupoGestaoManutencao, &PPCriaConversorDe<CPPAtualizaVersaoGestaoManutencao>},
      {"collections", kPPGrupoColecao, &PPCriaConversorDe<CPPAtualizaVersaoColecao>},
      {"scrap reasons", kPPGrupoMotivoRefugo, &PPCriaConversorDe<CPPAtualizaVersaoMotivoRefugo>},
      {"resource types", kPPGrupoTipoRecurso, &PPCriaConversorDe<CPPAtualizaVersaoTipoRecurso>},
  };
  for (const Numeracao& numeracao : conversores) {
    empresa_.Restaura({});
    empresa_.EscreveVersao(VersoesAlvoCom({{numeracao.usGrupo, 0}}));
    EXPECT_EQ(numeracao.cria()->Executa(Instalacao::kEmpresa, kUsuarioTeste, 0), S_OK) << numeracao.nome;
    const PPRegistroVersao registro = empresa_.LeVersao();
    for (size_t grupo = 0; grupo < kPPQuantidadeGrupos; ++grupo)
      EXPECT_EQ(registro.usVersao[grupo], kPPVersoesAlvo[grupo]) << numeracao.nome << " slot " << grupo;
    EXPECT_EQ(registro.usDataUltimaConversao, DiaFixado()) << numeracao.nome;
    EXPECT_EQ(empresa_.AuditoriasVersao().size(), 1u) << numeracao.nome;

    const auto antes = empresa_.Arquivos();
    EXPECT_EQ(numeracao.cria()->Executa(Instalacao::kEmpresa, kUsuarioTeste, 1), S_OK) << numeracao.nome;
    EXPECT_EQ(empresa_.Arquivos(), antes) << numeracao.nome;
  }
  EXPECT_TRUE(empresa_.Linhas().empty());
}

}  // namespace
