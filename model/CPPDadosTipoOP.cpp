#include "model/CPPDadosTipoOP.h"

template class PPDados<CPPDadosTipoOPUsuario, _REG_VARMO_TIPO_OP_USUARIOPS>;
template class PPDados<CPPDadosTipoOP, _REG_VARMO_TIPO_OPPS>;
