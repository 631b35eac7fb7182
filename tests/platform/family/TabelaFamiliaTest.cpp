#include "platform/family/comum/TabelaFamilia.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstring>

#include "platform/family/comum/DiretorioModulo.h"
#include "tests/support/Instalacao.h"

namespace {

using Registros = TabelaFamilia::Registros;

TabelaFamilia::Registro Registro(uint32_t valor) {
  TabelaFamilia::Registro registro(8, 0);
  std::memcpy(registro.data(), &valor, sizeof valor);
  return registro;
}

uint32_t Valor(const TabelaFamilia::Registro& registro) {
  uint32_t valor;
  std::memcpy(&valor, registro.data(), sizeof valor);
  return valor;
}

class TabelaFamiliaTest : public ::testing::Test {
 protected:
  TempDir dir_;
  TabelaFamilia tabela_{dir_.windows_path() + "TABELA.DAT", 8};
};

}  // namespace

TEST_F(TabelaFamiliaTest, MissingFileIsAnEmptyTableAndChangesPersist) {
  Registros registros{Registro(9)};
  ASSERT_EQ(tabela_.Le(registros), S_OK);
  EXPECT_TRUE(registros.empty());

  ASSERT_EQ(tabela_.Grava({Registro(1), Registro(2), Registro(3)}), S_OK);
  ASSERT_EQ(tabela_.Altera([](Registros& atuais) {
    atuais.erase(atuais.begin());
    atuais[0] = Registro(20);
    return S_FALSE;
  }),
            S_FALSE);
  ASSERT_EQ(tabela_.Le(registros), S_OK);
  ASSERT_EQ(registros.size(), 2u);
  EXPECT_EQ(Valor(registros[0]), 20u);
  EXPECT_EQ(Valor(registros[1]), 3u);
  EXPECT_EQ(dir_.Read("TABELA.DAT").size(), 16u);
}

TEST_F(TabelaFamiliaTest, FailedChangeOrRecordOfTheWrongSizeLeavesTheFileAlone) {
  ASSERT_EQ(tabela_.Grava({Registro(1)}), S_OK);
  const std::string antes = dir_.Read("TABELA.DAT");
  EXPECT_EQ(tabela_.Altera([](Registros& atuais) {
    atuais.clear();
    return E_FAIL;
  }),
            E_FAIL);
  EXPECT_EQ(tabela_.Altera([](Registros& atuais) {
    atuais.push_back(TabelaFamilia::Registro(3));
    return S_OK;
  }),
            E_INVALIDARG);
  EXPECT_EQ(dir_.Read("TABELA.DAT"), antes);
}

TEST_F(TabelaFamiliaTest, DamagedFileIsRefusedNotReadInPart) {
  dir_.Write("TABELA.DAT", std::string(12, 'x'));
  Registros registros;
  EXPECT_EQ(tabela_.Le(registros), HRESULT_FROM_WIN32(ERROR_FILE_INVALID));
  EXPECT_TRUE(registros.empty());
  EXPECT_EQ(tabela_.Altera([](Registros&) { return S_OK; }), HRESULT_FROM_WIN32(ERROR_FILE_INVALID));
  EXPECT_EQ(dir_.Read("TABELA.DAT"), std::string(12, 'x'));
}

TEST_F(TabelaFamiliaTest, ProcessesChangingAtOnceLoseNoChange) {
  ASSERT_EQ(tabela_.Grava({Registro(0)}), S_OK);
  constexpr int kProcessos = 3;
  constexpr int kAlteracoes = 100;
  pid_t filhos[kProcessos];
  for (pid_t& filho : filhos) {
    filho = fork();
    ASSERT_GE(filho, 0);
    if (filho == 0) {
      for (int i = 0; i < kAlteracoes; ++i)
        if (FAILED(tabela_.Altera([](Registros& atuais) {
              atuais[0] = Registro(Valor(atuais[0]) + 1);
              return S_OK;
            })))
          _exit(1);
      _exit(0);
    }
  }
  for (pid_t filho : filhos) {
    int estado = 0;
    waitpid(filho, &estado, 0);
    EXPECT_TRUE(WIFEXITED(estado) && WEXITSTATUS(estado) == 0);
  }
  Registros registros;
  ASSERT_EQ(tabela_.Le(registros), S_OK);
  EXPECT_EQ(Valor(registros.at(0)), static_cast<uint32_t>(kProcessos * kAlteracoes));
}

TEST(DiretorioModulo, ComesFromTheCompanyKeyWithATrailingBackslash) {
  Instalacao instalacao;
  const std::string chave = "SOFTWARE\\QV Rivovoda\\Empresas\\TESTE";
  instalacao.GravaValor(chave, "ES", "\\dados\\ES");
  EXPECT_EQ(DiretorioModuloEmpresa("TESTE", "ES"), "\\dados\\ES\\");
  EXPECT_EQ(DiretorioModuloEmpresa("TESTE", "PP"), instalacao.DiretorioEmpresa());
  EXPECT_EQ(DiretorioModuloEmpresa("TESTE", "CN"), "");
  EXPECT_EQ(DiretorioModuloEmpresa("NENHUMA", "PP"), "");
  EXPECT_EQ(DiretorioModuloEmpresa("", "PP"), "");
  EXPECT_EQ(DiretorioModuloEmpresa("TESTE\\..", "PP"), "");
}
