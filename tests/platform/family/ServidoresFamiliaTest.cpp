// The family's stand-in servers called directly through the COM layer: what each initialisation
// form refuses, and where the branch server finds the company record. (The hub's side, with the
// bytes of every form it sends, is tests/access/CPPServidoresTest.cpp.)
#include "platform/family/ServidoresFamilia.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <functional>
#include <string>

#include "platform/com/apartment.h"
#include "tests/support/Instalacao.h"

namespace {

constexpr HRESULT kNegado = HRESULT_FROM_WIN32(ERROR_ACCESS_DENIED);

class ServidoresFamiliaTest : public ::testing::Test {
 protected:
  void SetUp() override {
    CoInitializeEx(nullptr, COINIT_MULTITHREADED);
    for (const char* modulo : {"ES", "CN", "FT"}) {
      instalacao_.dir().Write(std::string("empresas/TESTE/") + modulo + "/.keep", "");
      instalacao_.GravaValor("SOFTWARE\\QV Rivovoda\\Empresas\\TESTE", modulo,
                             instalacao_.dir().windows_path() + "empresas\\TESTE\\" + modulo + "\\");
    }
    ASSERT_EQ(familia_.Registra(), S_OK);
  }
  void TearDown() override { CoUninitialize(); }

  template <class Interface>
  HRESULT Chama(REFCLSID clsid, REFIID iid, const std::function<HRESULT(Interface*)>& chamada) {
    Interface* servidor = nullptr;
    const HRESULT hr = CoCreateInstance(clsid, nullptr, CLSCTX_LOCAL_SERVER, iid, reinterpret_cast<void**>(&servidor));
    if (FAILED(hr)) return hr;
    const HRESULT resultado = chamada(servidor);
    servidor->Release();
    return resultado;
  }

  template <class Registro>
  static Registro Sessao(const char* empresa) {
    Registro registro;
    std::memset(&registro, 0, sizeof registro);
    std::memcpy(registro.szEmpresa, empresa, std::min(std::strlen(empresa), sizeof registro.szEmpresa));
    registro.usUsuario = 7;
    registro.lNumeroSessao = 1234;
    return registro;
  }

  Instalacao instalacao_;
  ServidoresFamilia familia_;
};

BSTR Bstr(const char16_t* texto) { return SysAllocString(texto); }

}  // namespace

TEST_F(ServidoresFamiliaTest, EachFormRefusesWhatItDoesNotHoldAndRecordsTheCall) {
  struct Caso {
    const char* nome;
    std::function<HRESULT()> chamada;
    HRESULT esperado;
  };
  _REG_CN_EMPRESAPS empresa;
  const Caso casos[] = {
      {"company filling its whole field", [&] {
         return Chama<IQVDF_Usuario>(CLSID_QVDF_Usuario, IID_IQVDF_Usuario, [](IQVDF_Usuario* s) {
           return s->Inicializa(Sessao<_REG_DF_INICIALIZA_USUARIOPS>(std::string(32, 'X').c_str()));
         });
       }, E_INVALIDARG},
      {"chart without its letter", [&] {
         return Chama<IQVDF_Plano>(CLSID_QVDF_Plano, IID_IQVDF_Plano, [](IQVDF_Plano* s) {
           return s->Inicializa(Sessao<_REG_DF_INICIALIZA_PLANOPS>("TESTE"));
         });
       }, E_INVALIDARG},
      {"chart 'C'", [&] {
         return Chama<IQVDF_Plano>(CLSID_QVDF_Plano, IID_IQVDF_Plano, [](IQVDF_Plano* s) {
           auto registro = Sessao<_REG_DF_INICIALIZA_PLANOPS>("TESTE");
           registro.cTipoPlano = kPlanoContabil;
           return s->Inicializa(registro);
         });
       }, S_OK},
      {"branch record without 24", [&] {
         return Chama<IQVCN_Filial>(CLSID_QVCN_Filial, IID_IQVCN_Filial, [&](IQVCN_Filial* s) {
           return s->InicializaEmpresa(Sessao<_REG_CN_INICIALIZAPS>("TESTE"), &empresa);
         });
       }, E_INVALIDARG},
      {"branch without a company record to fill", [&] {
         return Chama<IQVCN_Filial>(CLSID_QVCN_Filial, IID_IQVCN_Filial, [](IQVCN_Filial* s) {
           auto registro = Sessao<_REG_CN_INICIALIZAPS>("TESTE");
           registro.usParametro = kCNParametroProducao;
           return s->InicializaEmpresa(registro, nullptr);
         });
       }, E_INVALIDARG},
      {"branch's second form: company, user, session", [&] {
         return Chama<IQVCN_Filial>(CLSID_QVCN_Filial, IID_IQVCN_Filial, [](IQVCN_Filial* s) {
           const BSTR empresa = Bstr(u"TESTE");
           const HRESULT hr = s->Inicializa(empresa, 7, 1234);
           SysFreeString(empresa);
           return hr;
         });
       }, S_OK},
      {"inventory called by another module", [&] {
         return Chama<IQVES_Movimento>(CLSID_QVES_Movimento, IID_IQVES_Movimento, [](IQVES_Movimento* s) {
           const BSTR empresa = Bstr(u"TESTE");
           const HRESULT hr = s->Inicializa(empresa, 7, 1234, 1);
           SysFreeString(empresa);
           return hr;
         });
       }, E_INVALIDARG},
      {"null company", [&] {
         return Chama<IQVDF_Produto>(CLSID_QVDF_Produto, IID_IQVDF_Produto,
                                     [](IQVDF_Produto* s) { return s->Inicializa(nullptr, 7, 1234); });
       }, E_INVALIDARG},
      {"sales record with bytes past the session", [&] {
         return Chama<IQVFT_Pedido>(CLSID_QVFT_Pedido, IID_IQVFT_Pedido, [](IQVFT_Pedido* s) {
           auto registro = Sessao<_REG_FT_INICIALIZA_PEDIDOPS>("TESTE");
           registro.cReservado34[5] = 1;
           return s->Inicializa(registro);
         });
       }, E_INVALIDARG},
      {"company without a module directory", [&] {
         return Chama<IQVDF_Feriado>(CLSID_QVDF_Feriado, IID_IQVDF_Feriado, [](IQVDF_Feriado* s) {
           const BSTR empresa = Bstr(u"NENHUMA");
           const HRESULT hr = s->Inicializa(empresa);
           SysFreeString(empresa);
           return hr;
         });
       }, kFamiliaSemDiretorio},
      {"receipts without a CM directory", [&] {
         return Chama<IQVCM_RegistroEntrada>(CLSID_QVCM_RegistroEntrada, IID_IQVCM_RegistroEntrada,
                                             [](IQVCM_RegistroEntrada* s) {
                                               return s->Inicializa(Sessao<_REG_CM_INICIALIZA_ENTRADAPS>("TESTE"));
                                             });
       }, kFamiliaSemDiretorio},
  };
  for (const Caso& caso : casos) {
    SCOPED_TRACE(caso.nome);
    EXPECT_EQ(caso.chamada(), caso.esperado);
  }
  // Refused or not, every call was recorded.
  EXPECT_EQ(familia_.base.Plano.Inicializacoes().size(), 2u);
  const std::vector<InicializacaoFamilia> filial = familia_.filiais.Filial.Inicializacoes();
  ASSERT_EQ(filial.size(), 3u);
  EXPECT_EQ(filial[2].metodo, "Inicializa");
  EXPECT_EQ(filial[2].empresa, "TESTE");
  EXPECT_EQ(filial[2].sessao, 1234);
  EXPECT_EQ(familia_.base.Usuario.Inicializacoes().back().empresa, std::string(32, 'X'));
}

