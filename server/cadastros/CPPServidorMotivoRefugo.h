// The scrap reasons given when scrap is reported: the handler of QVPP_MotivoRefugo, a declaration
// over the code-table frame (CPPServidorTabelaCodigo.h). File "PPMOTREF.DAT", lock 10, history
// "Motivo Refugo: %s - %s".
//
// A reason is active when its state byte is the letter 'A'. The filter's cAtivo 'A' lets pass the
// active reasons only; any other value lets every reason pass. Removal is refused with 1588 while a
// production report names the reason; an error of that check is returned as it is.
//
// One thread at a time; no in-process lock.
#pragma once

#include "server/cadastros/CPPServidorTabelaCodigo.h"
#include "server/idl/VarmoColecaoMetas.h"

class CPPServidorMotivoRefugo : public CPPServidorTabelaCodigoDe<_REG_PP_MOTIVO_REFUGOPS, _REG_PP_FILTRO_MOTIVO_REFUGOPS,
                                                                 &_REG_PP_MOTIVO_REFUGOPS::cAtivo> {
 public:
  static constexpr uint8_t kAtivo = 'A';

  CPPServidorMotivoRefugo();

 protected:
  bool PassaFiltro(uint8_t cAtivo) const override;
  HRESULT VerificaUso(uint32_t ulPosicao) override;
};
