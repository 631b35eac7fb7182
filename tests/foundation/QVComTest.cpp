#include <gtest/gtest.h>

#include "foundation/QVCom.h"
#include "platform/win32/module.h"
#include "platform/com/apartment.h"
#include "platform/com/standin.h"
#include "platform/win32/eventlog.h"
#include "tests/platform/com/ComTestObjects.h"
#include "tests/platform/win32/TemporaryRegistry.h"

namespace {

// {5A0C1E2D-7B3F-4A19-8C6D-2E4F60718293}
constexpr CLSID CLSID_ServidorTeste = {
    0x5A0C1E2D, 0x7B3F, 0x4A19, {0x8C, 0x6D, 0x2E, 0x4F, 0x60, 0x71, 0x82, 0x93}};
constexpr char kTextoClsid[] = "{5A0C1E2D-7B3F-4A19-8C6D-2E4F60718293}";
constexpr DWORD kAmbos = kQVCriaRegistraEvento | kQVCriaRetentaIndisponivel;

IUnknown* const kIntocado = reinterpret_cast<IUnknown*>(0x1234);

class CriaInstancia : public ::testing::Test {
 protected:
  void SetUp() override {
    CoInitializeEx(nullptr, COINIT_MULTITHREADED);
    servidor_.AddClass(CLSID_ServidorTeste, &ObjetoTeste::Cria);
  }
  void TearDown() override {
    CoUninitialize();
    EXPECT_EQ(ObjetoTeste::vivos, 0);
  }

  // The stand-in whose first `falhas` runs die while starting.
  void Registra(int falhas) {
    servidor_.FailStarts(falhas);
    ASSERT_EQ(servidor_.Register(), S_OK);
  }

  HRESULT Cria(DWORD flags, IUnknown** objeto) {
    inicio_ = GetTickCount();
    return QVCriaInstanciaServidor(CLSID_ServidorTeste, nullptr, kQVContextoServidor,
                                   IID_ITesteObjeto, reinterpret_cast<void**>(objeto), flags);
  }
  DWORD Decorrido() const { return GetTickCount() - inicio_; }

  TemporaryRegistry registry_;
  TestClock clock_;  // Sleep advances it: the retries cost no real time
  StandInServer servidor_{"QVServidorTeste"};
  DWORD inicio_ = 0;
};

std::string Detalhe(const char* hr, const char* texto) {
  char programa[MAX_PATH];
  GetModuleFileNameA(nullptr, programa, MAX_PATH);
  return std::string("\nHR: ") + hr + " (" + texto + ")\nCLSID: " + kTextoClsid +
         "\nPrograma: " + programa + "\n";
}

}  // namespace

TEST_F(CriaInstancia, ServerThatIsUnavailableTwiceWarnsOnceAndSucceedsOnTheThirdAttempt) {
  Registra(2);
  IUnknown* objeto = nullptr;
  ASSERT_EQ(Cria(kAmbos, &objeto), S_OK);
  ASSERT_NE(objeto, nullptr);
  EXPECT_EQ(servidor_.Starts(), 3);
  EXPECT_EQ(Decorrido(), 2 * kQVPausaTentativa);

  const std::vector<EventLogEntry> log = ReadEventLog();
  ASSERT_EQ(log.size(), 1u);
  EXPECT_EQ(log[0].source, "QV Rivovoda");
  EXPECT_EQ(log[0].type, EVENTLOG_WARNING_TYPE);
  EXPECT_EQ(log[0].event_id, 0x800706BAu);
  ASSERT_EQ(log[0].strings.size(), 2u);
  EXPECT_EQ(log[0].strings[0], "\n\nA primeira tentativa de instanciar o servidor falhou");
  EXPECT_EQ(log[0].strings[1], Detalhe("0x800706BA", "O servidor RPC não está disponível. "));

  const ProxyBlanket blanket = LastProxyBlanket();
  EXPECT_EQ(blanket.interface, objeto);
  EXPECT_EQ(blanket.authentication_service, RPC_C_AUTHN_NONE);
  EXPECT_EQ(blanket.authorisation_service, RPC_C_AUTHZ_NONE);
  EXPECT_EQ(blanket.authentication_level, RPC_C_AUTHN_LEVEL_NONE);
  EXPECT_EQ(blanket.impersonation_level, RPC_C_IMP_LEVEL_IMPERSONATE);
  EXPECT_FALSE(blanket.has_principal_name || blanket.has_identity);
  objeto->Release();
}

