#include "model/CPPDadosRecurso.h"

template class PPDados<CPPDadosRecurso, _REG_PP_RECURSOPS>;
template class PPDados<CPPDadosRecursoHistoricoContador, _REG_PP_RECURSO_HISTORICO_CONTADORPS>;
template class PPDados<CPPDadosListaRecursoHistoricoContador,
                       _REG_PP_LISTA_RECURSO_HISTORICO_CONTADORPS>;
