// The order-type, process-flow and production-operation converters on files written byte by byte
// in their version-1 formats: chains turned into blocks, removed children dropped, the files that
// a step leaves, and the refusals (leftovers, chains that come back on themselves).
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>

#include "platform/com/apartment.h"
#include "platform/family/historico/StandInHistorico.h"
#include "platform/win32/codepage.h"
#include "server/CPPAtualizaVersaoMestre.h"
#include "server/CPPAtualizaVersaoOperacaoProducao.h"
#include "server/CPPAtualizaVersaoTipoOP.h"
#include "tests/server/EmpresaAtualizacao.h"
#include "tests/support/VersoesAntigasCadastros.h"

namespace {

using namespace VersoesAntigasCadastros;

constexpr HRESULT kErro1615 = PPErroHResult(1615);

std::string Linha(const std::string& texto) { return texto + "\r"; }

// A new-format record of `tamanho` bytes, written from the tables.
std::string Novo(size_t tamanho, const std::function<void(Bytes&)>& campos) {
  Bytes bytes(tamanho);
  campos(bytes);
  return bytes.str();
}

// One converter of these groups, as the driver would build it, with what tells its group apart.
struct Grupo {
  const char* nome;
  PPCriaConversor cria;
  uint16_t usGrupo;
  const char* pai;    // the main file
  const char* filho;  // the chained children's file; null for operations
};

const Grupo kMestre{"mestre", &PPCriaConversorDe<CPPAtualizaVersaoMestre>, kPPGrupoMestre, "PPMESTRE", nullptr};
const Grupo kTipoOP{"tipo de OP", &PPCriaConversorDe<CPPAtualizaVersaoTipoOP>, kPPGrupoTipoOP, "PPTOPCAB", "PPTOPUSU"};
const Grupo kFluxo{"fluxo", &PPCriaConversorDe<CPPAtualizaVersaoFluxoProcesso>, kPPGrupoFluxoProcesso, "PPFLXCAB",
                   "PPFLXPRO"};
const Grupo kOperacao{"operação", &PPCriaConversorDe<CPPAtualizaVersaoOperacaoProducao>, kPPGrupoOperacaoProducao,
                      "PPOPPCAB", nullptr};

class ConversaoCadastros : public ConversaoComHistorico {
 protected:
  // From version 1; without a version file, the group's slot at 1 and every other at its target.
  HRESULT Executa(const Grupo& grupo) {
    if (!empresa_.Existe("PPVERSAO.DAT")) empresa_.EscreveVersao(VersoesAlvoCom({{grupo.usGrupo, 1}}));
    return grupo.cria()->Executa(Instalacao::kEmpresa, kUsuarioTeste, 1);
  }
  uint16_t Versao(const Grupo& grupo) const { return empresa_.LeVersao().usVersao[grupo.usGrupo]; }
  std::string Dat(const char* nome) const { return empresa_.Le(std::string(nome) + ".DAT"); }
  bool SemSobras() const {
    for (const char* nome :
         {"PPVERSAO.DIA", "PPTOPCAB.TRA", "PPTOPUSU.TRA", "PPFLXCAB.TRA", "PPFLXPRO.TRA", "PPOPPCAB.TRA"})
      if (empresa_.Existe(nome)) return false;
    return true;
  }
};

// ---------------------------------------------------------------------------------------------------
// Order types

TEST_F(ConversaoCadastros, OrderTypeUserChainsBecomeConsecutiveBlocksWithoutTheRemovedUsers) {
  // Type 1: users 701, 702 (removed), 703 along the chain 1 -> 3 -> 4; type 2: none; type 3: user
  // 704 at record 2, between type 1's.
  TipoOPV1 primeiro{0x11121314, 1, 0x21222324, "ABCDEFGHIJ", "Ordem normal",
                    {std::string("AB\0XY", 5), "", "C", "D", std::string(25, 'E')}, {1, 2, 3, 4, 5, 6, 7, 8}, 0xEE};
  TipoOPV1 semUsuarios{2, 0, 0x22, "AVULSA", "Ordem avulsa", {}, {}, 0xEE};
  TipoOPV1 terceiro{3, 2, 0x33, "URGENTE", std::string(50, 'U'), {"X"}, {}, 0xEE};
  empresa_.Escreve("PPTOPCAB.DAT", Arquivo(std::vector<TipoOPV1>{primeiro, semUsuarios, terceiro}));
  const std::string usuariosAntigos = Arquivo(std::vector<UsuarioTipoOPV1>{
      {3, 701, 0xA1, 0xB1, 0, 0xC1, 0xEE},
      {0, 704, 0xA4, 0xB4, 0, 0xC4, 0xEE},
      {4, 702, 0xA2, 0xB2, 1, 0xC2, 0xEE},
      {0, 703, 0xA3, 0xB3, 0, 0xC3, 0xEE},
  });
  empresa_.Escreve("PPTOPUSU.DAT", usuariosAntigos);
  const std::string tiposAntigos = Dat("PPTOPCAB");

  ASSERT_EQ(Executa(kTipoOP), S_OK);

  EXPECT_EQ(Dat("PPTOPCAB"),
            ArquivoDeRegistros(256, {Novo(256,
                                   [](Bytes& r) {
                                     r.U32(0, 0x11121314).U32(4, 1).U32(8, 0x21222324).U16(28, 2);
                                     r.Texto(32, 10, "ABCDEFGHIJ").Texto(42, 50, "Ordem normal");
                                     r.Texto(92, 25, "AB").Texto(142, 25, "C").Texto(167, 25, "D");
                                     r.Texto(192, 25, std::string(25, 'E'));
                                     for (uint8_t k = 0; k < 8; ++k) r.U8(217u + k, static_cast<uint8_t>(k + 1));
                                   }),
                              Novo(256,
                                   [](Bytes& r) {
                                     r.U32(0, 2).U32(8, 0x22).Texto(32, 10, "AVULSA").Texto(42, 50, "Ordem avulsa");
                                   }),
                              Novo(256, [](Bytes& r) {
                                r.U32(0, 3).U32(4, 3).U32(8, 0x33).U16(28, 1);
                                r.Texto(32, 10, "URGENTE").Texto(42, 50, std::string(50, 'U')).Texto(92, 25, "X");
                              })}));
  EXPECT_EQ(Dat("PPTOPUSU"),
            ArquivoDeRegistros(16, {Novo(16, [](Bytes& r) { r.U16(0, 701).U8(2, 0xA1).U8(3, 0xB1).U8(4, 0xC1); }),
                             Novo(16, [](Bytes& r) { r.U16(0, 703).U8(2, 0xA3).U8(3, 0xB3).U8(4, 0xC3); }),
                             Novo(16, [](Bytes& r) { r.U16(0, 704).U8(2, 0xA4).U8(3, 0xB4).U8(4, 0xC4); })}));

  EXPECT_EQ(empresa_.Le("PPTOPCAB_V001.HIS"), tiposAntigos);
  EXPECT_EQ(empresa_.Le("PPTOPUSU_V001.HIS"), usuariosAntigos);
  EXPECT_EQ(Versao(kTipoOP), 2);
  EXPECT_TRUE(SemSobras());
  EXPECT_EQ(empresa_.Linhas(), (std::vector<std::string>{Linha("Atualiza Tipo de OP -> processo iniciado"),
                                                         Linha("AtualizaV01_p_V02 -> processo iniciado"),
                                                         Linha("AtualizaV01_p_V02 -> processo encerrado"),
                                                         Linha("Atualiza Tipo de OP -> processo encerrado")}));
}

// ---------------------------------------------------------------------------------------------------
// Process flows

TEST_F(ConversaoCadastros, FlowProcessChainsBecomeConsecutiveBlocksWithoutTheRemovedProcesses) {
  // Flow 1: 5 -> 2 -> 4 (removed) -> 1; flow 2: 3. Flow 3 shares flow 2's chain: a block of its own.
  const std::string campos28("\x01\x00\x03\x04\x05\x06\x07\x08\x09\x0A", 10);
  empresa_.Escreve("PPFLXCAB.DAT", Arquivo(std::vector<FluxoV1>{{0x31, 5, campos28, "Corte", 0x88, 0x89, 0xEE},
                                                                {0x32, 3, "", "Acabamento", 0, 1, 0xEE},
                                                                {0x33, 3, "", "", 0, 0, 0xEE}}));
  empresa_.Escreve("PPFLXPRO.DAT", Arquivo(std::vector<ProcessoFluxoV1>{{0, 504, 4, 0, 0xEE},
                                                                         {4, 502, 2, 0, 0xEE},
                                                                         {0, 505, 5, 0, 0xEE},
                                                                         {1, 503, 3, 1, 0xEE},
                                                                         {2, 501, 1, 0, 0xEE}}));

  ASSERT_EQ(Executa(kFluxo), S_OK);

  EXPECT_EQ(Dat("PPFLXCAB"), ArquivoDeRegistros(128, {Novo(128,
                                                    [&](Bytes& r) {
                                                      r.U32(0, 0x31).U32(4, 1).U16(16, 3).Texto(22, 10, campos28);
                                                      r.Texto(32, 50, "Corte").U8(82, 0x88).U8(83, 0x89);
                                                    }),
                                               Novo(128,
                                                    [](Bytes& r) {
                                                      r.U32(0, 0x32).U32(4, 4).U16(16, 1);
                                                      r.Texto(32, 50, "Acabamento").U8(83, 1);
                                                    }),
                                               Novo(128, [](Bytes& r) { r.U32(0, 0x33).U32(4, 5).U16(16, 1); })}));
  EXPECT_EQ(Dat("PPFLXPRO"), ArquivoDeRegistros(16, {Novo(16, [](Bytes& r) { r.U32(0, 501).U8(8, 1); }),
                                              Novo(16, [](Bytes& r) { r.U32(0, 502).U8(8, 2); }),
                                              Novo(16, [](Bytes& r) { r.U32(0, 504).U8(8, 4); }),
                                              Novo(16, [](Bytes& r) { r.U32(0, 505).U8(8, 5); }),
                                              Novo(16, [](Bytes& r) { r.U32(0, 505).U8(8, 5); })}));
  EXPECT_TRUE(empresa_.Existe("PPFLXCAB_V001.HIS"));
  EXPECT_TRUE(empresa_.Existe("PPFLXPRO_V001.HIS"));
  EXPECT_EQ(Versao(kFluxo), 2);
  EXPECT_TRUE(SemSobras());
  EXPECT_EQ(empresa_.Linhas().front(), Linha("Atualiza Fluxo de Processos -> processo iniciado"));
}

// ---------------------------------------------------------------------------------------------------
// Both chained groups

TEST_F(ConversaoCadastros, CompanyWithoutTheParentFileOnlyRaisesTheSlot) {
  for (const Grupo* grupo : {&kTipoOP, &kFluxo}) {
    empresa_.EscreveVersao(VersoesAlvoCom({{grupo->usGrupo, 1}}));
    auto antes = empresa_.Arquivos();
    ASSERT_EQ(Executa(*grupo), S_OK) << grupo->nome;
    EXPECT_EQ(Versao(*grupo), 2) << grupo->nome;
    // No ".TRA", no journal, no history copy: only the version file and its audit history change.
    auto depois = empresa_.Arquivos();
    for (const char* nome : {"PPVERSAO.DAT", "PPVERSAO.HIS"}) {
      antes.erase(nome);
      depois.erase(nome);
    }
    EXPECT_EQ(depois, antes) << grupo->nome;
  }
}

TEST_F(ConversaoCadastros, MissingChildFileConvertsTheParentsWithoutChildren) {
  empresa_.Escreve("PPTOPCAB.DAT", Arquivo(std::vector<TipoOPV1>{{1, 1, 0, "A", "", {}, {}, 0}}));
  empresa_.Escreve("PPFLXCAB.DAT", Arquivo(std::vector<FluxoV1>{{7, 2, "", "F", 0, 0, 0}}));
  empresa_.EscreveVersao(VersoesAlvoCom({{kPPGrupoTipoOP, 1}, {kPPGrupoFluxoProcesso, 1}}));
  ASSERT_EQ(Executa(kTipoOP), S_OK);
  ASSERT_EQ(Executa(kFluxo), S_OK);

  EXPECT_EQ(Dat("PPTOPCAB"), ArquivoDeRegistros(256, {Novo(256, [](Bytes& r) { r.U32(0, 1).Texto(32, 10, "A"); })}));
  EXPECT_EQ(Dat("PPFLXCAB"), ArquivoDeRegistros(128, {Novo(128, [](Bytes& r) { r.U32(0, 7).Texto(32, 50, "F"); })}));
  // An empty child file of the new format; the old one had nothing to keep.
  EXPECT_EQ(Dat("PPTOPUSU"), std::string(16, '\0'));
  EXPECT_EQ(Dat("PPFLXPRO"), std::string(16, '\0'));
  for (const char* nome : {"PPTOPUSU_V001.HIS", "PPFLXPRO_V001.HIS"}) EXPECT_FALSE(empresa_.Existe(nome)) << nome;
  EXPECT_TRUE(empresa_.Existe("PPTOPCAB_V001.HIS"));
  EXPECT_EQ(Versao(kTipoOP), 2);
  EXPECT_EQ(Versao(kFluxo), 2);
  EXPECT_TRUE(SemSobras());
}

TEST_F(ConversaoCadastros, ChainThatComesBackOnItselfStopsTheStepBeforeAnyMove) {
  struct Caso {
    const Grupo& grupo;
    std::string pais;
    std::string filhos;
    std::string linha;
  };
  // Order type 2's chain 2 -> 3 -> 2; flow 1's process 1 names itself.
  const Caso casos[] = {
      {kTipoOP,
       Arquivo(std::vector<TipoOPV1>{{1, 1, 0, "", "", {}, {}, 0}, {2, 2, 0, "", "", {}, {}, 0}}),
       Arquivo(std::vector<UsuarioTipoOPV1>{{0, 7, 0, 0, 0, 0, 0}, {3, 8, 0, 0, 0, 0, 0}, {2, 9, 0, 0, 1, 0, 0}}),
       "AtualizaV01_p_V02 -> cadeia de usuários do tipo de OP 2 volta ao usuário 2"_ansi},
      {kFluxo, Arquivo(std::vector<FluxoV1>{{1, 1, "", "", 0, 0, 0}}),
       Arquivo(std::vector<ProcessoFluxoV1>{{1, 501, 0, 0, 0}}),
       "AtualizaV01_p_V02 -> cadeia de processos do fluxo 1 volta ao processo 1"},
  };
  for (const Caso& caso : casos) {
    empresa_.Restaura(
        {{std::string(caso.grupo.pai) + ".DAT", caso.pais}, {std::string(caso.grupo.filho) + ".DAT", caso.filhos}});
    EXPECT_EQ(Executa(caso.grupo), kErro1615) << caso.grupo.nome;
    EXPECT_EQ(empresa_.Linhas().back(), Linha(caso.linha));
    EXPECT_EQ(Dat(caso.grupo.pai), caso.pais);
    EXPECT_EQ(Dat(caso.grupo.filho), caso.filhos);
    EXPECT_EQ(Versao(caso.grupo), 1);
    EXPECT_FALSE(empresa_.Existe("PPVERSAO.DIA"));
  }
}

TEST_F(ConversaoCadastros, ChildPastTheEndOfItsFileFailsItsRead) {
  empresa_.Escreve("PPTOPCAB.DAT", Arquivo(std::vector<TipoOPV1>{{1, 2, 0, "", "", {}, {}, 0}}));
  empresa_.Escreve("PPTOPUSU.DAT", Arquivo(std::vector<UsuarioTipoOPV1>{{0, 7, 0, 0, 0, 0, 0}, {9, 8, 0, 0, 0, 0, 0}}));
  EXPECT_EQ(Executa(kTipoOP), PPErroHResult(kQVErroFimArquivo));
  EXPECT_EQ(empresa_.Linhas().back(), Linha("Ler usuário tipo OP - 9"_ansi));
  EXPECT_EQ(Versao(kTipoOP), 1);
}

// ---------------------------------------------------------------------------------------------------
// Production operations

TEST_F(ConversaoCadastros, OperationsGetByte67AndKeepTheRest) {
  const std::string antigas = Arquivo(std::vector<OperacaoProducaoV1>{{0x10}, {0x40}, {0x80}});
  empresa_.Escreve("PPOPPCAB.DAT", antigas);
  empresa_.Escreve("PPOPPDET.DAT", "detalhes");
  empresa_.Escreve("PPOPPCAB.HIS", "antigo");
  empresa_.Escreve("PPOPPDET.HIS", "antigo");
  ASSERT_EQ(Executa(kOperacao), S_OK);

  std::string esperado = antigas;
  for (size_t registro = 1; registro <= 3; ++registro) esperado[128 * registro + 67] = 1;
  EXPECT_EQ(Dat("PPOPPCAB"), esperado);
  EXPECT_EQ(empresa_.Le("PPOPPCAB_V001.HIS"), antigas);
  EXPECT_EQ(Dat("PPOPPDET"), "detalhes");
  EXPECT_FALSE(empresa_.Existe("PPOPPCAB.HIS"));
  EXPECT_FALSE(empresa_.Existe("PPOPPDET.HIS"));
  EXPECT_EQ(Versao(kOperacao), 2);
  EXPECT_TRUE(SemSobras());
  const std::vector<std::string> linhas = empresa_.Linhas();
  ASSERT_EQ(linhas.size(), 6u);
  EXPECT_EQ(linhas[0], Linha("Atualiza Operação de Produção -> processo iniciado"_ansi));
  EXPECT_EQ(linhas[2], Linha("AtualizaV01_p_V02 -> remover arquivo: " + empresa_.Diretorio() + "PPOPPCAB.HIS"));
  EXPECT_EQ(linhas[3], Linha("AtualizaV01_p_V02 -> remover arquivo: " + empresa_.Diretorio() + "PPOPPDET.HIS"));
}

// ---------------------------------------------------------------------------------------------------
// Leftovers

TEST_F(ConversaoCadastros, LeftoverTRARefusesTheStepBeforeItTouchesAnything) {
  struct Caso {
    Grupo grupo;
    const char* sobra;
    std::string linha;
  };
  const Caso casos[] = {
      {kMestre, "PPOUTRO.TRA", "AtualizaMestreV01_p_V02 -> conversão anterior não terminou com sucesso"_ansi},
      {kTipoOP, "PPTOPUSU.TRA", "AtualizaV01_p_V02 -> conversão anterior não terminou com sucesso"_ansi},
      {kFluxo, "PPFLXCAB.TRA", "AtualizaV01_p_V02 -> conversão anterior nao terminou com sucesso"_ansi},
      {kOperacao, "PPOUTRO.TRA", "AtualizaV01_p_V02 -> conversão anterior não terminou com sucesso"_ansi},
  };
  for (const Caso& caso : casos) {
    empresa_.Restaura(CadastrosV1());
    empresa_.Escreve(caso.sobra, "sobra");
    empresa_.EscreveVersao(VersoesAlvoCom({{caso.grupo.usGrupo, 1}}));
    const auto antes = empresa_.Arquivos();

    EXPECT_EQ(Executa(caso.grupo), kErro1615) << caso.grupo.nome;
    EXPECT_EQ(empresa_.Arquivos(), antes) << caso.grupo.nome;
    EXPECT_EQ(empresa_.Linhas().back(), Linha(caso.linha)) << caso.grupo.nome;
  }
}

TEST_F(ConversaoCadastros, ChainedGroupsLookOnlyForTheirOwnLeftovers) {
  for (const auto& [nome, bytes] : CadastrosV1()) empresa_.Escreve(nome, bytes);
  empresa_.Escreve("PPOUTRO.TRA", "sobra de outro grupo");
  ASSERT_EQ(Executa(kTipoOP), S_OK);
  EXPECT_EQ(Versao(kTipoOP), 2);
}

// The sample company that other tests start from converts in every one of these groups.
TEST_F(ConversaoCadastros, SampleCompanyAtVersion1ConvertsInEveryGroup) {
  Grava(empresa_.GetInstalacao().dir().path() + "/empresas/TESTE/PP", CadastrosV1());
  empresa_.EscreveVersao(VersoesAlvoCom(
      {{kPPGrupoMestre, 1}, {kPPGrupoTipoOP, 1}, {kPPGrupoFluxoProcesso, 1}, {kPPGrupoOperacaoProducao, 1}}));
  for (const Grupo* grupo : {&kMestre, &kTipoOP, &kFluxo, &kOperacao}) {
    EXPECT_EQ(Executa(*grupo), S_OK) << grupo->nome;
    EXPECT_EQ(Versao(*grupo), kPPVersoesAlvo[grupo->usGrupo]) << grupo->nome;
  }
  // The header and four children each: one user and one process of the five were removed.
  EXPECT_EQ(Dat("PPTOPUSU").size(), 16u * 5);
  EXPECT_EQ(Dat("PPFLXPRO").size(), 16u * 5);
  EXPECT_TRUE(SemSobras());
}

}  // namespace
