#include "foundation/QVCaminho.h"

#include <gtest/gtest.h>

#include "tests/support/TempDir.h"

TEST(QVCaminho, StringHelpers) {
  struct Caso { const char* caminho; const char* diretorio; const char* nome; const char* semExtensao; const char* extensao; } casos[] = {
      {"\\srv\\qv\\EMP\\PP\\PPMESTRE.DAT", "\\srv\\qv\\EMP\\PP\\", "PPMESTRE.DAT", "PPMESTRE", "DAT"},
      {"\\srv\\dir.x\\arquivo", "\\srv\\dir.x\\", "arquivo", "arquivo", ""},
      {"C:\\a\\b.c.d", "C:\\a\\", "b.c.d", "b.c", "d"},
      {"C:\\a\\.perfil", "C:\\a\\", ".perfil", "", "perfil"},
      {"nome", "", "nome", "nome", ""},
  };
  for (const Caso& c : casos) {
    EXPECT_STREQ(QVGetDiretorio(c.caminho), c.diretorio) << c.caminho;
    EXPECT_STREQ(QVGetNomeArquivo(c.caminho), c.nome) << c.caminho;
    EXPECT_STREQ(QVGetNomeArquivoSemExtensao(c.caminho), c.semExtensao) << c.caminho;
    EXPECT_STREQ(QVGetExtensao(c.caminho), c.extensao) << c.caminho;
    EXPECT_EQ(QVTemExtensao(c.caminho), *c.extensao != 0 || CString(c.nome).Find('.') >= 0) << c.caminho;
  }
}

TEST(QVCaminho, ConcatenatesWithExactlyOneBackslash) {
  struct Caso { const char* dir; const char* nome; const char* esperado; } casos[] = {
      {"C:\\dados\\", "\\PP.DAT", "C:\\dados\\PP.DAT"}, {"C:\\dados", "PP.DAT", "C:\\dados\\PP.DAT"},
      {"C:\\dados\\", "PP.DAT", "C:\\dados\\PP.DAT"},   {"C:\\dados", "\\PP.DAT", "C:\\dados\\PP.DAT"},
      {"", "PP.DAT", "PP.DAT"},                         {nullptr, "PP.DAT", "PP.DAT"},
      {"C:\\dados\\", nullptr, "C:\\dados\\"},
  };
  for (const Caso& c : casos) EXPECT_STREQ(QVConcatenaCaminho(c.dir, c.nome), c.esperado) << (c.dir ? c.dir : "null");
}

TEST(QVCaminho, ChangesTheExtensionOfTheFileNameOnly) {
  struct Caso { const char* caminho; const char* extensao; const char* esperado; } casos[] = {
      {"C:\\d\\PPOP.DAT", "TRA", "C:\\d\\PPOP.TRA"},   {"C:\\d\\PPOP.DAT", ".HIS", "C:\\d\\PPOP.HIS"},
      {"C:\\d\\PPOP", "TRA", "C:\\d\\PPOP.TRA"},       {"C:\\d.x\\PPOP", "TRA", "C:\\d.x\\PPOP.TRA"},
      {"C:\\d.x\\", "TRA", "C:\\d.x\\"},               {"", "TRA", ""},
      {nullptr, "TRA", ""},                           {"C:\\d\\PPOP.DAT", nullptr, ""},
  };
  for (const Caso& c : casos) EXPECT_STREQ(QVTrocaExtensao(c.caminho, c.extensao), c.esperado) << (c.caminho ? c.caminho : "null");
}

TEST(QVCaminho, DrivePart) {
  EXPECT_STREQ(QVGetUnidade("C:\\a\\b"), "C:\\");
  EXPECT_STREQ(QVGetUnidade("C:arquivo"), "C:");
  EXPECT_STREQ(QVGetUnidade("\\\\servidor\\share\\a"), "\\\\servidor\\");
  EXPECT_STREQ(QVGetUnidade("\\\\servidor"), "\\\\servidor");
  EXPECT_STREQ(QVGetUnidade("\\a\\b"), "");
}

TEST(QVCaminho, FileSystemHelpers) {
  TempDir tmp;
  CString base(tmp.windows_path().c_str());
  CString novo = base + "EMP\\PP\\";
  EXPECT_FALSE(QVEhDiretorio(novo));
  EXPECT_TRUE(QVCriaDiretorio(novo + "sub"));
  EXPECT_TRUE(QVEhDiretorio(novo + "SUB"));
  EXPECT_FALSE(QVPodeGravar(novo + "nada.dat"));
  EXPECT_TRUE(QVPodeGravar(novo));
  EXPECT_FALSE(QVExisteArquivo(novo + "DF0001.tmp"));  // the probe file is removed again
  tmp.Write("EMP/PP/PPMESTRE.DAT", "x");
  EXPECT_TRUE(QVPodeGravar(novo + "ppmestre.dat"));
  EXPECT_TRUE(QVExisteArquivo(novo + "PPMESTRE.DAT"));
  EXPECT_EQ(tmp.Read("EMP/PP/PPMESTRE.DAT"), "x");
  CString temporario = QVGetArquivoTemporario(nullptr);
  EXPECT_TRUE(QVExisteArquivo(temporario));
  EXPECT_EQ(QVGetNomeArquivo(temporario).Left(2), "QV");
  EXPECT_STREQ(QVGetDiretorio(temporario), QVGetDiretorioTemporario());
}
