#include "foundation/CQVRegistryKey.h"

#include <gtest/gtest.h>

#include "foundation/QVInstalacao.h"
#include "foundation/QVSistema.h"
#include "tests/support/Instalacao.h"

TEST(QVSistema, TableByIndexCodeAndNumber) {
  EXPECT_EQ(QVGetIndiceSistema("pp"), 20);
  EXPECT_EQ(QVGetIndiceSistema("PP"), 20);
  EXPECT_STREQ(QVGetCodigoSistema(20), "PP");
  EXPECT_EQ(QVGetNumeroSistema(20), 24);
  EXPECT_EQ(QVGetIndiceSistema("ZZ"), -1);
  EXPECT_EQ(QVGetIndiceSistema(""), -1);
  EXPECT_STREQ(QVGetTituloSistema(1), "Orvel Empresarial");
  EXPECT_STREQ(QVGetCodigoSistema(0), "");
  EXPECT_STREQ(QVGetCodigoSistema(22), "");
  EXPECT_EQ(QVGetIndiceSistemaPorNumero(15), 3);
  EXPECT_EQ(QVGetIndiceSistemaPorNumero(99), -1);
}

TEST(CQVRegistryKey, WritesReadsAndHonoursTheWriteEmptyFlag) {
  Instalacao instalacao;
  CQVRegistryKey chave;
  ASSERT_EQ(chave.CriaMaquina("Teste\\Sub"), ERROR_SUCCESS);
  EXPECT_EQ(chave.GravaString("Texto", "valor"), ERROR_SUCCESS);
  EXPECT_EQ(chave.GravaDword("Numero", 42), ERROR_SUCCESS);
  const BYTE bytes[3] = {1, 0, 2};
  EXPECT_EQ(chave.GravaBinario("Bytes", bytes, 3), ERROR_SUCCESS);
  chave.SetGravaVazio(false);
  EXPECT_EQ(chave.GravaString("Vazio", ""), ERROR_SUCCESS);
  EXPECT_EQ(chave.GravaDword("Zero", 0), ERROR_SUCCESS);
  EXPECT_EQ(chave.GetQtdeValores(), 3u);  // the empty text and the zero were not written

  CQVRegistryKey leitura;
  ASSERT_EQ(leitura.AbreMaquina("teste\\SUB", false), ERROR_SUCCESS);
  EXPECT_STREQ(leitura.LeString("texto"), "valor");
  EXPECT_STREQ(leitura.LeString("falta", "padrao"), "padrao");
  EXPECT_EQ(leitura.LeDword("Numero", 7), 42u);
  EXPECT_EQ(leitura.LeDword("falta", 7), 7u);
  EXPECT_EQ(leitura.LeTipoValor("Bytes"), REG_BINARY);
  BYTE lidos[8] = {};
  DWORD tamanho = sizeof lidos;
  EXPECT_EQ(leitura.LeBinario("Bytes", lidos, &tamanho), ERROR_SUCCESS);
  EXPECT_EQ(tamanho, 3u);
  EXPECT_EQ(lidos[2], 2);
  std::vector<CString> nomes;
  leitura.LeNomesValores(nomes);
  ASSERT_EQ(nomes.size(), 3u);
  EXPECT_STREQ(nomes[0], "Texto");

  EXPECT_EQ(chave.RemoveValores(), ERROR_SUCCESS);
  EXPECT_EQ(leitura.GetQtdeValores(), 0u);
  CQVRegistryKey pai;
  ASSERT_EQ(pai.AbreMaquina("Teste", true), ERROR_SUCCESS);
  pai.LeSubChaves(nomes);
  ASSERT_EQ(nomes.size(), 1u);
  EXPECT_STREQ(nomes[0], "Sub");
}

