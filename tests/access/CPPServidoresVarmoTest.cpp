// The hub's getters of the module's own 17 classes, which are created by class identifier and
// initialised with Inicializa(session record, 64). First against recording class objects registered
// under each class identifier, then against the Varmo server linked into the process: there a
// getter succeeds exactly when creating the class and initialising it directly do, and otherwise
// keeps their HRESULT, whichever of the server's handlers have arrived.
#include "access/CPPServidores.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <typeinfo>

#include "platform/com/apartment.h"
#include "platform/win32/clock.h"
#include "platform/win32/msgqueue.h"
#include "server/VarmoPrograma.h"
#include "tests/support/ClasseGravadora.h"
#include "tests/support/Instalacao.h"

namespace {

struct ClasseModulo {
  const char* getter;
  IUnknown* (*obtem)(CPPServidores& hub);
  CLSID clsid;
  IID iid;
  const std::type_info* tipo;
  // Creates the class and initialises it as the hub does, without the hub.
  HRESULT (*direto)(const _REG_VARMO_INICIALIZAPS& registro);
};

template <class Interface>
HRESULT CriaEInicializa(REFCLSID clsid, REFIID iid, const _REG_VARMO_INICIALIZAPS& registro) {
  Interface* servidor = nullptr;
  HRESULT hr = CoCreateInstance(clsid, nullptr, CLSCTX_LOCAL_SERVER, iid, reinterpret_cast<void**>(&servidor));
  if (FAILED(hr)) return hr;
  hr = servidor->Inicializa(registro, CPPServidores::kVersaoInterface);
  servidor->Release();
  return hr;
}

#define CLASSE(Nome, Classe)                                                                           \
  {"GetI" #Nome, [](CPPServidores& hub) -> IUnknown* { return hub.GetI##Nome(); }, CLSID_##Classe,     \
   IID_I##Classe, &typeid(I##Classe), [](const _REG_VARMO_INICIALIZAPS& registro) {                    \
     return CriaEInicializa<I##Classe>(CLSID_##Classe, IID_I##Classe, registro);                       \
   }}

const ClasseModulo kClassesModulo[] = {
    CLASSE(MestrePP, QVPP_MestrePP),
    CLASSE(TipoOP, QVPP_TipoOP),
    CLASSE(OperacaoProducao, QVPP_OperacaoProducao),
    CLASSE(Processo, QVPP_Processo),
    CLASSE(FluxoProcesso, QVPP_FluxoProcesso),
    CLASSE(FichaTecnica, QVPP_FichaTecnica),
    CLASSE(OP, QVPP_OP),
    CLASSE(Recurso, QVPP_Recursos),
    CLASSE(PlanoManutencao, QVPP_Manutencao),
    CLASSE(Secao, QVPP_Secao),
    CLASSE(Calendario, QVPP_Calendario),
    CLASSE(GestaoManutencao, QVPP_GestaoManutencao),
    CLASSE(Colecao, QVPP_Colecao),
    CLASSE(MotivoRefugo, QVPP_MotivoRefugo),
    CLASSE(MetasProducao, QVPP_MetasProducao),
    CLASSE(TipoRecurso, QVPP_TipoRecurso),
    CLASSE(Relatorios, QVPP_Relatorios),
};
static_assert(sizeof(kClassesModulo) / sizeof(kClassesModulo[0]) == 17);

class HubModulo : public ::testing::Test {
 protected:
  void SetUp() override {
    CoInitializeEx(nullptr, COINIT_MULTITHREADED);
    hub_.Inicializa("ACME", 7, 1234);
  }
  void TearDown() override {
    hub_.Finaliza();
    CoUninitialize();
  }

  Instalacao instalacao_;
  TestClock relogio_;
  CPPServidores hub_;
};

}  // namespace

TEST_F(HubModulo, EachGetterSendsTheSessionRecordAndVersion64AndKeepsOnlyASuccess) {
  const HRESULT respostas[] = {S_OK, static_cast<HRESULT>(0x8004068D), static_cast<HRESULT>(0x800403CF)};
  const _REG_VARMO_INICIALIZAPS sessao = hub_.GetPPInicializa();
  for (const ClasseModulo& classe : kClassesModulo) {
    for (const HRESULT resposta : respostas) {
      SCOPED_TRACE(std::string(classe.getter) + " answering " + std::to_string(static_cast<uint32_t>(resposta)));
      ClasseGravadora gravadora(classe.clsid, classe.iid, *classe.tipo, resposta);
      ASSERT_EQ(gravadora.Registro(), S_OK);

      IUnknown* servidor = classe.obtem(hub_);
      EXPECT_EQ(classe.obtem(hub_), servidor);
      const std::vector<ClasseGravadora::Chamada> chamadas = gravadora.Chamadas();
      ASSERT_EQ(chamadas.size(), SUCCEEDED(resposta) ? 1u : 2u);
      EXPECT_EQ(std::memcmp(&chamadas[0].registro, &sessao, sizeof sessao), 0);
      EXPECT_EQ(chamadas[0].versao, 64);
      if (SUCCEEDED(resposta)) {
        EXPECT_NE(servidor, nullptr);
        EXPECT_EQ(gravadora.Criacoes(), 1);
        EXPECT_EQ(gravadora.Vivos(), 1);
      } else {
        // Each call created and initialised anew; nothing was kept.
        EXPECT_EQ(servidor, nullptr);
        EXPECT_EQ(hub_.GetHR(), resposta);
        EXPECT_EQ(gravadora.Criacoes(), 2);
        EXPECT_EQ(gravadora.Vivos(), 0);
      }
      hub_.Inicializa("ACME", 7, 1234);  // releases what the hub holds before the class goes
      EXPECT_EQ(gravadora.Vivos(), 0);
    }
  }
}

TEST_F(HubModulo, WithVarmoLinkedEachGetterAgreesWithCreatingAndInitialisingDirectly) {
  ASSERT_EQ(VarmoExecuta("\\opt\\qv\\Varmo /RegServer"), S_OK);
  ASSERT_TRUE(VinculaServidorVarmo());
  const _REG_VARMO_INICIALIZAPS sessao = hub_.GetPPInicializa();
  for (const ClasseModulo& classe : kClassesModulo) {
    SCOPED_TRACE(classe.getter);
    const HRESULT direto = classe.direto(sessao);
    IUnknown* servidor = classe.obtem(hub_);
    EXPECT_EQ(servidor != nullptr, SUCCEEDED(direto));
    if (!servidor) {
      EXPECT_EQ(hub_.GetHR(), direto);
    }
  }
  hub_.Finaliza();
  if (const DWORD execucao = LocalServerRunThread(kPPNomeModuloVarmo)) PostThreadMessageA(execucao, WM_QUIT, 0, 0);
  WaitForLocalServerRunEnd(kPPNomeModuloVarmo, INFINITE);
  UnlinkLocalServer(kPPNomeModuloVarmo);
}
