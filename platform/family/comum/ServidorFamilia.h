// The frame of the family's stand-in servers. Every server of another module that this system
// calls (base system DF, inventory ES, branches CN, sales FT, receipts CM) is stood in for by a COM
// class of its module's StandInServer, created by its class identifier through the COM layer as the
// real one is, so that a client's creation, its retries and its failures are the real ones. What
// they all share is written here once; a module declares its classes over it (ServidorBase.cpp and
// the others):
//
//   ClasseFamilia        one class: its identifiers and its module's code, what tests inject into
//                        it and what its initialisations received.
//   ObjetoFamilia<I>     one object of interface I: IUnknown, and the session that its
//                        initialisation keeps with the company's directory of the module.
//   ObjetoEmpresaUsuarioSessao<I>, ObjetoRegistroSessao<I, R>
//                        the two initialisation forms that most servers share: the company as a
//                        BSTR with user and session, or one record by value whose fields
//                        szEmpresa, usUsuario and lNumeroSessao hold the session.
//   ModuloFamilia        a module: its StandInServer and its classes.
//
// Every initialisation ends in IniciaSessao: it records what arrived, answers an injected failure,
// refuses a record that its form finds invalid or that carries no company (E_INVALIDARG), and looks
// the company's directory of the module up (DiretorioModuloEmpresa): without one it answers
// kFamiliaSemDiretorio. A failed initialisation leaves the object uninitialised; the session of an
// earlier one is dropped. The other methods (added module by module) begin with Entrada, which
// answers an injected failure, or kFamiliaNaoInicializado before a successful initialisation.
// A stand-in keeps its records in files of that directory, reads them fresh on every call and
// writes each change exclusively; it keeps only what this system reads and writes.
//
// Injections, per class: FailStarts(n) makes the next n creations of the class answer "server
// unavailable" (0x800706BA), as while its module's server is starting or dying; FalhaInicializacao
// (hr) makes every initialisation answer hr until it is given S_OK; FalhaMetodo(name, n, hr, k) lets
// the next k calls of the named method (initialisations included) pass and makes the n after them
// answer hr (k 0: the very next calls), so that a later call can be refused while earlier ones pass.
//
// Objects are called on their caller's thread; a class guards its injections and recordings with
// a lock of its own, since the module's run thread creates objects while tests read and inject.
#pragma once

#include <atomic>
#include <cstdint>
#include <cstring>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <new>
#include <string>
#include <vector>

#include "platform/com/bstr.h"
#include "platform/com/standin.h"
#include "platform/family/comum/DiretorioModulo.h"

// The company has no directory of the module (its key or the module's value is missing).
constexpr HRESULT kFamiliaSemDiretorio = HRESULT_FROM_WIN32(ERROR_PATH_NOT_FOUND);
// A method other than an initialisation, called before a successful initialisation.
constexpr HRESULT kFamiliaNaoInicializado = E_UNEXPECTED;

// What one initialisation received: the method's name, the record passed by value byte for byte
// (empty for the forms with separate arguments) and the session read from it.
struct InicializacaoFamilia {
  std::string metodo;
  std::vector<uint8_t> registro;
  std::string empresa;  // Windows-1252
  uint16_t usuario = 0;
  int32_t sessao = 0;
  int32_t modulo = 0;  // the inventory servers' fourth argument; 0 for the other forms
};

// The session that a successful initialisation keeps.
struct SessaoFamilia {
  std::string empresa;
  uint16_t usuario = 0;
  int32_t sessao = 0;
  std::string diretorio;  // the company's directory of the module, backslashes, trailing one
};

class ClasseFamilia {
 public:
  ClasseFamilia(const char* nome, const CLSID& clsid, const IID& iid, const char* modulo);
  ClasseFamilia(const ClasseFamilia&) = delete;
  ClasseFamilia& operator=(const ClasseFamilia&) = delete;

  const std::string& Nome() const { return nome_; }
  const CLSID& Clsid() const { return clsid_; }
  const IID& Iid() const { return iid_; }
  // The module's code: the value under the company's key that names its directory ("DF", ...).
  const char* Modulo() const { return modulo_; }

  void FailStarts(int vezes);
  void FalhaInicializacao(HRESULT hr);
  void FalhaMetodo(const std::string& metodo, int vezes, HRESULT hr, int passam = 0);

