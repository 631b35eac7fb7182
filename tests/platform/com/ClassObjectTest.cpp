#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <thread>

#include "platform/com/apartment.h"
#include "platform/com/classobject.h"
#include "platform/com/standin.h"
#include "platform/win32/clock.h"
#include "platform/win32/msgqueue.h"
#include "platform/win32/registry.h"
#include "platform/win32/sync.h"
#include "tests/platform/com/ComTestObjects.h"
#include "tests/platform/win32/TemporaryRegistry.h"

namespace {

// {A1B2C3D4-0001-4000-8000-00000000C0DE}
constexpr CLSID CLSID_Teste = {
    0xA1B2C3D4, 0x0001, 0x4000, {0x80, 0x00, 0x00, 0x00, 0x00, 0x00, 0xC0, 0xDE}};
// {A1B2C3D4-0002-4000-8000-00000000C0DE}
constexpr CLSID CLSID_Outra = {
    0xA1B2C3D4, 0x0002, 0x4000, {0x80, 0x00, 0x00, 0x00, 0x00, 0x00, 0xC0, 0xDE}};

// Points the class's LocalServer32 at a program path.
void WriteLocalServer(REFCLSID clsid, const std::string& path) {
  HKEY key;
  ASSERT_EQ(RegCreateKeyExA(HKEY_CLASSES_ROOT,
                            ("CLSID\\" + GuidToText(clsid) + "\\LocalServer32").c_str(), 0, nullptr,
                            0, KEY_ALL_ACCESS, nullptr, &key, nullptr),
            ERROR_SUCCESS);
  RegSetValueExA(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(path.c_str()),
                 static_cast<DWORD>(path.size() + 1));
  RegCloseKey(key);
}

class ClassObjects : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_EQ(CoInitializeEx(nullptr, COINIT_MULTITHREADED), S_OK); }
  void TearDown() override {
    CoUninitialize();
    EXPECT_EQ(ObjetoTeste::vivos, 0);
  }

  // Registers a class object of ObjetoTeste; `released` tells when the table has let it go.
  DWORD Registra(REFCLSID clsid, DWORD context, DWORD flags,
                 std::weak_ptr<int>* released = nullptr) {
    auto token = std::make_shared<int>();
    if (released) *released = token;
    auto* factory = new FunctionClassFactory(
        [token](REFIID riid, void** object) { return ObjetoTeste::Cria(riid, object); });
    DWORD cookie = 0;
    EXPECT_EQ(CoRegisterClassObject(clsid, factory, context, flags, &cookie), S_OK);
    factory->Release();
    return cookie;
  }

  static HRESULT Cria(REFCLSID clsid, DWORD context) {
    IUnknown* object = nullptr;
    const HRESULT hr = CoCreateInstance(clsid, nullptr, context, IID_ITesteObjeto,
                                        reinterpret_cast<void**>(&object));
    if (object) object->Release();
    return hr;
  }
};

}  // namespace

TEST_F(ClassObjects, RegistrationServesRequestsOfItsKindUntilRevoked) {
  std::weak_ptr<int> released;
  const DWORD cookie = Registra(CLSID_Teste, CLSCTX_INPROC_SERVER, REGCLS_MULTIPLEUSE, &released);
  EXPECT_EQ(Cria(CLSID_Teste, CLSCTX_INPROC_SERVER), S_OK);
  EXPECT_EQ(Cria(CLSID_Teste, CLSCTX_ALL), S_OK);
  EXPECT_EQ(Cria(CLSID_Teste, CLSCTX_LOCAL_SERVER), REGDB_E_CLASSNOTREG);

  EXPECT_EQ(CoRevokeClassObject(cookie), S_OK);
  EXPECT_TRUE(released.expired());
  EXPECT_EQ(CoRevokeClassObject(cookie), CO_E_OBJNOTREG);
  EXPECT_EQ(Cria(CLSID_Teste, CLSCTX_INPROC_SERVER), REGDB_E_CLASSNOTREG);
}

