// qvclasses: lists the server's classes as the registry of the local installation (QV_REGISTRY)
// holds them after "Varmo /RegServer": ProgID, CLSID and LocalServer32 path of each, and the type
// library's path; then creates one object of each class the way every client does, which starts
// the registered server inside this process. Exits with 1 when a class is missing or cannot be
// created.
#include <cstdio>

#include "foundation/CQVRegistryKey.h"
#include "foundation/QVCom.h"
#include "platform/com/apartment.h"
#include "platform/win32/msgqueue.h"
#include "server/VarmoPrograma.h"
#include "server/idl/VarmoIdentificadores.h"

namespace {

CString Valor(const CString& chave) {
  CQVRegistryKey registro;
  if (registro.Abre(HKEY_CLASSES_ROOT, chave, false) != ERROR_SUCCESS) return CString();
  return registro.LeString(nullptr);
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

  // The server started for these objects would end 5 s after the last one; stop it now instead.
  if (const DWORD execucao = LocalServerRunThread(kPPNomeModuloVarmo))
    PostThreadMessageA(execucao, WM_QUIT, 0, 0);
  WaitForLocalServerRunEnd(kPPNomeModuloVarmo, INFINITE);
  CoUninitialize();
  return ok ? 0 : 1;
}
