// The converters of the groups whose files never changed format: each only numbers its group from
// version 0 to 1 (CPPAtualizaVersaoNumeracao), and declares its slot and its clean-up list.
#pragma once

#include "server/CPPAtualizaVersao.h"

class CPPAtualizaVersaoPlanoManutencao : public CPPAtualizaVersaoNumeracao {
 public:
  CPPAtualizaVersaoPlanoManutencao();
};

// Maintenance management lives in period files: its list holds the prefixes.
class CPPAtualizaVersaoGestaoManutencao : public CPPAtualizaVersaoNumeracao {
 public:
  CPPAtualizaVersaoGestaoManutencao();
};

class CPPAtualizaVersaoColecao : public CPPAtualizaVersaoNumeracao {
 public:
  CPPAtualizaVersaoColecao();
};

class CPPAtualizaVersaoMotivoRefugo : public CPPAtualizaVersaoNumeracao {
 public:
  CPPAtualizaVersaoMotivoRefugo();
};

class CPPAtualizaVersaoTipoRecurso : public CPPAtualizaVersaoNumeracao {
 public:
  CPPAtualizaVersaoTipoRecurso();
};
