#include "access/CPPBuffer.h"

#include "platform/win32/clock.h"

CPPBuffer::CPPBuffer() { SetMinutesToRefresh(2); }

void CPPBuffer::SetRefresh(bool ligado) {
  refresh_ = ligado;
  ultimoRefresh_ = ligado ? GetTickCount() : 0;
}

void CPPBuffer::SetMinutesToRefresh(uint32_t minutos) { intervaloRefresh_ = minutos * 60000u; }

void CPPBuffer::Refresh() {
  if (!refresh_) return;
  const uint32_t agora = GetTickCount();
  if (static_cast<uint32_t>(agora - ultimoRefresh_) > intervaloRefresh_) {
    LimparBuffer(true);
    ultimoRefresh_ = agora;
  }
}
