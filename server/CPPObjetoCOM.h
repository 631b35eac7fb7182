// The COM object of each of the server's classes: a frame that owns one handler of the class's
// business area (CPPServidor...) for the object's whole life and that each class's COM object
// derives from, forwarding every method of its interface to the handler unchanged, apart from what
// the frame does for all classes:
//
// - IUnknown: the object answers for IUnknown and for its interface; it lives while it is
//   referenced, and holds one lock on the server (PPModulo) from before its handler is built to
//   after it is gone, so that an idle server never ends under a client.
// - Inicializa: a caller built for an interface version other than 64 is refused with 0x8004068D
//   (message 1677) and the handler is not called. Otherwise the handler's Inicializa gets the
//   session record and kPPChamadaCliente (1: the call comes from a client, so the handler also
//   checks the data version and the master settings and opens the history log; handlers that a
//   handler builds for itself get no such flag), or the record alone when the handler's Inicializa
//   takes no flag (the master settings). A class that passes something else overrides Inicializa
//   and still refuses with RecusaVersao.
// - FuncaoGenerica: 0x80040001 at once, output untouched; the resources class answers 0 (S_OK),
//   also without touching the output, so its callers must not read it. The class that implements
//   the function (production orders) overrides it.
// - ExisteComFiltro, for the classes whose Existe has the switch cUtilizaFiltro: with 1 the
//   handler's Existe runs under the handler's stored filter; with any other value the stored
//   filter record is copied whole, cleared (LimpaFiltro), Existe runs, and the copy is stored back
//   (SetFiltro), whatever Existe returned. The handler gives its stored record by GetFiltro().
//
// A class declares only its own methods:
//
//   class CQVPP_Colecao
//       : public CPPObjetoCOM<IQVPP_Colecao, IID_IQVPP_Colecao, CPPServidorColecao> {
//    public:
//     HRESULT Le(int32_t lPosicao, _REG_PP_COLECAOPS* pregColecaoPS) override {
//       return Tratador().Le(lPosicao, pregColecaoPS);
//     }
//     HRESULT Existe(BSTR bsChave, int32_t* plPosicao, uint8_t cUtilizaFiltro) override {
//       return ExisteComFiltro(cUtilizaFiltro, [&] {
//         return Tratador().Existe(bsChave, plPosicao, cUtilizaFiltro);
//       });
//     }
//     ...
//   };
//
// and the class table names PPCriaObjeto<CQVPP_Colecao> as its creator.
//
// Concurrency: calls to one object may arrive on several threads at once; the frame takes no lock
// and neither do the handlers. Nothing serialises two calls on one object: a client uses an object
// from one thread at a time, each object has its own handler, and what objects share lives in the
// data files, guarded by their share modes and lock files. The reference count is interlocked.
#pragma once

#include <atomic>
#include <new>

#include "server/CPPModulo.h"
#include "server/PPTextosStatus.h"
#include "server/idl/Varmo.h"

constexpr uint16_t kPPVersaoInterface = 64;
constexpr HRESULT kPPErroVersaoInterface = PPErroHResult(1677);
constexpr HRESULT kPPFuncaoGenericaAusente = static_cast<HRESULT>(0x80040001);
constexpr uint8_t kPPChamadaCliente = 1;

template <class Interface, IID kIid, class Servidor>
class CPPObjetoCOM : public Interface {
 public:
  HRESULT QueryInterface(REFIID riid, void** ppv) override {
    if (!ppv) return E_POINTER;
    if (!IsEqualIID(riid, IID_IUnknown) && !IsEqualIID(riid, kIid)) {
      *ppv = nullptr;
      return E_NOINTERFACE;
    }
    *ppv = static_cast<Interface*>(this);
    AddRef();
    return S_OK;
  }
  ULONG AddRef() override { return static_cast<ULONG>(++m_lReferencias); }
  ULONG Release() override {
    const LONG restantes = --m_lReferencias;
    if (restantes == 0) delete this;
    return static_cast<ULONG>(restantes);
  }

  HRESULT Inicializa(_REG_VARMO_INICIALIZAPS RegPS, uint16_t usVersao) override {
    if (const HRESULT hr = RecusaVersao(usVersao)) return hr;
    constexpr bool kComFlag = requires(Servidor& s, _REG_VARMO_INICIALIZAPS r) {
      s.Inicializa(r, kPPChamadaCliente);
    };
    if constexpr (kComFlag)
      return m_servidor.Inicializa(RegPS, kPPChamadaCliente);
    else
      return m_servidor.Inicializa(RegPS);
  }

  HRESULT FuncaoGenerica(uint32_t, _REG_FUNCAO_GENERICA_VARMO,
                         _REG_FUNCAO_GENERICA_VARMO**) override {
    if constexpr (kIid == IID_IQVPP_Recursos)
      return S_OK;
    else
      return kPPFuncaoGenericaAusente;
  }

 protected:
  CPPObjetoCOM() = default;
  virtual ~CPPObjetoCOM() = default;
  CPPObjetoCOM(const CPPObjetoCOM&) = delete;
  CPPObjetoCOM& operator=(const CPPObjetoCOM&) = delete;

  Servidor& Tratador() { return m_servidor; }

  // 0 for the one interface version that the server serves; the refusal otherwise.
  static HRESULT RecusaVersao(uint16_t usVersao) {
    return usVersao == kPPVersaoInterface ? S_OK : kPPErroVersaoInterface;
  }

  template <class Chamada>
  HRESULT ExisteComFiltro(uint8_t cUtilizaFiltro, Chamada existe) {
    if (cUtilizaFiltro == 1) return existe();
    const auto filtro = m_servidor.GetFiltro();
    m_servidor.LimpaFiltro();
    const HRESULT hr = existe();
    m_servidor.SetFiltro(filtro);
    return hr;
  }

 private:
  PPBloqueioServidor m_bloqueio;  // declared first: taken before the handler, given back after it
  Servidor m_servidor;
  std::atomic<LONG> m_lReferencias{0};
};

// The creator of the class table for a COM object class.
template <class Objeto>
HRESULT PPCriaObjeto(REFIID riid, void** ppv) {
  if (!ppv) return E_POINTER;
  *ppv = nullptr;
  Objeto* objeto = new (std::nothrow) Objeto;
  if (!objeto) return E_OUTOFMEMORY;
  objeto->AddRef();
  const HRESULT hr = objeto->QueryInterface(riid, ppv);
  objeto->Release();
  return hr;
}
