// The stand-in of the inventory module's servers (ES): one StandInServer, "QVServidorES", serving
// the master settings, the storage places and the movements over the frame of ServidorFamilia.h.
// Their initialisation takes the company as a BSTR, the user, the session and the calling module's
// number, which must be the production module's (kESModuloProducao); their records lie in the
// company's ES directory.
#pragma once

#include "platform/family/comum/ServidorFamilia.h"
#include "platform/family/estoque/InterfacesEstoque.h"

class ServidorEstoque : public ModuloFamilia {
 public:
  ServidorEstoque();

  ClasseFamilia& Mestre;
  ClasseFamilia& Armazenagem;
  ClasseFamilia& Movimento;
};