TEST_F(ServidoresFamiliaTest, BranchServerFillsTheCompanyRecordOnlyFromTheRecordItKeeps) {
  auto inicializa = [&](_REG_CN_EMPRESAPS& empresa) {
    return Chama<IQVCN_Filial>(CLSID_QVCN_Filial, IID_IQVCN_Filial, [&](IQVCN_Filial* s) {
      auto registro = Sessao<_REG_CN_INICIALIZAPS>("TESTE");
      registro.usParametro = kCNParametroProducao;
      return s->InicializaEmpresa(registro, &empresa);
    });
  };
  _REG_CN_EMPRESAPS empresa;
  std::memset(&empresa, 0xAB, sizeof empresa);
  EXPECT_EQ(inicializa(empresa), HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND));
  EXPECT_EQ(empresa.szRazaoSocial[0], static_cast<char>(0xAB));

  // A name longer than the field is cut, terminator included.
  ASSERT_EQ(ServidorFiliais::GravaEmpresa("TESTE", std::string(70, 'R')), S_OK);
  EXPECT_EQ(inicializa(empresa), S_OK);
  EXPECT_EQ(std::string(empresa.szRazaoSocial), std::string(59, 'R'));
  EXPECT_EQ(empresa.cReservado60[0], 0);
  EXPECT_EQ(ServidorFiliais::GravaEmpresa("NENHUMA", "X"), kFamiliaSemDiretorio);
}

TEST_F(ServidoresFamiliaTest, InjectedMethodFailureCountsDownAndFailStartsIsPerClass) {
  ClasseFamilia& mestre = familia_.estoque.Mestre;
  mestre.FalhaMetodo("Inicializa", 1, kNegado);
  auto inicializa = [&] {
    return Chama<IQVES_Mestre>(CLSID_QVES_Mestre, IID_IQVES_Mestre, [](IQVES_Mestre* s) {
      const BSTR empresa = Bstr(u"TESTE");
      const HRESULT hr = s->Inicializa(empresa, 7, 1234, kESModuloProducao);
      SysFreeString(empresa);
      return hr;
    });
  };
  EXPECT_EQ(inicializa(), kNegado);
  EXPECT_EQ(inicializa(), S_OK);
  // Two calls let through, then two refused, then served again.
  mestre.FalhaMetodo("Inicializa", 2, kNegado, 2);
  EXPECT_EQ(inicializa(), S_OK);
  EXPECT_EQ(inicializa(), S_OK);
  EXPECT_EQ(inicializa(), kNegado);
  EXPECT_EQ(inicializa(), kNegado);
  EXPECT_EQ(inicializa(), S_OK);

  mestre.FailStarts(1);
  IUnknown* objeto = nullptr;
  EXPECT_EQ(CoCreateInstance(CLSID_QVES_Mestre, nullptr, CLSCTX_LOCAL_SERVER, IID_IUnknown,
                             reinterpret_cast<void**>(&objeto)),
            RPC_S_SERVER_UNAVAILABLE_HRESULT);
  // The module's other classes are served meanwhile.
  ASSERT_EQ(CoCreateInstance(CLSID_QVES_Armazenagem, nullptr, CLSCTX_LOCAL_SERVER, IID_IUnknown,
                             reinterpret_cast<void**>(&objeto)),
            S_OK);
  objeto->Release();
  EXPECT_EQ(inicializa(), S_OK);
  EXPECT_EQ(mestre.Criacoes(), 8);
  EXPECT_EQ(mestre.Vivos(), 0);
}