TEST(CQVRegistryKey, ExpandsExpandableStringsOnlyWhenAsked) {
  Instalacao instalacao;
  setenv("QV_TESTE_RAIZ", "/raiz", 1);
  CQVRegistryKey chave;
  ASSERT_EQ(chave.CriaMaquina("Teste"), ERROR_SUCCESS);
  const char texto[] = "%QV_TESTE_RAIZ%\\dados";
  HKEY aberta = chave.Desvincula();
  LONG gravacao = RegSetValueExA(aberta, "Dir", 0, REG_EXPAND_SZ, reinterpret_cast<const BYTE*>(texto), sizeof texto);
  RegCloseKey(aberta);
  ASSERT_EQ(gravacao, ERROR_SUCCESS);
  EXPECT_STREQ(QVLeRegistroString(HKEY_LOCAL_MACHINE, "SOFTWARE\\QV Rivovoda\\Teste", "Dir"), "/raiz\\dados");
  EXPECT_STREQ(QVLeRegistroString(HKEY_LOCAL_MACHINE, "SOFTWARE\\QV Rivovoda\\Teste", "Dir", nullptr, false), texto);
}

TEST(CQVRegistryKey, FreeFunctions) {
  Instalacao instalacao;
  EXPECT_EQ(QVGravaRegistroDword(HKEY_CURRENT_USER, "Software\\X", "N", 5), ERROR_SUCCESS);
  EXPECT_EQ(QVLeRegistroDword(HKEY_CURRENT_USER, "Software\\X", "N", 0), 5u);
  EXPECT_EQ(QVLeRegistroDword(HKEY_CURRENT_USER, "Software\\Falta", "N", 9), 9u);
  EXPECT_EQ(QVRemoveValorRegistro(HKEY_CURRENT_USER, "Software\\X", "N"), ERROR_SUCCESS);
  EXPECT_EQ(QVRemoveValorRegistro(HKEY_CURRENT_USER, "Software\\Falta", "N"), static_cast<LONG>(ERROR_FILE_NOT_FOUND));
  EXPECT_STREQ(QVLeRegistroString(HKEY_CURRENT_USER, "Software\\Falta", "N", "d"), "d");
}

TEST(QVInstalacao, DirectoriesGetOneTrailingBackslash) {
  Instalacao instalacao;
  instalacao.GravaValor("SOFTWARE\\QV Rivovoda", "Relatorios", "\\srv\\rel\\");
  instalacao.GravaValor("SOFTWARE\\QV Rivovoda", "Ajuda", "\\srv\\ajuda");
  instalacao.GravaValor("SOFTWARE\\QV Rivovoda", "Imagens", "");
  instalacao.GravaValor("SOFTWARE\\QV Rivovoda\\Planejamento da Producao", "Path", "\\srv\\pp");
  instalacao.GravaValor("SOFTWARE\\QV Rivovoda\\Orvel Empresarial", "QVIndice", "");
  EXPECT_STREQ(QVGetDiretorioRelatorios(), "\\srv\\rel\\");
  EXPECT_STREQ(QVGetDiretorioAjuda(), "\\srv\\ajuda\\");
  EXPECT_STREQ(QVGetDiretorioImagens(), "");
  EXPECT_STREQ(QVGetDiretorioCadastros(), "");
  EXPECT_STREQ(QVGetDiretorioMensagens(), instalacao.DiretorioMensagens().c_str());
  EXPECT_STREQ(QVGetPathSistema(kQVSistemaPP), "\\srv\\pp\\");
  EXPECT_STREQ(QVGetDiretorioEmpresa(kQVSistemaPP, "teste"), instalacao.DiretorioEmpresa().c_str());
  EXPECT_STREQ(QVGetDiretorioEmpresa(kQVSistemaPP, "OUTRA"), "");

  CString saida("intocada");
  EXPECT_EQ(QVLeDiretorioCadastros(saida), 16217);
  EXPECT_STREQ(saida, "intocada");
  EXPECT_EQ(QVLeDiretorioIndice(saida), 16217);  // an empty index value counts as missing
  EXPECT_EQ(QVLePathSistema("zz", saida), 16217);
  EXPECT_EQ(QVLePathSistema("pp", saida), 0);
  EXPECT_STREQ(saida, "\\srv\\pp\\");
  EXPECT_EQ(QVLeDiretorioAjuda(saida), 0);
  EXPECT_STREQ(saida, "\\srv\\ajuda\\");
  EXPECT_EQ(QVLeDiretorioEmpresa("PP", "TESTE", saida), 1);
  EXPECT_STREQ(saida, instalacao.DiretorioEmpresa().c_str());
  EXPECT_EQ(QVLeDiretorioEmpresa("ES", "TESTE", saida), 0);
}