TEST_F(ClassObjects, SingleUseRegistrationServesOneRequest) {
  const DWORD cookie = Registra(CLSID_Teste, CLSCTX_INPROC_SERVER, REGCLS_SINGLEUSE);
  EXPECT_EQ(Cria(CLSID_Teste, CLSCTX_INPROC_SERVER), S_OK);
  EXPECT_EQ(Cria(CLSID_Teste, CLSCTX_INPROC_SERVER), REGDB_E_CLASSNOTREG);
  CoRevokeClassObject(cookie);
}

TEST_F(ClassObjects, HeldBackClassAnswersServerUnavailableUntilResumed) {
  const DWORD cookie =
      Registra(CLSID_Teste, CLSCTX_LOCAL_SERVER, REGCLS_MULTIPLEUSE | REGCLS_SUSPENDED);
  EXPECT_EQ(Cria(CLSID_Teste, CLSCTX_LOCAL_SERVER), RPC_S_SERVER_UNAVAILABLE_HRESULT);
  CoResumeClassObjects();
  EXPECT_EQ(Cria(CLSID_Teste, CLSCTX_LOCAL_SERVER), S_OK);
  CoSuspendClassObjects();
  EXPECT_EQ(Cria(CLSID_Teste, CLSCTX_LOCAL_SERVER), RPC_S_SERVER_UNAVAILABLE_HRESULT);
  CoRevokeClassObject(cookie);
}

TEST_F(ClassObjects, ServerInformationIsOnlyForOutOfProcessCreation) {
  COAUTHINFO authentication{0, 0, nullptr, 1, 3, nullptr, 0};
  COSERVERINFO local{0, nullptr, &authentication, 0};
  char16_t machine[] = u"OUTRA";
  COSERVERINFO remote{0, machine, nullptr, 0};
  const DWORD in_process = Registra(CLSID_Teste, CLSCTX_INPROC_SERVER, REGCLS_MULTIPLEUSE);
  const DWORD local_server = Registra(CLSID_Outra, CLSCTX_LOCAL_SERVER, REGCLS_MULTIPLEUSE);
  struct Case {
    CLSID clsid;
    COSERVERINFO* server;
    HRESULT expected;
  } cases[] = {{CLSID_Teste, &local, E_INVALIDARG},
               {CLSID_Teste, nullptr, S_OK},
               {CLSID_Outra, &local, S_OK},
               {CLSID_Outra, &remote, E_INVALIDARG}};
  for (const Case& c : cases) {
    MULTI_QI result{&IID_ITesteObjeto, nullptr, S_OK};
    EXPECT_EQ(CoCreateInstanceEx(c.clsid, nullptr, CLSCTX_ALL, c.server, 1, &result), c.expected)
        << GuidToText(c.clsid);
    EXPECT_EQ(result.pItf != nullptr, c.expected == S_OK);
    if (result.pItf) result.pItf->Release();
  }
  CoRevokeClassObject(in_process);
  CoRevokeClassObject(local_server);
}

TEST_F(ClassObjects, EachRequestedInterfaceGetsItsOwnResult) {
  const DWORD cookie = Registra(CLSID_Teste, CLSCTX_INPROC_SERVER, REGCLS_MULTIPLEUSE);
  MULTI_QI some[] = {
      {&IID_ITesteObjeto, nullptr, 1}, {&IID_IAusente, nullptr, 1}, {&IID_IUnknown, nullptr, 1}};
  EXPECT_EQ(CoCreateInstanceEx(CLSID_Teste, nullptr, CLSCTX_INPROC_SERVER, nullptr, 3, some),
            CO_S_NOTALLINTERFACES);
  EXPECT_EQ(some[0].hr, S_OK);
  EXPECT_EQ(some[1].hr, E_NOINTERFACE);
  EXPECT_EQ(some[1].pItf, nullptr);
  EXPECT_EQ(some[2].hr, S_OK);
  some[0].pItf->Release();
  some[2].pItf->Release();

  MULTI_QI none[] = {{&IID_IAusente, nullptr, 1}, {&IID_ITesteObjeto, nullptr, 1}};
  EXPECT_EQ(CoCreateInstanceEx(CLSID_Teste, nullptr, CLSCTX_INPROC_SERVER, nullptr, 2, none),
            E_NOINTERFACE);
  EXPECT_EQ(none[1].hr, E_NOINTERFACE);
  EXPECT_EQ(none[1].pItf, nullptr);
  CoRevokeClassObject(cookie);
}

