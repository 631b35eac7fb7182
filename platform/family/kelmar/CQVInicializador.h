// The base-system library's initialiser: the base of the objects that work for one session of a
// company (company, user, session number) and know whether they were initialised.
//
// Inicializa stores the session, marks the object initialised and then calls OnInicializa, which
// finds the session stored; when the hook fails, the object is finalised again (OnFinaliza runs)
// and the hook's result is returned, so a failed start leaves nothing behind. Finaliza calls
// OnFinaliza first, while the session is still there, then forgets it. Neither calls the other on
// an initialised object: a subclass that is started twice finalises itself first.
//
// Stand-in. Kept from the library: the two hooks and the order in which they run, the getters.
// Not needed: the library's own error texts and its session checks against the base system, which
// no caller of this system relies on. The destructor cannot reach a subclass's hook, so a subclass
// that holds anything finalises itself in its own destructor.
//
// An object serves one thread at a time.
#pragma once

#include <cstdint>

#include "platform/mfc/CString.h"
#include "platform/win32/base.h"

class CQVInicializador {
 public:
  CQVInicializador() = default;
  virtual ~CQVInicializador() = default;
  CQVInicializador(const CQVInicializador&) = delete;
  CQVInicializador& operator=(const CQVInicializador&) = delete;

  // The hook's result; on failure the object is not initialised.
  HRESULT Inicializa(const CString& empresa, uint16_t usUsuario, int32_t lNumeroSessao);
  // Always 0; also on an object that is not initialised (the hook runs all the same).
  HRESULT Finaliza();

  bool EstaInicializado() const { return m_bInicializado; }
  const CString& GetEmpresa() const { return m_strEmpresa; }
  uint16_t GetUsuario() const { return m_usUsuario; }
  int32_t GetNumeroSessao() const { return m_lNumeroSessao; }

 protected:
  // The subclass's own start, with the session stored; a failure undoes the start.
  virtual HRESULT OnInicializa() { return S_OK; }
  // The subclass's own clean-up, before the session is forgotten.
  virtual void OnFinaliza() {}

 private:
  bool m_bInicializado = false;
  CString m_strEmpresa;
  uint16_t m_usUsuario = 0;
  int32_t m_lNumeroSessao = 0;
};