TEST_F(CriaInstancia, OnlyTheSecondUnavailableAnswerWarns) {
  struct Caso {
    int falhas;
    size_t avisos;
  } casos[] = {{0, 0}, {1, 0}, {3, 1}};
  for (const Caso& caso : casos) {
    TemporaryRegistry registro;
    StandInServer servidor("QVOutroTeste");
    servidor.AddClass(CLSID_ServidorTeste, &ObjetoTeste::Cria);
    servidor.FailStarts(caso.falhas);
    ASSERT_EQ(servidor.Register(), S_OK);
    IUnknown* objeto = nullptr;
    ASSERT_EQ(Cria(kAmbos, &objeto), S_OK) << caso.falhas;
    objeto->Release();
    EXPECT_EQ(ReadEventLog().size(), caso.avisos) << caso.falhas;
    EXPECT_EQ(Decorrido(), caso.falhas * kQVPausaTentativa);
  }
}

TEST_F(CriaInstancia, WithoutTheLogFlagNothingReachesTheLog) {
  Registra(2);
  IUnknown* objeto = nullptr;
  ASSERT_EQ(Cria(kQVCriaRetentaIndisponivel, &objeto), S_OK);
  objeto->Release();
  // {...94}: a class that is not registered at all
  IUnknown* nenhum = kIntocado;
  EXPECT_EQ(QVCriaInstanciaServidor(
                {0x5A0C1E2D, 0x7B3F, 0x4A19, {0x8C, 0x6D, 0x2E, 0x4F, 0x60, 0x71, 0x82, 0x94}},
                nullptr, kQVContextoServidor, IID_ITesteObjeto, reinterpret_cast<void**>(&nenhum),
                kQVCriaRetentaIndisponivel),
            REGDB_E_CLASSNOTREG);
  EXPECT_EQ(nenhum, kIntocado);
  EXPECT_TRUE(ReadEventLog().empty());
}

TEST_F(CriaInstancia, WithoutTheRetryFlagAnUnavailableServerFailsAtOnceWithOneError) {
  Registra(1);
  IUnknown* objeto = kIntocado;
  EXPECT_EQ(Cria(kQVCriaRegistraEvento, &objeto), RPC_S_SERVER_UNAVAILABLE_HRESULT);
  EXPECT_EQ(objeto, kIntocado);
  EXPECT_EQ(servidor_.Starts(), 1);
  EXPECT_EQ(Decorrido(), 0u);
  const std::vector<EventLogEntry> log = ReadEventLog();
  ASSERT_EQ(log.size(), 1u);
  EXPECT_EQ(log[0].type, EVENTLOG_ERROR_TYPE);
  ASSERT_EQ(log[0].strings.size(), 2u);
  EXPECT_EQ(log[0].strings[0], "\n\nErro instanciando servidor");
}

TEST_F(CriaInstancia, ServerThatStaysUnavailableCostsFiveHundredAttemptsThenWarningAndError) {
  // Registered held back by this thread and never resumed: every attempt answers 0x800706BA.
  auto* fabrica = new FunctionClassFactory(&ObjetoTeste::Cria);
  DWORD cookie = 0;
  ASSERT_EQ(CoRegisterClassObject(CLSID_ServidorTeste, fabrica, CLSCTX_LOCAL_SERVER,
                                  REGCLS_MULTIPLEUSE | REGCLS_SUSPENDED, &cookie),
            S_OK);
  fabrica->Release();
  IUnknown* objeto = kIntocado;
  EXPECT_EQ(Cria(kAmbos, &objeto), RPC_S_SERVER_UNAVAILABLE_HRESULT);
  EXPECT_EQ(objeto, kIntocado);
  EXPECT_EQ(Decorrido(), 500 * kQVPausaTentativa);
  const std::vector<EventLogEntry> log = ReadEventLog();
  ASSERT_EQ(log.size(), 2u);
  EXPECT_EQ(log[0].type, EVENTLOG_WARNING_TYPE);
  EXPECT_EQ(log[1].type, EVENTLOG_ERROR_TYPE);
  CoRevokeClassObject(cookie);
}

TEST_F(CriaInstancia, InvalidArgumentIsAskedAgainWithoutServerInformationInTheSameAttempt) {
  // An in-process class object refuses the server information with E_INVALIDARG.
  auto* fabrica = new FunctionClassFactory(&ObjetoTeste::Cria);
  DWORD cookie = 0;
  ASSERT_EQ(CoRegisterClassObject(CLSID_ServidorTeste, fabrica, CLSCTX_INPROC_SERVER,
                                  REGCLS_MULTIPLEUSE, &cookie),
            S_OK);
  fabrica->Release();
  IUnknown* objeto = nullptr;
  EXPECT_EQ(Cria(kAmbos, &objeto), S_OK);
  ASSERT_NE(objeto, nullptr);
  objeto->Release();
  EXPECT_EQ(Decorrido(), 0u);
  EXPECT_TRUE(ReadEventLog().empty());
  CoRevokeClassObject(cookie);
}

TEST_F(CriaInstancia, EventSourceThatCannotBeRegisteredIsSilent) {
  Registra(1);
  EventSourceRefusal recusa;
  IUnknown* objeto = nullptr;
  EXPECT_EQ(Cria(kQVCriaRegistraEvento, &objeto), RPC_S_SERVER_UNAVAILABLE_HRESULT);
  EXPECT_TRUE(ReadEventLog().empty());
}