  std::vector<InicializacaoFamilia> Inicializacoes() const;
  // Objects created so far, and those still alive.
  int Criacoes() const { return criacoes_; }
  int Vivos() const { return vivos_; }

  // For the frame. A creation: 0x800706BA while failing starts are left (one is used up), else
  // S_OK, counted.
  HRESULT Criacao();
  void Nasceu() { ++vivos_; }
  void Morreu() { --vivos_; }
  // One call of a method: the injected failure that this call uses up, or S_OK.
  HRESULT FalhaChamada(const std::string& metodo);
  // Records an initialisation; then its injected failure, or S_OK.
  HRESULT Inicializacao(InicializacaoFamilia recebida);

 private:
  struct FalhaInjetada {
    int passam = 0;  // calls still let through before the failures
    int vezes = 0;
    HRESULT hr = S_OK;
  };

  const std::string nome_;
  const CLSID clsid_;
  const IID iid_;
  const char* const modulo_;
  std::atomic<int> criacoes_{0};
  std::atomic<int> vivos_{0};

  mutable std::mutex mutex_;  // guards what follows
  int startsFalhando_ = 0;
  HRESULT falhaInicializacao_ = S_OK;
  std::map<std::string, FalhaInjetada> falhasMetodos_;
  std::vector<InicializacaoFamilia> inicializacoes_;
};

// The company of a BSTR in Windows-1252 (empty for null), and the forms of InicializacaoFamilia.
std::string TextoFamilia(BSTR texto);
InicializacaoFamilia RecebidoDeArgumentos(const char* metodo, BSTR empresa, uint16_t usuario,
                                          int32_t sessao);

template <class Registro>
InicializacaoFamilia RecebidoDeRegistro(const char* metodo, const Registro& registro) {
  InicializacaoFamilia recebida;
  recebida.metodo = metodo;
  const auto* bytes = reinterpret_cast<const uint8_t*>(&registro);
  recebida.registro.assign(bytes, bytes + sizeof registro);
  recebida.empresa.assign(registro.szEmpresa, strnlen(registro.szEmpresa, sizeof registro.szEmpresa));
  recebida.usuario = registro.usUsuario;
  recebida.sessao = registro.lNumeroSessao;
  return recebida;
}

// A record's company field holds its terminator.
template <class Registro>
bool EmpresaTerminada(const Registro& registro) {
  return std::memchr(registro.szEmpresa, 0, sizeof registro.szEmpresa) != nullptr;
}

template <class Interface>
class ObjetoFamilia : public Interface {
 public:
  explicit ObjetoFamilia(ClasseFamilia& classe) : classe_(classe) { classe_.Nasceu(); }

  HRESULT QueryInterface(REFIID riid, void** objeto) override {
    if (!objeto) return E_POINTER;
    if (!IsEqualIID(riid, IID_IUnknown) && !IsEqualIID(riid, classe_.Iid())) {
      *objeto = nullptr;
      return E_NOINTERFACE;
    }
    AddRef();
    *objeto = static_cast<Interface*>(this);
    return S_OK;
  }
  ULONG AddRef() override { return static_cast<ULONG>(++referencias_); }
  ULONG Release() override {
    const LONG restantes = --referencias_;
    if (restantes == 0) delete this;
    return static_cast<ULONG>(restantes);
  }

 protected:
  virtual ~ObjetoFamilia() { classe_.Morreu(); }

  // `completa` runs last, with the directory found, for what a form adds (the branch server reads
  // the company record there); its failure fails the initialisation.
  HRESULT IniciaSessao(InicializacaoFamilia recebida, bool valida,
                       const std::function<HRESULT(const std::string& diretorio)>& completa = {}) {
    inicializado_ = false;
    sessao_ = SessaoFamilia();
    SessaoFamilia sessao{recebida.empresa, recebida.usuario, recebida.sessao, {}};
    if (const HRESULT hr = classe_.Inicializacao(std::move(recebida)); FAILED(hr)) return hr;
    if (!valida || sessao.empresa.empty()) return E_INVALIDARG;
    sessao.diretorio = DiretorioModuloEmpresa(sessao.empresa, classe_.Modulo());
    if (sessao.diretorio.empty()) return kFamiliaSemDiretorio;
    if (completa) {
      if (const HRESULT hr = completa(sessao.diretorio); FAILED(hr)) return hr;
    }
    sessao_ = std::move(sessao);
    inicializado_ = true;
    return S_OK;
  }
  // An initialisation that carries no session (the barcode-structure server's).
  HRESULT IniciaSemSessao(InicializacaoFamilia recebida) {
    sessao_ = SessaoFamilia();
    const HRESULT hr = classe_.Inicializacao(std::move(recebida));
    inicializado_ = SUCCEEDED(hr);
    return hr;
  }
  // The start of every other method.
  HRESULT Entrada(const char* metodo) {
    if (const HRESULT hr = classe_.FalhaChamada(metodo); FAILED(hr)) return hr;
    return inicializado_ ? S_OK : kFamiliaNaoInicializado;
  }
  const SessaoFamilia& Sessao() const { return sessao_; }

