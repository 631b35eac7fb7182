// The stand-in of the branch server (CN): one StandInServer, "QVServidorCN", serving IQVCN_Filial
// over the frame of ServidorFamilia.h. It keeps the company record in the one-record table
// "EMPRESA.DAT" of the company's CN directory (TabelaFamilia of 216-byte _REG_CN_EMPRESAPS), read
// fresh by every InicializaEmpresa and seeded by GravaEmpresa; a company without that record fails
// the initialisation (0x80070002), never with an empty record.
#pragma once

#include <string>

#include "platform/family/comum/ServidorFamilia.h"
#include "platform/family/filiais/InterfaceFilial.h"

class ServidorFiliais : public ModuloFamilia {
 public:
  ServidorFiliais();

  // Seeds the company record of `empresa` with its legal name (cut to the field, terminator
  // included; the rest zero). S_OK, kFamiliaSemDiretorio, or the file's error as an HRESULT.
  static HRESULT GravaEmpresa(const std::string& empresa, const std::string& razaoSocial);

  ClasseFamilia& Filial;
};
