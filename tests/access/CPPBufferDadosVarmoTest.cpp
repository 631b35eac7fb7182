// The caches over the module's own master-settings class: a CPPBufferDados initialised with the
// session creates QVPP_MestrePP of the Varmo server linked into the process, which reads
// "PPMESTRE.DAT" of company TESTE and the open period from the branch stand-in, and a product read
// with price table 0 is priced under the sale table that those settings name. The company has what
// the class's Inicializa asks for: the branch parameters and period, the user, the history service.
#include "access/CPPBufferDados.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "platform/com/apartment.h"
#include "platform/family/ServidoresFamilia.h"
#include "platform/family/base/ProdutoDF.h"
#include "platform/family/base/UsuarioDF.h"
#include "platform/family/historico/StandInHistorico.h"
#include "platform/win32/clock.h"
#include "platform/win32/msgqueue.h"
#include "server/VarmoPrograma.h"
#include "tests/support/Instalacao.h"

namespace {

constexpr uint16_t kUsuario = 7;
constexpr uint16_t kInicioPeriodo = 63000;
constexpr uint16_t kMesImplantacao = (2020 - 1848) * 12 + 1;

CY Reais(int64_t reais) {
  CY valor;
  valor.int64 = reais * 10000;
  return valor;
}

void Poe(std::string& bytes, size_t deslocamento, uint32_t valor, size_t largura) {
  for (size_t i = 0; i < largura; ++i) bytes[deslocamento + i] = static_cast<char>(valor >> (8 * i));
}

// Record 0 of the settings: the month of implantation (so that Inicializa leaves it), the service
// sale table at 504 and the product sale table at 508.
std::string RegistroMestre(uint32_t tabelaProduto) {
  std::string registro(512, '\0');
  Poe(registro, 22, kMesImplantacao, 2);
  Poe(registro, 504, 1, 4);
  Poe(registro, 508, tabelaProduto, 4);
  return registro;
}

class CacheMestreVarmo : public ::testing::Test {
 protected:
  void SetUp() override {
    CoInitializeEx(nullptr, COINIT_MULTITHREADED);
    instalacao_.GravaValor("SYSTEM\\CurrentControlSet\\Control\\Session Manager\\Environment", "QV_DATETIME",
                           "1;10/05/2024;10:00:00:000;15/01/2024;09:00:00:000");
    for (const char* modulo : {"ES", "CN", "FT", "CM"}) {
      instalacao_.dir().Write(std::string("empresas/TESTE/") + modulo + "/.keep", "");
      instalacao_.GravaValor("SOFTWARE\\QV Rivovoda\\Empresas\\TESTE", modulo,
                             instalacao_.dir().windows_path() + "empresas\\TESTE\\" + modulo + "\\");
    }
    ASSERT_EQ(historico_.Register(), S_OK);
    ASSERT_EQ(familia_.Registra(), S_OK);
    const std::string e = Instalacao::kEmpresa;
    ASSERT_EQ(ServidorFiliais::GravaParametros(e, _REG_CN_PARAMETROSPS{}), S_OK);
    ASSERT_EQ(ServidorFiliais::GravaPeriodo(e, {kInicioPeriodo, kInicioPeriodo + 30, {}}), S_OK);
    UsuarioDF usuario;
    std::memset(&usuario, 0, sizeof usuario);
    usuario.lChave = kUsuario;
    ASSERT_EQ(GravaUsuariosDF(e, {usuario}), S_OK);

    // Products 10 and 20, each priced under tables 1, 2 and 3 at (table x 100) + pointer.
    CadastroProdutosDF cadastro;
    cadastro.produtos.resize(2);
    std::memset(cadastro.produtos.data(), 0, cadastro.produtos.size() * sizeof(_REG_PRODUTOPS));
    for (size_t i = 0; i < 2; ++i) {
      _REG_PRODUTOPS& produto = cadastro.produtos[i];
      produto.lPonteiroProduto = static_cast<uint32_t>(10 * (i + 1));
      produto.cTipo = 'P';
      for (uint16_t tabela = 1; tabela <= 3; ++tabela)
        cadastro.precos.push_back(
            {'P', 0, static_cast<uint32_t>(produto.lPonteiroProduto), tabela, Reais(tabela * 100 + produto.lPonteiroProduto)});
    }
    ASSERT_EQ(GravaCadastroProdutosDF(e, cadastro), S_OK);
    EscreveMestre(3);

    ASSERT_EQ(VarmoExecuta("\\opt\\qv\\Varmo /RegServer"), S_OK);
    ASSERT_TRUE(VinculaServidorVarmo());
    buffer_.Inicializa(Instalacao::kEmpresa, kUsuario, 1234);
  }
  void TearDown() override {
    buffer_.Finaliza();
    if (const DWORD execucao = LocalServerRunThread(kPPNomeModuloVarmo)) PostThreadMessageA(execucao, WM_QUIT, 0, 0);
    WaitForLocalServerRunEnd(kPPNomeModuloVarmo, INFINITE);
    UnlinkLocalServer(kPPNomeModuloVarmo);
    CoUninitialize();
  }

  void EscreveMestre(uint32_t tabelaProduto) {
    instalacao_.dir().Write("empresas/TESTE/PP/PPMESTRE.DAT", RegistroMestre(tabelaProduto));
  }
  int64_t PrecoTabelaZero(int32_t ponteiro) {
    CPPDadosProduto produto;
    EXPECT_EQ(buffer_.LeBufferProduto(ponteiro, &produto, 0), S_OK);
    return produto.GetPrecoVendaV8().int64;
  }

  TestClock relogio_;
  Instalacao instalacao_;
  StandInHistorico historico_;
  ServidoresFamilia familia_;
  CPPBufferDados buffer_;
};

}  // namespace

TEST_F(CacheMestreVarmo, PriceTableZeroIsTheSaleTableOfTheSettingsReadThroughTheModulesClass) {
  EXPECT_EQ(PrecoTabelaZero(10), Reais(310).int64);
  ASSERT_NE(buffer_.GetIMestrePP(), nullptr);
  CPPDadosMestre mestre;
  ASSERT_EQ(buffer_.LeBufferMestrePP(&mestre), S_OK);
  EXPECT_EQ(mestre.GetPonteiroTabelaPrecoVendaProduto(), 3u);
  EXPECT_EQ(mestre.GetMesAnoImplantacao(), kMesImplantacao);
  EXPECT_EQ(mestre.GetDataInferiorPeriodo(), kInicioPeriodo);  // the class's own read of the branch server

  // The settings are cached with the rest: a change shows only once the caches are dropped.
  EscreveMestre(2);
  EXPECT_EQ(PrecoTabelaZero(20), Reais(320).int64);
  buffer_.LimparBuffer(true);
  EXPECT_EQ(PrecoTabelaZero(20), Reais(220).int64);
}
