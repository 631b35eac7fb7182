// The supplier connection of the base-system library: no interface until it is initialised with
// the session, reads of the register's seeded base records through a group, what it does not hold
// fails, and a failed creation or initialisation leaves it without interface and holding nothing.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <vector>

#include "platform/family/comum/ConsultaFamilia.h"
#include "platform/family/kelmar/CConexaoFornecedor.h"
#include "tests/platform/family/FamiliaSemeada.h"
#include "tests/support/Instalacao.h"

namespace {

constexpr HRESULT kFalha = HRESULT_FROM_WIN32(ERROR_ACCESS_DENIED);

_REG_CFRT_BASEPS Fornecedor(const char* localizacao) {
  _REG_CFRT_BASEPS registro;
  std::memset(&registro, 0x5A, sizeof registro);  // the library's bytes, carried as they are
  Texto(registro.szLocalizacao, localizacao);
  return registro;
}

class ConexaoFornecedorTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(CadastroCFRT::Grava(Instalacao::kEmpresa, {Fornecedor("SP"), Fornecedor("Rio de Janeiro")}), S_OK);
  }
  void TearDown() override {
    CadastroCFRT::Classe().FalhaInicializacao(S_OK);
    EXPECT_EQ(CadastroCFRT::Classe().Vivos(), 0);
  }

  Instalacao instalacao_;
};

}  // namespace

TEST_F(ConexaoFornecedorTest, ReadsTheRegisterAfterInitialisingWithTheSession) {
  ClasseFamilia& classe = CadastroCFRT::Classe();
  _REG_CFRT_BASEPS registro;
  {
    CConexaoFornecedor conexao;
    ASSERT_EQ(conexao.GetInterface(), nullptr);
    EXPECT_EQ(CConexaoCFRTGrupo(conexao.GetInterface()).Le(1, &registro), E_POINTER);

    const size_t antes = classe.Inicializacoes().size();
    ASSERT_EQ(conexao.Inicializa("TESTE", 7, 1234), S_OK);
    ASSERT_NE(conexao.GetInterface(), nullptr);
    const auto inicializacoes = classe.Inicializacoes();
    ASSERT_EQ(inicializacoes.size(), antes + 1);
    EXPECT_EQ(inicializacoes.back().empresa, "TESTE");
    EXPECT_EQ(inicializacoes.back().usuario, 7);
    EXPECT_EQ(inicializacoes.back().sessao, 1234);

    const CConexaoCFRTGrupo grupo(conexao.GetInterface());
    ASSERT_EQ(grupo.Le(2, &registro), S_OK);
    const _REG_CFRT_BASEPS semeado = Fornecedor("Rio de Janeiro");
    EXPECT_EQ(std::memcmp(&registro, &semeado, sizeof registro), 0);
    EXPECT_EQ(grupo.Le(1, nullptr), E_POINTER);

    // What the register does not hold fails and leaves the record as given.
    for (const int32_t ponteiro : {0, 3, -1}) {
      std::memset(&registro, 0xAB, sizeof registro);
      EXPECT_EQ(grupo.Le(ponteiro, &registro), kFamiliaNaoEncontrado) << ponteiro;
      EXPECT_EQ(registro.szLocalizacao[0], static_cast<char>(0xAB));
    }

    // Every read is fresh: another writer's change is seen at once.
    ASSERT_EQ(CadastroCFRT::Grava(Instalacao::kEmpresa, {Fornecedor("MG")}), S_OK);
    ASSERT_EQ(grupo.Le(1, &registro), S_OK);
    EXPECT_STREQ(registro.szLocalizacao, "MG");
    EXPECT_EQ(grupo.Le(2, &registro), kFamiliaNaoEncontrado);

    // An injected read failure is answered once.
    classe.FalhaMetodo("LeBase", 1, kFalha);
    EXPECT_EQ(grupo.Le(1, &registro), kFalha);
    EXPECT_EQ(grupo.Le(1, &registro), S_OK);

    // A new initialisation lets go of the old interface.
    ASSERT_EQ(conexao.Inicializa("TESTE", 8, 99), S_OK);
    EXPECT_EQ(classe.Vivos(), 1);
    conexao.Finaliza();
    EXPECT_EQ(conexao.GetInterface(), nullptr);
    EXPECT_EQ(classe.Vivos(), 0);
    ASSERT_EQ(conexao.Inicializa("TESTE", 7, 1234), S_OK);
  }
  EXPECT_EQ(classe.Vivos(), 0);  // the destructor lets go of it
}

TEST_F(ConexaoFornecedorTest, FailedInitialisationLeavesNoInterface) {
  ClasseFamilia& classe = CadastroCFRT::Classe();
  const struct {
    const char* caso;
    std::function<void()> injeta;
    const char* empresa;
    HRESULT esperado;
  } casos[] = {
      {"creation", [&] { classe.FailStarts(1); }, "TESTE", RPC_S_SERVER_UNAVAILABLE_HRESULT},
      {"initialisation", [&] { classe.FalhaInicializacao(kFalha); }, "TESTE", kFalha},
      {"company without a base-system directory", [] {}, "NENHUMA", kFamiliaSemDiretorio},
      {"no company", [] {}, "", E_INVALIDARG},
  };
  for (const auto& caso : casos) {
    CConexaoFornecedor conexao;
    ASSERT_EQ(conexao.Inicializa("TESTE", 7, 1234), S_OK);  // a failure also drops an earlier interface
    caso.injeta();
    EXPECT_EQ(conexao.Inicializa(caso.empresa, 7, 1234), caso.esperado) << caso.caso;
    EXPECT_EQ(conexao.GetInterface(), nullptr) << caso.caso;
    EXPECT_EQ(classe.Vivos(), 0) << caso.caso;
    classe.FalhaInicializacao(S_OK);
    EXPECT_EQ(conexao.Inicializa("TESTE", 7, 1234), S_OK) << caso.caso;  // the next one serves
  }
}
