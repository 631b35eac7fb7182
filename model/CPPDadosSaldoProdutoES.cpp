#include "model/CPPDadosSaldoProdutoES.h"

template class PPDados<CPPDadosFiltroSaldoProdutoES, _REG_ES_FILTRO_SALDOS_PRODUTOPS>;
template class PPDados<CPPDadosSaldoProdutoES, _REG_ES_SALDOS_PRODUTOSPS, PPSentido::SoCopiarDe>;
template class PPDados<CPPDadosListaSaldosProdutosES, _REG_ES_LISTA_SALDOS_PRODUTOSPS,
                       PPSentido::SoCopiarDe>;
