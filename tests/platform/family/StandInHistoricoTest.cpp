#include "platform/family/historico/StandInHistorico.h"

#include <gtest/gtest.h>

#include <climits>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/com/apartment.h"
#include "tests/support/Instalacao.h"

namespace {

constexpr HRESULT kFalha = static_cast<HRESULT>(0x80040123);

// A temporary installation with the stand-in registered; each service object is created through
// the COM layer as a client creates it.
class ServicoHistorico : public ::testing::Test {
 protected:
  void SetUp() override {
    CoInitializeEx(nullptr, COINIT_MULTITHREADED);
    ASSERT_EQ(servico_.Register(), S_OK);
  }
  void TearDown() override {
    CoUninitialize();
    EXPECT_EQ(servico_.Vivos(), 0);
  }

  IQVServicoHistorico* Cria() {
    IQVServicoHistorico* servico = nullptr;
    EXPECT_EQ(CoCreateInstance(CLSID_QVServicoHistorico, nullptr, CLSCTX_LOCAL_SERVER, IID_IQVServicoHistorico,
                               reinterpret_cast<void**>(&servico)),
              S_OK);
    return servico;
  }
  static HRESULT Define(IQVServicoHistorico* servico, const std::u16string& empresa) {
    BSTR nome = SysAllocStringLen(empresa.data(), static_cast<UINT>(empresa.size()));
    const HRESULT hr = servico->DefineEmpresa(nome);
    SysFreeString(nome);
    return hr;
  }
  static HRESULT Linha(IQVServicoHistorico* servico, int32_t sessao, const std::string& texto) {
    return servico->GravaLinha(sessao, 0, 19, 'I', static_cast<int32_t>(texto.size()), texto.data());
  }
  static std::vector<EntradaHistorico> Entradas(const std::string& empresa = "TESTE") {
    std::vector<EntradaHistorico> entradas;
    EXPECT_EQ(LeHistoricoEmpresa(empresa, &entradas), S_OK);
    return entradas;
  }
  std::string Arquivo() const { return instalacao_.dir().Read("empresas/TESTE/HISTORICO/TESTE.LOG"); }

  Instalacao instalacao_;
  StandInHistorico servico_;
};

}  // namespace

TEST_F(ServicoHistorico, KeepsSessionsLinesAndValuesOfEachCompanyInAFileBesideItsPPDirectory) {
  instalacao_.GravaValor("SOFTWARE\\QV Rivovoda\\Empresas\\OUTRA", "PP",
                         instalacao_.dir().windows_path() + "outra\\PP\\");
  IQVServicoHistorico* teste = Cria();
  IQVServicoHistorico* outra = Cria();
  ASSERT_EQ(Define(teste, u"TESTE"), S_OK);
  ASSERT_EQ(Define(outra, u"OUTRA"), S_OK);
  int32_t sessao = 0;
  int32_t sessaoOutra = 0;
  ASSERT_EQ(teste->AbreSessao(65535, &sessao), S_OK);
  ASSERT_EQ(outra->AbreSessao(3, &sessaoOutra), S_OK);
  EXPECT_NE(sessao, 0);
  // Every byte of a text comes back as sent: tabs, line ends, "%", zeros and accented letters.
  const std::string texto("OP\t5 100%\r\n\0fim \xE9\x7F\x01", 18);
  EXPECT_EQ(teste->GravaLinha(sessao, 0, 19, 'E', static_cast<int32_t>(texto.size()), texto.data()), S_OK);
  EXPECT_EQ(Linha(outra, sessaoOutra, "da outra"), S_OK);
  EXPECT_EQ(teste->GravaValores(INT32_MIN, -1, 0, 1, INT32_MAX, -32768), S_OK);
  EXPECT_EQ(teste->GravaValoresEstendido(1, 2, 3, 4, 5, 32767, INT32_MIN, -7), S_OK);
  EXPECT_EQ(teste->FechaSessao(sessao), S_OK);
  teste->Release();
  outra->Release();

  EXPECT_EQ(ArquivoHistoricoEmpresa("TESTE"), instalacao_.dir().windows_path() + "empresas\\TESTE\\HISTORICO\\TESTE.LOG");
  EXPECT_TRUE(std::filesystem::exists(instalacao_.dir().path() + "/outra/HISTORICO/OUTRA.LOG"));
  const std::vector<EntradaHistorico> entradas = Entradas();
  ASSERT_EQ(entradas.size(), 5u);
  EXPECT_EQ(entradas[0].tipo, EntradaHistorico::kAbreSessao);
  EXPECT_EQ(entradas[0].sessao, sessao);
  EXPECT_EQ(entradas[0].usuario, 65535u);
  EXPECT_EQ(entradas[1].tipo, EntradaHistorico::kLinha);
  EXPECT_EQ(entradas[1].sessao, sessao);
  EXPECT_EQ(entradas[1].reservado, 0);
  EXPECT_EQ(entradas[1].modulo, 19);
  EXPECT_EQ(entradas[1].operacao, 'E');
  EXPECT_EQ(entradas[1].texto, texto);
  EXPECT_EQ(entradas[2].tipo, EntradaHistorico::kValores);
  EXPECT_EQ(entradas[2].valores, (std::vector<int32_t>{INT32_MIN, -1, 0, 1, INT32_MAX}));
  EXPECT_EQ(entradas[2].valor16, -32768);
  EXPECT_EQ(entradas[3].tipo, EntradaHistorico::kValoresEstendido);
  EXPECT_EQ(entradas[3].valores, (std::vector<int32_t>{1, 2, 3, 4, 5, INT32_MIN, -7}));
  EXPECT_EQ(entradas[3].valor16, 32767);
  EXPECT_EQ(entradas[4].tipo, EntradaHistorico::kFechaSessao);
  EXPECT_EQ(entradas[4].sessao, sessao);

  const std::vector<EntradaHistorico> daOutra = Entradas("OUTRA");
  ASSERT_EQ(daOutra.size(), 2u);
  EXPECT_EQ(daOutra[1].texto, "da outra");
}

