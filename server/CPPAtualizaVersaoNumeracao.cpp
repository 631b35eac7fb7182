#include "server/CPPAtualizaVersaoNumeracao.h"

#include "server/CPPNomesArquivos.h"

CPPAtualizaVersaoPlanoManutencao::CPPAtualizaVersaoPlanoManutencao()
    : CPPAtualizaVersaoNumeracao(kPPGrupoPlanoManutencao, &CPPNomesArquivos::ListaArquivosPlanoManutencao) {}

CPPAtualizaVersaoGestaoManutencao::CPPAtualizaVersaoGestaoManutencao()
    : CPPAtualizaVersaoNumeracao(kPPGrupoGestaoManutencao, &CPPNomesArquivos::ListaPrefixosManutencao) {}

CPPAtualizaVersaoColecao::CPPAtualizaVersaoColecao()
    : CPPAtualizaVersaoNumeracao(kPPGrupoColecao, &CPPNomesArquivos::ListaArquivosColecao) {}

CPPAtualizaVersaoMotivoRefugo::CPPAtualizaVersaoMotivoRefugo()
    : CPPAtualizaVersaoNumeracao(kPPGrupoMotivoRefugo, &CPPNomesArquivos::ListaArquivosMotivoRefugo) {}

CPPAtualizaVersaoTipoRecurso::CPPAtualizaVersaoTipoRecurso()
    : CPPAtualizaVersaoNumeracao(kPPGrupoTipoRecurso, &CPPNomesArquivos::ListaArquivosTipoRecurso) {}
