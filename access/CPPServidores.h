// The hub through which every client of the module reaches the COM servers: the module's 17
// classes and the servers of the family's other modules (base system, inventory, branches, sales
// orders, purchase receipts). It derives from the session context and holds one interface per
// server, 36 in all (PP_SERVIDORES_HUB below), each created on first use by its class identifier
// (QVCriaInstanciaServidor: context 23, retrying while the server is unavailable, reporting to the
// event log), initialised with the session and kept until the hub releases its interfaces
// (Finaliza, a new Inicializa, the destructor) or a setter replaces it. The readers, caches and
// rule classes derive from it.
//
// Ownership: a getter's result is borrowed: the caller does not release it, and it stays valid
// until the hub releases its interfaces. Null means failure, and only the failure's HRESULT is
// written, into `hr` of the last error (GetHR); the other three members of the last error are the
// rule classes'. A getter never looks again at an interface it holds. A server whose creation or
// initialisation fails is not kept: the interface is released, the member stays null and the next
// call creates and initialises a new one, so the cause stays in GetHR instead of a held server that
// answers "not initialised" ever after. A setter takes a reference on its argument before it
// releases the held interface, and does not initialise what it is given.
//
// The company record (216 bytes) is filled by the branch server when the branch interface is
// initialised, and cleared whenever the hub lets go of the branch interface; Limpar leaves it, so
// the legal name survives the validations of the rule classes.
//
// One thread at a time; the host initialises COM on that thread. Not copyable.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <type_traits>

#include "access/CPPInicializa.h"
#include "foundation/QVCom.h"
#include "model/T_Lista.h"
#include "platform/family/base/InterfacesBase.h"
#include "platform/family/compras/InterfaceEntrada.h"
#include "platform/family/estoque/InterfacesEstoque.h"
#include "platform/family/filiais/InterfaceFilial.h"
#include "platform/family/vendas/InterfacePedido.h"
#include "server/idl/Varmo.h"

