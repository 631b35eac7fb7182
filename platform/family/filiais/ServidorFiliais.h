// The stand-in of the branch server (CN): one StandInServer, "QVServidorCN", serving IQVCN_Filial
// over the frame of ServidorFamilia.h. It keeps the company record in the one-record table
// "EMPRESA.DAT" of the company's CN directory (TabelaFamilia of 216-byte _REG_CN_EMPRESAPS), read
// fresh by every InicializaEmpresa and seeded by GravaEmpresa; a company without that record fails
// the initialisation (0x80070002), never with an empty record. Beside it lie the branches
// ("FILIAIS.DAT", 2684-byte records; a branch's pointer is its place from 1), the branch parameters
// of the session ("PARAMFIL.DAT", one 36-byte record) and its open period ("PERIODO.DAT", one
// 10-byte record), each read fresh by every call; a pointer or code it does not hold, or a record
// never seeded, is kFamiliaNaoEncontrado. It keeps no rule of the branch module.
#pragma once

#include <string>
#include <vector>

#include "platform/family/comum/ServidorFamilia.h"
#include "platform/family/filiais/InterfaceFilial.h"

class ServidorFiliais : public ModuloFamilia {
 public:
  ServidorFiliais();

  // Seeds the company record of `empresa` with its legal name (cut to the field, terminator
  // included; the rest zero). S_OK, kFamiliaSemDiretorio, or the file's error as an HRESULT.
  static HRESULT GravaEmpresa(const std::string& empresa, const std::string& razaoSocial);
  // Seed the branches (in pointer order), the parameters and the open period of `empresa`; the
  // same results.
  static HRESULT GravaFiliais(const std::string& empresa,
                              const std::vector<__MIDL___MIDL_itf_Brisel_0000_0003>& filiais);
  static HRESULT GravaParametros(const std::string& empresa, const _REG_CN_PARAMETROSPS& parametros);
  static HRESULT GravaPeriodo(const std::string& empresa, const _REG_CN_PERIODOPS& periodo);

  ClasseFamilia& Filial;
};
