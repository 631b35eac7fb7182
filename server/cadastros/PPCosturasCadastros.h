// The seams through which the master-data handlers ask the handlers of other areas: process flows
// and technical sheets, maintenance plans (both arriving later), and the reading of production
// orders. Each seam is one function of the session record; until its handler fills it, it answers
// as that handler would over a company without its records: nothing found, nothing in use, nothing
// to remove. The orders' seam reads through the order handler.
//
// The seams are set at the start of the process, before any session, and only read afterwards;
// they take no lock. Tests put fakes in them and give the old ones back (PPDefineCosturasCadastros
// answers what was set).
#pragma once

#include <cstdint>
#include <vector>

#include "platform/win32/base.h"
#include "server/idl/VarmoRegistrosComuns.h"

// One process of an order, in the order's process order.
struct PPProcessoOP {
  int32_t lPonteiroProcesso;
  uint8_t cRecebeApontamento;
};

struct PPCosturasCadastros {
  // Flows: how many flow steps name the process (the filter of the flows' process search).
  HRESULT (*pContaEtapasFluxoProcesso)(const _REG_VARMO_INICIALIZAPS& regPS, int32_t lPonteiroProcesso,
                                       int32_t* plQtd);
  // Flows: how many flows have the order type.
  HRESULT (*pContaFluxosTipoOP)(const _REG_VARMO_INICIALIZAPS& regPS, int32_t lPonteiroTipoOP, int32_t* plQtd);
  // Technical sheets and flows: the order types of the flows for which the filter's product
  // (position, collection, branch, product or service) has sheets.
  HRESULT (*pTiposOPFluxosProduto)(const _REG_VARMO_INICIALIZAPS& regPS, const _REG_VARMO_FILTROPS& filtro,
                                   std::vector<int32_t>* tiposOP);
  // Maintenance plans: whether a plan names the resource; removing the resource's plans.
  HRESULT (*pVerificaUsoRecursoPlano)(const _REG_VARMO_INICIALIZAPS& regPS, int32_t lPonteiroRecurso,
                                      uint8_t* pcUsado);
  HRESULT (*pRemovePlanosRecurso)(const _REG_VARMO_INICIALIZAPS& regPS, int32_t lPonteiroRecurso);
  // Production orders: the processes of an order, in the order's order.
  HRESULT (*pLeProcessosOP)(const _REG_VARMO_INICIALIZAPS& regPS, uint32_t lPonteiroOP,
                            std::vector<PPProcessoOP>* processos);
};

const PPCosturasCadastros& PPGetCosturasCadastros();
// Sets every seam and gives back what was set.
PPCosturasCadastros PPDefineCosturasCadastros(const PPCosturasCadastros& costuras);