// The 36 servers in the order of the hub's members: the name of the getter and setter
// (GetI<name>, SetI<name>), the interface, the class and interface identifiers, and the member
// function of the hub that initialises a new interface.
#define PP_SERVIDORES_HUB(X)                                                                                       \
  X(Usuario, IQVDF_Usuario, CLSID_QVDF_Usuario, IID_IQVDF_Usuario, InicializaUsuario)                              \
  X(Produto, IQVDF_Produto, CLSID_QVDF_Produto, IID_IQVDF_Produto, InicializaEmpresaUsuarioSessao)                 \
  X(GradeProduto, IQVDF_GradesProduto, CLSID_QVDF_GradesProduto, IID_IQVDF_GradesProduto,                          \
    InicializaEmpresaUsuarioSessao)                                                                                \
  X(Filial, IQVCN_Filial, CLSID_QVCN_Filial, IID_IQVCN_Filial, InicializaFilial)                                   \
  X(PlanoGerencial, IQVDF_Plano, CLSID_QVDF_Plano, IID_IQVDF_Plano, InicializaPlanoGerencial)                      \
  X(PlanoContabil, IQVDF_Plano, CLSID_QVDF_Plano, IID_IQVDF_Plano, InicializaPlanoContabil)                        \
  X(Requerente, IQVDF_Requerente, CLSID_QVDF_Requerente, IID_IQVDF_Requerente, InicializaRequerente)               \
  X(Municipio, IQVDF_Municipio, CLSID_QVDF_Municipio, IID_IQVDF_Municipio, InicializaEmpresaUsuarioSessao)         \
  X(InformacaoSuplementar, IQVDF_CTG, CLSID_QVDF_CTG, IID_IQVDF_CTG, InicializaInformacaoSuplementar)              \
  X(CodigoBarras, IQVDF_EstrCodBar, CLSID_QVDF_EstrCodBar, IID_IQVDF_EstrCodBar, InicializaSemArgumentos)          \
  X(Mensagem, IQVDF_Mensagem, CLSID_QVDF_Mensagem, IID_IQVDF_Mensagem, InicializaEmpresaUsuarioSessao)             \
  X(RequisicaoInterna, IQVDF_RequisicaoInterna, CLSID_QVDF_RequisicaoInterna, IID_IQVDF_RequisicaoInterna,         \
    InicializaEmpresaUsuarioSessao)                                                                                \
  X(Feriado, IQVDF_Feriado, CLSID_QVDF_Feriado, IID_IQVDF_Feriado, InicializaEmpresa)                              \
  X(MestrePP, IQVPP_MestrePP, CLSID_QVPP_MestrePP, IID_IQVPP_MestrePP, InicializaSessao)                           \
  X(TipoOP, IQVPP_TipoOP, CLSID_QVPP_TipoOP, IID_IQVPP_TipoOP, InicializaSessao)                                   \
  X(OperacaoProducao, IQVPP_OperacaoProducao, CLSID_QVPP_OperacaoProducao, IID_IQVPP_OperacaoProducao,             \
    InicializaSessao)                                                                                              \
  X(Processo, IQVPP_Processo, CLSID_QVPP_Processo, IID_IQVPP_Processo, InicializaSessao)                           \
  X(FluxoProcesso, IQVPP_FluxoProcesso, CLSID_QVPP_FluxoProcesso, IID_IQVPP_FluxoProcesso, InicializaSessao)       \
  X(FichaTecnica, IQVPP_FichaTecnica, CLSID_QVPP_FichaTecnica, IID_IQVPP_FichaTecnica, InicializaSessao)           \
  X(OP, IQVPP_OP, CLSID_QVPP_OP, IID_IQVPP_OP, InicializaSessao)                                                   \
  X(Recurso, IQVPP_Recursos, CLSID_QVPP_Recursos, IID_IQVPP_Recursos, InicializaSessao)                            \
  X(PlanoManutencao, IQVPP_Manutencao, CLSID_QVPP_Manutencao, IID_IQVPP_Manutencao, InicializaSessao)              \
  X(Secao, IQVPP_Secao, CLSID_QVPP_Secao, IID_IQVPP_Secao, InicializaSessao)                                       \
  X(Calendario, IQVPP_Calendario, CLSID_QVPP_Calendario, IID_IQVPP_Calendario, InicializaSessao)                   \
  X(GestaoManutencao, IQVPP_GestaoManutencao, CLSID_QVPP_GestaoManutencao, IID_IQVPP_GestaoManutencao,             \
    InicializaSessao)                                                                                              \
  X(Colecao, IQVPP_Colecao, CLSID_QVPP_Colecao, IID_IQVPP_Colecao, InicializaSessao)                               \
  X(MotivoRefugo, IQVPP_MotivoRefugo, CLSID_QVPP_MotivoRefugo, IID_IQVPP_MotivoRefugo, InicializaSessao)           \
  X(MetasProducao, IQVPP_MetasProducao, CLSID_QVPP_MetasProducao, IID_IQVPP_MetasProducao, InicializaSessao)       \
  X(TipoRecurso, IQVPP_TipoRecurso, CLSID_QVPP_TipoRecurso, IID_IQVPP_TipoRecurso, InicializaSessao)               \
  X(Relatorios, IQVPP_Relatorios, CLSID_QVPP_Relatorios, IID_IQVPP_Relatorios, InicializaSessao)                   \
  X(MestreES, IQVES_Mestre, CLSID_QVES_Mestre, IID_IQVES_Mestre, InicializaEstoque)                                \
  X(Armazenagem, IQVES_Armazenagem, CLSID_QVES_Armazenagem, IID_IQVES_Armazenagem, InicializaEstoque)              \
  X(Movimento, IQVES_Movimento, CLSID_QVES_Movimento, IID_IQVES_Movimento, InicializaEstoque)                      \
  X(NotaFiscalFT, IQVDF_NotasFiscais, CLSID_QVDF_NotasFiscais, IID_IQVDF_NotasFiscais, InicializaNotaFiscalFT)     \
  X(Pedido, IQVFT_Pedido, CLSID_QVFT_Pedido, IID_IQVFT_Pedido, InicializaPedido)                                   \
  X(NotaFiscalRE, IQVCM_RegistroEntrada, CLSID_QVCM_RegistroEntrada, IID_IQVCM_RegistroEntrada,                    \
    InicializaNotaFiscalRE)

