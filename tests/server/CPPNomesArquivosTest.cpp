#include "server/CPPNomesArquivos.h"

#include <gtest/gtest.h>

#include "tests/support/Instalacao.h"

TEST(CPPNomesArquivos, DataDirectoryOfARegisteredCompanyOnly) {
  Instalacao instalacao;
  EXPECT_STREQ(CPPNomesArquivos::GetDiretorioDados("TESTE"), instalacao.DiretorioEmpresa().c_str());
  EXPECT_STREQ(CPPNomesArquivos::GetDiretorioDados("NENHUMA"), "");
}
