#include "model/CPPDadosRequisicaoInterna.h"

template class PPDados<CPPDadosRequisicaoInternaItemComposicao, _REG_COMPOSICAO_ITEM_REQUISICAOPS>;
template class PPDados<CPPDadosRequisicaoInternaItemAtendimentoComposicao,
                       _REG_ATENDIMENTO_COMPOSICAOPS>;
template class PPDados<CPPDadosRequisicaoInternaItemAtendimento, _REG_ATENDIMENTOPS>;
template class PPDados<CPPDadosRequisicaoInternaItem, _REG_ITEMREQUISICAOINTERNAPS>;
template class PPDados<CPPDadosRequisicaoInterna, _REG_REQUISICAOINTERNAPS>;