// The initialisations of the family's servers for a session (company, user, session number),
// shared by the hub and by the handlers that create such servers themselves (the order handler).
// The company converted from the system's code page; the caller frees it.
BSTR PPEmpresaBSTR(const CString& empresa);
// A zeroed record with the session in its szEmpresa (cut to the field, terminator included),
// usUsuario and lNumeroSessao.
template <class Registro>
Registro PPRegistroSessao(const CString& empresa, uint16_t usUsuario, int32_t lNumeroSessao) {
  Registro registro;
  std::memset(&registro, 0, sizeof registro);
  std::memcpy(registro.szEmpresa, static_cast<const char*>(empresa),
              std::min<size_t>(empresa.GetLength(), sizeof registro.szEmpresa - 1));
  registro.usUsuario = usUsuario;
  registro.lNumeroSessao = lNumeroSessao;
  return registro;
}
// Inicializa(company as BSTR, user, session), the BSTR freed after the call.
template <class Interface>
HRESULT PPInicializaEmpresaUsuarioSessao(Interface* servidor, const CString& empresa, uint16_t usUsuario,
                                         int32_t lNumeroSessao) {
  const BSTR bsEmpresa = PPEmpresaBSTR(empresa);
  const HRESULT hr = servidor->Inicializa(bsEmpresa, usUsuario, lNumeroSessao);
  SysFreeString(bsEmpresa);
  return hr;
}
// The inventory servers: the same with the production module's number.
template <class Interface>
HRESULT PPInicializaEstoque(Interface* servidor, const CString& empresa, uint16_t usUsuario, int32_t lNumeroSessao) {
  const BSTR bsEmpresa = PPEmpresaBSTR(empresa);
  const HRESULT hr = servidor->Inicializa(bsEmpresa, usUsuario, lNumeroSessao, kESModuloProducao);
  SysFreeString(bsEmpresa);
  return hr;
}

// One interface of the hub: null or one reference, released at the end.
template <class Interface>
class CPPInterfaceServidor {
 public:
  CPPInterfaceServidor() = default;
  ~CPPInterfaceServidor() { Libera(); }
  CPPInterfaceServidor(const CPPInterfaceServidor&) = delete;
  CPPInterfaceServidor& operator=(const CPPInterfaceServidor&) = delete;

  Interface* Get() const { return interface_; }
  // Takes over the caller's reference.
  void Guarda(Interface* nova) { interface_ = nova; }
  // A reference on `nova` first, then the held one released: setting the held interface again
  // keeps it alive. Whether the held interface changed.
  bool Define(Interface* nova) {
    if (nova) nova->AddRef();
    Interface* antiga = interface_;
    interface_ = nova;
    if (antiga) antiga->Release();
    return antiga != nova;
  }
  // Null first, then released, so that nothing the release sets off finds it held.
  void Libera() {
    Interface* antiga = interface_;
    interface_ = nullptr;
    if (antiga) antiga->Release();
  }

 private:
  Interface* interface_ = nullptr;
};

class CPPServidores : public CPPInicializa {
 public:
  // The error record of the hub and of the rule classes built on it.
  struct PPMensagemErro {
    int32_t hr;        // HRESULT of the failed server call or creation; 0 when none
    int32_t lCodigo;   // message code of a rule class (6: the object was never initialised)
    uint16_t usCampo;  // number of the field that failed the validation
    uint16_t usExtra;  // a further value of the rule class
  };
  static_assert(sizeof(PPMensagemErro) == 12);
  static_assert(offsetof(PPMensagemErro, lCodigo) == 4);
  static_assert(offsetof(PPMensagemErro, usCampo) == 8);
  static_assert(offsetof(PPMensagemErro, usExtra) == 10);

  // The interface version that the module's own classes expect in Inicializa.
  static constexpr uint16_t kVersaoInterface = 64;

  CPPServidores();
  ~CPPServidores() override;
  CPPServidores(const CPPServidores&) = delete;
  CPPServidores& operator=(const CPPServidores&) = delete;

  // Releases every interface, then ends the session; the last error stays. 0.
  int32_t Finaliza() override;

  int32_t GetHR() const { return erro_.hr; }
  // The legal name that the branch server put in the company record, and 0; without a branch
  // server GetHR(), and the argument is left as it is.
  int32_t GetRazaoSocial(CString& razaoSocial);

#define PP_DECLARA_SERVIDOR(Nome, Interface, clsid, iid, inicializacao)                                  \
  Interface* GetI##Nome() {                                                                              \
    return Obtem(servidor##Nome##_, clsid, iid, [this](Interface* nova) { return inicializacao(nova); }); \
  }                                                                                                      \
  void SetI##Nome(Interface* nova) { Define(servidor##Nome##_, nova); }
  PP_SERVIDORES_HUB(PP_DECLARA_SERVIDOR)
#undef PP_DECLARA_SERVIDOR

