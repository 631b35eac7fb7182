// Data objects filled for the tests: every object gets distinct field values from a running
// number, so that a field lost or swapped anywhere in a tree shows.
#pragma once

#include <cstdint>

#include "model/CPPDadosOP.h"

CY Valor(int64_t v);

// A movement with `contabeis` accounting entries of `gerenciais` splits each.
CPPDadosOPMovimento MontaMovimento(int contabeis, int gerenciais);
// A return with 2 movements (the first with one accounting entry of two splits), a processor in
// transit with 3 orders, one last-process entry, the imported keys 11 and 12 and a scrap movement.
CPPDadosRetornoIndustrializacaoExterna MontaRetorno();
// A resource with one operation of 2 counters, 1 quantity, 1 interval and 1 detail.
CPPDadosApontamentoRecurso MontaRecurso();
// A full report: scrap movement, a shipment with 2 inputs, 1 entry movement, 2 stock movements,
// 1 return (MontaRetorno), 1 resource not reported, 1 resource (MontaRecurso), keys 7 and 9.
CPPDadosOPProcessoApontamento MontaApontamento();
// The seven-level order: a first process step with one input, resource, image and label, one
// simple report (a bare one) and one full report (MontaApontamento); a second step with nothing;
// one item.
CPPDadosOP MontaOrdem();
