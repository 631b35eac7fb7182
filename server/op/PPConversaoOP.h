// Copies between the order family's disk records (PPRegistrosOP.h) and their COM records, for the
// fields that hold the same value on both sides: one declared field list per record kind, used
// both ways. A converter writes only those fields and leaves every other field of its target as it
// was, so callers start from a zeroed record (or a stored one that they update).
//
// Left to the callers, because only they know the month, the files or the read kind:
// - texts: the ulTexto<Field> offsets in PPIE/PPIN/PPID and the COM texts they hold (the report's
//   ulPonteiroEncerramentoForcado, which is the offset itself, included);
// - keys built from record numbers (ulChaveOP, lPonteiroOP, lPonteiroApontamento, ulChaveRemessa,
//   ulChave, a requirement or movement given by its record number);
// - runs: the first record and the count of every dependent list, and its array. The production
//   report alone carries its counts (usQtdMvtoEntrada .. usQtdRecursos), as its readers give them
//   back from disk before they decide which lists to read.
// Fixed-width disk texts (the label's szDescricao) are copied here: zero-padded on disk, terminated
// in COM.
#pragma once

#include "server/idl/VarmoOP.h"
#include "server/idl/VarmoOPApontamento.h"
#include "server/idl/VarmoOPIndustrializacao.h"
#include "server/op/PPRegistrosOP.h"

// Order header (PPOP).
void PPConverteParaCOM(const PPDiscoOP& disco, _REG_VARMO_OPPS& com);
void PPConverteParaDisco(const _REG_VARMO_OPPS& com, PPDiscoOP& disco);
// Item (PPIT).
void PPConverteParaCOM(const PPDiscoItem& disco, _REG_VARMO_OP_ITEMPS& com);
void PPConverteParaDisco(const _REG_VARMO_OP_ITEMPS& com, PPDiscoItem& disco);
// Process (PPPR).
void PPConverteParaCOM(const PPDiscoProcesso& disco, _REG_VARMO_OP_PROCESSOPS& com);
void PPConverteParaDisco(const _REG_VARMO_OP_PROCESSOPS& com, PPDiscoProcesso& disco);
// Input of a process (PPMT).
void PPConverteParaCOM(const PPDiscoInsumo& disco, _REG_VARMO_OP_PROCESSO_INSUMOPS& com);
void PPConverteParaDisco(const _REG_VARMO_OP_PROCESSO_INSUMOPS& com, PPDiscoInsumo& disco);
// Resource of a process (PPRP).
void PPConverteParaCOM(const PPDiscoRecursoProcesso& disco, _REG_PP_OP_RECURSOPS& com);
void PPConverteParaDisco(const _REG_PP_OP_RECURSOPS& com, PPDiscoRecursoProcesso& disco);
// Label of a process (PPPE).
void PPConverteParaCOM(const PPDiscoEtiqueta& disco, _REG_PP_OP_PROCESSO_ETIQUETAPS& com);
void PPConverteParaDisco(const _REG_PP_OP_PROCESSO_ETIQUETAPS& com, PPDiscoEtiqueta& disco);
// Label issued (PPEE).
void PPConverteParaCOM(const PPDiscoEtiquetaEmitida& disco, _REG_PP_OP_ETIQUETA_EMITIDAPS& com);
void PPConverteParaDisco(const _REG_PP_OP_ETIQUETA_EMITIDAPS& com, PPDiscoEtiquetaEmitida& disco);
// Simple report of a process (PPAS).
void PPConverteParaCOM(const PPDiscoApontamentoSimples& disco, _REG_VARMO_OP_APONTAMENTO& com);
void PPConverteParaDisco(const _REG_VARMO_OP_APONTAMENTO& com, PPDiscoApontamentoSimples& disco);
// Production report (PPAP).
void PPConverteParaCOM(const PPDiscoApontamento& disco, _REG_VARMO_OP_APONTAMENTO& com);
void PPConverteParaDisco(const _REG_VARMO_OP_APONTAMENTO& com, PPDiscoApontamento& disco);
// Resource report (PPAR).
void PPConverteParaCOM(const PPDiscoApontamentoRecurso& disco, _REG_PP_APONTAMENTO_RECURSOPS& com);
void PPConverteParaDisco(const _REG_PP_APONTAMENTO_RECURSOPS& com, PPDiscoApontamentoRecurso& disco);
// Return from outsourced processing (PPRI).
void PPConverteParaCOM(const PPDiscoRetorno& disco, _REG_VARMO_RETORNO_INDUSTRIALIZACAO_EXTERNAPS& com);
void PPConverteParaDisco(const _REG_VARMO_RETORNO_INDUSTRIALIZACAO_EXTERNAPS& com, PPDiscoRetorno& disco);
// Shipment (PPRM).
void PPConverteParaCOM(const PPDiscoRemessa& disco, _REG_PP_REMESSA_INDUSTRIALIZACAOPS& com);
void PPConverteParaDisco(const _REG_PP_REMESSA_INDUSTRIALIZACAOPS& com, PPDiscoRemessa& disco);
// Input of a shipment (PPIR).
void PPConverteParaCOM(const PPDiscoInsumoRemessa& disco, _REG_PP_REMESSA_INSUMOPS& com);
void PPConverteParaDisco(const _REG_PP_REMESSA_INSUMOPS& com, PPDiscoInsumoRemessa& disco);
// Requirement (PPNC).
void PPConverteParaCOM(const PPDiscoNecessidade& disco, _REG_VARMO_OP_NECESSIDADE& com);
void PPConverteParaDisco(const _REG_VARMO_OP_NECESSIDADE& com, PPDiscoNecessidade& disco);
