#include "foundation/CQVArqEx_.h"

#include <gtest/gtest.h>

#include <set>

#include "tests/foundation/DiretorioDados.h"

namespace {

class ArquivoPeriodo : public CQVArqEx_ {
 public:
  CString GetPrefixo() const override { return "PPOP"; }
};

TEST(CQVArqExNomes, NamesOfFilesAndPeriodFiles) {
  ArquivoPeriodo arquivo;
  arquivo.SetDiretorio("\\dados\\");
  char nome[MAX_PATH];
  EXPECT_STREQ(arquivo.MontaNome(nome), "\\dados\\PPOP.DAT");
  EXPECT_STREQ(arquivo.SetExtensao("HIS"), ".DAT");
  EXPECT_STREQ(arquivo.MontaNomePeriodo(nome, 949), "\\dados\\PPOP0127.HIS");
  EXPECT_STREQ(arquivo.MontaNomePeriodo(nome, 2148), "\\dados\\PPOP1226.HIS");
  EXPECT_EQ(arquivo.MontaNomePeriodo(nome, 948), nullptr);
  EXPECT_EQ(arquivo.MontaNomePeriodo(nome, 2149), nullptr);
  EXPECT_STREQ(arquivo.SetDiretorio("x"), "\\dados\\");
}

TEST(CQVArqExNomes, ListaPeriodosFindsTheMonthsOfThePeriodFiles) {
  DiretorioDados dados;
  ArquivoPeriodo arquivo;
  arquivo.SetDiretorio(dados.Diretorio().c_str());
  std::set<uint16_t> meses = {1};
  EXPECT_EQ(arquivo.ListaPeriodos(meses), 0);
  EXPECT_TRUE(meses.empty());

  for (const char* nome : {"PPOP0127.DAT", "ppop1226.dat", "PPOPXX12.DAT", "PPOP1327.DAT", "PPOQ0101.DAT"})
    dados.Escreve(nome, "");
  EXPECT_EQ(arquivo.ListaPeriodos(meses), 0);
  EXPECT_EQ(meses, (std::set<uint16_t>{949, 2148}));

  arquivo.SetDiretorio((dados.Diretorio() + "NAO\\").c_str());
  EXPECT_EQ(arquivo.ListaPeriodos(meses), static_cast<HRESULT>(0x80070003u));
}

}  // namespace