TEST(Apartment, ThreadsMustInitialiseComOnceInOneModel) {
  std::thread([] {
    EXPECT_FALSE(IsComInitialized());
    IUnknown* object = nullptr;
    EXPECT_EQ(CoCreateInstance(CLSID_Teste, nullptr, CLSCTX_ALL, IID_IUnknown,
                               reinterpret_cast<void**>(&object)),
              CO_E_NOTINITIALIZED);
    DWORD cookie;
    auto* factory = new FunctionClassFactory(&ObjetoTeste::Cria);
    EXPECT_EQ(CoRegisterClassObject(CLSID_Teste, factory, CLSCTX_INPROC_SERVER, 1, &cookie),
              CO_E_NOTINITIALIZED);
    factory->Release();

    EXPECT_EQ(CoInitializeEx(nullptr, COINIT_MULTITHREADED), S_OK);
    EXPECT_EQ(CoInitializeEx(nullptr, COINIT_MULTITHREADED), S_FALSE);
    EXPECT_EQ(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED), RPC_E_CHANGED_MODE);
    CoUninitialize();
    EXPECT_TRUE(IsComInitialized());
    CoUninitialize();
    EXPECT_FALSE(IsComInitialized());
  }).join();
}

class LinkedServers : public ClassObjects {
 protected:
  TemporaryRegistry registry_;
};

TEST_F(LinkedServers, FirstCreationStartsARunOnItsOwnThreadThatServesTheNextOnes) {
  StandInServer server("QVEstoqueTeste");
  server.AddClass(CLSID_Teste, &ObjetoTeste::Cria);
  ASSERT_EQ(server.Register(), S_OK);
  EXPECT_EQ(LocalServerRunThread("QVEstoqueTeste"), 0u);

  EXPECT_EQ(Cria(CLSID_Teste, CLSCTX_LOCAL_SERVER), S_OK);
  const DWORD run = LocalServerRunThread("qvestoqueteste.EXE");
  EXPECT_NE(run, 0u);
  EXPECT_NE(run, GetCurrentThreadId());
  EXPECT_EQ(Cria(CLSID_Teste, CLSCTX_ALL), S_OK);
  EXPECT_EQ(server.Starts(), 1);
  EXPECT_EQ(LocalServerRunThread("QVEstoqueTeste"), run);
}

TEST_F(LinkedServers, RunThatEndsWhileStartingAnswersUnavailableAndTheNextRequestStartsAnother) {
  StandInServer server("QVVendasTeste");
  server.AddClass(CLSID_Teste, &ObjetoTeste::Cria);
  server.FailStarts(2);
  ASSERT_EQ(server.Register(), S_OK);
  EXPECT_EQ(Cria(CLSID_Teste, CLSCTX_LOCAL_SERVER), RPC_S_SERVER_UNAVAILABLE_HRESULT);
  EXPECT_EQ(Cria(CLSID_Teste, CLSCTX_LOCAL_SERVER), RPC_S_SERVER_UNAVAILABLE_HRESULT);
  EXPECT_EQ(Cria(CLSID_Teste, CLSCTX_LOCAL_SERVER), S_OK);
  EXPECT_EQ(server.Starts(), 3);
}

