// qvclasses: lists the server's classes as the registry of the local installation (QV_REGISTRY)
// holds them after "Varmo /RegServer": ProgID, CLSID and LocalServer32 path of each, and the type
// library's path; then creates one object of each class the way every client does, which starts
// the registered server inside this process. Then it registers the stand-ins of the family's other
// modules in the same registry (for as long as it runs: they are served from inside this process),
// lists them the same way, and reaches every server through the hub of Tessil for the company DEMO,
// as the module's clients do: the family's servers are created and initialised, the module's own
// classes answer what their handlers answer (E_NOTIMPL while they are pending). Exits with 1 when a
// class is missing, or a class or a family server cannot be created.
#include <cstdio>
#include <cstring>

#include "access/CPPServidores.h"
#include "foundation/CQVRegistryKey.h"
#include "foundation/QVCom.h"
#include "platform/com/apartment.h"
#include "platform/family/ServidoresFamilia.h"
#include "platform/win32/msgqueue.h"
#include "server/VarmoPrograma.h"
#include "server/idl/VarmoIdentificadores.h"

namespace {

CString Valor(const CString& chave) {
  CQVRegistryKey registro;
  if (registro.Abre(HKEY_CLASSES_ROOT, chave, false) != ERROR_SUCCESS) return CString();
  return registro.LeString(nullptr);
}

// Registers the family's stand-ins, lists them and reaches every server through the hub; whether
// every family server was created and initialised.
bool MostraServidoresFamilia(ServidoresFamilia& familia) {
  bool ok = SUCCEEDED(familia.Registra());
  printf("\nStand-ins of the family's servers (HKEY_CLASSES_ROOT):\n");
  for (ModuloFamilia* modulo : familia.Modulos()) {
    for (const auto& classe : modulo->Classes()) {
      const CString clsid = GuidToText(classe->Clsid()).c_str();
      const CString servidor = Valor("CLSID\\" + clsid + "\\LocalServer32");
      ok = ok && !servidor.IsEmpty();
      printf("  %s  %-24s %s  %s\n", modulo->Codigo(), classe->Nome().c_str(), static_cast<const char*>(clsid),
             servidor.IsEmpty() ? "not registered" : static_cast<const char*>(servidor));
    }
  }

  CPPServidores hub;
  hub.Inicializa("DEMO", 1, 1);
  printf("\nThrough the hub, company DEMO, user 1, session 1:\n");
  // The module's own classes may fail (their handlers are pending); the family's servers may not.
  auto mostra = [&ok, &hub](const char* getter, const char* interface, bool criado) {
    const bool familia = std::strncmp(interface, "IQVPP_", 6) != 0;
    ok = ok && (criado || !familia);
    if (criado)
      printf("  %-28s %-24s created and initialised\n", getter, interface);
    else
      printf("  %-28s %-24s answers 0x%08X\n", getter, interface, static_cast<unsigned>(hub.GetHR()));
  };
#define PP_MOSTRA_SERVIDOR(Nome, Interface, clsid, iid, inicializacao) \
  mostra("GetI" #Nome, #Interface, hub.GetI##Nome() != nullptr);
  PP_SERVIDORES_HUB(PP_MOSTRA_SERVIDOR)
#undef PP_MOSTRA_SERVIDOR
  CString razaoSocial;
  if (hub.GetRazaoSocial(razaoSocial) == 0)
    printf("  legal name from the branch server: %s\n", static_cast<const char*>(razaoSocial));
  else
    ok = false;
  hub.Finaliza();
  return ok;
}

}  // namespace

int main() {
  CoInitializeEx(nullptr, COINIT_MULTITHREADED);
  VinculaServidorVarmo();
  bool ok = true;
  printf("Registered classes (HKEY_CLASSES_ROOT):\n");
  for (const ClasseVarmo& classe : kClassesVarmo) {
    const CString clsid = Valor(CString(classe.progId) + "\\CLSID");
    const CString servidor = Valor("CLSID\\" + clsid + "\\LocalServer32");
    IUnknown* objeto = nullptr;
    const HRESULT hr = QVCriaInstanciaServidor(classe.clsid, nullptr, kQVContextoServidor,
                                               classe.iid, reinterpret_cast<void**>(&objeto),
                                               kQVCriaRegistraEvento | kQVCriaRetentaIndisponivel);
    if (objeto) objeto->Release();
    const bool registrada = clsid == classe.textoClsid && !servidor.IsEmpty();
    ok = ok && registrada && SUCCEEDED(hr);
    printf("  %-30s %s  %s  %s\n", classe.progId,
           registrada ? static_cast<const char*>(clsid) : "not registered",
           static_cast<const char*>(servidor), SUCCEEDED(hr) ? "created" : "cannot be created");
  }
  printf(
      "Type library %s 1.0: %s\n", kVarmoLibTexto,
      static_cast<const char*>(Valor(CString("TypeLib\\") + kVarmoLibTexto + "\\1.0\\409\\win32")));

  {
    ServidoresFamilia familia;
    ok = MostraServidoresFamilia(familia) && ok;
  }

  // The server started for these objects would end 5 s after the last one; stop it now instead.
  if (const DWORD execucao = LocalServerRunThread(kPPNomeModuloVarmo))
    PostThreadMessageA(execucao, WM_QUIT, 0, 0);
  WaitForLocalServerRunEnd(kPPNomeModuloVarmo, INFINITE);
  CoUninitialize();
  return ok ? 0 : 1;
}
