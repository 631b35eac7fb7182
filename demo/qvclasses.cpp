// qvclasses: lists the server's classes as the registry of the local installation (QV_REGISTRY)
// holds them after "Varmo /RegServer": ProgID, CLSID and LocalServer32 path of each, and the type
// library's path; then creates one object of each class the way every client does, which starts
// the registered server inside this process. Then it registers the stand-ins of the family's other
// modules in the same registry (for as long as it runs: they are served from inside this process),
// lists them the same way, and reaches every server through the hub of Tessil for the company DEMO,
// as the module's clients do: the family's servers are created and initialised, the module's own
// classes answer what their handlers answer (E_NOTIMPL while they are pending); then it lists the
// records that qvinstala seeded for DEMO as those servers answer them (SementeDemo.h), and the
// module's settings and data version record as QVPP_MestrePP answers them to a session of DEMO.
// Last, with the family's history service stood in for too, the company ANTIGA, whose files
// qvinstala left in old formats (SementeAntiga.h): its version record as the file holds it, then a
// session of QVPP_MestrePP, whose Inicializa upgrades the files, with the settings and the version
// record that it answers after, and the history lines that the upgrade wrote, in order.
// Exits with 1 when a class is missing, a class or a family server cannot be created, a seeded
// record cannot be read, or the upgrade of ANTIGA fails.
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "access/CPPServidores.h"
#include "demo/SementeAntiga.h"
#include "demo/SementeDemo.h"
#include "foundation/CQVArqEx.h"
#include "foundation/CQVRegistryKey.h"
#include "foundation/QVCom.h"
#include "foundation/QVData.h"
#include "platform/com/apartment.h"
#include "platform/family/ServidoresFamilia.h"
#include "platform/family/historico/StandInHistorico.h"
#include "platform/win32/codepage.h"
#include "platform/win32/msgqueue.h"
#include "server/CPPAtualizaVersao.h"
#include "server/CPPNomesArquivos.h"
#include "server/VarmoPrograma.h"
#include "server/idl/VarmoFichaTecnicaMestre.h"
#include "server/idl/VarmoIdentificadores.h"