TEST_F(LinkedServers, ClassesWithoutAServerToStart) {
  StandInServer server("QVFiliaisTeste");
  server.AddClass(CLSID_Teste, &ObjetoTeste::Cria);
  ASSERT_EQ(server.Register(), S_OK);
  WriteLocalServer(CLSID_Outra, "\\opt\\qv\\QVContabil.exe");  // a module that nothing linked

  EXPECT_EQ(Cria(CLSID_Outra, CLSCTX_LOCAL_SERVER), CO_E_SERVER_EXEC_FAILURE);
  EXPECT_EQ(Cria(CLSID_Teste, CLSCTX_INPROC_SERVER), REGDB_E_CLASSNOTREG);  // not in-process
  EXPECT_EQ(server.Starts(), 0);
  // {A1B2C3D4-0003-...}: in no registry at all
  EXPECT_EQ(Cria({0xA1B2C3D4, 3, 0x4000, {0x80, 0, 0, 0, 0, 0, 0xC0, 0xDE}}, CLSCTX_ALL),
            REGDB_E_CLASSNOTREG);
}

TEST_F(LinkedServers, SuspensionHoldsBackTheCallingRunsClassesOnly) {
  StandInServer server("QVBaseTeste");
  server.AddClass(CLSID_Outra, &ObjetoTeste::Cria);
  ASSERT_EQ(server.Register(), S_OK);
  ASSERT_EQ(Cria(CLSID_Outra, CLSCTX_LOCAL_SERVER), S_OK);
  const DWORD own = Registra(CLSID_Teste, CLSCTX_LOCAL_SERVER, REGCLS_MULTIPLEUSE);

  CoSuspendClassObjects();
  EXPECT_EQ(Cria(CLSID_Teste, CLSCTX_LOCAL_SERVER), RPC_S_SERVER_UNAVAILABLE_HRESULT);
  EXPECT_EQ(Cria(CLSID_Outra, CLSCTX_LOCAL_SERVER), S_OK);
  CoRevokeClassObject(own);
}

TEST_F(LinkedServers, RunThatHoldsItsClassesBackAgainMakesRequestsWaitForItsResumptionOrEnd) {
  for (const bool resumes : {true, false}) {
    SCOPED_TRACE(resumes ? "resumes" : "ends");
    TestClock clock;
    HANDLE hold = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    HANDLE held = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    HANDLE release = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    HANDLE stop = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    std::atomic<int> runs{0};
    ASSERT_TRUE(LinkLocalServer("QVRecua", [&](const char*) {
      const bool first = ++runs == 1;
      CoInitializeEx(nullptr, COINIT_MULTITHREADED);
      auto* factory = new FunctionClassFactory(&ObjetoTeste::Cria);
      DWORD cookie;
      CoRegisterClassObject(CLSID_Teste, factory, CLSCTX_LOCAL_SERVER,
                            REGCLS_MULTIPLEUSE | REGCLS_SUSPENDED, &cookie);
      factory->Release();
      CoResumeClassObjects();
      if (first) {  // serves, then holds its classes back as an idle server deciding to end
        WaitForSingleObject(hold, INFINITE);
        CoSuspendClassObjects();
        SetEvent(held);
        WaitForSingleObject(release, INFINITE);
        if (resumes) CoResumeClassObjects();
      }
      WaitForSingleObject(stop, INFINITE);
      CoUninitialize();
      return 0;  // the run's end revokes its class object
    }));
    WriteLocalServer(CLSID_Teste, "\\opt\\qv\\QVRecua.exe");

    EXPECT_EQ(Cria(CLSID_Teste, CLSCTX_LOCAL_SERVER), S_OK);
    SetEvent(hold);
    ASSERT_EQ(WaitForSingleObject(held, INFINITE), WAIT_OBJECT_0);
    std::thread clock_hand([&] {
      clock.AwaitWaiters(2);  // the run waiting for `release`, the creation waiting for the run
      if (!resumes) SetEvent(stop);
      SetEvent(release);
    });
    EXPECT_EQ(Cria(CLSID_Teste, CLSCTX_LOCAL_SERVER), S_OK);
    EXPECT_EQ(runs, resumes ? 1 : 2);  // served by the resumed run, or by a new one

    SetEvent(stop);
    EXPECT_TRUE(WaitForLocalServerRunEnd("QVRecua", INFINITE));
    clock_hand.join();
    EXPECT_TRUE(UnlinkLocalServer("QVRecua"));
    for (HANDLE event : {hold, held, release, stop}) CloseHandle(event);
  }
}

