#include "model/CPPDadosProduto.h"

template class PPDados<CPPDadosProduto, _REG_PRODUTOPS>;
template class PPDados<CPPDadosReferenciaGrade, _REG_REFERENCIA_GRADEPS>;
template class PPDados<CPPDadosServico, _REG_SERVICOSPS>;
template class PPDados<CPPDadosItemTabelaPreco, _REG_ITEM_TAB_PRECOSPS>;
template class PPDados<CPPDadosGradeProduto, _REG_ITENS_GRADE_PRODUTOPS>;
