// The library's one-shot writers to the family's history service (IQVServicoHistorico.h): each
// creates the service, gives it the company, sends one line or one set of values, and releases
// the service. The server writes its own lines through CPPHistorico; these serve the family's
// other programs. The result is the failure of the creation (retried while the service is
// unavailable and reported to the event log, QVCom.h) or of DefineEmpresa; otherwise 0, whatever
// the service answered to the line or the values. Free functions without state; the calling thread
// must have initialised COM.
#pragma once

#include <cstdint>

#include "platform/family/historico/IQVServicoHistorico.h"
#include "platform/mfc/CString.h"
#include "platform/win32/base.h"

// The step that every writer of history lines takes after creating the service, CPPHistorico
// too: IQVServicoHistorico::DefineEmpresa with the company (Windows-1252) as a wide string.
HRESULT QVDefineEmpresaHistorico(IQVServicoHistorico* servico, const CString& empresa);

// The text goes as an 80-byte buffer: at most 79 characters, a terminator and zeros after it,
// module 15, letter 'A'. A null text is sent empty.
HRESULT QVGravaHistoricoTexto(const CString& empresa, int32_t sessao, const char* texto);
// The values go through unchanged to GravaValores and GravaValoresEstendido.
HRESULT QVGravaHistorico12(const CString& empresa, int32_t valor1, int32_t valor2, int32_t valor3, int32_t valor4,
                           int32_t valor5, int16_t valor6);
HRESULT QVGravaHistorico13(const CString& empresa, int32_t valor1, int32_t valor2, int32_t valor3, int32_t valor4,
                           int32_t valor5, int16_t valor6, int32_t valor7, int32_t valor8);