TEST_F(LinkedServers, StartThatNeverResumesFailsAfterTwoMinutesOfTheClock) {
  TestClock clock(TestClock::SleepMode::kBlocks);
  ASSERT_TRUE(LinkLocalServer("QVLento", [](const char*) {
    CoInitializeEx(nullptr, COINIT_MULTITHREADED);
    auto* factory = new FunctionClassFactory(&ObjetoTeste::Cria);
    DWORD cookie;
    CoRegisterClassObject(CLSID_Teste, factory, CLSCTX_LOCAL_SERVER,
                          REGCLS_MULTIPLEUSE | REGCLS_SUSPENDED, &cookie);
    factory->Release();
    Sleep(200'000);  // held back all this time; the run's end revokes it
    CoUninitialize();
    return 0;
  }));
  WriteLocalServer(CLSID_Teste, "\\opt\\qv\\QVLento.exe");

  std::thread clock_hand([&] {
    clock.AwaitWaiters(2);  // the creation waiting for the start, the run sleeping
    clock.Advance(120'000);
  });
  EXPECT_EQ(Cria(CLSID_Teste, CLSCTX_LOCAL_SERVER), CO_E_SERVER_EXEC_FAILURE);
  clock_hand.join();
  clock.Advance(80'000);
  EXPECT_TRUE(WaitForLocalServerRunEnd("QVLento", INFINITE));
  EXPECT_TRUE(UnlinkLocalServer("QVLento"));
}

TEST_F(LinkedServers, RunThatHasRevokedItsClassesAndIsPausingAnswersUnavailable) {
  TestClock clock(TestClock::SleepMode::kBlocks);
  HANDLE stop = CreateEventA(nullptr, FALSE, FALSE, nullptr);
  HANDLE revoked = CreateEventA(nullptr, FALSE, FALSE, nullptr);
  std::atomic<int> runs{0};
  ASSERT_TRUE(LinkLocalServer("QVPausa", [&](const char*) {
    ++runs;
    CoInitializeEx(nullptr, COINIT_MULTITHREADED);
    auto* factory = new FunctionClassFactory(&ObjetoTeste::Cria);
    DWORD cookie;
    CoRegisterClassObject(CLSID_Teste, factory, CLSCTX_LOCAL_SERVER,
                          REGCLS_MULTIPLEUSE | REGCLS_SUSPENDED, &cookie);
    factory->Release();
    CoResumeClassObjects();
    WaitForSingleObject(stop, INFINITE);
    CoRevokeClassObject(cookie);
    SetEvent(revoked);
    Sleep(1000);  // still running, nothing offered: ending
    CoUninitialize();
    return 0;
  }));
  WriteLocalServer(CLSID_Teste, "\\opt\\qv\\QVPausa");
  auto end_run = [&] {
    SetEvent(stop);
    ASSERT_EQ(WaitForSingleObject(revoked, INFINITE), WAIT_OBJECT_0);
    EXPECT_EQ(Cria(CLSID_Teste, CLSCTX_LOCAL_SERVER), RPC_S_SERVER_UNAVAILABLE_HRESULT);
    clock.AwaitWaiters(1);  // the run in its pause
    clock.Advance(1000);
    EXPECT_TRUE(WaitForLocalServerRunEnd("QVPausa", INFINITE));
  };

  EXPECT_EQ(Cria(CLSID_Teste, CLSCTX_LOCAL_SERVER), S_OK);
  end_run();
  EXPECT_EQ(Cria(CLSID_Teste, CLSCTX_LOCAL_SERVER), S_OK);  // the next request starts a new run
  end_run();
  EXPECT_EQ(runs, 2);
  EXPECT_TRUE(UnlinkLocalServer("QVPausa"));
  CloseHandle(stop);
  CloseHandle(revoked);
}