namespace {

CString Valor(const CString& chave) {
  CQVRegistryKey registro;
  if (registro.Abre(HKEY_CLASSES_ROOT, chave, false) != ERROR_SUCCESS) return CString();
  return registro.LeString(nullptr);
}

std::string Data(uint16_t usData) {
  char texto[11];
  return usData ? QVDataParaTexto(usData, texto, true) : "never";
}

void MostraVersao(const _REG_PP_VERSAOPS& versao) {
  const uint16_t* slots = &versao.usVersaoMestre;
  std::string texto;
  for (int grupo = 0; grupo < 16; ++grupo) texto += (grupo ? " " : "") + std::to_string(slots[grupo]);
  printf("  version record: family version %u, created %s, last conversion %s\n", versao.usVersaoOrvel,
         Data(versao.usDataCriacao).c_str(), Data(versao.usDataUltimaConversao).c_str());
  printf("  format version of the 16 groups of files: %s\n", texto.c_str());
}

// The settings and the version record of a company through QVPP_MestrePP, created as every client
// creates it and initialised with the session of user 1 for this program's version 64 (its
// Inicializa is the gate of the session: it creates the version record of a new company, upgrades
// the data files of an old one and reads the open period from the branch server); whether every
// call succeeded.
bool MostraMestre(const char* empresa) {
  printf("\nQVPP_MestrePP, company %s, user 1, session 1, version 64:\n", empresa);
  IQVPP_MestrePP* mestre = nullptr;
  HRESULT hr = QVCriaInstanciaServidor(CLSID_QVPP_MestrePP, nullptr, kQVContextoServidor, IID_IQVPP_MestrePP,
                                       reinterpret_cast<void**>(&mestre), kQVCriaRegistraEvento);
  const char* chamada = "create";
  _REG_VARMO_MESTRE regMestre{};
  _REG_PP_VERSAOPS versao{};
  if (SUCCEEDED(hr)) {
    _REG_VARMO_INICIALIZAPS sessao{};
    std::snprintf(sessao.szEmpresa, sizeof sessao.szEmpresa, "%s", empresa);
    sessao.usUsuario = 1;
    sessao.lNumeroSessao = 1;
    sessao.cInicializarCompleto = 1;
    chamada = "Inicializa";
    hr = mestre->Inicializa(sessao, 64);
    if (SUCCEEDED(hr)) {
      chamada = "Le";
      hr = mestre->Le(&regMestre);
    }
    if (SUCCEEDED(hr)) {
      chamada = "LeVersao";
      hr = mestre->LeVersao(&versao);
    }
  }
  if (mestre) mestre->Release();
  if (FAILED(hr)) {
    printf("  %s answers 0x%08X\n", chamada, static_cast<unsigned>(hr));
    return false;
  }
  char mes[8];
  printf("  settings: implanted %s, open period %s-%s, price tables %u (products) and %u (services), %u terminals\n",
         QVMesAnoParaTexto(regMestre.usMesAnoImplantacao, mes, true), Data(regMestre.usDataInferiorPeriodo).c_str(),
         Data(regMestre.usDataSuperiorPeriodo).c_str(),
         static_cast<unsigned>(regMestre.ulPonteiroTabelaPrecoVendaProduto),
         static_cast<unsigned>(regMestre.ulPonteiroTabelaPrecoVendaServico), regMestre.iQuantidadeTerminais);
  printf("  requirements: automatic %u, by hand %u, cancel automatic ones %u; release order items on entry %u; "
         "report years with %u digits\n",
         regMestre.cGerarNecessidadeAutomatica, regMestre.cPermiteInsercaoManualNecessidade,
         regMestre.cPermiteCancelarNecessidadeAutomatica, regMestre.cLiberarItemPedido,
         regMestre.cDigitosDataRelatorio);
  MostraVersao(versao);
  return true;
}

// The version record as the company's file holds it, read without a session (which would upgrade
// the company); whether it could be read.
bool MostraVersaoArquivo(const char* empresa) {
  PPRegistroVersao registro{};
  CQVArqEx arquivo;
  const CString caminho = CPPNomesArquivos::GetDiretorioDados(empresa) + CPPNomesArquivos::ArqVersao();
  if (int erro = arquivo.LeRegistro(caminho, kPPRegistroVersao, &registro, kPPTamanhoRegistroVersao)) {
    printf("  reading %s answers %d\n", static_cast<const char*>(caminho), erro);
    return false;
  }
  _REG_PP_VERSAOPS versao{};
  std::memcpy(&versao, &registro, sizeof registro.usVersao);
  versao.usVersaoOrvel = registro.usVersaoOrvel;
  versao.usDataCriacao = registro.usDataCriacao;
  versao.usDataUltimaConversao = registro.usDataUltimaConversao;
  MostraVersao(versao);
  return true;
}

// The company in old formats (SementeAntiga.h): its version record before its first session, the
// session that upgrades it, and the history lines that the upgrade wrote, in order, from the
// history service; whether the upgrade and every read succeeded.
bool MostraAntiga() {
  std::vector<EntradaHistorico> entradas;
  auto leHistorico = [&entradas] {
    const HRESULT hr = LeHistoricoEmpresa(kAntigaEmpresa, &entradas);
    if (FAILED(hr)) printf("  its history answers 0x%08X\n", static_cast<unsigned>(hr));
    return SUCCEEDED(hr);
  };
  printf("\nCompany %s before its first session:\n", kAntigaEmpresa);
  if (!MostraVersaoArquivo(kAntigaEmpresa) || !leHistorico()) return false;
  const size_t anteriores = entradas.size();
  const bool ok = MostraMestre(kAntigaEmpresa);
  // A failed upgrade keeps the groups that it finished at their new versions.
  if (!ok) MostraVersaoArquivo(kAntigaEmpresa);
  if (!leHistorico()) return false;
  printf("  history lines of the upgrade:\n");
  for (size_t i = anteriores; i < entradas.size(); ++i) {
    if (entradas[i].tipo != EntradaHistorico::kLinha) continue;
    std::string texto = entradas[i].texto;
    while (!texto.empty() && (texto.back() == '\r' || texto.back() == '\n')) texto.pop_back();
    printf("    %s\n", Utf8FromAnsi(texto).c_str());
  }
  return ok;
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
  ok = MostraDemo(hub) && ok;
  hub.Finaliza();
  ok = MostraMestre("DEMO") && ok;
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
    StandInHistorico historico;
    ok = SUCCEEDED(historico.Register()) && ok;
    ok = MostraServidoresFamilia(familia) && ok;
    ok = MostraAntiga() && ok;
  }

  // The server started for these objects would end 5 s after the last one; stop it now instead.
  if (const DWORD execucao = LocalServerRunThread(kPPNomeModuloVarmo))
    PostThreadMessageA(execucao, WM_QUIT, 0, 0);
  WaitForLocalServerRunEnd(kPPNomeModuloVarmo, INFINITE);
  CoUninitialize();
  return ok ? 0 : 1;
}
