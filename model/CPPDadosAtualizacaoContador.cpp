#include "model/CPPDadosAtualizacaoContador.h"

template class PPDados<CPPDadosAtualizacaoContador, PPValoresAtualizacaoContador,
                       PPSentido::Nenhum>;
