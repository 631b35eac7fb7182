// An order type (tipo de OP) with the permissions of each user on its orders. The captions of up to
// five extra-information fields of the type's orders, with their mandatory switches, and the
// behaviour switches travel as stored. Pattern and ownership: PPDadosBase.h.
#pragma once

#include "model/PPDadosBase.h"
#include "server/idl/Varmo.h"

// One user's permissions on the orders of a type: maintain, cancel, interrupt.
class CPPDadosTipoOPUsuario : public PPDados<CPPDadosTipoOPUsuario, _REG_VARMO_TIPO_OP_USUARIOPS> {
 public:
  PP_CAMPO(Usuario, usUsuario)
  PP_CAMPO_COMO(char, Manutencao, cManutencao)
  PP_CAMPO_COMO(char, Cancelamento, cCancelamento)
  PP_CAMPO(Interrupcao, cInterrupcao)
};

class CPPDadosTipoOP : public PPDados<CPPDadosTipoOP, _REG_VARMO_TIPO_OPPS> {
 public:
  PP_CAMPO(Posicao, lPosicao)
  PP_CAMPO(UltimaOP, lUltimaOP)
  PP_CAMPO(PonteiroContaContabil, lPonteiroContaContabil)
  PP_CAMPO(QtdUsuarios, usQtdUsuarios)
  PP_TEXTO(Codigo, szCodigo)
  PP_TEXTO(Descricao, szDescricao)
  PP_TEXTO(InfExtra1, szInfExtra1)
  PP_TEXTO(InfExtra2, szInfExtra2)
  PP_TEXTO(InfExtra3, szInfExtra3)
  PP_TEXTO(InfExtra4, szInfExtra4)
  PP_TEXTO(InfExtra5, szInfExtra5)
  PP_CAMPO(ObrigaInfExtra1, cObrigaInfExtra1)
  PP_CAMPO(ObrigaInfExtra2, cObrigaInfExtra2)
  PP_CAMPO(ObrigaInfExtra3, cObrigaInfExtra3)
  PP_CAMPO(ObrigaInfExtra4, cObrigaInfExtra4)
  PP_CAMPO(ObrigaInfExtra5, cObrigaInfExtra5)
  PP_CAMPO(MultiGradesFichasTecnicas, cMultiGradesFichasTecnicas)
  PP_CAMPO(FazEntradaDepoisNoES, cFazEntradaDepoisNoES)
  PP_CAMPO(ApontarOcorrenciaRecurso, cApontarOcorrenciaRecurso)
  PP_CAMPO(SugerirDataApontamentoConformeFicha, cSugerirDataApontamentoConformeFicha)
  PP_CAMPO(SugerirSaldoNaQuantidadeApontada, cSugerirSaldoNaQuantidadeApontada)
  PP_CAMPO_COMO(char, OPGerada, cOPGerada)
  PP_CAMPO_COMO(char, Ativo, cAtivo)

  PP_LISTA(Usuario, CPPDadosTipoOPUsuario, usQtdUsuarios, pregTipoOPUsuario)
  PP_PARTES(Usuario)

  // Clears the object as Limpar does; the order-type reader calls it before filling the object.
  void Limpa() { OnLimpar(); }
};

extern template class PPDados<CPPDadosTipoOPUsuario, _REG_VARMO_TIPO_OP_USUARIOPS>;
extern template class PPDados<CPPDadosTipoOP, _REG_VARMO_TIPO_OPPS>;
