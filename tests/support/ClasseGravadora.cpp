#include "tests/support/ClasseGravadora.h"

#include <algorithm>
#include <cstddef>
#include <new>

#include "platform/com/standin.h"
#include "server/idl/VarmoIdentificadores.h"

struct ClasseGravadora::Objeto {
  const void* const* slots;  // first, where a caller looks for the table
  std::atomic<LONG> referencias;
  ClasseGravadora* classe;
};

namespace {

const int kMaiorInterface = [] {
  int maior = 0;
  for (const ClasseVarmo& classe : kClassesVarmo) maior = std::max<int>(maior, classe.quantidadeMetodos);
  return maior;
}();

template <class Funcao>
const void* Slot(Funcao funcao) {
  return reinterpret_cast<const void*>(funcao);
}

}  // namespace

ClasseGravadora::ClasseGravadora(REFCLSID clsid, REFIID iid, const std::type_info& tipo, HRESULT resposta)
    : iid_(iid), resposta_(resposta) {
  tabela_.assign(2 + 3 + kMaiorInterface, Slot(&NaoImplementado));
  tabela_[0] = nullptr;
  tabela_[1] = &tipo;
  tabela_[2] = Slot(&QueryInterface);
  tabela_[3] = Slot(&AddRef);
  tabela_[4] = Slot(&Release);
  tabela_[5] = Slot(&Inicializa);
  auto* fabrica = new FunctionClassFactory([this](REFIID riid, void** objeto) { return Cria(riid, objeto); });
  registro_ = CoRegisterClassObject(clsid, fabrica, CLSCTX_LOCAL_SERVER, REGCLS_MULTIPLEUSE, &cookie_);
  fabrica->Release();
}

ClasseGravadora::~ClasseGravadora() {
  if (SUCCEEDED(registro_)) CoRevokeClassObject(cookie_);
}

std::vector<ClasseGravadora::Chamada> ClasseGravadora::Chamadas() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return chamadas_;
}

HRESULT ClasseGravadora::Cria(REFIID riid, void** objeto) {
  auto* novo = new (std::nothrow) Objeto{tabela_.data() + 2, {1}, this};
  if (!novo) return E_OUTOFMEMORY;
  ++criacoes_;
  ++vivos_;
  const HRESULT hr = QueryInterface(novo, riid, objeto);
  Release(novo);
  return hr;
}

HRESULT ClasseGravadora::QueryInterface(Objeto* self, REFIID riid, void** objeto) {
  if (!objeto) return E_POINTER;
  if (!IsEqualIID(riid, IID_IUnknown) && !IsEqualIID(riid, self->classe->iid_)) {
    *objeto = nullptr;
    return E_NOINTERFACE;
  }
  ++self->referencias;
  *objeto = self;
  return S_OK;
}

ULONG ClasseGravadora::AddRef(Objeto* self) { return static_cast<ULONG>(++self->referencias); }

ULONG ClasseGravadora::Release(Objeto* self) {
  const LONG restantes = --self->referencias;
  if (restantes == 0) {
    --self->classe->vivos_;
    delete self;
  }
  return static_cast<ULONG>(restantes);
}

HRESULT ClasseGravadora::Inicializa(Objeto* self, _REG_VARMO_INICIALIZAPS registro, uint16_t versao) {
  ClasseGravadora& classe = *self->classe;
  std::lock_guard<std::mutex> lock(classe.mutex_);
  classe.chamadas_.push_back({registro, versao});
  return classe.resposta_;
}

HRESULT ClasseGravadora::NaoImplementado(Objeto*) { return E_NOTIMPL; }
