// The collections, which orders, requirements and technical sheets are grouped under (their history
// lines call them projects): the handler of QVPP_Colecao, a declaration over the code-table frame
// (CPPServidorTabelaCodigo.h). File "PPCOLCAO.DAT", lock 4, history "Projeto: %s - %s".
//
// The filter's situation, when not 0, lets pass the collections whose situation shares a bit with
// it. Removal is refused with 1588 while an order or a requirement names the collection, and also
// when that check cannot be made: a collection is never removed on a check that failed. The
// technical sheets' check joins when their handler exists.
//
// One thread at a time; no in-process lock.
#pragma once

#include "server/cadastros/CPPServidorTabelaCodigo.h"
#include "server/idl/VarmoColecaoMetas.h"

class CPPServidorColecao
    : public CPPServidorTabelaCodigoDe<_REG_PP_COLECAOPS, _REG_PP_FILTRO_COLECAOPS, &_REG_PP_COLECAOPS::cSituacao> {
 public:
  CPPServidorColecao();

 protected:
  bool PassaFiltro(uint8_t cSituacao) const override;
  HRESULT VerificaUso(uint32_t ulPosicao) override;
};
