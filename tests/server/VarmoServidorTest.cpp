// The server run and its idle shutdown, on the replaced clock. The server is started the way a
// client starts it: the first creation of one of its classes activates the linked server on a
// thread of its own.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

#include "platform/com/apartment.h"
#include "platform/com/classobject.h"
#include "platform/win32/clock.h"
#include "platform/win32/msgqueue.h"
#include "server/CPPModulo.h"
#include "server/PPTextosStatus.h"
#include "server/VarmoPrograma.h"
#include "server/idl/Varmo.h"
#include "tests/platform/com/RegistryContent.h"
#include "tests/platform/win32/TemporaryRegistry.h"

namespace {

constexpr char kPrograma[] = "\\opt\\qv\\Varmo";

// Waits in real time, briefly, for something that another thread is about to do.
void Aguarda(const std::function<bool()>& pronto) {
  const auto limite = std::chrono::steady_clock::now() + std::chrono::seconds(20);
  while (!pronto()) {
    ASSERT_LT(std::chrono::steady_clock::now(), limite) << "the server never got there";
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
}

class ServidorVarmo : public ::testing::Test {
 protected:
  void SetUp() override {
    CoInitializeEx(nullptr, COINIT_MULTITHREADED);
    ASSERT_EQ(VarmoExecuta((std::string(kPrograma) + " /RegServer").c_str()), S_OK);
  }
  void TearDown() override {
    if (const DWORD execucao = LocalServerRunThread(kPPNomeModuloVarmo))
      PostThreadMessageA(execucao, WM_QUIT, 0, 0);
    WaitForLocalServerRunEnd(kPPNomeModuloVarmo, INFINITE);
    UnlinkLocalServer(kPPNomeModuloVarmo);
    CoUninitialize();
  }

  IQVPP_TipoOP* Cria() {
    IQVPP_TipoOP* objeto = nullptr;
    EXPECT_EQ(CoCreateInstance(CLSID_QVPP_TipoOP, nullptr, CLSCTX_LOCAL_SERVER, IID_IQVPP_TipoOP,
                               reinterpret_cast<void**>(&objeto)),
              S_OK);
    return objeto;
  }
  HRESULT Tenta() {
    IUnknown* objeto = nullptr;
    const HRESULT hr = CoCreateInstance(CLSID_QVPP_TipoOP, nullptr, CLSCTX_LOCAL_SERVER,
                                        IID_IUnknown, reinterpret_cast<void**>(&objeto));
    if (objeto) objeto->Release();
    return hr;
  }
  // Tenta, for a creation that activation keeps waiting: should nothing answer it within the real
  // time of Aguarda, the clock moves past the 2 minutes that activation waits for a server, so
  // that the test fails instead of hanging.
  HRESULT TentaSemPendurar() {
    std::atomic<bool> respondida{false};
    std::thread vigia([&] {
      Aguarda([&] { return respondida.load(); });
      if (!respondida) clock_.Advance(120'000);
    });
    const HRESULT hr = Tenta();
    respondida = true;
    vigia.join();
    return hr;
  }
  DWORD Execucao() { return LocalServerRunThread(kPPNomeModuloVarmo); }

  // After the last release: the monitor has begun its quiet period and is timing it. Returns the
  // tick at which the period began.
  DWORD AguardaSilencio() {
    Aguarda([] { return !PPModulo().GetAtividade(); });
    clock_.AwaitWaiters(2);  // the main thread in its message loop, the monitor in its timed wait
    return GetTickCount();
  }
  // The monitor is back to waiting, without a time limit, for the last object to go.
  void AguardaEsperaSemLimite() {
    Aguarda([] { return PPModulo().GetEstadoMonitor() == PPEstadoMonitor::kAguardandoLiberacao; });
    clock_.AwaitWaiters(2);
  }
  std::vector<DWORD> Suspensoes() {
    std::lock_guard<std::mutex> lock(mutex_);
    return suspensoes_;
  }

  TemporaryRegistry registry_;
  TestClock clock_;  // Sleep advances it; the monitor's waits end when the test advances it
  std::mutex mutex_;
  std::vector<DWORD> suspensoes_;      // the ticks at which the monitor held the classes back
  std::function<void()> naSuspensao_;  // runs once, on the monitor thread, at the next one
  ClassObjectSuspensionHook hook_{[this] {
    std::function<void()> acao;
    {
      std::lock_guard<std::mutex> lock(mutex_);
      suspensoes_.push_back(GetTickCount());
      acao.swap(naSuspensao_);
    }
    if (acao) acao();
  }};
};

class ServidorAtivado : public ServidorVarmo {
 protected:
  void SetUp() override {
    ServidorVarmo::SetUp();
    ASSERT_TRUE(VinculaServidorVarmo());
  }
};

}  // namespace

TEST_F(ServidorAtivado, LastReleaseFollowedByFiveQuietSecondsEndsTheRunAfterItsPause) {
  IQVPP_TipoOP* objeto = Cria();
  const DWORD execucao = Execucao();
  EXPECT_NE(execucao, 0u);
  EXPECT_NE(execucao, GetCurrentThreadId());
  EXPECT_EQ(PPModulo().GetIdThreadPrincipal(), execucao);
  EXPECT_EQ(PPModulo().GetBloqueios(), 1);
  EXPECT_EQ(objeto->LimpaFiltro(), PPErroHResult(1585)) << "the call reaches the object's handler";
  objeto->Release();
  EXPECT_EQ(PPModulo().GetBloqueios(), 0);

  const DWORD silencio = AguardaSilencio();
  clock_.Advance(4999);
  clock_.Advance(1);
  EXPECT_TRUE(WaitForLocalServerRunEnd(kPPNomeModuloVarmo, INFINITE));
  EXPECT_EQ(Suspensoes(), std::vector<DWORD>{silencio + 5000});
  EXPECT_EQ(GetTickCount(), silencio + 5000 + 1000);  // the pause after the message loop

  IQVPP_TipoOP* outro = Cria();  // a new run
  EXPECT_NE(Execucao(), execucao);
  outro->Release();
}

TEST_F(ServidorAtivado, ObjectsWithinTheQuietPeriodKeepTheSameRun) {
  Cria()->Release();
  const DWORD primeiro = AguardaSilencio();
  const DWORD execucao = Execucao();

  clock_.Advance(3000);
  Cria()->Release();  // the last release again: the quiet period starts over
  const DWORD segundo = AguardaSilencio();
  EXPECT_EQ(segundo, primeiro + 3000);

  clock_.Advance(3000);
  IQVPP_TipoOP* vivo = Cria();
  EXPECT_EQ(Execucao(), execucao);
  clock_.Advance(2000);  // the period ends with an object alive
  AguardaEsperaSemLimite();
  clock_.Advance(60'000);
  EXPECT_TRUE(Suspensoes().empty());

  vivo->Release();
  const DWORD terceiro = AguardaSilencio();
  clock_.Advance(5000);
  EXPECT_TRUE(WaitForLocalServerRunEnd(kPPNomeModuloVarmo, INFINITE));
  EXPECT_EQ(Suspensoes(), std::vector<DWORD>{terceiro + 5000});
}

TEST_F(ServidorAtivado, ObjectCreatedBetweenTheMonitorsTwoLooksKeepsTheRunServing) {
  IClassFactory* fabrica = nullptr;
  ASSERT_EQ(CoGetClassObject(CLSID_QVPP_TipoOP, CLSCTX_LOCAL_SERVER, nullptr, IID_IClassFactory,
                             reinterpret_cast<void**>(&fabrica)),
            S_OK);
  const DWORD execucao = Execucao();
  IUnknown* entre = nullptr;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    naSuspensao_ = [&] {
      fabrica->CreateInstance(nullptr, IID_IUnknown, reinterpret_cast<void**>(&entre));
      clock_.AwaitWaiters(2);  // the main thread in its message loop, the creation below
    };
  }

  Cria()->Release();
  const DWORD primeiro = AguardaSilencio();
  clock_.Advance(5000);
  Aguarda([this] { return !Suspensoes().empty(); });
  // Asked while the classes are held back: it waits, and the run serves it once it has resumed
  // them. A refusal ends the test here, as the monitor then stays in the hook until the run ends.
  ASSERT_EQ(TentaSemPendurar(), S_OK);
  AguardaEsperaSemLimite();
  ASSERT_NE(entre, nullptr);
  EXPECT_EQ(Tenta(), S_OK);
  EXPECT_EQ(Execucao(), execucao);

  entre->Release();
  const DWORD segundo = AguardaSilencio();
  clock_.Advance(5000);
  EXPECT_TRUE(WaitForLocalServerRunEnd(kPPNomeModuloVarmo, INFINITE));
  EXPECT_EQ(Suspensoes(), (std::vector<DWORD>{primeiro + 5000, segundo + 5000}));
  fabrica->Release();

  EXPECT_EQ(Tenta(), S_OK);  // once it has ended, a new run serves
  EXPECT_NE(Execucao(), execucao);
}

TEST_F(ServidorVarmo, ServerThatNeverHadAnObjectNeverEndsByItself) {
  // Without a switch that ends the line, the program serves; nothing is registered or removed.
  for (const char* opcoes : {" -Embedding", " /RegServer extra", " -UnregServer x"}) {
    TemporaryRegistry vazio;
    const std::string linha = std::string(kPrograma) + opcoes;
    std::atomic<int> codigo{-1};
    std::thread programa([&] { codigo = VarmoExecuta(linha.c_str()); });
    Aguarda([] {
      IClassFactory* fabrica = nullptr;
      if (FAILED(CoGetClassObject(CLSID_QVPP_TipoOP, CLSCTX_LOCAL_SERVER, nullptr,
                                  IID_IClassFactory, reinterpret_cast<void**>(&fabrica))))
        return false;
      fabrica->Release();
      return true;
    });
    clock_.AwaitWaiters(2);
    for (int i = 0; i < 3; ++i) clock_.Advance(60'000);
    AguardaEsperaSemLimite();
    EXPECT_TRUE(Suspensoes().empty()) << linha;
    EXPECT_EQ(codigo, -1) << linha;
    EXPECT_EQ(RegistryContent(HKEY_CLASSES_ROOT, ""), std::vector<std::string>{}) << linha;

    PostThreadMessageA(PPModulo().GetIdThreadPrincipal(), WM_QUIT, 0, 0);
    programa.join();
    EXPECT_EQ(codigo, 0) << linha;
  }
}
