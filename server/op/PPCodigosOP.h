#pragma once
// The codes the order family's handlers share: message numbers (returned as 0x80040000 | n), the
// family's entity lock, and the situation and item-type bytes of the order files.

#include <cstdint>

// The entity lock every writer of the order family takes (CQVArqMarca::Marca).
constexpr int kPPMarcaOP = 29;
// The production targets' entity lock; the target calculation takes it before kPPMarcaOP.
constexpr int kPPMarcaMetas = 14;

// Message numbers of the order family.
constexpr uint32_t kPPErroQtdLimitada = 1589;          // a quantity or key that may not change
constexpr uint32_t kPPErroChaveAusente = 1591;         // a key without month or record number
constexpr uint32_t kPPErroSituacaoOP = 1592;           // order or process not open for the operation
constexpr uint32_t kPPErroItemProduzido = 1595;        // the item would fall below what it produced
constexpr uint32_t kPPErroSituacaoCancelamento = 1594; // order not in a situation to cancel or interrupt
constexpr uint32_t kPPErroSaldoApontamento = 1596;     // more reported than the balance allows
constexpr uint32_t kPPErroProcessoAnterior = 1604;     // more reported than the previous process did
constexpr uint32_t kPPErroMesSemOP = 1616;             // no order files for the month
constexpr uint32_t kPPErroEntradaJaVinculada = 1636;   // the receipt document is linked to a return already
constexpr uint32_t kPPErroForaPeriodo = 1649;          // a month outside the open period
constexpr uint32_t kPPErroReprocessoIniciado = 1663;   // the reprocess order is past not started
constexpr uint32_t kPPErroRemessaFaturada = 1680;
constexpr uint32_t kPPErroApontExternoFilial = 1690;   // branch settings for outsourced reports incomplete
constexpr uint32_t kPPErroSemEtiquetas = 1701;
constexpr uint32_t kPPErroTransitoUltimoProcesso = 1704;  // transit would go to the order's last process
constexpr uint32_t kPPErroQuantidadeAlterada = 1708;
constexpr uint32_t kPPErroTransitoSemProcesso = 1712;  // an order in transit has no process to take it
constexpr uint32_t kPPErroRetornoRemovido = 1713;      // a return already taken back
constexpr uint32_t kPPErroTipoApontamento = 1714;      // a report kind that is not removed by itself
constexpr uint32_t kPPErroApontamentoVinculado = 1715; // other reports are linked to this one
constexpr uint32_t kPPErroEncerramentoForcado = 1720;  // only the forced closing may go first
constexpr uint32_t kPPErroSemIndustrializador = 1723;  // an outsourced report without outsourcer
constexpr uint32_t kPPErroCancelaRequisicao = 1734;

// Situation of an order (order offset 170) and of a process (process offset 95).
constexpr uint8_t kSituacaoNaoIniciada = 1;
constexpr uint8_t kSituacaoIniciada = 2;           // orders only
constexpr uint8_t kSituacaoEmProducao = 3;         // processes only
constexpr uint8_t kSituacaoParado = 4;             // processes only
constexpr uint8_t kSituacaoEmReprocesso = 5;       // processes only
constexpr uint8_t kSituacaoConcluidaComPerda = 49;
constexpr uint8_t kSituacaoConcluida = 50;
constexpr uint8_t kSituacaoSuspensa = 61;
constexpr uint8_t kSituacaoInterrompida = 62;
constexpr uint8_t kSituacaoCancelada = 99;

// cTipoItem of an order item.
constexpr uint8_t kItemComplemento = 1;
constexpr uint8_t kItemNecessidade = 2;
constexpr uint8_t kItemPedido = 3;
constexpr uint8_t kItemReprocesso = 4;

// cTipoProducao of a report: made in the plant, or outsourced.
constexpr uint8_t kProducaoExterna = 0;
constexpr uint8_t kProducaoInterna = 1;

// State of a shipment for outsourced processing (PPRM offset 36).
constexpr uint8_t kRemessaEncerrada = 0;
constexpr uint8_t kRemessaAguardandoFaturamento = 1;
constexpr uint8_t kRemessaFaturada = 2;
constexpr uint8_t kRemessaFaturadaComApontamento = 4;  // the report takes the invoice too
constexpr uint8_t kRemessaFaturaCanceladaComRetornos = 8;
constexpr uint8_t kRemessaCancelada = 16;