TEST_F(ServicoHistorico, SessionsOfOneCompanyGetDistinctHandles) {
  IQVServicoHistorico* primeiro = Cria();
  IQVServicoHistorico* segundo = Cria();
  ASSERT_EQ(Define(primeiro, u"TESTE"), S_OK);
  ASSERT_EQ(Define(segundo, u"teste"), S_OK);  // the registry's names compare without case
  int32_t sessoes[3] = {};
  EXPECT_EQ(primeiro->AbreSessao(1, &sessoes[0]), S_OK);
  EXPECT_EQ(segundo->AbreSessao(1, &sessoes[1]), S_OK);
  EXPECT_EQ(primeiro->AbreSessao(1, &sessoes[2]), S_OK);
  EXPECT_NE(sessoes[0], sessoes[1]);
  EXPECT_NE(sessoes[1], sessoes[2]);
  EXPECT_NE(sessoes[0], sessoes[2]);
  primeiro->Release();
  segundo->Release();
  EXPECT_EQ(Entradas().size(), 3u);
}

TEST_F(ServicoHistorico, UnknownCompanyFailsAndNothingIsStoredWithoutACompany) {
  IQVServicoHistorico* servico = Cria();
  for (const std::u16string& nome : {std::u16string(u"NENHUMA"), std::u16string(u""), std::u16string(u"TESTE/..")})
    EXPECT_EQ(Define(servico, nome), E_INVALIDARG);
  int32_t sessao = 0;
  EXPECT_EQ(servico->AbreSessao(1, &sessao), E_UNEXPECTED);
  EXPECT_EQ(Linha(servico, 1, "x"), E_UNEXPECTED);
  EXPECT_EQ(servico->GravaValores(1, 2, 3, 4, 5, 6), E_UNEXPECTED);
  servico->Release();
  std::vector<EntradaHistorico> entradas;
  EXPECT_EQ(LeHistoricoEmpresa("NENHUMA", &entradas), E_INVALIDARG);
  EXPECT_TRUE(Entradas().empty());
  EXPECT_FALSE(std::filesystem::exists(instalacao_.dir().path() + "/empresas/TESTE/HISTORICO"));
}

TEST_F(ServicoHistorico, TestControlsFailTheNamedCallsWhichStoreNothing) {
  IQVServicoHistorico* servico = Cria();
  servico_.FalhaDefineEmpresa(kFalha);
  EXPECT_EQ(Define(servico, u"TESTE"), kFalha);
  servico_.FalhaDefineEmpresa(S_OK);
  ASSERT_EQ(Define(servico, u"TESTE"), S_OK);

  servico_.FalhaAbreSessao(kFalha);
  int32_t sessao = 0;
  EXPECT_EQ(servico->AbreSessao(1, &sessao), kFalha);
  servico_.FalhaAbreSessao(S_OK);

  servico_.FalhaGravaLinha(2, kFalha);
  EXPECT_EQ(Linha(servico, 9, "primeira"), kFalha);
  EXPECT_EQ(Linha(servico, 9, "segunda"), kFalha);
  EXPECT_EQ(Linha(servico, 9, "terceira"), S_OK);
  EXPECT_EQ(servico_.Vivos(), 1);
  servico->Release();

  const std::vector<EntradaHistorico> entradas = Entradas();
  ASSERT_EQ(entradas.size(), 1u);
  EXPECT_EQ(entradas[0].texto, "terceira");
}

TEST_F(ServicoHistorico, AnEntryCutShortAtAnyByteIsSkippedAndTheNextWriteStartsOnItsOwnLine) {
  IQVServicoHistorico* servico = Cria();
  ASSERT_EQ(Define(servico, u"TESTE"), S_OK);
  ASSERT_EQ(Linha(servico, 1, "antes\r"), S_OK);
  const std::string inteira = Arquivo();
  ASSERT_EQ(inteira.back(), '\n');
  for (size_t corte = 1; corte < inteira.size(); ++corte) {
    // A whole entry, then one that a crash cut after `corte` bytes.
    instalacao_.dir().Write("empresas/TESTE/HISTORICO/TESTE.LOG", inteira + inteira.substr(0, corte));
    ASSERT_EQ(Linha(servico, 2, "depois"), S_OK);
    const std::vector<EntradaHistorico> entradas = Entradas();
    // Only the line feed missing: the entry is whole.
    const bool inteiraSemFimDeLinha = corte == inteira.size() - 1;
    ASSERT_EQ(entradas.size(), inteiraSemFimDeLinha ? 3u : 2u) << corte;
    EXPECT_EQ(entradas.front().texto, "antes\r") << corte;
    EXPECT_EQ(entradas.back().texto, "depois") << corte;
    EXPECT_EQ(entradas.back().sessao, 2) << corte;
  }
  servico->Release();
}
