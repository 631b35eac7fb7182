// The session context at the root of every service class of Tessil and every handler of Varmo:
// the company, user and session number of the client that works with the module, and whether
// the object has been initialised. It also builds the 32-byte session record that the module's
// COM servers receive in their Inicializa.
//
// Subclasses rely on the order of Inicializa: it calls the virtual Finaliza first (so a subclass
// ends its previous session; it must leave the object reusable, since the first Inicializa calls
// it too), then stores the values and sets the flag, then calls OnInicializa, which finds them
// stored. A company name longer than the record's 23 characters is refused: the object stays
// uninitialised with an empty company, so that no server works on a prefix of the name.
// One thread at a time.
#pragma once

#include <cstdint>

#include "platform/mfc/CString.h"
#include "server/idl/VarmoRegistrosComuns.h"

class CPPInicializa {
 public:
  // The longest company name that the session record holds with its terminator.
  static constexpr int kMaxEmpresa = sizeof(_REG_VARMO_INICIALIZAPS::szEmpresa) - 1;

  CPPInicializa() = default;
  CPPInicializa(const CPPInicializa&) = default;
  CPPInicializa& operator=(const CPPInicializa&) = default;
  virtual ~CPPInicializa() = default;

  virtual void Inicializa(const CString& empresa, uint16_t usuario, int32_t numeroSessao);
  // Back to the state of a fresh object; always 0.
  virtual int32_t Finaliza();

  CString GetEmpresa() const { return empresa_; }
  void SetEmpresa(const CString& empresa) { empresa_ = empresa; }
  uint16_t GetUsuario() const { return usuario_; }
  void SetUsuario(uint16_t usuario) { usuario_ = usuario; }
  int32_t GetNumeroSessao() const { return numeroSessao_; }
  void SetNumeroSessao(int32_t numeroSessao) { numeroSessao_ = numeroSessao; }
  bool GetInicializado() const { return inicializado_; }
  void SetInicializado(bool inicializado) { inicializado_ = inicializado; }

  // Built from whatever the object holds, initialised or not; always asks for full
  // initialisation (1 at offset 30). A company set longer through SetEmpresa is cut to 23.
  _REG_VARMO_INICIALIZAPS GetPPInicializa() const;

 protected:
  // Called last by Inicializa; nothing here.
  virtual void OnInicializa() {}

 private:
  CString empresa_;
  uint16_t usuario_ = 0;
  int32_t numeroSessao_ = 0;
  bool inicializado_ = false;
};
