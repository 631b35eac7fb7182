// The stand-in of the purchasing module's receipt server (CM): one StandInServer, "QVServidorCM",
// serving IQVCM_RegistroEntrada over the frame of ServidorFamilia.h; its records lie in the
// company's CM directory.
#pragma once

#include "platform/family/comum/ServidorFamilia.h"
#include "platform/family/compras/InterfaceEntrada.h"

class ServidorCompras : public ModuloFamilia {
 public:
  ServidorCompras();

  ClasseFamilia& RegistroEntrada;
};
