#include "model/CPPDadosOPProcesso.h"

template class PPDados<CPPDadosOPProcessoInsumo, _REG_VARMO_OP_PROCESSO_INSUMOPS>;
template class PPDados<CPPDadosOPProcessoRecurso, _REG_PP_OP_RECURSOPS>;
template class PPDados<CPPDadosOPProcessoImagem, _REG_PP_OP_PROCESSO_IMAGEMPS>;
template class PPDados<CPPDadosOPProcessoEtiqueta, _REG_PP_OP_PROCESSO_ETIQUETAPS>;
template class PPDados<CPPDadosOPProcesso, _REG_VARMO_OP_PROCESSOPS>;
