#include "model/CPPDadosApontamentoRefugo.h"

template class PPDados<CPPDadosApontamentoRefugo, PPValoresApontamentoRefugo, PPSentido::Nenhum>;
