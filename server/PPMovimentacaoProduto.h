// The seam through which the master settings ask whether a product has been used: five handlers
// answer it, those of production orders, technical sheets, maintenance plans, maintenance
// management and production targets. They live in server/op and server/cadastros, which build on
// server/, so server/ never names them: each fills its slot here, and
// CPPServidorMestrePP::ProdutoTeveMovimentacao asks the slots in their order.
//
// A slot is one handler class seen through four calls: build an object, initialise it with the
// session record and the full-initialisation flag, ask it, destroy it. PPConsultaDe<Tratador>()
// makes the slot of a handler class whose Inicializa and ProdutoTeveMovimentacao have the handlers'
// signatures. A slot that nobody filled has no builder, and its query fails with E_FAIL: a
// handler that is not there never passes for one that found no use.
//
// The production-order slot starts filled, with the order handler's checks
// (server/op/PPConsultaMovimentacaoOP.h), and so does the production-targets slot
// (server/cadastros/PPClassesCadastros.h); the other three stay empty until their handlers come.
// The slots are filled before any session and only read afterwards; they take no lock. Tests put
// fakes in them and give the old ones back (PPDefineConsultaMovimentacao answers what the slot
// held).
#pragma once

#include <cstdint>
#include <new>

#include "platform/win32/base.h"
#include "server/idl/VarmoRegistrosComuns.h"

// The slots, in the order in which they are asked.
enum PPSlotMovimentacao : int {
  kPPMovimentacaoOP,                // production orders: initialised in full (flag 1)
  kPPMovimentacaoFichaTecnica,      // the others with flag 0
  kPPMovimentacaoManutencao,        // maintenance plans
  kPPMovimentacaoGestaoManutencao,  // maintenance management
  kPPMovimentacaoMetasProducao,     // production targets
  kPPQuantidadeSlotsMovimentacao
};

struct PPConsultaMovimentacao {
  // Null: the slot is empty. Otherwise a new handler, or null when there is no memory for it.
  void* (*pCria)();
  HRESULT (*pInicializa)(void* tratador, _REG_VARMO_INICIALIZAPS regPS, uint8_t cInicializarCompleto);
  HRESULT (*pProdutoTeveMovimentacao)(void* tratador, uint32_t lPonteiroProduto, int32_t* bTeve,
                                      uint16_t* iNivelGradeEmUso);
  void (*pDestroi)(void* tratador);
};

// The slot of the handler class Tratador.
template <class Tratador>
PPConsultaMovimentacao PPConsultaDe() {
  return {
      []() -> void* { return new (std::nothrow) Tratador; },
      [](void* tratador, _REG_VARMO_INICIALIZAPS regPS, uint8_t cInicializarCompleto) {
        return static_cast<Tratador*>(tratador)->Inicializa(regPS, cInicializarCompleto);
      },
      [](void* tratador, uint32_t lPonteiroProduto, int32_t* bTeve, uint16_t* iNivelGradeEmUso) {
        return static_cast<Tratador*>(tratador)->ProdutoTeveMovimentacao(lPonteiroProduto, bTeve, iNivelGradeEmUso);
      },
      [](void* tratador) { delete static_cast<Tratador*>(tratador); },
  };
}

// Fills a slot (an empty PPConsultaMovimentacao{} empties it) and gives back what it held.
PPConsultaMovimentacao PPDefineConsultaMovimentacao(PPSlotMovimentacao slot, const PPConsultaMovimentacao& consulta);
const PPConsultaMovimentacao& PPGetConsultaMovimentacao(PPSlotMovimentacao slot);

// One slot's turn: builds the handler, initialises it, asks it and destroys it. E_FAIL for an
// empty slot, E_OUTOFMEMORY when the handler cannot be built, else the first negative result of
// Inicializa and the query, or the query's result.
HRESULT PPConsultaMovimentacaoProduto(PPSlotMovimentacao slot, const _REG_VARMO_INICIALIZAPS& regPS,
                                      uint8_t cInicializarCompleto, uint32_t lPonteiroProduto, int32_t* bTeve,
                                      uint16_t* iNivelGradeEmUso);
