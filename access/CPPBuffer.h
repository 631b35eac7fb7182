// The timer of the entity caches: how often a cache object forgets what it read, so that a
// long-lived client sees what other users changed without asking a server at every line. The
// caches themselves live in CPPBufferDados; this class only decides when they are dropped.
//
// Refresh is off at construction: the caches then live as long as the session. Switched on, every
// cache access first compares the tick count with the last refresh and, past the interval (2
// minutes unless set), drops the caches through the virtual LimparBuffer(true), which keeps the
// stock balances. The difference is taken in 32-bit unsigned arithmetic, so the wrap of the tick
// count after 49.7 days neither triggers nor delays a refresh. The tick is the platform clock's
// (GetTickCount), which tests replace.
//
// One thread at a time, as the hub.
#pragma once

#include <cstdint>

#include "access/CPPAcessoDados.h"

class CPPBuffer : public CPPAcessoDados {
 public:
  CPPBuffer();
  ~CPPBuffer() override = default;

  // On: the interval starts now. Off: the last refresh goes back to 0.
  void SetRefresh(bool ligado);
  // minutes x 60000 ms, wrapping in 32 bits as the stored interval does.
  void SetMinutesToRefresh(uint32_t minutos);

  bool GetRefresh() const { return refresh_; }
  uint32_t GetUltimoRefresh() const { return ultimoRefresh_; }
  uint32_t GetIntervaloRefresh() const { return intervaloRefresh_; }

  // Empties the caches; the stock balances survive when mantemSaldos is true.
  virtual void LimparBuffer(bool mantemSaldos) = 0;

 protected:
  // Run first by every cache access (but the balances and the resource stops).
  void Refresh();

 private:
  bool refresh_ = false;
  uint32_t ultimoRefresh_ = 0;
  uint32_t intervaloRefresh_ = 0;
};
