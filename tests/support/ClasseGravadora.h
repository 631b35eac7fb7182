// A class object for tests of the module's COM clients: while it lives it is registered in the
// process's class table under a class identifier (as a local server's class, multiple use), and it
// makes objects that answer IUnknown and one interface identifier, keep the session record and the
// version of every Inicializa they receive, and answer it with a chosen HRESULT.
//
// Its objects stand for any interface of the module, all of which begin with
// Inicializa(_REG_VARMO_INICIALIZAPS, uint16_t). They are built as COM defines an object, the way
// the server's pending objects are (server/CPPObjetoPendente.h): a table of function pointers,
// IUnknown's three slots, Inicializa, and E_NOTIMPL in every further slot; in front of the slots
// the table carries the given interface's type information, so that the sanitizers' checks of the
// dynamic type see an object of that interface.
//
// Calls may come from any thread.
#pragma once

#include <atomic>
#include <cstdint>
#include <mutex>
#include <typeinfo>
#include <vector>

#include "platform/com/classobject.h"
#include "server/idl/VarmoRegistrosComuns.h"

class ClasseGravadora {
 public:
  struct Chamada {
    _REG_VARMO_INICIALIZAPS registro;
    uint16_t versao;
  };

  // `tipo` is typeid of the interface that `iid` names.
  ClasseGravadora(REFCLSID clsid, REFIID iid, const std::type_info& tipo, HRESULT resposta);
  ~ClasseGravadora();
  ClasseGravadora(const ClasseGravadora&) = delete;
  ClasseGravadora& operator=(const ClasseGravadora&) = delete;

  // The result of CoRegisterClassObject.
  HRESULT Registro() const { return registro_; }
  std::vector<Chamada> Chamadas() const;
  int Criacoes() const { return criacoes_; }
  int Vivos() const { return vivos_; }

 private:
  struct Objeto;
  static HRESULT QueryInterface(Objeto* self, REFIID riid, void** objeto);
  static ULONG AddRef(Objeto* self);
  static ULONG Release(Objeto* self);
  static HRESULT Inicializa(Objeto* self, _REG_VARMO_INICIALIZAPS registro, uint16_t versao);
  static HRESULT NaoImplementado(Objeto* self);
  HRESULT Cria(REFIID riid, void** objeto);

  const IID iid_;
  const HRESULT resposta_;
  std::vector<const void*> tabela_;  // offset to the object, type information, then the slots
  std::atomic<int> criacoes_{0};
  std::atomic<int> vivos_{0};
  mutable std::mutex mutex_;
  std::vector<Chamada> chamadas_;
  DWORD cookie_ = 0;
  HRESULT registro_ = E_FAIL;
};