 protected:
  // Zeroes `erro` and the last error and empties the accumulated list (its storage freed); the
  // company record stays. The rule classes call it at the start of every validation.
  void Limpar(PPMensagemErro& erro);
  // Every held interface set to null and released, in the members' order; the company record is
  // cleared with the branch interface.
  void ReleaseInterfaces();

  PPMensagemErro& UltimoErro() { return erro_; }
  T_Lista<PPMensagemErro>& ErrosAcumulados() { return erros_; }

 private:
  // The one creation path of the 36 getters.
  template <class Interface, class Inicializacao>
  Interface* Obtem(CPPInterfaceServidor<Interface>& membro, REFCLSID clsid, REFIID iid,
                   Inicializacao inicializa) {
    if (Interface* held = membro.Get()) return held;
    Interface* nova = nullptr;
    HRESULT hr = QVCriaInstanciaServidor(clsid, nullptr, kQVContextoServidor, iid, reinterpret_cast<void**>(&nova),
                                         kQVCriaRegistraEvento | kQVCriaRetentaIndisponivel);
    if (SUCCEEDED(hr)) {
      hr = inicializa(nova);
      if (FAILED(hr)) nova->Release();
    }
    if (FAILED(hr)) {
      erro_.hr = hr;
      return nullptr;
    }
    membro.Guarda(nova);
    return nova;
  }
  template <class Interface>
  void Define(CPPInterfaceServidor<Interface>& membro, Interface* nova) {
    if (membro.Define(nova) && std::is_same_v<Interface, IQVCN_Filial>) LimpaRegistroEmpresa();
  }
  void LimpaRegistroEmpresa();

  // The initialisations of the table. A BSTR built for a call is freed after it.
  template <class Interface>
  HRESULT InicializaSessao(Interface* servidor) {
    return servidor->Inicializa(GetPPInicializa(), kVersaoInterface);
  }
  template <class Interface>
  HRESULT InicializaEmpresaUsuarioSessao(Interface* servidor) {
    return PPInicializaEmpresaUsuarioSessao(servidor, GetEmpresa(), GetUsuario(), GetNumeroSessao());
  }
  template <class Interface>
  HRESULT InicializaEstoque(Interface* servidor) {
    return PPInicializaEstoque(servidor, GetEmpresa(), GetUsuario(), GetNumeroSessao());
  }
  HRESULT InicializaEmpresa(IQVDF_Feriado* servidor);
  HRESULT InicializaSemArgumentos(IQVDF_EstrCodBar* servidor);
  HRESULT InicializaUsuario(IQVDF_Usuario* servidor);
  HRESULT InicializaFilial(IQVCN_Filial* servidor);
  HRESULT InicializaPlanoGerencial(IQVDF_Plano* servidor);
  HRESULT InicializaPlanoContabil(IQVDF_Plano* servidor);
  HRESULT InicializaRequerente(IQVDF_Requerente* servidor);
  HRESULT InicializaInformacaoSuplementar(IQVDF_CTG* servidor);
  HRESULT InicializaNotaFiscalFT(IQVDF_NotasFiscais* servidor);
  HRESULT InicializaPedido(IQVFT_Pedido* servidor);
  HRESULT InicializaNotaFiscalRE(IQVCM_RegistroEntrada* servidor);

  BSTR EmpresaBSTR() const { return PPEmpresaBSTR(GetEmpresa()); }
  template <class Registro>
  Registro RegistroSessao() const {
    return PPRegistroSessao<Registro>(GetEmpresa(), GetUsuario(), GetNumeroSessao());
  }

  PPMensagemErro erro_{};
  T_Lista<PPMensagemErro> erros_;
#define PP_MEMBRO_SERVIDOR(Nome, Interface, clsid, iid, inicializacao) CPPInterfaceServidor<Interface> servidor##Nome##_;
  PP_SERVIDORES_HUB(PP_MEMBRO_SERVIDOR)
#undef PP_MEMBRO_SERVIDOR
  _REG_CN_EMPRESAPS registroEmpresa_{};
};
