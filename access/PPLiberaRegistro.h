// Release of the nested arrays of the production-order and production-report records: an order
// process with its inputs, resources, images, labels and two report lists; a report with its scrap
// movement, stock movements (accounting entries and their splits, composition, references),
// returns from outside processing (movements, scrap movement, processors with their orders,
// last-process reports, keys), not-reported and reported resources (operations with counters,
// quantities, intervals and details), imported keys and its shipment with the inputs sent. And of
// a resource type: its operations with the counters, quantities, intervals and details asked. And
// of a resource-report summary: its counters, quantities, intervals and details.
//
// Each routine frees every array that one record reaches, deepest first; the record itself stays
// the caller's. bAlocadoPorNew tells who allocated the arrays and so how they go back: not 0, a
// client that filled the record from data classes (CopiarPara, new[]; released with delete[]);
// 0, a server (the COM task allocator; released with CoTaskMemFree). One call never mixes the two.
//
// The counts are read as the record holds them. A freed array leaves its pointer null and its
// count 0, so a second release frees nothing. A null array is skipped and its count left as it
// stands; a shipment whose input count is 0 keeps its input pointer untouched (see
// LiberaRegistroRemessaIndustrializacao). A null record does nothing.
//
// The not-reported resources of a report (pregRecursosNaoApontados) are released as the reported
// ones, operations and their four lists included: CopiarPara fills them alike, and a server may
// too. One thread at a time per record.
#pragma once

#include <cstdint>

#include "server/idl/Varmo.h"

void LiberaRegistroApontamento(_REG_VARMO_OP_APONTAMENTO* apontamento, uint8_t bAlocadoPorNew);
void LiberaRegistroOPProcesso(_REG_VARMO_OP_PROCESSOPS* processo, uint8_t bAlocadoPorNew);
// An order: its processes (each as LiberaRegistroOPProcesso) and its items.
void LiberaRegistroOP(_REG_VARMO_OPPS* op, uint8_t bAlocadoPorNew);
void LiberaRegistroMovimentoES(_REG_ES_MOVIMENTOPS* movimento, uint8_t bAlocadoPorNew);
// The embedded scrap movement (regMovimentoRefugo) too.
void LiberaRegistroRetornoIndustrializacao(_REG_VARMO_RETORNO_INDUSTRIALIZACAO_EXTERNAPS* retorno,
                                           uint8_t bAlocadoPorNew);
// The inputs only when usQtdInsumos is not 0: a caller that fills a shipment by hand states its
// inputs by the count and need not set the pointer of a shipment without any.
void LiberaRegistroRemessaIndustrializacao(_REG_PP_REMESSA_INDUSTRIALIZACAOPS* remessa,
                                           uint8_t bAlocadoPorNew);
void LiberaRegistroApontamentoRecurso(_REG_PP_APONTAMENTO_RECURSOPS* recurso,
                                      uint8_t bAlocadoPorNew);
void LiberaRegistroApontamentoRecursoOperacao(_REG_PP_APONTAMENTO_RECURSO_OPERACAOPS* operacao,
                                              uint8_t bAlocadoPorNew);
void LiberaRegistroResumoApontamentoRecurso(_REG_PP_RESUMO_APONTAMENTO_RECURSOPS* resumo, uint8_t bAlocadoPorNew);
// A resource type read with reading kind 0 states its operations by the count alone (no array):
// that count is the type's data and stays.
void LiberaRegistroTipoRecurso(_REG_PP_TIPO_RECURSOPS* tipoRecurso, uint8_t bAlocadoPorNew);
