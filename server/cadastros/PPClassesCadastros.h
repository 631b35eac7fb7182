// The creators of the master-data classes' COM objects, for the server's class table
// (server/PPTabelaClasses.cpp), which may not name the classes of this folder; and the
// production-targets slot of the product-usage seam (server/PPMovimentacaoProduto.h).
#pragma once

#include "platform/com/guid.h"
#include "platform/win32/base.h"
#include "server/PPMovimentacaoProduto.h"

HRESULT PPCriaProcesso(REFIID riid, void** ppv);
HRESULT PPCriaTipoOP(REFIID riid, void** ppv);
HRESULT PPCriaRecursos(REFIID riid, void** ppv);
HRESULT PPCriaTipoRecurso(REFIID riid, void** ppv);
HRESULT PPCriaOperacaoProducao(REFIID riid, void** ppv);
HRESULT PPCriaMetasProducao(REFIID riid, void** ppv);
HRESULT PPCriaColecao(REFIID riid, void** ppv);
HRESULT PPCriaMotivoRefugo(REFIID riid, void** ppv);
HRESULT PPCriaSecao(REFIID riid, void** ppv);

PPConsultaMovimentacao PPConsultaMovimentacaoMetasProducao();
