#include "foundation/QVImportacao.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>

#include "platform/win32/messagebox.h"
#include "tests/support/TempDir.h"

namespace {

// The loader looks beside the program first, then in the current directory: each test runs in a
// directory of its own holding the library it needs (or none).
class Importacao : public ::testing::Test {
 protected:
  void SetUp() override {
    anterior_ = std::filesystem::current_path();
    std::filesystem::current_path(dir_.path());
  }
  void TearDown() override { std::filesystem::current_path(anterior_); }
  void InstalaBiblioteca(const char* origem) {
    std::filesystem::copy_file(origem, dir_.path() + "/libSalvik.so");
  }
  std::string Texto(const char* nome, const char* conteudo) {
    std::string caminho = dir_.Write(nome, conteudo);
    std::string sistema = caminho;
    for (char& c : sistema)
      if (c == '/') c = '\\';
    return sistema;
  }

  TempDir dir_;
  std::filesystem::path anterior_;
  MessageBoxCapture caixas_;
};

}  // namespace

TEST_F(Importacao, ReportsTheOutcomeOfTheLibrary) {
  InstalaBiblioteca(QV_SALVIK_PATH);
  std::string arquivo = Texto("cfrt.txt", "5101;Venda\n");
  QVImportaCFRT(1, arquivo.c_str(), 3, nullptr);
  QVImportaMunicipios("\\nao\\existe.txt", 3, nullptr);
  auto vistas = caixas_.boxes();
  ASSERT_EQ(vistas.size(), 2u);
  EXPECT_EQ(vistas[0].text, "Importação concluída com sucesso!");
  EXPECT_EQ(vistas[0].title, "Orvel Empresarial");
  EXPECT_EQ(vistas[0].style & MB_ICONMASK, MB_ICONEXCLAMATION);
  EXPECT_EQ(vistas[1].text, "Erro de gravação/leitura. Importação não concluída!");
  EXPECT_EQ(vistas[1].style & MB_ICONMASK, MB_ICONINFORMATION);
}

TEST_F(Importacao, MissingLibraryOrEntryPointIsShown) {
  QVImportaCFRT(1, "x", 3, nullptr);
  InstalaBiblioteca(QV_SALVIK_SEM_ENTRADA_PATH);
  QVImportaMunicipios("x", 3, nullptr);
  auto vistas = caixas_.boxes();
  ASSERT_EQ(vistas.size(), 2u);
  EXPECT_EQ(vistas[0].text, "A dll de importacao (salvik.dll) não foi encontrada");
  EXPECT_EQ(vistas[1].text, "A dll de importacao (salvik.dll) é inválida");
  EXPECT_EQ(vistas[1].style & MB_ICONMASK, MB_ICONINFORMATION);
}