TEST_F(CriaInstancia, HolderStoresTheCreatedInterfaceAndReleasesIt) {
  Registra(1);
  {
    CQVComPtr<IUnknown, IID_ITesteObjeto> servidor;
    EXPECT_EQ(servidor.CreateInstance(CLSID_ServidorTeste, nullptr, kQVContextoServidor,
                                      kQVCriaRegistraEvento),
              RPC_S_SERVER_UNAVAILABLE_HRESULT);
    EXPECT_EQ(servidor.GetInterface(), nullptr);
    EXPECT_EQ(servidor.CreateInstance(CLSID_ServidorTeste, nullptr, kQVContextoServidor, kAmbos),
              S_OK);
    EXPECT_NE(servidor.GetInterface(), nullptr);
    EXPECT_EQ(ObjetoTeste::vivos, 1);
  }
  EXPECT_EQ(ObjetoTeste::vivos, 0);
}

TEST(QVCom, SecuritySetsLevelNoneAndImpersonationForTheProcess) {
  CoInitializeEx(nullptr, COINIT_MULTITHREADED);
  const HRESULT hr = QVInicializaSegurancaCOM();
  EXPECT_TRUE(hr == S_OK || hr == RPC_E_TOO_LATE);
  const ProcessSecuritySettings seguranca = ProcessSecurity();
  EXPECT_TRUE(seguranca.taken);
  EXPECT_EQ(seguranca.service_count, -1);
  EXPECT_EQ(seguranca.authentication_level, RPC_C_AUTHN_LEVEL_NONE);
  EXPECT_EQ(seguranca.impersonation_level, RPC_C_IMP_LEVEL_IMPERSONATE);
  EXPECT_EQ(seguranca.capabilities, EOAC_NONE);
  EXPECT_EQ(QVTextoCLSID(CLSID_ServidorTeste), kTextoClsid);
  CoUninitialize();
}

namespace {

#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wnon-virtual-dtor"
struct IChamada : IUnknown {
  virtual HRESULT Primeiro() = 0;
  virtual HRESULT Segundo(uint16_t a, uint32_t b) = 0;
};
#pragma GCC diagnostic pop

class Chamada : public IChamada {
 public:
  explicit Chamada(int indisponivel) : indisponivel_(indisponivel) {}
  HRESULT QueryInterface(REFIID, void** objeto) override {
    *objeto = static_cast<IChamada*>(this);
    return S_OK;
  }
  ULONG AddRef() override { return 1; }  // lives on the test's stack
  ULONG Release() override { return 1; }
  HRESULT Primeiro() override { return E_UNEXPECTED; }
  HRESULT Segundo(uint16_t a, uint32_t b) override {
    ++chamadas;
    EXPECT_EQ(a, 7);
    EXPECT_EQ(b, 70000u);
    return chamadas <= indisponivel_ ? RPC_S_SERVER_UNAVAILABLE_HRESULT : S_OK;
  }
  int chamadas = 0;

 private:
  const int indisponivel_;
};

}  // namespace

TEST(QVCom, RetryingCallAsksAgainWhileTheServerIsUnavailableUpTo400Times) {
  TestClock clock;
  CoInitializeEx(nullptr, COINIT_MULTITHREADED);
  struct Caso {
    int indisponivel;
    int chamadas;
    HRESULT resultado;
  } casos[] = {{0, 1, S_OK}, {3, 4, S_OK}, {400, 400, RPC_S_SERVER_UNAVAILABLE_HRESULT}};
  for (const Caso& caso : casos) {
    Chamada objeto(caso.indisponivel);
    auto* fabrica = new FunctionClassFactory(
        [&objeto](REFIID riid, void** ppv) { return objeto.QueryInterface(riid, ppv); });
    DWORD cookie = 0;
    CoRegisterClassObject(CLSID_ServidorTeste, fabrica, CLSCTX_INPROC_SERVER, REGCLS_MULTIPLEUSE,
                          &cookie);
    fabrica->Release();
    {
      CQVComPtr<IChamada, IID_ITesteObjeto> servidor;
      ASSERT_EQ(servidor.CreateInstance(CLSID_ServidorTeste, nullptr, CLSCTX_INPROC_SERVER, 0),
                S_OK);
      const DWORD inicio = GetTickCount();
      EXPECT_EQ(QVChamaComRetentativa(servidor, &IChamada::Segundo, 7, 70000), caso.resultado);
      EXPECT_EQ(objeto.chamadas, caso.chamadas);
      EXPECT_EQ(GetTickCount() - inicio, caso.indisponivel * kQVPausaTentativa);
    }
    CoRevokeClassObject(cookie);
  }
  CoUninitialize();
}
