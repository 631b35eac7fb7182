// The production-order slot of the seam through which the master settings ask whether a product
// was used (PPMovimentacaoProduto.h): the order handler's checks, built and initialised for one
// question (CPPServidorOPUso.h). server/ fills slot kPPMovimentacaoOP with it from the start.
#pragma once

#include "server/PPMovimentacaoProduto.h"

PPConsultaMovimentacao PPConsultaMovimentacaoOP();
