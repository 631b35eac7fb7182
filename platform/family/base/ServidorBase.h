// The stand-in of the base system's servers (DF): one StandInServer, "QVServidorDF", serving the
// twelve classes that this system creates, over the frame of ServidorFamilia.h. Each class's
// objects keep their records in the company's DF directory.
#pragma once

#include "platform/family/base/InterfacesBase.h"
#include "platform/family/comum/ServidorFamilia.h"

class ServidorBase : public ModuloFamilia {
 public:
  ServidorBase();

  ClasseFamilia& Usuario;
  ClasseFamilia& Produto;
  ClasseFamilia& GradesProduto;
  ClasseFamilia& Plano;
  ClasseFamilia& Requerente;
  ClasseFamilia& Municipio;
  ClasseFamilia& CTG;
  ClasseFamilia& EstrCodBar;
  ClasseFamilia& Mensagem;
  ClasseFamilia& RequisicaoInterna;
  ClasseFamilia& Feriado;
  ClasseFamilia& NotasFiscais;
};
