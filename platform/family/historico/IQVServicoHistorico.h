// The family's history service: the COM server that keeps the readable "who did what" lines of
// every module, and two calls of values whose meaning belongs to that service. This system creates
// it through QVCriaInstanciaServidor (foundation/QVCom.h) by its class identifier, tells it the
// company, opens or borrows a session and sends one line per change.
//
// Only the operations that the system calls are declared, in the order of the service's own
// interface; the slots that the system never calls are left out, since every caller and the
// stand-in (StandInHistorico.h) are built from this header. Arguments are 32-bit unless said
// otherwise, as the service takes them.
#pragma once

#include <cstdint>

#include "platform/com/bstr.h"
#include "platform/com/unknown.h"

// {B2F706FE-7E3D-11D2-9FF1-00A0C9B6FB26}
constexpr CLSID CLSID_QVServicoHistorico = {
    0xB2F706FE, 0x7E3D, 0x11D2, {0x9F, 0xF1, 0x00, 0xA0, 0xC9, 0xB6, 0xFB, 0x26}};
// {B2F706FD-7E3D-11D2-9FF1-00A0C9B6FB26}
constexpr IID IID_IQVServicoHistorico = {
    0xB2F706FD, 0x7E3D, 0x11D2, {0x9F, 0xF1, 0x00, 0xA0, 0xC9, 0xB6, 0xFB, 0x26}};

#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wnon-virtual-dtor"
struct IQVServicoHistorico : IUnknown {
  // The company whose history the later calls write; a failure ends the caller's opening.
  virtual HRESULT DefineEmpresa(BSTR empresa) = 0;
  // Opens a session of the user (a 16-bit user number) and gives its handle, never 0.
  virtual HRESULT AbreSessao(uint32_t usuario, int32_t* sessao) = 0;
  // The callers ignore the result.
  virtual HRESULT FechaSessao(int32_t sessao) = 0;
  // One line: `tamanho` bytes of `texto` (not terminated; the system ends its lines with a
  // carriage return), with the module number and the operation letter ('I', 'A', 'E').
  // `reservado` is 0.
  virtual HRESULT GravaLinha(int32_t sessao, int32_t reservado, int32_t modulo, char operacao,
                             int32_t tamanho, const char* texto) = 0;
  // Values passed through from the library's one-shot writers (foundation/QVHistorico.h).
  virtual HRESULT GravaValores(int32_t valor1, int32_t valor2, int32_t valor3, int32_t valor4,
                               int32_t valor5, int16_t valor6) = 0;
  virtual HRESULT GravaValoresEstendido(int32_t valor1, int32_t valor2, int32_t valor3,
                                        int32_t valor4, int32_t valor5, int16_t valor6,
                                        int32_t valor7, int32_t valor8) = 0;
};
#pragma GCC diagnostic pop
