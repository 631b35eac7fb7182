#include "model/CPPDadosMetasProducao.h"

template class PPDados<CPPDadosMetasProducao, _REG_PP_META_PRODUCAOPS>;
template class PPDados<CPPDadosKeyMetaProducao, _REG_PP_KEY_META_PRODUCAOPS>;
template class PPDados<CPPDadosReplicarMetaProducao, _REG_PP_REPLICAR_META_PRODUCAOPS>;
