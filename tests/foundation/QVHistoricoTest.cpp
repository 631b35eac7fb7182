#include "foundation/QVHistorico.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

#include "platform/com/apartment.h"
#include "platform/family/historico/StandInHistorico.h"
#include "platform/win32/clock.h"
#include "tests/support/Instalacao.h"

namespace {

constexpr HRESULT kFalha = static_cast<HRESULT>(0x80040123);

class GravaHistorico : public ::testing::Test {
 protected:
  void SetUp() override {
    CoInitializeEx(nullptr, COINIT_MULTITHREADED);
    ASSERT_EQ(servico_.Register(), S_OK);
  }
  void TearDown() override { CoUninitialize(); }

  static std::vector<EntradaHistorico> Entradas() {
    std::vector<EntradaHistorico> entradas;
    EXPECT_EQ(LeHistoricoEmpresa(Instalacao::kEmpresa, &entradas), S_OK);
    return entradas;
  }

  Instalacao instalacao_;
  TestClock relogio_;
  StandInHistorico servico_;
};

}  // namespace

TEST_F(GravaHistorico, TextGoesAsEightyBytesOfAtMost79CharactersModule15LetterA) {
  const std::string cem(100, 'c');
  struct Caso {
    const char* texto;
    std::string enviado;
  } casos[] = {
      {cem.c_str(), std::string(79, 'c') + std::string(1, '\0')},
      {"curto", "curto" + std::string(75, '\0')},  // no stale bytes after the terminator
      {nullptr, std::string(80, '\0')},
  };
  for (const Caso& caso : casos) {
    EXPECT_EQ(QVGravaHistoricoTexto("TESTE", 321, caso.texto), S_OK);
    EXPECT_EQ(servico_.Vivos(), 0);
  }
  const std::vector<EntradaHistorico> entradas = Entradas();
  ASSERT_EQ(entradas.size(), std::size(casos));
  for (size_t i = 0; i < entradas.size(); ++i) {
    EXPECT_EQ(entradas[i].tipo, EntradaHistorico::kLinha);
    EXPECT_EQ(entradas[i].sessao, 321);
    EXPECT_EQ(entradas[i].reservado, 0);
    EXPECT_EQ(entradas[i].modulo, 15);
    EXPECT_EQ(entradas[i].operacao, 'A');
    EXPECT_EQ(entradas[i].texto, casos[i].enviado) << i;
  }
}

TEST_F(GravaHistorico, TextWriterReturnsZeroWhateverTheLineAnswered) {
  servico_.FalhaGravaLinha(1, kFalha);
  EXPECT_EQ(QVGravaHistoricoTexto("TESTE", 1, "recusada"), S_OK);
  EXPECT_TRUE(Entradas().empty());
  EXPECT_EQ(servico_.Vivos(), 0);
}

TEST_F(GravaHistorico, ValueWritersPassTheirValuesThroughUnchanged) {
  EXPECT_EQ(QVGravaHistorico12("TESTE", INT32_MIN, -1, 0, 1, INT32_MAX, -32768), S_OK);
  EXPECT_EQ(servico_.Vivos(), 0);
  EXPECT_EQ(QVGravaHistorico13("TESTE", 5, 4, 3, 2, 1, 32767, INT32_MAX, INT32_MIN), S_OK);
  EXPECT_EQ(servico_.Vivos(), 0);
  const std::vector<EntradaHistorico> entradas = Entradas();
  ASSERT_EQ(entradas.size(), 2u);
  EXPECT_EQ(entradas[0].tipo, EntradaHistorico::kValores);
  EXPECT_EQ(entradas[0].valores, (std::vector<int32_t>{INT32_MIN, -1, 0, 1, INT32_MAX}));
  EXPECT_EQ(entradas[0].valor16, -32768);
  EXPECT_EQ(entradas[1].tipo, EntradaHistorico::kValoresEstendido);
  EXPECT_EQ(entradas[1].valores, (std::vector<int32_t>{5, 4, 3, 2, 1, INT32_MAX, INT32_MIN}));
  EXPECT_EQ(entradas[1].valor16, 32767);
}

TEST_F(GravaHistorico, FailureOfDefineEmpresaIsReturnedAndTheServiceReleased) {
  EXPECT_EQ(QVGravaHistoricoTexto("NENHUMA", 1, "x"), E_INVALIDARG);
  EXPECT_EQ(QVGravaHistorico12("NENHUMA", 1, 2, 3, 4, 5, 6), E_INVALIDARG);
  servico_.FalhaDefineEmpresa(kFalha);
  EXPECT_EQ(QVGravaHistorico13("TESTE", 1, 2, 3, 4, 5, 6, 7, 8), kFalha);
  EXPECT_EQ(servico_.Vivos(), 0);
  EXPECT_TRUE(Entradas().empty());
}

TEST(GravaHistoricoSemServico, FailureOfTheCreationIsReturned) {
  Instalacao instalacao;
  CoInitializeEx(nullptr, COINIT_MULTITHREADED);
  EXPECT_EQ(QVGravaHistoricoTexto("TESTE", 1, "x"), REGDB_E_CLASSNOTREG);
  CoUninitialize();
}
