#include "foundation/CQVMensagem.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "foundation/CQVException.h"
#include "foundation/QVSistema.h"
#include "platform/win32/messagebox.h"
#include "tests/support/Instalacao.h"

namespace {

class Catalogo : public ::testing::Test {
 protected:
  void SetUp() override {
    instalacao.GravaCatalogo(
        "00001234 Primeira\\nSegunda\\nTerceira\r\n"
        "   123  Curta\n"
        "16021   Leitura al\xE9m do fim\n"
        "77\n"
        "00000005 Acesso\n");
  }
  Instalacao instalacao;
};

}  // namespace

TEST_F(Catalogo, ReadsTheTextFromTheNinthCharacter) {
  EXPECT_STREQ(QVLeMensagem(1234, kQVSistemaPP), " Primeira\nSegunda\nTerceira");
  EXPECT_STREQ(QVLeMensagem(123, kQVSistemaPP), "Curta");  // 123 does not match the line of 1234
  EXPECT_STREQ(QVLeMensagem(16021, kQVSistemaPP), "Leitura al\xE9m do fim");
  EXPECT_STREQ(QVLeMensagem(77, kQVSistemaPP), "");  // a line shorter than nine characters
  EXPECT_STREQ(QVLeMensagem(9999, kQVSistemaPP), "");
}

TEST_F(Catalogo, MissingCatalogueIsReportedOnceAndGivesAnEmptyText) {
  MessageBoxCapture caixas;
  EXPECT_STREQ(QVLeMensagem(1234, kQVSistemaDF), "");  // QVDFMens.txt is not installed
  auto vistas = caixas.boxes();
  ASSERT_EQ(vistas.size(), 1u);
  EXPECT_EQ(vistas[0].title, "Erro");
  EXPECT_NE(vistas[0].text.find("Não foi possível abrir o arquivo texto de Mensagens"), std::string::npos);
  EXPECT_NE(vistas[0].text.find("QVDFMens.txt"), std::string::npos);
  EXPECT_EQ(vistas[0].style & MB_ICONMASK, MB_ICONWARNING);
}

TEST_F(Catalogo, ErrorObjectShowsTextUnknownNumberAndSystemError) {
  MessageBoxCapture caixas;
  CQVException conhecido(16021, kQVSistemaPP, 5);
  EXPECT_EQ(conhecido.ReportError(), IDOK);
  CQVException desconhecido(4242, kQVSistemaPP, 0);
  desconhecido.ReportError(MB_ICONINFORMATION);
  QVMostraMensagem(4242, kQVSistemaPP, 0, MB_OK);
  auto vistas = caixas.boxes();
  ASSERT_EQ(vistas.size(), 3u);
  EXPECT_EQ(vistas[0].title, "Planejamento da Producao");
  EXPECT_EQ(vistas[0].text.rfind("Leitura além do fim\nErro do SO: 5 - ", 0), 0u) << vistas[0].text;
  EXPECT_GT(vistas[0].text.size(), std::string("Leitura além do fim\nErro do SO: 5 - ").size());
  EXPECT_EQ(vistas[0].style & MB_ICONMASK, MB_ICONEXCLAMATION);
  EXPECT_EQ(vistas[1].text, "Erro desconhecido encontrado. Código (4242)");
  EXPECT_EQ(vistas[1].style & MB_ICONMASK, MB_ICONINFORMATION);
  EXPECT_EQ(vistas[2].text, "Erro desconhecido encontrado. Código (4242)");
  EXPECT_EQ(vistas[2].style, MB_OK);
}

TEST_F(Catalogo, GetErrorMessageCutsToTheBuffer) {
  CQVException erro(16021, kQVSistemaPP, 0);
  char buffer[10];
  EXPECT_TRUE(erro.GetErrorMessage(buffer, sizeof buffer));
  EXPECT_STREQ(buffer, "Leitura a");
  CQVException direto("Texto pronto", kQVSistemaPP, 0);
  EXPECT_STREQ(direto.GetTexto(), "Texto pronto");
  EXPECT_EQ(direto.GetNumero(), 0);
  EXPECT_EQ(erro.GetErroSO(), 0);
  CQVException vazio(4242, kQVSistemaPP, 0);
  EXPECT_FALSE(vazio.GetErrorMessage(buffer, sizeof buffer));
}

TEST(CatalogoDoModulo, ShipsTextsInWindows1252ForTheFoundationsNumbers) {
  Instalacao instalacao;
  std::filesystem::copy_file(QV_CATALOGO_PATH, instalacao.dir().path() + "/mensagens/QVPPMens.txt");
  EXPECT_STREQ(QVLeMensagem(16021, kQVSistemaPP), "Leitura al\xE9m do fim do arquivo.");
  EXPECT_NE(QVLeMensagem(1722, kQVSistemaPP).Find('\n'), -1);
  for (int numero : {975, 1697, 1722, 16012, 16039, 16055, 16080, 16110, 16144, 16179, 16217, 16230})
    EXPECT_FALSE(QVLeMensagem(numero, kQVSistemaPP).IsEmpty()) << numero;
}
