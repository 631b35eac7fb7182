#include "model/CPPDadosOPMovimento.h"

template class PPDados<CPPDadosMovimentoContabilizacaoGerencial, _REG_ES_GERENCIALPS>;
template class PPDados<CPPDadosMovimentoContabilizacao, _REG_ES_CONTABILIZACAOPS>;
template class PPDados<CPPDadosOPMovimento, _REG_ES_MOVIMENTOPS>;