 private:
  ClasseFamilia& classe_;
  std::atomic<LONG> referencias_{1};
  bool inicializado_ = false;
  SessaoFamilia sessao_;
};

// The interface's Inicializa(company as a BSTR, user, session).
template <class Interface>
class ObjetoEmpresaUsuarioSessao : public ObjetoFamilia<Interface> {
 public:
  using ObjetoFamilia<Interface>::ObjetoFamilia;
  HRESULT Inicializa(BSTR empresa, uint16_t usuario, int32_t sessao) override {
    return this->IniciaSessao(RecebidoDeArgumentos("Inicializa", empresa, usuario, sessao), true);
  }
};

template <class Registro>
bool SemCondicoes(const Registro&) {
  return true;
}

// The interface's Inicializa(record by value); kValida checks what the form fixes besides the
// session, whose company must hold its terminator inside its field.
template <class Interface, class Registro, bool (*kValida)(const Registro&) = &SemCondicoes<Registro>>
class ObjetoRegistroSessao : public ObjetoFamilia<Interface> {
 public:
  using ObjetoFamilia<Interface>::ObjetoFamilia;
  HRESULT Inicializa(Registro registro) override {
    return this->IniciaSessao(RecebidoDeRegistro("Inicializa", registro),
                              EmpresaTerminada(registro) && kValida(registro));
  }
};

template <class Objeto>
HRESULT CriaObjetoFamilia(ClasseFamilia& classe, REFIID riid, void** objeto) {
  if (const HRESULT hr = classe.Criacao(); FAILED(hr)) return hr;
  auto* novo = new (std::nothrow) Objeto(classe);
  if (!novo) return E_OUTOFMEMORY;
  const HRESULT hr = novo->QueryInterface(riid, objeto);
  novo->Release();
  return hr;
}

// A module of the family: a StandInServer linked under `nomeServidor`, whose classes find their
// files under the company's value `codigo`. Create it after the registry that QV_REGISTRY names and
// destroy it before (StandInServer); add every class before Registra.
class ModuloFamilia {
 public:
  ModuloFamilia(const char* nomeServidor, const char* codigo);
  ModuloFamilia(const ModuloFamilia&) = delete;
  ModuloFamilia& operator=(const ModuloFamilia&) = delete;

  // Writes each class's LocalServer32 and links the module; the registry's error as an HRESULT.
  HRESULT Registra() { return servidor_.Register(); }
  const std::string& NomeServidor() const { return nomeServidor_; }
  const char* Codigo() const { return codigo_; }
  const std::vector<std::unique_ptr<ClasseFamilia>>& Classes() const { return classes_; }
  // Runs of the module's server started so far.
  int Starts() const { return servidor_.Starts(); }

 protected:
  template <class Objeto>
  ClasseFamilia& AdicionaClasse(const char* nome, const CLSID& clsid, const IID& iid) {
    classes_.push_back(std::make_unique<ClasseFamilia>(nome, clsid, iid, codigo_));
    ClasseFamilia& classe = *classes_.back();
    servidor_.AddClass(clsid, [&classe](REFIID riid, void** objeto) {
      return CriaObjetoFamilia<Objeto>(classe, riid, objeto);
    });
    return classe;
  }

 private:
  const std::string nomeServidor_;
  const char* const codigo_;
  std::vector<std::unique_ptr<ClasseFamilia>> classes_;
  StandInServer servidor_;  // after the classes: its run's class objects use them until it ends
};
